#include "settings/OptionsDialog.h"

#include "platform/commondialog.h"
#include "platform/filedrops.h"
#include "settings/colourvalue.h"
#include "settings/settingsstore.h"
#include "settings/settingstext.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTabWidget>
#include <QUrl>
#include <QValidator>
#include <QVBoxLayout>
#include <QVersionNumber>

#include <algorithm>

namespace {

constexpr int FontFlags = 1025;        // screen fonts only, none of the OEM or symbol sets
constexpr int AllFilesFilter = 2;

// A typing limit only: a longer text put in by the program (a stored name, a browsed file's
// title) stays whole, and the user may still shorten it.
class TypingLimit final : public QValidator {
public:
    TypingLimit(int limit, QLineEdit *edit)
        : QValidator(edit), limit_(limit)
    {
        // The box's text changes only after the new text passed here.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { previous_ = text; });
    }
    State validate(QString &input, int &) const override
    {
        return input.size() <= limit_ || input.size() <= previous_.size() ? Acceptable : Invalid;
    }

private:
    int limit_;
    QString previous_;
};

// The number a typed size starts with, blanks anywhere ignored; 0 when it starts with none.
double leadingNumber(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("[ \\t]")));
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    const QRegularExpressionMatch m = number.match(text);
    return m.hasMatch() ? m.captured(0).toDouble() : 0;
}

