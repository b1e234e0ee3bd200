// Quoting, character conversion, the caret-position text and the date formats: strings in,
// strings out.
#include "commands/conversions.h"
#include "commands/quoting.h"
#include "commands/statustext.h"
#include "phrases/dateformats.h"

#include <QDateTime>
#include <QTest>

class TestEditLogic : public QObject {
    Q_OBJECT
private slots:
    void quoting_data();
    void quoting();
    void quotingIsLinear();
    void clipboardLineBreaks_data();
    void clipboardLineBreaks();
    void widthPairs_data();
    void widthPairs();
    void oneWay_data();
    void oneWay();
    void kanaPairs_data();
    void kanaPairs();
    void caseConversions_data();
    void caseConversions();
    void capitalise_data();
    void capitalise();
    void caretPosition_data();
    void caretPosition();
    void japaneseDateFormats_data();
    void japaneseDateFormats();
};

void TestEditLogic::quoting_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<QString>("expected");
    const QString gt = QStringLiteral(">");
    QTest::addRow("no line break") << "abc" << gt << ">abc";
    QTest::addRow("two lines") << "a\r\nb" << gt << ">a\r\n>b";
    QTest::addRow("final break gives a quoted empty line") << "a\r\nb\r\n" << gt << ">a\r\n>b\r\n>";
    QTest::addRow("empty lines are quoted") << "a\r\n\r\nb" << gt << ">a\r\n>\r\n>b";
    QTest::addRow("lone CR ends a line and becomes CR LF") << "a\rb" << gt << ">a\r\n>b";
    QTest::addRow("lone CR at the end") << "a\r" << gt << ">a\r\n>";
    QTest::addRow("lone LF is part of the line") << "a\nb" << gt << ">a\nb";
    QTest::addRow("CR LF after a lone LF") << "a\n\r\nb" << gt << ">a\n\r\n>b";
    QTest::addRow("two-character mark used as it is") << "x" << "> " << "> x";
    QTest::addRow("empty source is the mark alone") << "" << gt << ">";
    QTest::addRow("only a line break") << "\r\n" << gt << ">\r\n>";
    QTest::addRow("empty mark keeps the text") << "a\r\nb" << "" << "a\r\nb";
    // An empty mark must not swallow leading empty lines (quoting a blank line would delete it).
    QTest::addRow("empty mark keeps leading empty lines") << "\r\n\r\na" << "" << "\r\n\r\na";
    QTest::addRow("empty mark on a selected line break") << "\r\n" << "" << "\r\n";
    QTest::addRow("surrogate pairs and kanji pass") << QStringLiteral("漢字😀") << QStringLiteral("＞") << QStringLiteral("＞漢字😀");
}

void TestEditLogic::quoting()
{
    QFETCH(QString, source);
    QFETCH(QString, mark);
    QFETCH(QString, expected);
    QCOMPARE(Quoting::quote(source, mark), expected);
}

void TestEditLogic::quotingIsLinear()
{
    // Many short lines: a quadratic join would take minutes here.
    QString source;
    for (int i = 0; i < 200000; ++i)
        source += QStringLiteral("line\r\n");
    const QString out = Quoting::quote(source, QStringLiteral("> "));
    QCOMPARE(out.size(), source.size() + 200001 * 2);
    QVERIFY(out.endsWith(QStringLiteral("> line\r\n> ")));
}

void TestEditLogic::clipboardLineBreaks_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("model");
    QTest::addRow("LF") << "a\nb\n" << "a\r\nb\r\n";
    QTest::addRow("leading LF") << "\nb" << "\r\nb";
    QTest::addRow("no break") << "ab" << "ab";
}

void TestEditLogic::clipboardLineBreaks()
{
    QFETCH(QString, clipboard);
    QFETCH(QString, model);
    QCOMPARE(ClipboardText::toModel(clipboard), model);
    QCOMPARE(ClipboardText::fromModel(model), clipboard);
    // CR LF that already arrived as such is not doubled.
    QCOMPARE(ClipboardText::toModel(model), model);
}

