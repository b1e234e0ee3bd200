#include "phrases/DateDialog.h"

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
#include <QTabWidget>

#include <algorithm>

namespace {
// Where the dialog opens when no position was saved: near the screen's top-left corner.
constexpr int DefaultLeft = 600;
constexpr int DefaultTop = 600;
} // namespace

DateDialog::DateDialog(Env env, QWidget *owner)
    : QDialog(owner)
    , env_(std::move(env))
    , collator_(QLocale(QLocale::Japanese, QLocale::Japan))
{
    setObjectName(QStringLiteral("DateDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("q7 Zibo"));
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    createControls();
    load();
}

void DateDialog::createControls()
{
    const auto named = [](auto *w, const char *name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    const auto button = [&](const char *name, const QString &caption) {
        // Auto-default, as a dialog's buttons are: Enter on a focused button presses it.
        return named(new QPushButton(caption, this), name);
    };
    pages = named(new QTabWidget(this), "pages");

    auto *datePage = new QWidget;
    formatLabel = named(new QLabel(QStringLiteral("表示形式(&A) :"), datePage), "formatLabel");
    formatList = named(new QListWidget(datePage), "formatList");
    formatLabel->setBuddy(formatList);
    insertButton = button("insertButton", QStringLiteral("&OK"));
    insertButton->setDefault(true);
    cancelButton = button("cancelButton", QStringLiteral("ｷｬﾝｾﾙ"));
    closeAfterInsertCheck =
        named(new QCheckBox(QStringLiteral("挿入後 閉じる(&I)"), datePage), "closeAfterInsertCheck");
    closeAfterInsertCheck->setChecked(true);
    auto *dateGrid = new QGridLayout(datePage);
    dateGrid->addWidget(formatLabel, 0, 0);
    dateGrid->addWidget(formatList, 1, 0, 4, 1);
    dateGrid->addWidget(insertButton, 1, 1);
    dateGrid->addWidget(cancelButton, 2, 1);
    dateGrid->addWidget(closeAfterInsertCheck, 5, 0, 1, 2);
    dateGrid->setRowStretch(4, 1);
    pages->addTab(datePage, QStringLiteral("日付と時刻"));

    auto *phrasePage = new QWidget;
    phraseLabel = named(new QLabel(QStringLiteral("定型文字列(&V) :"), phrasePage), "phraseLabel");
    phraseList = named(new QListWidget(phrasePage), "phraseList");
    phraseList->setToolTip(QStringLiteral("保存できる文字列は 30 種類です。"));
    phraseLabel->setBuddy(phraseList);
    insertPhraseButton = button("insertPhraseButton", QStringLiteral("O&K"));
    phraseCancelButton = button("phraseCancelButton", QStringLiteral("ｷｬﾝｾﾙ"));
    addPhraseButton = button("addPhraseButton", QStringLiteral("追加(&D)"));
    removePhraseButton = button("removePhraseButton", QStringLiteral("削除(&R)"));
    removePhraseButton->setEnabled(false);
    clearPhrasesButton = button("clearPhrasesButton", QStringLiteral("全て削除(&C)"));
    closeAfterPhraseCheck =
        named(new QCheckBox(QStringLiteral("挿入後 閉じる(&E)"), phrasePage), "closeAfterPhraseCheck");
    auto *phraseGrid = new QGridLayout(phrasePage);
    phraseGrid->addWidget(phraseLabel, 0, 0);
    phraseGrid->addWidget(phraseList, 1, 0, 6, 1);
    phraseGrid->addWidget(insertPhraseButton, 1, 1);
    phraseGrid->addWidget(phraseCancelButton, 2, 1);
    phraseGrid->addWidget(addPhraseButton, 3, 1);
    phraseGrid->addWidget(removePhraseButton, 4, 1);
    phraseGrid->addWidget(clearPhrasesButton, 5, 1);
    phraseGrid->addWidget(closeAfterPhraseCheck, 7, 0, 1, 2);
    phraseGrid->setRowStretch(6, 1);
    pages->addTab(phrasePage, QStringLiteral("定型文字列"));

    savePositionButton = button("savePositionButton", QStringLiteral("現在の表示位置を保存(&S)"));
    closeButton = button("closeButton", QStringLiteral("閉じる(&L)"));
    auto *grid = new QGridLayout(this);
    grid->addWidget(pages, 0, 0, 1, 3);
    grid->addWidget(savePositionButton, 1, 0);
    grid->setColumnStretch(1, 1);
    grid->addWidget(closeButton, 1, 2);
    resize(Twips::toPixels(QSize(5220, 3675), *this));

    QWidget *const order[] = {formatList,         insertButton,       cancelButton,          closeAfterInsertCheck,
                              phraseList,         insertPhraseButton, phraseCancelButton,    addPhraseButton,
                              removePhraseButton, clearPhrasesButton, closeAfterPhraseCheck, savePositionButton,
                              closeButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(insertButton, &QPushButton::clicked, this, &DateDialog::onInsertDate);
    connect(formatList, &QListWidget::itemDoubleClicked, this, &DateDialog::onInsertDate);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
    connect(insertPhraseButton, &QPushButton::clicked, this, &DateDialog::onInsertPhrase);
    connect(phraseList, &QListWidget::itemDoubleClicked, this, &DateDialog::onInsertPhrase);
    connect(phraseCancelButton, &QPushButton::clicked, this, &QWidget::close);
    connect(addPhraseButton, &QPushButton::clicked, this, &DateDialog::onAddPhrase);
    connect(phraseList, &QListWidget::itemClicked, this, [this] { removePhraseButton->setEnabled(true); });
    connect(removePhraseButton, &QPushButton::clicked, this, &DateDialog::onRemovePhrase);
    connect(clearPhrasesButton, &QPushButton::clicked, this, &DateDialog::onClearPhrases);
    connect(savePositionButton, &QPushButton::clicked, this, &DateDialog::onSavePosition);
    connect(closeButton, &QPushButton::clicked, this, &DateDialog::onClose);
}

void DateDialog::load()
{
    using namespace SettingsKeys;
    const SettingsStore &s = *env_.settings;
    const auto left = SettingsText::toNumber(s.read(DateLeft, SettingsText::fromNumber(DefaultLeft)));
    const auto top = SettingsText::toNumber(s.read(DateTop, SettingsText::fromNumber(DefaultTop)));
    move(Twips::toPixels(QPointF(left.value_or(DefaultLeft), top.value_or(DefaultTop)), *this));

    formatList->addItems(DateLines::all(env_.now));

    auto readCheck = [&](QCheckBox *box, const Key &key) {
        const auto value = SettingsText::toNumber(s.read(key, box->isChecked() ? QStringLiteral("1") : QStringLiteral("0")));
        if (value == 0.0 || value == 1.0)
            box->setChecked(*value == 1.0);
    };
    readCheck(closeAfterInsertCheck, DateClose);
    readCheck(closeAfterPhraseCheck, PhraseClose);

    // A missing file just means no phrases yet. A file that exists but cannot be read is the
    // user's data all the same: say so, and never save the (empty) list over it.
    const PhraseFile::LoadResult loaded = PhraseFile::load(phraseFilePath());
    if (loaded.status == PhraseFile::LoadResult::Status::Unreadable) {
        phraseFileUnreadable_ = true;
        for (QPushButton *b : {addPhraseButton, removePhraseButton, clearPhrasesButton})
            b->setEnabled(false);
        const QString reason = loaded.error.isEmpty() ? QString() : u'\n' + loaded.error;
        env_.dialogs->MsgBox(this, QStringLiteral("%1 を読み込めません。").arg(QDir::toNativeSeparators(phraseFilePath())) + reason,
                             {QMessageBox::Warning}, AppTitle);
    }
    for (const QString &phrase : loaded.entries)
        addPhrase(phrase);
    phraseCodes_ = loaded.variants;
    phrasesChanged_ = false;
}

QStringList DateDialog::phrases() const
{
    QStringList entries;
    for (int i = 0; i < phraseList->count(); ++i)
        entries << phraseList->item(i)->text();
    return entries;
}

QString DateDialog::phraseFilePath() const
{
    return QDir(env_.programDir).filePath(PhraseFile::FileName);
}

void DateDialog::addPhrase(const QString &phrase)
{
    // Kept in the Japanese collation order, Latin letters without regard to case.
    int lo = 0, hi = phraseList->count();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (collator_.compare(phraseList->item(mid)->text(), phrase) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    phraseList->insertItem(lo, phrase);
}

void DateDialog::selectPage(int page)
{
    pages->setCurrentIndex(page);
}

int DateDialog::currentPage() const
{
    return pages->currentIndex();
}

void DateDialog::insertAndMaybeClose(const QString &text, bool closeAfter)
{
    env_.insert(text);
    if (closeAfter) {
        saveCloseOptions();
        close();
    }
    env_.editor->setFocus();
}

void DateDialog::onInsertDate()
{
    const QListWidgetItem *item = formatList->currentItem();
    insertAndMaybeClose(item && item->isSelected() ? item->text() : QString(), closeAfterInsertCheck->isChecked());
}

void DateDialog::onInsertPhrase()
{
    const QListWidgetItem *item = phraseList->currentItem();
    insertAndMaybeClose(item && item->isSelected() ? item->text() : QString(), closeAfterPhraseCheck->isChecked());
}

void DateDialog::onAddPhrase()
{
    if (!PhraseFile::canAdd(phrases())) {
        // A full list refuses the addition rather than dropping a phrase.
        env_.dialogs->MsgBox(this, QStringLiteral("保存できる文字列は 30 種類です。"), {QMessageBox::Warning}, AppTitle);
        return;
    }
    QString answer = env_.dialogs->InputBox(this, QStringLiteral("保存したい定型文字列を入力してください。"), AppTitle);
    // An entry is one line of the phrase file: a pasted line break would split it.
    answer.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
    const bool onlyBlanks = std::all_of(answer.cbegin(), answer.cend(), [](QChar c) { return c == u' '; });
    if (!onlyBlanks)
        addPhrase(answer);
    if (phraseList->count() == PhraseFile::Places)
        delete phraseList->takeItem(0);
    phrasesChanged_ = true;
}

void DateDialog::onRemovePhrase()
{
    if (QListWidgetItem *item = phraseList->currentItem(); item && item->isSelected())
        delete phraseList->takeItem(phraseList->row(item));
    removePhraseButton->setEnabled(false);
    phrasesChanged_ = true;
}

void DateDialog::onClearPhrases()
{
    phraseList->clear();
    phrasesChanged_ = true;
}

void DateDialog::onSavePosition()
{
    const QPoint twips = Twips::fromPixels(frameGeometry().topLeft(), *this);
    env_.settings->write(SettingsKeys::DateLeft, SettingsText::fromNumber(twips.x()));
    env_.settings->write(SettingsKeys::DateTop, SettingsText::fromNumber(twips.y()));
    env_.settings->sync();
}

void DateDialog::saveCloseOptions()
{
    env_.settings->write(SettingsKeys::DateClose, closeAfterInsertCheck->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    env_.settings->write(SettingsKeys::PhraseClose, closeAfterPhraseCheck->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    env_.settings->sync();
}

void DateDialog::onClose()
{
    saveCloseOptions();
    close();
}

void DateDialog::closeEvent(QCloseEvent *event)
{
    savePhrases();
    env_.editor->setFocus();
    event->accept();
}

void DateDialog::savePhrases()
{
    if (phrasesChanged_ && !phraseFileUnreadable_) {
        const QString path = phraseFilePath();
        if (const TextFile::WriteResult result = PhraseFile::save(path, phrases(), phraseCodes_); !result.ok)
            env_.dialogs->MsgBox(this, TextFile::writeFailureMessage(path, result.error), {QMessageBox::Warning}, AppTitle);
        phrasesChanged_ = false;
    }
}

void DateDialog::keyPressEvent(QKeyEvent *event)
{
    // No button of this dialog is a cancel button: Esc does nothing.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
