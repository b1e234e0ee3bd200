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
#include <QFileInfo>
#include <QMenu>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

const QString CannotOpen = QStringLiteral("ファイルを開けません");

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
    void trigger(const char *name) { window->findChild<QAction *>(QLatin1String(name))->trigger(); }
    void ctrlS()
    {
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window->Text1, Qt::Key_S, Qt::ControlModifier);
    }
    QAction *item(const char *name) const { return window->findChild<QAction *>(QLatin1String(name)); }

    FakeCommonDialog files;
};

QByteArray sjis(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out += char(b);
    return out;
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
}

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    void fileMenuLayout();
    void itemsFollowSelectionAndOpenedFile();
    void newSheet_data();
    void newSheet();
    void open_data();
    void open();
    void openCancelled();
    void openUnreadableKeepsText_data();
    void openUnreadableKeepsText();
    void saveToOpenedKeepsEncoding_data();
    void saveToOpenedKeepsEncoding();
    void saveToOpenedAnsweredNo();
    void saveAs_data();
    void saveAs();
    void saveSelection();
    void saveCancelled_data();
    void saveCancelled();
    void writeFailure_data();
    void writeFailure();
    void insertAtCaret_data();
    void insertAtCaret();
    void insertNothing_data();
    void insertNothing();
    void exitWithoutSaving();
    void exitSavesSheet();
};

void TestFileCommands::fileMenuLayout()
{
    FileHarness h;
    frmMain &w = h.start();
    QCOMPARE(w.mnuFile->title(), QStringLiteral("ﾌｧｲﾙ(&F)"));
    struct Item {
        const char *name;
        const char *caption;
        QKeySequence shortcut;
    };
    const Item expected[] = {
        {"mnuNew", "新規作成(&N)", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuOpen", "開く(&O)", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnuSelopen", "ｶｰｿﾙ位置に読み込み(&I)", {}},
        {"mnuSepaFile", nullptr, {}},
        {"mnuUwa", "開いたﾌｧｲﾙに上書き保存(&S)", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuSave", "名前を付けて保存(&A)", {}},
        {"mnuSelsave", "選択部分を保存(&V)", {}},
        {"mnuSepaFile1", nullptr, {}},
        {"mnuNoe", "保存しないで終了(&E)", {}},
        {"mnuEndno", "終了(&X)", {}},
    };
    const QList<QAction *> actions = w.mnuFile->actions();
    QCOMPARE(actions.size(), int(std::size(expected)));
    for (int i = 0; i < actions.size(); ++i) {
        QCOMPARE(actions[i]->objectName(), QLatin1String(expected[i].name));
        QCOMPARE(actions[i]->isSeparator(), !expected[i].caption);
        if (expected[i].caption)
            QCOMPARE(actions[i]->text(), QString::fromUtf8(expected[i].caption));
        QCOMPARE(actions[i]->shortcut(), expected[i].shortcut);
    }
    // The toolbar's file buttons are the menu's own commands.
    QCOMPARE(w.toolbarButton(1), w.mnuNew);
    QCOMPARE(w.toolbarButton(2), w.mnuOpen);
    QCOMPARE(w.toolbarButton(3), w.mnuSave);
    QCOMPARE(w.toolbarButton(29), w.mnuEndno);
}

// Without opening the menu, the items and Ctrl+S follow the selection and the sheet's file.
void TestFileCommands::itemsFollowSelectionAndOpenedFile()
{
    FileHarness h;
    h.writeFile(h.user("a.txt"), "a\r\n");
    frmMain &w = h.start();
    QVERIFY(!h.item("mnuSelsave")->isEnabled());
    QVERIFY(!h.item("mnuUwa")->isEnabled());

    w.Text1->select(0, 3);
    QVERIFY(h.item("mnuSelsave")->isEnabled());
    w.Text1->setSelStart(0);
    QVERIFY(!h.item("mnuSelsave")->isEnabled());

    // No target: Ctrl+S and the handler itself do nothing and ask nothing.
    h.ctrlS();
    w.mnuUwa_Click();
    QVERIFY(h.dialogs.calls.isEmpty());

    h.files.choose(h.user("a.txt"));
    h.trigger("mnuOpen");
    QVERIFY(h.item("mnuUwa")->isEnabled());
    h.selectTab(2);
    QVERIFY(!h.item("mnuUwa")->isEnabled());
    h.selectTab(1);
    QVERIFY(h.item("mnuUwa")->isEnabled());
    h.dialogs.answers = {MsgBoxResult::No};
    h.ctrlS();
    QCOMPARE(h.dialogs.prompts(), QStringList{h.user("a.txt") + QStringLiteral("に 上書き保存しますか？")});

    h.trigger("mnuNew");
    QVERIFY(!h.item("mnuUwa")->isEnabled());
}

void TestFileCommands::newSheet_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("answer");
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
    h.writeFile(h.sheetPath(1), text.toUtf8() + "\r\n");
    h.preset("Open", "File0", h.user("a.txt"));
    frmMain &w = h.start();
    QCOMPARE(w.Text1->Text(), text);
    w.strUndo = QStringLiteral("snapshot");
    if (answer)
        h.dialogs.answers = {answer};

    h.trigger("mnuNew");

    if (answer) {
        QCOMPARE(h.dialogs.calls.size(), 1);
        QCOMPARE(h.dialogs.calls[0].prompt, QStringLiteral("このテキストを破棄します。"));
        QCOMPARE(h.dialogs.calls[0].title, QStringLiteral("新規作成の確認"));
        QCOMPARE(h.dialogs.calls[0].style, MsgBoxStyle::OKCancel | MsgBoxStyle::Exclamation);
    } else {
        QVERIFY(h.dialogs.calls.isEmpty());
    }
    QCOMPARE(w.strUndo, QStringLiteral("snapshot"));
    if (!discarded) {
        QCOMPARE(w.Text1->Text(), text);
        QVERIFY(!w.blnChanged);
        QCOMPARE(w.lblRealFile[0], h.user("a.txt"));
        QVERIFY(w.toolbarButton(4)->isEnabled());
        return;
    }
    QCOMPARE(w.Text1->Text(), QString());
    QVERIFY(w.blnChanged);
    QCOMPARE(w.lblRealFile[0], QString());
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q1"));
    QVERIFY(!w.toolbarButton(4)->isEnabled());
    QCOMPARE(w.toolbarButton(4)->toolTip(), QString());
    h.selectTab(2);
    QCOMPARE(Harness::bytes(h.sheetPath(1)), QByteArray("\r\n"));
    h.closeWindow();
    QCOMPARE(h.stored("Open", "File0"), QString());
}

