// The options dialog on its own: what it shows of the holders, what apply hands back and
// writes, when apply is enabled, the pickers, and how the dialog closes.
#include "../commands/fakecommondialog.h"
#include "settings/frmOption.h"
#include "settings/settingsstore.h"
#include "settings/settingstext.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

struct OptionHarness {
    OptionHarness()
    {
        holders.textFont = {u"Serif"_s, 12, false, false};
        store = std::make_unique<SettingsStore>(iniPath());
    }
    ~OptionHarness() { delete dialog; }
    QString iniPath() const { return tmp.filePath(u"q7Zibo.conf"_s); }

    frmOption *open(int page = frmOption::EnvironmentPage)
    {
        frmOption::Env env;
        env.holders = holders;
        env.settings = store.get();
        env.commonDialog = &picker;
        env.apply = [this](const Holders &h) { applied << h; };
        env.version = version;
        dialog = new frmOption(env, nullptr);
        dialog->selectPage(page);
        dialog->show();
        QApplication::setActiveWindow(dialog);
        return dialog;
    }
    // The store as a later start would read it.
    QString storedIme() const { return SettingsStore(iniPath()).ReadSetting(u"IME"_s, u"IME"_s, u"<missing>"_s); }
    void ok() { dialog->Command1[0]->click(); }

    QTemporaryDir tmp;
    std::unique_ptr<SettingsStore> store;
    FakeCommonDialog picker;
    Holders holders;
    QString version = u"1.1.0"_s;
    QList<Holders> applied;
    QPointer<frmOption> dialog;
};

} // namespace

