// The Edit menu: its enabling, the two-level undo and the adapter's edit commands.

#include "app/TextBox.h"
#include "app/frmMain.h"
#include "commands/clsText1.h"
#include "commands/quoting.h"
#include "platform/dialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTextDocument>

namespace {

void enableForSelection(frmMain &w)
{
    const bool selected = w.Text1->SelLength() >= 1;
    for (QAction *item : {w.mnuCopy, w.mnuDelete, w.mnuCut, w.mnuInyou, w.mnuIncopy})
        item->setEnabled(selected);
}

void enableForText(frmMain &w)
{
    const bool hasText = !w.Text1->isEmpty();
    w.mnuSelectall->setEnabled(hasText);
    w.mnuSearchFind->setEnabled(hasText);
}

void enableForClipboard(frmMain &w)
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    const bool hasText = data && data->hasText();
    w.mnuPaste->setEnabled(hasText);
    w.mnuInhari->setEnabled(hasText);
}

} // namespace

void frmMain::mnuEdit_Click()
{
    enableForSelection(*this);
    enableForText(*this);
    enableForClipboard(*this);
}

void frmMain::bindEditingCommands()
{
    connect(Text1, &QPlainTextEdit::selectionChanged, this, [this] {
        enableForSelection(*this);
        mnuChara_Click();
    });
    connect(Text1, &QPlainTextEdit::textChanged, this, [this] { enableForText(*this); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { enableForClipboard(*this); });
    // Only enables: the snapshot is discarded by the timer's rule (and by Undo itself), never
    // in the middle of a rewrite.
    connect(Text1->document(), &QTextDocument::undoAvailable, this, [this] { applyUndoRule(false); });
    mnuEdit_Click();
    mnuChara_Click();
}

void frmMain::applyUndoRule(bool discardSnapshot)
{
    const bool boxCanUndo = textAdapter_ && textAdapter_->CanUndo();
    const bool haveSnapshot = !strUndo.isEmpty();
    if (boxCanUndo && haveSnapshot && discardSnapshot)
        strUndo.clear();
    // Button 13 is the same action as mnuUndo.
    mnuUndo->setEnabled(boxCanUndo || haveSnapshot);
}

void frmMain::rewriteSelection(const QString &text)
{
    // The whole text from just before the rewrite is what one Undo brings back.
    strUndo = Text1->Text();
    Text1->rewriteSelText(text);
}

void frmMain::mnuUndo_Click()
{
    // The rule as the next tick would apply it, so that what Undo undoes never depends on
    // whether a tick came between an edit and the key press.
    applyUndoRule(true);
    const qsizetype caret = Text1->SelStart();
    if (!strUndo.isEmpty()) {
        Text1->setText(strUndo);
        strUndo.clear();
        Text1->setSelStart(caret);
    } else if (textAdapter_) {
        textAdapter_->Undo();
    }
    applyUndoRule(false);
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
