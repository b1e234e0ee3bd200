// The File menu's commands on the main window, with scripted file dialogs and message boxes,
// against real files in temporary folders.
#include "fakecommondialog.h"
#include "harness.h"
#include "sheets/textfile.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

const QString NoFileTitle = QStringLiteral("q7 Zibo q1");

QString box(const QString &prompt, int style, const QString &title)
{
    return prompt + u'|' + QString::number(style) + u'|' + title;
}
const QString CannotOpenBox = box(QStringLiteral("ファイルを開けません"), MsgBoxStyle::OKOnly, AppTitle);

QString dialog(FakeCommonDialog::Kind kind, int filterIndex, int flags)
{
    return QStringLiteral("%1 filter %2 flags %3").arg(kind == FakeCommonDialog::Kind::Save ? "Save" : "Open").arg(filterIndex).arg(flags);
}
const QString OpenDialog = dialog(FakeCommonDialog::Kind::Open, 1, CommonDialogFlags::FileMustExist);
const QString SaveDialog = dialog(FakeCommonDialog::Kind::Save, 1, CommonDialogFlags::OverwritePrompt);

// A main window whose file dialogs are the scripted fake.
class FileHarness : public Harness {
public:
    FileHarness()
    {
        writeSheets();
        configure = [this](FrmMainEnv &env) { env.commonDialog = &files; };
    }
    // User files live next to the program folder, not in it.
    QString user(const QString &name) const { return tmp.filePath(name); }
    QAction *item(const QString &name) const { return window->findChild<QAction *>(name); }
    void trigger(const QString &name) { item(name)->trigger(); }
    void answer(bool cancel, const QString &path) { cancel ? files.cancel() : files.choose(path); }
    void ctrlS()
    {
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(text1(*window), Qt::Key_S, Qt::ControlModifier);
    }
    // Focus elsewhere, to see a command give it back to the text.
    void focusAway()
    {
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->findChild<QComboBox *>(QStringLiteral("Combo1"))->setFocus();
    }
    // Each box by its first line: the reason a failure adds below it is the text-file layer's.
    QStringList boxesShown() const
    {
        QStringList out;
        for (const FakeDialogs::Call &c : dialogs.calls)
            out << box(c.prompt.section(u'\n', 0, 0), c.style, c.title);
        return out;
    }
    QStringList fileDialogsShown() const
    {
        QStringList out;
        for (const FakeCommonDialog::Call &c : files.calls)
            out << dialog(c.kind, c.filterIndex, c.flags);
        return out;
    }

    FakeCommonDialog files;
};

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
}

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    void itemsFollowSelectionAndOpenedFile();
    void newSheet_data();
    void newSheet();
    void open_data();
    void open();
    void insertAtCaret_data();
    void insertAtCaret();
    void saveCommands_data();
    void saveCommands();
    void exitCommands_data();
    void exitCommands();
};

// Without opening the menu, the items and Ctrl+S follow the selection and the sheet's file (the
// other tests check Ctrl+S after each change of that file).
void TestFileCommands::itemsFollowSelectionAndOpenedFile()
{
    FileHarness h;
    frmMain &w = h.start();
    QAction *selsave = h.item("mnuSelsave");
    QVERIFY(!selsave->isEnabled());
    text1(w)->select(0, 3);
    QVERIFY(selsave->isEnabled());
    text1(w)->setSelStart(0);
    QVERIFY(!selsave->isEnabled());

    // No target: Ctrl+S does nothing and asks nothing.
    QVERIFY(!h.item("mnuUwa")->isEnabled());
    h.ctrlS();
    QVERIFY(h.dialogs.calls.isEmpty());
}

void TestFileCommands::newSheet_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("answer"); // 0: no question
    QTest::addColumn<bool>("discarded");
    QTest::addRow("empty sheet asks nothing") << QString() << 0 << true;
    QTest::addRow("OK discards the text") << QStringLiteral("keep\r\nme") << int(MsgBoxResult::OK) << true;
    QTest::addRow("Cancel changes nothing") << QStringLiteral("keep\r\nme") << int(MsgBoxResult::Cancel) << false;
}

