// Opening the date and boilerplate dialog on one of its pages.
#include "editor/TextBox.h"
#include "app/frmMain.h"
#include "commands/EditController.h"
#include "phrases/DateDialog.h"

void frmMain::mnuDateform_Click()
{
    showDateDialog(0);
}

void frmMain::mnuInsert_Click()
{
    showDateDialog(1);
}

void frmMain::showDateDialog(int page)
{
    // An open dialog keeps its lines and list; it only comes to the front on the chosen page.
    if (!frmDate_) {
        DateDialog::Env env;
        env.editor = Text1;
        env.settings = env_.settings;
        env.dialogs = env_.dialogs;
        env.programDir = env_.programDir;
        env.now = now();
        env.insert = [this](const QString &text) { edits_->rewriteSelection(text); };
        frmDate_ = new DateDialog(std::move(env), this);
    }
    frmDate_->selectPage(page);
    frmDate_->show();
    frmDate_->raise();
    frmDate_->activateWindow();
}
