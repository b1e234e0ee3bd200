#include "settings/settingsstore.h"
#include "settings/settingstext.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>
#include <optional>

using namespace SettingsText;

namespace {
const QString Missing = QStringLiteral("<built-in>");
}

class TestSettingsStore : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    int files_ = 0;

    // A file name never used before in this run: QSettings caches what it wrote per path, so only
    // a fresh name makes a reader parse the bytes on disk.
    QString freshPath() { return tmp_.filePath(QStringLiteral("s%1.ini").arg(++files_)); }
    QString reopened(const QString &path)
    {
        const QString copy = freshPath();
        return QFile::copy(path, copy) ? copy : QString();
    }
    QString withContents(const QByteArray &bytes)
    {
        const QString path = freshPath();
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return {};
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(tmp_.isValid());
        QFile plain(tmp_.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write("x") == 1);
        QVERIFY(QDir(tmp_.path()).mkdir(QStringLiteral("folder")));
        // QSettings reads the configuration folder once per process; point it here first.
        qputenv("XDG_CONFIG_HOME", tmp_.filePath(QStringLiteral("config")).toLocal8Bit());
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addRow("comma and blank") << "q7" << "FontName" << "a, b";
        QTest::addRow("lone comma") << "Launch" << "CMD0" << ",";
        QTest::addRow("double quotes") << "Launch" << "CMD1" << "\"C:\\Program Files\\x.exe\" -n";
        QTest::addRow("equals and semicolon") << "Launch" << "CMD2" << "a=b;c";
        QTest::addRow("blanks at both ends") << "q7" << "Inyouhu" << "  > ";
        QTest::addRow("backslashes") << "Open" << "File0" << "C:\\memo\\a.txt";
        QTest::addRow("trailing backslash") << "Launch" << "Bar0" << "C:\\tools\\";
        QTest::addRow("hash at start") << "q7" << "Inyouhu" << "#";
        QTest::addRow("at sign at start") << "Launch" << "Name0" << "@Invalid()";
        QTest::addRow("CR LF, lone LF, lone CR") << "Launch" << "CMD3" << "a\r\nb\nc\rd";
        QTest::addRow("full-width font name") << "q7" << "FontName" << "ＭＳ Ｐゴシック";
        QTest::addRow("Japanese with full-width blanks") << "Launch" << "CMD5" << "　上書き保存－　";
        QTest::addRow("access-key caption") << "q7" << "q1" << "Zibo q &1";
        QTest::addRow("empty text is a value") << "q7" << "q2" << "";
        QTest::addRow("long text") << "Launch" << "CMD9" << QString(20000, QChar(u'あ'));
    }
    void roundTrip()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QString path = freshPath();
        {
            SettingsStore store(path);
            store.WriteSetting(section, key, QStringLiteral("older"));
            store.WriteSetting(section, key, value);
            QVERIFY(store.sync());
        }
        const SettingsStore reader(reopened(path));
        QVERIFY(reader.contains(section, key));
        QCOMPARE(reader.ReadSetting(section, key, Missing), value);
    }

    void missingKeyGivesDefault_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addRow("never written") << "q7" << "XXXX";
        QTest::addRow("unknown section") << "IME" << "IME";
        QTest::addRow("same key, other section") << "Open" << "File";
        QTest::addRow("prefix of a written key") << "Launch" << "CMD";
        QTest::addRow("written key plus digit") << "Launch" << "CMD00";
#ifndef Q_OS_WIN // the registry and Windows INI files ignore letter case
        QTest::addRow("key in other letter case") << "q7" << "file";
        QTest::addRow("section in other letter case") << "Q7" << "File";
