#pragma once

#include "sheets/SheetSession.h"
#include "sheets/recoverywriter.h"

#include <QObject>
#include <QString>
#include <array>
#include <optional>

class QTimer;
class WindowHost;

// Recovery copies of unsaved text: written once typing pauses, offered back at the next start,
// removed when the sheet's file gets the text. After the first, a pause appends only what
// changed since the last one to the copy's journal: the document's changes are gathered into
// one stretch, which costs the same however long the text is. The same check finds the encoding the sheet will
// be written in, which the window shows as a tip and the status bar tells when Shift_JIS no
// longer holds the text.
class RecoveryController final : public QObject {
    Q_OBJECT
public:
    // stateDir: the user's state folder, empty for the platform's; idleDelayMs: the pause in
    // typing after which the copy is written.
    RecoveryController(WindowHost &host, SheetSession &sheets, const QString &programDir, const QString &stateDir,
                       int idleDelayMs, QObject *parent = nullptr);

    // At start-up, before the current sheet is read: asks whether the copies left by the last
    // run go into their sheet files. A copy whose file cannot take it stays until the file does,
    // and its text waits for its sheet to be shown.
    void restore();
    // The current sheet was read from its file: a restored text its file could not take
    // replaces it, as unsaved text.
    void sheetShown();
    // The text of the current sheet changed: the check waits for the next pause.
    void textChanged();
    // The current sheet's file got its text: its copy has nothing more to keep.
    void sheetSaved(const TextFile::WriteResult &written);
    // The end of the program: the current sheet's copy goes, or is written a last time when
    // nothing else can keep the text. Nothing is checked afterwards.
    void end(bool keepCopy);

signals:
    // The tip that names the encodings of the current sheet and its opened file: after each
    // check of the sheet (the same tip again included), and empty once another sheet is shown.
    void encodingTipChanged(const QString &tip);

private:
    void onIdle();
    void onContentsChange(int position, int removed, int added);
    // The pause's edit for the current sheet's journal; nothing when only the whole text will do.
    std::optional<RecoveryJournal::Record> journalEdit(int sheet);
    void check(int sheet, bool writeCopy);
    void onChecked(const RecoveryWriter::Result &result);
    void tellBeyondCp932(int sheet, bool beyondCp932);

    WindowHost &host_;
    SheetSession &sheets_;
    RecoveryWriter writer_;
    QTimer *idleTimer_;
    bool ended_ = false;
    bool asking_ = false;  // the start-up question is open
    bool failureTold_ = false;                   // a failed copy is told once, until one succeeds
    std::array<bool, SheetSession::SheetCount> beyondCp932Told_{}; // per sheet: "Shift_JIS cannot hold this" was said
    std::optional<RecoveryWriter::Result> last_; // the latest check of the current sheet
    std::array<std::optional<TextFile::ReadResult>, SheetSession::SheetCount> unwritten_; // restored, not in its file
    // Where the current sheet's copy and its journal stand, as far as the jobs asked for go.
    struct Journal {
        int sheet = 0;              // whose copy the journal continues; 0 for none
        qsizetype length = 0;       // the text's length after the last edit asked for
        qint64 size = 0;            // the journal's size then
        int records = 0;
        std::optional<std::pair<int, int>> changed; // the document's stretch changed since, ends in the document now
    } journal_;
};
