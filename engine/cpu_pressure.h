// How busy the processors are: the share of time in which some task was
// ready to run but had to wait for a processor, from the kernel's pressure
// figures (/proc/pressure/cpu, Linux 4.20 and later). Where there are no
// such figures nothing is known.
#pragma once

#include <chrono>
#include <cstdint>

namespace tone {

class CpuPressure {
public:
    // The share of the time since the previous call (about 0 to 1); negative
    // on the first call and where the figures cannot be read.
    double sample();

private:
    std::int64_t lastTotalUs_ = -1;
    std::chrono::steady_clock::time_point lastAt_{};
};

} // namespace tone
