#include "phrases/phrasefile.h"

namespace PhraseFile {

namespace {
QString marker(int k)
{
    return QStringLiteral("[%1]").arg(k);
}
} // namespace

QStringList parse(QStringView text)
{
    QStringList entries;
    int expected = 0;
    QString expectedMarker = marker(expected);
    for (QStringView line : text.tokenize(u"\r\n")) {
        if (line == expectedMarker) {
            expectedMarker = marker(++expected);
        } else if (!line.isEmpty()) {
            entries.append(line.toString());
        }
    }
    return entries;
}

QString compose(const QStringList &entries)
{
    QStringList lines;
    lines.reserve(2 * Places);
    for (int k = 0; k < Places; ++k) {
        lines.append(k < entries.size() ? entries.at(k) : QString());
        lines.append(marker(k));
    }
    return lines.join(QStringLiteral("\r\n"));
}

LoadResult load(const QString &path)
{
    const TextFile::ReadResult read = TextFile::read(path);
    if (!read.ok)
        return {};
    return {true, parse(read.text)};
}

TextFile::WriteResult save(const QString &path, const QStringList &entries)
{
    return TextFile::write(path, compose(entries));
}

} // namespace PhraseFile
