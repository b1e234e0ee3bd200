#include "settings/holders.h"

#include "settings/settingsstore.h"
#include "settings/settingstext.h"

using namespace SettingsKeys;

namespace {

// Font sizes a text box accepts, in points.
std::optional<double> fontSize(const QString &text, Kind kind)
{
    const auto size = SettingsText::toNumber(text);
    if (size && kind == Kind::TabFontSize)
        return Holders::storedTabFontSize(*size);
    if (!size || !Holders::isFontSize(*size))
        return std::nullopt;
    return size;
}

void readBool(const SettingsStore &s, const Key &key, bool &holder)
{
    if (const auto value = SettingsText::toBool(s.read(key, SettingsText::fromBool(holder))))
        holder = *value;
}

void readColour(const SettingsStore &s, const Key &key, qint32 &holder)
{
    const auto value = SettingsText::toLong(s.read(key, SettingsText::fromColour(holder)));
    if (value && SettingsText::isValidColour(*value))
        holder = *value;
}

} // namespace

Holders::Holders()
    : foreColor(SettingsText::SysWindowText)
    , backColor(SettingsText::SysWindowBackground)
{
    tabFont.name = TabFontName.builtInValue();
    tabFont.size = SettingsText::toNumber(TabFontSize.builtInValue()).value_or(0);
    for (int n = 1; n <= TabCount; ++n)
        tabCaptions[n - 1] = TabCaption.builtInValue(n);
}

bool Holders::restoresSize() const
{
    return SettingsText::toNumber(restoreSize) == 1.0;
}

bool Holders::restoresPosition() const
{
    return SettingsText::toNumber(restorePosition) == 1.0;
}

std::optional<double> Holders::storedTabFontSize(double points)
{
    const auto stored = SettingsText::toNumber(SettingsText::fromTabFontSize(points));
    if (!stored || !isFontSize(*stored))
        return std::nullopt;
    return stored;
}

void Holders::read(const SettingsStore &s)
{
    const auto readFont = [&](const Key &name, const Key &size, Kind sizeKind, const Key &bold, const Key &italic,
                              Font &font) {
        // A font that is not installed here keeps its name: the platform shows a substitute
        // meanwhile, and the user's choice comes back with the font (or on another machine).
        if (const QString n = s.read(name, font.name); !n.isEmpty())
            font.name = n;
        const QString sizeText = sizeKind == Kind::TabFontSize ? SettingsText::fromTabFontSize(font.size)
                                                               : SettingsText::fromNumber(font.size);
        if (const auto points = fontSize(s.read(size, sizeText), sizeKind))
            font.size = *points;
        readBool(s, bold, font.bold);
        readBool(s, italic, font.italic);
    };

    readFont(FontName, FontSize, Kind::Number, FontB, FontI, textFont);
    readColour(s, FontColor, foreColor);
    readColour(s, BackColor, backColor);
    restoreSize = s.read(Size1, restoreSize);
    restorePosition = s.read(Size2, restorePosition);
    ime = s.read(Ime, ime);
    quoteMark = s.read(Inyouhu, quoteMark);
    readFont(TabFontName, TabFontSize, Kind::TabFontSize, TabFontBold, TabFontItalic, tabFont);
    // A tab shows a few words; a caption of megabytes (a damaged or hostile file) would take
    // seconds to lay out at every start.
    for (int n = 1; n <= TabCount; ++n)
        tabCaptions[n - 1] = s.read(TabCaption, tabCaptions[n - 1], n).left(MaxCaptionLength);
    for (int i = 0; i < AppCount; ++i) {
        apps[i].path = s.read(AppPath, apps[i].path, i);
        apps[i].name = s.read(AppName, apps[i].name, i);
    }
}

void Holders::write(SettingsStore &s) const
{
    using namespace SettingsText;
    s.write(FontName, textFont.name);
    s.write(FontSize, fromNumber(textFont.size));
    s.write(FontColor, fromColour(foreColor));
    s.write(BackColor, fromColour(backColor));
    s.write(FontB, fromBool(textFont.bold));
    s.write(FontI, fromBool(textFont.italic));
    s.write(Ime, ime);
    s.write(Size1, restoreSize);
    s.write(Size2, restorePosition);
    s.write(Inyouhu, quoteMark);
    s.write(TabFontName, tabFont.name);
    s.write(TabFontSize, fromTabFontSize(tabFont.size));
    s.write(TabFontBold, fromBool(tabFont.bold));
    s.write(TabFontItalic, fromBool(tabFont.italic));
    for (int i = 0; i < AppCount; ++i) {
        s.write(AppPath, apps[i].path, i);
        s.write(AppName, apps[i].name, i);
    }
    for (int n = 1; n <= TabCount; ++n)
        s.write(TabCaption, tabCaptions[n - 1], n);
}
