// Files dropped on the main window: wherever they land but the launcher box, the last one goes
// into the current sheet as if opened; dragged text is refused.
#include "harness.h"

#include <QApplication>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {

// Where a drop is delivered: the first widget from target up that takes drops.
QWidget *dropReceiver(QWidget *target)
{
    while (target && !target->acceptDrops())
        target = target->parentWidget();
    return target;
}

bool drop(MainWindow &w, QMimeData &data)
{
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &dropped);
    return true;
}

} // namespace

class TestDrops : public QObject {
    Q_OBJECT
private slots:
    void everyPartOfTheWindowHandsDropsToIt()
    {
        Harness h;
        h.writeSheets();
        MainWindow &w = h.start();
        for (QWidget *target : {static_cast<QWidget *>(textBox(w)->viewport()), static_cast<QWidget *>(textBox(w)),
                                static_cast<QWidget *>(tabStrip(w)->bar()), static_cast<QWidget *>(w.findChild<QStatusBar *>()),
                                static_cast<QWidget *>(w.findChild<QToolBar *>())})
            QCOMPARE(dropReceiver(target), &w);
    }

    void droppedFiles_data()
    {
        QTest::addColumn<QString>("last");   // the last file of the list: "readable", "folder"
        QTest::addColumn<bool>("opened");
        QTest::addRow("three files: only the third is read") << "readable" << true;
        QTest::addRow("a folder is a file that cannot be read") << "folder" << false;
    }
    void droppedFiles()
    {
        QFETCH(QString, last);
        QFETCH(bool, opened);
        Harness h;
        h.writeSheets();
        const QString first = h.tmp.filePath(u"one.txt"_s), third = h.tmp.filePath(u"three.txt"_s);
        h.writeFile(first, "one\r\n");
        if (last == u"readable")
            h.writeFile(third, "three\r\n");
        else
            QVERIFY(QDir().mkdir(third));
        h.preset("Open", "File0", u"/memo/kept.txt"_s);
        MainWindow &w = h.start();
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(h.tmp.filePath(u"two.txt"_s)), QUrl::fromLocalFile(third)});
        QVERIFY(drop(w, files));
        QCOMPARE(textBox(w)->Text(), opened ? u"three"_s : u"sheet 1"_s);
        QCOMPARE(w.sheets().changed(), opened);
        // A file that cannot be read leaves the sheet its text and its opened file.
        const QString attached = opened ? third : u"/memo/kept.txt"_s;
        QCOMPARE(w.sheets().openedFile(1), attached);
        QCOMPARE(w.windowTitle(), u"q7 Zibo q1 - "_s + attached);
        QCOMPARE(h.dialogs.prompts().size(), opened ? 0 : 1);
        h.selectTab(2);
        QCOMPARE(Harness::bytes(h.sheetPath(1)), opened ? "three\r\n"_ba : "sheet 1\r\n"_ba);
    }

    void draggedTextIsRefused()
    {
        Harness h;
        h.writeSheets();
        MainWindow &w = h.start();
        QMimeData text;
        text.setText(u"dragged words"_s);
        QVERIFY(!drop(w, text));
        QCOMPARE(textBox(w)->Text(), u"sheet 1"_s);
        QVERIFY(!w.sheets().changed());
    }
};

QTEST_MAIN(TestDrops)
#include "tst_drops.moc"
