#pragma once

#include <QString>
#include <QStringView>

// The sheet text as the program sees it (CR LF line breaks, a lone LF an ordinary character)
// and as the text box's document keeps it: paragraphs separated by U+2029, a lone LF kept as
// U+2028, so that nothing of a file's text is lost on its way through the box.
namespace TextModel {

constexpr QChar ParagraphBreak = QChar::ParagraphSeparator; // U+2029
constexpr QChar LoneLineFeed = QChar::LineSeparator;        // U+2028

// CR LF and a lone CR become paragraph breaks, a lone LF U+2028. Linear.
QString toDocument(QStringView text);
// The reverse. Linear, one allocation.
QString fromDocument(QStringView text);

} // namespace TextModel