void TestFileCommands::newSheet()
{
    QFETCH(QString, text);
    QFETCH(int, answer);
    QFETCH(bool, discarded);
    FileHarness h;
    const QByteArray stored = text.toUtf8() + "\r\n";
    h.writeFile(h.sheetPath(1), stored);
    h.preset("Open", "File0", h.user("a.txt"));
    frmMain &w = h.start();
    if (answer)
        h.dialogs.answers = {answer};

    h.trigger("mnuNew");

    QCOMPARE(h.boxesShown(), answer ? QStringList{box(QStringLiteral("このテキストを破棄します。"), MsgBoxStyle::OKCancel | MsgBoxStyle::Exclamation | MsgBoxStyle::DefaultButton2,
                                                      QStringLiteral("新規作成の確認"))}
                                    : QStringList());
    QCOMPARE(text1(w)->Text(), discarded ? QString() : text);
    QCOMPARE(w.sheets().blnChanged(), discarded);
    QCOMPARE(w.sheets().lblRealFile(1), discarded ? QString() : h.user("a.txt"));
    QCOMPARE(h.item("mnuUwa")->isEnabled(), !discarded);
    h.selectTab(2);
    QCOMPARE(Harness::bytes(h.sheetPath(1)), discarded ? QByteArray("\r\n") : stored);
    h.closeWindow();
    QCOMPARE(h.stored("Open", "File0"), discarded ? QString() : h.user("a.txt"));
}

// Open, and for a file read, Ctrl+S writing it back in its own encoding.
void TestFileCommands::open_data()
{
    QTest::addColumn<QString>("choice"); // file, cancel, directory or missing
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("saved");
    QTest::addRow("leading empty lines dropped") << "file" << QByteArray("\r\n\r\nabc\r\n\r\nd") << false
                                                 << QStringLiteral("abc\r\n\r\nd") << QByteArray("abc\r\n\r\nd\r\n");
    QTest::addRow("CR-only line ends") << "file" << QByteArray("a\rb\r") << false << QStringLiteral("a\r\nb") << QByteArray("a\r\nb\r\n");
    // Every character here fits CP932: only the file's own encoding keeps it UTF-8.
    const QByteArray utf8 = QStringLiteral("日本語\r\nかな\r\n").toUtf8();
    QTest::addRow("UTF-8 shown and written back") << "file" << utf8 << false << QStringLiteral("日本語\r\nかな") << utf8;
    const QByteArray sjisFile = QByteArray::fromHex("93FA967B 0D0A B1B2 20 8160 0D0A");
    QTest::addRow("Shift-JIS written back byte for byte") << "file" << sjisFile << false
                                                          << QStringLiteral("日本\r\nｱｲ ") + QChar(0xFF5E) << sjisFile;
    QTest::addRow("cancelled") << "cancel" << QByteArray() << false << QStringLiteral("sheet 1") << QByteArray();
    QTest::addRow("directory keeps the unchanged sheet") << "directory" << QByteArray() << false << QStringLiteral("sheet 1") << QByteArray();
    QTest::addRow("missing file keeps the edited sheet") << "missing" << QByteArray() << true << QStringLiteral("new sheet 1") << QByteArray();
}

void TestFileCommands::open()
{
    QFETCH(QString, choice);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, edited);
    QFETCH(QString, text);
    QFETCH(QByteArray, saved);
    FileHarness h;
    const QString path = h.user(choice == "directory" ? "folder" : "opened.txt");
    if (choice == "file")
        h.writeFile(path, bytes);
    if (choice == "directory")
        QVERIFY(QDir().mkpath(path));
    frmMain &w = h.start();
    if (edited)
        QTest::keyClicks(text1(w), QStringLiteral("new "));
    h.focusAway();
    // Whatever an earlier use left, Open asks for an existing text file.
    h.files.FilterIndex = 2;
    h.files.Flags = CommonDialogFlags::OverwritePrompt;
    h.answer(choice == "cancel", path);

    h.trigger("mnuOpen");

    const bool read = choice == "file";
    QCOMPARE(h.fileDialogsShown(), QStringList{OpenDialog});
    QCOMPARE(h.boxesShown(), read || choice == "cancel" ? QStringList() : QStringList{CannotOpenBox});
    QCOMPARE(text1(w)->Text(), text);
    QCOMPARE(w.sheets().blnChanged(), read || edited);
    QCOMPARE(QApplication::focusWidget(), text1(w));
    // A failed read detaches the captions and Ctrl+S with them, and the path is not kept.
    QCOMPARE(w.sheets().lblRealFile(1), read ? path : QString());
    QCOMPARE(w.windowTitle(), read ? NoFileTitle + QStringLiteral(" - ") + path : NoFileTitle);
    QCOMPARE(h.item("mnuUwa")->isEnabled(), read);
    if (read) {
        QCOMPARE(Harness::bytes(path), bytes);
        // Changed on disk meanwhile, in the same encoding: the write must replace it.
        h.writeFile(path, bytes + "zzz\r\n");
        h.ctrlS();
        QCOMPARE(h.boxesShown(), QStringList{box(path + QStringLiteral("に 上書き保存しますか？"), MsgBoxStyle::YesNo | MsgBoxStyle::Question | MsgBoxStyle::DefaultButton2,
                                                 QStringLiteral("q7_Zibo - 上書き保存確認"))});
        QCOMPARE(Harness::bytes(path), saved);
        QVERIFY(w.sheets().blnChanged());
        QCOMPARE(Harness::bytes(h.sheetPath(1)), QByteArray("sheet 1\r\n"));
    }
    // The sheet's own file takes the text at the next save point.
    h.selectTab(2);
    QCOMPARE(TextFile::read(h.sheetPath(1)).text, text);
    if (read) {
        h.closeWindow();
        QCOMPARE(h.stored("Open", "File0"), path);
    }
}

