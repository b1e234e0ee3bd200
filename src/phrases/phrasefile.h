#pragma once

#include "sheets/textfile.h"

#include <QStringList>

// The boilerplate phrase file: 30 places, each an entry line (or an empty line) followed by its
// marker "[k]". The reader is tolerant of hand-edited files: any line that is neither empty nor
// the next expected marker is an entry.
namespace PhraseFile {

constexpr int Places = 30;
inline const QString FileName = QStringLiteral("q7Zibo.dat");

// Entries of a file's text, in file order (lines already joined with CR LF).
QStringList parse(QStringView text);

// The file's text for a list: 60 lines joined with CR LF (the writer adds the final CR LF).
// Entries past the thirtieth are not kept.
QString compose(const QStringList &entries);

struct LoadResult {
    bool ok = false;
    QStringList entries;
};
LoadResult load(const QString &path);
TextFile::WriteResult save(const QString &path, const QStringList &entries);

} // namespace PhraseFile
