#include "commands/quoting.h"

namespace Quoting {

QString quote(QStringView source, QStringView mark)
{
    const qsizetype n = source.size();
    qsizetype breaks = 0;
    for (QChar c : source)
        if (c == u'\r')
            ++breaks;
    QString out;
    out.reserve(n + (breaks + 1) * (mark.size() + 2));

    qsizetype lineStart = 0;
    auto addLine = [&](qsizetype end) {
        if (lineStart > 0)
            out += QLatin1String("\r\n");
        out += mark;
        out += source.mid(lineStart, end - lineStart);
    };
    for (qsizetype i = 0; i < n; ++i) {
        if (source[i] != u'\r')
            continue;
        addLine(i);
        if (i + 1 < n && source[i + 1] == u'\n')
            ++i;
        lineStart = i + 1;
    }
    // The last line, ended by the line break a text file always gets.
    addLine(n);
    return out;
}

}
