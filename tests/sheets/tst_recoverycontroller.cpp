// The recovery controller alone, in a temporary program folder: the start-up question, the
// copies written at a pause and dropped at a save point or the end, and what it tells of them.
#include "sheets/RecoveryController.h"

#include "../editor/fakehost.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int IdleMs = 20;

struct Recovery {
    Recovery()
    {
        for (int n = 1; n <= SheetSession::SheetCount; ++n)
            write(sheets.sheetFilePath(n), "sheet " + QByteArray::number(n) + "\r\n");
    }
    QString dir() const { return tmp.path(); }
    RecoveryCopies copies() const { return RecoveryCopies(dir(), tmp.filePath(u"state"_s)); }
    QString copyPath(int n) const { return copies().primaryPath(n); }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray bytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // A folder in the file's place: it can be neither read nor written as a file.
    static void block(const QString &path) { QVERIFY(!QFile::exists(path) || QFile::remove(path)); QVERIFY(QDir().mkpath(path)); }
    // The user edits the current sheet, as the window reports it.
    void edit(const QString &text)
    {
        host.box.setText(text);
        sheets.setChanged(true);
        controller.textChanged();
    }
    // Waits until the pause has written the current sheet's copy.
    bool copied(int n, const QByteArray &bytes) const
    {
        return QTest::qWaitFor([&] { return Recovery::bytes(copyPath(n)) == bytes; }, 5000);
    }

    QTemporaryDir tmp;
    FakeHost host;
    SheetSession sheets{tmp.path()};
    RecoveryController controller{host, sheets, tmp.path(), tmp.filePath(u"state"_s), IdleMs};
};

} // namespace

class TestRecoveryController : public QObject {
    Q_OBJECT
private slots:
    // One question names every sheet with a copy. Yes writes each into its sheet file (a second
    // CP932 code as the copy has it), No drops them; a copy that cannot be read or written back
    // stays, with the failure said; a session that ends while asking has answered nothing.
    void restore_data()
    {
        QTest::addColumn<QList<int>>("found");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QList<int>>("left");
        QTest::addRow("Yes") << QList<int>{1, 3} << int(MsgBoxResult::Yes) << QString() << QList<int>{};
        QTest::addRow("No") << QList<int>{3, 7} << int(MsgBoxResult::No) << QString() << QList<int>{};
        QTest::addRow("Yes, a copy too large to read") << QList<int>{2, 3} << int(MsgBoxResult::Yes) << "copy"
                                                       << QList<int>{2};
        QTest::addRow("Yes, a sheet file that cannot be written") << QList<int>{2, 3} << int(MsgBoxResult::Yes)
                                                                  << "sheet" << QList<int>{2};
        QTest::addRow("the end while asking") << QList<int>{2, 3} << int(MsgBoxResult::Yes) << "end"
                                              << QList<int>{2, 3};
    }
    void restore()
    {
        QFETCH(QList<int>, found);
        QFETCH(int, answer);
        QFETCH(QString, obstacle);
        QFETCH(QList<int>, left);
        Recovery r;
        const QByteArray secondCode = " \x87\x9a"; // ∵ in its NEC code
        for (int n : found)
            r.write(r.copyPath(n), "recovered " + QByteArray::number(n) + secondCode + "\r\n");
        if (obstacle == "copy") {
            QFile copy(r.copyPath(2));
            QVERIFY(copy.open(QIODevice::WriteOnly) && copy.resize(TextFile::MaxFileBytes + 1));
        } else if (obstacle == "sheet") {
            r.block(r.sheets.sheetFilePath(2));
        } else if (obstacle == "end") {
            r.host.dialogs.whileAsking = [&r] { r.controller.end(false); };
        }
        r.host.dialogs.answers = {answer};
        r.controller.restore();

        const QList<FakeDialogs::Call> &calls = r.host.dialogs.calls;
        QStringList names;
        for (int n : found)
            names << u"シート %1"_s.arg(n);
        QCOMPARE(calls.value(0).prompt, u"前回終了時に保存されていない内容があります（%1）。復元しますか？"_s.arg(names.join(u", "_s)));
        QCOMPARE(calls.value(0).style, MsgBoxStyle::YesNo | MsgBoxStyle::Question);
        QCOMPARE(calls.value(0).title, AppTitle);
        if (obstacle == "copy")
            QVERIFY(calls.value(1).prompt.startsWith(u"ファイルを開けません"_s));
        else if (obstacle == "sheet")
            QCOMPARE(calls.value(1).style, MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation);
        QCOMPARE(calls.size(), obstacle == "copy" || obstacle == "sheet" ? 2 : 1);
        QCOMPARE(r.copies().sheets(), left);
        for (int n = 1; n <= SheetSession::SheetCount; ++n) {
            if (obstacle == "sheet" && n == 2)
                continue;
            const bool back = answer == MsgBoxResult::Yes && found.contains(n) && !left.contains(n);
            QCOMPARE(r.bytes(r.sheets.sheetFilePath(n)),
                     back ? "recovered " + QByteArray::number(n) + secondCode + "\r\n" : "sheet " + QByteArray::number(n) + "\r\n");
        }
    }

