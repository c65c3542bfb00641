#include "stats/artwork.h"

#include "stats/layouts.h"
#include "ui/art_common.h"

// The backgrounds of the statistics dialogs. Surfaces, slots and captions stand where stats/layouts.h puts the
// controls they belong to.
namespace stats {

namespace {

using namespace ui::art;
using namespace ui::art::detail;

constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;

// Alternating light rows, so that a caption and its bars read as one line.
void stripe(QPainter& p, const QRectF& r, int index) {
    if (index % 2 == 0) return;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawRoundedRect(r, 5, 5);
    p.restore();
}

// A rim round a statistics bar.
void barSlot(QPainter& p, const QRect& bar) {
    drawSlot(p, QRectF(bar), palette::barBack);
}

void legendLine(QPainter& p, qreal top, const QColor& colour, const QString& text, qreal left = 20) {
    drawSwatch(p, QRectF(left, top + 3, 13, 13), colour);
    drawFitted(p, QRectF(left + 20, top, 300 - left, 19), text, 13, false, palette::ink, kLeft);
}

// A theme's caption, right-aligned before its bars and centred on the rows between `top` and `bottom`.
void themeCaption(QPainter& p, qreal top, qreal bottom, const QString& text, bool bold = false) {
    const qreal middle = (top + bottom) / 2;
    drawFitted(p, QRectF(14, middle - 16, 190, 32), text, 13, bold, Qt::black, kRight);
}

// The two-bar rows of the pages by theme and of the comparison: per theme its caption and two slots, then the
// row "absolut" below a rule.
template <typename Upper, typename Lower> void twoBarRows(QPainter& p, Upper upper, Lower lower) {
    for (int n = 1; n <= 8; ++n) {
        const QRect a = upper(n), b = lower(n);
        stripe(p, QRectF(8, a.top() - 8, 528, 40), n - 1);
        themeCaption(p, a.top(), b.bottom() + 1, QString::fromUtf8(layout::kThemeCaptions[n - 1]));
        barSlot(p, a);
        barSlot(p, b);
    }
    namespace at = layout::themePage2;
    p.fillRect(QRectF(14, at::totalUpper.top() - 11, 518, 1), palette::panelBorder);
    themeCaption(p, at::totalUpper.top(), at::totalLower.bottom() + 1, QStringLiteral("absolut"), true);
    barSlot(p, at::totalUpper);
    barSlot(p, at::totalLower);
}

// The two rows of labels and figures and their bars, shared by the overview and the theme statistic.
void overviewRows(QPainter& p) {
    namespace at = layout::overview;
    drawSurface(p, QRectF(at::row1), palette::statRow1, 6);
    drawSlot(p, QRectF(at::bar1), QColor(185, 180, 173));
    drawSurface(p, QRectF(at::row2), palette::statRow2, 6);
    drawSlot(p, QRectF(at::bar2), QColor(209, 98, 98));
}

void overview(QPainter& p, QSize) {
    drawTitleTab(p, QRectF(layout::overview::title), palette::titleTab);
    overviewRows(p);
}

void overviewTheme(QPainter& p, QSize) {
    drawTitleTab(p, QRectF(layout::overview::themeTitle), palette::titleTab);
    overviewRows(p);
}

void themePage1(QPainter& p, QSize) {
    for (int n = 1; n <= 8; ++n) {
        const QRect bar = layout::themePage1::bar(n);
        stripe(p, QRectF(8, bar.top() - 10, 530, 30), n - 1);
        themeCaption(p, bar.top(), bar.bottom() + 1, QString::fromUtf8(layout::kThemeCaptions[n - 1]));
        barSlot(p, bar);
    }
}

void themePage2(QPainter& p, QSize) {
    twoBarRows(p, layout::themePage2::upper, layout::themePage2::lower);
    legendLine(p, 446, palette::barMagenta, QStringLiteral("beantwortete Fragen"));
    legendLine(p, 466, palette::barBlue, QStringLiteral("davon richtig in %"));
}

void themePage3(QPainter& p, QSize) {
    twoBarRows(p, layout::themePage2::upper, layout::themePage2::lower);
    legendLine(p, 446, palette::barMagenta, QStringLiteral("beantwortete Fragen"));
    legendLine(p, 466, palette::barBlue, QStringLiteral("davon richtig von allen Fragen in %"));
}

void compare(QPainter& p, QSize) {
    namespace at = layout::compare;
    twoBarRows(p, at::learner1, at::learner2);
    // The two learners: a colour square before the place of each name.
    drawSwatch(p, QRectF(at::name1.left() - 22, at::name1.top() + 1, 14, 14), palette::barMagenta);
    drawSlot(p, QRectF(at::name1), palette::barBack);
    drawSwatch(p, QRectF(at::name2.left() - 22, at::name2.top() + 1, 14, 14), palette::barBlue);
    drawSlot(p, QRectF(at::name2), palette::barBack);
}

} // namespace

const ui::art::Artwork& artwork() {
    using K = ui::art::SkinKind;
    static const ui::art::Artwork art{
        {
            {"Statist1", 476, 270, K::Dialog, "", 66, overview},
            {"StatistT", 476, 270, K::Dialog, "", 66, overviewTheme},
            {"StatThem", 546, 330, K::Dialog, "Statistik - Richtige Antworten in den einzelnen Themengebieten", 58,
             themePage1},
            {"StatRic1", 546, 501, K::Dialog, "Geprüfte Fragen je Thema und davon richtig in %", 63, themePage2},
            {"StatRic2", 546, 500, K::Dialog, "Geprüfte Fragen je Thema und davon richtig am Gesamt", 62, themePage3},
            {"StatVerg", 546, 501, K::Dialog, "Statistik - Richtige Antworten im Benutzervergleich", 63, compare},
        },
        {},
        {},
    };
    return art;
}

void registerArtwork() {
    ui::art::registerArtwork(artwork());
}

} // namespace stats
