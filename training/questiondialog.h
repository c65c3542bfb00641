#pragma once

#include <QString>

#include <array>

#include "core/helptopics.h"
#include "training/links.h"
#include "ui/skinneddialog.h"

class QLabel;

namespace ui {
class BitmapButton;
class CheckBox;
class Label;
class MaskedEdit;
} // namespace ui

namespace training {

class QuestionRun;
struct RunState;

// What tells the question dialog of a training run from that of an exam: its texts, its size and its help.
struct QuestionLook {
    QString windowTitle;
    QString header;
    // The dialog is its background picture less this many pixels each way.
    int skinMargin = 1;
    // Tooltips of B_NEXT in layouts 1 and 2, of B_NEXT in layout 3, of B_LOES.
    QString nextTip;
    QString nextTip3;
    QString solutionTip;
    // Help topics while the dialog is open, of B_HELP and of Alt+H.
    const char* topic = core::topic::kTraining;
    const char* helpButtonTopic = core::topic::kTraining;
    const char* helpKeyTopic = core::topic::kTraining;
    // The error points follow every wrong answer, whatever LS_FPSHOW says.
    bool errorsAlways = false;
};
// The training's look for the run at hand (its header names the theme and the class).
QuestionLook trainingLook(const RunState& state);

// The question dialog in the layout of the question at hand: "Fragen1" with three answer boxes for a
// multiple-choice question, "Fragen2" with one or two entry fields for a number question. It runs until the
// learner ends the run, the last question is done, or the next question needs the other layout.
class QuestionDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    enum class Outcome { Closed, LayoutChange };

    // With the training's look.
    QuestionDialog(core::Context& ctx, QuestionRun& run, QWidget* parent = nullptr);
    QuestionDialog(core::Context& ctx, QuestionRun& run, QuestionLook look, QWidget* parent = nullptr);
    ~QuestionDialog() override;

    int layoutType() const { return m_layout; }
    Outcome outcome() const { return m_outcome; }

    // B_NEXT: evaluates (unless the solution was shown) and goes on.
    void next();
    // B_LOES: evaluates and shows the right answer.
    void solution();

    ui::BitmapButton* nextButton() const { return m_next; }
    ui::BitmapButton* solutionButton() const { return m_solution; }
    ui::BitmapButton* helpButton() const { return m_help; }
    ui::BitmapButton* endButton() const { return m_end; }
    ui::CheckBox* answerBox(int position) const { return m_boxes[position - 1]; }
    ui::Label* answerText(int position) const { return m_answers[position - 1]; }
    ui::MaskedEdit* entry(int field) const { return m_entries[field - 1]; }
    ui::CheckBox* autoEvaluateBox() const { return m_auto; }
    ui::Label* questionText() const { return m_question; }
    ui::Label* errorPoints() const { return m_errors; }
    ui::Label* header() const { return m_header; }
    QLabel* picture() const { return m_picture; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showQuestion();
    void showAnswer();
    void collect();
    void evaluate(bool popup);
    void refreshErrors();
    void focusFirst();

    core::Context& m_ctx;
    QuestionRun& m_run;
    QuestionLook m_look;
    int m_layout = 0;
    Outcome m_outcome = Outcome::Closed;
    bool m_spoken = false;
    ui::Label* m_header = nullptr;
    QLabel* m_picture = nullptr;
    ui::Label* m_question = nullptr;
    std::array<ui::CheckBox*, 3> m_boxes{};
    std::array<ui::Label*, 3> m_answers{};
    ui::Label* m_before = nullptr;
    ui::Label* m_between = nullptr;
    ui::Label* m_after = nullptr;
    std::array<ui::MaskedEdit*, 2> m_entries{};
    ui::Label* m_number = nullptr;
    ui::Label* m_running = nullptr;
    ui::Label* m_total = nullptr;
    ui::Label* m_points = nullptr;
    ui::Label* m_errors = nullptr;
    ui::BitmapButton* m_next = nullptr;
    ui::BitmapButton* m_solution = nullptr;
    ui::BitmapButton* m_help = nullptr;
    ui::BitmapButton* m_end = nullptr;
    ui::CheckBox* m_auto = nullptr;
};

// Shows the questions of a run from the one at hand, each in the dialog of its layout, until the learner closes
// the dialog or the last question is done.
void presentQuestions(core::Context& ctx, QuestionRun& run, const QuestionLook& look, QWidget* owner);

// FRAGEN: one training run of a class and theme (1..9), from choosing the questions to the verdict; every file
// it made is gone when it returns.
void FRAGEN(core::Context& ctx, QWidget* owner, const QString& title, const QString& classCode, int theme,
            const Links& links);

// CHECKALL: the verdict of a run with `errors` error points, offering the statistic of the theme when the
// statistics are linked.
bool CHECKALL(core::Context& ctx, QWidget* owner, const QString& classCode, int theme, int errors,
              const QString& title, const Links& links);

} // namespace training
