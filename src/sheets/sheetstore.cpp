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

const QString CannotOpen = QStringLiteral("ファイルを開けません");

TextFile::ReadResult readFile(const QString &path)
{
    WaitCursor wait;
    return TextFile::read(path);
}

} // namespace

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
    const QString path = resolveFileName(strFileName);
    TextFile::WriteResult result;
    {
        WaitCursor wait;
        result = TextFile::write(path, Text1->Text());
    }
    if (result.ok)
        return true;
    // The text stays in the box and the flag stays set: nothing is lost.
    if (reportFailure)
        msgBox(TextFile::writeFailureMessage(path), MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, AppTitle);
    return false;
}

void frmMain::LoadFile()
{
    Text1->setText(QString());
    const TextFile::ReadResult result = readFile(resolveFileName(strFileName));
    if (!result.ok) {
        blnChanged = false;
        msgBox(CannotOpen, MsgBoxStyle::OKOnly, AppTitle);
        showNoFileCaptions();
        return;
    }
    Text1->setText(result.text);
    blnChanged = false;
    Text1->setFocus();
}

bool frmMain::LoadOutsideFile()
{
    const TextFile::ReadResult result = readFile(resolveFileName(strFileName));
    if (!result.ok) {
        msgBox(CannotOpen, MsgBoxStyle::OKOnly, AppTitle);
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
