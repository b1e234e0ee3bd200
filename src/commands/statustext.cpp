#include "commands/statustext.h"

namespace StatusText {

namespace {

// Right-aligns in a field of four, never cutting a longer text.
QString field(const QString &text)
{
    return text.rightJustified(4, u' ');
}

} // namespace

QString caretPosition(qint64 line, qint64 column)
{
    return field(u' ' + QString::number(line)) + QStringLiteral(" : ") + field(QString::number(column));
}

}
