#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <map>

class Dialogs;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QStatusBar;
class QToolBar;
class SettingsStore;
class TabStrip;
class TextBox;

// What the main window gets from outside, so that tests can give it temporary directories,
// a temporary settings file, scripted dialogs and a recorded end of the program.
struct FrmMainEnv {
    QString programDir;                 // where the sheet files live
    SettingsStore *settings = nullptr;  // not owned
    Dialogs *dialogs = nullptr;         // not owned
    std::function<void()> endProgram;   // called last by WriteSettings
    QString commandLine;                // everything after the program name
    QString startDir;                   // resolves a relative command-line path
};

// The editor's one main window: seven sheets behind a tab strip, each kept in its own file in
// the program directory. Its handlers are defined in the folders of the subsystems that own them.
class frmMain final : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int SheetCount = 7;

    explicit frmMain(FrmMainEnv env, QWidget *parent = nullptr);
    ~frmMain() override;

    // Start-up and shut-down (app/frmMain.cpp, settings/).
    void Form_Load();
    void Form_Unload();
    void WriteSettings();
    // The desktop session ends: close the normal way without asking anything.
    void endSession();

    // Sheet store (sheets/sheetstore.cpp).
    bool SaveSheet(bool reportFailure = true);
    void LoadFile();
    void SetOpenedFile();
    // Reads the outside file named by strFileName into the current sheet; on failure the sheet
    // keeps its text and flag, and the failure is reported as LoadFile reports it.
    bool LoadOutsideFile();
    int currentSheet() const;
    static QString sheetFileName(int sheet);
    QString sheetFilePath(int sheet) const;

    // Sheet switching and captions (app/sheetswitch.cpp).
    void TabStrip1_Click();
    void Label2_Change();
    void Text1_Change();
    const QString &Label2() const { return label2_; }
    void setLabel2(const QString &caption);
    // Window caption and toolbar button 4 for the current sheet's opened-file path.
    void showOpenedFileCaptions();
    void showNoFileCaptions();

    // Layout (app/layout.cpp).
    void ArrangeControls();
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;
    int windowLeft() const;
    int windowTop() const;
    int windowWidth() const;
    int windowHeight() const;
    void setWindowLeft(double twips);
    void setWindowTop(double twips);
    void setWindowWidth(double twips);
    void setWindowHeight(double twips);
    int screenWidthTwips() const;
    int screenHeightTwips() const;

    QAction *toolbarButton(int index) const;

    // State shared by the handlers.
    bool blnChanged = false;
    QString strFileName;
    std::array<QString, SheetCount> lblRealFile;
    std::array<QString, 11> Label1;
    QString strUndo;

    // Controls.
    TextBox *Text1 = nullptr;
    TabStrip *TabStrip1 = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QComboBox *Combo1 = nullptr;
    std::array<QFrame *, 2> Line1{};
    std::array<QLabel *, 3> StatusPanel{};

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void createToolbar();
    void createStatusBar();
    void readTextBoxSettings();
    void readWindowSettings();
    void readOptionSettings();
    void readTabSettings();
    void readLauncherSettings();
    void takeCommandLineFile();
    void reapplyGeometryAfterShow();
    void applyMinimumSize();
    int msgBox(const QString &prompt, int style, const QString &title);
    QString resolveFileName(const QString &name) const;

    FrmMainEnv env_;
    QWidget *client_ = nullptr;
    QString label2_ = QStringLiteral("q7 Zibo q1");
    std::map<int, QAction *> toolbarButtons_;
    bool ending_ = false;
    bool sessionEnding_ = false;
    bool arranging_ = false;
    int frameChecksLeft_ = 0;
    // The size and position asked for before the window had its frame.
    double wantLeft_ = 0, wantTop_ = 0, wantWidth_ = 0, wantHeight_ = 0;
};
