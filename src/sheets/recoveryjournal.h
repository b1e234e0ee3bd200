#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// The edits made since a recovery copy was written, so that a pause in typing appends what
// changed instead of writing the whole text again. The journal lies beside its copy (its base)
// and names it by size and checksum: a journal beside any other base is never replayed.
// Each record is one replacement in the text as the program sees it (CR LF breaks), with its
// inserted text as raw UTF-16 so that nothing the text box holds is lost. Little-endian.
namespace RecoveryJournal {

// The base as the journal names it.
struct Base {
    qint64 bytes = 0;            // the copy's size on disk
    quint32 checksum = 0;        // CRC-32 of the copy's bytes
    qsizetype length = 0;        // the text's length when the copy was written
    qsizetype leadingBreaks = 0; // CR LFs at the text's start, which reading the copy drops
    bool operator==(const Base &) const = default;
};

// [position, position + removed) became inserted, and the text is then lengthAfter long.
struct Record {
    qsizetype position = 0;
    qsizetype removed = 0;
    qsizetype lengthAfter = 0;
    QString inserted;
};

constexpr qsizetype HeaderBytes = 40;
// The bytes a record of that many inserted characters takes.
constexpr qint64 recordBytes(qsizetype inserted) { return 4 + 24 + 2 * qint64(inserted) + 4; }

quint32 checksum(QByteArrayView bytes, quint32 crc = 0);
QByteArray header(const Base &base);
QByteArray record(const Record &record);
// The base a journal's header names; nothing when it is no journal of this version.
std::optional<Base> baseOf(QByteArrayView journal);

// Writes a journal of no records, atomically, flushed, readable by its owner only.
bool create(const QString &path, const Base &base);
// Appends bytes to the journal at path when it is still size bytes long (the one this program
// wrote), and waits until they are on the disk.
bool append(const QString &path, QByteArrayView bytes, qint64 size);

// Applies the journal's records to text, which is the base's text, in order; stops at the
// first record that is cut, damaged or does not fit the text. Returns how many were applied.
qsizetype replay(QString &text, QByteArrayView journal);

} // namespace RecoveryJournal
