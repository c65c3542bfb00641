#include "diag/artwork.h"

#include <QPainter>

#include "diag/layouts.h"
#include "ui/art_common.h"
#include "ui/art_scenery.h"

namespace diag {

namespace {

using namespace ui::art;
using namespace ui::art::detail;

void stop(QPainter& p, QSize size) {
    scenery::stopSign(p, QPointF(size.width() / 2.0, size.height() / 2.0), size.width() * 0.48);
}

// A red strip on the left edge marks the dialog as an error; the list stands on a panel, the buttons on a strip.
void errorDialog(QPainter& p, QSize size) {
    namespace at = layout::error;
    const qreal w = size.width() - 1, h = size.height() - 1;
    p.fillRect(QRectF(0, 0, w, h), vertical(0, h, palette::bodyTop, palette::bodyBottom));
    p.fillRect(QRectF(0, 0, 4, h), QColor(0xc0, 0x2a, 0x22));
    drawSurface(p, QRectF(at::text).adjusted(-4, -2, 4, 2), palette::panel, 6);
    drawShadow(p, QRectF(at::stack));
    const qreal top = at::end.top() - 6;
    p.fillRect(QRectF(4, top, w - 4, h - top), vertical(top, h, palette::footer, palette::bodyBottom.darker(104)));
    p.fillRect(QRectF(4, top, w - 4, 1), palette::panelBorder);
    p.setPen(QPen(palette::bandLine, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
}

void printErrDialog(QPainter& p, QSize size) {
    namespace at = layout::printErr;
    const qreal w = size.width() - 1, h = size.height() - 1;
    p.fillRect(QRectF(0, 0, w, h), vertical(0, h, palette::bodyTop, palette::bodyBottom));
    p.fillRect(QRectF(0, 0, w, 4), QColor(0xc0, 0x2a, 0x22));
    const QRectF choices(at::choice.left() - 8, at::choice.top() - 4, at::choice.width() + 16,
                         3 * at::kChoiceStep + 8);
    drawSurface(p, choices, palette::panel, 6);
    const qreal top = at::next.top() - 6;
    p.fillRect(QRectF(0, top, w, h - top), vertical(top, h, palette::footer, palette::bodyBottom.darker(104)));
    p.fillRect(QRectF(0, top, w, 1), palette::panelBorder);
    p.setPen(QPen(palette::bandLine, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
}

} // namespace

const ui::art::Artwork& artwork() {
    using K = ui::art::SkinKind;
    static const ui::art::Artwork art{
        {
            {"ErrorDlg", layout::error::kWidth + 1, layout::error::kHeight + 1, K::Plain, "", 0, errorDialog},
            {"PrintErr", layout::printErr::kWidth + 1, layout::printErr::kHeight + 1, K::Plain, "", 0, printErrDialog},
        },
        {
            {"Stop_Max", 32, 32, stop, false},
        },
        {},
    };
    return art;
}

void registerArtwork() {
    ui::art::registerArtwork(artwork());
}

} // namespace diag
