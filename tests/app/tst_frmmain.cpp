// The main window driven offscreen: start-up, switching, captions and shut-down, against real
// files in a temporary program directory and a temporary settings file.
#include "harness.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
const QString CannotOpen = QStringLiteral("ファイルを開けません");
}

class TestFrmMain : public QObject {
    Q_OBJECT
private slots:
    void firstStartWithEmptyStore();
    void windowSizeAndPosition_data();
    void windowSizeAndPosition();
    void storedValuesThatDoNotApply();
    void storedAppearanceApplies();
    void commandLineFileGoesToSheetOne();
    void failedCommandLineKeepsSheetOne();
    void relativeCommandLineUsesStartDirectory();
    void switchingWritesOnlyChangedSheets();
    void altDigitSelectsTab();
    void captionsFollowOpenedFile();
    void maximisedExitKeepsGeometryKeys();
    void unwritableSheetKeepsUserOnIt();
    void closingWithUnwritableSheetAsks();
    void sessionEndDoesNotAsk();
    void unreadableSheetShowsEmpty();
    void launcherHistorySkipsEmptyEntries();
};

void TestFrmMain::firstStartWithEmptyStore()
{
    Harness h;
    h.writeSheets();
    frmMain &w = h.start();

    QVERIFY(h.dialogs.calls.isEmpty());
    QCOMPARE(w.windowWidth(), 8805);
    QCOMPARE(w.windowHeight(), 6045);
    QVERIFY(qAbs(w.windowLeft() - (w.screenWidthTwips() - 8805) / 2) <= 15);
    QVERIFY(qAbs(w.windowTop() - (w.screenHeightTwips() - 6045) / 2) <= 15);
    QCOMPARE(w.Label2(), QStringLiteral("q7 Zibo q1"));
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q1"));
    QCOMPARE(w.Label1[3], QStringLiteral(">"));
    QCOMPARE(w.Text1->imeMode(), 0);
    QCOMPARE(w.Text1->Text(), QStringLiteral("sheet 1"));
    QVERIFY(!w.blnChanged);
    for (int n = 1; n <= 7; ++n)
        QCOMPARE(w.TabStrip1->caption(n), QStringLiteral("Zibo q &%1").arg(n));
    QCOMPARE(w.TabStrip1->tabFont().family(), QStringLiteral("Times New Roman"));
    QCOMPARE(w.Combo1->count(), 0);
    QVERIFY(!w.toolbarButton(4)->isEnabled());

    h.closeWindow();
    QCOMPARE(h.ended, 1);
    // Closing an unchanged sheet writes no sheet file but always the settings.
    QCOMPARE(Harness::bytes(h.sheetPath(1)), QByteArray("sheet 1\r\n"));
    QSettings ini(h.iniPath, QSettings::IniFormat);
    QStringList keys = ini.allKeys();
    keys.sort();
    QStringList expected = {"IME/IME", "Size/Size1", "Size/Size2", "Size/Left", "Size/Top", "Size/Width",
                            "Size/Height", "q7/FontName", "q7/FontSize", "q7/FontColor", "q7/BackColor",
                            "q7/FontB", "q7/FontI", "q7/Inyouhu", "q7/XXX", "q7/XXXX", "q7/X", "q7/XX",
                            "q7/File"};
    for (int i = 0; i < 3; ++i)
        expected << QStringLiteral("Launch/Bar%1").arg(i) << QStringLiteral("Launch/Name%1").arg(i);
    for (int i = 0; i < 10; ++i)
        expected << QStringLiteral("Launch/CMD%1").arg(i);
    for (int k = 0; k < 7; ++k)
        expected << QStringLiteral("Open/File%1").arg(k) << QStringLiteral("q7/q%1").arg(k + 1);
    expected.sort();
    QCOMPARE(keys, expected);
    QCOMPARE(h.stored("q7", "FontColor"), QStringLiteral("-2147483640"));
    QCOMPARE(h.stored("q7", "BackColor"), QStringLiteral("-2147483643"));
    QCOMPARE(h.stored("q7", "FontB"), QStringLiteral("False"));
    QCOMPARE(h.stored("q7", "XXX"), QStringLiteral("Times New Roman"));
    QCOMPARE(h.stored("q7", "XXXX"), QStringLiteral("11.25"));
    QCOMPARE(h.stored("q7", "q3"), QStringLiteral("Zibo q &3"));
    QCOMPARE(h.stored("q7", "File"), QStringLiteral("q7 Zibo q1"));
    QCOMPARE(h.stored("Size", "Width"), QStringLiteral("8805"));
    QCOMPARE(h.stored("Size", "Height"), QStringLiteral("6045"));
    QCOMPARE(h.stored("IME", "IME"), QStringLiteral("False"));
    QCOMPARE(h.stored("Launch", "CMD9"), QString());
}

