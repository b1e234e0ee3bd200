#include "commands/EditController.h"

#include "commands/clipboardtext.h"
#include "commands/quoting.h"
#include "editor/CommandAction.h"
#include "editor/TextBox.h"
#include "editor/WindowHost.h"
#include "phrases/dateformats.h"
#include "platform/dialogs.h"
#include "settings/holders.h"
#include "sheets/SheetSession.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QMimeData>
#include <QTextDocument>

using Conversions::Conversion;

EditController::EditController(WindowHost &host, SheetSession &sheets, const Holders &holders, QObject *parent)
    : QObject(parent)
    , host_(host)
    , sheets_(sheets)
    , holders_(holders)
{
    undoAction_ = newCommandAction(this, "undoAction", QStringLiteral("元に戻す(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(undoAction_, &QAction::triggered, this, &EditController::onUndo);
    cutAction_ = newCommandAction(this, "cutAction", QStringLiteral("切り取り(&C)"), QKeySequence(Qt::CTRL | Qt::Key_X));
    connect(cutAction_, &QAction::triggered, this, &EditController::cut);
    copyAction_ = newCommandAction(this, "copyAction", QStringLiteral("ｺﾋﾟｰ(&O)"), QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(copyAction_, &QAction::triggered, this, &EditController::copy);
    copyAllAction_ = newCommandAction(this, "copyAllAction", QStringLiteral("すべての範囲をｺﾋﾟｰ(&Y)"));
    connect(copyAllAction_, &QAction::triggered, this, &EditController::onCopyAll);
    pasteAction_ = newCommandAction(this, "pasteAction", QStringLiteral("貼り付け(&P)"), QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(pasteAction_, &QAction::triggered, this, &EditController::paste);
    deleteAction_ = newCommandAction(this, "deleteAction", QStringLiteral("削除(&D)"));
    connect(deleteAction_, &QAction::triggered, this, &EditController::onDelete);
    quoteCopyAction_ = newCommandAction(this, "quoteCopyAction", QStringLiteral("引用符を付けてｺﾋﾟｰ(&Q)"));
    connect(quoteCopyAction_, &QAction::triggered, this, &EditController::onQuoteCopy);
    quotePasteAction_ = newCommandAction(this, "quotePasteAction", QStringLiteral("引用符を付けて貼り付け(&T)"));
    connect(quotePasteAction_, &QAction::triggered, this, &EditController::onQuotePaste);
    quoteSelectionAction_ = newCommandAction(this, "quoteSelectionAction", QStringLiteral("選択範囲に引用符を追加(&I)"));
    connect(quoteSelectionAction_, &QAction::triggered, this, &EditController::onQuoteSelection);
    selectAllAction_ = newCommandAction(this, "selectAllAction", QStringLiteral("すべての範囲を選択(&A)"), QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(selectAllAction_, &QAction::triggered, this, [this] { host_.editor()->selectAll(); });

    static const struct {
        Conversion conversion;
        const char *name;
        const char16_t *caption;
    } conversions[] = {
        {Conversion::Wide, "toWideAction", u"全角に変換(&Z)"},
        {Conversion::Narrow, "toNarrowAction", u"半角に変換(&H)"},
        {Conversion::Katakana, "toKatakanaAction", u"ｶﾀｶﾅに変換(&K)"},
        {Conversion::Hiragana, "toHiraganaAction", u"ひらがなに変換(&G)"},
        {Conversion::Upper, "toUpperAction", u"大文字に変換(&U)"},
        {Conversion::Lower, "toLowerAction", u"小文字に変換(&L)"},
        {Conversion::Capitalise, "capitaliseAction", u"先頭を大文字に変換(&P)"},
    };
    for (const auto &c : conversions) {
        QAction *action = newCommandAction(this, c.name, QString::fromUtf16(c.caption));
        connect(action, &QAction::triggered, this, [this, conversion = c.conversion] { onConvert(conversion); });
        conversionActions_[c.conversion] = action;
    }
    stampAction_ = newCommandAction(this, "stampAction", QStringLiteral("日付と時刻の挿入(&D)"), QKeySequence(Qt::Key_F5));
    connect(stampAction_, &QAction::triggered, this, &EditController::onStamp);

    // Asking the clipboard is a round trip to its owner on some desktops: remember the answer.
    const auto clipboardChanged = [this] {
        const QMimeData *data = QApplication::clipboard()->mimeData();
        clipboardHasText_ = data && data->hasText();
        host_.updateCommandStates();
    };
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, clipboardChanged);
    const QMimeData *data = QApplication::clipboard()->mimeData();
    clipboardHasText_ = data && data->hasText();
}


QList<QAction *> EditController::conversionActions() const
{
    QList<QAction *> actions;
    for (const auto &[conversion, action] : conversionActions_)
        actions << action;
    return actions;
}

bool EditController::boxCanUndo() const
{
    return host_.editor()->document()->isUndoAvailable();
}

void EditController::applyUndoRule()
{
    if (boxCanUndo())
        sheets_.setUndoSnapshot(QString());
}

void EditController::rewriteSelection(const QString &text)
{
    // The whole text from just before the rewrite is what one Undo brings back.
    sheets_.setUndoSnapshot(host_.editor()->Text());
    host_.editor()->rewriteSelText(text);
}

void EditController::onUndo()
{
    // The rule as the next tick would apply it, so that what Undo undoes never depends on
    // whether a tick came between an edit and the key press.
    applyUndoRule();
    TextBox *box = host_.editor();
    const qsizetype caret = box->SelStart();
    if (!sheets_.undoSnapshot().isEmpty()) {
        // Only the stretch the rewrite changed goes back; then the box's text is the snapshot.
        box->restoreText(sheets_.undoSnapshot());
        sheets_.setUndoSnapshot(QString());
        box->setSelStart(caret);
    } else {
        box->undoEdit();
    }
    host_.updateCommandStates();
}

void EditController::cut()
{
    host_.editor()->cut();
}

void EditController::copy()
{
    host_.editor()->copy();
}

void EditController::paste()
{
    host_.editor()->paste();
}

void EditController::onDelete()
{
    // The selection goes; the clipboard is left alone.
    TextBox *box = host_.editor();
    QTextCursor cursor = box->textCursor();
    cursor.removeSelectedText();
    box->setTextCursor(cursor);
}

void EditController::onCopyAll()
{
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(ClipboardText::fromModel(host_.editor()->Text()));
    host_.ask(QStringLiteral("すべての範囲をコピーしました。"), {QMessageBox::Information}, QStringLiteral("q7 Zibo"));
    host_.editor()->setFocus();
}

// The quoted text is built in memory and goes into the box or onto the clipboard in one go.
void EditController::onQuoteCopy()
{
    const QString quoted = Quoting::quote(host_.editor()->SelText(), holders_.quoteMark);
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(ClipboardText::fromModel(quoted));
    host_.editor()->setFocus();
}

void EditController::onQuotePaste()
{
    // Clipboard text comes with LF line breaks, whatever the platform keeps.
    const QString source = ClipboardText::toModel(QApplication::clipboard()->text());
    rewriteSelection(Quoting::quote(source, holders_.quoteMark));
}

void EditController::onQuoteSelection()
{
    rewriteSelection(Quoting::quote(host_.editor()->SelText(), holders_.quoteMark));
}

void EditController::onConvert(Conversion conversion)
{
    TextBox *box = host_.editor();
    const qsizetype start = box->SelStart();
    // A whole large text takes a while to convert: the window keeps painting meanwhile.
    const QString selected = box->SelText();
    QString converted;
    host_.runBeside([&] { converted = Conversions::convert(conversion, selected); });
    rewriteSelection(converted);
    // Capitalising keeps the converted range selected; the others leave the caret after it.
    if (conversion == Conversion::Capitalise)
        box->select(start, converted.size());
}

void EditController::onStamp()
{
    rewriteSelection(DateFormats::stamp(host_.now()));
}
