// When each treatment of a session plays. A session is a list of treatments
// played one after another, the whole list as many rounds as it is repeated;
// each treatment keeps its own schedule (TreatmentSchedule), exactly as if it
// were played alone, and starts when the one before has ended. Rows whose
// treatment cannot be found are passed over. No Qt here.
#pragma once

#include "treatment/treatment_schedule.h"

#include <vector>

namespace helicordia {

class SessionSchedule {
public:
    // One row of the list: how many frequencies its treatment has and how
    // long it plays; `found` false for a row whose treatment is missing.
    struct Row {
        int frequencyCount = 0;
        int lengthSeconds = 0;
        bool found = true;
    };

    // One treatment as it is played: which round (from 1), which row of the
    // list (from 1), the second of the session at which it starts (without
    // the fades between treatments) and its own schedule.
    struct Part {
        int round = 0;
        int row = 0;
        int startSecond = 0;
        TreatmentSchedule schedule;
    };

    // A switch of the whole session: part `part` (index into parts()) moves
    // to frequency `index` at `second` of the session.
    struct Switch {
        int second = 0;
        int part = 0;
        int index = 0;
        bool operator==(const Switch &) const = default;
    };

    SessionSchedule(const std::vector<Row> &rows, int repeat);

    int rowCount() const { return rowCount_; }
    int rounds() const { return rounds_; }
    const std::vector<Part> &parts() const { return parts_; }
    // Seconds of tone in the whole session: the sum of the parts' lengths.
    int totalSeconds() const { return total_; }
    // Every frequency switch of every part, in playing order.
    std::vector<Switch> switches() const;

    static constexpr int MinRepeat = 1;
    static constexpr int MaxRepeat = 99;

private:
    int rowCount_;
    int rounds_;
    int total_ = 0;
    std::vector<Part> parts_;
};

} // namespace helicordia
