#include "settings/holders.h"
#include "settings/settingsstore.h"
#include "settings/settingstext.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>
#include <optional>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

using namespace SettingsText;
using namespace Qt::StringLiterals;

namespace {
const QString Missing = u"<built-in>"_s;
using Bool = std::optional<bool>;
using Number = std::optional<double>;
using Long = std::optional<qint32>;

bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}
Q_DECLARE_METATYPE(const SettingsKeys::Key *)

class TestSettingsStore : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    int files_ = 0;

    // A name new to this run: QSettings caches per path, so only a fresh one is read from disk.
    QString freshPath() { return tmp_.filePath(u"s%1.ini"_s.arg(++files_)); }
    QByteArray written(const Holders &h)
    {
        const QString path = freshPath();
        SettingsStore store(path);
        h.write(store);
        return store.sync() ? fileBytes(path) : QByteArray();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(tmp_.isValid());
        // QSettings reads the configuration folder once per process; point it here first.
        qputenv("XDG_CONFIG_HOME", tmp_.filePath("config").toLocal8Bit());
    }

    // What a user may have typed into the file with a text editor.
    void handEdited_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected"); // of q7/FontName
        QTest::addColumn<bool>("warns");
        QTest::addRow("list without blanks") << "[q7]\nFontName=a,b,,c\n"_ba << u"a, b, , c"_s << false;
        QTest::addRow("byte array is text") << "[q7]\nFontName=@ByteArray(Arial)\n"_ba << "Arial" << false;
        QTest::addRow("invalid marker") << "[q7]\nFontName=@Invalid()\n"_ba << Missing << true;
        QTest::addRow("rectangle") << "[q7]\nFontName=@Rect(1 2 3 4)\n"_ba << Missing << true;
        QTest::addRow("pure garbage") << "\x01\x02]]][[[\n==\n"_ba << Missing << false;
    }
    void handEdited()
    {
        QFETCH(QByteArray, file);
        const QString path = freshPath();
        QVERIFY(putFile(path, file));
        SettingsStore store(path);
        QFETCH(bool, warns);
        if (warns)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("q7/FontName holds no text"));
        QTEST(store.readValue("q7", "FontName", Missing), "expected");

        // Whatever QSettings made of it, the file takes writes and gives back blanks and empty text.
        const QString quote = u"  上書き保存－　"_s;
        store.writeValue("q7", "Inyouhu", quote);
        store.writeValue("Launch", "CMD0", "");
        QVERIFY(store.sync());
        const QString copy = freshPath();
        QVERIFY(QFile::copy(path, copy));
        const SettingsStore reader(copy);
        QCOMPARE(reader.readValue("q7", "Inyouhu", Missing), quote);
        QCOMPARE(reader.readValue("Launch", "CMD0", Missing), u""_s);
    }

    void nativeStoreIsTheUsersOwn()
    {
#ifndef Q_OS_LINUX
        QSKIP("the native store is a file only on Linux");
#else
        // QSettings would otherwise also read an organisation-wide file of the same name.
        const QString config = tmp_.filePath("config");
        QVERIFY(QDir().mkpath(config));
        QVERIFY(putFile(config + u"/q7Zibo.conf"_s, "[q7]\nFontName=from elsewhere\n"));
        SettingsStore store;
        QCOMPARE(store.location(), config + u"/q7Zibo/q7Zibo.conf"_s);
        QCOMPARE(store.readValue("q7", "FontName", Missing), Missing);
#endif
    }

    // Keys as spelled, the value a missing one stands for, and stored texts that must leave
    // every holder as it was. The other keys are checked where their windows use them.
    void keyTable_data()
    {
        using namespace SettingsKeys;
        QTest::addColumn<const Key *>("key");
        QTest::addColumn<QString>("builtIn");
        QTest::addColumn<QStringList>("refused");
        const auto row = [](const char *spelled, const Key &key, const char *builtIn, const QStringList &refused) {
            QTest::newRow(spelled) << &key << QString(builtIn) << refused;
        };
        row("q7/FontName", FontName, "", {"No Such Font"});
        row("q7/FontSize", FontSize, "", {"2049", "12pt", "nan"});
        row("q7/FontColor", FontColor, "-2147483640", {"16777216", "99999999999"});
        row("q7/BackColor", BackColor, "-2147483643", {"-1", "-2147483649", "white"});
        row("q7/FontB", FontB, "False", {"yes"});
        row("q7/FontI", FontI, "False", {""});
        row("Size/Size1", Size1, "0", {}); // nowhere else seen before a second start
        row("q7/XXX", TabFontName, "Times New Roman", {"No Such Font"});
        row("q7/XXXX", TabFontSize, "11.25", {"0.00004", "big"}); // stored to four decimals: 0
        row("q7/X", TabFontBold, "False", {"1,5"});
        row("q7/XX", TabFontItalic, "False", {"inf"});
    }
    void keyTable()
    {
        QFETCH(const SettingsKeys::Key *, key);
        QFETCH(QString, builtIn);
        QFETCH(QStringList, refused);
        QCOMPARE(key->sectionName() + u'/' + key->keyName(), QString::fromUtf8(QTest::currentDataTag()));
        QCOMPARE(key->builtInValue(), builtIn);
        for (const QString &value : refused) {
            Holders h; // away from the design values, so that a reset shows
            h.textFont = h.tabFont = Holders::Font{u"Mono"_s, 12, true, true};
            h.foreColor = 255;
            h.backColor = 0xFF0000;
            const QByteArray before = written(h);
            SettingsStore store(freshPath());
            store.write(*key, value);
            h.read(store, [](const QString &name) { return name != u"No Such Font"; });
            QVERIFY2(written(h) == before, qPrintable(value));
        }
    }

