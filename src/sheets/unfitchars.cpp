#include "sheets/unfitchars.h"

#include <algorithm>

using TextCodec::Encoding;

bool UnfitChars::tracks(Encoding encoding)
{
    return encoding == Encoding::Cp932 || encoding == Encoding::EucJp || encoding == Encoding::Iso2022Jp;
}

bool UnfitChars::holds(QStringView text) const
{
    return text.isEmpty() || !TextCodec::encode(QString::fromRawData(text.data(), text.size()), encoding_).isEmpty();
}

void UnfitChars::scan(QStringView text, bool fits)
{
    const bool seenTooMany = tooMany_;
    positions_.clear();
    tooMany_ = false;
    known_ = fits || holds(text);
    if (known_)
        return;
    // Once too many, looking for each of them again at every pause would cost more than the
    // one whole check: wait until the text fits again.
    known_ = !seenTooMany && find(text, 0, true);
    tooMany_ = !known_;
    if (!known_)
        positions_.clear();
}

void UnfitChars::edit(qsizetype position, qsizetype removed, QStringView inserted)
{
    tooMany_ = false;
    if (!known_)
        return;
    const auto from = std::lower_bound(positions_.begin(), positions_.end(), position);
    const auto to = std::lower_bound(from, positions_.end(), position + removed);
    const qsizetype shift = inserted.size() - removed;
    std::vector<qsizetype> old;
    std::swap(old, positions_);
    // Those before the edit, those of the inserted text, those after it: still ascending.
    positions_.assign(old.cbegin(), std::vector<qsizetype>::const_iterator(from));
    known_ = find(inserted, position) && qsizetype(positions_.size()) + (old.end() - to) <= MaxKept;
    if (!known_) {
        positions_.clear();
        return;
    }
    for (auto p = to; p != old.end(); ++p)
        positions_.push_back(*p + shift);
}

std::optional<bool> UnfitChars::fits() const
{
    if (known_)
        return positions_.empty();
    if (tooMany_)
        return false;
    return std::nullopt;
}

bool UnfitChars::find(QStringView text, qsizetype offset, bool checked)
{
    if (!checked && holds(text))
        return true;
    // Halves until the unit that does not fit: a text with few such units costs a few whole
    // encodings, not one per character.
    if (text.size() == 1) {
        positions_.push_back(offset);
        return qsizetype(positions_.size()) <= MaxKept;
    }
    const qsizetype half = text.size() / 2;
    return find(text.first(half), offset) && find(text.sliced(half), offset + half);
}
