#pragma once

#include <QColor>
#include <QtGlobal>

class QPalette;

// Stored colour values (0x00BBGGRR, or 0x80000000 + n for the platform's system colour n) as
// colours on the screen. System colours follow the palette, so they change with the theme.
namespace ColourValue {

QColor toQColor(qint32 value, const QPalette &palette);
// The RGB value of a chosen colour; alpha is dropped.
qint32 fromQColor(const QColor &colour);

} // namespace ColourValue
