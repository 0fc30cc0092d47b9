// The frequency-list reader on arbitrary text.
#include "treatment/frequency_program.h"

#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString list = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    helicordia::FrequencyTable table{};
    const int count = helicordia::ParseFrequencyList(list, table);
    if (count < 1 || count > helicordia::MaxFrequencies)
        __builtin_trap();
    for (int i = 1; i <= count; ++i)
        if (std::isnan(table[static_cast<std::size_t>(i)]) || std::isinf(table[static_cast<std::size_t>(i)]))
            __builtin_trap();
    (void)helicordia::NumericValue(list);
    return 0;
}
