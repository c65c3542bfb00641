#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <vector>

// The built-in artwork: every skin and bitmap button is drawn here by code, from one palette.
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
} // namespace palette

enum class SkinKind {
    Question, // heading band, message panel with a question mark
    Notice,   // heading band, message panel with an "i"
    Progress, // heading band, one panel for text and bar
    Dialog,   // heading band, body, optional footer strip for the buttons
    Page,     // a tab page: body only
};

enum class ButtonStyle { Primary, Secondary, Inactive };

enum class Glyph { None, Check, Cross, Next, Help, Exit, Search, Save, Reset, List, Chart, Users, Show };

struct SkinEntry {
    const char* name;
    int width;
    int height;
    SkinKind kind;
    const char* heading; // text that belongs to the background, "" when the dialog draws its own title
    int footer;          // height of the button strip at the bottom, 0 for none
};

struct ButtonEntry {
    const char* name;
    int width;
    int height;
    ButtonStyle style;
    Glyph glyph;
    const char* caption; // "&" marks the underlined accelerator letter
};

// The named built-in pictures (bitmaptable.cpp): adding a name is one line there.
const std::vector<SkinEntry>& skinTable();
const std::vector<ButtonEntry>& buttonTable();

QPixmap drawSkin(QSize size, SkinKind kind, const QString& heading, int footer, qreal dpr);
QPixmap drawButton(QSize size, ButtonStyle style, Glyph glyph, const QString& caption, qreal dpr);

} // namespace ui::art
