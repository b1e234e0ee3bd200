// The sheet text box's model: CR LF text, positions that count a line break as two, and the
// characters that must survive the trip through the widget.
#include "app/TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTest>

class TestTextBox : public QObject {
    Q_OBJECT
private slots:
    void textRoundTrip_data();
    void textRoundTrip();
    void selectionCountsBreaksAsTwo_data();
    void selectionCountsBreaksAsTwo();
    void positionMappingIsConsistent();
    void positionsBeyondSixteenBits();
    void setSelTextIsOneUndoableEdit();
    void shiftEnterIsAnOrdinaryBreak();
    void copyKeepsNoBreakSpace();
    void systemColoursFollowTheme();
};

void TestTextBox::textRoundTrip_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::addRow("CR LF lines") << "a\r\nb\r\n" << "a\r\nb\r\n";
    QTest::addRow("lone LF stays a character") << "a\nb" << "a\nb";
    QTest::addRow("lone CR becomes a line break") << "a\rb" << "a\r\nb";
    QTest::addRow("no-break space kept") << QStringLiteral("a\u00A0b") << QStringLiteral("a\u00A0b");
    QTest::addRow("Japanese and tabs") << QStringLiteral("日本語\tｶﾅ\r\n") << QStringLiteral("日本語\tｶﾅ\r\n");
    QTest::addRow("only breaks") << "\r\n\r\n" << "\r\n\r\n";
    QTest::addRow("CR LF LF") << "a\r\n\nb" << "a\r\n\nb";
    QTest::addRow("empty") << "" << "";
}

void TestTextBox::textRoundTrip()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    TextBox box;
    box.setText(in);
    QCOMPARE(box.Text(), out);
    QCOMPARE(box.isEmpty(), out.isEmpty());
}

void TestTextBox::selectionCountsBreaksAsTwo_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("selected");
    QTest::addRow("second line") << "ab\r\ncdef" << 4 << 3 << "cde";
    QTest::addRow("across a break") << "ab\r\ncd" << 1 << 4 << "b\r\nc";
    QTest::addRow("whole text") << "ab\r\ncd\r\n" << 0 << 8 << "ab\r\ncd\r\n";
    QTest::addRow("lone LF counts one") << "a\nb\r\nc" << 2 << 4 << "b\r\nc";
    QTest::addRow("past the end is clamped") << "abc" << 1 << 99 << "bc";
}

void TestTextBox::selectionCountsBreaksAsTwo()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, selected);
    TextBox box;
    box.setText(text);
    box.select(start, length);
    QCOMPARE(box.SelText(), selected);
    QCOMPARE(box.SelStart(), qsizetype(start));
    QCOMPARE(box.SelLength(), selected.size());
    QCOMPARE(box.Text().mid(box.SelStart(), box.SelLength()), selected);
}

void TestTextBox::positionMappingIsConsistent()
{
    // Every model position that is not inside a CR LF pair maps to the document and back.
    QString text;
    auto *rng = QRandomGenerator::global();
    for (int i = 0; i < 400; ++i) {
        const int r = rng->bounded(10);
        text += r == 0 ? QStringLiteral("\r\n") : r == 1 ? QStringLiteral("\n") : QString(QChar(u'a' + r));
    }
    TextBox box;
    box.setText(text);
    const QString model = box.Text();
    for (qsizetype m = 0; m <= model.size(); ++m) {
        if (m > 0 && model[m - 1] == u'\r' && m < model.size() && model[m] == u'\n')
            continue;
        QCOMPARE(box.toModel(box.toDocument(m)), m);
    }
}

void TestTextBox::positionsBeyondSixteenBits()
{
    TextBox box;
    QString text = QString(40000, u'x') + QStringLiteral("\r\nTARGET");
    box.setText(text);
    box.select(40002, 6);
    QCOMPARE(box.SelText(), QStringLiteral("TARGET"));
    QCOMPARE(box.SelStart(), qsizetype(40002));
}

void TestTextBox::setSelTextIsOneUndoableEdit()
{
    TextBox box;
    box.setText(QStringLiteral("one two"));
    box.select(4, 3);
    box.setSelText(QStringLiteral("2\r\n3"));
    QCOMPARE(box.Text(), QStringLiteral("one 2\r\n3"));
    QCOMPARE(box.SelStart(), qsizetype(8));
    QCOMPARE(box.SelLength(), qsizetype(0));
    box.undo();
    QCOMPARE(box.Text(), QStringLiteral("one two"));
}

void TestTextBox::shiftEnterIsAnOrdinaryBreak()
{
    TextBox box;
    box.setText(QStringLiteral("ab"));
    box.setSelStart(1);
    QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(box.Text(), QStringLiteral("a\r\nb"));
}

void TestTextBox::copyKeepsNoBreakSpace()
{
    TextBox box;
    box.setText(QStringLiteral("x\u00A0y\r\nz"));
    box.selectAll();
    box.copy();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("x\u00A0y\nz"));
}

void TestTextBox::systemColoursFollowTheme()
{
    QWidget window;
    auto &box = *new TextBox(&window);
    QPalette theme = QApplication::palette();
    QCOMPARE(box.palette().color(QPalette::Text), theme.color(QPalette::Active, QPalette::Text));
    theme.setColor(QPalette::Base, QColor(1, 2, 3));
    QApplication::setPalette(theme);
    QTRY_COMPARE(box.palette().color(QPalette::Base), QColor(1, 2, 3));
    box.setBackColor(0x00336699); // 0x00BBGGRR
    QCOMPARE(box.palette().color(QPalette::Base), QColor(0x99, 0x66, 0x33));
}

QTEST_MAIN(TestTextBox)
#include "tst_textbox.moc"
