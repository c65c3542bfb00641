#include <gtest/gtest.h>

#include <random>

#include "progress/readiness.h"
#include "progressfixture.h"
#include "training/catalogfixture.h"

namespace {

using progress::QuestionState;

class ReadinessTest : public ::testing::Test, public progressfixture::Folder {
protected:
    const QString B = QStringLiteral("B / BE");

    // The class's questions with the exam's shape for them.
    void load(const QString& classCode) {
        questions = progress::classQuestions(ctx, classCode, progress::readHistory(ctx));
        shape = progress::examShape(ctx, classCode, questions);
    }
    std::vector<double> each(const std::function<double(const QuestionState&)>& f) const {
        std::vector<double> p;
        for (const QuestionState& q : questions)
            p.push_back(f(q));
        return p;
    }
    progress::Readiness run(const std::vector<double>& p, const QString& classCode) const {
        return progress::simulate(shape, questions, p, *exam::passLimits(classCode));
    }

    std::vector<QuestionState> questions;
    std::vector<progress::DrawStep> shape;
};

TEST_F(ReadinessTest, ClosedFormCasesOfTheSimulation) {
    ASSERT_TRUE(write(examfixture::examCatalog(6)));
    load(B);
    ASSERT_EQ(questions.size(), 96u);
    int perExam = 0;
    for (const auto& s : shape) {
        perExam += s.count;
        EXPECT_EQ(int(s.pool.size()), s.count) << "the exam asks exactly what it picks";
    }
    EXPECT_EQ(perExam, 30);

    // Every question known for sure: every exam passes.
    const auto sure = run(each([](const QuestionState&) { return 1.0; }), B);
    EXPECT_EQ(sure.passRate, 1.0);
    EXPECT_EQ(sure.exams, 2000);
    EXPECT_EQ(sure.questions, 30);
    EXPECT_TRUE(sure.costliest.empty());
    EXPECT_EQ(progress::lightOf(sure.passRate), progress::Light::Green);

    // Every 5-point question unknown: four of them in each exam of class B, two of them fail it.
    const auto noFives = run(each([](const QuestionState& q) { return q.points == 5 ? 0.0 : 1.0; }), B);
    EXPECT_EQ(noFives.passRate, 0.0);
    EXPECT_EQ(progress::lightOf(noFives.passRate), progress::Light::Red);
    ASSERT_EQ(noFives.costliest.size(), 1u);
    EXPECT_EQ(noFives.costliest[0].theme, 1);
    EXPECT_DOUBLE_EQ(noFives.costliest[0].points, 20.0);

    // Only theme 4 (four 4-point questions per exam) at even odds: more than 10 points means three or four wrong,
    // 5 of 16 cases; the rest pass.
    const auto half = run(each([](const QuestionState& q) { return q.theme == 4 ? 0.5 : 1.0; }), B);
    EXPECT_NEAR(half.passRate, 11.0 / 16.0, 0.035);
    EXPECT_EQ(progress::lightOf(half.passRate), progress::Light::Yellow);
    ASSERT_EQ(half.costliest.size(), 1u);
    EXPECT_EQ(half.costliest[0].theme, 4);
    EXPECT_NEAR(half.costliest[0].points, 8.0, 0.4);

    // Class MO has no 5-point rule but 7 points: one wrong 4-point question passes, two fail.
    load(QStringLiteral("MO"));
    const auto mo = run(each([](const QuestionState& q) { return q.theme == 4 ? 0.5 : 1.0; }), QStringLiteral("MO"));
    EXPECT_NEAR(mo.passRate, 5.0 / 16.0, 0.035);
}

TEST_F(ReadinessTest, MoreRightAnswersNeverLowerTheEstimate) {
    ASSERT_TRUE(write(examfixture::examCatalog(5)));
    load(B);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> p = each([&](const QuestionState&) { return 0.55 + 0.45 * unit(rng); });
    double last = run(p, B).passRate;
    for (int step = 0; step < 40; ++step) {
        const std::size_t i = std::size_t(rng() % p.size());
        p[i] = std::min(1.0, p[i] + 0.3);
        const double now = run(p, B).passRate;
        EXPECT_GE(now, last) << "step " << step;
        last = now;
    }

    // The same through the learner's table: right answers added to the counters round by round.
    std::map<std::string, trainingfixture::Counts> counts;
    for (const QuestionState& q : questions)
        counts[q.FRAGENR] = {3, 1, 2, "17"};
    ASSERT_TRUE(trainingfixture::setCounts(dir / "LOCAL1.DBF", counts));
    double before = progress::estimateReadiness(ctx, B, {}).passRate;
    EXPECT_LT(before, 0.5);
    for (int round = 0; round < 4; ++round) {
        for (auto& [nr, c] : counts) {
            c.richtig += 20;
            c.antworten += 20;
        }
        ASSERT_TRUE(trainingfixture::setCounts(dir / "LOCAL1.DBF", counts));
        const double after = progress::estimateReadiness(ctx, B, {}).passRate;
        EXPECT_GE(after, before) << "round " << round;
        before = after;
    }
    EXPECT_GT(before, 0.5);
}

TEST_F(ReadinessTest, TheEstimateAsksTheQuestionsTheExamWouldAsk) {
    // The exam takes the questions answered right least often: one unknown question in every theme and group is
    // asked in every exam, however well the other 39 are known.
    ASSERT_TRUE(write(examfixture::examCatalog(40)));
    load(B);
    std::map<std::string, trainingfixture::Counts> counts;
    for (const QuestionState& q : questions)
        counts[q.FRAGENR] = q.FRAGENR.ends_with("-001") ? trainingfixture::Counts{10, 0, 10, "17"}
                                                        : trainingfixture::Counts{200, 200, 0, "17"};
    ASSERT_TRUE(trainingfixture::setCounts(dir / "LOCAL1.DBF", counts));
    load(B);
    for (const auto& step : shape)
        EXPECT_EQ(int(step.pool.size()), step.count) << "theme " << step.theme << " group " << step.group;
    EXPECT_LT(progress::estimateReadiness(ctx, B, {}).passRate, 0.05);
}

TEST(Readiness, ThePercentShownNeverContradictsTheLight) {
    // Every rate 2,000 simulated exams can give.
    for (int passed = 0; passed <= 2000; ++passed) {
        const double rate = passed / 2000.0;
        const int shown = progress::percentOf(rate);
        const progress::Light expected =
            shown < 50 ? progress::Light::Red : (shown < 85 ? progress::Light::Yellow : progress::Light::Green);
        EXPECT_EQ(progress::lightOf(rate), expected) << passed << " passed, shown as " << shown << " %";
        EXPECT_EQ(shown == 100, passed == 2000) << passed;
        EXPECT_LE(std::abs(shown - rate * 100), 1.0) << passed;
    }
    EXPECT_EQ(progress::percentOf(0.57), 57);
}

TEST_F(ReadinessTest, TheExamsShapeFollowsAThemeShortOfAGroup) {
    // Theme 6 has a single question of group 2: the exam and the simulation have 28 questions.
    ASSERT_TRUE(write(examfixture::examCatalog(4, {{{6, '2'}, 1}})));
    load(B);
    int perExam = 0;
    for (const auto& s : shape)
        perExam += s.count;
    EXPECT_EQ(perExam, 28);
    EXPECT_EQ(run(each([](const QuestionState&) { return 1.0; }), B).questions, 28);
    // No class, no estimate.
    EXPECT_EQ(progress::estimateReadiness(ctx, QStringLiteral("X"), {}).exams, 0);
}

TEST_F(ReadinessTest, ALatestExamAnswerWeighsMoreThanTheCounters) {
    QuestionState q;
    q.RICHTIG = 3;
    q.FALSCH = 1;
    const double counters = progress::knowledge(q);
    q.lastExamRight = false;
    const double afterWrong = progress::knowledge(q);
    q.lastExamRight = true;
    const double afterRight = progress::knowledge(q);
    EXPECT_LT(afterWrong, counters);
    EXPECT_GT(afterRight, counters);
    EXPECT_GT(progress::knowledge({}), 0.0);
    EXPECT_LT(progress::knowledge({}), 1.0);
}

TEST_F(ReadinessTest, MistakesAreTheQuestionsLastAnsweredWronglyWeakestFirst) {
    ASSERT_TRUE(write(examfixture::examCatalog(4)));
    using examfixture::nr;
    // Exam: question 1 (first of theme 1) wrong, then right in training often: still a mistake by the exam.
    EXPECT_EQ(takeExam(B, {0}), exam::Verdict::Passed);
    std::map<std::string, trainingfixture::Counts> counts;
    const auto padded = [](const std::string& n) { return n; };
    counts[padded(nr('1', 1, 1))] = {6, 5, 1, "01"};
    counts[padded(nr('1', 2, 3))] = {4, 1, 3, "02"}; // never in an exam, more often wrong
    counts[padded(nr('2', 5, 3))] = {2, 1, 1, "03"}; // as often wrong as right
    counts[padded(nr('2', 7, 4))] = {3, 2, 1, "04"}; // more often right: not a mistake
    ASSERT_TRUE(trainingfixture::setCounts(dir / "LOCAL1.DBF", counts));
    questions = progress::classQuestions(ctx, B, progress::readHistory(ctx));
    const auto chosen = progress::mistakes(questions, 30);
    std::vector<std::string> numbers;
    for (const auto& q : chosen)
        numbers.push_back(q.FRAGENR);
    EXPECT_EQ(numbers, (std::vector<std::string>{nr('1', 2, 3), nr('2', 5, 3), nr('1', 1, 1)}));
    EXPECT_EQ(progress::mistakes(questions, 2).size(), 2u);
}

} // namespace
