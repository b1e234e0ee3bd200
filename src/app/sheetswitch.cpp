// Switching sheets with the tab strip, the captions that say which sheet and file are shown,
// and files dropped on the window.
#include "app/TabStrip.h"
#include "editor/TextBox.h"
#include "app/frmMain.h"
#include "app/toolbarbuttons.h"
#include "commands/FileController.h"
#include "platform/filedrops.h"
#include "sheets/RecoveryController.h"

#include <QAction>
#include <QDropEvent>

void frmMain::TabStrip1_Click()
{
    const int n = TabStrip1->SelectedIndex();
    if (!files_->saveSheet()) {
        // The sheet being left could not be written: stay on it with its text.
        TabStrip1->selectQuietly(sheets_->currentSheet());
        return;
    }
    sheets_->setCurrentSheet(n);
    files_->loadSheet();
}

void frmMain::Text1_Change()
{
    sheets_->setChanged(true);
    recovery_->textChanged();
}

void frmMain::showSaveTarget()
{
    const QString path = sheets_->saveTarget();
    toolbarButton(ToolbarButton::SaveToOpened)->setToolTip(path.isEmpty() ? QString() : ToolbarButton::SaveToOpenedPrefix + path);
    setWindowTitle(path.isEmpty() ? sheets_->caption() : sheets_->caption() + QStringLiteral(" - ") + path);
    updateCommandStates();
}

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    // Only files are taken; dragged text is refused, so it cannot slip into the sheet.
    if (!FileDrops::localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dragMoveEvent(QDragMoveEvent *event)
{
    if (!FileDrops::localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent *event)
{
    Form_OLEDragDrop(FileDrops::localFiles(event->mimeData()));
    event->acceptProposedAction();
}

void frmMain::Form_OLEDragDrop(const QStringList &files)
{
    // The current sheet takes it, whatever tab the mouse is over; earlier files of the list
    // are not read.
    if (!files.isEmpty())
        files_->openIntoSheet(files.constLast());
}
