// The find and replace dialog on a real main window: opening, controls, the button states of a
// search session, and replace-all against the same loop run in a second text box.
#include "../app/harness.h"
#include "find/Find.h"
#include "find/search.h"

#include <QApplication>
#include <QAbstractButton>
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
    void opensBelowTheWindowWithTheSelection();
    void controlsInTabOrder();
    void everyEntryOpensTheSameDialog_data();
    void everyEntryOpensTheSameDialog();
    void closingDestroysAndGivesFocusBack_data();
    void closingDestroysAndGivesFocusBack();
    void accessKeysMoveToTheirFields();
    void session_data();
    void session();
    void replaceAllIsOneUndoStep();
    void replaceAllMatchesTheLoopInATextBox();
    void positionsBeyondSixteenBits();
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

void TestFind::opensBelowTheWindowWithTheSelection()
{
    Harness h;
    frmMain &w = h.start();
    w.Text1->setText(QStringLiteral("first line\r\nsecond line"));
    w.Text1->select(6, 8); // "line\r\nse"
    Find *d = openFind(w);
    QVERIFY(d);
    QCOMPARE(d->parentWidget(), &w);
    QVERIFY(!d->isModal());
    QVERIFY(d->isVisible());
    QCOMPARE(d->windowTitle(), QStringLiteral("q7 Zibo"));
    QCOMPARE(d->txtFind->text(), QStringLiteral("line\r\nse"));
    QCOMPARE(d->Text2->text(), QString());
    QVERIFY(!d->chkCase->isChecked());
    QCOMPARE(states(d), QStringLiteral("000"));
    QVERIFY(d->FindButton->isEnabled() && d->cmdCancel->isEnabled());
    QCOMPARE(d->foundPos, 0);
    const QPoint at(int(std::lround((w.windowLeft() + 550) / w.twipsPerPixelX())),
                    int(std::lround((w.windowTop() + 1540) / w.twipsPerPixelY())));
    QCOMPARE(d->pos(), at);
    QCOMPARE(d->size(), QSize(int(std::lround(6930 / w.twipsPerPixelX())), int(std::lround(1320 / w.twipsPerPixelY()))));
}

void TestFind::controlsInTabOrder()
{
    Harness h;
    frmMain &w = h.start();
    Find *d = openFind(w);
    QStringList order;
    QWidget *x = d->txtFind;
    do {
        if (x->focusPolicy() & Qt::TabFocus)
            order << x->objectName() + u'=' + (x == d->txtFind || x == d->Text2 ? QString() : x->property("text").toString());
        x = x->nextInFocusChain();
    } while (x != d->txtFind);
    QCOMPARE(order, QStringList({QStringLiteral("txtFind="), QStringLiteral("FindButton=検索(&S)"),
                                 QStringLiteral("FindNextButton=次を検索(&F)"), QStringLiteral("Text2="),
                                 QStringLiteral("ReplaceButton=置換(&R)"), QStringLiteral("ReplaceAllButton=全て置換(&A)"),
                                 QStringLiteral("chkCase=大文字と小文字の区別(&H)"), QStringLiteral("cmdCancel=閉じる(&C)")}));
    QCOMPARE(d->Label1[0]->text(), QStringLiteral("検索(&N) ："));
    QCOMPARE(d->Label1[1]->text(), QStringLiteral("置換(&P) ："));
    QVERIFY(d->FindButton->isDefault());

    // Enter searches, whatever field has the focus.
    w.Text1->setText(QStringLiteral("xyz"));
    d->txtFind->setText(QStringLiteral("y"));
    QTest::keyClick(d->txtFind, Qt::Key_Return);
    QCOMPARE(d->foundPos, 2);
}

void TestFind::everyEntryOpensTheSameDialog_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addRow("menu item") << "menu";
    QTest::addRow("Ctrl+F") << "key";
    QTest::addRow("toolbar button 11") << "button";
    QTest::addRow("double-click on status panel 2") << "panel";
}

