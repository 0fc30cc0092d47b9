#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace helicordia {

// Windows-1250 (Central European) to Unicode, one byte to one character.
// The five bytes that the code page leaves unassigned (0x81, 0x83, 0x88,
// 0x90, 0x98) become the C1 control characters of the same value, so no
// byte is lost and the text can be turned back into the same bytes.
QString DecodeWindows1250(const QByteArray &bytes);

// Unicode to Windows-1250, the reverse of DecodeWindows1250; nothing when a
// character has no byte in the code page.
std::optional<QByteArray> EncodeWindows1250(QStringView text);

// True when the bytes form well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool IsValidUtf8(const QByteArray &bytes);

} // namespace helicordia
