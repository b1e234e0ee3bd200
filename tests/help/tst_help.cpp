// The help window over the real manual and over small pages of its own, and the manual itself:
// links that lead somewhere and a word on every menu command.
#include "../editor/fakehost.h"
#include "app/TabStrip.h"
#include "app/toolbarbuttons.h"
#include "harness.h"
#include "help/HelpController.h"
#include "help/HelpViewer.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QStringDecoder>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>

using namespace Qt::StringLiterals;

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    // A link followed with the keyboard, back and forth with the buttons, back to the contents.
    void backAndForward()
    {
        QTemporaryDir dir;
        HelpViewer folder({dir.path()}, nullptr);  // a folder is no manual: no empty window
        QVERIFY(!folder.showContents() && !folder.isVisible());
        const QString path = dir.filePath(u"q7Zibo.hlp"_s);
        QVERIFY(putFile(path, u"<html><head><meta charset=\"utf-8\"></head><body><h1>目次</h1><p><a href=\"#far\">遠くの節</a></p>%1"
                              "<h2><a name=\"far\"></a>遠くの節</h2><p>本文</p>%1</body></html>"_s.arg(u"<p>…</p>"_s.repeated(200)).toUtf8()));
        HelpViewer v({path}, nullptr);
        auto *b = v.findChild<QTextBrowser *>(u"browser"_s);
        auto *back = v.findChild<QPushButton *>(u"backButton"_s), *forward = v.findChild<QPushButton *>(u"forwardButton"_s);
        // The page shown, whether it is scrolled down, and back and forward enabled.
        const auto state = [&] {
            return u"%1 %2 %3%4"_s.arg(b->source().toString(QUrl::RemoveScheme), b->verticalScrollBar()->value() > 0 ? u"down"_s : u"top"_s)
                .arg(back->isEnabled()).arg(forward->isEnabled());
        };
        const QString contents = QUrl::fromLocalFile(path).toString(QUrl::RemoveScheme), far = contents + u"#far"_s;
        QVERIFY(v.showContents());
        QCOMPARE(state(), contents + u" top 00"_s);
        QTest::keyClick(b, Qt::Key_Tab);
        QTest::keyClick(b, Qt::Key_Return);
        QCOMPARE(state(), far + u" down 10"_s);
        back->setFocus();
        QTest::keyClick(back, Qt::Key_Return);  // Enter on a focused button presses it
        QCOMPARE(state(), contents + u" top 01"_s);
        QTest::mouseClick(forward, Qt::LeftButton);
        QCOMPARE(state(), far + u" down 10"_s);
        QVERIFY(v.showContents());
        QCOMPARE(state(), contents + u" top 10"_s);
        // Scrolled down by hand, the page is still the contents' source; the top comes back.
        b->verticalScrollBar()->setValue(b->verticalScrollBar()->maximum());
        QVERIFY(v.showContents());
        QCOMPARE(state(), contents + u" top 10"_s);
    }

    // The manual beside the program, or an installed copy, opens at its contents; a missing one is named.
    void helpCommand()
    {
        for (const bool named : {false, true}) {
            QTemporaryDir dir;
            const QString path = dir.filePath(named ? u"share/manual.hlp"_s : u"q7Zibo.hlp"_s);
            FakeHost host;
            HelpController help(host, named ? path : QString(), dir.path());
            const auto viewers = [&] { return host.widget.findChildren<HelpViewer *>(); };
            help.helpAction()->trigger();
            QCOMPARE(host.dialogs.prompts(), QStringList{QDir::toNativeSeparators(path) + u" を開けません。"_s});
            QVERIFY(viewers().isEmpty() && QDir(dir.path()).mkpath(u"share"_s) && QFile::copy(QStringLiteral(Q7_HELP_FILE), path));
            help.helpAction()->trigger();
            help.helpAction()->trigger();
            QVERIFY(viewers().size() == 1 && viewers()[0]->isVisible() && !viewers()[0]->isModal());
            auto *browser = viewers()[0]->findChild<QTextBrowser *>(u"browser"_s);
            QCOMPARE(browser->source(), QUrl::fromLocalFile(path));
            // Closed with Esc, the viewer goes away, and the next command builds it afresh.
            QTest::keyClick(browser, Qt::Key_Escape);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(viewers().isEmpty());
            help.helpAction()->trigger();
            QCOMPARE(viewers().size(), 1);
        }
    }

    // The manual as Qt's rich-text reader takes it: every link leads to an anchor, none given
    // twice; each menu command is described under its caption, its shortcut in a table row beside it.
    void manual()
    {
        QFile file(QStringLiteral(Q7_HELP_FILE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString html = utf8(file.readAll());
        QVERIFY2(!utf8.hasError(), "the manual is not UTF-8");
        QTextDocument doc;
        doc.setHtml(html);
        QStringList hrefs, names;
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (format.anchorHref().startsWith(u'#'))
                    hrefs << format.anchorHref().mid(1);
                names << format.anchorNames();
            }
        QVERIFY(hrefs.size() > 40);
        const QSet<QString> known(names.begin(), names.end());
        QCOMPARE(known.size(), names.size());
        for (const QString &href : hrefs)
            QVERIFY2(known.contains(href), qPrintable(u"no anchor for #"_s + href));

        Harness h;
        MainWindow &w = h.start();
        const QString text = doc.toPlainText();
        static const QRegularExpression row(QStringLiteral("<tr>.*?</tr>"), QRegularExpression::DotMatchesEverythingOption);
        QList<QAction *> items = w.menuBar()->actions() + w.findChild<QMenu *>(u"tabMenu"_s)->actions();
        int described = 0;
        while (!items.isEmpty()) {
            const QAction *item = items.takeFirst();
            if (item->menu())
                items << item->menu()->actions();
            if (item->isSeparator() || !item->isVisible())
                continue;  // the registered applications' items are hidden until set
            const QString caption = item->text().remove(u'&');
            QVERIFY2(text.contains(caption), qPrintable(caption));
            ++described;
            const QString shortcut = item->shortcut().toString(QKeySequence::PortableText);
            bool found = shortcut.isEmpty();
            for (const QRegularExpressionMatch &m : row.globalMatch(html))
                found = found || (m.captured().contains(caption) && m.captured().contains(u'>' + shortcut + u'<'));
            QVERIFY2(found, qPrintable(caption + u": no table row gives "_s + shortcut + u" beside it"_s));
        }
        QVERIFY(described > 40);
        // Every toolbar button's tip is named in the toolbar's table (button 4's without its path),
        // and the tabs' access keys sit in the key table as one range.
        // The first column names the buttons; a free registered button's tip is told beside it.
        const QString toolbarTable = html.section(u"name=\"toolbar\""_s, 1).section(u"</table>"_s, 0, 0);
        QString buttonNames = toolbarTable.contains(u"「設定なし」"_s) ? u"設定なし|"_s : QString();
        static const QRegularExpression firstCell(QStringLiteral("<tr><td>(.*?)</td>"));
        for (const QRegularExpressionMatch &m : firstCell.globalMatch(toolbarTable))
            buttonNames += m.captured(1) + u'|';
        for (const QAction *button : w.findChild<QToolBar *>(u"toolBar"_s)->actions()) {
            const QString tip = button->toolTip().section(ToolbarButton::SaveToOpenedPrefix, 0, 0, QString::SectionIncludeTrailingSep);
            QVERIFY2(button->isSeparator() || buttonNames.contains(tip), qPrintable(tip));
        }
        const QTabBar *tabs = w.findChild<TabStrip *>()->bar();
        const auto key = [&](int i) { return QKeySequence::mnemonic(tabs->tabText(i)).toString(QKeySequence::PortableText); };
        QVERIFY2(text.contains(key(0) + u'〜' + key(tabs->count() - 1)), qPrintable(key(0)));
    }

    // The manual names its own pictures; a name that leads out of its folder, to a device or to
    // a file too large for a manual is not read (a device could be endless).
    void manualReadsOnlyItsOwnFiles_data()
    {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<bool>("loads");
        QTest::addRow("a picture beside the manual") << "picture.png" << true;
        QTest::addRow("a file outside its folder") << "../outside.png" << false;
        QTest::addRow("a link out of its folder") << "link.png" << false;
        QTest::addRow("a device") << "/dev/null" << false;
        QTest::addRow("a file too large") << "large.png" << false;
    }
    void manualReadsOnlyItsOwnFiles()
    {
        QFETCH(QString, resource);
        QFETCH(bool, loads);
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath("manual")) && putFile(dir.filePath("manual/q7Zibo.hlp"), "<p>manual</p>")
                && putFile(dir.filePath("manual/picture.png"), "picture") && putFile(dir.filePath("outside.png"), "private"));
        QFile::link(dir.filePath("outside.png"), dir.filePath("manual/link.png"));
        QFile large(dir.filePath("manual/large.png"));
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(64 * 1024 * 1024));
        HelpViewer viewer({dir.filePath("manual/q7Zibo.hlp")}, nullptr);
        QVERIFY(viewer.showContents());
        auto *browser = viewer.findChild<QTextBrowser *>("browser");
        QCOMPARE(browser->loadResource(QTextDocument::ImageResource, QUrl(resource)).isValid(), loads);
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
