// The Edit, conversion and Insert commands on a real main window: enabling, the two-level undo,
// quotation, conversion, the date-time stamp, the timer and the Edit menu's keys.
#include "harness.h"

#include "commands/clsText1.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMenu>
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

QAction *action(frmMain &w, const char *name)
{
    QAction *a = w.findChild<QAction *>(QLatin1String(name));
    if (!a)
        qFatal("no action %s", name);
    return a;
}

} // namespace

class TestEditCommands : public QObject {
    Q_OBJECT
private slots:
    void init();

    void menuEnabling_data();
    void menuEnabling();
    void statesFollowWhileMenusAreClosed();

    void quotationCommands_data();
    void quotationCommands();
    void quoteMarkReadForEveryCommand();

    void conversions_data();
    void conversions();

    void undoSequences_data();
    void undoSequences();
    void undoCaretBeyondSixteenBits();
    void undoAfterConversionByKey();
    void editKeysGoThroughMenu_data();
    void editKeysGoThroughMenu();

    void copyAll();
    void dateStampAtFixedClock();

    void timerCaretText_data();
    void timerCaretText();
    void timerButtonsFollowState();
    void datePanelTurnsOverAtMidnight();

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
    w.Text1->setText(text);
    w.Text1->select(0, selLength);
    setClipboard(Clip(clip));
    emit w.mnuEdit->aboutToShow();
    emit w.mnuChara->aboutToShow();

    for (const char *name : {"mnuCopy", "mnuDelete", "mnuCut", "mnuInyou", "mnuIncopy"})
        QVERIFY2(action(w, name)->isEnabled() == forSelection, name);
    for (int i : {0, 1, 3, 4, 6, 7, 9})
        QCOMPARE(w.mnuChar[i]->isEnabled(), forSelection);
    QCOMPARE(w.mnuSelectall->isEnabled(), forText);
    QCOMPARE(w.mnuSearchFind->isEnabled(), forText);
    QCOMPARE(w.mnuPaste->isEnabled(), forPaste);
    QCOMPARE(w.mnuInhari->isEnabled(), forPaste);
    // Always available.
    QVERIFY(w.mnuAllcopy->isEnabled());
    QVERIFY(w.mnuDate->isEnabled());
}

void TestEditCommands::statesFollowWhileMenusAreClosed()
{
    frmMain &w = h->start();
    w.Text1->setText(QStringLiteral("abc"));
    emit w.mnuEdit->aboutToShow();
    QVERIFY(!w.mnuCopy->isEnabled());
    QVERIFY(!w.mnuPaste->isEnabled());

    w.Text1->select(0, 1);
    QVERIFY(w.mnuCopy->isEnabled());
    QVERIFY(w.mnuChar[9]->isEnabled());
    setClipboard(Clip::Text);
    QVERIFY(w.mnuPaste->isEnabled());
    w.Text1->setText(QString());
    QVERIFY(!w.mnuSelectall->isEnabled());
    QVERIFY(!w.mnuCopy->isEnabled());
    setClipboard(Clip::Image);
    QVERIFY(!w.mnuInhari->isEnabled());
}

void TestEditCommands::quotationCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("clipboardIn");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<QString>("clipboardAfter");
    QTest::addRow("add: whole lines, the next line reads as quoted")
        << "mnuInyou" << "a\r\nb\r\nc" << 0 << 6 << "keep" << ">a\r\n>b\r\n>c" << "keep";
    QTest::addRow("add: lone LF stays inside the line")
        << "mnuInyou" << "x a\nb" << 2 << 3 << "keep" << "x >a\nb" << "keep";
    QTest::addRow("copy: text unchanged, quoted on the clipboard")
        << "mnuIncopy" << "a\r\n\r\nb" << 0 << 6 << "keep" << "a\r\n\r\nb" << ">a\n>\n>b";
    QTest::addRow("paste: clipboard lines are quoted")
        << "mnuInhari" << "xy" << 1 << 0 << "a\nb\n" << "x>a\r\n>b\r\n>y" << "a\nb\n";
    QTest::addRow("paste: replaces the selection")
        << "mnuInhari" << "xAy" << 1 << 1 << "q" << "x>qy" << "q";
}

