// The recovery copies, their writer and their controller, in a program folder without sheet files.
#include "sheets/RecoveryController.h"

#include "../editor/fakehost.h"
#include "testfiles.h"

#include <QDir>
#include <QSignalSpy>
#include <QTextCursor>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Recovery {
    // The user edits the current sheet, as the window reports it; checked: waits for the check.
    void edit(const QString &text, bool checked = false)
    {
        const qsizetype before = tips.size();
        host.box.setText(text);
        sheets.setChanged(true);
        controller.textChanged();
        if (checked)
            QTRY_COMPARE(tips.size(), before + 1);
    }
    // The user edits the box as typing does (undoable, in place), then pauses until checked.
    void type(const std::function<void(TextBox &)> &typing)
    {
        const qsizetype before = tips.size();
        typing(host.box);
        sheets.setChanged(true);
        controller.textChanged();
        QTRY_COMPARE(tips.size(), before + 1);
    }
    QString journal() const { return RecoveryCopies::journalPath(copies.primaryPath(1)); }
    QString tip() const { return tips.isEmpty() ? QString() : tips.last().value(0).toString(); }
    QString state() const { return tmp.filePath(u"state"_s); }

    QTemporaryDir tmp;
    FakeHost host;
    SheetSession sheets{tmp.path()};
    RecoveryCopies copies{tmp.path(), state()};
    RecoveryController controller{host, sheets, tmp.path(), state(), 20};
    QSignalSpy tips{&controller, &RecoveryController::encodingTipChanged};
};

} // namespace

class TestRecoveryController : public QObject {
    Q_OBJECT
private slots:
    // A copy is written as the sheet file would be, second codes kept; where the program
    // directory cannot take it, a folder of its own in the state folder does; the newer is read.
    void whereTheCopyGoes()
    {
        Recovery r;
        const RecoveryCopies &copies = r.copies;
        const QString sheetPath = r.sheets.sheetFilePath(2), text = u"あ∵\r\nb"_s;
        RecoveryWriter::Memory memory;
        const RecoveryWriter::Result written = RecoveryWriter::run(copies, {2, text, sheetPath, {}, true, Cp932Variants::scan("\x87\x9a"), {}}, memory);
        QVERIFY(written.copy.ok && written.copy.path == sheetPath + u".recovery"_s && written.sheetEncoding == TextCodec::Encoding::Cp932);
        QCOMPARE(fileBytes(written.copy.path), "\x82\xa0\x87\x9a\r\nb\r\n"_ba); // ∵ in its NEC code
        QCOMPARE(copies.read(2).text, text);

        const auto cp932 = TextCodec::Encoding::Cp932;
        QVERIFY(copies.write(3, u"old"_s, cp932).ok);
        QVERIFY(RecoveryCopies(r.tmp.filePath(u"other/prog"_s), r.state()).fallbackDir() != copies.fallbackDir());
        QVERIFY(copies.fallbackDir().startsWith(QDir(r.state()).filePath(u"q7Zibo/"_s + QDir(r.tmp.path()).dirName() + u'-')));

        // A folder where the copy would go stands for a read-only or full directory.
        QVERIFY(QDir().mkdir(copies.primaryPath(4)));
        const RecoveryCopies::WriteResult aside = copies.write(4, u"new"_s, cp932);
        QVERIFY(aside.ok && aside.path == copies.fallbackPath(4) && copies.read(4).text == u"new"_s);
        QCOMPARE(copies.sheets(), QList<int>({2, 3, 4}));

        // Two copies of sheet 3: the program directory could not remove its older one.
        QVERIFY(putFile(copies.fallbackPath(3), "aside\r\n"));
        for (const auto &[seconds, newer] : {std::pair{-60, u"old"_s}, {60, u"aside"_s}}) {
            QFile older(copies.fallbackPath(3));
            QVERIFY(older.open(QIODevice::ReadWrite)
                    && older.setFileTime(QDateTime::currentDateTime().addSecs(seconds), QFileDevice::FileModificationTime));
            older.close();
            QCOMPARE(copies.read(3).text, newer);
        }

        QVERIFY(copies.remove(2) && copies.remove(3) && copies.remove(4) && copies.sheets().isEmpty());

        // Where no place takes the copy, the status bar says so once, until a copy succeeds again.
        const QString aside1 = copies.fallbackPath(1);
        QVERIFY(QDir().mkdir(copies.primaryPath(1)) && QDir().mkpath(aside1));
        r.edit(u"a"_s, true);
        r.edit(u"ab"_s, true);
        QVERIFY(QDir(aside1).removeRecursively());
        r.edit(u"abc"_s, true);
        QVERIFY(QFile::remove(aside1) && QDir().mkdir(aside1));
        r.edit(u"abcd"_s, true);
        QCOMPARE(r.host.notes.size(), 2);
        const QString said = u"シート 1 の復元用コピーを書き込めません。"_s; // and the reason
        for (const QString &note : r.host.notes)
            QVERIFY(note.startsWith(said) && note.size() > said.size());
        QVERIFY(r.host.dialogs.calls.isEmpty());
    }

