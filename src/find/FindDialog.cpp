#include "find/FindDialog.h"

#include "editor/TextBox.h"
#include "find/search.h"
#include "platform/dialogs.h"
#include "platform/twips.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Where each control goes, in twips of the client area.
constexpr QSize ClientSize{6930, 1320};
constexpr QRect FindLabelBox{120, 165, 980, 255}, ReplaceLabelBox{120, 505, 980, 255};
constexpr QRect FindEditBox{1118, 120, 2775, 285}, ReplaceEditBox{1118, 460, 2775, 285};
constexpr QRect FindBox{3998, 120, 1335, 285}, FindNextBox{5438, 120, 1335, 285};
constexpr QRect ReplaceBox{3998, 460, 1335, 285}, ReplaceAllBox{5438, 460, 1335, 285};
constexpr QRect MatchCaseBox{278, 825, 3600, 285}, CloseBox{5438, 825, 1335, 285};
// The dialog opens this far below and to the right of the main window's corner.
constexpr int OffsetTop = 1540, OffsetLeft = 550;

} // namespace

FindDialog::FindDialog(const Env &env)
    : QDialog(env.owner)
    , env_(env)
    , editor_(env.editor)
{
    setObjectName(QStringLiteral("FindDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("q7 Zibo"));
    // A fixed-size tool window: a close box, nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    createControls();
    load();
}

void FindDialog::createControls()
{
    const auto place = [this](auto *w, const char *name, const QRect &twips) {
        w->setObjectName(QLatin1String(name));
        w->setGeometry(Twips::toPixels(twips, *this));
        return w;
    };
    const auto button = [&](const char *name, const QString &caption, const QRect &twips) {
        return place(new QPushButton(caption, this), name, twips);
    };

    findLabel = place(new QLabel(QStringLiteral("検索(&N) ："), this), "findLabel", FindLabelBox);
    findEdit = place(new QLineEdit(this), "findEdit", FindEditBox);
    findButton = button("findButton", QStringLiteral("検索(&S)"), FindBox);
    findNextButton = button("findNextButton", QStringLiteral("次を検索(&F)"), FindNextBox);
    replaceLabel = place(new QLabel(QStringLiteral("置換(&P) ："), this), "replaceLabel", ReplaceLabelBox);
    replaceEdit = place(new QLineEdit(this), "replaceEdit", ReplaceEditBox);
    replaceButton = button("replaceButton", QStringLiteral("置換(&R)"), ReplaceBox);
    replaceAllButton = button("replaceAllButton", QStringLiteral("全て置換(&A)"), ReplaceAllBox);
    matchCaseCheck =
        place(new QCheckBox(QStringLiteral("大文字と小文字の区別(&H)"), this), "matchCaseCheck", MatchCaseBox);
    closeButton = button("closeButton", QStringLiteral("閉じる(&C)"), CloseBox);

    findLabel->setBuddy(findEdit);
    replaceLabel->setBuddy(replaceEdit);
    findButton->setDefault(true);
    setMatchButtonsEnabled(false);

    QWidget *order[] = {findEdit,      findButton,       findNextButton, replaceEdit,
                        replaceButton, replaceAllButton, matchCaseCheck, closeButton};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    findEdit->setFocus();

    setFixedSize(Twips::toPixels(ClientSize, *this));

    connect(findEdit, &QLineEdit::textChanged, this, &FindDialog::onFindTextChanged);
    connect(findButton, &QPushButton::clicked, this, &FindDialog::onFind);
    connect(findNextButton, &QPushButton::clicked, this, &FindDialog::onFindNext);
    connect(replaceButton, &QPushButton::clicked, this, &FindDialog::onReplace);
    connect(replaceAllButton, &QPushButton::clicked, this, &FindDialog::onReplaceAll);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    findEdit->installEventFilter(this);
    replaceEdit->installEventFilter(this);
}

void FindDialog::load()
{
    move(Twips::toPixels(QPointF(env_.ownerLeft + OffsetLeft, env_.ownerTop + OffsetTop), *this));
    if (editor_)
        findEdit->setText(editor_->SelText());
}

bool FindDialog::eventFilter(QObject *watched, QEvent *event)
{
    // Either field, on getting the focus, has its whole string selected, ready to be typed over.
    if (event->type() == QEvent::FocusIn && (watched == findEdit || watched == replaceEdit))
        static_cast<QLineEdit *>(watched)->selectAll();
    return QDialog::eventFilter(watched, event);
}

// A changed search string has no match yet: only a search from the top may follow.
void FindDialog::onFindTextChanged()
{
    setMatchButtonsEnabled(false);
}

void FindDialog::setMatchButtonsEnabled(bool enabled)
{
    findNextButton->setEnabled(enabled);
    replaceButton->setEnabled(enabled);
    replaceAllButton->setEnabled(enabled);
}

Qt::CaseSensitivity FindDialog::compareMode() const
{
    return matchCaseCheck->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

void FindDialog::message(const QString &prompt)
{
    if (env_.dialogs)
        env_.dialogs->MsgBox(this, prompt, {}, AppTitle);
}

void FindDialog::notFound()
{
    message(QStringLiteral("文字列 \"%1\" は見つかりません。").arg(findEdit->text()));
}

// The match is shown as the selection of the main window, which gets the focus.
void FindDialog::showMatch()
{
    editor_->select(foundPos_ - 1, findEdit->text().size());
    if (env_.owner) {
        env_.owner->activateWindow();
        env_.owner->setFocus();
    }
}

void FindDialog::onFind()
{
    foundPos_ = 0;
    onFindNext();
    if (foundPos_ > 0)
        setMatchButtonsEnabled(true);
}

void FindDialog::onFindNext()
{
    if (!editor_)
        return;
    foundPos_ = Search::find(editor_->Text(), findEdit->text(), foundPos_ + 1, compareMode());
    if (foundPos_ < 1) {
        notFound();
        setMatchButtonsEnabled(false);
        return;
    }
    showMatch();
}

void FindDialog::onReplace()
{
    if (!editor_)
        return;
    editor_->setSelText(replaceEdit->text());
    foundPos_ = Search::find(editor_->Text(), findEdit->text(), foundPos_ + 1, compareMode());
    if (foundPos_ < 1) {
        notFound();
        replaceButton->setEnabled(false);
        replaceAllButton->setEnabled(false);
        return;
    }
    showMatch();
}

void FindDialog::onReplaceAll()
{
    if (!editor_)
        return;
    const QString before = editor_->Text();
    const Search::ReplaceAllEdits e =
        Search::replaceAllEdits(before, editor_->SelStart(), editor_->SelLength(), foundPos_, findEdit->text(),
                                replaceEdit->text(), compareMode());
    qsizetype caret = e.caret;
    if (!e.overlapping) {
        // One undoable step that touches the matches only.
        std::vector<std::pair<qsizetype, qsizetype>> spans;
        spans.reserve(e.edits.size());
        for (const Search::Edit &edit : e.edits)
            spans.emplace_back(edit.start, edit.length);
        editor_->replaceEach(spans, Search::modelForm(replaceEdit->text()));
    } else {
        // A match ran into the selection's replacement: replace the changed stretch, once.
        const Search::ReplaceAllResult r =
            Search::replaceAll(before, editor_->SelStart(), editor_->SelLength(), foundPos_, findEdit->text(),
                               replaceEdit->text(), compareMode());
        const Search::Change c = Search::changedRange(before, r.text);
        if (c.oldLength > 0 || c.newLength > 0) {
            editor_->select(c.start, c.oldLength);
            editor_->setSelText(r.text.mid(c.start, c.newLength));
        }
        caret = r.caret;
    }
    editor_->setSelStart(caret);
    foundPos_ = 0;
    replaceButton->setEnabled(false);
    replaceAllButton->setEnabled(false);
    message(QStringLiteral("置換が終了しました。"));
}

// Every way of closing (the button, Esc, the close box) ends here.
void FindDialog::done(int result)
{
    returnFocus();
    QDialog::done(result);
}

void FindDialog::returnFocus()
{
    if (focusReturned_)
        return;
    focusReturned_ = true;
    if (env_.owner)
        env_.owner->activateWindow();
    if (editor_)
        editor_->setFocus();
}
