#include "app/terminal/terminal_modes.h"

#include "app/terminal/terminal_player.h"
#include "catalogue/catalogue.h"
#include "catalogue/cataloguelistmodel.h"
#include "catalogue/entrytext.h"
#include "engine/tone_engine.h"
#include "platform/application.h"
#include "platform/platform.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTextStream>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <limits>
#include <sys/ioctl.h>
#include <unistd.h>

namespace helicordia {

namespace {

const QString ListOption = QStringLiteral("--list");
const QString PlayOption = QStringLiteral("--play");
const QString RenderOption = QStringLiteral("--render");

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

} // namespace

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

std::optional<TerminalRequest> ParseTerminalArguments(const QStringList &arguments, QString *error)
{
    const QStringList args = arguments.mid(1);
    if (!args.contains(ListOption) && !args.contains(PlayOption) && !args.contains(RenderOption))
        return std::nullopt;
    for (const QString &question : {QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--help-all"),
                                    QStringLiteral("--version"), QStringLiteral("-v")})
        if (args.contains(question))
            return std::nullopt;

    TerminalRequest request;
    QString failure;
    bool modeSeen = false;
    QStringList given; // options given, for the checks that depend on the mode
    for (int i = 0; i < args.size() && failure.isEmpty(); ++i) {
        QString name = args[i];
        QString value;
        bool hasValue = false;
        if (const qsizetype eq = name.indexOf(QLatin1Char('=')); name.startsWith(QLatin1String("--")) && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasValue)
                return true;
            if (i + 1 >= args.size()) {
                failure = QStringLiteral("%1 needs a value.").arg(name);
                return false;
            }
            value = args[++i];
            return true;
        };
        if (name == ListOption || name == PlayOption || name == RenderOption) {
            if (modeSeen) {
                failure = QStringLiteral("Give only one of --list, --play and --render.");
                break;
            }
            modeSeen = true;
            if (name == ListOption) {
                request.mode = TerminalRequest::Mode::List;
                if (hasValue)
                    request.search = value;
                else if (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1String("--")))
                    request.search = args[++i];
            } else if (name == PlayOption) {
                request.mode = TerminalRequest::Mode::Play;
                if (takeValue())
                    request.entry = value;
            } else {
                request.mode = TerminalRequest::Mode::Render;
                if (!takeValue())
                    break;
                request.entry = value;
                if (i + 1 >= args.size()) {
                    failure = QStringLiteral("--render needs an entry and a file name.");
                    break;
                }
                request.output = args[++i];
            }
            continue;
        }
        given << name;
        if (name == QLatin1String("--length")) {
            if (!takeValue())
                break;
            const std::optional<int> seconds = ParseDuration(value);
            if (!seconds)
                failure = QStringLiteral("The length \"%1\" is not a duration like 00:30:00.").arg(value);
            else if (*seconds == 0)
                failure = QStringLiteral("The length must be more than zero.");
            else if (*seconds > MaxExportSeconds)
                failure = QStringLiteral("The length must not be more than 100 hours.");
            else
                request.lengthSeconds = *seconds;
        } else if (name == QLatin1String("--volume")) {
            if (!takeValue())
                break;
            if (const auto v = sliderPercent(value, 0, 100, 1024))
                request.volumeSlider = *v;
            else
                failure = QStringLiteral("The volume \"%1\" is not a percentage from 0 to 100.").arg(value);
        } else if (name == QLatin1String("--pan")) {
            if (!takeValue())
                break;
            if (const auto v = sliderPercent(value, -100, 100, 512))
                request.panSlider = *v;
            else
                failure =
                    QStringLiteral("The pan \"%1\" is not a percentage from -100 (left) to 100 (right).").arg(value);
        } else if (name == QLatin1String("--rate")) {
            if (!takeValue())
                break;
            bool ok = false;
            request.rate = value.toInt(&ok);
            if (!ok || !IsExportRate(request.rate))
                failure = QStringLiteral("The rate \"%1\" is not one of 44100, 48000 and 96000.").arg(value);
        } else if (name == QLatin1String("--bits")) {
            if (!takeValue())
                break;
            if (value == QLatin1String("16"))
                request.wav16 = true;
            else if (value != QLatin1String("32"))
                failure = QStringLiteral("The WAV sample size \"%1\" is not 16 or 32.").arg(value);
        } else {
            failure = QStringLiteral("Unknown argument \"%1\".").arg(args[i]);
        }
    }

    if (failure.isEmpty()) {
        const bool play = request.mode == TerminalRequest::Mode::Play;
        const bool render = request.mode == TerminalRequest::Mode::Render;
        for (const QString &option : given) {
            const bool fits =
                (option == QLatin1String("--rate") || option == QLatin1String("--bits")) ? render : play || render;
            if (!fits) {
                failure = QStringLiteral("%1 cannot be used with %2.")
                              .arg(option, play     ? PlayOption
                                           : render ? RenderOption
                                                    : ListOption);
                break;
            }
        }
    }
    if (failure.isEmpty() && request.mode == TerminalRequest::Mode::Render) {
        const auto format = ExportFormatForPath(request.output, request.wav16);
        if (!format)
            failure = QStringLiteral("\"%1\" does not end in .wav, .flac or .ogg.").arg(request.output);
        else if (request.wav16 && *format != ExportFormat::Wav16)
            failure = QStringLiteral("--bits applies only to WAV files.");
    }
    if (!failure.isEmpty()) {
        if (error)
            *error = failure;
        return std::nullopt;
    }
    if (error)
        error->clear();
    return request;
}

