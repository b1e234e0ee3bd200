// The file-name helpers: display titles, whether a file can be read, and the dialog filters.
#include "commands/filenames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

class TstFileNames : public QObject {
    Q_OBJECT
private slots:
    void cutAtNull_data();
    void cutAtNull();
    void fNameGet_data();
    void fNameGet();
    void fileFind_data();
    void fileFind();
    void qtNameFilters_data();
    void qtNameFilters();
};

void TstFileNames::cutAtNull_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addRow("no NUL keeps everything") << QStringLiteral("memo.txt") << QStringLiteral("memo.txt");
    QTest::addRow("cut at the first NUL") << QStringLiteral("memo.txt") + QChar(0) + QStringLiteral("  ") + QChar(0) + u'x'
                                          << QStringLiteral("memo.txt");
    QTest::addRow("NUL first gives empty") << QString(QChar(0)) + QStringLiteral("abc") << QString();
    QTest::addRow("empty stays empty") << QString() << QString();
}

void TstFileNames::cutAtNull()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(FileNames::CutAtNull(text), expected);
}

void TstFileNames::fNameGet_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
#ifdef Q_OS_WIN
    QTest::addRow("backslash path") << QStringLiteral("C:\\dir\\memo.txt") << QStringLiteral("memo.txt");
    QTest::addRow("drive-relative") << QStringLiteral("C:memo.txt") << QStringLiteral("memo.txt");
#else
    // A backslash is an ordinary character of a name here.
    QTest::addRow("backslash is part of the name") << QStringLiteral("/d/a\\b.txt") << QStringLiteral("a\\b.txt");
#endif
    QTest::addRow("slash path") << QStringLiteral("/home/u/memo.txt") << QStringLiteral("memo.txt");
    QTest::addRow("Japanese name") << QStringLiteral("/文書/メモ 1.txt") << QStringLiteral("メモ 1.txt");
    QTest::addRow("bare name") << QStringLiteral("memo") << QStringLiteral("memo");
    QTest::addRow("trailing separator has no title") << QStringLiteral("/home/u/") << QString();
    QTest::addRow("empty") << QString() << QString();
    QTest::addRow("cut at NUL") << QStringLiteral("/d/memo.txt") + QChar(0) + QStringLiteral("junk") << QStringLiteral("memo.txt");
}

void TstFileNames::fNameGet()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(FileNames::FNameGet(path), expected);
}

void TstFileNames::fileFind_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<bool>("trimmed");
    QTest::addRow("empty") << "empty" << false << false;
    QTest::addRow("missing file") << "missing" << false << false;
    QTest::addRow("directory") << "dir" << false << false;
    QTest::addRow("directory with trailing separator") << "dir/" << false << true;
    QTest::addRow("readable file") << "file" << true << false;
    QTest::addRow("empty file") << "empty file" << true << false;
    QTest::addRow("file with trailing separator") << "file/" << true << true;
#ifdef Q_OS_UNIX
    // Opening a pipe for reading would wait for a writer forever.
    QTest::addRow("named pipe") << "fifo" << false << false;
#endif
}

void TstFileNames::fileFind()
{
    QFETCH(QString, kind);
    QFETCH(bool, expected);
    QFETCH(bool, trimmed);
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("a.txt"));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (kind != "empty file")
            f.write("x\r\n");
    }
    QString path;
    if (kind == "missing")
        path = tmp.filePath(QStringLiteral("none.txt"));
    else if (kind.startsWith("dir"))
        path = tmp.path();
    else if (kind.contains("file"))
        path = file;
#ifdef Q_OS_UNIX
    if (kind == "fifo") {
        path = tmp.filePath(QStringLiteral("fifo"));
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
#endif
    const QString plain = path;
    if (kind.endsWith(u'/'))
        path += QDir::separator();
    const QString given = path;
    QCOMPARE(FileNames::FileFind(path), expected);
    // The caller's variable loses a trailing separator and is otherwise left alone.
    QCOMPARE(path, trimmed ? plain : given);
}

void TstFileNames::qtNameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("the program's filter")
        << QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ(*.txt)|*.txt|すべてのﾌｧｲﾙ(*.*)|*.*")
        << QStringList{QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ(*.txt) (*.txt)"), QStringLiteral("すべてのﾌｧｲﾙ(*.*) (*)")};
    QTest::addRow("several patterns")
        << QStringLiteral("Programs|*.exe;*.com|Text|*.txt")
        << QStringList{QStringLiteral("Programs (*.exe *.com)"), QStringLiteral("Text (*.txt)")};
    QTest::addRow("unpaired tail ignored") << QStringLiteral("Text|*.txt|odd") << QStringList{QStringLiteral("Text (*.txt)")};
    QTest::addRow("empty") << QString() << QStringList{};
}

void TstFileNames::qtNameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(FileNames::toQtNameFilters(filter), expected);
}

QTEST_APPLESS_MAIN(TstFileNames)
#include "tst_filenames.moc"
