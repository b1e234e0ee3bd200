#pragma once

#include "sheets/cp932variants.h"
#include "sheets/textcodec.h"

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <optional>

// The text-file rules shared by sheet files, opened, inserted and dropped files and the
// phrase file: how bytes on disk become the text of the text box and back.
namespace TextFile {

using TextCodec::LineEnds;

// What a file is like besides its text: its encoding and its line ends.
struct FileForm {
    TextCodec::Encoding encoding = TextCodec::Encoding::Cp932;
    LineEnds lineEnds = LineEnds::CrLf;
    bool operator==(const FileForm &) const = default;
};

// Files larger than this are refused rather than exhausting memory.
constexpr qint64 MaxFileBytes = qint64(512) * 1024 * 1024;

// The line rule, in one pass. A text that holds LF and no CR at all has LF line ends: each LF
// ends a line. Any other text ends a line at CR LF or at a lone CR, and a lone LF is an ordinary
// character. Then empty lines before the first non-empty line are dropped and the remaining
// lines are joined with CR LF, so the terminator of the last line is consumed. Sets *ends to
// the line ends found: Cr for a text that holds CR and no LF.
QString joinLines(QStringView decoded, LineEnds *ends = nullptr);

// Every failure reason below (ReadResult::error, WriteResult::error) is one of these short
// sentences: 読み取り専用です。 ファイルが大きすぎます。 フォルダーです。 ファイルが見つかりません。
// 通常のファイルではありません。 容量が足りません。 アクセスが拒否されました。 and, when nothing
// more precise is known, 読み込めません。 or 書き込めません。

// A file as it was on disk when the program read or wrote it, to tell whether another program
// changed it since: its size and modification time. (Not its status-change time: a change of
// mode alone, a read-only flag taken off, changes no text.) A default stamp is unknown.
struct DiskStamp {
    bool known = false;
    bool exists = false;
    qint64 size = 0;
    QDateTime modified;
    bool operator==(const DiskStamp &) const = default;
};
DiskStamp stampOf(const QString &path);
// Whether the file at path is no longer as stamp saw it; never for an unknown stamp.
bool changedSince(const QString &path, const DiskStamp &stamp);

struct ReadResult {
    bool ok = false;
    QString text;                  // after the line rule
    TextCodec::Encoding encoding = TextCodec::Encoding::Cp932;
    LineEnds lineEnds = LineEnds::CrLf;
    Cp932Variants variants;        // a CP932 file's second codes, for writing it back
    bool binary = false;           // NUL bytes near its start, and it is not UTF-16: not a text
    DiskStamp stamp;               // the file as it was just before it was read
    QString error;                 // why it failed, for the caller's message; empty when ok
};

// Reads a whole file into memory, decodes it and applies the line rule. Never partial: a
// failure (missing, unreadable, a directory, too large) returns ok == false. With forced, the
// bytes are decoded in that encoding instead of the detected one (the user's choice when
// detection guessed wrong); bytes it cannot decode are kept all the same.
ReadResult read(const QString &path, std::optional<TextCodec::Encoding> forced = {});

// Whether writing over an existing file keeps its line ends.
enum class LineEndPolicy {
    KeepExisting, // an existing file with LF line ends (LF and no CR) keeps LF, one with CR line
                  // ends (CR and no LF) keeps CR; others get CR LF
    CrLf,         // always CR LF, as the sheet files are
};

struct WriteResult {
    bool ok = false;
    TextCodec::Encoding encoding = TextCodec::Encoding::Cp932;
    TextCodec::Encoding asked = TextCodec::Encoding::Cp932; // before a fall-back to another
    LineEnds lineEnds = LineEnds::CrLf;
    QString error;                 // why it failed; empty when ok
};

// Writes text followed by a line end, atomically (the old file stays intact on any failure).
// Encoding: CP932; an existing file keeps the encoding it is detected in (UTF-8, UTF-16, EUC-JP,
// ISO-2022-JP), with or without its BOM (BOM-less UTF-16 gets a BOM when the text would leave
// it unrecognisable); a text that CP932, EUC-JP or ISO-2022-JP cannot hold is written as UTF-8
// with a BOM, and so is one whose bytes, written without a BOM, would read back in another
// encoding as other characters. So a file read without a forced encoding and written back
// unchanged keeps its bytes; a file read in a forced encoding is written back with writeIn.
// Line ends: CR LF, except that with KeepExisting an existing file whose line ends are LF (it
// holds LF and no CR, counted in its own encoding) is written with each CR LF of the text as LF
// and a final LF, and one whose line ends are CR (CR and no LF) likewise with CR. Lone CRs and
// LFs of the text are written as they are.
// CP932 characters with two codes are written with the codes variants remembers (those of the
// file the text was read from), others with the converter's.
// Who may read a file that a write creates; a file that exists keeps its own mode either way.
enum class NewFileAccess {
    Default,   // as the user's umask says, as for a file saved anywhere
    OwnerOnly, // 0600: the program's own files (sheets, phrases, recovery copies) may be private
};
WriteResult write(const QString &path, const QString &text,
                  LineEndPolicy policy = LineEndPolicy::KeepExisting, const Cp932Variants &variants = {},
                  NewFileAccess access = NewFileAccess::Default);

// About how many characters of text a piece holds: small beside a large text, large beside the
// cost of one write.
constexpr qsizetype PieceChars = qsizetype(1) << 20;

// A text handed to write() a piece at a time, so that a large one need not be built whole:
// every piece but the last ends with a line feed, so that no CR LF pair is cut.
class TextPieces {
public:
    virtual ~TextPieces() = default;
    // Starts again from the first piece (a write that changes its encoding starts over).
    virtual void rewind() = 0;
    // The next piece; false at the end. A text holds at least one piece, an empty one too.
    virtual bool next(QString &piece) = 0;
};
WriteResult write(const QString &path, TextPieces &text, LineEndPolicy policy = LineEndPolicy::KeepExisting,
                  const Cp932Variants &variants = {}, NewFileAccess access = NewFileAccess::Default);

// Writes text followed by a line end in encoding with ends, atomically, whatever is at path
// now (the user's choice on saving). A text that does not fit encoding, or whose bytes would
// read back as other characters, is written as write() writes it then (WriteResult::encoding
// tells which); path's checks and failures as for write().
WriteResult writeIn(const QString &path, const QString &text, TextCodec::Encoding encoding, LineEnds ends,
                    const Cp932Variants &variants = {});

// The encoding write() starts from for path: that of the existing file, CP932 when there is none.
TextCodec::Encoding preferredEncoding(const QString &path);
// The encoding and line ends of an existing file as its first megabyte shows them, for the
// status bar (a write looks further); CP932 with CR LF when there is none.
FileForm formOf(const QString &path);

// Writes text followed by CR LF, atomically, in preferred as encodePreferring chooses from it,
// whatever is at path now: for a copy that must read back as the file it stands for. A new
// copy is the user's alone, as the file it stands for may be private.
WriteResult writeAs(const QString &path, const QString &text, TextCodec::Encoding preferred,
                    const Cp932Variants &variants = {});

// The message shown when a file cannot be read: "ファイルを開けません", and on a second line
// the reason when there is one.
QString readFailureMessage(const ReadResult &result);

// The message shown when a file cannot be written: "<path> に書き込めません。" with the path in
// the platform's form, and on a second line the reason when there is one.
QString writeFailureMessage(const QString &path);
QString writeFailureMessage(const QString &path, const QString &reason);

} // namespace TextFile
