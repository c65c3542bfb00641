#include <QPainterPath>

#include "ui/art_common.h"
#include "ui/fonts.h"

// What each dialog's background bears. Positions are those of the dialog's controls (pixels of the skin; the
// dialogs given in layout units are converted, two pixels a unit): surfaces go under groups of controls in
// the colour the dialog gives those controls, captions and legends go where the dialog leaves room for them.
namespace ui::art::decor {

using namespace detail;

namespace {

constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignCenter;

QString str(const char* s) {
    return QString::fromUtf8(s);
}

// A heading that the background bears, on a tab in the band (the catalog dialogs' look).
void headingTab(QPainter& p, const QString& text, qreal width) {
    const QRectF label(12, 8, width, 18);
    drawTitleTab(p, label, palette::titleTab);
    drawFitted(p, label, text, 14, true, Qt::black, kLeft);
}

// The bar at the bottom of the catalog's question view; the value layouts put the counts two pixels left.
void catalogBar(QPainter& p, QSize size, int shift) {
    const QColor bar = palette::viewBar;
    const qreal w = size.width() - 1;
    p.fillRect(QRectF(0, 440, w, size.height() - 440), vertical(440, size.height(), bar.lighter(112), bar));
    p.fillRect(QRectF(0, 440, w, 1), bar.darker(140));
    p.fillRect(QRectF(0, 441, w, 1), QColor(255, 255, 255, 60));
    const QColor slot = bar.darker(125);
    auto caption = [&](qreal left, qreal top, qreal width, const char* text, Qt::Alignment align) {
        drawFitted(p, QRectF(left, top, width, 18), str(text), 12, true, Qt::white, align);
    };
    caption(6, 450, 52, "Klasse:", kRight);
    drawSlot(p, QRectF(62, 450, 60, 18), slot);
    caption(140, 450, 70, "Thema:", kRight);
    drawSlot(p, QRectF(214, 450, 18, 18), slot);
    caption(236, 450, 70, "Frage-Nr.:", kRight);
    drawSlot(p, QRectF(310, 450, 78, 18), slot);
    caption(392, 450, 134, "Wert dieser Frage:", kRight);
    drawSlot(p, QRectF(530, 450, 18, 18), slot);
    caption(552, 450, 80, "Punkte", kLeft);
    caption(330, 482, 146 - shift, "Antworten bisher:", kRight);
    drawSlot(p, QRectF(480 - shift, 482, 36, 18), slot);
    caption(516 - shift, 482, 44, "davon", kCentre);
    drawSlot(p, QRectF(560 - shift, 482, 36, 18), slot);
    caption(598 - shift, 482, 42, "richtig", kLeft);
}

} // namespace

void catalogChoice(QPainter& p, QSize) {
    headingTab(p, QStringLiteral("Fragenkatalog - Auswahl"), 190);
    drawSurface(p, QRectF(16, 44, 336, 204), palette::amber, 8);
}

void catalogTable(QPainter& p, QSize) {
    drawTitleTab(p, QRectF(12, 8, 280, 16), palette::titleTab);
    drawShadow(p, QRectF(12, 44, 610, 356));
}

void catalogView1(QPainter& p, QSize size) {
    headingTab(p, QStringLiteral("Fragenkatalog"), 130);
    drawPictureMat(p, QRectF(8, 44, 318, 200));
    drawSurface(p, QRectF(8, 256, 318, 160), palette::viewQuestion);
    const QColor colours[3] = {palette::viewAnswer1, palette::viewAnswer2, palette::viewAnswer3};
    for (int i = 0; i < 3; ++i)
        drawSurface(p, QRectF(338, 44 + 130 * i, 296, 112), colours[i]);
    catalogBar(p, size, 0);
}

void catalogView2(QPainter& p, QSize size) {
    headingTab(p, QStringLiteral("Fragenkatalog"), 130);
    drawPictureMat(p, QRectF(8, 44, 318, 200));
    drawSurface(p, QRectF(340, 48, 294, 194), palette::viewQuestion);
    drawSurface(p, QRectF(56, 334, 570, 42), palette::viewAnswer3);
    catalogBar(p, size, 2);
}

void search(QPainter& p, QSize) {
    headingTab(p, QStringLiteral("Fragenkatalog - Suchen"), 180);
    drawSurface(p, QRectF(14, 44, 342, 200), palette::amber, 8);
}

void catalogStatistics(QPainter& p, QSize) {
    headingTab(p, QStringLiteral("Katalog-Statistik"), 150);
    drawShadow(p, QRectF(14, 46, 492, 262));
}

} // namespace ui::art::decor
