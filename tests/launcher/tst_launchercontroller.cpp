// The quick launcher and the registered applications, alone: a bare text box for the sheet, a
// recording desktop, a settings file of its own.
#include "../editor/fakehost.h"
#include "launcher/LauncherController.h"
#include "launcher/launchhistory.h"
#include "platform/shellopen.h"
#include "settings/settingsstore.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Records every text handed to the desktop; the texts in missing are "not found".
struct FakeShell final : ShellOpen {
    int open(const QString &text) override { return opened << text, missing.contains(text) ? NotFound : 42; }
    QStringList opened, missing;
};

struct Launcher {
    explicit Launcher(const QStringList &stored = {})
    {
        for (int i = 0; i < stored.size(); ++i)
            settings.write(SettingsKeys::LaunchHistory, stored[i], i);
        controller.load(settings);
    }
    QComboBox *box() const { return controller.launcherBox(); }
    // The box's list, then what the store holds after a save, all ten keys.
    QString history()
    {
        QStringList out;
        for (int i = 0; i < box()->count(); ++i)
            out << box()->itemText(i);
        controller.save(settings);
        out << u"saved:"_s;
        for (int i = 0; i < SettingsKeys::LaunchHistory.count; ++i)
            out << settings.read(SettingsKeys::LaunchHistory, u"(none)"_s, i);
        return out.join(u'|');
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
    // Appending is shown by runningCommands; here what keeps the history as it is or drops from it.
    void historyRules()
    {
        using LaunchHistory::afterRun;
        const QStringList ten = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
        // A repeat is not added again, letter case counts, the oldest of ten goes, a free place holds the empty text.
        const QList<QStringList> got{afterRun({"a", "b"}, "a"), afterRun({"calc"}, "Calc"), afterRun(ten, "x"), afterRun({"a"}, "")};
        QCOMPARE(got, (QList<QStringList>{{"a", "b"}, {"calc", "Calc"}, ten.mid(1) + QStringList{"x"}, {"a"}}));
    }

    // The text as typed goes to the desktop by the button, Enter and Ctrl+R alike; Ctrl+R runs
    // an empty box too, Enter presses the disabled button (a no-op). A failure is said and kept
    // out of the history. Gaps in the stored history close up, and all ten keys are written back.
    void runningCommands()
    {
        Launcher l({u"first"_s, QString(), u"second"_s});
        QCOMPARE(l.box()->currentText(), u"first"_s);
        l.box()->setEditText(u" /opt/tool "_s);
        l.controller.runButton()->click();
        l.box()->setEditText(QString());
        l.controller.runButton()->setEnabled(false);  // as the window's rule has it for an empty box
        QTest::keyClick(l.box(), Qt::Key_Return);
        l.shell.missing = QStringList{QString(), u"nothing here"_s};
        l.controller.runLauncherAction()->trigger();
        l.controller.runButton()->setEnabled(true);
        l.box()->setEditText(u"nothing here"_s);
        QTest::keyClick(l.box(), Qt::Key_Return);
        QCOMPARE(l.shell.opened, (QStringList{" /opt/tool ", "", "nothing here"}));
        QCOMPARE(l.history(), u"first|second| /opt/tool |saved:|first|second| /opt/tool |||||||"_s);
        QCOMPARE(l.box()->currentText(), u"nothing here"_s);
        QCOMPARE(l.host.dialogs.prompts(), QStringList(2, u"実行できませんでした。"_s));
        QCOMPARE(l.host.dialogs.calls.last().title, u"q7_Zibo 簡易ﾗﾝﾁｬｰ"_s);
        QCOMPARE(l.host.dialogs.calls.last().style.icon, QMessageBox::Critical);
        l.controller.clearLauncherHistoryAction()->trigger();
        QCOMPARE(l.history(), u"saved:||||||||||"_s);
    }

    // Focusing the box takes the sheet's selection as the command, unless it starts with a
    // blank; what is typed runs as typed, never completed from the history, and running gives
    // the sheet the focus back; of files dropped on its text or its
    // arrow the last is the command, and text is refused.
    void theBox()
    {
        Launcher l({u"first"_s});
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
        l.box()->clearEditText();
        QTest::keyClicks(l.box(), u"fir"_s);
        QTest::keyClick(l.box(), Qt::Key_Return);
        QCOMPARE(l.shell.opened, QStringList{u"fir"_s});
        QTRY_VERIFY(l.host.box.hasFocus());

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(u"/a/one.txt"_s), QUrl::fromLocalFile(u"/a/three.txt"_s)});
        QMimeData text;
        text.setText(u"typed by a drop"_s);
        for (QWidget *target : {static_cast<QWidget *>(l.box()->lineEdit()), static_cast<QWidget *>(l.box())}) {
            l.box()->setEditText(u"kept"_s);
            for (QMimeData *data : {&files, &text}) {
                QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(target, &enter);
                QCOMPARE(enter.isAccepted(), data == &files);
                QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(target, &drop);
            }
            QVERIFY(target->acceptDrops());  // or a real drop would go past it to the window
            QCOMPARE(l.box()->currentText(), QDir::toNativeSeparators(u"/a/three.txt"_s));
        }
    }

    // Items show the name (or the path) cut to 20 characters, buttons the whole; a free slot's
    // item is hidden and its button runs nothing (it opens the options: tst_mainwindow).
    void registeredApps()
    {
        Launcher l;
        l.holders.apps[0] = {u"/usr/bin/app-with-a-long-program-name"_s, QString()};
        l.holders.apps[2] = {u"/opt/editor"_s, u"My favourite text editor"_s};
        l.controller.showRegisteredApps();
        QStringList shown;
        for (int i = 0; i < Holders::AppCount; ++i)
            shown << (l.controller.registeredAppAction(i)->isVisible() ? l.controller.registeredAppAction(i)->text() : u"(hidden)"_s)
                  << l.controller.registeredAppButton(i)->toolTip();
        QCOMPARE(shown, (QStringList{"/usr/bin/app-with-a-", "/usr/bin/app-with-a-long-program-name", "(hidden)",
                                     "設定なし", "My favourite text ed", "My favourite text editor"}));

        l.shell.missing = QStringList{u"/opt/editor"_s};
        for (QAction *a : {l.controller.registeredAppButton(1), l.controller.registeredAppButton(2), l.controller.registeredAppAction(0)})
            a->trigger();
        QCOMPARE(l.shell.opened, (QStringList{"/opt/editor", "/usr/bin/app-with-a-long-program-name"}));
        QCOMPARE(l.host.dialogs.calls.constLast().title, u"q7_Zibo"_s);
        l.holders.apps[0] = {};  // freed in the options
        l.controller.showRegisteredApps();
        QVERIFY(!l.controller.registeredAppAction(0)->isVisible());
        QCOMPARE(l.controller.registeredAppButton(0)->toolTip(), u"設定なし"_s);
    }
};

QTEST_MAIN(TestLauncherController)
#include "tst_launchercontroller.moc"
