#include "phrases/frmDate.h"

#include "editor/TextBox.h"
#include "phrases/datelines.h"
#include "phrases/phrasefile.h"
#include "platform/dialogs.h"
#include "platform/twips.h"
#include "settings/settingsstore.h"
#include "settings/settingstext.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

#include <algorithm>
#include <cmath>

namespace {
// Where the dialog opens when no position was saved: near the screen's top-left corner.
constexpr int DefaultLeft = 600;
constexpr int DefaultTop = 600;
} // namespace

frmDate::frmDate(Env env, QWidget *owner)
    : QDialog(owner)
    , env_(std::move(env))
    , collator_(QLocale(QLocale::Japanese, QLocale::Japan))
{
    setObjectName(QStringLiteral("frmDate"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("q7 Zibo"));
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    createControls();
    Form_Load();
}

int frmDate::twipsToPixelsX(double twips) const
{
    return Twips::toPixels(twips, screen()->logicalDotsPerInchX());
}

int frmDate::twipsToPixelsY(double twips) const
{
    return Twips::toPixels(twips, screen()->logicalDotsPerInchY());
}

void frmDate::createControls()
{
    auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));

    auto *datePage = new QWidget;
    Label1 = new QLabel(QStringLiteral("表示形式(&A) :"), datePage);
    lstDate = new QListWidget(datePage);
    lstDate->setObjectName(QStringLiteral("lstDate"));
    Label1->setBuddy(lstDate);
    cmdOK = button("cmdOK", QStringLiteral("&OK"));
    cmdOK->setDefault(true);
    cmdCancel = button("cmdCancel", QStringLiteral("ｷｬﾝｾﾙ"));
    Check1 = new QCheckBox(QStringLiteral("挿入後 閉じる(&I)"), datePage);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setChecked(true);
    auto *dateGrid = new QGridLayout(datePage);
    dateGrid->addWidget(Label1, 0, 0);
    dateGrid->addWidget(lstDate, 1, 0, 4, 1);
    dateGrid->addWidget(cmdOK, 1, 1);
    dateGrid->addWidget(cmdCancel, 2, 1);
    dateGrid->addWidget(Check1, 5, 0, 1, 2);
    dateGrid->setRowStretch(4, 1);
    SSTab1->addTab(datePage, QStringLiteral("日付と時刻"));

    auto *phrasePage = new QWidget;
    Label2 = new QLabel(QStringLiteral("定型文字列(&V) :"), phrasePage);
    List1 = new QListWidget(phrasePage);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setToolTip(QStringLiteral("保存できる文字列は 30 種類です。"));
    Label2->setBuddy(List1);
    Command1 = button("Command1", QStringLiteral("O&K"));
    Command2 = button("Command2", QStringLiteral("ｷｬﾝｾﾙ"));
    Command3 = button("Command3", QStringLiteral("追加(&D)"));
    Command4 = button("Command4", QStringLiteral("削除(&R)"));
    Command4->setEnabled(false);
    cmdAllclear = button("cmdAllclear", QStringLiteral("全て削除(&C)"));
    Check2 = new QCheckBox(QStringLiteral("挿入後 閉じる(&E)"), phrasePage);
    Check2->setObjectName(QStringLiteral("Check2"));
    auto *phraseGrid = new QGridLayout(phrasePage);
    phraseGrid->addWidget(Label2, 0, 0);
    phraseGrid->addWidget(List1, 1, 0, 6, 1);
    phraseGrid->addWidget(Command1, 1, 1);
    phraseGrid->addWidget(Command2, 2, 1);
    phraseGrid->addWidget(Command3, 3, 1);
    phraseGrid->addWidget(Command4, 4, 1);
    phraseGrid->addWidget(cmdAllclear, 5, 1);
    phraseGrid->addWidget(Check2, 7, 0, 1, 2);
    phraseGrid->setRowStretch(6, 1);
    SSTab1->addTab(phrasePage, QStringLiteral("定型文字列"));

    Command5 = button("Command5", QStringLiteral("現在の表示位置を保存(&S)"));
    cmdClose = button("cmdClose", QStringLiteral("閉じる(&L)"));
    auto *grid = new QGridLayout(this);
    grid->addWidget(SSTab1, 0, 0, 1, 3);
    grid->addWidget(Command5, 1, 0);
    grid->setColumnStretch(1, 1);
    grid->addWidget(cmdClose, 1, 2);
    resize(twipsToPixelsX(5220), twipsToPixelsY(3675));

    QWidget *const order[] = {lstDate, cmdOK, cmdCancel, Check1, List1, Command1, Command2,
                              Command3, Command4, cmdAllclear, Check2, Command5, cmdClose};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(cmdOK, &QPushButton::clicked, this, &frmDate::cmdOK_Click);
    connect(lstDate, &QListWidget::itemDoubleClicked, this, &frmDate::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(Command1, &QPushButton::clicked, this, &frmDate::Command1_Click);
    connect(List1, &QListWidget::itemDoubleClicked, this, &frmDate::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
    connect(Command3, &QPushButton::clicked, this, &frmDate::Command3_Click);
    connect(List1, &QListWidget::itemClicked, this, [this] { Command4->setEnabled(true); });
    connect(Command4, &QPushButton::clicked, this, &frmDate::Command4_Click);
    connect(cmdAllclear, &QPushButton::clicked, this, &frmDate::cmdAllclear_Click);
    connect(Command5, &QPushButton::clicked, this, &frmDate::Command5_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmDate::cmdClose_Click);
}

void frmDate::Form_Load()
{
    using namespace SettingsKeys;
    const SettingsStore &s = *env_.settings;
    const auto left = SettingsText::toNumber(s.read(DateLeft, SettingsText::fromNumber(DefaultLeft)));
    const auto top = SettingsText::toNumber(s.read(DateTop, SettingsText::fromNumber(DefaultTop)));
    move(twipsToPixelsX(left.value_or(DefaultLeft)), twipsToPixelsY(top.value_or(DefaultTop)));

    lstDate->addItems(DateLines::all(env_.now));

    auto readCheck = [&](QCheckBox *box, const Key &key) {
        const auto value = SettingsText::toNumber(s.read(key, box->isChecked() ? QStringLiteral("1") : QStringLiteral("0")));
        if (value == 0.0 || value == 1.0)
            box->setChecked(*value == 1.0);
    };
    readCheck(Check1, DateClose);
    readCheck(Check2, PhraseClose);

    // A missing file just means no phrases yet. A file that exists but cannot be read is the
    // user's data all the same: say so, and never save the (empty) list over it.
    const PhraseFile::LoadResult loaded = PhraseFile::load(phraseFilePath());
    if (loaded.status == PhraseFile::LoadResult::Status::Unreadable) {
        phraseFileUnreadable_ = true;
        for (QPushButton *b : {Command3, Command4, cmdAllclear})
            b->setEnabled(false);
        const QString reason = loaded.error.isEmpty() ? QString() : u'\n' + loaded.error;
        env_.dialogs->MsgBox(this, QStringLiteral("%1 を読み込めません。").arg(QDir::toNativeSeparators(phraseFilePath())) + reason,
                             MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, AppTitle);
    }
    for (const QString &phrase : loaded.entries)
        addPhrase(phrase);
    phraseCodes_ = loaded.variants;
    phrasesChanged_ = false;
}

QStringList frmDate::phrases() const
{
    QStringList entries;
    for (int i = 0; i < List1->count(); ++i)
        entries << List1->item(i)->text();
    return entries;
}

QString frmDate::phraseFilePath() const
{
    return QDir(env_.programDir).filePath(PhraseFile::FileName);
}

void frmDate::addPhrase(const QString &phrase)
{
    // Kept in the Japanese collation order, Latin letters without regard to case.
    int lo = 0, hi = List1->count();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (collator_.compare(List1->item(mid)->text(), phrase) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    List1->insertItem(lo, phrase);
}

void frmDate::selectPage(int page)
{
    SSTab1->setCurrentIndex(page);
}

int frmDate::currentPage() const
{
    return SSTab1->currentIndex();
}

void frmDate::insertAndMaybeClose(const QString &text, bool closeAfter)
{
    env_.insert(text);
    if (closeAfter) {
        saveCloseOptions();
        close();
    }
    env_.text1->setFocus();
}

void frmDate::cmdOK_Click()
{
    const QListWidgetItem *item = lstDate->currentItem();
    insertAndMaybeClose(item && item->isSelected() ? item->text() : QString(), Check1->isChecked());
}

void frmDate::Command1_Click()
{
    const QListWidgetItem *item = List1->currentItem();
    insertAndMaybeClose(item && item->isSelected() ? item->text() : QString(), Check2->isChecked());
}

void frmDate::Command3_Click()
{
    if (!PhraseFile::canAdd(phrases())) {
        // A full list refuses the addition rather than dropping a phrase.
        env_.dialogs->MsgBox(this, QStringLiteral("保存できる文字列は 30 種類です。"), MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, AppTitle);
        return;
    }
    QString answer = env_.dialogs->InputBox(this, QStringLiteral("保存したい定型文字列を入力してください。"), AppTitle);
    // An entry is one line of the phrase file: a pasted line break would split it.
    answer.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
    const bool onlyBlanks = std::all_of(answer.cbegin(), answer.cend(), [](QChar c) { return c == u' '; });
    if (!onlyBlanks)
        addPhrase(answer);
    if (List1->count() == PhraseFile::Places)
        delete List1->takeItem(0);
    phrasesChanged_ = true;
}

void frmDate::Command4_Click()
{
    if (QListWidgetItem *item = List1->currentItem(); item && item->isSelected())
        delete List1->takeItem(List1->row(item));
    Command4->setEnabled(false);
    phrasesChanged_ = true;
}

void frmDate::cmdAllclear_Click()
{
    List1->clear();
    phrasesChanged_ = true;
}

void frmDate::Command5_Click()
{
    const QPoint p = frameGeometry().topLeft();
    env_.settings->write(SettingsKeys::DateLeft,
                         SettingsText::fromNumber(std::lround(Twips::fromPixels(p.x(), screen()->logicalDotsPerInchX()))));
    env_.settings->write(SettingsKeys::DateTop,
                         SettingsText::fromNumber(std::lround(Twips::fromPixels(p.y(), screen()->logicalDotsPerInchY()))));
    env_.settings->sync();
}

void frmDate::saveCloseOptions()
{
    env_.settings->write(SettingsKeys::DateClose, Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    env_.settings->write(SettingsKeys::PhraseClose, Check2->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    env_.settings->sync();
}

void frmDate::cmdClose_Click()
{
    saveCloseOptions();
    close();
}

void frmDate::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmDate::Form_Unload()
{
    if (phrasesChanged_ && !phraseFileUnreadable_) {
        const QString path = phraseFilePath();
        if (const TextFile::WriteResult result = PhraseFile::save(path, phrases(), phraseCodes_); !result.ok)
            env_.dialogs->MsgBox(this, TextFile::writeFailureMessage(path, result.error), MsgBoxStyle::OKOnly | MsgBoxStyle::Exclamation, AppTitle);
        phrasesChanged_ = false;
    }
    env_.text1->setFocus();
}

void frmDate::keyPressEvent(QKeyEvent *event)
{
    // No button of this dialog is a cancel button: Esc does nothing.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