EntryChoice ChooseEntry(const Catalogue &catalogue, const QString &entry)
{
    EntryChoice choice;
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    if (digits.match(entry).hasMatch()) {
        bool ok = false;
        const int n = entry.toInt(&ok);
        if (!ok || n < 1 || n > catalogue.catalogueLineCount() || catalogue.entry(n).isEmpty()) {
            choice.status = 2;
            choice.message = QStringLiteral("There is no entry %1 in the catalogue.").arg(entry);
            return choice;
        }
        choice.number = n;
        choice.listText = catalogue.listText(n);
        if (choice.listText.startsWith(QLatin1Char('_'))) {
            choice.status = 1;
            choice.message = NotPlayableMessage(choice.listText);
        }
        return choice;
    }

    std::vector<int> found;
    catalogue.findEntries(entry.trimmed(), catalogue.catalogueLineCount(), found);
    std::vector<int> playable;
    for (int n : found) {
        if (catalogue.listText(n).startsWith(QLatin1Char('#')))
            playable.push_back(n);
        if (choice.matches.size() < CatalogueListModel::MaxListed)
            choice.matches << catalogue.listText(n);
    }
    if (playable.size() == 1) {
        choice.number = playable.front();
        choice.listText = catalogue.listText(choice.number);
        choice.matches.clear();
        return choice;
    }
    choice.status = 2;
    choice.message = playable.empty() ? QStringLiteral("\"%1\" names no playable entry.").arg(entry)
                                      : QStringLiteral("\"%1\" names %2 playable entries; choose one by its number.")
                                            .arg(entry)
                                            .arg(playable.size());
    return choice;
}

void PrintCatalogueList(const Catalogue &catalogue, const QString &search, QTextStream &out)
{
    CatalogueListModel model(catalogue);
    model.FillList(search.trimmed());
    for (int row = 0; row < model.rowCount(); ++row)
        out << model.itemText(row) << '\n';
    out << model.matchCountText() << '\n';
    out.flush();
}

// ---- running --------------------------------------------------------------------

