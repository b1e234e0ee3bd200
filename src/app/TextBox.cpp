#include "app/TextBox.h"

#include "app/textmodel.h"
#include "commands/clipboardtext.h"
#include "platform/ime.h"
#include "settings/colourvalue.h"
#include "settings/settingstext.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>

namespace {

using TextModel::ParagraphBreak;

// Marks a paragraph that continues the line of the paragraph before it (a piece of a long line).
// Being part of the document, the mark comes back with undo and redo.
constexpr int SoftPieceProperty = QTextFormat::UserProperty + 1;

bool isSoftPiece(const QTextBlock &block)
{
    return block.blockFormat().boolProperty(SoftPieceProperty);
}

} // namespace

TextBox::TextBox(QWidget *parent)
    : QPlainTextEdit(parent)
    , foreColor_(SettingsText::SysWindowText)
    , backColor_(SettingsText::SysWindowBackground)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Keep the default single-step-per-edit history deep enough for ordinary editing; the
    // whole-text snapshot of the rewriting commands lives outside the box.
    document()->setUndoRedoEnabled(true);
    connect(document(), &QTextDocument::contentsChange, this, &TextBox::documentChanged);
    applyColours();
}

void TextBox::documentChanged(int position, int removed, int added)
{
    if (!mayHaveSoftBreaks_ || softBreaksStale_)
        return;
    // An edit inside one paragraph only moves the separators after it; one that makes, removes
    // or brings back a separator (typing, deleting, undo) may concern a soft one: read the marks
    // again when next asked.
    const QTextDocument *doc = document();
    if (doc->blockCount() != blockCount_
        || doc->findBlock(position).blockNumber() != doc->findBlock(position + added).blockNumber()) {
        softBreaksStale_ = true;
        return;
    }
    softBreaks_.contentsChange(position, removed, added);
}

const TextModel::SoftBreaks &TextBox::softBreaks() const
{
    if (softBreaksStale_) {
        std::vector<qsizetype> positions;
        for (QTextBlock b = document()->firstBlock(); b.isValid(); b = b.next())
            if (isSoftPiece(b))
                positions.push_back(b.position() - 1);
        softBreaks_.reset(std::move(positions));
        blockCount_ = document()->blockCount();
        softBreaksStale_ = false;
    }
    return softBreaks_;
}

QString TextBox::Text() const
{
    return TextModel::fromDocument(document()->toRawText(), softBreaks().positions());
}

void TextBox::setText(const QString &text)
{
    TextModel::Document d = TextModel::toDocument(text);
    mayHaveSoftBreaks_ = false;
    setPlainText(d.text);
    if (!d.softBreaks.empty()) {
        QTextBlockFormat soft;
        soft.setProperty(SoftPieceProperty, true);
        QTextCursor c(document());
        for (qsizetype p : d.softBreaks) {
            c.setPosition(int(p + 1));
            c.mergeBlockFormat(soft);
        }
        // Marking the pieces is part of loading, not an edit to undo.
        document()->clearUndoRedoStacks();
        mayHaveSoftBreaks_ = true;
    }
    softBreaks_.reset(std::move(d.softBreaks));
    blockCount_ = document()->blockCount();
    softBreaksStale_ = false;
}

bool TextBox::isEmpty() const
{
    return document()->isEmpty();
}

qsizetype TextBox::toModel(int documentPosition) const
{
    // Every separator before the position counts two in the model, a soft one none.
    const qsizetype soft = softBreaks().countBefore(documentPosition);
    const QTextBlock block = document()->findBlock(documentPosition);
    if (!block.isValid())
        return documentPosition + qMax(0, document()->blockCount() - 1) - 2 * soft;
    return qsizetype(documentPosition) + block.blockNumber() - 2 * soft;
}

int TextBox::toDocument(qsizetype modelPosition) const
{
    if (modelPosition <= 0)
        return 0;
    const QTextDocument *doc = document();
    const TextModel::SoftBreaks &soft = softBreaks();
    const auto modelStart = [&](const QTextBlock &block) {
        return qsizetype(block.position()) + block.blockNumber() - 2 * soft.countBefore(block.position());
    };
    // The last block whose model start is at or before the position holds it.
    int lo = 0;
    int hi = doc->blockCount() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (modelStart(doc->findBlockByNumber(mid)) <= modelPosition)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(lo);
    const qsizetype inBlock = modelPosition - modelStart(block);
    // A position inside or after a line break stays at the end of the line.
    return block.position() + int(qMin<qsizetype>(inBlock, block.length() - 1));
}

int TextBox::lineAt(int documentPosition) const
{
    return document()->findBlock(documentPosition).blockNumber() + 1
        - int(softBreaks().countBefore(documentPosition));
}

qsizetype TextBox::columnAt(int documentPosition) const
{
    QTextBlock block = document()->findBlock(documentPosition);
    qsizetype column = documentPosition - block.position() + 1;
    // In a piece of a long line, count from the line's first piece.
    for (const TextModel::SoftBreaks &soft = softBreaks(); soft.isSoft(block.position() - 1);) {
        block = block.previous();
        column += block.length() - 1;
    }
    return column;
}

qsizetype TextBox::SelStart() const
{
    return toModel(textCursor().selectionStart());
}

qsizetype TextBox::SelLength() const
{
    const QTextCursor c = textCursor();
    return toModel(c.selectionEnd()) - toModel(c.selectionStart());
}

QString TextBox::SelText() const
{
    const QTextCursor c = textCursor();
    return TextModel::fromDocument(c.selectedText(), softBreaks().between(c.selectionStart(), c.selectionEnd()));
}

void TextBox::setSelStart(qsizetype start)
{
    QTextCursor c = textCursor();
    c.setPosition(toDocument(start));
    setTextCursor(c);
}

