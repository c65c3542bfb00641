#include <gtest/gtest.h>

#include <QString>

#include <set>
#include <tuple>

#include "catalog/tables.h"
#include "exam/composition.h"
#include "exam/examfixture.h"
#include "exam/examrun.h"
#include "store/workarea.h"
#include "support/scripted.h"
#include "support/testdir.h"

inline std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << '"' << s.toStdString() << '"';
}

namespace {

using exam::Verdict;
using examfixture::nr;

// Theme and group of every position of a complete exam, as the fourteen steps give them.
std::vector<std::pair<int, char>> positions() {
    std::vector<std::pair<int, char>> all;
    for (const catalog::ExamStep& s : catalog::EXAM_STEPS)
        for (int i = 0; i < s.count; ++i)
            all.emplace_back(s.theme, s.group);
    return all;
}

struct Row {
    int nummer;
    std::string fragenr;
    int theme;
    std::string antw1; // as stored; equal texts in equal positions mean equal rotations
    bool ok1;
};

class ExamTest : public ::testing::Test {
protected:
    ExamTest() : ctx(QString::fromStdString(dir.path().string())) {
        ctx.settings.LS_WVORLAGE = true; // the exam has no second pass whatever this says
        ctx.settings.LS_SAUSWERT = false;
        ctx.settings.LS_SOUND = true;
        ctx.settings.LS_SPEECH = false;
    }

    void write(const std::vector<trainingfixture::Question>& questions) {
        ASSERT_TRUE(trainingfixture::writeCatalog(dir.path(), questions));
        ASSERT_EQ(catalog::MAKELOCAL(dir.path(), "LOCAL1"), catalog::MakeLocalResult::Created);
    }

    static std::vector<Row> workingSet(exam::ExamRun& run) {
        std::vector<Row> rows;
        store::WorkArea* fra = run.run().session().find("DFRA");
        for (fra->goTop(); !fra->eof(); fra->skip())
            rows.push_back({int(fra->number("NUMMER")), fra->text("FRAGENR"), int(fra->number("THEMA")),
                            fra->text("ANTW1"), fra->logical("OK1")});
        fra->goTop();
        return rows;
    }

    // Takes a whole exam: the questions at the positions in `wrong` (0-based) are answered with the wrong ticks,
    // the others right. Returns the verdict the closed dialog would give.
    Verdict take(exam::ExamRun& run, const std::set<int>& wrong) {
        run.GETDATA();
        for (int position = 0;; ++position) {
            training::RunState& s = run.state();
            const bool w = wrong.count(position) > 0;
            s.LISOK1 = run.run().correct(1) != w;
            s.LISOK2 = run.run().correct(2);
            s.LISOK3 = run.run().correct(3);
            EXPECT_EQ(run.CHKDATA(), !w) << position;
            if (run.CHKWEITER() == training::QuestionRun::Step::Finished) break;
            if (position > 40) {
                ADD_FAILURE() << "the exam does not end";
                break;
            }
        }
        return exam::verdictOf(run.state(), run.exam());
    }

    lwtest::TempDir dir;
    lwtest::ScriptedContext ctx;
};

TEST_F(ExamTest, AFullCatalogGivesThirtyQuestionsInTheStepsOrderEachStepWithOneRotation) {
    write(examfixture::examCatalog(4));
    exam::ExamRun run(ctx);
    run.begin(QStringLiteral("B / BE"));
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE")));
    EXPECT_EQ(run.state().NVON, 30);
    EXPECT_EQ(run.exam().NMAXFRAGEN, 30);
    EXPECT_EQ(run.exam().NMAXFEH, 10);
    EXPECT_EQ(run.exam().NMAXFUENF, 2);

    const std::vector<Row> rows = workingSet(run);
    const auto want = positions();
    ASSERT_EQ(rows.size(), 30u);
    // A fresh learner gets the first questions of each theme and group in catalog order; group 1 comes first
    // although the catalog holds group 2 first.
    std::map<std::pair<int, char>, int> taken;
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto [theme, group] = want[i];
        EXPECT_EQ(rows[i].nummer, int(i) + 1);
        EXPECT_EQ(rows[i].theme, theme) << i;
        EXPECT_EQ(rows[i].fragenr, nr(group, theme, ++taken[{theme, group}])) << i;
    }
    // Every question of a step shows its answers in the same order.
    size_t at = 0;
    std::set<std::string> firstAnswers;
    for (const catalog::ExamStep& step : catalog::EXAM_STEPS) {
        for (int i = 1; i < step.count; ++i) {
            EXPECT_EQ(rows[at + i].antw1, rows[at].antw1) << "step of theme " << step.theme;
            EXPECT_EQ(rows[at + i].ok1, rows[at].ok1);
        }
        firstAnswers.insert(rows[at].antw1);
        at += size_t(step.count);
    }
    // ... and the steps do not all share one.
    EXPECT_GT(firstAnswers.size(), 1u);

