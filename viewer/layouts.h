#pragma once

#include <QRect>

#include "ui/geometry.h"

// Where the controls of the catalog viewer stand: written once, as top, left, width, height, and used by the
// dialogs, by the backgrounds' decorations and by the tests. The area choice is a dialog resource in dialog
// units; the others are in pixels of their background pictures.
namespace viewer::layout {

// The area choice ("KataAusw", 370 x 304).
namespace choice {
inline const QRect text = ui::duRect(30, 23, 198, 18);
// Radio buttons: areas 1 to 6 on the left, 7 to 9 and after a gap 10 and 11 on the right.
inline QRect radio(int area) {
    static const int tops[6] = {57, 72, 87, 102, 117, 132};
    if (area <= 6) return ui::duRect(tops[area - 1], 35, 90, 12);
    return ui::duRect(area <= 9 ? tops[area - 7] : tops[area - 6], 128, 90, 12);
}
inline const QRect show = ui::duRect(165, 40, 57, 20);
inline const QRect help = ui::duRect(165, 110, 57, 20);
inline const QRect end = ui::duRect(165, 180, 57, 20);
inline const QRect close = ui::duRect(8, 229, 11, 11);
// The panel under the text and the radio buttons.
inline const QRect panel = ui::pxRect(44, 16, 336, 204);
} // namespace choice

// The table ("KataTab", 632 x 454).
namespace table {
inline const QRect title = ui::pxRect(8, 12, 280, 16);
inline const QRect grid = ui::pxRect(44, 12, 610, 356);
inline const QRect show = ui::pxRect(408, 102, 100, 34);
inline const QRect search = ui::pxRect(408, 206, 100, 34);
inline const QRect all = ui::pxRect(408, 310, 100, 34);
inline const QRect help = ui::pxRect(408, 414, 100, 34);
inline const QRect end = ui::pxRect(408, 518, 100, 34);
inline const QRect close = ui::pxRect(12, 604, 16, 16);
} // namespace table

// The question view ("Katalog1" for multiple choice, "Katalog2" for value questions; 642 x 517).
namespace view {
inline const QRect picture = ui::pxRect(44, 8, 318, 200);
inline const QRect question = ui::pxRect(262, 14, 306, 148);
inline const QRect valueQuestion = ui::pxRect(54, 346, 282, 182);
inline QRect answer(int n) {
    return ui::pxRect(50 + 130 * (n - 1), 372, 258, 100);
}
inline QRect box(int n) {
    return ui::pxRect(50 + 130 * (n - 1), 344, 26, 90);
}
// One value: before, value, after.
namespace one {
inline const QRect before = ui::pxRect(344, 66, 230, 18);
inline const QRect value = ui::pxRect(344, 300, 70, 20);
inline const QRect after = ui::pxRect(344, 376, 200, 18);
} // namespace one
// Two values: before, value, between, second value, after.
namespace two {
inline const QRect before = ui::pxRect(344, 66, 180, 18);
inline const QRect value = ui::pxRect(344, 250, 50, 22);
inline const QRect between = ui::pxRect(344, 304, 40, 18);
inline const QRect value2 = ui::pxRect(344, 350, 50, 22);
inline const QRect after = ui::pxRect(344, 404, 200, 18);
} // namespace two
// The value line as the background bears it.
inline const QRect valueLine = ui::pxRect(334, 56, 570, 42);
// The bar at the bottom; the value layouts put the counts two pixels further left (`shift`).
inline const QRect classLabel = ui::pxRect(450, 62, 60, 18);
inline const QRect theme = ui::pxRect(450, 214, 18, 18);
inline const QRect number = ui::pxRect(450, 310, 78, 18);
inline const QRect points = ui::pxRect(450, 530, 18, 18);
inline QRect answers(int shift) {
    return ui::pxRect(482, 480 - shift, 36, 18);
}
inline QRect right(int shift) {
    return ui::pxRect(482, 560 - shift, 36, 18);
}
inline const QRect end = ui::pxRect(476, 6, 100, 34);
inline const QRect help = ui::pxRect(476, 112, 100, 34);
inline const QRect reset = ui::pxRect(476, 218, 100, 34);
inline const QRect close = ui::pxRect(10, 614, 16, 16);
} // namespace view

// The search ("Suchen", 370 x 303).
namespace search {
inline const QRect icon = ui::pxRect(56, 24, 40, 40);
inline const QRect text = ui::pxRect(68, 80, 240, 80);
inline const QRect prompt = ui::pxRect(168, 100, 200, 20);
inline const QRect label = ui::pxRect(212, 40, 60, 20);
inline const QRect edit = ui::pxRect(208, 100, 240, 20);
inline const QRect start = ui::pxRect(264, 52, 100, 34);
inline const QRect help = ui::pxRect(264, 156, 100, 34);
inline const QRect end = ui::pxRect(264, 260, 100, 34);
inline const QRect close = ui::pxRect(12, 344, 16, 16);
inline const QRect panel = ui::pxRect(44, 14, 342, 200);
} // namespace search

// The catalog statistics ("KataStat", 520 x 369).
namespace stat {
inline const QRect grid = ui::pxRect(46, 14, 492, 262);
inline const QRect help = ui::pxRect(326, 298, 100, 34);
inline const QRect end = ui::pxRect(326, 404, 100, 34);
inline const QRect close = ui::pxRect(14, 486, 16, 16);
} // namespace stat

} // namespace viewer::layout
