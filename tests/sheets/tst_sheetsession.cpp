// The sheet session on its own: which sheet a stored caption names, the snapshot a change of
// sheet drops, the save target a failed read detaches. (Sheet files written with CR LF: tst_mainwindow.)
#include "sheets/SheetSession.h"

#include <QSignalSpy>
#include <QTest>

class TstSheetSession : public QObject {
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
        SheetSession session(QStringLiteral("/prog"));
        session.setUndoSnapshot(QStringLiteral("before"));
        session.takeStoredCaption(stored);
        QCOMPARE(session.currentSheet(), sheet);
        QCOMPARE(session.caption(), QStringLiteral("q7 Zibo q%1").arg(sheet));
        // A snapshot of one sheet must never be restored into another.
        QCOMPARE(session.undoSnapshot().isEmpty(), sheet != 1);
    }

    // A failed read detaches the target until the sheet or its opened file changes; the opened
    // file itself stays, for the settings.
    void saveTarget()
    {
        SheetSession session(QStringLiteral("/prog"));
        QSignalSpy changes(&session, &SheetSession::saveTargetChanged);
        session.setOpenedFile(2, QStringLiteral("/b.txt"));
        QCOMPARE(changes.count(), 0);
        session.setOpenedFile(1, QStringLiteral("/a.txt"));
        QCOMPARE(session.saveTarget(), QStringLiteral("/a.txt"));
        session.detachSaveTarget();
        QCOMPARE(session.saveTarget(), QString());
        QCOMPARE(session.openedFile(1), QStringLiteral("/a.txt"));
        session.setCurrentSheet(2);
        QCOMPARE(session.saveTarget(), QStringLiteral("/b.txt"));
        session.detachSaveTarget();
        session.setOpenedFile(2, QStringLiteral("/c.txt"));
        QCOMPARE(session.saveTarget(), QStringLiteral("/c.txt"));
        QCOMPARE(changes.count(), 5);
    }
};

QTEST_APPLESS_MAIN(TstSheetSession)
#include "tst_sheetsession.moc"
