#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// Byte <-> text conversion for every text file the program reads or writes.
//
// Bytes that are invalid in the encoding being read are never replaced: byte b becomes the
// private-use character U+F700 + b, and any such character is written back as the byte b,
// whatever encoding is written. So any file, even a binary one, survives a read and a write.
namespace TextCodec {

enum class Encoding {
    Cp932,     // Shift-JIS as code page 932 has it; the default for new files
    Utf8,      // UTF-8 without a byte-order mark
    Utf8Bom,   // UTF-8 with EF BB BF
    Utf16Le,   // UTF-16 little-endian with FF FE
    Utf16Be,   // UTF-16 big-endian with FE FF
};

constexpr char16_t RawByteBase = 0xF700;

struct Decoded {
    QString text;
    Encoding encoding = Encoding::Cp932;
};

// UTF-8 when the bytes start with its BOM or are entirely valid UTF-8 with at least one
// multi-byte sequence; UTF-16 when they start with a UTF-16 BOM; CP932 otherwise.
Encoding detect(const QByteArray &bytes);

// Length of the longest prefix made of whole well-formed UTF-8 sequences; *multiByte tells
// whether one of them is longer than a byte. Lets a large file be checked piece by piece.
qsizetype utf8ValidPrefix(QByteArrayView bytes, bool *multiByte);

// Decodes in the detected encoding (the BOM is not part of the text).
Decoded decode(const QByteArray &bytes);
QString decodeAs(const QByteArray &bytes, Encoding encoding);

// CP932 bytes of text, or nothing when a character has no CP932 form.
// Raw-byte characters become their byte.
std::optional<QByteArray> encodeCp932(const QString &text);

// Bytes of text in the given encoding, BOM included. For Cp932 a text it cannot hold gives no
// bytes at all: writers go through encodePreferring, which falls back to UTF-8 instead.
QByteArray encode(const QString &text, Encoding encoding);

// The bytes a text file gets: CP932 when asked for it and every character fits, otherwise
// UTF-8 with a BOM; the Unicode encodings are kept as asked. Sets *used to the encoding chosen.
QByteArray encodePreferring(const QString &text, Encoding preferred, Encoding *used = nullptr);

} // namespace TextCodec
