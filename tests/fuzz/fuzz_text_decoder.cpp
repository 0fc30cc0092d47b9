// The text decoder: what it accepts as UTF-8 survives a round trip
// (but for a leading byte order mark), and the
// 8-bit decoding keeps one character per byte.
#include "catalogue/textcodec.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (helicordia::IsValidUtf8(bytes)) {
        // The decoder drops a byte order mark at the very start.
        const QByteArray back = QString::fromUtf8(bytes).toUtf8();
        if (back != bytes && !(bytes.startsWith("\xEF\xBB\xBF") && back == bytes.mid(3)))
            __builtin_trap();
    }
    if (helicordia::DecodeWindows1250(bytes).size() != bytes.size())
        __builtin_trap();
    return 0;
}
