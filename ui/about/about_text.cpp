#include "ui/about/about_text.h"

#include <QCoreApplication>

namespace helicordia::about {

namespace {

const QString NewLine = QStringLiteral("\r\n");

QString VersionDigits(const QVersionNumber &version)
{
    return QString::number(version.majorVersion()) + QLatin1Char('.') + QString::number(version.minorVersion()) +
           QLatin1Char('.') + QString::number(version.microVersion());
}

} // namespace

QString TitleLine(const QString &title, const QVersionNumber &version)
{
    return title + QStringLiteral(" ver. ") + VersionDigits(version);
}

QString NotesText(const QString &title, const QVersionNumber &version)
{
    // The text is put together piece by piece, each line in its own step.
    QString text = title + NewLine;
    text += QStringLiteral("ver. ") + VersionDigits(version) + NewLine;
    text += NewLine;
    text += QCoreApplication::translate(
                "About", "Most people run frequencies three minutes each. For a 20 frequency set, this would be an "
                         "hour long session. Higher powered devices (100W+) may require less time on each "
                         "frequency. When a frequency is found to be particularly beneficial it may be run for a "
                         "longer time after assessing detox reaction to ensure it is not too strong.") +
            NewLine;
    // A stray control character follows 'hits' (%1).
    text += QCoreApplication::translate(
                "About", "Note that many times (if not most of the time) frequencies which are beneficial may not "
                         "cause any sensation. And, many times frequencies which are 'hits'%1 may cause no apparent "
                         "benefit. In general, though, frequencies which produce consistent hits over multiple "
                         "sessions are usually therapeutic, and should be included in sessions until they no "
                         "longer do")
                .arg(QChar(0x009D)) +
            NewLine;
    text += QCoreApplication::translate("About", "Frequencies marked with an asterisk (*) in the comments section are "
                                                 "thought to be particularly effective. ") +
            NewLine;
    text += QCoreApplication::translate("About",
                                        "You are able to modify the length of your treatment, to pause or stop it. ") +
            NewLine;
    text += QCoreApplication::translate(
        "About", "This program let you to hold on a frequency since some people, when feeling a frequency, "
                 "desire to run it longer. Also, you can skip the current frequency, since some people "
                 "don't like certain frequencies. Programs display the frequency being run so people know "
                 "what frequencies they like best. ");
    return text;
}

QString ShownText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text)
        if (c.category() != QChar::Other_Control || c == u'\r' || c == u'\n' || c == u'\t')
            shown += c;
    return shown;
}

} // namespace helicordia::about
