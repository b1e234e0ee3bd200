// The File menu's commands and the sheet files on a bare text box, with scripted file dialogs
// and message boxes, against real files in a temporary folder.
#include "../editor/fakehost.h"
#include "commands/FileController.h"
#include "fakecommondialog.h"
#include "sheets/SheetSession.h"
#include "testfiles.h"

#include <QAction>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TextFile::FileForm)

namespace {

QString box(const QString &prompt, const MessageStyle &style, const QString &title) { return prompt + u'|' + styleText(style) + u'|' + title; }
// The overwrite question, No by default; a warning when the file is not as it was read (why).
QString overwrite(const QString &path, const QString &why = {})
{
    return box(why.isEmpty() ? path + u"に 上書き保存しますか？"_s : QDir::toNativeSeparators(path) + why + u"上書きしますか？"_s,
               MessageStyle{why.isEmpty() ? QMessageBox::Question : QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No},
               u"q7_Zibo - 上書き保存確認"_s);
}

// Sheet 1's file (LF, ∵ in its NEC code) in a program folder, user files beside it, and file
// dialogs left as another use may leave them.
struct Files {
    QTemporaryDir tmp;
    FakeHost host;
    SheetSession sheets{tmp.filePath(u"prog"_s)};
    FakeCommonDialog dialog;
    FileController controller{host, sheets, &dialog};

    // The save form asked for: each start recorded as the status bar says it; the answer
    // given, or the start kept; cancelled when told.
    QStringList formsShown;
    std::optional<TextFile::FileForm> formAnswer;
    bool formCancelled = false;

    Files()
    {
        controller.setFormChooser([this](QWidget *, TextFile::FileForm &form) {
            formsShown << panel(form);
            form = formAnswer.value_or(form);
            return !formCancelled;
        });
        QDir().mkpath(sheets.programDir());
        QVERIFY(putFile(sheets.sheetFilePath(1), "sheet 1 \x87\x9a\n"));
        dialog.FilterIndex = 2;
        dialog.Flags = CommonDialogFlags::OverwritePrompt | CommonDialogFlags::FileMustExist;
    }
    QString user(const QString &name) const { return tmp.filePath(name); }
    static QString panel(const TextFile::FileForm &form) { return TextCodec::statusLabel(form.encoding, form.lineEnds); }
    QString panel() const { return panel(sheets.shownForm()); }
    void trigger(const QString &name) { controller.findChild<QAction *>(name)->trigger(); }
    QStringList boxes() const
    {
        QStringList out;
        for (const FakeDialogs::Call &c : host.dialogs.calls)
            out << box(c.prompt, c.style, c.title);
        return out;
    }
};

} // namespace

class TestFileController : public QObject {
    Q_OBJECT
private slots:
    // New asks only when there is text, Cancel by default; it empties the sheet, whose file
    // takes that at its save point, and detaches the opened file: Ctrl+S must not write it over.
    void newSheet()
    {
        Files f;
        f.host.box.setText(u"keep"_s);
        f.host.dialogs.answers = {QMessageBox::Cancel, QMessageBox::Ok};
        for (const QString &text : {u"keep"_s, u""_s, u""_s}) {
            f.sheets.setOpenedFile(1, f.user(u"a.txt"_s));
            f.sheets.setChanged(false);
            f.trigger(u"newAction"_s);
            QCOMPARE(f.host.box.Text() + u'|' + QString::number(f.sheets.changed()) + u'|' + f.sheets.saveTarget(),
                     text.isEmpty() ? u"|1|"_s : u"keep|0|"_s + f.user(u"a.txt"_s));
        }
        const MessageStyle style{QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel};
        QCOMPARE(f.boxes(), QStringList(2, box(u"このテキストを破棄します。"_s, style, u"新規作成の確認"_s)));
    }

