#include "app/layoutrules.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace LayoutRules {

Arrangement arrange(int scaleWidth, int scaleHeight, int comboHeight)
{
    Arrangement a;
    a.line0 = QLine(0, 415, scaleWidth, 415);
    a.line1 = QLine(0, 430, scaleWidth, 430);
    a.text1 = QRect(30, 855, scaleWidth - 80, scaleHeight - 1225);
    a.tabStrip1 = QRect(0, 480, scaleWidth, scaleHeight - 810);
    a.launcherBox = QRect(0, scaleHeight - comboHeight, scaleWidth - StatusPanelsWidth, comboHeight);
    a.statusPanel1Width = a.launcherBox.width();
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

namespace {

// Farther than any desktop reaches, yet near enough that squared distances stay exact in a double
// and every later sum stays far inside int range.
constexpr double FarAway = 1e7;

double tame(double v)
{
    return std::isnan(v) ? 0.0 : std::clamp(v, -FarAway, FarAway);
}

// Half-open, as a screen's pixels are: the right neighbour's first column is not this screen's.
bool holds(const QRect &r, QPointF p)
{
    return p.x() >= r.left() && p.x() < double(r.left()) + r.width()
        && p.y() >= r.top() && p.y() < double(r.top()) + r.height();
}

double squaredDistance(const QRect &r, QPointF p)
{
    const double dx = std::max({double(r.left()) - p.x(), 0.0, p.x() - (double(r.left()) + r.width())});
    const double dy = std::max({double(r.top()) - p.y(), 0.0, p.y() - (double(r.top()) + r.height())});
    return dx * dx + dy * dy;
}

// The size along one axis, then the start that keeps [start, start + size) inside the area.
std::pair<int, int> fitSpan(double wantedStart, double wantedSize, int areaStart, int areaSize, int minimum)
{
    const double size = std::max(double(std::max(minimum, 1)), std::min(tame(wantedSize), double(areaSize)));
    const int whole = int(std::lround(size));
    const double last = double(areaStart) + areaSize - whole;
    const double start = std::max(double(areaStart), std::min(tame(wantedStart), last));
    return {int(std::lround(start)), whole};
}

} // namespace

QRect placeOnScreen(const QRectF &wanted, const QList<QRect> &availableScreens, QSize minimum)
{
    const QPointF corner(tame(wanted.x()), tame(wanted.y()));
    const QRect *screen = nullptr;
    double nearest = 0;
    for (const QRect &r : availableScreens) {
        if (r.isEmpty())
            continue;
        if (holds(r, corner)) {
            screen = &r;
            break;
        }
        if (const double d = squaredDistance(r, corner); !screen || d < nearest) {
            screen = &r;
            nearest = d;
        }
    }
    if (!screen)
        return QRect(QPoint(0, 0), minimum.expandedTo(QSize(1, 1)));
    const auto [x, width] = fitSpan(wanted.x(), wanted.width(), screen->x(), screen->width(), minimum.width());
    const auto [y, height] = fitSpan(wanted.y(), wanted.height(), screen->y(), screen->height(), minimum.height());
    return QRect(x, y, width, height);
}

} // namespace LayoutRules
