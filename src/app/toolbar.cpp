// The toolbar: one table of its buttons, each running the command of a menu item.
#include "app/MainWindow.h"
#include "commands/EditController.h"
#include "commands/FileController.h"
#include "app/toolbarbuttons.h"
#include "find/FindController.h"
#include "help/HelpController.h"
#include "launcher/LauncherController.h"
#include "phrases/DateController.h"
#include "settings/OptionsController.h"

#include <QAction>
#include <QToolBar>

#include <functional>

void MainWindow::createToolbar()
{
    // shared: the menu item whose action (and so enabled state) the button shares; otherwise the
    // button has an action of its own that stays enabled whatever the menu item says. A row
    // without an icon is a controller's button, which comes with its icon and tooltip.
    struct Row {
        ToolbarButton::Index index;
        const char *icon;
        const char16_t *tooltip;
        QAction *shared;
        std::function<void()> command;
    };
    using namespace ToolbarButton;
    const Row rows[] = {
        {New, "Pnew", u"新規作成", files_->newAction(), nullptr},
        {Open, "Popen", u"既存のﾌｧｲﾙを開く", files_->openAction(), nullptr},
        {SaveAs, "Psave", u"名前を付けて保存", files_->saveAsAction(), nullptr},
        // Its tooltip names the sheet's save target (showSaveTarget), which the menu item's would
        // not: a tooltip of its own.
        {SaveToOpened, "save-opened", u"", nullptr, [this] { files_->saveToOpenedFileAction()->trigger(); }},
        // Cut, copy, paste and find stay enabled whatever their menu items say.
        {Cut, "Pcut", u"切り取り", nullptr, [this] { edits_->cut(); }},
        {Copy, "Pcopy", u"ｺﾋﾟｰ", nullptr, [this] { edits_->copy(); }},
        {CopyAll, "copy-all", u"すべての範囲をｺﾋﾟｰ", edits_->copyAllAction(), nullptr},
        {Paste, "Ppaste", u"貼り付け", nullptr, [this] { edits_->paste(); }},
        {SearchFind, "Pfind", u"検索と置換", nullptr, [this] { finds_->showFind(); }},
        {Undo, "Pundo", u"元に戻す", edits_->undoAction(), nullptr},
        {DateTime, "Pnow", u"日付と時刻の挿入", edits_->stampAction(), nullptr},
        {Quote, "quote", u"選択範囲に引用符追加", edits_->quoteSelectionAction(), nullptr},
        {Phrase, "phrase", u"定型文字列の挿入", dates_->phraseAction(), nullptr},
        // The launcher's buttons come with their icons and tooltips.
        {App1, nullptr, nullptr, launcher_->registeredAppButton(0), nullptr},
        {App2, nullptr, nullptr, launcher_->registeredAppButton(1), nullptr},
        {App3, nullptr, nullptr, launcher_->registeredAppButton(2), nullptr},
        {Options, "options", u"動作環境の設定", options_->optionsAction(), nullptr},
        {Help, "help", u"ﾍﾙﾌﾟ表示", help_->helpAction(), nullptr},
        {About, "about", u"ﾊﾞｰｼﾞｮﾝ情報", options_->aboutAction(), nullptr},
        {Exit, "exit", u"終了", files_->exitAction(), nullptr},
    };

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, toolBar_);

    int previous = 0;
    for (const Row &row : rows) {
        QAction *action = row.shared ? row.shared : new QAction(this);
        if (!row.shared) {
            action->setObjectName(QStringLiteral("tbr%1").arg(int(row.index)));
            connect(action, &QAction::triggered, this, row.command);
        }
        if (row.icon) {
            action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(row.icon))));
            // The image belongs to the button; the menus stay plain text.
            action->setIconVisibleInMenu(false);
            action->setToolTip(QString::fromUtf16(row.tooltip));
        }
        toolbarButtons_[row.index] = action;
        // A separator stands wherever the indexes have a gap.
        if (previous && row.index > previous + 1)
            toolBar_->addSeparator();
        toolBar_->addAction(action);
        previous = row.index;
    }
}

QAction *MainWindow::toolbarButton(int index) const
{
    const auto it = toolbarButtons_.find(index);
    return it == toolbarButtons_.end() ? nullptr : it->second;
}
