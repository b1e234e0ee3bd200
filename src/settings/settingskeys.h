#pragma once

#include <QString>
#include <array>

// Every key the program keeps in the settings store, in one table: its section, its name, how
// its value is spelled and the value a missing key stands for. Readers and writers name keys
// only through this table.
namespace SettingsKeys {

enum class Kind {
    Text,        // stored unchanged
    Flag,        // "0" or "1"
    Boolean,     // "True" or "False"
    Number,      // decimal, at most seven significant digits (twips, points)
    Colour,      // signed 32-bit colour value
    TabFontSize, // decimal, at most four decimals
};

struct Key {
    const char *section;
    const char *name;     // for a numbered key, the stem the number follows ("File" + 0..6)
    Kind kind;
    const char *builtIn;  // the value of a missing key; nullptr: the holder's design value
    int first = 0;        // numbered keys: the first number
    int count = 1;        // numbered keys: how many; 1 for a single key

    // The key's name, with the number appended for a numbered key.
    QString keyName(int number = 0) const;
    QString sectionName() const { return QLatin1String(section); }
    // A numbered key's non-empty built-in value is followed by the number ("Zibo q &3").
    QString builtInValue(int number = 0) const;
};

// The text box.
inline constexpr Key FontName{"q7", "FontName", Kind::Text, nullptr};
inline constexpr Key FontSize{"q7", "FontSize", Kind::Number, nullptr};
inline constexpr Key FontColor{"q7", "FontColor", Kind::Colour, "-2147483640"};
inline constexpr Key BackColor{"q7", "BackColor", Kind::Colour, "-2147483643"};
inline constexpr Key FontB{"q7", "FontB", Kind::Boolean, "False"};
inline constexpr Key FontI{"q7", "FontI", Kind::Boolean, "False"};
// The main window, in twips; the size and position count only when their flag reads as 1.
inline constexpr Key Size1{"Size", "Size1", Kind::Flag, "0"};
inline constexpr Key Width{"Size", "Width", Kind::Number, nullptr};
inline constexpr Key Height{"Size", "Height", Kind::Number, nullptr};
inline constexpr Key Size2{"Size", "Size2", Kind::Flag, "0"};
inline constexpr Key Left{"Size", "Left", Kind::Number, nullptr};
inline constexpr Key Top{"Size", "Top", Kind::Number, nullptr};
// Input method and quote mark.
inline constexpr Key Ime{"IME", "IME", Kind::Boolean, "False"};
inline constexpr Key Inyouhu{"q7", "Inyouhu", Kind::Text, ">"};
// The tab strip's font and captions.
inline constexpr Key TabFontName{"q7", "XXX", Kind::Text, "Times New Roman"};
inline constexpr Key TabFontSize{"q7", "XXXX", Kind::TabFontSize, "11.25"};
inline constexpr Key TabFontBold{"q7", "X", Kind::Boolean, "False"};
inline constexpr Key TabFontItalic{"q7", "XX", Kind::Boolean, "False"};
inline constexpr Key TabCaption{"q7", "q", Kind::Text, "Zibo q &", 1, 7};  // built-in + number
// The sheets.
inline constexpr Key OpenFile{"Open", "File", Kind::Text, "", 0, 7};
inline constexpr Key CurrentSheet{"q7", "File", Kind::Text, "q7 Zibo q1"};
// The registered applications and the launcher's history.
inline constexpr Key AppPath{"Launch", "Bar", Kind::Text, "", 0, 3};
inline constexpr Key AppName{"Launch", "Name", Kind::Text, "", 0, 3};
inline constexpr Key LaunchHistory{"Launch", "CMD", Kind::Text, "", 0, 10};
// The date dialog's own keys, read and written by that dialog.
inline constexpr Key DateClose{"q7", "date", Kind::Flag, "1"};
inline constexpr Key PhraseClose{"q7", "teikei", Kind::Flag, "0"};
inline constexpr Key DateLeft{"Size", "DLeft", Kind::Number, nullptr};
inline constexpr Key DateTop{"Size", "DTop", Kind::Number, nullptr};

inline constexpr std::array<const Key *, 28> All = {
    &FontName, &FontSize, &FontColor, &BackColor, &FontB, &FontI,
    &Size1, &Width, &Height, &Size2, &Left, &Top,
    &Ime, &Inyouhu,
    &TabFontName, &TabFontSize, &TabFontBold, &TabFontItalic, &TabCaption,
    &OpenFile, &CurrentSheet,
    &AppPath, &AppName, &LaunchHistory,
    &DateClose, &PhraseClose, &DateLeft, &DateTop,
};

} // namespace SettingsKeys
