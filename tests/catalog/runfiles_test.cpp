#include <gtest/gtest.h>

#include "catalog/answers.h"
#include "catalog/runfiles.h"
#include "catalog/tables.h"
#include "core/context.h"
#include "store/workarea.h"
#include "support/scripted.h"
#include "support/testdir.h"

namespace {

class RunFiles : public ::testing::Test {
protected:
    void SetUp() override {
        store::WorkArea* f = session.create(dir / "T_FRAGE.DBF", catalog::tFrageFields(), "DFRA");
        ASSERT_NE(f, nullptr);
        for (int i = 1; i <= 250; ++i) {
            f->appendBlank();
            f->replace("NUMMER", store::Value::number(251 - i));
        }
        area = f;
    }
    lwtest::TempDir dir;
    store::Session session;
    store::WorkArea* area = nullptr;
};

TEST_F(RunFiles, IndexBuiltUnderTheMeterShowsItsTextAndGivesTheOrder) {
    core::Context ctx(QString::fromStdString(dir.path().string()));
    auto scripted = lwtest::useScriptedServices(ctx);
    ASSERT_TRUE(catalog::buildIndexUnderMeter(ctx, *area, "str(NUMMER)", dir / "T_FRAGE.CDX",
                                              QStringLiteral("FRAGEN Index aufbauen...")));
    ASSERT_EQ(scripted.messages->shown().size(), 1u);
    EXPECT_EQ(scripted.messages->shown()[0].text, QStringLiteral("FRAGEN Index aufbauen..."));
    // The meter followed the records to the last one.
    const auto& run = scripted.messages->meterRuns().at(0);
    EXPECT_EQ(run.total, int(area->recCount()));
    ASSERT_FALSE(run.positions.empty());
    EXPECT_EQ(run.positions.back(), int(area->recCount()));
    area->goTop();
    EXPECT_EQ(area->number("NUMMER"), 1);
    EXPECT_EQ(area->recNo(), 250u);
}

TEST_F(RunFiles, IndexBuildStoppedFromTheMeterFailsAndLeavesNoOrder) {
    lwtest::ScriptedContext ctx(QString::fromStdString(dir.path().string()));
    ctx.scripted.messages->cancelMeterAfter(10);
    EXPECT_FALSE(catalog::buildIndexUnderMeter(ctx, *area, "str(NUMMER)", dir / "T_FRAGE.CDX",
                                               QStringLiteral("FRAGEN Index aufbauen...")));
    const auto& run = ctx.scripted.messages->meterRuns().at(0);
    EXPECT_LT(run.positions.size(), area->recCount());
}

TEST_F(RunFiles, PictureIsWrittenByteForByteAndReplacedOrRemoved) {
    std::string bmp = "BM";
    for (int i = 0; i < 5000; ++i)
        bmp += static_cast<char>(i % 256); // every byte value, NULs included
    area->goTo(1);
    area->replaceMemo("PICTURE", bmp, true);
    const auto file = catalog::writeQuestionPicture(*area, dir.path());
    ASSERT_EQ(file, dir / "BILD.BMP");
    EXPECT_EQ(lwtest::readFile(file), bmp);
    // The next question has no picture: the old one must not stay on screen.
    area->goTo(2);
    EXPECT_TRUE(catalog::writeQuestionPicture(*area, dir.path()).empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "BILD.BMP"));
}

TEST_F(RunFiles, RunLeftoversGoAndNothingElse) {
    session.closeAll();
    for (const char* name : {"BILD.BMP", "LOCAL.CDX", "T_FRAGE.CDX", "T_FRAGE.DBT", "LOCAL1.DBF", "FRAGEN.CDX"})
        lwtest::writeFile(dir / name, "x");
    catalog::removeRunFiles(dir.path());
    for (const char* gone : {"BILD.BMP", "LOCAL.CDX", "T_FRAGE.DBF", "T_FRAGE.FPT", "T_FRAGE.CDX", "T_FRAGE.DBT"})
        EXPECT_FALSE(std::filesystem::exists(dir / gone)) << gone;
    EXPECT_TRUE(std::filesystem::exists(dir / "LOCAL1.DBF"));
    EXPECT_TRUE(std::filesystem::exists(dir / "FRAGEN.CDX"));
}

} // namespace

TEST_F(RunFiles, TheBitmapFieldTellsNoPictureTheFillerOrTheQuestionsOwn) {
    using catalog::PictureKind;
    // BITMAP holds eight characters.
    const std::pair<const char*, PictureKind> cases[] = {
        {"", PictureKind::None},           {"   ", PictureKind::None},    {"KEINBILD", PictureKind::Filler},
        {"keinbild", PictureKind::Filler}, {"KEINBIL", PictureKind::Own}, {"B1234", PictureKind::Own},
    };
    area->goTo(1);
    for (const auto& [bitmap, kind] : cases) {
        ASSERT_TRUE(area->replace("BITMAP", store::Value::text(bitmap)));
        EXPECT_EQ(catalog::pictureKind(*area), kind) << '"' << bitmap << '"';
    }
}
