#include "sheets/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

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

bool isUtf16(Encoding encoding)
{
    return encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be || encoding == Encoding::Utf16LeNoBom
        || encoding == Encoding::Utf16BeNoBom;
}

// Notes whether a piece of a file holds CR and LF characters. In a UTF-16 file they are whole
// code units (a piece starts at an even offset; 」 is 0D 30 in UTF-16LE); in any other file the
// bytes 0D and 0A are always those characters.
void scanLineEnds(QByteArrayView piece, Encoding encoding, bool *cr, bool *lf)
{
    if (!isUtf16(encoding)) {
        *cr = *cr || piece.contains('\r');
        *lf = *lf || piece.contains('\n');
        return;
    }
    const auto *p = reinterpret_cast<const uchar *>(piece.data());
    const int high = encoding == Encoding::Utf16Be || encoding == Encoding::Utf16BeNoBom ? 0 : 1;
    for (qsizetype i = 0; i + 1 < piece.size(); i += 2) {
        if (p[i + high] == 0) {
            *cr = *cr || p[i + 1 - high] == '\r';
            *lf = *lf || p[i + 1 - high] == '\n';
        }
    }
}

// How an existing file is written over: its detected encoding and, when asked for, its line
// ends. Read in pieces and only as far as needed: a CP932 file with CR LF usually shows both in
// its first piece; LF or CR line ends take the whole file. A glance reads the first piece only.
FileForm existingForm(const QString &path, bool wantLineEnds, bool glance = false)
{
    FileForm form;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return form;
    constexpr qint64 Piece = 1 << 20; // even, and every piece but the last is whole
    QByteArray buffer(Piece, Qt::Uninitialized);
    TextCodec::Detector detector;
    Encoding opening = Encoding::Cp932; // as the first piece shows it, with any BOM
    bool cr = false;
    bool lf = false;
    for (bool first = true;; first = false) {
        const qint64 got = readFully(file, buffer.data(), Piece);
        const QByteArrayView piece(buffer.constData(), got);
        detector.feed(piece);
        if (first)
            opening = detector.encoding();
        if (wantLineEnds && !(cr && lf))
            scanLineEnds(piece, opening, &cr, &lf);
        if (got < Piece || glance || (detector.settled() && ((cr && lf) || !wantLineEnds)))
            break;
    }
    form.encoding = detector.encoding();
    form.lineEnds = lf && !cr ? LineEnds::Lf : cr && !lf ? LineEnds::Cr : LineEnds::CrLf;
    return form;
}

QByteArray lineEnd(Encoding encoding, LineEnds ends)
{
    const QByteArray ascii = ends == LineEnds::Lf ? "\n" : ends == LineEnds::Cr ? "\r" : "\r\n";
    const bool le = encoding == Encoding::Utf16Le || encoding == Encoding::Utf16LeNoBom;
    const bool be = encoding == Encoding::Utf16Be || encoding == Encoding::Utf16BeNoBom;
    if (!le && !be)
        return ascii;
    QByteArray units;
    for (const char c : ascii)
        units.append(le ? c : '\0').append(le ? '\0' : c);
    return units;
}

// Whether bytes written without a byte-order mark would be read back in another encoding, and
// so as other characters. Dropped leading empty lines, a text that lost its last multi-byte
// character, raw bytes or NUL characters can make a text look like another encoding: U+FEFF
// at the start looks like a BOM, NUL in every other byte like UTF-16, CP932 half-width kana like
// UTF-8. ASCII written as UTF-8 reads back as CP932 with the same characters. read: the bytes
// fed to a detector; validUtf8: whether they are all well-formed UTF-8.
bool readsBackOtherwise(const TextCodec::Detector &read, bool validUtf8, Encoding written)
{
    if (written == Encoding::Utf8Bom || written == Encoding::Utf16Le || written == Encoding::Utf16Be)
        return false;
    if (written != Encoding::Cp932 && !isUtf16(written) && read.encoding() == Encoding::Cp932)
        return !validUtf8; // ASCII is the same
    return read.encoding() != written;
}

bool hasWriteBit(const QFileInfo &info)
{
    return info.permissions()
            & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
}