void TestFrmMain::windowSizeAndPosition_data()
{
    QTest::addColumn<QString>("size1");
    QTest::addColumn<bool>("sizeStored");
    QTest::addColumn<QString>("size2");
    QTest::addColumn<int>("expectedWidth");
    QTest::addColumn<int>("expectedHeight");
    QTest::addColumn<bool>("positionRestored");

    QTest::addRow("flags 1 restore size and position") << "1" << true << "1" << 9600 << 7200 << true;
    QTest::addRow("flag 0 gives the start size, centred") << "0" << true << "0" << 8805 << 6045 << false;
    QTest::addRow("flag 2 counts as not 1") << "2" << true << "2" << 8805 << 6045 << false;
    QTest::addRow("flag that is no number") << "abc" << true << "x" << 8805 << 6045 << false;
    QTest::addRow("flag 1 with size keys missing keeps the design size") << "1" << false << "0" << 8805 << 7230 << false;
}

void TestFrmMain::windowSizeAndPosition()
{
    QFETCH(QString, size1);
    QFETCH(bool, sizeStored);
    QFETCH(QString, size2);
    QFETCH(int, expectedWidth);
    QFETCH(int, expectedHeight);
    QFETCH(bool, positionRestored);

    Harness h;
    h.writeSheets();
    h.preset("Size", "Size1", size1);
    h.preset("Size", "Size2", size2);
    if (sizeStored) {
        h.preset("Size", "Width", "9600");
        h.preset("Size", "Height", "7200");
    }
    h.preset("Size", "Left", "300");
    h.preset("Size", "Top", "450");
    frmMain &w = h.start();
    QCOMPARE(w.windowWidth(), expectedWidth);
    QCOMPARE(w.windowHeight(), expectedHeight);
    if (positionRestored) {
        QCOMPARE(w.windowLeft(), 300);
        QCOMPARE(w.windowTop(), 450);
    } else {
        QVERIFY(qAbs(w.windowLeft() - (w.screenWidthTwips() - expectedWidth) / 2) <= 15);
    }
    QCOMPARE(w.Label1[1], size1);
    h.closeWindow();
    QCOMPARE(h.stored("Size", "Size1"), size1);
    QCOMPARE(h.stored("Size", "Width"), QString::number(expectedWidth));
}

void TestFrmMain::storedValuesThatDoNotApply()
{
    // Each bad value fails alone; everything else is read.
    Harness h;
    h.writeSheets();
    h.preset("q7", "FontSize", "big");
    h.preset("q7", "FontColor", "not a colour");
    h.preset("q7", "BackColor", "16777216");
    h.preset("q7", "FontB", "yes");
    h.preset("q7", "FontName", "No Such Font Family 123");
    h.preset("q7", "XXXX", "-3");
    h.preset("q7", "File", "nonsense");
    h.preset("q7", "Inyouhu", "| ");
    h.preset("q7", "q2", "");
    h.preset("IME", "IME", "false");
    frmMain &w = h.start();
    const QFont design = TextBox().font();
    QCOMPARE(w.Text1->font().pointSizeF(), design.pointSizeF());
    QCOMPARE(w.Text1->font().family(), design.family());
    QCOMPARE(w.Text1->ForeColor(), qint32(0x80000008));
    QCOMPARE(w.Text1->BackColor(), qint32(0x80000005));
    QVERIFY(!w.Text1->font().bold());
    QCOMPARE(w.TabStrip1->tabFont().pointSizeF(), 11.25);
    QCOMPARE(w.Label2(), QStringLiteral("q7 Zibo q1"));
    QCOMPARE(w.Label1[3], QStringLiteral("| "));
    QCOMPARE(w.TabStrip1->caption(2), QString()); // an empty caption stays empty
    QCOMPARE(w.Text1->imeMode(), 4);             // only exactly "False" turns it off
    h.closeWindow();
    QCOMPARE(h.stored("q7", "FontColor"), QStringLiteral("-2147483640"));
    QCOMPARE(h.stored("IME", "IME"), QStringLiteral("false"));
}

