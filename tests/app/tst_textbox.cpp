// The sheet text box's model: CR LF text, positions that count a line break as two, and the
// characters that must survive the trip through the widget.
#include "app/TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

class TestTextBox : public QObject {
    Q_OBJECT
private slots:
    void textRoundTrip_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::addRow("CR LF lines") << "a\r\nb\r\n" << "a\r\nb\r\n";
        QTest::addRow("lone LF stays a character") << "a\nb" << "a\nb";
        QTest::addRow("CR LF LF") << "a\r\n\nb" << "a\r\n\nb";
        QTest::addRow("lone CR becomes a line break") << "a\rb" << "a\r\nb";
        QTest::addRow("no-break space kept") << QStringLiteral("a\u00A0b") << QStringLiteral("a\u00A0b");
        QTest::addRow("empty") << "" << "";
    }
    void textRoundTrip()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        TextBox box;
        box.setText(in);
        QCOMPARE(box.Text(), out);
        QCOMPARE(box.isEmpty(), out.isEmpty());
    }

    void selectionCountsBreaksAsTwo_data()
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
        QTest::addRow("beyond 16 bits") << QString(40000, u'x') + "\r\nTARGET" << 40002 << 6 << "TARGET";
    }
    void selectionCountsBreaksAsTwo()
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

    void setSelTextIsOneUndoableEdit()
    {
        TextBox box;
        box.setText("one two");
        box.select(4, 3);
        box.setSelText("2\r\n3");
        QCOMPARE(box.Text(), QStringLiteral("one 2\r\n3"));
        QCOMPARE(box.SelStart(), qsizetype(8));
        QCOMPARE(box.SelLength(), qsizetype(0));
        box.undo();
        QCOMPARE(box.Text(), QStringLiteral("one two"));
    }

    void keysThatTypeNoText_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addRow("Shift+Enter is an ordinary break") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << "a\r\nb";
        QTest::addRow("Alt+8 names no sheet and types nothing") << int(Qt::Key_8) << int(Qt::AltModifier) << "ab";
        QTest::addRow("Alt+0 likewise") << int(Qt::Key_0) << int(Qt::AltModifier) << "ab";
        QTest::addRow("8 alone is typed") << int(Qt::Key_8) << int(Qt::NoModifier) << "a8b";
    }
    void keysThatTypeNoText()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        TextBox box;
        box.setText("ab");
        box.setSelStart(1);
        QTest::keyClick(&box, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(box.Text(), text);
    }

    void copyKeepsNoBreakSpace()
    {
        TextBox box;
        box.setText(QStringLiteral("x\u00A0y\r\nz"));
        box.selectAll();
        box.copy();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("x\u00A0y\nz"));
    }

    void systemColoursFollowTheme()
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
};

QTEST_MAIN(TestTextBox)
#include "tst_textbox.moc"