// What the line rule keeps of a text: [begin, end) without the leading empty lines and the
// last line's terminator. With CR LF or CR ends, firstLoneCr is the first CR there that needs
// an LF, or end; with LF ends, lfCount is the number of LFs there, each to become CR LF.
struct LineSpan {
    qsizetype begin = 0;
    qsizetype end = 0;
    LineEnds ends = LineEnds::CrLf;
    qsizetype firstLoneCr = 0;
    qsizetype lfCount = 0;
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

// The number of LFs in a text without CR, or -1 when it holds a CR. One pass, in blocks the
// compiler can vectorise; a text with CR LF ends stops in its first block.
qsizetype lfCountWithoutCr(QStringView s)
{
    const char16_t *const p = s.utf16();
    const qsizetype n = s.size();
    qsizetype lfs = 0;
    for (qsizetype at = 0; at < n;) {
        const qsizetype stop = std::min<qsizetype>(n, at + 4096);
        qsizetype crs = 0;
        for (; at < stop; ++at) {
            crs += p[at] == u'\r';
            lfs += p[at] == u'\n';
        }
        if (crs > 0)
            return -1;
    }
    return lfs;
}

LineSpan lineSpan(QStringView s)
{
    LineSpan span;
    const qsizetype n = s.size();
    const qsizetype lfs = lfCountWithoutCr(s);
    if (lfs > 0) {
        span.ends = LineEnds::Lf;
        while (span.begin < n && s[span.begin] == u'\n')
            ++span.begin;
        span.end = span.begin < n && s[n - 1] == u'\n' ? n - 1 : n;
        span.lfCount = lfs - span.begin - (n - span.end);
        return span;
    }
    const qsizetype firstCr = lfs < 0 ? s.indexOf(u'\r') : -1;
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
    span.firstLoneCr = firstCr < 0 ? end : nextLoneCr(s, std::max(begin, firstCr), end);
    if (firstCr >= 0 && !s.contains(u'\n'))
        span.ends = LineEnds::Cr;
    return span;
}

QString joinSpan(QStringView s, const LineSpan &span)
{
    QString text;
    if (span.ends == LineEnds::Lf) {
        text.reserve(span.end - span.begin + span.lfCount);
        qsizetype from = span.begin;
        for (qsizetype lf = s.indexOf(u'\n', from); lf >= 0 && lf < span.end; lf = s.indexOf(u'\n', from)) {
            text.append(s.sliced(from, lf - from));
            text.append(u"\r\n");
            from = lf + 1;
        }
        text.append(s.sliced(from, span.end - from));
        return text;
    }
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

// Makes each LF of a trimmed text CR LF within the text's own buffer, working from the back so
// that nothing is overwritten before it has moved: a large file needs no second copy. The LFs
// are found a block at a time by the library's vectorised forward search.
void expandLfInPlace(QString &text, qsizetype lfCount)
{
    qsizetype from = text.size(); // what lies before from is still where it was read
    qsizetype to = from + lfCount;
    text.resize(to);
    char16_t *const p = reinterpret_cast<char16_t *>(text.data());
    constexpr qsizetype Block = qsizetype(1) << 16;
    std::vector<qsizetype> lfs;
    for (qsizetype searched = from; to > from && searched > 0;) {
        const qsizetype start = std::max<qsizetype>(0, searched - Block);
        const QStringView block(p + start, searched - start);
        lfs.clear();
        for (qsizetype i = block.indexOf(u'\n'); i >= 0; i = block.indexOf(u'\n', i + 1))
            lfs.push_back(start + i);
        for (auto lf = lfs.crbegin(); lf != lfs.crend(); ++lf) {
            const qsizetype run = from - *lf - 1;
            to -= run;
            std::memmove(p + to, p + *lf + 1, size_t(run) * sizeof(char16_t));
            p[--to] = u'\n';
            p[--to] = u'\r';
            from = *lf;
        }
        searched = start;
    }
}

// The line rule on a text that is not needed afterwards: usually nothing but the ends change,
// and then the text is trimmed in place instead of copied.
QString joinLinesInPlace(QString &&decoded, LineEnds *ends)
{
    const LineSpan span = lineSpan(decoded);
    *ends = span.ends;
    if (span.ends != LineEnds::Lf && span.firstLoneCr < span.end)
        return joinSpan(decoded, span);
    decoded.truncate(span.end);
    decoded.remove(0, span.begin);
    if (span.lfCount > 0)
        expandLfInPlace(decoded, span.lfCount);
    return std::move(decoded);
}

// A whole text in pieces of about PieceChars, each ending after a line feed (so that no CR LF
// pair, surrogate pair or raw-byte run is cut), so that its encoded bytes are never held whole
// beside it.
class StringPieces final : public TextPieces {
public:
    explicit StringPieces(const QString &text) : text_(text) {}
    void rewind() override { from_ = 0; }
    bool next(QString &piece) override
    {
        if (from_ > 0 && from_ >= text_.size())
            return false;
        qsizetype to = text_.size();
        if (to - from_ > PieceChars) {
            const qsizetype lf = text_.indexOf(u'\n', from_ + PieceChars - 1);
            to = lf < 0 ? text_.size() : lf + 1;
        }
        piece = text_.mid(from_, to - from_);
        from_ = to == 0 ? 1 : to; // an empty text is one empty piece
        return true;
    }

private:
    const QString &text_;
    qsizetype from_ = 0;
};

// What encoding becomes when a piece cannot be written in it: the whole text starts again.
Encoding fallbackFor(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Cp932:
    case Encoding::EucJp:
    case Encoding::Iso2022Jp:
        return Encoding::Utf8Bom;
    case Encoding::Utf16LeNoBom:
        return Encoding::Utf16Le;
    case Encoding::Utf16BeNoBom:
        return Encoding::Utf16Be;
    default:
        return encoding;
    }
}

// The bytes of one piece of a text written in encoding, its BOM with the first piece only;
// nothing when the piece holds what encoding cannot (see fallbackFor).
std::optional<QByteArray> encodePiece(const QString &piece, Encoding encoding, bool first, LineEnds ends,
                                      const Cp932Variants &variants)
{
    if (fallbackFor(encoding) != encoding) {
        Encoding used = encoding;
        QByteArray bytes = TextCodec::encodePreferring(piece, encoding, &used, ends, &variants);
        if (used != encoding)
            return std::nullopt;
        return bytes;
    }
    if (!first && encoding == Encoding::Utf8Bom)
        encoding = Encoding::Utf8;
    else if (!first && encoding == Encoding::Utf16Le)
        encoding = Encoding::Utf16LeNoBom;
    else if (!first && encoding == Encoding::Utf16Be)
        encoding = Encoding::Utf16BeNoBom;
    return TextCodec::encode(piece, encoding, ends);
}

enum class Pass { Written, Fallback, ReadsBackOtherwise, Failed };

// One attempt at writing text in encoding into file, piece by piece, with the closing line end.
Pass writePieces(QSaveFile &file, TextPieces &text, Encoding encoding, LineEnds ends,
                 const Cp932Variants &variants, QString *error)
{
    TextCodec::Detector detector;
    bool validUtf8 = true;
    const auto put = [&](const QByteArray &bytes) {
        detector.feed(bytes);
        // Pieces end at a line feed, so no UTF-8 sequence spans two of them.
        validUtf8 = validUtf8 && TextCodec::utf8ValidPrefix(bytes, nullptr) == bytes.size();
        errno = 0;
        const qint64 written = file.write(bytes);
        if (written == bytes.size())
            return true;
        // A write cut short ran out of room; the system says why only for the next one.
        const bool full = written >= 0 || file.error() == QFileDevice::ResourceError;
        *error = full ? NoSpace : reasonFor(errno, CannotWrite);
        return false;
    };
    text.rewind();
    QString piece;
    for (bool first = true; text.next(piece); first = false) { // the first piece has the BOM
        const std::optional<QByteArray> bytes = encodePiece(piece, encoding, first, ends, variants);
        if (!bytes)
            return Pass::Fallback;
        if (!put(*bytes))
            return Pass::Failed;
    }
    if (!put(lineEnd(encoding, ends)))
        return Pass::Failed;
    return readsBackOtherwise(detector, validUtf8, encoding) ? Pass::ReadsBackOtherwise : Pass::Written;
}

// The text in the encoding chosen from preferred, written atomically.
WriteResult writeEncoded(const QString &path, TextPieces &text, Encoding preferred, LineEnds ends,
                         const Cp932Variants &variants, NewFileAccess access)
{
    // QSaveFile gives a file it replaces that file's mode, and a new one the umask's.
    const bool ownerOnly = access == NewFileAccess::OwnerOnly && !QFileInfo::exists(path);
    WriteResult w;
    w.lineEnds = ends;
    w.encoding = w.asked = preferred;
    for (;;) {
        // Unbuffered, so that every failure shows in write(): a buffered QSaveFile writes its
        // last bytes in commit() and, when they do not fit on the disk, still replaces the old file.
        QSaveFile file(path);
        errno = 0;
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            w.error = reasonFor(errno, CannotWrite);
            return w;
        }
        // Before any text is in it.
        if (ownerOnly && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
            file.cancelWriting();
            w.error = CannotWrite;
            return w;
        }
        switch (writePieces(file, text, w.encoding, ends, variants, &w.error)) {
        case Pass::Failed:
            file.cancelWriting();
            return w;
        case Pass::Fallback:
            file.cancelWriting();
            w.encoding = fallbackFor(w.encoding);
            continue;
        case Pass::ReadsBackOtherwise:
            // Such a text is written with a BOM (UTF-16 keeps its order), which reads back as it is.
            file.cancelWriting();
            if (const Encoding withBom = fallbackFor(w.encoding); isUtf16(withBom))
                w.encoding = withBom;
            else
                w.encoding = Encoding::Utf8Bom;
            continue;
        case Pass::Written:
            break;
        }
        errno = 0;
        if (!file.commit()) {
            w.error = reasonFor(errno, CannotWrite);
            return w;
        }
        w.ok = true;
        return w;
    }
}

} // namespace

