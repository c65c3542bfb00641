#include <QPainterPath>
#include <QtMath>

#include <cmath>
#include <functional>

#include "ui/art_common.h"
#include "ui/fonts.h"

// Start pictures, filler pictures, logos and icons. The landscapes are built from a few pieces of scenery
// (sky, hills, trees, a road in perspective, signs); every random-looking detail comes from a fixed seed,
// so each build draws the same picture.
namespace ui::art::pictures {

using namespace detail;

namespace {

const QColor kAsphalt(0x5b, 0x60, 0x68);
const QColor kSignRed(0xc8, 0x1e, 0x2a);
const QColor kSignBlue(0x1d, 0x5f, 0xb4);

void sky(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom) {
    p.fillRect(r, vertical(r.top(), r.bottom(), top, bottom));
}

void sun(QPainter& p, QPointF c, qreal r, const QColor& core) {
    QRadialGradient glow(c, r * 3.2);
    QColor halo = core;
    halo.setAlpha(110);
    glow.setColorAt(0, halo);
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, r * 3.2, r * 3.2);
    p.setBrush(core);
    p.drawEllipse(c, r, r);
}

void cloud(QPainter& p, QPointF c, qreal s, int alpha = 235) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addEllipse(c + QPointF(-26, 0) * s, 22 * s, 14 * s);
    path.addEllipse(c + QPointF(0, -10) * s, 26 * s, 20 * s);
    path.addEllipse(c + QPointF(26, -2) * s, 22 * s, 15 * s);
    path.addRoundedRect(QRectF(c + QPointF(-44, -2) * s, c + QPointF(46, 12) * s), 7 * s, 7 * s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, alpha));
    p.drawPath(path.simplified());
}

// A ridge line from left to right at `base`, made of a few sine waves, filled down to `bottom`.
void ridge(QPainter& p, qreal width, qreal base, qreal amplitude, qreal bottom, const QBrush& brush, unsigned seed) {
    Dice dice(seed);
    const qreal f1 = dice.range(1.0, 2.2), f2 = dice.range(2.5, 4.5), f3 = dice.range(5, 8);
    const qreal p1 = dice.range(0, 6.28), p2 = dice.range(0, 6.28), p3 = dice.range(0, 6.28);
    QPainterPath path;
    path.moveTo(-2, bottom);
    for (int x = -2; x <= int(width) + 2; x += 4) {
        const qreal t = x / width * 3.14159;
        const qreal y = base - amplitude * (0.55 * std::sin(f1 * t + p1) + 0.3 * std::sin(f2 * t + p2) +
                                            0.15 * std::sin(f3 * t + p3));
        path.lineTo(x, y);
    }
    path.lineTo(width + 2, bottom);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    p.drawPath(path);
}

// A deciduous tree (round crown) or a fir, standing on `base`.
void tree(QPainter& p, QPointF base, qreal h, const QColor& crown, bool fir = false) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6b, 0x4a, 0x2e));
    p.drawRect(QRectF(base.x() - h * 0.05, base.y() - h * 0.35, h * 0.1, h * 0.35));
    if (fir) {
        QPainterPath t;
        t.moveTo(base + QPointF(0, -h));
        t.lineTo(base + QPointF(h * 0.28, -h * 0.18));
        t.lineTo(base + QPointF(-h * 0.28, -h * 0.18));
        t.closeSubpath();
        p.setBrush(crown);
        p.drawPath(t);
    } else {
        QRadialGradient g(base + QPointF(-h * 0.12, -h * 0.78), h * 0.5);
        g.setColorAt(0, crown.lighter(125));
        g.setColorAt(1, crown.darker(115));
        p.setBrush(g);
        p.drawEllipse(base + QPointF(0, -h * 0.62), h * 0.3, h * 0.36);
    }
    p.restore();
}

// A road from the bottom of the picture to a point on the horizon. `bend` moves the far part sideways, so
// the road curves. Returns the centre line as a function of depth t (0 near, 1 far) for placing things.
struct Road {
    QPointF nearCentre;
    QPointF farCentre;
    qreal nearWidth;
    qreal farWidth;
    qreal bend;

