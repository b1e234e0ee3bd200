// The search primitive on text as the sheet text box holds it. Replace-all is checked against
// the match-by-match loop in tst_find, through the dialog and a real text box.
#include "find/search.h"

#include <QTest>

class TestSearch : public QObject {
    Q_OBJECT
private slots:
    void findPositions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<int>("found");
        QTest::addRow("empty string past the end") << "abc" << "" << 4 << false << 0;
        QTest::addRow("LF never splits a break") << "a\r\nb\nc" << "\n" << 1 << true << 5;
        QTest::addRow("CR never splits a break") << "a\r\nb" << "a\r" << 1 << true << 0;
        QTest::addRow("a match before the start, beyond 32767")
            << QString(40000, u'x') + "ab" + QString(30000, u'y') + "AB" << "ab" << 40002 << false << 70003;
    }
    void findPositions()
    {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(int, start);
        QFETCH(bool, matchCase);
        QFETCH(int, found);
        QCOMPARE(Search::find(text, what, start, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive), qsizetype(found));
    }
};

QTEST_APPLESS_MAIN(TestSearch)
#include "tst_search.moc"
