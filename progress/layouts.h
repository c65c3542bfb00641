#pragma once

#include <QRect>

#include <array>

#include "ui/geometry.h"

// Where the controls of the progress dialog stand: written once, as top, left, width, height in pixels of its
// background picture "Lernstd" (640 x 480), and used by the dialog, the picture's decoration and the tests. The
// review of a past exam stands on the question dialog's own backgrounds and layout.
namespace progress::layout {

namespace lernstand {
inline constexpr int kWidth = 640;
inline constexpr int kHeight = 480;
inline const QRect classLabel = ui::pxRect(66, 20, 60, 22);
inline const QRect classChoice = ui::pxRect(66, 84, 170, 22);
// The readiness: traffic light, percentage, and the themes that cost most.
inline const QRect readinessPanel = ui::pxRect(96, 14, 300, 122);
inline const QRect light = ui::pxRect(104, 24, 30, 84);
inline const QRect percent = ui::pxRect(102, 66, 110, 40);
inline const QRect verdict = ui::pxRect(104, 180, 126, 38);
inline const QRect themesLabel = ui::pxRect(146, 66, 240, 16);
inline const QRect themes = ui::pxRect(162, 66, 240, 50);
// The error points of the class's exams over time against its limit.
inline const QRect chartPanel = ui::pxRect(64, 326, 300, 154 - 2);
inline const QRect chart = ui::pxRect(70, 332, 288, 140);
// The exams of the class, newest first.
inline const QRect historyPanel = ui::pxRect(226, 14, 612, 190);
inline const QRect history = ui::pxRect(232, 20, 600, 178);
inline const std::array<QRect, 5> buttons = {ui::pxRect(426, 18, 99, 33), ui::pxRect(426, 140, 99, 33),
                                             ui::pxRect(426, 262, 99, 33), ui::pxRect(426, 392, 99, 33),
                                             ui::pxRect(426, 522, 99, 33)};
inline const QRect close = ui::pxRect(10, 614, 16, 16);
} // namespace lernstand

// The review of a past exam stands on the question dialog's layout; its one control of its own, whether the
// question was answered right, sits in the free space of the number row, between points and error points.
namespace review {
inline const QRect verdict = ui::luRect(225, 245, 40, 9);
} // namespace review

} // namespace progress::layout
