#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "progress/history.h"

namespace core {
class Context;
}

namespace progress {

// One question of a class as the learner's table and the exam history know it.
struct QuestionState {
    std::string FRAGENR; // trimmed
    std::uint32_t record = 0;
    int theme = 0;
    char group = '1';
    int points = 0; // in the class
    int RICHTIG = 0;
    int FALSCH = 0;
    // The learner's latest exam answer to it, newest exam first; none when no recorded exam asked it.
    std::optional<bool> lastExamRight;
};

// The questions of a class in the active learner's table, read without changing it, with the latest exam answer
// of each from the history. Empty when the table cannot be read or the code names no class.
std::vector<QuestionState> classQuestions(const core::Context& ctx, const QString& classCode, const History& history);

// The chance that the learner answers a question right now: the mean of the Beta(1 + RICHTIG, 1 + FALSCH)
// posterior, i.e. (1 + RICHTIG) / (2 + RICHTIG + FALSCH), with the latest recorded exam answer counted
// kRecentWeight times more, right or wrong: the counters have no dates, and the exam is the freshest evidence.
inline constexpr int kRecentWeight = 2;
double knowledge(const QuestionState& q);

// One step of an exam as it would be drawn: how many questions it takes from which of the class's questions.
struct DrawStep {
    int theme = 0;
    char group = '1';
    int count = 0;
    std::vector<int> pool; // indices into the questions
};

// The shape of the class's exam: the steps the exam's own composition fills for this learner, each with the
// questions it picks now as pool and their number as count.
std::vector<DrawStep> examShape(core::Context& ctx, const QString& classCode,
                                const std::vector<QuestionState>& questions);

struct ThemeCost {
    int theme = 0;
    double points = 0; // error points lost in this theme per simulated exam, on average
};

struct Readiness {
    double passRate = 0;              // 0..1
    int exams = 0;                    // simulated
    int questions = 0;                // per exam
    std::vector<ThemeCost> costliest; // at most three, most points first, only themes that cost any
};
enum class Light { Red, Yellow, Green };
// Red below 50 %, yellow below 85 %, green from there.
Light lightOf(double passRate);
// The rate in whole percent as shown beside the light: rounded down, so that the number never contradicts the
// light (a red 49.75 % is not shown as 50 %) and 100 % means no simulated exam failed.
int percentOf(double passRate);

// Simulates `exams` exams: each step draws its count of questions at random from its pool, each question is
// right with its probability `p`, and the exam is scored by the limits. The same seed gives the same draws and
// the same random numbers per answer, so a higher p never lowers the rate.
Readiness simulate(const std::vector<DrawStep>& shape, const std::vector<QuestionState>& questions,
                   const std::vector<double>& p, const exam::PassLimits& limits, int exams = 2000,
                   std::uint32_t seed = 20070101);

// The readiness of the active learner for a class now.
Readiness estimateReadiness(core::Context& ctx, const QString& classCode, const History& history);

// The questions of the class the learner knows least, weakest first: by knowledge, then more wrong answers.
std::vector<QuestionState> weakest(const std::vector<QuestionState>& questions, std::size_t count);

// The questions to practise: those answered wrongly in their latest recorded exam, and those answered wrongly at
// least as often as rightly, weakest first, at most `count`.
std::vector<QuestionState> mistakes(const std::vector<QuestionState>& questions, std::size_t count);

} // namespace progress
