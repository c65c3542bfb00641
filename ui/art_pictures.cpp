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

// The training's filler pictures, shown in turn for questions without a picture.
void filler1(QPainter& p, QSize size) {
    // Three signs every learner meets first.
    const qreal w = size.width(), h = size.height();
    sky(p, QRectF(0, 0, w, h), QColor(0x8c, 0xc4, 0xee), QColor(0xe8, 0xf5, 0xfb));
    cloud(p, QPointF(w * 0.35, h * 0.1), h / 420.0, 220);
    cloud(p, QPointF(w * 0.66, h * 0.13), h / 480.0, 200);
    ridge(p, w, h * 0.78, h * 0.04, h, vertical(h * 0.7, h, QColor(0x8c, 0xc4, 0x5c), QColor(0x62, 0x9e, 0x3e)), 51);
    const qreal r = h * 0.15;
    post(p, QPointF(w * 0.2, h * 0.96), h * 0.55, 5);
    stopSign(p, QPointF(w * 0.2, h * 0.4), r);
    post(p, QPointF(w * 0.5, h * 0.96), h * 0.6, 5);
    prioritySign(p, QPointF(w * 0.5, h * 0.35), r * 1.05);
    post(p, QPointF(w * 0.8, h * 0.96), h * 0.55, 5);
    yieldSign(p, QPointF(w * 0.8, h * 0.36), r * 0.95);
}

void filler2(QPainter& p, QSize size) {
    // From the driver's seat: the road through the windscreen, the wheel and the speedometer.
    const qreal w = size.width(), h = size.height();
    sky(p, QRectF(0, 0, w, h * 0.6), QColor(0x79, 0xb4, 0xe6), QColor(0xdd, 0xee, 0xf8));
    ridge(p, w, h * 0.5, h * 0.04, h, QColor(0x86, 0xbb, 0x5a), 61);
    const Road road{{w * 0.5, h * 0.9}, {w * 0.52, h * 0.47}, w * 0.8, 3, w * 0.05};
    drawRoad(p, road, kAsphalt, QColor(0xa8, 0xa0, 0x78));
    // Dashboard and the windscreen's edge.
    QPainterPath dash;
    dash.moveTo(0, h * 0.66);
    dash.quadTo(w * 0.5, h * 0.58, w, h * 0.66);
    dash.lineTo(w, h);
    dash.lineTo(0, h);
    dash.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(h * 0.58, h, QColor(0x3b, 0x3f, 0x47), QColor(0x1f, 0x22, 0x28)));
    p.drawPath(dash);
    // The speedometer to the right of the wheel.
    const QPointF sc(w * 0.78, h * 0.82);
    p.setBrush(QColor(0x15, 0x18, 0x1d));
    p.setPen(QPen(QColor(0x8c, 0x94, 0xa0), 2));
    p.drawEllipse(sc, h * 0.12, h * 0.12);
    p.setPen(QPen(Qt::white, 1.2));
    for (int i = 0; i <= 8; ++i) {
        const qreal a = qDegreesToRadians(210 - 240.0 * i / 8);
        const QPointF d(std::cos(a), -std::sin(a));
        p.drawLine(sc + d * h * 0.08, sc + d * h * 0.105);
    }
    p.setPen(QPen(QColor(0xff, 0x6a, 0x3d), 2, Qt::SolidLine, Qt::RoundCap));
    const qreal needle = qDegreesToRadians(210 - 240.0 * 0.36);
    p.drawLine(sc, sc + QPointF(std::cos(needle), -std::sin(needle)) * h * 0.09);
    drawSteeringWheel(p, QPointF(w * 0.42, h * 1.0), h * 0.36, QColor(0x73, 0x7a, 0x86), QColor(0x9a, 0xa2, 0xae));
}

