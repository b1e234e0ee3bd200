#include "app/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

class TestSingleInstance : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    QString program_; // the program directory, which a start must leave untouched
    QString locks_;

private slots:
    void init()
    {
        QVERIFY(tmp_.isValid());
        program_ = tmp_.filePath("prog");
        locks_ = tmp_.filePath("locks");
        QVERIFY(QDir().mkpath(program_ + "/sub"));
    }
    void cleanup() { QVERIFY(QDir(locks_).removeRecursively()); }

    void secondStart_data()
    {
        QTest::addColumn<QString>("secondDir");
        QTest::addColumn<bool>("secondRuns");
        QTest::addRow("same spelling") << "prog" << false;
        QTest::addRow("dot segments") << "prog/sub/../." << false;
#ifdef Q_OS_UNIX
        QTest::addRow("through a symbolic link") << "link" << false;
#endif
        QTest::addRow("another directory") << "prog/sub" << true;
    }
    void secondStart()
    {
        QFETCH(QString, secondDir);
        QFETCH(bool, secondRuns);
#ifdef Q_OS_UNIX
        QFile::link(program_, tmp_.filePath("link"));
#endif
        SingleInstance second(tmp_.filePath(secondDir), locks_);
        {
            SingleInstance first(program_, locks_);
            QVERIFY(first.tryAcquire());
            QVERIFY(first.tryAcquire()); // asking again keeps the lock
            QCOMPARE(second.tryAcquire(), secondRuns);
        }
        QVERIFY(second.tryAcquire()); // released with its holder
    }

    void lockStaysOutsideProgramDir()
    {
        const QStringList before = QDir(program_).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
        QString path;
        {
            SingleInstance instance(program_); // the default place
            path = instance.lockPath();
            QVERIFY(instance.tryAcquire());
            QVERIFY(QFileInfo(path).isFile());
            QVERIFY(!QDir::cleanPath(path).startsWith(QDir::cleanPath(program_) + u'/'));
            QCOMPARE(QDir(program_).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
        }
        QVERIFY(!QFile::exists(path));
    }

    void unusableLockFolderStillStarts()
    {
        QFile plain(tmp_.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        SingleInstance instance(program_, plain.fileName() + "/locks");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot create the lock file"));
        QVERIFY(instance.tryAcquire());
    }

    // Another process holds the lock: it wins while alive, and its left-over file is taken over
    // once it has been killed.
    void deadHolderIsTakenOver()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs fork()");
#else
        int ready[2];
        int hold[2]; // the child waits on it; if this test stops early, its end closes and frees the child
        QVERIFY(pipe(ready) == 0 && pipe(hold) == 0);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            close(hold[1]);
            SingleInstance holder(program_, locks_);
            const char acquired = holder.tryAcquire() ? '1' : '0';
            char ignored;
            if (write(ready[1], &acquired, 1) != 1 || read(hold[0], &ignored, 1) < 0)
                _exit(2);
            _exit(0);
        }
        close(ready[1]);
        close(hold[0]);
        char acquired = 0;
        QCOMPARE(read(ready[0], &acquired, 1), ssize_t(1));
        QCOMPARE(acquired, '1');

        SingleInstance mine(program_, locks_);
        QVERIFY(!mine.tryAcquire());
        QCOMPARE(kill(child, SIGKILL), 0);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        close(ready[0]);
        close(hold[1]);
        QVERIFY(QFile::exists(mine.lockPath())); // killed: no destructor ran
        QVERIFY(mine.tryAcquire());
#endif
    }
};

QTEST_APPLESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
