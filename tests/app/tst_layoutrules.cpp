#include "app/layoutrules.h"

#include <QTest>

#include <limits>

using namespace LayoutRules;

class TestLayoutRules : public QObject {
    Q_OBJECT
private slots:
    void designClientArea()
    {
        const Arrangement a = arrange(8685, 6540, 315);
        QCOMPARE(a.text1, QRect(30, 855, 8605, 5315));
        QCOMPARE(a.tabStrip1, QRect(0, 480, 8685, 5730));
        QCOMPARE(a.launcherBox, QRect(0, 6540 - 315, 3900, 315));
        QCOMPARE(a.line0, QLine(0, 415, 8685, 415));
        QCOMPARE(a.line1, QLine(0, 430, 8685, 430));
    }

    // Too narrow: the design width; too low: half the screen, an odd twip dropped. Centring
    // rounds a fraction before halving, toward zero when the window is the larger.
    void minimumAndCentring()
    {
        QCOMPARE(enforceMinimum(QSize(6000, 9000), 15360), QSize(8805, 9000));
        QCOMPARE(enforceMinimum(QSize(9000, 5000), 15361), QSize(9000, 7680));
        QCOMPARE(centredOffset(19200, 8805), 5197);
        QCOMPARE(centredOffset(19200, 8804.5), 5198);
        QCOMPARE(centredOffset(8000, 8805), -402);
    }

    void placeOnScreen_data()
    {
        // Pixels at 15 twips each. A shorter second screen sits left of the first; it is listed first.
        const QList<QRect> both{QRect(-1280, 0, 1280, 984), QRect(0, 0, 1920, 1040)};
        const double nan = std::numeric_limits<double>::quiet_NaN(), huge = 2147483648.0;
        QTest::addColumn<QRectF>("wanted");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("expected");
        const auto row = [&](const char *name, const QRectF &wanted, const QRect &expected) {
            QTest::newRow(name) << wanted << both << expected;
        };
        row("height limited by the screen it lands on", QRectF(-1000, 0, 800, 1040), QRect(-1000, 0, 800, 984));
        row("below the minimum: raised", QRectF(100, 100, 200, 100), QRect(100, 100, 587, 540));
        row("-100000 twips: pulled onto the nearest screen", QRectF(-100000 / 15.0, -100000 / 15.0, 800, 600), QRect(-1280, 0, 800, 600));
        row("straddling: onto the screen holding its corner", QRectF(-300, 100, 800, 600), QRect(-800, 100, 800, 600));
        row("corner on the first column of a screen: that screen", QRectF(0, 100, 800, 600), QRect(0, 100, 800, 600));
        row("beside the shorter screen: the nearer one, not the first", QRectF(-10, 1030, 800, 600), QRect(0, 440, 800, 600));
        row("2147483648 everywhere: the available area, no wrap, not gigabytes", QRectF(huge, huge, huge, huge), QRect(0, 0, 1920, 1040));
        row("NaN: the minimum at the origin's screen", QRectF(nan, nan, nan, nan), QRect(0, 0, 587, 540));
        QTest::newRow("minimum larger than the screen: at its top-left")
            << QRectF(100, 100, 800, 600) << QList<QRect>{QRect(0, 0, 400, 300)} << QRect(0, 0, 587, 540);
        QTest::newRow("no screen: the minimum at the origin") << QRectF(5000, 5000, 800, 600) << QList<QRect>{} << QRect(0, 0, 587, 540);
    }
    void placeOnScreen()
    {
        QFETCH(QRectF, wanted);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, expected);
        QCOMPARE(LayoutRules::placeOnScreen(wanted, screens, QSize(587, 540)), expected);
    }
};

QTEST_APPLESS_MAIN(TestLayoutRules)
#include "tst_layoutrules.moc"
