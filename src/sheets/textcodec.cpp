#include "sheets/textcodec.h"

#include "sheets/cp932.h"
#include "sheets/cp932variants.h"
#include "sheets/eucjp.h"
#include "sheets/iso2022jp.h"

#include <algorithm>
#include <cstring>

namespace TextCodec {

namespace {

// Characters a decoded file keeps as their bytes: the raw-byte range itself (written back as a
// character it would turn into one byte) and the characters the text box uses for its own
// line and frame breaks, which would come back as line breaks.
bool keptAsBytes(char32_t c)
{
    return isRawByteChar(c) || c == 0x2028 || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1;
}

bool startsWith(QByteArrayView bytes, const char *prefix)
{
    return bytes.startsWith(QByteArrayView(prefix));
}

const char *const Utf8BomBytes = "\xEF\xBB\xBF";
const char *const Utf16LeBom = "\xFF\xFE";
const char *const Utf16BeBom = "\xFE\xFF";

std::optional<Encoding> encodingByBom(QByteArrayView bytes)
{
    if (startsWith(bytes, Utf8BomBytes))
        return Encoding::Utf8Bom;
    if (startsWith(bytes, Utf16LeBom))
        return Encoding::Utf16Le;
    if (startsWith(bytes, Utf16BeBom))
        return Encoding::Utf16Be;
    return std::nullopt;
}

std::optional<Encoding> bomlessUtf16(QByteArrayView bytes)
{
    if (bytes.isEmpty() || bytes.size() % 2 != 0)
        return std::nullopt;
    if (fitsBomlessUtf16(bytes, 0, false))
        return Encoding::Utf16LeNoBom;
    if (fitsBomlessUtf16(bytes, 0, true))
        return Encoding::Utf16BeNoBom;
    return std::nullopt;
}

QByteArray encodeUtf16(QStringView text, bool bigEndian, bool bom, LineEnds ends);

// What a BOM-less UTF-16 text must hold to be recognised again when it is read back: nothing
// but U+0001 to U+00FF, or only characters of Japanese text (whether it holds kana or kanji is
// the whole file's business, see readsBackOtherwise in textfile.cpp).
bool fitsBomlessText(QStringView text, bool bigEndian)
{
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() - 1u < 0xFFu; }))
        return true;
    Utf16Guess guess(bigEndian);
    guess.feed(encodeUtf16(text, bigEndian, false, LineEnds::CrLf));
    return guess.possible();
}

// Writes, from bytes[from] on, each CR LF pair as the one byte of ends (LF or CR). Only for
// bytes in which 0D and 0A can come from nothing but the characters CR and LF.
void shortenCrLf(QByteArray &bytes, qsizetype from, LineEnds ends)
{
    char *const d = bytes.data();
    const qsizetype n = bytes.size();
    const char kept = ends == LineEnds::Cr ? '\r' : '\n';
    qsizetype w = from;
    for (qsizetype i = from;;) {
        const auto *hit = static_cast<const char *>(std::memchr(d + i, '\r', size_t(n - i)));
        const qsizetype cr = hit ? hit - d : n;
        std::memmove(d + w, d + i, size_t(cr - i));
        w += cr - i;
        if (!hit)
            break;
        const bool pair = cr + 1 < n && d[cr + 1] == '\n';
        d[w++] = pair ? kept : '\r';
        i = cr + (pair ? 2 : 1);
    }
    bytes.truncate(w);
}

// Skips ASCII eight bytes at a time; most text is mostly ASCII.
qsizetype skipAscii(const uchar *p, qsizetype i, qsizetype n)
{
    while (i + 8 <= n) {
        quint64 word;
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080ull)
            break;
        i += 8;
    }
    while (i < n && p[i] < 0x80)
        ++i;
    return i;
}

