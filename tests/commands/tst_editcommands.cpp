// The Edit, conversion and Insert commands on a real main window: enabling, the rewrites and
// their two-level undo, the 100 ms tick and the Edit menu's keys.
#include "harness.h"
#include "sheets/textfile.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

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


enum Prelude { Nothing, Widen, StampEmptyText };

} // namespace

class TestEditCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void menuEnabling_data();
    void menuEnabling();
    void rewrites_data();
    void rewrites();
    void quoteMarkOfTheSettings();
    void undoSequences_data();
    void undoSequences();
    void keysGoThroughMenu_data();
    void keysGoThroughMenu();
    void copyAll();
    void timerTick_data();
    void timerTick();

private:
    std::unique_ptr<Harness> h;
    QDateTime clock;
};

void TestEditCommands::init()
{
    h = std::make_unique<Harness>();
    h->writeSheets();
    clock = QDateTime(QDate(1998, 10, 5), QTime(17, 45, 30));
    h->configure = [this](FrmMainEnv &env) { env.now = [this] { return clock; }; };
    setClipboard(Clip::Empty);
}

void TestEditCommands::menuEnabling_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<int>("clip");
    QTest::addColumn<bool>("forSelection");
    QTest::addColumn<bool>("forText");
    QTest::addColumn<bool>("forPaste");
    QTest::addRow("no selection, text, clipboard text") << "abc" << 0 << int(Clip::Text) << false << true << true;
    QTest::addRow("selection, empty clipboard") << "abc" << 2 << int(Clip::Empty) << true << true << false;
    QTest::addRow("empty text") << "" << 0 << int(Clip::Text) << false << false << true;
    QTest::addRow("image but no text on the clipboard") << "abc" << 1 << int(Clip::Image) << true << true << false;
}

void TestEditCommands::menuEnabling()
{
    QFETCH(QString, text);
    QFETCH(int, selLength);
    QFETCH(int, clip);
    QFETCH(bool, forSelection);
    QFETCH(bool, forText);
    QFETCH(bool, forPaste);

    frmMain &w = h->start();
    // The states follow while the menus stay closed (the keys act then), from all on and all off.
    for (bool allOn : {true, false}) {
        text1(w)->setText(allOn ? QStringLiteral("xyz") : QString());
        text1(w)->select(0, allOn ? 3 : 0);
        setClipboard(allOn ? Clip::Text : Clip::Empty);
        text1(w)->setText(text);
        text1(w)->select(0, selLength);
        setClipboard(Clip(clip));

        for (const char *name : {"mnuCopy", "mnuDelete", "mnuCut", "mnuInyou", "mnuIncopy", "mnuChar0", "mnuChar1",
                                 "mnuChar3", "mnuChar4", "mnuChar6", "mnuChar7", "mnuChar9", "mnuSelsave"})
            QVERIFY2(action(w, name)->isEnabled() == forSelection, name);
        QCOMPARE(action(w, "mnuSelectall")->isEnabled(), forText);
        QCOMPARE(action(w, "mnuSearchFind")->isEnabled(), forText);
        QCOMPARE(action(w, "mnuPaste")->isEnabled(), forPaste);
        QCOMPARE(action(w, "mnuInhari")->isEnabled(), forPaste);
        QVERIFY(action(w, "mnuAllcopy")->isEnabled() && action(w, "mnuDate")->isEnabled());
    }
}

void TestEditCommands::rewrites_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<int>("selStartAfter");
    QTest::addColumn<int>("selLengthAfter");
    // The clipboard holds "a\nb\n".
    QTest::addRow("quote whole lines, caret after") << "mnuInyou" << "a\r\nb\r\nc" << 0 << 6 << ">a\r\n>b\r\n>c" << 9 << 0;
    QTest::addRow("quote-paste: clipboard lines are quoted") << "mnuInhari" << "xy" << 1 << 0 << "x>a\r\n>b\r\n>y" << 10 << 0;
    QTest::addRow("full-width across a line break") << "mnuChar0" << "xa\r\nby" << 1 << 4 << "xａ\r\nｂy" << 5 << 0;
    QTest::addRow("half-width grows with a voiced mark") << "mnuChar1" << "xガy" << 1 << 1 << "xｶﾞy" << 3 << 0;
    QTest::addRow("upper case, caret beyond 16 bits") << "mnuChar6" << QString(40000, u'x') + "\r\nabc" << 40002 << 3
                                                      << QString(40000, u'x') + "\r\nABC" << 40005 << 0;
    QTest::addRow("capitalise keeps the range selected") << "mnuChar9" << "say hello world" << 4 << 11 << "say Hello World"
                                                         << 4 << 11;
    QTest::addRow("date stamp at the command's clock") << "mnuDate" << "aXb" << 1 << 1 << "a09:05 2001/01/02b" << 17 << 0;
}

