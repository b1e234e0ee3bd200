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
#endif

using TextCodec::Encoding;

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

const QByteArray Bom("\xEF\xBB\xBF");

} // namespace

class TstTextFile : public QObject {
    Q_OBJECT

private slots:
    void lineRule_data();
    void lineRule();
    void lineRuleRoundTrip();
    void cp932_data();
    void cp932();
    void detectAndDecode_data();
    void detectAndDecode();
    void encodePreferring_data();
    void encodePreferring();
    void binaryRoundTrip_data();
    void binaryRoundTrip();
    void writeEncoding_data();
    void writeEncoding();
    void writeRefused_data();
    void writeRefused();
    void readRefused_data();
    void readRefused();

private:
    QTemporaryDir dir_;
};

void TstTextFile::lineRule_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addRow("empty file") << QByteArray("") << "";
    QTest::addRow("only a line end") << QByteArray("\r\n") << "";
    QTest::addRow("last line end consumed") << QByteArray("abc\r\n") << "abc";
    QTest::addRow("trailing empty line kept") << QByteArray("abc\r\n\r\n") << "abc\r\n";
    QTest::addRow("leading empty line dropped") << QByteArray("\r\nabc\r\n") << "abc";
    QTest::addRow("inner empty line kept") << QByteArray("a\r\n\r\nb") << "a\r\n\r\nb";
    QTest::addRow("lone CR ends a line") << QByteArray("a\rb") << "a\r\nb";
    QTest::addRow("lone LF is text") << QByteArray("a\nb") << "a\nb";
    QTest::addRow("no final line end") << QByteArray("abc") << "abc";
    QTest::addRow("only empty lines") << QByteArray("\r\n\r\n") << "";
    QTest::addRow("CR then CR LF") << QByteArray("a\r\r\nb") << "a\r\n\r\nb";
    QTest::addRow("two final lone CRs") << QByteArray("abc\r\r") << "abc\r\n";
    QTest::addRow("leading lone CRs dropped") << QByteArray("\r\r\nabc") << "abc";
}

void TstTextFile::lineRule()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QVERIFY(putFile(dir_.filePath("lines.txt"), bytes));
    const TextFile::ReadResult r = TextFile::read(dir_.filePath("lines.txt"));
    QVERIFY(r.ok);
    QCOMPARE(r.text, text);
}

// Whatever is written reads back unchanged, except empty lines at the start.
void TstTextFile::lineRuleRoundTrip()
{
    QRandomGenerator rng(932);
    const QStringList pieces = {"a", "あ", "\n", " "};
    for (int round = 0; round < 500; ++round) {
        QStringList lines;
        for (int n = int(rng.bounded(7)); n >= 0; --n) {
            QString line;
            for (int k = int(rng.bounded(4)); k > 0; --k)
                line += pieces[rng.bounded(pieces.size())];
            lines << line;
        }
        const QString text = lines.join("\r\n");
        while (!lines.isEmpty() && lines.first().isEmpty())
            lines.removeFirst();
        QCOMPARE(TextFile::joinLines(text + "\r\n"), lines.join("\r\n"));
    }
}

// Both directions, for characters whose CP932 code is the one the encoder writes.
void TstTextFile::cp932_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addRow("control bytes are not swapped") << bytesOf({0x1A, 0x1C, 0x7F}) << chars({0x1A, 0x1C, 0x7F});
    QTest::addRow("backslash and tilde") << bytesOf({0x5C, 0x7E}) << chars({0x5C, 0x7E});
    QTest::addRow("fullwidth tilde") << bytesOf({0x81, 0x60}) << chars({0xFF5E});
    QTest::addRow("the five extra single bytes")
            << bytesOf({0x80, 0xA0, 0xFD, 0xFE, 0xFF}) << chars({0x80, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3});
    QTest::addRow("NEC row 13") << bytesOf({0x87, 0x40, 0x87, 0x54}) << chars({0x2460, 0x2160});
    QTest::addRow("IBM extension") << bytesOf({0xFA, 0x40, 0xFA, 0x5C, 0xFC, 0x4B}) << chars({0x2170, 0x7E8A, 0x9ED1});
    QTest::addRow("JIS code preferred") << bytesOf({0x81, 0xCA, 0x81, 0xE0}) << chars({0xFFE2, 0x2252});
    QTest::addRow("raw bytes between characters")
            << bytesOf({0x81, 0x20, 0x82, 0xA0, 0x61, 0x81}) << chars({0xF781, 0x20, 0x3042, 0x61, 0xF781});
    QTest::addRow("unassigned pair, next byte starts anew") << bytesOf({0x85, 0x82, 0xA0}) << chars({0xF785, 0x3042});
}

void TstTextFile::cp932()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(TextCodec::decodeAs(bytes, Encoding::Cp932), text);
    const auto encoded = TextCodec::encodeCp932(text);
    QVERIFY(encoded.has_value());
    QCOMPARE(*encoded, bytes);
}

