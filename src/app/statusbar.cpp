// The 100 ms tick: caret position, quote button and undo state; status panel double-clicks;
// notes on the status bar.

#include "editor/TextBox.h"
#include "app/MainWindow.h"
#include "commands/EditController.h"
#include "launcher/LauncherController.h"
#include "commands/statustext.h"
#include "find/FindController.h"
#include "phrases/DateController.h"
#include "phrases/dateformats.h"
#include "sheets/SheetSession.h"

#include <QDateTime>
#include <QLabel>
#include <QStatusBar>

namespace {

constexpr int NoteMs = 15000;

} // namespace

void MainWindow::onTick()
{
    // Block lookups only: the tick costs the same however long the text is.
    const QTextCursor cursor = textBox_->textCursor();
    statusPanels_[1]->setText(StatusText::caretPosition(textBox_->lineAt(cursor.selectionStart()),
                                                      textBox_->columnAt(cursor.selectionEnd())));

    edits_->applyUndoRule();
    updateCommandStates();

    // Panel 3 shows today's date and turns over at midnight.
    const QDate today = now().date();
    if (today.toJulianDay() != statusDay_) {
        statusDay_ = today.toJulianDay();
        statusPanels_[2]->setText(DateFormats::shortDate(today));
    }
}

void MainWindow::onPanelDoubleClicked(int panel)
{
    if (panel == 2)
        finds_->showFind();
    else if (panel == 3)
        dates_->showDialog(DateController::DatePage);
}

void MainWindow::showEncodingTip(const QString &tip)
{
    statusPanels_[2]->setToolTip(tip);
    // A tip comes with each check of the sheet: a note held back meanwhile has its turn.
    if (!tip.isEmpty() && !heldNote_.isEmpty())
        note(std::exchange(heldNote_, QString()));
}

void MainWindow::showFileForm()
{
    const TextFile::FileForm form = sheets_->shownForm();
    statusPanels_[3]->setText(TextCodec::statusLabel(form.encoding, form.lineEnds));
}

void MainWindow::note(const QString &text)
{
    // The whole bar for a while: the panels are too narrow for a sentence. The message hides the
    // launcher box, so while the user types there it waits for the next check.
    if (launcher_->hasFocus()) {
        heldNote_ = text;
        return;
    }
    statusBar_->showMessage(text, NoteMs);
}
