#pragma once

#include <QLine>
#include <QRect>
#include <QSize>

// Where the main window's controls go, in twips of its client area. The constants assume a
// toolbar 415 twips and a status bar 330 twips high; the window maps them onto its real bars.
namespace LayoutRules {

constexpr int MinWindowWidth = 8805;     // twips
constexpr int DefaultWindowWidth = 8805;
constexpr int DefaultWindowHeight = 6045;
// The window's size before any setting applies: client area 8685 x 6540 plus frame and menu bar.
constexpr int DesignWindowWidth = 8805;
constexpr int DesignWindowHeight = 7230;
constexpr int NominalToolbarHeight = 415;
constexpr int NominalStatusHeight = 330;
constexpr int StatusPanelsWidth = 3285;   // panels 2 and 3, right of the launcher box

struct Arrangement {
    QLine line0, line1;
    QRect text1, tabStrip1, combo1;
    int statusPanel1Width = 0;
};

Arrangement arrange(int scaleWidth, int scaleHeight, int comboHeight);

// Half the screen height, the remainder dropped.
int minWindowHeight(int screenHeightTwips);

// Size the window must be given to respect the minimum, or the size unchanged.
QSize enforceMinimum(QSize windowTwips, int screenHeightTwips);

// Window left/top that centre it on the screen, as the classic rule rounds them.
int centredOffset(double screenTwips, double windowTwips);

} // namespace LayoutRules
