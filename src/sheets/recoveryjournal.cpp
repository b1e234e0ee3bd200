#include "sheets/recoveryjournal.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <array>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace RecoveryJournal {

namespace {

constexpr char Magic[4] = {'Q', '7', 'Z', 'J'};
constexpr quint32 Version = 1;
constexpr qsizetype RecordFixed = 24; // position, removed, length after

constexpr std::array<quint32, 256> crcTable()
{
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<quint32, 256> CrcTable = crcTable();

template <typename T>
void put(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

template <typename T>
T take(QByteArrayView in, qsizetype at)
{
    return qFromLittleEndian<T>(in.data() + at);
}

bool flushToDisk(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle())));
#else
    return ::fsync(file.handle()) == 0;
#endif
}

} // namespace

quint32 checksum(QByteArrayView bytes, quint32 crc)
{
    crc = ~crc;
    for (const char b : bytes)
        crc = CrcTable[(crc ^ quint8(b)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

QByteArray header(const Base &base)
{
    QByteArray out(Magic, sizeof Magic);
    put<quint32>(out, Version);
    put<quint64>(out, quint64(base.bytes));
    put<quint32>(out, base.checksum);
    put<quint64>(out, quint64(base.length));
    put<quint64>(out, quint64(base.leadingBreaks));
    put<quint32>(out, checksum(out));
    return out;
}

std::optional<Base> baseOf(QByteArrayView journal)
{
    if (journal.size() < HeaderBytes || journal.first(4) != QByteArrayView(Magic, sizeof Magic)
        || take<quint32>(journal, 4) != Version || take<quint32>(journal, 36) != checksum(journal.first(36)))
        return std::nullopt;
    return Base{qint64(take<quint64>(journal, 8)), take<quint32>(journal, 16), qsizetype(take<quint64>(journal, 20)),
                qsizetype(take<quint64>(journal, 28))};
}

QByteArray record(const Record &r)
{
    QByteArray out;
    out.reserve(recordBytes(r.inserted.size()));
    put<quint32>(out, quint32(RecordFixed + 2 * r.inserted.size()));
    put<quint64>(out, quint64(r.position));
    put<quint64>(out, quint64(r.removed));
    put<quint64>(out, quint64(r.lengthAfter));
    for (const QChar c : r.inserted)
        put<quint16>(out, c.unicode());
    put<quint32>(out, checksum(out));
    return out;
}

bool create(const QString &path, const Base &base)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The edits may be private, as the text of the copy is.
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    file.write(header(base));
    return file.commit();
}

bool append(const QString &path, QByteArrayView bytes, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::Append | QIODevice::ExistingOnly) || file.size() != size)
        return false;
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !flushToDisk(file)) {
        // Half a record is no record: cut it off again where that is possible.
        file.resize(size);
        return false;
    }
    return true;
}

qsizetype replay(QString &text, QByteArrayView journal)
{
    qsizetype applied = 0;
    for (qsizetype at = HeaderBytes; at + 4 <= journal.size(); ++applied) {
        const qint64 payload = take<quint32>(journal, at);
        if (payload < RecordFixed || payload % 2 != 0 || at + 4 + payload + 4 > journal.size())
            break;
        const QByteArrayView whole = journal.sliced(at, 4 + payload);
        if (take<quint32>(journal, at + 4 + payload) != checksum(whole))
            break;
        const quint64 position = take<quint64>(whole, 4), removed = take<quint64>(whole, 12),
                      lengthAfter = take<quint64>(whole, 20);
        const qsizetype inserted = (payload - RecordFixed) / 2;
        const quint64 length = quint64(text.size());
        if (position > length || removed > length - position || length - removed + quint64(inserted) != lengthAfter)
            break;
        QString with(inserted, Qt::Uninitialized);
        for (qsizetype k = 0; k < inserted; ++k)
            with[k] = QChar(take<quint16>(whole, 4 + RecordFixed + 2 * k));
        text.replace(qsizetype(position), qsizetype(removed), with);
        at += 4 + payload + 4;
    }
    return applied;
}

} // namespace RecoveryJournal
