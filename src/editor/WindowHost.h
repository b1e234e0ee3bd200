#pragma once

#include "platform/dialogs.h"

#include <QString>

#include <functional>

class QDateTime;
class QWidget;
class TextBox;

// What a controller gets from the main window it works in, and all it gets: the window
// implements this, and a test gives a small fake around a bare TextBox.
class WindowHost {
public:
    virtual ~WindowHost() = default;

    // The window: the parent of dialogs and message boxes.
    virtual QWidget *window() = 0;
    // The sheet's text box.
    virtual TextBox *editor() = 0;
    // A message box; the button chosen.
    virtual QMessageBox::StandardButton ask(const QString &prompt, const MessageStyle &style, const QString &title) = 0;
    // A sentence on the status bar for a while.
    virtual void note(const QString &text) = 0;
    virtual QDateTime now() const = 0;
    // Runs work on a worker thread, letting the window's events through while it waits; work
    // must not touch widgets.
    virtual void runBeside(const std::function<void()> &work) = 0;
    // A long edit is letting events through: the text is neither the old nor the new one.
    virtual bool inLongEdit() const = 0;
    // Something a command's enabled state depends on has changed.
    virtual void updateCommandStates() = 0;
};
