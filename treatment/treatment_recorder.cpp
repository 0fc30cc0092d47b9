#include "treatment/treatment_recorder.h"

#include <QTimeZone>

#include <chrono>
#include <unistd.h>

namespace helicordia {

TreatmentRecorder::TreatmentRecorder(QString historyPath, QString resumePath,
                                     std::function<void(const QString &)> report, Clocks clocks)
    : historyPath_(std::move(historyPath)),
      resume_(std::move(resumePath)),
      report_(std::move(report)),
      clocks_(std::move(clocks))
{
    if (!clocks_.steadyMs)
        clocks_.steadyMs = [] {
            return qint64(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now().time_since_epoch())
                              .count());
        };
    if (!clocks_.now)
        clocks_.now = [] { return QDateTime::currentDateTime(); };
}

void TreatmentRecorder::treatmentEvent(TreatmentEvent event, const TreatmentMoment &moment)
{
    if (event == TreatmentEvent::Started) {
        if (active_)
            finish(TreatmentEnding::Stopped);
        begin(moment);
        return;
    }
    if (!active_)
        return;
    countPhaseTime();
    follow(moment);
    switch (event) {
    case TreatmentEvent::Started: break;
    case TreatmentEvent::Tick:
        point_.heard += 1;
        if (++unsavedSeconds_ >= ResumeSaveSeconds)
            save();
        break;
    case TreatmentEvent::Paused:
    case TreatmentEvent::Held:
    case TreatmentEvent::Unpaused:
    case TreatmentEvent::Released:
        point_.phase = event == TreatmentEvent::Paused ? ResumePhase::Paused
                       : event == TreatmentEvent::Held ? ResumePhase::Holding
                                                       : ResumePhase::Playing;
        save();
        break;
    case TreatmentEvent::Completed:
        point_.heard += 1; // the tick that reached the end was heard
        finish(TreatmentEnding::Completed);
        break;
    case TreatmentEvent::Stopped: finish(TreatmentEnding::Stopped); break;
    case TreatmentEvent::ProgramEnded: finish(TreatmentEnding::ProgramEnded); break;
    }
}

void TreatmentRecorder::begin(const TreatmentMoment &moment)
{
    const QDateTime now = clocks_.now();
    point_ = ResumePoint{};
    point_.id = moment.numar != 0 ? EntryIdText(EntryOfPlayerNumber(moment.numar)) : QString();
    point_.name = moment.name.trimmed();
    point_.frequencies = moment.frequencies.trimmed();
    point_.started = now.toOffsetFromUtc(now.offsetFromUtc());
    point_.zone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    point_.resumed = moment.resumed;
    point_.pid = qint64(::getpid());
    point_.boot = CurrentBootId();
    follow(moment);
    active_ = true;
    phaseStartMs_ = clocks_.steadyMs();
    save();
}

void TreatmentRecorder::follow(const TreatmentMoment &moment)
{
    point_.length = moment.length;
    point_.elapsed = moment.elapsed;
    point_.index = moment.index;
    point_.count = moment.count;
}

void TreatmentRecorder::countPhaseTime()
{
    const qint64 now = clocks_.steadyMs();
    const int seconds = int((now - phaseStartMs_ + 500) / 1000);
    if (point_.phase == ResumePhase::Paused)
        point_.paused += seconds;
    else if (point_.phase == ResumePhase::Holding)
        point_.held += seconds;
    phaseStartMs_ = now;
}

void TreatmentRecorder::save()
{
    unsavedSeconds_ = 0;
    // Never the last second of a treatment: the clock stops there.
    if (point_.elapsed >= point_.length)
        return;
    const QString error = resume_.save(point_);
    if (!error.isEmpty() && !resumeFailed_ && report_)
        report_(tr("Where the treatment stands could not be kept, so it cannot be resumed if the program is cut "
                   "short.\n\n%1")
                    .arg(error));
    resumeFailed_ = resumeFailed_ || !error.isEmpty();
}

void TreatmentRecorder::finish(TreatmentEnding ending)
{
    active_ = false;
    HistoryRecord record = point_.interruptedRecord();
    record.ending = ending;
    const QString error = History::append(historyPath_, record);
    if (!error.isEmpty() && !historyFailed_ && report_)
        report_(tr("The treatment could not be added to the history.\n\n%1").arg(error));
    historyFailed_ = historyFailed_ || !error.isEmpty();
    resume_.remove();
}

} // namespace helicordia
