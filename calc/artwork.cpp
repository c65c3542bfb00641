#include "calc/artwork.h"

#include "calc/layouts.h"
#include "ui/art_common.h"

// The backgrounds of the calculators: surfaces in the colour the dialogs give their labels go under the groups of
// controls, so that a filled label and the skin around it look alike.
namespace calc {

namespace {

using namespace ui::art;
using namespace ui::art::detail;

void tax(QPainter& p, QSize) {
    namespace at = layout::tax;
    // Inputs and the Euro-norm and ozone lines on one surface, parted by a line; the grid below it.
    const qreal top = at::hubraum.top() - 10;
    const qreal bottom = at::grid.top() - 2;
    drawSurface(p, QRectF(6, top, 560, bottom - top), palette::amber, 8);
    const qreal rule = at::euroLine.top() - 16;
    p.fillRect(QRectF(16, rule, 540, 1), palette::amber.darker(125));
    p.fillRect(QRectF(16, rule + 1, 540, 1), QColor(255, 255, 255, 110));
    drawShadow(p, QRectF(at::grid));
}

void fine(QPainter& p, QSize) {
    // The pages stand out from the body; the tab row stays on it.
    drawShadow(p, QRectF(layout::fine::tabs).adjusted(0, 22, 0, 0));
}

void finePage(QPainter& p, QSize size) {
    drawSurface(p, QRectF(5, 5, size.width() - 10, size.height() - 10), palette::fineAmber, 8);
}

void stopping(QPainter& p, QSize) {
    namespace at = layout::stopping;
    constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
    const qreal left = at::label(0).left() - 12;
    const qreal width = at::road.right() + 13 - left;
    auto group = [&](const QString& caption, int first, int last) {
        const qreal top = at::field(first).top() - 8;
        const qreal bottom = at::field(last).bottom() + 7;
        drawFitted(p, QRectF(left + 4, top - 22, 200, 20), caption, 13, true, palette::ink, kLeft);
        drawSurface(p, QRectF(left, top, width, bottom - top), palette::stopAmber, 8);
    };
    group(QStringLiteral("Eingaben"), 0, 2);
    group(QStringLiteral("Ergebnis"), 3, 6);
    // The results end a little above the buttons: a line instead of a button strip.
    const qreal line = at::calculate.top() - 6;
    p.fillRect(QRectF(left, line, width, 1), palette::panelBorder);
    p.fillRect(QRectF(left, line + 1, width, 1), QColor(255, 255, 255, 150));
}

} // namespace

const ui::art::Artwork& artwork() {
    using K = ui::art::SkinKind;
    static const ui::art::Artwork art{
        {
            {"Kfz_Steu", 576, 428, K::Dialog, "Kfz-Steuer-Rechner", 54, tax},
            {"BussGeld", 526, 440, K::Dialog, "Bußgeld-Rechner", 50, fine},
            {"Bussgel2", 500, 326, K::Page, "", 0, finePage},
            {"AnhaWeg", 500, 354, K::Dialog, "Anhalteweg berechnen", 0, stopping},
        },
        {},
        {},
    };
    return art;
}

void registerArtwork() {
    ui::art::registerArtwork(artwork());
}

} // namespace calc