// Length of the well-formed UTF-8 sequence at p[0] (a non-ASCII byte), or 0. Overlong forms,
// surrogates and values past U+10FFFF are not well-formed.
int utf8Sequence(const uchar *p, qsizetype left, char32_t *code)
{
    const uchar b0 = p[0];
    auto cont = [&](int k) { return (p[k] & 0xC0) == 0x80; };
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (left < 2 || !cont(1))
            return 0;
        *code = (char32_t(b0 & 0x1F) << 6) | (p[1] & 0x3F);
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        const uchar lo = b0 == 0xE0 ? 0xA0 : 0x80;
        const uchar hi = b0 == 0xED ? 0x9F : 0xBF;
        if (left < 3 || p[1] < lo || p[1] > hi || !cont(2))
            return 0;
        *code = (char32_t(b0 & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        const uchar lo = b0 == 0xF0 ? 0x90 : 0x80;
        const uchar hi = b0 == 0xF4 ? 0x8F : 0xBF;
        if (left < 4 || p[1] < lo || p[1] > hi || !cont(2) || !cont(3))
            return 0;
        *code = (char32_t(b0 & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12)
                | (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
        return 4;
    }
    return 0;
}

// Decodes UTF-8; an invalid byte becomes its raw-byte character. With strict, gives up at the
// first invalid byte instead and returns false. A well-formed character kept as bytes becomes
// raw bytes too.
bool decodeUtf8(const uchar *p, qsizetype n, bool strict, QString *text, bool *multiByte)
{
    QString out(n, Qt::Uninitialized); // never more units than bytes
    char16_t *const begin = reinterpret_cast<char16_t *>(out.data());
    char16_t *o = begin;
    bool multi = false;
    qsizetype i = 0;
    while (i < n) {
        const qsizetype ascii = skipAscii(p, i, n);
        for (; i < ascii; ++i)
            *o++ = p[i];
        if (i == n)
            break;
        char32_t code = 0;
        const int len = utf8Sequence(p + i, n - i, &code);
        if (len == 0) {
            if (strict)
                return false;
            *o++ = char16_t(RawByteBase + p[i++]);
            continue;
        }
        multi = true;
        if (keptAsBytes(code)) {
            for (int k = 0; k < len; ++k)
                *o++ = char16_t(RawByteBase + p[i++]);
            continue;
        }
        if (code >= 0x10000) {
            *o++ = QChar::highSurrogate(code);
            *o++ = QChar::lowSurrogate(code);
        } else {
            *o++ = char16_t(code);
        }
        i += len;
    }
    out.truncate(o - begin);
    *text = std::move(out);
    if (multiByte)
        *multiByte = multi;
    return true;
}

// Whether a text that Qt's UTF-8 decoder gave holds a character it may have put for bytes
// that are not UTF-8 (U+FFFD), or one that is kept as bytes. Branch-free in blocks, so that the
// compiler can vectorise it; nearly every file has none.
bool needsByteWiseDecode(QStringView text)
{
    const char16_t *const p = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype at = 0; at < n;) {
        const qsizetype stop = std::min<qsizetype>(n, at + 4096);
        unsigned hits = 0;
        for (; at < stop; ++at) {
            const char16_t c = p[at];
            hits |= unsigned(c == 0xFFFD) | unsigned(char16_t(c - 0x2028) < 2) | unsigned(char16_t(c - 0xFDD0) < 2)
                    | unsigned((c & 0xFF00) == RawByteBase);
        }
        if (hits)
            return true;
    }
    return false;
}

// How many bytes go to Qt's UTF-8 decoder at a time: bytes that are not UTF-8 show in the
// first piece, so that a CP932 file costs no more than before, and a piece is still in the
// cache when its characters are checked.
constexpr qsizetype Utf8PieceBytes = qsizetype(1) << 20;

// Where a piece meant to end at `at` ends so that it cuts no well-formed sequence: at the last
// of the four bytes up to `at` that is not a continuation byte, or at `at` when all four are
// (a sequence has at most three).
qsizetype utf8PieceEnd(const uchar *p, qsizetype n, qsizetype at)
{
    if (at >= n)
        return n;
    for (qsizetype k = at; k > at - 4; --k)
        if ((p[k] & 0xC0) != 0x80)
            return k;
    return at;
}

// decodeUtf8 through Qt's decoder, which is much faster on long texts, a piece at a time. Qt
// rejects exactly the sequences utf8Sequence does (overlong forms, surrogates, values past
// U+10FFFF, cut sequences), each as U+FFFD; a piece where that character appears, or one that
// is kept as bytes, goes byte by byte instead. So does a piece that starts with a BOM, which Qt
// would drop.
bool decodeUtf8Fast(const uchar *p, qsizetype n, bool strict, QString *text, bool *multiByte)
{
    // A file in another encoding nearly always shows it in its first bytes: looked at byte by
    // byte, it is refused before a whole piece is decoded for nothing.
    constexpr qsizetype Prefix = 4096;
    QString prefix;
    if (strict && n > Prefix && !decodeUtf8(p, utf8PieceEnd(p, n, Prefix), true, &prefix, nullptr))
        return false;
    QString out;
    if (n > Utf8PieceBytes)
        out.reserve(n); // never more units than bytes
    bool multi = false;
    for (qsizetype from = 0; from < n;) {
        const qsizetype to = utf8PieceEnd(p, n, from + Utf8PieceBytes);
        const QByteArrayView bytes(p + from, to - from);
        QString piece;
        bool pieceMulti = false;
        if (!bytes.startsWith(QByteArrayView(Utf8BomBytes))) {
            piece = QString::fromUtf8(bytes);
            // Every sequence longer than a byte gives fewer units than it has bytes.
            pieceMulti = piece.size() != bytes.size();
        }
        if ((piece.isNull() || needsByteWiseDecode(piece)) && !decodeUtf8(p + from, to - from, strict, &piece, &pieceMulti))
            return false;
        multi = multi || pieceMulti;
        if (from == 0 && to == n)
            out = std::move(piece);
        else
            out.append(piece);
        from = to;
    }
    *text = std::move(out);
    if (multiByte)
        *multiByte = multi;
    return true;
}

QString decodeUtf16(const uchar *p, qsizetype n, bool bigEndian)
{
    QString out(n, Qt::Uninitialized); // a unit, or two raw bytes, per two bytes
    char16_t *const begin = reinterpret_cast<char16_t *>(out.data());
    char16_t *o = begin;
    qsizetype i = 0;
    for (; i + 1 < n; i += 2) {
        const char16_t unit = bigEndian ? char16_t(p[i] << 8 | p[i + 1]) : char16_t(p[i + 1] << 8 | p[i]);
        if (keptAsBytes(unit)) {
            // Kept as its two bytes, which is what it writes back as.
            *o++ = char16_t(RawByteBase + p[i]);
            *o++ = char16_t(RawByteBase + p[i + 1]);
        } else {
            *o++ = unit; // lone surrogates included: they write back unchanged
        }
    }
    if (i < n)
        *o++ = char16_t(RawByteBase + p[i]);
    out.truncate(o - begin);
    return out;
}

// Whether the character at i is the CR (LF line ends) or the LF (CR line ends) of a CR LF pair
// that the file's line ends write as one character.
bool dropped(const char16_t *s, qsizetype i, qsizetype n, LineEnds ends)
{
    if (ends == LineEnds::Lf)
        return s[i] == u'\r' && i + 1 < n && s[i + 1] == u'\n';
    return ends == LineEnds::Cr && s[i] == u'\n' && i > 0 && s[i - 1] == u'\r';
}

QByteArray encodeUtf8(QStringView text, bool bom, LineEnds ends)
{
    const char16_t *s = text.utf16();
    const qsizetype n = text.size();
    qsizetype size = bom ? 3 : 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (dropped(s, i, n, ends))
            continue;
        if (c < 0x80 || isRawByteChar(c))
            size += 1;
        else if (c < 0x800)
            size += 2;
        else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1]))
            size += 4, ++i;
        else
            size += 3;
    }
    QByteArray bytes(size, Qt::Uninitialized);
    uchar *o = reinterpret_cast<uchar *>(bytes.data());
    if (bom)
        o = reinterpret_cast<uchar *>(std::memcpy(o, Utf8BomBytes, 3)) + 3;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (dropped(s, i, n, ends))
            continue;
        if (c < 0x80) {
            *o++ = uchar(c);
        } else if (isRawByteChar(c)) {
            *o++ = uchar(c - RawByteBase);
        } else if (c < 0x800) {
            *o++ = uchar(0xC0 | c >> 6);
            *o++ = uchar(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            const char32_t code = QChar::surrogateToUcs4(c, s[++i]);
            *o++ = uchar(0xF0 | code >> 18);
            *o++ = uchar(0x80 | ((code >> 12) & 0x3F));
            *o++ = uchar(0x80 | ((code >> 6) & 0x3F));
            *o++ = uchar(0x80 | (code & 0x3F));
        } else {
            // A lone surrogate keeps its value in the three-byte form rather than vanishing.
            *o++ = uchar(0xE0 | c >> 12);
            *o++ = uchar(0x80 | ((c >> 6) & 0x3F));
            *o++ = uchar(0x80 | (c & 0x3F));
        }
    }
    return bytes;
}

