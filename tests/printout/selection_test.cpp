// The selection of a printout over a real catalog: which questions, in which order, with which points, the answers
// shuffled in the copy only, and nothing left behind.
#include <gtest/gtest.h>

#include <deque>

#include "printout/selection.h"
#include "support/scripted.h"
#include "support/testdir.h"
#include "training/catalogfixture.h"

namespace {

using trainingfixture::Question;

Question mc(const std::string& nr, int theme, std::map<std::string, int> points, std::vector<std::string> answers,
            std::array<bool, 3> ok = {true, false, false}) {
    Question q = trainingfixture::choice(nr, theme, "Frage " + nr, std::move(answers), ok);
    q.points = std::move(points);
    return q;
}

class SelectionTest : public ::testing::Test {
protected:
    SelectionTest() : ctx(QString::fromStdString(dir.path().string())) {}

    // The question numbers a choice selects, in printed order, with their points.
    std::vector<std::pair<std::string, int>> selected(int classNo, int themeNo) {
        printout::Selection s(ctx, [] { return 0; });
        EXPECT_TRUE(s.select(classNo, themeNo));
        std::vector<std::pair<std::string, int>> out;
        for (int i = 0; i < s.count(); ++i) {
            const printout::PrintQuestion q = s.question(i, false);
            out.emplace_back(q.FRAGENR.toStdString(), q.points);
        }
        return out;
    }

