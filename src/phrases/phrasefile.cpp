#include "phrases/phrasefile.h"

#include <QFileInfo>

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
    const int places = qMax(Places, int(entries.size()));
    QStringList lines;
    lines.reserve(2 * places);
    for (int k = 0; k < places; ++k) {
        lines.append(k < entries.size() ? entries.at(k) : QString());
        lines.append(marker(k));
    }
    return lines.join(QStringLiteral("\r\n"));
}

bool canAdd(const QStringList &entries)
{
    return entries.size() < Places;
}

LoadResult load(const QString &path)
{
    const TextFile::ReadResult read = TextFile::read(path);
    if (read.ok)
        return {LoadResult::Status::Ok, parse(read.text), {}, read.variants};
    // A dangling link is not "nothing there": saving would write through it.
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {LoadResult::Status::Missing, {}, {}, {}};
    return {LoadResult::Status::Unreadable, {}, read.error, {}};
}

TextFile::WriteResult save(const QString &path, const QStringList &entries, const Cp932Variants &variants)
{
    return TextFile::write(path, compose(entries), TextFile::LineEndPolicy::KeepExisting, variants,
                           TextFile::NewFileAccess::OwnerOnly);
}

} // namespace PhraseFile
