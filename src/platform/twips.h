#pragma once

#include <cmath>

// Twips, the unit stored positions and sizes are kept in: 1440 to the logical inch.
namespace Twips {

constexpr double PerInch = 1440.0;

inline int toPixels(double twips, double dpi) { return int(std::lround(twips * dpi / PerInch)); }
inline double fromPixels(double pixels, double dpi) { return pixels * PerInch / dpi; }

} // namespace Twips