// Whether the raw byte at i is the odd one out of its run: UTF-16 code units are two bytes, so
// a run of odd length would shift every unit after it (the line end the writer adds included)
// and the file would read back as other characters. Only the last byte of an odd-length UTF-16
// file is read so; it is written as the start of a whole unit instead.
bool loneRawByte(const char16_t *s, qsizetype i, qsizetype n)
{
    if (i + 1 < n && isRawByteChar(s[i + 1]))
        return false;
    qsizetype run = 1;
    while (run <= i && isRawByteChar(s[i - run]))
        ++run;
    return run % 2 == 1;
}

QByteArray encodeUtf16(QStringView text, bool bigEndian, bool bom, LineEnds ends)
{
    const char16_t *s = text.utf16();
    const qsizetype n = text.size();
    qsizetype size = bom ? 2 : 0;
    for (qsizetype i = 0; i < n; ++i)
        size += dropped(s, i, n, ends) ? 0 : isRawByteChar(s[i]) && !loneRawByte(s, i, n) ? 1 : 2;
    QByteArray bytes(size, Qt::Uninitialized);
    uchar *o = reinterpret_cast<uchar *>(bytes.data());
    if (bom) {
        std::memcpy(o, bigEndian ? Utf16BeBom : Utf16LeBom, 2);
        o += 2;
    }
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (dropped(s, i, n, ends))
            continue;
        if (isRawByteChar(c) && !loneRawByte(s, i, n)) {
            *o++ = uchar(c - RawByteBase);
        } else if (isRawByteChar(c)) {
            *o++ = uchar(c - RawByteBase); // completed with a NUL byte: the file only gains one
            *o++ = 0;
        } else if (bigEndian) {
            *o++ = uchar(c >> 8);
            *o++ = uchar(c);
        } else {
            *o++ = uchar(c);
            *o++ = uchar(c >> 8);
        }
    }
    return bytes;
}

