// The date and boilerplate dialog on a real main window: pages, inserting, the phrase list's
// rules, and which settings and files are written when.
#include "../app/harness.h"
#include "phrases/frmDate.h"
#include "phrases/phrasefile.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

const QDateTime Fixed(QDate(1998, 10, 21), QTime(16, 5, 9));

struct DateHarness : Harness {
    DateHarness()
    {
        writeSheets();
        configure = [this](FrmMainEnv &env) { env.now = [this] { return clock; }; };
    }
    frmDate *open(const char *item)
    {
        window->findChild<QAction *>(QLatin1String(item))->trigger();
        return window->findChild<frmDate *>();
    }
    QString phrasePath() const { return QDir(programDir).filePath(QStringLiteral("q7Zibo.dat")); }
    void writePhrases(const QStringList &entries) { QVERIFY(PhraseFile::save(phrasePath(), entries).ok); }
    static QStringList listed(const frmDate *d)
    {
        QStringList out;
        for (int i = 0; i < d->List1->count(); ++i)
            out << d->List1->item(i)->text();
        return out;
    }
    QDateTime clock = Fixed;
};

} // namespace

class TestFrmDate : public QObject {
    Q_OBJECT
private slots:
    void pagesAndReopening();
    void insertDateWithAndWithoutClosing();
    void phraseListSortedInsertedDeleted();
    void addingFollowsThePlaceRules_data();
    void addingFollowsThePlaceRules();
    void unloadPathsWriteWhatTheyShould_data();
    void unloadPathsWriteWhatTheyShould();
    void phraseFileFailuresLoseNothing();
};

void TestFrmDate::pagesAndReopening()
{
    DateHarness h;
    h.preset("Size", "DLeft", "1500");
    h.preset("Size", "DTop", "3000");
    h.start();
    frmDate *d = h.open("mnuDateform");
    QVERIFY(d && d->isVisible());
    QCOMPARE(d->pos(), QPoint(100, 200));
    QCOMPARE(d->currentPage(), 0);
    QCOMPARE(d->lstDate->item(2)->text(), QStringLiteral("平成10年 10月21日 水曜日"));
    QTest::keyClick(d, Qt::Key_Escape);
    QVERIFY(d->isVisible()); // no cancel button: Esc does nothing
    // Reopening switches the page of the same dialog without refreshing its lines.
    h.clock = Fixed.addDays(1);
    h.open("mnuInsert");
    QCOMPARE(h.window->findChild<frmDate *>(), d);
    QCOMPARE(d->currentPage(), 1);
    QCOMPARE(d->lstDate->item(0)->text(), QStringLiteral("1998/10/21"));
    // The position is saved by its own button only (the unload paths leave it alone).
    d->move(40, 60);
    d->Command5->click();
    QCOMPARE(h.stored("Size", "DLeft"), QString::number(d->frameGeometry().x() * 15));
    QCOMPARE(h.stored("Size", "DTop"), QString::number(d->frameGeometry().y() * 15));
    // Closing and reopening rebuilds them; double-clicking the date panel opens the date page.
    d->cmdClose->click();
    QTRY_VERIFY(!h.window->findChild<frmDate *>());
    QTest::mouseDClick(statusPanel(*h.window, 3), Qt::LeftButton);
    frmDate *again = h.window->findChild<frmDate *>();
    QVERIFY(again && again->isVisible());
    QCOMPARE(again->currentPage(), 0);
    QCOMPARE(again->lstDate->item(0)->text(), QStringLiteral("1998/10/22"));
}

void TestFrmDate::insertDateWithAndWithoutClosing()
{
    DateHarness h;
    frmMain &w = h.start();
    text1(w)->setText(QStringLiteral("ab"));
    text1(w)->setSelStart(1);
    frmDate *d = h.open("mnuDateform");
    d->Check1->setChecked(false);
    d->lstDate->setCurrentRow(6);
    d->cmdOK->click();
    QCOMPARE(text1(w)->Text(), QStringLiteral("a981021b"));
    QCOMPARE(w.sheets().strUndo(), QStringLiteral("ab"));
    QVERIFY(d->isVisible());
    QCOMPARE(h.stored("q7", "date"), QStringLiteral("<missing>"));

    d->Check1->setChecked(true);
    d->lstDate->setCurrentRow(9);
    emit d->lstDate->itemDoubleClicked(d->lstDate->item(9));
    QCOMPARE(text1(w)->Text(), QStringLiteral("a98102116:05b"));
    QTRY_VERIFY(!h.window->findChild<frmDate *>());
    QCOMPARE(h.stored("q7", "date"), QStringLiteral("1"));
    QCOMPARE(h.stored("q7", "teikei"), QStringLiteral("0"));
}

void TestFrmDate::phraseListSortedInsertedDeleted()
{
    DateHarness h;
    h.writePhrases({"b", "C", "あいう", "a", "123"});
    frmMain &w = h.start();
    text1(w)->setText(QStringLiteral("x"));
    frmDate *d = h.open("mnuInsert");
    QCOMPARE(DateHarness::listed(d), (QStringList{"123", "a", "b", "C", "あいう"})); // Latin case ignored
    QVERIFY(!d->Command4->isEnabled());
    d->List1->setCurrentRow(3);
    d->Command1->click();
    QCOMPARE(text1(w)->Text(), QStringLiteral("Cx"));
    QVERIFY(d->isVisible()); // Check2 starts unchecked
    w.findChild<QAction *>(QStringLiteral("mnuUndo"))->trigger();
    QCOMPARE(text1(w)->Text(), QStringLiteral("x"));

    // Deleting is enabled by clicking a phrase, and only until it is done.
    QTest::mouseClick(d->List1->viewport(), Qt::LeftButton, {}, d->List1->visualItemRect(d->List1->item(1)).center());
    QVERIFY(d->Command4->isEnabled());
    d->Command4->click();
    QCOMPARE(DateHarness::listed(d), (QStringList{"123", "b", "C", "あいう"}));
    QVERIFY(!d->Command4->isEnabled());
    d->cmdAllclear->click();
    QCOMPARE(d->List1->count(), 0);
    d->Command2->click();
    QCOMPARE(PhraseFile::load(h.phrasePath()).entries, QStringList());
}