    lwtest::TempDir dir;
    lwtest::ScriptedContext ctx;
};

using Picked = std::vector<std::pair<std::string, int>>;

TEST_F(SelectionTest, ClassAndThemeChoicesSelectTheirQuestionsInNumberOrder) {
    Question value = trainingfixture::value("2.7.01-001", 7, "Wie viel?", "", "0.8", "Meter");
    value.points = {{"KLASSE_B", 3}, {"KLASSE_D", 1}, {"KLASSE_CE", 2}};
    ASSERT_TRUE(trainingfixture::writeCatalog(
        dir.path(), {
                        // Written out of order: the printout follows the question numbers.
                        mc("1.2.02-002", 2, {{"KLASSE_B", 4}, {"KLASSE_D", 2}, {"KLASSE_CE", 5}}, {"a", "b"}),
                        mc("1.1.01-001", 1, {{"KLASSE_B", 5}, {"KLASSE_K", 2}}, {"a", "b"}),
                        mc("1.2.01-001", 2, {{"KLASSE_B", 3}, {"KLASSE_D", 4}}, {"a", "b"}),
                        mc("1.2.03-001", 2, {{"KLASSE_CE", 3}}, {"a", "b"}),
                        value,
                    }));
    // Theme 1 of the choice is the catalog's theme 2.
    EXPECT_EQ(selected(3, 1), (Picked{{"1.2.01-001", 3}, {"1.2.02-002", 4}}));
    EXPECT_EQ(selected(3, 3), (Picked{{"1.1.01-001", 5}}));
    // Class DE: the questions of the D column with the points of the CE column, 0 where it has none.
    EXPECT_EQ(selected(9, 10), (Picked{{"1.2.01-001", 0}, {"1.2.02-002", 5}, {"2.7.01-001", 2}}));
    // Class S is held in KLASSE_K.
    EXPECT_EQ(selected(13, 10), (Picked{{"1.1.01-001", 2}}));
    // Values of every theme, and nothing for a class without questions.
    EXPECT_EQ(selected(3, 9), (Picked{{"2.7.01-001", 3}}));
    EXPECT_EQ(selected(14, 10), Picked{});
}

TEST_F(SelectionTest, AnswersAreRotatedWithTheirFlagsInTheCopyAndTheCatalogStaysAsItWas) {
    ASSERT_TRUE(trainingfixture::writeCatalog(
        dir.path(), {
                        mc("1.1.01-001", 1, {{"KLASSE_B", 3}}, {"eins", "zwei", "drei"}, {true, false, false}),
                        mc("1.1.01-002", 1, {{"KLASSE_B", 3}}, {"eins", "zwei", "drei"}, {true, false, true}),
                        mc("1.1.01-003", 1, {{"KLASSE_B", 3}}, {"eins", "zwei", "drei"}, {false, true, false}),
                        mc("1.1.01-004", 1, {{"KLASSE_B", 3}}, {"eins", "zwei"}, {false, true, false}),
                        mc("1.1.01-005", 1, {{"KLASSE_B", 3}}, {"eins", "zwei"}, {false, true, false}),
                    }));
    const std::string dbf = lwtest::readFile(dir / "FRAGEN.DBF"), fpt = lwtest::readFile(dir / "FRAGEN.FPT");
    std::deque<int> draws = {32, 33, 66, 49, 50};
    {
        printout::Selection s(ctx, [&draws] {
            const int r = draws.front();
            draws.pop_front();
            return r;
        });
        ASSERT_TRUE(s.select(3, 3));
        ASSERT_EQ(s.count(), 5);
        auto order = [&s](int i) {
            const printout::PrintQuestion q = s.question(i, false);
            std::string out;
            for (int a = 0; a < 3; ++a)
                out += q.answers[std::size_t(a)].toStdString() + (q.ok[std::size_t(a)] ? "+ " : " ");
            return out;
        };
        EXPECT_EQ(order(0), "eins+ zwei drei ");  // r < 33 keeps the order
        EXPECT_EQ(order(1), "zwei drei+ eins+ "); // 33..65: old 2, 3, 1
        EXPECT_EQ(order(2), "drei eins zwei+ ");  // from 66: old 3, 1, 2
        EXPECT_EQ(order(3), "eins zwei+  ");      // two answers: below 50 kept
        EXPECT_EQ(order(4), "zwei+ eins  ");      // otherwise swapped
        for (const char* file : {"KATALOG.DBF", "KATALOG.FPT", "FRAGEN9.CDX"})
            EXPECT_TRUE(std::filesystem::exists(dir / file)) << file;
    }
    EXPECT_TRUE(draws.empty());
    EXPECT_EQ(lwtest::readFile(dir / "FRAGEN.DBF"), dbf);
    EXPECT_EQ(lwtest::readFile(dir / "FRAGEN.FPT"), fpt);
    for (const char* file : printout::kPrintFiles)
        EXPECT_FALSE(std::filesystem::exists(dir / file)) << file;
}

TEST_F(SelectionTest, PicturesAreReadOnlyWhenAskedForAndTheFillerCountsAsNone) {
    Question withPicture = mc("1.1.01-001", 1, {{"KLASSE_B", 3}}, {"a", "b"});
    withPicture.bitmap = "1101-001";
    withPicture.picture = trainingfixture::bitmapBytes(4, 2, 200, 10, 10);
    Question filler = mc("1.1.01-002", 1, {{"KLASSE_B", 3}}, {"a", "b"});
    filler.bitmap = "KEINBILD";
    ASSERT_TRUE(trainingfixture::writeCatalog(dir.path(), {withPicture, filler}));
    printout::Selection s(ctx);
    ASSERT_TRUE(s.select(3, 3));
    EXPECT_TRUE(s.question(0, false).hasPicture);
    EXPECT_TRUE(s.question(0, false).picture.isEmpty());
    EXPECT_EQ(s.question(0, true).picture.toStdString(), withPicture.picture);
    EXPECT_FALSE(s.question(1, true).hasPicture);
}

TEST_F(SelectionTest, AMissingCatalogSelectsNothingAndLeavesNothing) {
    lwtest::writeFile(dir / "KATALOG.DBF", "left from before");
    printout::Selection s(ctx);
    EXPECT_FALSE(s.select(3, 1));
    EXPECT_EQ(s.count(), 0);
    s.finish();
    for (const char* file : printout::kPrintFiles)
        EXPECT_FALSE(std::filesystem::exists(dir / file)) << file;
}

TEST_F(SelectionTest, RememberedChoicesAreReadInRangeAndWrittenAsPlainNumbers) {
    EXPECT_EQ(printout::readPrintSettings(ctx).KataDruck, 1);
    EXPECT_EQ(printout::readPrintSettings(ctx).KataThema, 1);
    lwtest::writeFile(dir / "TAVOLIN.INI", "[Setup]\r\nKataDruck=  99\r\nKataThema=0\r\n");
    EXPECT_EQ(printout::readPrintSettings(ctx).KataDruck, 14);
    EXPECT_EQ(printout::readPrintSettings(ctx).KataThema, 1);
    std::filesystem::remove(dir / "TAVOLIN.INI");
    ASSERT_TRUE(printout::writePrintSetting(ctx, "KataDruck", 9));
    EXPECT_NE(lwtest::readFile(dir / "TAVOLIN.INI").find("KataDruck=9\r\n"), std::string::npos)
        << lwtest::readFile(dir / "TAVOLIN.INI");
    EXPECT_EQ(printout::readPrintSettings(ctx).KataDruck, 9);
}

} // namespace
