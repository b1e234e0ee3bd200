// Shell open on real files: what the starter is asked for each text, and its result code.
#include "platform/shellopen.h"
#include "platform/shelltarget.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class RecordingStarter final : public ShellTarget::Starter {
public:
    bool startDetached(const QString &program) override { return calls << QStringLiteral("start ") + program, succeeds; }
    bool openUrl(const QUrl &url) override { return calls << QStringLiteral("url ") + url.toString(QUrl::FullyEncoded), succeeds; }
    QStringList calls;
    bool succeeds = true;
};

void writeFile(const QString &path, const QByteArray &body, bool executable)
{
    QVERIFY2(putFile(path, body), qPrintable(path));
    if (executable)
        QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther));
}

} // namespace

class TstShellOpen : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    QString oldCurrent_;
    QByteArray oldPath_;

    QString at(const QString &name) const { return dir_.filePath(name); }
    QString fileUrl(const QString &name) const
    {
        return QStringLiteral("url ") + QUrl::fromLocalFile(at(name)).toString(QUrl::FullyEncoded);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        // A folder on PATH has its x bit; it must not be taken for a program.
        for (const char *folder : {"docs", "bin/q7folder", "bin/q7sub"})
            QVERIFY(QDir(dir_.path()).mkpath(folder));
        for (const char *name : {"memo.txt", "memo ", "note:1.txt", "bin/q7plain"})
            writeFile(at(name), "text\n", false);
        for (const char *name : {"run.sh", "bin/q7tool", "bin/q7sub/q7tool"})
            writeFile(at(name), "#!/bin/sh\nexit 0\n", true);
        // Documents with the x bit, as on a drive formatted FAT.
        writeFile(at("memo x.txt"), "text\n", true);
        writeFile(at("photo"), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), true);
        writeFile(at("blob"), QByteArray("\x7f\x01\x00\x02\xff", 5), true);
        QFile elf(QStringLiteral("/bin/true"));
        QVERIFY(elf.open(QIODevice::ReadOnly));
        writeFile(at("tool"), elf.readAll(), true);

        oldCurrent_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir_.path()));
        oldPath_ = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(at("bin")) + ':' + oldPath_);
    }
    void cleanupTestCase()
    {
        qputenv("PATH", oldPath_);
        QDir::setCurrent(oldCurrent_);
    }

    void open_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("starterSucceeds");
        QTest::addColumn<QString>("asked"); // what the starter was asked, if anything
        QTest::addColumn<int>("result");
        const auto row = [](const char *name, const QString &text, const QString &asked, bool succeeds = true) {
            const int result = asked.isEmpty() || !succeeds ? int(ShellOpen::NotFound) : int(ShellTarget::Opened);
            QTest::newRow(name) << text << succeeds << asked << result;
        };
        row("executable in the current folder is started by its full path", "run.sh", "start " + at("run.sh"));
        row("plain file relative to the current folder is opened", "memo.txt", fileUrl("memo.txt"));
        row("ELF binary without extension is started", "tool", "start " + at("tool"));
        row("text file with the x bit is opened", "memo x.txt", fileUrl("memo x.txt"));
        row("image with the x bit, known by its content, is opened", "photo", fileUrl("photo"));
        row("binary of no known type is started", "blob", "start " + at("blob"));
        row("folder is opened, not started", at("docs"), fileUrl("docs"));
        row("existing file whose name looks like a URL is opened as a file", "note:1.txt", fileUrl("note:1.txt"));
        row("https URL with a blank", "https://example.com/a b", "url https://example.com/a%20b");
        row("drive letter is no URL scheme", "C:\\q7\\memo.txt", "");
        row("name on PATH is started by its full path", "q7tool", "start " + at("bin/q7tool"));
        row("non-executable name on PATH", "q7plain", "");
        row("folder name on PATH", "q7folder", "");
        row("name with a folder is not looked up on PATH", "q7sub/q7tool", "");
        row("name on PATH followed by an argument", "q7tool memo.txt", "");
        row("blanks around a path dropped", u" memo.txt\u3000"_qs, fileUrl("memo.txt"));
        row("existing name ending in a blank kept whole", "memo ", fileUrl("memo "));
        row("program that fails to start", at("run.sh"), "start " + at("run.sh"), false);
        row("URL the desktop refuses", "https://example.com/", "url https://example.com/", false);
    }
    void open()
    {
        QFETCH(QString, text);
        QFETCH(bool, starterSucceeds);
        QFETCH(QString, asked);
        QFETCH(int, result);
        RecordingStarter starter;
        starter.succeeds = starterSucceeds;
        QCOMPARE(ShellTarget::open(text, ShellTarget::searchPath(), starter), result);
        QCOMPARE(starter.calls.join(u'\n'), asked);
    }

    // The production starter really runs a program whose path holds a blank and a kanji, and
    // does not wait for it.
    void startsARealProgram()
    {
        QVERIFY(QDir(dir_.path()).mkpath(u"real 実行"_qs));
        const QString marker = at(u"real 実行/marker"_qs);
        const QString program = at(u"real 実行/touch marker.sh"_qs);
        QByteArray quoted = QFile::encodeName(marker);
        quoted.replace("'", "'\\''");
        writeFile(program, "#!/bin/sh\ntouch '" + quoted + "'\n", true);

        PlatformShellOpen shell;
        QVERIFY(shell.open(program) != ShellOpen::NotFound);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 20000);
    }
};

QTEST_GUILESS_MAIN(TstShellOpen)
#include "tst_shellopen.moc"
