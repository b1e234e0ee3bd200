#include "settings/colourvalue.h"

#include "settings/settingstext.h"

#include <QPalette>

namespace {

QColor systemColour(const QPalette &palette, int index)
{
    static const QPalette::ColorRole roles[SettingsText::SystemColourCount] = {
        QPalette::Button,          QPalette::Window,      QPalette::Highlight,
        QPalette::Mid,             QPalette::Window,      QPalette::Base,
        QPalette::Shadow,          QPalette::WindowText,  QPalette::Text,
        QPalette::HighlightedText, QPalette::Mid,         QPalette::Midlight,
        QPalette::Dark,            QPalette::Highlight,   QPalette::HighlightedText,
        QPalette::Button,          QPalette::Mid,         QPalette::PlaceholderText,
        QPalette::ButtonText,      QPalette::WindowText,  QPalette::Light,
        QPalette::Shadow,          QPalette::Midlight,    QPalette::ToolTipText,
        QPalette::ToolTipBase,
    };
    return palette.color(QPalette::Active, roles[index]);
}

} // namespace

namespace ColourValue {

QColor toQColor(qint32 value, const QPalette &palette)
{
    if (SettingsText::isSystemColour(value))
        return systemColour(palette, SettingsText::systemColourIndex(value));
    const quint32 bgr = quint32(value);
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

qint32 fromQColor(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return qint32(quint32(rgb.red()) | quint32(rgb.green()) << 8 | quint32(rgb.blue()) << 16);
}

} // namespace ColourValue
