#include "sheets/iso2022jp.h"

#include "sheets/eucjp.h"

#include <algorithm>

namespace Iso2022Jp {

namespace {

constexpr char Esc = '\x1B';

// Unknown: after a raw ESC, which may join the bytes after it into an escape sequence; the
// next character names its set again.
enum class Set { Ascii, Kana, Jis0208, Jis0212, Unknown };

// The set an escape sequence at p (the byte after ESC) switches to, and its length after ESC.
std::optional<Set> escapeAt(const uchar *p, qsizetype left, qsizetype *length)
{
    if (left >= 2 && p[0] == '(' && (p[1] == 'B' || p[1] == 'J' || p[1] == 'I')) {
        *length = 2;
        return p[1] == 'I' ? Set::Kana : Set::Ascii;
    }
    if (left >= 2 && p[0] == '$' && (p[1] == 'B' || p[1] == '@')) {
        *length = 2;
        return Set::Jis0208;
    }
    if (left >= 3 && p[0] == '$' && p[1] == '(' && p[2] == 'D') {
        *length = 3;
        return Set::Jis0212;
    }
    return std::nullopt;
}

bool inJisRange(uchar b)
{
    return b >= 0x21 && b <= 0x7E;
}

bool isRaw(QChar c, char16_t invalidBase)
{
    return c.unicode() >= invalidBase && c.unicode() <= invalidBase + 0xFF;
}

// One character from its EUC-JP bytes, or nothing when they do not make exactly one.
std::optional<QChar> decodeOne(const QByteArray &euc, char16_t invalidBase)
{
    const QString c = EucJp::decode(euc, invalidBase);
    if (c.size() != 1 || isRaw(c[0], invalidBase))
        return std::nullopt;
    return c[0];
}

// Decodes a run of pairs of a two-byte set through the EUC-JP table: at once when the run is
// whole, else pair by pair, so that a pair without a character does not shift the others. Such
// a pair is kept as its two bytes.
void decodePairs(const uchar *p, qsizetype n, Set set, char16_t invalidBase, QString &out)
{
    if (set == Set::Jis0208) {
        QByteArray euc(n, Qt::Uninitialized);
        for (qsizetype i = 0; i < n; ++i)
            euc[i] = char(p[i] | 0x80);
        const QString text = EucJp::decode(euc, invalidBase);
        if (text.size() == n / 2 && std::none_of(text.begin(), text.end(), [&](QChar c) { return isRaw(c, invalidBase); })) {
            out += text;
            return;
        }
    }
    for (qsizetype k = 0; k < n; k += 2) {
        QByteArray euc{set == Set::Jis0212 ? "\x8F" : ""};
        euc += char(p[k] | 0x80);
        euc += char(p[k + 1] | 0x80);
        if (const auto c = decodeOne(euc, invalidBase)) {
            out += *c;
        } else {
            out += QChar(char16_t(invalidBase + p[k]));
            out += QChar(char16_t(invalidBase + p[k + 1]));
        }
    }
}

} // namespace

bool hasJapaneseEscape(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    for (qsizetype i = bytes.indexOf(Esc); i >= 0; i = bytes.indexOf(Esc, i + 1)) {
        qsizetype length = 0;
        const auto set = escapeAt(p + i + 1, bytes.size() - i - 1, &length);
        if (set && *set != Set::Ascii)
            return true;
    }
    return false;
}

QString decode(QByteArrayView bytes, char16_t invalidBase)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    QString out;
    out.reserve(n);
    Set set = Set::Ascii;
    qsizetype i = 0;
    while (i < n) {
        const uchar b = p[i];
        if (b == uchar(Esc)) {
            qsizetype length = 0;
            if (const auto next = escapeAt(p + i + 1, n - i - 1, &length)) {
                set = *next;
                i += 1 + length;
            } else {
                out += QChar(char16_t(invalidBase + b)); // a cut or unknown sequence
                ++i;
            }
            continue;
        }
        if (b >= 0x80) {
            out += QChar(char16_t(invalidBase + b));
            ++i;
            continue;
        }
        if (!inJisRange(b) || set == Set::Ascii) {
            out += QChar(char16_t(b)); // controls and spaces read the same in every set
            ++i;
            continue;
        }
        if (set == Set::Kana) {
            out += QChar(char16_t(b <= 0x5F ? 0xFF61 + (b - 0x21) : invalidBase + b));
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end + 1 < n && inJisRange(p[end]) && inJisRange(p[end + 1]))
            end += 2;
        if (end == i) { // a lone byte before a control, an escape or the end
            out += QChar(char16_t(invalidBase + b));
            ++i;
            continue;
        }
        decodePairs(p + i, end - i, set, invalidBase, out);
        i = end;
    }
    return out;
}

std::optional<QByteArray> encode(QStringView text, char16_t invalidBase)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    Set set = Set::Ascii;
    const auto switchTo = [&](Set next) {
        if (next == set)
            return;
        out += next == Set::Ascii ? "\x1B(B" : next == Set::Kana ? "\x1B(I" : next == Set::Jis0208 ? "\x1B$B" : "\x1B$(D";
        set = next;
    };
    // Runs between raw bytes go to the EUC-JP table whole; its bytes tell each character's set.
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool raw = i < text.size() && text[i].unicode() >= invalidBase && text[i].unicode() <= invalidBase + 0xFF;
        if (i < text.size() && !raw)
            continue;
        if (i > start) {
            const auto euc = EucJp::encode(text.sliced(start, i - start));
            if (!euc)
                return std::nullopt;
            const auto *p = reinterpret_cast<const uchar *>(euc->constData());
            const qsizetype n = euc->size();
            for (qsizetype k = 0; k < n;) {
                if (p[k] < 0x80) {
                    switchTo(Set::Ascii);
                    out += char(p[k++]);
                } else if (p[k] == 0x8E && k + 1 < n) {
                    switchTo(Set::Kana);
                    out += char(p[k + 1] & 0x7F);
                    k += 2;
                } else if (p[k] == 0x8F && k + 2 < n) {
                    switchTo(Set::Jis0212);
                    out += char(p[k + 1] & 0x7F);
                    out += char(p[k + 2] & 0x7F);
                    k += 3;
                } else if (k + 1 < n) {
                    switchTo(Set::Jis0208);
                    out += char(p[k] & 0x7F);
                    out += char(p[k + 1] & 0x7F);
                    k += 2;
                } else {
                    return std::nullopt;
                }
            }
        }
        if (raw) {
            // A printable byte kept raw came from a pair without a character or a lone byte in
            // a two-byte set, or from past the kana in the kana set. It is written where it reads
            // raw again: 60-7E in the kana set, whatever its neighbours; others in a two-byte
            // set, where only another raw byte can pair with it.
            const uchar b = uchar(text[i].unicode() - invalidBase);
            if (b >= 0x60 && b <= 0x7E)
                switchTo(Set::Kana);
            else if (inJisRange(b) && set != Set::Jis0208 && set != Set::Jis0212)
                switchTo(Set::Jis0208);
            out += char(b);
            if (b == uchar(Esc))
                set = Set::Unknown;
        }
        start = i + 1;
    }
    switchTo(Set::Ascii);
    return out;
}

} // namespace Iso2022Jp
