// The quick launcher and the registered applications, driven through the main window with a
// recording desktop.
#include "harness.h"
#include "launcher/launchhistory.h"
#include "platform/shellopen.h"
#include "settings/OptionsDialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

// Records every text handed to the desktop; the texts in missing are "not found".
class FakeShell final : public ShellOpen {
public:
    int open(const QString &text) override
    {
        opened << text;
        return missing.contains(text) ? NotFound : 42;
    }
    QStringList opened;
    QStringList missing;
};

struct LauncherHarness : Harness {
    LauncherHarness()
    {
        writeSheets();
        configure = [this](FrmMainEnv &env) { env.shell = &shell; };
    }
    QComboBox *combo() const { return window->findChild<QComboBox *>(u"Combo1"_s); }
    QStringList history() const
    {
        QStringList out;
        for (int i = 0; i < combo()->count(); ++i)
            out << combo()->itemText(i);
        return out;
    }
    FakeShell shell;
};

} // namespace

class TestLauncher : public QObject {
    Q_OBJECT
private slots:
    void historyRules_data()
    {
        QTest::addColumn<QStringList>("history");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("after");
        const QStringList ten = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
        QTest::addRow("new command appended last") << QStringList{"a"} << "b" << QStringList{"a", "b"};
        QTest::addRow("an equal one changes nothing") << QStringList{"a", "b"} << "a" << QStringList{"a", "b"};
        QTest::addRow("letter case makes it new") << QStringList{"calc"} << "Calc" << QStringList{"calc", "Calc"};
        QTest::addRow("the eleventh drops the oldest") << ten << "x" << ten.mid(1) + QStringList{"x"};
        QTest::addRow("the empty text counts as a free place") << QStringList{"a"} << "" << QStringList{"a"};
    }
    void historyRules()
    {
        QFETCH(QStringList, history);
        QFETCH(QString, command);
        QFETCH(QStringList, after);
        QCOMPARE(LaunchHistory::afterRun(history, command), after);
    }

    // Run by the button, Enter and Ctrl+R; a failure is said and kept out of the history, as are
    // the registered applications, whose items and buttons follow the stored ones (a free slot's
    // button opens the options). The history is stored at exit.
    void runningCommands()
    {
        LauncherHarness h;
        h.preset("Launch", "CMD0", "first");
        h.preset("Launch", "Bar0", "/usr/bin/app-with-a-long-program-name");
        h.preset("Launch", "Bar2", "/opt/editor");
        h.preset("Launch", "Name2", "My favourite text editor");
        frmMain &w = h.start();
        auto *run = w.findChild<QPushButton *>(u"cmdRun"_s);
        QVERIFY(run->isEnabled());
        h.combo()->setEditText(u"/opt/tool"_s);
        run->click();
        h.combo()->setEditText(QString());
        QVERIFY(!run->isEnabled());
        h.shell.missing = QStringList{QString(), u"nothing here"_s};
        action(w, "mnuToolM2")->trigger();  // Ctrl+R runs even with the button disabled
        h.combo()->setEditText(u"nothing here"_s);
        QTest::keyClick(h.combo(), Qt::Key_Return);
        QCOMPARE(h.shell.opened, (QStringList{"/opt/tool", "", "nothing here"}));
        QCOMPARE(h.history(), (QStringList{"first", "/opt/tool"}));
        QCOMPARE(h.combo()->currentText(), u"nothing here"_s);
        QCOMPARE(h.dialogs.calls.size(), 2);
        QCOMPARE(h.dialogs.calls.last().prompt, u"実行できませんでした。"_s);
        QCOMPARE(h.dialogs.calls.last().title, u"q7_Zibo 簡易ﾗﾝﾁｬｰ"_s);
        QCOMPARE(h.dialogs.calls.last().style, MsgBoxStyle::Critical);

        QVERIFY(action(w, "mnuApri0")->isVisible() && !action(w, "mnuApri1")->isVisible());
        QCOMPARE(action(w, "mnuApri0")->text(), u"/usr/bin/app-with-a-"_s);
        QCOMPARE(action(w, "mnuApri2")->text(), u"My favourite text ed"_s);
        QCOMPARE(w.toolbarButton(19)->toolTip(), u"/usr/bin/app-with-a-long-program-name"_s);
        QCOMPARE(w.toolbarButton(20)->toolTip(), u"設定なし"_s);
        QCOMPARE(w.toolbarButton(21)->toolTip(), u"My favourite text editor"_s);
        h.shell.opened.clear();
        h.shell.missing = QStringList{u"/opt/editor"_s};
        int page = -1;
        QTimer::singleShot(0, [&page] {
            if (auto *options = qobject_cast<OptionsDialog *>(QApplication::activeModalWidget())) {
                page = options->currentPage();
                options->reject();
            }
        });
        w.toolbarButton(20)->trigger();
        QCOMPARE(page, int(OptionsDialog::LauncherPage));
        w.toolbarButton(21)->trigger();
        action(w, "mnuApri0")->trigger();
        QCOMPARE(h.shell.opened, (QStringList{"/opt/editor", "/usr/bin/app-with-a-long-program-name"}));
        QCOMPARE(h.dialogs.calls.size(), 3);
        QCOMPARE(h.dialogs.calls.last().title, u"q7_Zibo"_s);
        QCOMPARE(h.history(), (QStringList{"first", "/opt/tool"}));
        h.closeWindow();
        QCOMPARE(h.stored("Launch", "CMD1"), u"/opt/tool"_s);
        QCOMPARE(h.stored("Launch", "CMD2"), QString());
    }

    // Ctrl+L takes the sheet's selection into the box, unless it starts with a blank; of dropped
    // files the last is the command, text is refused; a cleared history is stored cleared.
    void theBox()
    {
        LauncherHarness h;
        h.preset("Launch", "CMD0", "first");
        frmMain &w = h.start();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        h.combo()->setEditText(u"kept"_s);
        text1(w)->setText(u"x gedit"_s);
        for (const auto &[start, length, inBox] : {std::tuple{1, 6, "kept"}, {2, 0, "kept"}, {2, 5, "gedit"}}) {
            text1(w)->setFocus();
            text1(w)->select(start, length);
            QTest::keyClick(&w, Qt::Key_L, Qt::ControlModifier);
            QTRY_VERIFY(h.combo()->hasFocus());
            QCOMPARE(h.combo()->currentText(), QString::fromLatin1(inBox));
        }

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(u"/a/one.txt"_s), QUrl::fromLocalFile(u"/a/three.txt"_s)});
        QMimeData text;
        text.setText(u"typed by a drop"_s);
        for (QMimeData *data : {&files, &text}) {
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(h.combo()->lineEdit(), &enter);
            QCOMPARE(enter.isAccepted(), data == &files);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(h.combo()->lineEdit(), &drop);
        }
        QCOMPARE(h.combo()->currentText(), QDir::toNativeSeparators(u"/a/three.txt"_s));

        action(w, "mnuToolM4")->trigger();
        QCOMPARE(h.history(), QStringList());
        h.closeWindow();
        QCOMPARE(h.stored("Launch", "CMD0"), QString());
    }
};

QTEST_MAIN(TestLauncher)
#include "tst_launcher.moc"
