#include "app/terminal/terminal_modes.h"

#include "app/terminal/terminal_player.h"
#include "catalogue/catalogue.h"
#include "catalogue/cataloguelistmodel.h"
#include "catalogue/entrytext.h"
#include "engine/tone_engine.h"
#include "platform/application.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QSettings>
#include <QTextStream>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/ioctl.h>
#include <unistd.h>

namespace helicordia {

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

// Ctrl+C, SIGTERM, a closed terminal (SIGHUP) and a closed pipe (SIGPIPE)
// end the tone (or the export) the orderly way: an export leaves no file.
void catchStopSignals()
{
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        sigaction(number, &action, nullptr);
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
    QString userDataFolder() const override { return base_.userDataFolder(); }
    std::unique_ptr<QSettings> openSettings() override { return base_.openSettings(); }
    QString settingsRefusal() const override { return base_.settingsRefusal(); }
    bool openUrl(const QUrl &url) override { return base_.openUrl(url); }
    void openUrlOrReport(const QUrl &url, std::function<void()> notOpened) override
    {
        base_.openUrlOrReport(url, std::move(notOpened));
    }

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

// Ends an answer on standard output: 0 when all of it was written, else 1
// with the reason (a full disk, a closed pipe).
int finishOutput(QTextStream &out, QTextStream &err)
{
    out.flush();
    errno = 0;
    if (out.status() == QTextStream::Ok && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    QString reason = out.device() ? out.device()->errorString() : QString();
    if (out.status() == QTextStream::Ok || reason.isEmpty())
        reason = QString::fromLocal8Bit(std::strerror(errno != 0 ? errno : EIO));
    return fail(err, QStringLiteral("The output could not be written: %1.").arg(reason), 1);
}

int runPlay(const CommandLineRequest &request, const EntryChoice &choice, const Catalogue &catalogue,
            Platform &platform, QTextStream &err)
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

int runRender(const CommandLineRequest &request, const EntryChoice &choice, const Catalogue &catalogue,
              QTextStream &err)
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

// Runs --list, --play or --render.
int runTerminalMode(const CommandLineRequest &request, int argc, char *argv[], Platform &desktop, QTextStream &err)
{
    QCoreApplication app(argc, argv);
    TerminalPlatform platform(desktop, err);
    Catalogue catalogue;
    QString loadError;
    if (!catalogue.LoadCatalogue(platform.dataFile(CatalogueFileName), &loadError))
        return fail(err, loadError, 1);

    if (request.mode == RunMode::List) {
        QTextStream out(stdout);
        PrintCatalogueList(catalogue, request.search, out);
        return finishOutput(out, err);
    }
    const EntryChoice choice = ChooseEntry(catalogue, request.entry);
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
    return request.mode == RunMode::Play ? runPlay(request, choice, catalogue, platform, err)
                                         : runRender(request, choice, catalogue, err);
}

} // namespace

int RunCommandLine(const CommandLineRequest &request, int argc, char *argv[], Platform &platform)
{
    QTextStream out(stdout), err(stderr);
    if (!request.error.isEmpty()) {
        err << request.program << QStringLiteral(": ") << request.error << '\n'
            << QStringLiteral("Try '%1 --help' for the options.").arg(request.program) << '\n';
        err.flush();
        return 2;
    }
    switch (request.mode) {
    case RunMode::Help: out << CommandLineHelp(request.program); break;
    case RunMode::Version:
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << '\n';
        break;
    case RunMode::Window: return 0; // not for the terminal
    case RunMode::List:
    case RunMode::Play:
    case RunMode::Render: return runTerminalMode(request, argc, argv, platform, err);
    }
    return finishOutput(out, err);
}

} // namespace helicordia
