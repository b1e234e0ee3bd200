#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

class Cp932Variants;

// Byte <-> text conversion for every text file the program reads or writes.
//
// Bytes that are invalid in the encoding being read are never replaced: byte b becomes the
// private-use character U+F700 + b, and any such character is written back as the byte b,
// whatever encoding is written. So any file, even a binary one, survives a read and a write.
// The characters the text box uses for its own breaks (U+2028, U+2029, U+FDD0, U+FDD1) are kept
// as their bytes in the same way, or they would come back as line breaks.
namespace TextCodec {

enum class Encoding {
    Cp932,        // Shift-JIS as code page 932 has it; the default for new files
    Utf8,         // UTF-8 without a byte-order mark
    Utf8Bom,      // UTF-8 with EF BB BF
    Utf16Le,      // UTF-16 little-endian with FF FE
    Utf16Be,      // UTF-16 big-endian with FE FF
    Utf16LeNoBom, // UTF-16 little-endian without a mark, told by its NUL bytes (fitsBomlessUtf16)
    Utf16BeNoBom, // UTF-16 big-endian without a mark
};

// How a file ends its lines: CR LF, LF alone (the Linux convention) or CR alone (old Mac
// files). A file with no line end at all counts as CR LF.
enum class LineEnds { CrLf, Lf, Cr };

constexpr char16_t RawByteBase = 0xF700;
// Whether c stands for a byte of a file that no character decoded from.
constexpr bool isRawByteChar(char32_t c) { return c >= RawByteBase && c <= RawByteBase + 0xFF; }

struct Decoded {
    QString text;
    Encoding encoding = Encoding::Cp932;
};

// In this order: UTF-8 or UTF-16 when the bytes start with that BOM; BOM-less UTF-16 when all
// of them fit it (see fitsBomlessUtf16); UTF-8 when they are entirely valid UTF-8 with at least
// one multi-byte sequence; CP932 otherwise.
Encoding detect(QByteArrayView bytes);

// Whether a piece that starts at byte `offset` of a file fits BOM-less UTF-16 in the given
// order: the high byte of every code unit is NUL and the low byte is not. A file is BOM-less
// UTF-16 when all of it fits and its length is even and not zero, so it holds only U+0001 to
// U+00FF and every unit is valid. Text with any other character (Japanese above all) shows no
// such pattern and is not recognised without a BOM: it is read as CP932, its bytes kept.
bool fitsBomlessUtf16(QByteArrayView piece, qint64 offset, bool bigEndian);

// Length of the longest prefix made of whole well-formed UTF-8 sequences; *multiByte tells
// whether one of them is longer than a byte. Lets a large file be checked piece by piece.
qsizetype utf8ValidPrefix(QByteArrayView bytes, bool *multiByte);

// Tells the encoding of a file from its bytes fed in order, piece by piece, exactly as detect()
// tells it from all of them at once; lets a large file be checked without holding it whole.
class Detector {
public:
    void feed(QByteArrayView piece);
    // True once more bytes cannot change encoding(): a BOM was seen, or the bytes so far are
    // neither BOM-less UTF-16 nor valid UTF-8.
    bool settled() const;
    // The encoding of all the bytes fed so far.
    Encoding encoding() const;

private:
    QByteArray head_;    // the first three bytes, where a BOM would be
    QByteArray pending_; // the start of a UTF-8 sequence cut by the end of the last piece
    qint64 size_ = 0;
    bool utf8_ = true;
    bool multiByte_ = false;
    bool utf16Le_ = true;
    bool utf16Be_ = true;
};

// Decodes in the detected encoding (the BOM is not part of the text).
Decoded decode(const QByteArray &bytes);
QString decodeAs(const QByteArray &bytes, Encoding encoding);

// Bytes of text in the given encoding, BOM included. For Cp932 a text it cannot hold gives no
// bytes at all: writers go through encodePreferring, which falls back to UTF-8 instead.
// With LineEnds::Lf (Cr) every CR LF pair of the text is written as LF (CR); lone CRs and LFs stay.
QByteArray encode(const QString &text, Encoding encoding, LineEnds ends = LineEnds::CrLf);

// The bytes a text file gets: CP932 when asked for it and every character fits, otherwise
// UTF-8 with a BOM; BOM-less UTF-16 when asked for it and the result would still be recognised
// as such, otherwise UTF-16 with a BOM in the same order; the other Unicode encodings as asked.
// Sets *used to the encoding chosen. Line ends as encode() writes them. CP932 characters with
// two codes get the ones variants remembers (see cp932variants.h), else the converter's.
QByteArray encodePreferring(const QString &text, Encoding preferred, Encoding *used = nullptr,
                            LineEnds ends = LineEnds::CrLf, const Cp932Variants *variants = nullptr);

} // namespace TextCodec