bool isKanaOrKanji(char32_t c)
{
    return (c >= 0x3041 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xFF66 && c <= 0xFF9F);
}

// The characters Japanese text holds, as far as telling BOM-less UTF-16 goes.
bool japaneseTextUnit(char16_t u)
{
    if (u < 0x80)
        return u >= 0x20 ? u != 0x7F : u == u'\t' || u == u'\n' || u == u'\r';
    return (u >= 0xA0 && u <= 0xFF) || (u >= 0x0370 && u <= 0x04FF) // Latin-1, Greek, Cyrillic
        || (u >= 0x2000 && u <= 0x2BFF)   // punctuation, symbols, arrows, box drawing, circled numbers
        || (u >= 0x3000 && u <= 0x33FF)   // CJK punctuation, kana, compatibility squares
        || (u >= 0x4E00 && u <= 0x9FFF)   // kanji
        || (u >= 0xF900 && u <= 0xFAFF)   // compatibility kanji
        || (u >= 0xFF01 && u <= 0xFFEF);  // full- and half-width forms
}

// How plausible a decoded text is as Japanese: kana and kanji for it; against it, bytes that
// decoded to nothing (or to C1 controls, which EUC-JP's table gives single high bytes),
// half-width punctuation and half-width kana right beside a full-width character. (The CP932
// reading of EUC-JP shows each kana's lead byte as ､ or ･ and mixes half-width kana with rare
// kanji character by character; real text switches between them once a word at most.)
qsizetype japaneseScore(QStringView text)
{
    qsizetype score = 0;
    enum class Kind { Other, HalfWidth, FullWidth } last = Kind::Other;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        Kind kind = Kind::Other;
        if (c < 0x80) {
            last = kind;
            continue;
        }
        if (isRawByteChar(c) || c < 0xA0) {
            score -= 4;
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            kind = Kind::HalfWidth;
            score += c >= 0xFF66 ? 1 : -1;
        } else {
            kind = Kind::FullWidth;
            if (c >= 0x3041 && c <= 0x30FF)
                score += 2;
            else if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF5E))
                score += 1;
        }
        if (kind != Kind::Other && last != Kind::Other && kind != last)
            score -= 1;
        last = kind;
    }
    return score;
}

} // namespace

