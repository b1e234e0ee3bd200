#pragma once

#include <QPaintDevice>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cmath>

// Twips, the unit stored positions and sizes are kept in: 1440 to the logical inch.
namespace Twips {

constexpr double PerInch = 1440.0;

inline int toPixels(double twips, double dpi) { return int(std::lround(twips * dpi / PerInch)); }
inline double fromPixels(double pixels, double dpi) { return pixels * PerInch / dpi; }

// The same on a device's own logical dpi (a widget: its screen's), each axis by its own.
inline QPoint toPixels(QPointF twips, const QPaintDevice &device)
{
    return {toPixels(twips.x(), device.logicalDpiX()), toPixels(twips.y(), device.logicalDpiY())};
}
inline QSize toPixels(QSize twips, const QPaintDevice &device)
{
    return {toPixels(twips.width(), device.logicalDpiX()), toPixels(twips.height(), device.logicalDpiY())};
}
inline QRect toPixels(const QRect &twips, const QPaintDevice &device)
{
    return {toPixels(QPointF(twips.topLeft()), device), toPixels(twips.size(), device)};
}
// Whole twips, as positions are stored.
inline QPoint fromPixels(QPoint pixels, const QPaintDevice &device)
{
    return {int(std::lround(fromPixels(pixels.x(), device.logicalDpiX()))),
            int(std::lround(fromPixels(pixels.y(), device.logicalDpiY())))};
}

} // namespace Twips
