// The find and replace dialog on a real main window: opening, closing, the button states of a
// search session, and replace-all against the same loop run in a second text box.
#include "../app/harness.h"
#include "find/Find.h"
#include "find/search.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QToolBar>

#include <cmath>

class TestFind : public QObject {
    Q_OBJECT
private slots:
    void openAndClose_data();
    void openAndClose();
    void session_data();
    void session();
    void replaceAllMatchesTheLoopInATextBox();
};

namespace {

Find *openFind(frmMain &w)
{
    // Toolbar button 11 is always enabled; the menu item needs some text.
    w.toolbarButton(11)->trigger();
    return w.findChild<Find *>();
}

QString states(const Find *d)
{
    QString s;
    for (const QPushButton *b : {d->FindNextButton, d->ReplaceButton, d->ReplaceAllButton})
        s += b->isEnabled() ? u'1' : u'0';
    return s;
}

} // namespace

void TestFind::openAndClose_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("closing");
    QTest::addRow("menu item, close button") << "menu" << "button";
    QTest::addRow("Ctrl+F, Esc") << "key" << "esc";
    QTest::addRow("toolbar button 11, close box") << "button" << "closebox";
    QTest::addRow("double-click on status panel 2, close button") << "panel" << "button";
}

void TestFind::openAndClose()
{
    QFETCH(QString, entry);
    QFETCH(QString, closing);
    Harness h;
    frmMain &w = h.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    text1(w)->setText(QStringLiteral("abc\r\nabc"));
    text1(w)->select(1, 5); // "bc\r\na": the selection, line break and all, is the search string
    const auto open = [&] {
        if (entry == "menu")
            action(w, "mnuSearchFind")->trigger();
        else if (entry == "key")
            QTest::keyClick(text1(w), Qt::Key_F, Qt::ControlModifier);
        else if (entry == "panel")
            QTest::mouseDClick(statusPanel(w, 2), Qt::LeftButton);
        else
            qobject_cast<QAbstractButton *>(w.findChild<QToolBar *>()->widgetForAction(w.toolbarButton(11)))->click();
        return w.findChild<Find *>();
    };
    QPointer<Find> d = open();
    QVERIFY(d && d->isVisible());
    QCOMPARE(d->txtFind->text(), QStringLiteral("bc\r\na"));
    QCOMPARE(states(d), QStringLiteral("000"));
    QCOMPARE(d->pos(), QPoint(int(std::lround((w.windowLeft() + 550) / (1440.0 / w.logicalDpiX()))),
                              int(std::lround((w.windowTop() + 1540) / (1440.0 / w.logicalDpiY())))));
    d->Text2->setText(QStringLiteral("x"));
    d->chkCase->setChecked(true);
    d->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), d.data());
    // An access key moves to its field with the field's text selected, ready to be typed over.
    QTest::keyClick(d, Qt::Key_P, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), d->Text2);
    QCOMPARE(d->Text2->selectedText(), QStringLiteral("x"));
    d->FindButton->click();
    text1(w)->select(0, 0);

    // Open already: brought forward as it is, nothing reset.
    QCOMPARE(open(), d.data());
    QCOMPARE(w.findChildren<Find *>().size(), 1);
    QCOMPARE(d->txtFind->text(), QStringLiteral("bc\r\na"));
    QCOMPARE(d->Text2->text(), QStringLiteral("x"));
    QCOMPARE(d->foundPos, 2);
    QCOMPARE(states(d), QStringLiteral("111"));
    if (closing == "button")
        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    else if (closing == "esc")
        QTest::keyClick(d->txtFind, Qt::Key_Escape);
    else
        d->close();
    QTRY_VERIFY(d.isNull());
    QTRY_COMPARE(QApplication::focusWidget(), text1(w));
    // Opened again it starts afresh from the current selection.
    text1(w)->select(0, 3);
    Find *again = open();
    QCOMPARE(again->txtFind->text(), QStringLiteral("abc"));
    QVERIFY(!again->chkCase->isChecked());
    QCOMPARE(again->foundPos, 0);
}