    // One copy in flight; of those asked for meanwhile only the latest runs, and cancelling a
    // sheet drops its waiting copy and waits for the running one.
    void latestWinsAndCancelWaits()
    {
        Recovery r;
        RecoveryWriter writer(r.copies);
        QSignalSpy spy(&writer, &RecoveryWriter::finished);
        const QString sheetPath = r.sheets.sheetFilePath(1);
        for (const QString &text : {u"first"_s, u"second"_s, u"third"_s})
            writer.post({1, text, sheetPath, {}, true, {}, {}});
        QTRY_COMPARE(spy.count(), 2);
        QTest::qWait(50);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(fileBytes(r.copies.primaryPath(1)), "third\r\n"_ba);

        writer.post({2, u"running"_s, sheetPath, {}, true, {}, {}});
        writer.post({2, u"waiting"_s, sheetPath, {}, true, {}, {}});
        writer.cancel(2);
        QCOMPARE(fileBytes(r.copies.primaryPath(2)), "running\r\n"_ba);
        QVERIFY(r.copies.remove(2));
        QTRY_COMPARE(spy.count(), 3);
        QTest::qWait(50);
        QCOMPARE(spy.count(), 3);
        QVERIFY(!QFile::exists(r.copies.primaryPath(2)));
    }

    // One question names every sheet with a copy. Yes writes each into its sheet file, No drops them; a copy not
    // read or written back stays, said (its text shown unsaved once the sheet is read); an end while asking answers nothing.
    void restore()
    {
        const int yes = QMessageBox::Yes, no = QMessageBox::No;
        const struct { int answer; QString obstacle; int asked; QList<int> left; } cases[] = { // obstacle: in sheet 2's way
            {yes, u""_s, 1, {}},
            {no, u""_s, 1, {}},
            {yes, u"copy"_s, 2, {2}}, // too large to read
            {yes, u"sheet"_s, 2, {2}}, // a sheet file that cannot be written
            {yes, u"end"_s, 1, {2, 7}}, // the end while asking
        };
        for (const auto &[answer, obstacle, asked, left] : cases) {
            Recovery r;
            const QByteArray copy = "recovered \x87\x9a\r\n"; // ∵ in its NEC code
            for (int n : {2, 7})
                QVERIFY(putFile(r.copies.primaryPath(n), copy));
            if (obstacle == "copy")
                QVERIFY(QFile::resize(r.copies.primaryPath(2), TextFile::MaxFileBytes + 1));
            if (obstacle == "sheet")
                QVERIFY(QDir().mkdir(r.sheets.sheetFilePath(2)));
            if (obstacle == "end") {
                // Even the current sheet's copy waits: its text is in no sheet yet.
                r.sheets.setCurrentSheet(2);
                r.host.dialogs.whileAsking = [&r] { r.controller.end(false); };
            }
            r.host.dialogs.answers = {QMessageBox::StandardButton(answer)};
            r.controller.restore();
            const QList<FakeDialogs::Call> &calls = r.host.dialogs.calls;
            QCOMPARE(calls.size(), asked);
            QCOMPARE(calls[0].prompt + u'|' + calls[0].title + u'|' + styleText(calls[0].style),
                     u"前回終了時に保存されていない内容があります（シート 2, シート 7）。復元しますか？|%1|%2"_s.arg(AppTitle).arg(styleText({QMessageBox::Question, QMessageBox::Yes | QMessageBox::No})));
            if (asked > 1)
                QCOMPARE(calls[1].style.icon, obstacle == "copy" ? QMessageBox::NoIcon : QMessageBox::Warning);
            QCOMPARE(r.copies.sheets(), left);
            for (int n : {2, 7})
                QCOMPARE(fileBytes(r.sheets.sheetFilePath(n)), answer == QMessageBox::Yes && !left.contains(n) ? copy : "<missing>"_ba);
            if (obstacle == "sheet") {
                r.sheets.setCurrentSheet(2);
                r.host.box.setText(u"old"_s); // as loading the sheet shows it
                r.sheets.setChanged(false);
                r.controller.sheetShown();
                QCOMPARE(r.host.box.Text() + u'|' + QString::number(r.sheets.changed()), u"recovered ∵|1"_s);
            }
        }
    }

