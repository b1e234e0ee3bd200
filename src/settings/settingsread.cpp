// Start-up reads of the main window's settings into their holders. Each read passes the holder's
// current value as the default, and a stored text that does not convert or does not apply
// leaves the holder as it was.
#include "app/TabStrip.h"
#include "app/TextBox.h"
#include "app/frmMain.h"
#include "app/layoutrules.h"
#include "settings/settingsstore.h"
#include "settings/settingstext.h"

#include <QFontDatabase>

namespace {

const QString q7 = QStringLiteral("q7");
const QString sizeSection = QStringLiteral("Size");

bool fontExists(const QString &family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// Font sizes a text box accepts, in points.
std::optional<double> fontSize(const QString &text)
{
    const auto size = SettingsText::toNumber(text);
    if (!size || *size <= 0 || *size > 2048)
        return std::nullopt;
    return size;
}

} // namespace

void frmMain::readTextBoxSettings()
{
    SettingsStore &s = *env_.settings;
    QFont font = Text1->font();
    const QString name = s.ReadSetting(q7, QStringLiteral("FontName"), font.family());
    if (fontExists(name))
        font.setFamily(name);
    if (const auto size = fontSize(s.ReadSetting(q7, QStringLiteral("FontSize"), SettingsText::fromNumber(font.pointSizeF()))))
        font.setPointSizeF(*size);
    const auto fore = SettingsText::toLong(s.ReadSetting(q7, QStringLiteral("FontColor"), SettingsText::fromColour(Text1->ForeColor())));
    if (fore && SettingsText::isValidColour(*fore))
        Text1->setForeColor(*fore);
    const auto back = SettingsText::toLong(s.ReadSetting(q7, QStringLiteral("BackColor"), SettingsText::fromColour(Text1->BackColor())));
    if (back && SettingsText::isValidColour(*back))
        Text1->setBackColor(*back);
    if (const auto bold = SettingsText::toBool(s.ReadSetting(q7, QStringLiteral("FontB"), SettingsText::fromBool(font.bold()))))
        font.setBold(*bold);
    if (const auto italic = SettingsText::toBool(s.ReadSetting(q7, QStringLiteral("FontI"), SettingsText::fromBool(font.italic()))))
        font.setItalic(*italic);
    Text1->setFont(font);
}

void frmMain::readWindowSettings()
{
    SettingsStore &s = *env_.settings;
    Label1[1] = s.ReadSetting(sizeSection, QStringLiteral("Size1"), Label1[1]);
    if (SettingsText::toNumber(Label1[1]) == 1.0) {
        const auto w = SettingsText::toNumber(s.ReadSetting(sizeSection, QStringLiteral("Width"), SettingsText::fromNumber(windowWidth())));
        const auto h = SettingsText::toNumber(s.ReadSetting(sizeSection, QStringLiteral("Height"), SettingsText::fromNumber(windowHeight())));
        if (w && *w > 0)
            setWindowWidth(*w);
        if (h && *h > 0)
            setWindowHeight(*h);
    } else {
        setWindowWidth(LayoutRules::DefaultWindowWidth);
        setWindowHeight(LayoutRules::DefaultWindowHeight);
    }

    Label1[2] = s.ReadSetting(sizeSection, QStringLiteral("Size2"), Label1[2]);
    if (SettingsText::toNumber(Label1[2]) == 1.0) {
        const auto l = SettingsText::toNumber(s.ReadSetting(sizeSection, QStringLiteral("Left"), SettingsText::fromNumber(windowLeft())));
        const auto t = SettingsText::toNumber(s.ReadSetting(sizeSection, QStringLiteral("Top"), SettingsText::fromNumber(windowTop())));
        if (l)
            setWindowLeft(*l);
        if (t)
            setWindowTop(*t);
    } else {
        setWindowLeft(LayoutRules::centredOffset(screenWidthTwips(), windowWidth()));
        setWindowTop(LayoutRules::centredOffset(screenHeightTwips(), windowHeight()));
    }
}

void frmMain::readOptionSettings()
{
    SettingsStore &s = *env_.settings;
    Label1[0] = s.ReadSetting(QStringLiteral("IME"), QStringLiteral("IME"), Label1[0]);
    Text1->setImeMode(Label1[0] == QLatin1String("False") ? 0 : 4);
    Label1[3] = s.ReadSetting(q7, QStringLiteral("Inyouhu"), Label1[3]);
}

void frmMain::readTabSettings()
{
    SettingsStore &s = *env_.settings;
    QFont font = TabStrip1->tabFont();
    const QString name = s.ReadSetting(q7, QStringLiteral("XXX"), font.family());
    if (fontExists(name))
        font.setFamily(name);
    if (const auto size = fontSize(s.ReadSetting(q7, QStringLiteral("XXXX"), SettingsText::fromTabFontSize(font.pointSizeF()))))
        font.setPointSizeF(*size);
    if (const auto bold = SettingsText::toBool(s.ReadSetting(q7, QStringLiteral("X"), SettingsText::fromBool(font.bold()))))
        font.setBold(*bold);
    if (const auto italic = SettingsText::toBool(s.ReadSetting(q7, QStringLiteral("XX"), SettingsText::fromBool(font.italic()))))
        font.setItalic(*italic);
    TabStrip1->setTabFont(font);

    for (int i = 0; i < SheetCount; ++i)
        lblRealFile[i] = s.ReadSetting(QStringLiteral("Open"), QStringLiteral("File%1").arg(i), lblRealFile[i]);
    for (int n = 1; n <= SheetCount; ++n)
        TabStrip1->setCaption(n, s.ReadSetting(q7, QStringLiteral("q%1").arg(n), TabStrip1->caption(n)));
}

void frmMain::readLauncherSettings()
{
    // The registered applications' holders; their menu items and buttons come with the launcher.
    SettingsStore &s = *env_.settings;
    for (int i = 0; i < 3; ++i) {
        Label1[4 + i] = s.ReadSetting(QStringLiteral("Launch"), QStringLiteral("Bar%1").arg(i), Label1[4 + i]);
        Label1[7 + i] = s.ReadSetting(QStringLiteral("Launch"), QStringLiteral("Name%1").arg(i), Label1[7 + i]);
    }
}
