#include "progress/artwork.h"

#include <QPainter>
#include <QPaintDevice>

#include "progress/layouts.h"
#include "ui/art_common.h"

namespace progress {

namespace {

using namespace ui::art;
using namespace ui::art::detail;
namespace at = layout::lernstand;

void lernstand(QPainter& p, QSize) {
    drawSurface(p, QRectF(at::readinessPanel), palette::panel);
    drawSurface(p, QRectF(at::chartPanel), palette::panel);
    drawSurface(p, QRectF(at::historyPanel), palette::panel);
    // The traffic light's housing; the dialog lights one of its three lamps.
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette::ink, 1.5));
    p.setBrush(QColor(0x3a, 0x3f, 0x47));
    p.drawRoundedRect(QRectF(at::light).adjusted(-3, -3, 3, 3), 9, 9);
    p.restore();
}

// A button of the toolkit's look, drawn as a picture of this feature.
template <ButtonStyle style, Glyph glyph, const char* caption> void button(QPainter& p, QSize size) {
    const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    QPixmap pm = drawButton(size, style, glyph, QString::fromUtf8(caption), dpr);
    p.drawPixmap(QRectF(QPointF(0, 0), QSizeF(size)), pm, QRectF(pm.rect()));
}

constexpr char kShow[] = "&Ansehen";
constexpr char kPractise[] = "&Fehler üben";
constexpr char kPrint[] = "&Drucken";
constexpr char kBack[] = "&Zurück";

} // namespace

const ui::art::Artwork& artwork() {
    using K = ui::art::SkinKind;
    using S = ui::art::ButtonStyle;
    using G = ui::art::Glyph;
    static const ui::art::Artwork art{
        {
            {"Lernstd", at::kWidth, at::kHeight, K::Dialog, "Lernstand und Prüfungsreife", 60, lernstand},
        },
        {
            {"BL_ZEIG", 99, 33, button<S::Primary, G::Show, kShow>, false},
            {"BL_UEBEN", 99, 33, button<S::Primary, G::Exam, kPractise>, false},
            {"BL_DRUCK", 99, 33, button<S::Secondary, G::List, kPrint>, false},
            {"B_ZURUK", 99, 31, button<S::Secondary, G::Reset, kBack>, false},
        },
        {},
    };
    return art;
}

void registerArtwork() {
    ui::art::registerArtwork(artwork());
}

} // namespace progress
