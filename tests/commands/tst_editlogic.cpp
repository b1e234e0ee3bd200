// Quoting, character conversion and the caret-position text: strings in, strings out. The date
// formats are checked with the date lines and through the stamp on the window.
#include "commands/clipboardtext.h"
#include "commands/commandstates.h"
#include "commands/conversions.h"
#include "commands/quoting.h"
#include "commands/statustext.h"

#include <QTest>

Q_DECLARE_METATYPE(CommandStates::Situation)

namespace {
// Items of the conversion menu; OneWay marks a row with no inverse to check.
constexpr int Wide = 0, Narrow = 1, Katakana = 3, Hiragana = 4, Upper = 6, Lower = 7, Capitalise = 9, OneWay = -1;
}

class TestEditLogic : public QObject {
    Q_OBJECT
private slots:
    void quoting_data();
    void quoting();
    void quotingIsLinear();
    void clipboardLineBreaks_data();
    void clipboardLineBreaks();
    void conversions_data();
    void conversions();
    void caretPosition_data();
    void caretPosition();
    void commandStates_data();
    void commandStates();
};

void TestEditLogic::quoting_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<QString>("expected");
    QTest::addRow("no line break") << "abc" << ">" << ">abc";
    QTest::addRow("two lines") << "a\r\nb" << ">" << ">a\r\n>b";
    QTest::addRow("final break gives a quoted empty line") << "a\r\nb\r\n" << ">" << ">a\r\n>b\r\n>";
    QTest::addRow("empty lines are quoted") << "a\r\n\r\nb" << ">" << ">a\r\n>\r\n>b";
    QTest::addRow("lone CR ends a line and becomes CR LF") << "a\rb" << ">" << ">a\r\n>b";
    QTest::addRow("lone CR at the end") << "a\r" << ">" << ">a\r\n>";
    QTest::addRow("lone LF is part of the line") << "a\nb" << ">" << ">a\nb";
    QTest::addRow("two-character mark used as it is") << "x" << "> " << "> x";
    QTest::addRow("empty source is the mark alone") << "" << ">" << ">";
    QTest::addRow("empty mark keeps the text") << "a\r\nb" << "" << "a\r\nb";
    // An empty mark must not swallow leading empty lines (quoting a blank line would delete it).
    QTest::addRow("empty mark keeps leading empty lines") << "\r\n\r\na" << "" << "\r\n\r\na";
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
    const QString source = QStringLiteral("line\r\n").repeated(200000);
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

void TestEditLogic::conversions_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("inverse"); // takes expected back to source
    QTest::addRow("ASCII, digits, signs and space") << Wide << "ab 1!~\\" << "ａｂ　１！～＼" << Narrow;
    QTest::addRow("katakana and punctuation") << Wide << "ｱｲｳｦｰ｡｢｣､･" << "アイウヲー。「」、・" << Narrow;
    QTest::addRow("voiced marks composed") << Wide << "ｶﾞｷﾞﾊﾟﾎﾟ" << "ガギパポ" << Narrow;
    QTest::addRow("ｳﾞ is ヴ, ﾜﾞ is ヷ") << Wide << "ｳﾞﾜﾞ" << "ヴヷ" << Narrow;
    QTest::addRow("lone voiced marks") << Wide << "ﾞﾟ" << "゛゜" << Narrow;
    QTest::addRow("yen and other forms") << Wide << "¥¢£¬" << "￥￠￡￢" << Narrow;
    QTest::addRow("kanji and hiragana stay") << Wide << "漢字ひらがな" << "漢字ひらがな" << Narrow;
    QTest::addRow("surrogate pair passes") << Wide << "😀a" << "😀ａ" << Narrow;
    QTest::addRow("unvoiceable base keeps a separate mark") << Wide << "ｱﾞ" << "ア゛" << OneWay;
    QTest::addRow("a mark after a full-width katakana stays a mark") << Wide << "カﾞ" << "カ゛" << OneWay;
    QTest::addRow("katakana without a half-width form stay") << Narrow << "ヰヱヵヶヸ" << "ヰヱヵヶヸ" << Wide;
    QTest::addRow("combining mark narrows") << Narrow << QStringLiteral("カ\u3099") << "ｶﾞ" << OneWay;

    QTest::addRow("plain, small and voiced kana") << Katakana << "ひらがなぁっゃぱ" << "ヒラガナァッャパ" << Hiragana;
    QTest::addRow("vu and small ka ke") << Katakana << "ゔゕゖ" << "ヴヵヶ" << Hiragana;
    QTest::addRow("iteration marks") << Katakana << "ゝゞ" << "ヽヾ" << Hiragana;
    QTest::addRow("others stay") << Katakana << "ー漢ａ" << "ー漢ａ" << Hiragana;
    QTest::addRow("ヷ has no hiragana form") << Hiragana << "ヷカ" << "ヷか" << OneWay;

    QTest::addRow("ASCII case") << Upper << "hello 1!" << "HELLO 1!" << Lower;
    QTest::addRow("full-width letters are letters") << Upper << "ａｂ" << "ＡＢ" << Lower;
    QTest::addRow("one to one: sharp s stays") << Upper << "straße" << "STRAßE" << Lower;
    QTest::addRow("beyond the BMP") << Lower << "𐐀" << "𐐨" << Upper;

    QTest::addRow("capitalise two words") << Capitalise << "hello world" << "Hello World" << OneWay;
    QTest::addRow("capitalise upper case") << Capitalise << "HELLO WORLD" << "Hello World" << OneWay;
    QTest::addRow("full-width space starts no word") << Capitalise << "hello　world" << "Hello　world" << OneWay;
    QTest::addRow("CR LF starts a word") << Capitalise << "one\r\ntwo" << "One\r\nTwo" << OneWay;
    QTest::addRow("lone LF starts no word") << Capitalise << "one\ntwo" << "One\ntwo" << OneWay;
    QTest::addRow("tab, hyphen and punctuation start no word") << Capitalise << "a\tb-c.d" << "A\tb-c.d" << OneWay;
    QTest::addRow("two spaces") << Capitalise << "a  b" << "A  B" << OneWay;
    QTest::addRow("trailing space") << Capitalise << "ab " << "Ab " << OneWay;
    QTest::addRow("trailing CR LF") << Capitalise << "ab\r\n" << "Ab\r\n" << OneWay;
    QTest::addRow("capitalise nothing") << Capitalise << "" << "" << OneWay;
}

