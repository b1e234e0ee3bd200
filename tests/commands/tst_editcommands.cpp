// The Edit and conversion commands on a real main window: their enabling, the Edit menu's keys
// and the 100 ms tick.
#include "harness.h"
#include "sheets/textfile.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QSignalSpy>

namespace {

enum class Clip { Empty, Text, Image };

void setClipboard(Clip kind)
{
    auto *data = new QMimeData;
    if (kind == Clip::Text)
        data->setText(QStringLiteral("clip"));
    else if (kind == Clip::Image)
        data->setImageData(QImage(2, 2, QImage::Format_RGB32));
    QApplication::clipboard()->setMimeData(data);
}

} // namespace

class TestEditCommands : public QObject {
    Q_OBJECT
    std::unique_ptr<Harness> h;
    QDateTime clock;

private slots:
    void init()
    {
        h = std::make_unique<Harness>();
        h->writeSheets();
        clock = QDateTime(QDate(1998, 10, 5), QTime(17, 45, 30));
        h->configure = [this](MainWindowEnv &env) { env.now = [this] { return clock; }; };
        setClipboard(Clip::Empty);
    }

    void menuEnabling_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<int>("clip");
        QTest::addRow("text, no selection, clipboard text") << "abc" << 0 << int(Clip::Text);
        QTest::addRow("empty text") << "" << 0 << int(Clip::Text);
        QTest::addRow("selection, an image but no text on the clipboard") << "abc" << 1 << int(Clip::Image);
    }
    void menuEnabling()
    {
        QFETCH(QString, text);
        QFETCH(int, selLength);
        QFETCH(int, clip);
        const bool forSelection = selLength > 0, forText = !text.isEmpty(), forPaste = clip == int(Clip::Text);
        MainWindow &w = h->start();
        // The states follow while the menus stay closed (the keys act then), from all on and all
        // off. The clipboard changes first, so that its signal hides no missed text change.
        for (bool allOn : {true, false}) {
            textBox(w)->setText(allOn ? QStringLiteral("xyz") : QString());
            textBox(w)->select(0, allOn ? 3 : 0);
            setClipboard(allOn ? Clip::Text : Clip::Empty);
            setClipboard(Clip(clip));
            textBox(w)->setText(text);
            textBox(w)->select(0, selLength);

            for (const char *name : {"copyAction", "deleteAction", "cutAction", "quoteSelectionAction", "quoteCopyAction", "toWideAction", "toNarrowAction",
                                     "toKatakanaAction", "toHiraganaAction", "toUpperAction", "toLowerAction", "capitaliseAction", "saveSelectionAction"})
                QVERIFY2(action(w, name)->isEnabled() == forSelection, name);
            QCOMPARE(action(w, "selectAllAction")->isEnabled(), forText);
            QCOMPARE(action(w, "findAction")->isEnabled(), forText);
            QCOMPARE(action(w, "pasteAction")->isEnabled(), forPaste);
            QCOMPARE(action(w, "quotePasteAction")->isEnabled(), forPaste);
        }
    }

    // The Edit menu's keys go through its items, so the items' enabling holds for the keys too.
    void keysGoThroughMenu()
    {
        MainWindow &w = h->start();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        textBox(w)->setFocus();
        // With "abc" of "abc def" selected and "clip" on the clipboard: the text, the clipboard,
        // the selection's length after the key, and how often the item ran.
        const auto press = [&](Qt::Key key, const char *item) {
            textBox(w)->setText(QStringLiteral("abc def"));
            textBox(w)->select(0, 3);
            QApplication::clipboard()->setText(QStringLiteral("clip"));
            QSignalSpy spy(action(w, item), &QAction::triggered);
            QTest::keyClick(textBox(w), key, Qt::ControlModifier);
            return QStringLiteral("%1|%2|%3|%4").arg(textBox(w)->Text(), QApplication::clipboard()->text())
                .arg(textBox(w)->SelLength()).arg(spy.count());
        };
        QCOMPARE(press(Qt::Key_X, "cutAction"), QStringLiteral(" def|abc|0|1"));
        QCOMPARE(press(Qt::Key_C, "copyAction"), QStringLiteral("abc def|abc|3|1"));
        QCOMPARE(press(Qt::Key_V, "pasteAction"), QStringLiteral("clip def|clip|0|1"));
        QCOMPARE(press(Qt::Key_A, "selectAllAction"), QStringLiteral("abc def|clip|7|1"));
        // No snapshot of an empty text: the box's own step takes F5's stamp back, through the menu.
        textBox(w)->setText(QString());
        QTest::keyClick(textBox(w), Qt::Key_F5);
        QVERIFY(!textBox(w)->Text().isEmpty());
        QSignalSpy undo(action(w, "undoAction"), &QAction::triggered);
        QTest::keyClick(textBox(w), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(undo.count(), 1);
        QCOMPARE(textBox(w)->Text(), QString());
    }

    // The tick shows the selection's start line and end column, a lone LF being one character
    // of its line; the quote button follows the selection; panel 3's date turns at midnight.
    void timerTick()
    {
        clock = QDateTime(QDate(1998, 10, 5), QTime(23, 59, 59, 950));
        MainWindow &w = h->start();
        textBox(w)->setText(QStringLiteral("ab\r\ncdef"));
        textBox(w)->select(1, 6);
        tick(w);
        QCOMPARE(statusPanel(w, 2)->text(), QStringLiteral("   1 :    4"));
        QVERIFY(w.toolbarButton(16)->isEnabled());
        textBox(w)->setText(QStringLiteral("a\nbc"));
        textBox(w)->select(4, 0);
        tick(w);
        QCOMPARE(statusPanel(w, 2)->text(), QStringLiteral("   1 :    5"));
        QVERIFY(!w.toolbarButton(16)->isEnabled());
        QCOMPARE(statusPanel(w, 3)->text(), QStringLiteral("1998/10/05"));
        clock = clock.addMSecs(100);
        tick(w);
        QCOMPARE(statusPanel(w, 3)->text(), QStringLiteral("1998/10/06"));
    }
};

QTEST_MAIN(TestEditCommands)
#include "tst_editcommands.moc"