qsizetype utf8ValidPrefix(QByteArrayView bytes, bool *multiByte)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    bool multi = false;
    qsizetype i = skipAscii(p, 0, n);
    while (i < n) {
        char32_t code;
        const int len = utf8Sequence(p + i, n - i, &code);
        if (len == 0)
            break;
        multi = true;
        i = skipAscii(p, i + len, n);
    }
    if (multiByte)
        *multiByte = multi;
    return i;
}

bool fitsBomlessUtf16(QByteArrayView piece, qint64 offset, bool bigEndian)
{
    const auto *p = reinterpret_cast<const uchar *>(piece.data());
    const qsizetype n = piece.size();
    qsizetype i = 0;
    if (n > 0 && ((offset & 1) != 0) != bigEndian) { // the piece starts with a high byte
        if (p[0] != 0)
            return false;
        i = 1;
    }
    for (; i + 1 < n; i += 2) {
        if (p[i] == 0 || p[i + 1] != 0)
            return false;
    }
    return i == n || p[i] != 0;
}

void Utf16Guess::unit(char16_t u)
{
    if (highSurrogate_) {
        highSurrogate_ = false;
        plausible_ = QChar::isLowSurrogate(u);
        return;
    }
    if (QChar::isHighSurrogate(u)) {
        highSurrogate_ = true;
        return;
    }
    plausible_ = japaneseTextUnit(u);
    japanese_ = japanese_ || isKanaOrKanji(u);
    nulHigh_ = nulHigh_ || u < 0x100;
}

void Utf16Guess::feed(QByteArrayView piece)
{
    const auto *p = reinterpret_cast<const uchar *>(piece.data());
    const qsizetype n = piece.size();
    qsizetype i = 0;
    const auto join = [this](uchar first, uchar second) {
        return bigEndian_ ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
    };
    if (carry_ >= 0 && n > 0) {
        unit(join(uchar(carry_), p[0]));
        carry_ = -1;
        i = 1;
    }
    for (; plausible_ && i + 1 < n; i += 2)
        unit(join(p[i], p[i + 1]));
    if (plausible_ && i < n)
        carry_ = p[i];
}

