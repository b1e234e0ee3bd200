// The running window's side of a second start: it comes to the front and takes the file the
// second start named, as a start takes its command-line file.
#include "app/TabStrip.h"
#include "editor/TextBox.h"
#include "app/MainWindow.h"
#include "commands/FileController.h"
#include "editor/LongEdits.h"
#include "platform/dialogs.h"

#include <QApplication>
#include <QThread>
#include <QTimer>

void MainWindow::openForHandOvers()
{
    handOversOpen_ = true;
    takeWaitingHandOvers();
}

void MainWindow::takeHandOver(const HandOverRequest &request)
{
    bringToFront();
    if (request.path.isEmpty() && !request.nameUnusable)
        return;
    handOvers_.push_back(request);
    takeWaitingHandOvers();
}

void MainWindow::bringToFront()
{
    // Before start-up has shown the window there is nothing to bring: it comes up by itself.
    if (!isVisible())
        return;
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    // A question that is open stays on top: it is what the user has to answer first.
    QWidget *front = QApplication::activeModalWidget();
    if (!front)
        front = this;
    front->raise();
    front->activateWindow();
}

void MainWindow::takeWaitingHandOvers()
{
    if (handOvers_.empty() || ending_)
        return;
    // A file is taken only from the main event loop with no question open, no long edit under
    // way and start-up done: a dialog or a menu that is open, or the code that opened it, may
    // still rely on the sheet it was opened for. Until then the file waits and the check is
    // made again.
    if (!handOversOpen_ || longEdits_->active() || QApplication::activeModalWidget()
        || QThread::currentThread()->loopLevel() > 1) {
        if (!handOverRetry_) {
            handOverRetry_ = new QTimer(this);
            handOverRetry_->setInterval(200);
            connect(handOverRetry_, &QTimer::timeout, this, &MainWindow::takeWaitingHandOvers);
        }
        handOverRetry_->start();
        return;
    }
    if (handOverRetry_)
        handOverRetry_->stop();
    const std::vector<HandOverRequest> requests = std::exchange(handOvers_, {});
    for (const HandOverRequest &request : requests)
        takeHandedOverFile(request);
}

void MainWindow::takeHandedOverFile(const HandOverRequest &request)
{
    if (request.nameUnusable) {
        tellNameUnusable();
        return;
    }
    // Read first: a file that cannot be read is reported and changes nothing, not even the
    // current sheet.
    TextFile::ReadResult result = files_->readFile(request.path);
    if (!result.ok)
        return;
    // To sheet 1 the normal way: the sheet being left is written first, and a sheet that
    // cannot be written keeps its text and stays current, the file untaken.
    if (!files_->saveSheet())
        return;
    sheets_->setCurrentSheet(1);
    tabStrip_->selectQuietly(1);
    sheets_->setOpenedFile(1, request.path);
    files_->takeFileText(result);
}
