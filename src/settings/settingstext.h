#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// How settings are spelled as text, and how a stored text converts back. Conversions that the
// stored text does not allow return nothing, so the caller keeps the holder's current value.
namespace SettingsText {

// Booleans are written "True" / "False".
QString fromBool(bool value);
// "True"/"False" in any letter case, or a number (0 false, anything else true); blanks around
// the text are ignored.
std::optional<bool> toBool(const QString &text);

// A decimal number, "." as separator, blanks around ignored, optional sign and exponent.
std::optional<double> toNumber(const QString &text);
// Decimal text with at most seven significant digits, no trailing zeros, no exponent for
// ordinary magnitudes: 8805, 11.25, 9, -2.5.
QString fromNumber(double value);
// Decimal text with at most four decimals, no trailing zeros: 11.25, 10, 10.3333.
QString fromTabFontSize(double value);

// A signed 32-bit whole number as a long conversion gives it: the number rounded half to even,
// nothing when out of range.
std::optional<qint32> toLong(const QString &text);

// Colours: the decimal text of a signed 32-bit colour value. An RGB colour is 0x00BBGGRR; a value
// 0x80000000 + n is the platform's system colour n.
constexpr quint32 SystemColourFlag = 0x80000000u;
constexpr qint32 SysWindowText = qint32(SystemColourFlag | 8u);   // -2147483640
constexpr qint32 SysWindowBackground = qint32(SystemColourFlag | 5u); // -2147483643
constexpr int SystemColourCount = 25;

QString fromColour(qint32 value);
// A colour value that a text box accepts: an RGB value or one of the system colours.
bool isValidColour(qint32 value);
bool isSystemColour(qint32 value);
// n for the system colour 0x80000000 + n, -1 for any other value.
int systemColourIndex(qint32 value);

} // namespace SettingsText
