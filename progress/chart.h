#pragma once

#include <QWidget>

#include <vector>

#include "progress/history.h"

class QPainter;

namespace progress {

// The error points of a class's exams in the order they were taken, as bars (green passed, red failed), against
// the class's limit as a dashed line; at most the latest `kChartExams`.
inline constexpr int kChartExams = 20;
void paintHistoryChart(QPainter& p, const QRectF& area, const std::vector<RecordedExam>& exams, int limit);

class HistoryChart : public QWidget {
    Q_OBJECT
public:
    explicit HistoryChart(QWidget* parent = nullptr) : QWidget(parent) {}
    void setExams(std::vector<RecordedExam> exams, int limit);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<RecordedExam> m_exams;
    int m_limit = 10;
};

} // namespace progress