void TestFileCommands::open_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addRow("CR LF lines") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\r\nb");
    QTest::addRow("leading empty lines dropped") << QByteArray("\r\n\r\nabc\r\n\r\nd") << QStringLiteral("abc\r\n\r\nd");
    QTest::addRow("CR-only line ends") << QByteArray("a\rb\r") << QStringLiteral("a\r\nb");
    QTest::addRow("lone LF stays in its line") << QByteArray("a\nb\r\n") << QStringLiteral("a\nb");
    QTest::addRow("UTF-8") << QStringLiteral("日本語 ✓\r\nかな\r\n").toUtf8() << QStringLiteral("日本語 ✓\r\nかな");
    QTest::addRow("Shift-JIS") << sjis({0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA, 0x0D, 0x0A, 0xB1, 0x0D, 0x0A})
                               << QStringLiteral("日本語\r\nｱ");
}

void TestFileCommands::open()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    FileHarness h;
    const QString path = h.user("opened.txt");
    h.writeFile(path, bytes);
    frmMain &w = h.start();
    // Whatever an earlier use left, Open asks for an existing text file.
    h.files.FilterIndex = 2;
    h.files.Flags = CommonDialogFlags::OverwritePrompt;
    h.files.choose(path);

    h.trigger("mnuOpen");

    QCOMPARE(h.files.calls.size(), 1);
    QCOMPARE(h.files.calls[0].kind, FakeCommonDialog::Kind::Open);
    QCOMPARE(h.files.calls[0].filterIndex, 1);
    QCOMPARE(h.files.calls[0].flags, int(CommonDialogFlags::FileMustExist));
    QVERIFY(h.dialogs.calls.isEmpty());
    QCOMPARE(w.Text1->Text(), text);
    QVERIFY(w.blnChanged);
    QCOMPARE(w.strFileName, path);
    QCOMPARE(w.lblRealFile[0], path);
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q1 - ") + path);
    QVERIFY(w.toolbarButton(4)->isEnabled());
    QCOMPARE(w.toolbarButton(4)->toolTip(), QStringLiteral("上書き保存－") + path);
    // The sheet's own file takes the text at the next save point; the opened file is untouched.
    h.selectTab(2);
    QCOMPARE(TextFile::read(h.sheetPath(1)).text, text);
    QCOMPARE(Harness::bytes(path), bytes);
    h.closeWindow();
    QCOMPARE(h.stored("Open", "File0"), path);
}

