// The search primitive and the one-pass replace-all, which must give exactly what replacing
// match by match in the text box gives.
#include "find/search.h"

#include <QRandomGenerator>
#include <QTest>

using Search::find;

class TestSearch : public QObject {
    Q_OBJECT
private slots:
    void findPositions_data();
    void findPositions();
    void replaceAllExamples_data();
    void replaceAllExamples();
    void replaceAllMatchesLoop();
    void replaceAllFarIntoALongText();
    void changedRangeKeepsBreaksWhole_data();
    void changedRangeKeepsBreaksWhole();
};

void TestSearch::findPositions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<int>("found");
    QTest::addRow("case ignored") << "xABCx" << "abc" << 1 << false << 2;
    QTest::addRow("case matched: none") << "xABCx" << "abc" << 1 << true << 0;
    QTest::addRow("overlapping: next start") << "aaa" << "aa" << 2 << true << 2;
    QTest::addRow("overlapping: exhausted") << "aaa" << "aa" << 3 << true << 0;
    QTest::addRow("start beyond the end") << "abc" << "c" << 4 << true << 0;
    QTest::addRow("empty text") << "" << "a" << 1 << false << 0;
    QTest::addRow("empty string at the start") << "abc" << "" << 2 << false << 2;
    QTest::addRow("empty string past the end") << "abc" << "" << 4 << false << 0;
    QTest::addRow("across a line break") << "ab\r\ncd" << "b\r\nc" << 1 << true << 2;
    QTest::addRow("break counts two") << "a\r\nb" << "b" << 1 << true << 4;
    QTest::addRow("LF never splits a break") << "a\r\nb\nc" << "\n" << 1 << true << 5;
    QTest::addRow("CR never splits a break") << "a\r\nb" << "a\r" << 1 << true << 0;
    QTest::addRow("line start after a break") << "a\r\nb" << "\r\nb" << 1 << true << 2;
    QTest::addRow("full-width letters fold") << QStringLiteral("ｘＡＢＣ") << QStringLiteral("ａｂｃ") << 1 << false << 2;
    QTest::addRow("full and half width differ") << QStringLiteral("ＡＢＣ") << "abc" << 1 << false << 0;
    QTest::addRow("katakana and hiragana differ") << QStringLiteral("カナ") << QStringLiteral("かな") << 1 << false << 0;
    QTest::addRow("accented letters fold") << QStringLiteral("xÄÖ") << QStringLiteral("äö") << 1 << false << 2;
}

void TestSearch::findPositions()
{
    QFETCH(QString, text);
    QFETCH(QString, what);
    QFETCH(int, start);
    QFETCH(bool, matchCase);
    QFETCH(int, found);
    QCOMPARE(find(text, what, start, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive), qsizetype(found));
}

void TestSearch::replaceAllExamples_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<int>("foundPos");
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("with");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("caret");
    // The worked examples run through the dialog in tst_find; these are the awkward ones.
    QTest::addRow("case ignored") << "aXbxc" << 1 << 1 << 2 << "x" << "-" << "a-b-c" << 4;
    QTest::addRow("matches before foundPos stay") << "a1a2a" << 2 << 1 << 3 << "a" << "b" << "a1b2b" << 5;
    QTest::addRow("empty string: selection only") << "abc" << 1 << 1 << 2 << "" << "xy" << "axyc" << 3;
    QTest::addRow("empty string, nothing selected") << "abc" << 0 << 0 << 0 << "" << "" << "abc" << 0;
    QTest::addRow("replacement holds a lone CR") << "a\r\nb" << 0 << 1 << 1 << "b" << "c\rd" << "c\r\nd\r\nc\r\nd" << 10;
    QTest::addRow("deleting a line break") << "a\r\nb\r\nc" << 1 << 2 << 2 << "\r\n" << "" << "abc" << 2;
}

void TestSearch::replaceAllExamples()
{
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(int, foundPos);
    QFETCH(QString, what);
    QFETCH(QString, with);
    QFETCH(QString, result);
    QFETCH(int, caret);
    const auto r = Search::replaceAll(text, selStart, selLength, foundPos, what, with, Qt::CaseInsensitive);
    QCOMPARE(r.text, result);
    QCOMPARE(r.caret, qsizetype(caret));
}

namespace {

struct Outcome {
    QString text;
    qsizetype caret;
};

// Replace all as the dialog's loop does it: replace the selection, then select each match found
// and type the replacement over it, searching afresh after the inserted text. The box turns a
// lone CR into a line break as it takes the text in.
Outcome loopReplaceAll(QString t, qsizetype selStart, qsizetype selLength, qsizetype foundPos, const QString &what,
                       const QString &with, Qt::CaseSensitivity cs)
{
    const QString typed = QString(with).replace(QLatin1String("\r\n"), QLatin1String("\r")).replace(QLatin1String("\r"), QLatin1String("\r\n"));
    t.replace(selStart, selLength, typed);
    qsizetype caret = selStart + typed.size();
    if (what.isEmpty())
        return {t, caret};
    for (qsizetype pos = find(t, what, foundPos + 1, cs); pos >= 1; pos = find(t, what, pos + typed.size(), cs)) {
        t.replace(pos - 1, what.size(), typed);
        caret = pos - 1 + typed.size();
    }
    return {t, caret};
}

QString pick(QRandomGenerator &rng, const QStringList &pieces, int min, int max)
{
    QString s;
    for (int n = int(rng.bounded(min, max + 1)); n > 0; --n)
        s += pieces[rng.bounded(pieces.size())];
    return s;
}

// A position of the box: never between the CR and the LF of a line break.
qsizetype boxPosition(QRandomGenerator &rng, const QString &t, qsizetype from)
{
    qsizetype p = from + rng.bounded(t.size() - from + 1);
    if (p > 0 && p < t.size() && t[p - 1] == u'\r')
        --p;
    return p;
}

} // namespace

