#pragma once

#include "sheets/textfile.h"

#include <QStringList>

// The boilerplate phrase file: 30 places, each an entry line (or an empty line) followed by its
// marker "[k]". The reader is tolerant of hand-edited files: any line that is neither empty nor
// the next expected marker is an entry, so a file may hold more than 30.
namespace PhraseFile {

constexpr int Places = 30;
inline const QString FileName = QStringLiteral("q7Zibo.dat");

// Entries of a file's text, in file order (lines already joined with CR LF).
QStringList parse(QStringView text);

// The file's text for a list, joined with CR LF (the writer adds the final CR LF): the 60 lines
// of the 30 places, entries first and empty places after them. A list longer than that (a
// hand-made file read whole) goes on with entry and marker pairs "[30]", "[31]", ..., which
// parse() reads back as entries: nothing is ever dropped.
QString compose(const QStringList &entries);

// Whether one more entry fits in the 30 places. When it does not, the caller refuses the
// addition with a message rather than let it push the file past its places.
bool canAdd(const QStringList &entries);

struct LoadResult {
    enum class Status {
        Ok,         // read; entries may be empty
        Missing,    // nothing at the path: no phrases yet, and saving creates the file
        Unreadable, // something is there but cannot be read: it must not be saved over
    };
    Status status = Status::Missing;
    QStringList entries;
    QString error; // Unreadable: the reason, for the caller's message
    Cp932Variants variants; // the file's second CP932 codes, for saving it back
};
LoadResult load(const QString &path);
TextFile::WriteResult save(const QString &path, const QStringList &entries, const Cp932Variants &variants = {});

} // namespace PhraseFile