void TestEditLogic::widthPairs_data()
{
    QTest::addColumn<QString>("narrow");
    QTest::addColumn<QString>("wide");
    QTest::addRow("ASCII letters") << "abc" << "ａｂｃ";
    QTest::addRow("digits and signs") << "1!~\\" << "１！～＼";
    QTest::addRow("space") << "a b" << "ａ　ｂ";
    QTest::addRow("katakana") << "ｱｲｳｦｰ" << "アイウヲー";
    QTest::addRow("punctuation") << "｡｢｣､･" << "。「」、・";
    QTest::addRow("voiced marks composed") << "ｶﾞｷﾞﾊﾟﾎﾟ" << "ガギパポ";
    QTest::addRow("ｳﾞ is ヴ") << "ｳﾞ" << "ヴ";
    QTest::addRow("ﾜﾞ is ヷ") << "ﾜﾞ" << "ヷ";
    QTest::addRow("lone voiced marks") << "ﾞﾟ" << "゛゜";
    QTest::addRow("yen and other forms") << "¥¢£¬" << "￥￠￡￢";
    QTest::addRow("line breaks untouched") << "a\r\nb\nc" << "ａ\r\nｂ\nｃ";
}

void TestEditLogic::widthPairs()
{
    QFETCH(QString, narrow);
    QFETCH(QString, wide);
    QCOMPARE(Conversions::toWide(narrow), wide);
    QCOMPARE(Conversions::toNarrow(wide), narrow);
}

void TestEditLogic::oneWay_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");
    QTest::addRow("full-width digits narrow") << 1 << "ａｂｃ１" << "abc1";
    QTest::addRow("kanji and hiragana stay narrow") << 1 << "漢字かながカ" << "漢字かながｶ";
    QTest::addRow("katakana without a half-width form stay") << 1 << "ヰヱヵヶヸ" << "ヰヱヵヶヸ";
    QTest::addRow("unvoiceable base keeps a separate mark") << 0 << "ｱﾞ" << "ア゛";
    QTest::addRow("a mark after a full-width katakana stays a mark") << 0 << "カﾞ" << "カ゛";
    QTest::addRow("combining mark narrows") << 1 << QStringLiteral("カ\u3099") << "ｶﾞ";
    QTest::addRow("kanji stay wide") << 0 << "漢字" << "漢字";
    QTest::addRow("hiragana stay under narrow and wide") << 0 << "ひらがな" << "ひらがな";
    QTest::addRow("voiced mark at the very end") << 0 << "ﾊﾟ" << "パ";
    QTest::addRow("surrogate pair passes") << 0 << "😀a" << "😀ａ";
}

void TestEditLogic::oneWay()
{
    QFETCH(int, index);
    QFETCH(QString, source);
    QFETCH(QString, expected);
    QCOMPARE(Conversions::convert(index, source), expected);
}

void TestEditLogic::kanaPairs_data()
{
    QTest::addColumn<QString>("hiragana");
    QTest::addColumn<QString>("katakana");
    QTest::addRow("plain") << "ひらがな" << "ヒラガナ";
    QTest::addRow("small and voiced") << "ぁっゃがぱ" << "ァッャガパ";
    QTest::addRow("vu and small ka ke") << "ゔゕゖ" << "ヴヵヶ";
    QTest::addRow("iteration marks") << "ゝゞ" << "ヽヾ";
    QTest::addRow("others stay") << "ー漢ａ" << "ー漢ａ";
}

void TestEditLogic::kanaPairs()
{
    QFETCH(QString, hiragana);
    QFETCH(QString, katakana);
    QCOMPARE(Conversions::toKatakana(hiragana), katakana);
    QCOMPARE(Conversions::toHiragana(katakana), hiragana);
}

void TestEditLogic::caseConversions_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");
    QTest::addRow("ASCII upper") << 6 << "Hello 1!" << "HELLO 1!";
    QTest::addRow("ASCII lower") << 7 << "HeLLo" << "hello";
    QTest::addRow("full-width letters are letters") << 6 << "ａｂ" << "ＡＢ";
    QTest::addRow("one to one: sharp s stays") << 6 << "straße" << "STRAßE";
    QTest::addRow("katakana to hiragana keeps ヷ") << 4 << "ヷカ" << "ヷか";
    QTest::addRow("beyond the BMP") << 7 << "𐐀" << "𐐨";
}

void TestEditLogic::caseConversions()
{
    QFETCH(int, index);
    QFETCH(QString, source);
    QFETCH(QString, expected);
    QCOMPARE(Conversions::convert(index, source), expected);
}