void TstTextFile::detectAndDecode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addRow("ASCII counts as CP932") << QByteArray("abc") << Encoding::Cp932 << "abc";
    QTest::addRow("CP932 ED40 reads as its kanji") << bytesOf({0xED, 0x40}) << Encoding::Cp932 << chars({0x7E8A});
    QTest::addRow("UTF-8 without BOM") << bytesOf({0x61, 0xE3, 0x81, 0x82}) << Encoding::Utf8 << chars({0x61, 0x3042});
    QTest::addRow("UTF-8 with a stray byte reads as CP932")
            << bytesOf({0xC3, 0xA9, 0xFF}) << Encoding::Cp932 << chars({0xFF83, 0xFF69, 0xF8F3});
    QTest::addRow("UTF-8 BOM is not text") << Bom + "a" << Encoding::Utf8Bom << "a";
    QTest::addRow("UTF-8 overlong") << Bom + bytesOf({0xE0, 0x80, 0xAF}) << Encoding::Utf8Bom << chars({0xF7E0, 0xF780, 0xF7AF});
    QTest::addRow("UTF-8 encoded surrogate") << Bom + bytesOf({0xED, 0xA0, 0x80}) << Encoding::Utf8Bom << chars({0xF7ED, 0xF7A0, 0xF780});
    QTest::addRow("UTF-8 truncated before ASCII") << Bom + bytesOf({0xE3, 0x81, 0x61}) << Encoding::Utf8Bom << chars({0xF7E3, 0xF781, 0x61});
    QTest::addRow("UTF-8 character in the raw-byte range stays bytes")
            << Bom + bytesOf({0xEF, 0x9C, 0x81}) << Encoding::Utf8Bom << chars({0xF7EF, 0xF79C, 0xF781});
    QTest::addRow("UTF-16LE") << bytesOf({0xFF, 0xFE, 0x42, 0x30, 0x3D, 0xD8, 0x00, 0xDE}) << Encoding::Utf16Le << chars({0x3042, 0xD83D, 0xDE00});
    QTest::addRow("UTF-16BE lone surrogate kept") << bytesOf({0xFE, 0xFF, 0xDC, 0x00, 0x00, 0x61}) << Encoding::Utf16Be << chars({0xDC00, 0x61});
    QTest::addRow("UTF-16 odd final byte") << bytesOf({0xFF, 0xFE, 0x61, 0x00, 0x62}) << Encoding::Utf16Le << chars({0x61, 0xF762});
}

void TstTextFile::detectAndDecode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Encoding, encoding);
    QFETCH(QString, text);
    QCOMPARE(TextCodec::detect(bytes), encoding);
    const TextCodec::Decoded d = TextCodec::decode(bytes);
    QCOMPARE(d.encoding, encoding);
    QCOMPARE(d.text, text);
}

void TstTextFile::encodePreferring_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Encoding>("preferred");
    QTest::addColumn<Encoding>("used");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("whole text as UTF-8 with BOM when one character does not fit")
            << chars({0x3042, 0xE9, 0xF781}) << Encoding::Cp932 << Encoding::Utf8Bom << Bom + bytesOf({0xE3, 0x81, 0x82, 0xC3, 0xA9, 0x81});
    QTest::addRow("yen sign is not backslash") << chars({0xA5}) << Encoding::Cp932 << Encoding::Utf8Bom << Bom + bytesOf({0xC2, 0xA5});
    QTest::addRow("wave dash is not fullwidth tilde") << chars({0x301C}) << Encoding::Cp932 << Encoding::Utf8Bom << Bom + bytesOf({0xE3, 0x80, 0x9C});
    QTest::addRow("emoji outside the BMP") << chars({0xD83D, 0xDE00}) << Encoding::Cp932 << Encoding::Utf8Bom << Bom + bytesOf({0xF0, 0x9F, 0x98, 0x80});
    QTest::addRow("UTF-8 kept without BOM") << chars({0x3042}) << Encoding::Utf8 << Encoding::Utf8 << bytesOf({0xE3, 0x81, 0x82});
    QTest::addRow("UTF-16LE with raw byte") << chars({0x3042, 0xF7FF}) << Encoding::Utf16Le << Encoding::Utf16Le << bytesOf({0xFF, 0xFE, 0x42, 0x30, 0xFF});
}

void TstTextFile::encodePreferring()
{
    QFETCH(QString, text);
    QFETCH(Encoding, preferred);
    QFETCH(Encoding, used);
    QFETCH(QByteArray, bytes);
    Encoding chosen = Encoding::Cp932;
    QCOMPARE(TextCodec::encodePreferring(text, preferred, &chosen), bytes);
    QCOMPARE(chosen, used);
}

// Any bytes survive a read and a write but for the added line end. CP932 leaves out the lead
// bytes 0x87, 0xED, 0xEE and 0xFA: their rows hold second codes of characters, written back
// with the first code.
void TstTextFile::binaryRoundTrip_data()
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

