// The quick launcher and the registered applications, alone: a bare text box for the sheet, a
// recording desktop, a settings file of its own.
#include "../editor/fakehost.h"
#include "launcher/LauncherController.h"
#include "launcher/launchhistory.h"
#include "platform/shellopen.h"
#include "settings/frmOption.h"
#include "settings/settingsstore.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

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

struct Launcher {
    explicit Launcher(const QStringList &stored = {})
    {
        for (int i = 0; i < stored.size(); ++i)
            settings.write(SettingsKeys::LaunchHistory, stored[i], i);
        controller.load(settings);
    }
    QComboBox *box() const { return controller.launcherBox(); }
    QStringList history() const
    {
        QStringList out;
        for (int i = 0; i < box()->count(); ++i)
            out << box()->itemText(i);
        return out;
    }
    QStringList saved()
    {
        controller.save(settings);
        QStringList out;
        for (int i = 0; i < SettingsKeys::LaunchHistory.count; ++i)
            out << settings.read(SettingsKeys::LaunchHistory, u"(none)"_s, i);
        return out;
    }

    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(u"q7Zibo.conf"_s)};
    FakeHost host;
    FakeShell shell;
    Holders holders;
    LauncherController controller{host, &shell, holders};
};

} // namespace

class TestLauncherController : public QObject {
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

    // The text as typed goes to the desktop by the button, Enter and Ctrl+R alike, empty or not;
    // a failure is said and kept out of the history; the sheet gets the focus back. Gaps in the
    // stored history close up, and all ten keys are written back.
    void runningCommands()
    {
        Launcher l({u"first"_s, QString(), u"second"_s});
        QCOMPARE(l.box()->currentText(), u"first"_s);
        QVERIFY(l.controller.hasText());
        const int updates = l.host.stateUpdates;
        l.box()->setEditText(u" /opt/tool "_s);
        QVERIFY(l.host.stateUpdates > updates);  // the run button follows the text
        l.controller.runButton()->click();
        l.box()->setEditText(QString());
        QVERIFY(!l.controller.hasText());
        l.shell.missing = QStringList{QString(), u"nothing here"_s};
        l.controller.runLauncherAction()->trigger();
        l.box()->setEditText(u"nothing here"_s);
        QTest::keyClick(l.box(), Qt::Key_Return);
        QCOMPARE(l.shell.opened, (QStringList{" /opt/tool ", "", "nothing here"}));
        QCOMPARE(l.history(), (QStringList{"first", "second", " /opt/tool "}));
        QCOMPARE(l.box()->currentText(), u"nothing here"_s);
        QCOMPARE(l.host.dialogs.calls.size(), 2);
        QCOMPARE(l.host.dialogs.calls.last().prompt, u"実行できませんでした。"_s);
        QCOMPARE(l.host.dialogs.calls.last().title, u"q7_Zibo 簡易ﾗﾝﾁｬｰ"_s);
        QCOMPARE(l.host.dialogs.calls.last().style, MsgBoxStyle::Critical);
        QCOMPARE(l.saved(), (QStringList{"first", "second", " /opt/tool ", "", "", "", "", "", "", ""}));

        l.controller.clearLauncherHistoryAction()->trigger();
        QCOMPARE(l.history(), QStringList());
        QCOMPARE(l.saved(), QStringList(10, QString()));
    }

    // Focusing the box takes the sheet's selection as the command, unless it starts with a
    // blank; of dropped files the last is the command, and text is refused.
    void theBox()
    {
        Launcher l;
        l.host.widget.show();
        QVERIFY(QTest::qWaitForWindowActive(&l.host.widget));
        l.box()->setEditText(u"kept"_s);
        l.host.box.setText(u"x gedit"_s);
        for (const auto &[start, length, inBox] : {std::tuple{1, 6, "kept"}, {2, 0, "kept"}, {2, 5, "gedit"}}) {
            l.host.box.setFocus();
            l.host.box.select(start, length);
            l.controller.focusLauncherAction()->trigger();
            QTRY_VERIFY(l.controller.hasFocus());
            QCOMPARE(l.box()->currentText(), QString::fromLatin1(inBox));
        }
        l.controller.runButton()->click();
        QTRY_VERIFY(l.host.box.hasFocus());

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(u"/a/one.txt"_s), QUrl::fromLocalFile(u"/a/three.txt"_s)});
        QMimeData text;
        text.setText(u"typed by a drop"_s);
        for (QMimeData *data : {&files, &text}) {
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(l.box()->lineEdit(), &enter);
            QCOMPARE(enter.isAccepted(), data == &files);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(l.box()->lineEdit(), &drop);
        }
        QCOMPARE(l.box()->currentText(), QDir::toNativeSeparators(u"/a/three.txt"_s));
    }

    // Items show the name (or the path) cut to 20 characters, buttons the whole; a free slot's
    // item is hidden and its button asks for the options' launcher page. Neither touches the
    // history.
    void registeredApps()
    {
        Launcher l({u"first"_s});
        l.holders.apps[0] = {u"/usr/bin/app-with-a-long-program-name"_s, QString()};
        l.holders.apps[2] = {u"/opt/editor"_s, u"My favourite text editor"_s};
        l.controller.showRegisteredApps();
        QStringList shown;
        for (int i = 0; i < Holders::AppCount; ++i) {
            QAction *item = l.controller.registeredAppAction(i);
            shown << (item->isVisible() ? item->text() : u"(hidden)"_s) << l.controller.registeredAppButton(i)->toolTip();
        }
        QCOMPARE(shown, (QStringList{"/usr/bin/app-with-a-", "/usr/bin/app-with-a-long-program-name", "(hidden)",
                                     "設定なし", "My favourite text ed", "My favourite text editor"}));

        QSignalSpy options(&l.controller, &LauncherController::optionsRequested);
        l.shell.missing = QStringList{u"/opt/editor"_s};
        l.controller.registeredAppButton(1)->trigger();
        l.controller.registeredAppButton(2)->trigger();
        l.controller.registeredAppAction(0)->trigger();
        QCOMPARE(options.size(), 1);
        QCOMPARE(options.first().first().toInt(), int(frmOption::LauncherPage));
        QCOMPARE(l.shell.opened, (QStringList{"/opt/editor", "/usr/bin/app-with-a-long-program-name"}));
        QCOMPARE(l.host.dialogs.calls.size(), 1);
        QCOMPARE(l.host.dialogs.calls.last().title, u"q7_Zibo"_s);
        QCOMPARE(l.history(), QStringList{u"first"_s});

        l.holders.apps[0] = {};
        l.controller.showRegisteredApps();
        QVERIFY(!l.controller.registeredAppAction(0)->isVisible());
        QCOMPARE(l.controller.registeredAppButton(0)->toolTip(), u"設定なし"_s);
    }
};

QTEST_MAIN(TestLauncherController)
#include "tst_launchercontroller.moc"