#ifdef Q_OS_LINUX
    // A file the user may read but not write: its values are taken; the write at exit fails and
    // leaves it as it was. As root the check runs as another user.
    void readOnlyFile()
    {
        const QString folder = tmp_.filePath("readonly");
        QVERIFY(QDir().mkdir(folder));
        const QString path = folder + u"/q7Zibo.conf"_s;
        const QByteArray bytes = "[q7]\nFontSize=20\n";
        QVERIFY(putFile(path, bytes));
        const auto readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        const auto enterable = readable | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(path, readable) && QFile::setPermissions(folder, enterable));
        const QFile::Permissions tmpRights = QFile::permissions(tmp_.path());
        QVERIFY(QFile::setPermissions(tmp_.path(), tmpRights | enterable));
        const bool root = geteuid() == 0;
        QVERIFY(!root || setresuid(65534, 65534, 0) == 0);
        Holders h;
        bool synced = true;
        {
            SettingsStore store(path);
            h.read(store, [](const QString &) { return true; });
            h.textFont.size += 10;
            h.write(store);
            synced = store.sync();
        }
        QVERIFY(!root || setresuid(0, 0, 0) == 0);
        QCOMPARE(h.textFont.size, 30.0);
        QFile::setPermissions(tmp_.path(), tmpRights);
        QFile::setPermissions(folder, enterable | QFile::WriteOwner);
        QVERIFY(!synced);
        QCOMPARE(fileBytes(path), bytes);
    }
#endif

    // Every text as a number, a whole number (half to even, in range) and a truth value.
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Number>("number");
        QTest::addColumn<Long>("whole");
        QTest::addColumn<Bool>("truth");
        QTest::addRow("any letter case") << "tRUE" << Number() << Long() << Bool(true);
        QTest::addRow("blanks around") << " false\t" << Number() << Long() << Bool(false);
        QTest::addRow("decimals above a half, blanks around") << "  11.75 " << Number(11.75) << Long(12) << Bool(true);
        QTest::addRow("a half is true, rounds down to even") << ".5" << Number(0.5) << Long(0) << Bool(true);
        QTest::addRow("negative half rounds up to even") << "-2.5" << Number(-2.5) << Long(-2) << Bool(true);
        QTest::addRow("highest") << "2147483647" << Number(2147483647.0) << Long(2147483647) << Bool(true);
        QTest::addRow("too high by rounding") << "2147483647.5" << Number(2147483647.5) << Long() << Bool(true);
        QTest::addRow("lowest by rounding") << "-2147483648.5" << Number(-2147483648.5)
                                            << Long(std::numeric_limits<qint32>::min()) << Bool(true);
        QTest::addRow("just too low") << "-2147483649" << Number(-2147483649.0) << Long() << Bool(true);
        for (const char *text : {"", "12abc", "inf"})
            QTest::addRow("refused: \"%s\"", text) << QString::fromUtf8(text) << Number() << Long() << Bool();
    }
    void parse()
    {
        QFETCH(QString, text);
        QTEST(SettingsText::toNumber(text), "number");
        QTEST(SettingsText::toLong(text), "whole");
        QTEST(SettingsText::toBool(text), "truth");
    }

    // Numbers keep 7 significant digits, the tab font size 4 decimals; a colour is RGB or one of
    // the 25 system colours.
    void spelled()
    {
        const QStringList numbers{fromNumber(1234567.8), fromNumber(12345678.0), fromTabFontSize(10.33333),
                                  fromTabFontSize(9.99999), fromTabFontSize(-0.00001)};
        QCOMPARE(numbers.join(u' '), u"1234568 1.234568E+07 10.3333 10 0"_s);
        QVERIFY(isValidColour(0xFFFFFF) && !isValidColour(qint32(0x80000019u)));
        const QList<int> system{systemColourIndex(qint32(0x80000000u)), systemColourIndex(qint32(0x80000018u)),
                                systemColourIndex(qint32(0x80000019u)), systemColourIndex(0xFFFFFF)};
        QCOMPARE(system, QList<int>({0, 24, -1, -1}));
    }
};

QTEST_APPLESS_MAIN(TestSettingsStore)
#include "tst_settingstore.moc"
