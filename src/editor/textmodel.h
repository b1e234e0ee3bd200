#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// The sheet text as the program sees it (CR LF line breaks, a lone LF an ordinary character)
// and as the text box's document keeps it: paragraphs separated by U+2029, a lone LF kept as
// U+2028, so that nothing of a file's text is lost on its way through the box.
//
// A paragraph is laid out whole at every edit, so a line of megabytes would freeze the window
// at each key. Such a line is shown as several paragraphs: "soft" breaks, separators of the
// document that are no part of the text, whose positions the box keeps beside the document.
namespace TextModel {

constexpr QChar ParagraphBreak = QChar::ParagraphSeparator; // U+2029
constexpr QChar LoneLineFeed = QChar::LineSeparator;        // U+2028
// Lines longer than this are shown in pieces of about this length.
constexpr qsizetype SoftLineLength = 8192;

struct Document {
    QString text;
    std::vector<qsizetype> softBreaks;  // ascending positions in text of soft separators
    bool roundTrips = true;             // false: a lone CR became a line break
};

// CR LF and a lone CR become paragraph breaks, a lone LF U+2028; a line longer than
// lineLength gets soft breaks, preferably after a blank, never inside a surrogate pair. One
// pre-sized pass copying the runs between breaks whole.
Document toDocument(QStringView text, qsizetype lineLength = SoftLineLength);
// Whether text goes into the document as it is: the document itself takes CR LF and a lone CR
// for paragraph breaks, so a text without a lone LF and without a line long enough to be cut
// needs no document form, and the document's own pass over it is the only one. Then *crLfs is
// the number of its CR LF pairs and *loneCr whether it holds a CR without an LF. Conservative:
// false for some texts whose lone CRs keep every line short enough.
bool fitsDocumentAsIs(QStringView text, qsizetype lineLength, qsizetype *crLfs, bool *loneCr);
// The reverse: soft separators (positions ascending, relative to text) are dropped. Linear.
QString fromDocument(QStringView text, const std::vector<qsizetype> &softBreaks = {});

// The soft separators of a document, kept in step with its edits. Lookups are O(log n); an
// edit costs O(number of soft separators after it), and there are none in ordinary text.
class SoftBreaks {
public:
    void reset(std::vector<qsizetype> positions) { positions_ = std::move(positions); }
    bool empty() const { return positions_.empty(); }
    const std::vector<qsizetype> &positions() const { return positions_; }
    // How many soft separators stand before position (at a smaller position).
    qsizetype countBefore(qsizetype position) const;
    bool isSoft(qsizetype position) const;
    // Those in [from, to), relative to from.
    std::vector<qsizetype> between(qsizetype from, qsizetype to) const;
    // The document changed at position: removed characters went, added came in their place.
    void contentsChange(qsizetype position, qsizetype removed, qsizetype added);

private:
    std::vector<qsizetype> positions_;
};

} // namespace TextModel
