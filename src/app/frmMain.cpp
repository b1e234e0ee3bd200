#include "app/frmMain.h"

#include "app/TabStrip.h"
#include "editor/TextBox.h"
#include "app/layoutrules.h"
#include "app/toolbarbuttons.h"
#include "commands/FileController.h"
#include "commands/EditController.h"
#include "editor/LongEdits.h"
#include "find/FindController.h"
#include "help/HelpController.h"
#include "launcher/LauncherController.h"
#include "phrases/DateController.h"
#include "settings/OptionsController.h"
#include "platform/dialogs.h"
#include "platform/twips.h"
#include "settings/settingsstore.h"
#include "sheets/RecoveryController.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

frmMain::frmMain(FrmMainEnv env, QWidget *parent)
    : QMainWindow(parent)
    , env_(std::move(env))
    , sheets_(new SheetSession(env_.programDir, this))
{
    initResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/q7zibo.svg")));
    createControls();
    connect(sheets_, &SheetSession::saveTargetChanged, this, &frmMain::showSaveTarget);
    connect(sheets_, &SheetSession::undoSnapshotChanged, this, &frmMain::updateCommandStates);
    applyHolders();
    setWindowTitle(sheets_->caption());
    setWindowWidth(LayoutRules::DesignWindowWidth);
    setWindowHeight(LayoutRules::DesignWindowHeight);
}

frmMain::~frmMain() = default;

QDateTime frmMain::now() const
{
    return env_.now ? env_.now() : QDateTime::currentDateTime();
}

void frmMain::runBeside(const std::function<void()> &work)
{
    longEdits_->runBeside(work);
}

bool frmMain::inLongEdit() const
{
    return longEdits_->active();
}

