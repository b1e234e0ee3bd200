// The file dialogs' filter list in Qt's form, compared one filter a line.
#include "platform/filefilter.h"

#include <QTest>

class TstFileFilter : public QObject {
    Q_OBJECT
private slots:
    void toQtNameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::addRow("the program's filter") << QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ(*.txt)|*.txt|すべてのﾌｧｲﾙ(*.*)|*.*")
                                              << QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ(*.txt) (*.txt)\nすべてのﾌｧｲﾙ(*.*) (*)");
        QTest::addRow("several patterns") << "Programs|*.exe;*.com|Text|*.txt" << "Programs (*.exe *.com)\nText (*.txt)";
        QTest::addRow("unpaired tail ignored") << "Text|*.txt|odd" << "Text (*.txt)";
    }
    void toQtNameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(FileFilter::toQtNameFilters(filter).join(u'\n'), expected);
    }
};

QTEST_APPLESS_MAIN(TstFileFilter)
#include "tst_filefilter.moc"
