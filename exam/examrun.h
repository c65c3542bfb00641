#pragma once

#include <QString>

#include "exam/composition.h"
#include "training/run.h"

namespace core {
class Context;
}

namespace exam {

class ExamRun;
enum class Verdict;

// Told of each evaluated answer while its question is at hand, and of the verdict when the exam has ended, so
// that records kept beside the learning state can follow the exam without changing it.
class ExamObserver {
public:
    virtual ~ExamObserver() = default;
    virtual void answered(ExamRun& run, bool right) = 0;
    virtual void finished(ExamRun& run, Verdict verdict) = 0;
};

// What an exam keeps beside the state it shares with a training run.
struct ExamState {
    int NMAXFEH = 10;    // most error points with which the exam is still passed
    int NMAXFUENF = 2;   // wrongly answered 5-point questions that fail the exam; 0 = no such rule
    int NFUENFFEH = 0;   // wrongly answered 5-point questions so far
    int NMAXFRAGEN = 30; // questions of the exam: 30, then the size of the working set
};

// One exam simulation of a class: the composition into the working set, the evaluation into error points and
// 5-point faults, and going on without a second pass. Shows, speaks and solves questions as the training does;
// owns its tables and removes every file it made when it ends, however it ends.
class ExamRun : public training::QuestionRun {
public:
    explicit ExamRun(core::Context& ctx);

    training::RunState& state() override { return m_run.state(); }
    const training::RunState& state() const override { return m_run.state(); }
    ExamState& exam() { return m_exam; }
    const ExamState& exam() const { return m_exam; }
    // The shared machinery: tables, working set, NRANDOM.
    training::Run& run() { return m_run; }

    // The run state of an exam of the class: counters 0, entries blank, 30 questions expected.
    void begin(const QString& classCode);
    // Sets the pass limits, opens the tables and composes the working set in the fourteen steps; then the working
    // set stands on its first question and NVON = NMAXFRAGEN = its count. False when the class is unknown or a
    // table could not be opened (reported already).
    bool CHECKDBF(const QString& classCode);
    // Appends up to `count` questions of the theme and group to the working set, all with one rotation drawn for
    // the step; emptyFirst empties the working set first. Returns the number appended.
    int PRUFTEMP(const QString& classCode, int theme, char group, int count, bool emptyFirst);

    void GETDATA() override { m_run.GETDATA(); }
    void speakQuestion() override { m_run.speakQuestion(); }
    // Counts the answer in the learning state; a wrong one sounds, adds its points and, worth 5, counts as a
    // 5-point fault. A right one is silent. True when right.
    bool CHKDATA() override;
    void GETERGEBNIS() override { m_run.GETERGEBNIS(); }
    QString solutionText() const override { return m_run.solutionText(); }
    // After the last question the learner is told and the exam ends; there is no second pass.
    Step CHKWEITER() override { return m_run.goOn(false); }

    void closeTables() { m_run.closeTables(); }
    void finish() { m_run.finish(); }

    // Who is told of the answers and the verdict; none by default.
    void setObserver(ExamObserver* observer) { m_observer = observer; }
    ExamObserver* observer() const { return m_observer; }

private:
    core::Context& m_ctx;
    training::Run m_run;
    ExamState m_exam;
    ExamObserver* m_observer = nullptr;
};

// How an exam ended, decided by the question shown when the dialog closed and by the sums.
enum class Verdict {
    None,    // closed on the first question
    Passed,  // the last question was reached within the limits
    Failed,  // the last question was reached beyond a limit
    Aborted, // closed between the first and the last question
};
Verdict verdictOf(const training::RunState& run, const ExamState& exam);

// Plays, speaks and shows the verdict with `errors` error points; nothing for Verdict::None.
void announceVerdict(core::Context& ctx, Verdict verdict, int errors);

// The notice for an exam without questions: the catalog has none for the class.
QString emptyExamNotice(const QString& classCode);

} // namespace exam
