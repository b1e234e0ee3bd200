#include "find/search.h"

namespace Search {

namespace {

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
        const qsizetype i = rest.indexOf(what, from, cs);
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

Change changedRange(QStringView before, QStringView after)
{
    const qsizetype shorter = qMin(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix
           && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    // Keep both ends off the middle of a CR LF pair in either text.
    if (insideLineBreak(before, prefix) || insideLineBreak(after, prefix))
        --prefix;
    if (insideLineBreak(before, before.size() - suffix) || insideLineBreak(after, after.size() - suffix))
        --suffix;
    return {prefix, before.size() - prefix - suffix, after.size() - prefix - suffix};
}

} // namespace Search
