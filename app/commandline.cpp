#include "app/commandline.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace helicordia {

namespace {

// Options that QApplication takes for itself (given as -platform offscreen or
// --style=Fusion); they are accepted here and left for it.
const char *const QtValueOptions[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry", "qwindowtitle",
    "title",    "qwindowicon",        "icon",          "style",  "stylesheet",      "session",  "display",
    "name",     "qmljsdebugger"};
const char *const QtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

} // namespace

CommandLine::CommandLine()
{
    parser_.setApplicationDescription(QStringLiteral("Plays sets of reference frequencies as pure sine tones.\n"
                                                     "Started without options, it opens its main window."));
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addHelpOption();
    parser_.addVersionOption();
    for (const char *name : QtValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser_.addOption(option);
    }
    for (const char *name : QtFlagOptions) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser_.addOption(option);
    }
}

std::optional<int> CommandLine::handle(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const QString program =
        arguments.isEmpty() ? QStringLiteral("helicordia") : QFileInfo(arguments.first()).fileName();
    const auto tryHelp = [&] {
        err << QStringLiteral("Try '%1 --help' for the options.\n").arg(program);
        err.flush();
        return 2;
    };
    if (!parser_.parse(arguments)) {
        err << program << QStringLiteral(": ") << parser_.errorText() << '\n';
        return tryHelp();
    }
    if (parser_.isSet(QStringLiteral("help")) || parser_.isSet(QStringLiteral("help-all"))) {
        out << parser_.helpText().replace(QStringLiteral("<executable_name>"), program);
        out.flush();
        return 0;
    }
    if (parser_.isSet(QStringLiteral("version"))) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << '\n';
        out.flush();
        return 0;
    }
    if (!parser_.positionalArguments().isEmpty()) {
        err << program << QStringLiteral(": unexpected argument '") << parser_.positionalArguments().first()
            << QStringLiteral("'.\n");
        return tryHelp();
    }
    return std::nullopt;
}

QStringList ArgumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace helicordia
