// The menu bar, built from the controllers' actions; the toolbar shares these actions.
#include "app/MainWindow.h"
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

void MainWindow::createMenus()
{
    createFileMenu();
    createEditMenu();
    createConversionMenu();
    createInsertMenu();
    createToolsMenu();
    createHelpMenu();
}

void MainWindow::createFileMenu()
{
    QMenu *fileMenu = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    connect(fileMenu, &QMenu::aboutToShow, this, &MainWindow::updateCommandStates);
    fileMenu->addActions({files_->newAction(), files_->openAction(), files_->insertFileAction()});
    reopenMenu_ = fileMenu->addMenu(QStringLiteral("文字コードを指定して開き直す(&K)"));
    reopenMenu_->setObjectName(QStringLiteral("reopenMenu"));
    reopenMenu_->addActions(files_->reopenActions());
    fileMenu->addSeparator();
    fileMenu->addActions({files_->saveToOpenedFileAction(), files_->saveAsAction(), files_->saveSelectionAction()});
    fileMenu->addSeparator();
    fileMenu->addActions({files_->exitWithoutSavingAction(), files_->exitAction()});
}

void MainWindow::createEditMenu()
{
    QMenu *editMenu = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    editMenu->setObjectName(QStringLiteral("editMenu"));
    connect(editMenu, &QMenu::aboutToShow, this, &MainWindow::updateCommandStates);
    editMenu->addAction(edits_->undoAction());
    editMenu->addSeparator();
    editMenu->addActions({edits_->cutAction(), edits_->copyAction(), edits_->copyAllAction(), edits_->pasteAction(),
                         edits_->deleteAction()});
    editMenu->addSeparator();
    editMenu->addActions({edits_->quoteCopyAction(), edits_->quotePasteAction()});
    editMenu->addSeparator();
    editMenu->addAction(edits_->quoteSelectionAction());
    editMenu->addSeparator();
    editMenu->addAction(edits_->selectAllAction());
    editMenu->addSeparator();
    editMenu->addAction(finds_->findAction());
}

void MainWindow::createConversionMenu()
{
    QMenu *conversionMenu = menuBar()->addMenu(QStringLiteral("文字変換(&C)"));
    conversionMenu->setObjectName(QStringLiteral("conversionMenu"));
    connect(conversionMenu, &QMenu::aboutToShow, this, &MainWindow::updateCommandStates);
    using Conversions::Conversion;
    conversionMenu->addActions({edits_->conversionAction(Conversion::Wide), edits_->conversionAction(Conversion::Narrow)});
    conversionMenu->addSeparator();
    conversionMenu->addActions({edits_->conversionAction(Conversion::Katakana), edits_->conversionAction(Conversion::Hiragana)});
    conversionMenu->addSeparator();
    conversionMenu->addActions({edits_->conversionAction(Conversion::Upper), edits_->conversionAction(Conversion::Lower)});
    conversionMenu->addSeparator();
    conversionMenu->addAction(edits_->conversionAction(Conversion::Capitalise));
}

void MainWindow::createInsertMenu()
{
    QMenu *insertMenu = menuBar()->addMenu(QStringLiteral("挿入(&I)"));
    insertMenu->setObjectName(QStringLiteral("insertMenu"));
    QMenu *dateTimeMenu = insertMenu->addMenu(QStringLiteral("日付と時刻(&N)"));
    dateTimeMenu->setObjectName(QStringLiteral("dateTimeMenu"));
    dateTimeMenu->addAction(edits_->stampAction());
    dateTimeMenu->addAction(dates_->dateFormatAction());
    insertMenu->addSeparator();
    insertMenu->addAction(dates_->phraseAction());
}

void MainWindow::createToolsMenu()
{
    QMenu *toolsMenu = menuBar()->addMenu(QStringLiteral("ﾂｰﾙ(&T)"));
    toolsMenu->setObjectName(QStringLiteral("toolsMenu"));
    for (int i = 0; i < Holders::AppCount; ++i)
        toolsMenu->addAction(launcher_->registeredAppAction(i));
    toolsMenu->addSeparator();
    toolsMenu->addAction(launcher_->focusLauncherAction());
    toolsMenu->addAction(launcher_->runLauncherAction());
    toolsMenu->addSeparator();
    toolsMenu->addAction(launcher_->clearLauncherHistoryAction());
    toolsMenu->addSeparator();
    toolsMenu->addAction(options_->optionsAction());
}

void MainWindow::createHelpMenu()
{
    QMenu *helpMenu = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    helpMenu->addAction(help_->helpAction());
    helpMenu->addSeparator();
    helpMenu->addAction(options_->aboutAction());
}
