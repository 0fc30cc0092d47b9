// The user's own treatments file and the import on arbitrary bytes: every
// line is kept byte for byte, the checks agree with the player's reading of
// each list, and nothing breaks.
#include "treatment/own_import.h"
#include "treatment/own_treatments.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    helicordia::OwnTreatments own;
    own.takeLines(bytes);
    // Kept byte for byte, unless it reads as UTF-16 (then kept as UTF-8).
    const bool utf16 = bytes.contains('\0') || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (!utf16 && own.fileBytes() != bytes)
        __builtin_trap();
    for (int n = 1; n <= own.count(); ++n) {
        const QString frequencies = own.frequencies(n);
        helicordia::FrequencyTable table{};
        const helicordia::FrequencyListCheck check = helicordia::CheckFrequencyList(frequencies, 48000);
        if (check.counted != helicordia::ParseFrequencyList(frequencies, table) || check.sounding > check.counted)
            __builtin_trap();
        (void)own.problem(n);
    }
    const helicordia::ImportPlan plan(bytes, own);
    (void)plan.summary();
    return 0;
}
