#pragma once

#include <QString>

// The toolbar's buttons by index, as the settings, tooltips and commands refer to them. The
// indexes between groups are separators.
namespace ToolbarButton {

enum Index : int {
    New = 1,
    Open = 2,
    SaveAs = 3,
    SaveToOpened = 4,  // follows the current sheet's opened file
    Cut = 6,
    Copy = 7,
    CopyAll = 8,
    Paste = 9,
    SearchFind = 11,
    Undo = 13,         // disabled at start, then kept by the timer
    DateTime = 15,
    Quote = 16,        // disabled at start, then kept by the timer
    Phrase = 17,
    App1 = 19,         // registered applications 1 to 3
    App2 = 20,
    App3 = 21,
    Options = 23,
    Help = 25,
    About = 27,
    Exit = 29,
};

constexpr int Count = 29;

// Button 4's tooltip: these six characters, then the path that Ctrl+S writes to.
inline const QString SaveToOpenedPrefix = QStringLiteral("上書き保存－");

} // namespace ToolbarButton
