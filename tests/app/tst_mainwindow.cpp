// The main window driven offscreen, the wiring of its controllers, against real files in a
// temporary program directory and a temporary settings file.
#include "../commands/fakecommondialog.h"
#include "harness.h"
#include "settings/OptionsDialog.h"
#include "sheets/recoverycopies.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {
const QString CannotOpen = u"ファイルを開けません\n"_s;

QString unwritable(const Harness &h, int n) { return QDir::toNativeSeparators(h.sheetPath(n)) + u" に書き込めません。"_s; }

// Sheet 1 starts with a recovery copy to restore, and a short pause in typing writes a new one.
QString withRecoveryCopy(Harness &h)
{
    const QString state = h.tmp.filePath(u"state"_s), copy = RecoveryCopies(h.programDir, state).primaryPath(1);
    h.configure = [state](MainWindowEnv &env) {
        env.stateDir = state;
        env.idleDelayMs = 20;
    };
    h.writeFile(copy, "recovered\r\n");
    return copy;
}

// The enabled ones of the actions that follow the text, its selection and the clipboard.
QString enabledEditActions(const MainWindow &w)
{
    QStringList on;
    for (const char *name : {"copyAction", "deleteAction", "cutAction", "quoteSelectionAction", "quoteCopyAction", "toWideAction",
                             "toNarrowAction", "toKatakanaAction", "toHiraganaAction", "toUpperAction", "toLowerAction",
                             "capitaliseAction", "saveSelectionAction", "selectAllAction", "findAction", "pasteAction", "quotePasteAction"})
        if (action(w, QLatin1String(name))->isEnabled())
            on << QLatin1String(name);
    return on.join(u' ');
}

// What the window shows of the sheet's file: title, overwrite button, its tip.
QStringList captions(MainWindow &w)
{
    return {w.windowTitle(), w.toolbarButton(4)->isEnabled() ? "enabled" : "disabled", w.toolbarButton(4)->toolTip()};
}
const QStringList NoFile1 = {"q7 Zibo q1", "disabled", ""};

