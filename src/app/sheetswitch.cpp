// Switching sheets with the tab strip, and the captions that say which sheet and file are shown.
#include "app/TabStrip.h"
#include "app/TextBox.h"
#include "app/frmMain.h"

#include <QAction>

void frmMain::TabStrip1_Click()
{
    const int n = TabStrip1->SelectedIndex();
    if (!SaveSheet()) {
        // The sheet being left could not be written: stay on it with its text.
        TabStrip1->selectQuietly(currentSheet());
        return;
    }
    strFileName = sheetFileName(n);
    setLabel2(QStringLiteral("q7 Zibo q%1").arg(n));
    showOpenedFileCaptions();
    LoadFile();
}

void frmMain::setLabel2(const QString &caption)
{
    if (caption == label2_)
        return;
    label2_ = caption;
    Label2_Change();
}

void frmMain::Label2_Change()
{
    // A snapshot of one sheet must never be restored into another.
    strUndo.clear();
}

void frmMain::Text1_Change()
{
    if (!blnChanged)
        blnChanged = true;
}

void frmMain::showOpenedFileCaptions()
{
    const QString &path = lblRealFile[currentSheet() - 1];
    if (path.isEmpty()) {
        showNoFileCaptions();
        return;
    }
    QAction *button4 = toolbarButton(4);
    button4->setEnabled(true);
    button4->setToolTip(SaveToOpenedPrefix + path);
    setWindowTitle(label2_ + QStringLiteral(" - ") + path);
}

void frmMain::showNoFileCaptions()
{
    QAction *button4 = toolbarButton(4);
    button4->setEnabled(false);
    button4->setToolTip(QString());
    setWindowTitle(label2_);
}
