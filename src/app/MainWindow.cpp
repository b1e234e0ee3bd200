#include "app/MainWindow.h"

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

MainWindow::MainWindow(MainWindowEnv env, QWidget *parent)
    : QMainWindow(parent)
    , env_(std::move(env))
    , sheets_(new SheetSession(env_.programDir, this))
{
    initResources();
    setObjectName(QStringLiteral("mainWindow"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/q7zibo.svg")));
    createControls();
    connect(sheets_, &SheetSession::saveTargetChanged, this, &MainWindow::showSaveTarget);
    connect(sheets_, &SheetSession::saveTargetChanged, this, &MainWindow::showFileForm);
    connect(sheets_, &SheetSession::shownFormChanged, this, &MainWindow::showFileForm);
    applyHolders();
    setWindowTitle(sheets_->caption());
    setWindowWidth(LayoutRules::DesignWindowWidth);
    setWindowHeight(LayoutRules::DesignWindowHeight);
}

MainWindow::~MainWindow() = default;

QDateTime MainWindow::now() const
{
    return env_.now ? env_.now() : QDateTime::currentDateTime();
}

void MainWindow::runBeside(const std::function<void()> &work)
{
    longEdits_->runBeside(work);
}

bool MainWindow::inLongEdit() const
{
    return longEdits_->active();
}

void MainWindow::createControls()
{
    client_ = new QWidget(this);
    setCentralWidget(client_);
    client_->installEventFilter(this);

    for (int i = 0; i < 2; ++i) {
        separatorLines_[i] = new QFrame(client_);
        separatorLines_[i]->setObjectName(QStringLiteral("separatorLine%1").arg(i));
        separatorLines_[i]->setFrameShape(QFrame::HLine);
        separatorLines_[i]->setFrameShadow(QFrame::Plain);
        // A dark line over a light one, as an etched separator under the toolbar.
        separatorLines_[i]->setForegroundRole(i == 0 ? QPalette::Mid : QPalette::Light);
    }

    tabStrip_ = new TabStrip(client_);
    tabStrip_->setObjectName(QStringLiteral("tabStrip"));
    connect(tabStrip_, &TabStrip::tabChosen, this, &MainWindow::onTabChosen);

    textBox_ = new TextBox(client_);
    textBox_->setObjectName(QStringLiteral("textBox"));
    longEdits_ = new LongEdits(this, textBox_);
    // Drops on the text box are the window's: a file is opened, text is not typed in.
    textBox_->setAcceptDrops(false);
    textBox_->viewport()->setAcceptDrops(false);
    setAcceptDrops(true);
    textBox_->raise();
    connect(textBox_, &QPlainTextEdit::textChanged, this, &MainWindow::onTextChanged);

    createControllers();
    createMenus();
    createToolbar();
    createStatusBar();
    setFocusProxy(textBox_);

    tickTimer_ = new QTimer(this);
    tickTimer_->setObjectName(QStringLiteral("tickTimer"));
    tickTimer_->setInterval(100);
    connect(tickTimer_, &QTimer::timeout, this, &MainWindow::onTick);
}

void MainWindow::createControllers()
{
    // First: the others keep a reference to its holders.
    options_ = new OptionsController(*this, env_.settings, env_.commonDialog, this);
    connect(options_, &OptionsController::applied, this, [this] {
        applyHolders();
        launcher_->showRegisteredApps();
    });
    connect(tabStrip_, &TabStrip::mousePressed, options_, &OptionsController::onTabStripPressed);
    recovery_ = new RecoveryController(*this, *sheets_, env_.programDir, env_.stateDir, env_.idleDelayMs, this);
    connect(recovery_, &RecoveryController::encodingTipChanged, this, &MainWindow::showEncodingTip);
    files_ = new FileController(*this, *sheets_, env_.commonDialog, this);
    connect(files_, &FileController::sheetSaved, recovery_, &RecoveryController::sheetSaved);
    connect(files_, &FileController::sheetLoaded, recovery_, &RecoveryController::sheetShown);
    connect(files_, &FileController::exitRequested, this, &QWidget::close);
    connect(files_, &FileController::exitWithoutSavingRequested, this, &MainWindow::exitWithoutSaving);
    edits_ = new EditController(*this, *sheets_, options_->holders(), this);
    launcher_ = new LauncherController(*this, env_.shell, options_->holders(), this);
    connect(launcher_, &LauncherController::optionsRequested, options_, &OptionsController::showOptions);
    finds_ = new FindController(*this, env_.dialogs, [this] { return QPoint(windowLeft(), windowTop()); }, this);
    dates_ = new DateController(*this, env_.settings, env_.dialogs, env_.programDir,
                                [this](const QString &text) { edits_->rewriteSelection(text); }, this);
    help_ = new HelpController(*this, env_.helpFile, env_.programDir, this);
}

void MainWindow::createStatusBar()
{
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("statusBar"));
    statusBar_->setSizeGripEnabled(true);
    QFont f;
    f.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                   QStringLiteral("Noto Sans CJK JP")});
    f.setPointSize(9);
    statusBar_->setFont(f);
    setStatusBar(statusBar_);

    statusPanels_[0] = nullptr; // panel 1 is covered by the launcher box and its run button
    statusBar_->addWidget(launcher_->launcherBox());
    statusBar_->addWidget(launcher_->runButton());
    // Panel 4, the file's form, stands between the caret and the date, which keeps the right end.
    for (int i : {1, 3, 2}) {
        statusPanels_[i] = new QLabel(statusBar_);
        statusPanels_[i]->setObjectName(QStringLiteral("statusPanel%1").arg(i + 1));
        statusPanels_[i]->setFrameShape(QFrame::Panel);
        statusPanels_[i]->setFrameShadow(QFrame::Sunken);
        statusPanels_[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        statusBar_->addWidget(statusPanels_[i], i == 2 ? 1 : 0);
        // Panel 2 is wide enough for a five-digit line and column.
        if (i == 1)
            statusPanels_[i]->setMinimumWidth(Twips::toPixels(1700, logicalDpiX()));
        // Panel 4 is wide enough for "UTF-8 BOM CRLF".
        if (i == 3)
            statusPanels_[i]->setMinimumWidth(Twips::toPixels(LayoutRules::FormPanelWidth, logicalDpiX()));
        statusPanels_[i]->installEventFilter(this);
    }
}

