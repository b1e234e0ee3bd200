#include "editor/TextBox.h"

#include "editor/textmodel.h"
#include "commands/clipboardtext.h"
#include "find/search.h"
#include "platform/ime.h"
#include "settings/colourvalue.h"
#include "settings/settingstext.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocument>

#include <cstring>

namespace {

using TextModel::ParagraphBreak;

// Marks a paragraph that continues the line of the paragraph before it (a piece of a long line).
// Being part of the document, the mark comes back with undo and redo.
constexpr int SoftPieceProperty = QTextFormat::UserProperty + 1;

bool isSoftPiece(const QTextBlock &block)
{
    return block.blockFormat().boolProperty(SoftPieceProperty);
}

// Where a piece of text that starts at from ends: after about a megabyte, at a line break (or
// after one whole line, however long), so that each piece holds whole lines.
qsizetype pieceEnd(QStringView text, qsizetype from)
{
    if (text.size() - from <= TextFile::PieceChars)
        return text.size();
    const qsizetype cr = text.indexOf(u'\r', from + TextFile::PieceChars);
    if (cr < 0)
        return text.size();
    return cr + (cr + 1 < text.size() && text[cr + 1] == u'\n' ? 2 : 1);
}

} // namespace

// Lets the window's events through every PauseEveryMs of a long edit, and tells the window
// when an edit that paused is done.
class TextBox::Pacer {
public:
    explicit Pacer(TextBox &box) : box_(box) { clock_.start(); }
    ~Pacer()
    {
        if (paused_)
            emit box_.longEditDone();
    }
    Pacer(const Pacer &) = delete;
    Pacer &operator=(const Pacer &) = delete;

    bool due() const { return box_.pause_ && clock_.elapsed() >= box_.pauseEveryMs_; }
    void pause()
    {
        paused_ = true;
        box_.pause_();
        clock_.restart();
    }

private:
    TextBox &box_;
    QElapsedTimer clock_;
    bool paused_ = false;
};

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
    // An edit made where the replace-all's steps wait to be redone drops them: the group with
    // them.
    connect(document(), &QTextDocument::redoAvailable, this, [this](bool available) {
        if (!available && !walkingGroup_ && group_ && document()->availableUndoSteps() <= group_->bottom)
            group_.reset();
    });
    // The widget's text control, whose repaints of a focus change are held back where they
    // change nothing that shows.
    for (QObject *child : children())
        if (child->inherits("QWidgetTextControl"))
            control_ = child;
    applyColours();
}

void TextBox::clearHistory()
{
    document()->clearUndoRedoStacks();
    group_.reset();
}

