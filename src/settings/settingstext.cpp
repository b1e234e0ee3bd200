#include "settings/settingstext.h"

#include <cmath>
#include <limits>

namespace SettingsText {

namespace {

// "-0.0000" and friends are still zero; a stored "-0" would only confuse the reader.
QString withoutNegativeZero(QString text)
{
    if (text.startsWith(u'-')) {
        bool onlyZeros = true;
        for (qsizetype i = 1; i < text.size() && onlyZeros; ++i)
            onlyZeros = text.at(i) == u'0' || text.at(i) == u'.';
        if (onlyZeros)
            text.remove(0, 1);
    }
    return text;
}

} // namespace

QString fromBool(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<bool> toBool(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    if (const auto number = toNumber(t))
        return *number != 0.0;
    return std::nullopt;
}

std::optional<double> toNumber(const QString &text)
{
    // Always the C locale: "." only and no group separators, so "1,5" and "12abc" are refused
    // rather than read as 1 or 12.
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) // "inf" and "nan" parse, but no setting can hold them
        return std::nullopt;
    return value;
}

// Seven significant digits is what a single-precision value holds, and sizes and positions were
// always kept at that precision. Rounding first lets 0.1f (0.100000001490116...) come out as
// "0.1". Past seven digits before the point, or below 1E-04, the number is written with an
// exponent ("1E+07", "1.234568E+07", "1E-05"); toNumber reads that form back. A value that is
// not finite gives "nan" or "inf", which toNumber rejects, so the reader keeps its default.
QString fromNumber(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    if (!std::isfinite(value))
        return QString::number(value);
    return QString::number(value, 'g', 7).toUpper();
}

QString fromTabFontSize(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    QString text = QString::number(value, 'f', 4);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return withoutNegativeZero(text);
}

std::optional<qint32> toLong(const QString &text)
{
    const auto number = toNumber(text);
    if (!number)
        return std::nullopt;
    // Half to even, independent of the floating-point environment's rounding mode.
    const double x = *number;
    double rounded = std::floor(x);
    const double fraction = x - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0))
        rounded += 1.0;
    if (rounded < double(std::numeric_limits<qint32>::min())
        || rounded > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return qint32(rounded);
}

QString fromColour(qint32 value)
{
    return QString::number(value);
}

bool isSystemColour(qint32 value)
{
    const quint32 bits = quint32(value);
    return bits >= SystemColourFlag && bits - SystemColourFlag < quint32(SystemColourCount);
}

bool isValidColour(qint32 value)
{
    return (value >= 0 && value <= 0xFFFFFF) || isSystemColour(value);
}

int systemColourIndex(qint32 value)
{
    return isSystemColour(value) ? int(quint32(value) - SystemColourFlag) : -1;
}

} // namespace SettingsText
