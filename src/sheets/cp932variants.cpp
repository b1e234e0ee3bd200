#include "sheets/cp932variants.h"

#include "sheets/cp932.h"
#include "sheets/textcodec.h"

#include <QString>

#include <bitset>
#include <memory>

namespace {

bool isLead(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrail(uchar b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

quint16 pairAt(const uchar *p)
{
    return quint16(p[0] << 8 | p[1]);
}

struct Table {
    Cp932Variants::Groups groups;
    std::bitset<0x10000> defined; // the two-byte codes the converter reads as one character
    std::bitset<0x10000> grouped; // the codes of characters that have more than one
};

// Asks the converter once about every two-byte code: each decoded on its own line, and every
// character that came out encoded again. A code whose character encodes to another code is a
// second code of that character.
std::unique_ptr<Table> buildTable()
{
    auto table = std::make_unique<Table>();
    QByteArray probe;
    QList<quint16> codes;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLead(uchar(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isTrail(uchar(trail)))
                continue;
            probe += char(lead);
            probe += char(trail);
            probe += '\n';
            codes.append(quint16(lead << 8 | trail));
        }
    }
    const QString decoded = Cp932::decode(probe, TextCodec::RawByteBase);
    const QList<QStringView> pieces = QStringView(decoded).split(u'\n');
    QString characters;
    QList<quint16> definedCodes;
    for (qsizetype i = 0; i < codes.size() && i < pieces.size(); ++i) {
        const QStringView piece = pieces.at(i);
        if (piece.size() != 1 || TextCodec::isRawByteChar(piece[0].unicode()))
            continue;
        table->defined.set(codes.at(i));
        characters += piece[0];
        characters += u'\n';
        definedCodes.append(codes.at(i));
    }
    const std::optional<QByteArray> encoded = Cp932::encode(characters);
    if (!encoded)
        return table; // no groups: every file is written with the converter's codes
    const QList<QByteArray> preferred = encoded->split('\n');
    QHash<char16_t, QList<quint16>> codesOf;
    for (qsizetype i = 0; i < definedCodes.size() && i < preferred.size(); ++i) {
        const QByteArray &code = preferred.at(i);
        if (code.size() != 2)
            continue;
        const quint16 mine = definedCodes.at(i);
        const quint16 theirs = pairAt(reinterpret_cast<const uchar *>(code.data()));
        if (mine == theirs)
            continue;
        const char16_t c = characters.at(2 * i).unicode();
        table->groups.character.insert(mine, c);
        table->groups.character.insert(theirs, c);
        table->grouped.set(mine);
        table->grouped.set(theirs);
        table->groups.preferred.insert(c, theirs);
    }
    return table;
}

const Table &table()
{
    static const std::unique_ptr<Table> t = buildTable();
    return *t;
}

} // namespace

const Cp932Variants::Groups &Cp932Variants::groups()
{
    return table().groups;
}

Cp932Variants Cp932Variants::scan(QByteArrayView bytes)
{
    Cp932Variants variants;
    const Table &t = table();
    if (t.groups.character.isEmpty())
        return variants;
    // Walks the characters as the decoder does: a lead byte and a trail byte are one character
    // only when the pair is a code; otherwise the lead byte stands alone.
    QHash<char16_t, quint16> first;
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        if (p[i] < 0x80 || !isLead(p[i]) || i + 1 == n || !t.defined.test(pairAt(p + i))) {
            ++i;
            continue;
        }
        const quint16 code = pairAt(p + i);
        i += 2;
        // Most characters have one code: a bit answers for them, not the hash.
        if (!t.grouped.test(code))
            continue;
        const auto group = t.groups.character.constFind(code);
        if (group != t.groups.character.cend() && !first.contains(*group))
            first.insert(*group, code);
    }
    for (auto it = first.cbegin(); it != first.cend(); ++it) {
        if (t.groups.preferred.value(it.key()) != it.value())
            variants.codes_.insert(it.key(), it.value());
    }
    return variants;
}

void Cp932Variants::apply(QByteArray &converted) const
{
    if (codes_.isEmpty())
        return;
    const Table &t = table();
    const Groups &g = t.groups;
    auto *p = reinterpret_cast<uchar *>(converted.data());
    const qsizetype n = converted.size();
    for (qsizetype i = 0; i < n;) {
        if (!isLead(p[i]) || i + 1 == n) {
            ++i;
            continue;
        }
        if (!t.grouped.test(pairAt(p + i))) {
            i += 2;
            continue;
        }
        const auto group = g.character.constFind(pairAt(p + i));
        if (group != g.character.cend()) {
            if (const quint16 code = codes_.value(*group, 0)) {
                p[i] = uchar(code >> 8);
                p[i + 1] = uchar(code);
            }
        }
        i += 2;
    }
}

void Cp932Variants::merge(const Cp932Variants &other)
{
    for (auto it = other.codes_.cbegin(); it != other.codes_.cend(); ++it)
        if (!codes_.contains(it.key()))
            codes_.insert(it.key(), it.value());
}