void TextBox::documentChanged(int position, int removed, int added)
{
    if (!ownEdit_)
        dropText();
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

void TextBox::dropText()
{
    text_ = QString();
    textValid_ = false;
    patch_.reset();
}

QString TextBox::modelText() const
{
    const std::vector<qsizetype> &soft = softBreaks().positions();
    QString raw = document()->toRawText();
    if (!soft.empty())
        return TextModel::fromDocument(raw, soft);
    // Without pieces every separator grows into CR LF: grow the document's copy in place (a
    // large block is remapped, not copied) and fill it from the end, so that no second whole
    // copy stands beside it.
    const qsizetype n = raw.size();
    const qsizetype breaks = raw.count(TextModel::ParagraphBreak);
    raw.resize(n + breaks);
    char16_t *const p = reinterpret_cast<char16_t *>(raw.data());
    qsizetype o = n + breaks;
    qsizetype i = n;
    while (i > 0) {
        qsizetype from = i;
        while (from > 0 && p[from - 1] != TextModel::ParagraphBreak.unicode()
               && p[from - 1] != TextModel::LoneLineFeed.unicode())
            --from;
        o -= i - from;
        std::memmove(p + o, p + from, (i - from) * sizeof(char16_t));
        i = from;
        if (i == 0)
            break;
        --i;
        if (p[i] == TextModel::LoneLineFeed.unicode()) {
            p[--o] = u'\n';
        } else {
            p[--o] = u'\n';
            p[--o] = u'\r';
        }
    }
    return raw;
}

namespace {

// Paragraphs of the document gathered into pieces of about a megabyte, each ending after a
// line break of the text (a soft separator is no break: a long line stays in one piece).
class DocumentPieces final : public TextFile::TextPieces {
public:
    DocumentPieces(const QTextDocument *document, const std::vector<qsizetype> &softBreaks,
                   std::function<void()> betweenPieces)
        : document_(document), softBreaks_(softBreaks), betweenPieces_(std::move(betweenPieces)) {}
    void rewind() override
    {
        block_ = document_->firstBlock();
        soft_ = softBreaks_.cbegin();
        started_ = false;
    }
    bool next(QString &piece) override
    {
        if (started_ && !block_.isValid())
            return false;
        if (started_)
            betweenPieces_();
        started_ = true;
        QString raw;
        std::vector<qsizetype> soft;
        while (block_.isValid()) {
            raw += block_.text();
            const qsizetype separator = block_.position() + block_.length() - 1;
            block_ = block_.next();
            if (!block_.isValid())
                break;
            const bool isSoft = soft_ != softBreaks_.cend() && *soft_ == separator;
            if (isSoft) {
                soft.push_back(raw.size());
                ++soft_;
            }
            raw += TextModel::ParagraphBreak;
            if (raw.size() >= TextFile::PieceChars && !isSoft)
                break;
        }
        piece = TextModel::fromDocument(raw, soft);
        return true;
    }

private:
    const QTextDocument *document_;
    const std::vector<qsizetype> &softBreaks_;
    std::function<void()> betweenPieces_;
    QTextBlock block_;
    std::vector<qsizetype>::const_iterator soft_;
    bool started_ = false;
};

} // namespace

std::unique_ptr<TextFile::TextPieces> TextBox::documentPieces()
{
    // A save of a big text lets the window's events through between its pieces, as a long edit
    // does; the document stays as it is meanwhile, since the user's input waits.
    auto pacer = std::make_shared<Pacer>(*this);
    return std::make_unique<DocumentPieces>(document(), softBreaks().positions(), [pacer] {
        if (pacer->due())
            pacer->pause();
    });
}

QString TextBox::Text() const
{
    if (!textValid_) {
        text_ = modelText();
        textValid_ = true;
    } else if (patch_) {
        // The kept text may be the undo snapshot too: build the new one beside it.
        const Patch &p = *patch_;
        QString t;
        t.reserve(text_.size() - p.removed + p.length);
        t.append(QStringView(text_).first(p.start)).append(p.inserted()).append(QStringView(text_).sliced(p.start + p.removed));
        text_ = std::move(t);
        patch_.reset();
    }
    return text_;
}

void TextBox::setText(const QString &text)
{
    // What the box was given is its text, unless a lone CR became a line break.
    if (loadText(text)) {
        text_ = text;
        textValid_ = true;
    }
}

bool TextBox::loadText(QStringView text)
{
    // The document form goes in a megabyte at a time, so that loading holds no second copy of
    // the whole text, and the window may let its events through between the pieces.
    Pacer pacer(*this);
    group_.reset();
    mayHaveSoftBreaks_ = false;
    softBreaks_.reset({});
    softBreaksStale_ = false;
    std::vector<qsizetype> softBreaks;
    bool roundTrips = true;
    qsizetype from = 0;
    qsizetype documentSize = 0;
    QTextCursor c(document());
    do {
        if (from > 0 && pacer.due())
            pacer.pause();
        const qsizetype to = pieceEnd(text, from);
        const QStringView piece = text.sliced(from, to - from);
        // Nearly every piece goes in as it is, copied whole: the document's own pass over it is
        // then the only one.
        qsizetype crLfs = 0;
        bool loneCr = false;
        TextModel::Document d;
        if (TextModel::fitsDocumentAsIs(piece, TextModel::SoftLineLength, &crLfs, &loneCr)) {
            d.text = piece.toString();
            d.roundTrips = !loneCr;
        } else {
            d = TextModel::toDocument(piece);
        }
        roundTrips = roundTrips && d.roundTrips;
        for (qsizetype p : d.softBreaks)
            softBreaks.push_back(documentSize + p);
        if (from == 0) {
            setPlainText(d.text);
        } else {
            // Loading, not an edit: nothing to undo (turning the history off drops nothing).
            document()->setUndoRedoEnabled(false);
            c.movePosition(QTextCursor::End);
            c.insertText(d.text);
            document()->setUndoRedoEnabled(true);
        }
        documentSize += d.text.size() - crLfs; // a CR LF pair is one separator in the document
        from = to;
    } while (from < text.size());
    if (!softBreaks.empty()) {
        // A cursor placed by setPosition lays its block out to know its x, and a format change
        // to one block alone lays that block out again: every piece of a long line would be
        // shaped here. Cursors made from blocks, in one edit, leave the layout to the view,
        // which lays out what it shows.
        QTextBlockFormat soft;
        soft.setProperty(SoftPieceProperty, true);
        c.beginEditBlock();
        for (qsizetype p : softBreaks)
            QTextCursor(document()->findBlock(int(p + 1))).mergeBlockFormat(soft);
        c.endEditBlock();
        // Marking the pieces is part of loading, not an edit to undo.
        clearHistory();
        mayHaveSoftBreaks_ = true;
    }
    softBreaks_.reset(std::move(softBreaks));
    blockCount_ = document()->blockCount();
    softBreaksStale_ = false;
    return roundTrips;
}

void TextBox::replaceQuietly(qsizetype start, qsizetype length, QStringView text)
{
    const int from = toDocument(start);
    const int to = toDocument(start + length);
    const bool wasOwn = ownEdit_;
    ownEdit_ = true;
    if (from == 0 && to == document()->characterCount() - 1) {
        // Everything: loading is the cheapest way, and keeps no undo step either.
        loadText(text);
    } else {
        // With the history off the document records nothing; turning it off drops the old steps.
        group_.reset();
        document()->setUndoRedoEnabled(false);
        // Much text goes a piece at a time, so that the window may let its events through
        // between the pieces: first the old, from its end, then the new.
        Pacer pacer(*this);
        QTextCursor c(document());
        int end = to;
        while (end - from > TextFile::PieceChars) {
            const int piece = end - int(TextFile::PieceChars);
            c.setPosition(piece);
            c.setPosition(end, QTextCursor::KeepAnchor);
            c.removeSelectedText();
            end = piece;
            if (pacer.due())
                pacer.pause();
        }
        c.setPosition(from);
        c.setPosition(end, QTextCursor::KeepAnchor);
        qsizetype at = 0;
        do {
            if (at > 0 && pacer.due())
                pacer.pause();
            const qsizetype end = pieceEnd(text, at);
            insertDocument(c, TextModel::toDocument(text.sliced(at, end - at)));
            at = end;
        } while (at < text.size());
        document()->setUndoRedoEnabled(true);
    }
    ownEdit_ = wasOwn;
}

namespace {

bool hasLoneCr(QStringView text)
{
    for (qsizetype i = text.indexOf(u'\r'); i >= 0; i = text.indexOf(u'\r', i + 1))
        if (i + 1 == text.size() || text[i + 1] != u'\n')
            return true;
    return false;
}

} // namespace

void TextBox::restoreText(const QString &text)
{
    if (textValid_ && patch_ && text.constData() == text_.constData() && text.size() == text_.size()) {
        // Undoing the last rewrite: put back what it replaced, nothing else.
        const Patch p = std::move(*patch_);
        patch_.reset();
        replaceQuietly(p.start, p.length, QStringView(text_).sliced(p.start, p.removed));
        return;
    }
    const QString now = Text();
    const Search::Change c = Search::changedRange(now, text);
    if (c.oldLength == 0 && c.newLength == 0) {
        // Nothing to change, but the text was set all the same, as setText would have.
        clearHistory();
        emit textChanged();
        return;
    }
    replaceQuietly(c.start, c.oldLength, QStringView(text).sliced(c.start, c.newLength));
    if (!hasLoneCr(text)) {
        text_ = text;
        textValid_ = true;
        patch_.reset();
    } else {
        dropText();
    }
}

void TextBox::replaceEach(const std::vector<std::pair<qsizetype, qsizetype>> &edits, const QString &with)
{
    if (edits.empty())
        return;
    // Document positions first: the edits go from the last to the first, so that each one's
    // position is still good when its turn comes.
    std::vector<std::pair<int, int>> at;
    at.reserve(edits.size());
    // A few edits are placed by the paragraphs' positions; many in one pass over the text.
    const bool many = qsizetype(edits.size()) > document()->blockCount() / 64;
    if (many && softBreaks().empty() && textValid_ && !patch_) {
        // Each CR LF before a position is one character in the document: count them in the
        // kept text, once over the whole of it.
        const QStringView t(text_);
        qsizetype counted = 0; // line breaks before here are counted
        qsizetype pairs = 0;
        const auto documentPosition = [&](qsizetype model) {
            model = qBound<qsizetype>(counted, model, t.size());
            const QStringView part = t.sliced(counted, model - counted);
            for (qsizetype i = part.indexOf(u'\n'); i >= 0; i = part.indexOf(u'\n', i + 1))
                if (counted + i > 0 && t[counted + i - 1] == u'\r')
                    ++pairs;
            counted = model;
            return int(model - pairs);
        };
        for (const auto &[start, length] : edits) {
            const int from = documentPosition(start);
            at.emplace_back(from, documentPosition(start + length));
        }
    } else {
        for (const auto &[start, length] : edits)
            at.emplace_back(toDocument(start), toDocument(start + length));
    }
    const TextModel::Document d = TextModel::toDocument(with);
    // Each stretch between two pauses is a step of the document's own; the box keeps where
    // they begin and end, so that they are undone and redone as one.
    Pacer pacer(*this);
    const int bottom = document()->availableUndoSteps();
    bool paused = false;
    QTextCursor c(document());
    // The box's characters all have one format: take it once rather than have the cursor look
    // it up at each match, a tenth of a replacement's cost.
    const bool plain = d.softBreaks.empty() && !mayHaveSoftBreaks_;
    QTextCharFormat format;
    if (plain) {
        c.setPosition(at.back().first);
        format = c.charFormat();
        format.clearProperty(QTextFormat::ObjectType);
    }
    c.beginEditBlock();
    for (auto it = at.crbegin(); it != at.crend(); ++it) {
        if (it != at.crbegin() && pacer.due()) {
            c.endEditBlock();
            pacer.pause();
            paused = true;
            c.beginEditBlock();
        }
        c.setPosition(it->first);
        c.setPosition(it->second, QTextCursor::KeepAnchor);
        if (d.text.isEmpty())
            c.removeSelectedText();
        else if (plain)
            c.insertText(d.text, format);
        else
            insertDocument(c, d);
    }
    c.endEditBlock();
    if (paused)
        group_ = Group{bottom, document()->availableUndoSteps()};
    else
        group_.reset();
}

void TextBox::undoEdit()
{
    QTextDocument *doc = document();
    if (!group_ || doc->availableUndoSteps() != group_->top) {
        undo();
        return;
    }
    walkGroup([doc](QTextCursor *c) { doc->undo(c); }, [&] {
        return doc->availableUndoSteps() > group_->bottom && doc->isUndoAvailable();
    });
}

void TextBox::walkGroup(const std::function<void(QTextCursor *)> &step, const std::function<bool()> &more)
{
    Pacer pacer(*this);
    walkingGroup_ = true;
    QTextCursor c = textCursor();
    while (more()) {
        if (pacer.due()) {
            setTextCursor(c);
            pacer.pause();
            c = textCursor();
        }
        step(&c);
    }
    walkingGroup_ = false;
    // The caret goes where the last step was taken back or done again, as for any undo.
    setTextCursor(c);
    ensureCursorVisible();
}

void TextBox::redoEdit()
{
    QTextDocument *doc = document();
    if (!group_ || doc->availableUndoSteps() != group_->bottom || !doc->isRedoAvailable()) {
        redo();
        return;
    }
    walkGroup([doc](QTextCursor *c) { doc->redo(c); }, [&] {
        return doc->availableUndoSteps() < group_->top && doc->isRedoAvailable();
    });
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

QString TextBox::textBetween(int from, int to) const
{
    QString raw;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        const int separator = block.position() + block.length() - 1;
        const int start = qMax(from, block.position());
        raw += QStringView(block.text()).sliced(start - block.position(), qMin(to, separator) - start);
        if (separator < to)
            raw += TextModel::ParagraphBreak;
    }
    return TextModel::fromDocument(raw, softBreaks().between(from, to));
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
    if (textValid_ && !patch_)
        return text_.mid(SelStart(), SelLength());
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
    scrollToShow(c.position());
    setTextCursor(c);
}

void TextBox::scrollToShow(int position)
{
    // The widget, asked to show a place far from the view, measures the way there from the line
    // at the top: it lays out up to two screens below the old view and one above the new one
    // that are never shown, which is most of a Find Next's cost on a big text. Scrolled here
    // first, only the lines shown are laid out.
    if (!isVisible() || !viewport()->updatesEnabled())
        return;
    const QTextBlock target = document()->findBlock(position);
    const QTextBlock top = firstVisibleBlock();
    if (!target.isValid() || !top.isValid())
        return;
    const qreal height = viewport()->height();
    const auto lineOf = [&](const QTextBlock &block) {
        blockBoundingRect(block); // lays the block out if it is not
        return block.layout()->lineForTextPosition(position - block.position());
    };
    // Above the view the widget's own way lays out no more than this one would.
    if (target.blockNumber() < top.blockNumber())
        return;
    // In the view already (the lines there are laid out): the widget's own way costs nothing.
    qreal y = blockBoundingGeometry(top).translated(contentOffset()).top();
    for (QTextBlock b = top; b.isValid() && y < height; b = b.next()) {
        if (b == target) {
            const QTextLine line = lineOf(target);
            if (!line.isValid() || y + line.naturalTextRect().bottom() < height)
                return;
            break;
        }
        y += blockBoundingRect(b).height();
    }
    // Below it: the target's line becomes the last one shown, as the widget would place it.
    const QTextLine line = lineOf(target);
    if (!line.isValid())
        return;
    qreal h = line.naturalTextRect().bottom();
    QTextBlock newTop = target;
    while (h < height && newTop.previous().isValid()) {
        newTop = newTop.previous();
        h += blockBoundingRect(newTop).height();
    }
    // The first line of the top block that still lets the target's line be seen whole (past its
    // last: the next block's first).
    const QTextLayout *layout = newTop.layout();
    int topLine = 0;
    while (topLine < layout->lineCount() && h - layout->lineAt(topLine).naturalTextRect().top() > height)
        ++topLine;
    if (newTop == target)
        topLine = qMin(topLine, line.lineNumber());
    // With the view's updates off the widget takes the new top line as it is, without measuring
    // its way there; turned on again, the view is repainted whole, as a scroll of a screen or
    // more would be.
    viewport()->setUpdatesEnabled(false);
    verticalScrollBar()->setValue(newTop.firstLineNumber() + topLine);
    viewport()->setUpdatesEnabled(true);
}

void TextBox::setSelText(const QString &text)
{
    QTextCursor c = textCursor();
    // A kept text takes the same replacement, so that the next read (Replace searches on at
    // once) builds nothing; in place unless the undo snapshot shares it.
    const bool keep = textValid_ && !hasLoneCr(text);
    qsizetype start = 0;
    qsizetype length = 0;
    if (keep) {
        Text();
        start = SelStart();
        length = SelLength();
    }
    const bool wasOwn = std::exchange(ownEdit_, keep);
    insertDocument(c, TextModel::toDocument(text));
    ownEdit_ = wasOwn;
    if (keep)
        text_.replace(start, length, text);
    setTextCursor(c);
}

void TextBox::insertDocument(QTextCursor &cursor, const TextModel::Document &d)
{
    if (d.softBreaks.empty() && !mayHaveSoftBreaks_) {
        cursor.insertText(d.text);
        return;
    }
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
    if (isEmpty() || hasLoneCr(text)) {
        const bool wasEmpty = isEmpty();
        setSelText(text);
        if (!wasEmpty)
            clearHistory();
        return;
    }
    const qsizetype start = SelStart();
    Text(); // the kept text, which the rewrite's replacement then describes
    const Search::Change c = Search::changedRange(SelText(), text);
    if (c.oldLength == 0 && c.newLength == 0) {
        clearHistory();
        emit textChanged();
    } else {
        replaceQuietly(start + c.start, c.oldLength, QStringView(text).sliced(c.start, c.newLength));
        // A copy of most of a large text would cost as much as the rewrite's pieces do.
        const bool share = c.newLength >= text.size() / 2;
        patch_ = share ? Patch{start + c.start, c.oldLength, text, c.start, c.newLength}
                       : Patch{start + c.start, c.oldLength, text.mid(c.start, c.newLength), 0, c.newLength};
    }
    setSelStart(start + text.size());
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
    if (event == QKeySequence::Undo || event == QKeySequence::Redo) {
        if (event == QKeySequence::Undo)
            undoEdit();
        else
            redoEdit();
        event->accept();
        return;
    }
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

void TextBox::contextMenuEvent(QContextMenuEvent *event)
{
    // The menu's undo and redo take a replace-all back as one step too.
    QMenu *menu = createStandardContextMenu(event->pos());
    for (QAction *action : menu->actions()) {
        if (action->objectName() == u"edit-undo" || action->objectName() == u"edit-redo") {
            action->disconnect();
            connect(action, &QAction::triggered, this,
                    action->objectName() == u"edit-undo" ? &TextBox::undoEdit : &TextBox::redoEdit);
        }
    }
    menu->exec(event->globalPos());
    delete menu;
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    changeFocusQuietly([&] { QPlainTextEdit::focusInEvent(event); });
    applyImeMode(this, imeMode_);
}

void TextBox::focusOutEvent(QFocusEvent *event)
{
    changeFocusQuietly([&] { QPlainTextEdit::focusOutEvent(event); });
}

void TextBox::changeFocusQuietly(const std::function<void()> &change)
{
    // The widget repaints the whole selection whenever the focus comes or goes, since a selection
    // may be drawn otherwise without the focus; a Find Next, which hands the focus to the dialog
    // and back, would repaint it twice. Where the colours are the same both ways only the caret,
    // which shows or hides, needs painting.
    const QPalette &p = palette();
    const bool sameLook = p.color(QPalette::Active, QPalette::Highlight) == p.color(QPalette::Inactive, QPalette::Highlight)
        && p.color(QPalette::Active, QPalette::HighlightedText) == p.color(QPalette::Inactive, QPalette::HighlightedText);
    if (!sameLook || !control_) {
        change();
        return;
    }
    {
        const QSignalBlocker quiet(control_);
        change();
    }
    // Room for the marks of the text's direction the widget draws beside the caret.
    viewport()->update(cursorRect().adjusted(-CaretMargin, 0, CaretMargin, 0));
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
