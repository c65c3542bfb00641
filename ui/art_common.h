#pragma once

// Drawing helpers shared by the artwork files; not part of the toolkit's interface.
#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QRectF>
#include <QString>

#include "ui/artwork.h"

namespace ui::art::detail {

constexpr int kBandHeight = 34;

QPixmap canvas(QSize size, qreal dpr);
QLinearGradient vertical(qreal top, qreal bottom, const QColor& a, const QColor& b);

// The pieces every dialog skin is built from.
void drawBand(QPainter& p, int width, const QString& heading, qreal headingRight);
void drawBody(QPainter& p, QSize size, int top);
void drawFooter(QPainter& p, QSize size, int footer, int cut);
void drawFrame(QPainter& p, QSize size, int cut);
void drawWatermark(QPainter& p, const QRectF& area);

// A rounded surface under a group of controls; `fill` is the colour those controls are given.
void drawSurface(QPainter& p, const QRectF& r, const QColor& fill, qreal radius = 7);
// The sunken place of a picture, light grey where the picture leaves it uncovered.
void drawPictureMat(QPainter& p, const QRectF& r);
// A soft shadow round a control that paints itself (grids, tab controls).
void drawShadow(QPainter& p, const QRectF& r);
// A title tab in the band behind a dialog's own title label (the label's rectangle is given).
void drawTitleTab(QPainter& p, const QRectF& label, const QColor& fill);
// A sunken slot for a value or name field.
void drawSlot(QPainter& p, const QRectF& r, const QColor& fill);
// A small colour square of a legend.
void drawSwatch(QPainter& p, const QRectF& r, const QColor& fill);

void drawPanelBox(QPainter& p, const QRectF& r);
void drawEmblem(QPainter& p, QPointF centre, qreal radius, const QString& letter);

// Text in Arial of the given pixel height, made smaller until it fits the rectangle's width.
void drawFitted(QPainter& p, const QRectF& r, const QString& text, int px, bool bold, const QColor& colour,
                Qt::Alignment align);

void drawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour);
// The coloured pictograms of the theme tiles; false for glyphs that have none.
bool drawPictogram(QPainter& p, Glyph glyph, const QRectF& box);

// Small scenery shared by the pictures.
void drawCar(QPainter& p, QPointF bottomCentre, qreal length, const QColor& body, bool facingRight = true);
void drawSteeringWheel(QPainter& p, QPointF centre, qreal radius, const QColor& rim, const QColor& hub);

// A tiled ramp of hills etc. needs reproducible "randomness": a small fixed generator.
class Dice {
public:
    explicit Dice(unsigned seed) : m_state(seed * 2654435761u + 1) {}
    qreal next() { // 0 .. 1
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) / qreal(1 << 24);
    }
    qreal range(qreal a, qreal b) { return a + (b - a) * next(); }

private:
    unsigned m_state;
};

} // namespace ui::art::detail

// Start pictures, filler pictures, logos and icons (art_pictures.cpp).
namespace ui::art::pictures {
void noPicture(QPainter& p, QSize size);
void search(QPainter& p, QSize size);
void programIcon(QPainter& p, QSize size);
} // namespace ui::art::pictures
