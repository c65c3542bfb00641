#include <gtest/gtest.h>

#include <QFile>

#include <random>
#include <sstream>

#include "core/context.h"
#include "platform/inifile.h"
#include "stats/statistics.h"
#include "stats_support.h"
#include "store/error.h"
#include "support/scripted.h"
#include "support/testdir.h"

namespace {

using stats::Counts;
using stats::Rgb;
using statstest::answered;
using statstest::Question;

// A learner's table with questions of several classes and themes; the comments give what each adds.
std::vector<Question> sampleTable() {
    return {
        answered("1.1.01-001", 1, {"KLASSE_A", "KLASSE_B"}, 1, 2),        // three answers, one right
        answered("1.1.01-002", 1, {"KLASSE_B"}, 0, 0),                    // never answered
        answered("1.2.01-001", 2, {"KLASSE_B"}, 0, 2),                    // answered twice, never right
        answered("1.2.01-002", 2, {"KLASSE_B"}, 1, 0, "50"),              // value question of theme 2
        answered("1.3.01-001", 3, {"KLASSE_A"}, 4, 0),                    // class A only
        answered("1.4.01-001", 4, {"KLASSE_B", "KLASSE_D"}, 0, 0, "0,5"), // value question of theme 4
        answered("1.5.01-001", 5, {"KLASSE_D", "KLASSE_K"}, 1, 1),
        answered("2.7.01-001", 7, {"KLASSE_B", "KLASSE_CE"}, 0, 5),
        answered("2.0.01-001", 0, {"KLASSE_B"}, 1, 0), // no theme: counts in the class only
    };
}

class Statistics : public ::testing::Test {
protected:
    Statistics() : ctx(QString::fromStdString(dir.path().string())) {}

    void login(int user) {
        core::LoginState state;
        state.NS_USER = user;
        state.CS_LOCAL = user == 2 ? QStringLiteral("LOCAL2") : QStringLiteral("LOCAL1");
        ctx.setLogin(state);
    }
    bool exists(const char* name) const { return QFile::exists(ctx.path(QString::fromLatin1(name))); }

