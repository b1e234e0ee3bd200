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
    if (!reportWrite(sheets_.sheetFilePath(sheets_.currentSheet()), written, reportFailure))
        return false;
    emit sheetSaved(written);
    return true;
}

void FileController::loadSheet()
{
    // The box gets its new text in one go (emptying a large sheet first would cost as much as
    // filling it).
    const TextFile::ReadResult result = readFile(sheets_.sheetFilePath(sheets_.currentSheet()));
    host_.editor()->setText(result.text);
    sheets_.setVariants(sheets_.currentSheet(), result.variants);
    sheets_.setChanged(false);
    if (result.ok)
        host_.editor()->setFocus();
    else
        sheets_.detachSaveTarget();
    emit sheetLoaded();
}

bool FileController::openIntoSheet(const QString &path)
{
    const int sheet = sheets_.currentSheet();
    const QString previous = sheets_.openedFile(sheet);
    sheets_.setOpenedFile(sheet, path);
    // Read into a buffer first: a file that cannot be read leaves the sheet as it was, text,
    // flag and opened file alike. A path that could not be read is never kept as the sheet's
    // file: a later Ctrl+S (or the next start) would replace it with the sheet's text.
    const TextFile::ReadResult result = readFile(sheets_.resolve(path));
    if (!result.ok) {
        sheets_.setOpenedFile(sheet, previous);
        return false;
    }
    takeFileText(result);
    return true;
}

void FileController::takeFileText(const TextFile::ReadResult &result)
{
    host_.editor()->setText(result.text);
    sheets_.setVariants(sheets_.currentSheet(), result.variants);
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
    if (host_.ask(path + QStringLiteral("に 上書き保存しますか？"), {QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No},
                  QStringLiteral("q7_Zibo - 上書き保存確認"))
        != QMessageBox::Yes)
        return;
    writeFile(path, host_.editor()->Text());
}

void FileController::onSaveAs()
{
    QString path;
    if (!chooseFile(true, path) || !writeFile(path, host_.editor()->Text())) {
        host_.editor()->setFocus();
        return;
    }
    sheets_.setOpenedFile(sheets_.currentSheet(), path);
}

void FileController::onSaveSelection()
{
    QString path;
    if (chooseFile(true, path))
        writeFile(path, host_.editor()->SelText());
    host_.editor()->setFocus();
}
