#include "progress/chart.h"

#include <QPainter>

#include <algorithm>

#include "ui/artwork.h"
#include "ui/fonts.h"

namespace progress {

void paintHistoryChart(QPainter& p, const QRectF& area, const std::vector<RecordedExam>& all, int limit) {
    namespace pal = ui::art::palette;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = ui::fontPx(QStringLiteral("MS Sans Serif"), std::max(8, int(area.height() / 14)));
    p.setFont(font);
    const qreal text = QFontMetricsF(font).height();
    const QRectF plot = area.adjusted(text * 2, text * 1.8, -4, -text * 1.2);
    const std::vector<RecordedExam> exams(all.size() > std::size_t(kChartExams) ? all.end() - kChartExams : all.begin(),
                                          all.end());
    int top = std::max(limit + 4, 12);
    for (const RecordedExam& e : exams)
        top = std::max(top, e.errors + 2);
    const auto y = [&](double v) { return plot.bottom() - plot.height() * v / top; };

    p.setPen(pal::ink);
    p.drawText(QRectF(area.left(), area.top(), area.width(), text), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Fehlerpunkte je Prüfung"));
    p.setPen(QPen(pal::panelBorder, 1));
    p.drawLine(QPointF(plot.left(), plot.bottom()), plot.bottomRight());
    p.drawLine(plot.topLeft(), QPointF(plot.left(), plot.bottom()));
    p.setPen(pal::muted);
    for (int v : {0, limit, top}) {
        p.drawText(QRectF(area.left(), y(v) - text / 2, text * 2 - 3, text), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(v));
    }
    if (exams.empty()) {
        p.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("Noch keine Prüfung\nin dieser Klasse"));
    } else {
        const qreal slot = plot.width() / std::max<std::size_t>(exams.size(), 5);
        for (std::size_t i = 0; i < exams.size(); ++i) {
            const RecordedExam& e = exams[i];
            const QRectF bar(plot.left() + slot * i + slot * 0.18, y(e.errors), slot * 0.64, plot.bottom() - y(e.errors));
            p.setPen(Qt::NoPen);
            p.setBrush(e.passed ? QColor(0x3c, 0xa0, 0x4a) : QColor(0xd2, 0x3c, 0x32));
            p.drawRect(bar.height() < 1.5 ? bar.adjusted(0, -1.5, 0, 0) : bar);
            p.setPen(pal::muted);
            p.drawText(QRectF(plot.left() + slot * i, plot.bottom() + 1, slot, text), Qt::AlignCenter,
                       QString::number(e.number));
        }
    }
    // The limit: at most this many error points pass.
    p.setPen(QPen(QColor(0xd2, 0x3c, 0x32), 1.5, Qt::DashLine));
    p.drawLine(QPointF(plot.left(), y(limit)), QPointF(plot.right(), y(limit)));
    p.setPen(QColor(0xd2, 0x3c, 0x32));
    p.drawText(QRectF(plot.right() - 120, y(limit) - text - 1, 120, text), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Grenze %1").arg(limit));
    p.restore();
}

void HistoryChart::setExams(std::vector<RecordedExam> exams, int limit) {
    m_exams = std::move(exams);
    m_limit = limit;
    update();
}

void HistoryChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintHistoryChart(p, QRectF(rect()), m_exams, m_limit);
}

} // namespace progress
