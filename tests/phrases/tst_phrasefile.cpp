// The phrase file's layout and its tolerant reader, and the date dialog's eighteen lines.
#include "phrases/datelines.h"
#include "phrases/phrasefile.h"
#include "sheets/textcodec.h"
#include "testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPhraseFile : public QObject {
    Q_OBJECT
private slots:
    // Thirty places, each an entry or an empty line, then its marker; read, and saved back in
    // the same bytes, second CP932 codes and all. (A longer list: tst_datedialog.)
    void layout()
    {
        // The first entry's bytes as the file holds them; null: the converter's codes.
        for (const auto &[entries, first] : {std::pair{QStringList{"123", " abc ", "あいう"}, QByteArray()},
                                             std::pair{QStringList{u"\u2235\u7E8A"_s}, QByteArray("\x87\x9A\xED\x40")}}) {
            QString layout;
            for (int k = 0; k < 30; ++k)
                layout += entries.value(k) + QStringLiteral("\r\n[%1]\r\n").arg(k);
            const QByteArray bytes = first.isNull() ? TextCodec::encode(layout, TextCodec::Encoding::Cp932)
                                                    : first + TextCodec::encode(layout.mid(entries[0].size()), TextCodec::Encoding::Cp932);
            QTemporaryDir dir;
            const QString path = dir.filePath(PhraseFile::FileName);
            QVERIFY(putFile(path, bytes));
            const PhraseFile::LoadResult loaded = PhraseFile::load(path);
            QCOMPARE(loaded.entries, entries);
            QVERIFY(QFile::remove(path)); // saved as a new file
            QVERIFY(PhraseFile::save(path, loaded.entries, loaded.variants).ok);
            QCOMPARE(fileBytes(path), bytes);
        }
    }

    // Markers out of order or misspelt are entries; an entry equal to its marker makes the real
    // marker the entry; a lone LF stays inside an entry.
    void tolerantReader()
    {
        QCOMPARE(PhraseFile::parse(u"a\r\n[1]\r\n[0]\r\n[ 1]\r\n[1] \r\nb"_s), (QStringList{"a", "[1]", "[ 1]", "[1] ", "b"}));
        QCOMPARE(PhraseFile::parse(u"x\r\n[0]\r\n[1]\r\n[1]\r\n[2]"_s), (QStringList{"x", "[1]"}));
        QCOMPARE(PhraseFile::parse(u"a\nb\r\n[0]"_s), QStringList{"a\nb"});
    }

    // The eighteen lines; each era's first day is its year 1, the day before the era before's.
    void dateLines()
    {
        const struct { QDate firstDay; const char16_t *shown, *dayBefore; } eras[] = {
            {QDate(1868, 1, 1), u"明治1年 1月", u"1867年 12月"},    {QDate(1912, 7, 30), u"大正1年 7月", u"明治45年 7月"},
            {QDate(1926, 12, 25), u"昭和1年 12月", u"大正15年 12月"}, {QDate(1989, 1, 8), u"平成1年 1月", u"昭和64年 1月"},
            {QDate(2019, 5, 1), u"令和1年 5月", u"平成31年 4月"}};
        for (const auto &era : eras)
            QCOMPARE(DateLines::format(u"ggge年 m月", era.firstDay) + u'|' + DateLines::format(u"ggge年 m月", era.firstDay.addDays(-1)),
                     QString::fromUtf16(era.shown) + u'|' + QString::fromUtf16(era.dayBefore));
        QCOMPARE(DateLines::all(QDateTime(QDate(1998, 10, 21), QTime(16, 5, 9))),
                 (QStringList{"1998/10/21", "1998年10月21日", "平成10年 10月21日 水曜日", "平成10年 10月21日", "1998年10月",
                              "1998/10/21", "981021", "04:05 午後", "16:05:09", "16:05", "平成10年 10月",
                              "1998年 10月21日 水曜日", "10/21/98", "10/21/1998", "1998-10-21", "10. 21. 98",
                              "10/21/98 16:05", "10/21/98 16:05:09"}));
        // Single digits, midnight, Sunday.
        QCOMPARE(DateLines::all(QDateTime(QDate(2006, 1, 1), QTime(0, 0, 0))),
                 (QStringList{"2006/01/01", "2006年1月1日", "平成18年 1月1日 日曜日", "平成18年 1月1日", "2006年1月", "2006/1/1",
                              "060101", "12:00 午前", "0:00:00", "00:00", "平成18年 1月", "2006年 1月1日 日曜日", "1/1/06",
                              "1/1/2006", "2006-01-01", "1. 1. 06", "1/1/06 00:00", "1/1/06 0:00:00"}));
        // Noon is afternoon on the 12-hour clock.
        QCOMPARE(DateLines::all(QDateTime(QDate(2020, 2, 2), QTime(12, 0))).at(7), QStringLiteral("12:00 午後"));
    }
};

QTEST_APPLESS_MAIN(TestPhraseFile)
#include "tst_phrasefile.moc"
