// Which commands are enabled: the window gathers what it knows, one rule decides, and the
// result goes onto the menu items and buttons here only.
#include "app/MainWindow.h"
#include "app/toolbarbuttons.h"
#include "commands/EditController.h"
#include "commands/FileController.h"
#include "commands/commandstates.h"
#include "editor/TextBox.h"
#include "find/FindController.h"
#include "launcher/LauncherController.h"

#include <QAction>
#include <QMenu>

void MainWindow::updateCommandStates()
{
    if (!running_)
        return;  // before start-up, and after the end
    CommandStates::Situation s;
    s.hasSelection = textBox_->textCursor().hasSelection();
    s.textEmpty = textBox_->isEmpty();
    s.clipboardHasText = edits_->clipboardHasText();
    s.boxCanUndo = edits_->boxCanUndo();
    s.haveSnapshot = !sheets_->undoSnapshot().isEmpty();
    s.hasSaveTarget = !sheets_->saveTarget().isEmpty();
    s.launcherHasText = launcher_->hasText();
    s.hasFileToReopen = files_->canReopen();
    const CommandStates::Enabled e = CommandStates::enabled(s);

    edits_->undoAction()->setEnabled(e.undo);
    edits_->cutAction()->setEnabled(e.cut);
    edits_->copyAction()->setEnabled(e.copy);
    edits_->deleteAction()->setEnabled(e.del);
    edits_->quoteCopyAction()->setEnabled(e.quoteCopy);
    edits_->quoteSelectionAction()->setEnabled(e.quoteSelection);
    edits_->pasteAction()->setEnabled(e.paste);
    edits_->quotePasteAction()->setEnabled(e.quotePaste);
    edits_->selectAllAction()->setEnabled(e.selectAll);
    finds_->findAction()->setEnabled(e.find);
    for (QAction *conversion : edits_->conversionActions())
        conversion->setEnabled(e.convert);
    files_->saveToOpenedFileAction()->setEnabled(e.saveToOpened);
    toolbarButton(ToolbarButton::SaveToOpened)->setEnabled(e.saveToOpened);
    files_->saveSelectionAction()->setEnabled(e.saveSelection);
    for (QAction *reopen : files_->reopenActions())
        reopen->setEnabled(e.reopen);
    reopenMenu_->menuAction()->setEnabled(e.reopen);
    launcher_->runButton()->setEnabled(e.runLauncher);
}

void MainWindow::keepCommandStatesCurrent()
{
    // The states must be right while the menus are closed too, so that no shortcut is left dead
    // (or live) by the state of the last opening.
    connect(textBox_, &QPlainTextEdit::selectionChanged, this, &MainWindow::updateCommandStates);
    connect(textBox_, &QPlainTextEdit::textChanged, this, &MainWindow::updateCommandStates);
    // Only enables: the snapshot is discarded by the timer's rule (and by Undo itself), never
    // in the middle of a rewrite.
    connect(textBox_->document(), &QTextDocument::undoAvailable, this, &MainWindow::updateCommandStates);
    connect(sheets_, &SheetSession::undoSnapshotChanged, this, &MainWindow::updateCommandStates);
}