// The file's display title: its name without the directory.
QString fileTitle(const QString &path)
{
    return QFileInfo(QDir::fromNativeSeparators(path)).fileName();
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLineEdit *lineEdit(QWidget *parent, const QString &name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

} // namespace

OptionsDialog::OptionsDialog(Env env, QWidget *owner)
    : QDialog(owner)
    , env_(std::move(env))
    , previewFore_(env_.holders.foreColor)
    , previewBack_(env_.holders.backColor)
{
    Q_INIT_RESOURCE(resources);
    setObjectName(QStringLiteral("OptionsDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setWindowTitle(QStringLiteral("q7 Zibo"));
    // No close command on the title bar: the dialog ends with OK or cancel only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    createControls();
    connectHandlers();
    load();
}

void OptionsDialog::createControls()
{
    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("pages"));
    pages->addTab(createEnvironmentPage(), QStringLiteral("動作環境"));
    pages->addTab(createTabPage(), QStringLiteral("ﾌｧｲﾙ変更ﾀﾌﾞ"));
    pages->addTab(createLauncherPage(), QStringLiteral("ﾗﾝﾁｬｰ設定 "));
    pages->addTab(createVersionPage(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 "));

    // Made in their order on the screen, which is the order Tab goes through them.
    okButton = button(this, "okButton", QStringLiteral("&OK"));
    cancelButton = button(this, "cancelButton", QStringLiteral("ｷｬﾝｾﾙ(&C)"));
    applyButton = button(this, "applyButton", QStringLiteral("更新(&A)"));
    // Enter in a text box means OK; Enter on a focused button presses that button, as the
    // dialog's buttons are auto-default.
    okButton->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    buttons->addWidget(applyButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addLayout(buttons);

    // The buttons on the pages answer their access keys from every page, as the buttons below
    // the pages do; a shortcut of the dialog stands in for each button's own.
    QPushButton *const onPages[] = {fontButton, textColourButton, backColourButton, resetTabsButton,
                                    browseButtons[0], browseButtons[1], browseButtons[2]};
    for (QPushButton *b : onPages) {
        const QKeySequence key = QKeySequence::mnemonic(b->text());
        b->setShortcut(QKeySequence());
        auto *shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, b, &QPushButton::click);
    }
}

QWidget *OptionsDialog::createEnvironmentPage()
{
    auto *page = new QWidget;

    auto *fontFrame = new QGroupBox(QStringLiteral("ﾌｫﾝﾄと背景色の設定"), page);
    preview = new QLabel(fontFrame);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setFrameShape(QFrame::Panel);
    preview->setFrameShadow(QFrame::Sunken);
    preview->setAutoFillBackground(true);
    preview->setAlignment(Qt::AlignCenter);
    // A large font shows clipped rather than stretching the dialog.
    preview->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    preview->setMinimumSize(200, 60);
    fontButton = button(fontFrame, "fontButton", QStringLiteral("ﾌｫﾝﾄ(&F)"));
    textColourButton = button(fontFrame, "textColourButton", QStringLiteral("色(&L)"));
    backColourButton = button(fontFrame, "backColourButton", QStringLiteral("背景色(&K)"));
    auto *fontGrid = new QGridLayout(fontFrame);
    fontGrid->addWidget(preview, 0, 0, 4, 1);
    fontGrid->addWidget(fontButton, 0, 1);
    fontGrid->addWidget(textColourButton, 1, 1);
    fontGrid->addWidget(backColourButton, 2, 1);
    fontGrid->setRowStretch(3, 1);
    fontGrid->setColumnStretch(0, 1);

    auto *exitFrame = new QGroupBox(QStringLiteral("終了時の設定"), page);
    restoreSizeCheck = new QCheckBox(QStringLiteral("ｳｨﾝﾄﾞｳｻｲｽﾞ保存"), exitFrame);
    restoreSizeCheck->setObjectName(QStringLiteral("restoreSizeCheck"));
    restorePositionCheck = new QCheckBox(QStringLiteral("ｳｨﾝﾄﾞｳ位置保存"), exitFrame);
    restorePositionCheck->setObjectName(QStringLiteral("restorePositionCheck"));
    auto *exitBox = new QVBoxLayout(exitFrame);
    exitBox->addWidget(restoreSizeCheck);
    exitBox->addWidget(restorePositionCheck);

    auto *imeFrame = new QGroupBox(QStringLiteral("起動時の IME 設定"), page);
    imeOnRadio = new QRadioButton(QStringLiteral("全角ひらがな ON"), imeFrame);
    imeOnRadio->setObjectName(QStringLiteral("imeOnRadio"));
    imeOffRadio = new QRadioButton(QStringLiteral("日本語入力 OFF"), imeFrame);
    imeOffRadio->setObjectName(QStringLiteral("imeOffRadio"));
    imeOffRadio->setChecked(true);
    auto *imeBox = new QVBoxLayout(imeFrame);
    imeBox->addWidget(imeOnRadio);
    imeBox->addWidget(imeOffRadio);

    auto *quoteLabel = new QLabel(QStringLiteral("引用符の形式 ："), page);
    quoteMarkEdit = lineEdit(page, QStringLiteral("quoteMarkEdit"));
    quoteMarkEdit->setValidator(new TypingLimit(2, quoteMarkEdit));
    quoteMarkEdit->setMaximumWidth(quoteMarkEdit->fontMetrics().horizontalAdvance(QStringLiteral("ＷＷＷＷ")));

    auto *frames = new QHBoxLayout;
    frames->addWidget(exitFrame);
    frames->addWidget(imeFrame);
    auto *quoteRow = new QHBoxLayout;
    quoteRow->addWidget(quoteLabel);
    quoteRow->addWidget(quoteMarkEdit);
    quoteRow->addStretch(1);
    auto *box = new QVBoxLayout(page);
    box->addWidget(fontFrame, 1);
    box->addLayout(frames);
    box->addLayout(quoteRow);
    return page;
}

QWidget *OptionsDialog::createTabPage()
{
    auto *page = new QWidget;

    auto *captionFrame = new QGroupBox(QStringLiteral("表示の設定"), page);
    auto *captionGrid = new QGridLayout(captionFrame);
    constexpr int Rows = (Holders::TabCount + 1) / 2;
    for (int i = 0; i < Holders::TabCount; ++i) {
        tabCaptionEdits[i] = lineEdit(captionFrame, QStringLiteral("tabCaptionEdit%1").arg(i));
        const int column = i / Rows * 2;
        captionGrid->addWidget(new QLabel(QStringLiteral("q %1 表示 :").arg(i + 1), captionFrame), i % Rows, column);
        captionGrid->addWidget(tabCaptionEdits[i], i % Rows, column + 1);
    }

    auto *fontFrame = new QGroupBox(QStringLiteral("ﾌｫﾝﾄの設定"), page);
    tabFontBox = new QComboBox(fontFrame);
    tabFontBox->setObjectName(QStringLiteral("tabFontBox"));
    tabFontBox->setEditable(true);
    tabFontBox->setInsertPolicy(QComboBox::NoInsert);
    tabFontSizeBox = new QComboBox(fontFrame);
    tabFontSizeBox->setObjectName(QStringLiteral("tabFontSizeBox"));
    tabFontSizeBox->setEditable(true);
    tabFontSizeBox->setInsertPolicy(QComboBox::NoInsert);
    // Both keep what is typed: a completion would turn a size of 1 into 10, or a name into
    // that of another font.
    tabFontBox->setCompleter(nullptr);
    tabFontSizeBox->setCompleter(nullptr);
    tabBoldCheck = new QCheckBox(QStringLiteral("太字"), fontFrame);
    tabBoldCheck->setObjectName(QStringLiteral("tabBoldCheck"));
    tabItalicCheck = new QCheckBox(QStringLiteral("斜体"), fontFrame);
    tabItalicCheck->setObjectName(QStringLiteral("tabItalicCheck"));
    auto *fontGrid = new QGridLayout(fontFrame);
    fontGrid->addWidget(new QLabel(QStringLiteral("ﾌｫﾝﾄ :"), fontFrame), 0, 0);
    fontGrid->addWidget(tabFontBox, 0, 1, 1, 3);
    fontGrid->addWidget(new QLabel(QStringLiteral("ﾌｫﾝﾄｻｲｽﾞ :"), fontFrame), 1, 0);
    fontGrid->addWidget(tabFontSizeBox, 1, 1);
    fontGrid->addWidget(tabBoldCheck, 1, 2);
    fontGrid->addWidget(tabItalicCheck, 1, 3);
    fontGrid->setColumnStretch(1, 1);

    resetTabsButton = button(page, "resetTabsButton", QStringLiteral("設定初期化(&P)"));
    resetTabsButton->setToolTip(QStringLiteral("ﾌｧｲﾙ変更ﾎﾞﾀﾝ設定初期化"));
    auto *resetRow = new QHBoxLayout;
    resetRow->addStretch(1);
    resetRow->addWidget(resetTabsButton);

    auto *box = new QVBoxLayout(page);
    box->addWidget(captionFrame);
    box->addWidget(fontFrame);
    box->addStretch(1);
    box->addLayout(resetRow);
    return page;
}

QWidget *OptionsDialog::createLauncherPage()
{
    auto *page = new QWidget;
    auto *box = new QVBoxLayout(page);
    const char *const browseCaptions[] = {"参照(&B)", "参照(&N)", "参照(&U)"};
    for (int i = 0; i < Holders::AppCount; ++i) {
        auto *frame = new QGroupBox(QStringLiteral("ﾌｧｲﾙ%1").arg(i + 1), page);
        appPathEdits[i] = lineEdit(frame, QStringLiteral("appPathEdit%1").arg(i));
        appNameEdits[i] = lineEdit(frame, QStringLiteral("appNameEdit%1").arg(i));
        appNameEdits[i]->setAcceptDrops(false);  // a name is typed; a dropped file goes to the path
        browseButtons[i] = button(frame, "", QString::fromUtf8(browseCaptions[i]));
        browseButtons[i]->setObjectName(QStringLiteral("browseButton%1").arg(i));
        auto *grid = new QGridLayout(frame);
        grid->addWidget(new QLabel(QStringLiteral("ﾊﾟｽ :"), frame), 0, 0);
        grid->addWidget(appPathEdits[i], 0, 1);
        grid->addWidget(browseButtons[i], 0, 2);
        grid->addWidget(new QLabel(QStringLiteral("名称 :"), frame), 1, 0);
        grid->addWidget(appNameEdits[i], 1, 1);
        box->addWidget(frame);
    }
    appNameEdits[0]->setValidator(new TypingLimit(20, appNameEdits[0]));
    box->addStretch(1);
    box->addWidget(new QLabel(QStringLiteral("※ 名称の設定は 20文字以内でお願いします。"), page));
    return page;
}

QWidget *OptionsDialog::createVersionPage()
{
    auto *page = new QWidget;
    logoLabel = new QLabel(page);
    logoLabel->setObjectName(QStringLiteral("logoLabel"));
    logoLabel->setPixmap(QIcon(QStringLiteral(":/icons/q7zibo.svg")).pixmap(64, 64));
    auto *title = new QLabel(QStringLiteral("q7 Zibo for Win9x"), page);
    QFont large = title->font();
    large.setPointSizeF(large.pointSizeF() * 2);
    large.setItalic(true);
    large.setBold(true);
    title->setFont(large);
    versionLabel = new QLabel(page);
    versionLabel->setObjectName(QStringLiteral("versionLabel"));

    auto *titleRow = new QHBoxLayout;
    titleRow->addStretch(1);
    titleRow->addWidget(logoLabel);
    titleRow->addSpacing(16);
    titleRow->addWidget(title);
    titleRow->addStretch(1);
    auto *versionRow = new QHBoxLayout;
    versionRow->addStretch(1);
    versionRow->addWidget(versionLabel);
    versionRow->addStretch(1);
    auto *box = new QVBoxLayout(page);
    box->addStretch(1);
    box->addLayout(titleRow);
    box->addSpacing(16);
    box->addLayout(versionRow);
    box->addStretch(2);
    return page;
}

void OptionsDialog::connectHandlers()
{
    connect(applyButton, &QPushButton::clicked, this, &OptionsDialog::onApply);
    connect(okButton, &QPushButton::clicked, this, &OptionsDialog::onOk);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(resetTabsButton, &QPushButton::clicked, this, &OptionsDialog::onResetTabs);
    connect(fontButton, &QPushButton::clicked, this, &OptionsDialog::onPickFont);
    connect(textColourButton, &QPushButton::clicked, this, [this] { onPickColour(true); });
    connect(backColourButton, &QPushButton::clicked, this, [this] { onPickColour(false); });
    for (int i = 0; i < Holders::AppCount; ++i)
        connect(browseButtons[i], &QPushButton::clicked, this, [this, i] { onBrowse(i); });

    // Each of these only enables apply. Typing in the two font boxes does not; choosing from
    // their lists does.
    for (QCheckBox *b : {restoreSizeCheck, restorePositionCheck, tabBoldCheck, tabItalicCheck})
        connect(b, &QCheckBox::toggled, this, &OptionsDialog::enableApply);
    for (QRadioButton *b : {imeOnRadio, imeOffRadio})
        connect(b, &QRadioButton::toggled, this, &OptionsDialog::enableApply);
    for (QComboBox *b : {tabFontBox, tabFontSizeBox})
        connect(b, &QComboBox::activated, this, &OptionsDialog::enableApply);
    QList<QLineEdit *> edits{quoteMarkEdit};
    edits << QList<QLineEdit *>(tabCaptionEdits.begin(), tabCaptionEdits.end())
          << QList<QLineEdit *>(appPathEdits.begin(), appPathEdits.end())
          << QList<QLineEdit *>(appNameEdits.begin(), appNameEdits.end());
    for (QLineEdit *e : edits) {
        connect(e, &QLineEdit::textChanged, this, &OptionsDialog::enableApply);
        e->installEventFilter(this);  // the whole text is selected on focus
    }
}

void OptionsDialog::load()
{
    const Holders &h = env_.holders;
    if (h.ime == QLatin1String("False"))
        imeOnRadio->setChecked(false);
    else
        imeOnRadio->setChecked(true);
    for (int i = 0; i < Holders::AppCount; ++i) {
        appPathEdits[i]->setText(h.apps[i].path);
        appNameEdits[i]->setText(h.apps[i].name);
    }
    previewFont_ = h.textFont;
    previewFore_ = h.foreColor;
    previewBack_ = h.backColor;
    showPreview();
    restoreSizeCheck->setChecked(h.restoresSize());
    restorePositionCheck->setChecked(h.restoresPosition());
    tabBoldCheck->setChecked(h.tabFont.bold);
    tabItalicCheck->setChecked(h.tabFont.italic);
    quoteMarkEdit->setText(h.quoteMark);

    // Vertical-writing variants ("@" names) and symbol sets are no choice for a tab's caption.
    QStringList families;
    for (const QString &family : QFontDatabase::families())
        if (!family.startsWith(u'@') && !QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol))
            families << family;
    families.removeDuplicates();
    std::sort(families.begin(), families.end(),
              [](const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    tabFontBox->addItems(families);
    tabFontBox->setEditText(h.tabFont.name);
    for (const char *size : {"9", "10", "11", "12", "14", "16"})
        tabFontSizeBox->addItem(QLatin1String(size));
    tabFontSizeBox->setEditText(SettingsText::fromTabFontSize(h.tabFont.size));

    for (int i = 0; i < Holders::TabCount; ++i)
        tabCaptionEdits[i]->setText(h.tabCaptions[i]);

    const QVersionNumber version = QVersionNumber::fromString(env_.version);
    versionLabel->setText(QStringLiteral("Version %1.%2%3").arg(version.majorVersion()).arg(version.minorVersion()).arg(version.microVersion()));
    applyButton->setEnabled(false);
}

void OptionsDialog::showPreview()
{
    preview->setText(previewFont_.name);
    QFont font(previewFont_.name);
    if (previewFont_.size > 0)
        font.setPointSizeF(previewFont_.size);
    font.setBold(previewFont_.bold);
    font.setItalic(previewFont_.italic);
    preview->setFont(font);
    const QPalette theme = QApplication::palette();
    QPalette p = preview->palette();
    p.setColor(QPalette::WindowText, ColourValue::toQColor(previewFore_, theme));
    p.setColor(QPalette::Window, ColourValue::toQColor(previewBack_, theme));
    preview->setPalette(p);
}

void OptionsDialog::selectPage(int page)
{
    pages->setCurrentIndex(page);
}

int OptionsDialog::currentPage() const
{
    return pages->currentIndex();
}

const Holders &OptionsDialog::holders() const
{
    return env_.holders;
}

void OptionsDialog::enableApply()
{
    applyButton->setEnabled(true);
}

void OptionsDialog::onApply()
{
    Holders h = env_.holders;
    for (int i = 0; i < Holders::TabCount; ++i)
        h.tabCaptions[i] = tabCaptionEdits[i]->text();
    // A font name that does not exist is kept as typed: the tab strip falls back on its own.
    h.tabFont.name = tabFontBox->currentText();
    h.tabFont.bold = tabBoldCheck->isChecked();
    h.tabFont.italic = tabItalicCheck->isChecked();
    // A size of 0 (as stored) or no number at all cannot be a font's: the tab font keeps its size.
    if (const auto size = Holders::storedTabFontSize(leadingNumber(tabFontSizeBox->currentText())))
        h.tabFont.size = *size;

    for (int i = 0; i < Holders::AppCount; ++i) {
        const QString path = appPathEdits[i]->text();
        const QString name = appNameEdits[i]->text();
        if (path.isEmpty())
            h.apps[i] = {};  // a name without a program is dropped
        else
            h.apps[i] = {path, name.isEmpty() ? path : name};
    }

    h.textFont = {preview->text(), previewFont_.size, previewFont_.bold, previewFont_.italic};
    h.backColor = previewBack_;
    h.foreColor = previewFore_;

    h.ime = SettingsText::fromBool(imeOnRadio->isChecked());
    h.restoreSize = restoreSizeCheck->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    h.restorePosition = restorePositionCheck->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    h.quoteMark = quoteMarkEdit->text();

    env_.holders = h;
    if (env_.apply)
        env_.apply(h);
    // The input-method choice counts at the next start, even if this session ends abnormally.
    if (env_.settings) {
        env_.settings->write(SettingsKeys::Ime, h.ime);
        env_.settings->sync();
    }
    applyButton->setEnabled(false);
}

void OptionsDialog::onOk()
{
    onApply();
    accept();
}

void OptionsDialog::onResetTabs()
{
    const Holders defaults;
    for (int i = 0; i < Holders::TabCount; ++i)
        tabCaptionEdits[i]->setText(defaults.tabCaptions[i]);
    tabFontBox->setEditText(defaults.tabFont.name);
    tabFontSizeBox->setEditText(QStringLiteral("10"));
    tabBoldCheck->setChecked(false);
    tabItalicCheck->setChecked(false);
}

void OptionsDialog::onPickFont()
{
    CommonDialog &cd = *env_.commonDialog;
    cd.Flags = FontFlags;
    cd.FontName = preview->text();
    cd.FontSize = previewFont_.size;
    cd.FontBold = previewFont_.bold;
    cd.FontItalic = previewFont_.italic;
    if (cd.ShowFont(this) != CommonDialog::Result::Accepted)
        return;
    previewFont_ = {cd.FontName, cd.FontSize, cd.FontBold, cd.FontItalic};
    showPreview();
    enableApply();
}

void OptionsDialog::onPickColour(bool text)
{
    // Each pick starts again from the text box's colour, not from the last pick.
    CommonDialog &cd = *env_.commonDialog;
    cd.Color = ColourValue::toQColor(text ? env_.holders.foreColor : env_.holders.backColor, QApplication::palette());
    if (cd.ShowColor(this) != CommonDialog::Result::Accepted)
        return;
    (text ? previewFore_ : previewBack_) = ColourValue::fromQColor(cd.Color);
    showPreview();
    enableApply();
}

void OptionsDialog::onBrowse(int app)
{
    CommonDialog &cd = *env_.commonDialog;
    cd.FilterIndex = AllFilesFilter;
    if (cd.ShowOpen(this) != CommonDialog::Result::Accepted)
        return;
    appPathEdits[app]->setText(cd.FileName);
    appNameEdits[app]->setText(fileTitle(cd.FileName));
}

void OptionsDialog::onProgramDropped(int app, const QStringList &files)
{
    const QString path = QDir::toNativeSeparators(files.constLast());
    appPathEdits[app]->setText(path);
    appNameEdits[app]->setText(fileTitle(path));
}

bool OptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (!edit)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        // After the click that brought the focus has placed the caret.
        QMetaObject::invokeMethod(edit, &QLineEdit::selectAll, Qt::QueuedConnection);
        return false;
    }
    const auto path = std::find(appPathEdits.begin(), appPathEdits.end(), edit);
    if (path == appPathEdits.end())
        return false;
    // Only dropped files name a program.
    const int app = int(path - appPathEdits.begin());
    return FileDrops::filter(event, [this, app](const QStringList &files) { onProgramDropped(app, files); });
}

void OptionsDialog::closeEvent(QCloseEvent *event)
{
    // The title bar's close command is gone; a close from elsewhere (Alt+F4) is refused too.
    event->ignore();
}
