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
    void strings_data();
    void strings();
    void fileFind_data();
    void fileFind();
};

// The string helpers; a dialog filter's Qt form is compared one filter a line.
void TstFileNames::strings_data()
{
    QTest::addColumn<QString>("helper");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QChar nul(0);
    QTest::addRow("no NUL keeps everything") << "CutAtNull" << "memo.txt" << "memo.txt";
    QTest::addRow("cut at the first NUL") << "CutAtNull" << QStringLiteral("memo.txt") + nul + u' ' + nul + u'x' << "memo.txt";
    QTest::addRow("NUL first gives empty") << "CutAtNull" << nul + QStringLiteral("abc") << "";
#ifdef Q_OS_WIN
    QTest::addRow("backslash path") << "FNameGet" << "C:\\dir\\memo.txt" << "memo.txt";
    QTest::addRow("drive-relative") << "FNameGet" << "C:memo.txt" << "memo.txt";
#else
    // A backslash is an ordinary character of a name here.
    QTest::addRow("backslash is part of the name") << "FNameGet" << "/d/a\\b.txt" << "a\\b.txt";
#endif
    QTest::addRow("title of a path") << "FNameGet" << QStringLiteral("/文書/メモ 1.txt") << QStringLiteral("メモ 1.txt");
    QTest::addRow("bare name") << "FNameGet" << "memo" << "memo";
    QTest::addRow("trailing separator has no title") << "FNameGet" << "/home/u/" << "";
    QTest::addRow("title cut at NUL") << "FNameGet" << QStringLiteral("/d/memo.txt") + nul + QStringLiteral("junk") << "memo.txt";
    QTest::addRow("the program's filter") << "filters" << QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ(*.txt)|*.txt|すべてのﾌｧｲﾙ(*.*)|*.*")
                                          << QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ(*.txt) (*.txt)\nすべてのﾌｧｲﾙ(*.*) (*)");
    QTest::addRow("several patterns") << "filters" << "Programs|*.exe;*.com|Text|*.txt" << "Programs (*.exe *.com)\nText (*.txt)";
    QTest::addRow("unpaired tail ignored") << "filters" << "Text|*.txt|odd" << "Text (*.txt)";
}

void TstFileNames::strings()
{
    QFETCH(QString, helper);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString result = helper == "CutAtNull"  ? FileNames::CutAtNull(text)
                           : helper == "FNameGet" ? FileNames::FNameGet(text)
                                                  : FileNames::toQtNameFilters(text).join(u'\n');
    QCOMPARE(result, expected);
}

void TstFileNames::fileFind_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("expected");
    QTest::addRow("empty") << "" << false;
    QTest::addRow("missing file") << "none.txt" << false;
    QTest::addRow("directory") << "dir" << false;
    QTest::addRow("directory with trailing separator") << "dir/" << false;
    QTest::addRow("readable file") << "a.txt" << true;
    QTest::addRow("file with trailing separator") << "a.txt/" << true;
#ifdef Q_OS_UNIX
    // Opening a pipe for reading would wait for a writer forever.
    QTest::addRow("named pipe") << "fifo" << false;
#endif
}

void TstFileNames::fileFind()
{
    QFETCH(QString, kind);
    QFETCH(bool, expected);
    QTemporaryDir tmp;
    QFile file(tmp.filePath(QStringLiteral("a.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("x\r\n") == 3);
    file.close();
    QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("dir")));
#ifdef Q_OS_UNIX
    QCOMPARE(mkfifo(QFile::encodeName(tmp.filePath(QStringLiteral("fifo"))).constData(), 0600), 0);
#endif
    const bool trailing = kind.endsWith(u'/');
    const QString plain = kind.isEmpty() ? QString() : tmp.filePath(trailing ? kind.chopped(1) : kind);
    QString path = trailing ? plain + QDir::separator() : plain;
    QCOMPARE(FileNames::FileFind(path), expected);
    // The caller's variable loses a trailing separator and is otherwise left alone.
    QCOMPARE(path, plain);
}

QTEST_APPLESS_MAIN(TstFileNames)
#include "tst_filenames.moc"
