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
using namespace Qt::StringLiterals;

namespace {
const QString Missing = u"<built-in>"_s;
using Bool = std::optional<bool>;
using Number = std::optional<double>;
using Long = std::optional<qint32>;
constexpr qint32 Lowest = std::numeric_limits<qint32>::min();
constexpr qint32 Highest = std::numeric_limits<qint32>::max();
}

class TestSettingsStore : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    int files_ = 0;

    // A file name never used before in this run: QSettings caches what it wrote per path, so only
    // a fresh name makes a reader parse the bytes on disk.
    QString freshPath() { return tmp_.filePath(u"s%1.ini"_s.arg(++files_)); }
    QString reopened(const QString &path)
    {
        const QString copy = freshPath();
        return QFile::copy(path, copy) ? copy : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(tmp_.isValid());
        QFile plain(tmp_.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write("x") == 1);
        QVERIFY(QDir(tmp_.path()).mkdir("folder"));
        // QSettings reads the configuration folder once per process; point it here first.
        qputenv("XDG_CONFIG_HOME", tmp_.filePath("config").toLocal8Bit());
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addRow("comma and blank") << "a, b";
        QTest::addRow("double quotes") << "\"C:\\Program Files\\x.exe\" -n";
        QTest::addRow("equals and semicolon") << "a=b;c";
        QTest::addRow("blanks at both ends") << "  > ";
        QTest::addRow("backslashes") << "C:\\memo\\a.txt";
        QTest::addRow("trailing backslash") << "C:\\tools\\";
        QTest::addRow("hash at start") << "#";
        QTest::addRow("at sign at start") << "@Invalid()";
        QTest::addRow("CR LF, lone LF, lone CR") << "a\r\nb\nc\rd";
        QTest::addRow("Japanese with full-width blanks") << "　上書き保存－　";
        QTest::addRow("empty text is a value") << "";
    }
    void roundTrip()
    {
        QFETCH(QString, value);
        const QString path = freshPath();
        {
            SettingsStore store(path);
            store.WriteSetting("Launch", "CMD0", "older");
            store.WriteSetting("Launch", "CMD0", value);
            QVERIFY(store.sync());
        }
        const SettingsStore reader(reopened(path));
        QVERIFY(reader.contains("Launch", "CMD0"));
        QCOMPARE(reader.ReadSetting("Launch", "CMD0", Missing), value);
    }

    // What a user may have typed into the file with a text editor, and keys that are not there.
    void handEdited_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected"); // of q7/FontName
        QTest::addColumn<bool>("warns");
        QTest::addRow("list without blanks") << "[q7]\nFontName=a,b,,c\n"_ba << "a, b, , c" << false;
        QTest::addRow("quoted comma stays as typed") << "[q7]\nFontName=\"a,b\"\n"_ba << "a,b" << false;
        QTest::addRow("UTF-8 BOM") << "\xEF\xBB\xBF[q7]\r\nFontName=x\r\n"_ba << "x" << false;
        QTest::addRow("byte array is text") << "[q7]\nFontName=@ByteArray(Arial)\n"_ba << "Arial" << false;
        QTest::addRow("invalid marker") << "[q7]\nFontName=@Invalid()\n"_ba << Missing << true;
        QTest::addRow("rectangle") << "[q7]\nFontName=@Rect(1 2 3 4)\n"_ba << Missing << true;
        QTest::addRow("broken variant is text") << "[q7]\nFontName=@Variant(x\n"_ba << "@Variant(x" << false;
        QTest::addRow("pure garbage") << "\x01\x02]]][[[\n==\n"_ba << Missing << false;
        QTest::addRow("never written") << "[q7]\nFile=x\n"_ba << Missing << false;
        QTest::addRow("same key, other section") << "[Open]\nFontName=x\n"_ba << Missing << false;
#ifndef Q_OS_WIN // the registry and Windows INI files ignore letter case
        QTest::addRow("key in other letter case") << "[q7]\nfontname=x\n"_ba << Missing << false;
