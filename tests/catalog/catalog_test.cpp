#include <gtest/gtest.h>

#include <set>

#include "catalog/answers.h"
#include "catalog/crypt.h"
#include "catalog/tables.h"
#include "store/error.h"
#include "store/workarea.h"
#include "support/testdir.h"

namespace {

using store::Value;

TEST(Crypt, TablesAreDistinctLettersAndStoredSignsOutsideGermanText) {
    ASSERT_EQ(catalog::CENCRYPT.size(), 52u);
    ASSERT_EQ(catalog::CDECRYPT.size(), 52u);
    std::set<unsigned char> stored(catalog::CDECRYPT.begin(), catalog::CDECRYPT.end());
    EXPECT_EQ(stored.size(), 52u);
    for (unsigned char c : stored) {
        EXPECT_GE(c, 161);
        EXPECT_LE(c, 250);
        // No umlaut, no ß, none of the signs a catalog text uses.
        for (unsigned char forbidden : {0xC4, 0xD6, 0xDC, 0xE4, 0xF6, 0xFC, 0xDF, 0xA7, 0xB0, 0xB2, 0xB3, 0xE9}) {
            EXPECT_NE(c, forbidden);
        }
    }
}

TEST(Crypt, ScramblingKeepsLengthAndEverythingButLettersAndRoundTrips) {
    const std::string text = "Wie verhalten Sie sich? \xC4rger, \xFC" "ber 50 km/h \xDF!\r\n\xA7 3 StVO";
    const std::string stored = catalog::DECRYPT(text);
    EXPECT_EQ(stored.size(), text.size());
    EXPECT_NE(stored, text);
    EXPECT_EQ(stored.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"), std::string::npos);
    for (size_t i = 0; i < text.size(); ++i) {
        if (!std::isalpha(static_cast<unsigned char>(text[i]))) {
            EXPECT_EQ(stored[i], text[i]) << i;
        }
    }
    EXPECT_EQ(catalog::ENCRYPT(stored), text);
    // Already stored text stays as it is (the maintenance command may run twice), and the empty text is empty.
    EXPECT_EQ(catalog::DECRYPT(stored), stored);
    EXPECT_EQ(catalog::ENCRYPT(text), text);
    EXPECT_EQ(catalog::DECRYPT(""), "");
}

TEST(ClassColumns, PrefixOrderAndTheTwoSpecialClasses) {
    auto sel = [](const char* code) { return catalog::classColumns(code)->select; };
    auto pts = [](const char* code) { return catalog::classColumns(code)->points; };
    EXPECT_EQ(sel("A1"), "KLASSE_A1");
    EXPECT_EQ(sel("A"), "KLASSE_A");
    EXPECT_EQ(sel("B / BE"), "KLASSE_B");
    EXPECT_EQ(sel("C1"), "KLASSE_C1");
    EXPECT_EQ(sel("CE"), "KLASSE_CE");
    EXPECT_EQ(sel("C"), "KLASSE_C");
    EXPECT_EQ(sel("DE"), "KLASSE_D");
    EXPECT_EQ(pts("DE"), "KLASSE_CE");
    EXPECT_EQ(sel("D1"), "KLASSE_D1");
    EXPECT_EQ(sel("MO"), "KLASSE_MO");
    EXPECT_EQ(sel("M"), "KLASSE_M");
    EXPECT_EQ(sel("S"), "KLASSE_K");
    EXPECT_EQ(sel("T"), "KLASSE_T");
    EXPECT_FALSE(catalog::classColumns("X").has_value());
}

TEST(PictureName, FromTheQuestionNumber) {
    EXPECT_EQ(catalog::pictureName("2.7.01-003  "), "2701-003");
    EXPECT_EQ(catalog::pictureName("1.2.03-101"), "1203-101");
    EXPECT_EQ(catalog::pictureName("1.1.02-001"), "1102-001");
    EXPECT_EQ(catalog::pictureName("12345678"), "1234"); // no hyphen: the first four characters
}

TEST(NumberEntry, NormalisedAsTheAnswerCheckComparesIt) {
    for (const char* right : {"7", "07", "7,0", "7.0", " 7 "})
        EXPECT_TRUE(catalog::entryMatches(right, "7")) << right;
    EXPECT_TRUE(catalog::entryMatches("0.5", "0,5"));
    EXPECT_FALSE(catalog::entryMatches("0,50", "0,5"));
    EXPECT_FALSE(catalog::entryMatches("1.000", "1000")); // the point is read as a decimal comma
    EXPECT_EQ(catalog::normaliseEntry(""), "0");
    EXPECT_EQ(catalog::normaliseEntry("abc"), "0");
    EXPECT_EQ(catalog::normaliseEntry("12,5 m"), "12,5 m");
    EXPECT_EQ(catalog::normaliseEntry("12,0 m"), "12");
}

class CatalogTables : public ::testing::Test {
protected:
    // A catalog of three questions written through the engine.
    void SetUp() override {
        store::Session s;
        store::WorkArea* f = s.create(dir / "FRAGEN.DBF", catalog::fragenFields(), "DFRG");
        ASSERT_NE(f, nullptr);
        for (const char* nr : {"1.1.01-001", "2.2.05-201", "1.4.01-002"}) {
            f->appendBlank();
            f->replace("FRAGENR", Value::text(nr));
            f->replace("THEMA", Value::number(nr[2] - '0'));
            f->replaceMemo("FRAGE", catalog::DECRYPT("Frage"), false);
            f->replace("KLASSE_B", Value::number(4));
            f->replace("MC_WERT", Value::text(nr[0] == '2' ? "50" : ""));
            f->replace("BITMAP", Value::text("KEINBILD"));
        }
    }
    lwtest::TempDir dir;
};

TEST_F(CatalogTables, MakeLocalCopiesTheCatalogWithZeroCountersAndLeavesAnExistingTableAlone) {
    ASSERT_EQ(catalog::MAKELOCAL(dir.path(), "LOCAL1"), catalog::MakeLocalResult::Created);
    {
        store::Session s;
        store::WorkArea* l = s.use(dir / "LOCAL1.DBF", "DLOC");
        ASSERT_NE(l, nullptr);
        ASSERT_EQ(l->table().fieldCount(), 22);
        EXPECT_EQ(l->table().fieldDef(21).name, "BITMAP");
        ASSERT_EQ(l->recCount(), 3u);
        l->goTo(2);
        EXPECT_EQ(l->text("FRAGENR"), "2.2.05-201");
        EXPECT_EQ(l->text("MC_WERT"), "50");
        EXPECT_EQ(l->number("KLASSE_B"), 4);
        EXPECT_EQ(l->number("ANTWORTEN") + l->number("RICHTIG") + l->number("FALSCH"), 0);
        EXPECT_EQ(l->value("ZULETZT").asText(), "  ");
        l->replace("ANTWORTEN", Value::number(5));
    }
    // The catalog changes; the existing learning state does not follow.
    {
        store::Session s;
        store::WorkArea* f = s.use(dir / "FRAGEN.DBF", "DFRG");
        f->appendBlank();
        f->replace("FRAGENR", Value::text("1.1.01-009"));
    }
    EXPECT_EQ(catalog::MAKELOCAL(dir.path(), "LOCAL1"), catalog::MakeLocalResult::Existed);
    store::Session s;
    store::WorkArea* l = s.use(dir / "LOCAL1.DBF", "DLOC");
    EXPECT_EQ(l->recCount(), 3u);
    l->goTo(2);
    EXPECT_EQ(l->number("ANTWORTEN"), 5);
}

TEST_F(CatalogTables, MakeLocalWithoutACatalogFailsAndLeavesNoTable) {
    std::filesystem::remove(dir / "FRAGEN.DBF");
    std::vector<std::string> errors;
    auto old = store::setErrorCallback([&](const store::StoreError& e) { errors.push_back(e.file); });
    EXPECT_EQ(catalog::MAKELOCAL(dir.path(), "LOCAL2"), catalog::MakeLocalResult::Failed);
    store::setErrorCallback(old);
    EXPECT_FALSE(errors.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "LOCAL2.DBF"));
}

TEST_F(CatalogTables, BuildIndexNamesTheTagLikeTheFileReportsEveryHundredthAndStopsWhenDone) {
    store::Session s;
    store::WorkArea* f = s.use(dir / "FRAGEN.DBF", "DFRG");
    bool done = false;
    std::vector<std::uint32_t> reports;
    auto progress = [&](std::uint32_t recno, std::uint32_t) { reports.push_back(recno); };
    ASSERT_TRUE(catalog::BUILDINDEX(*f, "FRAGENR", dir / "FRAGEN.CDX", progress, done));
    EXPECT_EQ(f->controllingTag()->name(), "FRAGEN");
    EXPECT_TRUE(reports.empty()); // fewer than 100 records: the step is 0, nothing to report
    EXPECT_TRUE(f->seek("1.4.01-002"));

    for (int i = 0; i < 297; ++i)
        f->appendBlank();
    ASSERT_TRUE(catalog::BUILDINDEX(*f, "str(THEMA)", dir / "THEMA.CDX", progress, done));
    EXPECT_EQ(reports.size(), 100u); // 300 records, step 3
    EXPECT_EQ(reports.front(), 3u);
    reports.clear();
    done = true;
    EXPECT_FALSE(catalog::BUILDINDEX(*f, "str(THEMA)", dir / "THEMA.CDX", progress, done));
    EXPECT_EQ(reports.size(), 1u);
}

} // namespace
