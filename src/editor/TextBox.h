#pragma once

#include "editor/textmodel.h"
#include "sheets/textfile.h"

#include <QPlainTextEdit>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// The sheet text box. Its text, as the rest of the program sees it, uses CR LF line breaks, and
// positions count a line break as two characters. Inside, paragraphs are separated by U+2029 and
// a lone LF (an ordinary character of a line) is kept as U+2028, so that nothing of a file's
// text is lost on its way through the box. A line too long to lay out at every key is shown in
// pieces (see TextModel): positions and texts here never count the pieces' separators.
class TextBox final : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);

    // Whole text with CR LF breaks: linear in the text's length once after a change, then kept
    // (shared, not copied) until the document changes again.
    QString Text() const;
    // Whether Text() is kept, so that asking for it builds nothing.
    bool hasText() const { return textValid_ && !patch_; }
    // The text as Text() would give it, built from the document a piece at a time for a writer,
    // so that a save never builds the whole of it beside the document. Between the pieces the
    // window may let its events through, as in a long edit.
    std::unique_ptr<TextFile::TextPieces> documentPieces();
    // Replaces everything; the box's own undo history starts afresh.
    void setText(const QString &text);
    // The same result as setText, but only the stretch that differs from the text now is
    // replaced, in one edit, so that a restore after a small rewrite costs what the rewrite did.
    // The caret is left to the caller.
    void restoreText(const QString &text);
    // Replace all in one undoable step: each edit's stretch of the text (ascending, disjoint,
    // model positions) is replaced by with; nothing between them is touched.
    void replaceEach(const std::vector<std::pair<qsizetype, qsizetype>> &edits, const QString &with);
    // The box's own undo and redo, by which every way of asking for them goes: a replace-all
    // that paused is several steps of the document, taken back and done again as one.
    void undoEdit();
    void redoEdit();

    // Called between the pieces of a long edit (a replace-all, or loading or rewriting much
    // text) about every PauseEveryMs, with the document whole: the window lets its events
    // through there. Without one a long edit runs to its end at once.
    static constexpr int PauseEveryMs = 100;
    void setPause(std::function<void()> pause) { pause_ = std::move(pause); }
    // 0 pauses between every two pieces.
    void setPauseEvery(int ms) { pauseEveryMs_ = ms; }
    int pauseEvery() const { return pauseEveryMs_; }
    bool isEmpty() const;

    qsizetype SelStart() const;
    qsizetype SelLength() const;
    QString SelText() const;
    // Moves the caret, deselecting; a position past the end lands at the end.
    void setSelStart(qsizetype start);
    // Selects length characters from the current start.
    void setSelLength(qsizetype length);
    // Replaces the selection as an ordinary (undoable) edit; the caret ends after the new text.
    void setSelText(const QString &text);
    // Replaces the selection as a programmatic rewrite: only the stretch that differs changes in
    // the document, the caret ends after the new text and the box keeps no undo step of its own
    // (its history is cleared), so that Undo restores the whole-text snapshot the rewriting
    // command took. A rewrite of an empty box, which leaves
    // no usable snapshot, stays an ordinary undoable edit.
    void rewriteSelText(const QString &text);
    void select(qsizetype start, qsizetype length);

    // Position mapping between the CR LF model and the document; O(log n) in the line count.
    qsizetype toModel(int documentPosition) const;
    int toDocument(qsizetype modelPosition) const;
    // The text, as Text() has it, of the document's [from, to): built from the paragraphs
    // there, without laying anything out, at the cost of the stretch alone.
    QString textBetween(int from, int to) const;
    // The line (from 1) and the column (from 1, in characters) of a document position; costs
    // the same however long the text is.
    int lineAt(int documentPosition) const;
    qsizetype columnAt(int documentPosition) const;

    // Colours as classic 32-bit colour values: 0x00BBGGRR, or 0x80000000 + n for system colour n,
    // which follows the desktop theme.
    qint32 ForeColor() const { return foreColor_; }
    qint32 BackColor() const { return backColor_; }
    void setForeColor(qint32 colour);
    void setBackColor(qint32 colour);

    // Input-method mode: 0 leaves the input method alone, 4 turns on full-width hiragana input
    // whenever the box gets the focus.
    int imeMode() const { return imeMode_; }
    void setImeMode(int mode);

signals:
    // A long edit that paused is done: whatever the window held back meanwhile may go on.
    void longEditDone();

protected:
    bool event(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    class Pacer;
    void applyColours();
    // The document's history goes, and with it any record of its steps.
    void clearHistory();
    // Undoes or redoes the steps of a replace-all, pausing between them.
    void walkGroup(const std::function<void(QTextCursor *)> &step, const std::function<bool()> &more);
    // Inserts document text at the cursor, paragraph by paragraph, each new paragraph marked as
    // a piece of a long line or not, as softBreaks say.
    void insertDocument(QTextCursor &cursor, const TextModel::Document &d);
    void documentChanged(int position, int removed, int added);
    // Sets the whole document, marking the pieces of long lines; no undo step. False when a
    // lone CR became a line break, so that the text reads back otherwise.
    bool loadText(QStringView text);
    // Replaces [start, start + length) of the text by text as one edit that the box keeps no
    // undo step of; the model text kept from before is left for the caller to bring up to date.
    void replaceQuietly(qsizetype start, qsizetype length, QStringView text);
    // The model text built afresh from the document.
    QString modelText() const;
    // Forgets the kept text, unless the change is the box's own and it updates the text itself.
    void dropText();
    // Enter, Backspace and Delete at the pieces of a long line; true when handled.
    bool editAroundPieces(QKeyEvent *event);
    // A change of focus that repaints only what changes look.
    void changeFocusQuietly(const std::function<void()> &change);
    static constexpr int CaretMargin = 4;
    // Scrolls a place below the view into it as setTextCursor would, before it does, laying out
    // only the lines that will be shown.
    void scrollToShow(int position);
    // The soft separators, brought up to date with the pieces' marks when an edit may have made
    // or removed one.
    const TextModel::SoftBreaks &softBreaks() const;

    qint32 foreColor_;
    qint32 backColor_;
    int imeMode_ = 0;
    bool applyingColours_ = false;
    QObject *control_ = nullptr;
    // A document that never had a long line (nearly every one) keeps no soft separators at all.
    bool mayHaveSoftBreaks_ = false;
    mutable bool softBreaksStale_ = false;
    mutable int blockCount_ = 1;
    mutable TextModel::SoftBreaks softBreaks_;

    // The model text as Text() last returned it, and, after a rewrite, the one replacement that
    // makes it the text now: applied when next asked, or undone for nothing when the rewrite is
    // undone.
    struct Patch {
        qsizetype start = 0;
        qsizetype removed = 0;
        // What went in: a stretch of the rewrite's text, shared rather than copied when it is
        // most of it.
        QString text;
        qsizetype from = 0;
        qsizetype length = 0;
        QStringView inserted() const { return QStringView(text).sliced(from, length); }
    };
    mutable QString text_;
    mutable bool textValid_ = false;
    mutable std::optional<Patch> patch_;
    bool ownEdit_ = false;

    std::function<void()> pause_;
    int pauseEveryMs_ = PauseEveryMs;
    // The document's history between these two places in it is one replace-all: undone while
    // the document is at top, done again from bottom while its steps wait to be redone.
    struct Group {
        int bottom = 0;
        int top = 0;
    };
    std::optional<Group> group_;
    bool walkingGroup_ = false;
};