    // A pause writes the copy, never the sheet file, once a long edit is over. A save point removes it; an end that
    // keeps it writes the text typed just before. A save tells at once that Shift_JIS cannot hold the text; the end not.
    void savePoints()
    {
        for (const bool saved : {true, false}) {
            Recovery r;
            const QString copyPath = r.copies.primaryPath(1);
            r.host.longEdit = true;
            r.edit(u"typed"_s);
            QTest::qWait(100);
            QVERIFY(r.tips.isEmpty());
            r.host.longEdit = false;
            QTRY_COMPARE(fileBytes(copyPath), "typed\r\n"_ba);
            QCOMPARE(fileBytes(r.sheets.sheetFilePath(1)), "<missing>"_ba);
            r.edit(u"typed ☃"_s);
            if (saved) {
                r.sheets.setChanged(false);
                r.controller.sheetSaved(r.sheets.writeSheet(r.host.box.Text()));
            } else {
                r.controller.end(true);
            }
            QCOMPARE(r.host.notes.size(), int(saved));
            QTest::qWait(100);
            QCOMPARE(fileBytes(copyPath), saved ? "<missing>"_ba : "\xef\xbb\xbftyped \xe2\x98\x83\r\n"_ba);
            QCOMPARE(r.host.notes.size(), int(saved));
        }
    }

    // The tip names the encodings of the sheet and its opened file. Beyond Shift_JIS is told for a
    // CP932 sheet file once, again only after the text was back within it. Another sheet, loaded
    // and not edited, loses the tip at once, then gets its own and no copy.
    void encodingTip()
    {
        const QString note = u"シート 1 には Shift_JIS で表せない文字があります。UTF-8 で保存します。"_s;
        const struct { QByteArray sheet1, opened; QString tip; QStringList notes; } cases[] = {
            {"sheet 1\r\n"_ba, "\x82\xa0\r\n"_ba, u"保存時の文字コード: UTF-8 (BOM 付き)\n開いたファイル: UTF-8 (BOM 付き)"_s, {note, note}},
            {"\xff\xfex\x00"_ba, "\xc3\xa9\n"_ba, u"保存時の文字コード: UTF-16 LE (BOM 付き)\n開いたファイル: UTF-8 (BOM なし)"_s, {}},
        };
        for (const auto &c : cases) {
            Recovery r;
            QVERIFY(putFile(r.sheets.sheetFilePath(1), c.sheet1));
            r.sheets.setOpenedFile(1, r.tmp.filePath(u"opened.txt"_s));
            QVERIFY(putFile(r.sheets.openedFile(1), c.opened));
            for (const QString &text : {u"☃"_s, u"☃☃"_s, u"a"_s, u"☃"_s})
                r.edit(text, true);
            QCOMPARE(QStringList(r.tip()) + r.host.notes, QStringList(c.tip) + c.notes);
            r.sheets.setCurrentSheet(3);
            r.edit(u"sheet 3"_s);
            r.sheets.setChanged(false);
            QCOMPARE(r.tip(), QString());
            QTRY_COMPARE(r.tip(), u"保存時の文字コード: Shift_JIS (CP932)"_s);
            QCOMPARE(r.copies.sheets(), QList<int>{1});
        }
    }

    void pauseAppendsTheEdit_data();
    void pauseAppendsTheEdit();
    void readingTheJournal_data();
    void readingTheJournal();
    void journalLargerThanTheTextStartsAgain();
    void encodingFollowsTheEdits();
};


