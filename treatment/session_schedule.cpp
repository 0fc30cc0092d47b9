#include "treatment/session_schedule.h"

#include <algorithm>

namespace helicordia {

SessionSchedule::SessionSchedule(const std::vector<Row> &rows, int repeat)
    : rowCount_(int(rows.size())), rounds_(std::clamp(repeat, MinRepeat, MaxRepeat))
{
    for (int round = 1; round <= rounds_; ++round)
        for (int row = 1; row <= rowCount_; ++row) {
            const Row &r = rows[std::size_t(row - 1)];
            if (!r.found || r.frequencyCount <= 0)
                continue;
            const TreatmentSchedule schedule(r.frequencyCount, r.lengthSeconds);
            parts_.push_back({round, row, total_, schedule});
            total_ += schedule.endSecond();
        }
}

std::vector<SessionSchedule::Switch> SessionSchedule::switches() const
{
    std::vector<Switch> out;
    for (std::size_t i = 0; i < parts_.size(); ++i)
        for (const TreatmentSchedule::Switch &s : parts_[i].schedule.switches())
            out.push_back({parts_[i].startSecond + s.second, int(i), s.index});
    return out;
}

} // namespace helicordia
