// The seven sheets and their files: which sheet is current, writing it back, reading a file in.
#include "app/TextBox.h"
#include "app/frmMain.h"
#include "platform/dialogs.h"
#include "sheets/textfile.h"

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

TextFile::ReadResult frmMain::readTextFile(const QString &path)
{
    TextFile::ReadResult result;
    {
        WaitCursor wait;
        result = TextFile::read(path);
    }
    if (!result.ok)
        msgBox(QStringLiteral("ファイルを開けません"), MsgBoxStyle::OKOnly, AppTitle);
    return result;
}

bool frmMain::writeTextFile(const QString &path, const QString &text, bool reportFailure)
{
    TextFile::WriteResult result;
    {
        WaitCursor wait;
        result = TextFile::write(path, text);
    }
    // The write is atomic: on failure the old file is intact and the caller changes nothing.
    if (!result.ok && reportFailure)
        msgBox(TextFile::writeFailureMessage(path), MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, AppTitle);
    return result.ok;
}

int frmMain::currentSheet() const
{
    // The caption's last character, and nothing else, says which sheet is current.
    return label2_.isEmpty() ? 1 : label2_.back().digitValue();
}

QString frmMain::sheetFileName(int sheet)
{
    return QStringLiteral("q%1.txt").arg(sheet);
}

QString frmMain::sheetFilePath(int sheet) const
{
    return resolveFileName(sheetFileName(sheet));
}

bool frmMain::SaveSheet(bool reportFailure)
{
    QDir::setCurrent(env_.programDir);
    strFileName = sheetFileName(currentSheet());
    if (!blnChanged)
        return true;
    // On failure the text stays in the box and the flag stays set: nothing is lost.
    return writeTextFile(resolveFileName(strFileName), Text1->Text(), reportFailure);
}

void frmMain::LoadFile()
{
    // The box gets its new text in one go (emptying a large sheet first would cost as much as
    // filling it); a file that cannot be read leaves the sheet empty.
    const TextFile::ReadResult result = readTextFile(resolveFileName(strFileName));
    Text1->setText(result.text);
    blnChanged = false;
    if (!result.ok) {
        showNoFileCaptions();
        return;
    }
    Text1->setFocus();
}

bool frmMain::LoadOutsideFile()
{
    const TextFile::ReadResult result = readTextFile(resolveFileName(strFileName));
    if (!result.ok) {
        showNoFileCaptions();
        return false;
    }
    Text1->setText(result.text);
    blnChanged = true;
    Text1->setFocus();
    return true;
}

void frmMain::SetOpenedFile()
{
    lblRealFile[currentSheet() - 1] = strFileName;
    showOpenedFileCaptions();
}
