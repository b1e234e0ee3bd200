#pragma once

// A main window in a temporary program directory with a temporary settings file, scripted
// message boxes and a recorded end of the program.
#include "app/TabStrip.h"
#include "editor/TextBox.h"
#include "app/MainWindow.h"
#include "fakes.h"
#include "settings/settingsstore.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <memory>

// The window's controls as a user reaches them, by their names.
inline TextBox *textBox(const MainWindow &w) { return w.findChild<TextBox *>(QStringLiteral("textBox")); }
inline TabStrip *tabStrip(const MainWindow &w) { return w.findChild<TabStrip *>(QStringLiteral("tabStrip")); }
inline QAction *action(const MainWindow &w, const QString &name)
{
    if (QAction *a = w.findChild<QAction *>(name))
        return a;
    qFatal("no action %s", qPrintable(name));
}
inline QLabel *statusPanel(const MainWindow &w, int n) { return w.findChild<QLabel *>(QStringLiteral("statusPanel%1").arg(n)); }

using Setting = std::array<QString, 3>; // section, key, value

// The seven sheet files, and settings stored before the start.
class Harness {
public:
    explicit Harness(std::initializer_list<Setting> presets = {})
    {
        QDir().mkpath(programDir);
        writeSheets();
        for (const auto &[section, key, value] : presets)
            preset(section, key, value);
    }

    QString sheetPath(int n) const { return QDir(programDir).filePath(QStringLiteral("q%1.txt").arg(n)); }

    void writeFile(const QString &path, const QByteArray &bytes) { QVERIFY(putFile(path, bytes)); }
    // LF line ends: sheet files are written CR LF, so one that was only read keeps its bytes.
    void writeSheets()
    {
        for (int n = 1; n <= 7; ++n)
            writeFile(sheetPath(n), "sheet " + QByteArray::number(n) + "\n");
    }
    static QByteArray bytes(const QString &path) { return fileBytes(path); }

    void preset(const QString &section, const QString &key, const QString &value)
    {
        SettingsStore s(iniPath);
        s.writeValue(section, key, value);
        s.sync();
    }
    QString stored(const QString &section, const QString &key) const { return SettingsStore(iniPath).readValue(section, key, QStringLiteral("<missing>")); }

    MainWindow &start(const QString &commandLine = {}, const QString &startDir = {})
    {
        store = std::make_unique<SettingsStore>(iniPath);
        MainWindowEnv env;
        env.programDir = programDir;
        env.settings = store.get();
        env.dialogs = &dialogs;
        env.endProgram = [this] { ++ended; };
        env.commandLine = commandLine;
        env.startDir = startDir;
        if (configure)
            configure(env);
        window = std::make_unique<MainWindow>(env);
        window->start();
        return *window;
    }

    void closeWindow()
    {
        window->close();
        store.reset(); // flushes like the real end of the program
    }

    void selectTab(int n) { tabStrip(*window)->bar()->setCurrentIndex(n - 1); }

    // Lets a test add its own fakes (file dialogs, clock) to the environment.
    std::function<void(MainWindowEnv &)> configure;

    QTemporaryDir tmp;
    QString programDir = tmp.filePath(QStringLiteral("prog"));
    QString iniPath = tmp.filePath(QStringLiteral("config/q7Zibo.conf"));
    FakeDialogs dialogs;
    int ended = 0;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<MainWindow> window;
};

