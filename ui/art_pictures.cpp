#include <QPainterPath>
#include <QtMath>

#include <cmath>
#include <functional>

#include "ui/art_common.h"
#include "ui/art_scenery.h"
#include "ui/fonts.h"

// Start pictures, filler pictures, logos and icons. The landscapes are built from a few pieces of scenery
// (sky, hills, trees, a road in perspective, signs); every random-looking detail comes from a fixed seed,
// so each build draws the same picture.
namespace ui::art::pictures {

using namespace detail;
using namespace scenery;


// The catalog's picture for questions that have none: quiet, so the question text stays in front.
void noPicture(QPainter& p, QSize size) {
    const qreal w = size.width(), h = size.height();
    p.fillRect(QRectF(0, 0, w, h), vertical(0, h, QColor(0xf4, 0xf6, 0xf9), QColor(0xe2, 0xe7, 0xee)));
    const QRectF frame(w / 2 - 34, h * 0.2, 68, 52);
    p.setPen(QPen(QColor(0x9a, 0xa6, 0xb6), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(frame, 6, 6);
    QPainterPath hills;
    hills.moveTo(frame.left() + 6, frame.bottom() - 8);
    hills.lineTo(frame.left() + 24, frame.top() + 24);
    hills.lineTo(frame.left() + 38, frame.bottom() - 18);
    hills.lineTo(frame.left() + 48, frame.top() + 30);
    hills.lineTo(frame.right() - 6, frame.bottom() - 8);
    p.drawPath(hills);
    p.drawEllipse(QPointF(frame.right() - 16, frame.top() + 14), 5, 5);
    drawFitted(p, QRectF(10, h * 0.58, w - 20, 24), QStringLiteral("Zu dieser Frage gibt es kein Bild."), 14, true,
               QColor(0x5a, 0x66, 0x7a), Qt::AlignCenter);
    drawFitted(p, QRectF(10, h * 0.58 + 24, w - 20, 20), QStringLiteral("Lesen Sie den Text genau."), 12, false,
               QColor(0x7a, 0x86, 0x96), Qt::AlignCenter);
}

void search(QPainter& p, QSize size) {
    // A magnifying glass over a page of text.
    const qreal s = size.width() / 40.0;
    p.scale(s, s);
    p.setPen(QPen(QColor(0x8a, 0x93, 0xa0), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(3.5, 2.5, 24, 31), 2, 2);
    p.setPen(QPen(QColor(0xa9, 0xb1, 0xbc), 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(8, 9 + i * 5), QPointF(i % 2 ? 18 : 23, 9 + i * 5));
    p.setPen(QPen(palette::ink, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(29, 29), QPointF(37, 37));
    p.setPen(QPen(palette::ink, 2.4));
    p.setBrush(QColor(0xcf, 0xe4, 0xf7, 200));
    p.drawEllipse(QPointF(23, 23), 8.5, 8.5);
    p.setPen(QPen(QColor(255, 255, 255, 220), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(17.5, 17.5, 11, 11), 100 * 16, 70 * 16);
}

void programIcon(QPainter& p, QSize size) {
    // A white steering wheel on a blue tile with an amber rim light.
    const qreal s = size.width() / 32.0;
    p.scale(s, s);
    const QRectF tile(1, 1, 30, 30);
    p.setPen(QPen(palette::primaryBorder, 1));
    p.setBrush(vertical(1, 31, palette::primaryTop, palette::primaryBottom));
    p.drawRoundedRect(tile.adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
    drawSteeringWheel(p, QPointF(16, 16.5), 11.5, Qt::white, palette::accent);
}

} // namespace ui::art::pictures
