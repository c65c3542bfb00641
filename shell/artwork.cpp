#include "shell/artwork.h"

#include <QPainterPath>
#include <QtMath>

#include "shell/layouts.h"
#include "ui/art_common.h"
#include "ui/art_scenery.h"
#include "ui/fonts.h"

// The shell's pictures: the backgrounds of the about box, the login and the two settings dialogs, the main
// window's start pictures and the about box's logo.
namespace shell {

namespace {

using namespace ui::art;
using namespace ui::art::detail;
using namespace ui::art::scenery;

void about(QPainter& p, QSize size) {
    const qreal w = size.width() - 1;
    // A blue strip at the top echoes the band of the other dialogs; the card carries logo and address.
    p.fillRect(QRectF(0, 0, w, 10), vertical(0, 10, palette::bandBottom, palette::bandLine));
    p.fillRect(QRectF(0, 10, w, 1), palette::accent);
    drawSurface(p, QRectF(14, 17, w - 28, 232), palette::panel, 10);
    // A thin frame round the logo and an amber line under it.
    const QRectF logo(layout::about::logo);
    p.setPen(QPen(palette::panelBorder, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(logo.adjusted(-1.5, -1.5, 1.5, 1.5));
    p.fillRect(QRectF(logo.left(), logo.bottom() + 5, logo.width(), 1), palette::accent);
}

void login(QPainter& p, QSize size) {
    namespace at = layout::login;
    const qreal w = size.width() - 4; // the dialog is 360 x 200 on this picture
    const qreal h = size.height() - 4;
    p.fillRect(QRectF(0, 0, w, 16), vertical(0, 16, palette::bandTop, palette::bandBottom));
    p.fillRect(QRectF(0, 16, w, 2), palette::bandLine);
    p.fillRect(QRectF(0, 18, w, 1), palette::accent);
    // A person on a blue badge left of the heading "Benutzeranmeldung".
    const QPointF c(at::heading.left() - 24, QRectF(at::heading).center().y());
    QRadialGradient g(c - QPointF(5, 5), 22);
    g.setColorAt(0, palette::primaryTop);
    g.setColorAt(1, palette::primaryBottom);
    p.setPen(QPen(palette::primaryBorder, 1));
    p.setBrush(g);
    p.drawEllipse(c, 13, 13);
    p.save();
    QPainterPath badge;
    badge.addEllipse(c, 12.5, 12.5);
    p.setClipPath(badge);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(c + QPointF(0, -3.5), 5, 5);
    p.drawEllipse(c + QPointF(0, 12.5), 9.5, 8);
    p.restore();
    // A panel under the fields, from the name down to the mode switch.
    const qreal panelTop = at::name.top() - 4;
    drawSurface(p, QRectF(12, panelTop, w - 24, at::switchOff.top() + at::switchOff.height() + 8 - panelTop),
                palette::panel, 8);
    // The button strip, ending where the dialog ends.
    const qreal top = at::confirm.top() - 8;
    p.fillRect(QRectF(0, top, size.width(), size.height() - top),
               vertical(top, h, palette::footer, palette::bodyBottom.darker(104)));
    p.fillRect(QRectF(0, top, size.width(), 1), palette::panelBorder);
    p.fillRect(QRectF(0, top + 1, size.width(), 1), QColor(255, 255, 255, 150));
}

void setup(QPainter& p, QSize) {
    // The tab control stands out from the body; its tab row stays on the body.
    const QRectF tabs(layout::settings::tabs);
    drawShadow(p, tabs.adjusted(0, 22, 0, 0));
}

void setupPage(QPainter& p, QSize size) {
    // The pages carry the colour of the settings' labels, the only controls on them that fill their
    // background; check boxes and radio buttons are transparent over it.
    const QRectF r(0, 0, size.width(), size.height());
    p.fillRect(r, palette::setupLabel);
    p.setPen(QPen(palette::setupLabel.lighter(122), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(4.5, 4.5, -4.5, -4.5), 6, 6);
    QColor mark = palette::setupLabel.darker(115);
    mark.setAlpha(90);
    drawSteeringWheel(p, QPointF(size.width() - 60, size.height() - 56), 40, mark, mark);
}

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
    // Seen from behind, keeping to the right lane.
    carEndOn(p, road.centre(0.42) + QPointF(road.width(0.42) * 0.24, 0), road.width(0.42) * 0.3,
             QColor(0xd2, 0x3b, 0x2f), QColor(0xff, 0x3b, 0x30));
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
    sun(p, QPointF(w * 0.32, horizon - h * 0.16), h * 0.05, QColor(0xff, 0xe3, 0x9c));
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
        carEndOn(p, road.centre(t) + QPointF(road.width(t) * lane, 0), road.width(t) * 0.16, body, lights);
    };
    car(0.72, -0.32, QColor(0x8a, 0x4b, 0x6b), QColor(0xff, 0xf6, 0xd0));
    car(0.55, -0.12, QColor(0x6b, 0x7d, 0x99), QColor(0xff, 0xf6, 0xd0));
    car(0.8, 0.36, QColor(0x3d, 0x5a, 0x80), QColor(0xff, 0x3b, 0x30));
    car(0.5, 0.13, QColor(0xb5, 0x4a, 0x36), QColor(0xff, 0x3b, 0x30));
    car(0.2, 0.36, QColor(0x2f, 0x6f, 0x5a), QColor(0xff, 0x3b, 0x30));
    // The gantry spans the right-hand carriageway at some distance; its legs stand on the verge and the middle
    // strip, and its boards name the destinations with arrows pointing down to the lanes.
    const qreal tg = 0.3;
    const QPointF foot = road.centre(tg);
    const qreal span = road.width(tg);
    const qreal legLeft = foot.x(), legRight = foot.x() + span * 0.54;
    const qreal legHeight = span * 0.42, leg = qMax<qreal>(2, span * 0.012);
    const qreal top = foot.y() - legHeight;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3b, 0x40, 0x4a));
    p.drawRect(QRectF(legLeft - leg / 2, top, leg, legHeight));
    p.drawRect(QRectF(legRight - leg / 2, top, leg, legHeight));
    p.drawRect(QRectF(legLeft - leg, top - leg, legRight - legLeft + 2 * leg, leg * 1.4));
    const char* destinations[2] = {"Köln", "Frankfurt"};
    for (int k = 0; k < 2; ++k) {
        const qreal laneCentre = foot.x() + span * (0.135 + k * 0.25);
        const QRectF board(laneCentre - span * 0.11, top + leg * 0.6, span * 0.22, span * 0.12);
        p.setPen(QPen(Qt::white, qMax<qreal>(1, span * 0.004)));
        p.setBrush(kSignBlue);
        p.drawRoundedRect(board, span * 0.008, span * 0.008);
        drawFitted(p, board.adjusted(board.width() * 0.06, board.height() * 0.08, -board.width() * 0.06,
                                     -board.height() * 0.5),
                   QString::fromUtf8(destinations[k]), int(board.height() * 0.3), true, Qt::white, Qt::AlignCenter);
        p.setPen(QPen(Qt::white, qMax<qreal>(1.5, board.height() * 0.07), Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        const QPointF from(board.center().x(), board.top() + board.height() * 0.56);
        const QPointF to(board.center().x(), board.bottom() - board.height() * 0.12);
        p.drawLine(from, to);
        p.drawLine(to, to + QPointF(-board.height() * 0.14, -board.height() * 0.14));
        p.drawLine(to, to + QPointF(board.height() * 0.14, -board.height() * 0.14));
    }
}

// A village street in spring: houses with red roofs, a church, a zebra crossing with its sign.
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
    // Trees, and the sign of the zebra crossing (350) beside it; a zebra crossing has no traffic light.
    tree(p, QPointF(w * 0.06, h * 0.74), h * 0.34, QColor(0x4f, 0x96, 0x3c));
    tree(p, QPointF(w * 0.95, h * 0.7), h * 0.3, QColor(0x5a, 0x9c, 0x42));
    post(p, QPointF(w * 0.86, h * 0.95), h * 0.36, w * 0.008);
    crossingSign(p, QPointF(w * 0.86, h * 0.56), h * 0.05);
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
    // Driving to the right, the car keeps to the near lane and follows the road's rise.
    const qreal along = 0.52;
    p.save();
    p.translate(road.pointAtPercent(along));
    p.rotate(-road.angleAtPercent(along));
    drawCar(p, QPointF(0, h * 0.056), w * 0.1, QColor(0x2f, 0x6f, 0xc8));
    p.restore();
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

} // namespace

const ui::art::Artwork& artwork() {
    using K = ui::art::SkinKind;
    static const ui::art::Artwork art{
        {
            // the login dialog is 360 x 200 on its 364 x 204 skin
            {"ABOUT", 370, 259, K::Plain, "", 0, about},
            {"Login", 364, 204, K::Plain, "", 0, login, 4},
            {"SetupA", 456, 304, K::Dialog, "Voreinstellungen", 56, setup},
            {"SetupZ", 456, 304, K::Dialog, "Zwei-Benutzer-Modus", 56, setup},
            {"Setup2", 416, 182, K::Page, "", 0, setupPage},
        },
        {
            // start pictures of the main window, stretched to its client area
            {"START1", 800, 600, start1},
            {"START2", 800, 600, start2},
            {"START3", 800, 600, start3},
            {"START4", 800, 600, start4},
            {"AB_QRT", 320, 110, aboutLogo},
        },
        {
            {"START1", "START1.bmp"},
            {"START2", "START2.bmp"},
            {"START3", "START3.bmp"},
            {"START4", "START4.bmp"},
            {"SetupA", "SetupA.bmp"},
            {"SetupZ", "SetupZ.bmp"},
        },
    };
    return art;
}

void registerArtwork() {
    ui::art::registerArtwork(artwork());
}

} // namespace shell
