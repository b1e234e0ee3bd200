// The window's own settings: the holders put onto its controls, its size and position read at
// start-up, and the exit's writer of everything.
#include "app/TabStrip.h"
#include "editor/TextBox.h"
#include "app/MainWindow.h"
#include "app/layoutrules.h"
#include "settings/OptionsController.h"
#include "sheets/SheetSession.h"
#include "platform/dialogs.h"
#include "phrases/DateController.h"
#include "launcher/LauncherController.h"
#include "settings/settingsstore.h"
#include "settings/settingstext.h"

#include <QDir>
#include <QTimer>

namespace {

QFont toFont(QFont font, const Holders::Font &h)
{
    font.setFamily(h.name);
    font.setPointSizeF(h.size);
    font.setBold(h.bold);
    font.setItalic(h.italic);
    return font;
}

} // namespace

void MainWindow::applyHolders()
{
    const Holders &h = options_->holders();
    textBox_->setFont(toFont(textBox_->font(), h.textFont));
    textBox_->setForeColor(h.foreColor);
    textBox_->setBackColor(h.backColor);
    textBox_->setImeMode(h.imeOn() ? 4 : 0);
    tabStrip_->setTabFont(toFont(tabStrip_->tabFont(), h.tabFont));
    for (int n = 1; n <= Holders::TabCount; ++n)
        tabStrip_->setCaption(n, h.tabCaptions[n - 1]);
    // The tabs' height, which the text box's place depends on, may have changed.
    arrangeControls();
}

void MainWindow::readWindowSettings()
{
    using namespace SettingsKeys;
    const SettingsStore &s = *env_.settings;
    const auto number = [&](const Key &key, int current) {
        return SettingsText::toNumber(s.read(key, SettingsText::fromNumber(current)));
    };
    const Holders &h = options_->holders();
    double width = LayoutRules::DefaultWindowWidth, height = LayoutRules::DefaultWindowHeight;
    if (h.restoresSize()) {
        width = windowWidth();
        height = windowHeight();
        if (const auto w = number(Width, windowWidth()); w && *w > 0)
            width = *w;
        if (const auto h = number(Height, windowHeight()); h && *h > 0)
            height = *h;
    }
    double left = LayoutRules::centredOffset(screenWidthTwips(), width);
    double top = LayoutRules::centredOffset(screenHeightTwips(), height);
    if (h.restoresPosition()) {
        left = number(Left, windowLeft()).value_or(windowLeft());
        top = number(Top, windowTop()).value_or(windowTop());
    }
    placeWindow(left, top, width, height);
}
void MainWindow::writeSettings()
{
    using namespace SettingsKeys;
    using SettingsText::fromNumber;
    SettingsStore &s = *env_.settings;

    // The date dialog's phrase list is the user's data: let it write its file before the end.
    dates_->closeDialog();

    const bool normalState = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    const int left = windowLeft(), top = windowTop(), width = windowWidth(), height = windowHeight();
    hide();
    if (normalState) {
        s.write(Left, fromNumber(left));
        s.write(Top, fromNumber(top));
        s.write(Width, fromNumber(width));
        s.write(Height, fromNumber(height));
    }
    s.write(CurrentSheet, sheets_->caption());
    options_->save(s);
    launcher_->save(s);
    for (int sheet = 1; sheet <= SheetSession::SheetCount; ++sheet)
        s.write(OpenFile, sheets_->openedFile(sheet), sheet - 1);

    if (!s.sync() && !sessionEnding_)
        msgBox(QStringLiteral("%1 に書き込めません。").arg(QDir::toNativeSeparators(s.location())),
               {QMessageBox::Warning}, AppTitle);

    tickTimer_->stop();
    running_ = false;
    ending_ = true;
    if (env_.endProgram)
        env_.endProgram();
}