Encoding legacyEncoding(QByteArrayView prefix, bool cut)
{
    if (cut) {
        const qsizetype lf = prefix.lastIndexOf('\n');
        if (lf >= 0)
            prefix = prefix.first(lf + 1);
    }
    const auto *p = reinterpret_cast<const uchar *>(prefix.data());
    if (skipAscii(p, 0, prefix.size()) == prefix.size())
        return Encoding::Cp932;
    const QByteArray bytes = prefix.toByteArray();
    const qsizetype euc = japaneseScore(EucJp::decode(bytes, RawByteBase));
    const qsizetype cp932 = japaneseScore(Cp932::decode(bytes, RawByteBase));
    return euc >= cp932 + 2 ? Encoding::EucJp : Encoding::Cp932;
}

void Detector::feed(QByteArrayView piece)
{
    if (head_.size() < 3)
        head_ += piece.first(std::min<qsizetype>(3 - head_.size(), piece.size()));
    if (prefix_.size() < LegacyPrefix)
        prefix_ += piece.first(std::min<qsizetype>(LegacyPrefix - prefix_.size(), piece.size()));
    utf16Le_ = utf16Le_ && fitsBomlessUtf16(piece, size_, false);
    utf16Be_ = utf16Be_ && fitsBomlessUtf16(piece, size_, true);
    if (japaneseLe_.possible())
        japaneseLe_.feed(piece);
    if (japaneseBe_.possible())
        japaneseBe_.feed(piece);
    size_ += piece.size();
    if (!utf8_)
        return;
    qsizetype from = 0;
    if (!pending_.isEmpty()) {
        // Finishes the sequence the last piece cut, which lacks at most three bytes.
        const QByteArray joined = pending_ + piece.first(std::min<qsizetype>(3, piece.size())).toByteArray();
        bool multi = false;
        const qsizetype valid = utf8ValidPrefix(joined, &multi);
        if (valid == 0) {
            utf8_ = joined.size() <= 3; // else the sequence had its bytes and is malformed
            pending_ = joined;
            return;
        }
        multiByte_ = multiByte_ || multi;
        from = valid - pending_.size();
        pending_.clear();
    }
    const QByteArrayView rest = piece.sliced(from);
    bool multi = false;
    const qsizetype valid = utf8ValidPrefix(rest, &multi);
    multiByte_ = multiByte_ || multi;
    // Only a sequence cut by the end of the piece (at most three bytes) may be left over.
    if (rest.size() - valid > 3)
        utf8_ = false;
    else
        pending_ = rest.sliced(valid).toByteArray();
    // Only 7-bit bytes can be ISO-2022-JP; they are looked at for an escape once they are known
    // to be so, and an escape sequence (four bytes at most) may begin in the last piece.
    if (utf8_ && !multiByte_ && pending_.isEmpty() && !japaneseEscape_) {
        const qsizetype head = std::min<qsizetype>(3, piece.size());
        japaneseEscape_ = Iso2022Jp::hasJapaneseEscape(escapeTail_ + piece.first(head).toByteArray())
                || Iso2022Jp::hasJapaneseEscape(piece);
        escapeTail_ = (escapeTail_ + piece.last(head).toByteArray()).right(3);
    }
}

bool Detector::settled() const
{
    if (encodingByBom(head_))
        return true;
    return head_.size() == 3 && !utf8_ && !utf16Le_ && !utf16Be_ && !japaneseLe_.possible()
            && !japaneseBe_.possible() && size_ > LegacyPrefix;
}

Encoding Detector::encoding() const
{
    if (auto bom = encodingByBom(head_))
        return *bom;
    if (size_ > 0 && size_ % 2 == 0) {
        if (utf16Le_)
            return Encoding::Utf16LeNoBom;
        if (utf16Be_)
            return Encoding::Utf16BeNoBom;
    }
    if (utf8_ && pending_.isEmpty()) {
        if (multiByte_)
            return Encoding::Utf8;
        if (japaneseEscape_)
            return Encoding::Iso2022Jp; // all 7-bit
    }
    if (size_ % 2 == 0) {
        if (japaneseLe_.fits())
            return Encoding::Utf16LeNoBom;
        if (japaneseBe_.fits())
            return Encoding::Utf16BeNoBom;
    }
    return legacyEncoding(prefix_, size_ > prefix_.size());
}

