#pragma once

#include <QRect>

#include "ui/geometry.h"

// Where the controls of the three calculators stand: written once, as top, left, width, height in layout units of
// two pixels, and used by the dialogs, by their backgrounds' decorations and by the tests.
namespace calc::layout {

// The vehicle-tax calculator on "Kfz_Steu" (575 x 427).
namespace tax {
// Right-aligned captions before the fields and the two result lines.
inline const QRect hubraumLabel = ui::luRect(35, 5, 40, 8);
inline const QRect keyLabel = ui::luRect(47, 5, 40, 8);
inline const QRect dateLabel = ui::luRect(59, 5, 40, 8);
inline const QRect euroLabel = ui::luRect(119, 5, 40, 8);
inline const QRect ozoneLabel = ui::luRect(130, 5, 40, 8);
// What follows the fields on their right.
inline const QRect ccmLabel = ui::luRect(35, 81, 20, 8);
inline const QRect keyHint = ui::luRect(47, 81, 140, 8);
inline const QRect dateHint = ui::luRect(59, 81, 20, 8);
inline const QRect consumptionLabel = ui::luRect(35, 190, 30, 8);
inline const QRect fuelLabel = ui::luRect(72, 190, 30, 8);
inline const QRect hubraum = ui::luRect(33, 49, 30, 10);
inline const QRect keyNr = ui::luRect(45, 49, 30, 10);
inline const QRect date = ui::luRect(57, 49, 30, 10);
// The first item of each choice; the others follow one item height below.
inline const QRect consumption = ui::luRect(33, 225, 50, 10);
inline const QRect fuel = ui::luRect(70, 225, 50, 10);
inline const int choiceStep = ui::units(10);
inline const QRect catalyst = ui::luRect(75, 49, 40, 10);
inline const QRect euroLine = ui::luRect(119, 49, 150, 10);
inline const QRect ozoneLine = ui::luRect(130, 49, 150, 10);
inline const QRect grid = ui::luRect(142, 6, 274, 41);
inline const QRect calculate = ui::luRect(191, 72, 50, 17);
inline const QRect taxTable = ui::luRect(191, 125, 50, 17);
inline const QRect help = ui::luRect(191, 178, 50, 17);
inline const QRect end = ui::luRect(191, 231, 50, 17);
inline const QRect close = ui::luRect(7, 275, 8, 8);
// The grid's first two columns; the three amount columns share what is left of the grid's inside.
inline constexpr int captionColumn = 40;
inline constexpr int dateColumn = 80;
} // namespace tax

// The fine calculator on "BussGeld" (525 x 439); the tabs' pages on "Bussgel2", their controls relative to the page.
namespace fine {
inline const QRect tabs = ui::luRect(19, 6, 250, 175);
inline const QRect calculate = ui::luRect(197, 43, 50, 17);
inline const QRect catalogue = ui::luRect(197, 97, 50, 17);
inline const QRect help = ui::luRect(197, 151, 50, 17);
inline const QRect end = ui::luRect(197, 205, 50, 17);
inline const QRect close = ui::luRect(7, 251, 8, 8);
// On every page.
inline const QRect intro = ui::luRect(7, 20, 210, 16);
inline const QRect listLabel = ui::luRect(56, 10, 40, 8);
inline const QRect list = ui::luRect(54, 53, 180, 11);
inline const QRect valueLabel = ui::luRect(68, 10, 40, 8);
// Speeding and alcohol: the value, its unit, the inside/outside choice (first item) and the texts under the result.
inline const QRect value = ui::luRect(66, 53, 25, 10);
inline const QRect unit = ui::luRect(68, 80, 20, 8);
inline const QRect place = ui::luRect(66, 103, 90, 10);
inline const int placeStep = ui::units(10);
inline const QRect speedingNote = ui::luRect(135, 53, 130, 10);
// Four lines rather than three, so that the longest of the table's texts is not cut.
inline const QRect alcoholInfo = ui::luRect(130, 53, 180, 26);
// Distance: the longer caption pushes the speed field to the right.
inline const QRect distanceLabel = ui::luRect(68, 10, 80, 8);
inline const QRect distanceValue = ui::luRect(66, 93, 25, 10);
// Miscellaneous: the chosen offence in full.
inline const QRect miscInfo = ui::luRect(68, 53, 180, 25);
// The result line, at row 122 on the speeding and alcohol pages and 132 on the others.
inline constexpr int resultRowHigh = 122;
inline constexpr int resultRowLow = 132;
struct ResultLine {
    QRect fineLabel, fine, euro, pointsLabel, points, banLabel, ban, months;
};
inline ResultLine resultLine(int row) {
    return {ui::luRect(row, 10, 40, 8),  ui::luRect(row, 53, 26, 8),  ui::luRect(row, 80, 14, 8),
            ui::luRect(row, 95, 27, 8),  ui::luRect(row, 123, 10, 8), ui::luRect(row, 150, 29, 8),
            ui::luRect(row, 180, 10, 8), ui::luRect(row, 197, 25, 8)};
}
} // namespace fine

// The stopping-distance calculator on "AnhaWeg" (499 x 353).
namespace stopping {
// The rows of the captions: three inputs, then four results; fields stand one unit pair higher.
inline constexpr int rows[7] = {40, 52, 64, 102, 114, 126, 138};
// The captions end where they are meant to (column 79) but start further left: "Anfangsgeschwindigkeit" needs
// more than 58 units in our font.
inline QRect label(int i) {
    return ui::luRect(rows[i], 15, 64, 8);
}
inline QRect field(int i) {
    return ui::luRect(rows[i] - 2, 83, 30, 10);
}
inline QRect unit(int i) {
    return ui::luRect(rows[i], 116, 15, 8);
}
inline const QRect road = ui::luRect(38, 133, 100, 11);
inline const QRect calculate = ui::luRect(154, 88, 50, 17);
inline const QRect help = ui::luRect(154, 140, 50, 17);
inline const QRect end = ui::luRect(154, 192, 50, 17);
inline const QRect close = ui::luRect(8, 236, 8, 8);
} // namespace stopping

} // namespace calc::layout
