#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/value.h"

namespace store {
class Table;
class WorkArea;
}

namespace catalog {

// The thirteen class columns of the catalog and of the learning-state tables, in table order.
extern const std::vector<std::string> KLASSEN_FELDER;

// FRAGEN: one record per question; the four text memos are stored scrambled.
std::vector<store::FieldDef> fragenFields();
// LOCAL1 / LOCAL2: the learning state of one learner, one record per catalog question.
std::vector<store::FieldDef> localFields();
// T_FRAGE: the working set of one training run or exam, in presentation order.
std::vector<store::FieldDef> tFrageFields();

// Empty when the table has every field of `wanted` with its type (and width, for all but memos); otherwise why not,
// naming the table as `name`.
std::string structureFault(const store::Table& table, const std::vector<store::FieldDef>& wanted,
                           const std::string& name);

// The same for a table a routine has just opened: the fault, naming the file, goes to the engine's error report (the
// error dialog in the program). True when the table has every field.
bool checkStructure(const store::Table& table, const std::vector<store::FieldDef>& wanted);

// Which column selects a class's questions and which gives their points. Class codes are compared by prefix in a
// fixed order ("A1" before "A", "C1" and "CE" before "C", "D1" before "D", "MO" before "M"); the menu code
// "B / BE" is class B; "DE" selects by the D column and scores by the CE column; "S" is held in KLASSE_K.
struct ClassColumns {
    std::string select;
    std::string points;
};
std::optional<ClassColumns> classColumns(std::string_view classCode);

// The composition of an exam: per step the theme, the question group (first character of FRAGENR) and how many
// questions it takes, in the order the questions are presented (30 in all).
struct ExamStep {
    int theme;
    char group;
    int count;
};
extern const std::vector<ExamStep> EXAM_STEPS;

// The picture name of a question: characters 1, 3, 5 and 6 of the part before the hyphen, then the hyphen and the
// three characters after it, trailing blanks removed (1.2.03-101 -> 1203-101). A number without a hyphen gives its
// first four characters.
std::string pictureName(std::string_view fragenr);

// The question kinds, decided by the two expected values.
enum class QuestionKind { MultipleChoice, OneValue, TwoValues };
QuestionKind questionKind(std::string_view mcWert, std::string_view mcWert2);

// Creates the learning-state table `name` + ".DBF" in `dir` from the catalog FRAGEN.DBF when it is missing: one
// record per catalog record, fields of equal name copied, counters 0 and ZULETZT blank. An existing table is left
// untouched.
enum class MakeLocalResult { Existed, Created, Failed };
MakeLocalResult MAKELOCAL(const std::filesystem::path& dir, std::string_view name);

// The shared index builder: builds `keyExpression` (with an optional FOR condition) on the area into the compound
// file `cdxPath`, one tag named like the file. Every count/100 records `progress` learns the record number and the
// loop goes on as long as `done` is false (the progress dialog sets it when it must stop).
using BuildProgress = std::function<void(std::uint32_t recno, std::uint32_t total)>;
bool BUILDINDEX(store::WorkArea& area, std::string_view keyExpression, const std::filesystem::path& cdxPath,
                const BuildProgress& progress, const bool& done, std::string_view forCondition = {});

} // namespace catalog
