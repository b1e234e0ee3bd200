#include "find/search.h"

#include <algorithm>
#include <cstring>

namespace Search {

namespace {

// The first occurrence of what in text from from on. Case-sensitive (or caseless), it looks for the first
// character with the vectorised single-character search and compares only there, which runs
// several times faster than the general search on Japanese text, where that character is rare.
qsizetype indexOf(QStringView text, QStringView what, qsizetype from, Qt::CaseSensitivity cs)
{
    // Kana, kanji, digits and ASCII signs have no case and nothing folds to them: ignoring case
    // changes nothing for a string of those alone.
    const auto caseless = [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x41 || (u >= 0x3000 && u <= 0x9FFF) || (u >= 0xFF61 && u <= 0xFF9F);
    };
    if (cs == Qt::CaseInsensitive && std::all_of(what.begin(), what.end(), caseless))
        cs = Qt::CaseSensitive;
    if (cs == Qt::CaseInsensitive || what.size() < 2)
        return text.indexOf(what, from, cs);
    const QChar head = what.front();
    const QStringView tail = what.sliced(1);
    const qsizetype last = text.size() - what.size();
    for (qsizetype i = text.indexOf(head, from); i >= 0 && i <= last; i = text.indexOf(head, i + 1))
        if (text.sliced(i + 1, tail.size()) == tail)
            return i;
    return -1;
}

// How many leading characters a and b share: whole blocks compared with memcmp first, which
// runs at memory speed on texts of many megabytes.
qsizetype commonPrefix(const char16_t *a, const char16_t *b, qsizetype n)
{
    constexpr qsizetype Block = 2048;
    qsizetype i = 0;
    while (i + Block <= n && std::memcmp(a + i, b + i, Block * sizeof(char16_t)) == 0)
        i += Block;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

// How many trailing characters the n characters ending at aEnd and at bEnd share.
qsizetype commonSuffix(const char16_t *aEnd, const char16_t *bEnd, qsizetype n)
{
    constexpr qsizetype Block = 2048;
    qsizetype i = 0;
    while (i + Block <= n && std::memcmp(aEnd - i - Block, bEnd - i - Block, Block * sizeof(char16_t)) == 0)
        i += Block;
    while (i < n && aEnd[-1 - i] == bEnd[-1 - i])
        ++i;
    return i;
}

// True when position k (0-based, between two characters) lies inside a CR LF pair.
bool insideLineBreak(QStringView text, qsizetype k)
{
    return k > 0 && k < text.size() && text[k - 1] == u'\r' && text[k] == u'\n';
}

} // namespace

qsizetype find(QStringView text, QStringView what, qsizetype start, Qt::CaseSensitivity cs)
{
    start = qMax<qsizetype>(start, 1);
    if (start > text.size())
        return 0;
    if (what.isEmpty())
        return start;
    // Search a view that begins at the start, so that nothing before it can sway the match.
    const QStringView rest = text.sliced(start - 1);
    qsizetype from = 0;
    for (;;) {
        const qsizetype i = indexOf(rest, what, from, cs);
        if (i < 0)
            return 0;
        const qsizetype at = start - 1 + i;
        if (!insideLineBreak(text, at) && !insideLineBreak(text, at + what.size()))
            return at + 1;
        from = i + 1;
    }
}

QString modelForm(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))
            out += u'\n';
    }
    return out;
}

ReplaceAllResult replaceAll(QStringView text, qsizetype selStart, qsizetype selLength, qsizetype foundPos,
                            QStringView what, QStringView with, Qt::CaseSensitivity cs)
{
    const QString rep = modelForm(with);
    selStart = qBound<qsizetype>(0, selStart, text.size());
    selLength = qBound<qsizetype>(0, selLength, text.size() - selStart);

    // The selection's own replacement comes first, as an edit of the text that the searches see.
    QString first;
    first.reserve(text.size() - selLength + rep.size());
    first.append(text.first(selStart)).append(rep).append(text.sliced(selStart + selLength));

    ReplaceAllResult result;
    result.caret = selStart + rep.size();
    if (what.isEmpty()) {
        result.text = std::move(first);
        return result;
    }

    // After a replacement the next search starts right after it; what follows it there is
    // exactly the text after the match here, so every search can run on `first` unchanged.
    QString &out = result.text;
    out.reserve(first.size());
    qsizetype copied = 0;
    for (qsizetype pos = find(first, what, foundPos + 1, cs); pos > 0;
         pos = find(first, what, copied + 1, cs)) {
        out.append(QStringView(first).sliced(copied, pos - 1 - copied)).append(rep);
        copied = pos - 1 + what.size();
        result.caret = out.size();
        ++result.count;
    }
    if (result.count == 0) {
        out = std::move(first);
        return result;
    }
    out.append(QStringView(first).sliced(copied));
    return result;
}

