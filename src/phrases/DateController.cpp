#include "phrases/DateController.h"

#include "editor/CommandAction.h"
#include "editor/WindowHost.h"
#include "phrases/DateDialog.h"

#include <QAction>

DateController::DateController(WindowHost &host, SettingsStore *settings, Dialogs *dialogs, const QString &programDir,
                               std::function<void(const QString &)> insert, QObject *parent)
    : QObject(parent)
    , host_(host)
    , settings_(settings)
    , dialogs_(dialogs)
    , programDir_(programDir)
    , insert_(std::move(insert))
{
    dateFormatAction_ = newAction("dateFormatAction", QStringLiteral("形式を選んで挿入(&A)"), {}, DatePage);
    phraseAction_ = newAction("phraseAction", QStringLiteral("定型文字列(&I)"), QKeySequence(Qt::CTRL | Qt::Key_I), PhrasePage);
}

QAction *DateController::newAction(const char *name, const QString &caption, const QKeySequence &shortcut, Page page)
{
    QAction *action = newCommandAction(this, name, caption, shortcut);
    connect(action, &QAction::triggered, this, [this, page] { showDialog(page); });
    return action;
}

void DateController::showDialog(Page page)
{
    // An open dialog keeps its lines and list; it only comes to the front on the chosen page.
    if (!dialog_) {
        DateDialog::Env env;
        env.editor = host_.editor();
        env.settings = settings_;
        env.dialogs = dialogs_;
        env.programDir = programDir_;
        env.now = host_.now();
        env.insert = insert_;
        dialog_ = new DateDialog(std::move(env), host_.window());
    }
    dialog_->selectPage(page);
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void DateController::closeDialog()
{
    if (dialog_)
        dialog_->close();
}
