#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// Searching and replacing in a text as the sheet text box holds it: CR LF line breaks (a break
// counts two positions), lone LFs as ordinary characters, never a lone CR. Positions are 1-based
// like the dialog's, 0 meaning "none".
namespace Search {

// The 1-based position of the first occurrence of what in text that starts at or after start,
// or 0. An empty what is found at start itself while start lies within the text. A match that
// would begin or end between the CR and the LF of a line break is skipped: the text box cannot
// select half a line break, so replacing it would eat the whole break. The result depends only
// on the text from start - 1 on, which lets replaceAll search the original text.
qsizetype find(QStringView text, QStringView what, qsizetype start, Qt::CaseSensitivity cs);

// What the text box holds after a string is typed or pasted into it: a lone CR becomes CR LF.
QString modelForm(QStringView text);

struct ReplaceAllResult {
    QString text;
    qsizetype caret = 0;  // 0-based, after the last inserted replacement
    qsizetype count = 0;  // replacements after the selection's own
};

// Replace all: the selection [selStart, selStart + selLength) is replaced by with, then the
// search runs from foundPos + 1 and each match found is replaced, the next search starting
// after the inserted replacement. One pass over the text. An empty what replaces only the
// selection, since an empty string would be found again after every insertion.
ReplaceAllResult replaceAll(QStringView text, qsizetype selStart, qsizetype selLength, qsizetype foundPos,
                            QStringView what, QStringView with, Qt::CaseSensitivity cs);

// The same replace-all as edits of the text as it is now, so that the box changes only where
// matches are: each edit replaces [start, start + length) by the model form of with; ascending,
// disjoint. The selection's own replacement is one of them. When a match runs into the
// selection's replacement, overlapping is set and the edits are not to be used.
struct Edit {
    qsizetype start = 0;
    qsizetype length = 0;
};
struct ReplaceAllEdits {
    std::vector<Edit> edits;
    qsizetype caret = 0;
    qsizetype count = 0;
    bool overlapping = false;
};
ReplaceAllEdits replaceAllEdits(QStringView text, qsizetype selStart, qsizetype selLength, qsizetype foundPos,
                                QStringView what, QStringView with, Qt::CaseSensitivity cs);

// The smallest stretch that differs between two texts of the box, widened so that it never
// splits a line break; replacing [start, start + oldLength) of before by
// after.mid(start, newLength) gives after.
struct Change {
    qsizetype start = 0;
    qsizetype oldLength = 0;
    qsizetype newLength = 0;
};
Change changedRange(QStringView before, QStringView after);

} // namespace Search