void TestEditCommands::rewrites()
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
    QCOMPARE(w.sheets().strUndo(), text);
    QVERIFY(w.sheets().blnChanged());
    // A rewrite leaves no undo step in the box: Undo is the snapshot's.
    QVERIFY(!text1(w)->document()->isUndoAvailable());
    QVERIFY(action(w, "mnuUndo")->isEnabled());
    action(w, "mnuUndo")->trigger();
    QCOMPARE(text1(w)->Text(), text);
    // The caret stays where it is, as far as the restored text reaches.
    QCOMPARE(text1(w)->SelStart(), qMin(qsizetype(selStartAfter), text.size()));
}

void TestEditCommands::quoteMarkOfTheSettings()
{
    h->preset("q7", "Inyouhu", "| ");
    QVERIFY(TextFile::write(h->sheetPath(1), QStringLiteral("a\r\nb")).ok);
    frmMain &w = h->start();
    const QStringList filesBefore = QDir(h->programDir).entryList(QDir::Files);
    // The copy alone leaves the text, the selection, the snapshot and the flag alone.
    text1(w)->select(0, 4);
    action(w, "mnuIncopy")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("| a\n| b"));
    QCOMPARE(text1(w)->SelLength(), qsizetype(4));
    QVERIFY(w.sheets().strUndo().isEmpty());
    QVERIFY(!w.sheets().blnChanged());
    // The toolbar button quotes as the menu item does, once the timer has enabled it.
    text1(w)->select(3, 1);
    tick(w);
    w.toolbarButton(16)->trigger();
    QCOMPARE(text1(w)->Text(), QStringLiteral("a\r\n| b"));
    QCOMPARE(QDir(h->programDir).entryList(QDir::Files), filesBefore);
}

void TestEditCommands::undoSequences_data()
{
    QTest::addColumn<int>("scenario");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");
    // Every scenario starts on sheet 1 with "one two three", "two" upper-cased.
    QTest::addRow("rewrite then Undo") << 0 << "one two three" << 7;
    QTest::addRow("rewrite, type, tick, Undo") << 1 << "one TWO three" << 7;
    QTest::addRow("rewrite, type, Undo before the tick") << 2 << "one TWO three" << 7;
    QTest::addRow("switch sheets then Undo") << 3 << "sheet 2" << 0;
    QTest::addRow("rewrite then New keeps the snapshot") << 4 << "one two three" << 0;
    QTest::addRow("the caret stays where it is") << 5 << "one two three" << 1;
}

void TestEditCommands::undoSequences()
{
    QFETCH(int, scenario);
    QFETCH(QString, expected);
    QFETCH(int, caret);

    frmMain &w = h->start();
    QAction *undoButton = w.toolbarButton(13);
    text1(w)->setText(QStringLiteral("one two three"));
    text1(w)->select(4, 3);
    action(w, "mnuChar6")->trigger();
    QCOMPARE(text1(w)->Text(), QStringLiteral("one TWO three"));

    if (scenario == 1 || scenario == 2)
        QTest::keyClicks(text1(w), QStringLiteral("X"));
    if (scenario == 1) {
        tick(w); // drops the snapshot: the box can undo the typing
        QVERIFY(w.sheets().strUndo().isEmpty());
        QVERIFY(undoButton->isEnabled());
    } else if (scenario == 3) {
        h->selectTab(2);
        QVERIFY(w.sheets().strUndo().isEmpty());
    } else if (scenario == 4) {
        h->dialogs.answers = {MsgBoxResult::OK};
        action(w, "mnuNew")->trigger();
    } else if (scenario == 5) {
        text1(w)->setSelStart(1);
    }
    action(w, "mnuUndo")->trigger();
    QCOMPARE(text1(w)->Text(), expected);
    QCOMPARE(text1(w)->SelStart(), qsizetype(caret));
    QCOMPARE(text1(w)->SelLength(), qsizetype(0));
    QVERIFY(w.sheets().strUndo().isEmpty());
    // One level only: nothing is left to undo.
    QVERIFY(!undoButton->isEnabled());
}

