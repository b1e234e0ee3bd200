#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Code page 932 exactly as the platform has it (per-OS implementation files).
// Both directions work on whole buffers; they report failure instead of substituting.
namespace Cp932 {

// Decodes bytes; a byte that does not start a valid CP932 character becomes the character
// invalidBase + byte and decoding goes on at the next byte. The single bytes 0x80, 0xA0,
// 0xFD, 0xFE and 0xFF are characters of the code page: U+0080, U+F8F0, U+F8F1, U+F8F2, U+F8F3.
QString decode(const QByteArray &bytes, char16_t invalidBase);

// Encodes text (raw-byte characters are the caller's business); nothing when a character has
// no CP932 form. U+0080 and U+F8F0..U+F8F3 encode as the five single bytes above.
std::optional<QByteArray> encode(QStringView text);

} // namespace Cp932
