// The main window driven offscreen: start-up, switching, captions and shut-down, against real
// files in a temporary program directory and a temporary settings file.
#include "../commands/fakecommondialog.h"
#include "harness.h"
#include "settings/OptionsDialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QToolBar>

#include <array>

using namespace Qt::StringLiterals;
using Setting = std::array<QString, 3>; // section, key, value

namespace {
const QString CannotOpen = u"ファイルを開けません\n"_s;
const QString NotFound = CannotOpen + u"ファイルが見つかりません。"_s;

// The seven sheet files, and settings stored before the start. The files have LF line ends:
// sheet files are written CR LF, so one that was only read keeps its bytes.
struct Sheets : Harness {
    explicit Sheets(std::initializer_list<Setting> presets = {})
    {
        for (int n = 1; n <= 7; ++n)
            writeFile(sheetPath(n), "sheet " + QByteArray::number(n) + "\n");
        for (const auto &[section, key, value] : presets)
            preset(section, key, value);
    }
    // A folder where the sheet file was: it can be neither read nor written.
    void block(int n) { QVERIFY(QFile::remove(sheetPath(n)) && QDir().mkdir(sheetPath(n))); }
    QString unwritable(int n) const { return QDir::toNativeSeparators(sheetPath(n)) + u" に書き込めません。"_s; }
};

// What the window shows of the sheet's file: title, overwrite button, its tip.
QStringList captions(MainWindow &w)
{
    return {w.windowTitle(), w.toolbarButton(4)->isEnabled() ? "enabled" : "disabled", w.toolbarButton(4)->toolTip()};
}
const QStringList NoFile1 = {"q7 Zibo q1", "disabled", ""};

// Runs a command that opens the options dialog; the page it opened on. `inside` gets the open
// dialog, which is otherwise cancelled.
int optionsPage(const std::function<void()> &open, const std::function<void(OptionsDialog &)> &inside = {})
{
    int page = -1;
    QTimer::singleShot(0, [&] {
        auto *options = qobject_cast<OptionsDialog *>(QApplication::activeModalWidget());
        if (!options)
            return;
        page = options->currentPage();
        inside ? inside(*options) : options->reject();
    });
    open();
    return page;
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void firstStartWithEmptyStore()
    {
        Sheets h;
        MainWindow &w = h.start();
        QVERIFY(h.dialogs.calls.isEmpty());
        QCOMPARE(captions(w), NoFile1);
        QCOMPARE(textBox(w)->Text(), u"sheet 1"_s);
        QCOMPARE(textBox(w)->imeMode(), 0);
        h.closeWindow();
        QCOMPARE(h.ended, 1);
        QCOMPARE(Harness::bytes(h.sheetPath(1)), "sheet 1\n"_ba); // unchanged, not written
        // The exit writes every setting, the built-in values included.
        QStringList keys = QSettings(h.iniPath, QSettings::IniFormat).allKeys();
        QStringList expected = u"IME/IME Size/Size1 Size/Size2 Size/Left Size/Top Size/Width Size/Height q7/FontName "
                               "q7/FontSize q7/FontColor q7/BackColor q7/FontB q7/FontI q7/Inyouhu q7/XXX q7/XXXX "
                               "q7/X q7/XX q7/File"_s.split(u' ');
        for (int i = 0; i < 10; ++i)
            expected << u"Launch/CMD%1"_s.arg(i);
        for (int i = 0; i < 7; ++i)
            expected << u"Open/File%1"_s.arg(i) << u"q7/q%1"_s.arg(i + 1);
        for (int i = 0; i < 3; ++i)
            expected << u"Launch/Bar%1"_s.arg(i) << u"Launch/Name%1"_s.arg(i);
        keys.sort();
        expected.sort();
        QCOMPARE(keys, expected);
    }

    // Flags 1 restore the stored size and position, other values centre the start size; a huge,
    // far-off window comes whole onto the screen, give or take a pixel.
    void windowSizeAndPosition_data()
    {
        QTest::addColumn<QString>("flag"); // Size1 and Size2
        QTest::addColumn<QStringList>("stored"); // Left, Top, Width, Height
        QTest::addColumn<QSize>("size"); // empty: fits the screen
        const QStringList stored{"300", "450", "9600", "7200"};
        QTest::addRow("flags 1 restore size and position") << "1" << stored << QSize(9600, 7200);
        QTest::addRow("flag 2 counts as not 1: start size, centred") << "2" << stored << QSize(8805, 6045);
        QTest::addRow("flag 1 with size keys missing keeps the design size") << "1" << stored.mid(0, 2) << QSize(8805, 7230);
        QTest::addRow("huge and off every screen") << "1" << QStringList{"-100000", "-100000", "1e9", "1e9"} << QSize();
    }
    void windowSizeAndPosition()
    {
        QFETCH(QString, flag);
        QFETCH(QStringList, stored);
        QFETCH(QSize, size);
        Sheets h({{"Size", "Size1", flag}, {"Size", "Size2", flag}});
        for (int i = 0; i < stored.size(); ++i)
            h.preset("Size", QStringList{"Left", "Top", "Width", "Height"}[i], stored[i]);
        MainWindow &w = h.start();
        const QPoint at(w.windowLeft(), w.windowTop());
        if (size.isEmpty()) {
            const QRect screen(0, 0, w.screenWidthTwips(), w.screenHeightTwips());
            QVERIFY(screen.adjusted(-15, -15, 15, 15).contains(QRect(at, QSize(w.windowWidth(), w.windowHeight()))));
            return;
        }
        QCOMPARE(QSize(w.windowWidth(), w.windowHeight()), size);
        if (flag == "1")
            QCOMPARE(at, QPoint(300, 450));
        else
            QVERIFY(qAbs(at.x() - (w.screenWidthTwips() - size.width()) / 2) <= 15);
        h.closeWindow();
        QCOMPARE(h.stored("Size", "Size1") + u' ' + h.stored("Size", "Width") + u'x' + h.stored("Size", "Height"),
                 u"%1 %2x%3"_s.arg(flag).arg(size.width()).arg(size.height()));
        QCOMPARE(h.stored("Size", "Left") + u',' + h.stored("Size", "Top"), u"%1,%2"_s.arg(at.x()).arg(at.y()));
    }

    // Stored settings reach the sheet, the tabs and the launcher: an empty tab caption stays empty,
    // a huge one is cut, only "False" exactly turns the input method off, history gaps close up;
    // the run button follows the launcher's text.
    void storedSettingsApply()
    {
        Sheets h({{"q7", "FontSize", "14.5"}, {"q7", "FontColor", "255"}, {"q7", "BackColor", "16711680"},
                  {"q7", "FontB", "TRUE"}, {"q7", "FontI", "-1"}, {"q7", "XXXX", "9"}, {"q7", "X", "true"},
                  {"q7", "File", "q7 Zibo q4"}, {"q7", "q2", ""}, {"q7", "q3", QString(100000, u'x')},
                  {"IME", "IME", "false"}, {"Launch", "CMD0", "first"}, {"Launch", "CMD2", "second"}, {"Launch", "CMD5", "third"}});
        MainWindow &w = h.start();
        QCOMPARE(textBox(w)->font().pointSizeF(), 14.5);
        QVERIFY(textBox(w)->font().bold() && textBox(w)->font().italic());
        QCOMPARE(textBox(w)->palette().color(QPalette::Text), QColor(255, 0, 0));
        QCOMPARE(textBox(w)->palette().color(QPalette::Base), QColor(0, 0, 255));
        QVERIFY(tabStrip(w)->tabFont().bold());
        QCOMPARE(tabStrip(w)->tabFont().pointSizeF(), 9.0);
        QCOMPARE(tabStrip(w)->SelectedIndex(), 4);
        QCOMPARE(textBox(w)->Text(), u"sheet 4"_s);
        QCOMPARE(tabStrip(w)->caption(2), QString());
        QCOMPARE(tabStrip(w)->caption(3), QString(Holders::MaxCaptionLength, u'x'));
        QCOMPARE(textBox(w)->imeMode(), 4);
        auto *run = w.findChild<QPushButton *>(u"runButton"_s);
        QVERIFY(run->isEnabled());  // the launcher shows "first"
        w.findChild<QComboBox *>(u"launcherBox"_s)->setEditText(QString());
        QVERIFY(!run->isEnabled());
        h.closeWindow();
        QCOMPARE(h.stored("Launch", "CMD1") + u'|' + h.stored("Launch", "CMD5"), u"second|"_s);
    }

    // The file named on the command line goes into sheet 1, whichever sheet was last in use; one
    // not read leaves sheet 1's own text. That file is never written, nor a path not read kept.
    void commandLine_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("startDir"); // empty: the argument is made absolute
        QTest::addColumn<bool>("undecodable");
        QTest::addColumn<QString>("message"); // empty: opened
        QTest::addRow("absolute path") << "work/a b.txt" << "" << false << "";
        QTest::addRow("relative path from the start directory") << "a b.txt" << "work" << false << "";
        QTest::addRow("missing file") << "work/none.txt" << "" << false << NotFound;
        QTest::addRow("a name the system cannot decode") << "work/a b.txt" << "" << true
            << CannotOpen + u"ファイル名に、この環境の文字コードで表せないバイトがあります。"_s;
    }
    void commandLine()
    {
        QFETCH(QString, argument);
        QFETCH(QString, startDir);
        QFETCH(bool, undecodable);
        QFETCH(QString, message);
        const bool opened = message.isEmpty();
        Sheets h({{"q7", "File", "q7 Zibo q5"}});
        if (undecodable)
            h.configure = [](MainWindowEnv &env) { env.commandLineNameUnusable = true; };
        QDir().mkpath(h.tmp.filePath("work"));
        h.writeFile(h.tmp.filePath("work/a b.txt"), "\r\nfrom outside\r\nline 2\r\n");
        const QString path = h.tmp.filePath(startDir.isEmpty() ? argument : startDir + u'/' + argument);
        const QByteArray before = Harness::bytes(path);
        MainWindow &w = h.start(startDir.isEmpty() ? path : argument, startDir.isEmpty() ? "" : h.tmp.filePath(startDir));
        QCOMPARE(tabStrip(w)->SelectedIndex(), 1);
        QCOMPARE(h.dialogs.prompts(), opened ? QStringList() : QStringList{message});
        QCOMPARE(captions(w), opened ? (QStringList{"q7 Zibo q1 - " + path, "enabled", "上書き保存－" + path}) : NoFile1);
        QCOMPARE(textBox(w)->Text(), opened ? u"from outside\r\nline 2"_s : u"sheet 1"_s);
        h.closeWindow();
        QCOMPARE(Harness::bytes(h.sheetPath(1)), opened ? "from outside\r\nline 2\r\n"_ba : "sheet 1\n"_ba);
        QCOMPARE(Harness::bytes(path), before);
        QCOMPARE(h.stored("Open", "File0"), opened ? path : QString());
    }

