#include "engine/cpu_pressure.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tone {

namespace {

// The "some" line's running total, in microseconds; -1 if unknown.
std::int64_t readSomeTotalUs()
{
#ifdef __linux__
    const int fd = ::open("/proc/pressure/cpu", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    char text[256];
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (n <= 0)
        return -1;
    text[n] = '\0';
    if (std::strncmp(text, "some ", 5) != 0)
        return -1;
    const char *total = std::strstr(text, "total=");
    const char *lineEnd = std::strchr(text, '\n');
    if (!total || (lineEnd && total > lineEnd))
        return -1;
    return std::strtoll(total + 6, nullptr, 10);
#else
    return -1;
#endif
}

} // namespace

double CpuPressure::sample()
{
    const auto now = std::chrono::steady_clock::now();
    const std::int64_t total = readSomeTotalUs();
    double share = -1.0;
    if (total >= 0 && lastTotalUs_ >= 0 && now > lastAt_) {
        const double elapsedUs = std::chrono::duration<double, std::micro>(now - lastAt_).count();
        share = double(total - lastTotalUs_) / elapsedUs;
    }
    lastTotalUs_ = total;
    lastAt_ = now;
    return share;
}

} // namespace tone
