// Opening the find and replace dialog.

#include "editor/TextBox.h"
#include "app/frmMain.h"
#include "find/FindDialog.h"

void frmMain::mnuSearchFind_Click()
{
    // An open dialog is only brought forward; a closed one was destroyed and starts afresh.
    if (!find_) {
        FindDialog::Env env;
        env.editor = Text1;
        env.dialogs = env_.dialogs;
        env.owner = this;
        env.ownerLeft = windowLeft();
        env.ownerTop = windowTop();
        find_ = new FindDialog(env);
    }
    find_->show();
    find_->raise();
    find_->activateWindow();
}
