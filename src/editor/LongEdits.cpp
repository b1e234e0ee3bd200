#include "editor/LongEdits.h"

#include "editor/TextBox.h"

#include <QApplication>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <future>

namespace {

// While an edit pauses: closes are refused (the main window's is remembered), drops are turned
// away, and text from the input method, which does not come as the user's input but would
// change the text under the edit, waits for the edit's end.
class HoldBack final : public QObject {
public:
    HoldBack(const QWidget *window, LongEdits::HeldBack &held) : window_(window), held_(held) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A window's close reaches its widget through the platform window: refuse it there.
        if (!watched->isWidgetType())
            return false;
        switch (event->type()) {
        case QEvent::Close:
            if (watched == window_)
                held_.close = true;
            event->ignore();
            return true;
        case QEvent::InputMethod:
            held_.text.emplace_back(watched, event->clone());
            return true;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            event->ignore();
            return true;
        default:
            return false;
        }
    }

private:
    const QWidget *window_;
    LongEdits::HeldBack &held_;
};

} // namespace

LongEdits::LongEdits(QWidget *window, TextBox *editor)
    : QObject(window)
    , window_(window)
    , editor_(editor)
{
    editor_->setPause([this] { pause(); });
    connect(editor_, &TextBox::longEditDone, this, &LongEdits::done);
}

void LongEdits::pause()
{
    HoldBack hold(window_, heldBack_);
    qApp->installEventFilter(&hold);
    const QScopedValueRollback<bool> pausing(active_, true);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    qApp->removeEventFilter(&hold);
}

void LongEdits::runBeside(const std::function<void()> &work)
{
    std::future<void> finished = std::async(std::launch::async, work);
    const std::chrono::milliseconds every(std::max(editor_->pauseEvery(), 1));
    bool paused = false;
    while (finished.wait_for(every) != std::future_status::ready) {
        pause();
        paused = true;
    }
    if (paused)
        done();
    finished.get();
}

void LongEdits::done()
{
    // What waited comes now, in its order, from the event loop after whatever started the edit
    // has finished: the input method's text, then a close asked for (the close box, the end of
    // the session).
    for (auto &[receiver, event] : std::exchange(heldBack_.text, {}))
        if (receiver)
            QCoreApplication::postEvent(receiver, event.release());
    // A user's close held back while a modal dialog is open (an edit started from it) is dropped
    // rather than closing the window under the dialog; the session's end closes all the same.
    if (std::exchange(heldBack_.close, false) && (sessionEnding_ || !QApplication::activeModalWidget()))
        QTimer::singleShot(0, window_, &QWidget::close);
}
