// Code page 932 as the platform has it: a character is written only if it reads back as itself.
#include "sheets/cp932.h"

#include <QTest>

class TestCp932 : public QObject {
    Q_OBJECT
private slots:
    // Every character of the BMP on its own: what the encoder gives must decode to the same
    // character, so no look-alike the platform's tables would substitute slips through.
    void everyCharacterReadsBack()
    {
        int encoded = 0;
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (c >= 0xD800 && c < 0xE000)
                continue;
            const QChar ch{char16_t(c)};
            const std::optional<QByteArray> bytes = Cp932::encode(QStringView(&ch, 1));
            if (!bytes)
                continue;
            ++encoded;
            if (Cp932::decode(*bytes, 0xF700) != QString(ch))
                QFAIL(qPrintable(QStringLiteral("U+%1 does not read back").arg(uint(c), 4, 16, QLatin1Char('0'))));
        }
        // The code page's characters, user-defined ones and the five extra single bytes.
        QVERIFY2(encoded > 9000, qPrintable(QString::number(encoded)));
    }

    // One look-alike anywhere in a long text refuses the whole text.
    void lookAlikeInALongText()
    {
        const QString body(5000, u'あ');
        QVERIFY(Cp932::encode(body + QStringLiteral("漢字ｶﾅ") + body));
        QVERIFY(!Cp932::encode(body + QChar(0x301C) + body)); // wave dash in the middle
        QVERIFY(!Cp932::encode(body + QChar(0x00A5)));         // yen sign at the end
    }
};

QTEST_APPLESS_MAIN(TestCp932)
#include "tst_cp932.moc"
