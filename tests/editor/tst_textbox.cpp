// The sheet text box: CR LF text, positions that count a line break as two, characters that
// survive the widget and the clipboard; long lines shown in pieces that nothing else may see.
#include "editor/TextBox.h"
#include "editor/textmodel.h"
#include "testfiles.h"

#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QLineEdit>
#include <QPaintEvent>
#include <QVBoxLayout>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
// Pieces small enough to test with: the box itself cuts at TextModel::SoftLineLength.
const QString Long = QString(TextModel::SoftLineLength, u'a') + QString(TextModel::SoftLineLength, u'b') + u"tail"_s;
}

class TestTextBox : public QObject {
    Q_OBJECT
public:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && paintedRegion_)
            *paintedRegion_ += static_cast<QPaintEvent *>(e)->region();
        return false;
    }

private:
    QRegion *paintedRegion_ = nullptr;

private slots:
    // Text in, text out, and a selection made by model positions, then copied: the clipboard
    // gets LF breaks and every other character as it is.
    void textAndSelection()
    {
        const struct {
            QString in, out;
            int start, length;
            QString selected;
        } cases[] = {{u"a\r\nb\r\n"_s, u"a\r\nb\r\n"_s, 0, 99, u"a\r\nb\r\n"_s}, // selected past the end
                     {u"a\nb\r\nc"_s, u"a\nb\r\nc"_s, 1, 5, u"\nb\r\nc"_s},     // a lone LF is a character, counts one
                     {u"a\rb"_s, u"a\r\nb"_s, 1, 2, u"\r\n"_s},                  // a lone CR becomes a line break
                     {u"a\u00A0b"_s, u"a\u00A0b"_s, 0, 3, u"a\u00A0b"_s}};
        for (const auto &c : cases) {
            TextBox box;
            box.setText(c.in);
            box.select(c.start, c.length);
            box.copy();
            QCOMPARE(u"%1|%2|%3|%4|%5"_s.arg(box.Text(), box.SelText()).arg(box.SelStart()).arg(box.SelLength())
                         .arg(QApplication::clipboard()->text()),
                     u"%1|%2|%3|%4|%5"_s.arg(c.out, c.selected).arg(c.start).arg(c.selected.size())
                         .arg(QString(c.selected).replace("\r\n", "\n")));
        }
    }

    // A selection below the view is shown where the bare widget shows it, and the paragraphs
    // laid out on the way that are not shown are a screen's worth at most (where the widget
    // measures to repaint the old selection); the widget alone lays out two screens more.
    void selectBelowTheView_data()
    {
        QTest::addColumn<int>("line");
        QTest::addRow("far below") << 3000;
        QTest::addRow("just below") << 30;
        QTest::addRow("the last line") << 3999;
    }
    void selectBelowTheView()
    {
        QFETCH(int, line);
        QString text;
        for (int i = 0; i < 4000; ++i)
            text += u"line %1 "_s.arg(i) + QString(i % 7 * 9, u'x') + u'\n';
        TextBox box;
        QPlainTextEdit bare(text);
        box.setText(text.replace(u'\n', u"\r\n"_s));
        bare.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        for (QPlainTextEdit *edit : {static_cast<QPlainTextEdit *>(&box), &bare}) {
            edit->resize(300, 200);
            edit->show();
            QVERIFY(QTest::qWaitForWindowExposed(edit));
        }
        const auto laidOut = [&] {
            std::vector<int> numbers;
            for (QTextBlock b = box.document()->firstBlock(); b.isValid(); b = b.next())
                if (b.layout()->lineCount() > 0)
                    numbers.push_back(b.blockNumber());
            return numbers;
        };
        const std::vector<int> before = laidOut();
        QTextCursor c(bare.document()->findBlockByNumber(line));
        box.select(box.toModel(c.position()), 4);
        c.setPosition(c.position() + 4, QTextCursor::KeepAnchor);
        bare.setTextCursor(c);
        QCoreApplication::processEvents();
        QCOMPARE(box.cursorRect(), bare.cursorRect());
        const int top = box.cursorForPosition(QPoint(0, 0)).blockNumber();
        const int bottom = box.cursorForPosition(QPoint(0, box.viewport()->height() - 1)).blockNumber();
        const auto unseen = std::ranges::count_if(laidOut(), [&](int n) {
            return (n < top || n > bottom + 1) && !std::ranges::binary_search(before, n);
        });
        QVERIFY2(unseen <= bottom - top + 3, qPrintable(u"%1 paragraphs laid out but not shown"_s.arg(unseen)));
    }

    // Going to another control and back repaints the caret, and the selection only where its
    // colours follow the focus.
    void focusRepaintsWhatChangesLook_data()
    {
        QTest::addColumn<int>("otherWithoutFocus"); // the colour drawn otherwise without the focus
        QTest::addRow("the same colours both ways") << int(QPalette::NoRole);
        QTest::addRow("another selection colour") << int(QPalette::Highlight);
        QTest::addRow("another colour of selected text") << int(QPalette::HighlightedText);
    }
    void focusRepaintsWhatChangesLook()
    {
        QFETCH(int, otherWithoutFocus);
        QWidget window;
        auto *box = new TextBox(&window);
        auto *other = new QLineEdit(&window);
        (new QVBoxLayout(&window))->addWidget(box);
        window.layout()->addWidget(other);
        QPalette p = box->palette();
        for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
            p.setColor(QPalette::Inactive, role, role == otherWithoutFocus ? Qt::gray : p.color(QPalette::Active, role));
        box->setPalette(p);
        box->setText(u"first line\r\nsecond line"_s);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->select(1, 15); // into the second line
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QCoreApplication::processEvents(); // the selection's own repaint
        const QPoint inSelection = box->cursorRect(QTextCursor(box->document())).center() + QPoint(20, 0);
        QRegion painted;
        paintedRegion_ = &painted;
        box->viewport()->installEventFilter(this);
        for (QWidget *to : {static_cast<QWidget *>(other), static_cast<QWidget *>(box)}) {
            painted = {};
            to->setFocus();
            QTRY_VERIFY(painted.contains(box->cursorRect().center()));
            QCOMPARE(painted.contains(inSelection), otherWithoutFocus != QPalette::NoRole);
        }
        paintedRegion_ = nullptr;
    }

    // The kept text follows every change on one box: typing (Alt with a digit types nothing),
    // undo, a replacement (one undoable edit), a rewrite and a restore (each one edit only where
    // the texts differ, and no undo step).
    void textFollowsEveryChange()
    {
        TextBox box;
        const QString text = u"one two\r\nthree"_s;
        box.setText(text);
        box.select(4, 3);
        box.setSelText(u"2\r\n3\n"_s);
        QVERIFY(box.hasText());
        QCOMPARE(u"%1|%2|%3"_s.arg(box.Text()).arg(box.SelStart()).arg(box.SelLength()), u"one 2\r\n3\n\r\nthree|9|0"_s);
        box.undo();
        QCOMPARE(box.Text(), text);
        box.setSelStart(4);
        QTest::keyClick(&box, Qt::Key_8, Qt::AltModifier);
        QTest::keyClick(&box, Qt::Key_8);
        QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(box.Text(), u"one 8\r\ntwo\r\nthree"_s);
        box.setText(text);
        QList<QList<int>> edits;
        connect(box.document(), &QTextDocument::contentsChange, &box,
                [&](int position, int removed, int added) { edits.append({position, removed, added}); });
        box.select(4, 10);
        box.rewriteSelText(u"two\r\nTHREE"_s);
        QVERIFY(!box.document()->isUndoAvailable());
        QTest::keyClick(&box, Qt::Key_X);
        QCOMPARE(box.Text(), u"one two\r\nTHREEx"_s);
        box.restoreText(text);
        QCOMPARE(box.Text(), text);
        QCOMPARE(edits, (QList<QList<int>>{{8, 5, 5}, {13, 0, 1}, {8, 6, 5}}));
        QVERIFY(!box.document()->isUndoAvailable());
    }

    // A replace-all that lets events through between its pieces leaves the document whole at
    // each pause and is still one step to undo and to redo, by the menu and by the keys.
    void replaceAllPausesAndStaysOneStep()
    {
        TextBox box;
        const QString line = u"ab\r\n"_s, replacedLine = u"XYb\r\n"_s;
        const QString text = line.repeated(20), replaced = replacedLine.repeated(20);
        box.setText(text);
        box.setPauseEvery(0);
        QStringList seen;
        box.setPause([&] { seen.append(box.Text()); });
        QSignalSpy done(&box, &TextBox::longEditDone);
        std::vector<std::pair<qsizetype, qsizetype>> edits;
        for (int i = 0; i < 20; ++i)
            edits.emplace_back(i * 4, 1);
        const QTextCharFormat format = box.document()->firstBlock().begin().fragment().charFormat();
        box.replaceEach(edits, u"XY"_s);
        QCOMPARE(box.Text(), replaced);
        // The replacements take the format of the text around them.
        for (QTextBlock b = box.document()->firstBlock(); b.isValid(); b = b.next())
            for (auto f = b.begin(); !f.atEnd(); ++f)
                QCOMPARE(f.fragment().charFormat(), format);
        QCOMPARE(seen.size(), 19);
        for (int k = 0; k < 19; ++k) // the last k + 1 are done, from the end
            QCOMPARE(seen[k], line.repeated(19 - k) + replacedLine.repeated(k + 1));
        QCOMPARE(done.size(), 1);

        box.undoEdit();
        QCOMPARE(box.Text(), text);
        QTest::keyClick(&box, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(box.Text(), replaced);
        // Typing after it is a step of its own.
        box.setSelStart(box.Text().size());
        QTest::keyClick(&box, Qt::Key_Q);
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box.Text(), replaced);
        box.undoEdit();
        QCOMPARE(box.Text(), text);
    }

    // Loading and rewriting much text pause between pieces and give what one edit would; a save
    // built from the document a piece at a time writes what Text() would.
    void longLoadsAndRewritesPause()
    {
        const QString line = u"あいう\ne\r\n"_s, piece(TextModel::SoftLineLength, u'x');
        const QString big = line.repeated(173000) + piece + piece + u"xxx\r\n"_s + line.repeated(50000); // more than one piece
        QString converted = big;
        converted.replace(u'い', u'イ');
        TextBox box;
        box.setPauseEvery(0);
        int pauses = 0;
        box.setPause([&] { ++pauses; });
        const auto check = [&](const QString &expected) {
            QCOMPARE(box.Text(), expected);
            QCOMPARE(box.document()->toPlainText(),
                     QString(expected).replace(u"\r\n"_s, u"\n"_s).replace(piece + piece + u"xxx"_s,
                                                                             piece + u'\n' + piece + u"\nxxx"_s));
            QVERIFY(std::exchange(pauses, 0) > 0);
        };
        box.setText(big);
        check(big);
        box.select(1, big.size() - 3); // the changed stretch is not the whole text
        box.rewriteSelText(converted.sliced(1, big.size() - 3));
        check(converted);
        box.restoreText(big);
        check(big);

        QTextCursor(box.document()).insertText(u"typed"_s); // the kept text is gone
        QVERIFY(!box.hasText());
        QTemporaryDir dir;
        const QString fromPieces = dir.filePath(u"pieces.txt"_s), fromText = dir.filePath(u"text.txt"_s);
        QVERIFY(TextFile::write(fromPieces, *box.documentPieces()).ok);
        QVERIFY(pauses > 0);
        QVERIFY(TextFile::write(fromText, box.Text()).ok);
        QVERIFY(fileBytes(fromPieces) == fileBytes(fromText));
    }

    // A text of several pieces, each loaded as it is where it can be: what a later piece needs
    // of the document form (a lone CR that becomes a line break, a long line in pieces) still
    // reads back, also once the document is read afresh after an edit.
    void laterPiecesReadBack()
    {
        const QString lines = u"ab\r\n"_s.repeated(TextFile::PieceChars / 4 + 1000);
        const struct {
            QString in, out;
        } cases[] = {{lines + u"c\rd"_s, lines + u"c\r\nd"_s}, {lines + Long, lines + Long}};
        for (const auto &c : cases) {
            TextBox box;
            box.setText(c.in);
            QCOMPARE(box.Text(), c.out);
            QTextCursor(box.document()).insertText(u"x"_s);
            QCOMPARE(box.Text(), u"x"_s + c.out);
        }
    }

    // Lines cut into pieces of four (¦ soft, | hard): after a blank near the end, a surrogate
    // pair whole, a lone LF part of the line, a line of exactly the length not cut.
    void splitting()
    {
        const QString text = u"abcdefghij\r\nabc defghij\r\nabcde\r\nabc\U0001F600x\r\nab\ncdef\r\nabc\ndefg\r\nabcd\r\nefgh"_s;
        const TextModel::Document d = TextModel::toDocument(text, 4);
        QString shown = d.text;
        for (qsizetype p : d.softBreaks)
            shown[p] = u'¦';
        shown.replace(TextModel::ParagraphBreak, u'|');
        QCOMPARE(shown, u"abcd¦efgh¦ij|abc ¦defg¦hij|abcd¦e|abc¦\U0001F600x|ab\u2028c¦def|abc\u2028¦defg|abcd|efgh"_s);
        QCOMPARE(TextModel::fromDocument(d.text, d.softBreaks), text);
    }

    // Soft breaks move with an edit; one the edit takes is gone.
    void softBreaksFollowEdits()
    {
        TextModel::SoftBreaks soft;
        soft.reset({10, 20, 30});
        soft.contentsChange(18, 5, 3);  // takes the break at 20 and moves 30 to 28
        QCOMPARE(soft.positions(), (std::vector<qsizetype>{10, 28}));
        QCOMPARE(soft.countBefore(28), 1);
        QCOMPARE(soft.between(5, 29), (std::vector<qsizetype>{5, 23}));
    }

    // A long line, pasted or set, is shown in pieces; positions, line and column, the clipboard,
    // typing, edits at a piece's end, undo and redo all see the line whole.
    void longLineInPieces()
    {
        TextBox box;
        {
            // Loading marks the pieces in one change: a change to each piece alone would lay
            // each one out, where the view lays out only what it shows.
            TextBox loaded;
            QSignalSpy changes(loaded.document(), &QTextDocument::contentsChange);
            loaded.setText(Long.repeated(4));
            QCOMPARE_LT(changes.size(), loaded.document()->blockCount() / 2);
        }
        QApplication::clipboard()->setText(u"x\n"_s + Long + u"\n"_s);
        box.paste();
        QTest::keyClicks(&box, u"z"_s);
        QCOMPARE(box.document()->blockCount(), 5); // x, two pieces and a tail piece, z
        QCOMPARE(box.Text(), u"x\r\n"_s + Long + u"\r\nz"_s);
        box.select(3 + 2 * TextModel::SoftLineLength + 2, 2); // in the tail piece
        QCOMPARE(box.SelText(), u"il"_s);
        const int doc = box.textCursor().selectionStart();
        QCOMPARE(u"%1 %2 %3"_s.arg(box.lineAt(doc)).arg(box.columnAt(doc)).arg(box.lineAt(box.document()->characterCount() - 1)),
                 u"2 %1 3"_s.arg(2 * TextModel::SoftLineLength + 3));
        box.select(3 + TextModel::SoftLineLength - 1, 2);
        box.copy();
        QCOMPARE(box.SelText() + QApplication::clipboard()->text(), u"abab"_s);
        const QString a(TextModel::SoftLineLength, u'a'), b(TextModel::SoftLineLength, u'b');
        const std::pair<Qt::Key, QString> edits[] = {{Qt::Key_Return, a + u"\r\n"_s + b + u"tail"_s}, // a real break
                                                     {Qt::Key_Backspace, a.chopped(1) + b + u"tail"_s},
                                                     {Qt::Key_Delete, a + b.mid(1) + u"tail"_s}};
        for (const auto &[key, expected] : edits) {
            box.setText(Long);
            QTextCursor c = box.textCursor();
            const int second = box.document()->firstBlock().next().position();
            c.setPosition(key == Qt::Key_Delete ? second - 1 : second);
            box.setTextCursor(c);
            QTest::keyClick(&box, key);
            QCOMPARE(box.Text(), expected);
            box.undo(); // the pieces come back as pieces
            QCOMPARE(box.Text(), Long);
            box.redo();
            QCOMPARE(box.Text(), expected);
        }
    }

    void systemColoursFollowTheme()
    {
        TextBox box;
        QPalette theme = QApplication::palette();
        theme.setColor(QPalette::Base, QColor(1, 2, 3));
        QApplication::setPalette(theme);
        QTRY_COMPARE(box.palette().color(QPalette::Base), QColor(1, 2, 3));
    }
};

QTEST_MAIN(TestTextBox)
#include "tst_textbox.moc"
