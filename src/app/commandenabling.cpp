// Which commands are enabled: the window gathers what it knows, one rule decides, and the
// result goes onto the menu items and buttons here only.
#include "editor/TextBox.h"
#include "app/frmMain.h"
#include "app/toolbarbuttons.h"
#include "commands/clsText1.h"
#include "commands/commandstates.h"
#include "launcher/LauncherController.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTextDocument>

void frmMain::updateCommandStates()
{
    if (!textAdapter_)
        return;  // before start-up bound the adapter, and after the end
    CommandStates::Situation s;
    s.hasSelection = Text1->textCursor().hasSelection();
    s.textEmpty = Text1->isEmpty();
    s.clipboardHasText = clipboardHasText_;
    s.boxCanUndo = textAdapter_->CanUndo();
    s.haveSnapshot = !sheets_->undoSnapshot().isEmpty();
    s.hasSaveTarget = !sheets_->saveTarget().isEmpty();
    s.launcherHasText = launcher_->hasText();
    const CommandStates::Enabled e = CommandStates::enabled(s);

    mnuUndo->setEnabled(e.undo);  // button 13 shares it
    mnuCut->setEnabled(e.cut);
    mnuCopy->setEnabled(e.copy);
    mnuDelete->setEnabled(e.del);
    mnuIncopy->setEnabled(e.quoteCopy);
    mnuInyou->setEnabled(e.quoteSelection);
    mnuPaste->setEnabled(e.paste);
    mnuInhari->setEnabled(e.quotePaste);
    mnuSelectall->setEnabled(e.selectAll);
    mnuSearchFind->setEnabled(e.find);
    for (int i : {0, 1, 3, 4, 6, 7, 9})
        mnuChar[i]->setEnabled(e.convert);
    mnuUwa->setEnabled(e.saveToOpened);
    mnuSelsave->setEnabled(e.saveSelection);
    launcher_->runButton()->setEnabled(e.runLauncher);
}

void frmMain::applyUndoRule()
{
    // Once the box has an undo step of its own, an older snapshot would undo more than the
    // last edit: it goes.
    if (textAdapter_ && textAdapter_->CanUndo())
        sheets_->setUndoSnapshot(QString());
    updateCommandStates();
}

void frmMain::keepCommandStatesCurrent()
{
    // The states must be right while the menus are closed too, so that no shortcut is left dead
    // (or live) by the state of the last opening.
    connect(Text1, &QPlainTextEdit::selectionChanged, this, &frmMain::updateCommandStates);
    connect(Text1, &QPlainTextEdit::textChanged, this, &frmMain::updateCommandStates);
    // Only enables: the snapshot is discarded by the timer's rule (and by Undo itself), never
    // in the middle of a rewrite.
    connect(Text1->document(), &QTextDocument::undoAvailable, this, &frmMain::updateCommandStates);
    // Asking the clipboard is a round trip to its owner on some desktops: remember the answer.
    const auto clipboardChanged = [this] {
        const QMimeData *data = QApplication::clipboard()->mimeData();
        clipboardHasText_ = data && data->hasText();
        updateCommandStates();
    };
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, clipboardChanged);
    clipboardChanged();
}
