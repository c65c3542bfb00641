#pragma once

#include <QRect>

#include <array>

#include "ui/geometry.h"

// Where the controls of the training's dialogs stand: written once, as top, left, width, height in layout units of
// two pixels, and used by the dialogs, by their backgrounds' decorations and by the tests.
namespace training::layout {

// The theme selection on "ThemAusw".
namespace themes {
inline const QRect header = ui::luRect(7, 6, 150, 8);
inline const QRect close = ui::luRect(7, 315, 8, 8);
// The twelve buttons, 155 x 33, in two columns; each column from top to bottom.
inline constexpr std::array<int, 6> kTops{25, 61, 97, 133, 168, 204};
inline constexpr int kLeftColumn = 8;
inline constexpr int kRightColumn = 165;
inline QRect button(int column, int row) {
    return ui::luRect(kTops[row], column == 0 ? kLeftColumn : kRightColumn, 155, 33);
}
// The bitmaps of the left and the right column, from top to bottom.
inline constexpr std::array<const char*, 6> kLeft{"BT_Verha", "BT_Vorfa", "BT_Gefah",
                                                  "BT_Vorsc", "BT_Umwel", "BT_Stati"};
inline constexpr std::array<const char*, 6> kRight{"BT_Techn", "BT_Verke", "BT_Eignu",
                                                   "BT_Werte", "BT_Pruef", "BT_Beend"};
} // namespace themes

// The question dialog in its three layouts: "Fragen1" (multiple choice), "Fragen2" (one or two numbers).
namespace question {
inline const QRect header = ui::luRect(6, 6, 250, 8);
inline const QRect picture = ui::luRect(22, 4, 159, 100);
inline const QRect close = ui::luRect(7, 308, 8, 8);
// Multiple choice.
inline const QRect text1 = ui::luRect(131, 7, 153, 74);
inline const std::array<QRect, 3> box = {ui::luRect(25, 172, 13, 49), ui::luRect(90, 172, 13, 49),
                                         ui::luRect(155, 172, 13, 49)};
inline const std::array<QRect, 3> answer = {ui::luRect(25, 186, 124, 50), ui::luRect(90, 186, 124, 50),
                                            ui::luRect(155, 186, 124, 50)};
// One number.
inline const QRect text2 = ui::luRect(27, 173, 141, 91);
inline const QRect before2 = ui::luRect(172, 33, 115, 9);
inline const QRect entry2 = ui::luRect(171, 150, 35, 11);
inline const QRect after2 = ui::luRect(172, 188, 100, 9);
// Two numbers.
inline const QRect before3 = ui::luRect(172, 33, 90, 9);
inline const QRect entry3a = ui::luRect(171, 125, 25, 11);
inline const QRect between3 = ui::luRect(172, 152, 20, 9);
inline const QRect entry3b = ui::luRect(171, 175, 25, 11);
inline const QRect after3 = ui::luRect(172, 202, 100, 9);
// The status line.
inline const QRect number = ui::luRect(225, 34, 39, 9);
inline const QRect running = ui::luRect(225, 103, 10, 9);
inline const QRect total = ui::luRect(225, 132, 10, 9);
inline const QRect points = ui::luRect(225, 202, 8, 9);
inline const QRect errors = ui::luRect(224, 303, 12, 9);
inline const QRect next = ui::luRect(238, 3, 50, 16);
inline const QRect solution = ui::luRect(238, 56, 50, 16);
inline const QRect help = ui::luRect(238, 109, 50, 16);
inline const QRect end = ui::luRect(238, 162, 50, 16);
inline const QRect autoEvaluate = ui::luRect(241, 235, 8, 8);
} // namespace question

// The solution pop-up on "Auswert".
namespace solution {
inline const QRect title = ui::luRect(27, 32, 90, 11);
inline const QRect text = ui::luRect(35, 50, 58, 28);
inline const QRect next = ui::luRect(72, 51, 50, 16);
} // namespace solution

} // namespace training::layout