namespace {

std::atomic<bool> stopSignal{false};

extern "C" void onStopSignal(int)
{
    stopSignal.store(true);
}

// Ctrl+C and SIGTERM end the tone (or the export) the orderly way.
void catchStopSignals()
{
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// The progress line: rewritten in place on a terminal; elsewhere (a log, a
// pipe) one line whenever the frequency changes, and the last one.
class ProgressDisplay {
public:
    explicit ProgressDisplay(QTextStream &err) : err_(err), terminal_(isatty(STDERR_FILENO) != 0) {}
    void show(const QString &line, int index)
    {
        if (terminal_) {
            // Kept within the terminal's width, so that the line is rewritten in
            // place instead of wrapping.
            winsize size{};
            const int columns = ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 1 ? size.ws_col : 0;
            const QString shown =
                columns > 0 && line.size() >= columns ? QStringLiteral("…") + line.right(columns - 2) : line;
            err_ << '\r' << shown << "\x1b[K";
            err_.flush();
        } else if (index != shownIndex_) {
            err_ << line << '\n';
            err_.flush();
            lastShown_ = line;
        }
        shownIndex_ = index;
        last_ = line;
    }
    // Ends the display with the latest line in full.
    void end()
    {
        if (terminal_ && !last_.isEmpty())
            err_ << '\n';
        else if (!terminal_ && last_ != lastShown_)
            err_ << last_ << '\n';
        err_.flush();
        last_.clear();
        lastShown_.clear();
    }

private:
    QTextStream &err_;
    bool terminal_;
    int shownIndex_ = -1;
    QString last_, lastShown_;
};

// The program's platform with its messages written to the terminal.
class TerminalPlatform final : public Platform {
public:
    TerminalPlatform(Platform &base, QTextStream &err) : base_(base), err_(err) {}
    void message(const QString &, const QString &text) override
    {
        err_ << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
        err_.flush();
    }
    void endProgram(int status) override { base_.endProgram(status); }
    QString programFolder() const override { return base_.programFolder(); }
    QString installedDataFolder() const override { return base_.installedDataFolder(); }
    std::unique_ptr<QSettings> openSettings() override { return base_.openSettings(); }
    bool openUrl(const QUrl &url) override { return base_.openUrl(url); }

private:
    Platform &base_;
    QTextStream &err_;
};

int fail(QTextStream &err, const QString &message, int status)
{
    err << QStringLiteral("helicordia: ") << message << '\n';
    err.flush();
    return status;
}

int runPlay(const TerminalRequest &request, const EntryChoice &choice, const Catalogue &catalogue, Platform &platform,
            QTextStream &err)
{
    TerminalPlayer::Settings settings;
    settings.number = choice.number;
    settings.name = EntryName(choice.listText);
    settings.frequencies = EntryFrequencies(catalogue.entry(choice.number));
    settings.lengthSeconds = request.lengthSeconds;
    settings.volumeSlider = request.volumeSlider;
    settings.panSlider = request.panSlider;
    ProgressDisplay display(err);
    TerminalPlayer *playerPtr = nullptr;
    TerminalPlayer player(
        realToneEngine(), platform, settings,
        [&](const QString &line) { display.show(line, playerPtr ? playerPtr->core().currentFrequency() : 0); },
        [] { return stopSignal.load(); });
    playerPtr = &player;
    QObject::connect(&player, &TerminalPlayer::finished, [](int status) { QCoreApplication::exit(status); });
    catchStopSignals();
    if (!player.start()) {
        display.end();
        return 1;
    }
    const int status = QCoreApplication::exec();
    display.end();
    return status;
}

int runRender(const TerminalRequest &request, const EntryChoice &choice, const Catalogue &catalogue, QTextStream &err)
{
    ExportRequest exportRequest;
    exportRequest.frequencyCount =
        ParseFrequencyList(EntryFrequencies(catalogue.entry(choice.number)), exportRequest.frequencies);
    exportRequest.lengthSeconds =
        request.lengthSeconds > 0 ? request.lengthSeconds : SuggestedDuration(exportRequest.frequencyCount);
    exportRequest.rate = request.rate;
    exportRequest.volume = float(request.volumeSlider) / 1024.0f;
    exportRequest.pan = float(request.panSlider) / 512.0f;
    exportRequest.format = *ExportFormatForPath(request.output, request.wav16);

    const QString name = EntryName(choice.listText).trimmed();
    ProgressDisplay display(err);
    int shownSecond = -1;
    catchStopSignals();
    const ExportResult result = ExportTreatment(exportRequest, request.output, [&](const ExportProgress &p) {
        const int second = std::min(p.elapsedSeconds(), exportRequest.lengthSeconds);
        if (second != shownSecond) {
            shownSecond = second;
            display.show(ProgressLine(name, p.frequencyHz, p.index, p.count, second, exportRequest.lengthSeconds),
                         p.index);
        }
        return !stopSignal.load();
    });
    display.end();
    switch (result.outcome) {
    case ExportOutcome::Written:
        err << QStringLiteral("Written to %1").arg(QDir::toNativeSeparators(request.output)) << '\n';
        err.flush();
        return 0;
    case ExportOutcome::Cancelled: return fail(err, QStringLiteral("Cancelled; nothing was written."), 1);
    case ExportOutcome::Failed: break;
    }
    return fail(err, result.message, 1);
}

} // namespace

std::optional<int> RunTerminalMode(int argc, char *argv[], Platform &desktop)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString error;
    const std::optional<TerminalRequest> request = ParseTerminalArguments(arguments, &error);
    QTextStream out(stdout), err(stderr);
    if (!request)
        return error.isEmpty() ? std::nullopt : std::optional<int>(fail(err, error, 2));

