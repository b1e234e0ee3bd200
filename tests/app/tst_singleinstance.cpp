#include "app/singleinstance.h"
#include "app/singleinstance_handover.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// "<this test> --hold <dir> [<program> <argument>]": takes the lock, starts the program, prints
// "<got the lock: 1/0> <its process id>", and holds on until killed or its input closes.
constexpr char HoldArgument[] = "--hold";

int holdLock(int argc, char *argv[])
{
    SingleInstance instance(QFile::decodeName(argv[2]));
    const bool held = instance.tryAcquire();
    qint64 started = 0;
    if (argc == 5)
        QProcess::startDetached(QString::fromLocal8Bit(argv[3]), {QString::fromLocal8Bit(argv[4])}, {}, &started);
    std::printf("%c %lld\n", held ? '1' : '0', started);
    std::fflush(stdout);
    while (std::fgetc(stdin) != EOF) {
    }
    return 0;
}

} // namespace

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

    // A holder in another process wins while it lives, whatever its runtime folder; its lock
    // goes when it is killed, though a program it started lives on.
    void heldByAnotherProcess()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", tmp_.filePath("other"));
        QProcess holder;
        holder.setProcessEnvironment(environment);
        QStringList arguments{HoldArgument, program_};
#ifdef Q_OS_UNIX
        arguments << "sleep" << "60";
#endif
        holder.start(QCoreApplication::applicationFilePath(), arguments);
        QVERIFY(holder.waitForStarted());
        while (!holder.canReadLine())
            QVERIFY(holder.waitForReadyRead(30000));
        const QList<QByteArray> said = holder.readLine().trimmed().split(' ');
        QCOMPARE(said.value(0), QByteArray("1"));
#ifdef Q_OS_UNIX
        const pid_t started = said.value(1).toInt();
        QVERIFY(started > 0);
        const auto endStarted = qScopeGuard([started] { ::kill(started, SIGKILL); });
#endif

        SingleInstance second(program_);
        QVERIFY(!second.tryAcquire());
        holder.kill();
        QVERIFY(holder.waitForFinished(30000));
        QVERIFY(second.tryAcquire());
    }

#ifdef Q_OS_UNIX
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
            QCOMPARE(st.st_uid, ::geteuid());
            QCOMPARE(int(st.st_mode & 0777), 0700);
        }
    }
#endif
};

int main(int argc, char *argv[])
{
    if ((argc == 3 || argc == 5) && std::strcmp(argv[1], HoldArgument) == 0)
        return holdLock(argc, argv);
    QCoreApplication app(argc, argv);
    TestSingleInstance test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_singleinstance.moc"
