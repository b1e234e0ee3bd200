// The options dialog on its own: what it shows of the holders, what apply hands back and
// writes, when apply is enabled, the pickers, and how the dialog closes.
#include "../commands/fakecommondialog.h"
#include "settings/OptionsDialog.h"
#include "settings/settingsstore.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <tuple>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Every holder in one line, so that what the dialog hands back is compared whole.
QString fields(const Holders &h)
{
    QStringList f{h.ime, h.restoreSize, h.restorePosition, h.quoteMark,
                  QString::number(h.foreColor), QString::number(h.backColor)};
    for (const Holders::Font &font : {h.textFont, h.tabFont})
        f << font.name << QString::number(font.size) << QString::number(font.bold) << QString::number(font.italic);
    for (const Holders::App &app : h.apps)
        f << app.path << app.name;
    return (f << QStringList(h.tabCaptions.begin(), h.tabCaptions.end())).join(u'|');
}

struct OptionHarness {
    OptionHarness() { holders.textFont = {u"Serif"_s, 12, false, false}; }
    ~OptionHarness() { delete dialog; }

    OptionsDialog *open(int page = OptionsDialog::EnvironmentPage)
    {
        dialog = new OptionsDialog({holders, &store, &picker, [this](const Holders &h) { applied << h; }, version}, nullptr);
        dialog->selectPage(page);
        dialog->show();
        QApplication::setActiveWindow(dialog);
        return dialog;
    }
    // The dialog's controls, by name.
    template <typename T = QPushButton>
    T *control(const char *name) const { return dialog->findChild<T *>(QLatin1String(name)); }
    QLineEdit *edit(const char *name) const { return control<QLineEdit>(name); }
    bool canApply() const { return control("applyButton")->isEnabled(); }

    QTemporaryDir tmp;
    SettingsStore store{tmp.filePath(u"q7Zibo.conf"_s)};
    FakeCommonDialog picker;
    Holders holders;
    QString version = u"1.1.0"_s;
    QList<Holders> applied;
    QPointer<OptionsDialog> dialog;
};

} // namespace

