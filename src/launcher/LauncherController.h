#pragma once

#include "settings/holders.h"

#include <QComboBox>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <array>

class QAction;
class SettingsStore;
class ShellOpen;
class WindowHost;

// The quick launcher under the sheet and the three registered applications: both hand a whole
// text to the desktop and never wait for what it starts. The window places the box and its run
// button in the status bar and the actions in its Tools menu and toolbar.
class LauncherController final : public QObject {
    Q_OBJECT
public:
    // shell may be null: then nothing can be opened. holders is read at each use, so that what
    // the options dialog applied counts at once.
    LauncherController(WindowHost &host, ShellOpen *shell, const Holders &holders, QObject *parent = nullptr);

    QComboBox *launcherBox() const { return launcherBox_; }
    QPushButton *runButton() const { return runButton_; }
    QAction *focusLauncherAction() const { return focusLauncherAction_; }
    QAction *runLauncherAction() const { return runLauncherAction_; }
    QAction *clearLauncherHistoryAction() const { return clearLauncherHistoryAction_; }
    // The Tools menu's item and the toolbar's button of registered application index (0 to 2).
    QAction *registeredAppAction(int index) const { return registeredAppActions_.at(index); }
    QAction *registeredAppButton(int index) const { return registeredAppButtons_.at(index); }

    // What the run button's state depends on: the box holds a command.
    bool hasText() const;
    // The user is typing in the box (a status-bar message would cover it).
    bool hasFocus() const;

    // The history of commands run, oldest first; the box shows the oldest at start.
    void load(const SettingsStore &settings);
    void save(SettingsStore &settings) const;

    // The menu items and buttons follow the registered applications in the holders.
    void showRegisteredApps();

signals:
    // A free slot's button: the options dialog, on that page, is where it is set up.
    void optionsRequested(int page);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onRunLauncher();
    void onFocusLauncher();
    void onClearHistory();
    void onRegisteredApp(int index);
    void onRegisteredAppButton(int index);
    // A selection in the sheet is the likely command.
    void takeSelection();
    // Hands text to the desktop; false, after saying so under title, when nothing was opened.
    bool launch(const QString &text, const QString &title);
    QStringList history() const;

    WindowHost &host_;
    ShellOpen *shell_;
    const Holders &holders_;
    QPointer<QComboBox> launcherBox_;
    QPointer<QPushButton> runButton_;
    QAction *focusLauncherAction_;
    QAction *runLauncherAction_;
    QAction *clearLauncherHistoryAction_;
    std::array<QAction *, Holders::AppCount> registeredAppActions_{};
    std::array<QAction *, Holders::AppCount> registeredAppButtons_{};
};