    QCoreApplication app(argc, argv);
    TerminalPlatform platform(desktop, err);
    Catalogue catalogue;
    QString loadError;
    if (!catalogue.LoadCatalogue(platform.dataFile(CatalogueFileName), &loadError))
        return fail(err, loadError, 1);

    if (request->mode == TerminalRequest::Mode::List) {
        PrintCatalogueList(catalogue, request->search, out);
        return 0;
    }
    const EntryChoice choice = ChooseEntry(catalogue, request->entry);
    if (choice.status != 0) {
        if (choice.status == 1) {
            platform.message(ApplicationTitle, choice.message);
            return 1;
        }
        fail(err, choice.message, 2);
        for (const QString &match : choice.matches)
            err << match << '\n';
        err.flush();
        return 2;
    }
    return request->mode == TerminalRequest::Mode::Play ? runPlay(*request, choice, catalogue, platform, err)
                                                        : runRender(*request, choice, catalogue, err);
}

void DescribeTerminalModes(QCommandLineParser &parser)
{
    const struct {
        const char *name, *value, *text;
    } options[] = {
        {"list", "text",
         "Prints the catalogue list for the search text (every entry without one), then the match count."},
        {"play", "entry",
         "Plays an entry (its number, or a search text that names one playable entry) through the sound card. Ctrl+C ends it."},
        {"render", "entry> <file", "Writes an entry's treatment to a .wav, .flac or .ogg file."},
        {"length", "hh:mm:ss", "--play, --render: the treatment's length (the entry's suggested length without it)."},
        {"volume", "percent", "--play, --render: the volume, 0 to 100 (about 10 without it)."},
        {"pan", "percent", "--play, --render: the pan, -100 (left) to 100 (right); 0 without it."},
        {"rate", "hz", "--render: 44100, 48000 (without it) or 96000."},
        {"bits", "16|32", "--render to .wav: 16-bit PCM or 32-bit float (without it)."},
    };
    for (const auto &o : options)
        parser.addOption(
            QCommandLineOption(QString::fromLatin1(o.name), QString::fromUtf8(o.text), QString::fromLatin1(o.value)));
}

} // namespace helicordia
