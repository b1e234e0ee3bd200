#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// ISO-2022-JP ("JIS"), as saved mail and news have it: 7-bit bytes, switched between ASCII and
// JIS X 0208 by escape sequences. Built on the EUC-JP table: a JIS pair is an EUC-JP pair with
// the high bits cleared. Also read: JIS X 0212 (ESC $ ( D), half-width katakana (ESC ( I), the
// 1978 set (ESC $ @) and JIS-Roman (ESC ( J, read as ASCII).
namespace Iso2022Jp {

// Whether bytes hold an escape sequence that switches to a Japanese set.
bool hasJapaneseEscape(QByteArrayView bytes);

// Decodes bytes; a byte that is no part of a character or a known escape sequence becomes
// invalidBase + byte.
QString decode(QByteArrayView bytes, char16_t invalidBase);

// Encodes text with ESC $ B before JIS X 0208 and ESC ( B back to ASCII, ending in ASCII; a
// character in invalidBase..invalidBase+0xFF is written as its byte, a printable one in the set
// where it reads raw again. Nothing when a character has no form.
std::optional<QByteArray> encode(QStringView text, char16_t invalidBase);

} // namespace Iso2022Jp
