// Recovery copies on their own: where a copy goes, in which encoding, which one is read back,
// and the worker that keeps at most one copy in flight.
#include "sheets/recoverycopies.h"
#include "sheets/recoverywriter.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using TextCodec::Encoding;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TstRecoveryCopies : public QObject {
    Q_OBJECT
private:
    QTemporaryDir tmp;
    QString prog() const { return tmp.filePath(QStringLiteral("prog")); }
    QString state() const { return tmp.filePath(QStringLiteral("state")); }

private slots:
    void init()
    {
        QDir(prog()).removeRecursively();
        QDir(state()).removeRecursively();
        QVERIFY(QDir().mkpath(prog()));
    }

    // A copy is written as the sheet file would be (none yet: CP932), its second codes kept, and
    // reads back. The other encodings a sheet gets show in the encoding tip (tst_recoverycontroller).
    void encodingOfTheCopy()
    {
        const QString sheetPath = QDir(prog()).filePath(QStringLiteral("q2.txt")), text = QStringLiteral("あ∵\r\nb");
        const RecoveryCopies copies(prog(), state());
        const RecoveryWriter::Result r = RecoveryWriter::run(copies, {2, text, sheetPath, {}, true, Cp932Variants::scan("\x87\x9a")});
        QVERIFY(r.copy.ok);
        QCOMPARE(r.copy.path, QDir(prog()).filePath(QStringLiteral("q2.txt.recovery")));
        QCOMPARE(bytesOf(r.copy.path), QByteArray("\x82\xa0\x87\x9a\r\nb\r\n")); // ∵ in its NEC code
        QCOMPARE(r.sheetEncoding, Encoding::Cp932);
        QCOMPARE(copies.read(2).text, text);
    }

    // Where the program directory cannot take the copy, the state folder does, in a folder of
    // this program directory's own (where neither does: tst_recoverycontroller); of two copies of
    // one sheet the newer is read.
    void stateFolderWhenTheProgramDirectoryRefuses()
    {
        const RecoveryCopies copies(prog(), state());
        QVERIFY(copies.write(3, QStringLiteral("old"), Encoding::Cp932).ok);
        const RecoveryCopies elsewhere(tmp.filePath(QStringLiteral("other/prog")), state());
        QVERIFY(elsewhere.fallbackDir() != copies.fallbackDir());
        QVERIFY(copies.fallbackDir().startsWith(QDir(state()).filePath(QStringLiteral("q7Zibo/prog-"))));

        // A folder where the copy would go stands for a read-only or full directory.
        QVERIFY(QDir().mkdir(copies.primaryPath(4)));
        const RecoveryCopies::WriteResult aside = copies.write(4, QStringLiteral("new"), Encoding::Cp932);
        QVERIFY(aside.ok && aside.path == copies.fallbackPath(4));
        QCOMPARE(copies.sheets(), QList<int>({3, 4}));
        QCOMPARE(copies.read(4).text, QStringLiteral("new"));

        // Two copies of sheet 3: the program directory could not remove its older one.
        put(copies.fallbackPath(3), "aside\r\n");
        const auto ageAside = [&](int seconds) {
            QFile f(copies.fallbackPath(3));
            return f.open(QIODevice::ReadWrite)
                && f.setFileTime(QDateTime::currentDateTime().addSecs(seconds), QFileDevice::FileModificationTime);
        };
        QVERIFY(ageAside(-60));
        QCOMPARE(copies.read(3).text, QStringLiteral("old"));
        QVERIFY(ageAside(60));
        QCOMPARE(copies.read(3).text, QStringLiteral("aside"));

        QVERIFY(copies.remove(3) && copies.remove(4));
        QVERIFY(copies.sheets().isEmpty());
    }

    // One copy in flight; of those asked for meanwhile only the latest runs, and cancelling a
    // sheet drops its waiting copy and waits for the running one.
    void latestWinsAndCancelWaits()
    {
        RecoveryWriter writer(RecoveryCopies(prog(), state()));
        QSignalSpy spy(&writer, &RecoveryWriter::finished);
        const QString sheetPath = QDir(prog()).filePath(QStringLiteral("q1.txt"));
        for (const char *text : {"first", "second", "third"})
            writer.post({1, QString::fromLatin1(text), sheetPath, {}, true, {}});
        QTRY_COMPARE(spy.count(), 2);
        QTest::qWait(50);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(bytesOf(writer.copies().primaryPath(1)), QByteArray("third\r\n"));

        writer.post({2, QStringLiteral("running"), sheetPath, {}, true, {}});
        writer.post({2, QStringLiteral("waiting"), sheetPath, {}, true, {}});
        writer.cancel(2);
        QCOMPARE(bytesOf(writer.copies().primaryPath(2)), QByteArray("running\r\n"));
        QVERIFY(writer.copies().remove(2));
        QTRY_COMPARE(spy.count(), 3);
        QTest::qWait(50);
        QCOMPARE(spy.count(), 3);
        QVERIFY(!QFile::exists(writer.copies().primaryPath(2)));
    }
};

QTEST_GUILESS_MAIN(TstRecoveryCopies)
#include "tst_recoverycopies.moc"