#endif
    }
    void missingKeyGivesDefault()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        const QString path = freshPath();
        {
            SettingsStore store(path);
            store.WriteSetting(QStringLiteral("q7"), QStringLiteral("File"), QStringLiteral("q7 Zibo q3"));
            store.WriteSetting(QStringLiteral("Launch"), QStringLiteral("CMD0"), QString());
            QVERIFY(store.sync());
        }
        const SettingsStore reader(reopened(path));
        QVERIFY(!reader.contains(section, key));
        QCOMPARE(reader.ReadSetting(section, key, Missing), Missing);
        QCOMPARE(reader.ReadSetting(QStringLiteral("Launch"), QStringLiteral("CMD0"), Missing), QString());
    }

    // What a user may have typed into the file with a text editor.
    void handEdited_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("warns");
        QTest::addRow("unquoted list joins back") << QByteArray("[q7]\nFontName=a, b\n") << "a, b" << false;
        QTest::addRow("list without blanks") << QByteArray("[q7]\nFontName=a,b,,c\n") << "a, b, , c" << false;
        QTest::addRow("quoted comma stays as typed") << QByteArray("[q7]\nFontName=\"a,b\"\n") << "a,b" << false;
        QTest::addRow("line without equals skipped") << QByteArray("[q7]\ngarbage\nFontName=x\n") << "x" << false;
        QTest::addRow("UTF-8 BOM") << QByteArray("\xEF\xBB\xBF[q7]\r\nFontName=x\r\n") << "x" << false;
        QTest::addRow("UTF-8 Japanese") << QByteArray("[q7]\nFontName=ＭＳ 明朝\n") << "ＭＳ 明朝" << false;
        QTest::addRow("escaped backslashes") << QByteArray("[q7]\nFontName=C:\\\\a\n") << "C:\\a" << false;
        QTest::addRow("byte array is text") << QByteArray("[q7]\nFontName=@ByteArray(Arial)\n") << "Arial" << false;
        QTest::addRow("invalid marker") << QByteArray("[q7]\nFontName=@Invalid()\n") << Missing << true;
        QTest::addRow("rectangle") << QByteArray("[q7]\nFontName=@Rect(1 2 3 4)\n") << Missing << true;
        QTest::addRow("binary variant of unknown type")
            << QByteArray("[q7]\nFontName=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\aQColor)\n") << Missing << true;
        QTest::addRow("broken variant is text") << QByteArray("[q7]\nFontName=@Variant(x\n") << "@Variant(x" << false;
        QTest::addRow("pure garbage") << QByteArray("\x01\x02]]][[[\n==\n") << Missing << false;
    }
    void handEdited()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        QFETCH(bool, warns);
        const QString path = withContents(file);
        QVERIFY(!path.isEmpty());
        SettingsStore store(path);
        if (warns)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("q7/FontName holds no text")));
        QCOMPARE(store.ReadSetting(QStringLiteral("q7"), QStringLiteral("FontName"), Missing), expected);

        // Whatever QSettings thought of the file, it can still be written.
        store.WriteSetting(QStringLiteral("Size"), QStringLiteral("Width"), QStringLiteral("8805"));
        QVERIFY(store.sync());
        const SettingsStore reader(reopened(path));
        QCOMPARE(reader.ReadSetting(QStringLiteral("Size"), QStringLiteral("Width"), Missing), QStringLiteral("8805"));
    }

    void syncReportsFailure_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("writable");
        // The tests may run as root, whom permissions do not stop: use places nobody can write.
        QTest::addRow("missing folders are made") << tmp_.filePath("new/deeper/s.ini") << true;
        QTest::addRow("folder is a regular file") << tmp_.filePath("plain/s.ini") << false;
        QTest::addRow("path is a folder") << tmp_.filePath("folder") << false;
#ifdef Q_OS_LINUX
        QTest::addRow("proc file system") << QStringLiteral("/proc/self/q7zibo.ini") << false;
