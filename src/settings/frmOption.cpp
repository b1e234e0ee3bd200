#include "settings/frmOption.h"

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
QString FNameGet(const QString &path)
{
    return QFileInfo(QDir::fromNativeSeparators(path)).fileName();
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QLineEdit *lineEdit(QWidget *parent, const QString &name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

} // namespace

frmOption::frmOption(Env env, QWidget *owner)
    : QDialog(owner)
    , env_(std::move(env))
    , previewFore_(env_.holders.foreColor)
    , previewBack_(env_.holders.backColor)
{
    Q_INIT_RESOURCE(resources);
    setObjectName(QStringLiteral("frmOption"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setWindowTitle(QStringLiteral("q7 Zibo"));
    // No close command on the title bar: the dialog ends with OK or cancel only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    createControls();
    connectHandlers();
    Form_Load();
}

void frmOption::createControls()
{
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(createEnvironmentPage(), QStringLiteral("動作環境"));
    SSTab1->addTab(createTabPage(), QStringLiteral("ﾌｧｲﾙ変更ﾀﾌﾞ"));
    SSTab1->addTab(createLauncherPage(), QStringLiteral("ﾗﾝﾁｬｰ設定 "));
    SSTab1->addTab(createVersionPage(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 "));

    Command3 = button(this, "Command3", QStringLiteral("更新(&A)"));
    Command1 = {button(this, "Command1_0", QStringLiteral("&OK")), nullptr,
                button(this, "Command1_2", QStringLiteral("ｷｬﾝｾﾙ(&C)"))};
    Command1[0]->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1[0]);
    buttons->addWidget(Command1[2]);
    buttons->addWidget(Command3);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);

    // The buttons on the pages answer their access keys from every page, as the buttons below
    // the pages do; a shortcut of the dialog stands in for each button's own.
    QPushButton *const onPages[] = {Command4[0], Command4[1], Command4[2], cmdSyokika, cmdR[0], cmdR[1], cmdR[2]};
    for (QPushButton *b : onPages) {
        const QKeySequence key = QKeySequence::mnemonic(b->text());
        b->setShortcut(QKeySequence());
        auto *shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, b, &QPushButton::click);
    }
}

QWidget *frmOption::createEnvironmentPage()
{
    auto *page = new QWidget;

    auto *fontFrame = new QGroupBox(QStringLiteral("ﾌｫﾝﾄと背景色の設定"), page);
    Label5 = new QLabel(fontFrame);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setFrameShape(QFrame::Panel);
    Label5->setFrameShadow(QFrame::Sunken);
    Label5->setAutoFillBackground(true);
    Label5->setAlignment(Qt::AlignCenter);
    // A large font shows clipped rather than stretching the dialog.
    Label5->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    Label5->setMinimumSize(200, 60);
    Command4 = {button(fontFrame, "Command4_0", QStringLiteral("ﾌｫﾝﾄ(&F)")),
                button(fontFrame, "Command4_1", QStringLiteral("色(&L)")),
                button(fontFrame, "Command4_2", QStringLiteral("背景色(&K)"))};
    auto *fontGrid = new QGridLayout(fontFrame);
    fontGrid->addWidget(Label5, 0, 0, 4, 1);
    for (int i = 0; i < 3; ++i)
        fontGrid->addWidget(Command4[i], i, 1);
    fontGrid->setRowStretch(3, 1);
    fontGrid->setColumnStretch(0, 1);

    auto *exitFrame = new QGroupBox(QStringLiteral("終了時の設定"), page);
    Check1 = new QCheckBox(QStringLiteral("ｳｨﾝﾄﾞｳｻｲｽﾞ保存"), exitFrame);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check2 = new QCheckBox(QStringLiteral("ｳｨﾝﾄﾞｳ位置保存"), exitFrame);
    Check2->setObjectName(QStringLiteral("Check2"));
    auto *exitBox = new QVBoxLayout(exitFrame);
    exitBox->addWidget(Check1);
    exitBox->addWidget(Check2);

    auto *imeFrame = new QGroupBox(QStringLiteral("起動時の IME 設定"), page);
    Option1 = new QRadioButton(QStringLiteral("全角ひらがな ON"), imeFrame);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QRadioButton(QStringLiteral("日本語入力 OFF"), imeFrame);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setChecked(true);
    auto *imeBox = new QVBoxLayout(imeFrame);
    imeBox->addWidget(Option1);
    imeBox->addWidget(Option2);

    auto *quoteLabel = new QLabel(QStringLiteral("引用符の形式 ："), page);
    txtInyou = lineEdit(page, QStringLiteral("txtInyou"));
    txtInyou->setValidator(new TypingLimit(2, txtInyou));
    txtInyou->setMaximumWidth(txtInyou->fontMetrics().horizontalAdvance(QStringLiteral("ＷＷＷＷ")));

    auto *frames = new QHBoxLayout;
    frames->addWidget(exitFrame);
    frames->addWidget(imeFrame);
    auto *quoteRow = new QHBoxLayout;
    quoteRow->addWidget(quoteLabel);
    quoteRow->addWidget(txtInyou);
    quoteRow->addStretch(1);
    auto *box = new QVBoxLayout(page);
    box->addWidget(fontFrame, 1);
    box->addLayout(frames);
    box->addLayout(quoteRow);
    return page;
}

QWidget *frmOption::createTabPage()
{
    auto *page = new QWidget;

    auto *captionFrame = new QGroupBox(QStringLiteral("表示の設定"), page);
    auto *captionGrid = new QGridLayout(captionFrame);
    constexpr int Rows = (Holders::TabCount + 1) / 2;
    for (int i = 0; i < Holders::TabCount; ++i) {
        Text21[i] = lineEdit(captionFrame, QStringLiteral("Text21_%1").arg(i));
        const int column = i / Rows * 2;
        captionGrid->addWidget(new QLabel(QStringLiteral("q %1 表示 :").arg(i + 1), captionFrame), i % Rows, column);
        captionGrid->addWidget(Text21[i], i % Rows, column + 1);
    }

    auto *fontFrame = new QGroupBox(QStringLiteral("ﾌｫﾝﾄの設定"), page);
    Combo1 = new QComboBox(fontFrame);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo2 = new QComboBox(fontFrame);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setEditable(true);
    Combo2->setInsertPolicy(QComboBox::NoInsert);
    Check3 = new QCheckBox(QStringLiteral("太字"), fontFrame);
    Check3->setObjectName(QStringLiteral("Check3"));
    Check4 = new QCheckBox(QStringLiteral("斜体"), fontFrame);
    Check4->setObjectName(QStringLiteral("Check4"));
    auto *fontGrid = new QGridLayout(fontFrame);
    fontGrid->addWidget(new QLabel(QStringLiteral("ﾌｫﾝﾄ :"), fontFrame), 0, 0);
    fontGrid->addWidget(Combo1, 0, 1, 1, 3);
    fontGrid->addWidget(new QLabel(QStringLiteral("ﾌｫﾝﾄｻｲｽﾞ :"), fontFrame), 1, 0);
    fontGrid->addWidget(Combo2, 1, 1);
    fontGrid->addWidget(Check3, 1, 2);
    fontGrid->addWidget(Check4, 1, 3);
    fontGrid->setColumnStretch(1, 1);

    cmdSyokika = button(page, "cmdSyokika", QStringLiteral("設定初期化(&P)"));
    cmdSyokika->setToolTip(QStringLiteral("ﾌｧｲﾙ変更ﾎﾞﾀﾝ設定初期化"));
    auto *resetRow = new QHBoxLayout;
    resetRow->addStretch(1);
    resetRow->addWidget(cmdSyokika);

    auto *box = new QVBoxLayout(page);
    box->addWidget(captionFrame);
    box->addWidget(fontFrame);
    box->addStretch(1);
    box->addLayout(resetRow);
    return page;
}

QWidget *frmOption::createLauncherPage()
{
    auto *page = new QWidget;
    auto *box = new QVBoxLayout(page);
    const char *const browseCaptions[] = {"参照(&B)", "参照(&N)", "参照(&U)"};
    for (int i = 0; i < Holders::AppCount; ++i) {
        auto *frame = new QGroupBox(QStringLiteral("ﾌｧｲﾙ%1").arg(i + 1), page);
        Text2[i] = lineEdit(frame, QStringLiteral("Text2_%1").arg(i));
        Text3[i] = lineEdit(frame, QStringLiteral("Text3_%1").arg(i));
        cmdR[i] = button(frame, "", QString::fromUtf8(browseCaptions[i]));
        cmdR[i]->setObjectName(QStringLiteral("cmdR_%1").arg(i));
        auto *grid = new QGridLayout(frame);
        grid->addWidget(new QLabel(QStringLiteral("ﾊﾟｽ :"), frame), 0, 0);
        grid->addWidget(Text2[i], 0, 1);
        grid->addWidget(cmdR[i], 0, 2);
        grid->addWidget(new QLabel(QStringLiteral("名称 :"), frame), 1, 0);
        grid->addWidget(Text3[i], 1, 1);
        box->addWidget(frame);
    }
    Text3[0]->setValidator(new TypingLimit(20, Text3[0]));
    box->addStretch(1);
    box->addWidget(new QLabel(QStringLiteral("※ 名称の設定は 20文字以内でお願いします。"), page));
    return page;
}

QWidget *frmOption::createVersionPage()
{
    auto *page = new QWidget;
    Image2 = new QLabel(page);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(QIcon(QStringLiteral(":/icons/q7zibo.svg")).pixmap(64, 64));
    auto *title = new QLabel(QStringLiteral("q7 Zibo for Win9x"), page);
    QFont large = title->font();
    large.setPointSizeF(large.pointSizeF() * 2);
    large.setItalic(true);
    large.setBold(true);
    title->setFont(large);
    Label11 = new QLabel(page);
    Label11->setObjectName(QStringLiteral("Label11"));

    auto *titleRow = new QHBoxLayout;
    titleRow->addStretch(1);
    titleRow->addWidget(Image2);
    titleRow->addSpacing(16);
    titleRow->addWidget(title);
    titleRow->addStretch(1);
    auto *versionRow = new QHBoxLayout;
    versionRow->addStretch(1);
    versionRow->addWidget(Label11);
    versionRow->addStretch(1);
    auto *box = new QVBoxLayout(page);
    box->addStretch(1);
    box->addLayout(titleRow);
    box->addSpacing(16);
    box->addLayout(versionRow);
    box->addStretch(2);
    return page;
}

void frmOption::connectHandlers()
{
    connect(Command3, &QPushButton::clicked, this, &frmOption::Command3_Click);
    connect(Command1[0], &QPushButton::clicked, this, [this] { Command1_Click(0); });
    connect(Command1[2], &QPushButton::clicked, this, [this] { Command1_Click(2); });
    connect(cmdSyokika, &QPushButton::clicked, this, &frmOption::cmdSyokika_Click);
    for (int i = 0; i < 3; ++i)
        connect(Command4[i], &QPushButton::clicked, this, [this, i] { Command4_Click(i); });
    for (int i = 0; i < Holders::AppCount; ++i)
        connect(cmdR[i], &QPushButton::clicked, this, [this, i] { cmdR_Click(i); });

    // Each of these only enables apply. Typing in the two font boxes does not; choosing from
    // their lists does.
    for (QCheckBox *b : {Check1, Check2, Check3, Check4})
        connect(b, &QCheckBox::toggled, this, &frmOption::enableApply);
    for (QRadioButton *b : {Option1, Option2})
        connect(b, &QRadioButton::toggled, this, &frmOption::enableApply);
    for (QComboBox *b : {Combo1, Combo2})
        connect(b, &QComboBox::activated, this, &frmOption::enableApply);
    QList<QLineEdit *> edits{txtInyou};
    edits << QList<QLineEdit *>(Text21.begin(), Text21.end()) << QList<QLineEdit *>(Text2.begin(), Text2.end())
          << QList<QLineEdit *>(Text3.begin(), Text3.end());
    for (QLineEdit *e : edits) {
        connect(e, &QLineEdit::textChanged, this, &frmOption::enableApply);
        e->installEventFilter(this);  // the whole text is selected on focus
    }
}

void frmOption::Form_Load()
{
    const Holders &h = env_.holders;
    if (h.ime == QLatin1String("False"))
        Option1->setChecked(false);
    else
        Option1->setChecked(true);
    for (int i = 0; i < Holders::AppCount; ++i) {
        Text2[i]->setText(h.apps[i].path);
        Text3[i]->setText(h.apps[i].name);
    }
    previewFont_ = h.textFont;
    previewFore_ = h.foreColor;
    previewBack_ = h.backColor;
    showPreview();
    Check1->setChecked(h.restoresSize());
    Check2->setChecked(h.restoresPosition());
    Check3->setChecked(h.tabFont.bold);
    Check4->setChecked(h.tabFont.italic);
    txtInyou->setText(h.quoteMark);

    // Vertical-writing variants ("@" names) are no choice for a tab's caption.
    QStringList families;
    for (const QString &family : QFontDatabase::families())
        if (!family.startsWith(u'@'))
            families << family;
    families.removeDuplicates();
    std::sort(families.begin(), families.end(),
              [](const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    Combo1->addItems(families);
    Combo1->setEditText(h.tabFont.name);
    for (const char *size : {"9", "10", "11", "12", "14", "16"})
        Combo2->addItem(QLatin1String(size));
    Combo2->setEditText(SettingsText::fromTabFontSize(h.tabFont.size));

    for (int i = 0; i < Holders::TabCount; ++i)
        Text21[i]->setText(h.tabCaptions[i]);

    const QVersionNumber version = QVersionNumber::fromString(env_.version);
    Label11->setText(QStringLiteral("Version %1.%2%3").arg(version.majorVersion()).arg(version.minorVersion()).arg(version.microVersion()));
    Command3->setEnabled(false);
}

void frmOption::showPreview()
{
    Label5->setText(previewFont_.name);
    QFont font(previewFont_.name);
    if (previewFont_.size > 0)
        font.setPointSizeF(previewFont_.size);
    font.setBold(previewFont_.bold);
    font.setItalic(previewFont_.italic);
    Label5->setFont(font);
    const QPalette theme = QApplication::palette();
    QPalette p = Label5->palette();
    p.setColor(QPalette::WindowText, ColourValue::toQColor(previewFore_, theme));
    p.setColor(QPalette::Window, ColourValue::toQColor(previewBack_, theme));
    Label5->setPalette(p);
}

void frmOption::selectPage(int page)
{
    SSTab1->setCurrentIndex(page);
}

int frmOption::currentPage() const
{
    return SSTab1->currentIndex();
}

const Holders &frmOption::holders() const
{
    return env_.holders;
}

void frmOption::enableApply()
{
    Command3->setEnabled(true);
}

void frmOption::Command3_Click()
{
    Holders h = env_.holders;
    for (int i = 0; i < Holders::TabCount; ++i)
        h.tabCaptions[i] = Text21[i]->text();
    // A font name that does not exist is kept as typed: the tab strip falls back on its own.
    h.tabFont.name = Combo1->currentText();
    h.tabFont.bold = Check3->isChecked();
    h.tabFont.italic = Check4->isChecked();
    // A size of 0 (as stored) or no number at all cannot be a font's: the tab font keeps its size.
    if (const auto size = Holders::storedTabFontSize(leadingNumber(Combo2->currentText())))
        h.tabFont.size = *size;

    for (int i = 0; i < Holders::AppCount; ++i) {
        const QString path = Text2[i]->text();
        const QString name = Text3[i]->text();
        if (path.isEmpty())
            h.apps[i] = {};  // a name without a program is dropped
        else
            h.apps[i] = {path, name.isEmpty() ? path : name};
    }

    h.textFont = {Label5->text(), previewFont_.size, previewFont_.bold, previewFont_.italic};
    h.backColor = previewBack_;
    h.foreColor = previewFore_;

    h.ime = SettingsText::fromBool(Option1->isChecked());
    h.restoreSize = Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    h.restorePosition = Check2->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    h.quoteMark = txtInyou->text();

    env_.holders = h;
    if (env_.apply)
        env_.apply(h);
    // The input-method choice counts at the next start, even if this session ends abnormally.
    if (env_.settings) {
        env_.settings->write(SettingsKeys::Ime, h.ime);
        env_.settings->sync();
    }
    Command3->setEnabled(false);
}

void frmOption::Command1_Click(int index)
{
    if (index == 0) {
        Command3_Click();
        accept();
    } else {
        reject();
    }
}

void frmOption::cmdSyokika_Click()
{
    const Holders defaults;
    for (int i = 0; i < Holders::TabCount; ++i)
        Text21[i]->setText(defaults.tabCaptions[i]);
    Combo1->setEditText(defaults.tabFont.name);
    Combo2->setEditText(QStringLiteral("10"));
    Check3->setChecked(false);
    Check4->setChecked(false);
}

void frmOption::Command4_Click(int index)
{
    CommonDialog &cd = *env_.commonDialog;
    if (index == 0) {
        cd.Flags = FontFlags;
        cd.FontName = Label5->text();
        cd.FontSize = previewFont_.size;
        cd.FontBold = previewFont_.bold;
        cd.FontItalic = previewFont_.italic;
        if (cd.ShowFont(this) != CommonDialog::Result::Accepted)
            return;
        previewFont_ = {cd.FontName, cd.FontSize, cd.FontBold, cd.FontItalic};
    } else {
        // Each pick starts again from the text box's colour, not from the last pick.
        const bool fore = index == 1;
        cd.Color = ColourValue::toQColor(fore ? env_.holders.foreColor : env_.holders.backColor, QApplication::palette());
        if (cd.ShowColor(this) != CommonDialog::Result::Accepted)
            return;
        (fore ? previewFore_ : previewBack_) = ColourValue::fromQColor(cd.Color);
    }
    showPreview();
    enableApply();
}

void frmOption::cmdR_Click(int index)
{
    CommonDialog &cd = *env_.commonDialog;
    cd.FilterIndex = AllFilesFilter;
    if (cd.ShowOpen(this) != CommonDialog::Result::Accepted)
        return;
    Text2[index]->setText(cd.FileName);
    Text3[index]->setText(FNameGet(cd.FileName));
}

void frmOption::Text2_OLEDragDrop(int index, const QStringList &files)
{
    const QString path = QDir::toNativeSeparators(files.constLast());
    Text2[index]->setText(path);
    Text3[index]->setText(FNameGet(path));
}

bool frmOption::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (!edit)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        // After the click that brought the focus has placed the caret.
        QMetaObject::invokeMethod(edit, &QLineEdit::selectAll, Qt::QueuedConnection);
        return false;
    }
    const auto path = std::find(Text2.begin(), Text2.end(), edit);
    if (path == Text2.end())
        return false;
    // Only dropped files name a program.
    const int index = int(path - Text2.begin());
    return FileDrops::filter(event, [this, index](const QStringList &files) { Text2_OLEDragDrop(index, files); });
}

void frmOption::closeEvent(QCloseEvent *event)
{
    // The title bar's close command is gone; a close from elsewhere (Alt+F4) is refused too.
    event->ignore();
}
