#include "ui/progressbar.h"

#include <QPainter>

namespace ui {

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 10);
    setValue(0);
    setTextVisible(true);
}

void ProgressBar::setTotal(int total) {
    // QProgressBar would show a busy indicator for an empty range; a total of 0 simply shows an empty bar.
    setRange(0, qMax(0, total));
    update();
}

void ProgressBar::setPosition(int value) {
    // Values past the total are held at the end instead of being dropped.
    setValue(qBound(minimum(), value, qMax(minimum(), maximum())));
    update();
}

void ProgressBar::setBarColor(const QColor& color) {
    m_bar = color;
    update();
}

void ProgressBar::setTextColor(const QColor& color) {
    m_text = color;
    update();
}

void ProgressBar::setBackgroundColor(const QColor& color) {
    m_background = color;
    update();
}

QString ProgressBar::percentText(long long value, long long total) {
    if (total == 0) total = 1;
    const long long percent = value * 100 / total;
    return QStringLiteral("%1%").arg(percent, 3, 10, QLatin1Char(' '));
}

QString ProgressBar::text() const {
    return percentText(value() < 0 ? 0 : value(), maximum());
}

void ProgressBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, m_background);
    const QRect inner = r.adjusted(1, 1, -1, -1);
    const int total = maximum() - minimum();
    const int filled = total > 0 ? int(qint64(inner.width()) * qMax(0, value() - minimum()) / total) : 0;
    if (filled > 0) p.fillRect(QRect(inner.left(), inner.top(), filled, inner.height()), m_bar);
    p.setPen(QPen(m_background.darker(130), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
    if (isTextVisible()) {
        // The text colour, unless it would vanish into what lies under it (white text on a white bar, black on
        // dark blue): over the empty part the bar colour instead, over the filled part white or black.
        const auto lum = [](const QColor& c) { return 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue(); };
        const QColor emptyText = qAbs(lum(m_text) - lum(m_background)) < 60 ? m_bar : m_text;
        const QColor filledText =
            qAbs(lum(m_text) - lum(m_bar)) < 60 ? (lum(m_bar) < 128 ? QColor(Qt::white) : QColor(Qt::black)) : m_text;
        p.setFont(font());
        p.save();
        p.setClipRect(QRect(inner.left(), r.top(), filled, r.height()));
        p.setPen(filledText);
        p.drawText(r, Qt::AlignCenter, text());
        p.setClipRect(QRect(inner.left() + filled, r.top(), r.width() - filled, r.height()));
        p.setPen(emptyText);
        p.drawText(r, Qt::AlignCenter, text());
        p.restore();
    }
}

} // namespace ui
