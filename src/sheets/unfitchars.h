#pragma once

#include "sheets/textcodec.h"

#include <QStringView>
#include <optional>
#include <vector>

// Where a text holds characters that a Japanese legacy encoding (CP932, EUC-JP, ISO-2022-JP)
// cannot, kept up to date edit by edit, so that the encoding a write would choose is known
// without reading the whole text at every pause. Whether such an encoding holds a character
// depends on that UTF-16 unit alone (no surrogate ever fits), so an edit only looks at what it
// inserted. A text with more such units than are kept is checked whole at every pause again.
class UnfitChars final {
public:
    static constexpr qsizetype MaxKept = 4096;
    // Whether a write in encoding depends on the characters in a way kept here.
    static bool tracks(TextCodec::Encoding encoding);

    explicit UnfitChars(TextCodec::Encoding encoding) : encoding_(encoding) {}
    TextCodec::Encoding encoding() const { return encoding_; }
    // The whole text, checked afresh; fits: already known to fit, nothing to look for.
    void scan(QStringView text, bool fits = false);
    // [position, position + removed) of the text became inserted.
    void edit(qsizetype position, qsizetype removed, QStringView inserted);
    // Whether the encoding holds the whole text; nothing when only a whole check can tell.
    std::optional<bool> fits() const;
    const std::vector<qsizetype> &positions() const { return positions_; }

private:
    // Adds the positions (from offset) of the units of text that do not fit; false once too many.
    bool find(QStringView text, qsizetype offset, bool checked = false);
    bool holds(QStringView text) const;

    TextCodec::Encoding encoding_;
    bool known_ = false;   // positions_ are all of them
    bool tooMany_ = false; // the last whole check found more than are kept, and nothing changed since
    std::vector<qsizetype> positions_; // ascending
};
