// A second start of the real program against a running window: it hands its request over
// through the local socket and ends; the window takes the file as a start would.
#include "app/singleinstance.h"
#include "app/singleinstance_handover.h"
#include "harness.h"

#include <QDialog>
#include <QDirIterator>
#include <QLocalSocket>
#include <QProcess>

using namespace Qt::StringLiterals;

// The running copy: its window in the data folder, the lock and the socket.
struct RunningCopy {
    explicit RunningCopy(const QString &dataDir) : instance(dataDir), server(dataDir)
    {
        h.programDir = dataDir;
        h.writeSheets();
        QVERIFY(instance.tryAcquire());
        QObject::connect(&server, &HandOverServer::requested, &h.start(), &MainWindow::takeHandOver);
        h.window->openForHandOvers();
        QVERIFY(server.listen());
    }
    Harness h;
    SingleInstance instance;
    HandOverServer server;
};

class TstHandOver : public QObject {
    Q_OBJECT

    // An installed copy with data, runtime and settings folders the second start inherits.
    QTemporaryDir root_;
    QString program_;
    QString dataDir_;

    QString path(const QString &name) const { return root_.filePath(name); }
    // Everything a second start could write to, with each file's size and time of its last write.
    QStringList listing() const
    {
        QStringList entries;
        QDirIterator it(root_.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info = it.nextFileInfo();
            entries << u"%1 %2 %3"_s.arg(info.filePath()).arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
        }
        entries.sort();
        return entries;
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

    // A killed copy's socket gives way. Without a file the window comes back and nothing is
    // written; a file named relative to the second start goes into sheet 1 once an open question
    // is answered, after the sheet left was written.
    void handOver()
    {
        QVERIFY(QFile(handOverSocketName(dataDir_)).open(QIODevice::WriteOnly));
        RunningCopy running(dataDir_);
        Harness &h = running.h;
        MainWindow &w = *h.window;
        w.showMinimized();
        QTRY_VERIFY(w.isMinimized());
        const QStringList before = listing();
        QCOMPARE(secondStart(), 0);
        QTRY_VERIFY(!w.isMinimized());
        QCOMPARE(listing() + h.dialogs.prompts(), before);

        h.selectTab(3);
        QTest::keyClicks(textBox(w), "x");
        const QString file = path("cwd/memo 1.txt");
        h.writeFile(file, "from a file \x87\x9a\r\n"); // ∵ in its NEC code
        QDialog question(&w);
        question.setModal(true);
        question.show();
        QTRY_COMPARE(QApplication::activeModalWidget(), &question);
        QCOMPARE(secondStart({"memo", "1.txt"}), 0);
        QTest::qWait(500);
        QCOMPARE(tabStrip(w)->selectedIndex(), 3);
        question.accept();
        QTRY_COMPARE(tabStrip(w)->selectedIndex(), 1);
        QCOMPARE(Harness::bytes(h.sheetPath(3)), "xsheet 3\r\n"_ba);
        QCOMPARE((QStringList{textBox(w)->Text(), w.sheets().openedFile(1), w.windowTitle(), QString::number(h.dialogs.calls.size())}),
                 (QStringList{u"from a file ∵"_s, file, u"q7 Zibo q1 - "_s + file, u"0"_s}));
        // Sheet 1's own file takes the text when the sheet is left, as after a start.
        h.selectTab(2);
        QCOMPARE(Harness::bytes(h.sheetPath(1)), "from a file \x87\x9a\r\n"_ba);
    }

    // A file that cannot be opened changes nothing and is reported in a message box, whose event
    // loop runs while the second copy has already gone and its socket is deleted: the request was
    // taken off the socket before, so nothing is left running inside the socket's signal.
    void handOverOfUnreadableFileOutlivesItsSocket()
    {
        RunningCopy running(dataDir_);
        Harness &h = running.h;
        MainWindow &w = *h.window;
        HandOverServer &server = running.server;
        h.selectTab(3);
        // A second copy that sends once its connection was taken and leaves without waiting.
        QLocalSocket second;
        second.connectToServer(handOverSocketName(dataDir_));
        QVERIFY(second.waitForConnected());
        QTRY_COMPARE(server.findChildren<QLocalSocket *>().size(), 1);
        // Connected after the server's own slot, so it runs once that has returned.
        bool slotReturned = false;
        connect(server.findChild<QLocalSocket *>(), &QLocalSocket::readyRead, this, [&] { slotReturned = true; });
        bool askedInsideSlot = true, socketGone = false;
        h.dialogs.whileAsking = [&] {
            askedInsideSlot = !slotReturned;
            socketGone = QTest::qWaitFor([&] { return server.findChildren<QLocalSocket *>().isEmpty(); }, 3000);
        };
        QByteArray request;
        QDataStream out(&request, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << quint32(0x71375a01) << path("cwd/missing.txt") << false;
        second.write(request);
        QVERIFY(second.waitForBytesWritten());
        second.abort();
        QTRY_COMPARE(h.dialogs.prompts(), QStringList{u"ファイルを開けません\nファイルが見つかりません。"_s});
        QCOMPARE(QString::number(tabStrip(w)->selectedIndex()) + w.sheets().openedFile(1), u"3"_s); // nothing changed
        QVERIFY(!askedInsideSlot && socketGone);
    }
};

QTEST_MAIN(TstHandOver)
#include "tst_handover.moc"
