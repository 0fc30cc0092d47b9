#include "app/language.h"

#include <QApplication>
#include <QWidget>

namespace helicordia {

void Language::switchTo(InterfaceLanguage language)
{
    translations_.use(language);
    // Windows take the new default locale for their numbers and dates.
    const QLocale locale;
    for (QWidget *window : QApplication::topLevelWidgets())
        window->setLocale(locale);
    // Qt posts the change to the windows; they are written anew now, so
    // that nothing shows a mixture of the two languages meanwhile.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

} // namespace helicordia