QMessageBox::StandardButton MainWindow::msgBox(const QString &prompt, const MessageStyle &style, const QString &title)
{
    return env_.dialogs ? env_.dialogs->MsgBox(this, prompt, style, title) : QMessageBox::Ok;
}

void MainWindow::start()
{
    // Every read below keeps the holder's current value when the stored text does not convert
    // or does not apply; start-up always goes on.
    running_ = true;
    keepCommandStatesCurrent();
    updateCommandStates();
    options_->load(*env_.settings);
    applyHolders();
    readWindowSettings();
    for (int sheet = 1; sheet <= SheetSession::SheetCount; ++sheet)
        sheets_->setOpenedFile(sheet, env_.settings->read(SettingsKeys::OpenFile, sheets_->openedFile(sheet), sheet - 1));
    sheets_->takeStoredCaption(env_.settings->read(SettingsKeys::CurrentSheet, sheets_->caption()));
    showSaveTarget();
    launcher_->showRegisteredApps();

    show();
    // The frame may be known at once or only once the window manager has framed the window.
    frameChecksLeft_ = 40;
    reapplyGeometryAfterShow();
    QDir::setCurrent(env_.programDir);
    // Before the sheet is read, so that a restored text is what it shows.
    recovery_->restore();
    if (ending_)
        return;
    // A file named on the command line goes into sheet 1: the sheet current at the last exit
    // is not read for nothing.
    if (env_.commandLine.isEmpty())
        files_->loadSheet();
    else
        takeCommandLineFile();
    if (ending_)
        return;  // the session ended while a message was shown
    launcher_->load(*env_.settings);
    tabStrip_->selectQuietly(sheets_->currentSheet());
    tickTimer_->start();
}

void MainWindow::takeCommandLineFile()
{
    // A relative path means the directory the program was started from, not the program's own.
    const QString path = QDir(env_.startDir.isEmpty() ? QDir::currentPath() : env_.startDir).absoluteFilePath(env_.commandLine);
    sheets_->setCurrentSheet(1);
    if (env_.commandLineNameUnusable) {
        tellNameUnusable();
    } else if (files_->openIntoSheet(path)) {
        return;
    }
    // Sheet 1 keeps its own text: show its file, unchanged.
    files_->loadSheet();
}

void MainWindow::tellNameUnusable()
{
    msgBox(QStringLiteral("ファイルを開けません\nファイル名に、この環境の文字コードで表せないバイトがあります。"), {}, AppTitle);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (ending_) {
        event->accept();
        return;
    }
    const bool saved = files_->saveSheet(false);
    if (!saved && !sessionEnding_) {
        const QString prompt = QStringLiteral("%1 に書き込めません。\nこのシートの変更は失われます。終了しますか？")
                                   .arg(QDir::toNativeSeparators(sheets_->sheetFilePath(sheets_->currentSheet())));
        const QMessageBox::StandardButton answer = msgBox(prompt, {QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No}, AppTitle);
        // A session that ends while the question is open ends the program all the same.
        if (answer != QMessageBox::Yes && !sessionEnding_) {
            event->ignore();
            return;
        }
    }
    event->accept();
    // Answered Yes, the user gave the changes up; a session that ends cannot ask.
    recovery_->end(!saved && sessionEnding_);
    writeSettings();
}

void MainWindow::exitWithoutSaving()
{
    recovery_->end(false);
    writeSettings();
}

void MainWindow::endSession()
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

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The client area gets its size from the main window's layout, after the window's own
    // resize: arrange then.
    if (watched == client_ && event->type() == QEvent::Resize)
        arrangeControls();
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 1; i < 3; ++i)
            if (watched == statusPanels_[i])
                onPanelDoubleClicked(i + 1);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        arrangeControls();
}
