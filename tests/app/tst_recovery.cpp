// The main window's recovery copies, and what the status bar says of the encoding a sheet gets.
#include "harness.h"
#include "sheets/recoverycopies.h"

#include <QComboBox>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace {

struct Recovery : Harness {
    Recovery()
    {
        writeSheets();
        configure = [this](FrmMainEnv &env) {
            env.stateDir = tmp.filePath(u"state"_s);
            env.idleDelayMs = 20;
        };
    }
    RecoveryCopies copies() const { return RecoveryCopies(programDir, tmp.filePath(u"state"_s)); }
    QString copyPath(int n) const { return QDir(programDir).filePath(u"q%1.txt.recovery"_s.arg(n)); }
    // Types at the caret; what a test keyboard cannot type comes as from an input method.
    void type(const QString &text)
    {
        if (text.toLatin1() == text.toUtf8())
            QTest::keyClicks(text1(*window), text);
        else
            text1(*window)->insertPlainText(text);
    }
    // Waits until the idle check has written the current sheet's copy.
    bool copied(int n, const QByteArray &bytes)
    {
        return QTest::qWaitFor([&] { return Harness::bytes(copyPath(n)) == bytes; }, 5000);
    }
    void block(int n) { QVERIFY(QFile::remove(sheetPath(n)) && QDir().mkdir(sheetPath(n))); }
    QStatusBar *bar() const { return window->findChild<QStatusBar *>(u"StatusBar1"_s); }
    // A note comes once: more typing brings it not back.
    void saysNothingMore()
    {
        bar()->clearMessage();
        type(u"x"_s);
        QTest::qWait(200);
        QCOMPARE(bar()->currentMessage(), QString());
    }
};

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    // A pause in typing writes the copy; the sheet's file waits for its save point, which
    // removes the copy. An unwritable sheet keeps it where the user stays on it and at a
    // session end (typed before the idle delay: the end writes it); giving up keeps none.
    void savePoints_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QByteArray>("sheet1"); // the file afterwards; null: unwritable
        QTest::addColumn<bool>("kept");
        QTest::addRow("leaving the sheet") << "tab" << "typed sheet 1\r\n"_ba << false;
        QTest::addRow("exit without saving drops both") << "exitWithoutSavingAction" << "sheet 1\r\n"_ba << false;
        QTest::addRow("unwritable: leaving the sheet is refused") << "tab" << QByteArray() << true;
        QTest::addRow("unwritable: the session ends") << "session" << QByteArray() << true;
        QTest::addRow("unwritable: closing, answered Yes") << "close" << QByteArray() << false;
    }
    void savePoints()
    {
        QFETCH(QString, how);
        QFETCH(QByteArray, sheet1);
        QFETCH(bool, kept);
        const bool blocked = sheet1.isNull();
        Recovery h;
        frmMain &w = h.start();
        if (blocked)
            h.block(1);
        h.type(u"typed "_s);
        if (!blocked) {
            QVERIFY(h.copied(1, "typed sheet 1\r\n"));
            QCOMPARE(Harness::bytes(h.sheetPath(1)), "sheet 1\r\n"_ba);
        }
        if (how == "tab")
            h.selectTab(2);
        else if (how == "close")
            h.closeWindow();
        else if (how == "session")
            w.endSession();
        else
            action(w, u"exitWithoutSavingAction"_s)->trigger();
        if (!blocked)
            QCOMPARE(Harness::bytes(h.sheetPath(1)), sheet1);
        if (kept)
            QVERIFY(h.copied(1, "typed sheet 1\r\n"));
        QTest::qWait(100);
        QCOMPARE(h.copies().sheets(), kept ? QList<int>{1} : QList<int>{});
    }

    // One start-up question names every sheet with a copy; Yes writes each to its file; both remove them.
    void startUpQuestion_data()
    {
        QTest::addColumn<QList<int>>("sheets");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("names");
        QTest::addRow("Yes") << QList<int>{1, 3} << int(MsgBoxResult::Yes) << u"シート 1, シート 3"_s;
        QTest::addRow("No") << QList<int>{3, 7} << int(MsgBoxResult::No) << u"シート 3, シート 7"_s;
    }
    void startUpQuestion()
    {
        QFETCH(QList<int>, sheets);
        QFETCH(int, answer);
        QFETCH(QString, names);
        Recovery h;
        const QByteArray secondCode = " \x87\x9a"; // ∵ in its NEC code, which the file keeps
        for (int n : sheets)
            h.writeFile(h.copyPath(n), "recovered " + QByteArray::number(n) + secondCode + "\r\n");
        h.dialogs.answers = {answer};
        frmMain &w = h.start();
        QCOMPARE(h.dialogs.calls.size(), 1);
        QCOMPARE(h.dialogs.calls[0].prompt, u"前回終了時に保存されていない内容があります（%1）。復元しますか？"_s.arg(names));
        QCOMPARE(h.dialogs.calls[0].style, MsgBoxStyle::YesNo | MsgBoxStyle::Question);
        const bool yes = answer == MsgBoxResult::Yes;
        for (int n = 1; n <= 7; ++n) {
            const bool back = yes && sheets.contains(n);
            const QByteArray sheetText = (back ? "recovered " : "sheet ") + QByteArray::number(n) + (back ? secondCode : "");
            QCOMPARE(Harness::bytes(h.sheetPath(n)), sheetText + "\r\n");
        }
        QCOMPARE(text1(w)->Text(), yes && sheets.contains(1) ? u"recovered 1 ∵"_s : u"sheet 1"_s);
        QVERIFY(!w.sheets().changed());
        QVERIFY(h.copies().sheets().isEmpty());
    }

    // A copy that cannot reach its file stays for the next start; a session that ends while
    // the question is open has answered nothing.
    void copiesThatStay()
    {
        for (const bool blocked : {true, false}) {
            Recovery h;
            h.writeFile(h.copyPath(2), "recovered\r\n");
            if (blocked)
                h.block(2);
            else
                h.dialogs.whileAsking = [&h] { h.window->endSession(); };
            h.start();
            QCOMPARE(h.dialogs.calls.size(), blocked ? 2 : 1);
            QCOMPARE(h.copies().sheets(), QList<int>{2});
        }
    }

    // Where no place takes the copy, typing goes on; the status bar, not a box, says so once.
    void copyNowhere()
    {
        Recovery h;
        frmMain &w = h.start();
        QVERIFY(QDir().mkdir(h.copyPath(1)) && QDir().mkpath(h.copies().fallbackPath(1)));
        h.type(u"b"_s);
        QTRY_VERIFY(h.bar()->currentMessage().startsWith(u"シート 1 の復元用コピーを書き込めません。"_s));
        h.saysNothingMore();
        QVERIFY(h.dialogs.calls.isEmpty());
        QCOMPARE(text1(w)->Text(), u"bxsheet 1"_s);
    }

    // Panel 3's tip names the encodings of the sheet and its opened file; beyond Shift_JIS is told
    // once. Another sheet, loaded and so not edited, gets its own tip at once and no copy.
    void encodingShown_data()
    {
        QTest::addColumn<QByteArray>("sheet1");
        QTest::addColumn<QString>("opened");  // the opened file's bytes, as Latin-1; empty: none
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<bool>("told");
        const QString cp932 = u"保存時の文字コード: Shift_JIS (CP932)"_s;
        QTest::addRow("a character beyond Shift_JIS")
            << "sheet 1\r\n"_ba << QString() << u"☃"_s << u"保存時の文字コード: UTF-8 (BOM 付き)"_s << true;
        QTest::addRow("a UTF-16 sheet file keeps its encoding")
            << "\xff\xfex\x00"_ba << QString() << u"☃"_s << u"保存時の文字コード: UTF-16 LE (BOM 付き)"_s << false;
        QTest::addRow("an opened UTF-8 file") << "sheet 1\r\n"_ba << u"\xc3\xa9\n"_s << u"a"_s
                                              << cp932 + u"\n開いたファイル: UTF-8 (BOM なし)"_s << false;
        QTest::addRow("an opened Shift_JIS file gives way to UTF-8 too")
            << "sheet 1\r\n"_ba << u"\x82\xa0\r\n"_s << u"☃"_s
            << u"保存時の文字コード: UTF-8 (BOM 付き)\n開いたファイル: UTF-8 (BOM 付き)"_s << true;
    }
    void encodingShown()
    {
        QFETCH(QByteArray, sheet1);
        QFETCH(QString, opened);
        QFETCH(QString, typed);
        QFETCH(QString, tip);
        QFETCH(bool, told);
        Recovery h;
        h.writeFile(h.sheetPath(1), sheet1);
        if (!opened.isEmpty()) {
            const QString path = h.tmp.filePath(u"opened.txt"_s);
            h.writeFile(path, opened.toLatin1());
            h.preset(u"Open"_s, u"File0"_s, path);
        }
        frmMain &w = h.start();
        h.type(typed);
        QTRY_COMPARE(statusPanel(w, 3)->toolTip(), tip);
        const QString note = u"シート 1 には Shift_JIS で表せない文字があります。UTF-8 で保存します。"_s;
        QCOMPARE(h.bar()->currentMessage(), told ? note : QString());
        h.saysNothingMore();
        h.selectTab(3);
        QVERIFY(!statusPanel(w, 3)->toolTip().contains(u"UTF-"_s));
        QTRY_COMPARE(statusPanel(w, 3)->toolTip(), u"保存時の文字コード: Shift_JIS (CP932)"_s);
        QVERIFY(h.copies().sheets().isEmpty());
    }

    // A message would hide the launcher box under the user's typing: the note waits.
    void noteWaitsWhileTheLauncherHasFocus()
    {
        Recovery h;
        frmMain &w = h.start();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto *combo = w.findChild<QComboBox *>(u"launcherBox"_s);
        h.type(u"☃"_s);
        combo->setFocus();
        QTRY_VERIFY(statusPanel(w, 3)->toolTip().contains(u"UTF-8"_s));
        QTest::qWait(100);
        QCOMPARE(h.bar()->currentMessage(), QString());
        QVERIFY(combo->isVisible() && combo->hasFocus());
        text1(w)->setFocus();
        h.type(u"a"_s);
        QTRY_VERIFY(h.bar()->currentMessage().contains(u"Shift_JIS"_s));
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
