// Quoting, character conversion and the caret-position text: strings in, strings out. Which
// commands are enabled is checked on the window, where the rule meets the menus.
#include "commands/clipboardtext.h"
#include "commands/conversions.h"
#include "commands/quoting.h"
#include "commands/statustext.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// OneWay marks a row with no inverse to check.
using Conversions::Conversion;
constexpr int Wide = int(Conversion::Wide), Narrow = int(Conversion::Narrow), Katakana = int(Conversion::Katakana),
              Hiragana = int(Conversion::Hiragana), Upper = int(Conversion::Upper), Lower = int(Conversion::Lower),
              Capitalise = int(Conversion::Capitalise), OneWay = -1;
}

class TestEditLogic : public QObject {
    Q_OBJECT
private slots:
    void quoting_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("expected");
        QTest::addRow("CR LF lines, empty ones too; a final break gives a quoted empty line")
            << "a\r\n\r\nb\r\n" << ">" << ">a\r\n>\r\n>b\r\n>";
        QTest::addRow("lone CR, also at the end, becomes CR LF") << "a\rb\r" << ">" << ">a\r\n>b\r\n>";
        QTest::addRow("lone LF is part of the line") << "a\nb" << ">" << ">a\nb";
        QTest::addRow("empty source is the mark alone") << "" << ">" << ">";
        // Quoting blank lines with an empty mark once deleted them.
        QTest::addRow("empty mark keeps leading empty lines") << "\r\n\r\na" << "" << "\r\n\r\na";
    }
    void quoting()
    {
        QFETCH(QString, source);
        QFETCH(QString, mark);
        QTEST(Quoting::quote(source, mark), "expected");
    }

    // The clipboard's LF become CR LF and back (tst_editcontroller); a CR LF there is not doubled.
    void clipboardCrLfNotDoubled() { QCOMPARE(ClipboardText::toModel(u"\na\r\nb\n"_s), u"\r\na\r\nb\r\n"_s); }

    void conversions_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("inverse"); // takes expected back to source
        QTest::addRow("ASCII, space and yen") << Wide << "ab 1!~\\¥" << "ａｂ　１！～＼￥" << Narrow;
        QTest::addRow("katakana and punctuation") << Wide << "ｱｲｳｦｰ｡｢｣､･" << "アイウヲー。「」、・" << Narrow;
        QTest::addRow("voiced marks composed, lone ones spacing") << Wide << "ｶﾞﾊﾟﾎﾟｳﾞﾜﾞﾞﾟ" << "ガパポヴヷ゛゜" << Narrow;
        QTest::addRow("a mark joins only a half-width kana that takes it") << Wide << "ｱﾞカﾞ" << "ア゛カ゛" << OneWay;
        QTest::addRow("katakana without a half-width form stay") << Narrow << "ヰヱヵヶヸ" << "ヰヱヵヶヸ" << Wide;
        QTest::addRow("combining mark narrows") << Narrow << QStringLiteral("カ\u3099") << "ｶﾞ" << OneWay;
        QTest::addRow("kana up to ゖ, iteration marks; others stay") << Katakana << "ひぁっゃぱゔゕゖゝゞー漢ａ"
                                                                   << "ヒァッャパヴヵヶヽヾー漢ａ" << Hiragana;
        QTest::addRow("ヷ has no hiragana form") << Hiragana << "ヷカ" << "ヷか" << OneWay;
        QTest::addRow("ASCII and full-width letters") << Upper << "hello ａｂ 1!" << "HELLO ＡＢ 1!" << Lower;
        QTest::addRow("one to one: sharp s stays") << Upper << "straße" << "STRAßE" << Lower;
        QTest::addRow("beyond the BMP") << Lower << "𐐀" << "𐐨" << Upper;
        QTest::addRow("each word capitalised, the rest lower") << Capitalise << "hELLO world" << "Hello World" << OneWay;
        QTest::addRow("CR LF starts a word, trailing blank and line end") << Capitalise << "one \r\ntwo\r\n" << "One \r\nTwo\r\n" << OneWay;
        QTest::addRow("lone LF, tab, punctuation, full-width space start none")
            << Capitalise << "a\nb\tc-d.e　f" << "A\nb\tc-d.e　f" << OneWay;
        QTest::addRow("capitalise nothing") << Capitalise << "" << "" << OneWay;
    }
    void conversions()
    {
        QFETCH(int, index);
        QFETCH(QString, source);
        QFETCH(QString, expected);
        QFETCH(int, inverse);
        QTEST(Conversions::convert(Conversion(index), source), "expected");
        if (inverse != OneWay)
            QCOMPARE(Conversions::convert(Conversion(inverse), expected), source);
    }

    // Short numbers are padded on the window (tst_mainwindow); wide ones are never cut.
    void caretPosition()
    {
        QCOMPARE(StatusText::caretPosition(1234, 5), QStringLiteral(" 1234 :    5"));
        QCOMPARE(StatusText::caretPosition(12345, 67890), QStringLiteral(" 12345 : 67890"));
    }
};

QTEST_APPLESS_MAIN(TestEditLogic)
#include "tst_editlogic.moc"
