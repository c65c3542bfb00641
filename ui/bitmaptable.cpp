#include "ui/artwork.h"

#include "ui/art_common.h"

#include <algorithm>

// Every built-in picture by name. Skins: size of the picture (the dialog is one pixel smaller), kind, the
// heading that belongs to the background, the height of the button strip and what else the background bears.
// Buttons: size, look, glyph and caption. A Styles/<name>.bmp file in the program folder replaces any of them.
// Where a dialog's description gives no picture size, the size follows from its controls: the outermost
// control plus the margin of the dialogs that do have one.
namespace ui::art {

using K = SkinKind;
using S = ButtonStyle;
using G = Glyph;

static std::vector<SkinEntry> toolkitSkins() {
    return {
        // message dialogs
        {"MsgYesNo", 386, 174, K::Question, "", 0, nullptr, 0},
        {"MsgInfo", 382, 173, K::Notice, "", 0, nullptr, 0},
        {"MsgBlank", 384, 134, K::Progress, "", 0, nullptr, 0},
    };
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

static std::vector<PictureEntry> toolkitPictures() {
    return {
        // questions without a picture in the catalog view (318 x 200)
        {"KEINBKAT", 318, 200, pictures::noPicture},
        // search dialog
        {"SEEK_WIN", 40, 40, pictures::search, false},
        // the program's icon; the update dialog's comes with its feature
        {"Tavolin", 32, 32, pictures::programIcon, false},
    };
}

static std::vector<FileEntry> toolkitFiles() {
    // What the program reads from Bitmaps\ rather than from its resources: the catalog's no-picture picture. The
    // features register theirs.
    return {
        {"KEINBKAT", "KEINBKAT.BMP"},
    };
}

namespace {

// The toolkit's own pictures and those the features registered.
Artwork& registry() {
    static Artwork all{toolkitSkins(), toolkitPictures(), toolkitFiles()};
    return all;
}

template <typename Entry> void addNew(std::vector<Entry>& table, const std::vector<Entry>& entries) {
    for (const Entry& e : entries) {
        const bool known = std::any_of(table.begin(), table.end(), [&](const Entry& t) {
            return QLatin1String(t.name).compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0;
        });
        if (!known) table.push_back(e);
    }
}

template <typename Entry> const Entry* findIn(const std::vector<Entry>& table, const QString& name) {
    for (const auto& e : table)
        if (name.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0) return &e;
    return nullptr;
}

} // namespace

void registerArtwork(const Artwork& artwork) {
    addNew(registry().skins, artwork.skins);
    addNew(registry().pictures, artwork.pictures);
    addNew(registry().files, artwork.files);
}

const std::vector<SkinEntry>& skinTable() {
    return registry().skins;
}

const std::vector<PictureEntry>& pictureTable() {
    return registry().pictures;
}

const std::vector<FileEntry>& bitmapFileTable() {
    return registry().files;
}

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
