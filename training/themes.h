#pragma once

#include <QString>

#include <array>

namespace training {

// The nine training themes and the activities of the theme selection: the button's picture, its Alt key, the
// theme number (0 for the activities) and the title the run shows in its header, quotes included.
struct ThemeEntry {
    const char* bitmap;
    char key;
    int theme;
    const char* title;
};

inline constexpr std::array<ThemeEntry, 9> kThemes{{
    {"BT_Gefah", 'G', 1, "'Gefahrenlehre'"},
    {"BT_Verha", 'I', 2, "'Verhalten im Strassenverkehr'"},
    {"BT_Vorfa", 'V', 3, "'Vorfahrt, Vorrang'"},
    {"BT_Verke", 'Z', 4, "'Verkehrszeichen'"},
    {"BT_Umwel", 'U', 5, "'Umweltschutz'"},
    {"BT_Vorsc", 'K', 6, "'Vorschriften über den Betrieb von KFZ'"},
    {"BT_Techn", 'T', 7, "'Technik'"},
    {"BT_Eignu", 'E', 8, "'Eignung und Befähigung'"},
    {"BT_Werte", 'W', 9, "'Werte und Maße'"},
}};

// The pseudo-theme that gathers every question asking for a number, whatever its theme.
inline constexpr int kValuesTheme = 9;

inline QString themeTitle(int theme) {
    for (const ThemeEntry& e : kThemes)
        if (e.theme == theme) return QString::fromUtf8(e.title);
    return {};
}

} // namespace training
