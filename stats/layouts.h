#pragma once

#include <QRect>

#include "ui/geometry.h"

// Where the controls of the statistics dialogs stand: written once, as top, left, width, height in pixels of
// the dialog's background picture, and used by the dialogs, by the pictures' decorations and by the tests.
namespace stats::layout {

// The eight catalog themes as the statistics pages name them (UTF-8): drawn beside the bars and the bars' names.
inline const char* const kThemeCaptions[8] = {
    "Gefahrenlehre", "Verhalten im Straßenverkehr",   "Vorfahrt, Vorrang", "Verkehrszeichen",
    "Umweltschutz",  "Vorschriften über den Betrieb", "Technik",           "Eignung und Befähigung"};

// The overview of a class ("Statist1") and the statistic of one theme ("StatistT"), 476 x 270: two rows of
// labels and figures, each with its bar below.
namespace overview {
inline const QRect title = ui::pxRect(8, 12, 280, 16);
inline const QRect themeTitle = ui::pxRect(8, 12, 360, 16);
inline const QRect questionsLabel = ui::pxRect(52, 40, 140, 16);
inline const QRect questions = ui::pxRect(52, 186, 40, 16);
inline const QRect answeredLabel = ui::pxRect(52, 240, 140, 20);
inline const QRect answered = ui::pxRect(52, 386, 40, 20);
inline const QRect bar1 = ui::pxRect(86, 30, 414, 14);
inline const QRect askedLabel = ui::pxRect(132, 40, 140, 16);
inline const QRect asked = ui::pxRect(132, 186, 40, 20);
inline const QRect rightLabel = ui::pxRect(132, 240, 140, 16);
inline const QRect right = ui::pxRect(132, 386, 40, 20);
inline const QRect bar2 = ui::pxRect(166, 30, 414, 14);
inline const QRect end = ui::pxRect(212, 26, 100, 34);
inline const QRect themes = ui::pxRect(212, 132, 100, 34);
inline const QRect compare = ui::pxRect(212, 238, 100, 34);
inline const QRect reset = ui::pxRect(212, 344, 100, 34);
inline const QRect themeEnd = ui::pxRect(212, 346, 100, 34);
inline const QRect close = ui::pxRect(10, 450, 16, 16);
// The two rows as the background bears them: from the labels' top to the figures' bottom, across the bar.
inline const QRect row1 = ui::pxRect(46, 30, 414, 32);
inline const QRect row2 = ui::pxRect(126, 30, 414, 32);
} // namespace overview

// The bars of the pages by theme and of the comparison: 312 x 10 at left 214.
inline QRect bar(int top) {
    return ui::pxRect(top, 214, 312, 10);
}

// Page 1 of the statistics by theme ("StatThem", 546 x 330): one bar per theme.
namespace themePage1 {
inline QRect bar(int theme) {
    return layout::bar(44 + 30 * (theme - 1));
}
inline const QRect next = ui::pxRect(280, 324, 100, 34);
inline const QRect end = ui::pxRect(280, 432, 100, 34);
inline const QRect close = ui::pxRect(10, 518, 16, 16);
} // namespace themePage1

// Pages 2 and 3 ("StatRic1" 546 x 501, "StatRic2" 546 x 500): two bars per theme and for the whole class.
namespace themePage2 {
inline QRect upper(int theme) {
    return layout::bar(48 + 44 * (theme - 1));
}
inline QRect lower(int theme) {
    return layout::bar(62 + 44 * (theme - 1));
}
inline const QRect totalUpper = layout::bar(400);
inline const QRect totalLower = layout::bar(414);
inline const QRect next = ui::pxRect(446, 322, 100, 34);
inline const QRect end = ui::pxRect(446, 432, 100, 34);
inline const QRect close = ui::pxRect(12, 518, 16, 16);
} // namespace themePage2

// The comparison of the two learners ("StatVerg", 546 x 501); theme 8 stands two pixels tighter.
namespace compare {
inline QRect learner1(int theme) {
    return layout::bar(theme == 8 ? 356 : 48 + 44 * (theme - 1));
}
inline QRect learner2(int theme) {
    return layout::bar(theme == 8 ? 368 : 62 + 44 * (theme - 1));
}
inline const QRect total1 = layout::bar(400);
inline const QRect total2 = layout::bar(414);
inline const QRect name1 = ui::pxRect(456, 72, 120, 16);
inline const QRect name2 = ui::pxRect(456, 256, 120, 16);
inline const QRect end = ui::pxRect(446, 432, 100, 34);
inline const QRect close = ui::pxRect(12, 518, 16, 16);
} // namespace compare

} // namespace stats::layout
