// The date and boilerplate dialog on a real main window: pages, inserting, the phrase list's
// rules, and which settings and files are written when.
#include "../app/harness.h"
#include "phrases/DateDialog.h"
#include "phrases/phrasefile.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

namespace {

const QDateTime Fixed(QDate(1998, 10, 21), QTime(16, 5, 9));

// A control of the dialog, by its name.
template <typename T = QPushButton>
T *control(const DateDialog *d, const char *name)
{
    return d->findChild<T *>(QLatin1String(name));
}

struct DateHarness : Harness {
    DateHarness()
    {
        writeSheets();
        configure = [this](MainWindowEnv &env) { env.now = [this] { return clock; }; };
    }
    DateDialog *open(const char *item)
    {
        action(*window, QLatin1String(item))->trigger();
        return window->findChild<DateDialog *>();
    }
    DateDialog *startOnPhrasePage(const QStringList &phrases = {})
    {
        if (!phrases.isEmpty())
            PhraseFile::save(phrasePath(), phrases);
        start();
        return open("phraseAction");
    }
    QString phrasePath() const { return QDir(programDir).filePath(PhraseFile::FileName); }
    QStringList saved() const { return PhraseFile::load(phrasePath()).entries; }
    QDateTime clock = Fixed;
};

} // namespace

class TestDateDialog : public QObject {
    Q_OBJECT
private slots:
    void pagesListsAndInserting()
    {
        DateHarness h;
        PhraseFile::save(h.phrasePath(), {"b", "C", "A", "あいう", "a", "123"});
        h.preset("Size", "DLeft", "1500");
        h.preset("Size", "DTop", "3000");
        h.start();
        DateDialog *d = h.open("dateFormatAction");
        QVERIFY(d && d->isVisible());
        QCOMPARE(d->pos(), QPoint(100, 200));
        QCOMPARE(d->currentPage(), 0);
        QTest::keyClick(d, Qt::Key_Escape);
        QVERIFY(d->isVisible()); // no cancel button: Esc does nothing
        // Reopening switches the page of the same dialog without refreshing its lines.
        h.clock = Fixed.addDays(1);
        QCOMPARE(h.open("phraseAction"), d);
        QCOMPARE(d->currentPage(), 1);
        QCOMPARE(control<QListWidget>(d, "formatList")->item(0)->text(), QStringLiteral("1998/10/21"));
        d->move(40, 60);
        control(d, "savePositionButton")->click();
        QCOMPARE(h.stored("Size", "DLeft") + u',' + h.stored("Size", "DTop"),
                 QStringLiteral("%1,%2").arg(d->frameGeometry().x() * 15).arg(d->frameGeometry().y() * 15));
        // Closing and reopening rebuilds them; double-clicking the date panel opens the date page.
        control(d, "closeButton")->click();
        QTRY_VERIFY(!h.window->findChild<DateDialog *>());
        QTest::mouseDClick(statusPanel(*h.window, 3), Qt::LeftButton);
        d = h.window->findChild<DateDialog *>();
        QVERIFY(d && d->isVisible());
        QCOMPARE(d->currentPage(), 0);
        auto *formats = control<QListWidget>(d, "formatList");
        auto *phrases = control<QListWidget>(d, "phraseList");
        auto *remove = control(d, "removePhraseButton");
        QCOMPARE(formats->item(0)->text(), QStringLiteral("1998/10/22"));

        h.open("phraseAction");
        TextBox *box = textBox(*h.window);
        box->setText(QStringLiteral("ab"));
        box->setSelStart(1);
        phrases->setCurrentRow(4); // 123 A a b C あいう: Latin case is ignored, so "A" and "a" keep the file's order
        control(d, "insertPhraseButton")->click();
        QCOMPARE(box->Text(), QStringLiteral("aCb"));
        QVERIFY(d->isVisible()); // closing after a phrase is off
        control<QCheckBox>(d, "closeAfterInsertCheck")->setChecked(false);
        formats->setCurrentRow(6);
        control(d, "insertButton")->click();
        QCOMPARE(box->Text(), QStringLiteral("aC981022b"));
        QVERIFY(d->isVisible());
        QCOMPARE(h.stored("q7", "date"), QStringLiteral("1")); // the check is stored on closing only
        action(*h.window, "undoAction")->trigger();
        QCOMPARE(box->Text(), QStringLiteral("aCb"));

        // Deleting is enabled by clicking a phrase, and only until it is done.
        QVERIFY(!remove->isEnabled());
        QTest::mouseClick(phrases->viewport(), Qt::LeftButton, {}, phrases->visualItemRect(phrases->item(1)).center());
        QVERIFY(remove->isEnabled());
        remove->click();
        QVERIFY(!remove->isEnabled());
        control(d, "phraseCancelButton")->click();
        QCOMPARE(h.saved(), (QStringList{"123", "a", "b", "C", "あいう"}));
        QTRY_VERIFY(!h.window->findChild<DateDialog *>());
        control(h.open("phraseAction"), "clearPhrasesButton")->click();
        h.window->findChild<DateDialog *>()->close();
        QCOMPARE(h.saved(), QStringList());
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
        QFETCH(QString, answer);
        QStringList phrases;
        for (int i = 0; i < loaded; ++i)
            phrases << QStringLiteral("p%1").arg(i, 2, 10, QLatin1Char('0'));
        DateHarness h;
        DateDialog *d = h.startOnPhrasePage(phrases);
        h.dialogs.inputAnswers = {answer};
        control(d, "addPhraseButton")->click();
        QCOMPARE(h.dialogs.calls.last().prompt,
                 loaded < 30 ? QStringLiteral("保存したい定型文字列を入力してください。") : QStringLiteral("保存できる文字列は 30 種類です。"));
        d->close(); // the file is written with every phrase shown: none is dropped
        QTEST(int(h.saved().size()), "count");
        QTEST(h.saved().value(0), "first");
    }

