// The sheet store on its own: which sheet a stored caption names, the snapshot a change of sheet
// drops, and a sheet written and read back through its file.
#include "sheets/sheetstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TstSheetStore : public QObject {
    Q_OBJECT
private slots:
    void storedCaption_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("sheet");
        QTest::addRow("the current sheet again keeps the snapshot") << "q7 Zibo q1" << 1;
        QTest::addRow("any text ending in a sheet number") << "x7" << 7;
        QTest::addRow("digit 8 is no sheet") << "q7 Zibo q8" << 1;
        QTest::addRow("digit 0 is no sheet") << "q7 Zibo q0" << 1;
        QTest::addRow("empty") << "" << 1;
    }
    void storedCaption()
    {
        QFETCH(QString, stored);
        QFETCH(int, sheet);
        SheetStore store(QStringLiteral("/prog"));
        store.setStrUndo(QStringLiteral("before"));
        store.takeStoredLabel2(stored);
        QCOMPARE(store.currentSheet(), sheet);
        // A snapshot of one sheet must never be restored into another.
        QCOMPARE(store.strUndo().isEmpty(), sheet != 1);
    }

    // A sheet file gets CR LF even where the old one had LF line ends.
    void sheetWrittenAndReadBack()
    {
        QTemporaryDir dir;
        SheetStore store(dir.path());
        store.setLabel2(QStringLiteral("q7 Zibo q3"));
        QFile f(dir.filePath(QStringLiteral("q3.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("old\nlines\n") == 10);
        f.close();
        QVERIFY(store.writeSheet(QStringLiteral("一行目\r\n二行目")).ok);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\x88\xea\x8d\x73\x96\xda\r\n\x93\xf1\x8d\x73\x96\xda\r\n"));
        store.setStrFileName(SheetStore::sheetFileName(3));
        QCOMPARE(TextFile::read(store.filePath()).text, QStringLiteral("一行目\r\n二行目"));
    }
};

QTEST_APPLESS_MAIN(TstSheetStore)
#include "tst_sheetstore.moc"
