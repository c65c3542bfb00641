#include "ui/artwork.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include "ui/art_common.h"
#include "ui/fonts.h"

namespace ui::art {

namespace detail {

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

void drawBand(QPainter& p, int w, const QString& heading, qreal headingRight) {
    p.fillRect(QRectF(0, 0, w, kBandHeight), vertical(0, kBandHeight, palette::bandTop, palette::bandBottom));
    p.fillRect(QRectF(0, kBandHeight, w, 2), palette::bandLine);
    p.fillRect(QRectF(0, kBandHeight + 2, w, 1), palette::accent);
    if (!heading.isEmpty())
        drawFitted(p, QRectF(12, 6, headingRight - 12, 22), heading, 15, true, palette::ink,
                   Qt::AlignLeft | Qt::AlignVCenter);
}

void drawBody(QPainter& p, QSize size, int top) {
    p.fillRect(QRectF(0, top, size.width(), size.height() - top),
               vertical(top, size.height(), palette::bodyTop, palette::bodyBottom));
}

void drawFooter(QPainter& p, QSize size, int footer, int cut) {
    if (footer <= 0) return;
    const qreal top = size.height() - footer;
    const qreal bottom = size.height() - cut;
    p.fillRect(QRectF(0, top, size.width(), footer),
               vertical(top, bottom, palette::footer, palette::bodyBottom.darker(104)));
    p.fillRect(QRectF(0, top, size.width(), 1), palette::panelBorder);
    p.fillRect(QRectF(0, top + 1, size.width(), 1), QColor(255, 255, 255, 150));
}

void drawFrame(QPainter& p, QSize size, int cut) {
    // The dialog shows the skin less `cut` pixels; the frame goes round what is seen, the rest is ink.
    const qreal w = size.width() - cut;
    const qreal h = size.height() - cut;
    if (cut > 0) {
        p.fillRect(QRectF(w, 0, cut, size.height()), palette::ink);
        p.fillRect(QRectF(0, h, size.width(), cut), palette::ink);
    }
    const QRectF outer(0.5, 0.5, w - 1, h - 1);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette::ink, 1));
    p.drawRect(outer);
    p.setPen(QPen(QColor(255, 255, 255, 170), 1));
    p.drawRect(outer.adjusted(1, 1, -1, -1));
}

// A faint steering wheel: the program's mark, quiet enough to sit behind any control.
void drawWatermark(QPainter& p, const QRectF& area) {
    if (area.height() < 80) return;
    const qreal r = qMin<qreal>(area.height() * 0.42, area.width() * 0.22);
    const QPointF c(area.right() - r - 18, area.bottom() - r - 12);
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

void drawPictureMat(QPainter& p, const QRectF& r) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 30));
    p.drawRoundedRect(r.adjusted(-3, -3, 3, 4), 4, 4);
    p.setPen(QPen(palette::ink, 1));
    p.setBrush(QColor(0xe4, 0xe7, 0xec));
    p.drawRect(r.adjusted(-1.5, -1.5, 1.5, 1.5));
    p.restore();
}

void drawShadow(QPainter& p, const QRectF& r) {
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 12));
        p.drawRoundedRect(r.adjusted(-i, -i + 1, i, i + 1), 3 + i, 3 + i);
    }
    p.restore();
}

