#include "sheets/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>

namespace TextFile {

using TextCodec::Encoding;

namespace {

// The reasons a read or a write fails, as the user is told them.
const QString ReadOnly = QStringLiteral("読み取り専用です。");
const QString TooLarge = QStringLiteral("ファイルが大きすぎます。");
const QString Folder = QStringLiteral("フォルダーです。");
const QString NotFound = QStringLiteral("ファイルが見つかりません。");
const QString NotRegular = QStringLiteral("通常のファイルではありません。");
const QString NoSpace = QStringLiteral("容量が足りません。");
const QString AccessDenied = QStringLiteral("アクセスが拒否されました。");
const QString CannotRead = QStringLiteral("読み込めません。");
const QString CannotWrite = QStringLiteral("書き込めません。");

// The reason errno gives for a failed file call, or `otherwise`. Callers clear errno before
// the call: where the file calls do not set it (Windows), it then says nothing.
QString reasonFor(int error, const QString &otherwise)
{
    switch (error) {
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return NoSpace;
    case EACCES:
    case EPERM:
        return AccessDenied;
    case EROFS:
        return ReadOnly;
    default:
        return otherwise;
    }
}

// Up to size bytes; fewer only at the end of the file (or on an error).
qint64 readFully(QFile &file, char *buffer, qint64 size)
{
    qint64 got = 0;
    while (got < size) {
        const qint64 more = file.read(buffer + got, size - got);
        if (more <= 0)
            break;
        got += more;
    }
    return got;
}

// The encoding an existing file is kept in: its own when it is UTF-8 or UTF-16, else CP932.
// Read in pieces and only as far as needed: a CP932 file usually shows itself in the first one.
Encoding existingEncoding(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Encoding::Cp932;
    constexpr qint64 Piece = 1 << 20;
    QByteArray buffer(Piece, Qt::Uninitialized);
    TextCodec::Detector detector;
    for (;;) {
        const qint64 got = readFully(file, buffer.data(), Piece);
        detector.feed(QByteArrayView(buffer.constData(), got));
        if (got < Piece || detector.settled())
            return detector.encoding();
    }
}

QByteArray lineEnd(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf16Le:
    case Encoding::Utf16LeNoBom:
        return QByteArray("\r\0\n\0", 4);
    case Encoding::Utf16Be:
    case Encoding::Utf16BeNoBom:
        return QByteArray("\0\r\0\n", 4);
    default:
        return QByteArrayLiteral("\r\n");
    }
}

bool hasWriteBit(const QFileInfo &info)
{
    return info.permissions()
            & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
}

// What the line rule keeps of a text: [begin, end) without the leading empty lines and the
// last line's terminator; firstLoneCr is the first CR there that needs an LF, or end.
struct LineSpan {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype firstLoneCr = 0;
};

// A CR at i is lone when no LF follows it in the whole text.
bool isLoneCr(QStringView s, qsizetype i)
{
    return i + 1 == s.size() || s[i + 1] != u'\n';
}

qsizetype nextLoneCr(QStringView s, qsizetype from, qsizetype end)
{
    for (qsizetype i = s.indexOf(u'\r', from); i >= 0 && i < end; i = s.indexOf(u'\r', i + 1)) {
        if (isLoneCr(s, i))
            return i;
    }
    return end;
}

LineSpan lineSpan(QStringView s)
{
    LineSpan span;
    const qsizetype n = s.size();
    qsizetype begin = 0;
    while (begin < n && s[begin] == u'\r') { // leading empty lines
        ++begin;
        if (begin < n && s[begin] == u'\n')
            ++begin;
    }
    qsizetype end = n;
    if (end - begin >= 2 && s[end - 2] == u'\r' && s[end - 1] == u'\n')
        end -= 2;
    else if (end > begin && s[end - 1] == u'\r')
        --end;
    span.begin = begin;
    span.end = end;
    span.firstLoneCr = nextLoneCr(s, begin, end);
    return span;
}

QString joinSpan(QStringView s, const LineSpan &span)
{
    QString text;
    text.reserve(span.end - span.begin + (span.firstLoneCr < span.end ? 16 : 0));
    qsizetype from = span.begin;
    for (qsizetype cr = span.firstLoneCr; cr < span.end; cr = nextLoneCr(s, cr + 1, span.end)) {
        text.append(s.sliced(from, cr + 1 - from));
        text.append(u'\n');
        from = cr + 1;
    }
    text.append(s.sliced(from, span.end - from));
    return text;
}

// The line rule on a text that is not needed afterwards: usually nothing but the ends change,
// and then the text is trimmed in place instead of copied.
QString joinLinesInPlace(QString &&decoded)
{
    const LineSpan span = lineSpan(decoded);
    if (span.firstLoneCr < span.end)
        return joinSpan(decoded, span);
    decoded.truncate(span.end);
    decoded.remove(0, span.begin);
    return std::move(decoded);
}

} // namespace

