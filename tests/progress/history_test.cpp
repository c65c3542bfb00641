#include <gtest/gtest.h>

#include <QDate>

#include <fstream>
#include <sstream>

#include "store/error.h"

#include "progress/history.h"
#include "progressfixture.h"

namespace {

using exam::Verdict;

std::string dbfDump(const std::filesystem::path& dbf) {
    // The history read by an independent DBF reader: one line per record.
    std::string out;
    const int rc = lwtest::runCommand(
        "/usr/bin/python3 -c \"import dbfread,sys\n"
        "for r in dbfread.DBF(sys.argv[1], encoding='cp1252'):\n"
        "    print(r['PRUEFUNG'], r['DATUM'].isoformat(), r['ZEIT'], r['KLASSE'], r['FEHLER'], r['GRENZE'],"
        " r['BESTANDEN'], r['NUMMER'], r['FRAGENR'], r['PUNKTE'], r['ANTWORT'], r['FALSCH'], sep='|')\" '" +
            dbf.string() + "'",
        &out);
    return rc == 0 ? out : std::string("failed");
}

std::vector<std::vector<std::string>> rows(const std::string& dump) {
    std::vector<std::vector<std::string>> all;
    std::istringstream in(dump);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> cells;
        std::istringstream cellsIn(line);
        for (std::string cell; std::getline(cellsIn, cell, '|');)
            cells.push_back(cell);
        all.push_back(cells);
    }
    return all;
}

class HistoryTest : public ::testing::Test, public progressfixture::Folder {
protected:
    void SetUp() override {
        ASSERT_TRUE(write(examfixture::examCatalog(4)));
        scripted().clock->set(QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)));
    }
    lwtest::Scripted& scripted() { return ctx.scripted; }
};

TEST_F(HistoryTest, AFinishedExamIsWrittenQuestionByQuestionAndReadsBackWithAnotherReader) {
    if (lwtest::runCommand("/usr/bin/python3 -c 'import dbfread' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-dbfread is not installed";
    // Questions 1 and 2 are theme 1 (5 points each): two 5-point faults fail class B with 10 points.
    EXPECT_EQ(takeExam(QStringLiteral("B / BE"), {0, 1}), Verdict::Failed);
    const auto dbf = dir / "PHIS1.DBF";
    ASSERT_TRUE(std::filesystem::exists(dbf));
    const auto all = rows(dbfDump(dbf));
    ASSERT_EQ(all.size(), 30u);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const auto& r = all[i];
        ASSERT_EQ(r.size(), 12u) << i;
        EXPECT_EQ(r[0], "1");
        EXPECT_EQ(r[1], "2026-03-14");
        EXPECT_EQ(r[2], "09:26:53");
        EXPECT_EQ(r[3], "B / BE");
        EXPECT_EQ(r[4], "10");
        EXPECT_EQ(r[5], "10");
        EXPECT_EQ(r[6], "False");
        EXPECT_EQ(r[7], std::to_string(i + 1));
        const bool wrong = i < 2;
        EXPECT_EQ(r[11], wrong ? "True" : "False") << i;
        // The right answer is the catalog's first, whatever rotation the exam showed it in.
        if (wrong)
            EXPECT_TRUE(r[10] == "---" || r[10] == "XX-" || r[10] == "X-X") << r[10];
        else
            EXPECT_EQ(r[10], "X--") << i << " " << r[8];
    }
    EXPECT_EQ(all[0][8], examfixture::nr('1', 1, 1));
    EXPECT_EQ(all[0][9], "5");
    EXPECT_EQ(all[29][8], examfixture::nr('2', 8, 2));

    // A second exam follows as number 2; the program reads both back, oldest first.
    scripted().clock->advanceSeconds(3600);
    EXPECT_EQ(takeExam(QStringLiteral("B / BE"), {}), Verdict::Passed);
    const progress::History h = progress::readHistory(ctx);
    EXPECT_FALSE(h.damaged);
    ASSERT_EQ(h.exams.size(), 2u);
    EXPECT_EQ(h.exams[0].number, 1);
    EXPECT_FALSE(h.exams[0].passed);
    EXPECT_EQ(h.exams[0].errors, 10);
    EXPECT_EQ(h.exams[1].number, 2);
    EXPECT_TRUE(h.exams[1].passed);
    EXPECT_EQ(h.exams[1].errors, 0);
    EXPECT_EQ(h.exams[1].when, QDateTime(QDate(2026, 3, 14), QTime(10, 26, 53)));
    EXPECT_EQ(h.exams[1].answers.size(), 30u);
    // The learner's first wrong answers moved the weakest questions into the second exam.
    EXPECT_NE(h.exams[1].answers[0].FRAGENR, h.exams[0].answers[0].FRAGENR);
}

TEST_F(HistoryTest, AnAbortedExamOrOneClosedOnItsFirstQuestionLeavesNoRecord) {
    EXPECT_EQ(takeExam(QStringLiteral("B / BE"), {}, 10), Verdict::Aborted);
    EXPECT_EQ(takeExam(QStringLiteral("B / BE"), {}, 1), Verdict::None);
    EXPECT_FALSE(std::filesystem::exists(dir / "PHIS1.DBF"));
    EXPECT_TRUE(progress::readHistory(ctx).exams.empty());
}

TEST_F(HistoryTest, TheSecondLearnerHasAHistoryOfHisOwn) {
    ASSERT_EQ(catalog::MAKELOCAL(dir.path(), "LOCAL2"), catalog::MakeLocalResult::Created);
    core::LoginState second = ctx.login();
    second.CS_LOCAL = QStringLiteral("LOCAL2");
    ctx.setLogin(second);
    EXPECT_EQ(takeExam(QStringLiteral("MO"), {}), Verdict::Passed);
    EXPECT_TRUE(std::filesystem::exists(dir / "PHIS2.DBF"));
    EXPECT_FALSE(std::filesystem::exists(dir / "PHIS1.DBF"));
}

TEST_F(HistoryTest, ADamagedHistoryIsReportedSetAsideAndStartedAnewWithoutStoppingTheExam) {
    {
        std::ofstream out(dir / "PHIS1.DBF", std::ios::binary);
        out << "this is not a table";
    }
    const progress::History read = progress::readHistory(ctx);
    EXPECT_TRUE(read.damaged);
    EXPECT_TRUE(read.exams.empty());

    int handlerCalls = 0;
    const auto previous = store::setErrorCallback([&](const store::StoreError&) { ++handlerCalls; });
    EXPECT_EQ(takeExam(QStringLiteral("B / BE"), {4}), Verdict::Passed); // theme 2: 2 points
    store::setErrorCallback(previous);
    EXPECT_EQ(handlerCalls, 0) << "the runtime error handler must not see a damaged history";

    const auto& shown = ctx.scripted.messages->shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().kind, lwtest::ScriptedMessages::Kind::Warning);
    EXPECT_TRUE(shown.back().text.contains(QStringLiteral("PHIS1.DBF war beschädigt")));
    EXPECT_EQ(lwtest::readFile(dir / "PHIS1.BAD"), "this is not a table");
    const progress::History after = progress::readHistory(ctx);
    EXPECT_FALSE(after.damaged);
    ASSERT_EQ(after.exams.size(), 1u);
    EXPECT_EQ(after.exams[0].number, 1);
    EXPECT_EQ(after.exams[0].errors, 2);
}