void TestFileCommands::insertAtCaret_data()
{
    QTest::addColumn<QString>("choice"); // file, cancel, directory or missing
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addRow("replaces the selection") << "file" << QByteArray("\r\nX\r\nY\r\n") << QStringLiteral("aX\r\nYef") << 5;
    QTest::addRow("empty file deletes the selection") << "file" << QByteArray() << QStringLiteral("aef") << 1;
    for (const char *failed : {"cancel", "missing", "directory"})
        QTest::addRow("%s changes nothing", failed) << failed << QByteArray() << QStringLiteral("abcdef") << 1;
}

void TestFileCommands::insertAtCaret()
{
    QFETCH(QString, choice);
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    QFETCH(int, caret);
    FileHarness h;
    const QString path = choice == "directory" ? h.tmp.path() : h.user("part.txt");
    if (choice == "file")
        h.writeFile(path, file);
    h.preset("Open", "File0", h.user("attached.txt"));
    h.writeFile(h.sheetPath(1), "abcdef\r\n");
    frmMain &w = h.start();
    text1(w)->select(1, 3);
    h.answer(choice == "cancel", path);

    h.trigger("mnuSelopen");

    const bool read = choice == "file";
    QCOMPARE(h.fileDialogsShown(), QStringList{OpenDialog});
    QCOMPARE(h.boxesShown(), read || choice == "cancel" ? QStringList() : QStringList{CannotOpenBox});
    QCOMPARE(text1(w)->Text(), text);
    QCOMPARE(text1(w)->SelStart(), caret);
    QCOMPARE(text1(w)->SelLength(), read ? 0 : 3);
    QCOMPARE(w.sheets().blnChanged(), read);
    // Nothing is attached: the sheet keeps its own opened file.
    QCOMPARE(w.sheets().lblRealFile(1), h.user("attached.txt"));
    QCOMPARE(w.sheets().strFileName(), QStringLiteral("q1.txt"));
    if (read) {
        text1(w)->undo();
        QCOMPARE(text1(w)->Text(), QStringLiteral("abcdef"));
    }
}

// Save As and Save the selection, and a failed write of any save command: that is reported and
// changes nothing, with nothing half-written left behind.
void TestFileCommands::saveCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("target"); // file, cancel, directory, read-only file or full disk
    QTest::addColumn<QByteArray>("written"); // the existing file afterwards
    const QByteArray old("old\r\n");
    QTest::addRow("Save As writes the whole text") << "mnuSave" << "file" << QByteArray("a\r\nb\r\nc\r\n");
    QTest::addRow("Save the selection, «b» CR LF") << "mnuSelsave" << "file" << QByteArray("b\r\n\r\n");
    QTest::addRow("Save As cancelled") << "mnuSave" << "cancel" << old;
    QTest::addRow("Save the selection cancelled") << "mnuSelsave" << "cancel" << old;
    for (const char *target : {"directory", "read-only file", "full disk"})
        QTest::addRow("Save As to a %s", target) << "mnuSave" << target << old;
    QTest::addRow("Save the selection to a full disk") << "mnuSelsave" << "full disk" << old;
    QTest::addRow("Ctrl+S to a read-only file") << "Ctrl+S" << "read-only file" << old;
}

void TestFileCommands::saveCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, target);
    QFETCH(QByteArray, written);
    FileHarness h;
    QDir folder(h.user("box"));
    QVERIFY(folder.mkpath("."));
    const QString file = folder.filePath("t.txt");
    h.writeFile(file, "old\r\n");
    QString path = file;
    if (target == "directory") {
        path = folder.filePath("sub");
        QVERIFY(folder.mkdir("sub"));
    } else if (target == "read-only file") {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    } else if (target == "full disk") {
#ifdef Q_OS_UNIX
        // A copy of /dev/full; without the right to make one, the device itself is safe to try.
        struct stat st {};
        QCOMPARE(stat("/dev/full", &st), 0);
        path = folder.filePath("full");
        if (mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, st.st_rdev) != 0)
            path = QStringLiteral("/dev/full");
