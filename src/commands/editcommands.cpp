// The Edit menu: the two-level undo and the adapter's edit commands.

#include "editor/TextBox.h"
#include "app/frmMain.h"
#include "commands/clsText1.h"
#include "commands/clipboardtext.h"
#include "platform/dialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>

void frmMain::mnuEdit_Click()
{
    updateCommandStates();
}

void frmMain::rewriteSelection(const QString &text)
{
    // The whole text from just before the rewrite is what one Undo brings back.
    sheets_->setUndoSnapshot(Text1->Text());
    Text1->rewriteSelText(text);
}

void frmMain::mnuUndo_Click()
{
    // The rule as the next tick would apply it, so that what Undo undoes never depends on
    // whether a tick came between an edit and the key press.
    applyUndoRule();
    const qsizetype caret = Text1->SelStart();
    if (!sheets_->undoSnapshot().isEmpty()) {
        // Only the stretch the rewrite changed goes back; then the box's text is the snapshot.
        Text1->restoreText(sheets_->undoSnapshot());
        sheets_->setUndoSnapshot(QString());
        Text1->setSelStart(caret);
    } else if (textAdapter_) {
        textAdapter_->Undo();
    }
    updateCommandStates();
}

void frmMain::mnuCut_Click()
{
    if (textAdapter_)
        textAdapter_->Cut();
}

void frmMain::mnuCopy_Click()
{
    if (textAdapter_)
        textAdapter_->Copy();
}

void frmMain::mnuAllcopy_Click()
{
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(ClipboardText::fromModel(Text1->Text()));
    msgBox(QStringLiteral("すべての範囲をコピーしました。"), MsgBoxStyle::OKOnly | MsgBoxStyle::Information,
           QStringLiteral("q7 Zibo"));
    Text1->setFocus();
}

void frmMain::mnuPaste_Click()
{
    if (textAdapter_)
        textAdapter_->Paste();
}

void frmMain::mnuDelete_Click()
{
    if (textAdapter_)
        textAdapter_->Clear();
}

void frmMain::mnuSelectall_Click()
{
    if (textAdapter_)
        textAdapter_->SelectAll();
}
