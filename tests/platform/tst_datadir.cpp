#include "platform/datadir.h"
#include "sheets/recoverycopies.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

class TstDataDir : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> tmp_; // a new one for every row

    QString path(const QString &name) const { return QDir::cleanPath(tmp_->filePath(name)); }
    void touch(const QString &name, const QByteArray &bytes = {})
    {
        QVERIFY(QDir().mkpath(QFileInfo(path(name)).path()));
        QVERIFY(putFile(path(name), bytes));
    }

private slots:
    void init()
    {
        tmp_ = std::make_unique<QTemporaryDir>();
        QVERIFY(tmp_->isValid());
    }

    // The manual's place tells an installed copy from a portable one; writability the rest.
    void choose_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("chosen"); // the folder, the manual, per user or not
        const QString beside = "bin/q7Zibo.hlp", shared = "share/q7zibo/q7Zibo.hlp";
        QTest::addRow("portable copy without a manual") << true << QStringList{} << "bin " + beside + " 0";
        QTest::addRow("folder not writable") << false << QStringList{beside} << "data/q7Zibo " + beside + " 1";
        QTest::addRow("installed, not writable") << false << QStringList{shared} << "data/q7Zibo " + shared + " 1";
        QTest::addRow("installed, writable (as root)") << true << QStringList{shared} << "data/q7Zibo " + shared + " 1";
        QTest::addRow("manual beside wins over the installed one") << true << QStringList{beside, shared} << "bin " + beside + " 0";
    }
    void choose()
    {
        QFETCH(bool, writable);
        QFETCH(QStringList, files);
        QVERIFY(QDir().mkpath(path("bin")));
        for (const QString &f : files)
            touch(f);
        const DataDir d = DataDir::choose(path("bin"), writable, path("data"));
        const QDir top(tmp_->path());
        QTEST(u"%1 %2 %3"_s.arg(top.relativeFilePath(d.dir), top.relativeFilePath(d.helpFile)).arg(d.perUser), "chosen");
    }

    void isWritable()
    {
        QVERIFY(DataDir::isWritable(tmp_->path()) && !DataDir::isWritable(path("missing")));
        if (::geteuid() == 0)
            QSKIP("root may write into any folder");
        // Empty, it goes with the temporary folder whatever its mode.
        QVERIFY(QDir().mkpath(path("ro")) && QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(!DataDir::isWritable(path("ro")));
    }

    // The per-user folder is made with its seven sheets, the user's alone on a home folder others
    // may read, and what a user wrote is never replaced; a portable copy's folder gets nothing.
    void createSheetFiles()
    {
        const mode_t umaskBefore = ::umask(022);
        const auto restore = qScopeGuard([umaskBefore] { ::umask(umaskBefore); });
        QVERIFY(QDir().mkpath(path("bin")));
        DataDir::choose(path("bin"), true, path("data")).createSheetFiles();
        QVERIFY(QDir(path("bin")).isEmpty());
        const DataDir data = DataDir::choose(path("bin"), false, path("data"));
        QVERIFY(data.create());
        touch("data/q7Zibo/q3.txt", "kept");
        data.createSheetFiles();
        QCOMPARE(QDir(path("data/q7Zibo")).entryList(QDir::Files),
                 QStringList({"q1.txt", "q2.txt", "q3.txt", "q4.txt", "q5.txt", "q6.txt", "q7.txt"}));
        QCOMPARE(fileBytes(path("data/q7Zibo/q3.txt")), QByteArray("kept"));
        // A copy beside a sheet that cannot be written (no folder) goes to the state folder.
        QVERIFY(RecoveryCopies(path("none"), path("state")).write(1, QStringLiteral("text"), TextCodec::Encoding::Cp932).ok);
        const auto mode = [this](const QString &name) {
            struct stat st;
            return ::stat(QFile::encodeName(path(name)).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
        };
        QCOMPARE((QList<int>{mode("data/q7Zibo"), mode("data/q7Zibo/q1.txt"), mode("data/q7Zibo/q7.txt"), mode("state/q7Zibo")}),
                 (QList<int>{0700, 0600, 0600, 0700}));
    }
};

QTEST_APPLESS_MAIN(TstDataDir)
#include "tst_datadir.moc"