void TestFrmDate::addingFollowsThePlaceRules_data()
{
    QTest::addColumn<int>("loaded");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    const QString asked = QStringLiteral("保存したい定型文字列を入力してください。");
    QTest::addColumn<QString>("prompt");
    QTest::addRow("29 plus one: the first in order goes again") << 29 << "zz" << 29 << "p01" << asked;
    QTest::addRow("29 plus one that sorts first: it goes itself") << 29 << "a" << 29 << "p00" << asked;
    QTest::addRow("30 loaded: the addition is refused") << 30 << "zz" << 30 << "p00" << QStringLiteral("保存できる文字列は 30 種類です。");
    QTest::addRow("40 from a hand-made file: refused, all kept") << 40 << "zz" << 40 << "p00" << QStringLiteral("保存できる文字列は 30 種類です。");
    QTest::addRow("blanks only add nothing") << 3 << "   " << 3 << "p00" << asked;
    QTest::addRow("blanks around are kept") << 0 << " x " << 1 << " x " << asked;
}

void TestFrmDate::addingFollowsThePlaceRules()
{
    QFETCH(int, loaded);
    QFETCH(QString, answer);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, prompt);
    DateHarness h;
    QStringList phrases;
    for (int i = 0; i < loaded; ++i)
        phrases << QStringLiteral("p%1").arg(i, 2, 10, QLatin1Char('0'));
    h.writePhrases(phrases);
    h.start();
    frmDate *d = h.open("mnuInsert");
    h.dialogs.inputAnswers = {answer};
    d->Command3->click();
    QCOMPARE(h.dialogs.calls.last().prompt, prompt);
    QCOMPARE(d->List1->count(), count);
    QCOMPARE(d->List1->item(0)->text(), first);
    // Closing rewrites the file with every phrase shown: none is dropped.
    const QStringList shown = DateHarness::listed(d);
    d->close();
    QCOMPARE(PhraseFile::load(h.phrasePath()).entries, shown);
}

void TestFrmDate::unloadPathsWriteWhatTheyShould_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("optionsSaved");
    QTest::addRow("close box") << "closebox" << false;
    QTest::addRow("閉じる(&L)") << "cmdClose" << true;
    QTest::addRow("date page ｷｬﾝｾﾙ") << "cmdCancel" << false;
    QTest::addRow("phrase page ｷｬﾝｾﾙ") << "Command2" << false;
    QTest::addRow("insert with closing") << "Command1" << true;
    QTest::addRow("main window closed") << "main" << false;
}

void TestFrmDate::unloadPathsWriteWhatTheyShould()
{
    QFETCH(QString, how);
    QFETCH(bool, optionsSaved);
    DateHarness h;
    h.start();
    frmDate *d = h.open("mnuInsert");
    d->Check2->setChecked(true);
    h.dialogs.inputAnswers = {QStringLiteral("kept")};
    d->Command3->click();
    if (how == QLatin1String("closebox"))
        d->close();
    else if (how == QLatin1String("main"))
        h.closeWindow();
    else
        d->findChild<QPushButton *>(how)->click();
    QTRY_VERIFY(!h.window->findChild<frmDate *>());
    QCOMPARE(PhraseFile::load(h.phrasePath()).entries, QStringList{"kept"});
    QCOMPARE(h.stored("q7", "teikei"), optionsSaved ? QStringLiteral("1") : QStringLiteral("<missing>"));
    QCOMPARE(h.stored("Size", "DTop"), QStringLiteral("<missing>"));
}

void TestFrmDate::phraseFileFailuresLoseNothing()
{
    {
        // A phrase file that cannot be read is reported and never saved over.
        DateHarness h;
        QVERIFY(QDir().mkdir(h.phrasePath()));
        h.start();
        frmDate *d = h.open("mnuInsert");
        QVERIFY(h.dialogs.prompts().constFirst().startsWith(QDir::toNativeSeparators(h.phrasePath()) + QStringLiteral(" を読み込めません。")));
        QVERIFY(!d->Command3->isEnabled() && !d->cmdAllclear->isEnabled());
        d->close();
        QCOMPARE(h.dialogs.calls.size(), 1);
        QVERIFY(QFileInfo(h.phrasePath()).isDir());
    }
    {
        // One that cannot be written is reported when the changed list is saved.
        DateHarness h;
        h.writePhrases({QStringLiteral("old")});
        QVERIFY(QFile::setPermissions(h.phrasePath(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        h.start();
        frmDate *d = h.open("mnuInsert");
        h.dialogs.inputAnswers = {QStringLiteral("lost?")};
        d->Command3->click();
        d->close();
        QVERIFY(h.dialogs.calls.last().prompt.startsWith(QDir::toNativeSeparators(h.phrasePath()) + QStringLiteral(" に書き込めません。")));
        QCOMPARE(PhraseFile::load(h.phrasePath()).entries, QStringList{QStringLiteral("old")});
    }
}

QTEST_MAIN(TestFrmDate)
#include "tst_frmdate.moc"
