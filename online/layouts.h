#pragma once

#include <QRect>

#include "ui/geometry.h"

// Where the controls of the online dialogs stand: top, left, width, height in layout units of two pixels,
// used by the dialogs, by the update dialog's background and by the tests.
namespace online::layout {

// "... Internet-Update", 400 x 170 pixels.
namespace update {
inline const QSize size(400, 170);
inline const QRect heading = ui::luRect(5, 5, 150, 8);
inline const QRect urlLabel = ui::luRect(20, 5, 40, 8);
inline const QRect statusLabel = ui::luRect(30, 5, 40, 8);
inline const QRect fileLabel = ui::luRect(40, 5, 40, 8);
inline const QRect downloadLabel = ui::luRect(50, 5, 40, 8);
inline const QRect url = ui::luRect(20, 50, 145, 8);
inline const QRect status = ui::luRect(30, 50, 145, 8);
inline const QRect file = ui::luRect(40, 50, 145, 8);
inline const QRect download = ui::luRect(50, 50, 145, 16);
inline const QRect start = ui::luRect(70, 85, 40, 10);
inline const QRect end = ui::luRect(70, 128, 40, 10);
} // namespace update

// "EMail-Einstellungen", 300 x 150 pixels.
namespace mailSetup {
inline const QSize size(300, 150);
inline const QRect intro = ui::luRect(3, 5, 140, 27);
inline const QRect prompt = ui::luRect(28, 4, 110, 9);
inline const QRect nameLabel = ui::luRect(40, 4, 15, 7);
inline const QRect replyLabel = ui::luRect(51, 4, 15, 7);
inline const QRect name = ui::luRect(39, 22, 120, 10);
inline const QRect reply = ui::luRect(50, 22, 120, 10);
inline const QRect save = ui::luRect(64, 86, 30, 10);
inline const QRect end = ui::luRect(64, 118, 30, 10);
} // namespace mailSetup

} // namespace online::layout