DiskStamp stampOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {true, false, 0, {}};
    return {true, true, info.size(), info.lastModified()};
}

bool changedSince(const QString &path, const DiskStamp &stamp)
{
    return stamp.known && stampOf(path) != stamp;
}

QString joinLines(QStringView decoded, LineEnds *ends)
{
    const LineSpan span = lineSpan(decoded);
    if (ends)
        *ends = span.ends;
    return joinSpan(decoded, span);
}

ReadResult read(const QString &path, std::optional<Encoding> forced)
{
    ReadResult r;
    r.stamp = stampOf(path);
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
    TextCodec::Decoded decoded;
    if (forced)
        decoded = {TextCodec::decodeAs(bytes, *forced), *forced};
    else
        decoded = TextCodec::decode(bytes);
    // In UTF-16 half the bytes of ASCII text are NUL; elsewhere NUL is no character of a text.
    r.binary = !isUtf16(decoded.encoding) && QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), 8192)).contains('\0');
    if (decoded.encoding == Encoding::Cp932)
        r.variants = Cp932Variants::scan(bytes);
    bytes = QByteArray();
    r.text = joinLinesInPlace(std::move(decoded.text), &r.lineEnds);
    r.encoding = decoded.encoding;
    r.ok = true;
    return r;
}

WriteResult write(const QString &path, const QString &text, LineEndPolicy policy, const Cp932Variants &variants,
                  NewFileAccess access)
{
    StringPieces pieces(text);
    return write(path, pieces, policy, variants, access);
}

