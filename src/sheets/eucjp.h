#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// EUC-JP with the platform's table (per-OS implementation files): JIS X 0208 with the NEC and
// IBM extensions, JIS X 0212 after 8F and half-width katakana after 8E. Both directions work
// on whole buffers; they report failure instead of substituting.
namespace EucJp {

// Decodes bytes; a byte that does not start a valid character becomes invalidBase + byte and
// decoding goes on at the next byte.
QString decode(const QByteArray &bytes, char16_t invalidBase);

// Encodes text (raw-byte characters are the caller's business); nothing when a character has
// no EUC-JP form that decodes back to it.
std::optional<QByteArray> encode(QStringView text);

} // namespace EucJp
