// The find and replace dialog on a real main window: opening, closing, the button states of a
// search session, and replace-all against the same loop run in a second text box.
#include "../app/harness.h"
#include "find/Find.h"
#include "find/search.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QToolBar>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {
// Find next, replace, replace all: 1 enabled, 0 disabled.
QString states(const Find *d)
{
    QString s;
    for (const QPushButton *b : {d->FindNextButton, d->ReplaceButton, d->ReplaceAllButton})
        s += b->isEnabled() ? u'1' : u'0';
    return s;
}
} // namespace

class TestFind : public QObject {
    Q_OBJECT
private slots:
    // Each way in, then each way out, on one window: the dialog is made afresh from the selection,
    // and only brought forward while open.
    void openAndClose()
    {
        Harness h;
        frmMain &w = h.start();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const auto open = [&](const QString &entry) {
            if (entry == "key")
                QTest::keyClick(text1(w), Qt::Key_F, Qt::ControlModifier);
            else if (entry == "panel")
                QTest::mouseDClick(statusPanel(w, 2), Qt::LeftButton);
            else
                qobject_cast<QAbstractButton *>(w.findChild<QToolBar *>()->widgetForAction(w.toolbarButton(11)))->click();
            return w.findChild<Find *>();
        };
        text1(w)->setText("abc\r\nabc");
        // Ctrl+F then Esc, toolbar button 11 then the close button, status panel 2 then the close box.
        for (const QString entry : {"key", "button", "panel"}) {
            text1(w)->select(1, 5); // the selection, line break and all
            QPointer<Find> d = open(entry);
            QVERIFY(d && d->isVisible());
            QCOMPARE(d->txtFind->text(), "bc\r\na");
            QCOMPARE(d->Text2->text() + states(d), "000");
            QCOMPARE(d->pos(), QPoint(int(std::lround((w.windowLeft() + 550) / (1440.0 / w.logicalDpiX()))),
                                      int(std::lround((w.windowTop() + 1540) / (1440.0 / w.logicalDpiY())))));
            d->Text2->setText("x");
            d->chkCase->setChecked(true);
            d->FindButton->click();
            d->txtFind->deselect();
            // Open already: brought forward as it is, nothing reset, the search string selected
            // ready to be typed over.
            open(entry);
            QCOMPARE(w.findChildren<Find *>().size(), 1);
            QCOMPARE(d->Text2->text() + states(d), "x111");
            QTRY_COMPARE(d->txtFind->selectedText(), "bc\r\na");
            w.findChild<QWidget *>(u"launcherBox"_s)->setFocus(); // closing gives the focus back to the text
            if (entry == "button")
                QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
            else if (entry == "key")
                QTest::keyClick(d->txtFind, Qt::Key_Escape);
            else
                d->close();
            QTRY_VERIFY(d.isNull());
            QTRY_COMPARE(QApplication::focusWidget(), text1(w));
        }
        text1(w)->select(0, 3);
        QCOMPARE(open("key")->txtFind->text(), "abc");
    }

