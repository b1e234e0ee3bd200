#include "app/layoutrules.h"

#include <QTest>

#include <limits>

using namespace LayoutRules;

class TestLayoutRules : public QObject {
    Q_OBJECT
private slots:
    void designClientArea();
    void minimumSize_data();
    void minimumSize();
    void centring_data();
    void centring();
    void placeOnScreen_data();
    void placeOnScreen();
};

void TestLayoutRules::designClientArea()
{
    const Arrangement a = arrange(8685, 6540, 315);
    QCOMPARE(a.text1, QRect(30, 855, 8605, 5315));
    QCOMPARE(a.tabStrip1, QRect(0, 480, 8685, 5730));
    QCOMPARE(a.combo1, QRect(0, 6540 - 315, 5400, 315));
    QCOMPARE(a.statusPanel1Width, 5400);
    QCOMPARE(a.line0, QLine(0, 415, 8685, 415));
    QCOMPARE(a.line1, QLine(0, 430, 8685, 430));
}

void TestLayoutRules::minimumSize_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<QSize>("expected");
    QTest::addRow("too narrow") << QSize(6000, 9000) << 15360 << QSize(8805, 9000);
    QTest::addRow("too low: half the screen") << QSize(9000, 5000) << 15360 << QSize(9000, 7680);
    QTest::addRow("odd screen height drops the remainder") << QSize(9000, 100) << 15361 << QSize(9000, 7680);
    QTest::addRow("large enough stays") << QSize(8805, 7680) << 15360 << QSize(8805, 7680);
}

void TestLayoutRules::minimumSize()
{
    QFETCH(QSize, window);
    QFETCH(int, screenHeight);
    QFETCH(QSize, expected);
    QCOMPARE(enforceMinimum(window, screenHeight), expected);
}

void TestLayoutRules::centring_data()
{
    QTest::addColumn<double>("screen");
    QTest::addColumn<double>("window");
    QTest::addColumn<int>("expected");
    QTest::addRow("even difference") << 19200.0 << 8800.0 << 5200;
    QTest::addRow("odd difference drops the half") << 19200.0 << 8805.0 << 5197;
    QTest::addRow("fraction rounds half to even first") << 19200.0 << 8804.5 << 5198;
    QTest::addRow("window larger than screen") << 8000.0 << 8805.0 << -402;
}

void TestLayoutRules::centring()
{
    QFETCH(double, screen);
    QFETCH(double, window);
    QFETCH(int, expected);
    QCOMPARE(centredOffset(screen, window), expected);
}

void TestLayoutRules::placeOnScreen_data()
{
    // Pixels at 15 twips each. A shorter second screen sits left of the first; it is listed first.
    const QRect left(-1280, 0, 1280, 984), primary(0, 0, 1920, 1040);
    const QList<QRect> both{left, primary};
    const QSize minimum(587, 540);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::addColumn<QRectF>("wanted");
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QRect>("expected");
    QTest::addRow("fits where it is") << QRectF(100, 100, 800, 600) << both << minimum << QRect(100, 100, 800, 600);
    QTest::addRow("on the second screen it stays there") << QRectF(-1000, 100, 800, 600) << both << minimum << QRect(-1000, 100, 800, 600);
    QTest::addRow("1e9 twips square: the available area, not gigabytes")
        << QRectF(0, 0, 1e9 / 15, 1e9 / 15) << both << minimum << QRect(0, 0, 1920, 1040);
    QTest::addRow("height limited by the screen it lands on") << QRectF(-1000, 0, 800, 1040) << both << minimum << QRect(-1000, 0, 800, 984);
    QTest::addRow("below the minimum: raised") << QRectF(100, 100, 200, 100) << both << minimum << QRect(100, 100, 587, 540);
    QTest::addRow("minimum larger than the screen: at its top-left")
        << QRectF(300, 300, 800, 600) << both << QSize(2000, 1200) << QRect(0, 0, 2000, 1200);
    QTest::addRow("Left 20000 Top 15000 twips: pulled fully on") << QRectF(20000 / 15.0, 1000, 800, 600) << both << minimum << QRect(1120, 440, 800, 600);
    QTest::addRow("straddling: onto the screen holding its corner") << QRectF(-300, 100, 800, 600) << both << minimum << QRect(-800, 100, 800, 600);
    QTest::addRow("corner on the first column of a screen: that screen") << QRectF(0, 100, 800, 600) << both << minimum << QRect(0, 100, 800, 600);
    QTest::addRow("-100000 twips: the nearest screen") << QRectF(-100000 / 15.0, -100000 / 15.0, 800, 600) << both << minimum << QRect(-1280, 0, 800, 600);
    QTest::addRow("beside the shorter screen: the nearer one, not the first") << QRectF(-10, 1030, 800, 600) << both << minimum << QRect(0, 440, 800, 600);
    QTest::addRow("2147483648 does not wrap") << QRectF(2147483648.0, 2147483648.0, 2147483648.0, 800) << both << minimum << QRect(0, 240, 1920, 800);
    QTest::addRow("NaN: the minimum at the origin's screen") << QRectF(nan, nan, nan, nan) << both << minimum << QRect(0, 0, 587, 540);
    QTest::addRow("no screen: the minimum at the origin") << QRectF(5000, 5000, 800, 600) << QList<QRect>{} << minimum << QRect(0, 0, 587, 540);
}

void TestLayoutRules::placeOnScreen()
{
    QFETCH(QRectF, wanted);
    QFETCH(QList<QRect>, screens);
    QFETCH(QSize, minimum);
    QFETCH(QRect, expected);
    QCOMPARE(LayoutRules::placeOnScreen(wanted, screens, minimum), expected);
}

QTEST_APPLESS_MAIN(TestLayoutRules)
#include "tst_layoutrules.moc"
