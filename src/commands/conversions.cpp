#include "commands/conversions.h"

#include <QChar>
#include <QHash>

namespace Conversions {

namespace {

constexpr char16_t CombiningVoiced = 0x3099;
constexpr char16_t CombiningSemiVoiced = 0x309A;
constexpr char16_t SpacingVoiced = 0x309B;
constexpr char16_t SpacingSemiVoiced = 0x309C;
constexpr char16_t NarrowVoiced = 0xFF9E;
constexpr char16_t NarrowSemiVoiced = 0xFF9F;

// Width pairs and voiced-katakana compositions taken from Qt's Unicode data, built once.
struct Tables {
    QHash<char16_t, char16_t> wide;      // narrow form -> full-width form
    QHash<char16_t, char16_t> narrow;    // full-width form -> narrow form
    QHash<quint32, char16_t> composed;   // (base << 16 | mark) -> voiced katakana
    QHash<char16_t, quint32> decomposed; // voiced katakana -> (base << 16 | mark)

    Tables()
    {
        // Every <wide> and <narrow> compatibility decomposition lies in the BMP.
        for (char32_t c = 0; c < 0x10000; ++c) {
            const QChar::Decomposition tag = QChar::decompositionTag(c);
            if (tag != QChar::Wide && tag != QChar::Narrow)
                continue;
            const QString d = QChar::decomposition(c);
            if (d.size() != 1)
                continue;
            const char16_t self = char16_t(c);
            const char16_t other = d[0].unicode();
            if (tag == QChar::Wide) { // self is the full-width form of other
                wide.insert(other, self);
                narrow.insert(self, other);
            } else {                  // self is the half-width form of other
                wide.insert(self, other);
                narrow.insert(other, self);
            }
        }
        // A half-width mark on its own becomes the spacing mark, not the combining one, and
        // both spacing and combining marks narrow to the half-width mark.
        wide.insert(NarrowVoiced, SpacingVoiced);
        wide.insert(NarrowSemiVoiced, SpacingSemiVoiced);
        narrow.insert(SpacingVoiced, NarrowVoiced);
        narrow.insert(SpacingSemiVoiced, NarrowSemiVoiced);

        for (char32_t c = 0x30A0; c <= 0x30FF; ++c) {
            if (QChar::decompositionTag(c) != QChar::Canonical)
                continue;
            const QString d = QChar::decomposition(c);
            if (d.size() != 2 || (d[1] != QChar(CombiningVoiced) && d[1] != QChar(CombiningSemiVoiced)))
                continue;
            const quint32 key = quint32(d[0].unicode()) << 16 | d[1].unicode();
            composed.insert(key, char16_t(c));
            decomposed.insert(char16_t(c), key);
        }
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

bool isHalfwidthKatakana(char16_t c)
{
    return c >= 0xFF66 && c <= 0xFF9D;
}

template <typename Map>
QString mapEachUnit(QStringView text, Map map)
{
    QString out(text.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (QChar c : text)
        *dst++ = QChar(map(c.unicode()));
    return out;
}

template <typename Map>
QString mapEachCodePoint(QStringView text, Map map)
{
    QString out(text.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
            const char32_t mapped = map(QChar::surrogateToUcs4(c, text[i + 1]));
            // Simple case mappings never leave their plane.
            *dst++ = QChar(QChar::highSurrogate(mapped));
            *dst++ = QChar(QChar::lowSurrogate(mapped));
            ++i;
        } else {
            *dst++ = QChar(char16_t(map(c.unicode())));
        }
    }
    return out;
}

char32_t upper(char32_t c) { return QChar::toUpper(c); }
char32_t lower(char32_t c) { return QChar::toLower(c); }

// Upper-cases the character (or surrogate pair) that starts at i.
void upperAt(QString &w, qsizetype i)
{
    if (w[i].isHighSurrogate() && i + 1 < w.size() && w[i + 1].isLowSurrogate()) {
        const char32_t u = QChar::toUpper(QChar::surrogateToUcs4(w[i], w[i + 1]));
        w[i] = QChar(QChar::highSurrogate(u));
        w[i + 1] = QChar(QChar::lowSurrogate(u));
    } else {
        w[i] = w[i].toUpper();
    }
}

} // namespace

QString toWide(QStringView text)
{
    const Tables &t = tables();
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        const char16_t w = t.wide.value(c, c);
        if (isHalfwidthKatakana(c) && i + 1 < n) {
            const char16_t next = text[i + 1].unicode();
            if (next == NarrowVoiced || next == NarrowSemiVoiced) {
                const char16_t mark = next == NarrowVoiced ? CombiningVoiced : CombiningSemiVoiced;
                const auto it = t.composed.constFind(quint32(w) << 16 | mark);
                if (it != t.composed.cend()) {
                    out += QChar(*it);
                    ++i;
                    continue;
                }
            }
        }
        out += QChar(w);
    }
    return out;
}

QString toNarrow(QStringView text)
{
    const Tables &t = tables();
    QString out;
    out.reserve(text.size());
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (const auto it = t.narrow.constFind(c); it != t.narrow.cend()) {
            out += QChar(*it);
            continue;
        }
        if (const auto it = t.decomposed.constFind(c); it != t.decomposed.cend()) {
            const char16_t base = char16_t(*it >> 16);
            const char16_t mark = char16_t(*it & 0xFFFF);
            const auto narrowBase = t.narrow.constFind(base);
            if (narrowBase != t.narrow.cend()) {
                out += QChar(*narrowBase);
                out += QChar(mark == CombiningVoiced ? NarrowVoiced : NarrowSemiVoiced);
                continue;
            }
        }
        out += qc;
    }
    return out;
}

QString toKatakana(QStringView text)
{
    return mapEachUnit(text, [](char16_t c) -> char16_t {
        if ((c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E)
            return c + 0x60;
        return c;
    });
}

QString toHiragana(QStringView text)
{
    return mapEachUnit(text, [](char16_t c) -> char16_t {
        if ((c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE)
            return c - 0x60;
        return c;
    });
}

QString toUpper(QStringView text)
{
    return mapEachCodePoint(text, upper);
}

QString toLower(QStringView text)
{
    return mapEachCodePoint(text, lower);
}

QString capitalise(QStringView text)
{
    QString w = toLower(text);
    const qsizetype n = w.size();
    if (n == 0)
        return w;
    upperAt(w, 0);
    for (qsizetype i = 0; i + 1 < n; ++i) {
        if (w[i] == u'\r' && w[i + 1] == u'\n' && i + 2 < n)
            upperAt(w, i + 2);
        if (w[i] == u' ')
            upperAt(w, i + 1);
    }
    return w;
}

QString convert(Conversion conversion, QStringView text)
{
    switch (conversion) {
    case Conversion::Wide: return toWide(text);
    case Conversion::Narrow: return toNarrow(text);
    case Conversion::Katakana: return toKatakana(text);
    case Conversion::Hiragana: return toHiragana(text);
    case Conversion::Upper: return toUpper(text);
    case Conversion::Lower: return toLower(text);
    case Conversion::Capitalise: return capitalise(text);
    }
    return text.toString();
}

}
