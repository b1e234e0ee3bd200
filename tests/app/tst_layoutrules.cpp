#include "app/layoutrules.h"

#include <QTest>

using namespace LayoutRules;

class TestLayoutRules : public QObject {
    Q_OBJECT
private slots:
    void designClientArea();
    void minimumSize_data();
    void minimumSize();
    void centring_data();
    void centring();
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

QTEST_APPLESS_MAIN(TestLayoutRules)
#include "tst_layoutrules.moc"
