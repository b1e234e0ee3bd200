#include "commands/clipboardtext.h"

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
