#include "app/terminal/terminal_modes.h"

#include "app/terminal/terminal_player.h"
#include "catalogue/catalogue.h"
#include "catalogue/cataloguelistmodel.h"
#include "catalogue/entrytext.h"
#include "engine/tone_engine.h"
#include "platform/application.h"
#include "platform/platform.h"
#include "platform/translations.h"
#include "platform/user_files.h"
#include "treatment/export/session_export.h"
#include "treatment/own_import.h"
#include "treatment/own_treatments.h"
#include "treatment/session.h"
#include "treatment/treatment_finder.h"
#include "treatment/treatment_recorder.h"

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

void PrintCatalogueList(const Catalogue &catalogue, const OwnTreatments *own, const QString &search, QTextStream &out)
{
    CatalogueListModel model(catalogue);
    model.setOwnEntries(own);
    model.FillList(search.trimmed());
    for (int row = 0; row < model.rowCount(); ++row)
        out << model.itemText(row) << '\n';
    out << model.matchCountText() << '\n';
    out.flush();
}

namespace {

int fail(QTextStream &err, const QString &message, int status)
{
    err << QStringLiteral("helicordia: ") << message << '\n';
    err.flush();
    return status;
}

} // namespace

int AddOwnTreatment(OwnTreatments &own, const QString &line, QTextStream &out, QTextStream &err)
{
    const qsizetype separator = FindEntrySeparator(line);
    if (separator < 0)
        return fail(
            err,
            QCoreApplication::translate("Terminal", "\"%1\" has no \" - \" between a name and frequencies.").arg(line),
            2);
    const TreatmentCheck check(line.left(separator), line.mid(separator + EntrySeparator.size()));
    if (!check.canSave())
        return fail(err, check.problems().first(), 2);
    const QString name = line.left(separator).trimmed();
    if (const int other = own.findName(name))
        return fail(err,
                    QCoreApplication::translate("Terminal", "Your treatment %1 is already named \"%2\"; change it in "
                                                            "the window, or give another name.")
                        .arg(EntryIdText({true, other}), name),
                    2);
    if (const QString error = own.add({check.line()}); !error.isEmpty())
        return fail(err, QString(error).replace(QStringLiteral("\n\n"), QStringLiteral(" ")), 1);
    for (const QString &warning : check.warnings())
        err << QCoreApplication::translate("Terminal", "Note: %1").arg(warning) << '\n';
    err.flush();
    out << QCoreApplication::translate("Terminal", "Added %1: %2")
               .arg(own.ownListText(own.count()).trimmed(), check.summary())
        << '\n';
    out.flush();
    return 0;
}

