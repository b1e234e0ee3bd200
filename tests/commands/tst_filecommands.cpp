// The File menu's commands on the main window, with scripted file dialogs and message boxes,
// against real files in temporary folders.
#include "fakecommondialog.h"
#include "harness.h"
#include "sheets/textfile.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>

namespace {

QString box(const QString &prompt, int style, const QString &title)
{
    return prompt + u'|' + QString::number(style) + u'|' + title;
}
const QString CannotOpenBox = box(QStringLiteral("ファイルを開けません"), MsgBoxStyle::OKOnly, AppTitle);

QString dialog(const char *kind, int flags, const QString &from = {})
{
    return QStringLiteral("%1 filter 1 flags %2 from %3").arg(kind).arg(flags).arg(from);
}
const QString OpenDialog = dialog("Open", CommonDialogFlags::FileMustExist);

// A main window whose file dialogs are the scripted fake.
class FileHarness : public Harness {
public:
    FileHarness()
    {
        writeSheets();
        configure = [this](FrmMainEnv &env) { env.commonDialog = &files; };
    }
    // User files live beside the program folder, not in it.
    QString user(const QString &name) const { return tmp.filePath(name); }
    void trigger(const QString &name) { action(*window, name)->trigger(); }
    // The next file dialog chooses path (null: cancels); it starts as an earlier use of the
    // other kind may have left it.
    void answer(const QString &path, int leftFlags)
    {
        files.FilterIndex = 2;
        files.Flags = leftFlags;
        files.answers << path;
    }
    void ctrlS()
    {
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(text1(*window), Qt::Key_S, Qt::ControlModifier);
    }
    // Focus elsewhere, to see a command give it back to the text.
    void focusAway()
    {
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->findChild<QComboBox *>(QStringLiteral("launcherBox"))->setFocus();
    }
    // Each box by its first line: the reason a failure adds below it is the text-file layer's.
    QStringList boxesShown() const
    {
        QStringList out;
        for (const FakeDialogs::Call &c : dialogs.calls)
            out << box(c.prompt.section(u'\n', 0, 0), c.style, c.title);
        return out;
    }

    FakeCommonDialog files;
};

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    void newSheet_data()
    {
        QTest::addColumn<int>("answer"); // 0: the sheet is empty, nothing is asked
        QTest::addRow("empty sheet asks nothing") << 0;
        QTest::addRow("OK discards the text") << int(MsgBoxResult::OK);
        QTest::addRow("Cancel changes nothing") << int(MsgBoxResult::Cancel);
    }
    void newSheet()
    {
        QFETCH(int, answer);
        const QString text = answer ? QStringLiteral("keep\r\nme") : QString();
        const bool discarded = answer != MsgBoxResult::Cancel;
        FileHarness h;
        h.writeFile(h.sheetPath(1), text.toUtf8() + "\r\n");
        h.preset("Open", "File0", h.user("a.txt"));
        frmMain &w = h.start();
        h.dialogs.answers = {answer};

        h.trigger("newAction");

        const QString ask = box(QStringLiteral("このテキストを破棄します。"), MsgBoxStyle::OKCancel | MsgBoxStyle::Exclamation | MsgBoxStyle::DefaultButton2,
                                QStringLiteral("新規作成の確認"));
        QCOMPARE(h.boxesShown(), answer ? QStringList{ask} : QStringList());
        QCOMPARE(text1(w)->Text(), discarded ? QString() : text);
        // The emptied sheet is written at its save point; Ctrl+S must not write it over the file.
        QCOMPARE(w.sheets().changed(), discarded);
        QCOMPARE(w.sheets().openedFile(1), discarded ? QString() : h.user("a.txt"));
        QCOMPARE(action(w, "saveToOpenedFileAction")->isEnabled(), !discarded);
    }