void filler3(QPainter& p, QSize size) {
    // A roundabout from above, traffic going round anticlockwise.
    const qreal w = size.width(), h = size.height();
    p.fillRect(QRectF(0, 0, w, h), QColor(0x8f, 0xc2, 0x66));
    const QPointF c(w / 2, h / 2);
    const qreal arm = h * 0.26;
    p.setPen(Qt::NoPen);
    p.setBrush(kAsphalt);
    p.drawRect(QRectF(0, c.y() - arm / 2, w, arm));
    p.drawRect(QRectF(c.x() - arm / 2, 0, arm, h));
    p.drawEllipse(c, h * 0.4, h * 0.4);
    p.setBrush(QColor(0x7b, 0xb8, 0x52));
    p.setPen(QPen(Qt::white, 2));
    p.drawEllipse(c, h * 0.17, h * 0.17);
    tree(p, c + QPointF(0, h * 0.08), h * 0.2, QColor(0x3f, 0x7c, 0x30));
    // Dashed lines on the arms.
    QPen dash(Qt::white, 2, Qt::SolidLine, Qt::FlatCap);
    dash.setDashPattern({4, 4});
    p.setPen(dash);
    p.drawLine(QPointF(0, c.y()), QPointF(c.x() - h * 0.4, c.y()));
    p.drawLine(QPointF(c.x() + h * 0.4, c.y()), QPointF(w, c.y()));
    p.drawLine(QPointF(c.x(), 0), QPointF(c.x(), c.y() - h * 0.4));
    p.drawLine(QPointF(c.x(), c.y() + h * 0.4), QPointF(c.x(), h));
    // Cars seen from above.
    const QColor cars[] = {QColor(0xd2, 0x3b, 0x2f), QColor(0xf2, 0xc1, 0x2e), QColor(0x2f, 0x6f, 0xc8)};
    const qreal angles[] = {30, 160, 250};
    for (int i = 0; i < 3; ++i) {
        const qreal a = qDegreesToRadians(angles[i]);
        const QPointF at = c + QPointF(std::cos(a), -std::sin(a)) * h * 0.285;
        p.save();
        p.translate(at);
        p.rotate(-angles[i]);
        p.setPen(QPen(cars[i].darker(160), 1));
        p.setBrush(cars[i]);
        p.drawRoundedRect(QRectF(-7, -13, 14, 26), 4, 4);
        p.setBrush(QColor(0xc9, 0xe2, 0xf5));
        p.drawRect(QRectF(-5, -9, 10, 5));
        p.restore();
    }
    // The roundabout sign in a corner.
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(kSignBlue);
    const QPointF s(w * 0.12, h * 0.18);
    p.drawEllipse(s, h * 0.1, h * 0.1);
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        QPainterPath arc;
        arc.arcMoveTo(QRectF(s - QPointF(h * 0.055, h * 0.055), s + QPointF(h * 0.055, h * 0.055)), 120 * i + 20);
        arc.arcTo(QRectF(s - QPointF(h * 0.055, h * 0.055), s + QPointF(h * 0.055, h * 0.055)), 120 * i + 20, 80);
        p.drawPath(arc);
    }
}

void filler4(QPainter& p, QSize size) {
    // The driving-school car with its roof sign.
    const qreal w = size.width(), h = size.height();
    sky(p, QRectF(0, 0, w, h * 0.72), QColor(0x9a, 0xcb, 0xf0), QColor(0xf0, 0xf7, 0xfb));
    sun(p, QPointF(w * 0.85, h * 0.2), h * 0.06, QColor(0xff, 0xf1, 0xb8));
    house(p, QPointF(w * 0.14, h * 0.72), w * 0.16, h * 0.2, QColor(0xf6, 0xe7, 0xc8), QColor(0xb8, 0x4a, 0x32));
    tree(p, QPointF(w * 0.3, h * 0.72), h * 0.32, QColor(0x4f, 0x96, 0x3c));
    tree(p, QPointF(w * 0.93, h * 0.72), h * 0.26, QColor(0x5a, 0x9c, 0x42));
    p.fillRect(QRectF(0, h * 0.72, w, h * 0.28), kAsphalt);
    p.fillRect(QRectF(0, h * 0.7, w, h * 0.03), QColor(0xc9, 0xc2, 0xb3));
    QPen dash(Qt::white, 3, Qt::SolidLine, Qt::FlatCap);
    dash.setDashPattern({6, 5});
    p.setPen(dash);
    p.drawLine(QPointF(0, h * 0.93), QPointF(w, h * 0.93));
    const QPointF car(w * 0.58, h * 0.86);
    const qreal len = w * 0.5;
    drawCar(p, car, len, QColor(0xf4, 0xf4, 0xf2));
    // Roof sign: a white box with a blue rim and the word in capitals.
    const QRectF sign(car.x() - len * 0.17, car.y() - len * 0.48 - h * 0.075, len * 0.42, h * 0.085);
    p.setPen(QPen(kSignBlue, 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(sign, 3, 3);
    drawFitted(p, sign.adjusted(2, 0, -2, 0), QStringLiteral("FAHRSCHULE"), int(h * 0.055), true, kSignBlue,
               Qt::AlignCenter);
    // The L plate on the door.
    const QRectF plate(car.x() - len * 0.06, car.y() - len * 0.25, len * 0.1, len * 0.1);
    p.setPen(QPen(QColor(0x88, 0x88, 0x88), 1));
    p.setBrush(Qt::white);
    p.drawRect(plate);
    drawFitted(p, plate, QStringLiteral("L"), int(plate.height() * 0.85), true, kSignRed, Qt::AlignCenter);
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

void stop(QPainter& p, QSize size) {
    stopSign(p, QPointF(size.width() / 2.0, size.height() / 2.0), size.width() * 0.48);
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