void TestFileCommands::openCancelled()
{
    FileHarness h;
    frmMain &w = h.start();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.Combo1->setFocus();
    h.files.cancel();
    h.trigger("mnuOpen");
    QCOMPARE(h.files.calls.size(), 1);
    QVERIFY(h.dialogs.calls.isEmpty());
    QCOMPARE(w.Text1->Text(), QStringLiteral("sheet 1"));
    QVERIFY(!w.blnChanged);
    QCOMPARE(w.lblRealFile[0], QString());
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q1"));
    QCOMPARE(QApplication::focusWidget(), w.Text1);
}

void TestFileCommands::openUnreadableKeepsText_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("edited");
    QTest::addRow("directory, sheet unchanged") << "directory" << false;
    QTest::addRow("missing file, sheet edited") << "missing" << true;
}

void TestFileCommands::openUnreadableKeepsText()
{
    QFETCH(QString, kind);
    QFETCH(bool, edited);
    FileHarness h;
    const QString path = kind == "directory" ? h.user("folder") : h.user("gone.txt");
    if (kind == "directory")
        QVERIFY(QDir().mkpath(path));
    frmMain &w = h.start();
    if (edited)
        QTest::keyClicks(w.Text1, QStringLiteral("new "));
    const QString before = w.Text1->Text();
    h.files.choose(path);

    h.trigger("mnuOpen");

    QCOMPARE(h.dialogs.calls.size(), 1);
    QCOMPARE(h.dialogs.calls[0].prompt, CannotOpen);
    QCOMPARE(h.dialogs.calls[0].style, int(MsgBoxStyle::OKOnly));
    QCOMPARE(h.dialogs.calls[0].title, AppTitle);
    QCOMPARE(w.Text1->Text(), before);
    QCOMPARE(w.blnChanged, edited);
    // The captions are detached and Ctrl+S with them; the path stays recorded for the sheet.
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q1"));
    QVERIFY(!w.toolbarButton(4)->isEnabled());
    QCOMPARE(w.toolbarButton(4)->toolTip(), QString());
    QVERIFY(!h.item("mnuUwa")->isEnabled());
    QCOMPARE(w.lblRealFile[0], path);
    h.selectTab(2);
    QCOMPARE(Harness::bytes(h.sheetPath(1)), edited ? QByteArray("new sheet 1\r\n") : QByteArray("sheet 1\r\n"));
}

void TestFileCommands::saveToOpenedKeepsEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("written");
    // Every character here fits CP932: only the file's own encoding keeps it UTF-8.
    QTest::addRow("UTF-8 stays UTF-8") << QStringLiteral("日本語\r\nかな\r\n").toUtf8() << QStringLiteral("x")
                                       << QStringLiteral("日本語\r\nかなx\r\n").toUtf8();
    const QByteArray sjisFile = sjis({0x93, 0xFA, 0x96, 0x7B, 0x0D, 0x0A, 0xB1, 0xB2, 0x20, 0x81, 0x60, 0x0D, 0x0A});
    QTest::addRow("Shift-JIS byte for byte") << sjisFile << QString() << sjisFile;
    QTest::addRow("UTF-8 with BOM keeps its BOM") << QByteArray("\xEF\xBB\xBF" "abc\r\n") << QStringLiteral("d")
                                                  << QByteArray("\xEF\xBB\xBF" "abcd\r\n");
}

void TestFileCommands::saveToOpenedKeepsEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, typed);
    QFETCH(QByteArray, written);
    FileHarness h;
    const QString path = h.user("enc.txt");
    h.writeFile(path, bytes);
    frmMain &w = h.start();
    h.files.choose(path);
    h.trigger("mnuOpen");
    w.Text1->setSelStart(w.Text1->Text().size());
    QTest::keyClicks(w.Text1, typed);
    // Changed on disk meanwhile, in the same encoding: the write must replace it.
    h.writeFile(path, bytes + "zzz\r\n");

    h.ctrlS();

    QCOMPARE(h.dialogs.calls.size(), 1);
    QCOMPARE(h.dialogs.calls[0].prompt, path + QStringLiteral("に 上書き保存しますか？"));
    QCOMPARE(h.dialogs.calls[0].title, QStringLiteral("q7_Zibo - 上書き保存確認"));
    QCOMPARE(h.dialogs.calls[0].style, MsgBoxStyle::YesNo | MsgBoxStyle::Question);
    QCOMPARE(Harness::bytes(path), written);
    QVERIFY(w.blnChanged);
    QCOMPARE(w.lblRealFile[0], path);
    QCOMPARE(Harness::bytes(h.sheetPath(1)), QByteArray("sheet 1\r\n"));
}

