#include "help/HelpViewer.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// Far above the manual and its pictures; a resource past it is not read at all.
constexpr qint64 MaxResourceBytes = 8 * 1024 * 1024;

// The manual's pages and pictures, and nothing else: a name in it that points at a device, a
// file elsewhere or the network would otherwise be read whole, however large or endless.
class ManualBrowser final : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QString folder; // canonical: the manual's own folder

    QVariant loadResource(int, const QUrl &name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (!url.isLocalFile() || folder.isEmpty())
            return {};
        const QFileInfo info(QFileInfo(url.toLocalFile()).canonicalFilePath());
        if (!info.isFile() || info.size() > MaxResourceBytes || !info.filePath().startsWith(folder + u'/'))
            return {};
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.read(MaxResourceBytes);
    }
};

} // namespace

HelpViewer::HelpViewer(Env env, QWidget *owner)
    : QDialog(owner)
    , env_(std::move(env))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("q7Zibo ﾍﾙﾌﾟ"));
    // A reading window: it may be resized and maximised like any document window.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);

    auto *browser = new ManualBrowser(this);
    browser->folder = QFileInfo(env_.helpFile).canonicalPath();
    browser_ = browser;
    browser_->setObjectName(QStringLiteral("browser"));
    // Links inside the manual move within it; a web address goes to the desktop's browser.
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(true);

    backButton_ = new QPushButton(QStringLiteral("戻る"), this);
    backButton_->setObjectName(QStringLiteral("backButton"));
    forwardButton_ = new QPushButton(QStringLiteral("進む"), this);
    forwardButton_->setObjectName(QStringLiteral("forwardButton"));
    auto *contentsButton = new QPushButton(QStringLiteral("目次"), this);
    contentsButton->setObjectName(QStringLiteral("contentsButton"));
    auto *closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    // Enter in the browser follows a link; it must not press a button (keyPressEvent).
    for (QPushButton *button : {backButton_, forwardButton_, contentsButton, closeButton})
        button->setAutoDefault(false);
    backButton_->setEnabled(false);
    forwardButton_->setEnabled(false);

    connect(backButton_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forwardButton_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, backButton_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forwardButton_, &QPushButton::setEnabled);
    connect(contentsButton, &QPushButton::clicked, this, &HelpViewer::showContents);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(backButton_);
    buttons->addWidget(forwardButton_);
    buttons->addWidget(contentsButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    resize(640, 560);
}

bool HelpViewer::showContents()
{
    // The browser would show an empty page for a file it cannot read; the caller reports it.
    QFile file(env_.helpFile);
    if (env_.helpFile.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    file.close();

    // The file's own URL as the source, so "#name" links resolve within it and enter the history.
    const QUrl contents = QUrl::fromLocalFile(QFileInfo(env_.helpFile).absoluteFilePath());
    if (browser_->source() != contents)
        browser_->setSource(contents, QTextDocument::HtmlResource);
    browser_->verticalScrollBar()->setValue(0);

    show();
    raise();
    activateWindow();
    return true;
}

void HelpViewer::keyPressEvent(QKeyEvent *event)
{
    // The buttons are not auto-default, so Enter on one comes here: it presses that button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (auto *button = qobject_cast<QPushButton *>(focusWidget()); enter && button) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
