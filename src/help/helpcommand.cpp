// The help command: the manual (beside the program, or where an installed copy keeps it), in the program's own viewer.
#include "app/frmMain.h"
#include "help/HelpViewer.h"
#include "platform/dialogs.h"

#include <QDir>

void frmMain::mnuHel_Click()
{
    const QString file = env_.helpFile.isEmpty() ? sheets_->resolve(QStringLiteral("q7Zibo.hlp")) : env_.helpFile;
    // An open viewer only goes back to the contents and comes to the front.
    if (!help_)
        help_ = new HelpViewer({file}, this);
    if (!help_->showContents()) {
        delete help_;
        msgBox(QStringLiteral("%1 を開けません。").arg(QDir::toNativeSeparators(file)),
               MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, AppTitle);
        return;
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}
