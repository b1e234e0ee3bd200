// The sheet text box's model: CR LF text, positions that count a line break as two, and the
// characters that must survive the trip through the widget and the clipboard.
#include "app/TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTextBox : public QObject {
    Q_OBJECT
private slots:
    // Text in, text out, and a selection made by model positions, then copied.
    void textAndSelection_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("selected");
        QTest::addRow("CR LF lines, selected past the end") << "a\r\nb\r\n" << "a\r\nb\r\n" << 0 << 99 << "a\r\nb\r\n";
        QTest::addRow("lone LF stays a character and counts one") << "a\nb\r\nc" << "a\nb\r\nc" << 1 << 5 << "\nb\r\nc";
        QTest::addRow("lone CR becomes a line break") << "a\rb" << "a\r\nb" << 1 << 2 << "\r\n";
        QTest::addRow("no-break space kept") << u"a\u00A0b"_s << u"a\u00A0b"_s << 0 << 3 << u"a\u00A0b"_s;
        const QString x(40000, u'x');
        QTest::addRow("beyond 16 bits") << "\r\n" + x + "TARGET" << "\r\n" + x + "TARGET" << 40002 << 6 << "TARGET";
    }
    void textAndSelection()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, selected);
        TextBox box;
        box.setText(in);
        QCOMPARE(box.Text(), out);
        box.select(start, length);
        QCOMPARE(box.SelText(), selected);
        QCOMPARE(box.SelStart(), qsizetype(start));
        QCOMPARE(box.SelLength(), selected.size());
        // The clipboard gets LF breaks and every other character as it is.
        box.copy();
        QCOMPARE(QApplication::clipboard()->text(), QString(selected).replace("\r\n", "\n"));
    }

    void setSelTextIsOneUndoableEdit()
    {
        TextBox box;
        box.setText("one two");
        box.select(4, 3);
        box.setSelText("2\r\n3\n");
        QCOMPARE(box.Text(), "one 2\r\n3\n");
        QCOMPARE(box.SelStart(), qsizetype(9));
        QCOMPARE(box.SelLength(), qsizetype(0));
        box.undo();
        QCOMPARE(box.Text(), "one two");
    }

    void keysThatTypeNoText_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addRow("Shift+Enter is an ordinary break") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << "a\r\nb";
        QTest::addRow("Alt+8 names no sheet and types nothing") << int(Qt::Key_8) << int(Qt::AltModifier) << "ab";
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

    void systemColoursFollowTheme()
    {
        QWidget window;
        auto &box = *new TextBox(&window);
        QPalette theme = QApplication::palette();
        theme.setColor(QPalette::Base, QColor(1, 2, 3));
        QApplication::setPalette(theme);
        QTRY_COMPARE(box.palette().color(QPalette::Base), QColor(1, 2, 3));
    }
};

QTEST_MAIN(TestTextBox)
#include "tst_textbox.moc"