    // Depth runs faster near the horizon, as perspective does.
    QPointF centre(qreal t) const {
        const qreal y = nearCentre.y() + (farCentre.y() - nearCentre.y()) * (1 - std::pow(1 - t, 2.2));
        const qreal x = nearCentre.x() + (farCentre.x() - nearCentre.x()) * t + bend * std::sin(t * 3.14159);
        return {x, y};
    }
    qreal width(qreal t) const { return nearWidth + (farWidth - nearWidth) * (1 - std::pow(1 - t, 2.2)); }
};

void drawRoad(QPainter& p, const Road& road, const QColor& surface, const QColor& verge, bool centreLine = true) {
    QPainterPath left, body;
    QVector<QPointF> l, r;
    for (int i = 0; i <= 60; ++i) {
        const qreal t = i / 60.0;
        const QPointF c = road.centre(t);
        const qreal w = road.width(t);
        l << c - QPointF(w / 2, 0);
        r << c + QPointF(w / 2, 0);
    }
    // A verge a little wider than the road, then the road itself.
    QPolygonF vergePoly, roadPoly;
    for (int i = 0; i < l.size(); ++i)
        vergePoly << l[i] - QPointF(road.width(i / 60.0) * 0.06, 0);
    for (int i = r.size() - 1; i >= 0; --i)
        vergePoly << r[i] + QPointF(road.width(i / 60.0) * 0.06, 0);
    for (const auto& pt : l)
        roadPoly << pt;
    for (int i = r.size() - 1; i >= 0; --i)
        roadPoly << r[i];
    p.setPen(Qt::NoPen);
    p.setBrush(verge);
    p.drawPolygon(vergePoly);
    p.setBrush(vertical(road.farCentre.y(), road.nearCentre.y(), surface.lighter(118), surface));
    p.drawPolygon(roadPoly);
    // Edge lines and the dashed centre line, thinner with distance.
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 60; ++i) {
        const qreal t0 = i / 60.0, t1 = (i + 1) / 60.0;
        const qreal w = road.width(t0);
        const qreal line = qMax<qreal>(0.6, w * 0.012);
        p.setPen(QPen(QColor(245, 245, 240), line, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(road.centre(t0) - QPointF(w * 0.46, 0), road.centre(t1) - QPointF(road.width(t1) * 0.46, 0));
        p.drawLine(road.centre(t0) + QPointF(w * 0.46, 0), road.centre(t1) + QPointF(road.width(t1) * 0.46, 0));
        if (centreLine && i % 4 < 2) {
            p.setPen(QPen(QColor(250, 250, 245), line * 1.2, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(road.centre(t0), road.centre(t1));
        }
    }
}

void post(QPainter& p, QPointF foot, qreal height, qreal thickness) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9a, 0xa1, 0xab));
    p.drawRect(QRectF(foot.x() - thickness / 2, foot.y() - height, thickness, height));
}

// Signs on a post; `c` is the sign's centre, `r` its radius.
void prioritySign(QPainter& p, QPointF c, qreal r) {
    QPainterPath outer, inner;
    outer.moveTo(c + QPointF(0, -r));
    outer.lineTo(c + QPointF(r, 0));
    outer.lineTo(c + QPointF(0, r));
    outer.lineTo(c + QPointF(-r, 0));
    outer.closeSubpath();
    const qreal k = 0.62;
    inner.moveTo(c + QPointF(0, -r * k));
    inner.lineTo(c + QPointF(r * k, 0));
    inner.lineTo(c + QPointF(0, r * k));
    inner.lineTo(c + QPointF(-r * k, 0));
    inner.closeSubpath();
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), qMax<qreal>(0.8, r * 0.04)));
    p.setBrush(Qt::white);
    p.drawPath(outer);
    p.setBrush(QColor(0xf7, 0xc3, 0x1a));
    p.drawPath(inner);
}

