#include "app/terminal/command_line.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace helicordia {

namespace {

using Modes = unsigned;
constexpr Modes modeBit(RunMode mode)
{
    return 1u << unsigned(mode);
}
constexpr Modes InWindow = modeBit(RunMode::Window);
constexpr Modes WithRender = modeBit(RunMode::Render) | modeBit(RunMode::RenderSession);
constexpr Modes WithPlayOrRender = modeBit(RunMode::Play) | modeBit(RunMode::Render);
constexpr Modes WithAnyPlay = WithPlayOrRender | modeBit(RunMode::PlaySession) | modeBit(RunMode::RenderSession);
constexpr Modes WithPlay = modeBit(RunMode::Play) | modeBit(RunMode::PlaySession);
constexpr Modes TerminalModes = ~(InWindow | modeBit(RunMode::Help) | modeBit(RunMode::Version));

// How many values follow an option.
enum class Takes { Nothing, MaybeOne, One, Two };

// Keeps an option's values in the request; the reason when they cannot be used.
using StoreFn = QString (*)(CommandLineRequest &, const QStringList &);

struct Option {
    const char *names;             // separated by spaces: one letter for -x, a word for --word (or -word)
    std::optional<RunMode> starts; // the mode the option chooses, if it chooses one
    Modes with;                    // otherwise: the modes it may be given with
    Takes takes;
    const char *values; // their names in the help, separated by spaces
    StoreFn store;
    const char *help; // after "--play, --render: " for an option of those; nothing: not shown
};

// Reads a percentage within [low, high] and gives it in slider steps of
// `full` per hundred percent.
std::optional<int> sliderPercent(const QString &text, double low, double high, int full)
{
    bool ok = false;
    const double percent = text.trimmed().toDouble(&ok);
    if (!ok || !(percent >= low && percent <= high))
        return std::nullopt;
    return int(std::lround(percent * full / 100.0));
}

QString storeSearch(CommandLineRequest &r, const QStringList &v)
{
    r.search = v.value(0);
    return {};
}

QString storeEntry(CommandLineRequest &r, const QStringList &v)
{
    r.entry = v.value(0);
    r.output = v.value(1);
    return {};
}

QString storeSession(CommandLineRequest &r, const QStringList &v)
{
    r.session = v.value(0);
    r.output = v.value(1);
    return {};
}

QString storeOwn(CommandLineRequest &r, const QStringList &v)
{
    r.own = v.value(0);
    return {};
}

QString storeLength(CommandLineRequest &r, const QStringList &v)
{
    const std::optional<int> seconds = ParseDuration(v[0]);
    if (!seconds)
        return QCoreApplication::translate("CommandLine", "The length \"%1\" is not a duration like 00:30:00.")
            .arg(v[0]);
    if (*seconds == 0)
        return QCoreApplication::translate("CommandLine", "The length must be more than zero.");
    if (*seconds > MaxExportSeconds)
        return QCoreApplication::translate("CommandLine", "The length must not be more than 100 hours.");
    r.lengthSeconds = *seconds;
    return {};
}

QString storeVolume(CommandLineRequest &r, const QStringList &v)
{
    const auto slider = sliderPercent(v[0], 0, 100, 1024);
    r.volumeSlider = slider.value_or(r.volumeSlider);
    return slider ? QString()
                  : QCoreApplication::translate("CommandLine", "The volume \"%1\" is not a percentage from 0 to 100.")
                        .arg(v[0]);
}

QString storePan(CommandLineRequest &r, const QStringList &v)
{
    const auto slider = sliderPercent(v[0], -100, 100, 512);
    r.panSlider = slider.value_or(r.panSlider);
    return slider ? QString()
                  : QCoreApplication::translate("CommandLine",
                                                "The pan \"%1\" is not a percentage from -100 (left) to 100 (right).")
                        .arg(v[0]);
}

QString storeRate(CommandLineRequest &r, const QStringList &v)
{
    bool ok = false;
    r.rate = v[0].toInt(&ok);
    if (!ok || !IsExportRate(r.rate))
        return QCoreApplication::translate("CommandLine", "The rate \"%1\" is not one of 44100, 48000 and 96000.")
            .arg(v[0]);
    return {};
}

QString storeSoundOutput(CommandLineRequest &r, const QStringList &v)
{
    r.soundOutput = v[0].trimmed();
    return {};
}

QString storeBits(CommandLineRequest &r, const QStringList &v)
{
    r.wav16 = v[0] == QLatin1String("16");
    r.bitsGiven = true;
    if (!r.wav16 && v[0] != QLatin1String("32"))
        return QCoreApplication::translate("CommandLine", "The WAV sample size \"%1\" is not 16 or 32.").arg(v[0]);
    return {};
}

QString storeDays(CommandLineRequest &r, const QStringList &v)
{
    if (v.isEmpty())
        return {};
    bool ok = false;
    r.historyDays = v[0].toInt(&ok);
    if (!ok || r.historyDays < 1 || r.historyDays > 36500)
        return QStringLiteral("The number of days \"%1\" is not a whole number from 1 to 36500.").arg(v[0]);
    return {};
}

// Every option the program knows. A new one is a row here (and, when it takes
// a value, a store function above).
// clang-format off
const Option Options[] = {
//   names                starts           with              takes           values        store
    {"h help help-all",   RunMode::Help,    0,               Takes::Nothing, "",           nullptr,
     QT_TRANSLATE_NOOP("CommandLine", "Displays help on commandline options.")},
    {"v version",         RunMode::Version, 0,               Takes::Nothing, "",           nullptr,
     QT_TRANSLATE_NOOP("CommandLine", "Displays version information.")},
    {"list",              RunMode::List,    0,               Takes::MaybeOne, QT_TRANSLATE_NOOP("CommandLine", "text"),      storeSearch,
     QT_TRANSLATE_NOOP("CommandLine", "Prints the catalogue list for the search text (every entry without one), your own treatments after it, then the match count.")},
    {"play",              RunMode::Play,    0,               Takes::One,     QT_TRANSLATE_NOOP("CommandLine", "entry"),      storeEntry,
     QT_TRANSLATE_NOOP("CommandLine", "Plays an entry (its number, +N for your own treatment N, or a search text that names one playable entry) through the sound card. Ctrl+C ends it.")},
    {"render",            RunMode::Render,  0,               Takes::Two,     QT_TRANSLATE_NOOP("CommandLine", "entry file"), storeEntry,
     QT_TRANSLATE_NOOP("CommandLine", "Writes an entry's treatment to a .wav, .flac or .ogg file.")},
    {"play-session",      RunMode::PlaySession, 0,           Takes::One,     QT_TRANSLATE_NOOP("CommandLine", "file"),       storeSession,
     QT_TRANSLATE_NOOP("CommandLine", "Plays a session file (.hsession): its treatments one after another, as often as it repeats them. Ctrl+C ends it.")},
    {"render-session",    RunMode::RenderSession, 0,         Takes::Two,     QT_TRANSLATE_NOOP("CommandLine", "file output"), storeSession,
     QT_TRANSLATE_NOOP("CommandLine", "Writes a session to one .wav, .flac or .ogg file, as it plays.")},
    {"add",               RunMode::Add,     0,               Takes::One,     QT_TRANSLATE_NOOP("CommandLine", "line"),       storeOwn,
     QT_TRANSLATE_NOOP("CommandLine", "Adds one of your own treatments, given as \"name - f1,f2,...\" and checked as the editor checks it.")},
    {"import",            RunMode::Import,  0,               Takes::One,     QT_TRANSLATE_NOOP("CommandLine", "file"),       storeOwn,
     QT_TRANSLATE_NOOP("CommandLine", "Adds the treatments in a text file (lines \"name - f1,f2,...\", or with \";\" or a tab for \" - \") to your own, and says which lines were not taken and why.")},
    {"history",           RunMode::History, 0,               Takes::MaybeOne, "days",      storeDays,
     QT_TRANSLATE_NOOP("CommandLine", "Prints the treatments played, newest first, as the history window lists them: all of them, or those of the last <days> days.")},
    {"resume",            RunMode::Resume,  0,               Takes::Nothing, "",           nullptr,
     QT_TRANSLATE_NOOP("CommandLine", "Offers to resume the treatment that was cut short when the program last ended, and plays it on from where it stopped. Ctrl+C ends it.")},
    {"list-outputs",      RunMode::ListOutputs, 0,           Takes::Nothing, "",           nullptr,
     QT_TRANSLATE_NOOP("CommandLine", "Prints the sound server's outputs: the name that --output takes, then the description.")},
    {"length",            {},              WithPlayOrRender, Takes::One,     "hh:mm:ss",   storeLength,
     QT_TRANSLATE_NOOP("CommandLine", "the treatment's length (the entry's suggested length without it).")},
    {"volume",            {},              WithAnyPlay,      Takes::One,     QT_TRANSLATE_NOOP("CommandLine", "percent"),    storeVolume,
     QT_TRANSLATE_NOOP("CommandLine", "the volume, 0 to 100 (about 10 without it).")},
    {"pan",               {},              WithAnyPlay,      Takes::One,     QT_TRANSLATE_NOOP("CommandLine", "percent"),    storePan,
     QT_TRANSLATE_NOOP("CommandLine", "the pan, -100 (left) to 100 (right); 0 without it.")},
    {"output",            {},              WithPlay,         Takes::One,     QT_TRANSLATE_NOOP("CommandLine", "name"),       storeSoundOutput,
     QT_TRANSLATE_NOOP("CommandLine", "the sound server's output to play on (see --list-outputs; the one chosen in the player without it).")},
    {"rate",              {},              WithRender,       Takes::One,     "hz",         storeRate,
     QT_TRANSLATE_NOOP("CommandLine", "44100, 48000 (without it) or 96000.")},
    {"bits",              {},              WithRender,       Takes::One,     "16|32",      storeBits,
     QT_TRANSLATE_NOOP("CommandLine", "16-bit PCM or 32-bit float (without it) in a .wav file.")},
    // The window system's, which QApplication takes for itself.
    {"platform platformpluginpath platformtheme plugin qwindowgeometry geometry qwindowtitle title qwindowicon "
     "icon style stylesheet session display name qmljsdebugger",
                          {},              InWindow,         Takes::One,     "value",      nullptr, nullptr},
    {"reverse widgetcount nograb dograb sync",
                          {},              InWindow,         Takes::Nothing, "",           nullptr, nullptr},
};
// clang-format on

// "entry> <file": the names of an option's values, in the current language.
QString ValueNames(const Option &option)
{
    return QCoreApplication::translate("CommandLine", option.values)
        .split(QLatin1Char(' '))
        .join(QStringLiteral("> <"));
}

QStringList namesOf(const Option &option)
{
    return QString::fromLatin1(option.names).split(QLatin1Char(' '));
}

// "--word" (or "-x" for a letter): an option's name as the help and the
// messages show it.
QString spelled(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// The option an argument names ("--name", "-name", either with "=value").
const Option *optionNamed(const QString &argument)
{
    if (!argument.startsWith(QLatin1Char('-')))
        return nullptr;
    QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    name.truncate(name.indexOf(QLatin1Char('=')) < 0 ? name.size() : name.indexOf(QLatin1Char('=')));
    for (const Option &option : Options)
        if (namesOf(option).contains(name))
            return &option;
    return nullptr;
}

// The options that start any of `modes`, as "--a, --b and --c".
QString modeOptions(Modes modes, const QString &lastJoin)
{
    QStringList names;
    for (const Option &option : Options)
        if (option.starts && (modes & modeBit(*option.starts)))
            names << spelled(namesOf(option).first());
    const QString last = names.isEmpty() ? QString() : names.takeLast();
    return names.isEmpty() ? last : names.join(QStringLiteral(", ")) + lastJoin + last;
}

bool isQuestion(const Option &option)
{
    return option.starts == RunMode::Help || option.starts == RunMode::Version;
}

// "--word", "-word" or "--": not a value, even where one is wanted ("-50" is).
bool looksLikeOption(const QString &argument)
{
    return argument.size() >= 2 && argument[0] == QLatin1Char('-') &&
           (argument[1] == QLatin1Char('-') || argument[1].isLetter());
}

// Takes an option's values: after "=", or from the arguments that follow
// (those that do not look like options themselves).
QString takeValues(const Option &option, const QStringList &arguments, qsizetype &i, QStringList &values)
{
    const QString &argument = arguments[i];
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    const QString given = argument.left(equals < 0 ? argument.size() : equals);
    const qsizetype wanted = option.takes == Takes::Two ? 2 : option.takes == Takes::Nothing ? 0 : 1;
    if (equals >= 0) {
        if (wanted == 0)
            return QCoreApplication::translate("CommandLine", "%1 takes no value.").arg(given);
        values << argument.mid(equals + 1);
    }
    while (values.size() < wanted && i + 1 < arguments.size() && !looksLikeOption(arguments[i + 1]))
        values << arguments[++i];
    if (values.size() < wanted && option.takes != Takes::MaybeOne) {
        const QString names = ValueNames(option);
        return QCoreApplication::translate("CommandLine", "%1 needs <%2>.").arg(given, names);
    }
    return {};
}

// Each option given must suit the mode chosen.
QString checkModes(RunMode mode, const std::vector<std::pair<const Option *, QString>> &given)
{
    for (const auto &[option, name] : given) {
        if (option->with & modeBit(mode))
            continue;
        if (mode == RunMode::Window)
            return QCoreApplication::translate("CommandLine", "%1 can be used only with %2.")
                .arg(name, modeOptions(option->with, QStringLiteral(" or ")));
        return QCoreApplication::translate("CommandLine", "%1 cannot be used with %2.")
            .arg(name, modeOptions(modeBit(mode), QString()));
    }
    return {};
}

QString checkRender(const CommandLineRequest &request)
{
    const auto format = ExportFormatForPath(request.output, request.wav16);
    if (!format)
        return QCoreApplication::translate("CommandLine", "\"%1\" does not end in .wav, .flac or .ogg.")
            .arg(request.output);
    if (request.bitsGiven && *format != ExportFormat::Wav16 && *format != ExportFormat::WavFloat)
        return QCoreApplication::translate("CommandLine", "--bits applies only to WAV files.");
    return ExportPathProblem(request.output);
}

} // namespace

CommandLineRequest ParseCommandLine(const QStringList &arguments)
{
    CommandLineRequest request;
    request.program = arguments.isEmpty() ? QStringLiteral("helicordia") : QFileInfo(arguments[0]).fileName();
    const QStringList given = arguments.mid(1);
    // A question is answered whatever else is there.
    for (const QString &argument : given) {
        const Option *option = optionNamed(argument);
        if (option && isQuestion(*option) && !argument.contains(QLatin1Char('='))) {
            request.mode = *option->starts;
            return request;
        }
    }
    std::vector<std::pair<const Option *, QString>> options; // for the mode check
    for (qsizetype i = 0; i < given.size() && request.error.isEmpty(); ++i) {
        const Option *option = optionNamed(given[i]);
        if (!option) {
            request.error =
                given[i].startsWith(QLatin1Char('-'))
                    ? QCoreApplication::translate("CommandLine", "Unknown option \"%1\".").arg(given[i])
                    : QCoreApplication::translate("CommandLine", "Unexpected argument \"%1\".").arg(given[i]);
            break;
        }
        if (option->starts && request.mode != RunMode::Window) {
            request.error = QCoreApplication::translate("CommandLine", "Give only one of %1.")
                                .arg(modeOptions(TerminalModes, QStringLiteral(" and ")));
            break;
        }
        if (option->starts)
            request.mode = *option->starts;
        else
            options.emplace_back(option, given[i].left(given[i].indexOf(QLatin1Char('='))));
        QStringList values;
        request.error = takeValues(*option, given, i, values);
        if (request.error.isEmpty() && option->store)
            request.error = option->store(request, values);
    }
    if (request.error.isEmpty())
        request.error = checkModes(request.mode, options);
    if (request.error.isEmpty() && (request.mode == RunMode::Render || request.mode == RunMode::RenderSession))
        request.error = checkRender(request);
    return request;
}

namespace {

// "-h, --help" or "--render <entry> <file>": an option as the help shows it.
QString synopsis(const Option &option)
{
    QStringList names = namesOf(option);
    std::transform(names.begin(), names.end(), names.begin(), spelled);
    QString text = names.join(QStringLiteral(", "));
    const QString values = ValueNames(option);
    if (option.takes == Takes::MaybeOne)
        text += QStringLiteral(" [<%1>]").arg(values);
    else if (option.takes != Takes::Nothing)
        text += QStringLiteral(" <%1>").arg(values);
    return text;
}

// The option, then its text wrapped within 80 columns, each of its lines
// starting at column `indent`.
QString helpRow(const Option &option, qsizetype indent)
{
    QString row = QStringLiteral("  ") + synopsis(option);
    QString text = QCoreApplication::translate("CommandLine", option.help);
    if (!option.starts)
        text.prepend(modeOptions(option.with, QStringLiteral(", ")) + QStringLiteral(": "));
    qsizetype column = row.size();
    for (const QString &word : text.split(QLatin1Char(' '))) {
        if (column > indent && column + 1 + word.size() >= 80) {
            row += QLatin1Char('\n');
            column = 0;
        }
        const qsizetype pad = column < indent ? indent - column : 1;
        row += QString(pad, QLatin1Char(' ')) + word;
        column += pad + word.size();
    }
    return row + QLatin1Char('\n');
}

} // namespace

QString CommandLineHelp(const QString &program)
{
    qsizetype indent = 0;
    for (const Option &option : Options)
        if (option.help)
            indent = std::max(indent, synopsis(option).size() + 4);
    QString text =
        QCoreApplication::translate("CommandLine", "Usage: %1 [options]\n"
                                                   "Plays sets of reference frequencies as pure sine tones.\n"
                                                   "Started without options, it opens its main window.\n\n"
                                                   "Options:\n")
            .arg(program);
    for (const Option &option : Options)
        if (option.help)
            text += helpRow(option, indent);
    return text;
}

std::optional<int> ParseDuration(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(?:(?:(\\d+):)?(\\d+):)?(\\d+)$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const long long hours = m.captured(1).isEmpty() ? 0 : m.captured(1).toLongLong();
    const long long minutes = m.captured(2).isEmpty() ? 0 : m.captured(2).toLongLong();
    const long long seconds = m.captured(3).toLongLong();
    if (m.captured(1).size() > 6 || (!m.captured(1).isEmpty() && minutes > 59) ||
        (!m.captured(2).isEmpty() && seconds > 59) || m.captured(3).size() > 9)
        return std::nullopt;
    const long long total = hours * 3600 + minutes * 60 + seconds;
    if (total > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(total);
}

QStringList ArgumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace helicordia
