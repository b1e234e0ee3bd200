// Switching sheets with the tab strip, the captions that say which sheet and file are shown,
// and files dropped on the window.
#include "app/TabStrip.h"
#include "editor/TextBox.h"
#include "app/MainWindow.h"
#include "app/toolbarbuttons.h"
#include "commands/FileController.h"
#include "platform/filedrops.h"
#include "sheets/RecoveryController.h"

#include <QAction>
#include <QDropEvent>

void MainWindow::onTabChosen()
{
    const int n = tabStrip_->selectedIndex();
    if (!files_->saveSheet()) {
        // The sheet being left could not be written: stay on it with its text.
        tabStrip_->selectQuietly(sheets_->currentSheet());
        return;
    }
    sheets_->setCurrentSheet(n);
    files_->loadSheet();
}

void MainWindow::onTextChanged()
{
    sheets_->setChanged(true);
    recovery_->textChanged();
}

void MainWindow::showSaveTarget()
{
    const QString path = sheets_->saveTarget();
    toolbarButton(ToolbarButton::SaveToOpened)->setToolTip(path.isEmpty() ? QString() : ToolbarButton::SaveToOpenedPrefix + path);
    setWindowTitle(path.isEmpty() ? sheets_->caption() : sheets_->caption() + QStringLiteral(" - ") + path);
    updateCommandStates();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    // Only files are taken; dragged text is refused, so it cannot slip into the sheet.
    if (!FileDrops::localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent *event)
{
    if (!FileDrops::localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    openDroppedFiles(FileDrops::localFiles(event->mimeData()));
    event->acceptProposedAction();
}

void MainWindow::openDroppedFiles(const QStringList &files)
{
    // The current sheet takes it, whatever tab the mouse is over; earlier files of the list
    // are not read.
    if (!files.isEmpty())
        files_->openIntoSheet(files.constLast());
}