void limitSign(QPainter& p, QPointF c, qreal r, const QString& figure) {
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), qMax<qreal>(0.6, r * 0.03)));
    p.setBrush(kSignRed);
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(c, r * 0.76, r * 0.76);
    p.setPen(QColor(0x1a, 0x1a, 0x1a));
    p.setFont(fontPx(QStringLiteral("Arial"), qMax(6, int(r * 0.95)), true));
    p.drawText(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r + r * 0.08), Qt::AlignCenter, figure);
}

void yieldSign(QPainter& p, QPointF c, qreal r) {
    QPainterPath tri;
    tri.moveTo(c + QPointF(-r, -r * 0.58));
    tri.lineTo(c + QPointF(r, -r * 0.58));
    tri.lineTo(c + QPointF(0, r * 1.15));
    tri.closeSubpath();
    p.setPen(QPen(kSignRed, r * 0.22, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(tri);
}

void stopSign(QPainter& p, QPointF c, qreal r) {
    QPainterPath oct;
    for (int i = 0; i < 8; ++i) {
        const qreal a = qDegreesToRadians(22.5 + 45.0 * i);
        const QPointF q = c + QPointF(r * std::cos(a), r * std::sin(a));
        i == 0 ? oct.moveTo(q) : oct.lineTo(q);
    }
    oct.closeSubpath();
    p.setPen(QPen(Qt::white, r * 0.08));
    p.setBrush(kSignRed);
    p.drawPath(oct);
    p.setPen(Qt::white);
    p.setFont(fontPx(QStringLiteral("Arial"), qMax(5, int(r * 0.62)), true));
    p.drawText(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), Qt::AlignCenter, QStringLiteral("STOP"));
}

void house(QPainter& p, QPointF foot, qreal w, qreal h, const QColor& wall, const QColor& roof) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(wall);
    p.drawRect(QRectF(foot.x() - w / 2, foot.y() - h, w, h));
    QPainterPath r;
    r.moveTo(foot + QPointF(-w * 0.58, -h));
    r.lineTo(foot + QPointF(0, -h - w * 0.45));
    r.lineTo(foot + QPointF(w * 0.58, -h));
    r.closeSubpath();
    p.setBrush(roof);
    p.drawPath(r);
    p.setBrush(QColor(0xd6, 0xea, 0xf7));
    const qreal win = w * 0.18;
    for (qreal fx : {-0.25, 0.25})
        p.drawRect(QRectF(foot.x() + fx * w - win / 2, foot.y() - h * 0.78, win, win));
    p.setBrush(wall.darker(160));
    p.drawRect(QRectF(foot.x() - w * 0.09, foot.y() - h * 0.42, w * 0.18, h * 0.42));
    p.restore();
}

} // namespace

// A country road through green hills, a car on its way, the priority-road sign at the verge.
void start1(QPainter& p, QSize size) {
    const qreal w = size.width(), h = size.height();
    const qreal horizon = h * 0.46;
    sky(p, QRectF(0, 0, w, horizon + 40), QColor(0x5f, 0x9f, 0xdc), QColor(0xd8, 0xec, 0xf8));
    sun(p, QPointF(w * 0.8, h * 0.16), h * 0.05, QColor(0xff, 0xf1, 0xb8));
    cloud(p, QPointF(w * 0.18, h * 0.12), h / 300.0);
    cloud(p, QPointF(w * 0.5, h * 0.22), h / 420.0, 210);
    cloud(p, QPointF(w * 0.92, h * 0.3), h / 500.0, 200);
    ridge(p, w, horizon - h * 0.05, h * 0.09, h, QColor(0x8f, 0xa8, 0xc4), 11);
    ridge(p, w, horizon + h * 0.02, h * 0.05, h, QColor(0x7f, 0xb0, 0x5a), 12);
    ridge(p, w, horizon + h * 0.1, h * 0.05, h,
          vertical(horizon, h, QColor(0x8c, 0xc4, 0x5c), QColor(0x5f, 0x9e, 0x3c)), 13);
    Dice dice(7);
    for (int i = 0; i < 14; ++i) {
        const qreal x = dice.range(0, w);
        const qreal y = horizon + h * dice.range(0.04, 0.12);
        tree(p, QPointF(x, y), h * dice.range(0.04, 0.07), QColor(0x3d, 0x7a, 0x34), dice.next() < 0.4);
    }
    const Road road{{w * 0.46, h + 4}, {w * 0.62, horizon + h * 0.035}, w * 0.62, 4, -w * 0.16};
    drawRoad(p, road, kAsphalt, QColor(0xb9, 0xa7, 0x7a));
    const QPointF carAt = road.centre(0.42) + QPointF(road.width(0.42) * 0.2, 0);
    drawCar(p, carAt, road.width(0.42) * 0.32, QColor(0xd2, 0x3b, 0x2f));
    // Trees in front, and the sign on the right.
    tree(p, QPointF(w * 0.07, h * 0.9), h * 0.3, QColor(0x35, 0x74, 0x2e));
    tree(p, QPointF(w * 0.16, h * 0.8), h * 0.2, QColor(0x4a, 0x86, 0x36));
    tree(p, QPointF(w * 0.95, h * 0.76), h * 0.22, QColor(0x3f, 0x7c, 0x30));
    post(p, QPointF(w * 0.86, h * 0.86), h * 0.26, w * 0.008);
    prioritySign(p, QPointF(w * 0.86, h * 0.6), h * 0.055);
}

