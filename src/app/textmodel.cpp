#include "app/textmodel.h"

namespace TextModel {

QString toDocument(QStringView text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < n && text[i + 1] == u'\n')
                ++i;
            out += ParagraphBreak;
        } else if (c == u'\n') {
            out += LoneLineFeed;
        } else {
            out += c;
        }
    }
    return out;
}

QString fromDocument(QStringView text)
{
    // Line breaks are the only characters that grow; count them once to allocate once.
    const qsizetype breaks = text.count(ParagraphBreak);
    QString out;
    out.reserve(text.size() + breaks);
    for (QChar c : text) {
        if (c == ParagraphBreak)
            out += QLatin1String("\r\n");
        else if (c == LoneLineFeed)
            out += u'\n';
        else
            out += c;
    }
    return out;
}

} // namespace TextModel
