#include "ui/artwork.h"

#include "ui/art_common.h"

// Every built-in picture by name. Skins: size of the picture (the dialog is one pixel smaller), kind, the
// heading that belongs to the background, the height of the button strip and what else the background bears.
// Buttons: size, look, glyph and caption. A Styles/<name>.bmp file in the program folder replaces any of them.
// Where a dialog's description gives no picture size, the size follows from its controls: the outermost
// control plus the margin of the dialogs that do have one.
namespace ui::art {

using K = SkinKind;
using S = ButtonStyle;
using G = Glyph;

const std::vector<SkinEntry>& skinTable() {
    static const std::vector<SkinEntry> table = {
        // message dialogs
        {"MsgYesNo", 386, 174, K::Question, "", 0, nullptr, 0},
        {"MsgInfo", 382, 173, K::Notice, "", 0, nullptr, 0},
        {"MsgBlank", 384, 134, K::Progress, "", 0, nullptr, 0},
        // shell; the login dialog is 360 x 200 on its 364 x 204 skin
        {"ABOUT", 370, 259, K::Plain, "", 0, decor::about},
        {"Login", 364, 204, K::Plain, "", 0, decor::login, 4},
        {"SetupA", 456, 304, K::Dialog, "Voreinstellungen", 56, decor::setup},
        {"SetupZ", 456, 304, K::Dialog, "Zwei-Benutzer-Modus", 56, decor::setup},
        {"Setup2", 416, 182, K::Page, "", 0, decor::setupPage},
        // training and exam; the exam shows the question skins two pixels smaller
        {"ThemAusw", 657, 491, K::Dialog, "", 0, decor::themes},
        {"Fragen1", 642, 517, K::Dialog, "", 47, decor::question1, 2},
        {"Fragen2", 642, 517, K::Dialog, "", 47, decor::question2, 2},
        {"Auswert", 308, 190, K::Dialog, "Falsch beantwortet", 0, decor::solution},
        // statistics
        {"Statist1", 476, 270, K::Dialog, "", 66, decor::statistics},
        {"StatistT", 476, 270, K::Dialog, "", 66, decor::statisticsTheme},
        {"StatThem", 546, 330, K::Dialog, "Statistik - Richtige Antworten in den einzelnen Themengebieten", 58,
         decor::statThemes},
        {"StatRic1", 546, 501, K::Dialog, "Geprüfte Fragen je Thema und davon richtig in %", 63, decor::statRight1},
        {"StatRic2", 546, 500, K::Dialog, "Geprüfte Fragen je Thema und davon richtig am Gesamt", 62,
         decor::statRight2},
        {"StatVerg", 546, 501, K::Dialog, "Statistik - Richtige Antworten im Benutzervergleich", 63,
         decor::statCompare},
        // catalog viewer; their headings stand in a tab, drawn by the decoration
        {"KataAusw", 370, 304, K::Dialog, "", 46, decor::catalogChoice},
        {"KataTab", 632, 454, K::Dialog, "", 54, decor::catalogTable},
        {"Katalog1", 642, 517, K::Dialog, "", 0, decor::catalogView1},
        {"Katalog2", 642, 517, K::Dialog, "", 0, decor::catalogView2},
        {"Suchen", 370, 303, K::Dialog, "", 47, decor::search},
        {"KataDruck", 370, 304, K::Dialog, "", 44, decor::catalogPrint},
        {"KataStat", 520, 369, K::Dialog, "", 54, decor::catalogStatistics},
        // calculators
        {"Kfz_Steu", 576, 428, K::Dialog, "Kfz-Steuer-Rechner", 54, decor::tax},
        {"BussGeld", 526, 440, K::Dialog, "Bußgeld-Rechner", 50, decor::fine},
        {"Bussgel2", 500, 326, K::Page, "", 0, decor::finePage},
        {"AnhaWeg", 500, 354, K::Dialog, "Anhalteweg berechnen", 0, decor::stopping},
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
        // calculators (50 x 17 layout units)
        {"BZ_Berec", 99, 33, S::Primary, G::Calc, "Be&rechnen"},
        {"BZ_Bere0", 99, 33, S::Inactive, G::Calc, "Be&rechnen"},
        {"BZ_Steue", 99, 33, S::Secondary, G::Table, "&Steuersätze"},
        {"BZ_KATAL", 99, 33, S::Secondary, G::Book, "&Katalog"},
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
        {"BK_WEIT", 99, 33, S::Primary, G::Next, "&Weiter"},
        // question dialog
        {"B_NEXT", 99, 31, S::Primary, G::Next, "&Nächste"},
        {"B_LOES", 99, 31, S::Secondary, G::Show, "&Lösung"},
        {"B_HELP", 99, 31, S::Secondary, G::Help, "&Hilfe"},
        {"B_ENDE", 99, 31, S::Secondary, G::Exit, "&Beenden"},
        // theme selection: 155 x 33 layout units; the underlined letters are the dialog's Alt keys
        {"BT_Gefah", 309, 65, S::Tile, G::Danger, "&Gefahrenlehre", "Gefahren erkennen und vermeiden"},
        {"BT_Verha", 309, 65, S::Tile, G::Road, "Verhalten &im Straßenverkehr", "Grundregeln, Abstand, Überholen"},
        {"BT_Vorfa", 309, 65, S::Tile, G::Priority, "&Vorfahrt, Vorrang", "Kreuzungen und Einmündungen"},
        {"BT_Verke", 309, 65, S::Tile, G::Sign, "Verkehrs&zeichen", "Zeichen und Verkehrseinrichtungen"},
        {"BT_Umwel", 309, 65, S::Tile, G::Leaf, "&Umweltschutz", "Sparsam und umweltbewusst fahren"},
        {"BT_Vorsc", 309, 65, S::Tile, G::Paragraph, "Vorschriften über den Betrieb von &Kfz",
         "Papiere, Zulassung, Ladung"},
        {"BT_Techn", 309, 65, S::Tile, G::Gear, "&Technik", "Fahrzeugtechnik und Wartung"},
        {"BT_Eignu", 309, 65, S::Tile, G::Eye, "&Eignung und Befähigung", "Alkohol, Müdigkeit, Medikamente"},
        {"BT_Werte", 309, 65, S::Tile, G::Ruler, "&Werte und Maße", "Alle Fragen mit Zahlenwerten"},
        {"BT_Pruef", 309, 65, S::Tile, G::Exam, "&Prüfungssimulation", "30 Fragen wie in der Prüfung"},
        {"BT_Stati", 309, 65, S::Tile, G::Stats, "&Statistik", "Ihr Lernstand in dieser Klasse"},
        {"BT_Beend", 309, 65, S::Tile, G::Door, "&Beenden", "Zurück zum Hauptfenster"},
    };
    return table;
}

const std::vector<PictureEntry>& pictureTable() {
    static const std::vector<PictureEntry> table = {
        // start pictures of the main window, stretched to its client area
        {"START1", 800, 600, pictures::start1},
        {"START2", 800, 600, pictures::start2},
        {"START3", 800, 600, pictures::start3},
        {"START4", 800, 600, pictures::start4},
        // questions without a picture: the catalog view (318 x 200) and the training's filler pictures
        {"KEINBKAT", 318, 200, pictures::noPicture},
        {"Bild1", 318, 200, pictures::filler1},
        {"Bild2", 318, 200, pictures::filler2},
        {"Bild3", 318, 200, pictures::filler3},
        {"Bild4", 318, 200, pictures::filler4},
        // about box, search dialog, error log dialog
        {"AB_QRT", 320, 110, pictures::aboutLogo},
        {"SEEK_WIN", 40, 40, pictures::search, false},
        {"Stop_Max", 32, 32, pictures::stop, false},
        // icons: the program's and the update dialog's
        {"Tavolin", 32, 32, pictures::programIcon, false},
        {"Update", 32, 32, pictures::updateIcon, false},
    };
    return table;
}

const std::vector<FileEntry>& bitmapFileTable() {
    // What the program reads from Bitmaps\ rather than from its resources: the start pictures, the
    // no-picture pictures, and the skins whose size the dialogs take from the file.
    static const std::vector<FileEntry> table = {
        {"START1", "START1.bmp"},     {"START2", "START2.bmp"},     {"START3", "START3.bmp"}, {"START4", "START4.bmp"},
        {"KEINBKAT", "KEINBKAT.BMP"}, {"Bild1", "Bild1.bmp"},       {"Bild2", "Bild2.bmp"},   {"Bild3", "Bild3.bmp"},
        {"Bild4", "Bild4.bmp"},       {"ThemAusw", "ThemAusw.bmp"}, {"SetupA", "SetupA.bmp"}, {"SetupZ", "SetupZ.bmp"},
    };
    return table;
}

namespace {

template <typename Entry> const Entry* findIn(const std::vector<Entry>& table, const QString& name) {
    for (const auto& e : table)
        if (name.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0) return &e;
    return nullptr;
}

} // namespace

const SkinEntry* findSkin(const QString& name) {
    return findIn(skinTable(), name);
}

const ButtonEntry* findButton(const QString& name) {
    return findIn(buttonTable(), name);
}

const PictureEntry* findPicture(const QString& name) {
    return findIn(pictureTable(), name);
}

} // namespace ui::art
