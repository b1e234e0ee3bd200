#include "find/Find.h"

#include "editor/TextBox.h"
#include "find/search.h"
#include "platform/dialogs.h"
#include "platform/twips.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>


namespace {

struct Box {
    int left, top, width, height;
};

// Where each control goes, in twips of the client area.
constexpr int ClientWidth = 6930, ClientHeight = 1320;
constexpr Box Label0Box{120, 165, 980, 255}, Label1Box{120, 505, 980, 255};
constexpr Box TxtFindBox{1118, 120, 2775, 285}, Text2Box{1118, 460, 2775, 285};
constexpr Box FindBox{3998, 120, 1335, 285}, FindNextBox{5438, 120, 1335, 285};
constexpr Box ReplaceBox{3998, 460, 1335, 285}, ReplaceAllBox{5438, 460, 1335, 285};
constexpr Box CaseBox{278, 825, 3600, 285}, CancelBox{5438, 825, 1335, 285};
// The dialog opens this far below and to the right of the main window's corner.
constexpr int OffsetTop = 1540, OffsetLeft = 550;

} // namespace

Find::Find(const Env &env)
    : QDialog(env.owner)
    , env_(env)
    , text1_(env.text1)
{
    setObjectName(QStringLiteral("Find"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("q7 Zibo"));
    // A fixed-size tool window: a close box, nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    createControls();
    Form_Load();
}

int Find::toPixelsX(double twips) const
{
    return Twips::toPixels(twips, screen()->logicalDotsPerInchX());
}

int Find::toPixelsY(double twips) const
{
    return Twips::toPixels(twips, screen()->logicalDotsPerInchY());
}

void Find::createControls()
{
    const auto place = [&](QWidget *w, const char *name, const Box &t) {
        w->setObjectName(QString::fromLatin1(name));
        w->setGeometry(toPixelsX(t.left), toPixelsY(t.top), toPixelsX(t.width), toPixelsY(t.height));
    };
    const auto button = [&](const char *name, const QString &caption, const Box &t) {
        auto *b = new QPushButton(caption, this);
        place(b, name, t);
        return b;
    };

    Label1[0] = new QLabel(QStringLiteral("検索(&N) ："), this);
    place(Label1[0], "Label1_0", Label0Box);
    txtFind = new QLineEdit(this);
    place(txtFind, "txtFind", TxtFindBox);
    FindButton = button("FindButton", QStringLiteral("検索(&S)"), FindBox);
    FindNextButton = button("FindNextButton", QStringLiteral("次を検索(&F)"), FindNextBox);
    Label1[1] = new QLabel(QStringLiteral("置換(&P) ："), this);
    place(Label1[1], "Label1_1", Label1Box);
    Text2 = new QLineEdit(this);
    place(Text2, "Text2", Text2Box);
    ReplaceButton = button("ReplaceButton", QStringLiteral("置換(&R)"), ReplaceBox);
    ReplaceAllButton = button("ReplaceAllButton", QStringLiteral("全て置換(&A)"), ReplaceAllBox);
    chkCase = new QCheckBox(QStringLiteral("大文字と小文字の区別(&H)"), this);
    place(chkCase, "chkCase", CaseBox);
    cmdCancel = button("cmdCancel", QStringLiteral("閉じる(&C)"), CancelBox);

    Label1[0]->setBuddy(txtFind);
    Label1[1]->setBuddy(Text2);
    FindButton->setDefault(true);
    FindNextButton->setEnabled(false);
    ReplaceButton->setEnabled(false);
    ReplaceAllButton->setEnabled(false);

    QWidget *order[] = {txtFind, FindButton, FindNextButton, Text2, ReplaceButton, ReplaceAllButton, chkCase, cmdCancel};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    txtFind->setFocus();

    setFixedSize(toPixelsX(ClientWidth), toPixelsY(ClientHeight));

    connect(txtFind, &QLineEdit::textChanged, this, &Find::txtFind_Change);
    connect(FindButton, &QPushButton::clicked, this, &Find::FindButton_Click);
    connect(FindNextButton, &QPushButton::clicked, this, &Find::FindNextButton_Click);
    connect(ReplaceButton, &QPushButton::clicked, this, &Find::ReplaceButton_Click);
    connect(ReplaceAllButton, &QPushButton::clicked, this, &Find::ReplaceAllButton_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &Find::cmdCancel_Click);
    txtFind->installEventFilter(this);
    Text2->installEventFilter(this);
}

void Find::Form_Load()
{
    move(toPixelsX(env_.ownerLeft + OffsetLeft), toPixelsY(env_.ownerTop + OffsetTop));
    if (text1_)
        txtFind->setText(text1_->SelText());
}

bool Find::eventFilter(QObject *watched, QEvent *event)
{
    // txtFind_GotFocus, Text2_GotFocus: the whole string is selected, ready to be typed over.
    if (event->type() == QEvent::FocusIn && (watched == txtFind || watched == Text2))
        static_cast<QLineEdit *>(watched)->selectAll();
    return QDialog::eventFilter(watched, event);
}

void Find::txtFind_Change()
{
    FindNextButton->setEnabled(false);
    ReplaceButton->setEnabled(false);
    ReplaceAllButton->setEnabled(false);
}

Qt::CaseSensitivity Find::compareMode() const
{
    return chkCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

void Find::message(const QString &prompt)
{
    if (env_.dialogs)
        env_.dialogs->MsgBox(this, prompt, MsgBoxStyle::OKOnly, AppTitle);
}

void Find::notFound()
{
    message(QStringLiteral("文字列 \"%1\" は見つかりません。").arg(txtFind->text()));
}

// The match is shown as the selection of the main window, which gets the focus.
void Find::showMatch()
{
    text1_->select(foundPos - 1, txtFind->text().size());
    if (env_.owner) {
        env_.owner->activateWindow();
        env_.owner->setFocus();
    }
}

void Find::FindButton_Click()
{
    foundPos = 0;
    FindNextButton_Click();
    if (foundPos > 0) {
        FindNextButton->setEnabled(true);
        ReplaceButton->setEnabled(true);
        ReplaceAllButton->setEnabled(true);
    }
}

void Find::FindNextButton_Click()
{
    if (!text1_)
        return;
    foundPos = Search::find(text1_->Text(), txtFind->text(), foundPos + 1, compareMode());
    if (foundPos < 1) {
        notFound();
        FindNextButton->setEnabled(false);
        ReplaceButton->setEnabled(false);
        ReplaceAllButton->setEnabled(false);
        return;
    }
    showMatch();
}

void Find::ReplaceButton_Click()
{
    if (!text1_)
        return;
    text1_->setSelText(Text2->text());
    foundPos = Search::find(text1_->Text(), txtFind->text(), foundPos + 1, compareMode());
    if (foundPos < 1) {
        notFound();
        ReplaceButton->setEnabled(false);
        ReplaceAllButton->setEnabled(false);
        return;
    }
    showMatch();
}

void Find::ReplaceAllButton_Click()
{
    if (!text1_)
        return;
    const QString before = text1_->Text();
    const Search::ReplaceAllEdits e =
        Search::replaceAllEdits(before, text1_->SelStart(), text1_->SelLength(), foundPos, txtFind->text(),
                                Text2->text(), compareMode());
    qsizetype caret = e.caret;
    if (!e.overlapping) {
        // One undoable step that touches the matches only.
        std::vector<std::pair<qsizetype, qsizetype>> spans;
        spans.reserve(e.edits.size());
        for (const Search::Edit &edit : e.edits)
            spans.emplace_back(edit.start, edit.length);
        text1_->replaceEach(spans, Search::modelForm(Text2->text()));
    } else {
        // A match ran into the selection's replacement: replace the changed stretch, once.
        const Search::ReplaceAllResult r =
            Search::replaceAll(before, text1_->SelStart(), text1_->SelLength(), foundPos, txtFind->text(),
                               Text2->text(), compareMode());
        const Search::Change c = Search::changedRange(before, r.text);
        if (c.oldLength > 0 || c.newLength > 0) {
            text1_->select(c.start, c.oldLength);
            text1_->setSelText(r.text.mid(c.start, c.newLength));
        }
        caret = r.caret;
    }
    text1_->setSelStart(caret);
    foundPos = 0;
    ReplaceButton->setEnabled(false);
    ReplaceAllButton->setEnabled(false);
    message(QStringLiteral("置換が終了しました。"));
}

void Find::cmdCancel_Click()
{
    close();
}

// Every way of closing (the button, Esc, the close box) ends here.
void Find::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void Find::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    if (env_.owner)
        env_.owner->activateWindow();
    if (text1_)
        text1_->setFocus();
}
