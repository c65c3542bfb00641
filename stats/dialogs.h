#pragma once

#include <QString>

#include <array>

#include "stats/statistics.h"
#include "ui/skinneddialog.h"

class QShortcut;

namespace ui {
class BitmapButton;
class CloseButton;
class Label;
class ProgressBar;
} // namespace ui

// The statistics dialogs; statist.h has the entries that open them.
namespace stats {

// The overview of a class (STATIST, "Statist1") or the statistic of one theme (STATTHEMA, "StatistT"): four
// figures and two bars from the overview's counts. The class overview also offers the statistics by theme, the
// comparison and the reset.
class OverviewDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    // Class overview.
    OverviewDialog(core::Context& ctx, Overview& overview, bool flag, QWidget* parent = nullptr);
    // Statistic of one theme; `caption` is the theme's caption as the theme selection gives it ('Technik').
    OverviewDialog(core::Context& ctx, Overview& overview, const QString& caption, QWidget* parent = nullptr);

    ui::Label* titleLabel() const { return m_title; }
    // NFRAGEN, NBEANTW, NGEFRAGT, NRICHTIG in this order.
    ui::Label* figure(int index) const { return m_figures[static_cast<std::size_t>(index)]; }
    ui::ProgressBar* answeredBar() const { return m_bar1; }
    ui::ProgressBar* rightBar() const { return m_bar2; }
    ui::BitmapButton* endButton() const { return m_end; }
    ui::BitmapButton* themesButton() const { return m_themes; }
    ui::BitmapButton* compareButton() const { return m_compare; }
    ui::BitmapButton* resetButton() const { return m_reset; }
    ui::CloseButton* closeButton() const { return m_close; }
    // Alt+V works only while there is a second learner to compare with.
    bool compareKeyEnabled() const;

private:
    void build(bool theme);
    void showCounts();

    core::Context& m_ctx;
    Overview& m_overview;
    bool m_flag = false;
    ui::Label* m_title = nullptr;
    std::array<ui::Label*, 4> m_figures{};
    ui::ProgressBar* m_bar1 = nullptr;
    ui::ProgressBar* m_bar2 = nullptr;
    ui::BitmapButton* m_end = nullptr;
    ui::BitmapButton* m_themes = nullptr;
    ui::BitmapButton* m_compare = nullptr;
    ui::BitmapButton* m_reset = nullptr;
    ui::CloseButton* m_close = nullptr;
    QShortcut* m_compareKey = nullptr;
};

// One of the three pages of the statistics by theme.
class ThemePage : public ui::SkinnedDialog {
    Q_OBJECT
public:
    ThemePage(int page, const ThemeCounts& counts, QWidget* parent = nullptr);

    int page() const { return m_page; }
    // True when the page was left by "Next" (the following page is to be shown).
    bool wantsNext() const { return m_next; }
    // Page 1: the bar of theme n (1..8). Pages 2 and 3: the upper and lower bar of theme n, 9 for "absolut".
    ui::ProgressBar* bar(int theme) const { return m_upper[static_cast<std::size_t>(theme - 1)]; }
    ui::ProgressBar* lowerBar(int theme) const { return m_lower[static_cast<std::size_t>(theme - 1)]; }
    ui::BitmapButton* nextButton() const { return m_nextButton; }
    ui::BitmapButton* endButton() const { return m_end; }
    ui::CloseButton* closeButton() const { return m_close; }

private:
    int m_page;
    bool m_next = false;
    std::array<ui::ProgressBar*, 9> m_upper{};
    std::array<ui::ProgressBar*, 9> m_lower{};
    ui::BitmapButton* m_nextButton = nullptr;
    ui::BitmapButton* m_end = nullptr;
    ui::CloseButton* m_close = nullptr;
};

// The two learners side by side ("StatVerg").
class CompareDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    CompareDialog(const LearnerCounts& learner1, const LearnerCounts& learner2, const QString& name1,
                  const QString& name2, QWidget* parent = nullptr);

    // The bars of theme n (1..8), 9 for "absolut"; learner 1 or 2.
    ui::ProgressBar* bar(int learner, int theme) const;
    ui::Label* nameLabel(int learner) const { return learner == 1 ? m_name1 : m_name2; }
    ui::BitmapButton* endButton() const { return m_end; }
    ui::CloseButton* closeButton() const { return m_close; }

private:
    std::array<ui::ProgressBar*, 9> m_bars1{};
    std::array<ui::ProgressBar*, 9> m_bars2{};
    ui::Label* m_name1 = nullptr;
    ui::Label* m_name2 = nullptr;
    ui::BitmapButton* m_end = nullptr;
    ui::CloseButton* m_close = nullptr;
};

} // namespace stats
