#pragma once

#include "printout/pages.h"

class QPainter;
class QPagedPaintDevice;

namespace printout {

// The pages drawn with the printer's painter: fonts at their point sizes on the printer's resolution.
class PainterCanvas : public PageCanvas {
public:
    PainterCanvas(QPainter& painter, QPagedPaintDevice& device);
    int width() const override;
    int height() const override;
    void text(double x, double y, PrintFont font, const QString& text) override;
    void line(double x1, double y1, double x2, double y2) override;
    void picture(const QRectF& target, const QByteArray& bmp) override;
    bool newPage() override;

private:
    QPainter& m_painter;
    QPagedPaintDevice& m_device;
};

} // namespace printout