void TestFileCommands::saveToOpenedAnsweredNo()
{
    FileHarness h;
    const QString path = h.user("a.txt");
    h.writeFile(path, "old\r\n");
    frmMain &w = h.start();
    h.files.choose(path);
    h.trigger("mnuOpen");
    QTest::keyClicks(w.Text1, QStringLiteral("new "));
    h.dialogs.answers = {MsgBoxResult::No};

    w.toolbarButton(4)->trigger();

    QCOMPARE(h.dialogs.calls.size(), 1);
    QCOMPARE(Harness::bytes(path), QByteArray("old\r\n"));
    QCOMPARE(w.Text1->Text(), QStringLiteral("new old"));
    QVERIFY(w.blnChanged);
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q1 - ") + path);

    // Yes writes the opened file only; the sheet's own file waits for its save point.
    w.toolbarButton(4)->trigger();
    QCOMPARE(Harness::bytes(path), QByteArray("new old\r\n"));
    QCOMPARE(Harness::bytes(h.sheetPath(1)), QByteArray("sheet 1\r\n"));
    QVERIFY(w.blnChanged);
    QCOMPARE(w.lblRealFile[0], path);
}

void TestFileCommands::saveAs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");
    QTest::addRow("text") << QStringLiteral("memo") << QByteArray("memo\r\n");
    QTest::addRow("empty sheet") << QString() << QByteArray("\r\n");
    QTest::addRow("ending in a line break") << QStringLiteral("a\r\n") << QByteArray("a\r\n\r\n");
    QTest::addRow("beyond CP932 becomes UTF-8") << QStringLiteral("✓") << QByteArray("\xEF\xBB\xBF\xE2\x9C\x93\r\n");
}

void TestFileCommands::saveAs()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    FileHarness h;
    const QString path = h.user("a.txt");
    h.writeFile(path, "replaced\r\n");
    frmMain &w = h.start();
    w.Text1->setText(text);
    h.files.FilterIndex = 2;
    h.files.Flags = CommonDialogFlags::FileMustExist;
    h.files.choose(path);

    h.trigger("mnuSave");

    QCOMPARE(h.files.calls.size(), 1);
    QCOMPARE(h.files.calls[0].kind, FakeCommonDialog::Kind::Save);
    QCOMPARE(h.files.calls[0].filterIndex, 1);
    QCOMPARE(h.files.calls[0].flags, int(CommonDialogFlags::OverwritePrompt));
    QVERIFY(h.dialogs.calls.isEmpty());
    QCOMPARE(Harness::bytes(path), written);
    QCOMPARE(w.lblRealFile[0], path);
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q1 - ") + path);
    QVERIFY(w.toolbarButton(4)->isEnabled());
    QCOMPARE(w.toolbarButton(4)->toolTip(), QStringLiteral("上書き保存－") + path);
    // The sheet itself is saved at its save point, as ever.
    QCOMPARE(w.strFileName, QStringLiteral("q1.txt"));
    QVERIFY(w.blnChanged);
    QCOMPARE(Harness::bytes(h.sheetPath(1)), QByteArray("sheet 1\r\n"));

    // Ctrl+S now targets the saved file, and only on the sheet it belongs to.
    h.selectTab(2);
    QVERIFY(!h.item("mnuUwa")->isEnabled());
    h.selectTab(1);
    QTest::keyClicks(w.Text1, QStringLiteral("z"));
    h.ctrlS();
    QCOMPARE(h.dialogs.prompts(), QStringList{path + QStringLiteral("に 上書き保存しますか？")});
    QCOMPARE(TextFile::read(path).text, QStringLiteral("z") + text);

    // The next dialog starts with the name chosen last.
    h.files.cancel();
    h.trigger("mnuOpen");
    QCOMPARE(h.files.calls.size(), 2);
    QCOMPARE(h.files.calls[1].fileName, path);
}