void TestEditCommands::quotationCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, clipboardIn);
    QFETCH(QString, textAfter);
    QFETCH(QString, clipboardAfter);

    frmMain &w = h->start();
    const QStringList filesBefore = QDir(h->programDir).entryList(QDir::Files);
    w.Text1->setText(text);
    w.Text1->select(selStart, selLength);
    if (clipboardIn.isEmpty())
        setClipboard(Clip::Empty);
    else
        QApplication::clipboard()->setText(clipboardIn);
    w.strUndo = QStringLiteral("earlier snapshot");
    w.blnChanged = false;

    action(w, command.toLatin1().constData())->trigger();

    QCOMPARE(w.Text1->Text(), textAfter);
    QCOMPARE(QApplication::clipboard()->text(), clipboardAfter);
    if (command == QLatin1String("mnuIncopy")) {
        QCOMPARE(w.strUndo, QStringLiteral("earlier snapshot"));
        QCOMPARE(w.Text1->SelStart(), qsizetype(selStart));
        QCOMPARE(w.Text1->SelLength(), qsizetype(selLength));
        QVERIFY(!w.blnChanged);
    } else {
        QCOMPARE(w.strUndo, text);
        // The caret stands after the inserted text.
        QCOMPARE(w.Text1->SelStart(), textAfter.size() - (text.size() - selStart - selLength));
        QCOMPARE(w.Text1->SelLength(), qsizetype(0));
        QVERIFY(w.blnChanged);
        w.mnuUndo_Click();
        QCOMPARE(w.Text1->Text(), text);
    }
    // Built in memory: no temporary file, nothing else left in the program directory.
    QCOMPARE(QDir(h->programDir).entryList(QDir::Files), filesBefore);
}

void TestEditCommands::quoteMarkReadForEveryCommand()
{
    frmMain &w = h->start();
    w.Text1->setText(QStringLiteral("a\r\nb"));
    w.Label1[3] = QStringLiteral("> ");
    w.Text1->select(0, 1);
    w.mnuInyou->trigger();
    w.Label1[3] = QStringLiteral("|");
    w.Text1->select(5, 1);
    w.Timer1_Timer();
    w.toolbarButton(16)->trigger();
    QCOMPARE(w.Text1->Text(), QStringLiteral("> a\r\n|b"));
    w.Label1[3].clear();
    w.Text1->select(0, 8);
    w.mnuIncopy->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("> a\n|b"));
}

void TestEditCommands::conversions_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<int>("selStartAfter");
    QTest::addColumn<int>("selLengthAfter");
    QTest::addRow("full-width, caret after") << 0 << "abc" << 0 << 3 << "ａｂｃ" << 3 << 0;
    QTest::addRow("full-width across a line break") << 0 << "xa\r\nby" << 1 << 4 << "xａ\r\nｂy" << 5 << 0;
    QTest::addRow("half-width grows with a voiced mark") << 1 << "xガy" << 1 << 1 << "xｶﾞy" << 3 << 0;
    QTest::addRow("katakana") << 3 << "ひらがな" << 0 << 4 << "ヒラガナ" << 4 << 0;
    QTest::addRow("hiragana") << 4 << "ヒラガナ" << 0 << 4 << "ひらがな" << 4 << 0;
    QTest::addRow("upper") << 6 << "abc def" << 4 << 3 << "abc DEF" << 7 << 0;
    QTest::addRow("lower") << 7 << "ABC" << 0 << 2 << "abC" << 2 << 0;
    QTest::addRow("capitalise keeps the range selected")
        << 9 << "say hello world" << 4 << 11 << "say Hello World" << 4 << 11;
    QTest::addRow("capitalise over CR LF") << 9 << "HELLO\r\nWORLD" << 0 << 12 << "Hello\r\nWorld" << 0 << 12;
}

void TestEditCommands::conversions()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, textAfter);
    QFETCH(int, selStartAfter);
    QFETCH(int, selLengthAfter);

    frmMain &w = h->start();
    w.Text1->setText(text);
    w.Text1->select(selStart, selLength);
    w.mnuChar[index]->trigger();
    QCOMPARE(w.Text1->Text(), textAfter);
    QCOMPARE(w.Text1->SelStart(), qsizetype(selStartAfter));
    QCOMPARE(w.Text1->SelLength(), qsizetype(selLengthAfter));
    QCOMPARE(w.strUndo, text);
    QVERIFY(w.blnChanged);
    // A rewrite leaves no undo step in the box: Undo is the snapshot's.
    QVERIFY(!w.Text1->document()->isUndoAvailable());
    QVERIFY(w.mnuUndo->isEnabled());
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
    QTest::addRow("only the last rewrite is undone") << 5 << "one TWO three" << 13;
    QTest::addRow("the caret goes back where it was") << 6 << "one two three" << 1;
}