#endif
    }
    void handEdited()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        QFETCH(bool, warns);
        const QString path = freshPath();
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
        f.close();
        SettingsStore store(path);
        if (warns)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("q7/FontName holds no text"));
        QCOMPARE(store.ReadSetting("q7", "FontName", Missing), expected);

        // Whatever QSettings thought of the file, it can still be written.
        store.WriteSetting("Size", "Width", "8805");
        QVERIFY(store.sync());
        QCOMPARE(SettingsStore(reopened(path)).ReadSetting("Size", "Width", Missing), u"8805"_s);
    }

    void syncReportsFailure_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("writable");
        // The tests may run as root, whom permissions do not stop: use places nobody can write.
        QTest::addRow("missing folders are made") << tmp_.filePath("new/deeper/s.ini") << true;
        QTest::addRow("folder is a regular file") << tmp_.filePath("plain/s.ini") << false;
        QTest::addRow("path is a folder") << tmp_.filePath("folder") << false;
    }
    void syncReportsFailure()
    {
        QFETCH(QString, path);
        QFETCH(bool, writable);
        SettingsStore store(path);
        store.WriteSetting("q7", "File", "q7 Zibo q1");
        QCOMPARE(store.sync(), writable);
        QCOMPARE(QFileInfo(path).isFile(), writable);
    }

    void nativeStoreIsTheUsersOwn()
    {
#ifndef Q_OS_LINUX
        QSKIP("the native store is a file only on Linux");
#else
        // QSettings would otherwise also read an organisation-wide file of the same name.
        const QString config = tmp_.filePath("config");
        QVERIFY(QDir().mkpath(config));
        QFile org(config + u"/q7Zibo.conf"_s);
        QVERIFY(org.open(QIODevice::WriteOnly) && org.write("[q7]\nFontName=from elsewhere\n") > 0);
        org.close();
        SettingsStore store;
        QCOMPARE(store.location(), config + u"/q7Zibo/q7Zibo.conf"_s);
        QCOMPARE(store.ReadSetting("q7", "FontName", Missing), Missing);
        store.WriteSetting("IME", "IME", "True");
        QVERIFY(store.sync() && QFileInfo(store.location()).isFile());
#endif
    }

    // Every text as a number, a whole number (half to even, in range) and a truth value.
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Number>("number");
        QTest::addColumn<Long>("whole");
        QTest::addColumn<Bool>("truth");
        QTest::addRow("any letter case") << "tRUE" << Number() << Long() << Bool(true);
        QTest::addRow("blanks around") << " false\t" << Number() << Long() << Bool(false);
        QTest::addRow("decimals, blanks around") << "  11.25 " << Number(11.25) << Long(11) << Bool(true);
        QTest::addRow("negative zero") << "-0.0" << Number(0.0) << Long(0) << Bool(false);
        QTest::addRow("a half is true, rounds down to even") << "0.5" << Number(0.5) << Long(0) << Bool(true);
        QTest::addRow("half rounds up to even") << "3.5" << Number(3.5) << Long(4) << Bool(true);
        QTest::addRow("negative half to even") << "-2.5" << Number(-2.5) << Long(-2) << Bool(true);
        QTest::addRow("no digit before point") << ".5" << Number(0.5) << Long(0) << Bool(true);
        QTest::addRow("no digit after point") << "5." << Number(5.0) << Long(5) << Bool(true);
        QTest::addRow("exponent") << "1E+07" << Number(1e7) << Long(10000000) << Bool(true);
        QTest::addRow("lowest") << "-2147483648" << Number(-2147483648.0) << Long(Lowest) << Bool(true);
        QTest::addRow("lowest by rounding") << "-2147483648.5" << Number(-2147483648.5) << Long(Lowest) << Bool(true);
        QTest::addRow("highest") << "2147483647" << Number(2147483647.0) << Long(Highest) << Bool(true);
        QTest::addRow("just too high") << "2147483648" << Number(2147483648.0) << Long() << Bool(true);
        QTest::addRow("too high by rounding") << "2147483647.5" << Number(2147483647.5) << Long() << Bool(true);
        QTest::addRow("just too low") << "-2147483649" << Number(-2147483649.0) << Long() << Bool(true);
        for (const char *text : {"", ".", "yes", "12abc", "1,5", "１２", "inf", "1e400"})
            QTest::addRow("refused: \"%s\"", text) << QString::fromUtf8(text) << Number() << Long() << Bool();
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(Number, number);
        QFETCH(Long, whole);
        QFETCH(Bool, truth);
        QCOMPARE(SettingsText::toNumber(text), number);
        QCOMPARE(SettingsText::toLong(text), whole);
        QCOMPARE(SettingsText::toBool(text), truth);
        if (truth)
            QCOMPARE(SettingsText::toBool(fromBool(*truth)), truth);
    }

    // Numbers in general keep 7 significant digits; the tab font size keeps 4 decimals.
    void fromNumber_data()
    {
        QTest::addColumn<bool>("tabFont");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::addRow("window width") << false << 8805.0 << "8805";
        QTest::addRow("single-precision tenth") << false << double(0.1f) << "0.1";
        QTest::addRow("rounded to seven digits") << false << 1234567.8 << "1234568";
        QTest::addRow("negative zero") << false << -0.0 << "0";
        QTest::addRow("ten million") << false << 1e7 << "1E+07";
        QTest::addRow("rounds up to ten million") << false << 9999999.6 << "1E+07";
        QTest::addRow("eight digits") << false << 12345678.0 << "1.234568E+07";
        QTest::addRow("ten thousandth") << false << 0.0001 << "0.0001";
        QTest::addRow("hundred thousandth") << false << 0.00001 << "1E-05";
        QTest::addRow("tab font: built-in size") << true << 11.25 << "11.25";
        QTest::addRow("tab font: four decimals kept") << true << 10.33333 << "10.3333";
        QTest::addRow("tab font: rounds up to whole") << true << 9.99999 << "10";
        QTest::addRow("tab font: tiny negative is zero") << true << -0.00001 << "0";
    }
    void fromNumber()
    {
        QFETCH(bool, tabFont);
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(tabFont ? fromTabFontSize(value) : SettingsText::fromNumber(value), expected);
        const auto back = SettingsText::toNumber(expected);
        QVERIFY(back.has_value());
        QVERIFY(std::abs(*back - value) <= (tabFont ? 5e-5 : std::abs(value) * 5e-7));
    }

    void colours_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("systemIndex");
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
        QCOMPARE(SettingsText::toLong(text), Long(value));
        QCOMPARE(isValidColour(value), valid);
        QCOMPARE(systemColourIndex(value), systemIndex);
        QCOMPARE(isSystemColour(value), systemIndex >= 0);
    }
};

QTEST_APPLESS_MAIN(TestSettingsStore)
#include "tst_settingstore.moc"