void TestRecoveryController::pauseAppendsTheEdit_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<std::function<void(TextBox &)>>("typing");
    const auto at = [](TextBox &box, qsizetype position, const QString &text) {
        box.setSelStart(position);
        box.setSelText(text);
    };
    QTest::addRow("a line break inside a line") << u"abc\r\ndef"_s
        << std::function<void(TextBox &)>([at](TextBox &box) { at(box, 1, u"x\r\ny"_s); });
    QTest::addRow("a lone LF") << u"abc\r\ndef"_s
        << std::function<void(TextBox &)>([at](TextBox &box) { at(box, 6, u"1\n2"_s); });
    QTest::addRow("a surrogate pair, a break removed") << u"ab\r\n\r\ncd"_s
        << std::function<void(TextBox &)>([at](TextBox &box) {
               at(box, 7, u"😀"_s);
               box.select(2, 2);
               box.setSelText({});
           });
    QTest::addRow("two places in one pause") << u"first\r\nmiddle\r\nlast"_s
        << std::function<void(TextBox &)>([at](TextBox &box) {
               at(box, 19, u"!"_s);
               at(box, 0, u">"_s);
               box.select(8, 3);
               box.setSelText(u"MID"_s);
           });
    QTest::addRow("typing taken back") << u"abc\r\ndef"_s
        << std::function<void(TextBox &)>([at](TextBox &box) {
               at(box, 3, u"XYZ"_s);
               at(box, 0, u"\r\n"_s);
               box.undoEdit();
           });
    QTest::addRow("a line long enough to be shown in pieces") << QString(3 * TextModel::SoftLineLength, u'a') + u"\r\nend"_s
        << std::function<void(TextBox &)>([at](TextBox &box) {
               at(box, TextModel::SoftLineLength - 1, u"XY"_s);
               at(box, 2 * TextModel::SoftLineLength + 1, u"Z"_s);
           });
    QTest::addRow("empty lines at the start") << u"\r\n\r\nabc"_s
        << std::function<void(TextBox &)>([at](TextBox &box) { at(box, 7, u"d"_s); });
}

// After the first pause wrote the copy, a pause leaves it as it is and appends the edit to its
// journal; the copy with its journal reads back as the text typed.
void TestRecoveryController::pauseAppendsTheEdit()
{
    QFETCH(QString, before);
    QFETCH(std::function<void(TextBox &)>, typing);
    Recovery r;
    r.edit(before, true);
    const QByteArray copy = fileBytes(r.copies.primaryPath(1));
    QCOMPARE(QFileInfo(r.journal()).size(), RecoveryJournal::HeaderBytes);
    QCOMPARE(r.copies.read(1).text, before);
    r.type(typing);
    QCOMPARE(fileBytes(r.copies.primaryPath(1)), copy);
    QVERIFY(QFileInfo(r.journal()).size() > RecoveryJournal::HeaderBytes);
    QCOMPARE(r.copies.read(1).text, r.host.box.Text());
}

void TestRecoveryController::readingTheJournal_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("restored");
    QTest::addRow("whole") << u""_s << u"aXbc😀"_s;
    QTest::addRow("cut in its last record") << u"cut"_s << u"aXbc"_s;
    QTest::addRow("a damaged record") << u"flip"_s << u"aXbc"_s;
    QTest::addRow("a record that does not fit the text") << u"beyond"_s << u"aXbc"_s;
    QTest::addRow("the journal of another copy") << u"other copy"_s << u"abd"_s;
    QTest::addRow("a copy of the version before journals") << u"no journal"_s << u"abc"_s;
}

