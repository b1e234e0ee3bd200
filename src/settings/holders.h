#pragma once

#include "settings/settingskeys.h"

#include <QString>
#include <array>
#include <optional>

class SettingsStore;

// The settings record the options controller keeps: what start-up reads from the store, what
// the options dialog edits (on a copy it hands back) and what the exit writes. Window geometry
// lives with the window, the current sheet and the opened files with the sheet session, the
// launcher history with the launcher controller.
struct Holders {
    struct Font {
        QString name;
        double size = 0;  // points
        bool bold = false;
        bool italic = false;
    };
    struct App {
        QString path;  // empty: the slot is free
        QString name;
    };
    static constexpr int AppCount = 3;
    static constexpr int TabCount = 7;
    static constexpr int MaxCaptionLength = 256;  // a longer stored tab caption is cut

    // Kept as the stored text, so that a value the program does not understand is written back
    // as it was.
    QString ime = SettingsKeys::Ime.builtInValue();                  // "False" or not
    QString restoreSize = SettingsKeys::Size1.builtInValue();        // a flag
    QString restorePosition = SettingsKeys::Size2.builtInValue();    // a flag
    QString quoteMark = SettingsKeys::Inyouhu.builtInValue();
    std::array<App, AppCount> apps;                                  // the registered applications

    // The text box: its design font is the platform's, so the window fills it in.
    Font textFont;
    qint32 foreColor;
    qint32 backColor;

    // The tab strip.
    Font tabFont;
    std::array<QString, TabCount> tabCaptions;  // tab 1 first

    Holders();

    // Font sizes a text box or the tab strip accepts, in points.
    static bool isFontSize(double points) { return points > 0 && points <= 2048; }
    // The tab strip's font size as it is stored, to four decimals, so that it reads back the
    // same; none when that is no font size.
    static std::optional<double> storedTabFontSize(double points);

    bool imeOn() const { return ime != QLatin1String("False"); }
    // A flag counts only when it reads as the number 1.
    bool restoresSize() const;
    bool restoresPosition() const;

    // Each holder takes its key's stored value when the text converts and applies; otherwise it
    // keeps what it held.
    void read(const SettingsStore &store);
    // Every holder into the store (nothing is synced).
    void write(SettingsStore &store) const;
};
