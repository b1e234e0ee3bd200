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
        program_ = tmp_.filePath(QStringLiteral("prog"));
        locks_ = tmp_.filePath(QStringLiteral("locks"));
        QVERIFY(QDir().mkpath(program_ + QStringLiteral("/sub")));
    }
    void cleanup()
    {
        QVERIFY(QDir(locks_).removeRecursively());
    }

    void secondStart_data()
    {
        QTest::addColumn<QString>("secondDir");
        QTest::addColumn<bool>("secondRuns");
        QTest::addRow("same spelling") << "prog" << false;
        QTest::addRow("trailing slash") << "prog/" << false;
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
        QFile::link(program_, tmp_.filePath(QStringLiteral("link")));
#endif
        SingleInstance first(program_, locks_);
        QVERIFY(first.tryAcquire());
        QVERIFY(first.tryAcquire()); // asking again keeps the lock
        SingleInstance second(tmp_.filePath(secondDir), locks_);
        QCOMPARE(second.tryAcquire(), secondRuns);
    }

    void releasedWhenDestroyed()
    {
        SingleInstance later(program_, locks_);
        {
            SingleInstance first(program_, locks_);
            QVERIFY(first.tryAcquire());
            QVERIFY(!later.tryAcquire());
        }
        QVERIFY(later.tryAcquire());
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
        QFile plain(tmp_.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        SingleInstance instance(program_, plain.fileName() + QStringLiteral("/locks"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot create the lock file")));
        QVERIFY(instance.tryAcquire());
    }

    void deadHolderIsTakenOver_data()
    {
        QTest::addColumn<bool>("killed");
        QTest::addRow("holder killed while running") << true;
        QTest::addRow("holder exited without unlocking") << false;
    }
    void deadHolderIsTakenOver()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs fork()");
#else
        QFETCH(bool, killed);
        int ready[2];
        int hold[2];
        QVERIFY(pipe(ready) == 0 && pipe(hold) == 0);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            close(ready[0]);
            close(hold[1]);
            SingleInstance holder(program_, locks_);
            const char acquired = holder.tryAcquire() ? '1' : '0';
            if (write(ready[1], &acquired, 1) != 1)
                _exit(2);
            char ignored;
            if (killed && read(hold[0], &ignored, 1) < 0)
                _exit(3);
            _exit(0); // no destructor runs: the lock file stays behind
        }
        close(ready[1]);
        close(hold[0]);
        char acquired = 0;
        QCOMPARE(read(ready[0], &acquired, 1), ssize_t(1));
        QCOMPARE(acquired, '1');

        SingleInstance mine(program_, locks_);
        if (killed) {
            QVERIFY(!mine.tryAcquire()); // a live holder wins
            QCOMPARE(kill(child, SIGKILL), 0);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        close(ready[0]);
        close(hold[1]);
        QVERIFY(QFile::exists(mine.lockPath()));
        QVERIFY(mine.tryAcquire());
#endif
    }
};

QTEST_APPLESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
