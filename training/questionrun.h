#pragma once

#include <QString>

namespace training {

struct RunState;

// What the question dialog asks of the run it presents: the training run and the exam each decide for themselves
// how an answer counts and what follows the last question; showing, speaking and solving are shared.
class QuestionRun {
public:
    virtual ~QuestionRun() = default;

    virtual RunState& state() = 0;
    virtual const RunState& state() const = 0;

    // GETDATA: the working-set record at hand into the run state.
    virtual void GETDATA() = 0;
    // SPEEKIT with the question at hand (and the answers of a multiple-choice question).
    virtual void speakQuestion() = 0;
    // CHKDATA: evaluates the ticks or entries of the run state; true when right.
    virtual bool CHKDATA() = 0;
    // GETERGEBNIS: the ticks and entries take the right answer.
    virtual void GETERGEBNIS() = 0;
    // The solution as the pop-up shows it for the question at hand.
    virtual QString solutionText() const = 0;

    enum class Step {
        Next,     // the following question is at hand
        NewPass,  // the wrongly answered questions are presented again, the first is at hand
        Finished, // the last question was done; the learner was told
    };
    // CHKWEITER: goes on after an answer.
    virtual Step CHKWEITER() = 0;
};

} // namespace training
