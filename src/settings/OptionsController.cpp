#include "settings/OptionsController.h"

#include "editor/CommandAction.h"
#include "editor/TextBox.h"
#include "editor/WindowHost.h"
#include "settings/OptionsDialog.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

OptionsController::OptionsController(WindowHost &host, SettingsStore *settings, CommonDialog *commonDialog, QObject *parent)
    : QObject(parent)
    , host_(host)
    , settings_(settings)
    , commonDialog_(commonDialog)
{
    const QFont design = host.editor()->font();
    holders_.textFont = {design.family(), design.pointSizeF(), design.bold(), design.italic()};
    optionsAction_ = newAction("optionsAction", QStringLiteral("動作環境の設定(&O)"), OptionsDialog::EnvironmentPage);
    aboutAction_ = newAction("aboutAction", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), OptionsDialog::VersionPage);
    tabSettingsAction_ = newAction("tabSettingsAction", QStringLiteral("ﾌｧｲﾙ変更ﾀﾌﾞの設定"), OptionsDialog::TabPage);
    // Parented to the window, so that it pops up as the window's.
    tabMenu_ = new QMenu(host.window());
    tabMenu_->setObjectName(QStringLiteral("tabMenu"));
    tabMenu_->addAction(tabSettingsAction_);
}

QAction *OptionsController::newAction(const char *name, const QString &caption, int page)
{
    QAction *action = newCommandAction(this, name, caption);
    connect(action, &QAction::triggered, this, [this, page] { showOptions(page); });
    return action;
}

void OptionsController::load(const SettingsStore &settings)
{
    holders_.read(settings);
}

void OptionsController::save(SettingsStore &settings) const
{
    holders_.write(settings);
}

void OptionsController::showOptions(int page)
{
    OptionsDialog::Env env;
    env.holders = holders_;
    env.settings = settings_;
    env.commonDialog = commonDialog_;
    env.version = QCoreApplication::applicationVersion();
    env.apply = [this](const Holders &applied) {
        holders_ = applied;
        emit this->applied();
    };
    // It deletes itself when closed.
    QPointer<OptionsDialog> dialog = new OptionsDialog(std::move(env), host_.window());
    dialog->selectPage(page);
    dialog->exec();
}

void OptionsController::onTabStripPressed(Qt::MouseButton button, const QPoint &globalPos)
{
    if (button == Qt::RightButton)
        tabMenu_->popup(globalPos);
}
