// A second start of the real program against a running window: it hands its request over
// through the local socket and ends; the window takes the file as a start would.
#include "app/singleinstance.h"
#include "app/singleinstance_handover.h"
#include "harness.h"

#include <QDialog>
#include <QDirIterator>
#include <QProcess>

#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A socket file nobody answers on, as a copy that was killed leaves behind.
void leaveStaleSocket(const QString &name)
{
    const QByteArray path = QFile::encodeName(name);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    QVERIFY(size_t(path.size()) < sizeof address.sun_path);
    std::memcpy(address.sun_path, path.constData(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0);
    ::close(fd);
}

} // namespace

class TstHandOver : public QObject {
    Q_OBJECT

    // An installed copy of the program with its own data, runtime and settings folders, which
    // the second start finds through the environment it inherits.
    QTemporaryDir root_;
    QString program_;
    QString dataDir_;

    std::unique_ptr<Harness> h_;
    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<HandOverServer> server_;

    QString path(const QString &name) const { return root_.filePath(name); }
    // Everything in the folders a second start could write to, with each file's size and time
    // of its last write.
    QStringList listing() const
    {
        QStringList entries;
        for (const QString &dir : {dataDir_, path("bin"), path("config"), path("state")}) {
            QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QFileInfo info = it.nextFileInfo();
                entries << u"%1 %2 %3"_s.arg(info.filePath()).arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
            }
        }
        entries.sort();
        return entries;
    }

    // The window of the running copy, with the lock and the socket that copy holds.
    MainWindow &startWindow()
    {
        h_ = std::make_unique<Harness>();
        h_->programDir = dataDir_;
        h_->writeSheets();
        instance_ = std::make_unique<SingleInstance>(dataDir_);
        if (!instance_->tryAcquire())
            qFatal("lock not taken");
        MainWindow &w = h_->start();
        server_ = std::make_unique<HandOverServer>(dataDir_);
        connect(server_.get(), &HandOverServer::requested, &w, &MainWindow::takeHandOver);
        w.openForHandOvers();
        return w;
    }

    // Starts the program a second time from "cwd", letting the window run; its exit code.
    int secondStart(const QStringList &arguments = {})
    {
        QProcess second;
        second.setWorkingDirectory(path("cwd"));
        second.setProcessChannelMode(QProcess::ForwardedChannels);
        second.start(program_, arguments);
        // Still running: it came up as a copy of its own.
        const bool ended = second.waitForStarted()
            && QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 20000);
        return ended && second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root_.isValid());
        for (const char *dir : {"bin", "share/q7zibo", "data", "run", "config", "state", "cwd"})
            QVERIFY(QDir().mkpath(path(dir)));
        program_ = path("bin/q7zibo");
        QVERIFY(QFile::copy(QStringLiteral(Q7_PROGRAM), program_));
        QFile(path("share/q7zibo/q7Zibo.hlp")).open(QIODevice::WriteOnly);
        QFile::setPermissions(path("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_DATA_HOME", QFile::encodeName(path("data")));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path("run")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path("config")));
        qputenv("XDG_STATE_HOME", QFile::encodeName(path("state")));
        dataDir_ = path("data/q7Zibo");
        QVERIFY(QDir().mkpath(dataDir_));
    }

    // A socket left by a killed copy gives way. Without a file the window only comes back from
    // the task bar and the second copy writes nothing. A file named relative to where the second
    // copy started goes into sheet 1 once an open question is answered, after the sheet being
    // left was written; one that cannot be read changes nothing.
    void handOver()
    {
        leaveStaleSocket(handOverSocketName(dataDir_));
        QVERIFY(QFileInfo::exists(handOverSocketName(dataDir_)));
        MainWindow &w = startWindow();
        QVERIFY(server_->listen());
        w.showMinimized();
        QTRY_VERIFY(w.isMinimized());
        const QStringList before = listing();
        QCOMPARE(secondStart(), 0);
        QTRY_VERIFY(!w.isMinimized());
        QCOMPARE(listing(), before);
        QCOMPARE(h_->dialogs.prompts(), QStringList());

        h_->selectTab(3);
        QTest::keyClicks(textBox(w), "x");
        QCOMPARE(secondStart({"memo", "1.txt"}), 0);
        QTRY_COMPARE(h_->dialogs.prompts(), QStringList{u"ファイルを開けません\nファイルが見つかりません。"_s});
        QCOMPARE(tabStrip(w)->SelectedIndex(), 3);
        QCOMPARE(w.sheets().openedFile(1), QString());

        h_->writeFile(path("cwd/memo 1.txt"), "from a file \x87\x9a\r\n"); // ∵ in its NEC code
        QDialog question(&w);
        question.setModal(true);
        question.show();
        QTRY_COMPARE(QApplication::activeModalWidget(), &question);
        QCOMPARE(secondStart({"memo", "1.txt"}), 0);
        QTest::qWait(500);
        QCOMPARE(tabStrip(w)->SelectedIndex(), 3);
        question.accept();
        QTRY_COMPARE(tabStrip(w)->SelectedIndex(), 1);
        QCOMPARE(Harness::bytes(h_->sheetPath(3)), "xsheet 3\r\n"_ba);
        QCOMPARE(textBox(w)->Text(), u"from a file ∵"_s);
        QCOMPARE(w.sheets().openedFile(1), path("cwd/memo 1.txt"));
        QCOMPARE(w.windowTitle(), u"q7 Zibo q1 - "_s + path("cwd/memo 1.txt"));
        QCOMPARE(h_->dialogs.calls.size(), 1);
        // Sheet 1's own file takes the text when the sheet is left, as after a start.
        h_->selectTab(2);
        QCOMPARE(Harness::bytes(h_->sheetPath(1)), "from a file \x87\x9a\r\n"_ba);
    }
};

QTEST_MAIN(TstHandOver)
#include "tst_handover.moc"
