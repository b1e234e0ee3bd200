// Character conversion of the selection and the date-time stamp: rewrites that keep the whole
// previous text as the undo snapshot.

#include "editor/TextBox.h"
#include "app/frmMain.h"
#include "commands/conversions.h"
#include "phrases/dateformats.h"

#include <QDateTime>

void frmMain::mnuChara_Click()
{
    updateCommandStates();
}

void frmMain::mnuChar_Click(int index)
{
    const qsizetype start = Text1->SelStart();
    // A whole large text takes a while to convert: the window keeps painting meanwhile.
    const QString selected = Text1->SelText();
    QString converted;
    runBeside([&] { converted = Conversions::convert(index, selected); });
    rewriteSelection(converted);
    // Capitalising keeps the converted range selected; the others leave the caret after it.
    if (index == 9)
        Text1->select(start, converted.size());
}

void frmMain::mnuDate_Click()
{
    rewriteSelection(DateFormats::stamp(now()));
}
