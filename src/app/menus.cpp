// The menu bar: every command's action is made here once, given its caption, shortcut and
// object name, and connected to its handler; the toolbar shares these actions.
#include "app/frmMain.h"
#include "launcher/LauncherController.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

QAction *frmMain::addItem(QMenu *menu, const char *name, const QString &caption, void (frmMain::*handler)(),
                          const QKeySequence &shortcut)
{
    auto *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    // The menu items' shortcuts work wherever the focus is in the main window.
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void frmMain::createMenus()
{
    createFileMenu();
    createEditMenu();
    createCharMenu();
    createInsertMenu();
    createToolMenu();
    createHelpMenu();
}

void frmMain::createFileMenu()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    connect(mnuFile, &QMenu::aboutToShow, this, &frmMain::mnuFile_Click);
    mnuNew = addItem(mnuFile, "mnuNew", QStringLiteral("新規作成(&N)"), &frmMain::mnuNew_Click, QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuOpen = addItem(mnuFile, "mnuOpen", QStringLiteral("開く(&O)"), &frmMain::mnuOpen_Click, QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuSelopen = addItem(mnuFile, "mnuSelopen", QStringLiteral("ｶｰｿﾙ位置に読み込み(&I)"), &frmMain::mnuSelopen_Click);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuSepaFile"));
    mnuUwa = addItem(mnuFile, "mnuUwa", QStringLiteral("開いたﾌｧｲﾙに上書き保存(&S)"), &frmMain::mnuUwa_Click, QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSave = addItem(mnuFile, "mnuSave", QStringLiteral("名前を付けて保存(&A)"), &frmMain::mnuSave_Click);
    mnuSelsave = addItem(mnuFile, "mnuSelsave", QStringLiteral("選択部分を保存(&V)"), &frmMain::mnuSelsave_Click);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuSepaFile1"));
    mnuNoe = addItem(mnuFile, "mnuNoe", QStringLiteral("保存しないで終了(&E)"), &frmMain::mnuNoe_Click);
    mnuEndno = addItem(mnuFile, "mnuEndno", QStringLiteral("終了(&X)"), &frmMain::mnuEndno_Click);
}

void frmMain::createEditMenu()
{
    mnuEdit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    connect(mnuEdit, &QMenu::aboutToShow, this, &frmMain::mnuEdit_Click);
    mnuUndo = addItem(mnuEdit, "mnuUndo", QStringLiteral("元に戻す(&U)"), &frmMain::mnuUndo_Click, QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuEdit->addSeparator()->setObjectName(QStringLiteral("mnuSepaEdit"));
    mnuCut = addItem(mnuEdit, "mnuCut", QStringLiteral("切り取り(&C)"), &frmMain::mnuCut_Click, QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuCopy = addItem(mnuEdit, "mnuCopy", QStringLiteral("ｺﾋﾟｰ(&O)"), &frmMain::mnuCopy_Click, QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuAllcopy = addItem(mnuEdit, "mnuAllcopy", QStringLiteral("すべての範囲をｺﾋﾟｰ(&Y)"), &frmMain::mnuAllcopy_Click);
    mnuPaste = addItem(mnuEdit, "mnuPaste", QStringLiteral("貼り付け(&P)"), &frmMain::mnuPaste_Click, QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuDelete = addItem(mnuEdit, "mnuDelete", QStringLiteral("削除(&D)"), &frmMain::mnuDelete_Click);
    mnuEdit->addSeparator()->setObjectName(QStringLiteral("mnuSepaEdit1"));
    mnuIncopy = addItem(mnuEdit, "mnuIncopy", QStringLiteral("引用符を付けてｺﾋﾟｰ(&Q)"), &frmMain::mnuIncopy_Click);
    mnuInhari = addItem(mnuEdit, "mnuInhari", QStringLiteral("引用符を付けて貼り付け(&T)"), &frmMain::mnuInhari_Click);
    mnuEdit->addSeparator()->setObjectName(QStringLiteral("mnuSepaEdit2"));
    mnuInyou = addItem(mnuEdit, "mnuInyou", QStringLiteral("選択範囲に引用符を追加(&I)"), &frmMain::mnuInyou_Click);
    mnuEdit->addSeparator()->setObjectName(QStringLiteral("mnuSepaEdit3"));
    mnuSelectall = addItem(mnuEdit, "mnuSelectall", QStringLiteral("すべての範囲を選択(&A)"), &frmMain::mnuSelectall_Click, QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuEdit->addSeparator()->setObjectName(QStringLiteral("mnuSepaEdit4"));
    mnuSearchFind = addItem(mnuEdit, "mnuSearchFind", QStringLiteral("検索と置換(&S)"), &frmMain::mnuSearchFind_Click, QKeySequence(Qt::CTRL | Qt::Key_F));
}

void frmMain::createCharMenu()
{
    mnuChara = menuBar()->addMenu(QStringLiteral("文字変換(&C)"));
    mnuChara->setObjectName(QStringLiteral("mnuChara"));
    connect(mnuChara, &QMenu::aboutToShow, this, &frmMain::mnuChara_Click);
    static const char *const captions[10] = {
        "全角に変換(&Z)", "半角に変換(&H)", nullptr, "ｶﾀｶﾅに変換(&K)", "ひらがなに変換(&G)", nullptr,
        "大文字に変換(&U)", "小文字に変換(&L)", nullptr, "先頭を大文字に変換(&P)",
    };
    for (int i = 0; i < 10; ++i) {
        mnuChar[i] = captions[i] ? mnuChara->addAction(QString::fromUtf8(captions[i])) : mnuChara->addSeparator();
        mnuChar[i]->setObjectName(QStringLiteral("mnuChar%1").arg(i));
        if (captions[i])
            connect(mnuChar[i], &QAction::triggered, this, [this, i] { mnuChar_Click(i); });
    }
}

void frmMain::createInsertMenu()
{
    mnuMenuin = menuBar()->addMenu(QStringLiteral("挿入(&I)"));
    mnuMenuin->setObjectName(QStringLiteral("mnuMenuin"));
    mnuNow = mnuMenuin->addMenu(QStringLiteral("日付と時刻(&N)"));
    mnuNow->setObjectName(QStringLiteral("mnuNow"));
    mnuDate = addItem(mnuNow, "mnuDate", QStringLiteral("日付と時刻の挿入(&D)"), &frmMain::mnuDate_Click, QKeySequence(Qt::Key_F5));
    mnuDateform = addItem(mnuNow, "mnuDateform", QStringLiteral("形式を選んで挿入(&A)"), &frmMain::mnuDateform_Click);
    mnuMenuin->addSeparator()->setObjectName(QStringLiteral("mnuSerch"));
    mnuInsert = addItem(mnuMenuin, "mnuInsert", QStringLiteral("定型文字列(&I)"), &frmMain::mnuInsert_Click, QKeySequence(Qt::CTRL | Qt::Key_I));
}

void frmMain::createToolMenu()
{
    mnuTool = menuBar()->addMenu(QStringLiteral("ﾂｰﾙ(&T)"));
    mnuTool->setObjectName(QStringLiteral("mnuTool"));
    for (int i = 0; i < Holders::AppCount; ++i)
        mnuTool->addAction(launcher_->registeredAppAction(i));
    mnuTool->addSeparator()->setObjectName(QStringLiteral("mnuSepaTool"));
    mnuTool->addAction(launcher_->focusLauncherAction());
    mnuTool->addAction(launcher_->runLauncherAction());
    mnuTool->addSeparator()->setObjectName(QStringLiteral("mnuSepaTool1"));
    mnuTool->addAction(launcher_->clearLauncherHistoryAction());
    mnuTool->addSeparator()->setObjectName(QStringLiteral("mnuSepaTool2"));
    mnuOpt = addItem(mnuTool, "mnuOpt", QStringLiteral("動作環境の設定(&O)"), &frmMain::mnuOpt_Click);

    // The tab strip's right-button menu.
    mnuRtab = new QMenu(this);
    mnuRtab->setObjectName(QStringLiteral("mnuRtab"));
    mnuRtab00 = addItem(mnuRtab, "mnuRtab00", QStringLiteral("ﾌｧｲﾙ変更ﾀﾌﾞの設定"), &frmMain::mnuRtab00_Click);
}

void frmMain::createHelpMenu()
{
    mnuHelp = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHel = addItem(mnuHelp, "mnuHel", QStringLiteral("ﾍﾙﾌﾟ(&H)"), &frmMain::mnuHel_Click, QKeySequence(Qt::Key_F1));
    mnuVersepa = mnuHelp->addSeparator();
    mnuVersepa->setObjectName(QStringLiteral("mnuVersepa"));
    mnuAbout = addItem(mnuHelp, "mnuAbout", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), &frmMain::mnuAbout_Click);
}
