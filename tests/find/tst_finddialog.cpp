// The find and replace dialog: opening and closing in a real main window; beside a bare text box
// the button states of a search session, and replace-all against the same loop in a second box.
#include "../app/harness.h"
#include "../editor/fakehost.h"
#include "find/FindController.h"
#include "find/FindDialog.h"
#include "find/search.h"
#include "platform/twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {
// The dialog's controls, found by name as a user's tools would find them.
struct Controls {
    QLineEdit *what, *with;
    QCheckBox *matchCase;
    QPushButton *find, *next, *replace, *replaceAll, *close;
    // Find next, replace, replace all: 1 enabled, 0 disabled.
    QString states() const
    {
        return u"%1%2%3"_s.arg(int(next->isEnabled())).arg(int(replace->isEnabled())).arg(int(replaceAll->isEnabled()));
    }
};

Controls controls(const FindDialog *d)
{
    const auto button = [d](const char *name) { return d->findChild<QPushButton *>(QLatin1String(name)); };
    return {d->findChild<QLineEdit *>(u"findEdit"_s), d->findChild<QLineEdit *>(u"replaceEdit"_s),
            d->findChild<QCheckBox *>(u"matchCaseCheck"_s), button("findButton"), button("findNextButton"),
            button("replaceButton"), button("replaceAllButton"), button("closeButton")};
}
} // namespace

class TestFindDialog : public QObject {
    Q_OBJECT
private slots:
    // Each way in, then each way out, on one window: the dialog is made afresh from the selection,
    // and only brought forward while open.
    void openAndClose()
    {
        Harness h;
        MainWindow &w = h.start();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const auto open = [&](const QString &entry) {
            if (entry == "key")
                QTest::keyClick(textBox(w), Qt::Key_F, Qt::ControlModifier);
            else if (entry == "panel")
                QTest::mouseDClick(statusPanel(w, 2), Qt::LeftButton);
            else
                qobject_cast<QAbstractButton *>(w.findChild<QToolBar *>()->widgetForAction(w.toolbarButton(11)))->click();
            return w.findChild<FindDialog *>();
        };
        textBox(w)->setText("abc\r\nabc");
        // Ctrl+F then Esc, toolbar button 11 then the close button, status panel 2 then the close box.
        for (const QString entry : {"key", "button", "panel"}) {
            textBox(w)->select(1, 5); // the selection, line break and all
            QPointer<FindDialog> d = open(entry);
            QVERIFY(d && d->isVisible());
            const Controls c = controls(d);
            QCOMPARE(c.what->text() + u'|' + c.with->text() + c.states(), "bc\r\na|000");
            QCOMPARE(d->pos(), Twips::toPixels(QPointF(w.windowLeft() + 550, w.windowTop() + 1540), w));
            c.with->setText("x");
            c.matchCase->setChecked(true);
            c.find->click();
            c.what->deselect();
            // Open already: brought forward as it is, nothing reset, the search string selected
            // ready to be typed over.
            open(entry);
            QCOMPARE(QString::number(w.findChildren<FindDialog *>().size()) + c.with->text() + c.states(), "1x111");
            QTRY_COMPARE(c.what->selectedText(), "bc\r\na");
            w.findChild<QWidget *>(u"launcherBox"_s)->setFocus(); // closing gives the focus back to the text
            if (entry == "button")
                QTest::mouseClick(c.close, Qt::LeftButton);
            else if (entry == "key")
                QTest::keyClick(c.what, Qt::Key_Escape);
            else
                d->close();
            QTRY_VERIFY(d.isNull());
            QTRY_COMPARE(QApplication::focusWidget(), textBox(w));
        }
    }

