#pragma once

#include <QtGlobal>

class QPlainTextEdit;

// The text-box command adapter: the edit operations of the Edit menu go through one object bound
// to the text box, as messages go to a window handle.
class clsText1 final {
public:
    clsText1() = default;

    void Undo();
    void SelectAll();
    void Paste();
    void Cut();
    void Copy();
    bool CanUndo() const;
    // False makes the box forget its undo history; True does nothing.
    void setCanUndo(bool value);
    void setTarget(QPlainTextEdit *target) { target_ = target; }
    QPlainTextEdit *Target() const { return target_; }
    // Deletes the selection, leaving the clipboard alone.
    void Clear();
    qint32 ScaleMode() const { return scaleMode_; }
    void setScaleMode(qint32 value) { scaleMode_ = value; }

private:
    QPlainTextEdit *target_ = nullptr;
    qint32 scaleMode_ = 1;
};
