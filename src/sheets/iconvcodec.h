#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Whole-buffer conversions through POSIX iconv for the legacy Japanese encodings. Neither
// direction substitutes: a byte that starts no character of the encoding is kept as
// invalidBase + byte, and a character the encoding cannot hold fails the whole encode.
namespace IconvCodec {

// extraChar, when given, names characters for single bytes that iconv's table lacks (0 for none).
QString decode(const char *encoding, const QByteArray &bytes, char16_t invalidBase,
               char16_t (*extraChar)(uchar) = nullptr);

// bytesPerUnit: the most bytes the encoding writes for one UTF-16 unit. extraByte, when given,
// names single bytes for characters iconv's table lacks (-1 for none).
std::optional<QByteArray> encode(const char *encoding, QStringView text, int bytesPerUnit,
                                 int (*extraByte)(char16_t) = nullptr);

} // namespace IconvCodec
