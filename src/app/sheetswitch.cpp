// Switching sheets with the tab strip, the captions that say which sheet and file are shown,
// and files dropped on the window.
#include "app/TabStrip.h"
#include "app/TextBox.h"
#include "app/frmMain.h"
#include "app/toolbarbuttons.h"
#include "platform/filedrops.h"

#include <QAction>
#include <QDropEvent>

void frmMain::TabStrip1_Click()
{
    const int n = TabStrip1->SelectedIndex();
    if (!SaveSheet()) {
        // The sheet being left could not be written: stay on it with its text.
        TabStrip1->selectQuietly(sheets_.currentSheet());
        return;
    }
    sheets_.setStrFileName(SheetStore::sheetFileName(n));
    setLabel2(QStringLiteral("q7 Zibo q%1").arg(n));
    showOpenedFileCaptions();
    LoadFile();
}

void frmMain::setLabel2(const QString &caption)
{
    sheets_.setLabel2(caption);
    // The enabled state of Undo follows the snapshot that a change of sheet drops.
    updateCommandStates();
}

void frmMain::Text1_Change()
{
    sheets_.setBlnChanged(true);
    restartRecoveryDelay();
}

void frmMain::showOpenedFileCaptions()
{
    const QString &path = sheets_.currentOpenedFile();
    if (path.isEmpty()) {
        showNoFileCaptions();
        return;
    }
    QAction *button4 = toolbarButton(ToolbarButton::SaveToOpened);
    button4->setEnabled(true);
    button4->setToolTip(ToolbarButton::SaveToOpenedPrefix + path);
    setWindowTitle(sheets_.Label2() + QStringLiteral(" - ") + path);
}

void frmMain::showNoFileCaptions()
{
    QAction *button4 = toolbarButton(ToolbarButton::SaveToOpened);
    button4->setEnabled(false);
    button4->setToolTip(QString());
    setWindowTitle(sheets_.Label2());
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
        openIntoSheet(files.constLast());
}
