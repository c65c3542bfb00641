#include "training/artwork.h"

#include <QPainterPath>
#include <QtMath>

#include <cmath>

#include "training/layouts.h"
#include "ui/art_common.h"
#include "ui/art_scenery.h"

namespace training {

namespace {

using namespace ui::art;
using namespace ui::art::detail;
using namespace ui::art::scenery;
namespace at = layout::question;

constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignCenter;

// A caption that ends a few pixels before the value it names.
void captionBefore(QPainter& p, const QRect& value, qreal width, const QString& text, bool bold = false) {
    drawFitted(p, QRectF(value.left() - 4 - width, at::number.top(), width, 18), text, 13, bold,
               palette::ink, kRight);
}

// The status line: captions before the values the dialog shows, a slot under each value.
void questionStatus(QPainter& p) {
    drawSurface(p, QRectF(6, at::number.top() - 9, 630, 28), palette::panel, 6);
    for (const QRect& slot : {at::number, at::running, at::total, at::points})
        drawSlot(p, QRectF(slot.left(), slot.top(), slot.width(), 18), Qt::white);
    captionBefore(p, at::number, 54, QStringLiteral("Frage-Nr."));
    captionBefore(p, at::running, 52, QStringLiteral("Frage"));
    drawFitted(p, QRectF(at::running.right() + 3, at::running.top(), 34, 18), QStringLiteral("von"), 13, false,
               palette::ink, kCentre);
    captionBefore(p, at::points, 80, QStringLiteral("Punkte"));
    captionBefore(p, at::errors, 132, QStringLiteral("Fehlerpunkte"), true);
    // Beside the auto-evaluate box, which has no caption of its own.
    drawFitted(p, QRectF(at::autoEvaluate.right() + 5, at::autoEvaluate.top() - 2, 144, 20),
               QStringLiteral("Antwort sofort auswerten"), 12, false, palette::ink, kLeft);
}

void themes(QPainter& p, QSize) {
    namespace th = layout::themes;
    drawTitleTab(p, QRectF(th::header), palette::themeTab);
    // One tray under the twelve buttons.
    drawSurface(p, QRectF(th::button(0, 0).united(th::button(1, 5))).adjusted(-7, -7, 7, 7), palette::footer, 10);
}

void question1(QPainter& p, QSize) {
    drawPictureMat(p, QRectF(at::picture));
    drawSurface(p, QRectF(at::text1).adjusted(-6, -6, 6, 6), palette::questionCyan);
    const QColor colours[3] = {palette::answer1, palette::answer2, palette::answer3};
    for (int i = 0; i < 3; ++i)
        drawSurface(p, QRectF(at::box[i].united(at::answer[i])).adjusted(-6, -6, 14, 6), colours[i]);
    questionStatus(p);
}

void question2(QPainter& p, QSize) {
    drawPictureMat(p, QRectF(at::picture));
    // The question text of the value layouts has the deeper of the two turquoises.
    drawSurface(p, QRectF(at::text2).adjusted(-6, -6, 6, 6), palette::answer3);
    const qreal left = at::before2.left() - 10, right = at::after3.right() + 22;
    drawFitted(p, QRectF(left, at::entry2.top() - 36, right - left, 22),
               QStringLiteral("Tragen Sie Ihre Antwort als Zahl ein."), 13, false, palette::muted, kCentre);
    // The line of texts and entry fields.
    drawSurface(p, QRectF(left, at::entry2.top() - 8, right - left, at::entry2.height() + 16), palette::questionCyan);
    questionStatus(p);
}

void solution(QPainter& p, QSize) {
    namespace so = layout::solution;
    const qreal top = so::title.top() - 8;
    drawSurface(p, QRectF(20, top, 267, so::text.bottom() + 9 - top), palette::solutionOrange, 8);
}

// The filler pictures, shown in turn for questions without a picture of their own.
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
        const QPointF pos = c + QPointF(std::cos(a), -std::sin(a)) * h * 0.285;
        p.save();
        p.translate(pos);
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
        const QRectF ring(s - QPointF(h * 0.055, h * 0.055), s + QPointF(h * 0.055, h * 0.055));
        arc.arcMoveTo(ring, 120 * i + 20);
        arc.arcTo(ring, 120 * i + 20, 80);
        p.drawPath(arc);
    }
}

void filler4(QPainter& p, QSize size) {
    // The driving-school car with its roof sign and the school's stripe along its side.
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
    // A blue band along the doors, as German driving schools letter their cars; no plate of any kind.
    const qreal u = len / 100.0;
    p.setPen(Qt::NoPen);
    p.setBrush(kSignBlue);
    p.drawRect(QRectF(car.x() - 44 * u, car.y() - 22 * u, 88 * u, 4 * u));
    p.setBrush(QColor(0xf2, 0xc1, 0x2e));
    p.drawRect(QRectF(car.x() - 44 * u, car.y() - 18 * u, 88 * u, 1.2 * u));
}

} // namespace

const ui::art::Artwork& artwork() {
    using K = ui::art::SkinKind;
    static const ui::art::Artwork art{
        {
            // the exam shows the question skins two pixels smaller
            {"ThemAusw", 657, 491, K::Dialog, "", 0, themes},
            {"Fragen1", 642, 517, K::Dialog, "", 47, question1, 2},
            {"Fragen2", 642, 517, K::Dialog, "", 47, question2, 2},
            {"Auswert", 308, 190, K::Dialog, "Falsch beantwortet", 0, solution},
        },
        {
            {"Bild1", 318, 200, filler1},
            {"Bild2", 318, 200, filler2},
            {"Bild3", 318, 200, filler3},
            {"Bild4", 318, 200, filler4},
        },
        {
            // the filler pictures and the theme dialog, whose size is taken from its file
            {"Bild1", "Bild1.bmp"},
            {"Bild2", "Bild2.bmp"},
            {"Bild3", "Bild3.bmp"},
            {"Bild4", "Bild4.bmp"},
            {"ThemAusw", "ThemAusw.bmp"},
        },
    };
    return art;
}

void registerArtwork() {
    ui::art::registerArtwork(artwork());
}

} // namespace training
