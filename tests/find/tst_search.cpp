// The search primitive on text as the sheet text box holds it. Replace-all is checked against
// the match-by-match loop in tst_finddialog, through the dialog and a real text box.
#include "find/search.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestSearch : public QObject {
    Q_OBJECT
private slots:
    // Positions count from 1, 0 for none. A CR LF pair is never split; Japanese and full-width letters as any other.
    void findPositions()
    {
        const auto find = [](const QString &text, const QString &what, int start, Qt::CaseSensitivity cs) {
            return int(Search::find(text, what, start, cs));
        };
        QCOMPARE(find(u"abc"_s, QString(), 4, Qt::CaseInsensitive), 0); // an empty string past the end
        QCOMPARE(find(u"a\r\nb\nc"_s, u"\n"_s, 1, Qt::CaseSensitive), 5);
        QCOMPARE(find(u"a\r\nb"_s, u"a\r"_s, 1, Qt::CaseSensitive), 0);
        QCOMPARE(find(u"検検索検索語"_s, u"検索語"_s, 1, Qt::CaseInsensitive), 4); // its first character repeated
        QCOMPARE(find(u"あいうえ"_s, u"うえ"_s, 2, Qt::CaseSensitive), 3); // at the very end
        QCOMPARE(find(u"xａｂ"_s, u"ＡＢ"_s, 1, Qt::CaseInsensitive), 2); // full-width letters ignore case
        // Positions beyond 32767: tst_finddialog's session.
    }

    // The stretch that differs between two texts, on long texts too (compared block by block):
    // before and after share a prefix and a suffix around the differing middles.
    void changedRange_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("oldMiddle");
        QTest::addColumn<QString>("newMiddle");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<int>("start");      // where the reported change starts, from the prefix's end
        QTest::addColumn<int>("widenedEnd"); // how many characters of the suffix it takes in
        const QString x(5000, u'x');
        QTest::addRow("short texts") << "ab" << "c" << "C" << "de" << 0 << 0;
        QTest::addRow("a change far into long texts") << x << "a" << "bb" << x << 0 << 0;
        QTest::addRow("a change at a block's first character") << QString(2048, u'x') << "a" << "b" << x << 0 << 0;
        QTest::addRow("an insertion into a run, reported at its end") << x << "" << "x" << x << 5000 << 5000;
        QTest::addRow("a deletion near the end") << x << "gone" << "" << "z" << 0 << 0;
        QTest::addRow("never between CR and LF") << x << "A\r" << "B" << "\n" + x << 0 << 1;
        QTest::addRow("never inside a surrogate pair")
            << x + QChar(0xD83D) << QString(QChar(0xDE00)) << QString(QChar(0xDE01)) << x << -1 << 0;
        QTest::addRow("nor before the low half of one") << x << QString(QChar(0xD83D)) << QString(QChar(0xD83E))
                                                 << QChar(0xDE00) + x << 0 << 1;
        QTest::addRow("nor after one, at the end")
            << x << QStringLiteral("a") << QStringLiteral("b\U0001F600") << QStringLiteral("\U0001F600") + x << 0 << 0;
    }
    void changedRange()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, oldMiddle);
        QFETCH(QString, newMiddle);
        QFETCH(QString, suffix);
        QFETCH(int, start);
        QFETCH(int, widenedEnd);
        const QString before = prefix + oldMiddle + suffix, after = prefix + newMiddle + suffix;
        const Search::Change c = Search::changedRange(before, after);
        QCOMPARE(c.start, prefix.size() + start);
        // Replacing the reported stretch gives the new text.
        QCOMPARE(QString(before).replace(c.start, c.oldLength, after.mid(c.start, c.newLength)), after);
        QCOMPARE(c.start + c.oldLength, prefix.size() + oldMiddle.size() + widenedEnd);
    }
};

QTEST_APPLESS_MAIN(TestSearch)
#include "tst_search.moc"
