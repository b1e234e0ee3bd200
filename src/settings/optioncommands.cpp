// Opening the options dialog on one of its pages, and taking back what it applies.
#include "app/TabStrip.h"
#include "editor/TextBox.h"
#include "app/frmMain.h"
#include "launcher/LauncherController.h"
#include "settings/OptionsDialog.h"

#include <QCoreApplication>
#include <QMenu>
#include <QPointer>

void frmMain::showOptions(int page)
{
    OptionsDialog::Env env;
    env.holders = holders_;
    env.settings = env_.settings;
    env.commonDialog = env_.commonDialog;
    env.version = QCoreApplication::applicationVersion();
    env.apply = [this](const Holders &applied) {
        holders_ = applied;
        applyHolders();
        launcher_->showRegisteredApps();
    };
    // Loaded afresh at every opening; it deletes itself when closed.
    QPointer<OptionsDialog> dialog = new OptionsDialog(std::move(env), this);
    dialog->selectPage(page);
    dialog->exec();
}

void frmMain::mnuOpt_Click()
{
    showOptions(OptionsDialog::EnvironmentPage);
}

void frmMain::mnuAbout_Click()
{
    showOptions(OptionsDialog::VersionPage);
}

void frmMain::mnuRtab00_Click()
{
    showOptions(OptionsDialog::TabPage);
}

void frmMain::TabStrip1_MouseDown(Qt::MouseButton button, const QPoint &globalPos)
{
    if (button == Qt::RightButton)
        mnuRtab->popup(globalPos);
}
