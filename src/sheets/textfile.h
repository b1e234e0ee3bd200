#pragma once

#include "sheets/textcodec.h"

#include <QString>
#include <QStringView>

// The text-file rules shared by sheet files, opened, inserted and dropped files and the
// phrase file: how bytes on disk become the text of the text box and back.
namespace TextFile {

// Files larger than this are refused rather than exhausting memory.
constexpr qint64 MaxFileBytes = qint64(512) * 1024 * 1024;

// The line rule, in one pass: a line ends at CR LF or at a lone CR (a lone LF is an ordinary
// character); empty lines before the first non-empty line are dropped; the remaining lines are
// joined with CR LF, so the terminator of the last line is consumed.
QString joinLines(QStringView decoded);

// Every failure reason below (ReadResult::error, WriteResult::error) is one of these short
// sentences: 読み取り専用です。 ファイルが大きすぎます。 フォルダーです。 ファイルが見つかりません。
// 通常のファイルではありません。 容量が足りません。 アクセスが拒否されました。 and, when nothing
// more precise is known, 読み込めません。 or 書き込めません。

struct ReadResult {
    bool ok = false;
    QString text;                  // after the line rule
    TextCodec::Encoding encoding = TextCodec::Encoding::Cp932;
    QString error;                 // why it failed, for the caller's message; empty when ok
};

// Reads a whole file into memory, decodes it and applies the line rule. Never partial: a
// failure (missing, unreadable, a directory, too large) returns ok == false.
ReadResult read(const QString &path);

struct WriteResult {
    bool ok = false;
    TextCodec::Encoding encoding = TextCodec::Encoding::Cp932;
    QString error;                 // why it failed; empty when ok
};

// Writes text followed by CR LF, atomically (the old file stays intact on any failure).
// Encoding: CP932; an existing file that is UTF-8 or UTF-16 keeps its encoding, with or without
// its BOM (BOM-less UTF-16 gets a BOM when the text holds a character that would leave it
// unrecognisable); a text that CP932 cannot hold is written as UTF-8 with a BOM.
WriteResult write(const QString &path, const QString &text);

// The message shown when a file cannot be read: "ファイルを開けません", and on a second line
// the reason when there is one.
QString readFailureMessage(const ReadResult &result);

// The message shown when a file cannot be written: "<path> に書き込めません。" with the path in
// the platform's form, and on a second line the reason when there is one.
QString writeFailureMessage(const QString &path);
QString writeFailureMessage(const QString &path, const QString &reason);

} // namespace TextFile
