#include "launcher/LauncherController.h"

#include "editor/CommandAction.h"
#include "editor/TextBox.h"
#include "editor/WindowHost.h"
#include "launcher/launchhistory.h"
#include "platform/dialogs.h"
#include "platform/filedrops.h"
#include "platform/shellopen.h"
#include "settings/OptionsDialog.h"
#include "settings/settingsstore.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString LauncherTitle = QStringLiteral("q7_Zibo 簡易ﾗﾝﾁｬｰ");
const QString RegisteredAppTitle = QStringLiteral("q7_Zibo");
const QString RunTip = QStringLiteral("Ctrl+Rで実行");
const QString FreeSlotTip = QStringLiteral("設定なし");
constexpr int CaptionLength = 20;
} // namespace

LauncherController::LauncherController(WindowHost &host, ShellOpen *shell, const Holders &holders, QObject *parent)
    : QObject(parent)
    , host_(host)
    , shell_(shell)
    , holders_(holders)
{
    // Parented to the window until the window places them.
    launcherBox_ = new QComboBox(host.window());
    launcherBox_->setObjectName(QStringLiteral("launcherBox"));
    launcherBox_->setEditable(true);
    launcherBox_->setInsertPolicy(QComboBox::NoInsert);
    // What is typed runs as typed: a completion from the history would run another command
    // (a longer one, or one spelled in another letter case). The history is the drop-down list.
    launcherBox_->setCompleter(nullptr);
    launcherBox_->setToolTip(RunTip);
    launcherBox_->installEventFilter(this);
    launcherBox_->lineEdit()->installEventFilter(this);
    // The whole box takes dropped files, its arrow as well as its text.
    launcherBox_->setAcceptDrops(true);
    launcherBox_->lineEdit()->setAcceptDrops(true);
    runButton_ = new QPushButton(QStringLiteral("実行"), host.window());
    runButton_->setObjectName(QStringLiteral("runButton"));
    runButton_->setToolTip(RunTip);
    runButton_->setFocusPolicy(Qt::NoFocus);
    connect(runButton_, &QPushButton::clicked, this, &LauncherController::onRunLauncher);
    const auto textChanged = [this] { host_.updateCommandStates(); };
    connect(launcherBox_, &QComboBox::editTextChanged, this, textChanged);
    connect(launcherBox_, &QComboBox::activated, this, textChanged);

    for (int i = 0; i < Holders::AppCount; ++i) {
        QAction *item = new QAction(this);
        item->setObjectName(QStringLiteral("registeredAppAction%1").arg(i));
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, i] { onRegisteredApp(i); });
        registeredAppActions_[i] = item;
        QAction *button = new QAction(this);
        button->setObjectName(QStringLiteral("registeredAppButton%1").arg(i));
        button->setIcon(QIcon(QStringLiteral(":/icons/app%1.svg").arg(i + 1)));
        button->setIconVisibleInMenu(false);
        button->setToolTip(FreeSlotTip);
        connect(button, &QAction::triggered, this, [this, i] { onRegisteredAppButton(i); });
        registeredAppButtons_[i] = button;
    }
    focusLauncherAction_ = newCommandAction(this, "focusLauncherAction", QStringLiteral("簡易ﾗﾝﾁｬｰ(&L)"), QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(focusLauncherAction_, &QAction::triggered, this, &LauncherController::onFocusLauncher);
    runLauncherAction_ = newCommandAction(this, "runLauncherAction", QStringLiteral("簡易ﾗﾝﾁｬｰ実行(&R)"), QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(runLauncherAction_, &QAction::triggered, this, &LauncherController::onRunLauncher);
    clearLauncherHistoryAction_ = newCommandAction(this, "clearLauncherHistoryAction", QStringLiteral("簡易ﾗﾝﾁｬｰの履歴を消去(&C)"));
    connect(clearLauncherHistoryAction_, &QAction::triggered, this, &LauncherController::onClearHistory);
}

bool LauncherController::hasText() const
{
    return !launcherBox_->currentText().isEmpty();
}

bool LauncherController::hasFocus() const
{
    return launcherBox_ && (launcherBox_->hasFocus() || launcherBox_->lineEdit()->hasFocus());
}

QStringList LauncherController::history() const
{
    QStringList out;
    for (int i = 0; i < launcherBox_->count(); ++i)
        out << launcherBox_->itemText(i);
    return out;
}

void LauncherController::load(const SettingsStore &settings)
{
    const SettingsKeys::Key &key = SettingsKeys::LaunchHistory;
    for (int i = 0; i < key.count; ++i) {
        const QString command = settings.read(key, QString(), i);
        if (!command.isEmpty())
            launcherBox_->addItem(command);
    }
    launcherBox_->setEditText(launcherBox_->count() > 0 ? launcherBox_->itemText(0) : QString());
}

void LauncherController::save(SettingsStore &settings) const
{
    // All ten, so that entries that dropped out of the history are cleared in the store.
    const SettingsKeys::Key &key = SettingsKeys::LaunchHistory;
    const QStringList commands = history();
    for (int i = 0; i < key.count; ++i)
        settings.write(key, commands.value(i), i);
}

bool LauncherController::launch(const QString &text, const QString &title)
{
    if (shell_ && shell_->open(text) != ShellOpen::NotFound)
        return true;
    host_.ask(QStringLiteral("実行できませんでした。"), {QMessageBox::Critical}, title);
    return false;
}

void LauncherController::onRunLauncher()
{
    const QString command = launcherBox_->currentText();
    if (launch(command, LauncherTitle)) {
        const QStringList before = history();
        const QStringList after = LaunchHistory::afterRun(before, command);
        if (after != before) {
            // Rebuilding the list empties the box: the command stays in it.
            launcherBox_->clear();
            launcherBox_->addItems(after);
            launcherBox_->setEditText(command);
        }
    }
    host_.editor()->setFocus();
}

void LauncherController::onFocusLauncher()
{
    launcherBox_->setFocus(Qt::ShortcutFocusReason);
}

void LauncherController::onClearHistory()
{
    launcherBox_->clear();
}

void LauncherController::takeSelection()
{
    // One that starts with a blank is not a command.
    const TextBox *sheet = host_.editor();
    if (sheet->SelLength() > 0) {
        const QString selected = sheet->SelText();
        if (!selected.startsWith(u' '))
            launcherBox_->setEditText(selected);
    }
}

bool LauncherController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == launcherBox_) {
        if (event->type() == QEvent::FocusIn)
            takeSelection();
        // Enter in the box presses the run button, as the default button would: a disabled
        // one (an empty box) does nothing. Keys reach the box, which hands them to its line
        // edit past any filter there.
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (runButton_->isEnabled())
                    onRunLauncher();
                return true;
            }
        }
    } else if (!launcherBox_ || watched != launcherBox_->lineEdit()) {
        return false;
    }
    // Only dropped files name a command: the last one.
    return FileDrops::filter(event, [this](const QStringList &files) {
        launcherBox_->setEditText(QDir::toNativeSeparators(files.constLast()));
    });
}

void LauncherController::onRegisteredApp(int index)
{
    launch(holders_.apps[index].path, RegisteredAppTitle);
}

void LauncherController::onRegisteredAppButton(int index)
{
    if (holders_.apps[index].path.isEmpty())
        emit optionsRequested(OptionsDialog::LauncherPage);
    else
        onRegisteredApp(index);
}

void LauncherController::showRegisteredApps()
{
    for (int i = 0; i < Holders::AppCount; ++i) {
        const Holders::App &app = holders_.apps[i];
        registeredAppActions_[i]->setVisible(!app.path.isEmpty());
        if (app.path.isEmpty()) {
            registeredAppButtons_[i]->setToolTip(FreeSlotTip);
            continue;
        }
        const QString &shown = app.name.isEmpty() ? app.path : app.name;
        registeredAppActions_[i]->setText(shown.left(CaptionLength));
        registeredAppButtons_[i]->setToolTip(shown);
    }
}