void TestFileCommands::saveSelection()
{
    FileHarness h;
    const QString path = h.user("sel.txt");
    frmMain &w = h.start();
    w.Text1->setText(QStringLiteral("a\r\nb\r\nc"));
    w.Text1->select(3, 3); // «b» CR LF
    QVERIFY(h.item("mnuSelsave")->isEnabled());
    h.files.choose(path);

    h.trigger("mnuSelsave");

    QCOMPARE(h.files.calls.size(), 1);
    QCOMPARE(h.files.calls[0].kind, FakeCommonDialog::Kind::Save);
    QCOMPARE(h.files.calls[0].flags, int(CommonDialogFlags::OverwritePrompt));
    QCOMPARE(Harness::bytes(path), QByteArray("b\r\n\r\n"));
    QCOMPARE(w.Text1->SelStart(), 3);
    QCOMPARE(w.Text1->SelLength(), 3);
    QCOMPARE(w.lblRealFile[0], QString());
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q1"));
    QVERIFY(!w.toolbarButton(4)->isEnabled());
}

void TestFileCommands::saveCancelled_data()
{
    QTest::addColumn<QString>("command");
    QTest::addRow("Save As") << "mnuSave";
    QTest::addRow("Save the selection") << "mnuSelsave";
}

void TestFileCommands::saveCancelled()
{
    QFETCH(QString, command);
    FileHarness h;
    frmMain &w = h.start();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.Text1->select(0, 5);
    w.Combo1->setFocus();
    const QStringList before = entries(h.tmp.path());
    h.files.cancel();

    h.trigger(command.toLatin1().constData());

    QCOMPARE(h.files.calls.size(), 1);
    QVERIFY(h.dialogs.calls.isEmpty());
    QCOMPARE(entries(h.tmp.path()), before);
    QCOMPARE(w.lblRealFile[0], QString());
    QVERIFY(!w.toolbarButton(4)->isEnabled());
    QCOMPARE(QApplication::focusWidget(), w.Text1);
}

// A write that fails is reported and changes nothing: no attachment, the old file intact and
// nothing half-written left behind.
void TestFileCommands::writeFailure_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("target");
    for (const char *command : {"Save As", "Save the selection", "Ctrl+S"})
        for (const char *target : {"directory", "read-only file", "full disk"})
            QTest::addRow("%s to a %s", command, target) << QString::fromLatin1(command) << QString::fromLatin1(target);
}

void TestFileCommands::writeFailure()
{
    QFETCH(QString, command);
    QFETCH(QString, target);
    FileHarness h;
    QDir box(h.user("box"));
    QVERIFY(box.mkpath("."));
    QString path = box.filePath("t.txt");
    h.writeFile(path, "old\r\n");
    if (target == "directory") {
        path = box.filePath("sub");
        QVERIFY(box.mkdir("sub"));
    } else if (target == "read-only file") {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    } else {
#ifdef Q_OS_UNIX
        // A copy of /dev/full; without the right to make one, the device itself is safe to try.
        struct stat st {};
        QCOMPARE(stat("/dev/full", &st), 0);
        path = box.filePath("full");
        if (mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, st.st_rdev) != 0)
            path = QStringLiteral("/dev/full");
#else
        QSKIP("POSIX only");
#endif
    }
    frmMain &w = h.start();
    w.Text1->setText(QStringLiteral("precious"));
    w.Text1->select(0, 3);
    if (command == "Ctrl+S") {
        w.lblRealFile[0] = path;
        w.showOpenedFileCaptions();
    }
    const QString attached = w.lblRealFile[0];
    const QString title = w.windowTitle();
    const QStringList before = entries(box.path());
    h.files.choose(path);

    if (command == "Save As")
        h.trigger("mnuSave");
    else if (command == "Save the selection")
        h.trigger("mnuSelsave");
    else
        h.ctrlS();

    const FakeDialogs::Call failure = h.dialogs.calls.value(h.dialogs.calls.size() - 1);
    QCOMPARE(failure.prompt, QDir::toNativeSeparators(path) + QStringLiteral(" に書き込めません。"));
    QCOMPARE(failure.style, MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation);
    QCOMPARE(failure.title, AppTitle);
    QCOMPARE(w.lblRealFile[0], attached);
    QCOMPARE(w.windowTitle(), title);
    QCOMPARE(w.Text1->Text(), QStringLiteral("precious"));
    QVERIFY(w.blnChanged);
    QCOMPARE(entries(box.path()), before);
    QCOMPARE(Harness::bytes(box.filePath("t.txt")), QByteArray("old\r\n"));
#ifdef Q_OS_UNIX
    struct stat after {};
    if (target == "full disk")
        QVERIFY(stat(QFile::encodeName(path).constData(), &after) == 0 && S_ISCHR(after.st_mode));
#endif
}

