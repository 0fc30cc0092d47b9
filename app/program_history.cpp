// The program's part in the history and in resuming a treatment cut short.
#include "app/history_window.h"
#include "app/program.h"
#include "platform/application.h"
#include "treatment/treatment_finder.h"

namespace helicordia {

Program::~Program() = default;

void Program::showHistory()
{
    if (!history_)
        history_ = std::make_unique<HistoryWindow>(platform_, platform_.userFile(QLatin1String(HistoryFileName)),
                                                   [this](const HistoryRecord &record) { playRecord(record); });
    history_->reload();
    if (history_->isMinimized())
        history_->showNormal();
    history_->show();
    history_->raise();
    history_->activateWindow();
}

void Program::playInPlayer(EntryRef entry, const QString &name, const QString &frequencies, int length, int second,
                           int index)
{
    Player &window = player();
    PlayerCore &core = window.core();
    if (window.isLoaded() && core.state() == PlayerState::Holding)
        core.btnHold_Click();
    if (window.isLoaded())
        core.btnStop_Click();
    window.Player_Start(PlayerNumber(entry), name, frequencies);
    if (core.programEnded())
        return;
    window.setTreatmentLength(length);
    if (second > 0 || index > 1)
        core.playFrom(second, index);
    else
        core.btnPlay_Click();
}

void Program::playRecord(const HistoryRecord &record)
{
    const TreatmentFinder &finder = main_.finder();
    std::optional<FoundTreatment> found;
    if (const auto entry = ParseEntryId(record.id))
        found = finder.entry(*entry);
    if (!found || found->name.trimmed() != record.name.trimmed())
        found = finder.byName(record.name);
    if (!found || !found->playable()) {
        platform_.message(
            ApplicationTitle,
            tr("\"%1\" is no longer among the treatments, so it cannot be played again.").arg(record.name));
        return;
    }
    main_.AddRecent(found->name.trimmed());
    playInPlayer(found->entry, found->name, found->frequencies, record.plannedSeconds, 0, 1);
}

void Program::offerResume()
{
    const ResumeFile file(platform_.userFile(QLatin1String(ResumeFileName)));
    const ResumeFile::Found found =
        file.takeInterrupted(main_.finder(), platform_.userFile(QLatin1String(HistoryFileName)));
    if (!found.note.isEmpty())
        platform_.message(ApplicationTitle, found.note);
    if (!found.point)
        return;
    const bool yes = platform_.question(ApplicationTitle, ResumeFile::question(*found.point));
    // While the question was open, the user may have started another treatment.
    if (recorder_->active())
        return;
    if (!yes) {
        file.forget();
        return;
    }
    const ResumePoint &point = *found.point;
    playInPlayer(found.entry, point.name, point.frequencies, point.length, point.elapsed, point.index);
}

} // namespace helicordia
