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
    void replaceAllMatchesLoop();
};

void TestSearch::findPositions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<int>("found");
    QTest::addRow("start beyond the end") << "abc" << "c" << 4 << true << 0;
    QTest::addRow("empty string at the start") << "abc" << "" << 2 << false << 2;
    QTest::addRow("empty string past the end") << "abc" << "" << 4 << false << 0;
    QTest::addRow("LF never splits a break") << "a\r\nb\nc" << "\n" << 1 << true << 5;
    QTest::addRow("CR never splits a break") << "a\r\nb" << "a\r" << 1 << true << 0;
    QTest::addRow("line start after a break") << "a\r\nb" << "\r\nb" << 1 << true << 2;
    QTest::addRow("full-width letters fold") << QStringLiteral("ｘＡＢＣ") << QStringLiteral("ａｂｃ") << 1 << false << 2;
    QTest::addRow("katakana and hiragana differ") << QStringLiteral("カナ") << QStringLiteral("かな") << 1 << false << 0;
    QTest::addRow("beyond 32767") << QString(40000, u'x') + "ab" + QString(30000, u'y') + "AB" << "ab" << 40002 << false << 70003;
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

namespace {

// Replace all as the dialog's loop does it: replace the selection, then select each match found
// and type the replacement over it, searching afresh after the inserted text. The box turns a
// lone CR into a line break as it takes the text in.
Search::ReplaceAllResult loopReplaceAll(QString t, qsizetype selStart, qsizetype selLength, qsizetype foundPos, const QString &what,
                       const QString &with, Qt::CaseSensitivity cs)
{
    const QString typed = QString(with).replace(QLatin1String("\r\n"), QLatin1String("\r")).replace(QLatin1String("\r"), QLatin1String("\r\n"));
    t.replace(selStart, selLength, typed);
    qsizetype caret = selStart + typed.size();
    if (what.isEmpty())
        return {t, caret, 0};
    for (qsizetype pos = find(t, what, foundPos + 1, cs); pos >= 1; pos = find(t, what, pos + typed.size(), cs)) {
        t.replace(pos - 1, what.size(), typed);
        caret = pos - 1 + typed.size();
    }
    return {t, caret, 0};
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

        const auto want = loopReplaceAll(text, selStart, selEnd - selStart, foundPos, what, with, cs);
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

QTEST_APPLESS_MAIN(TestSearch)
#include "tst_search.moc"
