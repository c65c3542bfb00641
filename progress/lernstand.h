#pragma once

#include <QStringList>

#include "progress/readiness.h"
#include "progress/review.h"
#include "ui/skinneddialog.h"

namespace ui {
class BitmapButton;
class ComboBox;
class Grid;
class Label;
class ListGridSource;
} // namespace ui

namespace progress {

class HistoryChart;
class TrafficLight;

// The licence classes as the menu offers them, in its order.
const QStringList& classCodes();

// "Lernstand und Prüfungsreife": for the chosen class the readiness with its traffic light and the themes that
// cost most, the chart and the list of the class's exams (newest first); Ansehen opens one read-only, Fehler üben
// starts a training run over the mistakes, Drucken prints the report.
class LernstandDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    explicit LernstandDialog(core::Context& ctx, QWidget* parent = nullptr);
    ~LernstandDialog() override;

    QString classCode() const;
    void setClassCode(const QString& code);
    // Reads the history and the learner's table again and shows the class.
    void refresh();
    const ClassSummary& summary() const { return m_summary; }

    void review();   // the selected exam, question by question
    void practise(); // a training run over the class's mistakes
    void print();    // the report

    ui::ComboBox* classChoice() const { return m_class; }
    ui::Grid* historyGrid() const { return m_grid; }
    ui::Label* percentLabel() const { return m_percent; }
    ui::Label* verdictLabel() const { return m_verdict; }
    ui::Label* themesLabel() const { return m_themes; }
    TrafficLight* light() const { return m_light; }
    ui::BitmapButton* reviewButton() const { return m_show; }
    ui::BitmapButton* practiseButton() const { return m_practise; }
    ui::BitmapButton* printButton() const { return m_print; }
    ui::BitmapButton* endButton() const { return m_end; }

private:
    core::Context& m_ctx;
    History m_history;
    ClassSummary m_summary;
    std::unique_ptr<ui::ListGridSource> m_rows;
    ui::ComboBox* m_class = nullptr;
    ui::Grid* m_grid = nullptr;
    HistoryChart* m_chart = nullptr;
    TrafficLight* m_light = nullptr;
    ui::Label* m_percent = nullptr;
    ui::Label* m_verdict = nullptr;
    ui::Label* m_themes = nullptr;
    ui::BitmapButton* m_show = nullptr;
    ui::BitmapButton* m_practise = nullptr;
    ui::BitmapButton* m_print = nullptr;
    ui::BitmapButton* m_help = nullptr;
    ui::BitmapButton* m_end = nullptr;
    bool m_damageReported = false;
};

// The three lamps of the readiness; one of them lit.
class TrafficLight : public QWidget {
    Q_OBJECT
public:
    explicit TrafficLight(QWidget* parent = nullptr) : QWidget(parent) {}
    void setLight(std::optional<Light> light);
    std::optional<Light> lightShown() const { return m_light; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<Light> m_light;
};
void paintTrafficLight(QPainter& p, const QRectF& r, std::optional<Light> light);

// A training run over the class's mistakes in the training's own question dialog, with its verdict.
void practiseMistakes(core::Context& ctx, QWidget* owner, const QString& classCode);

// The menu's entry: the dialog over the main window.
void LERNSTAND(core::Context& ctx, QWidget* owner);

} // namespace progress
