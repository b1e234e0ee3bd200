#include "help/HelpController.h"

#include "editor/CommandAction.h"
#include "editor/WindowHost.h"
#include "help/HelpViewer.h"
#include "platform/dialogs.h"

#include <QAction>
#include <QDir>

HelpController::HelpController(WindowHost &host, const QString &helpFile, const QString &programDir, QObject *parent)
    : QObject(parent)
    , host_(host)
    , helpFile_(helpFile.isEmpty() ? QDir(programDir).absoluteFilePath(QStringLiteral("q7Zibo.hlp")) : helpFile)
    , helpAction_(newCommandAction(this, "helpAction", QStringLiteral("ﾍﾙﾌﾟ(&H)"), QKeySequence(Qt::Key_F1)))
{
    connect(helpAction_, &QAction::triggered, this, &HelpController::showHelp);
}

void HelpController::showHelp()
{
    // An open viewer only goes back to the contents and comes to the front.
    if (!viewer_)
        viewer_ = new HelpViewer({helpFile_}, host_.window());
    if (!viewer_->showContents()) {
        delete viewer_;
        host_.ask(QStringLiteral("%1 を開けません。").arg(QDir::toNativeSeparators(helpFile_)),
                  {QMessageBox::Warning}, AppTitle);
        return;
    }
    viewer_->show();
    viewer_->raise();
    viewer_->activateWindow();
}
