#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

class QWidget;

namespace core {
class Context;
}

namespace shell {

// The settings file TAVOLIN.INI in the program folder, found in whatever case it is spelled; a new one is
// created as "TAVOLIN.INI". Every routine that reads or writes settings passes this path to platform/inifile.h.
QString iniPath(const core::Context& ctx);
// Its backup TAVOLIN.SAV, the same way.
QString backupPath(const core::Context& ctx);

// Start-up: removes the leftovers of an update run ("tvupdate.exe", "Video.sem"); a missing file is no error.
void deleteUpdateLeftovers(const core::Context& ctx);

// Start-up: copies TAVOLIN.SAV over TAVOLIN.INI, so that the settings of the last orderly exit are back.
// Returns false, leaving TAVOLIN.INI as it was, when there is no backup or it cannot be read, and when it does not
// read as a settings file (text without NUL bytes, at least one [section]): no orderly exit writes such a backup,
// so it is damage, and restoring it would throw away every setting; `warning` then says so.
bool restoreSettingsBackup(const core::Context& ctx, QString* warning = nullptr);

// Orderly exit: copies TAVOLIN.INI to TAVOLIN.SAV in one step (a failed write leaves the old backup). False when
// there is no settings file or the backup cannot be written.
bool saveSettingsBackup(const core::Context& ctx);

// What went wrong with the settings file while the settings were read.
struct SettingsProblem {
    bool unreadable = false; // the file exists but could not be read: every value is its default
    bool notWritten = false; // the normalised values could not be written back
    bool any() const { return unreadable || notWritten; }
};

// Fills ctx.settings from the settings file (defaults for missing keys), resets the login state, turns the start
// picture on by one (START1 .. START4) and, with writeBack, stores the normalised [Setup] values and the picture
// of this run. Returns true; `problem` learns what went wrong with the file, if anything.
bool SETPUBLICS(core::Context& ctx, bool writeBack, SettingsProblem* problem = nullptr);

// The start picture that follows `current`: START1 -> START2 -> START3 -> START4, anything else -> START1;
// compared by prefix ("START2b" counts as START2).
QString nextStartPicture(const QString& current);

// The message shown when the settings file gave trouble at start-up; empty when there was none.
QString settingsProblemText(const SettingsProblem& problem);


// Position slots in section System: 0 the main window, 1 the theme dialog, 2 the solution pop-up.
// A rectangle as the settings file keeps it: top, left, bottom, right in screen pixels.
struct Coords {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
};

// GETCOORDS: slot 0 fills all four (defaults 0, 0, 600, 800); slot 1 fills top and left (default 0) and sets
// bottom and right to 0; slot 2 fills top and left and leaves bottom and right as passed; other slots change
// nothing. Returns true.
bool GETCOORDS(const core::Context& ctx, int slot, int& top, int& left, int& bottom, int& right);
bool GETCOORDS(const core::Context& ctx, int slot, Coords& coords);

// The main window's rectangle as slot 0 stores it: negative top and left raised to 0, the height snapped
// (480-489 -> 480, 601-609 -> 600, 769-774 -> 768, 1025-1029 -> 1024) and the width snapped (640-649 -> 640,
// 801-809 -> 800, 1025-1029 -> 1024, 1281-1289 -> 1280). `bottom` and `right` are the window's last pixel row
// and column plus one, i.e. top + height and left + width.
Coords snapMainWindow(Coords window);
int snapHeight(int h);
int snapWidth(int w);

// The smallest main window the program is laid out for.
inline constexpr int kMinWindowWidth = 640;
inline constexpr int kMinWindowHeight = 480;

// At least half of the rectangle lies on one of the screens (a window there can be seen and grabbed).
bool mostlyOnScreen(const QRect& rect, const QList<QRect>& screens);

// Slot 0 with the window's rectangle and the screen's size: the snapped rectangle with 0_Width and 0_Hight when
// it is smaller than the screen in both directions, else only [Setup] WINSIZE=1 (the next start is maximised).
// A window smaller than 640 x 480 or mostly off the screens (all of them; none given: the one of `screen` at 0,0)
// writes nothing: a rectangle saved from it would make every later start unusable.
void putMainWindowCoords(const core::Context& ctx, const Coords& window, QSize screen, bool maximised,
                         const QList<QRect>& screens = {});

// PUTCOORDS: saves the position of `window` in the slot; slot 0 is the main window (above), slots 1 and 2 keep
// top and left, other slots nothing.
void PUTCOORDS(const core::Context& ctx, int slot, const QWidget* window);

// The rectangles of the screens attached now, and the primary screen's area without the desktop's panels.
QList<QRect> screenRects();
QRect primaryScreenArea();
// Slot 0 as the main window takes it on the screens attached now.
QRect savedMainWindowGeometry(const core::Context& ctx);
// Slot 1 or 2 as a dialog of `size` takes it on the screens attached now; none when it would lie off them.
std::optional<QPoint> savedDialogPosition(const core::Context& ctx, int slot, QSize size);

// The window's rectangle in the form the slots keep: the top-level window's position and its size.
Coords windowCoords(const QWidget* window);
// The geometry a main window gets from slot 0: position top/left, size right - left by bottom - top.
QRect mainWindowGeometry(const Coords& coords);
// The same on these screens: a saved rectangle smaller than 640 x 480 or not mostly on one of the screens (a
// monitor unplugged, a hand-edited file) gives 800 x 600 centred on `primaryArea` instead.
QRect mainWindowGeometry(const Coords& coords, const QList<QRect>& screens, const QRect& primaryArea);
// A dialog of `size` saved at `topLeft` (slots 1 and 2): the place when the dialog is mostly on one of the
// screens there, else none, and the dialog takes its usual place.
std::optional<QPoint> dialogPosition(const QPoint& topLeft, QSize size, const QList<QRect>& screens);

} // namespace shell