    // Steps: F search from the top, K Enter in the replacement field, N find next, R replace,
    // A replace all, E edit the search string, C toggle match case, U undo in the text. Each step
    // traces the selection, the button states and the message shown, if any.
    void session_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("with");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("trace");
        QTest::addColumn<QString>("result");
        const QString nf = u" 文字列 \"%1\" は見つかりません。"_s, done = u" 置換が終了しました。"_s;
        QTest::addRow("match case skips the other case") << "xABCxabc" << "abc" << "" << "CF" << QStringList{"8+0 000", "5+3 111"} << "xABCxabc";
        QTest::addRow("Enter searches from the top wherever the caret")
            << "ab ab" << "ab" << "" << "FNK" << QStringList{"0+2 111", "3+2 111", "0+2 111"} << "ab ab";
        QTest::addRow("overlapping matches") << "aaa" << "aa" << "" << "FNN"
                                             << QStringList{"0+2 111", "1+2 111", "1+2 000" + nf.arg("aa")} << "aaa";
        QTest::addRow("editing the string disables") << "abc" << "b" << "" << "FE" << QStringList{"1+1 111", "1+1 000"} << "abc";
        QTest::addRow("one undo takes back replace-all")
            << "ab\r\nAB\nab" << "ab" << u"東京"_s << "FAU" << QStringList{"0+2 111", "9+0 100" + done, "100"} << "ab\r\nAB\nab";
        QTest::addRow("replace selects the inner match") << "a" << "a" << "ba" << "FR" << QStringList{"0+1 111", "1+1 111"} << "ba";
        QTest::addRow("replace until none is left")
            << "aXa" << "a" << "b" << "FRR" << QStringList{"0+1 111", "2+1 111", "3+0 100" + nf.arg("a")} << "bXb";
        QTest::addRow("empty string: replace all ends") << "abc" << "" << "z" << "FA" << QStringList{"0+0 111", "1+0 100" + done} << "zabc";
        const QString x(40000, u'x'), y(30000, u'y');
        QTest::addRow("positions beyond 32767") << x + "ab" + y + "AB" << "ab" << "c" << "FA"
                                                << QStringList{"40000+2 111", "70002+0 100" + done} << x + "c" + y + "c";
    }
    void session()
    {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(QString, with);
        QFETCH(QString, steps);
        Harness h;
        frmMain &w = h.start();
        text1(w)->setText(text);
        text1(w)->setSelStart(text.size());
        w.toolbarButton(11)->trigger();
        Find *d = w.findChild<Find *>();
        d->txtFind->setText(what);
        d->Text2->setText(with);
        QStringList got;
        for (QChar step : steps) {
            const qsizetype before = h.dialogs.calls.size();
            switch (step.unicode()) {
            case 'F': d->FindButton->click(); break;
            case 'K': QTest::keyClick(d->Text2, Qt::Key_Return); break;
            case 'N': d->FindNextButton->click(); break;
            case 'R': d->ReplaceButton->click(); break;
            case 'A': d->ReplaceAllButton->click(); break;
            case 'E': d->txtFind->insert("!"); break;
            case 'C': d->chkCase->toggle(); break;
            case 'U': text1(w)->undo(); break;
            }
            // Where undo leaves the caret is the text box's business, not the dialog's.
            QString line = step == u'U' ? states(d) : u"%1+%2 %3"_s.arg(text1(w)->SelStart()).arg(text1(w)->SelLength()).arg(states(d));
            for (const auto &call : h.dialogs.calls.sliced(before))
                line += u' ' + call.prompt;
            got << line;
        }
        QTEST(got, "trace");
        QTEST(text1(w)->Text(), "result");
    }

    void replaceAllMatchesTheLoopInATextBox()
    {
        // The dialog computes replace-all in one pass and applies it as one undoable step; here the loop runs
        // literally in a second text box, selecting each match and typing the replacement over it.
        const QStringList textPieces = {"a", "a", "b", "A", "\r\n", "\n", " ", u"あ"_s, u"Ä"_s};
        const QStringList stringPieces = {"a", "B", "\r\n", "\n", "\r", u"あ"_s, u"ä"_s};
        QRandomGenerator rng(42);
        const auto pick = [&](const QStringList &pieces, int min, int max) {
            QString s;
            for (int n = int(rng.bounded(min, max + 1)); n > 0; --n)
                s += pieces[rng.bounded(pieces.size())];
            return s;
        };
        Harness h;
        frmMain &w = h.start();
        w.toolbarButton(11)->trigger();
        Find *d = w.findChild<Find *>();
        TextBox loop;
        for (int round = 0; round < 1000; ++round) {
            loop.setText(pick(textPieces, 0, 12));
            const QString text = loop.Text();
            const QString what = pick(stringPieces, 1, 2);
            const QString with = pick(stringPieces, 0, 2) + (rng.bounded(3) ? QString() : what);
            const qsizetype foundPos = rng.bounded(text.size() + 2);
            const qsizetype selStart = rng.bounded(text.size() + 1);
            const auto cs = rng.bounded(2) ? Qt::CaseSensitive : Qt::CaseInsensitive;
            // The box decides how a selection that would split a break is held; both boxes agree.
            loop.select(selStart, rng.bounded(text.size() - selStart + 1));
            text1(w)->setText(text);
            text1(w)->select(loop.SelStart(), loop.SelLength());

            loop.setSelText(with);
            for (qsizetype pos = Search::find(loop.Text(), what, foundPos + 1, cs); pos >= 1;
                 pos = Search::find(loop.Text(), what, loop.SelStart() + 1, cs)) {
                loop.select(pos - 1, what.size());
                loop.setSelText(with);
            }

            d->chkCase->setChecked(cs == Qt::CaseSensitive);
            d->txtFind->setText(what);
            d->Text2->setText(with);
            d->foundPos = foundPos;
            d->ReplaceAllButton_Click(); // the button is disabled after the first round
            if (text1(w)->Text() != loop.Text() || text1(w)->SelStart() != loop.SelStart())
                qWarning() << text << what << with << foundPos << selStart << cs;
            QCOMPARE(text1(w)->Text(), loop.Text());
            QCOMPARE(text1(w)->SelStart(), loop.SelStart());
            // One step for the user, whatever number of places it changed.
            action(w, QStringLiteral("mnuUndo"))->trigger();
            QCOMPARE(text1(w)->Text(), text);
        }
    }
};

QTEST_MAIN(TestFind)
#include "tst_find.moc"
