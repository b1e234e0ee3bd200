// File commands: New, Open, insert at the caret, the save commands and leaving the program.

#include "app/TextBox.h"
#include "app/frmMain.h"
#include "app/toolbarbuttons.h"
#include "platform/commondialog.h"
#include "platform/dialogs.h"
#include "sheets/textfile.h"

#include <QAction>

QString frmMain::saveToOpenedTarget() const
{
    // The command writes to button 4's target; when a failed read has detached the captions the
    // sheet keeps its path but has no target, and Ctrl+S must not look live.
    const QAction *button4 = toolbarButton(ToolbarButton::SaveToOpened);
    if (!button4->isEnabled())
        return QString();
    return button4->toolTip().mid(ToolbarButton::SaveToOpenedPrefix.size());
}

bool frmMain::chooseFile(bool save, QString &path)
{
    CommonDialog *dialog = env_.commonDialog;
    if (!dialog)
        return false;
    dialog->FilterIndex = 1;
    dialog->Flags = save ? CommonDialogFlags::OverwritePrompt : CommonDialogFlags::FileMustExist;
    const CommonDialog::Result result = save ? dialog->ShowSave(this) : dialog->ShowOpen(this);
    if (result == CommonDialog::Result::Cancelled || dialog->FileName.isEmpty())
        return false;
    path = dialog->FileName;
    return true;
}

void frmMain::mnuFile_Click()
{
    updateCommandStates();
}

void frmMain::mnuNew_Click()
{
    if (!Text1->isEmpty()
        && msgBox(QStringLiteral("このテキストを破棄します。"), MsgBoxStyle::OKCancel | MsgBoxStyle::Exclamation | MsgBoxStyle::DefaultButton2,
                  QStringLiteral("新規作成の確認"))
               != MsgBoxResult::OK)
        return;
    Text1->setText(QString());
    // The emptied sheet is written at the next save point.
    sheets_.setBlnChanged(true);
    sheets_.setLblRealFile(sheets_.currentSheet(), QString());
    sheets_.setVariants(sheets_.currentSheet(), {});
    showNoFileCaptions();
}

void frmMain::mnuOpen_Click()
{
    QString path;
    if (!chooseFile(false, path)) {
        Text1->setFocus();
        return;
    }
    openIntoSheet(path);
    Text1->setFocus();
}

void frmMain::mnuSelopen_Click()
{
    QString path;
    if (!chooseFile(false, path))
        return;
    const TextFile::ReadResult result = readTextFile(path);
    if (!result.ok)
        return;
    // An ordinary edit: the text box's own undo takes it back.
    Text1->setSelText(result.text);
    Cp932Variants codes = sheets_.variants(sheets_.currentSheet());
    codes.merge(result.variants);
    sheets_.setVariants(sheets_.currentSheet(), codes);
    sheets_.setBlnChanged(true);
}

void frmMain::mnuUwa_Click()
{
    const QString path = saveToOpenedTarget();
    if (path.isEmpty())
        return;
    sheets_.setStrFileName(path);
    if (msgBox(path + QStringLiteral("に 上書き保存しますか？"), MsgBoxStyle::YesNo | MsgBoxStyle::Question | MsgBoxStyle::DefaultButton2,
               QStringLiteral("q7_Zibo - 上書き保存確認"))
        != MsgBoxResult::Yes)
        return;
    writeTextFile(path, Text1->Text());
}

void frmMain::mnuSave_Click()
{
    QString path;
    if (!chooseFile(true, path) || !writeTextFile(path, Text1->Text())) {
        Text1->setFocus();
        return;
    }
    // Attached as SetOpenedFile attaches, without touching strFileName.
    sheets_.setLblRealFile(sheets_.currentSheet(), path);
    showOpenedFileCaptions();
}

void frmMain::mnuSelsave_Click()
{
    QString path;
    if (chooseFile(true, path))
        writeTextFile(path, Text1->SelText());
    Text1->setFocus();
}

void frmMain::mnuNoe_Click()
{
    // The current sheet's changes since its last save point are dropped on purpose.
    endRecovery(false);
    WriteSettings();
}

void frmMain::mnuEndno_Click()
{
    Form_Unload();
}