#else
        QSKIP("POSIX only");
#endif
    }
    const bool ctrlS = command == "Ctrl+S";
    if (ctrlS)
        h.preset("Open", "File0", path);
    frmMain &w = h.start();
    text1(w)->setText(QStringLiteral("a\r\nb\r\nc"));
    text1(w)->select(3, 3); // «b» CR LF
    if (target == "cancel")
        h.focusAway();
    const QString attachedBefore = w.sheets().lblRealFile(1);
    const QStringList before = entries(folder.path());
    // Whatever an earlier use left, both ask before replacing a file.
    const QString earlier = h.user("earlier.txt");
    h.files.FileName = earlier;
    h.files.FilterIndex = 2;
    h.files.Flags = CommonDialogFlags::FileMustExist;
    h.answer(target == "cancel", path);

    if (ctrlS)
        h.ctrlS();
    else
        h.trigger(command);

    const bool failed = target != "file" && target != "cancel";
    const bool attached = command == "mnuSave" && target == "file";
    const QString cannotWrite = box(QDir::toNativeSeparators(path) + QStringLiteral(" に書き込めません。"),
                                    MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, AppTitle);
    QCOMPARE(h.fileDialogsShown(), ctrlS ? QStringList() : QStringList{SaveDialog});
    QCOMPARE(h.boxesShown().mid(ctrlS ? 1 : 0), failed ? QStringList{cannotWrite} : QStringList());
    QCOMPARE(Harness::bytes(file), written);
    QCOMPARE(entries(folder.path()), before);
#ifdef Q_OS_UNIX
    struct stat after {};
    if (target == "full disk")
        QVERIFY(stat(QFile::encodeName(path).constData(), &after) == 0 && S_ISCHR(after.st_mode));
#endif
    QCOMPARE(text1(w)->Text(), QStringLiteral("a\r\nb\r\nc"));
    QCOMPARE(text1(w)->SelStart(), 3);
    QCOMPARE(text1(w)->SelLength(), 3);
    if (target == "cancel")
        QCOMPARE(QApplication::focusWidget(), text1(w));
    QCOMPARE(w.sheets().lblRealFile(1), attached ? path : attachedBefore);
    QCOMPARE(h.item("mnuUwa")->isEnabled(), attached || ctrlS);
    // The sheet itself is saved at its save point, as ever.
    QCOMPARE(Harness::bytes(h.sheetPath(1)), QByteArray("sheet 1\r\n"));
    if (ctrlS)
        return;

    // The next dialog starts with the name chosen last.
    h.files.cancel();
    h.trigger("mnuOpen");
    QCOMPARE(h.files.calls.size(), 2);
    QCOMPARE(h.files.calls[0].fileName, earlier);
    QCOMPARE(h.files.calls[1].fileName, target == "cancel" ? earlier : path);
    if (!attached)
        return;

    // Ctrl+S now targets the saved file, and only on the sheet it belongs to; No leaves the file.
    h.selectTab(2);
    QVERIFY(!h.item("mnuUwa")->isEnabled());
    h.selectTab(1);
    QTest::keyClicks(text1(w), QStringLiteral("z"));
    h.dialogs.answers = {MsgBoxResult::No};
    w.toolbarButton(4)->trigger();
    QCOMPARE(Harness::bytes(path), written);
    h.ctrlS();
    QCOMPARE(h.dialogs.prompts(), QStringList(2, path + QStringLiteral("に 上書き保存しますか？")));
    QCOMPARE(TextFile::read(path).text, QStringLiteral("za\r\nb\r\nc"));
}

// The next start shows the sheet as last written and the settings changed since start.
void TestFileCommands::exitCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("sheet2");
    QTest::addRow("Exit writes the sheet") << "mnuEndno" << QStringLiteral("typed sheet 2");
    QTest::addRow("Exit without saving keeps the last save point") << "mnuNoe" << QStringLiteral("sheet 2");
}

void TestFileCommands::exitCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, sheet2);
    FileHarness h;
    frmMain &w = h.start();
    QTest::keyClicks(text1(w), QStringLiteral("kept "));
    h.selectTab(2); // the save point of sheet 1
    QTest::keyClicks(text1(w), QStringLiteral("typed "));

    h.trigger(command);

    QCOMPARE(h.ended, 1);
    QVERIFY(!w.isVisible());
    QCOMPARE(Harness::bytes(h.sheetPath(1)), QByteArray("kept sheet 1\r\n"));
    frmMain &again = h.start();
    QCOMPARE(again.sheets().currentSheet(), 2);
    QCOMPARE(text1(again)->Text(), sheet2);
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
