#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QWidget;
class TextBox;

// A long edit of the text box (a replace-all, loading or rewriting much text) lets the window's
// events through every so often, so that the window keeps painting and answering the desktop.
// The user's input waits for the end of the edit, and so does whatever would close a window or
// drop a file on it.
class LongEdits final : public QObject {
    Q_OBJECT
public:
    LongEdits(QWidget *window, TextBox *editor);

    // Events are being let through in the middle of an edit: the text is neither old nor new.
    bool active() const { return active_; }
    // Runs work on a worker thread and returns when it is done; work that takes a while lets
    // the window's events through meanwhile, as a long edit does. work must not touch widgets.
    void runBeside(const std::function<void()> &work);
    // Once the session ends, a close held back goes through even under a modal dialog.
    void setSessionEnding() { sessionEnding_ = true; }

    // What waits for the end of the edit.
    struct HeldBack {
        bool close = false;
        std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> text;
    };

private:
    void pause();
    void done();

    QWidget *window_;
    TextBox *editor_;
    bool active_ = false;
    bool sessionEnding_ = false;
    HeldBack heldBack_;
};
