#include "printout/printcanvas.h"

#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>

#include "ui/fonts.h"

namespace printout {

PainterCanvas::PainterCanvas(QPainter& painter, QPagedPaintDevice& device) : m_painter(painter), m_device(device) {
    QPen pen(Qt::black);
    // A hairline would all but vanish at a printer's resolution.
    pen.setWidthF(device.logicalDpiX() / 150.0);
    m_painter.setPen(pen);
}

int PainterCanvas::width() const {
    return m_device.width();
}

int PainterCanvas::height() const {
    return m_device.height();
}

void PainterCanvas::text(double x, double y, PrintFont font, const QString& text) {
    switch (font) {
    case PrintFont::Normal:
        m_painter.setFont(ui::fontPt(QStringLiteral("Times Roman"), 8));
        break;
    case PrintFont::Bold:
        m_painter.setFont(ui::fontPt(QStringLiteral("MS Sans Serif"), 8, true));
        break;
    case PrintFont::Heading:
        m_painter.setFont(ui::fontPt(QStringLiteral("MS Sans Serif"), 12, true));
        break;
    }
    m_painter.drawText(QRectF(x, y, m_device.width(), m_device.height() / 20.0),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine, text);
}

void PainterCanvas::line(double x1, double y1, double x2, double y2) {
    m_painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PainterCanvas::picture(const QRectF& target, const QByteArray& bmp) {
    QImage image;
    if (image.loadFromData(bmp, "BMP")) m_painter.drawImage(target, image);
}

bool PainterCanvas::newPage() {
    return m_device.newPage();
}

} // namespace printout
