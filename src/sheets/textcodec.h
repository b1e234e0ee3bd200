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
    EucJp,        // EUC-JP (older Unix systems, archived documents)
    Iso2022Jp,    // ISO-2022-JP, "JIS" (saved mail and news)
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

// In this order: UTF-8 or UTF-16 when the bytes start with that BOM; BOM-less UTF-16 of U+0001
// to U+00FF when all of them fit it (see fitsBomlessUtf16); UTF-8 when they are entirely valid
// UTF-8 with at least one multi-byte sequence; ISO-2022-JP when they are all 7-bit and switch to
// a Japanese set by an escape sequence; BOM-less Japanese UTF-16 (see Utf16Guess); then CP932
// or EUC-JP, judged on the first LegacyPrefix bytes (see legacyEncoding). ASCII is CP932.
Encoding detect(QByteArrayView bytes);

// Whether a piece that starts at byte `offset` of a file fits BOM-less UTF-16 in the given
// order: the high byte of every code unit is NUL and the low byte is not. A file is BOM-less
// UTF-16 when all of it fits and its length is even and not zero, so it holds only U+0001 to
// U+00FF and every unit is valid.
bool fitsBomlessUtf16(QByteArrayView piece, qint64 offset, bool bigEndian);

// Whether BOM-less bytes read as UTF-16 in one byte order look like Japanese text: every unit
// is a character such text holds (ASCII and Latin-1 printables, tab and line ends, Greek and
// Cyrillic, symbols, CJK punctuation, kana, kanji, full- and half-width forms; surrogates only
// in pairs), at least one is kana or kanji and at least one has a NUL high byte (a line end
// or ASCII). Plain ASCII text has no NUL byte and CP932 or EUC-JP text breaks the first rule
// within a few characters. Fed piece by piece.
class Utf16Guess {
public:
    explicit Utf16Guess(bool bigEndian) : bigEndian_(bigEndian) {}
    void feed(QByteArrayView piece);
    bool possible() const { return plausible_; }
    // Whether all the bytes fed so far are such text, when they are an even number.
    bool fits() const { return plausible_ && japanese_ && nulHigh_ && !highSurrogate_; }

private:
    void unit(char16_t u);
    bool bigEndian_;
    bool plausible_ = true;
    bool japanese_ = false;
    bool nulHigh_ = false;
    bool highSurrogate_ = false; // the last unit began a surrogate pair
    int carry_ = -1;             // the first byte of a unit that the piece cut
};

// How many bytes of a file choose between CP932 and EUC-JP: enough text to tell, little beside
// a large file.
constexpr qsizetype LegacyPrefix = qsizetype(256) * 1024;

// CP932 or EUC-JP for bytes that are neither Unicode nor ISO-2022-JP. Each reading is scored on
// the bytes (cut after their last LF when cut, so that no character is split): bytes that
// decode to nothing count heavily against it, kana and kanji for it, half-width punctuation
// and half-width kana beside full-width characters against it (how the CP932 reading of
// EUC-JP looks).
// EUC-JP only when its score is clearly higher: a text valid in both stays CP932 otherwise,
// and so does ASCII.
Encoding legacyEncoding(QByteArrayView prefix, bool cut);

// Length of the longest prefix made of whole well-formed UTF-8 sequences; *multiByte tells
// whether one of them is longer than a byte. Lets a large file be checked piece by piece.
qsizetype utf8ValidPrefix(QByteArrayView bytes, bool *multiByte);

// Tells the encoding of a file from its bytes fed in order, piece by piece, exactly as detect()
// tells it from all of them at once; lets a large file be checked without holding it whole.
class Detector {
public:
    void feed(QByteArrayView piece);
    // True once more bytes cannot change encoding(): a BOM was seen, or the bytes so far are
    // neither BOM-less UTF-16 nor valid UTF-8 and the CP932/EUC-JP prefix is complete.
    bool settled() const;
    // The encoding of all the bytes fed so far.
    Encoding encoding() const;

private:
    QByteArray head_;    // the first three bytes, where a BOM would be
    QByteArray pending_; // the start of a UTF-8 sequence cut by the end of the last piece
    QByteArray escapeTail_; // the last bytes of the last piece, where an escape may begin
    QByteArray prefix_;  // the first LegacyPrefix bytes
    Utf16Guess japaneseLe_{false};
    Utf16Guess japaneseBe_{true};
    qint64 size_ = 0;
    bool japaneseEscape_ = false;
    bool utf8_ = true;
    bool multiByte_ = false;
    bool utf16Le_ = true;
    bool utf16Be_ = true;
};

// Decodes in the detected encoding (the BOM is not part of the text).
Decoded decode(const QByteArray &bytes);
// Decodes in the given encoding, whatever the bytes look like (a UTF BOM of that encoding is
// skipped); bytes it cannot decode are kept as raw-byte characters.
QString decodeAs(const QByteArray &bytes, Encoding encoding);

// Bytes of text in the given encoding, BOM included. For Cp932, EucJp and Iso2022Jp a text it
// cannot hold gives no bytes at all: writers go through encodePreferring, which falls back to
// UTF-8 instead. Iso2022Jp switches with ESC $ B and ESC ( B and ends in ASCII.
// With LineEnds::Lf (Cr) every CR LF pair of the text is written as LF (CR); lone CRs and LFs stay.
QByteArray encode(const QString &text, Encoding encoding, LineEnds ends = LineEnds::CrLf);

// The bytes a text file gets: CP932, EUC-JP or ISO-2022-JP when asked for it and every
// character fits, otherwise UTF-8 with a BOM; BOM-less UTF-16 when asked for it and the result would still be recognised
// as such, otherwise UTF-16 with a BOM in the same order; the other Unicode encodings as asked.
// Sets *used to the encoding chosen. Line ends as encode() writes them. CP932 characters with
// two codes get the ones variants remembers (see cp932variants.h), else the converter's.
QByteArray encodePreferring(const QString &text, Encoding preferred, Encoding *used = nullptr,
                            LineEnds ends = LineEnds::CrLf, const Cp932Variants *variants = nullptr);

// The status bar's short name of a file's form: "SJIS", "UTF-8", "UTF-8 BOM", "EUC-JP", "JIS",
// "UTF-16LE" or "UTF-16BE" (with or without a BOM), then " CRLF", " LF" or " CR".
QString statusLabel(Encoding encoding, LineEnds ends);

} // namespace TextCodec
