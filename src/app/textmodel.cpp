#include "app/textmodel.h"

#include <algorithm>

namespace TextModel {

namespace {

// Where a long line is cut: after the last blank within the final eighth of the piece, so
// that words stay whole where they can, else at the length; never between a surrogate pair.
qsizetype cutPoint(const QString &out, qsizetype lineStart, qsizetype lineLength)
{
    const qsizetype limit = lineStart + lineLength;
    for (qsizetype i = limit; i > limit - lineLength / 8; --i)
        if (out[i - 1] == u' ' || out[i - 1] == u'\u3000' || out[i - 1] == u'\t')
            return i;
    return QChar::isHighSurrogate(out[limit - 1].unicode()) ? limit - 1 : limit;
}

} // namespace

Document toDocument(QStringView text, qsizetype lineLength)
{
    Document d;
    QString &out = d.text;
    out.reserve(text.size() + text.size() / qMax<qsizetype>(1, lineLength));
    qsizetype lineStart = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < n && text[i + 1] == u'\n')
                ++i;
            out += ParagraphBreak;
            lineStart = out.size();
            continue;
        }
        out += c == u'\n' ? LoneLineFeed : c;
        if (out.size() - lineStart > lineLength) {
            // The piece is full and the line goes on: a soft separator before the last part.
            const qsizetype cut = cutPoint(out, lineStart, lineLength);
            out.insert(cut, ParagraphBreak);
            d.softBreaks.push_back(cut);
            lineStart = cut + 1;
        }
    }
    return d;
}

QString fromDocument(QStringView text, const std::vector<qsizetype> &softBreaks)
{
    // Line breaks are the only characters that grow; count them once to allocate once.
    const qsizetype breaks = text.count(ParagraphBreak);
    QString out;
    out.reserve(text.size() + breaks);
    auto soft = softBreaks.cbegin();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == ParagraphBreak) {
            if (soft != softBreaks.cend() && *soft == i) {
                ++soft;
                continue;
            }
            out += QLatin1String("\r\n");
        } else if (c == LoneLineFeed) {
            out += u'\n';
        } else {
            out += c;
        }
    }
    return out;
}

qsizetype SoftBreaks::countBefore(qsizetype position) const
{
    return std::lower_bound(positions_.cbegin(), positions_.cend(), position) - positions_.cbegin();
}

bool SoftBreaks::isSoft(qsizetype position) const
{
    return std::binary_search(positions_.cbegin(), positions_.cend(), position);
}

std::vector<qsizetype> SoftBreaks::between(qsizetype from, qsizetype to) const
{
    std::vector<qsizetype> out;
    for (auto it = std::lower_bound(positions_.cbegin(), positions_.cend(), from);
         it != positions_.cend() && *it < to; ++it)
        out.push_back(*it - from);
    return out;
}

void SoftBreaks::contentsChange(qsizetype position, qsizetype removed, qsizetype added)
{
    if (positions_.empty())
        return;
    // A removed separator is gone for good: its two pieces are one paragraph again.
    const auto first = std::lower_bound(positions_.begin(), positions_.end(), position);
    const auto last = std::lower_bound(first, positions_.end(), position + removed);
    const auto kept = positions_.erase(first, last);
    for (auto it = kept; it != positions_.end(); ++it)
        *it += added - removed;
}

} // namespace TextModel
