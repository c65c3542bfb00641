#include "online/artwork.h"

#include <QtMath>

#include "online/layouts.h"
#include "ui/art_common.h"

namespace online {

namespace {

using namespace ui::art;
using namespace ui::art::detail;

// The colour of the update dialog; its labels stand on it without a background of their own.
const QColor kUpdateBlue(123, 173, 222);

void updateBackground(QPainter& p, QSize size) {
    namespace at = layout::update;
    p.fillRect(QRectF(0, 0, size.width(), size.height()), kUpdateBlue);
    // A thin amber line under the heading, and a lighter field behind the four values.
    const QRectF heading(at::heading);
    p.fillRect(QRectF(heading.left(), heading.bottom() + 4, at::url.right() - heading.left(), 1), palette::accent);
    const QRectF values = QRectF(at::url).united(QRectF(at::download)).adjusted(-6, -3, 4, 3);
    p.setPen(QPen(kUpdateBlue.darker(125), 1));
    p.setBrush(kUpdateBlue.lighter(112));
    p.drawRoundedRect(values.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    // The button row on a slightly darker strip.
    const qreal top = at::start.top() - 6;
    p.fillRect(QRectF(0, top, size.width(), size.height() - top), kUpdateBlue.darker(108));
    p.fillRect(QRectF(0, top, size.width(), 1), kUpdateBlue.darker(125));
}

void updateIcon(QPainter& p, QSize size) {
    // Two arrows chasing each other round a downward arrow: fetch the new version.
    const qreal s = size.width() / 32.0;
    p.scale(s, s);
    const QPointF c(16, 16);
    p.setPen(QPen(palette::primaryBorder, 1));
    p.setBrush(QColor(0xe8, 0xf1, 0xfb));
    p.drawEllipse(c, 15, 15);
    QPen arc(QColor(0x2e, 0x9b, 0x4b), 3, Qt::SolidLine, Qt::FlatCap);
    p.setPen(arc);
    p.setBrush(Qt::NoBrush);
    const QRectF ring(c - QPointF(10.5, 10.5), c + QPointF(10.5, 10.5));
    p.drawArc(ring, 100 * 16, 140 * 16);
    p.drawArc(ring, 280 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2e, 0x9b, 0x4b));
    for (qreal a : {240.0, 60.0}) {
        const qreal r = qDegreesToRadians(a);
        const QPointF tip = c + QPointF(std::cos(r), -std::sin(r)) * 10.5;
        const QPointF along = QPointF(-std::sin(r), -std::cos(r)) * 4.5; // clockwise direction
        const QPointF across = QPointF(std::cos(r), -std::sin(r)) * 3.5;
        QPolygonF head;
        head << tip + along << tip + across - along * 0.2 << tip - across - along * 0.2;
        p.drawPolygon(head);
    }
    p.setPen(QPen(palette::primaryBottom, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(16, 9.5), QPointF(16, 20));
    p.drawLine(QPointF(12, 16.5), QPointF(16, 20.5));
    p.drawLine(QPointF(20, 16.5), QPointF(16, 20.5));
    p.drawLine(QPointF(11.5, 23.5), QPointF(20.5, 23.5));
}

} // namespace

const ui::art::Artwork& artwork() {
    static const ui::art::Artwork art{
        {{"InetUpd", layout::update::size.width() + 1, layout::update::size.height() + 1, SkinKind::Plain, "", 0,
          updateBackground}},
        {{"Update", 32, 32, updateIcon, false}},
        {},
    };
    return art;
}

void registerArtwork() {
    ui::art::registerArtwork(artwork());
}

} // namespace online