void TestEditCommands::undoSequences()
{
    QFETCH(int, scenario);
    QFETCH(QString, expected);
    QFETCH(int, caret);

    frmMain &w = h->start();
    w.Text1->setText(QStringLiteral("one two three"));
    w.Text1->select(4, 3);
    w.mnuChar[6]->trigger();
    QCOMPARE(w.Text1->Text(), QStringLiteral("one TWO three"));

    switch (scenario) {
    case 1:
        QTest::keyClicks(w.Text1, QStringLiteral("X"));
        w.Timer1_Timer();
        QVERIFY(w.strUndo.isEmpty());
        QVERIFY(w.mnuUndo->isEnabled());
        break;
    case 2:
        QTest::keyClicks(w.Text1, QStringLiteral("X"));
        break;
    case 3:
        h->selectTab(2);
        QVERIFY(w.strUndo.isEmpty());
        break;
    case 4:
        w.Text1->setText(QString()); // what New does to the box
        break;
    case 5:
        w.Text1->select(8, 5);
        w.mnuChar[6]->trigger();
        break;
    case 6:
        w.Text1->setSelStart(1);
        break;
    default:
        break;
    }
    w.mnuUndo_Click();
    QCOMPARE(w.Text1->Text(), expected);
    QCOMPARE(w.Text1->SelStart(), qsizetype(caret));
    QCOMPARE(w.Text1->SelLength(), qsizetype(0));
    QVERIFY(w.strUndo.isEmpty());
}

void TestEditCommands::undoCaretBeyondSixteenBits()
{
    frmMain &w = h->start();
    const QString text = QString(40000, u'x') + QStringLiteral("\r\nabc");
    w.Text1->setText(text);
    w.Text1->select(40002, 3);
    w.mnuChar[6]->trigger();
    QCOMPARE(w.Text1->SelStart(), qsizetype(40005));
    w.mnuUndo_Click();
    QCOMPARE(w.Text1->Text(), text);
    QCOMPARE(w.Text1->SelStart(), qsizetype(40005));
}

void TestEditCommands::undoAfterConversionByKey()
{
    frmMain &w = h->start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.Text1->setFocus();
    w.Text1->setText(QStringLiteral("abc"));
    w.Text1->select(0, 3);
    w.mnuChar[0]->trigger();
    QCOMPARE(w.Text1->Text(), QStringLiteral("ａｂｃ"));

    QSignalSpy undo(w.mnuUndo, &QAction::triggered);
    QTest::keyClick(w.Text1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(undo.count(), 1);
    QCOMPARE(w.Text1->Text(), QStringLiteral("abc"));
    QVERIFY(w.strUndo.isEmpty());

    // A rewrite of an empty box leaves no snapshot; the box's own undo takes it back.
    w.Text1->setText(QString());
    QTest::keyClick(w.Text1, Qt::Key_F5);
    QCOMPARE(w.Text1->Text(), QStringLiteral("17:45 1998/10/05"));
    QVERIFY(w.strUndo.isEmpty());
    QTest::keyClick(w.Text1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(undo.count(), 2);
    QCOMPARE(w.Text1->Text(), QString());
}

void TestEditCommands::editKeysGoThroughMenu_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<QString>("clipboardAfter");
    QTest::addColumn<int>("selLengthAfter");
    QTest::addRow("Ctrl+X cuts") << int(Qt::Key_X) << "mnuCut" << " def" << "abc" << 0;
    QTest::addRow("Ctrl+C copies") << int(Qt::Key_C) << "mnuCopy" << "abc def" << "abc" << 3;
    QTest::addRow("Ctrl+V pastes") << int(Qt::Key_V) << "mnuPaste" << "clip def" << "clip" << 0;
    QTest::addRow("Ctrl+A selects all") << int(Qt::Key_A) << "mnuSelectall" << "abc def" << "clip" << 7;
}

void TestEditCommands::editKeysGoThroughMenu()
{
    QFETCH(int, key);
    QFETCH(QString, actionName);
    QFETCH(QString, textAfter);
    QFETCH(QString, clipboardAfter);
    QFETCH(int, selLengthAfter);

    frmMain &w = h->start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.Text1->setFocus();
    w.Text1->setText(QStringLiteral("abc def"));
    w.Text1->select(0, 3);
    QApplication::clipboard()->setText(QStringLiteral("clip"));

    QSignalSpy spy(action(w, actionName.toLatin1().constData()), &QAction::triggered);
    QTest::keyClick(w.Text1, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(w.Text1->Text(), textAfter);
    QCOMPARE(QApplication::clipboard()->text(), clipboardAfter);
    QCOMPARE(w.Text1->SelLength(), qsizetype(selLengthAfter));
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

    // An empty text is copied too, with the same message.
    w.Text1->setText(QString());
    w.toolbarButton(8)->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QString());
    QCOMPARE(h->dialogs.calls.size(), 2);
}

void TestEditCommands::dateStampAtFixedClock()
{
    frmMain &w = h->start();
    w.Text1->setText(QStringLiteral("aXb"));
    w.Text1->select(1, 1);
    w.toolbarButton(15)->trigger();
    QCOMPARE(w.Text1->Text(), QStringLiteral("a17:45 1998/10/05b"));
    QCOMPARE(w.Text1->SelStart(), qsizetype(17));
    QCOMPARE(w.strUndo, QStringLiteral("aXb"));

    clock = QDateTime(QDate(2001, 1, 2), QTime(9, 5, 59));
    w.mnuDate->trigger();
    QCOMPARE(w.Text1->Text(), QStringLiteral("a17:45 1998/10/0509:05 2001/01/02b"));
    w.mnuUndo_Click();
    QCOMPARE(w.Text1->Text(), QStringLiteral("a17:45 1998/10/05b"));
}

void TestEditCommands::timerCaretText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("expected");
    QTest::addRow("start of the text") << "abc" << 0 << 0 << "   1 :    1";
    QTest::addRow("after the third character of line 2") << "ab\r\ncdef" << 7 << 0 << "   2 :    4";
    QTest::addRow("selection: start line, end column") << "ab\r\ncdef" << 1 << 6 << "   1 :    4";
    QTest::addRow("lone LF is one character of the line") << "a\nbc" << 3 << 0 << "   1 :    4";
    QTest::addRow("full-width characters count one each") << "あいう" << 3 << 0 << "   1 :    4";
    QTest::addRow("line 1234") << QString(QStringLiteral("\r\n").repeated(1233) + QStringLiteral("abcd"))
                               << 2466 + 4 << 0 << " 1234 :    5";
}