void TestSearch::replaceAllMatchesLoop()
{
    // Text as the box holds it; search and replacement strings as a user could paste them.
    const QStringList textPieces = {"a", "a", "a", "b", "A", "B", "\r\n", "\n", " ", QStringLiteral("あ"), QStringLiteral("Ä")};
    const QStringList stringPieces = {"a", "b", "A", "\r\n", "\n", "\r", QStringLiteral("あ"), QStringLiteral("ä")};
    QRandomGenerator rng(20261206);
    int replacedSomething = 0;
    for (int round = 0; round < 5000; ++round) {
        const QString text = pick(rng, textPieces, 0, 14);
        const QString what = pick(rng, stringPieces, rng.bounded(8) == 0 ? 0 : 1, 2);
        QString with = pick(rng, stringPieces, 0, 3);
        if (rng.bounded(4) == 0)
            with = rng.bounded(2) ? with + what : what + with; // replacement holds the search string
        const qsizetype selStart = boxPosition(rng, text, 0);
        const qsizetype selEnd = boxPosition(rng, text, selStart);
        const qsizetype foundPos = rng.bounded(text.size() + 2);
        const auto cs = rng.bounded(2) ? Qt::CaseSensitive : Qt::CaseInsensitive;

        const Outcome want = loopReplaceAll(text, selStart, selEnd - selStart, foundPos, what, with, cs);
        const auto got = Search::replaceAll(text, selStart, selEnd - selStart, foundPos, what, with, cs);
        if (got.text != want.text || got.caret != want.caret) {
            qWarning() << "text" << text << "sel" << selStart << selEnd << "foundPos" << foundPos << "what" << what
                       << "with" << with << cs;
            QCOMPARE(got.text, want.text);
            QCOMPARE(got.caret, want.caret);
        }
        replacedSomething += got.count > 0;
    }
    // The random cases must really exercise the loop, not only the selection's replacement.
    QVERIFY2(replacedSomething > 1000, qPrintable(QString::number(replacedSomething)));
}

void TestSearch::replaceAllFarIntoALongText()
{
    // Positions well past 32767 in both the matches and foundPos.
    const QString text = QString(40000, u'x') + QStringLiteral("ab") + QString(30000, u'y') + QStringLiteral("AB");
    QCOMPARE(find(text, QStringLiteral("ab"), 1, Qt::CaseInsensitive), qsizetype(40001));
    QCOMPARE(find(text, QStringLiteral("ab"), 40002, Qt::CaseInsensitive), qsizetype(70003));
    const auto r = Search::replaceAll(text, 40000, 2, 40001, QStringLiteral("ab"), QStringLiteral("c"), Qt::CaseInsensitive);
    QCOMPARE(r.text, QString(40000, u'x') + u'c' + QString(30000, u'y') + u'c');
    QCOMPARE(r.caret, qsizetype(70002));
}

void TestSearch::changedRangeKeepsBreaksWhole_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("oldLength");
    QTest::addColumn<int>("newLength");
    QTest::addRow("one letter") << "abc" << "axc" << 1 << 1 << 1;
    QTest::addRow("unchanged") << "abc" << "abc" << 3 << 0 << 0;
    QTest::addRow("from empty") << "" << "ab" << 0 << 0 << 2;
    QTest::addRow("repeated letters") << "aaa" << "aa" << 2 << 1 << 0;
    QTest::addRow("break becomes a lone LF") << "x\r\ny" << "x\ny" << 1 << 2 << 1;
    QTest::addRow("lone LF becomes a break") << "x\ny" << "x\r\ny" << 1 << 1 << 2;
    QTest::addRow("break grows a line") << "a\r\nb" << "a\r\n\r\nb" << 3 << 0 << 2;
}

void TestSearch::changedRangeKeepsBreaksWhole()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(int, start);
    QFETCH(int, oldLength);
    QFETCH(int, newLength);
    const Search::Change c = Search::changedRange(before, after);
    QCOMPARE(c.start, qsizetype(start));
    QCOMPARE(c.oldLength, qsizetype(oldLength));
    QCOMPARE(c.newLength, qsizetype(newLength));
    QCOMPARE(QString(before).replace(c.start, c.oldLength, after.mid(c.start, c.newLength)), after);
}

QTEST_APPLESS_MAIN(TestSearch)
#include "tst_search.moc"
