// The Edit, conversion and Insert commands on a real main window: enabling, the rewrites and
// their two-level undo, the 100 ms tick and the Edit menu's keys.
#include "harness.h"

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

QAction *action(frmMain &w, const QString &name)
{
    QAction *a = w.findChild<QAction *>(name);
    if (!a)
        qFatal("no action %s", qPrintable(name));
    return a;
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
    void quoteMarkReadForEveryCommand();
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
        w.Text1->setText(allOn ? QStringLiteral("xyz") : QString());
        w.Text1->select(0, allOn ? 3 : 0);
        setClipboard(allOn ? Clip::Text : Clip::Empty);
        w.Text1->setText(text);
        w.Text1->select(0, selLength);
        setClipboard(Clip(clip));

        for (QAction *a : {w.mnuCopy, w.mnuDelete, w.mnuCut, w.mnuInyou, w.mnuIncopy, w.mnuChar[0], w.mnuChar[1],
                           w.mnuChar[3], w.mnuChar[4], w.mnuChar[6], w.mnuChar[7], w.mnuChar[9]})
            QVERIFY2(a->isEnabled() == forSelection, qPrintable(a->objectName()));
        QCOMPARE(w.mnuSelectall->isEnabled(), forText);
        QCOMPARE(w.mnuSearchFind->isEnabled(), forText);
        QCOMPARE(w.mnuPaste->isEnabled(), forPaste);
        QCOMPARE(w.mnuInhari->isEnabled(), forPaste);
        QVERIFY(w.mnuAllcopy->isEnabled() && w.mnuDate->isEnabled());
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

    frmMain &w = h->start();
    const QStringList filesBefore = QDir(h->programDir).entryList(QDir::Files);
    w.Text1->setText(text);
    w.Text1->select(selStart, selLength);
    QApplication::clipboard()->setText(QStringLiteral("a\nb\n"));
    w.blnChanged = false;
    clock = QDateTime(QDate(2001, 1, 2), QTime(9, 5, 59));

    action(w, command)->trigger();
    QCOMPARE(w.Text1->Text(), textAfter);
    QCOMPARE(w.Text1->SelStart(), qsizetype(selStartAfter));
    QCOMPARE(w.Text1->SelLength(), qsizetype(selLengthAfter));
    // Built in memory: no temporary file, nothing else left in the program directory.
    QCOMPARE(QDir(h->programDir).entryList(QDir::Files), filesBefore);
    QCOMPARE(w.strUndo, text);
    QVERIFY(w.blnChanged);
    // A rewrite leaves no undo step in the box: Undo is the snapshot's.
    QVERIFY(!w.Text1->document()->isUndoAvailable());
    QVERIFY(w.mnuUndo->isEnabled());
    w.mnuUndo_Click();
    QCOMPARE(w.Text1->Text(), text);
    // The caret stays where it is, as far as the restored text reaches.
    QCOMPARE(w.Text1->SelStart(), qMin(qsizetype(selStartAfter), text.size()));
}

void TestEditCommands::quoteMarkReadForEveryCommand()
{
    frmMain &w = h->start();
    const QStringList filesBefore = QDir(h->programDir).entryList(QDir::Files);
    w.Text1->setText(QStringLiteral("a\r\nb"));
    w.Label1[3] = QStringLiteral("> ");
    w.Text1->select(0, 1);
    w.mnuInyou->trigger();
    w.Label1[3] = QStringLiteral("|");
    w.Text1->select(5, 1);
    w.Timer1_Timer();
    w.toolbarButton(16)->trigger();
    QCOMPARE(w.Text1->Text(), QStringLiteral("> a\r\n|b"));
    // The copy alone leaves the text, the selection and the undo snapshot alone.
    w.Label1[3].clear();
    w.Text1->select(0, 7);
    w.blnChanged = false;
    w.mnuIncopy->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("> a\n|b"));
    QCOMPARE(w.Text1->SelLength(), qsizetype(7));
    QCOMPARE(w.strUndo, QStringLiteral("> a\r\nb"));
    QVERIFY(!w.blnChanged);
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
    w.Text1->setText(QStringLiteral("one two three"));
    w.Text1->select(4, 3);
    w.mnuChar[6]->trigger();
    QCOMPARE(w.Text1->Text(), QStringLiteral("one TWO three"));

    if (scenario == 1 || scenario == 2)
        QTest::keyClicks(w.Text1, QStringLiteral("X"));
    if (scenario == 1) {
        w.Timer1_Timer(); // drops the snapshot: the box can undo the typing
        QVERIFY(w.strUndo.isEmpty());
        QVERIFY(undoButton->isEnabled());
    } else if (scenario == 3) {
        h->selectTab(2);
        QVERIFY(w.strUndo.isEmpty());
    } else if (scenario == 4) {
        w.Text1->setText(QString()); // what New does to the box
    } else if (scenario == 5) {
        w.Text1->setSelStart(1);
    }
    w.mnuUndo_Click();
    QCOMPARE(w.Text1->Text(), expected);
    QCOMPARE(w.Text1->SelStart(), qsizetype(caret));
    QCOMPARE(w.Text1->SelLength(), qsizetype(0));
    QVERIFY(w.strUndo.isEmpty());
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
    w.Text1->setFocus();
    const bool empty = prelude == StampEmptyText;
    w.Text1->setText(empty ? QString() : QStringLiteral("abc def"));
    w.Text1->select(0, empty ? 0 : 3);
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    if (prelude == Widen)
        w.mnuChar[0]->trigger();
    else if (empty)
        QTest::keyClick(w.Text1, Qt::Key_F5);
    QCOMPARE(w.Text1->Text(), textBefore);

    QSignalSpy spy(action(w, actionName), &QAction::triggered);
    QTest::keyClick(w.Text1, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(w.Text1->Text(), textAfter);
    QCOMPARE(QApplication::clipboard()->text(), clipboardAfter);
    QCOMPARE(w.Text1->SelLength(), qsizetype(selLengthAfter));
    QVERIFY(w.strUndo.isEmpty());
}

void TestEditCommands::copyAll()
{
    frmMain &w = h->start();
    w.Text1->setText(QStringLiteral("a\r\nb c"));
    w.Text1->select(3, 1);
    w.mnuAllcopy->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("a\nb c"));
    QCOMPARE(w.Text1->SelStart(), qsizetype(3));
    QCOMPARE(w.Text1->SelLength(), qsizetype(1));
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
    w.Text1->setText(text);
    w.Text1->selectAll();
    w.Timer1_Timer();
    w.Text1->select(selStart, selLength);
    w.Timer1_Timer();
    QCOMPARE(w.StatusPanel[1]->text(), expected);
    // The quote button follows the selection at the tick.
    QCOMPARE(w.toolbarButton(16)->isEnabled(), selLength > 0);
    // Panel 3's date turns over at midnight.
    QCOMPARE(w.StatusPanel[2]->text(), QStringLiteral("1998/10/05"));
    clock = clock.addMSecs(100);
    w.Timer1_Timer();
    QCOMPARE(w.StatusPanel[2]->text(), QStringLiteral("1998/10/06"));
}

QTEST_MAIN(TestEditCommands)
#include "tst_editcommands.moc"
