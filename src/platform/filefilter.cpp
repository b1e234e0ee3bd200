#include "platform/filefilter.h"

namespace FileFilter {

QStringList toQtNameFilters(const QString &filter)
{
    QStringList out;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts);
        for (QString &p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        out << parts.at(i) + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return out;
}

} // namespace FileFilter
