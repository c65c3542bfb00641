#pragma once

#include <QString>

class QWidget;

namespace core {
class Context;
}

// The statistics as the training and the theme selection open them.
namespace stats {

class Overview;

// The statistics overview of a class ("B / BE") with its buttons to the statistics by theme, the comparison of
// the two learners and the reset of the class's statistics. `theme` and `flag` are passed on unused (callers pass
// 0 and false). The owner is the calling window; none means the program's main window.
void STATIST(core::Context& ctx, QWidget* owner, const QString& classCode, int theme = 0, bool flag = false);

// The statistic of one class and theme (1..9, 9: every value question of the class); `caption` is the theme's
// caption in single quotes, as the theme selection gives it ('Gefahrenlehre'). The index file of the run that
// calls it stays for that run to remove.
void STATTHEMA(core::Context& ctx, QWidget* owner, const QString& classCode, int theme, const QString& caption);

// The statistics by theme of the overview's class on up to three pages; the overview's order is back afterwards.
void STATIST1(core::Context& ctx, QWidget* owner, Overview& overview, bool flag = false);

// The comparison of the two learners for a class. With an overview, its table is closed meanwhile and opened
// again with its order and record afterwards.
void STATIST2(core::Context& ctx, QWidget* owner, Overview* overview, const QString& classCode, bool flag = false);

} // namespace stats
