#include "sheets/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

using TextCodec::Encoding;
using TextCodec::LineEnds;
using TextFile::LineEndPolicy;

namespace {

QString chars(std::initializer_list<char16_t> units)
{
    return QString(reinterpret_cast<const QChar *>(units.begin()), qsizetype(units.size()));
}

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b += char(v);
    return b;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray randomBytes(QRandomGenerator &rng, qsizetype n, QByteArrayView excluded)
{
    QByteArray b;
    while (b.size() < n) {
        const char c = char(rng.bounded(256));
        if (!excluded.contains(c))
            b += c;
    }
    return b;
}

QStringList entries(const QDir &dir)
{
    return dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
}

const QByteArray Bom("\xEF\xBB\xBF");
const qsizetype Piece = 1 << 20; // existing files are checked in pieces of this size

// Without rights to the test's files until the end of the scope. As root on Linux: another user
// (real and effective; still in root's group, so tests leave group bits like other bits). As
// anyone else: itself, with the rights taken away by chmod. possible() tells whether either
// works here; with ownerToo, whether files owned by the test can be out of reach.
struct OtherUser {
    static bool possible(bool ownerToo)
    {
#if defined(Q_OS_LINUX)
        return !ownerToo || geteuid() == 0;
#elif defined(Q_OS_UNIX)
        return !ownerToo && geteuid() != 0;
#else
        Q_UNUSED(ownerToo);
        return false;
#endif
    }
#ifdef Q_OS_LINUX
    const bool root = geteuid() == 0;
    OtherUser() { QVERIFY(!root || setresuid(65534, 65534, 0) == 0); }
    ~OtherUser() { QVERIFY(!root || setresuid(0, 0, 0) == 0); }
#endif
};

// A 64 KiB file system over a folder until the end of the scope, to fill up (Linux, as root).
class SmallDisk {
public:
    bool mountOn(const QString &dir)
    {
#ifdef Q_OS_LINUX
        if (mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0, "size=64k") == 0)
            dir_ = QFile::encodeName(dir);
#endif
        return !dir_.isEmpty();
    }
    ~SmallDisk()
    {
#ifdef Q_OS_LINUX
        if (!dir_.isEmpty())
            umount(dir_.constData());
#endif
    }

private:
    QByteArray dir_;
};

} // namespace

class TstTextFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void lineRule_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<LineEnds>("ends");
        const auto row = [](const char *name, const QByteArray &bytes, const QString &text, LineEnds ends = LineEnds::CrLf) {
            QTest::newRow(name) << bytes << text << ends;
        };
        row("empty file", "", "");
        row("only a line end", "\r\n", "");
        row("last line end consumed", "abc\r\n", "abc");
        row("trailing empty line kept", "abc\r\n\r\n", "abc\r\n");
        row("leading empty line dropped", "\r\nabc\r\n", "abc");
        row("inner empty line kept", "a\r\n\r\nb", "a\r\n\r\nb");
        row("lone CR ends a line", "a\rb", "a\r\nb");
        row("lone LF far after CR LF is text", "a\r\n" + QByteArray(5000, 'b') + "\nc", "a\r\n" + QString(5000, u'b') + "\nc");
        row("lone LF beside lone CR is text", "a\rb\nc", "a\r\nb\nc");
        row("CR then CR LF", "a\r\r\nb", "a\r\n\r\nb");
        row("two final lone CRs", "abc\r\r", "abc\r\n");
        row("without CR, LF ends lines", "a\nb\n", "a\r\nb", LineEnds::Lf);
        row("LF: leading empty lines dropped, trailing one kept", "\n\na\n\nb\n\n", "a\r\n\r\nb\r\n", LineEnds::Lf);
        row("LF: one line", "abc\n", "abc", LineEnds::Lf);
        row("LF: only line ends", "\n\n", "", LineEnds::Lf);
        row("LF in UTF-16", bytesOf({0xFF, 0xFE, 0x61, 0, 0x0A, 0, 0x0D, 0x4E}), chars({0x61, 0x0D, 0x0A, 0x4E0D}), LineEnds::Lf);
    }
    void lineRule()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(LineEnds, ends);
        QVERIFY(putFile(dir_.filePath("lines.txt"), bytes));
        const TextFile::ReadResult r = TextFile::read(dir_.filePath("lines.txt"));
        QVERIFY(r.ok);
        QCOMPARE(r.text, text);
        QCOMPARE(r.lineEnds, ends);
        LineEnds joined = LineEnds::CrLf;
        QCOMPARE(TextFile::joinLines(TextCodec::decode(bytes).text, &joined), text);
        QCOMPARE(joined, ends);
    }

    // Detected, decoded and encoded back to the same bytes (CP932: the code the encoder writes).
    void codec_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Encoding>("encoding");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("written");
        const auto row = [](const char *name, const QByteArray &bytes, Encoding e, const QString &text,
                            const QByteArray &written = {}) {
            QTest::newRow(name) << bytes << e << text << (written.isNull() ? bytes : written);
        };
        row("control bytes are not swapped", bytesOf({0x1A, 0x1C, 0x7F}), Encoding::Cp932, chars({0x1A, 0x1C, 0x7F}));
        row("backslash and tilde", bytesOf({0x5C, 0x7E}), Encoding::Cp932, chars({0x5C, 0x7E}));
        row("fullwidth tilde", bytesOf({0x81, 0x60}), Encoding::Cp932, chars({0xFF5E}));
        row("the five extra single bytes", bytesOf({0x80, 0xA0, 0xFD, 0xFE, 0xFF}), Encoding::Cp932,
            chars({0x80, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3}));
        row("NEC row 13", bytesOf({0x87, 0x40, 0x87, 0x54}), Encoding::Cp932, chars({0x2460, 0x2160}));
        row("IBM extension", bytesOf({0xFA, 0x40, 0xFA, 0x5C, 0xFC, 0x4B}), Encoding::Cp932, chars({0x2170, 0x7E8A, 0x9ED1}));
        row("JIS code preferred", bytesOf({0x81, 0xCA, 0x81, 0xE0}), Encoding::Cp932, chars({0xFFE2, 0x2252}));
        row("NEC-selected IBM code written as the IBM one", bytesOf({0xED, 0x40}), Encoding::Cp932, chars({0x7E8A}),
            bytesOf({0xFA, 0x5C}));
        row("raw bytes between characters", bytesOf({0x81, 0x20, 0x82, 0xA0, 0x61, 0x81}), Encoding::Cp932,
            chars({0xF781, 0x20, 0x3042, 0x61, 0xF781}));
        row("unassigned pair, next byte starts anew", bytesOf({0x85, 0x82, 0xA0}), Encoding::Cp932, chars({0xF785, 0x3042}));
        row("ASCII counts as CP932", "abc", Encoding::Cp932, "abc");
        row("UTF-8 without BOM", bytesOf({0x61, 0xE3, 0x81, 0x82}), Encoding::Utf8, chars({0x61, 0x3042}));
        row("UTF-8 with a stray byte reads as CP932", bytesOf({0xC3, 0xA9, 0xFF}), Encoding::Cp932,
            chars({0xFF83, 0xFF69, 0xF8F3}));
        row("UTF-8 BOM is not text", Bom + "a", Encoding::Utf8Bom, "a");
        row("UTF-8 overlong", Bom + bytesOf({0xE0, 0x80, 0xAF}), Encoding::Utf8Bom, chars({0xF7E0, 0xF780, 0xF7AF}));
        row("UTF-8 encoded surrogate", Bom + bytesOf({0xED, 0xA0, 0x80}), Encoding::Utf8Bom, chars({0xF7ED, 0xF7A0, 0xF780}));
        row("UTF-8 character in the raw-byte range stays bytes", Bom + bytesOf({0xEF, 0x9C, 0x81}), Encoding::Utf8Bom,
            chars({0xF7EF, 0xF79C, 0xF781}));
        row("UTF-16LE", bytesOf({0xFF, 0xFE, 0x42, 0x30, 0x3D, 0xD8, 0x00, 0xDE}), Encoding::Utf16Le,
            chars({0x3042, 0xD83D, 0xDE00}));
        row("UTF-16BE lone surrogate kept", bytesOf({0xFE, 0xFF, 0xDC, 0x00, 0x00, 0x61}), Encoding::Utf16Be,
            chars({0xDC00, 0x61}));
        row("UTF-16 odd final byte", bytesOf({0xFF, 0xFE, 0x61, 0x00, 0x62}), Encoding::Utf16Le, chars({0x61, 0xF762}));
        row("UTF-16LE without BOM", bytesOf({0x61, 0, 0xE9, 0, 0x0D, 0, 0x0A, 0}), Encoding::Utf16LeNoBom,
            chars({0x61, 0xE9, 0x0D, 0x0A}));
        row("UTF-16BE without BOM", bytesOf({0, 0x61, 0, 0x62}), Encoding::Utf16BeNoBom, "ab");
        row("without BOM, U+0000 is not taken for UTF-16", bytesOf({0x61, 0, 0, 0}), Encoding::Cp932, chars({0x61, 0, 0, 0}));
        row("without BOM, odd length is not UTF-16", bytesOf({0x61, 0, 0x62}), Encoding::Cp932, chars({0x61, 0, 0x62}));
        row("without BOM, Japanese UTF-16 is not recognised", bytesOf({0x42, 0x30, 0x61, 0}), Encoding::Cp932,
            chars({0x42, 0x30, 0x61, 0}));
    }
    void codec()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Encoding, encoding);
        QFETCH(QString, text);
        QFETCH(QByteArray, written);
        QCOMPARE(TextCodec::detect(bytes), encoding);
        const TextCodec::Decoded d = TextCodec::decode(bytes);
        QCOMPARE(d.encoding, encoding);
        QCOMPARE(d.text, text);
        Encoding chosen = Encoding::Utf16Be;
        QCOMPARE(TextCodec::encodePreferring(text, encoding, &chosen), written);
        QCOMPARE(chosen, encoding);
    }

    // Fed in pieces of any size, the detector tells what it tells of the whole.
    void detectorPieces_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Encoding>("encoding");
        QTest::addRow("UTF-8 BOM") << Bom + "a" << Encoding::Utf8Bom;
        QTest::addRow("UTF-8") << bytesOf({0x61, 0xE3, 0x81, 0x82, 0xF0, 0x9F, 0x98, 0x80}) << Encoding::Utf8;
        QTest::addRow("UTF-8 cut short") << bytesOf({0x61, 0xE3, 0x81, 0x82, 0xE3, 0x81}) << Encoding::Cp932;
        QTest::addRow("BOM-less UTF-16LE") << QByteArray("a\0b\0c\0", 6) << Encoding::Utf16LeNoBom;
        QTest::addRow("BOM-less UTF-16BE") << QByteArray("\0a\0b\0c", 6) << Encoding::Utf16BeNoBom;
    }
    void detectorPieces()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Encoding, encoding);
        for (qsizetype size = 1; size <= 3; ++size) {
            TextCodec::Detector d;
            for (qsizetype at = 0; at < bytes.size(); at += size)
                d.feed(QByteArrayView(bytes).sliced(at, std::min(size, bytes.size() - at)));
            QCOMPARE(d.encoding(), encoding);
        }
    }

    // Any bytes survive a read and a write but for the added line end. CP932 leaves out the lead
    // bytes 0x87, 0xED, 0xEE and 0xFA: their rows hold second codes of characters, written back
    // with the first code.
    void binaryRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Encoding>("encoding");
        QTest::addColumn<QByteArray>("lineEnd");
        QRandomGenerator rng(0x5EED);
        QTest::addRow("CP932") << "x" + randomBytes(rng, 8192, "\r\n\x87\xED\xEE\xFA") << Encoding::Cp932 << QByteArray("\r\n");
        QTest::addRow("UTF-8 with BOM") << Bom + randomBytes(rng, 8192, "\r\n") << Encoding::Utf8Bom << QByteArray("\r\n");
        QByteArray le("\xFF\xFE");
        while (le.size() < 8192) {
            const QByteArray unit = randomBytes(rng, 2, {});
            if (unit[1] != 0 || (unit[0] != '\r' && unit[0] != '\n'))
                le += unit;
        }
        QTest::addRow("UTF-16LE") << le << Encoding::Utf16Le << QByteArray("\r\0\n\0", 4);
    }
    void binaryRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Encoding, encoding);
        QFETCH(QByteArray, lineEnd);
        const QString file = dir_.filePath("binary.bin");
        QVERIFY(putFile(file, bytes));
        const TextFile::ReadResult r = TextFile::read(file);
        QVERIFY(r.ok);
        QCOMPARE(r.encoding, encoding);
        QVERIFY(TextFile::write(file, r.text).ok);
        QCOMPARE(fileBytes(file), bytes + lineEnd);
    }

    // A new file is CP932 unless a character does not fit; an existing UTF file keeps its form.
    void writeEncoding_data()
    {
        QTest::addColumn<QByteArray>("old"); // null: no file yet
        QTest::addColumn<QString>("text");
        QTest::addColumn<Encoding>("encoding");
        QTest::addColumn<QByteArray>("bytes");
        const QString a = chars({0x3042});
        const QByteArray sjisA = bytesOf({0x82, 0xA0, 0x0D, 0x0A});
        const QByteArray utf8A = bytesOf({0xE3, 0x81, 0x82, 0x0D, 0x0A});
        QTest::addRow("new file is CP932") << QByteArray() << a << Encoding::Cp932 << sjisA;
        QTest::addRow("one character CP932 cannot hold makes it all UTF-8 with BOM")
            << QByteArray() << chars({0x3042, 0xE9, 0xF781}) << Encoding::Utf8Bom
            << Bom + bytesOf({0xE3, 0x81, 0x82, 0xC3, 0xA9, 0x81, 0x0D, 0x0A});
        QTest::addRow("yen sign is not backslash")
            << QByteArray() << chars({0xA5}) << Encoding::Utf8Bom << Bom + bytesOf({0xC2, 0xA5, 0x0D, 0x0A});
        QTest::addRow("wave dash is not fullwidth tilde")
            << QByteArray() << chars({0x301C}) << Encoding::Utf8Bom << Bom + bytesOf({0xE3, 0x80, 0x9C, 0x0D, 0x0A});
        QTest::addRow("ASCII file becomes CP932") << QByteArray("abc\r\n") << a << Encoding::Cp932 << sjisA;
        QTest::addRow("UTF-8 file stays UTF-8") << bytesOf({0xC3, 0xA9}) << a << Encoding::Utf8 << utf8A;
        QTest::addRow("UTF-8 BOM file keeps its BOM") << Bom + "a" << a << Encoding::Utf8Bom << Bom + utf8A;
        QTest::addRow("UTF-16LE file stays UTF-16LE, raw byte kept")
            << bytesOf({0xFF, 0xFE}) << chars({0x3042, 0xF7FF}) << Encoding::Utf16Le
            << bytesOf({0xFF, 0xFE, 0x42, 0x30, 0xFF, 0x0D, 0, 0x0A, 0});
        QTest::addRow("UTF-8 sequence across a piece boundary")
            << "\r\n" + QByteArray(Piece - 3, 'a') + bytesOf({0xC3, 0xA9}) << a << Encoding::Utf8 << utf8A;
        QTest::addRow("invalid last byte of a piece")
            << bytesOf({0xC3, 0xA9}) + QByteArray(Piece - 3, 'a') + bytesOf({0xFF}) + "abc" << a << Encoding::Cp932 << sjisA;
        QTest::addRow("BOM-less UTF-16LE file stays so")
            << bytesOf({0x61, 0, 0x0D, 0, 0x0A, 0}) << QString("b") << Encoding::Utf16LeNoBom << bytesOf({0x62, 0, 0x0D, 0, 0x0A, 0});
        QTest::addRow("BOM-less UTF-16BE file gets a BOM to hold Japanese")
            << bytesOf({0, 0x61}) << a << Encoding::Utf16Be << bytesOf({0xFE, 0xFF, 0x30, 0x42, 0, 0x0D, 0, 0x0A});
        QTest::addRow("BOM-less UTF-16 pattern broken in a later piece")
            << QByteArray("a\0", 2).repeated(Piece / 2) + "ab" << a << Encoding::Cp932 << sjisA;
    }
    void writeEncoding()
    {
        QFETCH(QByteArray, old);
        QFETCH(QString, text);
        QFETCH(Encoding, encoding);
        QFETCH(QByteArray, bytes);
        const QString file = dir_.filePath("enc.txt");
        QFile::remove(file);
        QVERIFY(old.isNull() || putFile(file, old));
        const TextFile::WriteResult w = TextFile::write(file, text);
        QVERIFY(w.ok);
        QCOMPARE(w.encoding, encoding);
        QCOMPARE(fileBytes(file), bytes);
    }

    // An existing file whose line ends are all LF, counted in its own encoding, keeps LF.
    void writeLineEnds_data()
    {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<LineEndPolicy>("policy");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<LineEnds>("ends");
        const auto keep = LineEndPolicy::KeepExisting;
        const auto lf = LineEnds::Lf;
        const auto crLf = LineEnds::CrLf;
        const QString xy("x\r\ny");
        QTest::addRow("LF file keeps LF") << QByteArray("a\nb\n") << keep << QString("x\r\n\r\ny") << QByteArray("x\n\ny\n") << lf;
        QTest::addRow("LF file written as a sheet gets CR LF") << QByteArray("a\nb\n") << LineEndPolicy::CrLf << xy << QByteArray("x\r\ny\r\n") << crLf;
        QTest::addRow("mixed file gets CR LF") << QByteArray("a\r\nb\nc") << keep << xy << QByteArray("x\r\ny\r\n") << crLf;
        QTest::addRow("CR in a later piece of a CP932 file")
            << bytesOf({0x82, 0xA0, 0x0A}) + QByteArray(Piece, 'a') + "\r\n" << keep << xy << QByteArray("x\r\ny\r\n") << crLf;
        QTest::addRow("lone CR, lone LF and raw CR byte stay")
            << QByteArray("a\n") << keep << chars({'a', '\r', 'b', 0xF70D, '\n', '\r', '\n', 'c'}) << QByteArray("a\rb\r\n\nc\n") << lf;
        QTest::addRow("UTF-8 LF file") << bytesOf({0xC3, 0xA9, 0x0A}) << keep << chars({0xE9, '\r', '\n', 'y'})
                                       << bytesOf({0xC3, 0xA9, 0x0A, 0x79, 0x0A}) << lf;
        QTest::addRow("UTF-16LE: 0D within a character is no CR") << bytesOf({0xFF, 0xFE, 0x0D, 0x4E, 0x0A, 0}) << keep << xy
                                                                 << bytesOf({0xFF, 0xFE, 0x78, 0, 0x0A, 0, 0x79, 0, 0x0A, 0}) << lf;
        QTest::addRow("UTF-16BE LF file") << bytesOf({0xFE, 0xFF, 0, 0x61, 0, 0x0A}) << keep << xy
                                          << bytesOf({0xFE, 0xFF, 0, 0x78, 0, 0x0A, 0, 0x79, 0, 0x0A}) << lf;
        QTest::addRow("BOM-less UTF-16LE LF file") << bytesOf({0x61, 0, 0x0A, 0}) << keep << xy
                                                   << bytesOf({0x78, 0, 0x0A, 0, 0x79, 0, 0x0A, 0}) << lf;
    }
    void writeLineEnds()
    {
        QFETCH(QByteArray, old);
        QFETCH(LineEndPolicy, policy);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(LineEnds, ends);
        const QString file = dir_.filePath("ends.txt");
        QVERIFY(putFile(file, old));
        const TextFile::WriteResult w = TextFile::write(file, text, policy);
        QVERIFY(w.ok);
        QCOMPARE(fileBytes(file), bytes);
        QCOMPARE(w.lineEnds, ends);
    }

    // Every failure leaves the target as it was and no temporary file behind, and says why.
    void writeRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char *kind, const char *reason) { QTest::newRow(kind) << QString(kind) << QString(reason); };
        row("read-only file", "読み取り専用です。");
        row("directory", "フォルダーです。");
        row("missing directory", "書き込めません。");
        row("device node", "通常のファイルではありません。");
        row("file size limit", "容量が足りません。");
        row("disk full", "容量が足りません。");
        row("disk full at the last bytes", "容量が足りません。");
        row("folder of another user", "アクセスが拒否されました。");
        row("file of another user", "アクセスが拒否されました。");
    }
    void writeRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir sandbox;
        const QDir box(sandbox.path());
        const QString old = box.filePath("t.txt");
        QString target = old;
        qsizetype size = 100000;
        SmallDisk disk;
        if (kind.startsWith("disk full")) {
            if (!disk.mountOn(box.path()))
                QSKIP("cannot mount a small file system here");
            if (kind.endsWith("last bytes")) { // full before a small text: only the last write fails
                QVERIFY(putFile(old, "old\r\n"));
                QFile filler(box.filePath("filler"));
                QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
                while (filler.write(QByteArray(4096, 'f')) == 4096) { }
                size = 10;
            }
        }
        QVERIFY(QFile::exists(old) || putFile(old, "old\r\n"));
        const bool otherUser = kind.endsWith("another user");
        if (kind == "read-only file")
            QVERIFY(QFile::setPermissions(old, QFile::ReadOwner | QFile::ReadGroup));
        else if (kind == "directory")
            target = box.path();
        else if (kind == "missing directory")
            target = box.filePath("none/t.txt");
        else if (kind == "folder of another user")
            target = box.filePath("new.txt");
        if (otherUser && !OtherUser::possible(kind.startsWith("file")))
            QSKIP("cannot be without rights here");
        if (otherUser) // anyone may look, nobody may write
            QVERIFY(QFile::setPermissions(box.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                                          | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
#ifdef Q_OS_UNIX
        struct stat st {};
        if (kind == "device node") {
            // A copy of /dev/full: run as root, a rename over the real one would break the machine.
            // Without root, /dev/full itself is safe to try.
            QCOMPARE(stat("/dev/full", &st), 0);
            target = box.filePath("full");
            if (mknod(QFile::encodeName(target).constData(), S_IFCHR | 0600, st.st_rdev) != 0)
                target = "/dev/full";
        }
        // A file size limit fails the write half-way, as a full disk would.
        rlimit saved {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit limit = saved;
        if (kind == "file size limit")
            limit.rlim_cur = 4096;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
#else
        if (kind == "device node" || kind == "file size limit")
            QSKIP("POSIX only");
#endif
        const QStringList before = entries(box);
        TextFile::WriteResult w;
        if (otherUser) {
            OtherUser other;
            w = TextFile::write(target, QString(size, u'x'));
        } else {
            w = TextFile::write(target, QString(size, u'x'));
        }
#ifdef Q_OS_UNIX
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        if (kind == "device node")
            QVERIFY(stat(QFile::encodeName(target).constData(), &st) == 0 && S_ISCHR(st.st_mode));
#endif
        QVERIFY(QFile::setPermissions(box.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(!w.ok);
        QCOMPARE(TextFile::writeFailureMessage(target, w.error),
                 QDir::toNativeSeparators(target) + " に書き込めません。\n" + reason);
        QCOMPARE(fileBytes(old), QByteArray("old\r\n"));
        QCOMPARE(entries(box), before);
    }

    void readRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char *kind, const char *reason) { QTest::newRow(kind) << QString(kind) << QString(reason); };
        row("missing file", "ファイルが見つかりません。");
        row("directory", "フォルダーです。");
        row("over the size limit", "ファイルが大きすぎます。");
        row("no permission", "アクセスが拒否されました。");
    }
    void readRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir sandbox;
        QString target = sandbox.filePath("t.txt");
        QFile f(target);
        if (kind == "directory")
            target = sandbox.path();
        else if (kind == "over the size limit")
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(TextFile::MaxFileBytes + 1)); // sparse: no disk used
        TextFile::ReadResult r;
        if (kind == "no permission") {
            if (!OtherUser::possible(false))
                QSKIP("cannot be without rights here");
            QVERIFY(putFile(target, "secret"));
            QVERIFY(QFile::setPermissions(sandbox.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                              | QFile::ExeGroup | QFile::ExeOther));
            QVERIFY(QFile::setPermissions(target, QFile::Permissions()));
            OtherUser other;
            r = TextFile::read(target);
        } else {
            r = TextFile::read(target);
        }
        QVERIFY(!r.ok);
        QCOMPARE(TextFile::readFailureMessage(r), "ファイルを開けません\n" + reason);
        QVERIFY(r.text.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TstTextFile)
#include "tst_textfile.moc"
