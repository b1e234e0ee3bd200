// File commands: New, Open, insert at the caret, the save commands and leaving the program.

#include "editor/TextBox.h"
#include "app/frmMain.h"
#include "app/toolbarbuttons.h"
#include "platform/commondialog.h"
#include "platform/dialogs.h"
#include "sheets/RecoveryController.h"
#include "sheets/textfile.h"

#include <QAction>

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
    sheets_->setChanged(true);
    sheets_->setOpenedFile(sheets_->currentSheet(), QString());
    sheets_->setVariants(sheets_->currentSheet(), {});
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
    Cp932Variants codes = sheets_->variants(sheets_->currentSheet());
    codes.merge(result.variants);
    sheets_->setVariants(sheets_->currentSheet(), codes);
    sheets_->setChanged(true);
}

void frmMain::mnuUwa_Click()
{
    const QString path = sheets_->saveTarget();
    if (path.isEmpty())
        return;
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
    sheets_->setOpenedFile(sheets_->currentSheet(), path);
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
    recovery_->end(false);
    WriteSettings();
}

void frmMain::mnuEndno_Click()
{
    Form_Unload();
}