// A journal replays up to its last whole record that fits the text, and only onto its own copy.
void TestRecoveryController::readingTheJournal()
{
    QFETCH(QString, damage);
    QFETCH(QString, restored);
    Recovery r;
    const RecoveryCopies::WriteResult written = r.copies.write(1, u"abc"_s, TextCodec::Encoding::Cp932);
    QVERIFY(written.ok && written.journal);
    const QString journal = r.journal();
    // The edits are as private as the copy.
    QCOMPARE(QFileInfo(journal).permissions() & ~(QFile::ReadUser | QFile::WriteUser), QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray first = RecoveryJournal::record({1, 0, 4, u"X"_s});
    QByteArray second = RecoveryJournal::record({4, 0, damage == "beyond" ? 7 : 6, u"😀"_s});
    QVERIFY(RecoveryJournal::append(journal, first, RecoveryJournal::HeaderBytes));
    // Only onto the journal as it was left: one of another size is not ours to add to.
    QVERIFY(!RecoveryJournal::append(journal, first, RecoveryJournal::HeaderBytes));
    if (damage == "flip")
        second[second.size() - 6] ^= 1;
    if (damage == "cut")
        second.chop(3);
    QVERIFY(RecoveryJournal::append(journal, second, RecoveryJournal::HeaderBytes + first.size()));
    if (damage == "other copy")
        QVERIFY(putFile(written.path, "abd\r\n"));
    if (damage == "no journal")
        QVERIFY(QFile::remove(journal));
    QCOMPARE(r.copies.read(1).text, restored);
    QVERIFY(r.copies.remove(1) && !QFile::exists(journal));
}

// A journal that would grow larger than the text makes the next pause write the copy whole again.
void TestRecoveryController::journalLargerThanTheTextStartsAgain()
{
    Recovery r;
    r.edit(QString(3000, u'x'), true);
    const QByteArray copy = fileBytes(r.copies.primaryPath(1));
    r.type([](TextBox &box) {
        box.setSelStart(3000);
        box.setSelText(QString(2100, u'y'));
    });
    QCOMPARE(fileBytes(r.copies.primaryPath(1)), copy);
    r.type([](TextBox &box) {
        box.select(0, 5000);
        box.setSelText({});
    });
    QCOMPARE(fileBytes(r.copies.primaryPath(1)), QByteArray(100, 'y') + "\r\n");
    QCOMPARE(QFileInfo(r.journal()).size(), RecoveryJournal::HeaderBytes);
    QCOMPARE(r.copies.read(1).text, r.host.box.Text());
}

// The tip and the note follow a character Shift_JIS cannot hold that is typed and deleted again,
// in a pause's edit as in the whole text, also when there are too many such characters to keep.
void TestRecoveryController::encodingFollowsTheEdits()
{
    const QString note = u"シート 1 には Shift_JIS で表せない文字があります。UTF-8 で保存します。"_s;
    const QString sjis = u"保存時の文字コード: Shift_JIS (CP932)"_s, utf8 = u"保存時の文字コード: UTF-8 (BOM 付き)"_s;
    for (const qsizetype beyond : {qsizetype(0), UnfitChars::MaxKept + 1}) {
        Recovery r;
        r.edit(u"abc"_s + QString(beyond, u'☃'), true);
        QCOMPARE(r.tip(), beyond ? utf8 : sjis);
        r.type([](TextBox &box) {
            box.setSelStart(1);
            box.setSelText(u"😀"_s);
        });
        QCOMPARE(r.tip(), utf8);
        r.type([](TextBox &box) {
            box.setSelStart(0);
            box.setSelText(u"xy"_s);
        });
        QCOMPARE(r.tip(), utf8);
        r.type([](TextBox &box) {
            box.select(3, 2);
            box.setSelText({});
        });
        QCOMPARE(r.tip(), beyond ? utf8 : sjis);
        QCOMPARE(r.host.notes, QStringList{note});
        if (beyond) {
            r.type([beyond](TextBox &box) {
                box.select(5, beyond);
                box.setSelText({});
            });
        }
        QCOMPARE(r.tip(), sjis);
        QCOMPARE(r.copies.read(1).text, u"xyabc"_s);
    }

    // A file in BOM-less UTF-16 keeps it only while the whole text would still read back so.
    Recovery r;
    QVERIFY(putFile(r.sheets.sheetFilePath(1), "\x42\x30\r\0\n\0"_ba)); // あ
    QStringList said;
    r.edit(u"あ"_s, true);
    said << r.tip();
    r.type([](TextBox &box) {
        box.setSelStart(1);
        box.setSelText(u"\ue001"_s);
    });
    said << r.tip();
    r.type([](TextBox &box) {
        box.select(1, 1);
        box.setSelText({});
    });
    said << r.tip();
    QCOMPARE(said, QStringList({u"保存時の文字コード: UTF-16 LE (BOM なし)"_s, u"保存時の文字コード: UTF-16 LE (BOM 付き)"_s,
                                u"保存時の文字コード: UTF-16 LE (BOM なし)"_s}));
}

QTEST_MAIN(TestRecoveryController)
#include "tst_recoverycontroller.moc"
