// Keeps account of each treatment the player plays: its progress in the
// resume file while it plays (at most every 5 seconds, and at each pause or
// hold), and its record in the history when it ends. The player's logic tells
// it what happens (TreatmentObserver); it touches nothing else. Qt Core only.
#pragma once

#include "treatment/resume_point.h"
#include "treatment/treatment_events.h"

#include <QCoreApplication>
#include <QDateTime>

#include <functional>

namespace helicordia {

// The resume file is written again after this many heard seconds.
inline constexpr int ResumeSaveSeconds = 5;

class TreatmentRecorder final : public TreatmentObserver {
    Q_DECLARE_TR_FUNCTIONS(TreatmentRecorder)
public:
    // The clocks it reads: a steady one in milliseconds (paused and held
    // time), and the wall clock (when a treatment started). Tests hand in their own.
    struct Clocks {
        std::function<qint64()> steadyMs;
        std::function<QDateTime()> now;
    };
    // `report` is told, once for each file, when the history or the resume
    // file could not be written.
    TreatmentRecorder(QString historyPath, QString resumePath, std::function<void(const QString &)> report,
                      Clocks clocks = {});

    void treatmentEvent(TreatmentEvent event, const TreatmentMoment &moment) override;

    // The treatment being played, as the resume file has it; nothing between treatments.
    bool active() const { return active_; }
    const ResumePoint &point() const { return point_; }

private:
    void begin(const TreatmentMoment &moment);
    void follow(const TreatmentMoment &moment);
    void countPhaseTime();
    void save();
    void finish(TreatmentEnding ending);

    QString historyPath_;
    ResumeFile resume_;
    std::function<void(const QString &)> report_;
    Clocks clocks_;
    ResumePoint point_;
    bool active_ = false;
    qint64 phaseStartMs_ = 0;
    int unsavedSeconds_ = 0;
    bool historyFailed_ = false;
    bool resumeFailed_ = false;
};

} // namespace helicordia
