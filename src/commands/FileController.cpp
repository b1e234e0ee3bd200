#include "commands/FileController.h"

#include "commands/SaveFormDialog.h"
#include "editor/CommandAction.h"
#include "editor/TextBox.h"
#include "editor/WindowHost.h"
#include "platform/commondialog.h"
#include "platform/dialogs.h"
#include "sheets/SheetSession.h"
#include "sheets/encodingname.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

using TextCodec::Encoding;

namespace {

// The hourglass while a file is read or written.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// A forced UTF encoding as the file has it, with its byte-order mark or without: written back,
// the file keeps that too.
Encoding withMarkOf(const QString &path, Encoding encoding)
{
    QFile file(path);
    const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(3) : QByteArray();
    switch (encoding) {
    case Encoding::Utf8: return head.startsWith("\xEF\xBB\xBF") ? Encoding::Utf8Bom : encoding;
    case Encoding::Utf16Le: return head.startsWith("\xFF\xFE") ? encoding : Encoding::Utf16LeNoBom;
    case Encoding::Utf16Be: return head.startsWith("\xFE\xFF") ? encoding : Encoding::Utf16BeNoBom;
    default: return encoding;
    }
}

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
    const auto addReopen = [this](const char *name, const QString &caption, std::optional<Encoding> encoding) {
        QAction *action = newCommandAction(this, name, caption);
        connect(action, &QAction::triggered, this, [this, encoding] { reopen(encoding); });
        reopenActions_ << action;
    };
    addReopen("reopenDetectedAction", QStringLiteral("自動判定"), std::nullopt);
    const char *const reopenNames[] = {"reopenCp932Action", "reopenEucJpAction", "reopenIso2022JpAction",
                                       "reopenUtf8Action", "reopenUtf16LeAction", "reopenUtf16BeAction"};
    for (std::size_t i = 0; i < EncodingChoices.size(); ++i)
        addReopen(reopenNames[i], EncodingChoices[i].caption.toString(), EncodingChoices[i].encoding);
    chooseForm_ = [](QWidget *parent, TextFile::FileForm &form) {
        SaveFormDialog dialog(form, parent);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        form = dialog.form();
        return true;
    };
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

TextFile::ReadResult FileController::readFile(const QString &path, std::optional<Encoding> forced)
{
    // A large file takes half a second and more to read and decode: not on the window's thread.
    TextFile::ReadResult result;
    {
        WaitCursor wait;
        host_.runBeside([&] { result = TextFile::read(path, forced); });
    }
    if (!result.ok)
        host_.ask(TextFile::readFailureMessage(result), {}, AppTitle);
    return result;
}

std::optional<TextFile::FileForm> FileController::writeFile(const QString &path, const QString &text,
                                                            const std::optional<TextFile::FileForm> &form)
{
    const Cp932Variants codes = sheets_.variants(sheets_.currentSheet());
    TextFile::WriteResult result;
    {
        WaitCursor wait;
        // Beside the window's thread, so that the window goes on painting through a big file.
        host_.runBeside([&] {
            result = form ? TextFile::writeIn(path, text, form->encoding, form->lineEnds, codes)
                          : TextFile::write(path, text, TextFile::LineEndPolicy::KeepExisting, codes);
        });
    }
    if (!reportWrite(path, result, true))
        return std::nullopt;
    // A Japanese encoding that cannot hold every character gave way to UTF-8: the user must know.
    const Encoding asked = result.asked;
    if (result.encoding == Encoding::Utf8Bom && (asked == Encoding::Cp932 || asked == Encoding::EucJp || asked == Encoding::Iso2022Jp))
        host_.note(QStringLiteral("%1 には %2 で表せない文字があります。UTF-8 で保存しました。")
                       .arg(QFileInfo(path).fileName(), encodingName(asked)));
    return TextFile::FileForm{result.encoding, result.lineEnds};
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
        // A text the box keeps goes as it is, written beside the window's thread (a shared copy
        // that nothing changes meanwhile); else it goes from the document a piece at a time,
        // never built whole beside it. Either way the window goes on painting.
        if (box->hasText()) {
            const QString text = box->Text();
            host_.runBeside([&] { written = sheets_.writeSheet(text); });
        } else {
            const std::unique_ptr<TextFile::TextPieces> pieces = box->documentPieces();
            written = sheets_.writeSheet(*pieces);
        }
    }
    if (!reportWrite(path, written, reportFailure))
        return false;
    sheetStamp_ = TextFile::stampOf(path);
    watchSheetFile(); // a new file took the old one's place
    sheets_.setOwnForm(sheets_.currentSheet(), {written.encoding, written.lineEnds});
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
    const int sheet = sheets_.currentSheet();
    const TextFile::ReadResult result = readFile(sheets_.sheetFilePath(sheet));
    showSheetText(result);
    // An opened file the settings named, or one read before another sheet was: as it is now.
    if (const QString opened = sheets_.openedFile(sheet); !opened.isEmpty() && !sheets_.openedForm(sheet)
        && QFileInfo(sheets_.resolve(opened)).isFile())
        sheets_.setOpenedForm(sheet, TextFile::formOf(sheets_.resolve(opened)));
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
    sheets_.setOwnForm(sheets_.currentSheet(), {result.encoding, result.lineEnds});
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
    sheets_.setOpenedForm(sheet, TextFile::FileForm{result.encoding, result.lineEnds});
    tellIfBinary(result, sheets_.openedFile(sheet));
    host_.editor()->setText(result.text);
    sheets_.setVariants(sheet, result.variants);
    // The sheet's own file takes the text at the next save point.
    sheets_.setChanged(true);
    host_.editor()->setFocus();
}