    // Steps: F search from the top, K Enter in the replacement field, N find next, R replace,
    // A replace all, E edit the search string. Each step traces the selection, the button states
    // and the message shown, if any (match case and undo: the loop below).
    void session_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("with");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("trace");
        QTest::addColumn<QString>("result");
        const QString nf = u" 文字列 \"%1\" は見つかりません。"_s, done = u" 置換が終了しました。"_s;
        QTest::addRow("Enter searches from the top wherever the caret")
            << "ab ab" << "ab" << "" << "FNK" << QStringList{"0+2 111", "3+2 111", "0+2 111"} << "ab ab";
        QTest::addRow("overlapping matches") << "aaa" << "aa" << "" << "FNN"
                                             << QStringList{"0+2 111", "1+2 111", "1+2 000" + nf.arg("aa")} << "aaa";
        QTest::addRow("editing the string disables") << "abc" << "b" << "" << "FE" << QStringList{"1+1 111", "1+1 000"} << "abc";
        QTest::addRow("replace selects the inner match") << "a" << "a" << "ba" << "FR" << QStringList{"0+1 111", "1+1 111"} << "ba";
        QTest::addRow("replace until none is left")
            << "aXa" << "a" << "b" << "FRR" << QStringList{"0+1 111", "2+1 111", "3+0 100" + nf.arg("a")} << "bXb";
        QTest::addRow("replace all never overlaps matches") << "a" + QString(10, u' ') + "b" << "  " << " " << "FA"
                                                        << QStringList{"1+2 111", "6+0 100" + done} << "a" + QString(5, u' ') + "b";
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
        FakeHost host;
        FindController finds(host, &host.dialogs, {});
        host.box.setText(text);
        host.box.setSelStart(text.size());
        finds.showFind();
        const Controls c = controls(host.widget.findChild<FindDialog *>());
        c.what->setText(what);
        c.with->setText(with);
        QStringList got;
        for (QChar step : steps) {
            const qsizetype before = host.dialogs.calls.size();
            switch (step.unicode()) {
            case 'F': c.find->click(); break;
            case 'K': QTest::keyClick(c.with, Qt::Key_Return); break;
            case 'N': c.next->click(); break;
            case 'R': c.replace->click(); break;
            case 'A': c.replaceAll->click(); break;
            case 'E': c.what->insert("!"); break;
            }
            QString line = u"%1+%2 %3"_s.arg(host.box.SelStart()).arg(host.box.SelLength()).arg(c.states());
            for (const auto &call : host.dialogs.calls.sliced(before))
                line += u' ' + call.prompt;
            got << line;
        }
        QTEST(got, "trace");
        QTEST(host.box.Text(), "result");
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
        FakeHost host;
        FindController finds(host, nullptr, {});
        finds.showFind();
        const Controls c = controls(host.widget.findChild<FindDialog *>());
        TextBox &box = host.box, loop;
        for (int round = 0; round < 1000; ++round) {
            loop.setText(pick(textPieces, 0, 12));
            const QString text = loop.Text();
            const QString what = pick(stringPieces, 1, 2);
            const QString with = pick(stringPieces, 0, 2) + (rng.bounded(3) ? QString() : what);
            const qsizetype foundPos = 1 + rng.bounded(text.size() + 1); // replace-all is enabled after a match only
            const qsizetype selStart = rng.bounded(text.size() + 1);
            const auto cs = rng.bounded(2) ? Qt::CaseSensitive : Qt::CaseInsensitive;
            // The box decides how a selection that would split a break is held; both boxes agree.
            loop.select(selStart, rng.bounded(text.size() - selStart + 1));

            // The last match was found at foundPos, in a text of blanks that was then edited. A string
            // with a CR not followed by LF is found in no text box.
            c.matchCase->setChecked(cs == Qt::CaseSensitive);
            c.what->setText(what);
            c.with->setText(with);
            box.setText(QString(foundPos - 1, u' ') + what);
            c.find->click();
            if (!c.replaceAll->isEnabled()) {
                QVERIFY(what.contains(QRegularExpression(u"\r(?!\n)"_s)));
                continue;
            }
            box.setText(text);
            box.select(loop.SelStart(), loop.SelLength());
            c.replaceAll->click();

            loop.setSelText(with);
            for (qsizetype pos = Search::find(loop.Text(), what, foundPos + 1, cs); pos >= 1;
                 pos = Search::find(loop.Text(), what, loop.SelStart() + 1, cs)) {
                loop.select(pos - 1, what.size());
                loop.setSelText(with);
            }
            QVERIFY2(box.Text() == loop.Text() && box.SelStart() == loop.SelStart(),
                     qPrintable(u"%1|%2|%3|%4|%5"_s.arg(text, what, with).arg(foundPos).arg(cs)));
            // One step for the user, whatever number of places it changed.
            box.undo();
            QCOMPARE(box.Text(), text);
        }
    }
};

QTEST_MAIN(TestFindDialog)
#include "tst_finddialog.moc"
