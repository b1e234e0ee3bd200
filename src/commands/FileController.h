#pragma once

#include "sheets/textfile.h"

#include <QKeySequence>
#include <QList>
#include <QObject>

#include <functional>
#include <optional>

class CommonDialog;
class QAction;
class QFileSystemWatcher;
class SheetSession;
class WindowHost;

// The File menu and the sheet files behind it: a sheet's own file is loaded when the sheet is
// shown and saved when it is left; outside files are opened into the sheet, inserted at the
// caret or written by the save commands. Reads and writes show the hourglass; a failure is
// reported ("ファイルを開けません", "<path> に書き込めません。") and changes nothing. A file that
// another program changed is never written over unseen: the current sheet's own file is read
// again while the sheet has no unsaved changes and kept beside it when both changed; Ctrl+S asks
// before it writes over such an opened file, or one that is no text. A file can be read again
// in an encoding the user names, and the save commands write in the encoding and line ends the
// user picks.
class FileController final : public QObject {
    Q_OBJECT
public:
    // Asks for the form a save writes in, starting from form; false when the user cancels.
    using FormChooser = std::function<bool(QWidget *parent, TextFile::FileForm &form)>;

    // commonDialog: the open and save dialogs; none chooses nothing.
    FileController(WindowHost &host, SheetSession &sheets, CommonDialog *commonDialog, QObject *parent = nullptr);

    QAction *newAction() const { return newAction_; }
    QAction *openAction() const { return openAction_; }
    QAction *insertFileAction() const { return insertFileAction_; }
    QAction *saveToOpenedFileAction() const { return saveToOpenedFileAction_; }
    QAction *saveAsAction() const { return saveAsAction_; }
    QAction *saveSelectionAction() const { return saveSelectionAction_; }
    QAction *exitWithoutSavingAction() const { return exitWithoutSavingAction_; }
    QAction *exitAction() const { return exitAction_; }
    // The items of 文字コードを指定して開き直す: detection first, then each encoding.
    const QList<QAction *> &reopenActions() const { return reopenActions_; }
    // Whether there is a file to read again: the opened file Ctrl+S writes to, or the sheet's own.
    bool canReopen() const;
    // Replaces the dialog that asks for a save's form (the window's own by default).
    void setFormChooser(FormChooser chooser) { chooseForm_ = std::move(chooser); }

    // Writes the current sheet's text to its own file when it changed; false (reported unless
    // told not to) when the file could not take it, the text and its flag left as they were.
    // When the file changed on disk too, its version is first copied to a dated file beside it.
    bool saveSheet(bool reportFailure = true);
    // Shows the current sheet's own file; one that cannot be read leaves the sheet empty and
    // showing no file.
    void loadSheet();
    // Opens an outside file into the current sheet as its opened file; a file that cannot be
    // read is reported and leaves the sheet as it was, its opened file included.
    bool openIntoSheet(const QString &path);
    // Reads a file beside the window, reporting a failure.
    TextFile::ReadResult readFile(const QString &path, std::optional<TextCodec::Encoding> forced = {});
    // A file's text read into the current sheet: its text, its second CP932 codes, and a change
    // that the sheet's own file takes at the next save point.
    void takeFileText(const TextFile::ReadResult &result);

signals:
    // The current sheet's own file got its text.
    void sheetSaved(const TextFile::WriteResult &written);
    // The current sheet is shown from its own file, read or not.
    void sheetLoaded();
    void exitRequested();
    // The current sheet's changes since its last save point are to be dropped.
    void exitWithoutSavingRequested();

private:
    QAction *addAction(const char *name, const QString &caption, void (FileController::*handler)(),
                       const QKeySequence &shortcut = {});
    void onNew();
    void onOpen();
    void onInsertFile();
    void onSaveToOpenedFile();
    void onSaveAs();
    void onSaveSelection();
    void reopen(std::optional<TextCodec::Encoding> encoding);
    bool chooseFile(bool save, QString &path);
    bool chooseSaveForm(TextFile::FileForm &form);
    // The form written on success. With a form, in that one; without, as the file on disk has it.
    std::optional<TextFile::FileForm> writeFile(const QString &path, const QString &text,
                                                const std::optional<TextFile::FileForm> &form = {});
    bool reportWrite(const QString &path, const TextFile::WriteResult &result, bool reportFailure);
    void showSheetText(const TextFile::ReadResult &result);
    void tellIfBinary(const TextFile::ReadResult &result, const QString &path);
    void watchSheetFile();
    void onSheetFileChanged();
    bool keepSheetFileAside(const QString &path, bool reportFailure);

    WindowHost &host_;
    SheetSession &sheets_;
    CommonDialog *commonDialog_;
    QAction *newAction_, *openAction_, *insertFileAction_, *saveToOpenedFileAction_, *saveAsAction_,
        *saveSelectionAction_, *exitWithoutSavingAction_, *exitAction_;
    QList<QAction *> reopenActions_;
    FormChooser chooseForm_;
    QFileSystemWatcher *sheetWatcher_;
    TextFile::DiskStamp sheetStamp_; // the current sheet's own file as the sheet last read or wrote it
};
