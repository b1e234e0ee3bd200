#include "sheets/textfile.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>

using TextCodec::Encoding;
using TextCodec::LineEnds;
using namespace Qt::StringLiterals;

namespace {

const QByteArray Bom("\xEF\xBB\xBF");
// 日本語 in each encoding.
const QByteArray NihongoEuc("\xC6\xFC\xCB\xDC\xB8\xEC");
const QByteArray NihongoJis("\x1B$BF|K\\8l\x1B(B");
const QByteArray NihongoLe("\xE5\x65\x2C\x67\x9E\x8A");
const QByteArray NihongoBe("\x65\xE5\x67\x2C\x8A\x9E");

} // namespace

// EUC-JP, ISO-2022-JP and BOM-less Japanese UTF-16 beside CP932: told apart, decoded, written
// back byte for byte, read and written in the encoding the user chooses.
class TstEncodings : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void detection_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Encoding>("encoding");
        const QByteArray prose = TextCodec::encode(u"日本語のテキストです。\n"_s, Encoding::EucJp);
        QTest::addRow("EUC-JP prose") << prose << Encoding::EucJp;
        QTest::addRow("EUC-JP mostly kanji, valid CP932 too")
                << TextCodec::encode(u"東京都千代田区丸の内一丁目\n大阪府大阪市北区梅田三丁目\n"_s, Encoding::EucJp) << Encoding::EucJp;
        QTest::addRow("one EUC-JP kana, valid CP932 too") << "\xA4\xCE"_ba << Encoding::EucJp;
        QTest::addRow("two EUC-JP kanji, no CP932") << NihongoEuc.first(4) << Encoding::EucJp;
        QTest::addRow("half-width kana valid in both stay CP932") << "\xB6\xC0\xB6\xC5"_ba << Encoding::Cp932;
        QTest::addRow("CP932 prose") << TextCodec::encode(u"日本語のテキストです。\n"_s, Encoding::Cp932)
                                     << Encoding::Cp932;
        QTest::addRow("ISO-2022-JP, three kanji") << NihongoJis << Encoding::Iso2022Jp;
        QTest::addRow("ISO-2022-JP with its last escape cut") << NihongoJis.chopped(1) << Encoding::Iso2022Jp;
        QTest::addRow("ASCII whose pairs look like kanji") << "ab"_ba << Encoding::Cp932;
        QTest::addRow("a cut escape alone is ASCII") << "abc\x1B$"_ba << Encoding::Cp932;
        QTest::addRow("UTF-16LE Japanese without BOM") << NihongoLe + "\r\0\n\0"_ba << Encoding::Utf16LeNoBom;
        QTest::addRow("UTF-16BE Japanese without BOM") << NihongoBe + "\0\r\0\n"_ba << Encoding::Utf16BeNoBom;
        QTest::addRow("odd-length UTF-16 is not") << NihongoLe + "\r\0\n"_ba << Encoding::Cp932;
    }
    void detection()
    {
        QFETCH(QByteArray, bytes);
        QTEST(TextCodec::detect(bytes), "encoding");
    }

    // Read in the file's encoding, or in the one the user reopens it in, whatever detection says.
    void decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Encoding>("encoding");
        QTest::addColumn<QString>("text");
        QTest::addRow("JIS: half-width kana and JIS X 0212")
                << "\x1B(I1\x1B$(D0!\x1B(B"_ba << Encoding::Iso2022Jp << u"ｱ丂"_s;
        QTest::addRow("JIS: a pair without a character keeps its bytes, the next one decodes")
                << "\x1B$B\"/$N\x1B(B"_ba << Encoding::Iso2022Jp << u"\uF722\uF72Fの"_s;
        QTest::addRow("JIS: a cut escape keeps its bytes") << "\x1B$B$N\x1B("_ba << Encoding::Iso2022Jp
                                                           << u"の\uF71B\uF728"_s;
        QTest::addRow("EUC-JP: half-width kana, JIS X 0212, an invalid byte")
                << "\x8E\xB1\x8F\xB0\xA1\xFF"_ba << Encoding::EucJp << u"ｱ丂\uF7FF"_s;
        QTest::addRow("one EUC-JP kanji that detection takes for CP932") << "\xB4\xC1"_ba << Encoding::EucJp << u"漢"_s;
        QTest::addRow("EUC-JP as CP932") << "\xA4\xCE"_ba << Encoding::Cp932 << u"､ﾎ"_s;
        QTest::addRow("JIS as CP932") << "\x1B$B$N\x1B(B"_ba << Encoding::Cp932 << u"\x1B$B$N\x1B(B"_s;
        QTest::addRow("ASCII as JIS") << "$N"_ba << Encoding::Iso2022Jp << u"$N"_s;
        QTest::addRow("ASCII as UTF-16LE") << "B0"_ba << Encoding::Utf16LeNoBom << u"あ"_s;
    }
    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Encoding, encoding);
        const QString file = dir_.filePath("forced.txt");
        QVERIFY(putFile(file, bytes));
        const TextFile::ReadResult r = TextFile::read(file, encoding);
        QVERIFY(r.ok && r.encoding == encoding);
        QTEST(r.text, "text");
    }

    // Read as detected, written back over itself: the same bytes.
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Encoding>("encoding");
        QTest::addRow("EUC-JP, LF") << NihongoEuc + "\n\xA4\xCE\xA1\xA3\n"_ba << Encoding::EucJp;
        QTest::addRow("EUC-JP, CR LF, NEC row 13, JIS X 0212, half-width kana, a bad byte")
                << NihongoEuc + "\xA4\xC7\xA4\xB9\xAD\xA1\xA4\xCE\x8F\xB0\xA1\x8E\xB1\xFF\r\n" << Encoding::EucJp;
        QTest::addRow("ISO-2022-JP with ASCII, LF") << "Python \x1B$B$N3+H/\x1B(B 1990\n" + NihongoJis + "\n"
                                                    << Encoding::Iso2022Jp;
        QTest::addRow("UTF-16LE without BOM, 」 and LF") << "\x0C\x30" + NihongoLe + "\x0D\x30\n\0"_ba
                                                            << Encoding::Utf16LeNoBom;
        QTest::addRow("UTF-16BE without BOM, CR LF") << NihongoBe + "\0\r\0\n"_ba << Encoding::Utf16BeNoBom;
    }
    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        const QString file = dir_.filePath("roundtrip.txt");
        QVERIFY(putFile(file, bytes));
        const TextFile::ReadResult r = TextFile::read(file);
        QVERIFY(r.ok && !r.text.contains(u'\x1B'));
        QTEST(r.encoding, "encoding");
        QVERIFY(TextFile::write(file, r.text, TextFile::LineEndPolicy::KeepExisting, r.variants).ok);
        QCOMPARE(fileBytes(file), bytes);
    }

    // Saved in a chosen encoding and line ends; a text that does not fit, or would read back
    // as other characters, becomes UTF-8 with a BOM.
    void writeIn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Encoding>("encoding");
        QTest::addColumn<LineEnds>("ends");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Encoding>("used");
        QTest::addRow("EUC-JP, LF") << u"の\r\n日本"_s << Encoding::EucJp << LineEnds::Lf
                                    << "\xA4\xCE\n\xC6\xFC\xCB\xDC\n"_ba << Encoding::EucJp;
        QTest::addRow("JIS ends in ASCII before the line end") << u"日本語"_s << Encoding::Iso2022Jp << LineEnds::CrLf
                                                                << NihongoJis + "\r\n" << Encoding::Iso2022Jp;
        QTest::addRow("UTF-16LE without BOM, CR") << u"日本"_s << Encoding::Utf16LeNoBom << LineEnds::Cr
                                                  << NihongoLe.first(4) + "\r\0"_ba << Encoding::Utf16LeNoBom;
        QTest::addRow("EUC-JP cannot hold an emoji") << u"日😀"_s << Encoding::EucJp << LineEnds::CrLf
                                                     << Bom + "\xE6\x97\xA5\xF0\x9F\x98\x80\r\n" << Encoding::Utf8Bom;
        QTest::addRow("EUC-JP has no wave dash of its own") << u"の〜の"_s << Encoding::EucJp << LineEnds::Lf
                << Bom + "\xE3\x81\xAE\xE3\x80\x9C\xE3\x81\xAE\n" << Encoding::Utf8Bom;
        QTest::addRow("JIS cannot hold Hangul") << u"한"_s << Encoding::Iso2022Jp << LineEnds::Lf
                                                << Bom + "\xED\x95\x9C\n" << Encoding::Utf8Bom;
        QTest::addRow("EUC-JP that would read back as CP932") << u"漢"_s << Encoding::EucJp << LineEnds::CrLf
                                                             << Bom + "\xE6\xBC\xA2\r\n" << Encoding::Utf8Bom;
    }
    void writeIn()
    {
        QFETCH(QString, text);
        QFETCH(Encoding, encoding);
        QFETCH(LineEnds, ends);
        const QString file = dir_.filePath("writein.txt");
        QVERIFY(putFile(file, "x\n"));
        const TextFile::WriteResult w = TextFile::writeIn(file, text, encoding, ends);
        QVERIFY(w.ok);
        QTEST(fileBytes(file), "bytes");
        QTEST(w.encoding, "used");
    }

    void statusLabel()
    {
        const QStringList labels{TextCodec::statusLabel(Encoding::EucJp, LineEnds::Lf),
                                 TextCodec::statusLabel(Encoding::Iso2022Jp, LineEnds::Cr),
                                 TextCodec::statusLabel(Encoding::Utf16BeNoBom, LineEnds::CrLf)};
        QCOMPARE(labels.join(u','), u"EUC-JP LF,JIS CR,UTF-16BE CRLF"_s);
    }
};

QTEST_GUILESS_MAIN(TstEncodings)
#include "tst_encodings.moc"