void TestFind::everyEntryOpensTheSameDialog()
{
    QFETCH(QString, entry);
    Harness h;
    frmMain &w = h.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.Text1->setText(QStringLiteral("abc abc"));
    w.Text1->select(0, 3);
    const auto open = [&] {
        if (entry == "menu")
            w.mnuSearchFind->trigger();
        else if (entry == "key")
            QTest::keyClick(w.Text1, Qt::Key_F, Qt::ControlModifier);
        else if (entry == "panel")
            QTest::mouseDClick(w.StatusPanel[1], Qt::LeftButton);
        else
            qobject_cast<QAbstractButton *>(w.Toolbar1->widgetForAction(w.toolbarButton(11)))->click();
    };
    open();
    QPointer<Find> d = w.findChild<Find *>();
    QVERIFY(d && d->isVisible());
    d->FindButton->click();
    d->Text2->setText(QStringLiteral("x"));
    w.Text1->select(4, 0);

    // Open already: brought forward as it is, nothing reset.
    open();
    QCOMPARE(w.findChildren<Find *>().size(), 1);
    QCOMPARE(w.findChild<Find *>(), d.data());
    QCOMPARE(d->txtFind->text(), QStringLiteral("abc"));
    QCOMPARE(d->Text2->text(), QStringLiteral("x"));
    QCOMPARE(d->foundPos, 1);
    QCOMPARE(states(d), QStringLiteral("111"));
}

void TestFind::closingDestroysAndGivesFocusBack_data()
{
    QTest::addColumn<QString>("how");
    QTest::addRow("close button") << "button";
    QTest::addRow("Esc") << "esc";
    QTest::addRow("window close box") << "close";
}

void TestFind::closingDestroysAndGivesFocusBack()
{
    QFETCH(QString, how);
    Harness h;
    frmMain &w = h.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.Text1->setText(QStringLiteral("one two"));
    QPointer<Find> d = openFind(w);
    QVERIFY(QTest::qWaitForWindowActive(d));
    d->txtFind->setText(QStringLiteral("two"));
    d->chkCase->setChecked(true);
    if (how == "button")
        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    else if (how == "esc")
        QTest::keyClick(d->txtFind, Qt::Key_Escape);
    else
        d->close();
    QTRY_VERIFY(d.isNull());
    QTRY_COMPARE(QApplication::focusWidget(), w.Text1);

    // Opened again it starts afresh from the current selection.
    w.Text1->select(0, 3);
    Find *again = openFind(w);
    QCOMPARE(again->txtFind->text(), QStringLiteral("one"));
    QVERIFY(!again->chkCase->isChecked());
    QCOMPARE(again->foundPos, 0);
}

void TestFind::accessKeysMoveToTheirFields()
{
    Harness h;
    frmMain &w = h.start();
    w.show();
    Find *d = openFind(w);
    QVERIFY(QTest::qWaitForWindowActive(d));
    d->Text2->setText(QStringLiteral("with"));
    QTest::keyClick(d, Qt::Key_P, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), d->Text2);
    QCOMPARE(d->Text2->selectedText(), QStringLiteral("with")); // the field's text is selected
    QTest::keyClick(d, Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), d->txtFind);
}

void TestFind::session_data()
{
    // Each step: F search from the top, N find next, R replace, A replace all, E edit the search
    // string, C toggle match case. After each step the trace holds the selection, the states of
    // find-next/replace/replace-all and the message shown, if any.
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
    QTest::addRow("from the top wherever the caret") << "ab ab" << "ab" << "" << "FNF"
                                                     << QStringList{"0+2 111", "3+2 111", "0+2 111"} << "ab ab";
    QTest::addRow("overlapping matches") << "aaa" << "aa" << "" << "FNN"
                                         << QStringList{"0+2 111", "1+2 111", "1+2 000" + nf.arg("aa")} << "aaa";
    QTest::addRow("a match across a line break") << "ab\r\ncd" << "b\r\nc" << "" << "F" << QStringList{"1+4 111"} << "ab\r\ncd";
    QTest::addRow("editing the string disables") << "abc" << "b" << "" << "FE" << QStringList{"1+1 111", "1+1 000"} << "abc";
    QTest::addRow("replace all") << "abcabcabc" << "abc" << "x" << "FA" << QStringList{"0+3 111", "3+0 100" + done} << "xxx";
    QTest::addRow("replace all restarts inside the first replacement")
        << "a a" << "a" << "ba" << "FA" << QStringList{"0+1 111", "6+0 100" + done} << "bba ba";
    QTest::addRow("replace selects the inner match") << "a" << "a" << "ba" << "FR" << QStringList{"0+1 111", "1+1 111"} << "ba";
    QTest::addRow("replace until none is left")
        << "aXa" << "a" << "b" << "FRR" << QStringList{"0+1 111", "2+1 111", "3+0 100" + nf.arg("a")} << "bXb";
    QTest::addRow("find next after replacements starts at the top")
        << "aXa" << "a" << "b" << "FRRN" << QStringList{"0+1 111", "2+1 111", "3+0 100" + nf.arg("a"), "3+0 000" + nf.arg("a")} << "bXb";
    QTest::addRow("empty string: replace all ends")
        << "abc" << "" << "z" << "FA" << QStringList{"0+0 111", "1+0 100" + done} << "zabc";
    QTest::addRow("replacement holding the string")
        << "aa" << "a" << "aa" << "FA" << QStringList{"0+1 111", "5+0 100" + done} << "aaaaa";
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
    w.Text1->setText(text);
    w.Text1->setSelStart(text.size());
    Find *d = openFind(w);
    d->txtFind->setText(what);
    d->Text2->setText(with);
    QStringList got;
    for (QChar step : steps) {
        const qsizetype before = h.dialogs.calls.size();
        switch (step.unicode()) {
        case 'F': d->FindButton->click(); break;
        case 'N': d->FindNextButton->click(); break;
        case 'R': d->ReplaceButton->click(); break;
        case 'A': d->ReplaceAllButton->click(); break;
        case 'E': d->txtFind->insert(QStringLiteral("!")); break;
        case 'C': d->chkCase->toggle(); break;
        }
        QString line = QStringLiteral("%1+%2 %3").arg(w.Text1->SelStart()).arg(w.Text1->SelLength()).arg(states(d));
        for (qsizetype i = before; i < h.dialogs.calls.size(); ++i) {
            const auto &c = h.dialogs.calls[i];
            QCOMPARE(c.title, AppTitle);
            QCOMPARE(c.style, int(MsgBoxStyle::OKOnly));
            line += u' ' + c.prompt;
        }
        got << line;
    }
    QCOMPARE(got, trace);
    QCOMPARE(w.Text1->Text(), result);
}