#endif
    }
    void syncReportsFailure()
    {
        QFETCH(QString, path);
        QFETCH(bool, writable);
        SettingsStore store(path);
        store.WriteSetting(QStringLiteral("q7"), QStringLiteral("File"), QStringLiteral("q7 Zibo q1"));
        QCOMPARE(store.sync(), writable);
        QCOMPARE(QFileInfo(path).isFile(), writable);
    }

    void nativeStoreIsTheUsersOwn()
    {
#ifndef Q_OS_LINUX
        QSKIP("the native store is a file only on Linux");
#else
        const QString config = tmp_.filePath(QStringLiteral("config"));
        // QSettings would otherwise also read an organisation-wide file of the same name.
        QVERIFY(QDir().mkpath(config));
        QFile org(config + QStringLiteral("/q7Zibo.conf"));
        QVERIFY(org.open(QIODevice::WriteOnly));
        org.write("[q7]\nFontName=from elsewhere\n");
        org.close();

        SettingsStore store;
        QCOMPARE(store.location(), config + QStringLiteral("/q7Zibo/q7Zibo.conf"));
        QCOMPARE(store.ReadSetting(QStringLiteral("q7"), QStringLiteral("FontName"), Missing), Missing);
        store.WriteSetting(QStringLiteral("IME"), QStringLiteral("IME"), QStringLiteral("True"));
        QVERIFY(store.sync());
        QVERIFY(QFileInfo(store.location()).isFile());
#endif
    }

    void toBool_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<bool>>("expected");
        QTest::addRow("True") << "True" << std::optional(true);
        QTest::addRow("any letter case") << "tRUE" << std::optional(true);
        QTest::addRow("blanks around") << " false\t" << std::optional(false);
        QTest::addRow("zero") << "0" << std::optional(false);
        QTest::addRow("negative zero") << "-0.0" << std::optional(false);
        QTest::addRow("minus one") << "-1" << std::optional(true);
        QTest::addRow("two") << "2" << std::optional(true);
        QTest::addRow("a half") << "0.5" << std::optional(true);
        QTest::addRow("empty") << "" << std::optional<bool>();
        QTest::addRow("yes") << "yes" << std::optional<bool>();
        QTest::addRow("number then letters") << "1a" << std::optional<bool>();
    }
    void toBool()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<bool>, expected);
        QCOMPARE(SettingsText::toBool(text), expected);
        if (expected)
            QCOMPARE(SettingsText::toBool(fromBool(*expected)), expected);
    }

    void toNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<double>>("expected");
        QTest::addRow("whole") << "8805" << std::optional(8805.0);
        QTest::addRow("decimals, blanks around") << "  11.25 " << std::optional(11.25);
        QTest::addRow("signs") << "-2.5" << std::optional(-2.5);
        QTest::addRow("no digit before point") << ".5" << std::optional(0.5);
        QTest::addRow("no digit after point") << "5." << std::optional(5.0);
        QTest::addRow("exponent") << "1E+07" << std::optional(1e7);
        QTest::addRow("empty") << "" << std::optional<double>();
        QTest::addRow("point only") << "." << std::optional<double>();
        QTest::addRow("letters") << "abc" << std::optional<double>();
        QTest::addRow("number then letters") << "12abc" << std::optional<double>();
        QTest::addRow("decimal comma") << "1,5" << std::optional<double>();
        QTest::addRow("exponent without digits") << "1e" << std::optional<double>();
        QTest::addRow("full-width digits") << "１２" << std::optional<double>();
        QTest::addRow("infinity") << "inf" << std::optional<double>();
        QTest::addRow("not a number") << "nan" << std::optional<double>();
        QTest::addRow("overflow") << "1e400" << std::optional<double>();
    }
    void toNumber()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<double>, expected);
        QCOMPARE(SettingsText::toNumber(text), expected);
    }

    void fromNumber_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::addRow("window width") << 8805.0 << "8805";
        QTest::addRow("font size") << 11.25 << "11.25";
        QTest::addRow("small whole") << 9.0 << "9";
        QTest::addRow("single-precision tenth") << double(0.1f) << "0.1";
        QTest::addRow("third") << 1.0 / 3.0 << "0.3333333";
        QTest::addRow("rounded to seven digits") << 1234567.8 << "1234568";
        QTest::addRow("negative") << -2.5 << "-2.5";
        QTest::addRow("zero") << 0.0 << "0";
        QTest::addRow("negative zero") << -0.0 << "0";
        QTest::addRow("ten million") << 1e7 << "1E+07";
        QTest::addRow("rounds up to ten million") << 9999999.6 << "1E+07";
        QTest::addRow("eight digits") << 12345678.0 << "1.234568E+07";
        QTest::addRow("ten thousandth") << 0.0001 << "0.0001";
        QTest::addRow("hundred thousandth") << 0.00001 << "1E-05";
    }
    void fromNumber()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(SettingsText::fromNumber(value), expected);
        const auto back = SettingsText::toNumber(expected);
        QVERIFY(back.has_value());
        QVERIFY(std::abs(*back - value) <= std::abs(value) * 5e-7);
    }

    void fromTabFontSize_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::addRow("built-in size") << 11.25 << "11.25";
        QTest::addRow("ten points") << 10.0 << "10";
        QTest::addRow("four decimals kept") << 10.33333 << "10.3333";
        QTest::addRow("rounds up to whole") << 9.99999 << "10";
        QTest::addRow("tiny negative is zero") << -0.00001 << "0";
    }
    void fromTabFontSize()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(SettingsText::fromTabFontSize(value), expected);
    }

    void toLong_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<qint32>>("expected");
        QTest::addRow("half rounds down to even") << "2.5" << std::optional<qint32>(2);
        QTest::addRow("half rounds up to even") << "3.5" << std::optional<qint32>(4);
        QTest::addRow("negative half to even") << "-2.5" << std::optional<qint32>(-2);
        QTest::addRow("zero point five") << "0.5" << std::optional<qint32>(0);
        QTest::addRow("exponent") << "1E+07" << std::optional<qint32>(10000000);
        QTest::addRow("window text colour") << "-2147483640" << std::optional<qint32>(SysWindowText);
        QTest::addRow("lowest") << "-2147483648" << std::optional<qint32>(std::numeric_limits<qint32>::min());
        QTest::addRow("lowest by rounding") << "-2147483648.5" << std::optional<qint32>(std::numeric_limits<qint32>::min());
        QTest::addRow("highest") << "2147483647" << std::optional<qint32>(std::numeric_limits<qint32>::max());
        QTest::addRow("just too high") << "2147483648" << std::optional<qint32>();
        QTest::addRow("too high by rounding") << "2147483647.5" << std::optional<qint32>();
        QTest::addRow("just too low") << "-2147483649" << std::optional<qint32>();
        QTest::addRow("not a number") << "red" << std::optional<qint32>();
    }
    void toLong()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<qint32>, expected);
        QCOMPARE(SettingsText::toLong(text), expected);
    }

    void colours_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("systemIndex");
        QTest::addRow("pure red") << qint32(0x0000FF) << "255" << true << -1;
        QTest::addRow("pure blue") << qint32(0xFF0000) << "16711680" << true << -1;
        QTest::addRow("white") << qint32(0xFFFFFF) << "16777215" << true << -1;
        QTest::addRow("beyond RGB") << qint32(0x1000000) << "16777216" << false << -1;
        QTest::addRow("minus one") << qint32(-1) << "-1" << false << -1;
        QTest::addRow("window text") << SysWindowText << "-2147483640" << true << 8;
        QTest::addRow("window background") << SysWindowBackground << "-2147483643" << true << 5;
        QTest::addRow("first system colour") << qint32(0x80000000u) << "-2147483648" << true << 0;
        QTest::addRow("last system colour") << qint32(0x80000018u) << "-2147483624" << true << 24;
        QTest::addRow("past the system colours") << qint32(0x80000019u) << "-2147483623" << false << -1;
    }
    void colours()
    {
        QFETCH(qint32, value);
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, systemIndex);
        QCOMPARE(fromColour(value), text);
        QCOMPARE(SettingsText::toLong(text), std::optional<qint32>(value));
        QCOMPARE(isValidColour(value), valid);
        QCOMPARE(isSystemColour(value), systemIndex >= 0);
        QCOMPARE(systemColourIndex(value), systemIndex);
    }
};

QTEST_APPLESS_MAIN(TestSettingsStore)
#include "tst_settingstore.moc"
