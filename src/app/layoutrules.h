#pragma once

#include <QLine>
#include <QList>
#include <QRect>
#include <QRectF>
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
// Panels 2 to 4, right of the launcher box; the launcher box takes what they leave, so a new
// panel narrows it and nothing else.
constexpr int FormPanelWidth = 1500;     // panel 4: encoding and line ends
constexpr int StatusPanelsWidth = 3285 + FormPanelWidth;

struct Arrangement {
    QLine line0, line1;
    QRect text1, tabStrip1, launcherBox;
    int statusPanel1Width = 0;
};

Arrangement arrange(int scaleWidth, int scaleHeight, int comboHeight);

// Half the screen height, the remainder dropped.
int minWindowHeight(int screenHeightTwips);

// Size the window must be given to respect the minimum, or the size unchanged.
QSize enforceMinimum(QSize windowTwips, int screenHeightTwips);

// Window left/top that centre it on the screen, as the classic rule rounds them.
int centredOffset(double screenTwips, double windowTwips);

// Where a window goes so that all of it can be seen, whatever its stored geometry says. In pixels
// of the virtual desktop (the coordinates of each screen's available geometry); wanted is the outer
// rectangle, frame included, as doubles so that stored values far outside int range (1e9, 2^31)
// arrive intact, and any value at all (NaN counts as 0) gives a sound result.
// The screen is the first whose available area holds wanted's top-left, else the one nearest to
// it. The size is limited to that area but never below minimum; the position then moves just
// enough for the whole window to lie on the screen, or, when the minimum is larger than the
// screen, to its top-left corner so the title bar can be reached. With no usable screen: the
// minimum size at the origin.
QRect placeOnScreen(const QRectF &wanted, const QList<QRect> &availableScreens, QSize minimum);

} // namespace LayoutRules
