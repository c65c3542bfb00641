#pragma once

#include "ui/skinneddialog.h"

namespace ui {
class BitmapButton;
class Label;
} // namespace ui

namespace training {

class QuestionRun;

// The solution pop-up of a wrongly answered question, kept in position slot 2.
class SolutionDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    SolutionDialog(core::Context& ctx, const QString& solution, QWidget* parent = nullptr);
    ui::Label* title() const { return m_title; }
    ui::Label* text() const { return m_text; }
    ui::BitmapButton* nextButton() const { return m_next; }

private:
    ui::Label* m_title = nullptr;
    ui::Label* m_text = nullptr;
    ui::BitmapButton* m_next = nullptr;
};

// FRGAUSWERT: says that the answer was wrong and shows the solution of the question at hand.
void FRGAUSWERT(core::Context& ctx, const QuestionRun& run, QWidget* owner);

} // namespace training