bool FileController::canReopen() const
{
    return !sheets_.saveTarget().isEmpty() || sheetStamp_.exists;
}

void FileController::reopen(std::optional<Encoding> encoding)
{
    if (!canReopen())
        return;
    const int sheet = sheets_.currentSheet();
    const bool opened = !sheets_.saveTarget().isEmpty();
    const QString path = opened ? sheets_.resolve(sheets_.saveTarget()) : sheets_.sheetFilePath(sheet);
    // Unsaved changes are what the box holds and the file, read as the sheet reads it now, does
    // not: a text just opened counts as unchanged although the sheet's own file waits for it.
    TextFile::ReadResult now;
    host_.runBeside([&] { now = TextFile::read(path, sheets_.shownForm().encoding); });
    if (now.ok && now.text != host_.editor()->Text()
        && host_.ask(QStringLiteral("このシートの変更は失われます。%1 を開き直しますか？").arg(QDir::toNativeSeparators(path)),
                     {QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No},
                     QStringLiteral("開き直しの確認"))
               != QMessageBox::Yes)
        return;
    const TextFile::ReadResult result = readFile(path, encoding ? std::optional(withMarkOf(path, *encoding)) : encoding);
    if (!result.ok)
        return;
    if (opened) {
        takeFileText(result);
        // Ctrl+S writes in the named encoding; after detection, as the file has it then.
        if (encoding)
            sheets_.setOpenedForm(sheet, TextFile::FileForm{result.encoding, result.lineEnds}, true);
        return;
    }
    // The sheet's own file keeps its rules: it takes the text so read at its save point.
    host_.editor()->setText(result.text);
    sheets_.setVariants(sheet, result.variants);
    sheets_.setChanged(true);
    sheets_.setOwnForm(sheet, {result.encoding, result.lineEnds});
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

bool FileController::chooseSaveForm(TextFile::FileForm &form)
{
    // The sheet's encoding; its opened file's line ends, CR LF for a text of its own.
    form = sheets_.shownForm();
    if (sheets_.saveTarget().isEmpty())
        form.lineEnds = TextCodec::LineEnds::CrLf;
    return chooseForm_ && chooseForm_(host_.window(), form);
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
    const bool chosen = sheets_.openedFormChosen(sheet);
    const std::optional<TextFile::FileForm> written
        = writeFile(path, host_.editor()->Text(), chosen ? sheets_.openedForm(sheet) : std::nullopt);
    if (written) {
        sheets_.setOpenedState(sheet, TextFile::stampOf(path), binary);
        sheets_.setOpenedForm(sheet, written, chosen);
    }
}

void FileController::onSaveAs()
{
    QString path;
    TextFile::FileForm form;
    std::optional<TextFile::FileForm> written;
    if (!chooseFile(true, path) || !chooseSaveForm(form) || !(written = writeFile(path, host_.editor()->Text(), form))) {
        host_.editor()->setFocus();
        return;
    }
    const int sheet = sheets_.currentSheet();
    sheets_.setOpenedFile(sheet, path);
    sheets_.setOpenedState(sheet, TextFile::stampOf(path), false);
    sheets_.setOpenedForm(sheet, written, true);
}

void FileController::onSaveSelection()
{
    QString path;
    TextFile::FileForm form;
    if (chooseFile(true, path) && chooseSaveForm(form))
        writeFile(path, host_.editor()->SelText(), form);
    host_.editor()->setFocus();
}