QString joinLines(QStringView decoded)
{
    const LineSpan span = lineSpan(decoded);
    return joinSpan(decoded, span);
}

ReadResult read(const QString &path)
{
    ReadResult r;
    const QFileInfo info(path);
    if (!info.exists()) {
        r.error = NotFound;
        return r;
    }
    if (info.isDir()) {
        r.error = Folder;
        return r;
    }
    if (!info.isFile()) { // a pipe or device could block or never end
        r.error = NotRegular;
        return r;
    }
    if (info.size() > MaxFileBytes) {
        r.error = TooLarge;
        return r;
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        r.error = errno == ENOENT ? NotFound : reasonFor(errno, CannotRead);
        return r;
    }
    errno = 0;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        r.error = reasonFor(errno, CannotRead);
        return r;
    }
    if (bytes.size() > MaxFileBytes) { // it grew since the check
        r.error = TooLarge;
        return r;
    }
    TextCodec::Decoded decoded = TextCodec::decode(bytes);
    bytes = QByteArray();
    r.text = joinLinesInPlace(std::move(decoded.text));
    r.encoding = decoded.encoding;
    r.ok = true;
    return r;
}

WriteResult write(const QString &path, const QString &text)
{
    WriteResult w;
    const QFileInfo info(path); // follows symlinks, as the save does
    Encoding preferred = Encoding::Cp932;
    if (info.exists()) {
        if (info.isDir()) {
            w.error = Folder;
            return w;
        }
        // QSaveFile would rename a new file over a device node or pipe.
        if (!info.isFile()) {
            w.error = NotRegular;
            return w;
        }
        // QSaveFile asks the system, which lets an administrator replace a read-only file.
        if (!hasWriteBit(info)) {
            w.error = ReadOnly;
            return w;
        }
        if (!info.isWritable()) {
            w.error = AccessDenied;
            return w;
        }
        preferred = existingEncoding(path);
    }
    QByteArray bytes = TextCodec::encodePreferring(text, preferred, &w.encoding);
    bytes += lineEnd(w.encoding);

    // Unbuffered, so that every failure shows in write(): a buffered QSaveFile writes its last
    // bytes in commit() and, when they do not fit on the disk, still replaces the old file.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        w.error = reasonFor(errno, CannotWrite);
        return w;
    }
    errno = 0;
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
        // A write cut short ran out of room; the system says why only for the next one.
        const bool full = written >= 0 || file.error() == QFileDevice::ResourceError;
        w.error = full ? NoSpace : reasonFor(errno, CannotWrite);
        file.cancelWriting();
        return w;
    }
    errno = 0;
    if (!file.commit()) {
        w.error = reasonFor(errno, CannotWrite);
        return w;
    }
    w.ok = true;
    return w;
}

QString readFailureMessage(const ReadResult &result)
{
    const QString first = QStringLiteral("ファイルを開けません");
    return result.error.isEmpty() ? first : first + u'\n' + result.error;
}

QString writeFailureMessage(const QString &path)
{
    return QDir::toNativeSeparators(path) + QStringLiteral(" に書き込めません。");
}

QString writeFailureMessage(const QString &path, const QString &reason)
{
    return reason.isEmpty() ? writeFailureMessage(path) : writeFailureMessage(path) + u'\n' + reason;
}


} // namespace TextFile