class TestOptionsDialog : public QObject {
    Q_OBJECT
private slots:
    // OK hands back the holders as shown and edited: only exactly "False" turns full-width off, a
    // name without a path is dropped. The typing limits of the boxes.
    void okHandsBackWhatItShows()
    {
        OptionHarness h;
        h.holders.ime = u"false"_s;
        h.holders.restoreSize = u"1"_s;
        h.holders.quoteMark = u"|"_s;
        h.holders.tabFont = {u"Sans"_s, 11.25, true, false};
        h.holders.tabCaptions[6] = u"Memo"_s;
        const QString name25 = u"Application with 25 chars"_s;
        h.holders.apps[0] = {u"/opt/app"_s, name25};  // the first slot's 20 are for typing only
        h.holders.apps[1] = {QString(), u"Editor"_s};
        h.version = u"2.3.12"_s;
        OptionsDialog *d = h.open(OptionsDialog::TabPage);
        QCOMPARE(h.control<QLabel>("versionLabel")->text(), u"Version 2.312"_s);  // minor and revision run together
        QCOMPARE(h.control<QComboBox>("tabFontSizeBox")->currentText(), u"11.25"_s);  // as stored, though not one of the list's
        QCOMPARE(h.control<QLabel>("preview")->font().pointSizeF(), 12.0);  // the preview is written in the text box's font
        for (const QString &family : QFontDatabase::families())  // symbol sets write no caption
            if (QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol))
                QCOMPARE(h.control<QComboBox>("tabFontBox")->findText(family), -1);
        // Typing in the font boxes does not enable apply, yet counts as typed (no completion); the
        // size is the number the text starts with, and no number keeps the size.
        QLineEdit *font = h.control<QComboBox>("tabFontBox")->lineEdit(), *size = h.control<QComboBox>("tabFontSizeBox")->lineEdit();
        font->setFocus();  // where a completion would come into play
        font->clear();
        QTest::keyClicks(font, u"Noto Sans"_s);  // kept as typed, installed or not
        size->setFocus();
        for (const auto &[typed, points] : {std::pair{"1", 1.0}, {" 1 4pt", 14.0}, {"abc", 14.0}, {"0.00004", 14.0}}) {
            size->clear();
            QTest::keyClicks(size, QString::fromLatin1(typed));
            QVERIFY(!h.canApply());
            h.control<QCheckBox>("tabBoldCheck")->click();
            h.control("applyButton")->click();
            QCOMPARE(h.applied.last().tabFont.size, points);
        }
        QVERIFY(!(d->windowFlags() & Qt::WindowCloseButtonHint) && h.control("okButton")->isDefault());
        h.edit("tabCaptionEdit3")->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(h.edit("tabCaptionEdit3")->selectedText(), u"Zibo q &4"_s);  // focus selects the whole text
        QLineEdit *name0 = h.edit("appNameEdit0");
        QTest::keyClick(name0, Qt::Key_Backspace);  // a long name may be shortened,
        QTest::keyClicks(name0, u"x"_s);            // not lengthened
        QCOMPARE(name0->text(), name25.chopped(1));
        name0->selectAll();
        QTest::keyClicks(name0, u"abcdefghijklmnopqrstuvwxyz"_s);
        QTest::keyClicks(h.edit("appNameEdit1"), u"abcdefghijklmnopqrstuvwxyz"_s);
        QTest::keyClicks(h.edit("quoteMarkEdit"), u">>>"_s);
        QCOMPARE(h.edit("appNameEdit1")->text().size(), 32);  // "Editor" shown, and no limit
        QVERIFY(!name0->acceptDrops());  // a name is typed, never dropped
        h.control("okButton")->click();
        Holders expected = h.holders;
        expected.ime = u"True"_s;
        expected.quoteMark = u"|>"_s;
        expected.apps[0].name = u"abcdefghijklmnopqrst"_s;
        expected.apps[1] = {};
        expected.tabFont = {u"Noto Sans"_s, 14, true, false};  // bold clicked four times
        QCOMPARE(fields(h.applied.last()), fields(expected));
        QTRY_VERIFY(!h.dialog);
    }

    // Enter on a focused button presses it (the colour picker, cancel); from a text box it means
    // OK. Tab goes along the buttons in their order on the screen.
    void enterPressesTheFocusedButton()
    {
        for (const char *focus : {"cancelButton", "quoteMarkEdit"}) {
            OptionHarness h;
            h.open();
            h.edit("quoteMarkEdit")->setText(u"%%"_s);
            h.picker.answers = QStringList{QString()};
            QTest::keyClick(h.control("textColourButton"), Qt::Key_Return);
            QCOMPARE(h.picker.shown.size(), 1);
            h.control("okButton")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), h.control("applyButton"));
            QWidget *target = h.dialog->findChild<QWidget *>(QLatin1String(focus));
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
            QTRY_VERIFY(!h.dialog);
            QCOMPARE(h.applied.isEmpty() ? u"none"_s : h.applied.last().quoteMark, focus == "cancelButton"_L1 ? u"none"_s : u"%%"_s);
        }
    }

    // Reset enables apply only where it changes something: all as reset sets them, a caption
    // differs, italic and the font differ; so does choosing a font from the list.
    void resetEnablesApplyOnlyOnAChange()
    {
        for (const auto &[caption, italic, font, enabled] : {std::tuple{u"Zibo q &3"_s, false, u"Times New Roman"_s, false},
                                                            {u"Letters"_s, false, u"Times New Roman"_s, true},
                                                            {u"Zibo q &3"_s, true, u"Arial"_s, true}}) {
            OptionHarness h;
            h.holders.tabCaptions[2] = caption;
            h.holders.tabFont.italic = italic;
            h.holders.tabFont.name = font;
            OptionsDialog *d = h.open(OptionsDialog::TabPage);
            QTest::keyClick(d, Qt::Key_P, Qt::AltModifier);
            QCOMPARE(h.canApply(), enabled);
            QCOMPARE(h.control<QComboBox>("tabFontBox")->currentText(), u"Times New Roman"_s);
            QTest::keyClick(h.control<QComboBox>("tabFontBox"), Qt::Key_Down);
            QVERIFY(h.canApply());
            if (!enabled) {  // Escape cancels
                QTest::keyClick(h.dialog, Qt::Key_Escape);
                QTRY_VERIFY(!h.dialog && h.applied.isEmpty());
                continue;
            }
            h.control("okButton")->click();
            const Holders &a = h.applied[0];
            QCOMPARE(u"%1 %2 %3"_s.arg(a.tabCaptions[2]).arg(a.tabFont.size).arg(a.tabFont.italic), u"Zibo q &3 10 0"_s);
        }
    }

    // Each picker starts from the text box as it is, not from a choice not yet applied; a program
    // is browsed for or dropped.
    void pickersAndPrograms()
    {
        OptionHarness h;
        h.holders.textFont = {u"Serif"_s, 12, false, true};
        h.holders.foreColor = 0x0000FF;  // red, as 0x00BBGGRR
        h.holders.apps[0] = {u"/old/app"_s, u"typed name"_s};
        h.picker.FileName = u"/last/used.txt"_s;
        h.picker.FilterIndex = 1;
        OptionsDialog *d = h.open();
        h.picker.answers = QStringList{QString(), u"/opt/tools/editor"_s};
        QTest::keyClick(d, Qt::Key_B, Qt::AltModifier);  // from another page; cancelled
        QVERIFY(h.edit("appNameEdit0")->text() == u"typed name"_s && !h.canApply());
        QTest::keyClick(d, Qt::Key_B, Qt::AltModifier);
        QCOMPARE(h.picker.shown.first(), u"Open filter 2 flags 0 from /last/used.txt"_s);
        QCOMPARE(h.edit("appPathEdit0")->text() + u' ' + h.edit("appNameEdit0")->text(), u"/opt/tools/editor editor"_s);
        QVERIFY(h.canApply());
        // Of dropped files the last names the program (the filter that refuses text: tst_launchercontroller).
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(u"/a/one.exe"_s), QUrl::fromLocalFile(u"/b/three.exe"_s)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(h.edit("appPathEdit1"), &enter);  // the drop goes where the drag was taken
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(h.edit("appPathEdit1"), &drop);
        QCOMPARE(h.edit("appPathEdit1")->text() + u' ' + h.edit("appNameEdit1")->text(),
                 QDir::toNativeSeparators(u"/b/three.exe"_s) + u" three.exe"_s);

        h.control("applyButton")->click();  // the program as dropped, so that the pickers start with apply disabled
        h.picker.answers = QStringList{QString(), u"Monospace,14,bold"_s, u"#00ff00"_s, u"#0000ff"_s, QString(), u"#ffff00"_s};
        QLabel *preview = h.control<QLabel>("preview");
        QPushButton *font = h.control("fontButton"), *text = h.control("textColourButton"), *back = h.control("backColourButton");
        font->click();  // cancelled
        QVERIFY(!h.canApply());
        font->click();
        QVERIFY(preview->font().bold() && !preview->font().italic() && h.canApply());
        text->click();
        text->click();
        QCOMPARE(preview->palette().color(QPalette::WindowText), QColor(Qt::blue));
        back->click();  // cancelled
        back->click();
        const QString fromFont = u"Font flags 1025 from Serif 12 italic"_s, red = u"Color from #ff0000"_s;
        const QString base = u"Color from "_s + QApplication::palette().color(QPalette::Base).name();
        QCOMPARE(h.picker.shown.mid(2), QStringList({fromFont, fromFont, red, red, base, base}));
        h.control("applyButton")->click();
        const Holders a = h.applied.value(1);  // the colours as 0x00BBGGRR: blue, and yellow
        QCOMPARE(u"%1 %2 %3%4 %5 %6"_s.arg(a.textFont.name).arg(a.textFont.size).arg(a.textFont.bold).arg(a.textFont.italic).arg(a.foreColor).arg(a.backColor),
                 u"Monospace 14 10 16711680 65535"_s);
        h.picker.answers = QStringList{QString()};
        text->click();
        QCOMPARE(h.picker.shown.last(), u"Color from #0000ff"_s);  // applied, it is the text box's now

        // A close request is refused; cancel, by its access key, applies and writes nothing more.
        h.control<QRadioButton>("imeOnRadio")->click();
        d->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(h.dialog && d->isVisible());
        QTest::keyClick(d, Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(!h.dialog);
        QVERIFY(h.applied.size() == 2 && h.store.readValue(u"IME"_s, u"IME"_s, {}) == u"False"_s);
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"
