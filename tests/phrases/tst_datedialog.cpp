// The date and boilerplate dialog beside a bare text box through its controller: pages,
// inserting, the phrase list's rules, and which settings and files are written when; the
// window's own ways in and out once.
#include "../app/harness.h"
#include "../editor/fakehost.h"
#include "phrases/DateController.h"
#include "phrases/DateDialog.h"
#include "phrases/phrasefile.h"
#include "settings/settingskeys.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Fixed(QDate(1998, 10, 21), QTime(16, 5, 9));

template <typename T = QPushButton>
T *control(const DateDialog *d, const char *name)
{
    return d->findChild<T *>(QLatin1String(name));
}

struct DateHarness {
    DateDialog *open(DateController::Page page = DateController::PhrasePage)
    {
        dates.showDialog(page);
        return host.widget.findChild<DateDialog *>();
    }
    QString phrasePath() const { return QDir(tmp.path()).filePath(PhraseFile::FileName); }
    QStringList saved() const { return PhraseFile::load(phrasePath()).entries; }
    QString stored(const char *section, const char *key) const
    {
        return store.readValue(QLatin1String(section), QLatin1String(key), u"<missing>"_s);
    }

    QTemporaryDir tmp;
    SettingsStore store{tmp.filePath(u"q7Zibo.conf"_s)};
    FakeHost host;
    DateController dates{host, &store, &host.dialogs, tmp.path(), [this](const QString &text) { host.box.setSelText(text); }};
};

} // namespace

class TestDateDialog : public QObject {
    Q_OBJECT
private slots:
    // One dialog opened, closed and opened again; the close checks are stored by the close
    // button and by closing after an insertion, never by cancel, and the position only by its
    // own button.
    void pagesListsAndInserting()
    {
        DateHarness h;
        PhraseFile::save(h.phrasePath(), {"b", "C", "A", "あいう", "a", "123"});
        h.host.clock = Fixed;
        h.store.write(SettingsKeys::DateLeft, u"1500"_s);
        h.store.write(SettingsKeys::DateTop, u"3000"_s);
        const auto options = [&] { return h.stored("q7", "date") + h.stored("q7", "teikei") + u' ' + h.stored("Size", "DTop"); };
        DateDialog *d = h.open(DateController::DatePage);
        QVERIFY(d->pos() == QPoint(100, 200) && d->currentPage() == 0);
        QTest::keyClick(d, Qt::Key_Escape);
        QVERIFY(d->isVisible()); // no cancel button: Esc does nothing
        // Reopening switches the page of the same dialog without refreshing its lines.
        h.host.clock = Fixed.addDays(1);
        QVERIFY(h.open() == d && d->currentPage() == 1);
        QCOMPARE(control<QListWidget>(d, "formatList")->item(0)->text(), u"1998/10/21"_s);
        d->move(40, 60);
        control<QCheckBox>(d, "closeAfterInsertCheck")->setChecked(false);
        control(d, "closeButton")->click();
        QCOMPARE(options(), u"00 3000"_s);
        QTRY_VERIFY(!h.host.widget.findChild<DateDialog *>());
        d = h.open(); // closed, it is built afresh
        auto *formats = control<QListWidget>(d, "formatList");
        auto *phrases = control<QListWidget>(d, "phraseList");
        auto *remove = control(d, "removePhraseButton");
        QCOMPARE(formats->item(0)->text(), u"1998/10/22"_s);
        d->move(40, 60);
        control(d, "savePositionButton")->click();
        QCOMPARE(h.stored("Size", "DLeft") + u',' + h.stored("Size", "DTop"),
                 u"%1,%2"_s.arg(d->frameGeometry().x() * 15).arg(d->frameGeometry().y() * 15));

        h.host.box.setText(u"ab"_s);
        h.host.box.setSelStart(1);
        phrases->setCurrentRow(4); // 123 A a b C あいう: Latin case is ignored, so "A" and "a" keep the file's order
        control(d, "insertPhraseButton")->click();
        QCOMPARE(h.host.box.Text(), u"aCb"_s);
        QVERIFY(d->isVisible()); // closing after a phrase is off
        formats->setCurrentRow(6);
        control(d, "insertButton")->click();
        QVERIFY(d->isVisible() && h.host.box.Text() == u"aC981022b"_s); // nor after a date, as stored

        // Deleting is enabled by clicking a phrase, and only until it is done.
        QVERIFY(!remove->isEnabled());
        QTest::mouseClick(phrases->viewport(), Qt::LeftButton, {}, phrases->visualItemRect(phrases->item(1)).center());
        QVERIFY(remove->isEnabled());
        remove->click();
        QVERIFY(!remove->isEnabled());
        control<QCheckBox>(d, "closeAfterPhraseCheck")->setChecked(true);
        control(d, "phraseCancelButton")->setFocus();
        QTest::keyClick(control(d, "phraseCancelButton"), Qt::Key_Return);  // Enter presses the focused button, not OK
        QCOMPARE(h.saved(), (QStringList{"123", "a", "b", "C", "あいう"}));
        QTRY_VERIFY(!h.host.widget.findChild<DateDialog *>());
        control(d = h.open(), "clearPhrasesButton")->click();
        control<QCheckBox>(d, "closeAfterInsertCheck")->setChecked(true);
        formats = control<QListWidget>(d, "formatList");
        formats->setCurrentRow(0);
        emit formats->itemDoubleClicked(formats->item(0));
        QTRY_VERIFY(!h.host.widget.findChild<DateDialog *>());
        QCOMPARE(h.saved(), QStringList());
        QCOMPARE(options().left(2), u"10"_s);
    }

