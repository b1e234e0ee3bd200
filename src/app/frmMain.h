#pragma once

#include "sheets/textfile.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <memory>

class clsText1;
class CommonDialog;
class Dialogs;
class Find;
class frmDate;
class QAction;
class QDateTime;
class QMenu;
class QTimer;
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
    CommonDialog *commonDialog = nullptr; // open/save/font/colour dialogs; not owned
    std::function<QDateTime()> now;     // the clock; empty means the system clock
};

// The editor's one main window: seven sheets behind a tab strip, each kept in its own file in
// the program directory. Its handlers are defined in the folders of the subsystems that own them.
class frmMain final : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int SheetCount = 7;
    // Button 4's tooltip: these six characters, then the path that Ctrl+S writes to.
    static inline const QString SaveToOpenedPrefix = QStringLiteral("上書き保存－");

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
    // Reading and writing a text file with the hourglass showing; a failure is reported
    // ("ファイルを開けません", "<path> に書き込めません。") and changes nothing.
    TextFile::ReadResult readTextFile(const QString &path);
    bool writeTextFile(const QString &path, const QString &text, bool reportFailure = true);

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

    // File commands (commands/filecommands.cpp).
    void mnuFile_Click();
    void mnuNew_Click();
    void mnuOpen_Click();
    void ReadOpenedFile();
    void mnuSelopen_Click();
    void mnuUwa_Click();
    void mnuSave_Click();
    void mnuSelsave_Click();
    void mnuNoe_Click();
    void mnuEndno_Click();

    // Edit menu and undo (commands/editcommands.cpp).
    void mnuEdit_Click();
    void mnuUndo_Click();
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuAllcopy_Click();
    void mnuPaste_Click();
    void mnuDelete_Click();
    void mnuSelectall_Click();
    // A programmatic rewrite of the selection: keeps the whole text as the undo snapshot first.
    void rewriteSelection(const QString &text);
    // Keeps the Edit and conversion menus' states current between openings (selection, text,
    // clipboard, undo), so that no shortcut is left dead by the state of the last opening.
    void bindEditingCommands();

    // Quotation (commands/quotation.cpp).
    void mnuIncopy_Click();
    void mnuInhari_Click();
    void mnuInyou_Click();

    // Conversion and the date-time stamp (commands/conversion.cpp).
    void mnuChara_Click();
    void mnuChar_Click(int index);
    void mnuDate_Click();

    // Timer and status bar (app/statusbar.cpp).
    void Timer1_Timer();
    void StatusBar1_PanelDblClick(int panel);

    // Find and replace (find/findcommand.cpp).
    void mnuSearchFind_Click();

    // Date and boilerplate dialog (phrases/datecommands.cpp).
    void mnuDateform_Click();
    void mnuInsert_Click();
    void showDateDialog(int page);
    frmDate *dateDialog() const;

    QDateTime now() const;

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
    QTimer *Timer1 = nullptr;

    // Menus and their items; toolbar buttons that share an item's state share its action.
    QMenu *mnuFile = nullptr;
    QAction *mnuNew = nullptr, *mnuOpen = nullptr, *mnuSelopen = nullptr, *mnuUwa = nullptr,
            *mnuSave = nullptr, *mnuSelsave = nullptr, *mnuNoe = nullptr, *mnuEndno = nullptr;
    QMenu *mnuEdit = nullptr;
    QAction *mnuUndo = nullptr, *mnuCut = nullptr, *mnuCopy = nullptr, *mnuAllcopy = nullptr,
            *mnuPaste = nullptr, *mnuDelete = nullptr, *mnuIncopy = nullptr, *mnuInhari = nullptr,
            *mnuInyou = nullptr, *mnuSelectall = nullptr, *mnuSearchFind = nullptr;
    QMenu *mnuChara = nullptr;
    std::array<QAction *, 10> mnuChar{};
    QMenu *mnuMenuin = nullptr;
    QMenu *mnuNow = nullptr;
    QAction *mnuDate = nullptr, *mnuDateform = nullptr, *mnuInsert = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void createMenus();
    void createFileMenu();
    void createEditMenu();
    void createCharMenu();
    void createInsertMenu();
    QAction *addItem(QMenu *menu, const char *name, const QString &caption, void (frmMain::*handler)(),
                     const QKeySequence &shortcut = {});
    QAction *addButton(int index, const char *icon, const QString &tooltip, void (frmMain::*handler)(),
                       QAction *shared = nullptr);
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
    // File commands (commands/filecommands.cpp).
    void keepFileItemsCurrent();
    void updateFileItems();
    QString saveToOpenedTarget() const;
    bool chooseFile(bool save, QString &path);

    FrmMainEnv env_;
    QWidget *client_ = nullptr;
    QString label2_ = QStringLiteral("q7 Zibo q1");
    std::map<int, QAction *> toolbarButtons_;
    // Subsystem state; each is owned by the folder named in its comment.
    std::unique_ptr<clsText1> textAdapter_;   // commands/
    QPointer<Find> find_;                     // find/
    QPointer<frmDate> frmDate_;               // phrases/
    // Editing commands (commands/editcommands.cpp, app/statusbar.cpp): enables Undo when either
    // level can undo; with discardSnapshot, a snapshot older than the box's own undo step goes.
    void applyUndoRule(bool discardSnapshot);
    qint64 statusDay_ = 0;                    // Julian day shown in status panel 3

    bool ending_ = false;
    bool sessionEnding_ = false;
    bool arranging_ = false;
    int frameChecksLeft_ = 0;
    // The size and position asked for before the window had its frame.
    double wantLeft_ = 0, wantTop_ = 0, wantWidth_ = 0, wantHeight_ = 0;
};
