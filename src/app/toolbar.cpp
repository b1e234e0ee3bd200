// The toolbar: one table of its buttons, each running the command of a menu item.
#include "app/frmMain.h"
#include "app/toolbarbuttons.h"
#include "launcher/LauncherController.h"

#include <QAction>
#include <QToolBar>

void frmMain::createToolbar()
{
    // shared: the menu item whose action (and so enabled state) the button shares; otherwise the
    // button has an action of its own that stays enabled whatever the menu item says. A row
    // without an icon is a controller's button, which comes with its icon and tooltip.
    struct Row {
        ToolbarButton::Index index;
        const char *icon;
        const char16_t *tooltip;
        QAction *frmMain::*shared;
        void (frmMain::*command)();
    };
    using namespace ToolbarButton;
    static const Row rows[] = {
        {New, "Pnew", u"新規作成", &frmMain::mnuNew, nullptr},
        {Open, "Popen", u"既存のﾌｧｲﾙを開く", &frmMain::mnuOpen, nullptr},
        {SaveAs, "Psave", u"名前を付けて保存", &frmMain::mnuSave, nullptr},
        // Its tooltip names the sheet's opened file; it follows that file, not the menu.
        {SaveToOpened, "save-opened", u"", nullptr, &frmMain::mnuUwa_Click},
        {Cut, "Pcut", u"切り取り", nullptr, &frmMain::mnuCut_Click},
        {Copy, "Pcopy", u"ｺﾋﾟｰ", nullptr, &frmMain::mnuCopy_Click},
        {CopyAll, "copy-all", u"すべての範囲をｺﾋﾟｰ", &frmMain::mnuAllcopy, nullptr},
        {Paste, "Ppaste", u"貼り付け", nullptr, &frmMain::mnuPaste_Click},
        {SearchFind, "Pfind", u"検索と置換", nullptr, &frmMain::mnuSearchFind_Click},
        {Undo, "Pundo", u"元に戻す", &frmMain::mnuUndo, nullptr},
        {DateTime, "Pnow", u"日付と時刻の挿入", &frmMain::mnuDate, nullptr},
        {Quote, "quote", u"選択範囲に引用符追加", nullptr, &frmMain::mnuInyou_Click},
        {Phrase, "phrase", u"定型文字列の挿入", &frmMain::mnuInsert, nullptr},
        {App1, nullptr, nullptr, nullptr, nullptr},
        {App2, nullptr, nullptr, nullptr, nullptr},
        {App3, nullptr, nullptr, nullptr, nullptr},
        {Options, "options", u"動作環境の設定", &frmMain::mnuOpt, nullptr},
        {Help, "help", u"ﾍﾙﾌﾟ表示", &frmMain::mnuHel, nullptr},
        {About, "about", u"ﾊﾞｰｼﾞｮﾝ情報", &frmMain::mnuAbout, nullptr},
        {Exit, "exit", u"終了", &frmMain::mnuEndno, nullptr},
    };

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, Toolbar1);

    int previous = 0;
    for (const Row &row : rows) {
        QAction *action = nullptr;
        if (!row.icon) {
            action = launcher_->registeredAppButton(row.index - App1);
        } else if (row.shared) {
            action = this->*row.shared;
        } else {
            action = new QAction(this);
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
            Toolbar1->addSeparator();
        Toolbar1->addAction(action);
        previous = row.index;
    }
    toolbarButton(SaveToOpened)->setEnabled(false);
}

QAction *frmMain::toolbarButton(int index) const
{
    const auto it = toolbarButtons_.find(index);
    return it == toolbarButtons_.end() ? nullptr : it->second;
}
