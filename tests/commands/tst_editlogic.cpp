// Quoting, character conversion and the caret-position text: strings in, strings out. Which
// commands are enabled is checked on the window, where the rule meets the menus.
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
    QTest::addRow("CR LF lines, empty ones too; a final break gives a quoted empty line")
        << "a\r\n\r\nb\r\n" << ">" << ">a\r\n>\r\n>b\r\n>";
    QTest::addRow("lone CR, also at the end, becomes CR LF") << "a\rb\r" << ">" << ">a\r\n>b\r\n>";
    QTest::addRow("lone LF is part of the line") << "a\nb" << ">" << ">a\nb";
    QTest::addRow("empty source is the mark alone") << "" << ">" << ">";
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

void TestEditLogic::clipboardLineBreaks()
{
    const QString clipboard = QStringLiteral("\na\nb\n");
    const QString model = QStringLiteral("\r\na\r\nb\r\n");
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
    QTest::addRow("ASCII, space and yen") << Wide << "ab 1!~\\¥" << "ａｂ　１！～＼￥" << Narrow;
    QTest::addRow("katakana and punctuation") << Wide << "ｱｲｳｦｰ｡｢｣､･" << "アイウヲー。「」、・" << Narrow;
    QTest::addRow("voiced marks composed") << Wide << "ｶﾞﾊﾟﾎﾟｳﾞﾜﾞ" << "ガパポヴヷ" << Narrow;
    QTest::addRow("lone voiced marks") << Wide << "ﾞﾟ" << "゛゜" << Narrow;
    QTest::addRow("a mark joins only a half-width kana that takes it") << Wide << "ｱﾞカﾞ" << "ア゛カ゛" << OneWay;
    QTest::addRow("katakana without a half-width form stay") << Narrow << "ヰヱヵヶヸ" << "ヰヱヵヶヸ" << Wide;
    QTest::addRow("combining mark narrows") << Narrow << QStringLiteral("カ\u3099") << "ｶﾞ" << OneWay;

    QTest::addRow("plain, small and voiced kana up to ゖ") << Katakana << "ひぁっゃぱゔゕゖ" << "ヒァッャパヴヵヶ" << Hiragana;
    QTest::addRow("iteration marks") << Katakana << "ゝゞ" << "ヽヾ" << Hiragana;
    QTest::addRow("others stay") << Katakana << "ー漢ａ" << "ー漢ａ" << Hiragana;
    QTest::addRow("ヷ has no hiragana form") << Hiragana << "ヷカ" << "ヷか" << OneWay;

    QTest::addRow("ASCII and full-width letters") << Upper << "hello ａｂ 1!" << "HELLO ＡＢ 1!" << Lower;
    QTest::addRow("one to one: sharp s stays") << Upper << "straße" << "STRAßE" << Lower;
    QTest::addRow("beyond the BMP") << Lower << "𐐀" << "𐐨" << Upper;

    QTest::addRow("each word capitalised, the rest lower") << Capitalise << "hELLO world" << "Hello World" << OneWay;
    QTest::addRow("CR LF starts a word") << Capitalise << "one\r\ntwo" << "One\r\nTwo" << OneWay;
    QTest::addRow("lone LF, tab, punctuation, full-width space start none")
        << Capitalise << "a\nb\tc-d.e　f" << "A\nb\tc-d.e　f" << OneWay;
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
    QTest::addRow("short numbers padded") << qint64(1) << qint64(23) << "   1 :   23";
    QTest::addRow("four-digit line gets its sign blank") << qint64(1234) << qint64(5) << " 1234 :    5";
    QTest::addRow("five digits shown whole") << qint64(12345) << qint64(67890) << " 12345 : 67890";
}

void TestEditLogic::caretPosition()
{
    QFETCH(qint64, line);
    QFETCH(qint64, column);
    QFETCH(QString, expected);
    QCOMPARE(StatusText::caretPosition(line, column), expected);
}

// Enabled commands as 0/1 in the order: undo, cut (copy, delete, both quote commands), paste
// (quoted paste), select all (find), convert, Ctrl+S, save the selection.
void TestEditLogic::commandStates_data()
{
    using S = CommandStates::Situation;
    QTest::addColumn<S>("situation");
    QTest::addColumn<QString>("enabled");
    QTest::addRow("empty box, nothing anywhere") << S{} << "0000000";
    QTest::addRow("selected text") << S{true, false} << "0101101";
    QTest::addRow("clipboard text alone") << S{false, true, true} << "0010000";
    QTest::addRow("either undo level; a save target") << S{false, false, false, false, true, true} << "1001010";
}

void TestEditLogic::commandStates()
{
    QFETCH(CommandStates::Situation, situation);
    QFETCH(QString, enabled);
    const CommandStates::Enabled e = CommandStates::enabled(situation);
    QVERIFY(e.cut == e.copy && e.copy == e.del && e.del == e.quoteCopy && e.quoteCopy == e.quoteSelection);
    QVERIFY(e.paste == e.quotePaste && e.selectAll == e.find);
    QString got;
    for (bool b : {e.undo, e.cut, e.paste, e.selectAll, e.convert, e.saveToOpened, e.saveSelection})
        got += b ? u'1' : u'0';
    QCOMPARE(got, enabled);
}

QTEST_APPLESS_MAIN(TestEditLogic)
#include "tst_editlogic.moc"
