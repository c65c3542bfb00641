#include "viewer/artwork.h"

#include "ui/art_common.h"
#include "viewer/layouts.h"

// The backgrounds of the catalog viewer. Surfaces, slots and captions stand where viewer/layouts.h puts the
// controls they belong to.
namespace viewer {

namespace {

using namespace ui::art;
using namespace ui::art::detail;

constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignCenter;

// A heading that the background bears, on a tab in the band.
void headingTab(QPainter& p, const QString& text, qreal width) {
    const QRectF label(12, 8, width, 18);
    drawTitleTab(p, label, palette::titleTab);
    drawFitted(p, label, text, 14, true, Qt::black, kLeft);
}

// The bar at the bottom of the question view: captions before and after the places of the values.
void questionBar(QPainter& p, QSize size, int shift) {
    namespace at = layout::view;
    const QColor bar = palette::viewBar;
    const qreal w = size.width() - 1;
    p.fillRect(QRectF(0, 440, w, size.height() - 440), vertical(440, size.height(), bar.lighter(112), bar));
    p.fillRect(QRectF(0, 440, w, 1), bar.darker(140));
    p.fillRect(QRectF(0, 441, w, 1), QColor(255, 255, 255, 60));
    const QColor slot = bar.darker(125);
    auto caption = [&](qreal left, qreal top, qreal width, const char* text, Qt::Alignment align) {
        drawFitted(p, QRectF(left, top, width, 18), QString::fromUtf8(text), 12, true, Qt::white, align);
    };
    const QRect answers = at::answers(shift), right = at::right(shift);
    caption(6, 450, at::classLabel.left() - 10, "Klasse:", kRight);
    drawSlot(p, QRectF(at::classLabel), slot);
    caption(140, 450, at::theme.left() - 144, "Thema:", kRight);
    drawSlot(p, QRectF(at::theme), slot);
    caption(236, 450, at::number.left() - 240, "Frage-Nr.:", kRight);
    drawSlot(p, QRectF(at::number), slot);
    caption(392, 450, at::points.left() - 396, "Wert dieser Frage:", kRight);
    drawSlot(p, QRectF(at::points), slot);
    caption(at::points.right() + 5, 450, 80, "Punkte", kLeft);
    caption(330, 482, answers.left() - 334, "Antworten bisher:", kRight);
    drawSlot(p, QRectF(answers), slot);
    caption(answers.right() + 1, 482, right.left() - answers.right() - 1, "davon", kCentre);
    drawSlot(p, QRectF(right), slot);
    caption(right.right() + 3, 482, 42, "richtig", kLeft);
}

void choice(QPainter& p, QSize) {
    headingTab(p, QStringLiteral("Fragenkatalog - Auswahl"), 190);
    drawSurface(p, QRectF(layout::choice::panel), palette::amber, 8);
}

void table(QPainter& p, QSize) {
    drawTitleTab(p, QRectF(layout::table::title), palette::titleTab);
    drawShadow(p, QRectF(layout::table::grid));
}

void view1(QPainter& p, QSize size) {
    namespace at = layout::view;
    headingTab(p, QStringLiteral("Fragenkatalog"), 130);
    drawPictureMat(p, QRectF(at::picture));
    drawSurface(p, QRectF(at::question).adjusted(-6, -6, 6, 6), palette::viewQuestion);
    const QColor colours[3] = {palette::viewAnswer1, palette::viewAnswer2, palette::viewAnswer3};
    for (int n = 1; n <= 3; ++n)
        drawSurface(p, QRectF(at::box(n).united(at::answer(n))).adjusted(-6, -6, 4, 6), colours[n - 1]);
    questionBar(p, size, 0);
}

void view2(QPainter& p, QSize size) {
    namespace at = layout::view;
    headingTab(p, QStringLiteral("Fragenkatalog"), 130);
    drawPictureMat(p, QRectF(at::picture));
    drawSurface(p, QRectF(at::valueQuestion).adjusted(-6, -6, 6, 6), palette::viewQuestion);
    drawSurface(p, QRectF(at::valueLine), palette::viewAnswer3);
    questionBar(p, size, 2);
}

void search(QPainter& p, QSize) {
    headingTab(p, QStringLiteral("Fragenkatalog - Suchen"), 180);
    drawSurface(p, QRectF(layout::search::panel), palette::amber, 8);
}

void statistics(QPainter& p, QSize) {
    headingTab(p, QStringLiteral("Katalog-Statistik"), 150);
    drawShadow(p, QRectF(layout::stat::grid));
}

} // namespace

const ui::art::Artwork& artwork() {
    using K = ui::art::SkinKind;
    // Their headings stand in a tab, drawn by the decoration.
    static const ui::art::Artwork art{
        {
            {"KataAusw", 370, 304, K::Dialog, "", 46, choice},
            {"KataTab", 632, 454, K::Dialog, "", 54, table},
            {"Katalog1", 642, 517, K::Dialog, "", 0, view1},
            {"Katalog2", 642, 517, K::Dialog, "", 0, view2},
            {"Suchen", 370, 303, K::Dialog, "", 47, search},
            {"KataStat", 520, 369, K::Dialog, "", 54, statistics},
        },
        {},
        {},
    };
    return art;
}

void registerArtwork() {
    ui::art::registerArtwork(artwork());
}

} // namespace viewer
