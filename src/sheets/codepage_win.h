#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Whole-buffer conversions through a Windows code page for the legacy Japanese encodings, the
// counterpart of iconvcodec.h. Neither direction substitutes: a byte that starts no character
// is kept as invalidBase + byte, and a character the code page cannot hold fails the encode.
namespace CodePageCodec {

// charLength: how many bytes the character that starts with a byte takes in this encoding.
QString decode(unsigned codePage, const QByteArray &bytes, char16_t invalidBase, qsizetype (*charLength)(uchar));

// bytesPerUnit: the most bytes the code page writes for one UTF-16 unit. flags: those
// WideCharToMultiByte takes for this code page (some code pages take none).
std::optional<QByteArray> encode(unsigned codePage, QStringView text, int bytesPerUnit, unsigned long flags);

} // namespace CodePageCodec
