#pragma once

#include <QRect>

#include "ui/geometry.h"

// Where the controls of the error dialogs stand, in layout units of two pixels (top, left, width, height): used by
// the dialogs, by their backgrounds and by the tests.
namespace diag::layout {

// The error dialog, 300 x 250 pixels (the list and the buttons of the larger of its two sizes).
namespace error {
inline constexpr int kWidth = 300;
inline constexpr int kHeight = 250;
inline const QRect logo = ui::luRect(6, 6, 16, 16);
inline const QRect text = ui::luRect(3, 22, 126, 22);
inline const QRect stackLabel = ui::luRect(24, 6, 60, 8);
// Right-aligned and wider than its column 98, so that the whole text fits at the dialog's font.
inline const QRect seeLog = ui::luRect(24, 88, 60, 8);
inline const QRect stack = ui::luRect(33, 3, 145, 78);
// "&Ende": centred with one or three buttons, on the left with two.
inline const QRect end = ui::luRect(111, 60, 40, 12);
inline const QRect endOfTwo = ui::luRect(111, 27, 40, 12);
// "&Wiederholen": left of "&Ende" with three buttons, right of it with two.
inline const QRect retry = ui::luRect(111, 13, 40, 12);
inline const QRect retryOfTwo = ui::luRect(111, 82, 40, 12);
inline const QRect byDefault = ui::luRect(111, 108, 30, 12);
} // namespace error

// "Fehler-Protokoll" at start-up, 330 x 180 pixels.
namespace printErr {
inline constexpr int kWidth = 330;
inline constexpr int kHeight = 180;
inline const QRect stop = ui::pxRect(10, 10, 32, 32);
inline const QRect heading = ui::luRect(8, 40, 120, 7);
inline const QRect prompt = ui::luRect(20, 45, 110, 14);
inline const QRect choice = ui::luRect(39, 64, 50, 9); // the first of three, one below the other
inline constexpr int kChoiceStep = ui::units(9);
inline const QRect next = ui::luRect(78, 69, 30, 10);
inline const QRect help = ui::luRect(78, 101, 30, 10);
inline const QRect cancel = ui::luRect(78, 133, 30, 10);
} // namespace printErr

} // namespace diag::layout
