#include <gtest/gtest.h>

#include <QFile>

#include "platform/inifile.h"
#include "support/scripted.h"
#include "support/testdir.h"
#include "viewer/browser.h"
#include "viewer_support.h"

namespace {

namespace fs = std::filesystem;

class BrowserTest : public ::testing::Test {
protected:
    BrowserTest() : ctx(QString::fromStdString(dir.path().string())) {
        viewertest::writeSample(dir.path());
        core::LoginState login;
        login.NS_USER = 1;
        ctx.setLogin(login);
    }

    QStringList numbers(const viewer::Browser& b) const {
        QStringList out;
        for (int r = 0; r < b.rowCount(); ++r)
            out << b.row(r).fragenr;
        return out;
    }

    lwtest::TempDir dir;
    lwtest::ScriptedContext ctx;
};

TEST_F(BrowserTest, AreasSelectTheirQuestionsInQuestionOrder) {
    viewer::Browser b(ctx);
    ASSERT_TRUE(b.open(2));
    EXPECT_EQ(numbers(b), (QStringList{"1.1.01-001", "1.2.01-002", "1.4.01-004"}));
    EXPECT_EQ(b.title(), QStringLiteral("Fragenkatalog - Klasse B, BE"));
    // Area 1 takes class A1 as well; area 11 every question whose picture is not "KEINBILD", of any class.
    ASSERT_TRUE(b.open(1));
    EXPECT_EQ(numbers(b), (QStringList{"1.3.01-003", "2.5.01-005"}));
    ASSERT_TRUE(b.open(11));
    EXPECT_EQ(numbers(b), (QStringList{"1.1.01-001", "2.6.01-006"}));
    ASSERT_TRUE(b.open(10));
    EXPECT_EQ(b.rowCount(), 6);
    EXPECT_TRUE(fs::exists(dir.path() / "KATALOG.DBF"));
}

TEST_F(BrowserTest, RowsCarryTheLearnersCountsAndTheFirstLineOfTheText) {
    viewer::Browser b(ctx);
    ASSERT_TRUE(b.open(2));
    const viewer::Row& r = b.row(0);
    EXPECT_EQ(r.thema, 1);
    EXPECT_EQ(r.text, QStringLiteral("Wer hat an dieser Kreuzung Vorfahrt?"));
    EXPECT_EQ(r.antworten, 4);
    EXPECT_EQ(r.richtig, 3);
    EXPECT_EQ(viewer::firstLine(QStringLiteral("Ein Satz, der länger ist als die Zeile erlaubt"), 20),
              QStringLiteral("Ein Satz, der länger"));
    EXPECT_EQ(viewer::firstLine(QStringLiteral("Erste Zeile\r\nzweite"), 79), QStringLiteral("Erste Zeile"));
    EXPECT_EQ(viewer::firstLine(QStringLiteral("Donaudampfschifffahrt"), 8), QStringLiteral("Donaudam"));
}

TEST_F(BrowserTest, SearchUpperCasesTheLettersAToZOnly) {
    EXPECT_EQ(viewer::searchTerm(QStringLiteral("vorfahrt  ")), QStringLiteral("VORFAHRT"));
    EXPECT_EQ(viewer::searchTerm(QStringLiteral("überholen")), QStringLiteral("üBERHOLEN"));
    EXPECT_EQ(viewer::searchTerm(QStringLiteral("   ")), QStringLiteral("..."));

    viewer::Browser b(ctx);
    ASSERT_TRUE(b.open(10));
    // Typed in lower case, found in a text that has it capitalised.
    ASSERT_TRUE(b.SUCHEN2(QStringLiteral("vorfahrt")));
    EXPECT_TRUE(b.filtered());
    EXPECT_EQ(numbers(b), (QStringList{"1.1.01-001"}));
    // "ÜBERHOLVORGÄNGEN" is found by the upper-case umlauts only.
    EXPECT_TRUE(b.SUCHEN2(QStringLiteral("ÜBERHOLVORGÄNGEN")));
    EXPECT_TRUE(ctx.scripted.messages->shown().empty());
    EXPECT_FALSE(b.SUCHEN2(QStringLiteral("überholvorgängen")));
    ASSERT_EQ(ctx.scripted.messages->shown().size(), 1u);
    EXPECT_EQ(ctx.scripted.messages->shown()[0].text,
              QStringLiteral("\rDie Suche nach 'üBERHOLVORGäNGEN' war erfolglos !"));
    EXPECT_EQ(ctx.scripted.messages->shown()[0].title, QStringLiteral("Suchen"));
    // A failed search leaves every row shown.
    EXPECT_FALSE(b.filtered());
    EXPECT_EQ(b.rowCount(), 6);
    // The answers are not searched.
    EXPECT_FALSE(b.SUCHEN2(QStringLiteral("Notausgang")));
}

TEST_F(BrowserTest, AnEmptySearchLooksForThreeFullStops) {
    viewer::Browser b(ctx);
    ASSERT_TRUE(b.open(10));
    ASSERT_TRUE(b.SUCHEN2(QString()));
    EXPECT_EQ(numbers(b), (QStringList{"1.2.01-002"}));
    b.showAll();
    EXPECT_EQ(b.rowCount(), 6);
}

TEST_F(BrowserTest, SearchFindsOnlyQuestionsOfTheArea) {
    viewer::Browser b(ctx);
    ASSERT_TRUE(b.open(2));
    // The overtaking question is of class A only.
    EXPECT_FALSE(b.SUCHEN2(QStringLiteral("ÜBERHOL")));
    ASSERT_TRUE(b.open(1));
    EXPECT_TRUE(b.SUCHEN2(QStringLiteral("ÜBERHOL")));
}

TEST_F(BrowserTest, ResetChangesTheCopyOnlyAndAsksFirst) {
    {
        viewer::Browser b(ctx);
        ASSERT_TRUE(b.open(2));
        // Never answered: nothing to ask.
        EXPECT_FALSE(b.DELDATA(1));
        EXPECT_TRUE(ctx.scripted.messages->shown().empty());
        // No keeps the counts.
        ctx.scripted.messages->queueAnswer(false);
        EXPECT_FALSE(b.DELDATA(0));
        EXPECT_EQ(b.row(0).antworten, 4);
        ctx.scripted.messages->queueAnswer(true);
        EXPECT_TRUE(b.DELDATA(0));
        ASSERT_EQ(ctx.scripted.messages->shown().size(), 2u);
        EXPECT_EQ(ctx.scripted.messages->shown()[1].text, QStringLiteral("Daten zurücksetzen ?"));
        EXPECT_EQ(ctx.scripted.messages->shown()[1].title, QStringLiteral("Frage"));
        EXPECT_EQ(b.row(0).antworten, 0);
        EXPECT_EQ(b.row(0).richtig, 0);
        EXPECT_EQ(b.GETDATA(0).antworten, 0);
    }
    // The learner's table keeps its counts, and a new copy has them again.
    const auto learner = trainingfixture::readCounts(dir.path() / "LOCAL1.DBF");
    EXPECT_EQ(learner.at("1.1.01-001").antworten, 4);
    EXPECT_EQ(learner.at("1.1.01-001").richtig, 3);
    viewer::Browser again(ctx);
    ASSERT_TRUE(again.open(2));
    EXPECT_EQ(again.row(0).antworten, 4);
}

TEST_F(BrowserTest, QuestionDataFollowsTheKindOfQuestion) {
    viewer::Browser b(ctx);
    ASSERT_TRUE(b.open(2));
    const viewer::QuestionData mc = b.GETDATA(0);
    EXPECT_EQ(mc.layout, 1);
    EXPECT_EQ(mc.antw[1], QStringLiteral("Der Radfahrer"));
    EXPECT_EQ(mc.ok, (std::array<bool, 3>{false, true, false}));
    EXPECT_EQ(mc.classLabel, QStringLiteral("B / BE"));
    EXPECT_EQ(mc.points, QStringLiteral("3"));
    // The picture is written out for the view.
    EXPECT_EQ(fs::path(mc.picture.toStdString()), dir.path() / "BILD.BMP");
    EXPECT_TRUE(fs::exists(dir.path() / "BILD.BMP"));

    const viewer::QuestionData two = b.GETDATA(2);
    EXPECT_EQ(two.layout, 3);
    EXPECT_EQ(QStringList({two.vor, two.wert.trimmed(), two.zwisch, two.wert2.trimmed(), two.nach}),
              (QStringList{"Zwischen", "50", "und", "70", "Metern"}));
    EXPECT_EQ(two.points, QStringLiteral("5"));
    EXPECT_TRUE(two.picture.endsWith(QStringLiteral("KEINBKAT.BMP"), Qt::CaseInsensitive));

    // The areas without a class show no points.
    ASSERT_TRUE(b.open(10));
    EXPECT_EQ(b.GETDATA(4).layout, 2);
    EXPECT_EQ(b.GETDATA(4).points, QStringLiteral("--"));
    EXPECT_EQ(b.GETDATA(4).classLabel, QStringLiteral("unbekannt"));
}

TEST_F(BrowserTest, ALearnersQuestionMissingFromTheCatalogShowsEmptyTexts) {
    // A learner's record of a question the catalog no longer has.
    {
        store::Session s;
        store::WorkArea* l = s.use(dir.path() / "LOCAL1.DBF", "DLOC");
        ASSERT_TRUE(l);
        l->appendBlank();
        l->replace("FRAGENR", store::Value::text("1.9.09-999"));
        l->replace("KLASSE_B", store::Value::number(2));
    }
    viewer::Browser b(ctx);
    ASSERT_TRUE(b.open(2));
    ASSERT_EQ(b.rowCount(), 4);
    EXPECT_EQ(b.row(3).fragenr, QStringLiteral("1.9.09-999"));
    EXPECT_TRUE(b.row(3).text.isEmpty());
    const viewer::QuestionData q = b.GETDATA(3);
    EXPECT_TRUE(q.frage.isEmpty());
    EXPECT_TRUE(q.picture.isEmpty());
    EXPECT_TRUE(b.SUCHEN2(QStringLiteral("VORFAHRT")));
}

TEST_F(BrowserTest, AMissingCatalogIndexIsBuiltUnderTheMeter) {
    fs::remove(dir.path() / "FRAGEN.CDX");
    {
        viewer::Browser b(ctx);
        ASSERT_TRUE(b.open(2));
        ASSERT_EQ(ctx.scripted.messages->shown().size(), 1u);
        EXPECT_EQ(ctx.scripted.messages->shown()[0].text, QStringLiteral("FRAGEN Index aufbauen..."));
        EXPECT_EQ(b.row(0).text, QStringLiteral("Wer hat an dieser Kreuzung Vorfahrt?"));
        EXPECT_TRUE(fs::exists(dir.path() / "LOCAL.CDX"));
    }
    EXPECT_TRUE(fs::exists(dir.path() / "FRAGEN.CDX"));
    EXPECT_FALSE(fs::exists(dir.path() / "LOCAL.CDX"));
}

TEST_F(BrowserTest, TheAreaChosenLastIsRemembered) {
    EXPECT_EQ(viewer::readArea(ctx), 1);
    viewer::writeArea(ctx, 11);
    EXPECT_EQ(viewer::readArea(ctx), 11);
    const QString ini = ctx.path(ctx.settings.CINIFILE);
    EXPECT_EQ(platform::readProfileString(ini, QStringLiteral("Setup"), QStringLiteral("Katalog"), {}),
              QStringLiteral("11"));
    platform::writeProfileString(ini, QStringLiteral("Setup"), QStringLiteral("Katalog"), QStringLiteral("12"));
    EXPECT_EQ(viewer::readArea(ctx), 1);
}

} // namespace
