#include "ui/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ui/fonts.h"

namespace ui::art {

namespace {

constexpr int kBandHeight = 34;

QPixmap canvas(QSize size, qreal dpr) {
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

QLinearGradient vertical(qreal top, qreal bottom, const QColor& a, const QColor& b) {
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

void drawPanel(QPainter& p, const QRectF& r) {
    p.setPen(QPen(palette::panelBorder, 1));
    p.setBrush(palette::panel);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

// A round emblem with a letter: the question mark of questions, the "i" of notices.
void drawEmblem(QPainter& p, QPointF centre, qreal radius, const QString& letter) {
    QRadialGradient g(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    g.setColorAt(0, palette::primaryTop);
    g.setColorAt(1, palette::primaryBottom);
    p.setPen(QPen(palette::primaryBorder, 1));
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    p.setPen(Qt::white);
    p.setFont(fontPx(QStringLiteral("Arial"), int(radius * 1.3), true));
    p.drawText(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius + 1), Qt::AlignCenter, letter);
}

void drawFrame(QPainter& p, QSize size) {
    const QRectF outer(0.5, 0.5, size.width() - 1, size.height() - 1);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette::ink, 1));
    p.drawRect(outer);
    p.setPen(QPen(QColor(255, 255, 255, 170), 1));
    p.drawRect(outer.adjusted(1, 1, -1, -1));
}

void drawBand(QPainter& p, QSize size, const QString& heading) {
    const int w = size.width();
    p.fillRect(QRectF(0, 0, w, kBandHeight), vertical(0, kBandHeight, palette::bandTop, palette::bandBottom));
    p.fillRect(QRectF(0, kBandHeight, w, 2), palette::bandLine);
    p.fillRect(QRectF(0, kBandHeight + 2, w, 1), palette::accent);
    if (!heading.isEmpty()) {
        p.setPen(palette::ink);
        p.setFont(fontPx(QStringLiteral("Arial"), 15, true));
        p.drawText(QRectF(12, 6, w - 60, 22), Qt::AlignLeft | Qt::AlignVCenter, heading);
    }
}

void drawBody(QPainter& p, QSize size, int top) {
    p.fillRect(QRectF(0, top, size.width(), size.height() - top),
               vertical(top, size.height(), palette::bodyTop, palette::bodyBottom));
}

void drawFooter(QPainter& p, QSize size, int footer) {
    if (footer <= 0) return;
    const qreal top = size.height() - footer;
    p.fillRect(QRectF(0, top, size.width(), footer),
               vertical(top, size.height(), palette::footer, palette::bodyBottom.darker(104)));
    p.fillRect(QRectF(0, top, size.width(), 1), palette::panelBorder);
    p.fillRect(QRectF(0, top + 1, size.width(), 1), QColor(255, 255, 255, 150));
}

// A faint steering wheel in the body: the program's mark, quiet enough to sit behind any control.
void drawWatermark(QPainter& p, QSize size, int top, int footer) {
    const qreal bottom = size.height() - footer;
    const qreal room = bottom - top;
    if (room < 80) return;
    const qreal r = qMin<qreal>(room * 0.42, size.width() * 0.22);
    const QPointF c(size.width() - r - 18, bottom - r - 12);
    p.save();
    QColor ink = palette::ink;
    ink.setAlpha(13);
    p.setPen(QPen(ink, r * 0.16));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(ink, r * 0.12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(-r * 0.92, -r * 0.1));
    p.drawLine(c, c + QPointF(r * 0.92, -r * 0.1));
    p.drawLine(c, c + QPointF(0, r * 0.92));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(c, r * 0.2, r * 0.2);
    p.restore();
}

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
    case Glyph::None:
        break;
    }
    p.drawPath(path);
}

} // namespace

