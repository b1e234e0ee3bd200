// Quoting text line by line with the quote mark of the settings holders, read afresh by every
// command so that a change in the options applies at once. The quoted text is built in memory
// and goes into the box or onto the clipboard in one operation.

#include "editor/TextBox.h"
#include "app/frmMain.h"
#include "commands/clipboardtext.h"
#include "commands/quoting.h"

#include <QApplication>
#include <QClipboard>

void frmMain::mnuIncopy_Click()
{
    const QString quoted = Quoting::quote(Text1->SelText(), holders_.quoteMark);
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(ClipboardText::fromModel(quoted));
    Text1->setFocus();
}

void frmMain::mnuInhari_Click()
{
    // Clipboard text comes with LF line breaks, whatever the platform keeps.
    const QString source = ClipboardText::toModel(QApplication::clipboard()->text());
    rewriteSelection(Quoting::quote(source, holders_.quoteMark));
}

void frmMain::mnuInyou_Click()
{
    rewriteSelection(Quoting::quote(Text1->SelText(), holders_.quoteMark));
}