TEST_F(HistoryTest, ASecondDamageKeepsTheFirstDamagedHistory) {
    const auto damage = [&](const char* text) {
        std::ofstream out(dir / "PHIS1.DBF", std::ios::binary | std::ios::trunc);
        out << text;
    };
    damage("first damage");
    EXPECT_EQ(takeExam(QStringLiteral("B / BE"), {}), Verdict::Passed);
    damage("second damage");
    EXPECT_EQ(takeExam(QStringLiteral("B / BE"), {}), Verdict::Passed);
    EXPECT_EQ(lwtest::readFile(dir / "PHIS1.BAD"), "first damage");
    EXPECT_EQ(lwtest::readFile(dir / "PHIS1.B01"), "second damage");
    EXPECT_EQ(progress::readHistory(ctx).exams.size(), 1u);
}

TEST_F(HistoryTest, ADamagedHistoryThatCannotBeSetAsideIsKeptAndNothingIsWritten) {
    {
        std::ofstream out(dir / "PHIS1.DBF", std::ios::binary);
        out << "the only copy";
    }
    // Every name a damaged history could be set aside under is taken.
    std::filesystem::create_directory(dir / "PHIS1.BAD");
    for (int n = 1; n < 100; ++n)
        std::filesystem::create_directory(dir / ((n < 10 ? "PHIS1.B0" : "PHIS1.B") + std::to_string(n)));
    EXPECT_EQ(takeExam(QStringLiteral("B / BE"), {}), Verdict::Passed);
    EXPECT_EQ(lwtest::readFile(dir / "PHIS1.DBF"), "the only copy");
    const auto& shown = ctx.scripted.messages->shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_TRUE(shown.back().text.contains(QStringLiteral("nicht eingetragen")));
}

TEST_F(HistoryTest, ATableOfAnotherShapeCountsAsDamaged) {
    // A learning-state table copied over the history: readable, but not a history.
    std::filesystem::copy_file(dir / "LOCAL1.DBF", dir / "PHIS1.DBF");
    const progress::History read = progress::readHistory(ctx);
    EXPECT_TRUE(read.damaged);
    EXPECT_NE(read.fault.find("PRUEFUNG"), std::string::npos) << read.fault;
    EXPECT_EQ(takeExam(QStringLiteral("B / BE"), {}), Verdict::Passed);
    EXPECT_EQ(progress::readHistory(ctx).exams.size(), 1u);
}

} // namespace