QPixmap drawSkin(QSize size, SkinKind kind, const QString& heading, int footer, qreal dpr) {
    QPixmap pm = canvas(size, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const int w = size.width();
    const int h = size.height();

    if (kind == SkinKind::Page) {
        drawBody(p, size, 0);
        drawPanel(p, QRectF(8, 8, w - 16, h - 16));
        return pm;
    }

    drawBand(p, size, heading);
    drawBody(p, size, kBandHeight + 3);
    switch (kind) {
    case SkinKind::Question:
    case SkinKind::Notice: {
        // The message lies at 50, 64 (292 x 60); the emblem sits in the free space left of it.
        const QRectF panel(12, 44, w - 24, 76);
        drawPanel(p, panel);
        drawEmblem(p, QPointF(38, panel.center().y()), 17,
                   kind == SkinKind::Question ? QStringLiteral("?") : QStringLiteral("i"));
        break;
    }
    case SkinKind::Progress:
        drawPanel(p, QRectF(10, 42, w - 20, h - 52));
        break;
    case SkinKind::Dialog:
        drawWatermark(p, size, kBandHeight + 3, footer);
        drawFooter(p, size, footer);
        break;
    case SkinKind::Page:
        break;
    }
    drawFrame(p, size);
    return pm;
}

QPixmap drawButton(QSize size, ButtonStyle style, Glyph glyph, const QString& caption, qreal dpr) {
    QPixmap pm = canvas(size, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QColor top, bottom, border, text;
    switch (style) {
    case ButtonStyle::Primary:
        top = palette::primaryTop, bottom = palette::primaryBottom, border = palette::primaryBorder;
        text = Qt::white;
        break;
    case ButtonStyle::Secondary:
        top = palette::secondaryTop, bottom = palette::secondaryBottom, border = palette::secondaryBorder;
        text = palette::ink;
        break;
    case ButtonStyle::Inactive:
        top = palette::inactiveTop, bottom = palette::inactiveBottom, border = palette::inactiveBottom.darker(125);
        text = palette::inactiveText;
        break;
    }
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const qreal radius = qMin<qreal>(8, size.height() / 3.0);
    p.setPen(QPen(border, 1));
    p.setBrush(vertical(0, size.height(), top, bottom));
    p.drawRoundedRect(r, radius, radius);
    // A soft highlight on the upper half gives the button its body.
    p.setPen(Qt::NoPen);
    QColor shine(255, 255, 255, style == ButtonStyle::Primary ? 50 : 110);
    p.setBrush(vertical(1, size.height() / 2.0, shine, QColor(255, 255, 255, 0)));
    p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -size.height() / 2.0), radius - 1, radius - 1);

    QFont font = fontPx(QStringLiteral("Arial"), qBound(10, size.height() * 13 / 31, 18), true);
    const QFontMetricsF fm(font);
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    const qreal glyphSize = glyph == Glyph::None ? 0 : qRound(size.height() * 0.45);
    const qreal gap = glyph == Glyph::None ? 0 : 6;
    qreal textWidth = fm.horizontalAdvance(plain);
    if (glyphSize + gap + textWidth > size.width() - 10) {
        // Long captions: drop the glyph before shrinking the text.
        const qreal room = size.width() - 10;
        if (textWidth > room) font.setPixelSize(qMax(8, int(font.pixelSize() * room / textWidth)));
        textWidth = QFontMetricsF(font).horizontalAdvance(plain);
        glyph = Glyph::None;
    }
    const qreal gs = glyph == Glyph::None ? 0 : glyphSize;
    const qreal gg = glyph == Glyph::None ? 0 : gap;
    const qreal total = gs + gg + textWidth;
    const qreal x0 = (size.width() - total) / 2.0;
    drawGlyph(p, glyph, QRectF(x0, (size.height() - gs) / 2.0, gs, gs), text);
    p.setFont(font);
    if (style == ButtonStyle::Primary) {
        p.setPen(QColor(0, 0, 0, 70));
        p.drawText(QRectF(x0 + gs + gg, 1, textWidth + 2, size.height()),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, caption);
    }
    p.setPen(text);
    p.drawText(QRectF(x0 + gs + gg, 0, textWidth + 2, size.height()),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, caption);
    return pm;
}

} // namespace ui::art
