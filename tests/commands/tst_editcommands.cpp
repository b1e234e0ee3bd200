// The Edit, conversion and Insert commands on a real main window: enabling, the rewrites and
// their two-level undo, the 100 ms tick and the Edit menu's keys.
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
        h->configure = [this](FrmMainEnv &env) { env.now = [this] { return clock; }; };
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
        frmMain &w = h->start();
        // The states follow while the menus stay closed (the keys act then), from all on and all
        // off. The clipboard changes first, so that its signal hides no missed text change.
        for (bool allOn : {true, false}) {
            text1(w)->setText(allOn ? QStringLiteral("xyz") : QString());
            text1(w)->select(0, allOn ? 3 : 0);
            setClipboard(allOn ? Clip::Text : Clip::Empty);
            setClipboard(Clip(clip));
            text1(w)->setText(text);
            text1(w)->select(0, selLength);

            for (const char *name : {"copyAction", "deleteAction", "cutAction", "quoteSelectionAction", "quoteCopyAction", "toWideAction", "toNarrowAction",
                                     "toKatakanaAction", "toHiraganaAction", "toUpperAction", "toLowerAction", "capitaliseAction", "saveSelectionAction"})
                QVERIFY2(action(w, name)->isEnabled() == forSelection, name);
            QCOMPARE(action(w, "selectAllAction")->isEnabled(), forText);
            QCOMPARE(action(w, "mnuSearchFind")->isEnabled(), forText);
            QCOMPARE(action(w, "pasteAction")->isEnabled(), forPaste);
            QCOMPARE(action(w, "quotePasteAction")->isEnabled(), forPaste);
        }
    }

    void rewrites_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("textAfter");
        QTest::addColumn<int>("selStartAfter");
        QTest::addColumn<int>("selLengthAfter");
        // The clipboard holds "a\nb\n".
        QTest::addRow("quote whole lines, caret after") << "quoteSelectionAction" << "a\r\nb\r\nc" << 0 << 6 << ">a\r\n>b\r\n>c" << 9 << 0;
        QTest::addRow("quote-paste: clipboard lines are quoted") << "quotePasteAction" << "xy" << 1 << 0 << "x>a\r\n>b\r\n>y" << 10 << 0;
        const QString far(40000, u'x');
        QTest::addRow("capitalise keeps the range selected, beyond 16 bits")
            << "capitaliseAction" << far + "\r\nsay hello world" << 40006 << 11 << far + "\r\nsay Hello World" << 40006 << 11;
        QTest::addRow("date stamp at the command's clock") << "stampAction" << "aXb" << 1 << 1 << "a09:05 2001/01/02b" << 17 << 0;
    }
    void rewrites()
    {
        QFETCH(QString, command);
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, textAfter);
        QFETCH(int, selStartAfter);
        QFETCH(int, selLengthAfter);

        QVERIFY(TextFile::write(h->sheetPath(1), text).ok);
        frmMain &w = h->start();
        const QStringList filesBefore = QDir(h->programDir).entryList(QDir::Files);
        text1(w)->select(selStart, selLength);
        QApplication::clipboard()->setText(QStringLiteral("a\nb\n"));
        clock = QDateTime(QDate(2001, 1, 2), QTime(9, 5, 59));

        action(w, command)->trigger();
        QCOMPARE(text1(w)->Text(), textAfter);
        QCOMPARE(text1(w)->SelStart(), qsizetype(selStartAfter));
        QCOMPARE(text1(w)->SelLength(), qsizetype(selLengthAfter));
        // Built in memory: no temporary file, nothing else left in the program directory.
        QCOMPARE(QDir(h->programDir).entryList(QDir::Files), filesBefore);
        QVERIFY(w.sheets().changed());
        // Undo is the snapshot's: the box keeps no step of a rewrite.
        QCOMPARE(w.sheets().undoSnapshot(), text);
        QVERIFY(!text1(w)->document()->isUndoAvailable());
    }

    // The copies leave the text and its selection alone; the quote mark is the settings'.
    void copies()
    {
        h->preset("q7", "Inyouhu", "| ");
        frmMain &w = h->start();
        text1(w)->setText(QStringLiteral("a\r\nb"));
        text1(w)->select(0, 4);
        action(w, "quoteCopyAction")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("| a\n| b"));
        QCOMPARE(text1(w)->SelLength(), qsizetype(4));
        text1(w)->select(3, 1);
        action(w, "copyAllAction")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("a\nb"));
        QCOMPARE(text1(w)->SelLength(), qsizetype(1));
        QCOMPARE(h->dialogs.calls.size(), 1);
        const FakeDialogs::Call &said = h->dialogs.calls[0];
        QCOMPARE(said.prompt + u'|' + said.title, QStringLiteral("すべての範囲をコピーしました。|q7 Zibo"));
        QCOMPARE(said.style, MsgBoxStyle::OKOnly | MsgBoxStyle::Information);
        // The toolbar button quotes as the menu item does, once the timer has enabled it.
        tick(w);
        w.toolbarButton(16)->trigger();
        QCOMPARE(text1(w)->Text(), QStringLiteral("a\r\n| b"));
    }

    // One Undo takes back a rewrite, or the typing after it whether or not a tick came between;
    // New keeps the snapshot. One level only: nothing is left to undo.
    void undoSequences()
    {
        frmMain &w = h->start();
        QAction *undoButton = w.toolbarButton(13);
        // "two" of "one two three" upper-cased, then what happens before Undo.
        const auto undoAfter = [&](const std::function<void()> &between) -> QString {
            text1(w)->setText(QStringLiteral("one two three"));
            text1(w)->select(4, 3);
            action(w, "toUpperAction")->trigger();
            between();
            undoButton->trigger();
            return text1(w)->Text() + QStringLiteral(", caret %1").arg(text1(w)->SelStart())
                + (undoButton->isEnabled() ? QStringLiteral(", more to undo") : QString());
        };
        const auto type = [&] { QTest::keyClicks(text1(w), QStringLiteral("X")); };
        QCOMPARE(undoAfter([] {}), QStringLiteral("one two three, caret 7"));
        QCOMPARE(undoAfter(type), QStringLiteral("one TWO three, caret 7"));
        QCOMPARE(undoAfter([&] { type(); tick(w); }), QStringLiteral("one TWO three, caret 7"));
        h->dialogs.answers = {MsgBoxResult::OK};
        QCOMPARE(undoAfter([&] { action(w, "newAction")->trigger(); }), QStringLiteral("one two three, caret 0"));
    }

    // The Edit menu's keys go through its items, so the items' enabling holds for the keys too.
    void keysGoThroughMenu()
    {
        frmMain &w = h->start();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        text1(w)->setFocus();
        // With "abc" of "abc def" selected and "clip" on the clipboard: the text, the clipboard,
        // the selection's length after the key, and how often the item ran.
        const auto press = [&](Qt::Key key, const char *item) {
            text1(w)->setText(QStringLiteral("abc def"));
            text1(w)->select(0, 3);
            QApplication::clipboard()->setText(QStringLiteral("clip"));
            QSignalSpy spy(action(w, item), &QAction::triggered);
            QTest::keyClick(text1(w), key, Qt::ControlModifier);
            return QStringLiteral("%1|%2|%3|%4").arg(text1(w)->Text(), QApplication::clipboard()->text())
                .arg(text1(w)->SelLength()).arg(spy.count());
        };
        QCOMPARE(press(Qt::Key_X, "cutAction"), QStringLiteral(" def|abc|0|1"));
        QCOMPARE(press(Qt::Key_C, "copyAction"), QStringLiteral("abc def|abc|3|1"));
        QCOMPARE(press(Qt::Key_V, "pasteAction"), QStringLiteral("clip def|clip|0|1"));
        QCOMPARE(press(Qt::Key_A, "selectAllAction"), QStringLiteral("abc def|clip|7|1"));
        // No snapshot of an empty text: the box's own step takes F5's stamp back, through the menu.
        text1(w)->setText(QString());
        QTest::keyClick(text1(w), Qt::Key_F5);
        QVERIFY(!text1(w)->Text().isEmpty());
        QSignalSpy undo(action(w, "undoAction"), &QAction::triggered);
        QTest::keyClick(text1(w), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(undo.count(), 1);
        QCOMPARE(text1(w)->Text(), QString());
    }

    // The tick shows the selection's start line and end column, a lone LF being one character
    // of its line; the quote button follows the selection; panel 3's date turns at midnight.
    void timerTick()
    {
        clock = QDateTime(QDate(1998, 10, 5), QTime(23, 59, 59, 950));
        frmMain &w = h->start();
        text1(w)->setText(QStringLiteral("ab\r\ncdef"));
        text1(w)->select(1, 6);
        tick(w);
        QCOMPARE(statusPanel(w, 2)->text(), QStringLiteral("   1 :    4"));
        QVERIFY(w.toolbarButton(16)->isEnabled());
        text1(w)->setText(QStringLiteral("a\nbc"));
        text1(w)->select(4, 0);
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
