#include "commands/FileController.h"

#include "editor/CommandAction.h"
#include "editor/TextBox.h"
#include "editor/WindowHost.h"
#include "platform/commondialog.h"
#include "platform/dialogs.h"
#include "sheets/SheetSession.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

namespace {

// The hourglass while a file is read or written.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

FileController::FileController(WindowHost &host, SheetSession &sheets, CommonDialog *commonDialog, QObject *parent)
    : QObject(parent)
    , host_(host)
    , sheets_(sheets)
    , commonDialog_(commonDialog)
{
    newAction_ = addAction("newAction", QStringLiteral("新規作成(&N)"), &FileController::onNew, QKeySequence(Qt::CTRL | Qt::Key_N));
    openAction_ = addAction("openAction", QStringLiteral("開く(&O)"), &FileController::onOpen, QKeySequence(Qt::CTRL | Qt::Key_O));
    insertFileAction_ = addAction("insertFileAction", QStringLiteral("ｶｰｿﾙ位置に読み込み(&I)"), &FileController::onInsertFile);
    saveToOpenedFileAction_ = addAction("saveToOpenedFileAction", QStringLiteral("開いたﾌｧｲﾙに上書き保存(&S)"),
                                        &FileController::onSaveToOpenedFile, QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAsAction_ = addAction("saveAsAction", QStringLiteral("名前を付けて保存(&A)"), &FileController::onSaveAs);
    saveSelectionAction_ = addAction("saveSelectionAction", QStringLiteral("選択部分を保存(&V)"), &FileController::onSaveSelection);
    exitWithoutSavingAction_ = addAction("exitWithoutSavingAction", QStringLiteral("保存しないで終了(&E)"), nullptr);
    connect(exitWithoutSavingAction_, &QAction::triggered, this, &FileController::exitWithoutSavingRequested);
    exitAction_ = addAction("exitAction", QStringLiteral("終了(&X)"), nullptr);
    connect(exitAction_, &QAction::triggered, this, &FileController::exitRequested);
    sheetWatcher_ = new QFileSystemWatcher(this);
    connect(sheetWatcher_, &QFileSystemWatcher::fileChanged, this, &FileController::onSheetFileChanged);
}

QAction *FileController::addAction(const char *name, const QString &caption, void (FileController::*handler)(),
                                   const QKeySequence &shortcut)
{
    QAction *action = newCommandAction(this, name, caption, shortcut);
    if (handler)
        connect(action, &QAction::triggered, this, handler);
    return action;
}

TextFile::ReadResult FileController::readFile(const QString &path)
{
    // A large file takes half a second and more to read and decode: not on the window's thread.
    TextFile::ReadResult result;
    {
        WaitCursor wait;
        host_.runBeside([&] { result = TextFile::read(path); });
    }
    if (!result.ok)
        host_.ask(TextFile::readFailureMessage(result), {}, AppTitle);
    return result;
}

bool FileController::writeFile(const QString &path, const QString &text)
{
    const Cp932Variants &codes = sheets_.variants(sheets_.currentSheet());
    TextFile::WriteResult result;
    {
        WaitCursor wait;
        result = TextFile::write(path, text, TextFile::LineEndPolicy::KeepExisting, codes);
    }
    return reportWrite(path, result, true);
}

bool FileController::reportWrite(const QString &path, const TextFile::WriteResult &result, bool reportFailure)
{
    // The write is atomic: on failure the old file is intact and the caller changes nothing.
    if (!result.ok && reportFailure)
        host_.ask(TextFile::writeFailureMessage(path, result.error), {QMessageBox::Warning}, AppTitle);
    return result.ok;
}

bool FileController::saveSheet(bool reportFailure)
{
    QDir::setCurrent(sheets_.programDir());
    if (!sheets_.changed())
        return true;
    const QString path = sheets_.sheetFilePath(sheets_.currentSheet());
    // Another program wrote the file too (a folder synced between two machines): both versions
    // stay, the file's beside it.
    if (TextFile::changedSince(path, sheetStamp_) && QFileInfo(path).isFile() && !keepSheetFileAside(path, reportFailure))
        return false;
    // On failure the text stays in the box and the flag stays set, its recovery copy too:
    // nothing is lost.
    TextBox *box = host_.editor();
    TextFile::WriteResult written;
    {
        WaitCursor wait;
        // A text the box keeps goes as it is; else it goes from the document a piece at a time,
        // never built whole beside it.
        if (box->hasText()) {
            written = sheets_.writeSheet(box->Text());
        } else {
            const std::unique_ptr<TextFile::TextPieces> pieces = box->documentPieces();
            written = sheets_.writeSheet(*pieces);
        }
    }
    if (!reportWrite(path, written, reportFailure))
        return false;
    sheetStamp_ = TextFile::stampOf(path);
    watchSheetFile(); // a new file took the old one's place
    emit sheetSaved(written);
    return true;
}

bool FileController::keepSheetFileAside(const QString &path, bool reportFailure)
{
    const QFileInfo info(path);
    const QString stem = info.completeBaseName() + host_.now().toString(QStringLiteral("-yyyyMMdd-HHmmss"));
    QString aside = info.dir().filePath(stem + u'.' + info.suffix());
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = info.dir().filePath(QStringLiteral("%1-%2.%3").arg(stem).arg(n).arg(info.suffix()));
    if (!QFile::copy(path, aside)) {
        if (reportFailure)
            host_.ask(TextFile::writeFailureMessage(aside), {QMessageBox::Warning}, AppTitle);
        return false;
    }
    // Kept: a second attempt at the save does not copy it again.
    sheetStamp_ = TextFile::stampOf(path);
    host_.note(QStringLiteral("%1 はほかのプログラムで変更されていました。その内容を %2 に残しました。")
                   .arg(info.fileName(), QFileInfo(aside).fileName()));
    return true;
}

void FileController::loadSheet()
{
    const TextFile::ReadResult result = readFile(sheets_.sheetFilePath(sheets_.currentSheet()));
    showSheetText(result);
    if (result.ok)
        host_.editor()->setFocus();
    else
        sheets_.detachSaveTarget();
    emit sheetLoaded();
}

void FileController::showSheetText(const TextFile::ReadResult &result)
{
    // The box gets its new text in one go (emptying a large sheet first would cost as much as
    // filling it).
    host_.editor()->setText(result.text);
    sheets_.setVariants(sheets_.currentSheet(), result.variants);
    sheets_.setChanged(false);
    sheetStamp_ = result.stamp;
    watchSheetFile();
    tellIfBinary(result, sheets_.sheetFilePath(sheets_.currentSheet()));
}

void FileController::tellIfBinary(const TextFile::ReadResult &result, const QString &path)
{
    if (result.ok && result.binary)
        host_.note(QStringLiteral("%1 はテキストファイルではありません。").arg(QFileInfo(path).fileName()));
}

void FileController::watchSheetFile()
{
    // Only the current sheet's file: the others are read afresh whenever they are shown.
    if (!sheetWatcher_->files().isEmpty())
        sheetWatcher_->removePaths(sheetWatcher_->files());
    const QString path = sheets_.sheetFilePath(sheets_.currentSheet());
    if (QFileInfo::exists(path))
        sheetWatcher_->addPath(path);
}

void FileController::onSheetFileChanged()
{
    // A file replaced by renaming another over it is no longer watched.
    watchSheetFile();
    const QString path = sheets_.sheetFilePath(sheets_.currentSheet());
    // Unsaved changes wait for the save point, which keeps both; a file gone keeps the text
    // shown for its next save point; this program's own write changes nothing.
    if (sheets_.changed() || host_.inLongEdit() || !QFileInfo::exists(path) || !TextFile::changedSince(path, sheetStamp_))
        return;
    TextFile::ReadResult result;
    host_.runBeside([&] { result = TextFile::read(path); });
    // Caught halfway through the other program's write: its end tells again.
    if (result.ok && !sheets_.changed())
        showSheetText(result);
}

bool FileController::openIntoSheet(const QString &path)
{
    const int sheet = sheets_.currentSheet();
    const QString previous = sheets_.openedFile(sheet);
    const TextFile::DiskStamp previousStamp = sheets_.openedStamp(sheet);
    const bool previousBinary = sheets_.openedIsBinary(sheet);
    sheets_.setOpenedFile(sheet, path);
    // Read into a buffer first: a file that cannot be read leaves the sheet as it was, text,
    // flag and opened file alike. A path that could not be read is never kept as the sheet's
    // file: a later Ctrl+S (or the next start) would replace it with the sheet's text.
    const TextFile::ReadResult result = readFile(sheets_.resolve(path));
    if (!result.ok) {
        sheets_.setOpenedFile(sheet, previous);
        sheets_.setOpenedState(sheet, previousStamp, previousBinary);
        return false;
    }
    takeFileText(result);
    return true;
}

void FileController::takeFileText(const TextFile::ReadResult &result)
{
    const int sheet = sheets_.currentSheet();
    sheets_.setOpenedState(sheet, result.stamp, result.binary);
    tellIfBinary(result, sheets_.openedFile(sheet));
    host_.editor()->setText(result.text);
    sheets_.setVariants(sheet, result.variants);
    // The sheet's own file takes the text at the next save point.
    sheets_.setChanged(true);
    host_.editor()->setFocus();
}

bool FileController::chooseFile(bool save, QString &path)
{
    if (!commonDialog_)
        return false;
    commonDialog_->FilterIndex = 1;
    commonDialog_->Flags = save ? CommonDialogFlags::OverwritePrompt : CommonDialogFlags::FileMustExist;
    const CommonDialog::Result result = save ? commonDialog_->ShowSave(host_.window()) : commonDialog_->ShowOpen(host_.window());
    if (result == CommonDialog::Result::Cancelled || commonDialog_->FileName.isEmpty())
        return false;
    path = commonDialog_->FileName;
    return true;
}

void FileController::onNew()
{
    TextBox *box = host_.editor();
    if (!box->isEmpty()
        && host_.ask(QStringLiteral("このテキストを破棄します。"), {QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel},
                     QStringLiteral("新規作成の確認"))
               != QMessageBox::Ok)
        return;
    box->setText(QString());
    // The emptied sheet is written at the next save point.
    sheets_.setChanged(true);
    sheets_.setOpenedFile(sheets_.currentSheet(), QString());
    sheets_.setVariants(sheets_.currentSheet(), {});
}

void FileController::onOpen()
{
    QString path;
    if (chooseFile(false, path))
        openIntoSheet(path);
    host_.editor()->setFocus();
}

void FileController::onInsertFile()
{
    QString path;
    if (!chooseFile(false, path))
        return;
    const TextFile::ReadResult result = readFile(path);
    if (!result.ok)
        return;
    // An ordinary edit: the text box's own undo takes it back.
    host_.editor()->setSelText(result.text);
    Cp932Variants codes = sheets_.variants(sheets_.currentSheet());
    codes.merge(result.variants);
    sheets_.setVariants(sheets_.currentSheet(), codes);
    sheets_.setChanged(true);
}

void FileController::onSaveToOpenedFile()
{
    const QString path = sheets_.saveTarget();
    if (path.isEmpty())
        return;
    const int sheet = sheets_.currentSheet();
    const bool binary = sheets_.openedIsBinary(sheet);
    MessageStyle style{QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
    QString prompt = path + QStringLiteral("に 上書き保存しますか？");
    // What another program wrote since, or a file that is no text, is not written over unwarned.
    if (TextFile::changedSince(path, sheets_.openedStamp(sheet))) {
        style.icon = QMessageBox::Warning;
        prompt = QDir::toNativeSeparators(path) + QStringLiteral(" はほかのプログラムで変更されています。上書きしますか？");
    } else if (binary) {
        style.icon = QMessageBox::Warning;
        prompt = QDir::toNativeSeparators(path) + QStringLiteral(" はテキストファイルではありません。上書きしますか？");
    }
    if (host_.ask(prompt, style, QStringLiteral("q7_Zibo - 上書き保存確認")) != QMessageBox::Yes)
        return;
    if (writeFile(path, host_.editor()->Text()))
        sheets_.setOpenedState(sheet, TextFile::stampOf(path), binary);
}

void FileController::onSaveAs()
{
    QString path;
    if (!chooseFile(true, path) || !writeFile(path, host_.editor()->Text())) {
        host_.editor()->setFocus();
        return;
    }
    sheets_.setOpenedFile(sheets_.currentSheet(), path);
    sheets_.setOpenedState(sheets_.currentSheet(), TextFile::stampOf(path), false);
}

void FileController::onSaveSelection()
{
    QString path;
    if (chooseFile(true, path))
        writeFile(path, host_.editor()->SelText());
    host_.editor()->setFocus();
}
