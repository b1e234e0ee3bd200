#pragma once

#include "app/singleinstance_handover.h"
#include "editor/WindowHost.h"
#include "sheets/SheetSession.h"

#include <QEvent>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class EditController;
class CommonDialog;
class Dialogs;
class FileController;
class DateController;
class FindController;
class HelpController;
class LauncherController;
class OptionsController;
class LongEdits;
class QAction;
class QMimeData;
class ShellOpen;
class QDateTime;
class QMenu;
class QTimer;
class RecoveryController;
class QFrame;
class QLabel;
class QStatusBar;
class QToolBar;
class SettingsStore;
class TabStrip;
class TextBox;

// What the main window gets from outside, so that tests can give it temporary directories,
// a temporary settings file, scripted dialogs and a recorded end of the program.
struct MainWindowEnv {
    QString programDir;                 // where the sheet files live
    QString helpFile;                   // the manual; empty: q7Zibo.hlp in programDir
    SettingsStore *settings = nullptr;  // not owned
    Dialogs *dialogs = nullptr;         // not owned
    std::function<void()> endProgram;   // called last by writeSettings
    QString commandLine;                // everything after the program name
    bool commandLineNameUnusable = false; // it holds bytes the system's encoding cannot decode
    QString startDir;                   // resolves a relative command-line path
    CommonDialog *commonDialog = nullptr; // open/save/font/colour dialogs; not owned
    std::function<QDateTime()> now;     // the clock; empty means the system clock
    ShellOpen *shell = nullptr;         // hands launcher commands to the desktop; not owned
    QString stateDir;                   // the user's state folder; empty means the platform's
    int idleDelayMs = 3000;             // a pause in typing this long writes the recovery copy
};

// The editor's one main window: seven sheets behind a tab strip, each kept in its own file in
// the program directory. It is a shell: it owns one controller per subsystem, builds its menus
// and toolbar from their actions, lays itself out, shows the status panels and handles closing
// and the end of the session. The sheets' state lives in the sheet session.
class MainWindow final : public QMainWindow, private WindowHost {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowEnv env, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up: reads the settings, shows the window and loads the current sheet.
    void start();
    // The desktop session ends: close the normal way without asking anything.
    void endSession();
    // A later start handed over (app/singleinstance_window.cpp): the window comes to the front
    // and takes the request's file as a start would, once start-up is done (openForHandOvers)
    // and no question or menu is open.
    void takeHandOver(const HandOverRequest &request);
    void openForHandOvers();

    const SheetSession &sheets() const { return *sheets_; }
    // A toolbar button by its index (ToolbarButton::Index); null for an index not built.
    QAction *toolbarButton(int index) const;

    // The window's outer geometry and the screen's size, in twips.
    int windowLeft() const;
    int windowTop() const;
    int windowWidth() const;
    int windowHeight() const;
    int screenWidthTwips() const;
    int screenHeightTwips() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Construction (app/MainWindow.cpp, app/menus.cpp, app/toolbar.cpp).
    void createControls();
    void createControllers();
    void createMenus();
    void createFileMenu();
    void createEditMenu();
    void createConversionMenu();
    void createInsertMenu();
    void createToolsMenu();
    void createHelpMenu();
    void createToolbar();
    void createStatusBar();

    // Start-up and shut-down (app/MainWindow.cpp, app/windowsettings.cpp).
    void writeSettings();
    void applyHolders();
    void readWindowSettings();
    void takeCommandLineFile();
    // A file name the system's encoding cannot decode names no file this program can open.
    void tellNameUnusable();
    QMessageBox::StandardButton msgBox(const QString &prompt, const MessageStyle &style, const QString &title);

    // Sheet switching and captions (app/sheetswitch.cpp).
    void onTabChosen();
    void onTextChanged();
    // Window caption and toolbar button 4 for the current sheet's save target.
    void showSaveTarget();
    // Files dropped anywhere on the window but the launcher box: the last one goes into the
    // current sheet as if opened.
    void openDroppedFiles(const QStringList &files);

    // Layout (app/layout.cpp).
    void arrangeControls();
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;
    // The outer geometry in twips, limited to a screen's available area and moved onto it.
    void placeWindow(double left, double top, double width, double height);
    void setWindowLeft(double twips);
    void setWindowTop(double twips);
    void setWindowWidth(double twips);
    void setWindowHeight(double twips);
    void reapplyGeometryAfterShow();
    void applyMinimumSize();

    // Command states (app/commandenabling.cpp): every menu item and button that can be disabled,
    // set in one place from one rule.
    void keepCommandStatesCurrent();

    // Exit without saving: the current sheet's changes since its last save point are dropped.
    void exitWithoutSaving();

    // Timer and status bar (app/statusbar.cpp).
    void onTick();
    void onPanelDoubleClicked(int panel);
    // Panel 3's tip names the encoding the current sheet will be written in.
    void showEncodingTip(const QString &tip);
    // Panel 4: the current sheet's encoding and line ends.
    void showFileForm();

    // What the controllers get from the window.
    QWidget *window() override { return this; }
    TextBox *editor() override { return textBox_; }
    QMessageBox::StandardButton ask(const QString &prompt, const MessageStyle &style, const QString &title) override
    {
        return msgBox(prompt, style, title);
    }
    void note(const QString &text) override;
    QDateTime now() const override;
    void runBeside(const std::function<void()> &work) override;
    bool inLongEdit() const override;
    void updateCommandStates() override;

    // Second starts (app/singleinstance_window.cpp).
    void bringToFront();
    void takeWaitingHandOvers();
    void takeHandedOverFile(const HandOverRequest &request);

    MainWindowEnv env_;
    SheetSession *sheets_;

    // Controls.
    QWidget *client_ = nullptr;
    TextBox *textBox_ = nullptr;
    TabStrip *tabStrip_ = nullptr;
    QToolBar *toolBar_ = nullptr;
    QStatusBar *statusBar_ = nullptr;
    std::array<QFrame *, 2> separatorLines_{};
    std::array<QLabel *, 4> statusPanels_{};  // panel 1 is covered by the launcher box
    QMenu *reopenMenu_ = nullptr;
    QTimer *tickTimer_ = nullptr;

    // Toolbar buttons by index; those that share a menu item's state share its action.
    std::map<int, QAction *> toolbarButtons_;

    // The controllers.
    FileController *files_ = nullptr;
    EditController *edits_ = nullptr;
    LauncherController *launcher_ = nullptr;
    FindController *finds_ = nullptr;
    DateController *dates_ = nullptr;
    HelpController *help_ = nullptr;
    OptionsController *options_ = nullptr;
    RecoveryController *recovery_ = nullptr;

    qint64 statusDay_ = 0;                    // Julian day shown in status panel 3
    QString heldNote_;                        // a note kept back while the launcher box has the focus

    std::vector<HandOverRequest> handOvers_;  // app/singleinstance_window.cpp
    QTimer *handOverRetry_ = nullptr;
    bool handOversOpen_ = false;

    LongEdits *longEdits_ = nullptr;

    bool running_ = false;  // start-up is done and the end has not come
    bool ending_ = false;
    bool sessionEnding_ = false;
    bool arranging_ = false;
    int frameChecksLeft_ = 0;
    // The size and position asked for before the window had its frame.
    double wantLeft_ = 0, wantTop_ = 0, wantWidth_ = 0, wantHeight_ = 0;
};
