#include "app/TabStrip.h"

#include <QMouseEvent>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

TabStrip::TabStrip(QWidget *parent)
    : QWidget(parent)
    , bar_(new QTabBar(this))
{
    bar_->setExpanding(false);
    bar_->setDrawBase(false);
    bar_->setUsesScrollButtons(true);
    bar_->setFocusPolicy(Qt::TabFocus);
    for (int n = 1; n <= TabCount; ++n) {
        const int i = bar_->addTab(QStringLiteral("Zibo q &%1").arg(n));
        // Each tab carries its sheet's file name; it is only shown, never used.
        bar_->setTabToolTip(i, QStringLiteral("q%1.txt").arg(n));
    }
    bar_->installEventFilter(this);
    connect(bar_, &QTabBar::currentChanged, this, [this] {
        if (!quiet_)
            emit tabChosen();
    });
}

int TabStrip::selectedIndex() const
{
    return bar_->currentIndex() + 1;
}

void TabStrip::selectQuietly(int index)
{
    quiet_ = true;
    bar_->setCurrentIndex(index - 1);
    quiet_ = false;
}

QString TabStrip::caption(int index) const
{
    return bar_->tabText(index - 1);
}

void TabStrip::setCaption(int index, const QString &caption)
{
    bar_->setTabText(index - 1, caption);
    placeBar();
}

QFont TabStrip::tabFont() const
{
    return bar_->font();
}

void TabStrip::setTabFont(const QFont &font)
{
    bar_->setFont(font);
    placeBar();
    update();
}

void TabStrip::placeBar()
{
    // As wide as the strip, never as wide as its tabs: the bar scrolls what does not fit.
    bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
}

void TabStrip::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeBar();
}

void TabStrip::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = bar_->size();
    frame.rect = rect().adjusted(0, bar_->height() - 1, 0, 0);
    frame.lineWidth = 1;
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

bool TabStrip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == bar_ && event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        emit mousePressed(mouse->button(), mouse->globalPosition().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}
