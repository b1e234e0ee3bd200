// The Edit and conversion commands and the stamp on a bare text box: the rewrites and their
// two-level undo, the copies and the quote mark they take.
#include "../editor/fakehost.h"
#include "commands/EditController.h"
#include "settings/holders.h"
#include "sheets/SheetSession.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextDocument>

class TestEditController : public QObject {
    Q_OBJECT
    FakeHost host;
    SheetSession sheets{QStringLiteral("/prog")};
    Holders holders;
    EditController edits{host, sheets, holders};

    void trigger(const char *name) { edits.findChild<QAction *>(QLatin1String(name))->trigger(); }

private slots:
    // Each leaves text|selection start|length; the clipboard holds "a\nb\n".
    void rewrites_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("after");
        QTest::addRow("quote whole lines, caret after") << "quoteSelectionAction" << "a\r\nb\r\nc" << 0 << 6 << ">a\r\n>b\r\n>c|9|0";
        QTest::addRow("quote-paste: clipboard lines are quoted") << "quotePasteAction" << "xy" << 1 << 0 << "x>a\r\n>b\r\n>y|10|0";
        const QString far(40000, u'x');
        QTest::addRow("capitalise keeps the range selected, beyond 16 bits")
            << "capitaliseAction" << far + "\r\nsay hello world" << 40006 << 11 << far + "\r\nsay Hello World|40006|11";
        QTest::addRow("date stamp at the command's clock") << "stampAction" << "aXb" << 1 << 1 << "a09:05 2001/01/02b|17|0";
    }
    void rewrites()
    {
        QFETCH(QString, command);
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        host.box.setText(text);
        host.box.select(selStart, selLength);
        QApplication::clipboard()->setText(QStringLiteral("a\nb\n"));
        host.clock = QDateTime(QDate(2001, 1, 2), QTime(9, 5, 59));

        trigger(qPrintable(command));
        QTEST(QStringLiteral("%1|%2|%3").arg(host.box.Text()).arg(host.box.SelStart()).arg(host.box.SelLength()), "after");
        // Undo is the snapshot's: the box keeps no step of a rewrite.
        QCOMPARE(sheets.undoSnapshot(), text);
        QVERIFY(!host.box.document()->isUndoAvailable());
    }

    // The copies leave the text and its selection alone; the quote mark is the settings'.
    void copies()
    {
        holders.quoteMark = QStringLiteral("| ");
        host.box.setText(QStringLiteral("a\r\nb"));
        host.box.select(0, 4);
        trigger("quoteCopyAction");
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("| a\n| b"));
        QCOMPARE(host.box.SelLength(), qsizetype(4));
        host.box.select(3, 1);
        host.dialogs.calls.clear();
        trigger("copyAllAction");
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("a\nb"));
        QCOMPARE(host.box.SelLength(), qsizetype(1));
        QCOMPARE(host.dialogs.calls.size(), 1);
        const FakeDialogs::Call &said = host.dialogs.calls[0];
        QCOMPARE(said.prompt + u'|' + said.title + u'|' + styleText(said.style),
                 QStringLiteral("すべての範囲をコピーしました。|q7 Zibo|%1").arg(styleText({QMessageBox::Information})));
        holders.quoteMark = QStringLiteral(">");
    }

    // One Undo takes back a rewrite, or the typing after it whether or not the snapshot rule ran
    // between; emptying the box keeps the snapshot. One level only: nothing is left to undo.
    void undoSequences()
    {
        // "two" of "one two three" upper-cased, then what happens before Undo.
        const auto undoAfter = [&](const std::function<void()> &between) -> QString {
            host.box.setText(QStringLiteral("one two three"));
            host.box.select(4, 3);
            trigger("toUpperAction");
            between();
            trigger("undoAction");
            return host.box.Text() + QStringLiteral(", caret %1").arg(host.box.SelStart())
                + (edits.boxCanUndo() || !sheets.undoSnapshot().isEmpty() ? QStringLiteral(", more to undo") : QString());
        };
        const auto type = [&] { QTest::keyClicks(&host.box, QStringLiteral("X")); };
        QCOMPARE(undoAfter([] {}), QStringLiteral("one two three, caret 7"));
        QCOMPARE(undoAfter(type), QStringLiteral("one TWO three, caret 7"));
        QCOMPARE(undoAfter([&] { type(); edits.applyUndoRule(); }), QStringLiteral("one TWO three, caret 7"));
        QCOMPARE(undoAfter([&] { host.box.setText(QString()); }), QStringLiteral("one two three, caret 0"));
    }
};

QTEST_MAIN(TestEditController)
#include "tst_editcontroller.moc"
