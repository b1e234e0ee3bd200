// The recovery copies in the whole window, which starts with a copy of sheet 1 to restore:
// typing, leaving the sheet, the exits and the session end reach the controller; panel 3 takes
// the encoding tip, and a note waits while the launcher box has the focus.
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
        writeFile(copyPath(), "recovered\r\n");
        configure = [this](MainWindowEnv &env) {
            env.stateDir = tmp.filePath(u"state"_s);
            env.idleDelayMs = 20;
        };
    }
    QString copyPath() const { return RecoveryCopies(programDir, tmp.filePath(u"state"_s)).primaryPath(1); }
};

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    // The restored copy is what the sheet shows; typing writes a new one at a pause. Leaving the
    // sheet and the exits remove it, but an unwritable sheet keeps it where the user stays on it
    // and at a session end (typed before the pause: the end writes it).
    void savePoints_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("kept");
        QTest::addRow("leaving the sheet") << "tab" << true << false;
        QTest::addRow("exit without saving") << "exitWithoutSavingAction" << true << false;
        QTest::addRow("unwritable: leaving the sheet is refused") << "tab" << false << true;
        QTest::addRow("unwritable: the session ends") << "session" << false << true;
        QTest::addRow("unwritable: closing, answered Yes") << "close" << false << false;
    }
    void savePoints()
    {
        QFETCH(QString, how);
        QFETCH(bool, writable);
        QFETCH(bool, kept);
        Recovery h;
        MainWindow &w = h.start();
        QCOMPARE(Harness::bytes(h.copyPath()), "<missing>"_ba);
        if (!writable)
            QVERIFY(QFile::remove(h.sheetPath(1)) && QDir().mkdir(h.sheetPath(1)));
        QTest::keyClicks(textBox(w), u"typed "_s);
        if (writable)
            QTRY_COMPARE(Harness::bytes(h.copyPath()), "typed recovered\r\n"_ba);
        if (how == "tab")
            h.selectTab(2);
        else if (how == "close")
            h.closeWindow();
        else if (how == "session")
            w.endSession();
        else
            action(w, u"exitWithoutSavingAction"_s)->trigger();
        QTest::qWait(100);
        QCOMPARE(Harness::bytes(h.copyPath()), kept ? "typed recovered\r\n"_ba : "<missing>"_ba);
    }

    // A message would hide the launcher box under the user's typing: the note waits.
    void noteWaitsWhileTheLauncherHasFocus()
    {
        Recovery h;
        MainWindow &w = h.start();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto *combo = w.findChild<QComboBox *>(u"launcherBox"_s);
        auto *bar = w.findChild<QStatusBar *>(u"statusBar"_s);
        textBox(w)->insertPlainText(u"☃"_s);
        combo->setFocus();
        QTRY_COMPARE(statusPanel(w, 3)->toolTip(), u"保存時の文字コード: UTF-8 (BOM 付き)"_s);
        QTest::qWait(100);
        QCOMPARE(bar->currentMessage(), QString());
        textBox(w)->setFocus();
        QTest::keyClicks(textBox(w), u"a"_s);
        QTRY_VERIFY(bar->currentMessage().contains(u"Shift_JIS"_s));
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