    // In the window: the status panel opens the date page, each insertion is one step to undo,
    // and closing the window writes the phrases.
    void inTheWindow()
    {
        Harness h;
        MainWindow &w = h.start();
        QTest::mouseDClick(statusPanel(w, 3), Qt::LeftButton);
        auto *d = w.findChild<DateDialog *>();
        QVERIFY(d && d->currentPage() == 0);
        h.dialogs.inputAnswers = {u"kept"_s};
        control(d, "addPhraseButton")->click();
        control<QCheckBox>(d, "closeAfterInsertCheck")->setChecked(false);
        control<QListWidget>(d, "formatList")->setCurrentRow(0);
        textBox(w)->setText(u"x"_s);
        control(d, "insertButton")->click();
        control(d, "insertButton")->click();
        action(w, "undoAction")->trigger();
        QCOMPARE(textBox(w)->Text().size(), 11); // the second date undone
        h.closeWindow();
        QCOMPARE(PhraseFile::load(QDir(h.programDir).filePath(PhraseFile::FileName)).entries, QStringList{"kept"});
    }

    void addingFollowsThePlaceRules_data()
    {
        QTest::addColumn<int>("loaded"); // from 30 on, the addition is refused
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("first");
        QTest::addRow("29 plus one: the first in order goes again") << 29 << "zz" << 29 << "p01";
        QTest::addRow("30 loaded: the addition is refused") << 30 << "zz" << 30 << "p00";
        QTest::addRow("40 from a hand-made file: refused, all kept") << 40 << "zz" << 40 << "p00";
        QTest::addRow("blanks only add nothing") << 3 << "   " << 3 << "p00";
        QTest::addRow("blanks around kept, line breaks made blanks") << 0 << " x\r\ny\rz\n " << 1 << " x y z  ";
    }
    void addingFollowsThePlaceRules()
    {
        QFETCH(int, loaded);
        QStringList phrases;
        for (int i = 0; i < loaded; ++i)
            phrases << u"p%1"_s.arg(i, 2, 10, QChar(u'0'));
        DateHarness h;
        PhraseFile::save(h.phrasePath(), phrases);
        DateDialog *d = h.open();
        QFETCH(QString, answer);
        h.host.dialogs.inputAnswers = {answer};
        control(d, "addPhraseButton")->click();
        QCOMPARE(h.host.dialogs.calls.last().prompt,
                 loaded < 30 ? u"保存したい定型文字列を入力してください。"_s : u"保存できる文字列は 30 種類です。"_s);
        d->close(); // the file is written with every phrase shown: none is dropped
        QTEST(int(h.saved().size()), "count");
        QTEST(h.saved().value(0), "first");
    }

    // An unreadable file is never written over; a failed write is reported, the reason on the
    // box's second line, and the old file stays (a full disk: tst_textfile).
    void phraseFileFailuresLoseNothing_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QStringList>("kept"); // none: the file cannot be read
        QTest::addRow("a folder: reported, adding refused") << "dir" << QStringList{};
        QTest::addRow("read-only") << "readOnly" << QStringList{"old"};
#ifdef Q_OS_UNIX
        QTest::addRow("a link to nothing: never written through") << "link" << QStringList{};
#endif
    }
    void phraseFileFailuresLoseNothing()
    {
        QFETCH(QString, what);
        QFETCH(QStringList, kept);
        DateHarness h;
        const QString path = h.phrasePath();
        if (what == "dir")
            QVERIFY(QDir().mkdir(path));
        else if (what == "link")
            QVERIFY(QFile::link(h.tmp.filePath("gone"), path));
        else
            QVERIFY(PhraseFile::save(path, {"old"}).ok && QFile::setPermissions(path, QFileDevice::ReadOwner));
        DateDialog *d = h.open();
        h.host.dialogs.inputAnswers = {u"lost?"_s};
        control(d, "addPhraseButton")->click();
        control(d, "cancelButton")->click(); // the phrase file is written here, the close checks are not
        QCOMPARE(h.saved(), kept);
        QCOMPARE(h.stored("q7", "date"), u"<missing>"_s);
        const QString said = kept.isEmpty() ? u" を読み込めません。"_s : u" に書き込めません。"_s;
        QVERIFY(h.host.dialogs.calls.last().prompt.startsWith(QDir::toNativeSeparators(path) + said + u'\n'));
    }
};

QTEST_MAIN(TestDateDialog)
#include "tst_datedialog.moc"