    // Open, and for a file read, Ctrl+S writing it back in its own form.
    void open_data()
    {
        QTest::addColumn<QString>("choice"); // file, cancel, directory or missing
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QString>("text");
        QTest::addRow("UTF-8 file with LF line ends") << "file" << false << QStringLiteral("日本語\r\nかな");
        QTest::addRow("CP932 file in second codes keeps them, sheet file too") << "file in second codes" << false
                                                                             << QStringLiteral("∵纊\r\nかな");
        QTest::addRow("cancelled") << "cancel" << false << QStringLiteral("sheet 1");
        QTest::addRow("directory keeps the unchanged sheet") << "directory" << false << QStringLiteral("sheet 1");
        QTest::addRow("missing file keeps the edited sheet") << "missing" << true << QStringLiteral("new sheet 1");
    }
    void open()
    {
        QFETCH(QString, choice);
        QFETCH(bool, edited);
        QFETCH(QString, text);
        FileHarness h;
        const QString path = h.user(choice == "directory" ? "folder" : "opened.txt");
        // Every character fits CP932: only the file's own form keeps it UTF-8 with LF.
        const bool secondCodes = choice == "file in second codes";
        const QByteArray bytes = secondCodes ? QByteArray("\x87\x9A\xED\x40\r\n\x82\xA9\x82\xC8\r\n")
                                             : QStringLiteral("日本語\nかな\n").toUtf8();
        if (choice.startsWith("file"))
            h.writeFile(path, bytes);
        if (choice == "directory")
            QVERIFY(QDir().mkpath(path));
        frmMain &w = h.start();
        if (edited)
            QTest::keyClicks(text1(w), QStringLiteral("new "));
        h.focusAway();
        h.answer(choice == "cancel" ? QString() : path, CommonDialogFlags::OverwritePrompt);

        h.trigger("openAction");

        const bool read = choice.startsWith("file");
        QCOMPARE(h.files.shown, QStringList{OpenDialog});
        QCOMPARE(h.boxesShown(), read || choice == "cancel" ? QStringList() : QStringList{CannotOpenBox});
        QCOMPARE(text1(w)->Text(), text);
        QCOMPARE(w.sheets().changed(), read || edited);
        QCOMPARE(QApplication::focusWidget(), text1(w));
        // A failed read detaches the file and Ctrl+S with it: the path is not kept.
        QCOMPARE(w.sheets().openedFile(1), read ? path : QString());
        QCOMPARE(action(w, "saveToOpenedFileAction")->isEnabled(), read);
        if (read) {
            // Changed on disk meanwhile, in the same form: the write must replace it.
            h.writeFile(path, "zzz\n" + bytes);
            h.ctrlS();
            QCOMPARE(h.boxesShown(), QStringList{box(path + QStringLiteral("に 上書き保存しますか？"), MsgBoxStyle::YesNo | MsgBoxStyle::Question | MsgBoxStyle::DefaultButton2,
                                                     QStringLiteral("q7_Zibo - 上書き保存確認"))});
            QCOMPARE(Harness::bytes(path), bytes);
        }
        // The sheet's own file takes the text at the next save point.
        h.selectTab(2);
        QCOMPARE(TextFile::read(h.sheetPath(1)).text, text);
        if (secondCodes)
            QCOMPARE(Harness::bytes(h.sheetPath(1)), bytes);
    }

    // A file that cannot be read changes nothing; one read replaces the selection as one edit
    // the box undoes. Neither is attached: the sheet keeps its own opened file.
    void insertAtCaret()
    {
        FileHarness h;
        h.preset("Open", "File0", h.user("attached.txt"));
        h.writeFile(h.sheetPath(1), "abcdef\r\n");
        frmMain &w = h.start();
        text1(w)->select(1, 3);
        const QString path = h.user("part.txt");
        h.answer(path, CommonDialogFlags::OverwritePrompt);
        h.trigger("insertFileAction");
        QCOMPARE(h.files.shown, QStringList{OpenDialog});
        QCOMPARE(h.boxesShown(), QStringList{CannotOpenBox});
        QCOMPARE(text1(w)->Text(), QStringLiteral("abcdef"));

        h.writeFile(path, "\r\nX\r\nY\r\n");
        h.answer(path, CommonDialogFlags::OverwritePrompt);
        h.trigger("insertFileAction");
        QCOMPARE(text1(w)->Text(), QStringLiteral("aX\r\nYef"));
        QCOMPARE(w.sheets().openedFile(1), h.user("attached.txt"));
        text1(w)->undo();
        QCOMPARE(text1(w)->Text(), QStringLiteral("abcdef"));
    }