void drawSurface(QPainter& p, const QRectF& r, const QColor& fill, qreal radius) {
    p.save();
    // A soft shadow below, then the surface with a slightly darker rim and a light inner edge.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 18));
    p.drawRoundedRect(r.translated(0, 1.5), radius, radius);
    p.setPen(QPen(fill.darker(135), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
    p.restore();
}

void drawTitleTab(QPainter& p, const QRectF& label, const QColor& fill) {
    // Rounded at the top, open into the band's lower line, a little larger than the label it carries.
    const QRectF r(label.left() - 6, label.top() - 4, label.width() + 12, kBandHeight - label.top() + 4);
    QPainterPath path;
    const qreal rad = 6;
    path.moveTo(r.left(), r.bottom());
    path.lineTo(r.left(), r.top() + rad);
    path.quadTo(r.left(), r.top(), r.left() + rad, r.top());
    path.lineTo(r.right() - rad, r.top());
    path.quadTo(r.right(), r.top(), r.right(), r.top() + rad);
    path.lineTo(r.right(), r.bottom());
    p.save();
    p.setPen(QPen(palette::bandLine, 1));
    p.setBrush(fill);
    p.drawPath(path.translated(0.5, 0.5));
    p.restore();
}

void drawSlot(QPainter& p, const QRectF& r, const QColor& fill) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(r.adjusted(-2, -2, 2, 2), 3, 3);
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(-1, -1, 1, 1), 2, 2);
    p.restore();
}

