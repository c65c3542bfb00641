#pragma once

#include <QRect>

#include "ui/geometry.h"

// Where the controls of the shell's dialogs stand: written once, as top, left, width, height in pixels of the
// dialog's background picture, and used by the dialog, by the picture's decoration and by the tests.
namespace shell::layout {

// The about box.
namespace about {
inline const QRect logo = ui::pxRect(26, 26, 320, 110);
inline const QRect address = ui::pxRect(146, 26, 320, 60);
inline const QRect web = ui::pxRect(186, 26, 320, 30);
inline const QRect rights = ui::pxRect(220, 26, 320, 16);
} // namespace about

// The login dialog, 360 x 200.
namespace login {
inline const QRect heading = ui::pxRect(26, 106, 140, 20);
inline const QRect nameLabel = ui::pxRect(54, 20, 80, 20);
inline const QRect name = ui::pxRect(54, 106, 200, 20);
inline const QRect passwordLabel = ui::pxRect(80, 20, 80, 20);
inline const QRect password = ui::pxRect(80, 106, 100, 20);
inline const QRect modeLabel = ui::pxRect(114, 20, 116, 20);
inline const QRect switchOff = ui::pxRect(110, 150, 100, 20);
inline const QRect confirm = ui::pxRect(158, 44, 100, 32);
inline const QRect help = ui::pxRect(158, 148, 100, 32);
inline const QRect cancel = ui::pxRect(158, 252, 100, 32);
} // namespace login

// What the two settings dialogs share: the tab control and the button row.
namespace settings {
inline const QRect tabs = ui::pxRect(36, 6, 416, 206);
inline const QRect save = ui::pxRect(256, 118, 100, 32);
inline const QRect help = ui::pxRect(256, 222, 100, 32);
inline const QRect end = ui::pxRect(256, 326, 100, 32);
} // namespace settings

// "Voreinstellungen", on the pages of its four tabs.
namespace setup {
inline const QRect close = ui::pxRect(12, 426, 18, 18);
// System
inline const QRect winSizeLabel = ui::pxRect(28, 20, 96, 20);
inline const QRect winSize = ui::pxRect(24, 120, 180, 20); // first of two radio buttons, 20 apart
inline const QRect soundLabel = ui::pxRect(74, 20, 96, 20);
inline const QRect sound = ui::pxRect(70, 130, 100, 20);
inline const QRect speechLabel = ui::pxRect(94, 20, 96, 20);
inline const QRect speech = ui::pxRect(90, 130, 100, 20);
inline const QRect speechNote = ui::pxRect(124, 30, 340, 32);
// Training
inline const QRect countLabel = ui::pxRect(42, 20, 140, 20);
inline const QRect count = ui::pxRect(40, 166, 30, 20);
inline const QRect repeatLabel = ui::pxRect(74, 20, 140, 20);
inline const QRect repeat = ui::pxRect(70, 166, 160, 20);
inline const QRect evaluateLabel = ui::pxRect(102, 20, 140, 20);
inline const QRect evaluate = ui::pxRect(96, 166, 160, 20);
inline const QRect pointsLabel = ui::pxRect(130, 20, 140, 20);
inline const QRect points = ui::pxRect(126, 166, 160, 20);
// E-mails
inline const QRect mailHeading = ui::pxRect(42, 96, 200, 20);
inline const QRect mailNameLabel = ui::pxRect(74, 20, 70, 20);
inline const QRect mailName = ui::pxRect(70, 96, 280, 20);
inline const QRect mailReplyLabel = ui::pxRect(102, 20, 70, 20);
inline const QRect mailReply = ui::pxRect(98, 96, 280, 20);
// Program errors
inline const QRect errorLabel = ui::pxRect(54, 20, 96, 20);
inline const QRect error = ui::pxRect(54, 120, 200, 20); // first of three radio buttons, 20 apart
} // namespace setup

// "Zwei-Benutzer-Modus": the mode tab and one tab for each learner.
namespace setupUser {
inline const QRect close = ui::pxRect(14, 428, 16, 16);
inline const QRect modeLabel = ui::pxRect(54, 20, 116, 20);
inline const QRect mode = ui::pxRect(50, 150, 100, 20);
inline const QRect nameLabel = ui::pxRect(50, 20, 80, 20);
inline const QRect name = ui::pxRect(48, 106, 110, 20);
inline const QRect passwordLabel = ui::pxRect(80, 20, 80, 20);
inline const QRect password = ui::pxRect(78, 106, 110, 20);
} // namespace setupUser

} // namespace shell::layout
