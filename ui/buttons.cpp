#include "ui/buttons.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include "ui/artwork.h"
#include "ui/bitmaps.h"
#include "ui/cursors.h"

namespace ui {

BitmapButton::BitmapButton(const QString& bitmapName, const QString& toolTip, QWidget* parent)
    : QAbstractButton(parent) {
    setToolTip(toolTip);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(ui::cursor(CursorKind::Hand));
    setBitmap(bitmapName);
}

void BitmapButton::setBitmap(const QString& bitmapName) {
    m_name = bitmapName;
    m_pixmap = Bitmaps::get(bitmapName);
    followName();
    update();
}

// A screen reader says what the tooltip says; the picture's name only when there is no tooltip. A name the
// dialog set itself is kept.
void BitmapButton::followName() {
    if (!accessibleName().isEmpty() && accessibleName() != m_derivedName) return;
    m_derivedName = toolTip().isEmpty() ? m_name : toolTip();
    setAccessibleName(m_derivedName);
}

bool BitmapButton::event(QEvent* event) {
    if (event->type() == QEvent::ToolTipChange) followName();
    return QAbstractButton::event(event);
}

QSize BitmapButton::sizeHint() const {
    return m_pixmap.isNull() ? QSize(100, 34) : Bitmaps::logicalSize(m_pixmap) + QSize(1, 3);
}

void BitmapButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QSize pm = Bitmaps::logicalSize(m_pixmap);
    QPoint at((width() - pm.width()) / 2, (height() - pm.height()) / 2);
    if (isDown()) at += QPoint(1, 1);
    const QRectF box(at, pm);

    if (!m_pixmap.isNull()) {
        if (!isEnabled()) p.setOpacity(0.45);
        p.drawPixmap(at, m_pixmap);
        p.setOpacity(1.0);
    }
    const qreal radius = qMin<qreal>(8, box.height() / 3.0);
    if (isEnabled() && (m_hover || isDown())) {
        p.setPen(Qt::NoPen);
        p.setBrush(isDown() ? QColor(0, 0, 0, 40) : QColor(255, 255, 255, 45));
        p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    }
    if (hasFocus()) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(art::palette::accent, 2));
        p.drawRoundedRect(box.adjusted(-0.5, -0.5, 0.5, 0.5), radius + 1, radius + 1);
    }
}

void BitmapButton::enterEvent(QEnterEvent* event) {
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void BitmapButton::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

CloseButton::CloseButton(QWidget* parent) : QAbstractButton(parent) {
    setToolTip(QStringLiteral("Schließen"));
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QStringLiteral("Schließen"));
    setText(QStringLiteral("X"));
    setCursor(ui::cursor(CursorKind::Hand));
}

void CloseButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor fill = isDown()  ? art::palette::primaryBottom
                        : m_hover ? art::palette::primaryTop
                                  : QColor(255, 255, 255, 200);
    p.setPen(QPen(art::palette::ink, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, 3, 3);
    const qreal m = width() * 0.3;
    p.setPen(QPen((isDown() || m_hover) ? QColor(Qt::white) : art::palette::ink, qMax(1.5, width() / 9.0),
                  Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(m, m), QPointF(width() - m, height() - m));
    p.drawLine(QPointF(width() - m, m), QPointF(m, height() - m));
}

void CloseButton::enterEvent(QEnterEvent* event) {
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CloseButton::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace ui
