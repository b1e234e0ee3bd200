// Opening the find and replace dialog.

#include "editor/TextBox.h"
#include "app/frmMain.h"
#include "find/Find.h"

void frmMain::mnuSearchFind_Click()
{
    // An open dialog is only brought forward; a closed one was destroyed and starts afresh.
    if (!find_) {
        Find::Env env;
        env.text1 = Text1;
        env.dialogs = env_.dialogs;
        env.owner = this;
        env.ownerLeft = windowLeft();
        env.ownerTop = windowTop();
        find_ = new Find(env);
    }
    find_->show();
    find_->raise();
    find_->activateWindow();
}
