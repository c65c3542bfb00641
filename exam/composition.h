#pragma once

#include <QString>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace core {
class Context;
}
namespace store {
class WorkArea;
}
namespace training {
class Random;
}

namespace exam {

// The exam order of the learner's table: by theme, then the fewest correct answers, the fewest evaluations and the
// seconds of the last answer, each number four characters wide; equal keys in catalog order.
inline constexpr const char* kExamOrder = "str(THEMA)+str(RICHTIG)+str(ANTWORTEN)+ZULETZT";

// The condition that keeps a class's questions ("KLASSE_B > 0"); empty for a code that names no class.
std::string classCondition(const QString& classCode);

// The limits an exam of the class is passed within: at most NMAXFEH error points, and fewer than NMAXFUENF wrongly
// answered 5-point questions (0: no such rule). Nothing for a code that names no class.
struct PassLimits {
    int NMAXFEH = 10;
    int NMAXFUENF = 2;
};
std::optional<PassLimits> passLimits(const QString& classCode);

// One question of a composed exam: which learning-state record it is, the step (1..14) that took it with the step's
// theme and group, and the rotation (0..100) its answers get, drawn once per step.
struct ExamPick {
    std::string FRAGENR;
    std::uint32_t record = 0;
    int step = 0;
    int theme = 0;
    char group = '1';
    int rotation = 0;
};

// The questions of one step over a learner's area in the exam order (orderForExam): from the first question of the
// theme on, those whose FRAGENR begins with `group`, until `count` are taken or the theme ends. Leaves the area
// wherever the walk ended.
std::vector<ExamPick> pickStep(store::WorkArea& loc, int theme, char group, int count);

// Orders a learner's area for the exam over the questions of the class, into the compound index file `cdx`.
bool orderForExam(store::WorkArea& loc, const QString& classCode, const std::filesystem::path& cdx);

// The whole composition over an area in the exam order: the fourteen steps in turn, each with one rotation drawn
// from `random`. At most 30 questions; fewer when a theme lacks questions of a group, never any from elsewhere.
std::vector<ExamPick> composeExam(store::WorkArea& loc, training::Random& random);

// The composition the active learner would get for a class now, for callers without a run: reads the learner's
// table without changing it, orders it in an index file of its own that is gone again on return. Empty when the
// table cannot be read or the code names no class.
std::vector<ExamPick> composeExam(core::Context& ctx, const QString& classCode, training::Random& random);

} // namespace exam