// The page the options dialog opened on; `inside` gets the dialog, which is otherwise cancelled.
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
    // Nothing asked, sheet 1 shown, nothing written to it; the exit writes every setting.
    void firstStartWithEmptyStore()
    {
        Harness h;
        MainWindow &w = h.start();
        QCOMPARE(captions(w) << textBox(w)->Text() << QString::number(textBox(w)->imeMode()) << QString::number(h.dialogs.calls.size()),
                 NoFile1 + QStringList({"sheet 1", "0", "0"}));
        // The toolbar: the buttons that share a menu item's action, those disabled at start.
        QString layout;
        for (QAction *a : w.findChild<QToolBar *>()->actions())
            layout += a->isSeparator() ? u"| "_s : a->objectName() + (a->isEnabled() ? u" "_s : u"(off) "_s);
        QCOMPARE(layout, u"newAction openAction saveAsAction tbr4(off) | tbr6 tbr7 copyAllAction tbr9 | tbr11 | undoAction(off) | "
                         "stampAction quoteSelectionAction(off) phraseAction | registeredAppButton0 registeredAppButton1 "
                         "registeredAppButton2 | optionsAction | helpAction | aboutAction | exitAction "_s);
        h.closeWindow();
        QCOMPARE(Harness::bytes(h.sheetPath(1)), "sheet 1\n"_ba); // unchanged, not written
        QStringList keys = QSettings(h.iniPath, QSettings::IniFormat).allKeys();
        keys.sort();
        QCOMPARE(keys.join(u' '), u"IME/IME Launch/Bar0 Launch/Bar1 Launch/Bar2 Launch/CMD0 Launch/CMD1 Launch/CMD2 Launch/CMD3 "
                                  "Launch/CMD4 Launch/CMD5 Launch/CMD6 Launch/CMD7 Launch/CMD8 Launch/CMD9 Launch/Name0 Launch/Name1 "
                                  "Launch/Name2 Open/File0 Open/File1 Open/File2 Open/File3 Open/File4 Open/File5 Open/File6 Size/Height "
                                  "Size/Left Size/Size1 Size/Size2 Size/Top Size/Width q7/BackColor q7/File q7/FontB q7/FontColor "
                                  "q7/FontI q7/FontName q7/FontSize q7/Inyouhu q7/X q7/XX q7/XXX q7/XXXX q7/q1 q7/q2 q7/q3 q7/q4 "
                                  "q7/q5 q7/q6 q7/q7"_s);
    }

    // Flags 1 restore the stored size and position, others centre the start size; a huge,
    // far-off window comes onto the screen.
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
        Harness h({{"Size", "Size1", flag}, {"Size", "Size2", flag}});
        for (int i = 0; i < stored.size(); ++i)
            h.preset("Size", QStringList{"Left", "Top", "Width", "Height"}[i], stored[i]);
        MainWindow &w = h.start();
        const QRect window(w.windowLeft(), w.windowTop(), w.windowWidth(), w.windowHeight());
        QVERIFY(!size.isEmpty() || QRect(-15, -15, w.screenWidthTwips() + 30, w.screenHeightTwips() + 30).contains(window));
        if (size.isEmpty())
            return;
        QCOMPARE(window.size(), size);
        QVERIFY(flag == u"1" ? window.topLeft() == QPoint(300, 450) : qAbs(window.x() - (w.screenWidthTwips() - size.width()) / 2) <= 15);
        h.closeWindow();
        QCOMPARE(u"%1 %2x%3 at %4,%5"_s.arg(h.stored("Size", "Size1"), h.stored("Size", "Width"), h.stored("Size", "Height"),
                                            h.stored("Size", "Left"), h.stored("Size", "Top")),
                 u"%1 %2x%3 at %4,%5"_s.arg(flag).arg(size.width()).arg(size.height()).arg(window.x()).arg(window.y()));
    }

    // Stored settings reach the sheet, the tabs and the launcher; each way in opens the options
    // on its own page, and what they apply reaches the window and the store.
    void storedSettingsAndOptions()
    {
        Harness h({{"q7", "FontSize", "14.5"}, {"q7", "FontColor", "255"}, {"q7", "BackColor", "16711680"},
                  {"q7", "FontB", "TRUE"}, {"q7", "FontI", "-1"}, {"q7", "XXXX", "9"}, {"q7", "X", "true"},
                  {"q7", "File", "q7 Zibo q4"}, {"q7", "q2", ""}, {"q7", "q3", QString(100000, u'x')},
                  {"IME", "IME", "false"}, {"Launch", "CMD0", "first"}, {"Launch", "CMD2", "second"}, {"Launch", "CMD5", "third"}});
        MainWindow &w = h.start();
        const QFont font = textBox(w)->font(), tabFont = tabStrip(w)->tabFont();
        const QPalette colours = textBox(w)->palette();
        QCOMPARE((QStringList{QString::number(font.pointSizeF()), u"%1%2"_s.arg(font.bold()).arg(font.italic()),
                              colours.color(QPalette::Text).name(), colours.color(QPalette::Base).name(),
                              u"%1 %2"_s.arg(tabFont.pointSizeF()).arg(tabFont.bold()), QString::number(tabStrip(w)->selectedIndex()),
                              textBox(w)->Text(), tabStrip(w)->caption(2), tabStrip(w)->caption(3), QString::number(textBox(w)->imeMode())}),
                 (QStringList{"14.5", "11", "#ff0000", "#0000ff", "9 1", "4", "sheet 4", "", QString(Holders::MaxCaptionLength, u'x'), "4"}));
        auto *run = w.findChild<QPushButton *>(u"runButton"_s);
        QVERIFY(run->isEnabled());  // the launcher shows "first"
        w.findChild<QComboBox *>(u"launcherBox"_s)->setEditText(QString());
        QVERIFY(!run->isEnabled());
        QCOMPARE(optionsPage([&] { action(w, "aboutAction")->trigger(); }), 3);
        QCOMPARE(optionsPage([&] { w.toolbarButton(19)->trigger(); }), 2);  // a free slot's button
        const int page = optionsPage([&] { action(w, "optionsAction")->trigger(); }, [](OptionsDialog &options) {
            options.findChild<QLineEdit *>(u"tabCaptionEdit0"_s)->setText(u"メモ"_s);
            options.findChild<QLineEdit *>(u"appPathEdit1"_s)->setText(u"/opt/tool"_s);
            options.findChild<QPushButton *>(u"okButton"_s)->click();
        });
        QCOMPARE(u"%1 %2 %3 %4"_s.arg(page).arg(tabStrip(w)->caption(1)).arg(action(w, "registeredAppAction1")->isVisible())
                     .arg(w.toolbarButton(20)->toolTip()), u"0 メモ 1 /opt/tool"_s);
        QCOMPARE(optionsPage([&] {
            QTest::mouseClick(tabStrip(w)->bar(), Qt::RightButton);
            QVERIFY(w.findChild<QMenu *>(u"tabMenu"_s)->isVisible());
            action(w, "tabSettingsAction")->trigger();
        }, [](OptionsDialog &options) {
            options.findChild<QComboBox *>(u"tabFontSizeBox"_s)->setEditText(u"20"_s);
            options.findChild<QPushButton *>(u"okButton"_s)->click();
        }), 1);
        // A larger tab font lays the window out again: the bar scrolls its tabs within the strip,
        // and the text box moves down below them.
        const TabStrip *strip = tabStrip(w);
        QVERIFY(strip->bar()->width() == strip->width() && textBox(w)->y() >= strip->y() + strip->bar()->height());
        h.closeWindow();
        QCOMPARE(h.stored("Launch", "CMD1") + u'|' + h.stored("Launch", "CMD5") + u'|' + h.stored("q7", "q1") + u' ' + h.stored("Launch", "Bar1")
                     + u' ' + h.stored("Launch", "Name1"),
                 u"second||メモ /opt/tool /opt/tool"_s);
    }

    // The file named on the command line goes into sheet 1, whichever sheet was last in use, and
    // is never written; one not read leaves sheet 1's text and is not kept.
    void commandLine_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("startDir"); // empty: the argument is made absolute
        QTest::addColumn<QString>("message"); // empty: opened
        QTest::addRow("absolute path") << "work/a b.txt" << "" << "";
        QTest::addRow("relative path from the start directory") << "a b.txt" << "work" << "";
        QTest::addRow("missing file") << "work/none.txt" << "" << CannotOpen + u"ファイルが見つかりません。"_s;
        QTest::addRow("a name the system cannot decode") << "work/a b.txt" << ""
            << CannotOpen + u"ファイル名に、この環境の文字コードで表せないバイトがあります。"_s;
    }
    void commandLine()
    {
        QFETCH(QString, argument);
        QFETCH(QString, startDir);
        QFETCH(QString, message);
        const bool opened = message.isEmpty();
        Harness h({{"q7", "File", "q7 Zibo q5"}});
        if (message.contains(u"バイト"_s)) // the name was undecodable
            h.configure = [](MainWindowEnv &env) { env.commandLineNameUnusable = true; };
        QDir().mkpath(h.tmp.filePath("work"));
        h.writeFile(h.tmp.filePath("work/a b.txt"), "\r\nfrom outside\r\nline 2\r\n");
        const QString path = h.tmp.filePath(startDir.isEmpty() ? argument : startDir + u'/' + argument);
        const QByteArray before = Harness::bytes(path);
        MainWindow &w = h.start(startDir.isEmpty() ? path : argument, startDir.isEmpty() ? "" : h.tmp.filePath(startDir));
        QCOMPARE(captions(w) << textBox(w)->Text() << QString::number(tabStrip(w)->selectedIndex()) << h.dialogs.prompts(),
                 (opened ? QStringList{"q7 Zibo q1 - " + path, "enabled", "上書き保存－" + path, "from outside\r\nline 2", "1"}
                         : NoFile1 + QStringList{"sheet 1", "1", message}));
        h.closeWindow();
        QCOMPARE(Harness::bytes(h.sheetPath(1)) + Harness::bytes(path) + h.stored("Open", "File0").toUtf8(),
                 (opened ? "from outside\r\nline 2\r\n"_ba : "sheet 1\n"_ba) + before + (opened ? path.toUtf8() : ""_ba));
    }

    // A cancelled file dialog gives the focus back to the text. The next start shows the last sheet: Exit without saving keeps its save point, Exit writes it.
    void fileCommands()
    {
        Harness h;
        FakeCommonDialog files;
        h.configure = [&](MainWindowEnv &env) { env.commonDialog = &files; };
        MainWindow &w = h.start();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        for (const char *command : {"openAction", "saveAsAction"}) {
            w.findChild<QComboBox *>(u"launcherBox"_s)->setFocus();
            action(w, QLatin1String(command))->trigger();
            QCOMPARE(QApplication::focusWidget(), textBox(w));
        }
        for (int sheet : {2, 3}) {
            h.selectTab(sheet);
            QTest::keyClicks(textBox(*h.window), u"typed "_s);
            action(*h.window, sheet == 2 ? u"exitWithoutSavingAction"_s : u"exitAction"_s)->trigger();
            QCOMPARE(h.ended, sheet - 1);
            QCOMPARE(textBox(h.start())->Text(), sheet == 2 ? u"sheet 2"_s : u"typed sheet 3"_s);
            QCOMPARE(h.window->sheets().currentSheet(), sheet);
        }
    }

    // What comes during long work waits for its end: a session end closes with it done,
    // input-method text goes after it; meanwhile the box holds the text from before.
    void eventsDuringLongWorkWait_data()
    {
        QTest::addColumn<QString>("work"); // replace-all meets input-method text, the others a session end
        QTest::addRow("replace-all, text from the input method") << "replace";
        QTest::addRow("reading a sheet, the session ends") << "read";
        QTest::addRow("converting a selection, the session ends") << "convert";
    }
    void eventsDuringLongWorkWait()
    {
        QFETCH(QString, work);
        Harness h;
        h.writeFile(h.sheetPath(2), "\x82\xc9\x82\xd9\x82\xf1\r\n"_ba.repeated(1 << 19)); // にほん, 4 MB
        MainWindow &w = h.start();
        TextBox *box = textBox(w);
        std::vector<std::pair<qsizetype, qsizetype>> edits;
        if (work == u"replace") {
            box->setText(u"ab\r\n"_s.repeated(50));
            for (int i = 0; i < 50; ++i)
                edits.emplace_back(i * 4, 1);
        } else if (work == u"convert") {
            h.selectTab(2);
            box->selectAll();
        }
        box->setPauseEvery(0);
        const QString before = box->toPlainText();
        QString seen;
        QTimer::singleShot(0, &w, [&] {
            seen = box->toPlainText();
            if (work != u"replace")
                return w.endSession();
            QInputMethodEvent e;
            e.setCommitString(u"Q"_s);
            QCoreApplication::sendEvent(box, &e);
        });
        if (work == u"replace")
            box->replaceEach(edits, u"XY"_s);
        else
            work == u"read" ? h.selectTab(2) : action(w, u"toKatakanaAction"_s)->trigger();
        QCOMPARE(h.ended, 0);
        if (work == u"replace") { // the caret after the first
            QTRY_COMPARE(box->Text(), u"XYQb\r\n"_s + u"XYb\r\n"_s.repeated(49));
            return;
        }
        QCOMPARE(seen, before);
        QTRY_COMPARE(h.ended, 1);
        // The file's last line break is its end, not a line of the text.
        QCOMPARE(box->Text(), (work == u"read" ? u"にほん\r\n"_s : u"ニホン\r\n"_s).repeated(1 << 19).chopped(2));
    }

    // The Edit keys go through the menu items, whose states follow with the menus closed; the
    // tick shows line and column and turns the date; a note waits while the launcher box has focus.
    void editCommandsAndStatusBar()
    {
        QDateTime clock(QDate(1998, 10, 5), QTime(23, 59, 59, 950));
        Harness h;
        withRecoveryCopy(h);
        h.configure = [&clock, recovery = h.configure](MainWindowEnv &env) {
            recovery(env);
            env.now = [&clock] { return clock; };
        };
        MainWindow &w = h.start();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        textBox(w)->setFocus();
        // From "abc" of "abc def" selected, "clip" copied: text|clipboard|selection|item's runs.
        const auto press = [&](Qt::Key key, const char *item) {
            textBox(w)->setText(u"abc def"_s);
            textBox(w)->select(0, 3);
            QApplication::clipboard()->setText(u"clip"_s);
            QSignalSpy spy(action(w, QLatin1String(item)), &QAction::triggered);
            QTest::keyClick(textBox(w), key, Qt::ControlModifier);
            return u"%1|%2|%3|%4"_s.arg(textBox(w)->Text(), QApplication::clipboard()->text()).arg(textBox(w)->SelLength()).arg(spy.count());
        };
        QCOMPARE((QStringList{press(Qt::Key_X, "cutAction"), press(Qt::Key_C, "copyAction"), press(Qt::Key_V, "pasteAction"),
                              press(Qt::Key_A, "selectAllAction")}),
                 (QStringList{u" def|abc|0|1"_s, u"abc def|abc|3|1"_s, u"clip def|clip|0|1"_s, u"abc def|clip|7|1"_s}));
        // No snapshot of an empty text: the box's own step takes F5's stamp back, through the menu.
        textBox(w)->setText(QString());
        QTest::keyClick(textBox(w), Qt::Key_F5);
        QSignalSpy undo(action(w, u"undoAction"_s), &QAction::triggered);
        QTest::keyClick(textBox(w), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(QString::number(undo.count()) + textBox(w)->Text(), u"1"_s);

        // Each state turns on and off in turn: a selection with an image (no text) copied, none, no text.
        QStringList seen;
        for (const auto &[text, selLength] : {std::pair{u"abc"_s, 1}, {u"abc"_s, 0}, {u""_s, 0}, {u"abc"_s, 1}}) {
            auto *data = new QMimeData;
            selLength ? data->setImageData(QImage(2, 2, QImage::Format_RGB32)) : data->setText(u"clip"_s);
            QApplication::clipboard()->setMimeData(data);
            textBox(w)->setText(text);
            textBox(w)->select(0, selLength);
            seen << enabledEditActions(w);
        }
        const QString noSelection = u"selectAllAction findAction pasteAction quotePasteAction"_s, empty = u"pasteAction quotePasteAction"_s,
                      selection = u"copyAction deleteAction cutAction quoteSelectionAction quoteCopyAction toWideAction toNarrowAction "
                                  "toKatakanaAction toHiraganaAction toUpperAction toLowerAction capitaliseAction saveSelectionAction "
                                  "selectAllAction findAction"_s;
        QCOMPARE(seen, (QStringList{selection, noSelection, empty, selection}));

        const auto tick = [&w] { QMetaObject::invokeMethod(w.findChild<QTimer *>(u"tickTimer"_s), "timeout"); };
        QString ticked;
        for (const auto &[text, start, length] : {std::tuple{u"ab\r\ncdef"_s, 1, 6}, std::tuple{u"a\nbc"_s, 4, 0}}) {
            textBox(w)->setText(text);
            textBox(w)->select(start, length);
            tick();
            ticked += statusPanel(w, 2)->text() + (w.toolbarButton(16)->isEnabled() ? u" quote|"_s : u"|"_s);
        }
        clock = clock.addMSecs(100);
        const QString before = statusPanel(w, 3)->text();
        tick();
        QCOMPARE(ticked + before + u'|' + statusPanel(w, 3)->text(), u"   1 :    4 quote|   1 :    5|1998/10/05|1998/10/06"_s);

        auto *bar = w.findChild<QStatusBar *>(u"statusBar"_s);
        textBox(w)->insertPlainText(u"☃"_s);
        w.findChild<QComboBox *>(u"launcherBox"_s)->setFocus();
        QTRY_COMPARE(statusPanel(w, 3)->toolTip(), u"保存時の文字コード: UTF-8 (BOM 付き)"_s);
        QTest::qWait(100);
        QCOMPARE(bar->currentMessage(), QString());
        textBox(w)->setFocus();
        QTest::keyClicks(textBox(w), u"a"_s);
        QTRY_VERIFY(bar->currentMessage().contains(u"Shift_JIS"_s));
    }

    // The last of the files dropped goes into the current sheet, one not read changes nothing,
    // text is refused. The captions show no file for a sheet whose own file cannot be read.
    void dropsAndCaptions()
    {
        Harness h({{"Open", "File0", "/memo/kept.txt"}, {"Open", "File3", "/memo/b.txt"}});
        QVERIFY(QFile::remove(h.sheetPath(4)));
        MainWindow &w = h.start();
        for (QWidget *target : std::initializer_list<QWidget *>{textBox(w)->viewport(), tabStrip(w)->bar(),
                                                                w.findChild<QStatusBar *>(), w.findChild<QToolBar *>()}) {
            while (target && !target->acceptDrops())
                target = target->parentWidget();
            QCOMPARE(target, &w);
        }
        h.writeFile(h.tmp.filePath(u"one.txt"_s), "one\r\n");
        h.writeFile(h.tmp.filePath(u"three.txt"_s), "three\r\n");
        QDir().mkdir(h.tmp.filePath(u"folder"_s));
        QStringList seen;
        for (const QString &last : {u""_s, u"folder"_s, u"three.txt"_s}) { // the third of three files; empty: text dragged
            QMimeData data;
            if (last.isEmpty())
                data.setText(u"dragged words"_s);
            else
                data.setUrls({QUrl::fromLocalFile(h.tmp.filePath(u"one.txt"_s)), QUrl::fromLocalFile(h.tmp.filePath(u"two.txt"_s)),
                              QUrl::fromLocalFile(h.tmp.filePath(last))});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&w, &enter);
            QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            if (enter.isAccepted())
                QApplication::sendEvent(&w, &dropped);
            seen << u"%1 %2 %3 %4 %5 %6"_s.arg(enter.isAccepted()).arg(textBox(w)->Text()).arg(w.sheets().changed())
                        .arg(w.sheets().openedFile(1), w.windowTitle()).arg(h.dialogs.calls.size());
        }
        const QString third = h.tmp.filePath(u"three.txt"_s);
        QCOMPARE(seen, (QStringList{u"0 sheet 1 0 /memo/kept.txt q7 Zibo q1 - /memo/kept.txt 0"_s,
                                    u"1 sheet 1 0 /memo/kept.txt q7 Zibo q1 - /memo/kept.txt 1"_s,
                                    u"1 three 1 %1 q7 Zibo q1 - %1 1"_s.arg(third)}));
        h.selectTab(4);
        QCOMPARE(captions(w) << Harness::bytes(h.sheetPath(1)), (QStringList{"q7 Zibo q4", "disabled", "", "three\r\n"}));
    }

    // Leaving the sheet removes its recovery copy. An unwritable sheet keeps the user on it,
    // closing asks (Enter: No); the copy stays, and a session end asks nothing and ends once.
    void leavingTheSheet_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("outcome"); // the recovery copy, the program's ends, the tab, the questions
        QTest::addRow("leaving the sheet") << "tab" << true << "removed, ended 0, tab 2, asked , ticking";
        QTest::addRow("exit without saving") << "exitWithoutSavingAction" << true << "removed, ended 1, tab 1, asked ";
        QTest::addRow("unwritable: leaving the sheet is refused") << "tab" << false << "kept, ended 0, tab 1, asked write, ticking";
        QTest::addRow("unwritable: the session ends") << "session" << false << "kept, ended 1, tab 1, asked ";
        QTest::addRow("unwritable: closing, answered Yes") << "Yes" << false << "removed, ended 1, tab 1, asked close";
        QTest::addRow("unwritable: closing, answered No") << "No" << false << "kept, ended 0, tab 1, asked close, ticking";
        QTest::addRow("unwritable: the session ends during the close question") << "session while asking" << false
                                                                                << "kept, ended 1, tab 1, asked close";
    }
    void leavingTheSheet()
    {
        QFETCH(QString, how);
        QFETCH(bool, writable);
        Harness h;
        const QString copy = withRecoveryCopy(h);
        MainWindow &w = h.start();
        h.dialogs.calls.clear(); // the restore's question
        if (!writable) // a folder where the sheet file was: neither read nor written
            QVERIFY(QFile::remove(h.sheetPath(1)) && QDir().mkdir(h.sheetPath(1)));
        QTest::keyClicks(textBox(w), u"typed "_s);
        if (writable)
            QTRY_COMPARE(Harness::bytes(copy), "typed recovered\r\n"_ba);
        if (how == u"session while asking")
            h.dialogs.whileAsking = [&w] { w.endSession(); };
        h.dialogs.answers = {how == u"Yes" ? QMessageBox::Yes : QMessageBox::No};
        how == u"tab" ? h.selectTab(2) : how == u"session" ? w.endSession() : how.startsWith(u"exit") ? action(w, how)->trigger()
                                                                                                         : void(w.close());
        QTest::qWait(100);
        const QByteArray kept = Harness::bytes(copy);
        QVERIFY(kept == "<missing>" || kept == "typed recovered\r\n");
        QStringList asked; // the failed write said, the close question with No as Enter's answer
        for (const FakeDialogs::Call &c : h.dialogs.calls)
            asked << (c.prompt == unwritable(h, 1) + u"\nフォルダーです。"_s ? u"write"_s
                      : c.prompt.startsWith(unwritable(h, 1)) && c.style.defaultButton == QMessageBox::No ? u"close"_s : c.prompt);
        QTEST(u"%1, ended %2, tab %3, asked %4"_s.arg(kept == "<missing>" ? u"removed"_s : u"kept"_s).arg(h.ended)
                         .arg(tabStrip(w)->selectedIndex()).arg(asked.join(u'+'))
                  + (w.findChild<QTimer *>(u"tickTimer"_s)->isActive() ? u", ticking"_s : u""_s),
              "outcome");
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