namespace {

// Why a file at path cannot be written over, or nothing when it can (or does not exist).
QString writeOverError(const QFileInfo &info)
{
    if (!info.exists())
        return {};
    if (info.isDir())
        return Folder;
    // QSaveFile would rename a new file over a device node or pipe.
    if (!info.isFile())
        return NotRegular;
    // QSaveFile asks the system, which lets an administrator replace a read-only file.
    if (!hasWriteBit(info))
        return ReadOnly;
    if (!info.isWritable())
        return AccessDenied;
    return {};
}

} // namespace

WriteResult write(const QString &path, TextPieces &text, LineEndPolicy policy, const Cp932Variants &variants,
                  NewFileAccess access)
{
    WriteResult w;
    const QFileInfo info(path); // follows symlinks, as the save does
    w.error = writeOverError(info);
    if (!w.error.isEmpty())
        return w;
    FileForm form;
    if (info.exists())
        form = existingForm(path, policy == LineEndPolicy::KeepExisting);
    return writeEncoded(path, text, form.encoding, form.lineEnds, variants, access);
}

WriteResult writeIn(const QString &path, const QString &text, Encoding encoding, LineEnds ends,
                    const Cp932Variants &variants)
{
    WriteResult w;
    w.error = writeOverError(QFileInfo(path));
    if (!w.error.isEmpty())
        return w;
    StringPieces pieces(text);
    return writeEncoded(path, pieces, encoding, ends, variants, NewFileAccess::Default);
}

Encoding preferredEncoding(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() ? existingForm(path, false).encoding : Encoding::Cp932;
}

FileForm formOf(const QString &path)
{
    return QFileInfo(path).isFile() ? existingForm(path, true, true) : FileForm{};
}

WriteResult writeAs(const QString &path, const QString &text, Encoding preferred, const Cp932Variants &variants)
{
    StringPieces pieces(text);
    return writeEncoded(path, pieces, preferred, LineEnds::CrLf, variants, NewFileAccess::OwnerOnly);
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
