// The phrase file's layout and its tolerant reader, and the date dialog's eighteen lines.
#include "phrases/datelines.h"
#include "phrases/phrasefile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPhraseFile : public QObject {
    Q_OBJECT
private slots:
    void writtenLayout_data();
    void writtenLayout();
    void tolerantReader_data();
    void tolerantReader();
    void roundTripThroughFile();
    void eras_data();
    void eras();
    void eighteenLines_data();
    void eighteenLines();
};

namespace {
QString layout(const QStringList &entries)
{
    QString out;
    for (int k = 0; k < 30; ++k)
        out += (k < entries.size() ? entries[k] : QString()) + QStringLiteral("\r\n[%1]\r\n").arg(k);
    return out;
}
} // namespace

void TestPhraseFile::writtenLayout_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addRow("three entries then empty places") << QStringList{"123", "abc", "あいう"};
    QTest::addRow("empty list: 30 empty lines with markers") << QStringList{};
    QTest::addRow("blanks kept") << QStringList{"  lead", "trail  "};
}

void TestPhraseFile::writtenLayout()
{
    QFETCH(QStringList, entries);
    QTemporaryDir dir;
    const QString path = dir.filePath(PhraseFile::FileName);
    QVERIFY(PhraseFile::save(path, entries).ok);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    // Every line, the last included, ends with CR LF: 60 of them.
    QCOMPARE(bytes.count("\r\n"), 60);
    QVERIFY(bytes.endsWith("[29]\r\n"));
    QCOMPARE(PhraseFile::compose(entries) + QStringLiteral("\r\n"), layout(entries));
    QCOMPARE(PhraseFile::load(path).entries, entries);
}

void TestPhraseFile::tolerantReader_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entries");
    QTest::addRow("full layout") << layout({"a", "b"}) << QStringList{"a", "b"};
    QTest::addRow("CR-only line ends read like CR LF")
        << QStringLiteral("a\r[0]\rb\r[1]\r") << QStringList{"a", "b"};
    QTest::addRow("empty places missing") << QStringLiteral("a\r\n[0]\r\n[1]\r\n[2]\r\nb\r\n[3]") << QStringList{"a", "b"};
    QTest::addRow("markers out of order are entries")
        << QStringLiteral("a\r\n[1]\r\n[0]\r\nb") << QStringList{"a", "[1]", "b"};
    QTest::addRow("entry equal to its marker: the real marker becomes the entry")
        << QStringLiteral("x\r\n[0]\r\ny\r\n[1]\r\nz\r\n[2]\r\nw\r\n[3]\r\n[4]\r\n[4]\r\n[5]")
        << QStringList{"x", "y", "z", "w", "[4]"};
    QTest::addRow("marker case and blanks matter") << QStringLiteral("[ 0]\r\n[0] ") << QStringList{"[ 0]", "[0] "};
    QTest::addRow("lone LF stays inside an entry") << QStringLiteral("a\nb\r\n[0]") << QStringList{"a\nb"};
}

void TestPhraseFile::tolerantReader()
{
    QFETCH(QString, text);
    QFETCH(QStringList, entries);
    QTemporaryDir dir;
    const QString path = dir.filePath(PhraseFile::FileName);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
    f.close();
    QCOMPARE(PhraseFile::load(path).entries, entries);
}

void TestPhraseFile::roundTripThroughFile()
{
    // More than 30 entries load whole; writing keeps the first 30.
    QStringList many;
    for (int i = 0; i < 33; ++i)
        many << QStringLiteral("phrase %1").arg(i, 2, 10, QLatin1Char('0'));
    QTemporaryDir dir;
    const QString path = dir.filePath(PhraseFile::FileName);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(many.join(QStringLiteral("\r\n")).toLatin1());
    f.close();
    QCOMPARE(PhraseFile::load(path).entries, many);
    QVERIFY(PhraseFile::save(path, many).ok);
    QCOMPARE(PhraseFile::load(path).entries, many.mid(0, 30));
    QVERIFY(!PhraseFile::load(dir.filePath(QStringLiteral("missing.dat"))).ok);
}

void TestPhraseFile::eras_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("expected");
    QTest::addRow("day before Meiji") << QDate(1867, 12, 31) << "1867年 12月";
    QTest::addRow("Meiji 1") << QDate(1868, 1, 1) << "明治1年 1月";
    QTest::addRow("last day of Meiji") << QDate(1912, 7, 29) << "明治45年 7月";
    QTest::addRow("Taisho 1") << QDate(1912, 7, 30) << "大正1年 7月";
    QTest::addRow("last day of Taisho") << QDate(1926, 12, 24) << "大正15年 12月";
    QTest::addRow("Showa 1") << QDate(1926, 12, 25) << "昭和1年 12月";
    QTest::addRow("last day of Showa") << QDate(1989, 1, 7) << "昭和64年 1月";
    QTest::addRow("Heisei 1") << QDate(1989, 1, 8) << "平成1年 1月";
    QTest::addRow("Heisei 10") << QDate(1998, 10, 21) << "平成10年 10月";
    QTest::addRow("last day of Heisei") << QDate(2019, 4, 30) << "平成31年 4月";
    QTest::addRow("Reiwa 1") << QDate(2019, 5, 1) << "令和1年 5月";
    QTest::addRow("Reiwa 8") << QDate(2026, 12, 6) << "令和8年 12月";
}

void TestPhraseFile::eras()
{
    QFETCH(QDate, date);
    QFETCH(QString, expected);
    QCOMPARE(DateLines::format(u"ggge年 m月", date), expected);
}

void TestPhraseFile::eighteenLines_data()
{
    QTest::addColumn<QDateTime>("at");
    QTest::addColumn<QStringList>("lines");
    QTest::addRow("Wednesday 21 October 1998, 16:05:09")
        << QDateTime(QDate(1998, 10, 21), QTime(16, 5, 9))
        << QStringList{"1998/10/21", "1998年10月21日", "平成10年 10月21日 水曜日", "平成10年 10月21日", "1998年10月",
                       "1998/10/21", "981021", "04:05 午後", "16:05:09", "16:05", "平成10年 10月",
                       "1998年 10月21日 水曜日", "10/21/98", "10/21/1998", "1998-10-21", "10. 21. 98",
                       "10/21/98 16:05", "10/21/98 16:05:09"};
    QTest::addRow("single digits, midnight, Sunday")
        << QDateTime(QDate(2006, 1, 1), QTime(0, 0, 0))
        << QStringList{"2006/01/01", "2006年1月1日", "平成18年 1月1日 日曜日", "平成18年 1月1日", "2006年1月",
                       "2006/1/1", "060101", "12:00 午前", "0:00:00", "00:00", "平成18年 1月",
                       "2006年 1月1日 日曜日", "1/1/06", "1/1/2006", "2006-01-01", "1. 1. 06",
                       "1/1/06 00:00", "1/1/06 0:00:00"};
}

void TestPhraseFile::eighteenLines()
{
    QFETCH(QDateTime, at);
    QFETCH(QStringList, lines);
    QCOMPARE(DateLines::all(at), lines);
    // Noon is afternoon on the 12-hour clock.
    QCOMPARE(DateLines::all(QDateTime(QDate(2020, 2, 2), QTime(12, 0))).at(7), QStringLiteral("12:00 午後"));
}

QTEST_APPLESS_MAIN(TestPhraseFile)
#include "tst_phrasefile.moc"
