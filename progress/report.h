#pragma once

#include <QString>
#include <QStringList>

#include <vector>

#include "progress/review.h"

class QPainter;
class QPagedPaintDevice;

namespace core {
class Context;
}

namespace progress {

// One page of the progress report: the learner and the date, the readiness with its light, the statistics per
// theme, the chart of the class's exams and its 20 weakest questions with their numbers.
void paintReportPage(QPainter& p, QPagedPaintDevice& device, const ClassSummary& summary, const QString& learner,
                     const QDateTime& printed);

// The classes the report covers: those the learner has answered questions of or taken exams in, in the menu's
// order, and always `current`.
QStringList reportClasses(core::Context& ctx, const History& history, const QString& current);

// Prints one page per class through the printer service (which offers a PDF file as well). False when the
// learner cancelled or the printer failed.
bool printReport(core::Context& ctx, const QStringList& classes);

} // namespace progress