void TextBox::setSelLength(qsizetype length)
{
    select(SelStart(), length);
}

void TextBox::select(qsizetype start, qsizetype length)
{
    QTextCursor c = textCursor();
    c.setPosition(toDocument(start));
    c.setPosition(toDocument(start + qMax<qsizetype>(0, length)), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TextBox::setSelText(const QString &text)
{
    QTextCursor c = textCursor();
    insertDocument(c, TextModel::toDocument(text));
    setTextCursor(c);
}

void TextBox::insertDocument(QTextCursor &cursor, const TextModel::Document &d)
{
    const QTextBlock at = document()->findBlock(cursor.selectionStart());
    if (d.softBreaks.empty() && !isSoftPiece(at)) {
        cursor.insertText(d.text);
        return;
    }
    // A new paragraph takes the format of the one it splits, mark and all: give each its own.
    mayHaveSoftBreaks_ = true;
    QTextBlockFormat hard = at.blockFormat();
    hard.clearProperty(SoftPieceProperty);
    QTextBlockFormat soft = hard;
    soft.setProperty(SoftPieceProperty, true);
    auto nextSoft = d.softBreaks.cbegin();
    cursor.beginEditBlock();
    qsizetype from = 0;
    for (qsizetype i = 0; i < d.text.size(); ++i) {
        if (d.text[i] != ParagraphBreak)
            continue;
        cursor.insertText(d.text.mid(from, i - from));
        const bool isSoft = nextSoft != d.softBreaks.cend() && *nextSoft == i;
        if (isSoft)
            ++nextSoft;
        cursor.insertBlock(isSoft ? soft : hard);
        from = i + 1;
    }
    cursor.insertText(d.text.mid(from));
    cursor.endEditBlock();
}

void TextBox::rewriteSelText(const QString &text)
{
    // The snapshot of an empty text is empty, which means none: there the box keeps the step,
    // so that its own undo takes the rewrite back.
    const bool wasEmpty = isEmpty();
    setSelText(text);
    if (!wasEmpty)
        document()->clearUndoRedoStacks();
}

void TextBox::setForeColor(qint32 colour)
{
    foreColor_ = colour;
    applyColours();
}

void TextBox::setBackColor(qint32 colour)
{
    backColor_ = colour;
    applyColours();
}

void TextBox::applyColours()
{
    applyingColours_ = true;
    const QPalette theme = QApplication::palette(this);
    QPalette p = palette();
    const QColor fore = ColourValue::toQColor(foreColor_, theme);
    const QColor back = ColourValue::toQColor(backColor_, theme);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Text, fore);
        p.setColor(group, QPalette::Base, back);
    }
    setPalette(p);
    applyingColours_ = false;
}

void TextBox::setImeMode(int mode)
{
    imeMode_ = mode;
}

bool TextBox::event(QEvent *event)
{
    // The Edit menu's shortcuts act through the menu's commands (the two-level undo among them)
    // also when the box has the focus: do not claim them for the box's own handling.
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeyCombination key = static_cast<QKeyEvent *>(event)->keyCombination();
        for (Qt::Key k : {Qt::Key_Z, Qt::Key_X, Qt::Key_C, Qt::Key_V, Qt::Key_A}) {
            if (key == QKeyCombination(Qt::ControlModifier, k)) {
                event->ignore();
                return false;
            }
        }
    }
    return QPlainTextEdit::event(event);
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    if (mayHaveSoftBreaks_ && editAroundPieces(event))
        return;
    // Alt with a key is a command (Alt+1..7 choose a sheet, Alt+F opens a menu), never text: an
    // Alt+8 that no command takes must not type an 8. AltGr and Ctrl+Alt still type characters.
    if ((event->modifiers() & Qt::AltModifier) && !(event->modifiers() & Qt::ControlModifier)
        && !event->text().isEmpty() && event->text().front().isPrint()) {
        event->ignore();
        return;
    }
    // Shift+Enter would insert a lone LF that the user cannot see; make it an ordinary break.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), ushort(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    applyImeMode(this, imeMode_);
}

void TextBox::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    // System colours follow the desktop theme when it changes.
    if ((event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange)
        && !applyingColours_)
        applyColours();
}

QMimeData *TextBox::createMimeDataFromSelection() const
{
    // The default conversion turns no-break spaces into spaces; hand out the text as it is.
    auto *data = new QMimeData;
    data->setText(ClipboardText::fromModel(SelText()));
    return data;
}

void TextBox::insertFromMimeData(const QMimeData *source)
{
    // Pasted text takes the model's way in, so that its line breaks and long lines are kept as
    // the box keeps a file's.
    if (!source || !source->hasText())
        return;
    setSelText(ClipboardText::toModel(source->text()));
    ensureCursorVisible();
}

bool TextBox::editAroundPieces(QKeyEvent *event)
{
    QTextCursor c = textCursor();
    if (c.hasSelection() || event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))
        return false;
    const QTextBlock block = c.block();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A line break typed in a piece of a long line is a real one, not another piece.
        if (!isSoftPiece(block))
            return false;
        insertDocument(c, TextModel::Document{QString(ParagraphBreak), {}});
        break;
    case Qt::Key_Backspace:
        // The separator before a piece is no character of the text: delete the one before it.
        if (!c.atBlockStart() || !isSoftPiece(block) || block.previous().length() < 2)
            return false;
        c.setPosition(block.position() - 1);
        c.deletePreviousChar();
        break;
    case Qt::Key_Delete:
        if (!c.atBlockEnd() || !isSoftPiece(block.next()) || block.next().length() < 2)
            return false;
        c.setPosition(block.next().position());
        c.deleteChar();
        break;
    default:
        return false;
    }
    setTextCursor(c);
    ensureCursorVisible();
    event->accept();
    return true;
}
