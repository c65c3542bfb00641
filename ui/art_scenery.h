#pragma once

#include <QBrush>
#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <cmath>

// Pieces of scenery the pictures of the program and of its features are built from: sky, hills, trees, a road in
// perspective, signs. Every random-looking detail comes from a fixed seed, so each build draws the same picture.
namespace ui::art::scenery {

inline const QColor kAsphalt(0x5b, 0x60, 0x68);
inline const QColor kSignRed(0xc8, 0x1e, 0x2a);
inline const QColor kSignBlue(0x1d, 0x5f, 0xb4);

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

void sky(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom);
void sun(QPainter& p, QPointF c, qreal r, const QColor& core);
void cloud(QPainter& p, QPointF c, qreal s, int alpha = 235);
void ridge(QPainter& p, qreal width, qreal base, qreal amplitude, qreal bottom, const QBrush& brush, unsigned seed);
void tree(QPainter& p, QPointF base, qreal h, const QColor& crown, bool fir = false);
void drawRoad(QPainter& p, const Road& road, const QColor& surface, const QColor& verge, bool centreLine = true);
void post(QPainter& p, QPointF foot, qreal height, qreal thickness);
void prioritySign(QPainter& p, QPointF c, qreal r);
void limitSign(QPainter& p, QPointF c, qreal r, const QString& figure);
void yieldSign(QPainter& p, QPointF c, qreal r);
void stopSign(QPainter& p, QPointF c, qreal r);
// A car seen from behind or from ahead (tail or head lights), its wheels on `foot`, `width` wide.
void carEndOn(QPainter& p, QPointF foot, qreal width, const QColor& body, const QColor& lights);
// Sign 350, the zebra crossing: blue square, white triangle, a walker on the stripes; `r` is half its side.
void crossingSign(QPainter& p, QPointF c, qreal r);
void house(QPainter& p, QPointF foot, qreal w, qreal h, const QColor& wall, const QColor& roof);

} // namespace ui::art::scenery