    // A pause writes the copy, never the sheet file; a save point removes it, and so does the end
    // unless the copy is to be kept, when it takes the text typed just before.
    void savePoints_data()
    {
        QTest::addColumn<QString>("point");
        QTest::addColumn<QByteArray>("copy"); // afterwards; "<missing>": none
        QTest::addRow("saved") << "save" << "<missing>"_ba;
        QTest::addRow("the end, given up") << "end" << "<missing>"_ba;
        QTest::addRow("the end, kept") << "keep" << "typed more\r\n"_ba;
    }
    void savePoints()
    {
        QFETCH(QString, point);
        QFETCH(QByteArray, copy);
        Recovery r;
        r.edit(u"typed"_s);
        QVERIFY(r.copied(1, "typed\r\n"));
        QCOMPARE(r.bytes(r.sheets.sheetFilePath(1)), "sheet 1\r\n"_ba);
        r.edit(u"typed more"_s);
        if (point == "save") {
            r.sheets.setChanged(false);
            r.controller.sheetSaved(r.sheets.writeSheet(r.host.box.Text()));
        }
        else
            r.controller.end(point == "keep");
        QTest::qWait(5 * IdleMs);
        QCOMPARE(r.bytes(r.copyPath(1)), copy);
        QVERIFY(r.host.notes.isEmpty());
    }

    // Halfway through a long edit the text is neither the old nor the new: no copy until its end.
    void waitsForTheEndOfALongEdit()
    {
        Recovery r;
        r.host.longEdit = true;
        r.edit(u"half"_s);
        QTest::qWait(10 * IdleMs);
        QVERIFY(r.copies().sheets().isEmpty());
        r.host.longEdit = false;
        QVERIFY(r.copied(1, "half\r\n"));
    }

    // Where no place takes the copy, the status bar says so once, until a copy succeeds again.
    void copyNowhere()
    {
        Recovery r;
        r.block(r.copyPath(1));
        r.block(r.copies().fallbackPath(1));
        const QString failed = u"シート 1 の復元用コピーを書き込めません。"_s;
        r.edit(u"a"_s);
        QTRY_COMPARE(r.host.notes.size(), 1);
        QVERIFY(r.host.notes[0].startsWith(failed));
        r.edit(u"ab"_s);
        QTest::qWait(5 * IdleMs);
        QCOMPARE(r.host.notes.size(), 1);
        QVERIFY(QDir(r.copies().fallbackPath(1)).removeRecursively());
        r.edit(u"abc"_s);
        QTRY_COMPARE(r.copies().sheets(), QList<int>{1});
        r.block(r.copies().fallbackPath(1));
        r.edit(u"abcd"_s);
        QTRY_COMPARE(r.host.notes.size(), 2);
        QVERIFY(r.host.notes[1].startsWith(failed));
        QVERIFY(r.host.dialogs.calls.isEmpty());
    }

    // The tip names the encodings of the sheet and its opened file; beyond Shift_JIS is told once
    // per sheet. Another sheet, loaded and so not edited, loses the tip at once, then gets its own
    // and no copy.
    void encodingTip_data()
    {
        QTest::addColumn<QByteArray>("sheet1");
        QTest::addColumn<QByteArray>("opened"); // the opened file's bytes; empty: none
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<bool>("told");
        const QString cp932 = u"保存時の文字コード: Shift_JIS (CP932)"_s;
        QTest::addRow("a character beyond Shift_JIS")
            << "sheet 1\r\n"_ba << QByteArray() << u"☃"_s << u"保存時の文字コード: UTF-8 (BOM 付き)"_s << true;
        QTest::addRow("a UTF-16 sheet file keeps its encoding")
            << "\xff\xfex\x00"_ba << QByteArray() << u"☃"_s << u"保存時の文字コード: UTF-16 LE (BOM 付き)"_s << false;
        QTest::addRow("an opened UTF-8 file") << "sheet 1\r\n"_ba << "\xc3\xa9\n"_ba << u"a"_s
                                              << cp932 + u"\n開いたファイル: UTF-8 (BOM なし)"_s << false;
        QTest::addRow("an opened Shift_JIS file gives way to UTF-8 too")
            << "sheet 1\r\n"_ba << "\x82\xa0\r\n"_ba << u"☃"_s
            << u"保存時の文字コード: UTF-8 (BOM 付き)\n開いたファイル: UTF-8 (BOM 付き)"_s << true;
    }
    void encodingTip()
    {
        QFETCH(QByteArray, sheet1);
        QFETCH(QByteArray, opened);
        QFETCH(QString, typed);
        QFETCH(QString, tip);
        QFETCH(bool, told);
        Recovery r;
        r.write(r.sheets.sheetFilePath(1), sheet1);
        if (!opened.isEmpty()) {
            const QString path = r.tmp.filePath(u"opened.txt"_s);
            r.write(path, opened);
            r.sheets.setOpenedFile(1, path);
        }
        QSignalSpy tips(&r.controller, &RecoveryController::encodingTipChanged);
        r.edit(typed);
        QTRY_COMPARE(r.controller.encodingTip(), tip);
        QCOMPARE(tips.takeLast().value(0).toString(), tip);
        const QStringList notes{u"シート 1 には Shift_JIS で表せない文字があります。UTF-8 で保存します。"_s};
        QCOMPARE(r.host.notes, told ? notes : QStringList());
        r.edit(typed + typed);
        QTRY_COMPARE(tips.size(), 1);
        QCOMPARE(r.host.notes, told ? notes : QStringList());

        r.sheets.setCurrentSheet(3);
        r.host.box.setText(u"sheet 3"_s);
        r.controller.textChanged();
        r.sheets.setChanged(false);
        QCOMPARE(r.controller.encodingTip(), QString());
        QTRY_COMPARE(r.controller.encodingTip(), u"保存時の文字コード: Shift_JIS (CP932)"_s);
        QCOMPARE(r.copies().sheets(), QList<int>{1});
    }
};

QTEST_MAIN(TestRecoveryController)
#include "tst_recoverycontroller.moc"
