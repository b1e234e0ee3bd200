#include "app/layoutrules.h"

#include <cmath>

namespace LayoutRules {

Arrangement arrange(int scaleWidth, int scaleHeight, int comboHeight)
{
    Arrangement a;
    a.line0 = QLine(0, 415, scaleWidth, 415);
    a.line1 = QLine(0, 430, scaleWidth, 430);
    a.text1 = QRect(30, 855, scaleWidth - 80, scaleHeight - 1225);
    a.tabStrip1 = QRect(0, 480, scaleWidth, scaleHeight - 810);
    a.combo1 = QRect(0, scaleHeight - comboHeight, scaleWidth - StatusPanelsWidth, comboHeight);
    a.statusPanel1Width = a.combo1.width();
    return a;
}

int minWindowHeight(int screenHeightTwips)
{
    return screenHeightTwips / 2;
}

QSize enforceMinimum(QSize windowTwips, int screenHeightTwips)
{
    QSize s = windowTwips;
    if (s.width() < MinWindowWidth)
        s.setWidth(MinWindowWidth);
    const int minHeight = minWindowHeight(screenHeightTwips);
    if (s.height() < minHeight)
        s.setHeight(minHeight);
    return s;
}

int centredOffset(double screenTwips, double windowTwips)
{
    // Round the difference to whole twips (half to even, as the classic rounding does), then
    // halve it dropping the remainder.
    const long long diff = std::llrint(screenTwips - windowTwips);
    return int(diff / 2);
}

} // namespace LayoutRules