    // 20 buttons and 9 separators in index order, fixed tips, the buttons that share a menu
    // item's action, and those disabled at start; cut stays enabled where its menu item is not.
    void toolbarButtons()
    {
        Sheets h;
        MainWindow &w = h.start();
        QString layout;
        for (QAction *a : w.findChild<QToolBar *>()->actions())
            layout += a->isSeparator() ? u'|' : u'b';
        QCOMPARE(layout, u"bbbb|bbbb|b|b|bbb|bbb|b|b|b|b"_s);
        QString tips;
        for (int i : {1, 2, 3, 6, 7, 8, 9, 11, 13, 15, 16, 17, 23, 25, 27, 29})
            tips += w.toolbarButton(i)->toolTip() + (w.toolbarButton(i)->isEnabled() ? u"|"_s : u" (off)|"_s);
        QCOMPARE(tips, u"新規作成|既存のﾌｧｲﾙを開く|名前を付けて保存|切り取り|ｺﾋﾟｰ|すべての範囲をｺﾋﾟｰ|貼り付け|検索と置換|"
                       "元に戻す (off)|日付と時刻の挿入|選択範囲に引用符追加 (off)|定型文字列の挿入|動作環境の設定|ﾍﾙﾌﾟ表示|"
                       "ﾊﾞｰｼﾞｮﾝ情報|終了|"_s);
        for (const auto &[i, shared] : std::initializer_list<std::pair<int, const char *>>{
                 {1, "newAction"}, {2, "openAction"}, {3, "saveAsAction"}, {8, "copyAllAction"}, {13, "undoAction"}, {15, "stampAction"}, {16, "quoteSelectionAction"},
                 {17, "phraseAction"}, {23, "optionsAction"}, {25, "helpAction"}, {27, "aboutAction"}, {29, "exitAction"}})
            QCOMPARE(w.toolbarButton(i), action(w, QLatin1String(shared)));
        QVERIFY(!w.toolbarButton(4)->isEnabled() && !w.toolbarButton(5) && !w.toolbarButton(30));
        tick(w);
        QVERIFY(!action(w, "cutAction")->isEnabled() && w.toolbarButton(6)->isEnabled());
    }

