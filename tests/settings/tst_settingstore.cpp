#include "settings/holders.h"
#include "settings/settingsstore.h"
#include "settings/settingstext.h"
#include "testfiles.h"

#include <QtTest>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

using namespace SettingsText;
using namespace Qt::StringLiterals;

namespace {
const QString Missing = u"<built-in>"_s;
}

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

    // A hand-edited q7/FontName, whatever QSettings made of it; the file still takes writes
    // and gives back blanks and empty text.
    void handEdited()
    {
        const struct { QByteArray file; QString fontName; bool warns; } cases[] = {
            {"[q7]\nFontName=a,b,,c\n"_ba, u"a, b, , c"_s, false}, // a list without blanks
            {"[q7]\nFontName=@ByteArray(Arial)\n"_ba, u"Arial"_s, false},
            {"[q7]\nFontName=@Invalid()\n"_ba, Missing, true},
            {"[q7]\nFontName=@Rect(1 2 3 4)\n"_ba, Missing, true},
            {"\x01\x02]]][[[\n==\n"_ba, Missing, false},
        };
        for (const auto &c : cases) {
            const QString path = freshPath();
            QVERIFY(putFile(path, c.file));
            SettingsStore store(path);
            if (c.warns)
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression("q7/FontName holds no text"));
            QCOMPARE(store.readValue("q7", "FontName", Missing), c.fontName);
            const QString quote = u"  上書き保存－　"_s;
            store.writeValue("q7", "Inyouhu", quote);
            store.writeValue("Launch", "CMD0", "");
            QVERIFY(store.sync());
            const QString copy = freshPath();
            QVERIFY(QFile::copy(path, copy));
            const SettingsStore reader(copy);
            QCOMPARE(reader.readValue("q7", "Inyouhu", Missing) + u'|' + reader.readValue("Launch", "CMD0", Missing), quote + u'|');
        }
    }

    // Keys as spelled, the value a missing one stands for, and stored texts that leave every
    // holder as it was.
    void keyTable()
    {
        using namespace SettingsKeys;
        const struct { const char *spelled; const Key &key; const char *builtIn; QStringList refused; } keys[] = {
            {"q7/FontName", FontName, "", {""}},
            {"q7/FontSize", FontSize, "", {"2049", "12pt", "nan"}},
            {"q7/FontColor", FontColor, "-2147483640", {"16777216", "99999999999"}},
            {"q7/BackColor", BackColor, "-2147483643", {"-1", "-2147483649", "white"}},
            {"q7/FontB", FontB, "False", {"yes"}},
            {"q7/FontI", FontI, "False", {""}},
            {"Size/Size1", Size1, "0", {}}, // nowhere else seen before a second start
            {"q7/XXX", TabFontName, "Times New Roman", {""}},
            {"q7/XXXX", TabFontSize, "11.25", {"0.00004", "big"}}, // stored to four decimals: 0
            {"q7/X", TabFontBold, "False", {"1,5"}},
            {"q7/XX", TabFontItalic, "False", {"inf"}},
        };
        for (const auto &k : keys) {
            QCOMPARE(k.key.sectionName() + u'/' + k.key.keyName() + u'=' + k.key.builtInValue(), QLatin1String(k.spelled) + u'=' + QLatin1String(k.builtIn));
            for (const QString &value : k.refused) {
                Holders h; // away from the design values, so that a reset shows
                h.textFont = h.tabFont = Holders::Font{u"Mono"_s, 12, true, true};
                h.foreColor = 255;
                h.backColor = 0xFF0000;
                const QByteArray before = written(h);
                SettingsStore store(freshPath());
                store.write(k.key, value);
                h.read(store);
                QVERIFY2(written(h) == before, qPrintable(QLatin1String(k.spelled) + u' ' + value));
            }
        }
        // A font not installed here keeps its name: the font may come back, the file move on.
        SettingsStore store(freshPath());
        store.write(FontName, u"No Such Font"_s);
        store.write(TabFontName, u"No Such Font"_s);
        Holders h;
        h.read(store);
        QCOMPARE(h.textFont.name + u'|' + h.tabFont.name, u"No Such Font|No Such Font"_s);
    }

#ifdef Q_OS_LINUX
    // The native store is the user's own, never an organisation-wide file of the same name.
    void nativeStoreIsTheUsersOwn()
    {
        const QString config = tmp_.filePath("config");
        QVERIFY(QDir().mkpath(config));
        QVERIFY(putFile(config + u"/q7Zibo.conf"_s, "[q7]\nFontName=from elsewhere\n"));
        SettingsStore store;
        QCOMPARE(store.location(), config + u"/q7Zibo/q7Zibo.conf"_s);
        QCOMPARE(store.readValue("q7", "FontName", Missing), Missing);
    }

    // A file the user may read but not write: its values are taken, the write fails and leaves
    // it as it was.
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
        std::optional<SettingsStore> store(std::in_place, path);  // closed before root is back
        h.read(*store);
        h.textFont.size += 10;
        h.write(*store);
        const bool synced = store->sync();
        store.reset();
        QVERIFY(!root || setresuid(0, 0, 0) == 0);
        QCOMPARE(h.textFont.size, 30.0);
        QFile::setPermissions(tmp_.path(), tmpRights);
        QFile::setPermissions(folder, enterable | QFile::WriteOwner);
        QVERIFY(!synced);
        QCOMPARE(fileBytes(path), bytes);
    }
#endif

    // Every text as a number, a whole number (half to even, in range) and a truth value ("-":
    // refused); numbers keep 7 significant digits, the tab font size 4 decimals; a colour is RGB
    // or one of the 25 system colours.
    void textsAndNumbers()
    {
        QStringList got;
        for (const char *text : {"tRUE", " false\t", "  11.75 ", ".5", "-2.5", "2147483647", "2147483647.5",
                                 "-2147483648.5", "-2147483649", "", "12abc", "inf"}) {
            const auto shown = [](auto value) { return value ? QString::number(*value, 'g', 12) : u"-"_s; };
            got << shown(toNumber(text)) + u'/' + shown(toLong(text)) + u'/' + shown(toBool(text));
        }
        QCOMPARE(got.join(u' '), u"-/-/1 -/-/0 11.75/12/1 0.5/0/1 -2.5/-2/1 2147483647/2147483647/1 2147483647.5/-/1 "
                                 "-2147483648.5/-2147483648/1 -2147483649/-/1 -/-/- -/-/- -/-/-"_s);
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
