// Switching sheets with the tab strip, and the captions that say which sheet and file are shown.
#include "app/TabStrip.h"
#include "app/TextBox.h"
#include "app/frmMain.h"
#include "app/toolbarbuttons.h"

#include <QAction>

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
