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

    // A copy is written as the sheet file would be, so that it reads back as one.
    void encodingOfTheCopy_data()
    {
        QTest::addColumn<QByteArray>("sheetFile"); // empty: none
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("copy");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QByteArray>("secondCodes"); // a file's bytes whose two-code choices the sheet keeps
        QTest::addRow("no sheet file: CP932") << QByteArray() << QStringLiteral("あ\r\nb") << QByteArray("\x82\xa0\r\nb\r\n")
                                              << int(Encoding::Cp932) << QByteArray();
        QTest::addRow("the sheet's second codes") << QByteArray("x\r\n") << QStringLiteral("∵") << QByteArray("\x87\x9a\r\n")
                                                  << int(Encoding::Cp932) << QByteArray("\x87\x9a");
        QTest::addRow("beyond CP932: UTF-8 with a BOM") << QByteArray("x\r\n") << QStringLiteral("☃")
                                                        << QByteArray("\xef\xbb\xbf\xe2\x98\x83\r\n") << int(Encoding::Utf8Bom) << QByteArray();
        QTest::addRow("a UTF-16 sheet file keeps its encoding") << QByteArray("\xff\xfex\x00\r\x00\n\x00", 8) << QStringLiteral("y")
                                                                << QByteArray("\xff\xfey\x00\r\x00\n\x00", 8) << int(Encoding::Utf16Le) << QByteArray();
    }
    void encodingOfTheCopy()
    {
        QFETCH(QByteArray, sheetFile);
        QFETCH(QString, text);
        QFETCH(QByteArray, copy);
        QFETCH(int, encoding);
        QFETCH(QByteArray, secondCodes);
        const QString sheetPath = QDir(prog()).filePath(QStringLiteral("q2.txt"));
        if (!sheetFile.isEmpty())
            put(sheetPath, sheetFile);
        const RecoveryCopies copies(prog(), state());
        const RecoveryWriter::Result r = RecoveryWriter::run(copies, {2, text, sheetPath, {}, true, Cp932Variants::scan(secondCodes)});
        QVERIFY(r.copy.ok);
        QCOMPARE(r.copy.path, QDir(prog()).filePath(QStringLiteral("q2.txt.recovery")));
        QCOMPARE(bytesOf(r.copy.path), copy);
        QCOMPARE(int(r.sheetEncoding), encoding);
        QCOMPARE(copies.read(2).text, text);
    }

    // Where the program directory cannot take the copy, the state folder does, in a folder of
    // this program directory's own; the copy beside the sheet, older, gives way.
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

        // Both places refuse: the reason of the first comes back.
        QVERIFY(QDir().mkdir(copies.primaryPath(5)));
        QVERIFY(QDir().mkpath(copies.fallbackPath(5)));
        const RecoveryCopies::WriteResult none = copies.write(5, QStringLiteral("x"), Encoding::Cp932);
        QVERIFY(!none.ok && !none.error.isEmpty());

        QVERIFY(copies.remove(3) && copies.remove(4));
        QVERIFY(copies.sheets().isEmpty());
    }

    // Of two copies of one sheet (the program directory could not remove its older one), the
    // newer is read.
    void newerCopyIsRead()
    {
        const RecoveryCopies copies(prog(), state());
        QVERIFY(QDir().mkpath(copies.fallbackDir()));
        put(copies.primaryPath(6), "beside\r\n");
        put(copies.fallbackPath(6), "aside\r\n");
        const auto ageAside = [&](int seconds) {
            QFile aside(copies.fallbackPath(6));
            return aside.open(QIODevice::ReadWrite)
                && aside.setFileTime(QDateTime::currentDateTime().addSecs(seconds), QFileDevice::FileModificationTime);
        };
        QVERIFY(ageAside(-60));
        QCOMPARE(copies.read(6).text, QStringLiteral("beside"));
        QVERIFY(ageAside(60));
        QCOMPARE(copies.read(6).text, QStringLiteral("aside"));
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