void frmMain::createControls()
{
    client_ = new QWidget(this);
    setCentralWidget(client_);
    client_->installEventFilter(this);

    for (int i = 0; i < 2; ++i) {
        Line1[i] = new QFrame(client_);
        Line1[i]->setObjectName(QStringLiteral("Line1_%1").arg(i));
        Line1[i]->setFrameShape(QFrame::HLine);
        Line1[i]->setFrameShadow(QFrame::Plain);
        // A dark line over a light one, as an etched separator under the toolbar.
        Line1[i]->setForegroundRole(i == 0 ? QPalette::Mid : QPalette::Light);
    }

    TabStrip1 = new TabStrip(client_);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    connect(TabStrip1, &TabStrip::Click, this, &frmMain::TabStrip1_Click);

    Text1 = new TextBox(client_);
    Text1->setObjectName(QStringLiteral("Text1"));
    longEdits_ = new LongEdits(this, Text1);
    // Drops on the text box are the window's: a file is opened, text is not typed in.
    Text1->setAcceptDrops(false);
    Text1->viewport()->setAcceptDrops(false);
    setAcceptDrops(true);
    Text1->raise();
    connect(Text1, &QPlainTextEdit::textChanged, this, &frmMain::Text1_Change);

    createControllers();
    createMenus();
    createToolbar();
    createStatusBar();
    setFocusProxy(Text1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
}

void frmMain::createControllers()
{
    // First: the others keep a reference to its holders.
    options_ = new OptionsController(*this, env_.settings, env_.commonDialog, this);
    connect(options_, &OptionsController::applied, this, [this] {
        applyHolders();
        launcher_->showRegisteredApps();
    });
    connect(TabStrip1, &TabStrip::MouseDown, options_, &OptionsController::onTabStripPressed);
    recovery_ = new RecoveryController(*this, *sheets_, env_.programDir, env_.stateDir, env_.idleDelayMs, this);
    connect(recovery_, &RecoveryController::encodingTipChanged, this, &frmMain::showEncodingTip);
    files_ = new FileController(*this, *sheets_, env_.commonDialog, this);
    connect(files_, &FileController::sheetSaved, recovery_, &RecoveryController::sheetSaved);
    connect(files_, &FileController::exitRequested, this, &QWidget::close);
    connect(files_, &FileController::exitWithoutSavingRequested, this, &frmMain::exitWithoutSaving);
    edits_ = new EditController(*this, *sheets_, options_->holders(), this);
    launcher_ = new LauncherController(*this, env_.shell, options_->holders(), this);
    connect(launcher_, &LauncherController::optionsRequested, options_, &OptionsController::showOptions);
    finds_ = new FindController(*this, env_.dialogs, [this] { return QPoint(windowLeft(), windowTop()); }, this);
    dates_ = new DateController(*this, env_.settings, env_.dialogs, env_.programDir,
                                [this](const QString &text) { edits_->rewriteSelection(text); }, this);
    help_ = new HelpController(*this, env_.helpFile, env_.programDir, this);
}

void frmMain::createStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    QFont f;
    f.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                   QStringLiteral("Noto Sans CJK JP")});
    f.setPointSize(9);
    StatusBar1->setFont(f);
    setStatusBar(StatusBar1);

    StatusPanel[0] = nullptr; // panel 1 is covered by the launcher box and its run button
    StatusBar1->addWidget(launcher_->launcherBox());
    StatusBar1->addWidget(launcher_->runButton());
    for (int i = 1; i < 3; ++i) {
        StatusPanel[i] = new QLabel(StatusBar1);
        StatusPanel[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        StatusPanel[i]->setFrameShape(QFrame::Panel);
        StatusPanel[i]->setFrameShadow(QFrame::Sunken);
        StatusPanel[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        StatusBar1->addWidget(StatusPanel[i], i == 2 ? 1 : 0);
        // Panel 2 is wide enough for a five-digit line and column.
        if (i == 1)
            StatusPanel[i]->setMinimumWidth(Twips::toPixels(1700, logicalDpiX()));
        StatusPanel[i]->installEventFilter(this);
    }
}

int frmMain::msgBox(const QString &prompt, int style, const QString &title)
{
    return env_.dialogs ? env_.dialogs->MsgBox(this, prompt, style, title) : MsgBoxResult::OK;
}

void frmMain::Form_Load()
{
    // Every read below keeps the holder's current value when the stored text does not convert
    // or does not apply; start-up always goes on.
    running_ = true;
    keepCommandStatesCurrent();
    updateCommandStates();
    options_->load(*env_.settings);            // 5, 8, 10, 11, 12, 13, 15
    applyHolders();
    readWindowSettings();                     // 6, 7
    for (int sheet = 1; sheet <= SheetSession::SheetCount; ++sheet)
        sheets_->setOpenedFile(sheet, env_.settings->read(SettingsKeys::OpenFile, sheets_->openedFile(sheet), sheet - 1));
    sheets_->takeStoredCaption(env_.settings->read(SettingsKeys::CurrentSheet, sheets_->caption()));
    showSaveTarget();
    launcher_->showRegisteredApps();          // 15

    show();                                   // 16
    // The frame may be known at once or only once the window manager has framed the window.
    frameChecksLeft_ = 40;
    reapplyGeometryAfterShow();
    QDir::setCurrent(env_.programDir);        // 17
    // Before the sheet is read, so that a restored text is what it shows.
    recovery_->restore();
    if (ending_)
        return;
    files_->loadSheet();
    if (ending_)
        return;  // the session ended while a message was shown
    sheets_->setChanged(false);
    takeCommandLineFile();                    // 20
    if (ending_)
        return;
    launcher_->load(*env_.settings);          // 21
    TabStrip1->selectQuietly(sheets_->currentSheet());
    sheets_->setUndoSnapshot(QString());
    Timer1->start();
}

void frmMain::takeCommandLineFile()
{
    if (env_.commandLine.isEmpty())
        return;
    // A relative path means the directory the program was started from, not the program's own.
    const QString path = QDir(env_.startDir.isEmpty() ? QDir::currentPath() : env_.startDir).absoluteFilePath(env_.commandLine);
    sheets_->setCurrentSheet(1);
    if (env_.commandLineNameUnusable) {
        msgBox(QStringLiteral("ファイルを開けません\nファイル名に、この環境の文字コードで表せないバイトがあります。"),
               MsgBoxStyle::OKOnly, AppTitle);
    } else if (files_->openIntoSheet(path)) {
        return;
    }
    // Sheet 1 keeps its own text: show its file, unchanged.
    files_->loadSheet();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (ending_) {
        event->accept();
        return;
    }
    const bool saved = files_->saveSheet(false);
    if (!saved && !sessionEnding_) {
        const QString prompt = QStringLiteral("%1 に書き込めません。\nこのシートの変更は失われます。終了しますか？")
                                   .arg(QDir::toNativeSeparators(sheets_->sheetFilePath(sheets_->currentSheet())));
        const int answer = msgBox(prompt, MsgBoxStyle::YesNo | MsgBoxStyle::Exclamation | MsgBoxStyle::DefaultButton2, AppTitle);
        // A session that ends while the question is open ends the program all the same.
        if (answer != MsgBoxResult::Yes && !sessionEnding_) {
            event->ignore();
            return;
        }
    }
    event->accept();
    // Answered Yes, the user gave the changes up; a session that ends cannot ask.
    recovery_->end(!saved && sessionEnding_);
    WriteSettings();
}

void frmMain::exitWithoutSaving()
{
    recovery_->end(false);
    WriteSettings();
}

void frmMain::endSession()
{
    sessionEnding_ = true;
    longEdits_->setSessionEnding();
    // An open question gets its safe answer, so that whatever asked it goes on to the end.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        if (auto *dialog = qobject_cast<QDialog *>(w); dialog && dialog->isModal() && dialog->isVisible())
            dialog->reject();
    // Does nothing while a close is already under way: that one ends the program.
    close();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // The client area gets its size from the main window's layout, after the window's own
    // resize: arrange then.
    if (watched == client_ && event->type() == QEvent::Resize)
        ArrangeControls();
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 1; i < 3; ++i)
            if (watched == StatusPanel[i])
                StatusBar1_PanelDblClick(i + 1);
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        ArrangeControls();
}
