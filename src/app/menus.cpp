// The menu bar, built from the controllers' actions; the toolbar shares these actions.
#include "app/frmMain.h"
#include "commands/EditController.h"
#include "commands/FileController.h"
#include "find/FindController.h"
#include "help/HelpController.h"
#include "launcher/LauncherController.h"
#include "phrases/DateController.h"
#include "settings/OptionsController.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

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
    mnuEdit->addAction(finds_->findAction());
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
    mnuNow->addAction(dates_->dateFormatAction());
    mnuMenuin->addSeparator()->setObjectName(QStringLiteral("mnuSerch"));
    mnuMenuin->addAction(dates_->phraseAction());
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
    mnuTool->addAction(options_->optionsAction());
}

void frmMain::createHelpMenu()
{
    mnuHelp = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->addAction(help_->helpAction());
    mnuVersepa = mnuHelp->addSeparator();
    mnuVersepa->setObjectName(QStringLiteral("mnuVersepa"));
    mnuHelp->addAction(options_->aboutAction());
}