void TestEditCommands::keysGoThroughMenu_data()
{
    QTest::addColumn<int>("prelude");
    QTest::addColumn<QString>("textBefore");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<QString>("clipboardAfter");
    QTest::addColumn<int>("selLengthAfter");
    // "abc" of "abc def" is selected, the clipboard holds "clip".
    QTest::addRow("Ctrl+X cuts") << int(Nothing) << "abc def" << int(Qt::Key_X) << "mnuCut" << " def" << "abc" << 0;
    QTest::addRow("Ctrl+C copies") << int(Nothing) << "abc def" << int(Qt::Key_C) << "mnuCopy" << "abc def" << "abc" << 3;
    QTest::addRow("Ctrl+V pastes") << int(Nothing) << "abc def" << int(Qt::Key_V) << "mnuPaste" << "clip def" << "clip" << 0;
    QTest::addRow("Ctrl+A selects all") << int(Nothing) << "abc def" << int(Qt::Key_A) << "mnuSelectall" << "abc def"
                                        << "clip" << 7;
    QTest::addRow("Ctrl+Z undoes a conversion") << int(Widen) << "ａｂｃ def" << int(Qt::Key_Z) << "mnuUndo" << "abc def"
                                                << "clip" << 0;
    // No snapshot of an empty text: the box's own step takes the stamp back.
    QTest::addRow("Ctrl+Z undoes F5 on an empty text") << int(StampEmptyText) << "17:45 1998/10/05" << int(Qt::Key_Z)
                                                       << "mnuUndo" << "" << "clip" << 0;
}

void TestEditCommands::keysGoThroughMenu()
{
    QFETCH(int, prelude);
    QFETCH(QString, textBefore);
    QFETCH(int, key);
    QFETCH(QString, actionName);
    QFETCH(QString, textAfter);
    QFETCH(QString, clipboardAfter);
    QFETCH(int, selLengthAfter);

    frmMain &w = h->start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    text1(w)->setFocus();
    const bool empty = prelude == StampEmptyText;
    text1(w)->setText(empty ? QString() : QStringLiteral("abc def"));
    text1(w)->select(0, empty ? 0 : 3);
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    if (prelude == Widen)
        action(w, "mnuChar0")->trigger();
    else if (empty)
        QTest::keyClick(text1(w), Qt::Key_F5);
    QCOMPARE(text1(w)->Text(), textBefore);

    QSignalSpy spy(action(w, actionName), &QAction::triggered);
    QTest::keyClick(text1(w), Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(text1(w)->Text(), textAfter);
    QCOMPARE(QApplication::clipboard()->text(), clipboardAfter);
    QCOMPARE(text1(w)->SelLength(), qsizetype(selLengthAfter));
    QVERIFY(w.sheets().strUndo().isEmpty());
}

void TestEditCommands::copyAll()
{
    frmMain &w = h->start();
    text1(w)->setText(QStringLiteral("a\r\nb c"));
    text1(w)->select(3, 1);
    action(w, "mnuAllcopy")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("a\nb c"));
    QCOMPARE(text1(w)->SelStart(), qsizetype(3));
    QCOMPARE(text1(w)->SelLength(), qsizetype(1));
    QCOMPARE(h->dialogs.calls.size(), 1);
    QCOMPARE(h->dialogs.calls[0].prompt, QStringLiteral("すべての範囲をコピーしました。"));
    QCOMPARE(h->dialogs.calls[0].title, QStringLiteral("q7 Zibo"));
    QCOMPARE(h->dialogs.calls[0].style, MsgBoxStyle::OKOnly | MsgBoxStyle::Information);
}

void TestEditCommands::timerTick_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("expected");
    QTest::addRow("after the third character of line 2") << "ab\r\ncdef" << 7 << 0 << "   2 :    4";
    QTest::addRow("selection: start line, end column") << "ab\r\ncdef" << 1 << 6 << "   1 :    4";
    QTest::addRow("lone LF is one character of the line") << "a\nbc" << 3 << 0 << "   1 :    4";
}

void TestEditCommands::timerTick()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, expected);
    clock = QDateTime(QDate(1998, 10, 5), QTime(23, 59, 59, 950));
    frmMain &w = h->start();
    text1(w)->setText(text);
    text1(w)->selectAll();
    tick(w);
    text1(w)->select(selStart, selLength);
    tick(w);
    QCOMPARE(statusPanel(w, 2)->text(), expected);
    // The quote button follows the selection at the tick.
    QCOMPARE(w.toolbarButton(16)->isEnabled(), selLength > 0);
    // Panel 3's date turns over at midnight.
    QCOMPARE(statusPanel(w, 3)->text(), QStringLiteral("1998/10/05"));
    clock = clock.addMSecs(100);
    tick(w);
    QCOMPARE(statusPanel(w, 3)->text(), QStringLiteral("1998/10/06"));
}

QTEST_MAIN(TestEditCommands)
#include "tst_editcommands.moc"
