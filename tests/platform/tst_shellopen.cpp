// Shell open on real files: what the starter is asked for each text, and its result code.
#include "platform/shellopen.h"
#include "platform/shelltarget.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class RecordingStarter final : public ShellTarget::Starter {
public:
    bool startDetached(const QString &program) override { return record(QStringLiteral("start ") + program); }
    bool openUrl(const QUrl &url) override { return record(QStringLiteral("url ") + url.toString(QUrl::FullyEncoded)); }
    bool record(const QString &call)
    {
        calls << call;
        return succeeds;
    }
    QStringList calls;
    bool succeeds = true;
};

void writeFile(const QString &path, const QByteArray &body, bool executable)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(body);
    file.close();
    if (executable)
        QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther));
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
        const QByteArray script = "#!/bin/sh\nexit 0\n";
        writeFile(at("run.sh"), script, true);
        writeFile(at("memo.txt"), "text\n", false);
        writeFile(at("memo "), "text\n", false);
        writeFile(at("note:1.txt"), "text\n", false);
        QVERIFY(QDir(dir_.path()).mkpath("docs"));
        QVERIFY(QDir(dir_.path()).mkpath("bin"));
        writeFile(at("bin/q7tool"), script, true);
        writeFile(at("bin/q7plain"), script, false);
        // A folder on PATH has its x bit; it must not be taken for a program.
        QVERIFY(QDir(dir_.path()).mkpath("bin/q7folder"));
        QVERIFY(QDir(dir_.path()).mkpath("bin/q7sub"));
        writeFile(at("bin/q7sub/q7tool"), script, true);

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
        QTest::addColumn<QString>("asked");  // what the starter was asked, if anything
        QTest::addColumn<int>("result");
        const int opened = ShellTarget::Opened;
        const int notFound = ShellOpen::NotFound;

        QTest::addRow("executable in the current folder is started by its full path")
            << "run.sh" << true << "start " + at("run.sh") << opened;
        QTest::addRow("plain file relative to the current folder is opened")
            << "memo.txt" << true << fileUrl("memo.txt") << opened;
        QTest::addRow("folder is opened, not started") << at("docs") << true << fileUrl("docs") << opened;
        QTest::addRow("existing file whose name looks like a URL is opened as a file")
            << "note:1.txt" << true << fileUrl("note:1.txt") << opened;
        QTest::addRow("https URL with a blank") << "https://example.com/a b" << true
                                                << "url https://example.com/a%20b" << opened;
        QTest::addRow("drive letter is no URL scheme") << "C:\\q7\\memo.txt" << true << "" << notFound;
        QTest::addRow("name on PATH is started by its full path")
            << "q7tool" << true << "start " + at("bin/q7tool") << opened;
        QTest::addRow("non-executable name on PATH") << "q7plain" << true << "" << notFound;
        QTest::addRow("folder name on PATH") << "q7folder" << true << "" << notFound;
        QTest::addRow("name with a folder is not looked up on PATH") << "q7sub/q7tool" << true << "" << notFound;
        QTest::addRow("name on PATH followed by an argument") << "q7tool memo.txt" << true << "" << notFound;
        QTest::addRow("blanks only, ideographic space too") << u" \t\u3000"_qs << true << "" << notFound;
        QTest::addRow("blanks around a path dropped") << u" memo.txt\u3000"_qs << true << fileUrl("memo.txt")
                                                      << opened;
        QTest::addRow("existing name ending in a blank kept whole") << "memo " << true << fileUrl("memo ")
                                                                    << opened;
        QTest::addRow("program that fails to start") << at("run.sh") << false << "start " + at("run.sh")
                                                     << notFound;
        QTest::addRow("URL the desktop refuses") << "https://example.com/" << false
                                                 << "url https://example.com/" << notFound;
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
