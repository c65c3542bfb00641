#pragma once

#include <QString>

#include <array>
#include <memory>

#include "ui/skinneddialog.h"
#include "viewer/browser.h"
#include "viewer/katastat.h"

class QLabel;
class QShortcut;

namespace ui {
class BitmapButton;
class CheckBox;
class CloseButton;
class Grid;
class Label;
class MaskedEdit;
class RadioGroup;
} // namespace ui

namespace viewer {

class RowSource;
class StatSource;

// The menu's "Der komplette Fragenkatalog": the area choice, from which the table opens.
void KATALOG(core::Context& ctx, QWidget* owner);
// The menu's "Statistik zum Fragenkatalog".
void KATASTAT(core::Context& ctx, QWidget* owner);

// SHOWKATA: builds the working copy of the area and shows the table; false when the tables could not be opened.
bool SHOWKATA(core::Context& ctx, QWidget* owner, int area);

// The area choice: eleven radio buttons bound to the remembered area.
class ChoiceDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    ChoiceDialog(core::Context& ctx, QWidget* parent = nullptr);

    ui::RadioGroup* areas() const { return m_areas; }
    ui::BitmapButton* showButton() const { return m_show; }
    ui::BitmapButton* helpButton() const { return m_help; }
    ui::BitmapButton* endButton() const { return m_end; }
    QLabel* text() const { return m_text; }

    // The area is written back and the viewer's files deleted however the dialog closes.
    void done(int result) override;

private:
    core::Context& m_ctx;
    QLabel* m_text = nullptr;
    ui::RadioGroup* m_areas = nullptr;
    ui::BitmapButton* m_show = nullptr;
    ui::BitmapButton* m_help = nullptr;
    ui::BitmapButton* m_end = nullptr;
    bool m_finished = false;
};

// The table of the working copy.
class TableDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    TableDialog(core::Context& ctx, Browser& browser, QWidget* parent = nullptr);
    ~TableDialog() override;

    ui::Grid* grid() const { return m_grid; }
    ui::Label* title() const { return m_title; }
    ui::BitmapButton* showButton() const { return m_show; }
    ui::BitmapButton* searchButton() const { return m_search; }
    ui::BitmapButton* allButton() const { return m_all; }
    ui::BitmapButton* endButton() const { return m_end; }
    Browser& browser() const { return m_browser; }

    // SHOWFRG of the current row (none while the table is empty).
    void showQuestion();
    void search();
    void showAll();

private:
    void refresh(int row);

    core::Context& m_ctx;
    Browser& m_browser;
    std::unique_ptr<RowSource> m_source;
    ui::Label* m_title = nullptr;
    ui::Grid* m_grid = nullptr;
    ui::BitmapButton* m_show = nullptr;
    ui::BitmapButton* m_search = nullptr;
    ui::BitmapButton* m_all = nullptr;
    ui::BitmapButton* m_help = nullptr;
    ui::BitmapButton* m_end = nullptr;
};

// The read-only view of one question, in the layout of its kind.
class QuestionView : public ui::SkinnedDialog {
    Q_OBJECT
public:
    QuestionView(core::Context& ctx, Browser& browser, int row, QWidget* parent = nullptr);

    const QuestionData& data() const { return m_data; }
    QLabel* picture() const { return m_picture; }
    ui::Label* question() const { return m_question; }
    ui::Label* answer(int n) const { return m_answers[std::size_t(n - 1)]; }
    ui::CheckBox* box(int n) const { return m_boxes[std::size_t(n - 1)]; }
    // The value line: before, value, between, second value, after (those of the layout; others none).
    ui::Label* valuePart(int n) const { return m_values[std::size_t(n)]; }
    ui::Label* classLabel() const { return m_bar[0]; }
    ui::Label* themeLabel() const { return m_bar[1]; }
    ui::Label* numberLabel() const { return m_bar[2]; }
    ui::Label* pointsLabel() const { return m_bar[3]; }
    ui::Label* answersLabel() const { return m_bar[4]; }
    ui::Label* rightLabel() const { return m_bar[5]; }
    ui::BitmapButton* resetButton() const { return m_reset; }
    ui::BitmapButton* endButton() const { return m_end; }
    QShortcut* resetKey() const { return m_resetKey; }

private:
    void reset();
    void showCounts();

    core::Context& m_ctx;
    Browser& m_browser;
    int m_row;
    QuestionData m_data;
    QLabel* m_picture = nullptr;
    ui::Label* m_question = nullptr;
    std::array<ui::Label*, 3> m_answers{};
    std::array<ui::CheckBox*, 3> m_boxes{};
    std::array<ui::Label*, 5> m_values{};
    std::array<ui::Label*, 6> m_bar{};
    ui::BitmapButton* m_end = nullptr;
    ui::BitmapButton* m_help = nullptr;
    ui::BitmapButton* m_reset = nullptr;
    QShortcut* m_resetKey = nullptr;
};

// SUCHEN: the search text; the search runs on the browser and the dialog closes once it found something.
class SearchDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    SearchDialog(core::Context& ctx, Browser& browser, QWidget* parent = nullptr);

    ui::MaskedEdit* edit() const { return m_edit; }
    ui::BitmapButton* startButton() const { return m_start; }
    ui::BitmapButton* endButton() const { return m_end; }
    // The text entered; empty when the dialog was left by the end button.
    QString text() const;

private:
    void start();

    core::Context& m_ctx;
    Browser& m_browser;
    ui::MaskedEdit* m_edit = nullptr;
    ui::BitmapButton* m_start = nullptr;
    ui::BitmapButton* m_help = nullptr;
    ui::BitmapButton* m_end = nullptr;
};

// The catalog statistics over T_STAT.
class StatDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    StatDialog(core::Context& ctx, CatalogStatistics& statistics, QWidget* parent = nullptr);
    ~StatDialog() override;

    ui::Grid* grid() const { return m_grid; }
    ui::BitmapButton* endButton() const { return m_end; }
    ui::BitmapButton* helpButton() const { return m_help; }

private:
    core::Context& m_ctx;
    std::unique_ptr<StatSource> m_source;
    ui::Grid* m_grid = nullptr;
    ui::BitmapButton* m_help = nullptr;
    ui::BitmapButton* m_end = nullptr;
};

} // namespace viewer