void TestEditCommands::timerCaretText()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, expected);
    frmMain &w = h->start();
    w.Text1->setText(text);
    w.Text1->select(selStart, selLength);
    w.Timer1_Timer();
    QCOMPARE(w.StatusPanel[1]->text(), expected);
}

void TestEditCommands::timerButtonsFollowState()
{
    frmMain &w = h->start();
    QAction *quote = w.toolbarButton(16);
    QAction *undo = w.toolbarButton(13);
    QVERIFY(!quote->isEnabled());
    QVERIFY(!undo->isEnabled());
    QCOMPARE(undo, w.mnuUndo);

    w.Text1->setText(QStringLiteral("abc"));
    w.Timer1_Timer();
    QVERIFY(!quote->isEnabled());
    QVERIFY(!undo->isEnabled());
    w.Text1->select(1, 1);
    w.Timer1_Timer();
    QVERIFY(quote->isEnabled());

    // Conversion: the snapshot alone makes Undo available.
    w.mnuChar[6]->trigger();
    w.Timer1_Timer();
    QVERIFY(!quote->isEnabled());
    QVERIFY(undo->isEnabled());
    QCOMPARE(w.strUndo, QStringLiteral("abc"));
    // Typing: the next tick drops the snapshot, Undo stays for the typed character.
    QTest::keyClicks(w.Text1, QStringLiteral("z"));
    w.Timer1_Timer();
    QVERIFY(w.strUndo.isEmpty());
    QVERIFY(undo->isEnabled());
    w.mnuUndo_Click();
    QCOMPARE(w.Text1->Text(), QStringLiteral("aBc"));
    w.Timer1_Timer();
    QVERIFY(!undo->isEnabled());

    // Undo of a snapshot leaves nothing to undo.
    w.Text1->select(0, 3);
    w.mnuChar[7]->trigger();
    w.mnuUndo_Click();
    w.Timer1_Timer();
    QVERIFY(!undo->isEnabled());
}

void TestEditCommands::datePanelTurnsOverAtMidnight()
{
    clock = QDateTime(QDate(1998, 10, 5), QTime(23, 59, 59, 950));
    frmMain &w = h->start();
    w.Timer1_Timer();
    QCOMPARE(w.StatusPanel[2]->text(), QStringLiteral("1998/10/05"));
    clock = clock.addMSecs(100);
    w.Timer1_Timer();
    QCOMPARE(w.StatusPanel[2]->text(), QStringLiteral("1998/10/06"));
}

QTEST_MAIN(TestEditCommands)
#include "tst_editcommands.moc"
