#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "platform/inifile.h"
#include "support/scripted.h"
#include "support/testdir.h"
#include "viewer/katastat.h"
#include "viewer_support.h"

namespace {

namespace fs = std::filesystem;

class CatalogStatisticsTest : public ::testing::Test {
protected:
    CatalogStatisticsTest() : ctx(QString::fromStdString(dir.path().string())) {}
    lwtest::TempDir dir;
    lwtest::ScriptedContext ctx;
};

TEST_F(CatalogStatisticsTest, CountsEachClassAndTheWholeCatalog) {
    auto questions = viewertest::sampleCatalog();
    // A question of no class counts in the total only.
    questions.push_back(trainingfixture::choice("2.8.01-007", 8, "Ohne Klasse", {"a", "b"}, {true, false, false}));
    questions.back().points.clear();
    trainingfixture::writeCatalog(dir.path(), questions);
    viewer::CatalogStatistics statistics(ctx);
    ASSERT_TRUE(statistics.COUNTTEMP());
    store::WorkArea* dsta = statistics.area();
    ASSERT_TRUE(dsta);
    EXPECT_EQ(dsta->recNo(), 1u);
    std::vector<std::string> rows;
    for (dsta->goTop(); !dsta->eof(); dsta->skip())
        rows.push_back(dsta->text("KLASSE") + "|" + std::to_string(int(dsta->number("FRAGEN"))) + "/" +
                       std::to_string(int(dsta->number("PUNKTE"))) + "/" + std::to_string(int(dsta->number("BITMAP"))) +
                       "/" + std::to_string(int(dsta->number("WERTE"))));
    ASSERT_EQ(rows.size(), 15u);
    // B: three questions worth 3 + 3 + 5, one with a picture (and "KEINBILD" for the others), one asking values.
    EXPECT_EQ(rows[2], "B / BE|3/11/1/1");
    EXPECT_EQ(rows[0], "A1|1/2/0/1");
    EXPECT_EQ(rows[1], "A|1/4/0/0");
    EXPECT_EQ(rows[5], "C|1/2/0/1");
    EXPECT_EQ(rows[13], "T|1/3/1/0");
    EXPECT_EQ(rows[4].substr(rows[4].find('|')), rows[7].substr(rows[7].find('|')));
    EXPECT_EQ(rows[14], "|7/0/0/0");
    EXPECT_TRUE(fs::exists(statistics.file()));
}

TEST_F(CatalogStatisticsTest, TheTableIsMadeWhereThePathSaysAndRemovedThere) {
    trainingfixture::writeCatalog(dir.path(), viewertest::sampleCatalog());
    fs::create_directory(dir.path() / "daten");
    platform::writeProfileString(ctx.path(ctx.settings.CINIFILE), QStringLiteral("Path"), QStringLiteral("DBF"),
                                 QStringLiteral(".\\daten\\"));
    fs::path file;
    {
        viewer::CatalogStatistics statistics(ctx);
        ASSERT_TRUE(statistics.COUNTTEMP());
        file = statistics.file();
        EXPECT_EQ(fs::canonical(file.parent_path()), fs::canonical(dir.path() / "daten"));
        EXPECT_TRUE(fs::exists(file));
    }
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(CatalogStatisticsTest, AgreesWithAnIndependentCountOfTheCatalog) {
    if (lwtest::runCommand("/usr/bin/python3 -c 'import dbfread' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3 lacks dbfread";
    std::mt19937 rng(1999);
    const char* columns[] = {"KLASSE_A",  "KLASSE_A1", "KLASSE_M",  "KLASSE_MO", "KLASSE_K", "KLASSE_B", "KLASSE_C",
                             "KLASSE_C1", "KLASSE_D",  "KLASSE_D1", "KLASSE_CE", "KLASSE_L", "KLASSE_T"};
    std::vector<trainingfixture::Question> questions;
    for (int i = 0; i < 400; ++i) {
        char nr[16];
        std::snprintf(nr, sizeof nr, "1.%d.%02d-%03d", 1 + i % 8, i % 100, i);
        auto q = rng() % 5 ? trainingfixture::choice(nr, 1 + i % 8, "Frage", {"a", "b"}, {true, false, false})
                           : trainingfixture::value(nr, 1 + i % 8, "Wert", "", std::to_string(i % 90), "");
        q.points.clear();
        for (const char* c : columns)
            if (rng() % 3 == 0) q.points[c] = 1 + int(rng() % 5);
        const unsigned pic = rng() % 3;
        q.bitmap = pic == 0 ? "KEINBILD" : pic == 1 ? "1101-001" : "";
        questions.push_back(std::move(q));
    }
    trainingfixture::writeCatalog(dir.path(), questions);
    // The script reads the table without its memo file: the counts need none of the memos.
    fs::create_directory(dir.path() / "py");
    fs::copy_file(dir.path() / "FRAGEN.DBF", dir.path() / "py" / "FRAGEN.DBF");
    const std::string script =
        "import sys, dbfread\n"
        "t = list(dbfread.DBF(sys.argv[1], ignore_missing_memofile=True))\n"
        "for c in sys.argv[2:]:\n"
        "    rows = [r for r in t if (r[c] or 0) > 0]\n"
        "    print(len(rows), sum(r[c] for r in rows), sum(1 for r in rows if r['BITMAP'] != 'KEINBILD'),\n"
        "          sum(1 for r in rows if (r['MC_WERT'] or '').strip()))\n"
        "print(len(t), 0, 0, 0)\n";
    lwtest::writeFile(dir.path() / "count.py", script);
    std::string command = "/usr/bin/python3 '" + (dir.path() / "count.py").string() + "' '" +
                          (dir.path() / "py" / "FRAGEN.DBF").string() + "'";
    for (const auto& row : viewer::statRows())
        if (row.field) command += std::string(" ") + row.field;
    std::string out;
    ASSERT_EQ(lwtest::runCommand(command, &out), 0) << out;

    std::unique_ptr<store::Table> fragen =
        store::Table::open(dir.path() / "FRAGEN.DBF", store::Table::Mode::SharedRead);
    ASSERT_TRUE(fragen);
    const auto counts = viewer::countCatalog(*fragen);
    std::istringstream in(out);
    for (int i = 0; i < viewer::kStatRows; ++i) {
        viewer::ClassCounts expected;
        in >> expected.fragen >> expected.punkte >> expected.bitmap >> expected.werte;
        EXPECT_EQ(counts[std::size_t(i)], expected) << "row " << i + 1;
    }
    EXPECT_GT(counts[2].werte, 0);
    EXPECT_GT(counts[2].bitmap, 0);
}

} // namespace