// Evening on the motorway: a low sun, blue direction boards on a gantry, lights on the lanes.
void start2(QPainter& p, QSize size) {
    const qreal w = size.width(), h = size.height();
    const qreal horizon = h * 0.5;
    QLinearGradient g(0, 0, 0, horizon);
    g.setColorAt(0, QColor(0x3a, 0x4f, 0x8c));
    g.setColorAt(0.55, QColor(0xe0, 0x8a, 0x7a));
    g.setColorAt(1, QColor(0xfb, 0xd0, 0x8a));
    p.fillRect(QRectF(0, 0, w, horizon + 20), g);
    sun(p, QPointF(w * 0.32, horizon - h * 0.03), h * 0.06, QColor(0xff, 0xe3, 0x9c));
    cloud(p, QPointF(w * 0.7, h * 0.14), h / 380.0, 120);
    cloud(p, QPointF(w * 0.15, h * 0.22), h / 520.0, 100);
    ridge(p, w, horizon - h * 0.01, h * 0.05, h, QColor(0x6a, 0x5d, 0x86), 21);
    ridge(p, w, horizon + h * 0.03, h * 0.03, h,
          vertical(horizon, h, QColor(0x5b, 0x6e, 0x4a), QColor(0x3d, 0x52, 0x2f)), 22);
    // Four lanes, the two directions parted by a barrier in the middle.
    const Road road{{w * 0.5, h + 4}, {w * 0.5, horizon + h * 0.03}, w * 1.3, 6, 0};
    drawRoad(p, road, QColor(0x4a, 0x4c, 0x55), QColor(0x4d, 0x62, 0x3c), false);
    for (int i = 0; i < 60; ++i) {
        const qreal t0 = i / 60.0, t1 = (i + 1) / 60.0;
        const qreal line = qMax<qreal>(0.6, road.width(t0) * 0.008);
        for (qreal f : {-0.25, 0.25}) {
            if (i % 4 >= 2) continue;
            p.setPen(QPen(QColor(250, 250, 245), line, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(road.centre(t0) + QPointF(road.width(t0) * f, 0),
                       road.centre(t1) + QPointF(road.width(t1) * f, 0));
        }
    }
    QPolygonF barrier;
    for (int i = 0; i <= 60; ++i)
        barrier << road.centre(i / 60.0) - QPointF(qMax<qreal>(0.5, road.width(i / 60.0) * 0.012), 0);
    for (int i = 60; i >= 0; --i)
        barrier << road.centre(i / 60.0) + QPointF(qMax<qreal>(0.5, road.width(i / 60.0) * 0.012), 0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xa8, 0xae, 0xb8));
    p.drawPolygon(barrier);
    // Traffic keeps to the right: ahead of us on the right lanes (tail lights), oncoming on the left.
    auto car = [&](qreal t, qreal lane, const QColor& body, const QColor& lights) {
        const qreal s = road.width(t) * 0.16;
        const QPointF foot = road.centre(t) + QPointF(road.width(t) * lane, 0);
        p.setPen(Qt::NoPen);
        p.setBrush(body);
        p.drawRoundedRect(QRectF(foot.x() - s / 2, foot.y() - s * 0.5, s, s * 0.42), s * 0.08, s * 0.08);
        p.setBrush(body.darker(130));
        p.drawRoundedRect(QRectF(foot.x() - s * 0.36, foot.y() - s * 0.78, s * 0.72, s * 0.32), s * 0.1, s * 0.1);
        p.setBrush(lights);
        p.drawEllipse(QPointF(foot.x() - s * 0.34, foot.y() - s * 0.32), s * 0.09, s * 0.06);
        p.drawEllipse(QPointF(foot.x() + s * 0.34, foot.y() - s * 0.32), s * 0.09, s * 0.06);
        p.setBrush(QColor(0x1a, 0x1a, 0x1e));
        p.drawRect(QRectF(foot.x() - s * 0.42, foot.y() - s * 0.1, s * 0.14, s * 0.1));
        p.drawRect(QRectF(foot.x() + s * 0.28, foot.y() - s * 0.1, s * 0.14, s * 0.1));
    };
    car(0.72, -0.32, QColor(0x8a, 0x4b, 0x6b), QColor(0xff, 0xf6, 0xd0));
    car(0.55, -0.12, QColor(0x6b, 0x7d, 0x99), QColor(0xff, 0xf6, 0xd0));
    car(0.8, 0.36, QColor(0x3d, 0x5a, 0x80), QColor(0xff, 0x3b, 0x30));
    car(0.5, 0.13, QColor(0xb5, 0x4a, 0x36), QColor(0xff, 0x3b, 0x30));
    car(0.2, 0.36, QColor(0x2f, 0x6f, 0x5a), QColor(0xff, 0x3b, 0x30));
    // The gantry with two blue boards and white arrows.
    const qreal gy = h * 0.3;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3b, 0x40, 0x4a));
    p.drawRect(QRectF(w * 0.05, gy - h * 0.01, w * 0.9, h * 0.018));
    p.drawRect(QRectF(w * 0.05, gy, w * 0.012, h * 0.62));
    p.drawRect(QRectF(w * 0.938, gy, w * 0.012, h * 0.62));
    for (qreal cx : {0.3, 0.7}) {
        const QRectF board(w * cx - w * 0.13, gy + h * 0.012, w * 0.26, h * 0.13);
        p.setPen(QPen(Qt::white, h * 0.004));
        p.setBrush(kSignBlue);
        p.drawRoundedRect(board, h * 0.01, h * 0.01);
        p.setPen(QPen(Qt::white, h * 0.012, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF a = board.center() + QPointF(0, board.height() * 0.3);
        const QPointF b = board.center() - QPointF(0, board.height() * 0.3);
        p.drawLine(a, b);
        p.drawLine(b, b + QPointF(-board.height() * 0.18, board.height() * 0.18));
        p.drawLine(b, b + QPointF(board.height() * 0.18, board.height() * 0.18));
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        for (int k = 0; k < 3; ++k)
            p.drawRect(QRectF(board.left() + board.width() * 0.08, board.top() + board.height() * (0.25 + k * 0.2),
                              board.width() * (0.24 - k * 0.04), board.height() * 0.07));
    }
}

// A village street in spring: houses with red roofs, a church, a zebra crossing and a traffic light.
void start3(QPainter& p, QSize size) {
    const qreal w = size.width(), h = size.height();
    const qreal horizon = h * 0.5;
    sky(p, QRectF(0, 0, w, horizon + 20), QColor(0x7b, 0xb6, 0xe8), QColor(0xe6, 0xf3, 0xfa));
    cloud(p, QPointF(w * 0.25, h * 0.1), h / 320.0);
    cloud(p, QPointF(w * 0.68, h * 0.17), h / 400.0, 220);
    sun(p, QPointF(w * 0.9, h * 0.1), h * 0.04, QColor(0xff, 0xf4, 0xc4));
    ridge(p, w, horizon - h * 0.04, h * 0.05, h, QColor(0x9b, 0xb7, 0xc9), 31);
    ridge(p, w, horizon + h * 0.01, h * 0.02, h,
          vertical(horizon, h, QColor(0x93, 0xc8, 0x66), QColor(0x6e, 0xa8, 0x46)), 32);
    // A church behind the houses on the left, then the houses along the street, smaller towards the back.
    const qreal cx = w * 0.38, base = horizon + h * 0.015;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xee, 0xe4, 0xd2));
    p.drawRect(QRectF(cx - w * 0.075, base - h * 0.07, w * 0.075, h * 0.07));
    QPainterPath nave;
    nave.moveTo(cx - w * 0.08, base - h * 0.07);
    nave.lineTo(cx - w * 0.0375, base - h * 0.105);
    nave.lineTo(cx + w * 0.005, base - h * 0.07);
    p.setBrush(QColor(0xa5, 0x3e, 0x2c));
    p.drawPath(nave);
    p.setBrush(QColor(0xf4, 0xec, 0xdc));
    p.drawRect(QRectF(cx, base - h * 0.17, w * 0.035, h * 0.17));
    QPainterPath spire;
    spire.moveTo(cx - w * 0.004, base - h * 0.17);
    spire.lineTo(cx + w * 0.0175, base - h * 0.25);
    spire.lineTo(cx + w * 0.039, base - h * 0.17);
    p.setBrush(QColor(0x4e, 0x7d, 0x6a));
    p.drawPath(spire);
    p.setBrush(QColor(0x3b, 0x4a, 0x5c));
    p.drawEllipse(QPointF(cx + w * 0.0175, base - h * 0.135), w * 0.008, w * 0.008);
    const QColor walls[] = {QColor(0xf6, 0xe7, 0xc8), QColor(0xf2, 0xf0, 0xea), QColor(0xe9, 0xd3, 0xb4),
                            QColor(0xf7, 0xde, 0xd0)};
    const QColor roofs[] = {QColor(0xb8, 0x4a, 0x32), QColor(0xa5, 0x3e, 0x2c), QColor(0x8e, 0x4a, 0x3a)};
    for (int i = 0; i < 4; ++i) {
        const qreal t = 1 - i * 0.22;
        const qreal s = 0.3 + (1 - t) * 1.1;
        const qreal y = horizon + h * 0.02 + h * 0.16 * (1 - t) * (1 - t) * 2.2;
        house(p, QPointF(w * 0.5 - w * (0.07 + 0.2 * (1 - t)) - w * 0.05 * s, y), w * 0.1 * s, h * 0.1 * s,
              walls[i % 4], roofs[i % 3]);
        house(p, QPointF(w * 0.5 + w * (0.11 + 0.22 * (1 - t)) + w * 0.05 * s, y), w * 0.1 * s, h * 0.11 * s,
              walls[(i + 1) % 4], roofs[(i + 1) % 3]);
    }
    const Road road{{w * 0.5, h + 4}, {w * 0.52, horizon + h * 0.02}, w * 0.78, 10, 0};
    drawRoad(p, road, QColor(0x6a, 0x6e, 0x75), QColor(0xc9, 0xc2, 0xb3), false);
    // Zebra crossing near the front.
    for (int i = 0; i < 9; ++i) {
        const qreal t0 = 0.12, t1 = 0.2;
        const qreal x0 = road.centre(t0).x() - road.width(t0) * 0.44 + road.width(t0) * 0.88 * (i + 0.15) / 9;
        const qreal x1 = road.centre(t1).x() - road.width(t1) * 0.44 + road.width(t1) * 0.88 * (i + 0.15) / 9;
        const qreal wd0 = road.width(t0) * 0.88 / 9 * 0.6, wd1 = road.width(t1) * 0.88 / 9 * 0.6;
        QPolygonF stripe;
        stripe << QPointF(x0, road.centre(t0).y()) << QPointF(x0 + wd0, road.centre(t0).y())
               << QPointF(x1 + wd1, road.centre(t1).y()) << QPointF(x1, road.centre(t1).y());
        p.setBrush(QColor(0xf4, 0xf4, 0xf0));
        p.drawPolygon(stripe);
    }
    // Trees and the traffic light.
    tree(p, QPointF(w * 0.06, h * 0.74), h * 0.34, QColor(0x4f, 0x96, 0x3c));
    tree(p, QPointF(w * 0.95, h * 0.7), h * 0.3, QColor(0x5a, 0x9c, 0x42));
    post(p, QPointF(w * 0.9, h * 0.95), h * 0.42, w * 0.01);
    const QRectF box(w * 0.885, h * 0.42, w * 0.03, h * 0.13);
    p.setBrush(QColor(0x2b, 0x2f, 0x36));
    p.drawRoundedRect(box, w * 0.005, w * 0.005);
    const QColor lights[] = {QColor(0x55, 0x22, 0x22), QColor(0x55, 0x48, 0x22), QColor(0x4c, 0xe0, 0x6a)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(lights[i]);
        p.drawEllipse(QPointF(box.center().x(), box.top() + box.height() * (0.18 + i * 0.32)), box.width() * 0.3,
                      box.width() * 0.3);
    }
}