void TestEditLogic::capitalise_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");
    QTest::addRow("two words") << "hello world" << "Hello World";
    QTest::addRow("upper case input") << "HELLO WORLD" << "Hello World";
    QTest::addRow("full-width space starts no word") << "hello　world" << "Hello　world";
    QTest::addRow("CR LF starts a word") << "one\r\ntwo" << "One\r\nTwo";
    QTest::addRow("lone LF starts no word") << "one\ntwo" << "One\ntwo";
    QTest::addRow("two spaces") << "a  b" << "A  B";
    QTest::addRow("trailing space") << "ab " << "Ab ";
    QTest::addRow("trailing CR LF") << "ab\r\n" << "Ab\r\n";
    QTest::addRow("tab, hyphen and punctuation start no word") << "a\tb-c.d" << "A\tb-c.d";
    QTest::addRow("space then CR LF") << "a \r\nb" << "A \r\nB";
    QTest::addRow("leading space") << " ab" << " Ab";
    QTest::addRow("single character") << "x" << "X";
    QTest::addRow("empty") << "" << "";
    QTest::addRow("full-width letters") << "ａｂ ｃｄ" << "Ａｂ Ｃｄ";
}

void TestEditLogic::capitalise()
{
    QFETCH(QString, source);
    QFETCH(QString, expected);
    QCOMPARE(Conversions::capitalise(source), expected);
}

void TestEditLogic::caretPosition_data()
{
    QTest::addColumn<qint64>("line");
    QTest::addColumn<qint64>("column");
    QTest::addColumn<QString>("expected");
    QTest::addRow("start of the text") << qint64(1) << qint64(1) << "   1 :    1";
    QTest::addRow("second line, fourth column") << qint64(2) << qint64(4) << "   2 :    4";
    QTest::addRow("two digits") << qint64(12) << qint64(34) << "  12 :   34";
    QTest::addRow("three digits") << qint64(123) << qint64(456) << " 123 :  456";
    QTest::addRow("four-digit line gets its sign blank") << qint64(1234) << qint64(5) << " 1234 :    5";
    QTest::addRow("four-digit column fills the field") << qint64(7) << qint64(1234) << "   7 : 1234";
    QTest::addRow("five digits shown whole") << qint64(12345) << qint64(67890) << " 12345 : 67890";
}

void TestEditLogic::caretPosition()
{
    QFETCH(qint64, line);
    QFETCH(qint64, column);
    QFETCH(QString, expected);
    QCOMPARE(StatusText::caretPosition(line, column), expected);
}

void TestEditLogic::japaneseDateFormats_data()
{
    QTest::addColumn<QDateTime>("at");
    QTest::addColumn<QString>("stamp");
    QTest::addColumn<QString>("longDate");
    QTest::addColumn<QString>("longTime");
    QTest::addColumn<QString>("mediumTime");
    QTest::addRow("afternoon") << QDateTime(QDate(1998, 10, 5), QTime(17, 45, 9)) << "17:45 1998/10/05"
                               << "1998年10月5日" << "17:45:09" << "05:45 午後";
    QTest::addRow("early morning") << QDateTime(QDate(2001, 1, 2), QTime(9, 5, 0)) << "09:05 2001/01/02"
                                   << "2001年1月2日" << "9:05:00" << "09:05 午前";
    QTest::addRow("midnight") << QDateTime(QDate(2000, 12, 31), QTime(0, 30)) << "00:30 2000/12/31"
                              << "2000年12月31日" << "0:30:00" << "12:30 午前";
    QTest::addRow("noon") << QDateTime(QDate(2024, 2, 29), QTime(12, 0)) << "12:00 2024/02/29"
                          << "2024年2月29日" << "12:00:00" << "12:00 午後";
}

void TestEditLogic::japaneseDateFormats()
{
    QFETCH(QDateTime, at);
    QFETCH(QString, stamp);
    QFETCH(QString, longDate);
    QFETCH(QString, longTime);
    QFETCH(QString, mediumTime);
    const DateFormats::Formats ja = DateFormats::japaneseDefaults();
    QCOMPARE(DateFormats::stamp(at, ja), stamp);
    QCOMPARE(DateFormats::longDate(at.date(), ja), longDate);
    QCOMPARE(DateFormats::longTime(at.time(), ja), longTime);
    QCOMPARE(DateFormats::mediumTime(at.time(), ja), mediumTime);
}

QTEST_APPLESS_MAIN(TestEditLogic)
#include "tst_editlogic.moc"
