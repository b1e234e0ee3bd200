#include "app/singleinstance.h"
#include "app/singleinstance_handover.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

class TestSingleInstance : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    QString program_; // the program directory, which a second start must leave untouched

private slots:
    void init()
    {
        QVERIFY(tmp_.isValid());
        program_ = tmp_.filePath("prog");
        QVERIFY(QDir().mkpath(program_) && QDir().mkpath(tmp_.filePath("other")));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(tmp_.path())); // where hand-over sockets are named
    }
    void cleanup() { QVERIFY(QDir(program_).removeRecursively()); }

    void secondStart_data()
    {
        QTest::addColumn<QString>("secondDir");
        QTest::addColumn<bool>("secondRuns");
        QTest::addRow("same spelling") << "prog" << false;
#ifdef Q_OS_UNIX
        QTest::addRow("through a symbolic link") << "link" << false;
#endif
        QTest::addRow("another directory beside it") << "other" << true;
        QTest::addRow("a missing directory still starts") << "gone" << true;
    }
    void secondStart()
    {
        QFETCH(QString, secondDir);
        QFETCH(bool, secondRuns);
#ifdef Q_OS_UNIX
        QFile::link(program_, tmp_.filePath("link"));
#endif
        const auto listing = [this] { return QDir(program_).entryList(QDir::AllEntries | QDir::Hidden | QDir::System); };
        for (int asked = 0; asked < (secondDir == u"gone" ? 2 : 0); ++asked)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot open the program directory"));
        SingleInstance second(tmp_.filePath(secondDir));
        {
            SingleInstance first(program_);
            QVERIFY(first.tryAcquire());
            QVERIFY(first.tryAcquire()); // asking again keeps the lock
            const QStringList before = listing();
            QCOMPARE(second.tryAcquire(), secondRuns);
            QCOMPARE(listing(), before);
        }
        // A start that meets the lock hands over on the socket of the copy that holds it.
        QCOMPARE(handOverSocketName(tmp_.filePath(secondDir)) == handOverSocketName(program_), !secondRuns);
        QVERIFY(second.tryAcquire()); // released with its holder
    }

#ifdef Q_OS_UNIX
    // A program started while the lock is held (from the launcher) must not inherit it, or it
    // would keep every later start from running once this copy has gone.
    void programsStartedDoNotKeepTheLock()
    {
        QProcess started;
        {
            SingleInstance first(program_);
            QVERIFY(first.tryAcquire());
            started.start(u"sleep"_s, {u"60"_s});
            QVERIFY(started.waitForStarted());
        }
        const auto end = qScopeGuard([&] { started.kill(); started.waitForFinished(); });
        QVERIFY(SingleInstance(program_).tryAcquire());
    }

    // Any user may open a folder of a home that others can enter: a lock taken on it, or on
    // anything else others can open, must not keep this user's copy from starting.
    void othersCannotTakeTheLock()
    {
        const int folder = ::open(QFile::encodeName(program_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QVERIFY(folder >= 0);
        const auto release = qScopeGuard([folder] { ::close(folder); });
        QVERIFY(::flock(folder, LOCK_EX | LOCK_NB) == 0);
        SingleInstance instance(program_);
        QVERIFY(instance.tryAcquire());
        struct stat lock;
        QVERIFY(::stat(QFile::encodeName(QDir(program_).filePath(SingleInstance::LockFileName)).constData(), &lock) == 0);
        QCOMPARE(int(lock.st_mode & 0777), 0600);
    }

    // Whoever may create files where the socket lies could take its name first and be handed
    // the files this user opens: a runtime folder open to others is not used, and without one
    // the socket still lies in a folder of this user's alone.
    void handOverSocketIsPrivate()
    {
        const QString open = tmp_.filePath("open");
        QVERIFY(QDir().mkpath(open) && ::chmod(QFile::encodeName(open).constData(), 0755) == 0);
        for (const QString &runtime : {open, QString()}) {
            if (runtime.isEmpty())
                qunsetenv("XDG_RUNTIME_DIR");
            else
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
            const QString name = handOverSocketName(program_);
            const QString socketFolder = QFileInfo(name).path();
            QVERIFY2(QDir::isAbsolutePath(name) && socketFolder != open, qPrintable(name));
            HandOverServer server(program_);
            QVERIFY(server.listen());
            struct stat st;
            QVERIFY(::stat(QFile::encodeName(socketFolder).constData(), &st) == 0);
            QVERIFY(st.st_uid == ::geteuid() && (st.st_mode & 0777) == 0700);
        }
    }
#endif
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
