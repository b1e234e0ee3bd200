#pragma once

#include "sheets/textfile.h"

#include <QObject>
#include <QString>
#include <array>
#include <optional>

// The seven sheets and their files: which sheet is current, the file each sheet has opened (the
// one Ctrl+S writes to), whether the current sheet's text changed since its file got it, and the
// whole-text undo snapshot of the last rewrite. It knows no widget: the window hands it the text
// and formats its captions from it.
class SheetSession final : public QObject {
    Q_OBJECT
public:
    static constexpr int SheetCount = 7;

    explicit SheetSession(QString programDir, QObject *parent = nullptr);

    const QString &programDir() const { return programDir_; }
    // A file name relative to the program directory made absolute; an absolute one unchanged.
    QString resolve(const QString &name) const;
    static QString sheetFileName(int sheet);  // "q3.txt"
    QString sheetFilePath(int sheet) const;

    int currentSheet() const { return current_; }
    // A change of sheet drops the undo snapshot: a snapshot of one sheet must never be restored
    // into another.
    void setCurrentSheet(int sheet);
    // "q7 Zibo q3": the window's caption for the sheet, and how the settings keep it.
    static QString caption(int sheet);
    QString caption() const { return caption(current_); }
    // A caption stored at the last exit counts only when it names one of the seven sheets.
    void takeStoredCaption(const QString &stored);

    // Whether the current sheet's text differs from what its file received.
    bool changed() const { return changed_; }
    void setChanged(bool changed) { changed_ = changed; }

    // The file opened into a sheet (full path, empty when none).
    const QString &openedFile(int sheet) const { return files(sheet).opened; }
    void setOpenedFile(int sheet, const QString &path);
    // What a sheet's opened file was like on disk when the sheet read or last wrote it (unknown
    // for one only named by the settings), and whether it is no text at all. A new opened file
    // starts unknown.
    const TextFile::DiskStamp &openedStamp(int sheet) const { return files(sheet).openedStamp; }
    bool openedIsBinary(int sheet) const { return files(sheet).openedBinary; }
    void setOpenedState(int sheet, const TextFile::DiskStamp &stamp, bool binary);
    // Where Ctrl+S writes: the current sheet's opened file, unless its own file could not be
    // read since, which leaves the sheet showing no file. Empty when there is none.
    QString saveTarget() const;
    // The current sheet's file could not be read: until the sheet or its opened file changes,
    // nothing is shown as its file and Ctrl+S has no target. The opened file stays stored.
    void detachSaveTarget();

    // The whole text from just before the last rewrite of the current sheet; empty: none.
    const QString &undoSnapshot() const { return undoSnapshot_; }
    void setUndoSnapshot(const QString &text);

    // The CP932 codes of the file each sheet's text was read from, so that writing the text
    // back changes no code the user did not touch. Empty for a new text.
    const Cp932Variants &variants(int sheet) const { return files(sheet).variants; }
    void setVariants(int sheet, const Cp932Variants &variants) { files(sheet).variants = variants; }

    // The form of a sheet's opened file as the sheet last read or wrote it; none while unknown
    // (a file only named by the settings) and for a new opened file. A chosen form is the user's
    // (a reopen in a named encoding, a save in a chosen form): Ctrl+S writes in it rather than
    // in the form the file on disk has then.
    const std::optional<TextFile::FileForm> &openedForm(int sheet) const { return files(sheet).openedForm; }
    bool openedFormChosen(int sheet) const { return files(sheet).openedFormChosen; }
    void setOpenedForm(int sheet, const std::optional<TextFile::FileForm> &form, bool chosen = false);
    // The form of a sheet's own file as the sheet last read or wrote it.
    void setOwnForm(int sheet, const TextFile::FileForm &form);
    // The form the current sheet's text stands in, for the status bar: its opened file's when
    // known and Ctrl+S writes there, else its own file's.
    TextFile::FileForm shownForm() const;

    // Writes text to the current sheet's own file; sheet files always have CR LF line ends.
    TextFile::WriteResult writeSheet(const QString &text) const;
    TextFile::WriteResult writeSheet(TextFile::TextPieces &text) const;

signals:
    void currentSheetChanged(int sheet);
    // The save target or what the window shows as the sheet's file may differ now.
    void saveTargetChanged();
    void undoSnapshotChanged();
    // shownForm() may differ now.
    void shownFormChanged();

private:
    QString programDir_;
    int current_ = 1;
    bool changed_ = false;
    bool targetDetached_ = false;
    QString undoSnapshot_;
    // What the session knows of one sheet's files: its opened file and its own.
    struct SheetFiles {
        QString opened;
        TextFile::DiskStamp openedStamp;
        bool openedBinary = false;
        std::optional<TextFile::FileForm> openedForm;
        bool openedFormChosen = false;
        TextFile::FileForm ownForm;
        Cp932Variants variants;
    };
    std::array<SheetFiles, SheetCount> files_;
    SheetFiles &files(int sheet) { return files_.at(sheet - 1); }
    const SheetFiles &files(int sheet) const { return files_.at(sheet - 1); }
};
