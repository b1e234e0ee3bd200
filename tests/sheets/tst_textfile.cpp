// Text files as the sheets, the phrase file and the recovery copies read and write them: encodings,
// line ends, second CP932 codes, refusals and modes; the code page itself; the sheet session.
#include "filesizelimit.h"
#include "phrases/phrasefile.h"
#include "sheets/cp932.h"
#include "sheets/SheetSession.h"
#include "sheets/recoverycopies.h"
#include "sheets/textfile.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using TextCodec::Encoding;
using TextCodec::LineEnds;
using namespace Qt::StringLiterals;

namespace {

const QByteArray Bom("\xEF\xBB\xBF");
const qsizetype Piece = 1 << 20; // existing files are checked in pieces of this size

// Without rights to the test's files for the scope: as root on Linux, another user still in
// root's group; else itself, after chmod. ownerToo: the test's own files must be out of reach.
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

} // namespace

class TstTextFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    // A file read: its encoding as detected, its text decoded and its lines joined. Writing
    // back and detecting in pieces are checked on random bytes by the text-file fuzz target.
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Encoding>("encoding");
        QTest::addColumn<QString>("text");
        QTest::addColumn<LineEnds>("ends");
        const auto row = [](const char *name, const QByteArray &bytes, const QString &text, Encoding e = Encoding::Cp932,
                            LineEnds ends = LineEnds::CrLf) { QTest::newRow(name) << bytes << e << text << ends; };
        row("leading empty lines dropped, inner and trailing kept, last end consumed", "\r\n\r\na\r\n\r\nb\r\n\r\n",
            u"a\r\n\r\nb\r\n"_s);
        row("only a line end", "\r\n", u""_s);
        row("lone CR ends a line, lone LF is text", "a\rb\nc", u"a\r\nb\nc"_s);
        row("CR before CR LF, two final CRs", "a\r\r\nb\r\r", u"a\r\n\r\nb\r\n"_s);
        row("CR far after an LF: the LF is text", "a\n" + QByteArray(5000, 'b') + "\r\nc", "a\n" + QString(5000, u'b') + "\r\nc");
        row("LF alone: leading empty lines dropped, trailing one kept", "\n\na\n\nb\n\n", u"a\r\n\r\nb\r\n"_s,
            Encoding::Cp932, LineEnds::Lf);
        row("LF alone: only line ends", "\n\n", u""_s, Encoding::Cp932, LineEnds::Lf);
        row("LF alone: a line longer than 64K characters", "a\n" + QByteArray(70000, 'b') + "\nc\n",
            "a\r\n" + QString(70000, u'b') + "\r\nc", Encoding::Cp932, LineEnds::Lf);
        row("control bytes, backslash and tilde stay ASCII", "\x1A\x1C\\~\x7F\x82\xA0"_ba, u"\x1A\x1C\\~\x7F\u3042"_s);
        row("CP932 mappings", "\x81\x60\x81\xCA\x81\xE0\x87\x40\x87\x54\xFA\x40\xFA\x5C\xFC\x4B\xED\x40"_ba,
            u"\uFF5E\uFFE2\u2252\u2460\u2160\u2170\u7E8A\u9ED1\u7E8A"_s);
        row("the five extra single bytes", "\x80\xA0\xFD\xFE\xFF"_ba, u"\x80\uF8F0\uF8F1\uF8F2\uF8F3"_s);
        row("raw bytes: bad trail, unassigned pair, lead byte at the end", "\x81 \x85\x82\xA0" "a\x81"_ba,
            u"\uF781 \uF785\u3042a\uF781"_s);
        row("UTF-8, a character in the raw-byte range stays bytes", "a\xE3\x81\x82\xF0\x9F\x98\x80\xEF\x9C\x81"_ba,
            u"a\u3042\U0001F600\uF7EF\uF79C\uF781"_s, Encoding::Utf8);
        row("UTF-8, the text box's break characters stay bytes", "a\xE2\x80\xA8\xE2\x80\xA9\xEF\xB7\x90\xEF\xB7\x91"_ba,
            u"a\uF7E2\uF780\uF7A8\uF7E2\uF780\uF7A9\uF7EF\uF7B7\uF790\uF7EF\uF7B7\uF791"_s, Encoding::Utf8);
        row("UTF-16, the same", "\xFF\xFE\x28\x20\x29\x20"_ba, u"\uF728\uF720\uF729\uF720"_s, Encoding::Utf16Le);
        row("UTF-8 with a stray byte reads as CP932", "\xC3\xA9\xFF" "aaaa"_ba, u"\uFF83\uFF69\uF8F3aaaa"_s);
        row("an overlong UTF-8 lead byte reads as CP932", "\xC0\xB1"_ba, u"\uFF80\uFF71"_s);
        row("UTF-8 cut short reads as CP932", "\xC3\xA9\xE3"_ba, u"\uFF83\uFF69\uF7E3"_s);
        row("UTF-8 BOM: overlong form and encoded surrogate stay bytes", Bom + "\xE0\x80\xAF\xED\xA0\x80",
            u"\uF7E0\uF780\uF7AF\uF7ED\uF7A0\uF780"_s, Encoding::Utf8Bom);
        // Past a megabyte, UTF-8 is decoded a piece at a time.
        const QByteArray mega((1 << 20) - 2, 'a');
        row("UTF-8 with a stray byte in its second megabyte reads as CP932", mega + "aa\xC3\xA9\xFF"_ba,
            QString(mega) + u"aa\uFF83\uFF69\uF8F3"_s);
        row("UTF-8, a four-byte character across the end of its first megabyte", mega + "\xF0\x9F\x98\x80"_ba,
            QString(mega) + u"\U0001F600"_s, Encoding::Utf8);
        row("UTF-8, U+FEFF that begins its second megabyte is kept", mega + "aa\xEF\xBB\xBF"_ba,
            QString(mega) + u"aa\uFEFF"_s, Encoding::Utf8);
        row("UTF-8 holding U+FFFD itself", "\xEF\xBF\xBD"_ba, u"\uFFFD"_s, Encoding::Utf8);
        row("UTF-16BE lone surrogate kept", "\xFE\xFF\xDC\0\0a"_ba, QChar(0xDC00) + u"a"_s, Encoding::Utf16Be);
        row("UTF-16LE without BOM", "a\0\xE9\0\r\0\n\0"_ba, u"a\xE9"_s, Encoding::Utf16LeNoBom);
        row("UTF-16BE without BOM", "\0a\0b"_ba, u"ab"_s, Encoding::Utf16BeNoBom);
        row("without BOM, U+0000 is not taken for UTF-16", "a\0\0\0"_ba, u"a\0\0\0"_s);
        row("without BOM, Japanese UTF-16 is recognised", "\x42\x30" "a\0"_ba, u"\u3042a"_s, Encoding::Utf16LeNoBom);
    }
    void read()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(putFile(dir_.filePath("read.txt"), bytes));
        const TextFile::ReadResult r = TextFile::read(dir_.filePath("read.txt"));
        QVERIFY(r.ok);
        QTEST(r.encoding, "encoding");
        QTEST(r.text, "text");
        QTEST(r.lineEnds, "ends");
    }

    // Damaged or unusual files: read, written back, read again; a second save changes nothing
    // more. Random bytes go the same way in the text-file fuzz target, which the test run runs.
    void badInput_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("reread");
        const auto row = [](const char *name, const QByteArray &bytes, const QString &text, const QByteArray &written,
                            const QString &reread = {}) {
            QTest::newRow(name) << bytes << text << written << (reread.isNull() ? text : reread);
        };
        row("NUL bytes are characters", "a\0b\r\n\0"_ba, u"a\0b\r\n\0"_s, "a\0b\r\n\0\r\n"_ba);
        row("CR-only file: CR ends lines, written back with CR", "\ra\rb\r\r"_ba, u"a\r\nb\r\n"_s, "a\rb\r\r"_ba);
        row("CR-only UTF-8 file: the same", "\xC3\xA9\ra\r"_ba, u"\u00E9\r\na"_s, "\xC3\xA9\ra\r"_ba);
        row("UTF-16BE of odd length: the last byte is completed to a unit", "\xFE\xFF\0a\0"_ba, u"a\uF700"_s,
            "\xFE\xFF\0a\0\0\0\r\0\n"_ba, u"a\0"_s);
        row("UTF-16LE of odd length: the same, the line end stays in step", "\xFF\xFE" "a\0\r\0\n\0b"_ba, u"a\r\n\uF762"_s,
            "\xFF\xFE" "a\0\r\0\n\0b\0\r\0\n\0"_ba, u"a\r\nb"_s);
        row("UTF-8 file whose first line was empty and second starts with U+FEFF: written with a BOM",
            "\n\xEF\xBB\xBFx\xC3\xA9\n"_ba, u"\uFEFFx\xE9"_s, "\xEF\xBB\xBF\xEF\xBB\xBFx\xC3\xA9\n"_ba);
        row("CP932 file with BOM-like bytes after an empty line: written as UTF-8 with a BOM", "\r\n\xFF\xFEx"_ba,
            u"\uF8F3\uF8F2x"_s, Bom + "\xEF\xA3\xB3\xEF\xA3\xB2x\r\n");
        row("NUL characters that would make the file look like UTF-16: written as UTF-8 with a BOM", "\0i\0\n\0"_ba,
            u"\0i\0\r\n\0"_s, Bom + "\0i\0\n\0\n"_ba);
        const QByteArray line = QByteArray(10 << 20, 'a').replace(0, 2, "\x82\xA0"); // あaaa...: 10 MB
        row("a single 10 MB line", line, u"\u3042"_s + QString((10 << 20) - 2, u'a'), line + "\r\n");
    }
    void badInput()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, written);
        const QString file = dir_.filePath("bad.txt");
        QVERIFY(putFile(file, bytes));
        for (const char *expected : {"text", "reread"}) {
            const TextFile::ReadResult r = TextFile::read(file);
            QVERIFY(r.ok);
            QTEST(r.text, expected);
            QVERIFY(TextFile::write(file, r.text, TextFile::LineEndPolicy::KeepExisting, r.variants).ok);
            QCOMPARE(fileBytes(file), written);
        }
    }

    // Characters with two or three CP932 codes keep, written back, whichever code the file used,
    // and so do those the user adds.
    void secondCodes()
    {
        // The groups, from the converter itself: each code decoded, codes of one character together.
        QMap<char16_t, QList<quint16>> groups;
        for (int lead : {0x81, 0x87, 0xED, 0xEE, 0xFA, 0xFB, 0xFC}) {
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const QString c = TextCodec::decode("a" + QByteArray(1, char(lead)) + char(trail)).text;
                if (c.size() == 2 && (c[1].unicode() & 0xFF00) != TextCodec::RawByteBase)
                    groups[c[1].unicode()].append(quint16(lead << 8 | trail));
            }
        }
        erase_if(groups, [](const auto &group) { return group.value().size() < 2; });
        QCOMPARE(groups.size(), 396);
        const QString added = u"\u2235\u7E8A"_s; // typed before the text is written back
        for (int choice : {0, 1, 2}) {
            QByteArray bytes = "x";
            QString text = u"x"_s;
            for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
                const quint16 code = it.value().at(std::clamp<int>(choice, 0, int(it.value().size()) - 1));
                bytes.append(char(code >> 8)).append(char(code));
                text += QChar(it.key());
            }
            const QString file = dir_.filePath("codes.txt"), other = dir_.filePath("codes-copy.txt"); // a Save As keeps them too
            QVERIFY(putFile(file, bytes));
            const TextFile::ReadResult r = TextFile::read(file);
            QCOMPARE(r.text, text);
            QFile::remove(other);
            QVERIFY(TextFile::write(other, r.text + added, TextFile::LineEndPolicy::KeepExisting, r.variants).ok);
            QByteArray expected = bytes;
            for (const QChar c : added)
                expected += expected.mid(1 + 2 * std::distance(groups.cbegin(), groups.constFind(c.unicode())), 2);
            QCOMPARE(fileBytes(other), expected + "\r\n");
        }
    }

    // A new file is CP932 unless a character does not fit; an existing UTF file keeps its form,
    // and one whose line ends are all LF, counted in its own encoding, keeps LF.
    void write_data()
    {
        QTest::addColumn<QByteArray>("old"); // null: no file yet
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Encoding>("encoding");
        QTest::addColumn<LineEnds>("ends");
        const auto row = [](const char *name, const QByteArray &old, const QString &text, const QByteArray &bytes,
                            Encoding e, LineEnds ends = LineEnds::CrLf) { QTest::newRow(name) << old << text << bytes << e << ends; };
        const QString a = u"\u3042"_s, xy = u"x\r\ny"_s;
        row("new file is CP932, each character in its JIS or IBM code", {}, u"\u3042\uFF5E\uFFE2\u2252\u2235\u7E8A"_s,
            "\x82\xA0\x81\x60\x81\xCA\x81\xE0\x81\xE6\xFA\x5C\r\n"_ba, Encoding::Cp932);
        row("one character CP932 cannot hold makes it all UTF-8 with BOM", {}, u"\u3042\xE9\uF781"_s,
            Bom + "\xE3\x81\x82\xC3\xA9\x81\r\n", Encoding::Utf8Bom);
        row("half-width kana whose codes read as UTF-8 get UTF-8 with BOM", {}, u"\uFF83\uFF69"_s,
            Bom + "\xEF\xBE\x83\xEF\xBD\xA9\r\n", Encoding::Utf8Bom);
        row("UTF-8 file left with ASCII only stays without BOM", "\xC3\xA9\r\n"_ba, u"abc"_s, "abc\r\n"_ba, Encoding::Utf8);
        row("UTF-8 sequence across a piece boundary", "\r\n" + QByteArray(Piece - 3, 'a') + "\xC3\xA9", a, "\xE3\x81\x82\r\n"_ba, Encoding::Utf8);
        row("BOM-less UTF-16BE file gets a BOM to hold Thai", "\0a"_ba, u"\u0E01"_s, "\xFE\xFF\x0E\x01\0\r\0\n"_ba, Encoding::Utf16Be);
        row("LF file keeps LF", "a\nb\n"_ba, u"x\r\n\r\ny"_s, "x\n\ny\n"_ba, Encoding::Cp932, LineEnds::Lf);
        row("CR in a later piece of a CP932 file", "\x82\xA0\n" + QByteArray(Piece, 'a') + "\r\n", xy, "x\r\ny\r\n"_ba,
            Encoding::Cp932);
        row("lone CR, lone LF and raw CR byte stay", "a\n"_ba, u"a\rb\uF70D\n\r\nc"_s, "a\rb\r\n\nc\n"_ba, Encoding::Cp932,
            LineEnds::Lf);
        row("UTF-16LE: 0D within a character is no CR", "\xFF\xFE\x0D\x4E\n\0"_ba, xy, "\xFF\xFEx\0\n\0y\0\n\0"_ba,
            Encoding::Utf16Le, LineEnds::Lf);
        row("UTF-16BE LF file", "\xFE\xFF\0a\0\n"_ba, xy, "\xFE\xFF\0x\0\n\0y\0\n"_ba, Encoding::Utf16Be, LineEnds::Lf);
        row("BOM-less UTF-16LE LF file stays so", "a\0\n\0"_ba, xy, "x\0\n\0y\0\n\0"_ba, Encoding::Utf16LeNoBom, LineEnds::Lf);
    }
    void write()
    {
        QFETCH(QByteArray, old);
        QFETCH(QString, text);
        const QString file = dir_.filePath("write.txt");
        QFile::remove(file);
        QVERIFY(old.isNull() || putFile(file, old));
        const TextFile::WriteResult w = TextFile::write(file, text);
        QVERIFY(w.ok);
        QTEST(fileBytes(file), "bytes");
        QTEST(w.encoding, "encoding");
        QTEST(w.lineEnds, "ends");
    }

    // A large text written a piece at a time gives the bytes of the whole: one BOM, second codes
    // in a late piece, and a last line that needs another encoding changes all of it.
    void largeTextInPieces()
    {
        const struct { QByteArray old; QString last; Encoding preferred, encoding; LineEnds ends; } cases[] = { // old null: no file yet
                     {"a\n"_ba, u"\u2235"_s, Encoding::Cp932, Encoding::Cp932, LineEnds::Lf}, // and second codes
                     {{}, u"\u2603"_s, Encoding::Cp932, Encoding::Utf8Bom, LineEnds::CrLf},
                     {"\xFE\xFF\0x"_ba, u"y"_s, Encoding::Utf16Be, Encoding::Utf16Be, LineEnds::CrLf}, // with one BOM
                     {"x\0"_ba, u"\u0E01"_s, Encoding::Utf16LeNoBom, Encoding::Utf16Le, LineEnds::CrLf}};
        const Cp932Variants codes = Cp932Variants::scan("\x87\x9a"); // ∵ in its NEC code
        const QString file = dir_.filePath("large.txt");
        for (const auto &c : cases) {
            const QString text = u"abcdefgh\r\n"_s.repeated(300000) + c.last; // three pieces and more
            QFile::remove(file);
            QVERIFY(c.old.isNull() || putFile(file, c.old));
            const TextFile::WriteResult w = TextFile::write(file, text, TextFile::LineEndPolicy::KeepExisting, codes);
            Encoding used = c.preferred;
            const QByteArray whole = TextCodec::encodePreferring(text + u"\r\n"_s, c.preferred, &used, c.ends, &codes);
            QCOMPARE(u"%1 %2 %3"_s.arg(w.ok).arg(int(w.encoding)).arg(int(used)), u"1 %1 %1"_s.arg(int(c.encoding)));
            QVERIFY(fileBytes(file) == whole);
        }
    }

    // Every failure says why; a failed write leaves the target as it was and no temporary file
    // behind. (A folder read and a read-only file written: tst_filecontroller.)
    void refused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char *kind, const char *reason) { QTest::newRow(kind) << QString(kind) << QString(reason); };
        row("read: over the size limit", "ファイルが大きすぎます。");
        row("read: file of another user", "アクセスが拒否されました。");
        row("write: missing directory", "書き込めません。");
        row("write: device node", "通常のファイルではありません。");
        row("write: file size limit passed by the last bytes", "容量が足りません。");
        row("write: folder of another user", "アクセスが拒否されました。");
        row("write: file of another user", "アクセスが拒否されました。");
    }
    void refused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir sandbox;
        const QDir box(sandbox.path());
        const QString old = box.filePath("t.txt");
        QVERIFY(putFile(old, "old\r\n"));
        QString target = old;
        const bool reading = kind.startsWith("read"), otherUser = kind.endsWith("another user");
        if (kind.contains("missing"))
            target = box.filePath("none/t.txt");
        else if (kind.endsWith("over the size limit"))
            QVERIFY(QFile::resize(old, TextFile::MaxFileBytes + 1)); // sparse: no disk used
        else if (kind.endsWith("folder of another user"))
            target = box.filePath("new.txt");
        else if (kind.endsWith("file of another user")) // not for others to read, or to write
            QVERIFY(QFile::setPermissions(old, reading ? QFile::Permissions()
                                                       : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        if (otherUser && !OtherUser::possible(kind.startsWith("write: file")))
            QSKIP("cannot be without rights here");
        // Anyone may look in; only to replace a file may anyone write there, or a new file would.
        const auto writable = kind.startsWith("write: file") ? QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther
                                                             : QFile::Permissions();
        if (otherUser)
            QVERIFY(QFile::setPermissions(box.path(), writable | QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                                          | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
#ifdef Q_OS_UNIX
        struct stat st {};
        if (kind.endsWith("device node")) {
            // A copy of /dev/full, as a rename over the real one would break the machine.
            QCOMPARE(stat("/dev/full", &st), 0);
            target = box.filePath("full");
            if (mknod(QFile::encodeName(target).constData(), S_IFCHR | 0600, st.st_rdev) != 0)
                target = "/dev/full";
        }
#else
        if (kind.endsWith("device node") || kind.contains("file size limit"))
            QSKIP("POSIX only");
#endif
        const auto entries = [&] { return box.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden); };
        const QStringList before = entries();
        TextFile::ReadResult r;
        TextFile::WriteResult w;
        {
#ifdef Q_OS_UNIX
            // The text and its line end pass the limit by one byte: the write fails at its very end.
            std::optional<FileSizeLimit> full;
            if (kind.contains("file size limit"))
                full.emplace(4096);
#endif
            std::optional<OtherUser> other;
            if (otherUser)
                other.emplace();
            if (reading)
                r = TextFile::read(target);
            else
                w = TextFile::write(target, QString(4095, u'x'));
        }
#ifdef Q_OS_UNIX
        if (kind.endsWith("device node"))
            QVERIFY(stat(QFile::encodeName(target).constData(), &st) == 0 && S_ISCHR(st.st_mode));
#endif
        QVERIFY(QFile::setPermissions(box.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(entries(), before);
        QVERIFY(reading ? !r.ok && r.text.isEmpty() : !w.ok && fileBytes(old) == "old\r\n");
        QCOMPARE(reading ? TextFile::readFailureMessage(r) : TextFile::writeFailureMessage(target, w.error),
                 (reading ? u"ファイルを開けません"_s : QDir::toNativeSeparators(target) + u" に書き込めません。"_s) + u'\n' + reason);
    }

    // The program's own files hold the user's memos: a new one is the user's alone, and a
    // rewrite keeps whatever mode the user gave it.
    void programFilesArePrivate()
    {
#ifdef Q_OS_UNIX
        const mode_t umaskBefore = ::umask(022);
        const auto restore = qScopeGuard([umaskBefore] { ::umask(umaskBefore); });
        QStringList modes;
        for (const auto &[file, existingMode] : {std::pair{u"q1.txt"_s, 0}, {u"q7Zibo.dat"_s, 0}, {u"q1.txt.recovery"_s, 0},
                                                 {u"q1.txt"_s, 0644}}) { // 0: a new file
            QTemporaryDir dir;
            const QString path = dir.filePath(file);
            if (existingMode)
                QVERIFY(putFile(path, "old\r\n") && ::chmod(QFile::encodeName(path).constData(), mode_t(existingMode)) == 0);
            bool ok = false;
            if (file.endsWith(".dat"))
                ok = PhraseFile::save(path, {u"phrase"_s}).ok;
            else if (file.endsWith(".recovery"))
                ok = RecoveryCopies(dir.path(), dir.filePath("state")).write(1, u"text"_s, Encoding::Cp932).ok;
            else
                ok = SheetSession(dir.path()).writeSheet(u"text"_s).ok;
            struct stat st;
            QVERIFY(ok && ::stat(QFile::encodeName(path).constData(), &st) == 0);
            modes << file + u' ' + QString::number(st.st_mode & 0777, 8);
        }
        QCOMPARE(modes, (QStringList{"q1.txt 600", "q7Zibo.dat 600", "q1.txt.recovery 600", "q1.txt 644"}));
#else
        QSKIP("file modes are POSIX");
#endif
    }

    // Code page 932 as the platform has it: each BMP character the encoder takes reads back as itself (no
    // look-alike the platform's tables would substitute); one look-alike anywhere refuses a long text.
    void cp932WritesOnlyWhatReadsBack()
    {
        int encoded = 0;
        for (char32_t c = 0; c < 0x10000; ++c) {
            const QChar ch{char16_t(c)};
            const std::optional<QByteArray> bytes = ch.isSurrogate() ? std::nullopt : Cp932::encode(QStringView(&ch, 1));
            encoded += bytes.has_value();
            if (bytes && Cp932::decode(*bytes, 0xF700) != QString(ch))
                QFAIL(qPrintable(u"U+%1 does not read back"_s.arg(uint(c), 4, 16, QLatin1Char('0'))));
        }
        QVERIFY2(encoded > 9000, qPrintable(QString::number(encoded))); // user-defined ones and the five single bytes too
        const QString body(5000, u'あ');
        QVERIFY(Cp932::encode(body + u"漢字ｶﾅ"_s + body));
        QVERIFY(!Cp932::encode(body + QChar(0x301C) + body)); // wave dash in the middle
        QVERIFY(!Cp932::encode(body + QChar(0x00A5)));         // yen sign at the end
    }

    // The sheet a stored caption names; a change of sheet drops the snapshot, which must never
    // be restored into another sheet.
    void sheetFromStoredCaption_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("sheet");
        QTest::addRow("the current sheet again keeps the snapshot") << "q7 Zibo q1" << 1;
        QTest::addRow("any text ending in a sheet number") << "x7" << 7;
        QTest::addRow("digit 8 is no sheet") << "q7 Zibo q8" << 1;
        QTest::addRow("digit 0 is no sheet") << "q7 Zibo q0" << 1;
        QTest::addRow("empty") << "" << 1;
    }
    void sheetFromStoredCaption()
    {
        QFETCH(QString, stored);
        QFETCH(int, sheet);
        SheetSession session(u"/prog"_s);
        session.setUndoSnapshot(u"before"_s);
        session.takeStoredCaption(stored);
        QCOMPARE(u"%1|%2|%3"_s.arg(session.currentSheet()).arg(session.caption(), session.undoSnapshot()),
                 u"%1|q7 Zibo q%1|%2"_s.arg(sheet).arg(sheet == 1 ? "before" : ""));
    }

    // A failed read detaches the sheet's save target until the sheet or its opened file changes;
    // the opened file itself stays, for the settings.
    void sheetSaveTarget()
    {
        SheetSession session(u"/prog"_s);
        QSignalSpy changes(&session, &SheetSession::saveTargetChanged);
        session.setOpenedFile(2, u"/b.txt"_s); // another sheet's: no change of target
        session.setOpenedFile(1, u"/a.txt"_s);
        QCOMPARE(session.saveTarget(), u"/a.txt"_s);
        session.detachSaveTarget();
        QCOMPARE(session.saveTarget() + u'|' + session.openedFile(1), u"|/a.txt"_s);
        session.setCurrentSheet(2);
        QCOMPARE(session.saveTarget(), u"/b.txt"_s);
        session.detachSaveTarget();
        session.setOpenedFile(2, u"/c.txt"_s);
        QCOMPARE(session.saveTarget() + u'|' + QString::number(changes.count()), u"/c.txt|5"_s);
    }
};

QTEST_APPLESS_MAIN(TstTextFile)
#include "tst_textfile.moc"
