#include "ui/artwork.h"

// Every built-in picture by name. Skins: size of the picture (the dialog is one pixel smaller), kind, the
// heading that belongs to the background and the height of the button strip. Buttons: size, look, glyph and
// caption. A Styles/<name>.bmp file in the program folder replaces any of them.
namespace ui::art {

using K = SkinKind;
using S = ButtonStyle;
using G = Glyph;

const std::vector<SkinEntry>& skinTable() {
    static const std::vector<SkinEntry> table = {
        // message dialogs
        {"MsgYesNo", 386, 174, K::Question, "", 0},
        {"MsgInfo", 382, 173, K::Notice, "", 0},
        {"MsgBlank", 384, 134, K::Progress, "", 0},
        // shell
        {"ABOUT", 370, 259, K::Dialog, "", 0},
        {"Login", 364, 204, K::Dialog, "", 52},
        {"SetupA", 456, 304, K::Dialog, "Voreinstellungen", 56},
        {"SetupZ", 456, 304, K::Dialog, "Zwei-Benutzer-Modus", 56},
        {"Setup2", 416, 182, K::Page, "", 0},
        // statistics
        {"Statist1", 476, 270, K::Dialog, "", 66},
        {"StatistT", 476, 270, K::Dialog, "", 66},
        {"StatVerg", 546, 501, K::Dialog, "Statistik - Richtige Antworten im Benutzervergleich", 56},
        // catalog viewer
        {"KataAusw", 370, 304, K::Dialog, "Fragenkatalog - Auswahl", 46},
        {"KataTab", 632, 454, K::Dialog, "", 54},
        {"Suchen", 370, 303, K::Dialog, "Fragenkatalog - Suchen", 47},
        {"KataDruck", 370, 304, K::Dialog, "", 44},
        {"KataStat", 520, 369, K::Dialog, "Katalog-Statistik", 54},
    };
    return table;
}

const std::vector<ButtonEntry>& buttonTable() {
    static const std::vector<ButtonEntry> table = {
        // message dialogs
        {"Ja", 99, 31, S::Primary, G::Check, "&Ja"},
        {"Nein", 99, 31, S::Secondary, G::Cross, "&Nein"},
        {"Ok", 99, 31, S::Primary, G::Check, "&Ok"},
        // general dialog buttons
        {"BZ_WEIT", 99, 33, S::Primary, G::Next, "&Weiter"},
        {"BZ_HELP", 99, 33, S::Secondary, G::Help, "&Hilfe"},
        {"BZ_ENDE", 99, 33, S::Secondary, G::Exit, "&Beenden"},
        {"BZ_Zeig", 99, 33, S::Primary, G::Show, "&Zeigen"},
        {"BZ_Such", 99, 33, S::Secondary, G::Search, "&Suchen"},
        {"BZ_Alle", 99, 33, S::Secondary, G::List, "&Alle"},
        {"BZ_Alle0", 99, 33, S::Inactive, G::List, "&Alle"},
        {"BZ_ZURUK", 99, 33, S::Secondary, G::Reset, "&Zurücksetzen"},
        {"BZ_ZURU0", 99, 33, S::Inactive, G::Reset, "&Zurücksetzen"},
        // settings
        {"BS_SPEIC", 99, 31, S::Primary, G::Save, "&Speichern"},
        {"BS_HELP", 99, 31, S::Secondary, G::Help, "&Hilfe"},
        {"BS_ENDE", 99, 31, S::Secondary, G::Exit, "&Beenden"},
        // statistics
        {"BK_ENDE", 99, 33, S::Secondary, G::Exit, "&Beenden"},
        {"BK_THST", 99, 33, S::Primary, G::Chart, "&Themen"},
        {"BK_BVER", 99, 33, S::Primary, G::Users, "&Vergleich"},
        {"BK_BVER0", 99, 33, S::Inactive, G::Users, "&Vergleich"},
        {"BK_ZURUK", 99, 33, S::Secondary, G::Reset, "&Zurücksetzen"},
        // question dialog
        {"B_NEXT", 99, 31, S::Primary, G::Next, "&Nächste"},
        {"B_LOES", 99, 31, S::Secondary, G::Show, "&Lösung"},
        {"B_HELP", 99, 31, S::Secondary, G::Help, "&Hilfe"},
        {"B_ENDE", 99, 31, S::Secondary, G::Exit, "&Beenden"},
    };
    return table;
}

} // namespace ui::art
