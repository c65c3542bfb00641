#include "ui/art_common.h"

// What each dialog's background bears. Positions are those of the dialog's controls (pixels of the skin; the
// dialogs given in layout units are converted, two pixels a unit): surfaces go under groups of controls in
// the colour the dialog gives those controls, captions and legends go where the dialog leaves room for them.
namespace ui::art::decor {

using namespace detail;

void catalogPrint(QPainter& p, QSize) {
    drawTitleTab(p, QRectF(12, 8, 160, 16), palette::titleTab);
    drawSurface(p, QRectF(16, 46, 338, 208), palette::amber, 8);
}

} // namespace ui::art::decor
