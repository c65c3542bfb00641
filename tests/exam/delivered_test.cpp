// Exams composed from the catalog the build delivers, for every class, over a learner who keeps practising.
#include <gtest/gtest.h>

#include <QString>

#include <random>
#include <set>
#include <tuple>

#include "catalog/tables.h"
#include "exam/composition.h"
#include "store/workarea.h"
#include "support/testdir.h"
#include "training/run.h"

namespace {

namespace fs = std::filesystem;

// The exam order of one learning-state record.
using Key = std::tuple<int, int, std::string>;
Key keyOf(store::WorkArea& loc) {
    return {int(loc.number("RICHTIG")), int(loc.number("ANTWORTEN")), loc.text("ZULETZT")};
}

TEST(DeliveredCatalog, EveryClassGetsTwoHundredWholeExamsWhileTheLearnerPractises) {
    lwtest::TempDir dir;
    for (const char* name : {"FRAGEN.DBF", "FRAGEN.FPT"}) {
        ASSERT_TRUE(fs::exists(fs::path(LW_DIST_DIR) / name)) << name << " missing: build the program folder first";
        fs::copy_file(fs::path(LW_DIST_DIR) / name, dir / name);
    }
    ASSERT_EQ(catalog::MAKELOCAL(dir.path(), "LOCAL1"), catalog::MakeLocalResult::Created);

    std::vector<std::pair<int, char>> cells;
    for (const catalog::ExamStep& s : catalog::EXAM_STEPS)
        for (int i = 0; i < s.count; ++i)
            cells.emplace_back(s.theme, s.group);

    std::mt19937 dice(20061);
    double seconds = 36000.0;
    training::Random random([&seconds] { return seconds += 1.37; });
    for (const char* code : {"A", "A1", "B / BE", "C", "C1", "CE", "D", "D1", "DE", "M", "MO", "L", "S", "T"}) {
        SCOPED_TRACE(code);
        const QString classCode = QString::fromLatin1(code);
        const auto columns = catalog::classColumns(code);
        ASSERT_TRUE(columns);
        store::Session session;
        store::WorkArea* loc = session.use(dir / "LOCAL1.DBF", "DLOC");
        ASSERT_TRUE(loc);
        ASSERT_TRUE(exam::orderForExam(*loc, classCode, dir / "LOCAL.CDX"));
        std::set<std::vector<std::string>> different;
        for (int n = 0; n < 200; ++n) {
            const auto picks = exam::composeExam(*loc, random);
            ASSERT_EQ(picks.size(), 30u) << "exam " << n;
            std::set<std::string> seen;
            std::vector<std::string> numbers;
            for (size_t i = 0; i < picks.size(); ++i) {
                const exam::ExamPick& p = picks[i];
                EXPECT_TRUE(seen.insert(p.FRAGENR).second) << p.FRAGENR << " twice";
                numbers.push_back(p.FRAGENR);
                ASSERT_TRUE(loc->goTo(p.record));
                EXPECT_EQ(loc->text("FRAGENR"), p.FRAGENR);
                EXPECT_EQ(int(loc->number("THEMA")), cells[i].first) << p.FRAGENR;
                EXPECT_EQ(p.FRAGENR.front(), cells[i].second) << p.FRAGENR;
                EXPECT_GT(loc->number(columns->select), 0) << p.FRAGENR;
            }
            different.insert(numbers);
            // Every so often: no question left out of a step stands before one the step took.
            if (n % 40 == 39) {
                std::map<std::pair<int, char>, Key> worstTaken;
                for (const exam::ExamPick& p : picks) {
                    loc->goTo(p.record);
                    Key& k = worstTaken.try_emplace({p.theme, p.group}, keyOf(*loc)).first->second;
                    k = std::max(k, keyOf(*loc));
                }
                for (loc->goTop(); !loc->eof(); loc->skip()) {
                    const std::string nr = loc->text("FRAGENR");
                    const auto it = worstTaken.find({int(loc->number("THEMA")), nr.front()});
                    if (it == worstTaken.end() || seen.count(nr)) continue;
                    EXPECT_GE(keyOf(*loc), it->second) << nr << " was left out";
                }
            }
            // The learner answers the exam: each answer right or wrong by chance, at some second.
            for (const exam::ExamPick& p : picks) {
                loc->goTo(p.record);
                const bool right = dice() % 3 != 0;
                loc->replace("ANTWORTEN", store::Value::number(loc->number("ANTWORTEN") + 1));
                loc->replace(right ? "RICHTIG" : "FALSCH",
                             store::Value::number(loc->number(right ? "RICHTIG" : "FALSCH") + 1));
                loc->replace("ZULETZT", store::Value::text(std::to_string(10 + dice() % 50)));
            }
        }
        // Practice moves other questions in.
        EXPECT_GT(different.size(), 20u);
        session.closeAll();
        fs::remove(dir / "LOCAL.CDX");
    }
}

} // namespace
