#include "ui/art_scenery.h"

#include <QPainterPath>
#include <QtMath>

#include <functional>

#include "ui/art_common.h"
#include "ui/fonts.h"

namespace ui::art::scenery {

using namespace detail;

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

void cloud(QPainter& p, QPointF c, qreal s, int alpha) {
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
void tree(QPainter& p, QPointF base, qreal h, const QColor& crown, bool fir) {
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

void drawRoad(QPainter& p, const Road& road, const QColor& surface, const QColor& verge, bool centreLine) {
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

void carEndOn(QPainter& p, QPointF foot, qreal s, const QColor& body, const QColor& lights) {
    p.save();
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
    p.restore();
}

void crossingSign(QPainter& p, QPointF c, qreal r) {
    p.save();
    const QRectF square(c.x() - r, c.y() - r, 2 * r, 2 * r);
    p.setPen(QPen(Qt::white, r * 0.06));
    p.setBrush(kSignBlue);
    p.drawRoundedRect(square, r * 0.12, r * 0.12);
    QPolygonF triangle;
    triangle << QPointF(c.x(), c.y() - r * 0.78) << QPointF(c.x() + r * 0.8, c.y() + r * 0.66)
             << QPointF(c.x() - r * 0.8, c.y() + r * 0.66);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(triangle);
    // The stripes under the walker, then the walker striding to the left.
    p.setBrush(Qt::black);
    for (int i = 0; i < 4; ++i)
        p.drawRect(QRectF(c.x() - r * 0.5 + i * r * 0.28, c.y() + r * 0.46, r * 0.16, r * 0.12));
    p.drawEllipse(QPointF(c.x() + r * 0.02, c.y() - r * 0.3), r * 0.09, r * 0.09);
    QPen limb(Qt::black, r * 0.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(limb);
    const QPointF hip(c.x() + r * 0.04, c.y() + r * 0.12), neck(c.x(), c.y() - r * 0.16);
    p.drawLine(neck, hip);
    p.drawLine(hip, QPointF(c.x() - r * 0.18, c.y() + r * 0.42));
    p.drawLine(hip, QPointF(c.x() + r * 0.24, c.y() + r * 0.42));
    p.drawLine(neck + QPointF(0, r * 0.06), QPointF(c.x() - r * 0.2, c.y() + r * 0.06));
    p.drawLine(neck + QPointF(0, r * 0.06), QPointF(c.x() + r * 0.18, c.y() + r * 0.02));
    p.restore();
}

} // namespace ui::art::scenery
