#pragma once

#include <QDateTime>
#include <QString>

#include <filesystem>
#include <string>
#include <vector>

#include "exam/examrun.h"
#include "store/value.h"

namespace core {
class Context;
}

namespace progress {

// The exam history of a learner slot lies beside its learning state: PHIS1.DBF with LOCAL1, PHIS2.DBF with
// LOCAL2. One record per evaluated question of a finished exam; the exam's own figures repeat on each of its
// records, so that one table of plain fields holds everything and any DBF reader can follow it.
QString historyName(const QString& csLocal);
std::filesystem::path historyPath(const core::Context& ctx);
std::vector<store::FieldDef> historyFields();

// One question of a recorded exam. The learner's answer in catalog order: for a multiple-choice question one
// character per answer, "X" ticked and "-" not ("X-X"); for a number question the entries as typed, trimmed,
// joined by ";" ("50" or "3;5").
struct RecordedAnswer {
    std::string FRAGENR; // trimmed
    int points = 0;
    QString given;
    bool wrong = false;
};

struct RecordedExam {
    int number = 0; // running number in the learner's history, 1 for the first
    QDateTime when;
    QString classCode;
    int errors = 0; // error points
    int limit = 0;  // NMAXFEH of the class
    bool passed = false;
    std::vector<RecordedAnswer> answers; // in the order the exam presented them
};

// The history as read: oldest exam first. A missing table is an empty history; a damaged one is an empty
// history with `damaged` set and `fault` saying what is wrong.
struct History {
    std::vector<RecordedExam> exams;
    bool damaged = false;
    std::string fault;
};
History readHistory(const core::Context& ctx);

// Appends a finished exam to the active learner's history, creating the table on first use. A table that cannot
// be read as a history is set aside as PHISn.BAD (PHISn.B01 and on when that is taken) and started anew; the learner
// is told. Failures never reach the runtime error handler: a history must never stop an exam. False when nothing
// could be written (the learner was told).
bool appendExam(core::Context& ctx, RecordedExam exam);

// Follows an exam and records it in the history once it has been finished (passed or failed); an exam closed
// before its last question is not recorded.
class ExamRecorder : public exam::ExamObserver {
public:
    explicit ExamRecorder(core::Context& ctx) : m_ctx(ctx) {}
    void answered(exam::ExamRun& run, bool right) override;
    void finished(exam::ExamRun& run, exam::Verdict verdict) override;
    const std::vector<RecordedAnswer>& answers() const { return m_answers; }

private:
    core::Context& m_ctx;
    std::vector<RecordedAnswer> m_answers;
};

} // namespace progress