Encoding detect(QByteArrayView bytes)
{
    Detector d;
    d.feed(bytes);
    return d.encoding();
}

Decoded decode(const QByteArray &bytes)
{
    Decoded d;
    if (auto known = encodingByBom(bytes); known || (known = bomlessUtf16(bytes))) {
        d.encoding = *known;
        d.text = decodeAs(bytes, d.encoding);
        return d;
    }
    // One pass for UTF-8 files: decode strictly and stop in the piece of the first invalid byte.
    bool multi = false;
    const bool utf8 = decodeUtf8Fast(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size(), true,
                                     &d.text, &multi);
    if (utf8 && multi) {
        d.encoding = Encoding::Utf8;
        return d;
    }
    d.encoding = detect(bytes);
    // Pure ASCII reads the same as UTF-8 and as CP932 and counts as CP932.
    if (!(utf8 && d.encoding == Encoding::Cp932))
        d.text = decodeAs(bytes, d.encoding);
    return d;
}

QString decodeAs(const QByteArray &bytes, Encoding encoding)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype n = bytes.size();
    QString text;
    switch (encoding) {
    case Encoding::Cp932:
        return Cp932::decode(bytes, RawByteBase);
    case Encoding::Utf8:
    case Encoding::Utf8Bom: {
        const qsizetype skip = encoding == Encoding::Utf8Bom && startsWith(bytes, Utf8BomBytes) ? 3 : 0;
        decodeUtf8Fast(p + skip, n - skip, false, &text, nullptr);
        return text;
    }
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        const bool be = encoding == Encoding::Utf16Be;
        const qsizetype skip = startsWith(bytes, be ? Utf16BeBom : Utf16LeBom) ? 2 : 0;
        return decodeUtf16(p + skip, n - skip, be);
    }
    case Encoding::Utf16LeNoBom:
    case Encoding::Utf16BeNoBom:
        return decodeUtf16(p, n, encoding == Encoding::Utf16BeNoBom);
    case Encoding::EucJp:
        return EucJp::decode(bytes, RawByteBase);
    case Encoding::Iso2022Jp:
        return Iso2022Jp::decode(bytes, RawByteBase);
    }
    return text;
}

namespace {

// CP932 or EUC-JP, through the platform's table.
std::optional<QByteArray> encodeTable(QStringView run, Encoding encoding)
{
    return encoding == Encoding::EucJp ? EucJp::encode(run) : Cp932::encode(run);
}

// CP932, EUC-JP or ISO-2022-JP; nothing when a character does not fit.
std::optional<QByteArray> encodeLegacy(const QString &text, Encoding encoding, LineEnds ends,
                                       const Cp932Variants *variants = nullptr)
{
    if (encoding != Encoding::Cp932)
        variants = nullptr; // the second codes are CP932's
    if (encoding == Encoding::Iso2022Jp) {
        // Every byte of a character is 21-7E, so 0D and 0A are CR and LF.
        auto bytes = Iso2022Jp::encode(text, RawByteBase);
        if (bytes && ends != LineEnds::CrLf)
            shortenCrLf(*bytes, 0, ends);
        return bytes;
    }
    // The tables never produce raw-byte characters, so they split the text into runs that go
    // to the converter whole.
    QByteArray bytes;
    bytes.reserve(text.size());
    const auto *s = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && !isRawByteChar(s[i]))
            continue;
        if (i > start) {
            const QStringView run(s + start, i - start);
            const bool ascii = std::all_of(run.begin(), run.end(),
                                           [](QChar c) { return c.unicode() < 0x80; });
            if (!ascii && start == 0 && i == n) { // the usual case: no raw bytes at all
                auto whole = encodeTable(run, encoding);
                if (whole && variants)
                    variants->apply(*whole);
                if (whole && ends != LineEnds::CrLf)
                    shortenCrLf(*whole, 0, ends);
                return whole;
            }
            // Within a run 0D and 0A are CR and LF; a raw byte between runs is neither.
            const qsizetype at = bytes.size();
            if (ascii) {
                bytes.resize(at + run.size());
                for (qsizetype k = 0; k < run.size(); ++k)
                    bytes[at + k] = char(run[k].unicode());
            } else if (auto part = encodeTable(run, encoding)) {
                if (variants)
                    variants->apply(*part);
                bytes += *part;
            } else {
                return std::nullopt;
            }
            if (ends != LineEnds::CrLf)
                shortenCrLf(bytes, at, ends);
        }
        if (i < n)
            bytes += char(s[i] - RawByteBase);
        start = i + 1;
    }
    return bytes;
}

