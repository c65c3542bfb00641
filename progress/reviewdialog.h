#pragma once

#include <array>
#include <vector>

#include "progress/review.h"
#include "ui/skinneddialog.h"

class QLabel;

namespace ui {
class BitmapButton;
class CheckBox;
class Label;
class MaskedEdit;
} // namespace ui

namespace progress {

// A past exam, question by question, in the question dialog's look and layout but read-only: the boxes hold the
// learner's ticks, each right answer is marked and a wrong tick or a missing one is shown in red; number
// questions show the learner's entries with the right values beside them. Next and Back walk the exam (also
// Page Down and Page Up); the question dialog's background follows the question's kind.
class ReviewDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    ReviewDialog(core::Context& ctx, const RecordedExam& exam, QWidget* parent = nullptr);

    int current() const { return m_current; }
    int count() const { return int(m_items.size()); }
    void showItem(int index);

    ui::BitmapButton* nextButton() const { return m_next; }
    ui::BitmapButton* backButton() const { return m_back; }
    ui::CheckBox* answerBox(int position) const { return m_boxes[position - 1]; }
    ui::Label* answerText(int position) const { return m_answers[position - 1]; }
    ui::Label* questionText() const { return m_question; }
    ui::Label* header() const { return m_header; }
    ui::Label* verdict() const { return m_verdict; }
    ui::MaskedEdit* entry(int field) const { return m_entries[field - 1]; }
    ui::Label* after() const { return m_after; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(int layout);
    void clearControls();

    core::Context& m_ctx;
    RecordedExam m_exam;
    std::vector<ReviewItem> m_items;
    int m_current = -1;
    int m_layout = 0;
    std::vector<QWidget*> m_controls;
    ui::Label* m_header = nullptr;
    QLabel* m_picture = nullptr;
    ui::Label* m_question = nullptr;
    std::array<ui::CheckBox*, 3> m_boxes{};
    std::array<ui::Label*, 3> m_answers{};
    std::array<ui::MaskedEdit*, 2> m_entries{};
    ui::Label* m_before = nullptr;
    ui::Label* m_between = nullptr;
    ui::Label* m_after = nullptr;
    ui::Label* m_number = nullptr;
    ui::Label* m_running = nullptr;
    ui::Label* m_total = nullptr;
    ui::Label* m_points = nullptr;
    ui::Label* m_errors = nullptr;
    ui::Label* m_verdict = nullptr;
    ui::BitmapButton* m_next = nullptr;
    ui::BitmapButton* m_back = nullptr;
    ui::BitmapButton* m_help = nullptr;
    ui::BitmapButton* m_end = nullptr;
};

} // namespace progress
