// The phrase file's layout and its tolerant reader, and the date dialog's eighteen lines.
#include "phrases/datelines.h"
#include "phrases/phrasefile.h"
#include "sheets/textcodec.h"

#include <QDir>
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
    void loadTellsMissingFromUnreadable_data();
    void loadTellsMissingFromUnreadable();
    void canAdd_data();
    void canAdd();
    void eras_data();
    void eras();
    void eighteenLines_data();
    void eighteenLines();
};

namespace {
// Thirty places (more for a longer list), each an entry or an empty line, then its marker; every
// line ends with CR LF.
QString layout(const QStringList &entries)
{
    QString out;
    for (int k = 0; k < qMax(30, int(entries.size())); ++k)
        out += (k < entries.size() ? entries[k] : QString()) + QStringLiteral("\r\n[%1]\r\n").arg(k);
    return out;
}
QStringList numbered(int n)
{
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << QStringLiteral("phrase %1").arg(i, 2, 10, QLatin1Char('0'));
    return out;
}
} // namespace

void TestPhraseFile::writtenLayout_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addRow("three entries then empty places") << QStringList{"123", "abc", "あいう"};
    QTest::addRow("empty list: 30 empty lines with markers") << QStringList{};
    QTest::addRow("blanks kept") << QStringList{"  lead", "trail  "};
    QTest::addRow("40 from a hand-made file: places go on, nothing dropped") << numbered(40);
}

void TestPhraseFile::writtenLayout()
{
    QFETCH(QStringList, entries);
    QTemporaryDir dir;
    const QString path = dir.filePath(PhraseFile::FileName);
    QVERIFY(PhraseFile::save(path, entries).ok);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), TextCodec::encode(layout(entries), TextCodec::Encoding::Cp932));
    QCOMPARE(PhraseFile::load(path).entries, entries);
}

void TestPhraseFile::tolerantReader_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entries");
    QTest::addRow("CR-only line ends read like CR LF") << QStringLiteral("a\r[0]\rb\r[1]\r") << QStringList{"a", "b"};
    QTest::addRow("empty places missing") << QStringLiteral("a\r\n[0]\r\n[1]\r\n[2]\r\nb\r\n[3]") << QStringList{"a", "b"};
    QTest::addRow("markers out of order are entries") << QStringLiteral("a\r\n[1]\r\n[0]\r\nb") << QStringList{"a", "[1]", "b"};
    QTest::addRow("entry equal to its marker: the real marker becomes the entry")
        << QStringLiteral("x\r\n[0]\r\ny\r\n[1]\r\nz\r\n[2]\r\nw\r\n[3]\r\n[4]\r\n[4]\r\n[5]")
        << QStringList{"x", "y", "z", "w", "[4]"};
    QTest::addRow("marker case and blanks matter") << QStringLiteral("[ 0]\r\n[0] ") << QStringList{"[ 0]", "[0] "};
    QTest::addRow("lone LF stays inside an entry") << QStringLiteral("a\nb\r\n[0]") << QStringList{"a\nb"};
    QTest::addRow("more than 30 entries load whole") << numbered(33).join("\r\n") << numbered(33);
}

void TestPhraseFile::tolerantReader()
{
    QFETCH(QString, text);
    QFETCH(QStringList, entries);
    QCOMPARE(PhraseFile::parse(TextFile::joinLines(text)), entries);
}

void TestPhraseFile::loadTellsMissingFromUnreadable_data()
{
    // What is at the path: "" nothing, "dir", "huge" (a sparse file over the size limit), "link"
    // (a link to nothing).
    QTest::addColumn<QString>("what");
    QTest::addColumn<PhraseFile::LoadResult::Status>("status");
    QTest::addRow("nothing: a first start") << "" << PhraseFile::LoadResult::Status::Missing;
    QTest::addRow("a folder") << "dir" << PhraseFile::LoadResult::Status::Unreadable;
    QTest::addRow("over the size limit") << "huge" << PhraseFile::LoadResult::Status::Unreadable;
#ifdef Q_OS_UNIX
    QTest::addRow("a link to nothing") << "link" << PhraseFile::LoadResult::Status::Unreadable;
#endif
}

void TestPhraseFile::loadTellsMissingFromUnreadable()
{
    QFETCH(QString, what);
    QFETCH(PhraseFile::LoadResult::Status, status);
    QTemporaryDir dir;
    const QString path = dir.filePath(PhraseFile::FileName);
    if (what == "dir") {
        QVERIFY(QDir().mkdir(path));
    } else if (what == "huge") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(layout({"a"}).toLatin1()) > 0);
        QVERIFY(f.resize(TextFile::MaxFileBytes + 1));
    } else if (what == "link") {
        QVERIFY(QFile::link(dir.filePath("gone"), path));
    }
    const PhraseFile::LoadResult r = PhraseFile::load(path);
    QCOMPARE(r.status, status);
    QVERIFY(r.entries.isEmpty());
    QCOMPARE(r.error.isEmpty(), status != PhraseFile::LoadResult::Status::Unreadable);
}

void TestPhraseFile::canAdd_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<bool>("fits");
    QTest::addRow("29: the last place is free") << 29 << true;
    QTest::addRow("30: full") << 30 << false;
    QTest::addRow("40 from a hand-made file: full") << 40 << false;
}

void TestPhraseFile::canAdd()
{
    QFETCH(int, entries);
    QFETCH(bool, fits);
    QCOMPARE(PhraseFile::canAdd(numbered(entries)), fits);
}

void TestPhraseFile::eras_data()
{
    // Each era's first day is its year 1; the day before belongs to the era before.
    QTest::addColumn<QDate>("firstDay");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("dayBefore");
    QTest::addRow("Meiji") << QDate(1868, 1, 1) << "明治1年 1月" << "1867年 12月";
    QTest::addRow("Taisho") << QDate(1912, 7, 30) << "大正1年 7月" << "明治45年 7月";
    QTest::addRow("Showa") << QDate(1926, 12, 25) << "昭和1年 12月" << "大正15年 12月";
    QTest::addRow("Heisei") << QDate(1989, 1, 8) << "平成1年 1月" << "昭和64年 1月";
    QTest::addRow("Reiwa") << QDate(2019, 5, 1) << "令和1年 5月" << "平成31年 4月";
}

void TestPhraseFile::eras()
{
    QFETCH(QDate, firstDay);
    QFETCH(QString, expected);
    QFETCH(QString, dayBefore);
    QCOMPARE(DateLines::format(u"ggge年 m月", firstDay), expected);
    QCOMPARE(DateLines::format(u"ggge年 m月", firstDay.addDays(-1)), dayBefore);
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