bool isLegacy(Encoding encoding)
{
    return encoding == Encoding::Cp932 || encoding == Encoding::EucJp || encoding == Encoding::Iso2022Jp;
}

} // namespace

QByteArray encode(const QString &text, Encoding encoding, LineEnds ends)
{
    switch (encoding) {
    case Encoding::Cp932:
    case Encoding::EucJp:
    case Encoding::Iso2022Jp:
        return encodeLegacy(text, encoding, ends).value_or(QByteArray());
    case Encoding::Utf8:
        return encodeUtf8(text, false, ends);
    case Encoding::Utf8Bom:
        return encodeUtf8(text, true, ends);
    case Encoding::Utf16Le:
        return encodeUtf16(text, false, true, ends);
    case Encoding::Utf16Be:
        return encodeUtf16(text, true, true, ends);
    case Encoding::Utf16LeNoBom:
        return encodeUtf16(text, false, false, ends);
    case Encoding::Utf16BeNoBom:
        return encodeUtf16(text, true, false, ends);
    }
    return {};
}

QByteArray encodePreferring(const QString &text, Encoding preferred, Encoding *used, LineEnds ends,
                            const Cp932Variants *variants)
{
    if (isLegacy(preferred)) {
        if (auto bytes = encodeLegacy(text, preferred, ends, variants)) {
            if (used)
                *used = preferred;
            return *bytes;
        }
        preferred = Encoding::Utf8Bom;
    }
    if (preferred == Encoding::Utf16LeNoBom && !fitsBomlessText(text, false))
        preferred = Encoding::Utf16Le;
    if (preferred == Encoding::Utf16BeNoBom && !fitsBomlessText(text, true))
        preferred = Encoding::Utf16Be;
    if (used)
        *used = preferred;
    return encode(text, preferred, ends);
}

QString statusLabel(Encoding encoding, LineEnds ends)
{
    QString label;
    switch (encoding) {
    case Encoding::Cp932: label = QStringLiteral("SJIS"); break;
    case Encoding::Utf8: label = QStringLiteral("UTF-8"); break;
    case Encoding::Utf8Bom: label = QStringLiteral("UTF-8 BOM"); break;
    case Encoding::EucJp: label = QStringLiteral("EUC-JP"); break;
    case Encoding::Iso2022Jp: label = QStringLiteral("JIS"); break;
    case Encoding::Utf16Le:
    case Encoding::Utf16LeNoBom: label = QStringLiteral("UTF-16LE"); break;
    case Encoding::Utf16Be:
    case Encoding::Utf16BeNoBom: label = QStringLiteral("UTF-16BE"); break;
    }
    return label + QLatin1StringView(ends == LineEnds::Lf ? " LF" : ends == LineEnds::Cr ? " CR" : " CRLF");
}

} // namespace TextCodec
