#pragma once

#include <QString>

namespace StatusText {

// The caret position of the status bar: each number right-aligned in at least four places,
// the line number with the blank of its sign in front ("   1 :    1", " 1234 :    5").
QString caretPosition(qint64 line, qint64 column);

}
