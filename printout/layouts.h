#pragma once

#include <QRect>

#include "ui/geometry.h"

// Where the controls of the two printing dialogs stand: written once, as top, left, width, height in pixels of the
// background picture "KataDruck" (370 x 304), and used by the dialogs, the picture's decoration and the tests.
namespace printout::layout::choice {

inline constexpr int kWidth = 370;
inline constexpr int kHeight = 304;

inline const QRect title = ui::pxRect(8, 12, 160, 16);
inline const QRect text = ui::pxRect(60, 40, 290, 44);
// The panel under the text and the choices.
inline const QRect panel = ui::pxRect(46, 16, 338, 208);

// The 14 classes in two columns of seven, top to bottom.
inline QRect classItem(int index) {
    return ui::pxRect(120 + 18 * (index % 7), 40 + 150 * (index / 7), 140, 18);
}
// The 10 themes in two columns of five; the left one is wider for the longer captions.
inline QRect themeItem(int index) {
    return index < 5 ? ui::pxRect(120 + 24 * index, 40, 168, 20) : ui::pxRect(120 + 24 * (index - 5), 208, 146, 20);
}

inline const QRect next = ui::pxRect(268, 54, 100, 34);
inline const QRect help = ui::pxRect(268, 158, 100, 34);
inline const QRect end = ui::pxRect(268, 262, 100, 34);
inline const QRect close = ui::pxRect(12, 342, 16, 16);

} // namespace printout::layout::choice
