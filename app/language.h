// The interface language of the running program: the Options menu's two
// language items switch every open window at once, and the stored choice
// sets it at start-up before the first window shows.
#pragma once

#include "platform/translations.h"

namespace helicordia {

class Platform;

class Language {
public:
    explicit Language(const Platform &platform) : translations_(platform) {}

    // Puts the translators and the locale of `language` in place. Every open
    // window has been told (QEvent::LanguageChange) and has written its texts
    // anew when this returns; windows made later start in the language.
    void switchTo(InterfaceLanguage language);
    InterfaceLanguage current() const { return translations_.language(); }

private:
    Translations translations_;
};

} // namespace helicordia