    // Each way in opens the options on its own page (the toolbar shares the menu's actions);
    // what they apply reaches the tabs, the menus, the buttons and, at exit, the store.
    void options()
    {
        Sheets h;
        MainWindow &w = h.start();
        QCOMPARE(optionsPage([&] { action(w, "aboutAction")->trigger(); }), 3);
        QCOMPARE(optionsPage([&] { w.toolbarButton(19)->trigger(); }), 2);  // a free slot's button
        const int page = optionsPage([&] { action(w, "optionsAction")->trigger(); }, [](OptionsDialog &options) {
            options.findChild<QLineEdit *>(u"tabCaptionEdit0"_s)->setText(u"メモ"_s);
            options.findChild<QLineEdit *>(u"appPathEdit1"_s)->setText(u"/opt/tool"_s);
            options.findChild<QLineEdit *>(u"quoteMarkEdit"_s)->setText(u"| "_s);
            options.findChild<QPushButton *>(u"okButton"_s)->click();
        });
        QCOMPARE(page, 0);
        QCOMPARE(tabStrip(w)->caption(1), u"メモ"_s);
        QVERIFY(action(w, "registeredAppAction1")->isVisible());
        QCOMPARE(w.toolbarButton(20)->toolTip(), u"/opt/tool"_s);
        QCOMPARE(optionsPage([&] {
            QTest::mouseClick(tabStrip(w)->bar(), Qt::RightButton);
            QVERIFY(w.findChild<QMenu *>(u"tabMenu"_s)->isVisible());
            action(w, "tabSettingsAction")->trigger();
        }), 1);
        h.closeWindow();
        QCOMPARE(h.stored("q7", "q1"), u"メモ"_s);
        QCOMPARE(h.stored("Launch", "Bar1") + u' ' + h.stored("Launch", "Name1"), u"/opt/tool /opt/tool"_s);
    }

