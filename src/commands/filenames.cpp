#include "commands/filenames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace FileNames {

namespace {

bool isSeparator(QChar c)
{
#ifdef Q_OS_WIN
    return c == u'\\' || c == u'/' || c == u':';
#else
    return c == u'/';
#endif
}

} // namespace

QString CutAtNull(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString FNameGet(const QString &path)
{
    qsizetype start = path.size();
    while (start > 0 && !isSeparator(path.at(start - 1)))
        --start;
    return CutAtNull(path.mid(start));
}

bool FileFind(QString &path)
{
    if (path.isEmpty())
        return false;
    if (path.back() == u'/' || path.back() == QDir::separator())
        path.chop(1);
    if (path.isEmpty())
        return false;
    // Only a regular file: opening a pipe for reading would wait for a writer.
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

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

} // namespace FileNames
