#include "app/TextBox.h"

#include "app/textmodel.h"
#include "platform/ime.h"
#include "settings/settingstext.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>

namespace {

using TextModel::LoneLineFeed;
using TextModel::ParagraphBreak;

QColor systemColour(const QPalette &palette, int index)
{
    static const QPalette::ColorRole roles[SettingsText::SystemColourCount] = {
        QPalette::Button,          QPalette::Window,      QPalette::Highlight,
        QPalette::Mid,             QPalette::Window,      QPalette::Base,
        QPalette::Shadow,          QPalette::WindowText,  QPalette::Text,
        QPalette::HighlightedText, QPalette::Mid,         QPalette::Midlight,
        QPalette::Dark,            QPalette::Highlight,   QPalette::HighlightedText,
        QPalette::Button,          QPalette::Mid,         QPalette::PlaceholderText,
        QPalette::ButtonText,      QPalette::WindowText,  QPalette::Light,
        QPalette::Shadow,          QPalette::Midlight,    QPalette::ToolTipText,
        QPalette::ToolTipBase,
    };
    return palette.color(QPalette::Active, roles[index]);
}

QColor toQColor(qint32 value, const QPalette &palette)
{
    if (SettingsText::isSystemColour(value))
        return systemColour(palette, SettingsText::systemColourIndex(value));
    const quint32 bgr = quint32(value);
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
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
    applyColours();
}

QString TextBox::Text() const
{
    return TextModel::fromDocument(document()->toRawText());
}

void TextBox::setText(const QString &text)
{
    setPlainText(TextModel::toDocument(text));
}

bool TextBox::isEmpty() const
{
    return document()->isEmpty();
}

qsizetype TextBox::toModel(int documentPosition) const
{
    const QTextBlock block = document()->findBlock(documentPosition);
    if (!block.isValid())
        return documentPosition + qMax(0, document()->blockCount() - 1);
    return qsizetype(documentPosition) + block.blockNumber();
}

int TextBox::toDocument(qsizetype modelPosition) const
{
    if (modelPosition <= 0)
        return 0;
    const QTextDocument *doc = document();
    // The last block whose model start (document start + block number) is at or before the
    // position holds it.
    int lo = 0;
    int hi = doc->blockCount() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        const qsizetype start = qsizetype(doc->findBlockByNumber(mid).position()) + mid;
        if (start <= modelPosition)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(lo);
    const qsizetype inBlock = modelPosition - (qsizetype(block.position()) + lo);
    // A position inside or after a line break stays at the end of the line.
    return block.position() + int(qMin<qsizetype>(inBlock, block.length() - 1));
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
    return TextModel::fromDocument(textCursor().selectedText());
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
    c.insertText(TextModel::toDocument(text));
    setTextCursor(c);
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
    const QColor fore = toQColor(foreColor_, theme);
    const QColor back = toQColor(backColor_, theme);
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
    QString text = textCursor().selectedText();
    text.replace(ParagraphBreak, u'\n');
    text.replace(LoneLineFeed, u'\n');
    data->setText(text);
    return data;
}
