#include "commands/clsText1.h"

#include "editor/TextBox.h"

#include <QTextDocument>

// Without a target every operation does nothing, as messages to a missing window would.

void clsText1::Undo()
{
    if (target_)
        target_->undoEdit();
}

void clsText1::SelectAll()
{
    if (target_)
        target_->selectAll();
}

void clsText1::Paste()
{
    if (target_)
        target_->paste();
}

void clsText1::Cut()
{
    if (target_)
        target_->cut();
}

void clsText1::Copy()
{
    if (target_)
        target_->copy();
}

bool clsText1::CanUndo() const
{
    return target_ && target_->document()->isUndoAvailable();
}

void clsText1::Clear()
{
    if (!target_)
        return;
    QTextCursor cursor = target_->textCursor();
    cursor.removeSelectedText();
    target_->setTextCursor(cursor);
}