int ImportOwnTreatments(OwnTreatments &own, const QString &path, QTextStream &out, QTextStream &err)
{
    const FileRead file = ReadRegularFile(path, OwnTreatments::MaxFileBytes);
    if (file.missing)
        return fail(err, QCoreApplication::translate("Terminal", "\"%1\" does not exist.").arg(path), 1);
    if (!file.error.isEmpty())
        return fail(err, file.error, 1);
    const ImportPlan plan(file.bytes, own);
    out << plan.summary() << '\n';
    out.flush();
    if (plan.lines().isEmpty())
        return fail(err, QCoreApplication::translate("Terminal", "Nothing was imported."), 2);
    if (const QString error = own.add(plan.lines()); !error.isEmpty())
        return fail(err, QString(error).replace(QStringLiteral("\n\n"), QStringLiteral(" ")), 1);
    out << QCoreApplication::translate("Terminal", "Imported %1.").arg(plan.lines().size()) << '\n';
    out.flush();
    return 0;
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
    // A line of its own (the progress line goes on under it).
    void note(const QString &line)
    {
        if (terminal_)
            err_ << "\r\x1b[K";
        err_ << line << '\n';
        err_.flush();
        if (terminal_ && !last_.isEmpty())
            show(last_, shownIndex_);
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
    return fail(err, QCoreApplication::translate("Terminal", "The output could not be written: %1.").arg(reason), 1);
}

TerminalPlayer::Settings playSettings(const CommandLineRequest &request, const FoundTreatment &found)
{
    TerminalPlayer::Settings settings;
    settings.number = PlayerNumber(found.entry);
    settings.name = found.name;
    settings.frequencies = found.frequencies;
    settings.lengthSeconds = request.lengthSeconds;
    settings.volumeSlider = request.volumeSlider;
    settings.panSlider = request.panSlider;
    settings.output = request.soundOutput;
    return settings;
}

int runPlay(const TerminalPlayer::Settings &settings, Platform &platform, QTextStream &err)
{
    // The history and the resume file follow it as they follow the window's player.
    TreatmentRecorder recorder(platform.userFile(QLatin1String(HistoryFileName)),
                               platform.userFile(QLatin1String(ResumeFileName)),
                               [&platform](const QString &text) { platform.message(ApplicationTitle, text); });
    ProgressDisplay display(err);
    TerminalPlayer *playerPtr = nullptr;
    TerminalPlayer player(
        realToneEngine(), platform, settings,
        [&](const QString &line) { display.show(line, playerPtr ? playerPtr->core().currentFrequency() : 0); },
        [] { return stopSignal.load(); });
    playerPtr = &player;
    player.core().setObserver(&recorder);
    player.setNotice([&](const QString &text) { display.note(QStringLiteral("helicordia: ") + text); });
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

int runRender(const CommandLineRequest &request, const FoundTreatment &found, QTextStream &err)
{
    ExportRequest exportRequest;
    exportRequest.frequencyCount = ParseFrequencyList(found.frequencies, exportRequest.frequencies);
    exportRequest.lengthSeconds =
        request.lengthSeconds > 0 ? request.lengthSeconds : SuggestedDuration(exportRequest.frequencyCount);
    exportRequest.rate = request.rate;
    exportRequest.volume = float(request.volumeSlider) / 1024.0f;
    exportRequest.pan = float(request.panSlider) / 512.0f;
    exportRequest.format = *ExportFormatForPath(request.output, request.wav16);

    const QString name = found.name.trimmed();
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
        err << QCoreApplication::translate("Terminal", "Written to %1").arg(QDir::toNativeSeparators(request.output))
            << '\n';
        err.flush();
        return 0;
    case ExportOutcome::Cancelled:
        return fail(err, QCoreApplication::translate("Terminal", "Cancelled; nothing was written."), 1);
    case ExportOutcome::Failed: break;
    }
    return fail(err, result.message, 1);
}

// The progress line of a session: the treatment's own, and where the session stands.
QString SessionProgressLine(const SessionPlan &plan, const ExportProgress &p, int second)
{
    const SessionTreatment &t = plan.treatmentOf(p.part);
    return QCoreApplication::translate("Terminal", "%1 | %2")
        .arg(ProgressLine(t.found->name.trimmed(), p.frequencyHz, p.index, p.count, second, t.lengthSeconds),
             plan.placeText(p.part));
}

int runPlaySession(const CommandLineRequest &request, const SessionPlan &plan, Platform &platform, QTextStream &err)
{
    TerminalPlayer::Settings settings;
    settings.volumeSlider = request.volumeSlider;
    settings.panSlider = request.panSlider;
    settings.output = request.soundOutput;
    ProgressDisplay display(err);
    TerminalPlayer *playerPtr = nullptr;
    TerminalPlayer player(
        realToneEngine(), platform, settings,
        [&](const QString &line) {
            display.show(line, playerPtr ? playerPtr->sessionPart() * 1000 + playerPtr->core().currentFrequency() : 0);
        },
        [] { return stopSignal.load(); });
    playerPtr = &player;
    QObject::connect(&player, &TerminalPlayer::finished, [](int status) { QCoreApplication::exit(status); });
    catchStopSignals();
    if (!player.startSession(plan)) {
        display.end();
        return 1;
    }
    const int status = QCoreApplication::exec();
    display.end();
    return status;
}

int runRenderSession(const CommandLineRequest &request, const SessionPlan &plan, QTextStream &err)
{
    ExportRequest base;
    base.rate = request.rate;
    base.volume = float(request.volumeSlider) / 1024.0f;
    base.pan = float(request.panSlider) / 512.0f;
    base.format = *ExportFormatForPath(request.output, request.wav16);
    SessionRenderer renderer(plan, base);
    ProgressDisplay display(err);
    std::pair<int, int> shown{-1, -1};
    catchStopSignals();
    const ExportResult result =
        ExportFrames(renderer, base.format, base.rate, request.output, [&](const ExportProgress &p) {
            const int length = plan.treatmentOf(p.part).lengthSeconds;
            const int second = std::min(int((p.framesDone - renderer.partStart(p.part)) / p.rate), length);
            if (std::pair(p.part, second) != shown) {
                shown = {p.part, second};
                display.show(SessionProgressLine(plan, p, second), p.part * 1000 + p.index);
            }
            return !stopSignal.load();
        });
    display.end();
    if (result.outcome == ExportOutcome::Written) {
        err << QCoreApplication::translate("Terminal", "Written to %1").arg(QDir::toNativeSeparators(request.output))
            << '\n';
        err.flush();
        return 0;
    }
    return fail(err,
                result.outcome == ExportOutcome::Cancelled
                    ? QCoreApplication::translate("Terminal", "Cancelled; nothing was written.")
                    : result.message,
                1);
}

// --play-session and --render-session: reads the file, names the rows it
// passes over, and plays or writes the rest.
int runSession(const CommandLineRequest &request, const TreatmentFinder &finder, Platform &platform, QTextStream &err)
{
    const FileRead file = ReadRegularFile(request.session, Session::MaxFileBytes);
    if (file.missing)
        return fail(err, QCoreApplication::translate("Terminal", "\"%1\" does not exist.").arg(request.session), 1);
    if (!file.error.isEmpty())
        return fail(err, file.error, 1);
    QStringList problems;
    const SessionPlan plan(Session::fromFile(file.bytes, &problems), finder);
    if (const QString missing = plan.missingMessage(); !missing.isEmpty())
        problems << missing;
    for (const QString &problem : problems)
        err << QCoreApplication::translate("Terminal", "Note: %1").arg(problem) << '\n';
    err.flush();
    if (plan.isEmpty())
        return fail(err, QCoreApplication::translate("Terminal", "The session has nothing to play."), 2);
    return request.mode == RunMode::PlaySession ? runPlaySession(request, plan, platform, err)
                                                : runRenderSession(request, plan, err);
}

// Runs --list, --play or --render.
int runTerminalMode(const CommandLineRequest &request, Platform &desktop, QTextStream &err)
{
    if (request.mode == RunMode::ListOutputs)
        return PrintSoundOutputs(err);
    TerminalPlatform platform(desktop, err);
    Catalogue catalogue;
    QString loadError;
    if (!catalogue.LoadCatalogue(platform.dataFile(CatalogueFileName), &loadError))
        return fail(err, loadError, 1);

    OwnTreatments own;
    if (const QString notice = own.load(platform.userFile(QLatin1String(OwnTreatmentsFileName))); !notice.isEmpty())
        err << QString(notice).replace(QStringLiteral("\n\n"), QStringLiteral(" ")) << '\n';
    QTextStream out(stdout);
    switch (request.mode) {
    case RunMode::List: PrintCatalogueList(catalogue, &own, request.search, out); return finishOutput(out, err);
    case RunMode::History: PrintHistory(platform, request.historyDays, out, err); return finishOutput(out, err);
    case RunMode::Resume: {
        const TreatmentFinder finder(catalogue, &own);
        const auto settings = ResumeSettings(platform, finder, request, out, err);
        return settings ? runPlay(*settings, platform, err) : finishOutput(out, err);
    }
    case RunMode::Add:
    case RunMode::Import: {
        const int status = request.mode == RunMode::Add ? AddOwnTreatment(own, request.own, out, err)
                                                        : ImportOwnTreatments(own, request.own, out, err);
        return status == 0 ? finishOutput(out, err) : status;
    }
    case RunMode::PlaySession:
    case RunMode::RenderSession: return runSession(request, TreatmentFinder(catalogue, &own), platform, err);
    default: break;
    }
    const TreatmentFinder::Choice choice = TreatmentFinder(catalogue, &own).choose(request.entry);
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
    return request.mode == RunMode::Play ? runPlay(playSettings(request, *choice.found), platform, err)
                                         : runRender(request, *choice.found, err);
}

} // namespace

int RunCommandLine(const CommandLineRequest &given, int argc, char *argv[], Platform &platform)
{
    const QStringList arguments = ArgumentsOf(argc, argv);
    QCoreApplication app(argc, argv);
    // The terminal speaks the language of LANG / LC_MESSAGES; the arguments
    // are read again, so that what is said about them is in it too.
    Translations translations(platform);
    const bool romanian = TerminalLanguage() == InterfaceLanguage::Romanian;
    if (romanian)
        translations.use(InterfaceLanguage::Romanian);
    const CommandLineRequest request = romanian ? ParseCommandLine(arguments) : given;
    QTextStream out(stdout), err(stderr);
    if (!request.error.isEmpty()) {
        err << request.program << QStringLiteral(": ") << request.error << '\n'
            << QCoreApplication::translate("Terminal", "Try '%1 --help' for the options.").arg(request.program) << '\n';
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
    case RunMode::ListOutputs:
    case RunMode::Play:
    case RunMode::Render:
    case RunMode::Add:
    case RunMode::Import:
    case RunMode::History:
    case RunMode::Resume:
    case RunMode::PlaySession:
    case RunMode::RenderSession: return runTerminalMode(request, platform, err);
    }
    return finishOutput(out, err);
}

} // namespace helicordia