    // Open, and a file inserted that cannot be read; Ctrl+S writes an opened file back in its own
    // form. The sheet's own file takes the text at the next save point, only when it changed.
    void open_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("choice"); // file, cancel, folder or missing
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QByteArray>("sheetFile");
        QTest::addRow("UTF-8 file with LF line ends")
            << "openAction" << "file" << u"日本語\r\nかな"_s << QString() << QByteArray("\x93\xfa\x96\x7b\x8c\xea\r\n\x82\xa9\x82\xc8\r\n");
        QTest::addRow("CP932 file in second codes keeps them, sheet file too")
            << "openAction" << "file in second codes" << u"∵纊\r\nかな"_s << QString() << QByteArray("\x87\x9A\xED\x40\r\n\x82\xA9\x82\xC8\r\n");
        const QString sheet = u"sheet 1 ∵"_s, missing = u"ファイルが見つかりません。"_s;
        const QByteArray sheetFile("sheet 1 \x87\x9a\n");
        QTest::addRow("cancelled") << "openAction" << "cancel" << sheet << QString() << sheetFile;
        QTest::addRow("folder keeps the typed sheet") << "openAction" << "folder" << u"new "_s + sheet << u"フォルダーです。"_s << QByteArray("new sheet 1 \x87\x9a\r\n");
        QTest::addRow("missing file keeps the unchanged sheet") << "openAction" << "missing" << sheet << missing << sheetFile;
        QTest::addRow("missing file inserted changes nothing") << "insertFileAction" << "missing" << sheet << missing << sheetFile;
    }
    void open()
    {
        QFETCH(QString, command);
        QFETCH(QString, choice);
        QFETCH(QString, failure);
        QFETCH(QByteArray, sheetFile);
        Files f;
        const QString path = f.user(choice);
        // Every character fits CP932: only the file's own form keeps it UTF-8 with LF.
        const QByteArray content = choice == "file" ? u"日本語\nかな\n"_s.toUtf8() : sheetFile;
        const bool read = choice.startsWith("file");
        if (read)
            QVERIFY(putFile(path, content));
        if (choice == "folder")
            QVERIFY(QDir().mkpath(path));
        f.controller.loadSheet();
        // Typed: the box gives its text to the save a piece at a time.
        const bool typed = choice == "folder";
        if (typed)
            QTest::keyClicks(&f.host.box, u"new "_s);
        f.sheets.setChanged(typed);
        f.sheets.setOpenedFile(1, f.user(u"earlier.txt"_s));
        f.dialog.answers << (choice == "cancel" ? QString() : path);

        f.trigger(command);

        QCOMPARE(f.dialog.shown, QStringList{u"Open filter 1 flags %1 from "_s.arg(CommonDialogFlags::FileMustExist)});
        QCOMPARE(f.boxes(), failure.isNull() ? QStringList() : QStringList{box(u"ファイルを開けません\n"_s + failure, MessageStyle{}, AppTitle)});
        // A file that could not be read never becomes Ctrl+S's target.
        QCOMPARE(QString::number(f.sheets.changed()) + f.sheets.saveTarget(), QString::number(read || typed) + (read ? path : f.user(u"earlier.txt"_s)));
        if (read) {
            // Changed on disk meanwhile, in the same form: asked so, the write must replace it.
            QVERIFY(putFile(path, "zzz\n" + content));
            f.trigger(u"saveToOpenedFileAction"_s);
            QCOMPARE(f.boxes(), QStringList{overwrite(path, u" はほかのプログラムで変更されています。"_s)});
            QCOMPARE(fileBytes(path), content);
        }
        QSignalSpy saved(&f.controller, &FileController::sheetSaved);
        QVERIFY(f.controller.saveSheet());
        QCOMPARE(fileBytes(f.sheets.sheetFilePath(1)), sheetFile);
        QCOMPARE(saved.size(), int(read || typed));
        QTEST(f.host.box.Text(), "text");
    }

    // A file read at the caret replaces the selection as one undoable edit and is not attached.
    // A failed save of the sheet file is no save point: its recovery copy must stay.
    void insertAtCaret()
    {
        Files f;
        f.sheets.setOpenedFile(1, f.user(u"attached.txt"_s));
        f.host.box.setText(u"abcdef"_s);
        f.host.box.select(1, 3);
        QVERIFY(putFile(f.user(u"part.txt"_s), "\r\nX\r\nY\r\n"));
        f.dialog.answers << f.user(u"part.txt"_s);
        f.trigger(u"insertFileAction"_s);
        QCOMPARE(f.host.box.Text() + u'|' + QString::number(f.sheets.changed()) + u'|' + f.sheets.saveTarget(),
                 u"aX\r\nYef|1|"_s + f.user(u"attached.txt"_s));
        f.host.box.undo();
        QCOMPARE(f.host.box.Text(), u"abcdef"_s);
        QVERIFY(QFile::remove(f.sheets.sheetFilePath(1)) && QDir().mkdir(f.sheets.sheetFilePath(1)));
        QSignalSpy saved(&f.controller, &FileController::sheetSaved);
        QVERIFY(!f.controller.saveSheet(false) && saved.isEmpty());
    }

    // Save As, Save the selection and the overwrite of the opened file, on sheet 3: a failed
    // write is reported with its reason and changes nothing (a full disk: tst_textfile). A file
    // opened with NUL bytes near its start (UTF-16 aside) is no text, said so; Ctrl+S warns first.
    void saveCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("target"); // file, cancel (or No), read-only, or one opened that is answered No
        QTest::addColumn<QByteArray>("written"); // the existing file afterwards
        const QByteArray old("old\r\n");
        QTest::addRow("Save As writes the whole text") << "saveAsAction" << "file" << QByteArray("a\r\nb\r\nc\r\n");
        QTest::addRow("Save the selection, «b» CR LF") << "saveSelectionAction" << "file" << QByteArray("b\r\n\r\n");
        QTest::addRow("Save As cancelled") << "saveAsAction" << "cancel" << old;
        QTest::addRow("Save As to a read-only file") << "saveAsAction" << "read-only" << old;
        QTest::addRow("overwrite answered No") << "saveToOpenedFileAction" << "cancel" << old;
        QTest::addRow("overwrite of a read-only file") << "saveToOpenedFileAction" << "read-only" << old;
        QTest::addRow("overwrite of a binary file") << "saveToOpenedFileAction" << "opened binary"
                                                    << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
        QTest::addRow("overwrite of BOM-less UTF-16") << "saveToOpenedFileAction" << "opened UTF-16" << QByteArray("a\0b\0", 4);
    }
    void saveCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, target);
        QFETCH(QByteArray, written);
        Files f;
        const QString path = f.user(u"t.txt"_s);
        const bool opened = target.startsWith("opened"), binary = target.endsWith("binary");
        QVERIFY(putFile(path, opened ? written : "old\r\n"));
        if (target == "read-only")
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        f.sheets.setCurrentSheet(3);
        const bool overwriting = command == "saveToOpenedFileAction";
        if (opened)
            QVERIFY(f.controller.openIntoSheet(path));
        else if (overwriting)
            f.sheets.setOpenedFile(3, path);
        f.host.box.setText(u"a\r\nb\r\nc"_s);
        f.host.box.select(3, 3); // «b» CR LF
        f.dialog.FileName = f.user(u"earlier.txt"_s);
        f.dialog.answers << (target == "cancel" ? QString() : path);
        f.host.dialogs.answers = {target == "cancel" || opened ? QMessageBox::No : QMessageBox::Yes};
        f.host.besides = 0;

        f.trigger(command);
        // A write goes beside the window's thread, which goes on painting.
        QCOMPARE(f.host.besides, int(target == "file" || target == "read-only"));

        const QString saveDialog = u"Save filter 1 flags %1 from %2"_s.arg(CommonDialogFlags::OverwritePrompt).arg(f.user(u"earlier.txt"_s));
        QCOMPARE(f.dialog.shown, overwriting ? QStringList() : QStringList{saveDialog});
        const QStringList failed{box(QDir::toNativeSeparators(path) + u" に書き込めません。\n読み取り専用です。"_s, MessageStyle{QMessageBox::Warning}, AppTitle)};
        const QString notText = u" はテキストファイルではありません。"_s;
        QCOMPARE(f.boxes(), (overwriting ? QStringList{overwrite(path, binary ? notText : QString())} : QStringList())
                                + (target == "read-only" ? failed : QStringList()));
        QCOMPARE(f.host.notes, binary ? QStringList{u"t.txt"_s + notText} : QStringList());
        QCOMPARE(fileBytes(path), written);
        // Save As attaches the file it wrote: Ctrl+S writes there next.
        QCOMPARE(f.sheets.saveTarget(), overwriting || (command == "saveAsAction" && target == "file") ? path : QString());
    }

    // A file read again in a named encoding (an opened one, or the sheet's own) shows the text
    // so read, and Ctrl+S writes the opened file in that encoding; detection again forgets it.
    // The sheet's own file takes the text at its save point, with CR LF as sheet files have.
    void reopen_data()
    {
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("items");
        QTest::addColumn<QString>("shown"); // text and form after the items, then 日本 is typed before the text
        QTest::addColumn<QByteArray>("saved");
        const QByteArray euc("\xC6\xFC\xCB\xDC\n");
        QTest::addRow("EUC-JP named after Shift_JIS") << true << euc << "reopenCp932Action reopenEucJpAction" << u"日本|EUC-JP LF"_s
                                                     << QByteArray("\xC6\xFC\xCB\xDC\xC6\xFC\xCB\xDC\n");
        QTest::addRow("JIS named on ASCII sticks") << true << QByteArray("abc\r\n") << "reopenIso2022JpAction" << u"abc|JIS CRLF"_s
                                                   << QByteArray("\x1b$BF|K\\\x1b(Babc\r\n");
        QTest::addRow("detection again forgets it") << true << QByteArray("abc\n") << "reopenEucJpAction reopenDetectedAction"
                                                    << u"abc|SJIS LF"_s << QByteArray("\x93\xfa\x96\x7b" "abc\n");
        QTest::addRow("own file named EUC-JP, CR LF at its save point") << false << euc << "reopenEucJpAction" << u"日本|EUC-JP LF"_s
                                                                        << QByteArray("\xC6\xFC\xCB\xDC\xC6\xFC\xCB\xDC\r\n");
    }
    void reopen()
    {
        QFETCH(bool, opened);
        QFETCH(QByteArray, content);
        QFETCH(QString, items);
        QFETCH(QByteArray, saved);
        Files f;
        const QString path = opened ? f.user(u"e.txt"_s) : f.sheets.sheetFilePath(1);
        QVERIFY(putFile(path, content));
        f.controller.loadSheet();
        QVERIFY(!opened || f.controller.openIntoSheet(path));
        for (const QString &item : items.split(u' '))
            f.trigger(item);
        QTEST(f.host.box.Text() + u'|' + f.panel(), "shown");
        QCOMPARE(f.boxes(), QStringList());
        f.host.box.setText(u"日本"_s + f.host.box.Text());
        f.host.besides = 0;
        if (opened)
            f.trigger(u"saveToOpenedFileAction"_s);
        else
            QVERIFY(f.controller.saveSheet());
        QCOMPARE(fileBytes(path), saved);
        QCOMPARE(f.host.besides, 1); // a kept text is written beside the window's thread
    }

    // A reopen asks first about unsaved changes, No by default, and No keeps them. The status
    // bar's form follows the sheet: its opened file's, else its own file's.
    void reopenAsksFirstAndShownForm()
    {
        Files f;
        const QString path = f.user(u"e.txt"_s);
        QVERIFY(putFile(path, "\xC6\xFC\xCB\xDC\r\n"));
        f.controller.loadSheet();
        QStringList seen{f.panel()};
        QVERIFY(f.controller.openIntoSheet(path));
        seen << f.panel();
        f.host.box.setText(u"typed"_s);
        f.host.dialogs.answers = {QMessageBox::No, QMessageBox::Yes};
        for (const QString &text : {u"typed"_s, u"日本"_s}) {
            f.trigger(u"reopenEucJpAction"_s);
            QCOMPARE(f.host.box.Text(), text);
        }
        const MessageStyle style{QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
        QCOMPARE(f.boxes(), QStringList(2, box(u"このシートの変更は失われます。"_s + QDir::toNativeSeparators(path) + u" を開き直しますか？"_s,
                                               style, u"開き直しの確認"_s)));
        for (int sheet : {2, 1}) {
            QVERIFY(f.controller.saveSheet());
            f.sheets.setCurrentSheet(sheet);
            f.controller.loadSheet();
            seen << f.panel();
        }
        QCOMPARE(seen.join(u','), u"SJIS LF,EUC-JP CRLF,SJIS CRLF,EUC-JP CRLF"_s);
    }

    // Save As and Save Selection ask for the form, starting from the sheet's encoding and its
    // opened file's line ends (CR LF for a text of its own), and write in the answer; Save As's
    // answer is Ctrl+S's from then on. A cancel writes nothing. A Japanese encoding that cannot
    // hold the text gives way to UTF-8 with a BOM, and says so.
    void saveInForm_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("text"); // null: an opened EUC-JP file with LF line ends
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<TextFile::FileForm>("answer");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QStringList>("shown"); // the form the dialog started from, the status bar's afterwards, any note
        using TextCodec::Encoding, TextCodec::LineEnds;
        QTest::addRow("Save As in UTF-16LE CR LF") << "saveAsAction" << QString() << false
            << TextFile::FileForm{Encoding::Utf16Le, LineEnds::CrLf}
            << QByteArray("\xFF\xFE\xE5\x65\x2C\x67\r\0\n\0", 10) << QStringList{"EUC-JP LF", "UTF-16LE CRLF"};
        QTest::addRow("Save Selection in LF") << "saveSelectionAction" << u"日本語"_s << false
            << TextFile::FileForm{Encoding::Cp932, LineEnds::Lf}
            << QByteArray("\x93\xfa\x96\x7b\n") << QStringList{"SJIS CRLF", "SJIS LF"};
        QTest::addRow("cancelled") << "saveAsAction" << QString() << true << TextFile::FileForm{}
                                   << QByteArray("old\r\n") << QStringList{"EUC-JP LF", "EUC-JP LF"};
        QTest::addRow("EUC-JP cannot hold an emoji") << "saveAsAction" << u"日😀"_s << false
            << TextFile::FileForm{Encoding::EucJp, LineEnds::CrLf}
            << "\xEF\xBB\xBF\xE6\x97\xA5\xF0\x9F\x98\x80\r\n"_ba
            << QStringList{"SJIS CRLF", "UTF-8 BOM CRLF", u"t.txt には EUC-JP で表せない文字があります。UTF-8 で保存しました。"_s};
    }
    void saveInForm()
    {
        QFETCH(QString, command);
        QFETCH(QString, text);
        QFETCH(bool, cancel);
        QFETCH(TextFile::FileForm, answer);
        Files f;
        f.controller.loadSheet();
        if (text.isNull()) {
            QVERIFY(putFile(f.user(u"e.txt"_s), "\xC6\xFC\xCB\xDC\n"));
            QVERIFY(f.controller.openIntoSheet(f.user(u"e.txt"_s)));
        } else {
            f.host.box.setText(text);
        }
        f.host.box.select(0, 2);
        QVERIFY(putFile(f.user(u"t.txt"_s), "old\r\n"));
        f.dialog.answers << f.user(u"t.txt"_s);
        f.formAnswer = answer;
        f.formCancelled = cancel;

        f.trigger(command);

        QTEST(fileBytes(f.user(u"t.txt"_s)), "written");
        QTEST(f.formsShown + QStringList(f.panel()) + f.host.notes, "shown");
    }

    // The sheet's own file changed by another program: read again while the sheet has no
    // unsaved changes; with unsaved changes too, the save point keeps the file's version beside
    // it and says so. This program's own writes are no such change.
    void sheetFileChangedElsewhere()
    {
        Files f;
        const QString path = f.sheets.sheetFilePath(1);
        f.controller.loadSheet();
        QVERIFY(putFile(path, "from the other machine\r\n"));
        QTRY_COMPARE(f.host.box.Text(), u"from the other machine"_s);
        QVERIFY(!f.sheets.changed());

        f.host.box.setText(u"typed here"_s);
        f.sheets.setChanged(true);
        QVERIFY(putFile(path, "changed there again\r\n"));
        QTest::qWait(100);
        QCOMPARE(f.host.box.Text(), u"typed here"_s);
        for (const QString &text : {u"typed here"_s, u"typed again"_s}) {
            f.host.box.setText(text);
            f.sheets.setChanged(true);
            QVERIFY(f.controller.saveSheet());
            QCOMPARE(fileBytes(path), text.toUtf8() + "\r\n");
        }
        QCOMPARE(fileBytes(f.sheets.resolve(u"q1-20240102-030405.txt"_s)), "changed there again\r\n"_ba);
        QCOMPARE(f.host.notes, QStringList{u"q1.txt はほかのプログラムで変更されていました。その内容を q1-20240102-030405.txt に残しました。"_s});
        QCOMPARE(QDir(f.sheets.programDir()).entryList(QDir::Files).size(), 2);
    }
};

QTEST_MAIN(TestFileController)
#include "tst_filecontroller.moc"
