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

namespace ClipboardText {

QString fromModel(QStringView text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            continue;
        out += text[i];
    }
    return out;
}

QString toModel(QStringView text)
{
    qsizetype lineFeeds = 0;
    for (QChar c : text)
        if (c == u'\n')
            ++lineFeeds;
    QString out;
    out.reserve(text.size() + lineFeeds);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            out += u'\r';
        out += text[i];
    }
    return out;
}

}