    // A sheet that shows a file's path in the captions, and one whose own file cannot be read:
    // shown empty and detached in the captions only, its file not made by viewing it.
    void captionsFollowOpenedFile()
    {
        Sheets h({{"Open", "File2", "/memo/a.txt"}, {"Open", "File3", "/memo/b.txt"}, {"q7", "q5", "memo"}});
        QVERIFY(QFile::remove(h.sheetPath(4)));
        MainWindow &w = h.start();
        h.selectTab(3);
        QCOMPARE(captions(w), (QStringList{"q7 Zibo q3 - /memo/a.txt", "enabled", "上書き保存－/memo/a.txt"}));
        h.selectTab(5); // its tab caption plays no part
        QCOMPARE(captions(w), (QStringList{"q7 Zibo q5", "disabled", ""}));
        h.selectTab(4);
        QCOMPARE(h.dialogs.prompts(), QStringList{NotFound});
        QCOMPARE(textBox(w)->Text(), QString());
        QCOMPARE(captions(w), (QStringList{"q7 Zibo q4", "disabled", ""}));
        QCOMPARE(w.sheets().openedFile(4), u"/memo/b.txt"_s);
        h.selectTab(1);
        QVERIFY(!QFileInfo::exists(h.sheetPath(4)));
    }

    // The File menu in the window: a dialog cancelled gives the focus back to the text, Save As
    // gives Ctrl+S its target, Ctrl+S pressed in the text reaches the command. The next start
    // shows the sheet that was current, as last written: Exit without saving keeps its last save
    // point, Exit writes it.
    void fileCommands()
    {
        Sheets h;
        FakeCommonDialog files;
        h.configure = [&](MainWindowEnv &env) { env.commonDialog = &files; };
        MainWindow &w = h.start();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        for (const char *command : {"openAction", "saveAsAction"}) {
            w.findChild<QComboBox *>(u"launcherBox"_s)->setFocus();
            action(w, QLatin1String(command))->trigger();
            QCOMPARE(QApplication::focusWidget(), textBox(w));
        }
        const QString path = h.tmp.filePath(u"t.txt"_s);
        files.answers = {path};
        action(w, u"saveAsAction"_s)->trigger();
        QTest::keyClicks(textBox(w), u"z"_s);
        QTest::keyClick(textBox(w), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(Harness::bytes(path), "zsheet 1\r\n"_ba);

        for (int sheet : {2, 3}) {
            h.selectTab(sheet);
            QTest::keyClicks(textBox(*h.window), u"typed "_s);
            action(*h.window, sheet == 2 ? u"exitWithoutSavingAction"_s : u"exitAction"_s)->trigger();
            QCOMPARE(h.ended, sheet - 1);
            QCOMPARE(textBox(h.start())->Text(), sheet == 2 ? u"sheet 2"_s : u"typed sheet 3"_s);
            QCOMPARE(h.window->sheets().currentSheet(), sheet);
        }
    }

    // A sheet that cannot be written keeps the user on it, and closing asks before losing it.
    void unwritableSheetKeepsUserOnIt()
    {
        Sheets h;
        MainWindow &w = h.start();
        h.block(1);
        textBox(w)->setText("precious");
        h.selectTab(2);
        QCOMPARE(h.dialogs.prompts(), QStringList{h.unwritable(1) + u"\nフォルダーです。"_s});
        QCOMPARE(tabStrip(w)->SelectedIndex(), 1);

        h.dialogs.answers = {MsgBoxResult::No};
        QVERIFY(!w.close());
        QCOMPARE(h.ended, 0);
        QVERIFY(h.dialogs.calls.size() == 2 && h.dialogs.calls[1].prompt.startsWith(h.unwritable(1)));
        QVERIFY(h.dialogs.calls[1].style & MsgBoxStyle::DefaultButton2); // Enter keeps the text

        // Once the file can be written again, the switch goes through.
        QVERIFY(QDir().rmdir(h.sheetPath(1)));
        h.selectTab(2);
        QCOMPARE(Harness::bytes(h.sheetPath(1)), "precious\r\n"_ba);

        h.block(2);
        textBox(w)->setText("given up");
        h.dialogs.answers = {MsgBoxResult::Yes};
        h.closeWindow();
        QCOMPARE(h.ended, 1);
        QCOMPARE(h.stored("q7", "File"), u"q7 Zibo q2"_s);
    }

    // A session end gives up an unwritable sheet without a question of its own, and ends the
    // program once even while the close question is open, whatever the answer.
    void sessionEndClosesWithoutWaiting_data()
    {
        QTest::addColumn<bool>("closing");
        QTest::addRow("no question asked") << false;
        QTest::addRow("during the close question") << true;
    }
    void sessionEndClosesWithoutWaiting()
    {
        QFETCH(bool, closing);
        Sheets h;
        h.dialogs.whileAsking = [&h] { h.window->endSession(); };
        h.dialogs.answers = {MsgBoxResult::No};
        MainWindow &w = h.start();
        h.block(1);
        textBox(w)->setText("typed");
        closing ? void(w.close()) : w.endSession();
        QCOMPARE(h.ended, 1);
        QCOMPARE(h.dialogs.calls.size(), int(closing));
        QVERIFY(!w.findChild<QTimer *>(u"tickTimer"_s)->isActive());
    }

    // What comes while a long edit lets events through waits for its end: the end of the
    // session closes the window with all of the edit written; text from the input method goes
    // where it would have gone after the edit.
    void eventsDuringALongEditWait_data()
    {
        QTest::addColumn<bool>("sessionEnds");
        QTest::addRow("the end of the session") << true;
        QTest::addRow("text from the input method") << false;
    }
    void eventsDuringALongEditWait()
    {
        QFETCH(bool, sessionEnds);
        const QString text = u"ab\r\n"_s.repeated(50);
        std::vector<std::pair<qsizetype, qsizetype>> edits;
        for (int i = 0; i < 50; ++i)
            edits.emplace_back(i * 4, 1);
        const auto commit = [](TextBox *box) {
            QInputMethodEvent e;
            e.setCommitString(u"Q"_s);
            QCoreApplication::sendEvent(box, &e);
        };
        TextBox reference;
        reference.setText(text);
        reference.replaceEach(edits, u"XY"_s);
        commit(&reference);

        Sheets h;
        MainWindow &w = h.start();
        TextBox *box = textBox(w);
        box->setText(text);
        box->setPauseEvery(0);
        QTimer::singleShot(0, &w, [&] { sessionEnds ? w.endSession() : commit(box); });
        box->replaceEach(edits, u"XY"_s);
        if (sessionEnds) {
            QCOMPARE(h.ended, 0);
            QTRY_COMPARE(h.ended, 1);
            QCOMPARE(Harness::bytes(h.sheetPath(1)), "XYb\r\n"_ba.repeated(50) + "\r\n");
        } else {
            QTRY_COMPARE(box->Text(), reference.Text());
        }
    }

    // Reading a large sheet and converting a large selection run beside the window: a timer
    // fires while the box still holds the text from before, and the end of the session asked
    // for then waits for the new text.
    void workBesideTheWindowLetsEventsThrough_data()
    {
        QTest::addColumn<bool>("reading");
        QTest::addRow("reading a sheet") << true;
        QTest::addRow("converting a selection") << false;
    }
    void workBesideTheWindowLetsEventsThrough()
    {
        QFETCH(bool, reading);
        Sheets h;
        const QByteArray big = "\x82\xc9\x82\xd9\x82\xf1\r\n"_ba.repeated(1 << 19); // にほん, 4 MB
        h.writeFile(h.sheetPath(2), big);
        MainWindow &w = h.start();
        TextBox *box = textBox(w);
        if (!reading) {
            h.selectTab(2);
            box->selectAll();
        }
        box->setPauseEvery(0);
        // The document itself: the box's text is kept from before until an edit is done.
        const QString before = box->toPlainText();
        QString seen;
        QTimer::singleShot(0, &w, [&] {
            seen = box->toPlainText();
            w.endSession();
        });
        reading ? h.selectTab(2) : action(w, u"toKatakanaAction"_s)->trigger();
        QCOMPARE(seen, before);
        QCOMPARE(h.ended, 0);
        QTRY_COMPARE(h.ended, 1);
        // The file's last line break is its end, not a line of the text.
        const QString lines = (reading ? u"にほん\r\n"_s : u"ニホン\r\n"_s).repeated(1 << 19);
        QCOMPARE(box->Text(), lines.chopped(2));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
