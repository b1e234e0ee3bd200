// Window geometry in twips and the arrangement of the controls.
#include "app/TabStrip.h"
#include "editor/TextBox.h"
#include "app/MainWindow.h"
#include "app/layoutrules.h"
#include "launcher/LauncherController.h"
#include "platform/twips.h"

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include <cmath>

using namespace LayoutRules;

namespace {

QMargins frameMarginsOf(const QWidget *w)
{
    const QWindow *handle = w->windowHandle();
    return handle && w->isVisible() ? handle->frameMargins() : QMargins();
}

} // namespace

double MainWindow::twipsPerPixelX() const
{
    return Twips::PerInch / screen()->logicalDotsPerInchX();
}

double MainWindow::twipsPerPixelY() const
{
    return Twips::PerInch / screen()->logicalDotsPerInchY();
}

int MainWindow::windowLeft() const { return int(std::lround(frameGeometry().x() * twipsPerPixelX())); }
int MainWindow::windowTop() const { return int(std::lround(frameGeometry().y() * twipsPerPixelY())); }
int MainWindow::windowWidth() const { return int(std::lround(frameGeometry().width() * twipsPerPixelX())); }
int MainWindow::windowHeight() const { return int(std::lround(frameGeometry().height() * twipsPerPixelY())); }

void MainWindow::setWindowLeft(double twips)
{
    wantLeft_ = twips;
    move(int(std::lround(twips / twipsPerPixelX())), pos().y());
}

void MainWindow::setWindowTop(double twips)
{
    wantTop_ = twips;
    move(pos().x(), int(std::lround(twips / twipsPerPixelY())));
}

// Width and Height are the outer size, frame included, as the settings keep them.
void MainWindow::setWindowWidth(double twips)
{
    wantWidth_ = twips;
    const QMargins m = frameMarginsOf(this);
    resize(qMax(1, int(std::lround(twips / twipsPerPixelX())) - m.left() - m.right()), height());
}

void MainWindow::setWindowHeight(double twips)
{
    wantHeight_ = twips;
    const QMargins m = frameMarginsOf(this);
    resize(width(), qMax(1, int(std::lround(twips / twipsPerPixelY())) - m.top() - m.bottom()));
}

void MainWindow::applyMinimumSize()
{
    const QMargins m = frameMarginsOf(this);
    setMinimumSize(int(std::lround(MinWindowWidth / twipsPerPixelX())) - m.left() - m.right(),
                   int(std::lround(minWindowHeight(screenHeightTwips()) / twipsPerPixelY())) - m.top() - m.bottom());
}

void MainWindow::reapplyGeometryAfterShow()
{
    // Before the window was shown its frame was unknown; take it into account once it is. The
    // window manager adds the frame some time after showing, without an event to say so, so
    // look again a few times during the first two seconds.
    if (frameMarginsOf(this).isNull()) {
        if (frameChecksLeft_-- > 0)
            QTimer::singleShot(50, this, &MainWindow::reapplyGeometryAfterShow);
        return;
    }
    frameChecksLeft_ = 0;
    if ((windowState() & ~Qt::WindowActive) != Qt::WindowNoState)
        return;
    applyMinimumSize();
    setWindowWidth(wantWidth_);
    setWindowHeight(wantHeight_);
    setWindowLeft(wantLeft_);
    setWindowTop(wantTop_);
}

void MainWindow::placeWindow(double left, double top, double width, double height)
{
    // Stored values may come from another screen or a hand edit: the window must fit on a
    // screen and lie wholly on it, or it could not be seen (or even be made).
    const double tx = twipsPerPixelX(), ty = twipsPerPixelY();
    QList<QRect> screens;
    for (const QScreen *s : QGuiApplication::screens())
        screens << s->availableGeometry();
    const QSize minimum(int(std::lround(MinWindowWidth / tx)), int(std::lround(minWindowHeight(screenHeightTwips()) / ty)));
    const QRect r = placeOnScreen(QRectF(left / tx, top / ty, width / tx, height / ty), screens, minimum);
    setWindowWidth(r.width() * tx);
    setWindowHeight(r.height() * ty);
    setWindowLeft(r.x() * tx);
    setWindowTop(r.y() * ty);
}

int MainWindow::screenWidthTwips() const
{
    return int(std::lround(screen()->geometry().width() * twipsPerPixelX()));
}

int MainWindow::screenHeightTwips() const
{
    return int(std::lround(screen()->geometry().height() * twipsPerPixelY()));
}

void MainWindow::arrangeControls()
{
    if (isMinimized() || !client_ || arranging_)
        return;
    arranging_ = true;

    // Minimum size: snap back, and let the window manager know so it stops there too.
    const QSize outer(windowWidth(), windowHeight());
    const QSize allowed = enforceMinimum(outer, screenHeightTwips());
    applyMinimumSize();
    if (allowed != outer && !isMaximized() && !isFullScreen()) {
        if (allowed.width() != outer.width())
            setWindowWidth(allowed.width());
        if (allowed.height() != outer.height())
            setWindowHeight(allowed.height());
    }

    // The rules place controls in a client area with a 415-twip toolbar and a 330-twip status
    // bar; the central widget sits between the real bars, so shift by the nominal toolbar.
    const double tx = twipsPerPixelX(), ty = twipsPerPixelY();
    const int scaleWidth = int(std::lround(client_->width() * tx));
    const int scaleHeight = int(std::lround(client_->height() * ty)) + NominalToolbarHeight + NominalStatusHeight;
    const int comboHeight = int(std::lround(launcher_->launcherBox()->sizeHint().height() * ty));
    Arrangement a = arrange(scaleWidth, scaleHeight, comboHeight);
    // The rules leave 375 twips above the text box for the tabs; taller tabs push it down.
    const int tabsTwips = int(std::lround(tabStrip_->bar()->sizeHint().height() * ty));
    a.text1.setTop(a.text1.top() + qMax(0, tabsTwips + 30 - (a.text1.top() - a.tabStrip1.top())));

    auto px = [&](QRect r) {
        const int x = int(std::lround(r.x() / tx));
        const int y = int(std::lround((r.y() - NominalToolbarHeight) / ty));
        return QRect(x, y, qMax(0, int(std::lround(r.width() / tx))), qMax(0, int(std::lround(r.height() / ty))));
    };
    auto line = [&](QFrame *f, QLine l) {
        f->setGeometry(0, int(std::lround((l.y1() - NominalToolbarHeight) / ty)), int(std::lround(l.x2() / tx)), 1);
    };
    line(separatorLines_[0], a.line0);
    line(separatorLines_[1], a.line1);
    textBox_->setGeometry(px(a.text1));
    tabStrip_->setGeometry(px(a.tabStrip1));
    // The run button stands in the launcher box's place, at its right end.
    launcher_->launcherBox()->setFixedWidth(qMax(0, int(std::lround(a.launcherBox.width() / tx)) - launcher_->runButton()->sizeHint().width()));

    arranging_ = false;
}
