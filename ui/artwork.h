#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;

// The built-in artwork: every skin, bitmap button, icon and picture is drawn here by code, from one palette.
namespace ui::art {

// One palette for all built-in pictures: deep blue ink and heading, a warm light body.
namespace palette {
inline const QColor ink{0x1c, 0x3b, 0x6e};     // frame, headings, captions on light buttons
inline const QColor bandTop{0xea, 0xf2, 0xfc}; // heading band, light so that black titles stay readable
inline const QColor bandBottom{0xc6, 0xda, 0xf2};
inline const QColor bandLine{0x2b, 0x57, 0x97};
inline const QColor accent{0xe3, 0xa6, 0x3c}; // the thin amber line under the band
inline const QColor bodyTop{0xfc, 0xf8, 0xee};
inline const QColor bodyBottom{0xf3, 0xea, 0xd3};
inline const QColor panel{0xff, 0xfd, 0xf6};
inline const QColor panelBorder{0xdc, 0xcc, 0xa6};
inline const QColor footer{0xee, 0xe3, 0xc6};
inline const QColor primaryTop{0x4d, 0x82, 0xd2};
inline const QColor primaryBottom{0x23, 0x4f, 0x8f};
inline const QColor primaryBorder{0x17, 0x33, 0x62};
inline const QColor secondaryTop{0xff, 0xfd, 0xf7};
inline const QColor secondaryBottom{0xee, 0xe1, 0xc2};
inline const QColor secondaryBorder{0xad, 0x95, 0x5c};
inline const QColor inactiveTop{0xf3, 0xf3, 0xf1};
inline const QColor inactiveBottom{0xdb, 0xda, 0xd6};
inline const QColor inactiveText{0x90, 0x90, 0x8c};
inline const QColor muted{0x5a, 0x66, 0x7a}; // second lines, legends

// The colours the dialogs give to the controls that stand on a skin. The skin paints the same colour under
// them, so a label with a filled background and a transparent one look alike.
inline const QColor titleTab{249, 224, 109};  // dialog titles of the statistics and catalog dialogs
inline const QColor themeTab{230, 230, 21};   // title of the theme selection
inline const QColor amber{246, 205, 42};      // labels and texts of the catalog dialogs and the tax calculator
inline const QColor fineAmber{240, 207, 32};  // labels of the fine calculator
inline const QColor stopAmber{245, 205, 41};  // labels of the stopping-distance calculator
inline const QColor setupBack{158, 176, 152}; // settings dialogs: tab strip and controls
inline const QColor setupLabel{123, 171, 121};
inline const QColor statRow1{180, 169, 150};
inline const QColor statRow2{213, 106, 106};
inline const QColor barBack{253, 253, 0}; // the statistics bars and the learners' name fields
inline const QColor barMagenta{255, 0, 255};
inline const QColor barBlue{0, 0, 255};
inline const QColor questionCyan{201, 255, 255};
inline const QColor answer1{207, 255, 231};
inline const QColor answer2{183, 255, 231};
inline const QColor answer3{115, 255, 228};
inline const QColor solutionOrange{224, 101, 48};
inline const QColor viewQuestion{254, 204, 51};
inline const QColor viewAnswer1{255, 255, 102};
inline const QColor viewAnswer2{255, 255, 51};
inline const QColor viewAnswer3{255, 255, 0};
inline const QColor viewBar{132, 67, 54};
// Edit fields and computed values (NCOLF text, NCOLB background, NCOLBH highlighted background).
inline const QColor NCOLF{1, 0, 0};
inline const QColor NCOLB{255, 255, 208};
inline const QColor NCOLBH{255, 255, 140};
} // namespace palette

enum class SkinKind {
    Question, // heading band, message panel with a question mark
    Notice,   // heading band, message panel with an "i"
    Progress, // heading band, one panel for text and bar
    Dialog,   // heading band, body, optional footer strip for the buttons
    Page,     // a tab page: body only
    Plain,    // body only; the decoration draws everything else
};

enum class ButtonStyle { Primary, Secondary, Inactive, Tile };

enum class Glyph {
    None,
    Check,
    Cross,
    Next,
    Help,
    Exit,
    Search,
    Save,
    Reset,
    List,
    Chart,
    Users,
    Show,
    Calc,
    Book,
    Table,
    // the coloured pictograms of the theme buttons
    Danger,
    Road,
    Priority,
    Sign,
    Leaf,
    Paragraph,
    Gear,
    Eye,
    Ruler,
    Exam,
    Stats,
    Door,
};

// What a dialog's background bears besides band, body and footer: panels under its controls, captions,
// legends. Drawn in logical pixels of the skin.
using Decoration = void (*)(QPainter& p, QSize size);

struct SkinEntry {
    const char* name;
    int width;
    int height;
    SkinKind kind;
    const char* heading; // text that belongs to the background, "" when the dialog draws its own title
    int footer;          // height of the button strip at the bottom, 0 for none
    Decoration decorate = nullptr;
    // The dialog is this many pixels smaller than its skin, so the frame is drawn around what is seen.
    // 0 keeps the frame on the picture's edge (the message skins, whose look is fixed).
    int cut = 1;
};

struct ButtonEntry {
    const char* name;
    int width;
    int height;
    ButtonStyle style;
    Glyph glyph;
    const char* caption;            // "&" marks the underlined accelerator letter
    const char* subtitle = nullptr; // the second, smaller line of a tile
};

// Start pictures, filler pictures, logos and icons.
using Painter = void (*)(QPainter& p, QSize size);

struct PictureEntry {
    const char* name;
    int width;
    int height;
    Painter paint;
    bool opaque = true; // false: pictures shown over a skin keep their transparent corners
};

// A picture the program reads from its Bitmaps folder rather than from its resources.
struct FileEntry {
    const char* name; // the built-in picture
    const char* file; // its file name in Bitmaps/
};

// A feature's own pictures: the skins of its dialogs with their decorations, the pictures only it shows, and
// which of them the build writes into Bitmaps/. Each feature keeps them in its folder and registers them.
struct Artwork {
    std::vector<SkinEntry> skins;
    std::vector<PictureEntry> pictures;
    std::vector<FileEntry> files;
};

// Adds a feature's pictures to the toolkit's own; a name that is known already keeps its first entry, so
// registering twice changes nothing.
void registerArtwork(const Artwork& artwork);

// The named built-in pictures: the toolkit's own (bitmaptable.cpp) and the registered ones.
const std::vector<SkinEntry>& skinTable();
const std::vector<ButtonEntry>& buttonTable();
const std::vector<PictureEntry>& pictureTable();
const std::vector<FileEntry>& bitmapFileTable();

const SkinEntry* findSkin(const QString& name);
const ButtonEntry* findButton(const QString& name);
const PictureEntry* findPicture(const QString& name);

QPixmap drawSkin(const SkinEntry& entry, qreal dpr);
QPixmap drawButton(QSize size, ButtonStyle style, Glyph glyph, const QString& caption, qreal dpr);
QPixmap drawButton(const ButtonEntry& entry, qreal dpr);
QPixmap drawPicture(const PictureEntry& entry, qreal dpr);

// Any built-in picture by name, null when the name is unknown (case-insensitive).
QPixmap draw(const QString& name, qreal dpr);

// The named icons ("Tavolin", "Update") at every size a window system asks for.
QIcon icon(const QString& name);

// Writes the pictures the program reads from its Bitmaps folder as Windows bitmaps (24 bit) into `dir`.
// Returns the names of the files written; an empty list when the folder cannot be written.
QStringList writeBitmapFiles(const QString& dir);

} // namespace ui::art
