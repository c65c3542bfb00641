#include <QPainterPath>
#include <QtMath>

#include <cmath>

#include "ui/art_common.h"
#include "ui/fonts.h"

// Glyphs of the bitmap buttons (one colour, drawn with the caption's pen) and the coloured pictograms of the
// theme tiles, all in a square box.
namespace ui::art::detail {

void drawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour) {
    if (glyph == Glyph::None) return;
    const qreal s = box.width();
    const QPointF o = box.topLeft();
    auto pt = [&](qreal x, qreal y) { return o + QPointF(x * s, y * s); };
    QPen pen(colour, qMax<qreal>(1.6, s * 0.14), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    switch (glyph) {
    case Glyph::Check:
        path.moveTo(pt(0.12, 0.55));
        path.lineTo(pt(0.4, 0.8));
        path.lineTo(pt(0.9, 0.2));
        break;
    case Glyph::Cross:
        path.moveTo(pt(0.2, 0.2));
        path.lineTo(pt(0.8, 0.8));
        path.moveTo(pt(0.8, 0.2));
        path.lineTo(pt(0.2, 0.8));
        break;
    case Glyph::Next:
        path.moveTo(pt(0.12, 0.5));
        path.lineTo(pt(0.85, 0.5));
        path.moveTo(pt(0.55, 0.2));
        path.lineTo(pt(0.87, 0.5));
        path.lineTo(pt(0.55, 0.8));
        break;
    case Glyph::Help: {
        p.drawEllipse(QRectF(pt(0.05, 0.05), pt(0.95, 0.95)));
        QFont f = fontPx(QStringLiteral("Arial"), int(s * 0.75), true);
        p.setFont(f);
        p.drawText(QRectF(pt(0, 0.02), pt(1, 1)), Qt::AlignCenter, QStringLiteral("?"));
        return;
    }
    case Glyph::Exit:
        path.moveTo(pt(0.55, 0.12));
        path.lineTo(pt(0.15, 0.12));
        path.lineTo(pt(0.15, 0.88));
        path.lineTo(pt(0.55, 0.88));
        path.moveTo(pt(0.4, 0.5));
        path.lineTo(pt(0.95, 0.5));
        path.moveTo(pt(0.75, 0.3));
        path.lineTo(pt(0.95, 0.5));
        path.lineTo(pt(0.75, 0.7));
        break;
    case Glyph::Search:
        p.drawEllipse(QRectF(pt(0.1, 0.1), pt(0.66, 0.66)));
        path.moveTo(pt(0.6, 0.6));
        path.lineTo(pt(0.92, 0.92));
        break;
    case Glyph::Save:
        path.addRoundedRect(QRectF(pt(0.12, 0.12), pt(0.88, 0.88)), s * 0.08, s * 0.08);
        path.moveTo(pt(0.3, 0.12));
        path.lineTo(pt(0.3, 0.38));
        path.lineTo(pt(0.7, 0.38));
        path.lineTo(pt(0.7, 0.12));
        path.moveTo(pt(0.3, 0.88));
        path.lineTo(pt(0.3, 0.62));
        path.lineTo(pt(0.7, 0.62));
        path.lineTo(pt(0.7, 0.88));
        break;
    case Glyph::Reset:
        path.arcMoveTo(QRectF(pt(0.12, 0.12), pt(0.88, 0.88)), 100);
        path.arcTo(QRectF(pt(0.12, 0.12), pt(0.88, 0.88)), 100, 280);
        path.moveTo(pt(0.22, 0.05));
        path.lineTo(pt(0.42, 0.15));
        path.lineTo(pt(0.3, 0.33));
        break;
    case Glyph::List:
        for (qreal y : {0.2, 0.5, 0.8}) {
            path.moveTo(pt(0.1, y));
            path.lineTo(pt(0.16, y));
            path.moveTo(pt(0.34, y));
            path.lineTo(pt(0.92, y));
        }
        break;
    case Glyph::Chart:
        path.moveTo(pt(0.08, 0.92));
        path.lineTo(pt(0.94, 0.92));
        for (auto [x, y] : {std::pair{0.22, 0.55}, {0.5, 0.2}, {0.78, 0.4}}) {
            path.moveTo(pt(x, 0.88));
            path.lineTo(pt(x, y));
        }
        break;
    case Glyph::Users:
        p.drawEllipse(QRectF(pt(0.12, 0.1), pt(0.44, 0.42)));
        p.drawEllipse(QRectF(pt(0.56, 0.1), pt(0.88, 0.42)));
        path.moveTo(pt(0.02, 0.9));
        path.quadTo(pt(0.28, 0.42), pt(0.5, 0.9));
        path.moveTo(pt(0.5, 0.9));
        path.quadTo(pt(0.72, 0.42), pt(0.98, 0.9));
        break;
    case Glyph::Show:
        path.moveTo(pt(0.04, 0.5));
        path.quadTo(pt(0.5, 0.02), pt(0.96, 0.5));
        path.quadTo(pt(0.5, 0.98), pt(0.04, 0.5));
        p.setBrush(colour);
        p.drawEllipse(pt(0.5, 0.5), s * 0.13, s * 0.13);
        p.setBrush(Qt::NoBrush);
        break;
    case Glyph::Calc:
        path.addRoundedRect(QRectF(pt(0.18, 0.04), pt(0.82, 0.96)), s * 0.08, s * 0.08);
        path.addRect(QRectF(pt(0.3, 0.16), pt(0.7, 0.34)));
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        for (qreal y : {0.5, 0.66, 0.82})
            for (qreal x : {0.36, 0.5, 0.64})
                p.drawEllipse(pt(x, y), s * 0.045, s * 0.045);
        return;
    case Glyph::Book:
        path.moveTo(pt(0.5, 0.2));
        path.quadTo(pt(0.3, 0.08), pt(0.06, 0.14));
        path.lineTo(pt(0.06, 0.84));
        path.quadTo(pt(0.3, 0.78), pt(0.5, 0.9));
        path.quadTo(pt(0.7, 0.78), pt(0.94, 0.84));
        path.lineTo(pt(0.94, 0.14));
        path.quadTo(pt(0.7, 0.08), pt(0.5, 0.2));
        path.lineTo(pt(0.5, 0.9));
        break;
    case Glyph::Table:
        path.addRoundedRect(QRectF(pt(0.06, 0.12), pt(0.94, 0.88)), s * 0.06, s * 0.06);
        path.moveTo(pt(0.06, 0.38));
        path.lineTo(pt(0.94, 0.38));
        path.moveTo(pt(0.06, 0.63));
        path.lineTo(pt(0.94, 0.63));
        path.moveTo(pt(0.4, 0.12));
        path.lineTo(pt(0.4, 0.88));
        break;
    default:
        break;
    }
    p.drawPath(path);
}

namespace {

QPainterPath regular(QPointF c, qreal r, int corners, qreal startDegrees) {
    QPainterPath path;
    for (int i = 0; i < corners; ++i) {
        const qreal a = qDegreesToRadians(startDegrees + 360.0 * i / corners);
        const QPointF pt = c + QPointF(r * std::cos(a), r * std::sin(a));
        i == 0 ? path.moveTo(pt) : path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void centredText(QPainter& p, const QRectF& r, const QString& text, qreal px, const QColor& colour, bool bold = true) {
    p.setFont(fontPx(QStringLiteral("Arial"), qMax(6, qRound(px)), bold));
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

} // namespace

bool drawPictogram(QPainter& p, Glyph glyph, const QRectF& box) {
    const qreal s = box.width();
    const QPointF o = box.topLeft();
    auto pt = [&](qreal x, qreal y) { return o + QPointF(x * s, y * s); };
    auto rc = [&](qreal x0, qreal y0, qreal x1, qreal y1) { return QRectF(pt(x0, y0), pt(x1, y1)); };
    const QColor red(0xc8, 0x1e, 0x2a), dark(0x22, 0x22, 0x22);
    p.save();
    switch (glyph) {
    case Glyph::Danger: {
        // The warning triangle: white with a red rim and an exclamation mark.
        QPainterPath tri;
        tri.moveTo(pt(0.5, 0.04));
        tri.lineTo(pt(0.98, 0.9));
        tri.lineTo(pt(0.02, 0.9));
        tri.closeSubpath();
        p.setPen(QPen(red, s * 0.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::white);
        p.drawPath(tri);
        p.setPen(QPen(dark, s * 0.09, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(pt(0.5, 0.36), pt(0.5, 0.6));
        p.setPen(Qt::NoPen);
        p.setBrush(dark);
        p.drawEllipse(pt(0.5, 0.74), s * 0.055, s * 0.055);
        break;
    }
    case Glyph::Road: {
        // A road running into the distance between two verges.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x7c, 0xb3, 0x4a));
        p.drawEllipse(box);
        QPainterPath disc;
        disc.addEllipse(box);
        p.setClipPath(disc);
        p.setBrush(QColor(0xcf, 0xe6, 0xf7));
        p.drawRect(rc(0, 0, 1, 0.42));
        QPainterPath road;
        road.moveTo(pt(0.44, 0.42));
        road.lineTo(pt(0.56, 0.42));
        road.lineTo(pt(0.92, 1.0));
        road.lineTo(pt(0.08, 1.0));
        road.closeSubpath();
        p.setBrush(QColor(0x55, 0x5b, 0x66));
        p.drawPath(road);
        p.setBrush(Qt::white);
        for (auto [y0, y1] : {std::pair{0.46, 0.52}, {0.58, 0.68}, {0.76, 0.92}}) {
            const qreal w0 = 0.008 + (y0 - 0.42) * 0.05, w1 = 0.008 + (y1 - 0.42) * 0.05;
            QPainterPath dash;
            dash.moveTo(pt(0.5 - w0, y0));
            dash.lineTo(pt(0.5 + w0, y0));
            dash.lineTo(pt(0.5 + w1, y1));
            dash.lineTo(pt(0.5 - w1, y1));
            dash.closeSubpath();
            p.drawPath(dash);
        }
        break;
    }
    case Glyph::Priority: {
        // The priority-road sign: a yellow square on its corner with a white border.
        const QPainterPath outer = regular(pt(0.5, 0.5), s * 0.5, 4, -90);
        p.setPen(QPen(dark, s * 0.03));
        p.setBrush(Qt::white);
        p.drawPath(outer);
        p.setPen(QPen(dark, s * 0.025));
        p.setBrush(QColor(0xf7, 0xc3, 0x1a));
        p.drawPath(regular(pt(0.5, 0.5), s * 0.32, 4, -90));
        break;
    }
    case Glyph::Sign: {
        // A speed limit: white disc, red ring, black figure.
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawEllipse(box.adjusted(s * 0.02, s * 0.02, -s * 0.02, -s * 0.02));
        p.setBrush(Qt::white);
        p.drawEllipse(box.adjusted(s * 0.15, s * 0.15, -s * 0.15, -s * 0.15));
        centredText(p, box.adjusted(0, s * 0.02, 0, 0), QStringLiteral("50"), s * 0.36, dark);
        break;
    }
    case Glyph::Leaf: {
        QPainterPath leaf;
        leaf.moveTo(pt(0.14, 0.88));
        leaf.cubicTo(pt(0.06, 0.4), pt(0.4, 0.08), pt(0.92, 0.08));
        leaf.cubicTo(pt(0.92, 0.6), pt(0.6, 0.92), pt(0.14, 0.88));
        QLinearGradient g(pt(0.2, 0.9), pt(0.9, 0.1));
        g.setColorAt(0, QColor(0x2e, 0x8b, 0x3e));
        g.setColorAt(1, QColor(0x7c, 0xc5, 0x4f));
        p.setPen(QPen(QColor(0x1f, 0x5e, 0x2a), s * 0.03));
        p.setBrush(g);
        p.drawPath(leaf);
        // The midrib from stalk to tip, side veins in pairs towards the edges.
        const QColor vein(0xe8, 0xf5, 0xd8);
        p.setPen(QPen(vein, s * 0.045, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(pt(0.16, 0.86), pt(0.8, 0.22));
        p.setPen(QPen(vein, s * 0.03, Qt::SolidLine, Qt::RoundCap));
        for (qreal t : {0.35, 0.5, 0.65}) {
            const QPointF on = pt(0.16 + 0.64 * t, 0.86 - 0.64 * t);
            p.drawLine(on, on + QPointF(-0.04 * s, -0.17 * s));
            p.drawLine(on, on + QPointF(0.17 * s, 0.04 * s));
        }
        break;
    }
    case Glyph::Paragraph: {
        p.setPen(Qt::NoPen);
        p.setBrush(vertical(box.top(), box.bottom(), palette::primaryTop, palette::primaryBottom));
        p.drawRoundedRect(rc(0.08, 0.04, 0.92, 0.96), s * 0.12, s * 0.12);
        centredText(p, rc(0.08, 0.04, 0.92, 0.96), QStringLiteral("§"), s * 0.68, Qt::white);
        break;
    }
    case Glyph::Gear: {
        QPainterPath gear;
        const QPointF c = pt(0.5, 0.5);
        const int teeth = 8;
        for (int i = 0; i < teeth * 4; ++i) {
            const qreal a = qDegreesToRadians(360.0 * i / (teeth * 4) - 90);
            const qreal r = (i % 4 == 0 || i % 4 == 1) ? s * 0.5 : s * 0.37;
            const QPointF q = c + QPointF(r * std::cos(a), r * std::sin(a));
            i == 0 ? gear.moveTo(q) : gear.lineTo(q);
        }
        gear.closeSubpath();
        gear.addEllipse(c, s * 0.15, s * 0.15);
        gear.setFillRule(Qt::OddEvenFill);
        QRadialGradient g(c - QPointF(s * 0.15, s * 0.15), s * 0.7);
        g.setColorAt(0, QColor(0x9a, 0xa8, 0xba));
        g.setColorAt(1, QColor(0x4a, 0x58, 0x6c));
        p.setPen(QPen(QColor(0x33, 0x3d, 0x4b), s * 0.025));
        p.setBrush(g);
        p.drawPath(gear);
        break;
    }
    case Glyph::Eye: {
        QPainterPath eye;
        eye.moveTo(pt(0.02, 0.5));
        eye.quadTo(pt(0.5, 0.05), pt(0.98, 0.5));
        eye.quadTo(pt(0.5, 0.95), pt(0.02, 0.5));
        p.setPen(QPen(palette::ink, s * 0.05));
        p.setBrush(Qt::white);
        p.drawPath(eye);
        QRadialGradient iris(pt(0.46, 0.46), s * 0.22);
        iris.setColorAt(0, QColor(0x5d, 0xa9, 0xe9));
        iris.setColorAt(1, QColor(0x1f, 0x5f, 0xa8));
        p.setPen(Qt::NoPen);
        p.setBrush(iris);
        p.drawEllipse(pt(0.5, 0.5), s * 0.2, s * 0.2);
        p.setBrush(dark);
        p.drawEllipse(pt(0.5, 0.5), s * 0.085, s * 0.085);
        p.setBrush(Qt::white);
        p.drawEllipse(pt(0.45, 0.44), s * 0.04, s * 0.04);
        break;
    }
    case Glyph::Ruler: {
        p.translate(pt(0.5, 0.5));
        p.rotate(-40);
        const QRectF bar(-s * 0.52, -s * 0.15, s * 1.04, s * 0.3);
        p.setPen(QPen(QColor(0x8a, 0x6a, 0x10), s * 0.025));
        p.setBrush(QColor(0xf4, 0xc4, 0x30));
        p.drawRoundedRect(bar, s * 0.04, s * 0.04);
        p.setPen(QPen(dark, s * 0.025));
        for (int i = 1; i < 10; ++i) {
            const qreal x = bar.left() + bar.width() * i / 10.0;
            p.drawLine(QPointF(x, bar.top()), QPointF(x, bar.top() + s * (i % 5 == 0 ? 0.16 : 0.08)));
        }
        break;
    }
    case Glyph::Exam: {
        // A clipboard with ticked lines.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x9a, 0x6b, 0x3f));
        p.drawRoundedRect(rc(0.12, 0.06, 0.88, 0.98), s * 0.06, s * 0.06);
        p.setBrush(Qt::white);
        p.drawRect(rc(0.2, 0.16, 0.8, 0.9));
        p.setBrush(QColor(0x8c, 0x93, 0x9d));
        p.drawRoundedRect(rc(0.34, 0.02, 0.66, 0.14), s * 0.03, s * 0.03);
        for (qreal y : {0.3, 0.5, 0.7}) {
            p.setPen(QPen(QColor(0x2e, 0x9b, 0x4b), s * 0.06, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            QPainterPath tick;
            tick.moveTo(pt(0.26, y));
            tick.lineTo(pt(0.32, y + 0.06));
            tick.lineTo(pt(0.42, y - 0.05));
            p.setBrush(Qt::NoBrush);
            p.drawPath(tick);
            p.setPen(QPen(QColor(0xa9, 0xb1, 0xbc), s * 0.045, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(pt(0.5, y), pt(0.72, y));
        }
        break;
    }
    case Glyph::Stats: {
        p.setPen(Qt::NoPen);
        const QColor colours[] = {palette::primaryTop, palette::accent, QColor(0x4c, 0xa6, 0x4f)};
        const qreal heights[] = {0.45, 0.8, 0.62};
        for (int i = 0; i < 3; ++i) {
            p.setBrush(colours[i]);
            p.drawRoundedRect(rc(0.1 + i * 0.28, 0.9 - heights[i], 0.32 + i * 0.28, 0.9), s * 0.03, s * 0.03);
        }
        p.setPen(QPen(palette::ink, s * 0.05, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(pt(0.04, 0.92), pt(0.96, 0.92));
        break;
    }
    case Glyph::Door: {
        p.setPen(QPen(palette::ink, s * 0.06, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0xe6, 0xee, 0xf8));
        p.drawRect(rc(0.08, 0.06, 0.56, 0.94));
        p.setBrush(palette::ink);
        p.drawEllipse(pt(0.46, 0.52), s * 0.03, s * 0.03);
        p.setPen(QPen(palette::accent.darker(115), s * 0.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(pt(0.5, 0.5), pt(0.92, 0.5));
        QPainterPath head;
        head.moveTo(pt(0.76, 0.34));
        head.lineTo(pt(0.94, 0.5));
        head.lineTo(pt(0.76, 0.66));
        p.setBrush(Qt::NoBrush);
        p.drawPath(head);
        break;
    }
    default:
        p.restore();
        return false;
    }
    p.restore();
    return true;
}

void drawSteeringWheel(QPainter& p, QPointF c, qreal r, const QColor& rim, const QColor& hub) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(rim, r * 0.2));
    p.drawEllipse(c, r * 0.9, r * 0.9);
    p.setPen(QPen(rim, r * 0.16, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(-r * 0.86, -r * 0.08));
    p.drawLine(c, c + QPointF(r * 0.86, -r * 0.08));
    p.drawLine(c, c + QPointF(0, r * 0.86));
    p.setPen(Qt::NoPen);
    p.setBrush(hub);
    p.drawEllipse(c, r * 0.26, r * 0.26);
    p.restore();
}

void drawCar(QPainter& p, QPointF b, qreal len, const QColor& body, bool facingRight) {
    // A small hatchback in side view; `b` is the middle of its underside.
    p.save();
    p.translate(b);
    if (!facingRight) p.scale(-1, 1);
    const qreal u = len / 100.0;
    auto P = [u](qreal x, qreal y) { return QPointF(x * u, y * u); };
    QPainterPath shell;
    shell.moveTo(P(-50, -8));
    shell.lineTo(P(-50, -22));
    shell.quadTo(P(-49, -28), P(-40, -29));
    shell.lineTo(P(-26, -31));
    shell.lineTo(P(-12, -45));
    shell.quadTo(P(-8, -48), P(0, -48));
    shell.lineTo(P(18, -48));
    shell.quadTo(P(24, -48), P(30, -40));
    shell.lineTo(P(36, -31));
    shell.lineTo(P(46, -28));
    shell.quadTo(P(50, -26), P(50, -18));
    shell.lineTo(P(50, -8));
    shell.closeSubpath();
    QLinearGradient g(P(0, -48), P(0, -8));
    g.setColorAt(0, body.lighter(125));
    g.setColorAt(1, body.darker(115));
    p.setPen(QPen(body.darker(170), qMax<qreal>(0.8, u * 1.2)));
    p.setBrush(g);
    p.drawPath(shell);
    // Windows
    QPainterPath glass;
    glass.moveTo(P(-22, -32));
    glass.lineTo(P(-10, -43));
    glass.lineTo(P(4, -43));
    glass.lineTo(P(4, -32));
    glass.closeSubpath();
    glass.moveTo(P(8, -32));
    glass.lineTo(P(8, -43));
    glass.lineTo(P(18, -43));
    glass.quadTo(P(22, -43), P(26, -38));
    glass.lineTo(P(30, -32));
    glass.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc9, 0xe2, 0xf5));
    p.drawPath(glass);
    // Lights
    p.setBrush(QColor(0xff, 0xe8, 0x9a));
    p.drawRoundedRect(QRectF(P(45, -25), P(50, -20)), u, u);
    p.setBrush(QColor(0xd9, 0x3a, 0x2f));
    p.drawRect(QRectF(P(-50, -24), P(-47, -18)));
    // Wheels
    for (qreal x : {-30.0, 30.0}) {
        p.setBrush(QColor(0x26, 0x26, 0x2a));
        p.drawEllipse(P(x, -8), 10 * u, 10 * u);
        p.setBrush(QColor(0xb8, 0xbe, 0xc6));
        p.drawEllipse(P(x, -8), 4.5 * u, 4.5 * u);
    }
    p.restore();
}

} // namespace ui::art::detail
