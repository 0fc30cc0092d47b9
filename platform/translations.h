// The program's two interface languages, English (the texts as written in
// the sources) and Romanian (translations/helicordia_ro.ts, compiled to
// helicordia_ro.qm beside the program or in its installed data folder), and
// Qt's own Romanian texts (qtbase_ro.qm) where they are installed. Qt Core
// only: the command line uses it as well as the windows.
#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>

namespace helicordia {

class Platform;

enum class InterfaceLanguage { English, Romanian };

// The file of the program's Romanian texts.
inline const QString RomanianTranslationFile = QStringLiteral("helicordia_ro.qm");

// The language the terminal speaks: Romanian when the first of LC_ALL,
// LC_MESSAGES and LANG that is set (and not empty) starts with "ro".
InterfaceLanguage TerminalLanguage();

// The locale that writes the numbers and dates of `language`: Romania's for
// Romanian; for English the system's own when it is English (or C), else the
// United States'.
QLocale LocaleOf(InterfaceLanguage language);

// Installs and removes the translators of the application. Needs a
// QCoreApplication.
class Translations {
public:
    explicit Translations(const Platform &platform) : platform_(platform) {}
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;
    ~Translations();

    // Installs the Romanian translators or takes them away, and makes the
    // language's locale the default one. Returns false when the program's own
    // translation file could not be read (the texts stay English).
    bool use(InterfaceLanguage language);
    InterfaceLanguage language() const { return language_; }

private:
    void remove();

    const Platform &platform_;
    QTranslator program_;
    QTranslator qt_;
    bool installed_ = false;
    InterfaceLanguage language_ = InterfaceLanguage::English;
};

} // namespace helicordia
