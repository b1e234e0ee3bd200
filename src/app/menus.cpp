// The menu bar: every command's action is made here once, given its caption, shortcut and
// object name, and connected to its handler; the toolbar shares these actions.
#include "app/frmMain.h"
#include "commands/EditController.h"
#include "commands/FileController.h"
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
    connect(mnuFile, &QMenu::aboutToShow, this, &frmMain::updateCommandStates);
    mnuFile->addActions({files_->newAction(), files_->openAction(), files_->insertFileAction()});
    mnuFile->addSeparator();
    mnuFile->addActions({files_->saveToOpenedFileAction(), files_->saveAsAction(), files_->saveSelectionAction()});
    mnuFile->addSeparator();
    mnuFile->addActions({files_->exitWithoutSavingAction(), files_->exitAction()});
}

void frmMain::createEditMenu()
{
    mnuEdit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    connect(mnuEdit, &QMenu::aboutToShow, this, &frmMain::updateCommandStates);
    mnuEdit->addAction(edits_->undoAction());
    mnuEdit->addSeparator();
    mnuEdit->addActions({edits_->cutAction(), edits_->copyAction(), edits_->copyAllAction(), edits_->pasteAction(),
                         edits_->deleteAction()});
    mnuEdit->addSeparator();
    mnuEdit->addActions({edits_->quoteCopyAction(), edits_->quotePasteAction()});
    mnuEdit->addSeparator();
    mnuEdit->addAction(edits_->quoteSelectionAction());
    mnuEdit->addSeparator();
    mnuEdit->addAction(edits_->selectAllAction());
    mnuEdit->addSeparator();
    mnuSearchFind = addItem(mnuEdit, "mnuSearchFind", QStringLiteral("検索と置換(&S)"), &frmMain::mnuSearchFind_Click, QKeySequence(Qt::CTRL | Qt::Key_F));
}

void frmMain::createCharMenu()
{
    mnuChara = menuBar()->addMenu(QStringLiteral("文字変換(&C)"));
    mnuChara->setObjectName(QStringLiteral("mnuChara"));
    connect(mnuChara, &QMenu::aboutToShow, this, &frmMain::updateCommandStates);
    using Conversions::Conversion;
    mnuChara->addActions({edits_->conversionAction(Conversion::Wide), edits_->conversionAction(Conversion::Narrow)});
    mnuChara->addSeparator();
    mnuChara->addActions({edits_->conversionAction(Conversion::Katakana), edits_->conversionAction(Conversion::Hiragana)});
    mnuChara->addSeparator();
    mnuChara->addActions({edits_->conversionAction(Conversion::Upper), edits_->conversionAction(Conversion::Lower)});
    mnuChara->addSeparator();
    mnuChara->addAction(edits_->conversionAction(Conversion::Capitalise));
}

void frmMain::createInsertMenu()
{
    mnuMenuin = menuBar()->addMenu(QStringLiteral("挿入(&I)"));
    mnuMenuin->setObjectName(QStringLiteral("mnuMenuin"));
    mnuNow = mnuMenuin->addMenu(QStringLiteral("日付と時刻(&N)"));
    mnuNow->setObjectName(QStringLiteral("mnuNow"));
    mnuNow->addAction(edits_->stampAction());
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
