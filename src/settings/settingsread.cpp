// Start-up's reads that belong to the window: the holders put onto the controls, the window's
// size and position.
#include "app/TabStrip.h"
#include "editor/TextBox.h"
#include "app/frmMain.h"
#include "app/layoutrules.h"
#include "settings/OptionsController.h"
#include "settings/settingsstore.h"
#include "settings/settingstext.h"


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

void frmMain::applyHolders()
{
    const Holders &h = options_->holders();
    Text1->setFont(toFont(Text1->font(), h.textFont));
    Text1->setForeColor(h.foreColor);
    Text1->setBackColor(h.backColor);
    Text1->setImeMode(h.imeOn() ? 4 : 0);
    TabStrip1->setTabFont(toFont(TabStrip1->tabFont(), h.tabFont));
    for (int n = 1; n <= Holders::TabCount; ++n)
        TabStrip1->setCaption(n, h.tabCaptions[n - 1]);
}

void frmMain::readWindowSettings()
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
