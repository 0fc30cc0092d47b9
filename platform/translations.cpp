#include "platform/translations.h"

#include "platform/platform.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace helicordia {

namespace {

// Qt's standard buttons, translated with the program's own texts: where Qt's
// own Romanian file is not installed, the message boxes still speak Romanian.
[[maybe_unused]] const char *const StandardButtons[] = {
    QT_TRANSLATE_NOOP("QPlatformTheme", "OK"),    QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&Yes"),  QT_TRANSLATE_NOOP("QPlatformTheme", "&No"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Yes"),   QT_TRANSLATE_NOOP("QPlatformTheme", "No"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Save"),  QT_TRANSLATE_NOOP("QPlatformTheme", "Open"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Close"),
};

} // namespace

InterfaceLanguage TerminalLanguage()
{
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value.startsWith(QLatin1String("ro")) ? InterfaceLanguage::Romanian : InterfaceLanguage::English;
    }
    return InterfaceLanguage::English;
}

QLocale LocaleOf(InterfaceLanguage language)
{
    if (language == InterfaceLanguage::Romanian)
        return QLocale(QLocale::Romanian, QLocale::Romania);
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::English || system.language() == QLocale::C)
        return system;
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

Translations::~Translations()
{
    remove();
}

void Translations::remove()
{
    if (!installed_)
        return;
    QCoreApplication::removeTranslator(&program_);
    QCoreApplication::removeTranslator(&qt_);
    installed_ = false;
}

bool Translations::use(InterfaceLanguage language)
{
    language_ = language;
    QLocale::setDefault(LocaleOf(language));
    if (language == InterfaceLanguage::English) {
        remove();
        return true;
    }
    if (installed_)
        return true;
    const bool loaded = program_.load(platform_.dataFile(RomanianTranslationFile));
    // Qt's own texts (standard buttons, file dialogs), where the system has them.
    const bool qtLoaded = qt_.load(QLocale(QLocale::Romanian), QStringLiteral("qtbase"), QStringLiteral("_"),
                                   QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // Installed last, searched first: the program's own words win.
    if (qtLoaded)
        QCoreApplication::installTranslator(&qt_);
    if (loaded)
        QCoreApplication::installTranslator(&program_);
    installed_ = loaded || qtLoaded;
    return loaded;
}

} // namespace helicordia