// Autumn by a lake: mountains across the water, a shore road with a speed limit and coloured trees.
void start4(QPainter& p, QSize size) {
    const qreal w = size.width(), h = size.height();
    const qreal shore = h * 0.52;
    sky(p, QRectF(0, 0, w, shore), QColor(0x8a, 0xb8, 0xdf), QColor(0xf4, 0xe9, 0xd6));
    cloud(p, QPointF(w * 0.7, h * 0.1), h / 330.0, 230);
    cloud(p, QPointF(w * 0.35, h * 0.18), h / 460.0, 210);
    // Mountains across the lake, snow on the highest tops.
    const QPointF tops[] = {{0, 0.42},   {0.08, 0.36}, {0.17, 0.4},  {0.3, 0.24},  {0.4, 0.35},
                            {0.52, 0.3}, {0.62, 0.18}, {0.74, 0.32}, {0.85, 0.26}, {1, 0.38}};
    QPainterPath range;
    range.moveTo(0, shore);
    for (const QPointF& t : tops)
        range.lineTo(t.x() * w, t.y() * h);
    range.lineTo(w, shore);
    range.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(h * 0.18, shore, QColor(0x76, 0x86, 0xa3), QColor(0xa3, 0xb0, 0xc2)));
    p.drawPath(range);
    p.save();
    QPolygonF snowLine; // a ragged edge where the snow ends
    snowLine << QPointF(0, 0);
    for (int i = 0; i <= 40; ++i)
        snowLine << QPointF(w * i / 40.0, h * (i % 2 ? 0.262 : 0.285));
    snowLine << QPointF(w, 0);
    p.setClipRegion(QRegion(snowLine.toPolygon()));
    p.setBrush(QColor(0xf5, 0xf8, 0xfc));
    p.drawPath(range);
    p.restore();
    ridge(p, w, shore - h * 0.03, h * 0.03, shore, QColor(0x5e, 0x7a, 0x5a), 42);
    // The lake with a few light streaks.
    p.fillRect(QRectF(0, shore, w, h - shore), vertical(shore, h, QColor(0x6f, 0x9f, 0xc6), QColor(0x3d, 0x70, 0xa0)));
    Dice dice(9);
    p.setPen(QPen(QColor(255, 255, 255, 70), 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 26; ++i) {
        const qreal y = shore + h * dice.range(0.02, 0.2);
        const qreal x = dice.range(0, w);
        p.drawLine(QPointF(x, y), QPointF(x + w * dice.range(0.02, 0.06), y));
    }
    // A small sailing boat.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath sail;
    sail.moveTo(w * 0.3, shore + h * 0.02);
    sail.lineTo(w * 0.3, shore + h * 0.1);
    sail.lineTo(w * 0.335, shore + h * 0.1);
    sail.closeSubpath();
    p.drawPath(sail);
    p.setBrush(QColor(0x8a, 0x4b, 0x2c));
    p.drawRect(QRectF(w * 0.285, shore + h * 0.102, w * 0.06, h * 0.012));
    // The shore road sweeps in from the bottom left.
    QPainterPath land;
    land.moveTo(0, h * 0.62);
    land.cubicTo(QPointF(w * 0.4, h * 0.66), QPointF(w * 0.7, h * 0.7), QPointF(w, h * 0.66));
    land.lineTo(w, h);
    land.lineTo(0, h);
    land.closeSubpath();
    p.setBrush(vertical(h * 0.62, h, QColor(0x9a, 0xa8, 0x4e), QColor(0x6d, 0x7f, 0x34)));
    p.drawPath(land);
    QPainterPath road;
    road.moveTo(-10, h * 1.02);
    road.cubicTo(QPointF(w * 0.35, h * 0.86), QPointF(w * 0.65, h * 0.74), QPointF(w + 10, h * 0.71));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xb8, 0xa9, 0x80), h * 0.15, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(road);
    p.setPen(QPen(kAsphalt, h * 0.12, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(road);
    p.setPen(QPen(QColor(250, 250, 245), h * 0.006, Qt::CustomDashLine, Qt::FlatCap));
    QPen dash(QColor(250, 250, 245), h * 0.006, Qt::SolidLine, Qt::FlatCap);
    dash.setDashPattern({6, 6});
    p.setPen(dash);
    p.drawPath(road);
    drawCar(p, QPointF(w * 0.52, h * 0.83), w * 0.12, QColor(0x2f, 0x6f, 0xc8));
    // Autumn trees along the shore.
    const QColor autumn[] = {QColor(0xd9, 0x7a, 0x22), QColor(0xc4, 0x3c, 0x26), QColor(0xe8, 0xb3, 0x2c),
                             QColor(0x8a, 0x9a, 0x36)};
    tree(p, QPointF(w * 0.06, h * 0.8), h * 0.3, autumn[0]);
    tree(p, QPointF(w * 0.15, h * 0.72), h * 0.2, autumn[2]);
    tree(p, QPointF(w * 0.84, h * 0.7), h * 0.18, autumn[1]);
    tree(p, QPointF(w * 0.93, h * 0.74), h * 0.24, autumn[0]);
    tree(p, QPointF(w * 0.72, h * 0.69), h * 0.12, autumn[3]);
    post(p, QPointF(w * 0.3, h * 0.98), h * 0.2, w * 0.008);
    limitSign(p, QPointF(w * 0.3, h * 0.78), h * 0.05, QStringLiteral("70"));
}

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

// The about box's logo: steering wheel, word mark, and a strip of road.
void aboutLogo(QPainter& p, QSize size) {
    const qreal w = size.width(), h = size.height();
    p.fillRect(QRectF(0, 0, w, h), vertical(0, h, palette::bandTop, palette::bandBottom));
    p.fillRect(QRectF(0, h - 18, w, 18), kAsphalt);
    p.fillRect(QRectF(0, h - 19, w, 1), QColor(0x3c, 0x40, 0x47));
    QPen dash(QColor(250, 250, 245), 2, Qt::SolidLine, Qt::FlatCap);
    dash.setDashPattern({8, 6});
    p.setPen(dash);
    p.drawLine(QPointF(0, h - 9), QPointF(w, h - 9));
    drawCar(p, QPointF(w * 0.82, h - 5), 56, palette::accent.darker(105));
    const QPointF wheel(52, 44);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(wheel, 38, 38);
    drawSteeringWheel(p, wheel, 34, palette::ink, palette::accent);
    drawFitted(p, QRectF(100, 8, w - 108, 44), QStringLiteral("Lenkwerk"), 38, true, palette::ink,
               Qt::AlignLeft | Qt::AlignVCenter);
    drawFitted(p, QRectF(102, 52, w - 110, 20), QStringLiteral("Führerschein-Theorietrainer"), 15, false,
               palette::bandLine, Qt::AlignLeft | Qt::AlignVCenter);
    p.fillRect(QRectF(102, 74, 120, 2), palette::accent);
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

} // namespace ui::art::pictures
