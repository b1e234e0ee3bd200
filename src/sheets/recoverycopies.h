#pragma once

#include "sheets/recoveryjournal.h"
#include "sheets/textfile.h"

#include <QList>
#include <QString>

// Copies of a sheet's unsaved text, so that a crash, a kill or a power cut between two save
// points loses nothing. Sheet n's copy is "q<n>.txt.recovery" beside its sheet file; where the
// program directory cannot take it (read-only, full), it goes to the user's state folder, in a
// folder named from the program directory so that two copies of the program never mix theirs.
// A copy is written as the sheet file would be, so that it reads back as one. Beside it,
// "q<n>.txt.recovery.journal" holds the edits made since (see RecoveryJournal), so that a pause
// in typing writes only what changed.
// Its members may be called from any thread: it holds nothing but paths.
class RecoveryCopies final {
public:
    // stateDir: the user's state folder ($XDG_STATE_HOME); the program's own folder is made under it.
    RecoveryCopies(const QString &programDir, const QString &stateDir);

    // $XDG_STATE_HOME, or ~/.local/state when it is unset or not absolute; %LOCALAPPDATA% on Windows.
    static QString defaultStateDir();
    static QString fileName(int sheet); // "q3.txt.recovery"
    static QString journalPath(const QString &copyPath); // "….recovery.journal"

    QString primaryPath(int sheet) const;
    QString fallbackPath(int sheet) const;
    const QString &fallbackDir() const { return fallbackDir_; }

    struct WriteResult {
        bool ok = false;
        QString path;                 // where the copy went, or the first place tried on failure
        TextCodec::Encoding encoding = TextCodec::Encoding::Cp932;
        QString error;                // why neither place took it
        bool journal = false;         // a journal of no records names the copy
        RecoveryJournal::Base base;   // the copy as its journal names it
    };
    // Writes sheet's copy in the program directory, else in the fallback folder, in the encoding
    // chosen from preferred (the sheet file's own), atomically and flushed, then a journal of no
    // edits beside it. A copy left in the other place is removed, so that only the newest remains.
    // Whenever a kill comes, the copy on disk is the old one with its own journal, or the new
    // one with its own or with one that names another copy and so is never replayed.
    WriteResult write(int sheet, const QString &text, TextCodec::Encoding preferred,
                      const Cp932Variants &variants = {}) const;

    // The sheets that have a copy, in ascending order.
    QList<int> sheets() const;
    // The copy of sheet to read: the newer of the two places; empty when there is none.
    QString path(int sheet) const;
    // The copy with its journal's edits, up to the last whole record that fits the text.
    TextFile::ReadResult read(int sheet) const;
    // Removes sheet's copy and its journal from both places; false when one remains.
    bool remove(int sheet) const;

private:
    QString programDir_;
    QString fallbackDir_;
};