void TestFind::replaceAllIsOneUndoStep()
{
    Harness h;
    frmMain &w = h.start();
    const QString text = QStringLiteral("東京 tokyo\r\nTOKYO\nとうきょう Tokyo\r\n");
    w.Text1->setText(text);
    Find *d = openFind(w);
    d->txtFind->setText(QStringLiteral("tokyo"));
    d->Text2->setText(QStringLiteral("東京"));
    d->FindButton->click();
    d->ReplaceAllButton->click();
    QCOMPARE(w.Text1->Text(), QStringLiteral("東京 東京\r\n東京\nとうきょう 東京\r\n"));
    QCOMPARE(d->foundPos, 0);
    w.Text1->undo();
    QCOMPARE(w.Text1->Text(), text);
}

void TestFind::replaceAllMatchesTheLoopInATextBox()
{
    // The dialog computes replace-all in one pass; here the loop runs literally in a text box,
    // selecting each match and typing the replacement over it.
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
        const bool matchCase = rng.bounded(2);
        // The box decides how a selection that would split a break is held; both boxes agree.
        loop.select(selStart, rng.bounded(text.size() - selStart + 1));
        w.Text1->setText(text);
        w.Text1->select(loop.SelStart(), loop.SelLength());

        const auto cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
        loop.setSelText(with);
        for (qsizetype pos = Search::find(loop.Text(), what, foundPos + 1, cs); pos >= 1;
             pos = Search::find(loop.Text(), what, loop.SelStart() + 1, cs)) {
            loop.select(pos - 1, what.size());
            loop.setSelText(with);
        }

        d->chkCase->setChecked(matchCase);
        d->txtFind->setText(what);
        d->Text2->setText(with);
        d->foundPos = foundPos;
        d->ReplaceAllButton_Click(); // the button is disabled after the first round
        if (w.Text1->Text() != loop.Text() || w.Text1->SelStart() != loop.SelStart())
            qWarning() << text << what << with << foundPos << selStart << matchCase;
        QCOMPARE(w.Text1->Text(), loop.Text());
        QCOMPARE(w.Text1->SelStart(), loop.SelStart());
    }
}

void TestFind::positionsBeyondSixteenBits()
{
    Harness h;
    frmMain &w = h.start();
    QString text;
    for (int i = 0; i < 4000; ++i)
        text += QStringLiteral("line %1\r\n").arg(i, 4, 10, QLatin1Char('0'));
    text += QStringLiteral("Needle needle");
    w.Text1->setText(text);
    Find *d = openFind(w);
    d->txtFind->setText(QStringLiteral("needle"));
    d->Text2->setText(QStringLiteral("pin"));
    d->FindButton->click();
    QCOMPARE(d->foundPos, 44001);
    QCOMPARE(w.Text1->SelStart(), 44000);
    QCOMPARE(w.Text1->SelText(), QStringLiteral("Needle"));
    d->FindNextButton->click();
    QCOMPARE(w.Text1->SelStart(), 44007);
    d->ReplaceButton->click();
    QCOMPARE(w.Text1->Text(), text.left(44007) + QStringLiteral("pin"));
    QCOMPARE(states(d), QStringLiteral("100"));
}

QTEST_MAIN(TestFind)
#include "tst_find.moc"