    void unloadPathsWriteWhatTheyShould_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("optionsSaved");
        QTest::addRow("閉じる(&L)") << "closeButton" << true;
        QTest::addRow("ｷｬﾝｾﾙ") << "cancelButton" << false;
        QTest::addRow("a date double-clicked, closing after inserting") << "formatList" << true;
        QTest::addRow("main window closed") << "main" << false;
    }
    void unloadPathsWriteWhatTheyShould()
    {
        QFETCH(QString, how);
        QFETCH(bool, optionsSaved);
        DateHarness h;
        DateDialog *d = h.startOnPhrasePage();
        h.dialogs.inputAnswers = {QStringLiteral("kept")};
        control(d, "addPhraseButton")->click();
        if (how == "main") {
            h.closeWindow();
        } else if (auto *formats = control<QListWidget>(d, "formatList"); how == "formatList") {
            formats->setCurrentRow(0);
            emit formats->itemDoubleClicked(formats->item(0));
        } else {
            control(d, qPrintable(how))->click();
        }
        QTRY_VERIFY(!h.window->findChild<DateDialog *>());
        QCOMPARE(h.saved(), QStringList{"kept"});
        QCOMPARE(h.stored("q7", "date") + u' ' + h.stored("q7", "teikei"), optionsSaved ? "1 0" : "<missing> <missing>");
        QCOMPARE(h.stored("Size", "DTop"), QStringLiteral("<missing>")); // only its own button saves the position
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
        DateDialog *d = h.startOnPhrasePage();
        h.dialogs.inputAnswers = {QStringLiteral("lost?")};
        control(d, "addPhraseButton")->click();
        d->close(); // the phrase file is written here
        QCOMPARE(h.saved(), kept);
        const QString said = kept.isEmpty() ? QStringLiteral(" を読み込めません。") : QStringLiteral(" に書き込めません。");
        QVERIFY(h.dialogs.calls.last().prompt.startsWith(QDir::toNativeSeparators(path) + said + u'\n'));
    }
};

QTEST_MAIN(TestDateDialog)
#include "tst_datedialog.moc"
