// The quick launcher under the sheet and the three registered applications: both hand a whole
// text to the desktop and never wait for what it starts.
#include "editor/TextBox.h"
#include "app/frmMain.h"
#include "app/toolbarbuttons.h"
#include "launcher/launchhistory.h"
#include "platform/dialogs.h"
#include "platform/filedrops.h"
#include "platform/shellopen.h"
#include "settings/OptionsDialog.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString LauncherTitle = QStringLiteral("q7_Zibo 簡易ﾗﾝﾁｬｰ");
const QString RegisteredAppTitle = QStringLiteral("q7_Zibo");
constexpr int CaptionLength = 20;
} // namespace

bool frmMain::launch(const QString &text, const QString &title)
{
    if (env_.shell && env_.shell->open(text) != ShellOpen::NotFound)
        return true;
    msgBox(QStringLiteral("実行できませんでした。"), MsgBoxStyle::OKOnly | MsgBoxStyle::Critical, title);
    return false;
}

void frmMain::cmdRun_Click()
{
    const QString command = Combo1->currentText();
    if (launch(command, LauncherTitle)) {
        QStringList history;
        for (int i = 0; i < Combo1->count(); ++i)
            history << Combo1->itemText(i);
        const QStringList after = LaunchHistory::afterRun(history, command);
        if (after != history) {
            // Rebuilding the list empties the box: the command stays in it.
            Combo1->clear();
            Combo1->addItems(after);
            Combo1->setEditText(command);
        }
    }
    Text1->setFocus();
}

void frmMain::Combo1_Change()
{
    cmdRun->setEnabled(!Combo1->currentText().isEmpty());
}

void frmMain::Combo1_GotFocus()
{
    // A selection in the sheet is the likely command; one that starts with a blank is not.
    if (Text1->SelLength() > 0) {
        const QString selected = Text1->SelText();
        if (!selected.startsWith(u' '))
            Combo1->setEditText(selected);
    }
}

void frmMain::Combo1_OLEDragDrop(const QStringList &files)
{
    Combo1->setEditText(QDir::toNativeSeparators(files.constLast()));
}

bool frmMain::launcherEvent(QObject *watched, QEvent *event)
{
    if (!Combo1)
        return false;  // events that come while the window is being built
    if (watched == Combo1) {
        if (event->type() == QEvent::FocusIn)
            Combo1_GotFocus();
        // Enter in the box runs the command, as the default button would. Keys reach the box,
        // which hands them to its line edit past any filter there.
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                cmdRun_Click();
                return true;
            }
        }
        return false;
    }
    // Only dropped files name a command.
    return watched == Combo1->lineEdit()
        && FileDrops::filter(event, [this](const QStringList &files) { Combo1_OLEDragDrop(files); });
}

void frmMain::mnuApri_Click(int index)
{
    if (index < 0 || index >= Holders::AppCount)
        index = 0;
    launch(holders_.apps[index].path, RegisteredAppTitle);
}

void frmMain::registeredAppButton_Click(int index)
{
    // A free slot is set up in the options dialog, on its launcher page.
    if (holders_.apps[index].path.isEmpty())
        showOptions(OptionsDialog::LauncherPage);
    else
        mnuApri_Click(index);
}

void frmMain::mnuToolM_Click(int index)
{
    switch (index) {
    case 1:
        Combo1->setFocus(Qt::ShortcutFocusReason);
        break;
    case 2:
        cmdRun_Click();
        break;
    case 4:
        Combo1->clear();
        break;
    default:
        break;
    }
}

void frmMain::showRegisteredApps()
{
    for (int i = 0; i < Holders::AppCount; ++i) {
        const Holders::App &app = holders_.apps[i];
        QAction *button = toolbarButton(ToolbarButton::App1 + i);
        mnuApri[i]->setVisible(!app.path.isEmpty());
        if (app.path.isEmpty()) {
            button->setToolTip(QStringLiteral("設定なし"));
            continue;
        }
        const QString &shown = app.name.isEmpty() ? app.path : app.name;
        mnuApri[i]->setText(shown.left(CaptionLength));
        button->setToolTip(shown);
    }
}
