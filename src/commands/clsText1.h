#pragma once

#include <QtGlobal>

class TextBox;

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
    void setTarget(TextBox *target) { target_ = target; }
    // Deletes the selection, leaving the clipboard alone.
    void Clear();

private:
    TextBox *target_ = nullptr;
};