ReplaceAllEdits replaceAllEdits(QStringView text, qsizetype selStart, qsizetype selLength, qsizetype foundPos,
                                QStringView what, QStringView with, Qt::CaseSensitivity cs)
{
    const QString rep = modelForm(with);
    const qsizetype r = rep.size();
    const qsizetype w = what.size();
    selStart = qBound<qsizetype>(0, selStart, text.size());
    selLength = qBound<qsizetype>(0, selLength, text.size() - selStart);

    ReplaceAllEdits result;
    result.caret = selStart + r;
    if (selLength > 0 || r > 0)
        result.edits.push_back({selStart, selLength});
    if (what.isEmpty())
        return result;

    // The searches see the text after the selection's own replacement, as replaceAll does:
    // `first` below. Each match found there is mapped back to the text as it is now.
    const qsizetype firstSize = text.size() - selLength + r;
    const auto firstAt = [&](qsizetype k) -> QChar {
        return k < selStart ? text[k] : k < selStart + r ? rep[k - selStart] : text[k - r + selLength];
    };
    qsizetype caretShift = 0; // how far the caret moves for each replacement before it
    const auto add = [&](qsizetype inFirst, qsizetype inText) {
        result.edits.push_back({inText, w});
        caretShift += r - w;
        result.caret = inFirst + w + caretShift;
        ++result.count;
    };
    const qsizetype q = qMax<qsizetype>(foundPos, 0); // where the search starts in first, 0-based
    if (q < selStart) {
        // The search starts before the selection: search a copy of first itself.
        QString first;
        first.reserve(firstSize);
        first.append(text.first(selStart)).append(rep).append(text.sliced(selStart + selLength));
        for (qsizetype pos = find(first, what, q + 1, cs); pos > 0; pos = find(first, what, pos - 1 + w + 1, cs)) {
            const qsizetype at = pos - 1;
            if (at + w <= selStart) {
                add(at, at);
            } else if (at >= selStart + r) {
                add(at, at - r + selLength);
            } else {
                // The match runs into the selection's replacement: no edit of the text as it is
                // now matches it. The caller falls back to the changed stretch.
                result.overlapping = true;
                return result;
            }
        }
    } else {
        // Only the seam around the replacement differs from the text: search it alone, then
        // the text itself from where first and the text agree again.
        qsizetype next = q - r + selLength + 1; // 1-based start in the text
        if (q <= selStart + r) {
            const qsizetype from = qMax<qsizetype>(q - 1, 0);
            const qsizetype to = qMin(firstSize, selStart + r + w + 1);
            QString seam;
            seam.reserve(to - from);
            for (qsizetype k = from; k < to; ++k)
                seam += firstAt(k);
            const qsizetype pos = find(seam, what, q - from + 1, cs);
            const qsizetype at = pos > 0 ? from + pos - 1 : -1;
            if (at >= 0 && at < selStart + r) {
                result.overlapping = true;
                return result;
            }
            if (at == selStart + r) {
                add(at, selStart + selLength);
                next = selStart + selLength + w + 1;
            } else {
                next = selStart + selLength + 2; // matches after the seam's first position
            }
        }
        for (qsizetype pos = find(text, what, next, cs); pos > 0; pos = find(text, what, pos - 1 + w + 1, cs))
            add(pos - 1 - selLength + r, pos - 1);
    }
    std::sort(result.edits.begin(), result.edits.end(),
              [](const Edit &a, const Edit &b) { return a.start < b.start; });
    return result;
}

Change changedRange(QStringView before, QStringView after)
{
    const qsizetype shorter = qMin(before.size(), after.size());
    qsizetype prefix = commonPrefix(before.utf16(), after.utf16(), shorter);
    qsizetype suffix = commonSuffix(before.utf16() + before.size(), after.utf16() + after.size(),
                                    shorter - prefix);
    // Keep both ends off the middle of a surrogate pair and of a CR LF pair in either text.
    if (prefix > 0 && QChar::isHighSurrogate(before[prefix - 1].unicode()))
        --prefix;
    if (suffix > 0 && QChar::isLowSurrogate(before[before.size() - suffix].unicode()))
        --suffix;
    if (insideLineBreak(before, prefix) || insideLineBreak(after, prefix))
        --prefix;
    if (insideLineBreak(before, before.size() - suffix) || insideLineBreak(after, after.size() - suffix))
        --suffix;
    return {prefix, before.size() - prefix - suffix, after.size() - prefix - suffix};
}

} // namespace Search
