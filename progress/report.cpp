#include "progress/report.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include "core/context.h"
#include "progress/chart.h"
#include "progress/lernstand.h"
#include "ui/fonts.h"

namespace progress {

namespace {

QString percent(double v) {
    return QStringLiteral("%1 %").arg(percentOf(v));
}

QString decimal(double v) {
    return QString::number(v, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

void paintReportPage(QPainter& p, QPagedPaintDevice& device, const ClassSummary& s, const QString& learner,
                     const QDateTime& printed) {
    // Laid out in millimetres of an A4 page, whatever the printer's resolution.
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const qreal mm = device.logicalDpiX() / 25.4;
    p.save();
    const qreal left = 0, width = page.width();
    qreal y = 0;
    const auto font = [&](qreal pt, bool bold = false) {
        QFont f = ui::fontPx(QStringLiteral("Liberation Sans"), int(pt * mm * 0.3528 + 0.5), bold);
        p.setFont(f);
        return QFontMetricsF(f).height();
    };
    const auto line = [&](const QString& text, qreal pt, bool bold = false, qreal x = 0) {
        const qreal h = font(pt, bold);
        p.drawText(QRectF(left + x, y, width - x, h), Qt::AlignLeft | Qt::AlignVCenter, text);
        y += h;
    };

    p.setPen(Qt::black);
    line(QStringLiteral("Lernstand und Prüfungsreife – Klasse %1").arg(s.classCode), 18, true);
    line(QStringLiteral("%1, gedruckt am %2")
             .arg(learner.isEmpty() ? QStringLiteral("Lernende(r)") : learner,
                  printed.toString(QStringLiteral("dd.MM.yyyy 'um' hh:mm"))),
         10);
    y += 4 * mm;

    // Readiness with its light.
    const Readiness& r = s.readiness;
    const bool known = r.exams > 0 && r.questions > 0;
    paintTrafficLight(p, QRectF(left, y, 12 * mm, 30 * mm), known ? std::optional(lightOf(r.passRate)) : std::nullopt);
    const qreal textLeft = 18 * mm;
    const qreal top = y;
    line(QStringLiteral("Prüfungsreife: %1").arg(known ? percent(r.passRate) : QStringLiteral("–")), 16, true,
         textLeft);
    line(QStringLiteral("geschätzt aus %1 durchgespielten Prüfungen zu je %2 Fragen").arg(r.exams).arg(r.questions), 9,
         false, textLeft);
    if (!r.costliest.empty()) {
        line(QStringLiteral("Die meisten Fehlerpunkte kosten:"), 10, true, textLeft);
        for (const ThemeCost& c : r.costliest)
            line(QStringLiteral("%1 – %2 Punkte je Prüfung").arg(themeName(c.theme), decimal(c.points)), 10, false,
                 textLeft + 4 * mm);
    }
    y = std::max(y, top + 31 * mm) + 4 * mm;

    // Statistics per theme.
    line(QStringLiteral("Statistik je Thema"), 12, true);
    const qreal cols[5] = {0, 80 * mm, 105 * mm, 135 * mm, 160 * mm};
    const QString heads[5] = {QStringLiteral("Thema"), QStringLiteral("Fragen"), QStringLiteral("beantwortet"),
                              QStringLiteral("richtig"), QStringLiteral("Antworten")};
    const auto row = [&](const QString(&cells)[5], bool bold) {
        const qreal h = font(9.5, bold);
        for (int i = 0; i < 5; ++i)
            p.drawText(QRectF(left + cols[i], y, (i < 4 ? cols[i + 1] - cols[i] : 25 * mm) - 2 * mm, h),
                       (i == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, cells[i]);
        y += h;
    };
    row(heads, true);
    ThemeCounts sum;
    for (int t = 1; t <= 8; ++t) {
        const ThemeCounts& c = s.themes[std::size_t(t)];
        sum.questions += c.questions;
        sum.answered += c.answered;
        sum.right += c.right;
        sum.answers += c.answers;
        const QString cells[5] = {themeName(t), QString::number(c.questions), QString::number(c.answered),
                                  QString::number(c.right), QString::number(c.answers)};
        row(cells, false);
    }
    const QString total[5] = {QStringLiteral("zusammen"), QString::number(sum.questions), QString::number(sum.answered),
                              QString::number(sum.right), QString::number(sum.answers)};
    row(total, true);
    y += 4 * mm;

    // The exams of the class.
    line(QStringLiteral("Prüfungssimulationen (%1)").arg(s.exams.size()), 12, true);
    paintHistoryChart(p, QRectF(left, y, width * 0.7, 45 * mm), s.exams, s.limit);
    y += 48 * mm;

    // The weakest questions.
    line(QStringLiteral("Die %1 unsichersten Fragen").arg(s.weakest.size()), 12, true);
    const qreal half = width / 2;
    const qreal start = y;
    for (std::size_t i = 0; i < s.weakest.size(); ++i) {
        const QuestionState& q = s.weakest[i];
        if (i == (s.weakest.size() + 1) / 2) y = start;
        const qreal x = i < (s.weakest.size() + 1) / 2 ? 0 : half;
        const qreal h = font(9);
        p.drawText(QRectF(left + x, y, half - 2 * mm, h), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("%1  Thema %2, %3 Punkte, %4× richtig, %5× falsch")
                       .arg(QString::fromStdString(q.FRAGENR))
                       .arg(q.theme)
                       .arg(q.points)
                       .arg(q.RICHTIG)
                       .arg(q.FALSCH));
        y += h;
    }
    p.restore();
}

QStringList reportClasses(core::Context& ctx, const History& history, const QString& current) {
    QStringList classes;
    for (const QString& code : classCodes()) {
        bool used = sameClass(code, current);
        for (const RecordedExam& e : history.exams)
            used = used || sameClass(e.classCode, code);
        if (!used)
            for (const QuestionState& q : classQuestions(ctx, code, history))
                if (q.RICHTIG + q.FALSCH > 0) {
                    used = true;
                    break;
                }
        if (used) classes << code;
    }
    return classes;
}

bool printReport(core::Context& ctx, const QStringList& classes) {
    const History history = readHistory(ctx);
    std::vector<ClassSummary> pages;
    {
        core::BusyScope busy(ctx.messages());
        for (const QString& code : classes)
            pages.push_back(summarize(ctx, code, history));
    }
    const QString learner = ctx.login().CS_USER;
    const QDateTime now = ctx.clock().now();
    return ctx.printer().print(QStringLiteral("Lernstand"), [&](QPainter& p, QPagedPaintDevice& device) {
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0 && !device.newPage()) return false;
            paintReportPage(p, device, pages[i], learner, now);
        }
        return !pages.empty();
    });
}

} // namespace progress