    lwtest::TempDir dir;
    lwtest::ScriptedContext ctx;
};

Counts overviewOf(core::Context& ctx, const char* classCode, int theme = 0) {
    stats::Overview overview(ctx);
    const bool ok = theme == 0 ? overview.CHECKDBF(QString::fromUtf8(classCode))
                               : overview.CHECKDBF2(QString::fromUtf8(classCode), theme);
    EXPECT_TRUE(ok) << classCode;
    return overview.counts();
}

// ---- numbers -----------------------------------------------------------------------------------------------------

TEST(StatisticsNumbers, DivisionByZeroGivesZero) {
    EXPECT_EQ(stats::quotient(5, 0), 0);
    EXPECT_EQ(stats::quotient(0, 0), 0);
    EXPECT_EQ(stats::quotient(7, 2), 3);
}

TEST(StatisticsNumbers, ShareColoursRunFromRedToBlueAndAnEmptyWholeIsRed) {
    EXPECT_EQ(stats::shareColor(0, 10), (Rgb{255, 0, 0}));
    EXPECT_EQ(stats::shareColor(10, 10), (Rgb{0, 0, 255}));
    EXPECT_EQ(stats::shareColor(1, 3), (Rgb{170, 0, 85}));
    // 255 / 7 * 3 = 109.29: each channel is truncated on its own, so they need not add up to 255.
    EXPECT_EQ(stats::shareColor(3, 7), (Rgb{145, 0, 109}));
    EXPECT_EQ(stats::shareColor(0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(stats::meterColor(50, 100), (Rgb{127, 0, 0}));
    EXPECT_EQ(stats::meterColor(100, 100), (Rgb{255, 0, 0}));
    EXPECT_EQ(stats::meterColor(3, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(stats::shareColor(1, 2), (Rgb{127, 0, 127}));
    EXPECT_EQ(stats::shareColor(99, 100), (Rgb{2, 0, 252}));
}

TEST(StatisticsNumbers, SecondBarIsBlueFromExactlyHalfAndKeepsItsColourWithoutAnswers) {
    auto right = [](long long answered, long long right) {
        Counts c;
        c.NFRAGEN = 40;
        c.NBEANTW = answered;
        c.NGEFRAGT = answered * 2;
        c.NRICHTIG = right;
        return stats::rightColor(c);
    };
    EXPECT_EQ(right(10, 5), (Rgb{0, 0, 255}));
    EXPECT_EQ(right(10, 4), (Rgb{255, 0, 0}));
    // Thirds and sixths, where 100 / n * k is not a whole number.
    EXPECT_EQ(right(6, 3), (Rgb{0, 0, 255}));
    EXPECT_EQ(right(3, 1), (Rgb{255, 0, 0}));
    EXPECT_EQ(right(98, 49), (Rgb{0, 0, 255}));
    EXPECT_EQ(right(1, 0), (Rgb{255, 0, 0}));
    EXPECT_FALSE(right(0, 0).has_value());
}

TEST(StatisticsNumbers, ClassCodesMapToTheirColumnsByPrefix) {
    const std::pair<const char*, const char*> cases[] = {
        {"B / BE", "KLASSE_B"}, {"DE", "KLASSE_D"},  {"D1", "KLASSE_D1"}, {"S", "KLASSE_K"},   {"A1", "KLASSE_A1"},
        {"A", "KLASSE_A"},      {"CE", "KLASSE_CE"}, {"C1", "KLASSE_C1"}, {"MO", "KLASSE_MO"}, {"T", "KLASSE_T"}};
    for (const auto& [code, field] : cases) {
        ASSERT_TRUE(stats::classField(QString::fromLatin1(code)).has_value()) << code;
        EXPECT_EQ(*stats::classField(QString::fromLatin1(code)), field) << code;
    }
    EXPECT_FALSE(stats::classField(QStringLiteral("X")).has_value());
    EXPECT_EQ(stats::classCondition(QStringLiteral("B / BE")), "KLASSE_B > 0");
}

// ---- the overview ------------------------------------------------------------------------------------------------

TEST_F(Statistics, ClassCountsTakeEachQuestionOnceAndEveryAnswer) {
    statstest::writeLocal(dir.path(), "LOCAL1", sampleTable());
    // B: seven questions, five answered with 3 + 2 + 1 + 5 + 1 answers, three of them right at least once.
    EXPECT_EQ(overviewOf(ctx, "B / BE"), (Counts{7, 5, 12, 3}));
    EXPECT_EQ(overviewOf(ctx, "A"), (Counts{2, 2, 7, 2}));
    EXPECT_EQ(overviewOf(ctx, "DE"), (Counts{2, 1, 2, 1}));
    EXPECT_EQ(overviewOf(ctx, "S"), (Counts{1, 1, 2, 1}));
    EXPECT_EQ(overviewOf(ctx, "A1"), (Counts{0, 0, 0, 0}));
}

TEST_F(Statistics, ThemeCountsSelectTheThemeAndTheme9EveryValueQuestionOfTheClass) {
    statstest::writeLocal(dir.path(), "LOCAL1", sampleTable());
    EXPECT_EQ(overviewOf(ctx, "B / BE", 2), (Counts{2, 2, 3, 1}));
    EXPECT_EQ(overviewOf(ctx, "B / BE", 9), (Counts{2, 1, 1, 1}));
    EXPECT_EQ(overviewOf(ctx, "B / BE", 6), (Counts{0, 0, 0, 0}));
    EXPECT_EQ(overviewOf(ctx, "DE", 9), (Counts{1, 0, 0, 0}));
}

TEST_F(Statistics, CountingRunsUnderTheMeterAgainstAllRecordsAndTheOverviewRemovesItsIndexFiles) {
    statstest::writeLocal(dir.path(), "LOCAL1", sampleTable());
    lwtest::writeFile(dir / "LOCAL1.CDX", "left over");
    {
        stats::Overview overview(ctx);
        ASSERT_TRUE(overview.CHECKDBF(QStringLiteral("CE")));
        EXPECT_TRUE(exists("LOCAL.CDX"));
        const auto& shown = ctx.scripted.messages->shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, QStringLiteral("Statistik-Daten ermitteln ..."));
        const auto& run = ctx.scripted.messages->meterRuns().at(0);
        // The bar's total is the whole table; the count stops at the one question of class CE.
        EXPECT_EQ(run.total, 9);
        EXPECT_EQ(run.positions.back(), 1);
    }
    EXPECT_FALSE(exists("LOCAL.CDX"));
    EXPECT_FALSE(exists("LOCAL1.CDX"));
    EXPECT_EQ(statstest::counters(dir / "LOCAL1.DBF").size(), 9u);

    // A theme's statistic leaves the index file to the training run that opened it.
    {
        stats::Overview overview(ctx);
        ASSERT_TRUE(overview.CHECKDBF2(QStringLiteral("B / BE"), 1));
    }
    EXPECT_TRUE(exists("LOCAL.CDX"));
}

TEST_F(Statistics, EmptyOrMissingTablesGiveNoCounts) {
    statstest::writeLocal(dir.path(), "LOCAL1", {});
    EXPECT_EQ(overviewOf(ctx, "B / BE"), (Counts{}));
    EXPECT_EQ(stats::answeredColor(Counts{}), (Rgb{255, 0, 0}));

    login(2); // no LOCAL2 yet
    const store::ErrorCallback previous = store::setErrorCallback([](const store::StoreError&) {});
    stats::Overview overview(ctx);
    EXPECT_FALSE(overview.CHECKDBF(QStringLiteral("B / BE")));
    store::setErrorCallback(previous);
    EXPECT_EQ(overview.counts(), Counts{});
}

TEST_F(Statistics, ResetZeroesEveryQuestionOfTheClassAndNoOther) {
    statstest::writeLocal(dir.path(), "LOCAL1", sampleTable());
    const auto before = statstest::counters(dir / "LOCAL1.DBF");
    {
        stats::Overview overview(ctx);
        ASSERT_TRUE(overview.CHECKDBF(QStringLiteral("A")));
        ctx.scripted.messages->queueAnswer(false);
        EXPECT_FALSE(overview.STAT_DEL());
    }
    EXPECT_EQ(statstest::counters(dir / "LOCAL1.DBF"), before);
    {
        stats::Overview overview(ctx);
        ASSERT_TRUE(overview.CHECKDBF(QStringLiteral("A")));
        ctx.scripted.messages->queueAnswer(true);
        EXPECT_TRUE(overview.STAT_DEL());
        const auto& asked = ctx.scripted.messages->shown().back();
        EXPECT_EQ(asked.text, QStringLiteral("Alle Statistik-Daten löschen ?"));
        EXPECT_EQ(asked.title, QStringLiteral("Frage"));
        EXPECT_EQ(ctx.scripted.messages->busyDepth(), 0);
    }
    auto after = statstest::counters(dir / "LOCAL1.DBF");
    // Records 1 and 5 are class A; record 1 is class B too and loses its counts there as well.
    EXPECT_EQ(after[0], "0/0/0/[]");
    EXPECT_EQ(after[4], "0/0/0/[]");
    for (std::size_t i : {1u, 2u, 3u, 5u, 6u, 7u, 8u})
        EXPECT_EQ(after[i], before[i]) << i;
    EXPECT_EQ(overviewOf(ctx, "B / BE"), (Counts{7, 4, 9, 2}));
}

TEST_F(Statistics, ResetReachesEveryRecordAlthoughItsKeyChanges) {
    // Many questions of the class with different counters: zeroing one moves it to the front of the order that
    // is walked, which a walk along that order would skip past.
    std::vector<Question> rows;
    std::mt19937 rng(7);
    for (int i = 0; i < 400; ++i) {
        const int right = static_cast<int>(rng() % 6), wrong = static_cast<int>(rng() % 6);
        char nr[16];
        std::snprintf(nr, sizeof nr, "1.%d.%02d-%03d", 1 + i % 8, i % 100, i);
        rows.push_back(answered(
            nr, 1 + i % 8, i % 5 == 0 ? std::vector<std::string>{"KLASSE_T"} : std::vector<std::string>{"KLASSE_B"},
            right, wrong));
    }
    statstest::writeLocal(dir.path(), "LOCAL1", rows);
    const auto before = statstest::counters(dir / "LOCAL1.DBF");
    {
        stats::Overview overview(ctx);
        ASSERT_TRUE(overview.CHECKDBF(QStringLiteral("B / BE")));
        ctx.scripted.messages->queueAnswer(true);
        ASSERT_TRUE(overview.STAT_DEL());
    }
    const auto after = statstest::counters(dir / "LOCAL1.DBF");
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i], i % 5 == 0 ? before[i] : std::string("0/0/0/[]")) << "record " << i + 1;
}

// ---- by theme ----------------------------------------------------------------------------------------------------

TEST_F(Statistics, ByThemeCountsThemesOneToEightAndEveryQuestionInTheTotal) {
    statstest::writeLocal(dir.path(), "LOCAL1", sampleTable());
    stats::Overview overview(ctx);
    ASSERT_TRUE(overview.CHECKDBF(QStringLiteral("B / BE")));
    stats::ThemeCounts expected;
    expected.NFRAGEN = {2, 2, 0, 1, 0, 0, 1, 0};
    expected.NGEFRAG = {1, 2, 0, 0, 0, 0, 1, 0};
    expected.NRICHTG = {1, 1, 0, 0, 0, 0, 0, 0};
    expected.NFRAGENA = 7; // the question without theme counts here only
    expected.NGEFRAGA = 4;
    expected.NRICHTGA = 2;
    {
        stats::ThemeStatistics byTheme(ctx, overview);
        ASSERT_TRUE(byTheme.CHECKDBF());
        EXPECT_TRUE(exists("LOCAL1.CDX"));
        EXPECT_EQ(ctx.scripted.messages->shown().back().text, QStringLiteral("LOCAL1.CDX Index aufbauen..."));
        EXPECT_EQ(byTheme.GETSTAT(), expected);
        EXPECT_EQ(ctx.scripted.messages->busyDepth(), 0);
    }
    EXPECT_FALSE(exists("LOCAL1.CDX"));
    // The overview walks its class again, and its reset acts on its class only.
    EXPECT_EQ(stats::GETSTAT(*overview.area()), (Counts{7, 5, 12, 3}));
    ctx.scripted.messages->queueAnswer(true);
    ASSERT_TRUE(overview.STAT_DEL());
    overview.closeTables();
    const auto after = statstest::counters(dir / "LOCAL1.DBF");
    EXPECT_EQ(after[4], "4/4/0/[38]"); // class A only
    EXPECT_EQ(after[6], "2/1/1/[30]"); // classes D and S
}

TEST_F(Statistics, ByThemeAgreesWithAnIndependentCountOfTheTable) {
    if (lwtest::runCommand("/usr/bin/python3 -c 'import dbfread' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3 lacks dbfread";
    std::vector<Question> rows;
    std::mt19937 rng(2007);
    const char* classes[] = {"KLASSE_B", "KLASSE_A", "KLASSE_D", "KLASSE_T"};
    for (int i = 0; i < 600; ++i) {
        std::vector<std::string> in;
        for (const char* c : classes)
            if (rng() % 3) in.push_back(c);
        const int right = rng() % 4 == 0 ? static_cast<int>(rng() % 3) : 0;
        const int wrong = rng() % 3 == 0 ? static_cast<int>(rng() % 3) : 0;
        char nr[16];
        std::snprintf(nr, sizeof nr, "2.%d.%02d-%03d", i % 10, i % 100, i);
        rows.push_back(answered(nr, static_cast<int>(rng() % 10), in, right, wrong));
    }
    statstest::writeLocal(dir.path(), "LOCAL1", rows);
    const std::string script = "import sys, dbfread\n"
                               "n = {}; g = {}; r = {}; a = 0\n"
                               "for x in dbfread.DBF(sys.argv[1]):\n"
                               "    if not (x['KLASSE_D'] or 0) > 0: continue\n"
                               "    a += 1\n"
                               "    t = int(x['THEMA'] or 0)\n"
                               "    if 1 <= t <= 8:\n"
                               "        n[t] = n.get(t, 0) + 1\n"
                               "        g[t] = g.get(t, 0) + ((x['ANTWORTEN'] or 0) > 0)\n"
                               "        r[t] = r.get(t, 0) + ((x['RICHTIG'] or 0) > 0)\n"
                               "print(a, sum(g.values()), sum(r.values()))\n"
                               "for t in range(1, 9): print(n.get(t, 0), g.get(t, 0), r.get(t, 0))\n";
    lwtest::writeFile(dir / "count.py", script);
    std::string out;
    ASSERT_EQ(lwtest::runCommand("/usr/bin/python3 '" + (dir / "count.py").string() + "' '" +
                                     (dir / "LOCAL1.DBF").string() + "'",
                                 &out),
              0);
    std::istringstream in(out);
    stats::ThemeCounts expected;
    in >> expected.NFRAGENA >> expected.NGEFRAGA >> expected.NRICHTGA;
    for (std::size_t t = 0; t < 8; ++t)
        in >> expected.NFRAGEN[t] >> expected.NGEFRAG[t] >> expected.NRICHTG[t];
    ASSERT_TRUE(in) << out;
    ASSERT_GT(expected.NFRAGENA, expected.NFRAGEN[0]); // themes 0 and 9 are in the sample

    stats::Overview overview(ctx);
    ASSERT_TRUE(overview.CHECKDBF(QStringLiteral("DE")));
    stats::ThemeStatistics byTheme(ctx, overview);
    ASSERT_TRUE(byTheme.CHECKDBF());
    EXPECT_EQ(byTheme.GETSTAT(), expected);
}

// ---- the two learners --------------------------------------------------------------------------------------------

TEST_F(Statistics, ComparisonWithoutTheSecondLearnersTableHasNothingToCompare) {
    statstest::writeLocal(dir.path(), "LOCAL1", sampleTable());
    stats::Comparison comparison(ctx, nullptr, QStringLiteral("B / BE"));
    EXPECT_FALSE(comparison.secondLearnerExists());
}

TEST_F(Statistics, ComparisonCountsBothTablesWhoeverIsLoggedInAndGivesTheOverviewItsTableBack) {
    statstest::writeLocal(dir.path(), "LOCAL1", sampleTable());
    statstest::writeLocal(dir.path(), "LOCAL2",
                          {answered("1.1.01-001", 1, {"KLASSE_B"}, 2, 0), answered("1.1.01-002", 1, {"KLASSE_B"}, 0, 1),
                           answered("1.3.01-002", 3, {"KLASSE_B"}, 1, 0), answered("1.3.01-003", 9, {"KLASSE_B"}, 1, 0),
                           answered("1.3.01-004", 3, {"KLASSE_A"}, 1, 0)});
    const QString ini = ctx.path(QStringLiteral("TAVOLIN.INI"));
    platform::writeProfileString(ini, QStringLiteral("User"), QStringLiteral("UserName1"), QStringLiteral("Anna Berg"));
    platform::writeProfileString(ini, QStringLiteral("User"), QStringLiteral("UserName2"), QStringLiteral("Ben Kurz"));
    login(2);

    stats::Overview overview(ctx);
    ASSERT_TRUE(overview.CHECKDBF(QStringLiteral("B / BE")));
    EXPECT_EQ(overview.counts(), (Counts{4, 4, 5, 3}));
    overview.area()->goTop();
    overview.area()->skip();
    const std::uint32_t record = overview.area()->recNo();
    {
        stats::Comparison comparison(ctx, &overview, QStringLiteral("B / BE"));
        ASSERT_TRUE(comparison.secondLearnerExists());
        ASSERT_TRUE(comparison.CHECKDBF());
        EXPECT_EQ(overview.area(), nullptr); // both tables are the comparison's now
        comparison.GETSTAT1();
        comparison.GETSTAT2();
        stats::LearnerCounts one, two;
        one.NFRAGEN = {2, 2, 0, 1, 0, 0, 1, 0};
        one.NRICHTG = {1, 1, 0, 0, 0, 0, 0, 0};
        one.NFRAGENA = 7;
        one.NRICHTGA = 2;
        two.NFRAGEN = {2, 0, 1, 0, 0, 0, 0, 0};
        two.NRICHTG = {1, 0, 1, 0, 0, 0, 0, 0};
        two.NFRAGENA = 4;
        two.NRICHTGA = 2;
        EXPECT_EQ(comparison.learner1(), one);
        EXPECT_EQ(comparison.learner2(), two);
        EXPECT_EQ(comparison.name1(), QStringLiteral("Anna Berg").leftJustified(30));
        EXPECT_EQ(comparison.name2(), QStringLiteral("Ben Kurz").leftJustified(30));
        // Two index meters, then one counting meter per learner; each count advances on its class only.
        const auto& runs = ctx.scripted.messages->meterRuns();
        ASSERT_EQ(runs.size(), 5u);
        EXPECT_EQ(runs[1].texts.front(), QStringLiteral("LOCAL1.CDX Index aufbauen..."));
        EXPECT_EQ(runs[2].texts.front(), QStringLiteral("LOCAL2.CDX Index aufbauen..."));
        EXPECT_EQ(runs[3].texts.front(), QStringLiteral("Statistik-Daten ermitteln ..."));
        EXPECT_EQ(runs[3].total, 9);
        EXPECT_EQ(runs[3].positions.back(), 7);
        EXPECT_EQ(runs[4].total, 5);
        EXPECT_EQ(runs[4].positions.back(), 4);
    }
    // The overview has the learner's table again, on its class's order and its record.
    ASSERT_NE(overview.area(), nullptr);
    EXPECT_EQ(overview.area()->table().path().filename(), "LOCAL2.DBF");
    EXPECT_EQ(overview.area()->recNo(), record);
    EXPECT_FALSE(exists("LOCAL1.CDX"));
    EXPECT_FALSE(exists("LOCAL2.CDX"));
    EXPECT_EQ(stats::GETSTAT(*overview.area()), (Counts{4, 4, 5, 3}));
    const auto learner1 = statstest::counters(dir / "LOCAL1.DBF");
    ctx.scripted.messages->queueAnswer(true);
    ASSERT_TRUE(overview.STAT_DEL());
    overview.closeTables();
    EXPECT_EQ(statstest::counters(dir / "LOCAL2.DBF"),
              (std::vector<std::string>{"0/0/0/[]", "0/0/0/[]", "0/0/0/[]", "0/0/0/[]", "1/1/0/[17]"}));
    EXPECT_EQ(statstest::counters(dir / "LOCAL1.DBF"), learner1);
}

} // namespace