void TstTextFile::binaryRoundTrip()
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

void TstTextFile::writeEncoding_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<QByteArray>("bytes");
    const QString a = chars({0x3042});
    const QByteArray sjisA = bytesOf({0x82, 0xA0, 0x0D, 0x0A});
    const QByteArray utf8A = bytesOf({0xE3, 0x81, 0x82, 0x0D, 0x0A});
    const qsizetype piece = 1 << 20; // existing files are checked in pieces of this size
    QTest::addRow("new file is CP932") << false << QByteArray() << a << Encoding::Cp932 << sjisA;
    QTest::addRow("new file that CP932 cannot hold") << false << QByteArray() << chars({0xE9}) << Encoding::Utf8Bom << Bom + bytesOf({0xC3, 0xA9, 0x0D, 0x0A});
    QTest::addRow("ASCII file becomes CP932") << true << QByteArray("abc\r\n") << a << Encoding::Cp932 << sjisA;
    QTest::addRow("UTF-8 file stays UTF-8") << true << bytesOf({0xC3, 0xA9}) << a << Encoding::Utf8 << utf8A;
    QTest::addRow("UTF-8 BOM file keeps its BOM") << true << Bom + "a" << a << Encoding::Utf8Bom << Bom + utf8A;
    QTest::addRow("UTF-16LE file stays UTF-16LE") << true << bytesOf({0xFF, 0xFE}) << a << Encoding::Utf16Le << bytesOf({0xFF, 0xFE, 0x42, 0x30, 0x0D, 0, 0x0A, 0});
    QTest::addRow("UTF-8 sequence across a piece boundary")
            << true << QByteArray(piece - 1, 'a') + bytesOf({0xC3, 0xA9}) << a << Encoding::Utf8 << utf8A;
    QTest::addRow("invalid last byte of a piece")
            << true << bytesOf({0xC3, 0xA9}) + QByteArray(piece - 3, 'a') + bytesOf({0xFF}) + "abc" << a << Encoding::Cp932 << sjisA;
}

void TstTextFile::writeEncoding()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, old);
    QFETCH(QString, text);
    QFETCH(Encoding, encoding);
    QFETCH(QByteArray, bytes);
    const QString file = dir_.filePath("enc.txt");
    QFile::remove(file);
    QVERIFY(!exists || putFile(file, old));
    const TextFile::WriteResult w = TextFile::write(file, text);
    QVERIFY(w.ok);
    QCOMPARE(w.encoding, encoding);
    QCOMPARE(fileBytes(file), bytes);
}

// Every failure leaves the target as it was and no temporary file behind.
void TstTextFile::writeRefused_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"read-only file", "directory", "missing directory", "device node", "disk full"})
        QTest::addRow("%s", kind) << QString::fromLatin1(kind);
}

void TstTextFile::writeRefused()
{
    QFETCH(QString, kind);
    QTemporaryDir sandbox;
    const QDir box(sandbox.path());
    const QString old = box.filePath("t.txt");
    QVERIFY(putFile(old, "old\r\n"));
    QString target = old;
    if (kind == "read-only file")
        QVERIFY(QFile::setPermissions(old, QFile::ReadOwner | QFile::ReadGroup));
    else if (kind == "directory")
        target = box.path();
    else if (kind == "missing directory")
        target = box.filePath("none/t.txt");
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
    if (kind == "disk full")
        limit.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
#else
    if (kind == "device node" || kind == "disk full")
        QSKIP("POSIX only");
#endif
    const QStringList before = box.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
    const TextFile::WriteResult w = TextFile::write(target, QString(100000, u'x'));
#ifdef Q_OS_UNIX
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    if (kind == "device node")
        QVERIFY(stat(QFile::encodeName(target).constData(), &st) == 0 && S_ISCHR(st.st_mode));
#endif
    QVERIFY(!w.ok);
    QVERIFY(!w.error.isEmpty());
    QCOMPARE(fileBytes(old), QByteArray("old\r\n"));
    QCOMPARE(box.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden), before);
}

void TstTextFile::readRefused_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"missing file", "directory", "over the size limit"})
        QTest::addRow("%s", kind) << QString::fromLatin1(kind);
}

void TstTextFile::readRefused()
{
    QFETCH(QString, kind);
    QTemporaryDir sandbox;
    QString target = sandbox.filePath("t.txt");
    if (kind == "directory") {
        target = sandbox.path();
    } else if (kind == "over the size limit") {
        QFile f(target); // sparse: costs no disk
        QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(TextFile::MaxFileBytes + 1));
    }
    const TextFile::ReadResult r = TextFile::read(target);
    QVERIFY(!r.ok);
    QVERIFY(!r.error.isEmpty());
    QVERIFY(r.text.isEmpty());
}

QTEST_APPLESS_MAIN(TstTextFile)
#include "tst_textfile.moc"
