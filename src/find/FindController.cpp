#include "find/FindController.h"

#include "editor/CommandAction.h"
#include "editor/WindowHost.h"
#include "find/FindDialog.h"

#include <QAction>

FindController::FindController(WindowHost &host, Dialogs *dialogs, std::function<QPoint()> windowPosition, QObject *parent)
    : QObject(parent)
    , host_(host)
    , dialogs_(dialogs)
    , windowPosition_(std::move(windowPosition))
    , findAction_(newCommandAction(this, "findAction", QStringLiteral("検索と置換(&S)"), QKeySequence(Qt::CTRL | Qt::Key_F)))
{
    connect(findAction_, &QAction::triggered, this, &FindController::showFind);
}

void FindController::showFind()
{
    if (!dialog_) {
        FindDialog::Env env;
        env.editor = host_.editor();
        env.dialogs = dialogs_;
        env.owner = host_.window();
        const QPoint at = windowPosition_ ? windowPosition_() : QPoint();
        env.ownerLeft = at.x();
        env.ownerTop = at.y();
        dialog_ = new FindDialog(env);
    }
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}
