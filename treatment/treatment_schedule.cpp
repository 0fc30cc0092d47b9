#include "treatment/treatment_schedule.h"

#include <algorithm>

namespace helicordia {

int FrequencyShare(int treatmentLength, int frequencyCount)
{
    if (frequencyCount <= 0)
        return treatmentLength > 0 ? treatmentLength : 1;
    const long long t = treatmentLength, n = frequencyCount;
    long long q = t / n;
    if (t % n != 0 && t < 0)
        --q; // towards minus infinity, so that the remainder below is never negative
    const long long r = t - q * n;
    if (2 * r > n || (2 * r == n && q % 2 != 0))
        ++q;
    return q < 1 ? 1 : int(q);
}

TreatmentSchedule::TreatmentSchedule(int frequencyCount, int treatmentLength)
    : count_(std::max(frequencyCount, 0)),
      length_(treatmentLength),
      share_(FrequencyShare(treatmentLength, frequencyCount))
{
}

int TreatmentSchedule::indexAt(int second) const
{
    return std::min(second / share_ + 1, count_);
}

int TreatmentSchedule::soundingCount() const
{
    const int end = endSecond();
    return std::min(count_, (end - 1) / share_ + 1);
}

std::vector<TreatmentSchedule::Switch> TreatmentSchedule::switches() const
{
    std::vector<Switch> out;
    const int count = soundingCount();
    out.reserve(std::size_t(count));
    for (int k = 1; k <= count; ++k)
        out.push_back({startOf(k), k});
    return out;
}

TreatmentSchedule::Tick TreatmentSchedule::tick(int elapsed, int current) const
{
    if (elapsed >= length_)
        return {true, current};
    return {false, std::max(indexAt(elapsed), current)};
}

} // namespace helicordia