void TestFileCommands::insertAtCaret_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addRow("replaces three selected characters") << QByteArray("\r\nX\r\nY\r\n") << 1 << 3
                                                       << QStringLiteral("aX\r\nYef") << 5;
    QTest::addRow("at the caret") << QByteArray("Z") << 2 << 0 << QStringLiteral("abZcdef") << 3;
    QTest::addRow("empty file deletes the selection") << QByteArray() << 1 << 3 << QStringLiteral("aef") << 1;
}

void TestFileCommands::insertAtCaret()
{
    QFETCH(QByteArray, file);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, text);
    QFETCH(int, caret);
    FileHarness h;
    const QString path = h.user("part.txt");
    h.writeFile(path, file);
    h.preset("Open", "File0", h.user("attached.txt"));
    frmMain &w = h.start();
    w.Text1->setText(QStringLiteral("abcdef"));
    w.blnChanged = false;
    w.Text1->select(start, length);
    h.files.choose(path);

    h.trigger("mnuSelopen");

    QCOMPARE(h.files.calls.size(), 1);
    QCOMPARE(h.files.calls[0].kind, FakeCommonDialog::Kind::Open);
    QCOMPARE(h.files.calls[0].flags, int(CommonDialogFlags::FileMustExist));
    QVERIFY(h.dialogs.calls.isEmpty());
    QCOMPARE(w.Text1->Text(), text);
    QCOMPARE(w.Text1->SelStart(), caret);
    QCOMPARE(w.Text1->SelLength(), 0);
    QVERIFY(w.blnChanged);
    // Nothing is attached: the sheet keeps its own opened file.
    QCOMPARE(w.lblRealFile[0], h.user("attached.txt"));
    QCOMPARE(w.windowTitle(), QStringLiteral("q7 Zibo q1 - ") + h.user("attached.txt"));
    QCOMPARE(w.strFileName, QStringLiteral("q1.txt"));
    w.Text1->undo();
    QCOMPARE(w.Text1->Text(), QStringLiteral("abcdef"));
}

void TestFileCommands::insertNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addRow("cancelled") << "cancel";
    QTest::addRow("missing file") << "missing";
    QTest::addRow("directory") << "directory";
}

void TestFileCommands::insertNothing()
{
    QFETCH(QString, kind);
    FileHarness h;
    frmMain &w = h.start();
    w.Text1->select(0, 3);
    if (kind == "cancel")
        h.files.cancel();
    else
        h.files.choose(kind == "directory" ? h.tmp.path() : h.user("gone.txt"));

    h.trigger("mnuSelopen");

    QCOMPARE(h.dialogs.prompts(), kind == "cancel" ? QStringList() : QStringList{CannotOpen});
    if (kind != "cancel") {
        QCOMPARE(h.dialogs.calls[0].style, int(MsgBoxStyle::OKOnly));
        QCOMPARE(h.dialogs.calls[0].title, AppTitle);
    }
    QCOMPARE(w.Text1->Text(), QStringLiteral("sheet 1"));
    QCOMPARE(w.Text1->SelLength(), 3);
    QVERIFY(!w.blnChanged);
}

void TestFileCommands::exitWithoutSaving()
{
    FileHarness h;
    frmMain &w = h.start();
    QTest::keyClicks(w.Text1, QStringLiteral("kept "));
    h.selectTab(2); // the save point of sheet 1
    QTest::keyClicks(w.Text1, QStringLiteral("lost "));
    w.Label1[3] = QStringLiteral("|");

    h.trigger("mnuNoe");

    QCOMPARE(h.ended, 1);
    QVERIFY(!w.isVisible());
    QCOMPARE(Harness::bytes(h.sheetPath(2)), QByteArray("sheet 2\r\n"));
    QCOMPARE(Harness::bytes(h.sheetPath(1)), QByteArray("kept sheet 1\r\n"));

    // The next start shows the last save point's text and the settings changed since start.
    frmMain &again = h.start();
    QCOMPARE(again.currentSheet(), 2);
    QCOMPARE(again.Text1->Text(), QStringLiteral("sheet 2"));
    QCOMPARE(again.Label1[3], QStringLiteral("|"));
}

void TestFileCommands::exitSavesSheet()
{
    FileHarness h;
    frmMain &w = h.start();
    QTest::keyClicks(w.Text1, QStringLiteral("typed "));
    w.toolbarButton(29)->trigger();
    QCOMPARE(h.ended, 1);
    QVERIFY(!w.isVisible());
    QCOMPARE(Harness::bytes(h.sheetPath(1)), QByteArray("typed sheet 1\r\n"));
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