    // The composition alone picks the same questions and leaves the learner's files as they were.
    run.finish();
    const std::string before = lwtest::readFile(dir / "LOCAL1.DBF");
    training::Random random([] { return 43200.25; });
    const auto picks = exam::composeExam(ctx, QStringLiteral("B / BE"), random);
    ASSERT_EQ(picks.size(), 30u);
    for (size_t i = 0; i < picks.size(); ++i) {
        EXPECT_EQ(picks[i].FRAGENR, rows[i].fragenr);
        EXPECT_EQ(picks[i].theme, want[i].first);
        EXPECT_EQ(picks[i].group, want[i].second);
        EXPECT_GE(picks[i].rotation, 0);
        EXPECT_LE(picks[i].rotation, 100);
    }
    EXPECT_EQ(picks.front().step, 1);
    EXPECT_EQ(picks.back().step, 14);
    EXPECT_EQ(lwtest::readFile(dir / "LOCAL1.DBF"), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "LOCAL.CDX"));
    EXPECT_FALSE(std::filesystem::exists(dir / "T_FRAGE.DBF"));
}

TEST_F(ExamTest, AfterPracticeTheLeastMasteredQuestionsOfEachStepMoveIn) {
    write(examfixture::examCatalog(5));
    ASSERT_TRUE(trainingfixture::setCounts(dir / "LOCAL1.DBF",
                                           {// theme 1, group 1: the untouched question, then the fewer answers
                                            {nr('1', 1, 1), {3, 3, 0, "10"}},
                                            {nr('1', 1, 2), {3, 3, 0, "10"}},
                                            {nr('1', 1, 4), {2, 1, 1, "10"}},
                                            {nr('1', 1, 5), {1, 1, 0, "59"}},
                                            // theme 1, group 2: equal counters, the seconds decide
                                            {nr('2', 1, 1), {1, 1, 0, "45"}},
                                            {nr('2', 1, 2), {1, 1, 0, "07"}},
                                            {nr('2', 1, 3), {2, 2, 0, "00"}},
                                            {nr('2', 1, 4), {2, 2, 0, "00"}},
                                            {nr('2', 1, 5), {2, 2, 0, "00"}},
                                            // theme 3: five wrong answers sort before one right
                                            {nr('1', 3, 1), {5, 0, 5, "00"}},
                                            {nr('1', 3, 2), {1, 1, 0, "00"}},
                                            {nr('1', 3, 3), {1, 1, 0, "00"}},
                                            {nr('1', 3, 4), {1, 1, 0, "00"}}}));
    exam::ExamRun run(ctx);
    run.begin(QStringLiteral("B / BE"));
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE")));
    const std::vector<Row> rows = workingSet(run);
    ASSERT_EQ(rows.size(), 30u);
    EXPECT_EQ(rows[0].fragenr, nr('1', 1, 3));
    EXPECT_EQ(rows[1].fragenr, nr('1', 1, 5));
    EXPECT_EQ(rows[2].fragenr, nr('2', 1, 2));
    EXPECT_EQ(rows[3].fragenr, nr('2', 1, 1));
    EXPECT_EQ(rows[8].fragenr, nr('1', 3, 5));
    EXPECT_EQ(rows[9].fragenr, nr('1', 3, 1));
    EXPECT_EQ(rows[10].fragenr, nr('1', 3, 2));
}