class TestFrmOption : public QObject {
    Q_OBJECT
private slots:
    // What the dialog shows of the holders, the typing limits of its boxes, and what OK hands back.
    void loadsTheHolders()
    {
        OptionHarness h;
        h.holders.restoreSize = u"1"_s;
        h.holders.quoteMark = u"|"_s;
        h.holders.tabFont.bold = true;
        h.holders.tabCaptions[6] = u"Memo"_s;
        h.holders.ime = u"false"_s;  // only exactly "False" turns full-width off
        const QString name25 = u"Application with 25 chars"_s;
        h.holders.apps[0] = {u"/opt/app"_s, name25};  // the first slot's 20 are for typing only
        h.holders.apps[1] = {QString(), u"Editor"_s};
        h.version = u"2.3.12"_s;
        frmOption *d = h.open(frmOption::TabPage);
        QCOMPARE(d->Label11->text(), u"Version 2.312"_s);  // minor and revision run together
        QVERIFY(d->Option1->isChecked() && !d->Option2->isChecked());
        QVERIFY(d->Check1->isChecked() && !d->Check2->isChecked());
        QVERIFY(d->Check3->isChecked() && !d->Check4->isChecked());
        QCOMPARE(d->txtInyou->text(), u"|"_s);
        QCOMPARE(d->Text21[6]->text(), u"Memo"_s);
        QCOMPARE(d->Text21[0]->text(), u"Zibo q &1"_s);
        QCOMPARE(d->Text3[1]->text(), u"Editor"_s);
        QCOMPARE(d->Label5->font().pointSizeF(), 12.0);  // the preview is written in the text box's font
        QCOMPARE(d->Combo1->currentText(), u"Times New Roman"_s);
        QCOMPARE(d->Combo2->currentText(), u"11.25"_s);  // as stored, though not one of the list's
        QVERIFY(!(d->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(d->Command1[0]->isDefault());
        d->Text21[3]->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(d->Text21[3]->selectedText(), u"Zibo q &4"_s);  // focus selects the whole text
        QTest::keyClick(d->Text3[0], Qt::Key_Backspace);  // a long name may be shortened,
        QTest::keyClicks(d->Text3[0], u"x"_s);             // not lengthened
        QCOMPARE(d->Text3[0]->text(), name25.chopped(1));
        d->Text3[0]->selectAll();
        QTest::keyClicks(d->Text3[0], u"abcdefghijklmnopqrstuvwxyz"_s);
        QTest::keyClicks(d->Text3[1], u"abcdefghijklmnopqrstuvwxyz"_s);
        QTest::keyClicks(d->txtInyou, u">>>"_s);
        QCOMPARE(d->Text3[0]->text(), u"abcdefghijklmnopqrst"_s);
        QCOMPARE(d->Text3[1]->text().size(), 32);
        QCOMPARE(d->txtInyou->text(), u"|>"_s);
        h.ok();
        QCOMPARE(h.applied.size(), 1);
        QCOMPARE(h.applied[0].apps[0].name, u"abcdefghijklmnopqrst"_s);
        QVERIFY(h.applied[0].apps[1].name.isEmpty());  // a name without a path is dropped
        QTRY_VERIFY(!h.dialog);
    }

    // Typing in the font boxes does not enable apply, yet counts; the size is the number the
    // text starts with, and no number keeps the size.
    void typedTabFont()
    {
        OptionHarness h;
        frmOption *d = h.open(frmOption::TabPage);
        d->Combo1->lineEdit()->clear();
        QTest::keyClicks(d->Combo1->lineEdit(), u"No Such Font"_s);  // kept as typed
        for (const auto &[typed, size] : {std::pair{"13", 13.0}, {" 1 4pt", 14.0}, {"abc", 14.0}, {"0.00004", 14.0}}) {
            d->Combo2->lineEdit()->clear();
            QTest::keyClicks(d->Combo2->lineEdit(), QString::fromLatin1(typed));
            QVERIFY(!d->Command3->isEnabled());
            d->Check3->click();
            d->Command3->click();
            QCOMPARE(h.applied.last().tabFont.size, size);
        }
        QCOMPARE(h.applied.last().tabFont.name, u"No Such Font"_s);
    }

    void resetEnablesApplyOnlyOnAChange_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<QString>("font");
        QTest::addColumn<bool>("enabled");
        QTest::addRow("all as reset sets them") << u"Zibo q &3"_s << false << u"Times New Roman"_s << false;
        QTest::addRow("a caption differs") << u"Letters"_s << false << u"Times New Roman"_s << true;
        QTest::addRow("italic differs, and the font") << u"Zibo q &3"_s << true << u"Arial"_s << true;
    }
    void resetEnablesApplyOnlyOnAChange()
    {
        QFETCH(QString, caption);
        QFETCH(bool, italic);
        QFETCH(QString, font);
        OptionHarness h;
        h.holders.tabCaptions[2] = caption;
        h.holders.tabFont.italic = italic;
        h.holders.tabFont.name = font;
        frmOption *d = h.open(frmOption::TabPage);
        QTest::keyClick(d, Qt::Key_P, Qt::AltModifier);
        QTEST(d->Command3->isEnabled(), "enabled");
        QCOMPARE(d->Combo1->currentText(), u"Times New Roman"_s);
        QVERIFY(h.applied.isEmpty());  // nothing reaches a holder before apply
        QTest::keyClick(d->Combo1, Qt::Key_Down);  // choosing from the list enables apply
        QVERIFY(d->Command3->isEnabled());
        h.ok();
        QCOMPARE(h.applied[0].tabCaptions[2], u"Zibo q &3"_s);
        QCOMPARE(h.applied[0].tabFont.size, 10.0);
        QVERIFY(!h.applied[0].tabFont.italic);
    }

    void applyWritesTheInputMethodAtOnce()
    {
        OptionHarness h;
        h.holders.ime = u"True"_s;
        frmOption *d = h.open();
        d->Option2->click();
        QVERIFY(d->Command3->isEnabled());
        d->Command3->click();
        QCOMPARE(h.storedIme(), u"False"_s);
        QCOMPARE(h.applied.size(), 1);
        QCOMPARE(h.applied[0].ime, u"False"_s);
        QVERIFY(!d->Command3->isEnabled());
        d->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(h.dialog && d->isVisible());  // a close request is refused
        // Cancel, by its access key, applies and writes nothing more.
        d->Option1->click();
        QTest::keyClick(d, Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(!h.dialog);
        QCOMPARE(h.applied.size(), 1);
        QCOMPARE(h.storedIme(), u"False"_s);
    }

    // Each picker starts from the text box as it is, not from a choice not yet applied; a program
    // is browsed for or dropped; Escape leaves what is not applied.
    void pickersAndPrograms()
    {
        OptionHarness h;
        h.holders.textFont = {u"Serif"_s, 12, false, true};
        h.holders.foreColor = 0x0000FF;  // red, as 0x00BBGGRR
        h.holders.apps[0] = {u"/old/app"_s, u"typed name"_s};
        h.picker.FileName = u"/last/used.txt"_s;
        h.picker.FilterIndex = 1;
        frmOption *d = h.open();
        QVERIFY(d->Option2->isChecked());  // the built-in "False"
        h.picker.answers = QStringList{QString(), u"/opt/tools/editor"_s};
        QTest::keyClick(d, Qt::Key_B, Qt::AltModifier);  // from another page; cancelled
        QCOMPARE(d->Text3[0]->text(), u"typed name"_s);
        QVERIFY(!d->Command3->isEnabled());
        QTest::keyClick(d, Qt::Key_B, Qt::AltModifier);
        QCOMPARE(h.picker.shown.first(), u"Open filter 2 flags 0 from /last/used.txt"_s);
        QCOMPARE(d->Text2[0]->text(), u"/opt/tools/editor"_s);
        QCOMPARE(d->Text3[0]->text(), u"editor"_s);
        QVERIFY(d->Command3->isEnabled());
        // Of dropped files the last names the program (the filter that refuses text: tst_launcher).
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(u"/a/one.exe"_s), QUrl::fromLocalFile(u"/b/three.exe"_s)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(d->Text2[1], &enter);  // the drop goes where the drag was taken
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(d->Text2[1], &drop);
        QCOMPARE(d->Text2[1]->text(), QDir::toNativeSeparators(u"/b/three.exe"_s));
        QCOMPARE(d->Text3[1]->text(), u"three.exe"_s);

        d->Command3->click();  // the program as dropped, so that the pickers start with apply disabled
        h.picker.answers = QStringList{QString(), u"Monospace,14,bold"_s, u"#00ff00"_s, u"#0000ff"_s, QString(), u"#ffff00"_s};
        d->Command4[0]->click();  // cancelled
        QCOMPARE(d->Label5->text(), u"Serif"_s);
        QVERIFY(!d->Command3->isEnabled());
        d->Command4[0]->click();
        QCOMPARE(d->Label5->text(), u"Monospace"_s);
        QVERIFY(d->Label5->font().bold() && !d->Label5->font().italic());
        QVERIFY(d->Command3->isEnabled());
        d->Command4[1]->click();
        d->Command4[1]->click();
        QCOMPARE(d->Label5->palette().color(QPalette::WindowText), QColor(Qt::blue));
        d->Command4[2]->click();  // cancelled
        d->Command4[2]->click();
        const QString font = u"Font flags 1025 from Serif 12 italic"_s, red = u"Color from #ff0000"_s;
        const QString base = u"Color from "_s + QApplication::palette().color(QPalette::Base).name();
        QCOMPARE(h.picker.shown.mid(2), QStringList({font, font, red, red, base, base}));
        d->Command3->click();
        const Holders a = h.applied.value(1);
        QCOMPARE(a.textFont.name, u"Monospace"_s);
        QCOMPARE(a.textFont.size, 14.0);
        QVERIFY(a.textFont.bold && !a.textFont.italic);
        QCOMPARE(a.foreColor, 16711680);  // pure blue
        QCOMPARE(a.backColor, 0x00FFFF);
        h.picker.answers = QStringList{QString()};
        d->Command4[1]->click();
        QCOMPARE(h.picker.shown.last(), u"Color from #0000ff"_s);  // applied, it is the text box's now

        d->Option1->click();
        QTest::keyClick(d, Qt::Key_Escape);
        QTRY_VERIFY(!h.dialog);
        QCOMPARE(h.applied.size(), 2);
        QCOMPARE(h.storedIme(), u"False"_s);
    }
};

QTEST_MAIN(TestFrmOption)
#include "tst_frmoption.moc"
