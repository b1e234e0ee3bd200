#include "editor/textmodel.h"

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
    // A piece holds at least seven eighths of lineLength characters; breaks only shrink.
    out.reserve(text.size() + text.size() / qMax<qsizetype>(1, lineLength - lineLength / 8) + 1);
    const char16_t *const src = text.utf16();
    const qsizetype n = text.size();
    qsizetype lineStart = 0;
    qsizetype i = 0;
    while (i < n) {
        // The run up to the next CR or LF, no longer than fills the current piece.
        const qsizetype room = lineLength + 1 - (out.size() - lineStart);
        qsizetype j = i;
        const qsizetype runEnd = qMin(n, i + room);
        while (j < runEnd && src[j] != u'\r' && src[j] != u'\n')
            ++j;
        out.append(QStringView(src + i, j - i));
        i = j;
        if (i < runEnd) {
            if (src[i] == u'\r') {
                if (i + 1 < n && src[i + 1] == u'\n')
                    ++i;
                else
                    d.roundTrips = false;
                ++i;
                out.append(ParagraphBreak);
                lineStart = out.size();
                continue;
            }
            out.append(LoneLineFeed);
            ++i;
        }
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

bool fitsDocumentAsIs(QStringView text, qsizetype lineLength, qsizetype *crLfs, bool *loneCr)
{
    // Line by line from LF to LF, each found by the library's vectorised search.
    qsizetype pairs = 0;
    bool cr = false;
    for (qsizetype from = 0;;) {
        const qsizetype lf = text.indexOf(u'\n', from);
        if (lf == 0 || (lf > 0 && text[lf - 1] != u'\r'))
            return false;
        const QStringView line = text.sliced(from, (lf < 0 ? text.size() : lf - 1) - from);
        if (line.size() > lineLength)
            return false;
        cr = cr || line.contains(u'\r');
        if (lf < 0)
            break;
        ++pairs;
        from = lf + 1;
    }
    *crLfs = pairs;
    *loneCr = cr;
    return true;
}

QString fromDocument(QStringView text, const std::vector<qsizetype> &softBreaks)
{
    // Line breaks are the only characters that grow; count them once to allocate once, then
    // copy the runs between separators whole.
    const char16_t *const src = text.utf16();
    const qsizetype n = text.size();
    QString out(n + text.count(ParagraphBreak), Qt::Uninitialized);
    char16_t *o = reinterpret_cast<char16_t *>(out.data());
    auto soft = softBreaks.cbegin();
    qsizetype from = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = src[i];
        if (c != ParagraphBreak.unicode() && c != LoneLineFeed.unicode())
            continue;
        o = std::copy(src + from, src + i, o);
        from = i + 1;
        if (c == LoneLineFeed.unicode()) {
            *o++ = u'\n';
        } else if (soft != softBreaks.cend() && *soft == i) {
            ++soft;
        } else {
            *o++ = u'\r';
            *o++ = u'\n';
        }
    }
    o = std::copy(src + from, src + n, o);
    out.truncate(o - reinterpret_cast<char16_t *>(out.data()));
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
