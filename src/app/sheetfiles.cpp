// The window's side of the sheet store: the hourglass, the failure messages and the text box.
#include "editor/TextBox.h"
#include "app/frmMain.h"
#include "platform/dialogs.h"
#include "sheets/RecoveryController.h"

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

template <class Io>
auto withHourglass(Io &&io)
{
    WaitCursor wait;
    return io();
}

} // namespace

TextFile::ReadResult frmMain::readTextFile(const QString &path)
{
    // A large file takes half a second and more to read and decode: not on the window's thread.
    TextFile::ReadResult result;
    withHourglass([&] { runBeside([&] { result = TextFile::read(path); }); });
    return reportRead(std::move(result));
}

TextFile::ReadResult frmMain::reportRead(TextFile::ReadResult result)
{
    if (!result.ok)
        msgBox(TextFile::readFailureMessage(result), MsgBoxStyle::OKOnly, AppTitle);
    return result;
}

bool frmMain::writeTextFile(const QString &path, const QString &text, bool reportFailure)
{
    const Cp932Variants &codes = sheets_->variants(sheets_->currentSheet());
    return reportWrite(path, withHourglass([&] { return TextFile::write(path, text, TextFile::LineEndPolicy::KeepExisting, codes); }),
                       reportFailure);
}

bool frmMain::reportWrite(const QString &path, const TextFile::WriteResult &result, bool reportFailure)
{
    // The write is atomic: on failure the old file is intact and the caller changes nothing.
    if (!result.ok && reportFailure)
        msgBox(TextFile::writeFailureMessage(path, result.error), MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, AppTitle);
    return result.ok;
}

bool frmMain::SaveSheet(bool reportFailure)
{
    QDir::setCurrent(sheets_->programDir());
    if (!sheets_->changed())
        return true;
    // On failure the text stays in the box and the flag stays set, its recovery copy too:
    // nothing is lost.
    const TextFile::WriteResult written = withHourglass([&] {
        // A text the box keeps goes as it is; else it goes from the document a piece at a time,
        // never built whole beside it.
        if (Text1->hasText())
            return sheets_->writeSheet(Text1->Text());
        const std::unique_ptr<TextFile::TextPieces> pieces = Text1->documentPieces();
        return sheets_->writeSheet(*pieces);
    });
    if (!reportWrite(sheets_->sheetFilePath(sheets_->currentSheet()), written, reportFailure))
        return false;
    recovery_->sheetSaved(written);
    return true;
}

void frmMain::LoadFile()
{
    // The box gets its new text in one go (emptying a large sheet first would cost as much as
    // filling it); a file that cannot be read leaves the sheet empty.
    const TextFile::ReadResult result = readTextFile(sheets_->sheetFilePath(sheets_->currentSheet()));
    Text1->setText(result.text);
    sheets_->setVariants(sheets_->currentSheet(), result.variants);
    sheets_->setChanged(false);
    if (!result.ok) {
        sheets_->detachSaveTarget();
        return;
    }
    Text1->setFocus();
}

bool frmMain::openIntoSheet(const QString &path)
{
    const int sheet = sheets_->currentSheet();
    const QString previous = sheets_->openedFile(sheet);
    sheets_->setOpenedFile(sheet, path);
    // Read into a buffer first: a file that cannot be read leaves the sheet as it was, text,
    // flag and opened file alike. A path that could not be read is never kept as the sheet's
    // file: a later Ctrl+S (or the next start) would replace it with the sheet's text.
    const TextFile::ReadResult result = readTextFile(sheets_->resolve(path));
    if (!result.ok) {
        sheets_->setOpenedFile(sheet, previous);
        return false;
    }
    takeFileText(result);
    return true;
}

void frmMain::takeFileText(const TextFile::ReadResult &result)
{
    Text1->setText(result.text);
    sheets_->setVariants(sheets_->currentSheet(), result.variants);
    // The sheet's own file takes the text at the next save point.
    sheets_->setChanged(true);
    Text1->setFocus();
}