void TestFrmMain::storedAppearanceApplies()
{
    Harness h;
    h.writeSheets();
    h.preset("q7", "FontSize", "14.5");
    h.preset("q7", "FontColor", "255");
    h.preset("q7", "BackColor", "16711680");
    h.preset("q7", "FontB", "TRUE");
    h.preset("q7", "FontI", "-1");
    h.preset("q7", "XXXX", "9");
    h.preset("q7", "X", "true");
    h.preset("q7", "File", "q7 Zibo q4");
    frmMain &w = h.start();
    QCOMPARE(w.Text1->font().pointSizeF(), 14.5);
    QCOMPARE(w.Text1->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(w.Text1->palette().color(QPalette::Base), QColor(0, 0, 255));
    QVERIFY(w.Text1->font().bold());
    QVERIFY(w.Text1->font().italic());
    QVERIFY(w.TabStrip1->tabFont().bold());
    QCOMPARE(w.currentSheet(), 4);
    QCOMPARE(w.TabStrip1->SelectedIndex(), 4);
    QCOMPARE(w.Text1->Text(), QStringLiteral("sheet 4"));
    h.closeWindow();
    QCOMPARE(h.stored("q7", "FontSize"), QStringLiteral("14.5"));
    QCOMPARE(h.stored("q7", "FontB"), QStringLiteral("True"));
    QCOMPARE(h.stored("q7", "FontI"), QStringLiteral("True"));
    QCOMPARE(h.stored("q7", "XXXX"), QStringLiteral("9"));
    QCOMPARE(h.stored("q7", "BackColor"), QStringLiteral("16711680"));
    QCOMPARE(h.stored("q7", "File"), QStringLiteral("q7 Zibo q4"));
}

void TestFrmMain::commandLineFileGoesToSheetOne()
{
    Harness h;
    h.writeSheets();
    h.preset("q7", "File", "q7 Zibo q5");
    const QString outside = h.tmp.filePath(QStringLiteral("memo.txt"));
    h.writeFile(outside, "\r\nfrom outside\r\nline 2\r\n");
    frmMain &w = h.start(outside);

    QCOMPARE(w.Label2(), QStringLiteral("q7 Zibo q1"));
    QCOMPARE(w.TabStrip1->SelectedIndex(), 1);
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q1 - ") + outside);
    QCOMPARE(w.Text1->Text(), QStringLiteral("from outside\r\nline 2"));
    QVERIFY(w.blnChanged);
    QCOMPARE(w.lblRealFile[0], outside);
    QVERIFY(w.toolbarButton(4)->isEnabled());
    QCOMPARE(w.toolbarButton(4)->toolTip(), QStringLiteral("上書き保存－") + outside);
    QCOMPARE(Harness::bytes(h.sheetPath(5)), QByteArray("sheet 5\r\n"));

    h.closeWindow();
    QCOMPARE(Harness::bytes(h.sheetPath(1)), QByteArray("from outside\r\nline 2\r\n"));
    QCOMPARE(Harness::bytes(outside), QByteArray("\r\nfrom outside\r\nline 2\r\n"));
    QCOMPARE(h.stored("Open", "File0"), outside);
    QCOMPARE(h.stored("q7", "File"), QStringLiteral("q7 Zibo q1"));
}

void TestFrmMain::failedCommandLineKeepsSheetOne()
{
    Harness h;
    h.writeSheets();
    h.preset("q7", "File", "q7 Zibo q3");
    const QString missing = h.tmp.filePath(QStringLiteral("no such file.txt"));
    frmMain &w = h.start(missing);

    QCOMPARE(h.dialogs.prompts(), QStringList{CannotOpen});
    QCOMPARE(h.dialogs.calls[0].title, QStringLiteral("q7Zibo"));
    QCOMPARE(w.Label2(), QStringLiteral("q7 Zibo q1"));
    QCOMPARE(w.Text1->Text(), QStringLiteral("sheet 1"));
    QVERIFY(!w.blnChanged);
    QCOMPARE(w.lblRealFile[0], missing);
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q1"));
    QVERIFY(!w.toolbarButton(4)->isEnabled());
    h.closeWindow();
    QCOMPARE(Harness::bytes(h.sheetPath(1)), QByteArray("sheet 1\r\n"));
}

void TestFrmMain::relativeCommandLineUsesStartDirectory()
{
    Harness h;
    h.writeSheets();
    QDir().mkpath(h.tmp.filePath(QStringLiteral("work")));
    h.writeFile(h.tmp.filePath(QStringLiteral("work/a b.txt")), "spaced name");
    frmMain &w = h.start(QStringLiteral("a b.txt"), h.tmp.filePath(QStringLiteral("work")));
    QCOMPARE(w.Text1->Text(), QStringLiteral("spaced name"));
    QCOMPARE(w.lblRealFile[0], h.tmp.filePath(QStringLiteral("work/a b.txt")));
}

void TestFrmMain::switchingWritesOnlyChangedSheets()
{
    Harness h;
    h.writeSheets();
    const QDateTime old = QDateTime::currentDateTime().addDays(-3);
    for (int n = 1; n <= 7; ++n) {
        QFile f(h.sheetPath(n));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    frmMain &w = h.start();
    w.strUndo = QStringLiteral("snapshot of sheet 1");

    h.selectTab(5); // sheet 1 was only viewed
    QCOMPARE(QFileInfo(h.sheetPath(1)).lastModified(), old);
    QCOMPARE(w.Text1->Text(), QStringLiteral("sheet 5"));
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q5"));
    QVERIFY(w.strUndo.isEmpty());

    w.Text1->setSelStart(w.Text1->Text().size());
    QTest::keyClicks(w.Text1, QStringLiteral("x"));
    QVERIFY(w.blnChanged);
    h.selectTab(2);
    QCOMPARE(Harness::bytes(h.sheetPath(5)), QByteArray("sheet 5x\r\n"));
    QCOMPARE(w.Text1->Text(), QStringLiteral("sheet 2"));
    QVERIFY(!w.blnChanged);
    h.selectTab(5);
    QCOMPARE(w.Text1->Text(), QStringLiteral("sheet 5x"));
    QCOMPARE(QFileInfo(h.sheetPath(2)).lastModified(), old);
    h.closeWindow();
    QCOMPARE(h.stored("q7", "File"), QStringLiteral("q7 Zibo q5"));
}

void TestFrmMain::altDigitSelectsTab()
{
    Harness h;
    h.writeSheets();
    frmMain &w = h.start();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_3, Qt::AltModifier);
    QCOMPARE(w.TabStrip1->SelectedIndex(), 3);
    QCOMPARE(w.Text1->Text(), QStringLiteral("sheet 3"));
}

void TestFrmMain::captionsFollowOpenedFile()
{
    Harness h;
    h.writeSheets();
    h.preset("Open", "File2", "/memo/a.txt");
    frmMain &w = h.start();
    h.selectTab(3);
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q3 - /memo/a.txt"));
    QVERIFY(w.toolbarButton(4)->isEnabled());
    QCOMPARE(w.toolbarButton(4)->toolTip(), QStringLiteral("上書き保存－/memo/a.txt"));
    // Tab captions play no part in names or captions.
    w.TabStrip1->setCaption(5, QStringLiteral("memo"));
    h.selectTab(5);
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q5"));
    QVERIFY(!w.toolbarButton(4)->isEnabled());
    QCOMPARE(w.toolbarButton(4)->toolTip(), QString());
    QCOMPARE(w.Text1->Text(), QStringLiteral("sheet 5"));
    h.closeWindow();
    QCOMPARE(h.stored("Open", "File2"), QStringLiteral("/memo/a.txt"));
    QCOMPARE(h.stored("q7", "q5"), QStringLiteral("memo"));
}

void TestFrmMain::maximisedExitKeepsGeometryKeys()
{
    Harness h;
    h.writeSheets();
    h.preset("Size", "Left", "1");
    h.preset("Size", "Top", "2");
    h.preset("Size", "Width", "9000");
    h.preset("Size", "Height", "8000");
    frmMain &w = h.start();
    w.showMaximized();
    QTRY_VERIFY(w.isMaximized());
    h.closeWindow();
    QCOMPARE(h.stored("Size", "Left"), QStringLiteral("1"));
    QCOMPARE(h.stored("Size", "Top"), QStringLiteral("2"));
    QCOMPARE(h.stored("Size", "Width"), QStringLiteral("9000"));
    QCOMPARE(h.stored("Size", "Height"), QStringLiteral("8000"));
    QCOMPARE(h.stored("Size", "Size1"), QStringLiteral("0"));
}

void TestFrmMain::unwritableSheetKeepsUserOnIt()
{
    Harness h;
    h.writeSheets();
    frmMain &w = h.start();
    // The sheet file turns into something that cannot be written.
    QVERIFY(QFile::remove(h.sheetPath(1)));
    QVERIFY(QDir().mkdir(h.sheetPath(1)));
    w.Text1->setText(QStringLiteral("precious"));
    h.selectTab(2);
    QCOMPARE(h.dialogs.prompts(), QStringList{QDir::toNativeSeparators(h.sheetPath(1)) + QStringLiteral(" に書き込めません。")});
    QCOMPARE(w.TabStrip1->SelectedIndex(), 1);
    QCOMPARE(w.currentSheet(), 1);
    QCOMPARE(w.Text1->Text(), QStringLiteral("precious"));
    QVERIFY(w.blnChanged);

    // Once the file can be written again, the switch goes through.
    QVERIFY(QDir().rmdir(h.sheetPath(1)));
    h.selectTab(2);
    QCOMPARE(w.currentSheet(), 2);
    QCOMPARE(Harness::bytes(h.sheetPath(1)), QByteArray("precious\r\n"));
}

void TestFrmMain::closingWithUnwritableSheetAsks()
{
    Harness h;
    h.writeSheets();
    frmMain &w = h.start();
    QVERIFY(QFile::remove(h.sheetPath(1)));
    QVERIFY(QDir().mkdir(h.sheetPath(1)));
    w.Text1->setText(QStringLiteral("precious"));

    h.dialogs.answers = {MsgBoxResult::No};
    QVERIFY(!w.close());
    QCOMPARE(h.ended, 0);
    QVERIFY(w.isVisible());
    QCOMPARE(h.dialogs.calls.size(), 1);
    QVERIFY(h.dialogs.calls[0].prompt.startsWith(QDir::toNativeSeparators(h.sheetPath(1)) + QStringLiteral(" に書き込めません。")));
    QCOMPARE(w.Text1->Text(), QStringLiteral("precious"));

    h.dialogs.answers = {MsgBoxResult::Yes};
    h.closeWindow();
    QCOMPARE(h.ended, 1);
    QCOMPARE(h.stored("q7", "File"), QStringLiteral("q7 Zibo q1"));
}

void TestFrmMain::sessionEndDoesNotAsk()
{
    Harness h;
    h.writeSheets();
    frmMain &w = h.start();
    QTest::keyClicks(w.Text1, QStringLiteral("typed "));
    w.endSession();
    QCOMPARE(h.ended, 1);
    QVERIFY(h.dialogs.calls.isEmpty());
    QCOMPARE(Harness::bytes(h.sheetPath(1)), QByteArray("typed sheet 1\r\n"));
}

void TestFrmMain::unreadableSheetShowsEmpty()
{
    Harness h;
    h.writeSheets();
    QVERIFY(QFile::remove(h.sheetPath(3)));
    QVERIFY(QDir().mkdir(h.sheetPath(3)));
    h.preset("Open", "File2", "/memo/b.txt");
    frmMain &w = h.start();
    h.selectTab(3);
    QCOMPARE(h.dialogs.prompts(), QStringList{CannotOpen});
    QCOMPARE(w.Text1->Text(), QString());
    QVERIFY(!w.blnChanged);
    // Detached in the captions only: the path itself stays recorded.
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q3"));
    QVERIFY(!w.toolbarButton(4)->isEnabled());
    QCOMPARE(w.lblRealFile[2], QStringLiteral("/memo/b.txt"));
    h.selectTab(4);
    QVERIFY(QFileInfo(h.sheetPath(3)).isDir());
    // A missing sheet file is reported the same way and is not created by viewing it.
    QVERIFY(QFile::remove(h.sheetPath(6)));
    h.selectTab(6);
    QCOMPARE(h.dialogs.prompts().size(), 2);
    h.selectTab(1);
    QVERIFY(!QFileInfo::exists(h.sheetPath(6)));
}

void TestFrmMain::launcherHistorySkipsEmptyEntries()
{
    Harness h;
    h.writeSheets();
    h.preset("Launch", "CMD0", "first");
    h.preset("Launch", "CMD2", "second");
    h.preset("Launch", "CMD5", "third");
    h.preset("Launch", "CMD7", "");
    frmMain &w = h.start();
    QCOMPARE(w.Combo1->count(), 3);
    QCOMPARE(w.Combo1->itemText(2), QStringLiteral("third"));
    QCOMPARE(w.Combo1->currentText(), QStringLiteral("first"));
    h.closeWindow();
    QCOMPARE(h.stored("Launch", "CMD1"), QStringLiteral("second"));
    QCOMPARE(h.stored("Launch", "CMD2"), QStringLiteral("third"));
    QCOMPARE(h.stored("Launch", "CMD5"), QString());
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
