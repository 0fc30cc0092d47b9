// The history and resume-file readers on arbitrary lines: whatever is taken
// as a record is written back the same way and read back equal.
#include "treatment/history.h"
#include "treatment/resume_point.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto record = helicordia::ParseHistoryLine(bytes)) {
        const QByteArray line = helicordia::HistoryLine(*record);
        if (!line.endsWith('\n') || line.count('\n') != 1 || helicordia::ParseHistoryLine(line.chopped(1)) != record)
            __builtin_trap();
    }
    if (const auto point = helicordia::ParseResumeJson(bytes))
        if (helicordia::ParseResumeJson(helicordia::ResumeJson(*point)) != point)
            __builtin_trap();
    return 0;
}