TEST_F(ExamTest, AShortCatalogGivesAShorterExamAndTakesNothingFromElsewhere) {
    // One question of theme 6 in group 2; theme 3 has group 2 questions and theme 6 group 1 questions the exam
    // never asks for.
    write(examfixture::examCatalog(4, {{{6, '2'}, 1}}));
    exam::ExamRun run(ctx);
    run.begin(QStringLiteral("B / BE"));
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE")));
    EXPECT_EQ(run.state().NVON, 28);
    EXPECT_EQ(run.exam().NMAXFRAGEN, 28);
    const std::vector<Row> rows = workingSet(run);
    ASSERT_EQ(rows.size(), 28u);
    int themeSix = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].nummer, int(i) + 1);
        const char group = rows[i].fragenr.front();
        EXPECT_FALSE(rows[i].theme == 3 && group == '2') << rows[i].fragenr;
        EXPECT_FALSE(rows[i].theme == 6 && group == '1') << rows[i].fragenr;
        if (rows[i].theme == 6) ++themeSix;
    }
    EXPECT_EQ(themeSix, 1);
    EXPECT_EQ(rows[19].fragenr, nr('2', 6, 1));
    EXPECT_EQ(rows[20].theme, 7);

    // A class without a single question gets an empty exam, which the caller refuses to start.
    run.finish();
    exam::ExamRun none(ctx);
    none.begin(QStringLiteral("T"));
    ASSERT_TRUE(none.CHECKDBF(QStringLiteral("T")));
    EXPECT_EQ(none.state().NVON, 0);
    EXPECT_EQ(exam::verdictOf(none.state(), none.exam()), Verdict::None);
}

TEST_F(ExamTest, AnswersCountInErrorPointsFivePointFaultsAndTheLearnersTableWithoutASecondPass) {
    write(examfixture::examCatalog(4));
    exam::ExamRun run(ctx);
    run.begin(QStringLiteral("B / BE"));
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE")));
    // A 5-point question, a 2-point and a 3-point one wrong: 10 points, one 5-point fault.
    EXPECT_EQ(take(run, {0, 4, 8}), Verdict::Passed);
    EXPECT_EQ(run.state().NFEHLER, 10);
    EXPECT_EQ(run.exam().NFUENFFEH, 1);
    EXPECT_EQ(run.state().NFRAGENR, 30);
    // Only wrong answers sound.
    EXPECT_EQ(ctx.scripted.sound->played(), QStringList(3, QStringLiteral(".\\Sounds\\fehler.wav")));
    // No second pass: the last question ends the exam with one notice, and the working set is whole.
    ASSERT_EQ(ctx.scripted.messages->shown().size(), 1u);
    EXPECT_EQ(ctx.scripted.messages->shown()[0].text, QStringLiteral("Dies war die letzte Frage."));
    EXPECT_EQ(workingSet(run).size(), 30u);
    const auto rows = workingSet(run);
    run.finish();
    const auto counts = trainingfixture::readCounts(dir / "LOCAL1.DBF");
    for (size_t i = 0; i < rows.size(); ++i) {
        const trainingfixture::Counts& c = counts.at(rows[i].fragenr);
        const bool wrong = i == 0 || i == 4 || i == 8;
        EXPECT_EQ(c.antworten, 1) << rows[i].fragenr;
        EXPECT_EQ(c.falsch, wrong ? 1 : 0) << rows[i].fragenr;
        EXPECT_EQ(c.richtig, wrong ? 0 : 1) << rows[i].fragenr;
    }
    EXPECT_EQ(counts.at(nr('1', 1, 3)).antworten, 0); // not in the exam
}

TEST_F(ExamTest, TheClassLimitsDecidePassedOrFailed) {
    write(examfixture::examCatalog(4));
    // Positions 0-3 are worth 5 points, 4-7 two, 8-10 three, the rest four.
    const std::vector<std::tuple<const char*, std::set<int>, Verdict, int>> cases = {
        {"B / BE", {0, 4, 5, 6}, Verdict::Failed, 11}, {"B / BE", {4, 5, 6, 7, 11}, Verdict::Failed, 12},
        {"B / BE", {0, 1}, Verdict::Failed, 10}, // two 5-point faults fail within 10 points
        {"B / BE", {4, 5, 8, 9}, Verdict::Passed, 10}, {"MO", {0, 4}, Verdict::Passed, 7},
        {"MO", {4, 5, 6, 7}, Verdict::Failed, 8},      {"MO", {}, Verdict::Passed, 0},
    };
    for (const auto& [code, wrong, verdict, points] : cases) {
        exam::ExamRun run(ctx);
        run.begin(QString::fromLatin1(code));
        ASSERT_TRUE(run.CHECKDBF(QString::fromLatin1(code)));
        EXPECT_EQ(take(run, wrong), verdict) << code << " with " << points;
        EXPECT_EQ(run.state().NFEHLER, points) << code;
    }
    // MO knows no 5-point rule: three 5-point faults are nothing as long as the points stay within 7.
    training::RunState s;
    s.NFRAGENR = 30;
    s.NFEHLER = 7;
    exam::ExamState mo{7, 0, 3, 30};
    EXPECT_EQ(exam::verdictOf(s, mo), Verdict::Passed);

    for (const char* code : {"A", "A1", "B / BE", "C", "C1", "CE", "D", "D1", "DE", "M", "L", "S", "T"}) {
        const auto limits = exam::passLimits(QString::fromLatin1(code));
        ASSERT_TRUE(limits) << code;
        EXPECT_EQ(limits->NMAXFEH, 10) << code;
        EXPECT_EQ(limits->NMAXFUENF, 2) << code;
    }
    EXPECT_EQ(exam::passLimits(QStringLiteral("MO"))->NMAXFEH, 7);
    EXPECT_EQ(exam::passLimits(QStringLiteral("MO"))->NMAXFUENF, 0);
    EXPECT_FALSE(exam::passLimits(QStringLiteral("X")));
}