void TestEditLogic::conversions()
{
    QFETCH(int, index);
    QFETCH(QString, source);
    QFETCH(QString, expected);
    QFETCH(int, inverse);
    QCOMPARE(Conversions::convert(index, source), expected);
    if (inverse != OneWay)
        QCOMPARE(Conversions::convert(inverse, expected), source);
}

void TestEditLogic::caretPosition_data()
{
    QTest::addColumn<qint64>("line");
    QTest::addColumn<qint64>("column");
    QTest::addColumn<QString>("expected");
    QTest::addRow("one digit") << qint64(1) << qint64(1) << "   1 :    1";
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

// Which commands a situation enables, as a string of 0/1 in the order: undo, cut/copy/delete
// and both quote commands, paste and quoted paste, select all and find, convert, Ctrl+S, save
// the selection.
void TestEditLogic::commandStates_data()
{
    using S = CommandStates::Situation;
    QTest::addColumn<S>("situation");
    QTest::addColumn<QString>("enabled");
    QTest::addRow("empty box, nothing anywhere") << S{} << "0000000";
    QTest::addRow("selected text") << S{true, false} << "0101101";
    QTest::addRow("clipboard text alone enables pasting") << S{false, true, true} << "0010000";
    QTest::addRow("either undo level enables Undo") << S{false, false, false, false, true} << "1001000";
    QTest::addRow("a save target enables Ctrl+S") << S{false, true, false, true, false, true} << "1000010";
}

void TestEditLogic::commandStates()
{
    QFETCH(CommandStates::Situation, situation);
    QFETCH(QString, enabled);
    const CommandStates::Enabled e = CommandStates::enabled(situation);
    const bool groups[][5] = {
        {e.undo},
        {e.cut, e.copy, e.del, e.quoteCopy, e.quoteSelection},
        {e.paste, e.quotePaste},
        {e.selectAll, e.find},
        {e.convert},
        {e.saveToOpened},
        {e.saveSelection},
    };
    const int sizes[] = {1, 5, 2, 2, 1, 1, 1};
    QString got;
    for (int g = 0; g < 7; ++g) {
        // Every item of a group follows the same rule.
        for (int i = 1; i < sizes[g]; ++i)
            QCOMPARE(groups[g][i], groups[g][0]);
        got += groups[g][0] ? u'1' : u'0';
    }
    QCOMPARE(got, enabled);
}

QTEST_APPLESS_MAIN(TestEditLogic)
#include "tst_editlogic.moc"