    // Save As and Save the selection, and a failed write of any save command: that is reported
    // with its reason and changes nothing (a full disk: tst_textfile).
    void saveCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("target"); // file, cancel or read-only
        QTest::addColumn<QByteArray>("written"); // the existing file afterwards
        const QByteArray old("old\r\n");
        QTest::addRow("Save As writes the whole text") << "saveAsAction" << "file" << QByteArray("a\r\nb\r\nc\r\n");
        QTest::addRow("Save the selection, «b» CR LF") << "saveSelectionAction" << "file" << QByteArray("b\r\n\r\n");
        QTest::addRow("Save As cancelled") << "saveAsAction" << "cancel" << old;
        QTest::addRow("Save As to a read-only file") << "saveAsAction" << "read-only" << old;
        QTest::addRow("Save the selection to a read-only file") << "saveSelectionAction" << "read-only" << old;
        QTest::addRow("Ctrl+S to a read-only file") << "Ctrl+S" << "read-only" << old;
    }
    void saveCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, target);
        QFETCH(QByteArray, written);
        FileHarness h;
        const QString path = h.user("t.txt");
        h.writeFile(path, "old\r\n");
        if (target == "read-only")
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        const bool ctrlS = command == "Ctrl+S";
        if (ctrlS)
            h.preset("Open", "File0", path);
        frmMain &w = h.start();
        text1(w)->setText(QStringLiteral("a\r\nb\r\nc"));
        text1(w)->select(3, 3); // «b» CR LF
        if (target == "cancel")
            h.focusAway();
        const QString earlier = h.user("earlier.txt");
        h.files.FileName = earlier;
        h.answer(target == "cancel" ? QString() : path, CommonDialogFlags::FileMustExist);

        if (ctrlS)
            h.ctrlS();
        else
            h.trigger(command);

        const bool attached = command == "saveAsAction" && target == "file";
        const QString cannotWrite = box(QDir::toNativeSeparators(path) + QStringLiteral(" に書き込めません。"),
                                        MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, AppTitle);
        QCOMPARE(h.files.shown, ctrlS ? QStringList() : QStringList{dialog("Save", CommonDialogFlags::OverwritePrompt, earlier)});
        const bool failed = target == "read-only";
        QCOMPARE(h.boxesShown().mid(ctrlS ? 1 : 0), failed ? QStringList{cannotWrite} : QStringList());
        if (failed)
            QVERIFY(h.dialogs.calls.last().prompt.section(u'\n', 1) != QString());
        QCOMPARE(Harness::bytes(path), written);
        if (target == "cancel")
            QCOMPARE(QApplication::focusWidget(), text1(w));
        QCOMPARE(w.sheets().openedFile(1), attached || ctrlS ? path : QString());
        QCOMPARE(action(w, "saveToOpenedFileAction")->isEnabled(), attached || ctrlS);
        if (ctrlS)
            return;

        // The next dialog starts with the name chosen last.
        h.trigger("openAction");
        QCOMPARE(h.files.shown.last(), dialog("Open", CommonDialogFlags::FileMustExist, target == "cancel" ? earlier : path));
        if (!attached)
            return;

        // Ctrl+S now targets the saved file, and only on the sheet it belongs to; No leaves the file.
        h.selectTab(2);
        QVERIFY(!action(w, "saveToOpenedFileAction")->isEnabled());
        h.selectTab(1);
        QTest::keyClicks(text1(w), QStringLiteral("z"));
        h.dialogs.answers = {MsgBoxResult::No};
        w.toolbarButton(4)->trigger();
        QCOMPARE(Harness::bytes(path), written);
        h.ctrlS();
        QCOMPARE(h.dialogs.prompts(), QStringList(2, path + QStringLiteral("に 上書き保存しますか？")));
        QCOMPARE(TextFile::read(path).text, QStringLiteral("za\r\nb\r\nc"));
    }

    // The next start shows the sheet that was current, as last written: Exit without saving
    // keeps its last save point, Exit writes it.
    void exitCommands()
    {
        FileHarness h;
        h.start();
        for (int sheet : {2, 3}) {
            h.selectTab(sheet);
            QTest::keyClicks(text1(*h.window), QStringLiteral("typed "));
            h.trigger(sheet == 2 ? "exitWithoutSavingAction" : "exitAction");
            QCOMPARE(h.ended, sheet - 1);
            frmMain &again = h.start();
            QCOMPARE(again.sheets().currentSheet(), sheet);
            QCOMPARE(text1(again)->Text(), sheet == 2 ? QStringLiteral("sheet 2") : QStringLiteral("typed sheet 3"));
        }
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
