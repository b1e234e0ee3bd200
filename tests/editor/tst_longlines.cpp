// Lines too long to lay out at every key are shown in pieces; the text, positions, edits, undo
// and the clipboard must never see the pieces' separators.
#include "editor/TextBox.h"
#include "editor/textmodel.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextBlock>

namespace {
// Pieces small enough to test with: the box itself cuts at TextModel::SoftLineLength.
const QString Long = QString(TextModel::SoftLineLength, u'a') + QString(TextModel::SoftLineLength, u'b')
    + QStringLiteral("tail");
}

class TestLongLines : public QObject {
    Q_OBJECT
private slots:
    void splitting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("document"); // ¦ marks a soft separator, | a hard one
        QTest::addRow("cut at the length") << "abcdefghij" << "abcd¦efgh¦ij";
        QTest::addRow("cut after a blank near the end") << "abc defghij" << "abc ¦defg¦hij";
        QTest::addRow("each line counts from its start") << "abcde\r\nabcde" << "abcd¦e|abcd¦e";
        QTest::addRow("a surrogate pair stays whole") << QStringLiteral("abc\U0001F600x") << QStringLiteral("abc¦\U0001F600x");
        QTest::addRow("a lone LF is part of the line") << "ab\ncdef" << QStringLiteral("ab\u2028c¦def");
        QTest::addRow("a lone LF fills a piece") << "abc\ndefg" << QStringLiteral("abc\u2028¦defg");
        QTest::addRow("a line of exactly the length is not cut") << "abcd\r\nefgh" << "abcd|efgh";
    }
    void splitting()
    {
        QFETCH(QString, text);
        QFETCH(QString, document);
        const TextModel::Document d = TextModel::toDocument(text, 4);
        QString shown = d.text;
        for (qsizetype p : d.softBreaks)
            shown[p] = u'¦';
        shown.replace(TextModel::ParagraphBreak, u'|');
        QCOMPARE(shown, document);
        QCOMPARE(TextModel::fromDocument(d.text, d.softBreaks), text);
    }

    void softBreaksFollowEdits()
    {
        TextModel::SoftBreaks soft;
        soft.reset({10, 20, 30});
        soft.contentsChange(12, 0, 3);  // typed inside the second piece
        QCOMPARE(soft.positions(), (std::vector<qsizetype>{10, 23, 33}));
        soft.contentsChange(20, 5, 0);  // a deletion that takes the separator at 23
        QCOMPARE(soft.positions(), (std::vector<qsizetype>{10, 28}));
        QCOMPARE(soft.countBefore(28), 1);
        QCOMPARE(soft.between(5, 29), (std::vector<qsizetype>{5, 23}));
    }

    void boxKeepsTheLine()
    {
        TextBox box;
        box.setText(QStringLiteral("x\r\n") + Long + QStringLiteral("\r\nz"));
        QCOMPARE(box.document()->blockCount(), 5); // x, two pieces and a tail piece, z
        QCOMPARE(box.Text(), QStringLiteral("x\r\n") + Long + QStringLiteral("\r\nz"));
        // Model positions skip the separators; line and column count the whole line.
        const qsizetype inTail = 3 + 2 * TextModel::SoftLineLength + 2;
        box.select(inTail, 2);
        QCOMPARE(box.SelText(), QStringLiteral("il"));
        const int doc = box.textCursor().selectionStart();
        QCOMPARE(box.lineAt(doc), 2);
        QCOMPARE(box.columnAt(doc), 2 * TextModel::SoftLineLength + 3);
        box.select(3 + TextModel::SoftLineLength - 1, 2);
        QCOMPARE(box.SelText(), QStringLiteral("ab"));
        box.copy();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("ab"));
        QCOMPARE(box.lineAt(box.document()->characterCount() - 1), 3);
    }

    void editsAtThePieces_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected"); // of the long line, its first piece's end at the caret
        const QString a = QString(TextModel::SoftLineLength, u'a');
        const QString b = QString(TextModel::SoftLineLength, u'b');
        QTest::addRow("Enter in a piece is a real break")
            << int(Qt::Key_Return) << a + QStringLiteral("\r\n") + b + QStringLiteral("tail");
        QTest::addRow("Backspace at a piece deletes a character")
            << int(Qt::Key_Backspace) << a.chopped(1) + b + QStringLiteral("tail");
        QTest::addRow("Delete at a piece deletes a character")
            << int(Qt::Key_Delete) << a + b.mid(1) + QStringLiteral("tail");
    }
    void editsAtThePieces()
    {
        QFETCH(int, key);
        QFETCH(QString, expected);
        TextBox box;
        box.setText(Long);
        QTextCursor c = box.textCursor();
        const QTextBlock second = box.document()->firstBlock().next();
        c.setPosition(key == Qt::Key_Delete ? second.position() - 1 : second.position());
        box.setTextCursor(c);
        QTest::keyClick(&box, Qt::Key(key));
        QCOMPARE(box.Text(), expected);
        // Undo brings the pieces back as pieces, redo the edit; typing goes on unharmed.
        box.undo();
        QCOMPARE(box.Text(), Long);
        box.redo();
        QCOMPARE(box.Text(), expected);
        box.undo();
        box.selectAll();
        box.cut();
        QCOMPARE(box.Text(), QString());
        box.undo();
        QCOMPARE(box.Text(), Long);
    }

    void pastedLongLineIsCutToo()
    {
        TextBox box;
        QApplication::clipboard()->setText(QStringLiteral("1\n") + Long);
        box.paste();
        QCOMPARE(box.Text(), QStringLiteral("1\r\n") + Long);
        QVERIFY(box.document()->blockCount() > 2);
        QTest::keyClick(&box, Qt::Key_Return);
        QTest::keyClicks(&box, QStringLiteral("end"));
        QCOMPARE(box.Text(), QStringLiteral("1\r\n") + Long + QStringLiteral("\r\nend"));
    }
};

QTEST_MAIN(TestLongLines)
#include "tst_longlines.moc"