void drawSwatch(QPainter& p, const QRectF& r, const QColor& fill) {
    p.save();
    p.setPen(QPen(fill.darker(160), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    p.restore();
}

// The light panel of the message skins.
void drawPanelBox(QPainter& p, const QRectF& r) {
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

void drawFitted(QPainter& p, const QRectF& r, const QString& text, int px, bool bold, const QColor& colour,
                Qt::Alignment align) {
    QFont font = fontPx(QStringLiteral("Arial"), px, bold);
    QString plain = text;
    plain.remove(QLatin1Char('&'));
    while (font.pixelSize() > 8 && QFontMetricsF(font).horizontalAdvance(plain) > r.width())
        font.setPixelSize(font.pixelSize() - 1);
    p.save();
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, int(align) | Qt::TextShowMnemonic, text);
    p.restore();
}

} // namespace detail

using namespace detail;

QPixmap drawSkin(const SkinEntry& e, qreal dpr) {
    const QSize size(e.width, e.height);
    QPixmap pm = canvas(size, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const int w = size.width();
    const int h = size.height();
    const QString heading = QString::fromUtf8(e.heading);

    switch (e.kind) {
    case SkinKind::Page:
        drawBody(p, size, 0);
        if (e.decorate)
            e.decorate(p, size);
        else
            drawPanelBox(p, QRectF(8, 8, w - 16, h - 16));
        return pm;
    case SkinKind::Plain:
        drawBody(p, size, 0);
        break;
    case SkinKind::Question:
    case SkinKind::Notice: {
        drawBand(p, w, heading, w - 48);
        drawBody(p, size, kBandHeight + 3);
        // The message lies at 50, 64 (292 x 60); the emblem sits in the free space left of it.
        const QRectF panel(12, 44, w - 24, 76);
        drawPanelBox(p, panel);
        drawEmblem(p, QPointF(38, panel.center().y()), 17,
                   e.kind == SkinKind::Question ? QStringLiteral("?") : QStringLiteral("i"));
        break;
    }
    case SkinKind::Progress:
        drawBand(p, w, heading, w - 48);
        drawBody(p, size, kBandHeight + 3);
        drawPanelBox(p, QRectF(10, 42, w - 20, h - 52));
        break;
    case SkinKind::Dialog:
        drawBand(p, w, heading, w - 48);
        drawBody(p, size, kBandHeight + 3);
        if (!e.decorate) drawWatermark(p, QRectF(0, kBandHeight + 3, w - e.cut, h - e.footer - kBandHeight - 3));
        drawFooter(p, size, e.footer, e.cut);
        break;
    }
    if (e.decorate) e.decorate(p, size);
    drawFrame(p, size, e.cut);
    return pm;
}

namespace {

// A big card of the theme selection: coloured pictogram on the left, caption (one or two lines) and a
// quieter second line.
QPixmap drawTile(const ButtonEntry& e, qreal dpr) {
    const QSize size(e.width, e.height);
    QPixmap pm = canvas(size, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const qreal radius = 10;
    p.setPen(QPen(palette::secondaryBorder, 1));
    p.setBrush(vertical(0, size.height(), palette::secondaryTop, palette::secondaryBottom));
    p.drawRoundedRect(r, radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(1, size.height() / 2.0, QColor(255, 255, 255, 120), QColor(255, 255, 255, 0)));
    p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -size.height() / 2.0), radius - 1, radius - 1);

    // The pictogram sits on a round plate, so signs of every shape look alike in size.
    const qreal plate = size.height() - 14;
    const QRectF plateRect(9, (size.height() - plate) / 2.0, plate, plate);
    p.setPen(QPen(palette::panelBorder, 1));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(plateRect);
    drawPictogram(p, e.glyph, plateRect.adjusted(6, 6, -6, -6));

    const qreal left = plateRect.right() + 12;
    const qreal room = size.width() - left - 10;
    QString caption = QString::fromUtf8(e.caption);
    const QString subtitle = e.subtitle ? QString::fromUtf8(e.subtitle) : QString();
    QFont font = fontPx(QStringLiteral("Arial"), 16, true);
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    // Too long for one line: break at the last blank that lets the first line fit.
    QStringList lines{caption};
    if (QFontMetricsF(font).horizontalAdvance(plain) > room) {
        const QStringList words = caption.split(QLatin1Char(' '));
        for (int i = words.size() - 1; i > 0; --i) {
            QString first = words.mid(0, i).join(QLatin1Char(' '));
            QString firstPlain = first;
            firstPlain.remove(QLatin1Char('&'));
            if (QFontMetricsF(font).horizontalAdvance(firstPlain) <= room) {
                lines = {first, words.mid(i).join(QLatin1Char(' '))};
                break;
            }
        }
    }
    QFont small = fontPx(QStringLiteral("Arial"), 12, false);
    const QFontMetricsF fm(font), sm(small);
    const qreal lineH = fm.height();
    const qreal block = lines.size() * lineH + (subtitle.isEmpty() ? 0 : sm.height() + 1);
    qreal y = (size.height() - block) / 2.0;
    const QColor text = e.style == ButtonStyle::Inactive ? palette::inactiveText : palette::ink;
    for (const QString& line : lines) {
        drawFitted(p, QRectF(left, y, room, lineH), line, 16, true, text, Qt::AlignLeft | Qt::AlignVCenter);
        y += lineH;
    }
    if (!subtitle.isEmpty())
        drawFitted(p, QRectF(left, y + 1, room, sm.height()), subtitle, 12, false, palette::muted,
                   Qt::AlignLeft | Qt::AlignVCenter);
    return pm;
}

} // namespace

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
    case ButtonStyle::Tile:
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

QPixmap drawButton(const ButtonEntry& e, qreal dpr) {
    if (e.style == ButtonStyle::Tile || e.subtitle) return drawTile(e, dpr);
    return drawButton(QSize(e.width, e.height), e.style, e.glyph, QString::fromUtf8(e.caption), dpr);
}

QPixmap drawPicture(const PictureEntry& e, qreal dpr) {
    const QSize size(e.width, e.height);
    QPixmap pm = canvas(size, dpr);
    if (e.opaque) pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    e.paint(p, size);
    return pm;
}

QPixmap draw(const QString& name, qreal dpr) {
    if (const auto* s = findSkin(name)) return drawSkin(*s, dpr);
    if (const auto* b = findButton(name)) return drawButton(*b, dpr);
    if (const auto* pic = findPicture(name)) return drawPicture(*pic, dpr);
    return {};
}

QIcon icon(const QString& name) {
    const auto* e = findPicture(name);
    if (!e) return {};
    // Drawn afresh at each size: the same shapes scaled by the painter, never a scaled bitmap.
    QIcon result;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        const qreal scale = qreal(side) / e->width;
        QPixmap pm(side, side);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(scale, scale);
        e->paint(p, QSize(e->width, e->height));
        p.end();
        result.addPixmap(pm);
    }
    return result;
}

} // namespace ui::art