TEST_F(ExamTest, TheVerdictFollowsTheQuestionShownWhenTheDialogClosed) {
    training::RunState s;
    exam::ExamState e;
    s.NFEHLER = 3;
    for (int at : {0, 1}) {
        s.NFRAGENR = at;
        EXPECT_EQ(exam::verdictOf(s, e), Verdict::None) << at;
    }
    for (int at : {2, 15, 29}) {
        s.NFRAGENR = at;
        EXPECT_EQ(exam::verdictOf(s, e), Verdict::Aborted) << at;
    }
    s.NFRAGENR = 30;
    EXPECT_EQ(exam::verdictOf(s, e), Verdict::Passed);
    // A shorter exam ends at its own last question.
    e.NMAXFRAGEN = 28;
    s.NFRAGENR = 28;
    EXPECT_EQ(exam::verdictOf(s, e), Verdict::Passed);
    s.NFRAGENR = 27;
    EXPECT_EQ(exam::verdictOf(s, e), Verdict::Aborted);

    exam::announceVerdict(ctx, Verdict::None, 4);
    EXPECT_TRUE(ctx.scripted.messages->shown().empty());
    EXPECT_TRUE(ctx.scripted.sound->played().isEmpty());

    using Expect = std::tuple<Verdict, int, const char*, const char*, const char*, const char*>;
    for (const auto& [verdict, n, text, title, speech, sound] : {
             Expect{Verdict::Passed, 0, "Sie haben die Prüfung ohne\rFehlerpunkte bestanden !", "Glückwunsch",
                    "Glückwunsch. Sie haben die Prüfung ohne Fehlerpunkte bestanden !", "pok"},
             Expect{Verdict::Passed, 10, "Sie haben die Prüfung mit 10\rFehlerpunkten bestanden !", "Glückwunsch",
                    "Glückwunsch. Sie haben die Prüfung mit 10 Fehlerpunkten bestanden !", "pok"},
             Expect{Verdict::Failed, 11, "Sie haben 11 Fehlerpunkte und damit\rdie Prüfung nicht bestanden !",
                    "Pech gehabt ...", "Zuviele Fehler! Sie haben 11 Fehlerpunkte!Sie müssen noch etwas üben!", "pnok"},
             Expect{Verdict::Aborted, 4, "Sie haben die Prüfung abgebrochen\rund darum nicht bestanden !",
                    "Pech gehabt ...", "Sie haben die Prüfung abgebrochen und darum nicht bestanden !", "pnok"},
         }) {
        ctx.settings.LS_SPEECH = false;
        exam::announceVerdict(ctx, verdict, n);
        const auto& shown = ctx.scripted.messages->shown().back();
        EXPECT_EQ(shown.kind, lwtest::ScriptedMessages::Kind::Info);
        EXPECT_EQ(shown.text, QString::fromUtf8(text));
        EXPECT_EQ(shown.title, QString::fromUtf8(title));
        ASSERT_FALSE(ctx.scripted.sound->played().isEmpty());
        EXPECT_EQ(ctx.scripted.sound->played().back(), QStringLiteral(".\\Sounds\\%1.wav").arg(QLatin1String(sound)));
        // With speech on, the verdict is spoken and not sounded.
        ctx.settings.LS_SPEECH = true;
        const auto sounds = ctx.scripted.sound->played().size();
        exam::announceVerdict(ctx, verdict, n);
        EXPECT_EQ(ctx.scripted.sound->played().size(), sounds);
        ASSERT_FALSE(ctx.scripted.speech->spoken().empty());
        EXPECT_EQ(ctx.scripted.speech->spoken().back().join(QString()), QString::fromUtf8(speech));
        EXPECT_EQ(ctx.scripted.messages->shown().back().text, QString::fromUtf8(text));
    }
    EXPECT_EQ(ctx.scripted.messages->shown().size(), 8u);
}

} // namespace
