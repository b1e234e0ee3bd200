// The Edit and conversion commands and the stamp on a bare text box (rewrites, two-level undo, copies and
// their quote mark), and beneath them quoting, conversion and the caret-position text as strings in and
// out. Which commands are enabled is checked on the window, where the rule meets the menus.
#include "../editor/fakehost.h"
#include "commands/EditController.h"
#include "commands/clipboardtext.h"
#include "commands/conversions.h"
#include "commands/quoting.h"
#include "commands/statustext.h"
#include "settings/holders.h"
#include "sheets/SheetSession.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace {
// OneWay marks a row with no inverse to check.
using Conversions::Conversion;
constexpr int Wide = int(Conversion::Wide), Narrow = int(Conversion::Narrow), Katakana = int(Conversion::Katakana),
              Hiragana = int(Conversion::Hiragana), Upper = int(Conversion::Upper), Lower = int(Conversion::Lower),
              Capitalise = int(Conversion::Capitalise), OneWay = -1;
}

class TestEditController : public QObject {
    Q_OBJECT
    FakeHost host;
    SheetSession sheets{QStringLiteral("/prog")};
    Holders holders;
    EditController edits{host, sheets, holders};

    void trigger(const char *name) { edits.findChild<QAction *>(QLatin1String(name))->trigger(); }

private slots:
    // Each leaves text|selection start|length; the clipboard holds "a\nb\n".
    void rewrites_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("after");
        QTest::addRow("quote whole lines, caret after") << "quoteSelectionAction" << "a\r\nb\r\nc" << 0 << 6 << ">a\r\n>b\r\n>c|9|0";
        QTest::addRow("quote-paste: clipboard lines are quoted") << "quotePasteAction" << "xy" << 1 << 0 << "x>a\r\n>b\r\n>y|10|0";
        const QString far(40000, u'x');
        QTest::addRow("capitalise keeps the range selected, beyond 16 bits")
            << "capitaliseAction" << far + "\r\nsay hello world" << 40006 << 11 << far + "\r\nsay Hello World|40006|11";
        QTest::addRow("date stamp at the command's clock") << "stampAction" << "aXb" << 1 << 1 << "a09:05 2001/01/02b|17|0";
    }
    void rewrites()
    {
        QFETCH(QString, command);
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        host.box.setText(text);
        host.box.select(selStart, selLength);
        QApplication::clipboard()->setText(QStringLiteral("a\nb\n"));
        host.clock = QDateTime(QDate(2001, 1, 2), QTime(9, 5, 59));

        trigger(qPrintable(command));
        QTEST(QStringLiteral("%1|%2|%3").arg(host.box.Text()).arg(host.box.SelStart()).arg(host.box.SelLength()), "after");
        // Undo is the snapshot's: the box keeps no step of a rewrite.
        QVERIFY(sheets.undoSnapshot() == text && !host.box.document()->isUndoAvailable());
    }

    // The copies leave the text and its selection alone; the quote mark is the settings'.
    void copies()
    {
        holders.quoteMark = u"| "_s;
        host.box.setText(u"a\r\nb"_s);
        host.box.select(0, 4);
        trigger("quoteCopyAction");
        QString seen = QApplication::clipboard()->text() + u'|' + QString::number(host.box.SelLength());
        host.box.select(3, 1);
        host.dialogs.calls.clear();
        trigger("copyAllAction");
        for (const FakeDialogs::Call &said : host.dialogs.calls)
            seen += u'|' + said.prompt + u'|' + said.title + u'|' + styleText(said.style);
        QCOMPARE(u"%1|%2|%3"_s.arg(seen, QApplication::clipboard()->text()).arg(host.box.SelLength()),
                 u"| a\n| b|4|すべての範囲をコピーしました。|q7 Zibo|%1|a\nb|1"_s.arg(styleText({QMessageBox::Information})));
        holders.quoteMark = u">"_s;
    }

    // One Undo takes back a rewrite, or the typing after it whether or not the snapshot rule ran
    // between; emptying the box keeps the snapshot. One level only: nothing is left to undo.
    void undoSequences()
    {
        // "two" of "one two three" upper-cased, then what happens before Undo.
        const auto undoAfter = [&](const std::function<void()> &between) -> QString {
            host.box.setText(QStringLiteral("one two three"));
            host.box.select(4, 3);
            trigger("toUpperAction");
            between();
            trigger("undoAction");
            return host.box.Text() + QStringLiteral(", caret %1").arg(host.box.SelStart())
                + (edits.boxCanUndo() || !sheets.undoSnapshot().isEmpty() ? QStringLiteral(", more to undo") : QString());
        };
        const auto type = [&] { QTest::keyClicks(&host.box, QStringLiteral("X")); };
        QCOMPARE(undoAfter([] {}), QStringLiteral("one two three, caret 7"));
        QCOMPARE(undoAfter(type), QStringLiteral("one TWO three, caret 7"));
        QCOMPARE(undoAfter([&] { type(); edits.applyUndoRule(); }), QStringLiteral("one TWO three, caret 7"));
        QCOMPARE(undoAfter([&] { host.box.setText(QString()); }), QStringLiteral("one two three, caret 0"));
    }

    // Every line gets the mark, empty ones too, and a final break a quoted empty line; a lone CR, also at the
    // end, becomes CR LF; a lone LF is part of the line. Quoting blank lines with an empty mark once deleted them.
    void quoting()
    {
        QCOMPARE(Quoting::quote(u"a\r\n\r\nb\r\n"_s, u">"_s), u">a\r\n>\r\n>b\r\n>"_s);
        QCOMPARE(Quoting::quote(u"a\rb\r"_s, u">"_s), u">a\r\n>b\r\n>"_s);
        QCOMPARE(Quoting::quote(u"a\nb"_s, u">"_s), u">a\nb"_s);
        QCOMPARE(Quoting::quote(QString(), u">"_s), u">"_s);
        QCOMPARE(Quoting::quote(u"\r\n\r\na"_s, QString()), u"\r\n\r\na"_s);
    }

    // The clipboard's LF become CR LF and back (the rewrites above); a CR LF there is not doubled.
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
        QCOMPARE(StatusText::caretPosition(1234, 5) + u'|' + StatusText::caretPosition(12345, 67890), u" 1234 :    5| 12345 : 67890"_s);
    }
};

QTEST_MAIN(TestEditController)
#include "tst_editcontroller.moc"