void TestFind::session_data()
{
    // Each step: F search from the top, K Enter in the replacement field, N find next, R replace,
    // A replace all, E edit the search string, C toggle match case, U undo in the text. After
    // each step the trace holds the selection, the states of find-next/replace/replace-all and
    // the message shown, if any.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("with");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("trace");
    QTest::addColumn<QString>("result");
    const QString nf = QStringLiteral(" 文字列 \"%1\" は見つかりません。");
    const QString done = QStringLiteral(" 置換が終了しました。");
    QTest::addRow("case ignored") << "xABCx" << "abc" << "" << "F" << QStringList{"1+3 111"} << "xABCx";
    QTest::addRow("case matched") << "xABCx" << "abc" << "" << "CF"
                                  << QStringList{"5+0 000", "5+0 000" + nf.arg("abc")} << "xABCx";
    QTest::addRow("Enter searches from the top wherever the caret")
        << "ab ab" << "ab" << "" << "FNK" << QStringList{"0+2 111", "3+2 111", "0+2 111"} << "ab ab";
    QTest::addRow("overlapping matches") << "aaa" << "aa" << "" << "FNN"
                                         << QStringList{"0+2 111", "1+2 111", "1+2 000" + nf.arg("aa")} << "aaa";
    QTest::addRow("editing the string disables") << "abc" << "b" << "" << "FE" << QStringList{"1+1 111", "1+1 000"} << "abc";
    QTest::addRow("replace all") << "abcabcabc" << "abc" << "x" << "FA" << QStringList{"0+3 111", "3+0 100" + done} << "xxx";
    QTest::addRow("replace all restarts inside the first replacement")
        << "a a" << "a" << "ba" << "FA" << QStringList{"0+1 111", "6+0 100" + done} << "bba ba";
    QTest::addRow("one undo takes back replace-all")
        << "ab\r\nAB\nab" << "ab" << QStringLiteral("東京") << "FAU" << QStringList{"0+2 111", "9+0 100" + done, "100"}
        << "ab\r\nAB\nab";
    QTest::addRow("replace selects the inner match") << "a" << "a" << "ba" << "FR" << QStringList{"0+1 111", "1+1 111"} << "ba";
    QTest::addRow("replace until none is left")
        << "aXa" << "a" << "b" << "FRR" << QStringList{"0+1 111", "2+1 111", "3+0 100" + nf.arg("a")} << "bXb";
    QTest::addRow("empty string: replace all ends")
        << "abc" << "" << "z" << "FA" << QStringList{"0+0 111", "1+0 100" + done} << "zabc";
    const QString x(40000, u'x'), y(30000, u'y');
    QTest::addRow("positions beyond 32767") << x + "ab" + y + "AB" << "ab" << "c" << "FA"
                                            << QStringList{"40000+2 111", "70002+0 100" + done} << x + "c" + y + "c";
}

void TestFind::session()
{
    QFETCH(QString, text);
    QFETCH(QString, what);
    QFETCH(QString, with);
    QFETCH(QString, steps);
    QFETCH(QStringList, trace);
    QFETCH(QString, result);
    Harness h;
    frmMain &w = h.start();
    text1(w)->setText(text);
    text1(w)->setSelStart(text.size());
    Find *d = openFind(w);
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
        case 'E': d->txtFind->insert(QStringLiteral("!")); break;
        case 'C': d->chkCase->toggle(); break;
        case 'U': text1(w)->undo(); break;
        }
        // Where undo leaves the caret is the text box's business, not the dialog's.
        QString line = step == u'U' ? states(d) : QStringLiteral("%1+%2 %3").arg(text1(w)->SelStart()).arg(text1(w)->SelLength()).arg(states(d));
        for (qsizetype i = before; i < h.dialogs.calls.size(); ++i) {
            QCOMPARE(h.dialogs.calls[i].title, AppTitle);
            QCOMPARE(h.dialogs.calls[i].style, int(MsgBoxStyle::OKOnly));
            line += u' ' + h.dialogs.calls[i].prompt;
        }
        got << line;
    }
    QCOMPARE(got, trace);
    QCOMPARE(text1(w)->Text(), result);
}

void TestFind::replaceAllMatchesTheLoopInATextBox()
{
    // The dialog computes replace-all in one pass and applies it as one edit; here the loop runs
    // literally in a second text box, selecting each match and typing the replacement over it.
    const QStringList textPieces = {"a", "b", "A", "\r\n", "\n", " "};
    const QStringList stringPieces = {"a", "B", "\r\n", "\n", "\r"};
    QRandomGenerator rng(42);
    const auto pick = [&](const QStringList &pieces, int min, int max) {
        QString s;
        for (int n = int(rng.bounded(min, max + 1)); n > 0; --n)
            s += pieces[rng.bounded(pieces.size())];
        return s;
    };
    Harness h;
    frmMain &w = h.start();
    Find *d = openFind(w);
    TextBox loop;
    for (int round = 0; round < 300; ++round) {
        loop.setText(pick(textPieces, 0, 10));
        const QString text = loop.Text();
        const QString what = pick(stringPieces, 1, 2);
        const QString with = pick(stringPieces, 0, 2) + (rng.bounded(3) ? QString() : what);
        const qsizetype foundPos = rng.bounded(text.size() + 1);
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
    }
}

QTEST_MAIN(TestFind)
#include "tst_find.moc"
