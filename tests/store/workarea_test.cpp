#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/error.h"
#include "store/format.h"
#include "store/workarea.h"
#include "support/testdir.h"

namespace {

using store::FieldDef;
using store::FieldType;
using store::Value;

// A small learning-state table: number, theme, class B points, counters, seconds.
struct Learner {
    const char* nr;
    int thema;
    int klasseB;
    int richtig;
    int antworten;
    const char* zuletzt;
};

class WorkAreaTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = store::setErrorCallback([this](const store::StoreError& e) { errors.push_back(e.message); });
    }
    void TearDown() override { store::setErrorCallback(m_previous); }

    store::WorkArea* makeTable(const std::vector<Learner>& rows, const char* alias = "DLOC") {
        store::WorkArea* a = session.create(dir / (std::string(alias) + ".DBF"),
                                            {{"FRAGENR", FieldType::Character, 12, 0},
                                             {"THEMA", FieldType::Numeric, 4, 0},
                                             {"KLASSE_B", FieldType::Numeric, 1, 0},
                                             {"RICHTIG", FieldType::Numeric, 4, 0},
                                             {"ANTWORTEN", FieldType::Numeric, 4, 0},
                                             {"ZULETZT", FieldType::Character, 2, 0}},
                                            alias);
        for (const Learner& r : rows) {
            a->appendBlank();
            a->replace("FRAGENR", Value::text(r.nr));
            a->replace("THEMA", Value::number(r.thema));
            a->replace("KLASSE_B", Value::number(r.klasseB));
            a->replace("RICHTIG", Value::number(r.richtig));
            a->replace("ANTWORTEN", Value::number(r.antworten));
            a->replace("ZULETZT", Value::text(r.zuletzt));
        }
        return a;
    }

    static std::vector<std::string> walk(store::WorkArea& a) {
        std::vector<std::string> out;
        for (a.goTop(); !a.eof(); a.skip())
            out.push_back(a.text("FRAGENR"));
        return out;
    }

    lwtest::TempDir dir;
    store::Session session;
    std::vector<std::string> errors;

private:
    store::ErrorCallback m_previous;
};

const std::vector<Learner> kRows = {
    {"1.1.01-001", 1, 4, 2, 3, "17"}, {"1.1.01-002", 1, 0, 0, 0, "  "}, {"1.2.01-003", 2, 3, 0, 1, "05"},
    {"1.1.02-004", 1, 5, 0, 0, "  "}, {"1.1.02-005", 1, 2, 0, 2, "59"}, {"2.1.01-006", 1, 3, 0, 0, "  "},
};

TEST_F(WorkAreaTest, FilteredTagOrdersByWeakestAnswersAndKeepsRecordOrderForEqualKeys) {
    store::WorkArea* loc = makeTable(kRows);
    session.setVariable("nI_THEMA", Value::number(1));
    ASSERT_TRUE(loc->indexOn("str(RICHTIG)+str(ANTWORTEN)+ZULETZT", dir / "LOCAL.CDX", "LOCAL",
                             "KLASSE_B > 0 .and. THEMA = nI_THEMA"));
    EXPECT_EQ(loc->controllingTag()->keyLength(), 10);
    // Theme 1, class B: records 1, 4, 5, 6; 4 and 6 have equal keys and keep their record order.
    EXPECT_EQ(walk(*loc), (std::vector<std::string>{"1.1.02-004", "2.1.01-006", "1.1.02-005", "1.1.01-001"}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(WorkAreaTest, SeekOnLeadingPartFindsFirstMatchAndAFailedSeekLandsAtEof) {
    store::WorkArea* loc = makeTable(kRows);
    ASSERT_TRUE(loc->indexOn("str(THEMA)+str(RICHTIG)+str(ANTWORTEN)+ZULETZT", dir / "LOCAL.CDX", "LOCAL",
                             "KLASSE_B > 0"));
    ASSERT_TRUE(loc->seek(store::strNumber(1, 4)));
    EXPECT_TRUE(loc->found());
    EXPECT_EQ(loc->text("FRAGENR"), "1.1.02-004");
    // Theme 3 does not exist: no landing on the next greater key (theme 4 would not exist either: eof).
    EXPECT_FALSE(loc->seek(store::strNumber(3, 4)));
    EXPECT_FALSE(loc->found());
    EXPECT_TRUE(loc->eof());
    // Theme 2 is the greatest key; "   1   9" exists nowhere although keys greater than it do.
    EXPECT_FALSE(loc->seek(store::strNumber(1, 4) + store::strNumber(9, 4)));
    EXPECT_TRUE(loc->eof());
    ASSERT_TRUE(loc->seek(store::strNumber(2, 4)));
    EXPECT_EQ(loc->text("FRAGENR"), "1.2.01-003");
}

TEST_F(WorkAreaTest, SeekingANumberNeedsANumberOrder) {
    store::WorkArea* loc = makeTable(kRows);
    ASSERT_TRUE(loc->indexOn("THEMA", dir / "LOCAL.CDX", "NUM"));
    ASSERT_TRUE(loc->seek(Value::number(2)));
    EXPECT_EQ(loc->recNo(), 3u);
    EXPECT_FALSE(loc->seek(Value::number(3)));
    EXPECT_TRUE(errors.empty());
    // In a text order the number is a mistake of the caller, not a key that happens to be missing.
    ASSERT_TRUE(loc->indexOn("str(THEMA)", dir / "LOCAL.CDX", "TXT"));
    EXPECT_FALSE(loc->seek(Value::number(2)));
    EXPECT_TRUE(loc->eof());
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(WorkAreaTest, ChangesMoveRecordsInTheOrderAndInOrOutOfAFilteredTag) {
    store::WorkArea* loc = makeTable(kRows);
    ASSERT_TRUE(loc->indexOn("str(RICHTIG)+str(ANTWORTEN)+ZULETZT", dir / "LOCAL.CDX", "LOCAL", "KLASSE_B > 0"));
    ASSERT_TRUE(loc->seek(store::strNumber(0, 4) + store::strNumber(0, 4)));
    EXPECT_EQ(loc->text("FRAGENR"), "1.1.02-004");
    // Answered correctly: the record moves behind the others.
    loc->replace("ANTWORTEN", Value::number(1));
    loc->replace("RICHTIG", Value::number(1));
    loc->replace("ZULETZT", Value::text("33"));
    EXPECT_EQ(walk(*loc), (std::vector<std::string>{"2.1.01-006", "1.2.01-003", "1.1.02-005", "1.1.02-004",
                                                    "1.1.01-001"}));
    // Leaving the FOR condition takes the record out; a new record that meets it comes in.
    loc->goTo(1);
    loc->replace("KLASSE_B", Value::number(0));
    loc->appendBlank();
    loc->replace("FRAGENR", Value::text("2.8.01-007"));
    loc->replace("KLASSE_B", Value::number(2));
    loc->replace("ZULETZT", Value::text("  "));
    EXPECT_EQ(walk(*loc), (std::vector<std::string>{"2.1.01-006", "2.8.01-007", "1.2.01-003", "1.1.02-005",
                                                    "1.1.02-004"}));
}

TEST_F(WorkAreaTest, ARecordOutsideAForTagSkipsFromWhereItsKeyWouldStand) {
    store::WorkArea* loc = makeTable(kRows);
    ASSERT_TRUE(loc->indexOn("FRAGENR", dir / "LOCAL.CDX", "LOCAL", "KLASSE_B > 0"));
    // Record 2 (1.1.01-002) is not in the tag; its neighbours by key are records 1 and 4.
    loc->goBottom();
    ASSERT_TRUE(loc->goTo(2));
    EXPECT_TRUE(loc->skip());
    EXPECT_EQ(loc->recNo(), 4u);
    loc->goBottom();
    loc->goTo(2);
    EXPECT_TRUE(loc->skip(-1));
    EXPECT_EQ(loc->recNo(), 1u);
    // Choosing the order while standing on such a record does the same.
    ASSERT_TRUE(loc->setOrder(""));
    loc->goTo(2);
    ASSERT_TRUE(loc->setOrder("LOCAL"));
    EXPECT_TRUE(loc->skip());
    EXPECT_EQ(loc->recNo(), 4u);
    // A blank record appended outside the tag goes on from the top (a blank key sorts first).
    loc->goBottom();
    ASSERT_TRUE(loc->appendBlank());
    EXPECT_TRUE(loc->skip());
    EXPECT_EQ(loc->recNo(), 1u);
    EXPECT_TRUE(errors.empty());
}

TEST_F(WorkAreaTest, IndexWrittenOnCloseIsReadBackNotRebuilt) {
    {
        store::WorkArea* loc = makeTable(kRows);
        ASSERT_TRUE(loc->indexOn("FRAGENR", dir / "LOCAL.CDX", "LOCAL"));
        loc->goTo(2);
        loc->replace("FRAGENR", Value::text("0.0.00-000"));
        session.closeAll();
    }
    store::WorkArea* loc = session.use(dir / "DLOC.DBF", "DLOC");
    ASSERT_NE(loc, nullptr);
    ASSERT_TRUE(loc->openIndex(dir / "LOCAL.CDX"));
    ASSERT_NE(loc->controllingTag(), nullptr);
    EXPECT_EQ(loc->controllingTag()->keyExpression(), "FRAGENR");
    const auto order = walk(*loc);
    ASSERT_EQ(order.size(), kRows.size());
    EXPECT_EQ(order.front(), "0.0.00-000"); // the change made before closing is in the stored order
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    EXPECT_TRUE(loc->seek("1.2.01"));
    EXPECT_EQ(loc->recNo(), 3u);
}

TEST_F(WorkAreaTest, AnIndexOlderThanItsTableNeverShowsRecordsThatAreGone) {
    store::WorkArea* loc = makeTable(kRows);
    ASSERT_TRUE(loc->indexOn("FRAGENR", dir / "LOCAL.CDX", "LOCAL"));
    loc->closeIndexes();
    // Packed while the index was closed: the index still lists records 5 and 6.
    loc->goTo(1);
    loc->deleteRecord();
    loc->goTo(2);
    loc->deleteRecord();
    ASSERT_TRUE(loc->pack());
    ASSERT_EQ(loc->recCount(), 4u);
    ASSERT_TRUE(loc->openIndex(dir / "LOCAL.CDX"));
    std::vector<std::uint32_t> seen;
    for (loc->goTop(); !loc->eof(); loc->skip())
        seen.push_back(loc->recNo());
    std::sort(seen.begin(), seen.end()); // in the order of their old keys
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{1, 2, 3, 4}));
    loc->goBottom();
    EXPECT_FALSE(loc->eof());
    EXPECT_LE(loc->recNo(), 4u);
    EXPECT_FALSE(loc->seek("2.1.01-006")); // record 6 is gone
    EXPECT_TRUE(loc->eof());
}

TEST_F(WorkAreaTest, AKeyOfVaryingLengthTakesItsLengthFromABlankRecord) {
    store::WorkArea* loc = makeTable(kRows);
    ASSERT_TRUE(loc->indexOn("FRAGENR", dir / "LOCAL.CDX", "LOCAL"));
    ASSERT_TRUE(loc->indexOn("substr(FRAGENR, 3, 4) + trim(ZULETZT)", dir / "LOCAL.CDX", "PART"));
    EXPECT_EQ(loc->controllingTag()->keyLength(), 4);
    // Empty on a blank record: no usable length, so no tag rather than keys cut to one byte.
    EXPECT_FALSE(loc->indexOn("trim(FRAGENR)", dir / "LOCAL.CDX", "TRIMMED"));
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_FALSE(loc->setOrder("TRIMMED"));
    EXPECT_EQ(loc->controllingTag()->name(), "PART");
}

TEST_F(WorkAreaTest, ATagThatCouldNotBeSavedIsStillKeptCurrentAndSavedOnClose) {
    store::WorkArea* loc = makeTable(kRows);
    const auto folder = dir / "idx";
    std::filesystem::create_directory(folder);
    ASSERT_TRUE(loc->indexOn("FRAGENR", folder / "LOCAL.CDX", "BYNR"));
    std::filesystem::remove_all(folder); // the index file cannot be written for now
    EXPECT_FALSE(loc->indexOn("str(THEMA)+FRAGENR", folder / "LOCAL.CDX", "BYTHEMA"));
    EXPECT_FALSE(errors.empty());
    ASSERT_NE(loc->controllingTag(), nullptr);
    EXPECT_EQ(loc->controllingTag()->name(), "BYTHEMA");
    ASSERT_TRUE(loc->appendBlank());
    loc->replace("FRAGENR", Value::text("0.0.00-000"));
    loc->replace("THEMA", Value::number(3));
    std::filesystem::create_directory(folder);
    session.closeAll();

    loc = session.use(dir / "DLOC.DBF", "DLOC");
    ASSERT_TRUE(loc->openIndex(folder / "LOCAL.CDX"));
    ASSERT_TRUE(loc->setOrder("BYTHEMA"));
    const auto order = walk(*loc);
    ASSERT_EQ(order.size(), kRows.size() + 1);
    EXPECT_EQ(order.back(), "0.0.00-000");
}

TEST_F(WorkAreaTest, AnOldIndexOnANewTableDoesNotMixItsEntriesIntoNewRecords) {
    const std::vector<FieldDef> fields = {{"NUMMER", FieldType::Numeric, 3, 0}, {"FRAGENR", FieldType::Character, 12, 0}};
    store::WorkArea* dfra = session.create(dir / "T_FRAGE.DBF", fields, "DFRA");
    for (int n : {1, 2, 3}) {
        dfra->appendBlank();
        dfra->replace("NUMMER", Value::number(n));
    }
    ASSERT_TRUE(dfra->indexOn("str(NUMMER)", dir / "T_FRAGE.CDX", "T_FRAGE"));
    session.closeAll();

    // The working set is made anew while the index of an earlier run is left over.
    dfra = session.create(dir / "T_FRAGE.DBF", fields, "DFRA");
    ASSERT_TRUE(dfra->openIndex(dir / "T_FRAGE.CDX"));
    for (int n : {2, 1}) {
        dfra->appendBlank();
        dfra->replace("NUMMER", Value::number(n));
    }
    std::vector<std::uint32_t> seen;
    for (dfra->goTop(); !dfra->eof(); dfra->skip())
        seen.push_back(dfra->recNo());
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{2, 1}));
    EXPECT_EQ(dfra->controllingTag()->size(), 2u);
}

TEST_F(WorkAreaTest, BuildReportsProgressAndCanBeStopped) {
    std::vector<Learner> many;
    std::vector<std::string> numbers(250);
    for (int i = 0; i < 250; ++i) {
        numbers[i] = "1.1.01-" + std::to_string(100 + i);
        many.push_back({numbers[i].c_str(), 1, 3, i % 5, i % 7, "  "});
    }
    store::WorkArea* loc = makeTable(many);
    std::vector<std::uint32_t> seen;
    ASSERT_TRUE(loc->indexOn("FRAGENR", dir / "FRAGEN.CDX", "FRAGEN", {},
                             [&](std::uint32_t r, std::uint32_t total) {
                                 EXPECT_EQ(total, 250u);
                                 seen.push_back(r);
                                 return true;
                             },
                             100));
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{100, 200}));
    // Stopped at the first report: no tag is kept and the build says so.
    EXPECT_FALSE(loc->indexOn("str(RICHTIG)", dir / "FRAGEN.CDX", "RICHTIG", {},
                              [](std::uint32_t, std::uint32_t) { return false; }, 50));
    EXPECT_EQ(loc->controllingTag()->name(), "FRAGEN");
    EXPECT_FALSE(loc->setOrder("RICHTIG"));
}

TEST_F(WorkAreaTest, TwoTagsInOneFile) {
    {
        store::WorkArea* loc = makeTable(kRows);
        ASSERT_TRUE(loc->indexOn("FRAGENR", dir / "LOCAL.CDX", "BYNR"));
        session.closeAll();
    }
    // A second tag built into the existing file opens the first one too: it follows the changes made afterwards.
    store::WorkArea* loc = session.use(dir / "DLOC.DBF", "DLOC");
    ASSERT_TRUE(loc->indexOn("str(THEMA)", dir / "LOCAL.CDX", "BYTHEMA", "KLASSE_B > 0"));
    ASSERT_TRUE(loc->appendBlank());
    loc->replace("FRAGENR", Value::text("0.0.00-000"));
    loc->replace("KLASSE_B", Value::number(1));
    ASSERT_TRUE(loc->setOrder("BYNR"));
    EXPECT_EQ(walk(*loc).front(), "0.0.00-000");
    session.closeAll();

    loc = session.use(dir / "DLOC.DBF", "DLOC");
    ASSERT_TRUE(loc->openIndex(dir / "LOCAL.CDX"));
    ASSERT_TRUE(loc->setOrder("BYNR"));
    auto order = walk(*loc);
    EXPECT_EQ(order.size(), kRows.size() + 1);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    ASSERT_TRUE(loc->setOrder("BYTHEMA"));
    EXPECT_EQ(walk(*loc), (std::vector<std::string>{"0.0.00-000", "1.1.01-001", "1.1.02-004", "1.1.02-005",
                                                    "2.1.01-006", "1.2.01-003"}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(WorkAreaTest, ATagTheAreaCannotEvaluateLeavesItsFileAtTheFirstChange) {
    store::WorkArea* loc = makeTable(kRows);
    makeTable(kRows, "DSET");
    ASSERT_TRUE(loc->indexOn("FRAGENR", dir / "LOCAL.CDX", "BYNR"));
    ASSERT_TRUE(loc->indexOn("FRAGENR", dir / "LOCAL.CDX", "INSET", "DSET->KLASSE_B > 0"));
    session.closeAll();

    // Without DSET the second tag cannot be used; reading leaves the file as it is.
    const std::string before = lwtest::readFile(dir / "LOCAL.CDX");
    loc = session.use(dir / "DLOC.DBF", "DLOC");
    ASSERT_TRUE(loc->openIndex(dir / "LOCAL.CDX"));
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(walk(*loc).size(), kRows.size());
    loc->closeIndexes();
    EXPECT_EQ(lwtest::readFile(dir / "LOCAL.CDX"), before);

    // A change it cannot follow takes it out of the file rather than leaving it there to go stale.
    ASSERT_TRUE(loc->openIndex(dir / "LOCAL.CDX"));
    loc->goTo(1);
    loc->replace("FRAGENR", Value::text("9.9.99-999"));
    EXPECT_EQ(errors.size(), 3u);
    session.closeAll();
    makeTable(kRows, "DSET");
    loc = session.use(dir / "DLOC.DBF", "DLOC");
    ASSERT_TRUE(loc->openIndex(dir / "LOCAL.CDX"));
    EXPECT_FALSE(loc->setOrder("INSET"));
    EXPECT_EQ(walk(*loc).back(), "9.9.99-999");
}

TEST_F(WorkAreaTest, AStoppedRebuildKeepsTheOldTag) {
    std::vector<Learner> many;
    std::vector<std::string> numbers(120);
    for (int i = 0; i < 120; ++i) {
        numbers[i] = "1.1.01-" + std::to_string(300 - i);
        many.push_back({numbers[i].c_str(), 1, 3, 0, 0, "  "});
    }
    store::WorkArea* loc = makeTable(many);
    ASSERT_TRUE(loc->indexOn("FRAGENR", dir / "FRAGEN.CDX", "FRAGEN"));
    loc->goTo(7);
    EXPECT_FALSE(loc->indexOn("FRAGENR", dir / "FRAGEN.CDX", "FRAGEN", "THEMA = 2",
                              [](std::uint32_t, std::uint32_t) { return false; }, 10));
    ASSERT_NE(loc->controllingTag(), nullptr);
    EXPECT_EQ(loc->controllingTag()->forExpression(), "");
    EXPECT_EQ(loc->recNo(), 7u);
    EXPECT_TRUE(loc->skip());
    EXPECT_EQ(loc->recNo(), 8u - 2u); // descending numbers: the next key is the record before
    EXPECT_EQ(walk(*loc).size(), 120u);
    session.closeAll();
    loc = session.use(dir / "DLOC.DBF", "DLOC");
    ASSERT_TRUE(loc->openIndex(dir / "FRAGEN.CDX"));
    ASSERT_NE(loc->controllingTag(), nullptr);
    EXPECT_EQ(walk(*loc).size(), 120u);
}

TEST_F(WorkAreaTest, NavigationStopsAtBofAndEofAndHonoursTheFilter) {
    store::WorkArea* loc = makeTable(kRows);
    ASSERT_TRUE(loc->setFilter("THEMA = 1 .and. KLASSE_B > 0"));
    EXPECT_EQ(walk(*loc), (std::vector<std::string>{"1.1.01-001", "1.1.02-004", "1.1.02-005", "2.1.01-006"}));
    loc->goTop();
    EXPECT_FALSE(loc->skip(-1));
    EXPECT_TRUE(loc->bof());
    EXPECT_EQ(loc->recNo(), 1u);
    loc->goBottom();
    EXPECT_EQ(loc->recNo(), 6u);
    EXPECT_FALSE(loc->skip());
    EXPECT_TRUE(loc->eof());
    EXPECT_TRUE(loc->skip(-1)); // back from eof to the last visible record
    EXPECT_EQ(loc->recNo(), 6u);
    EXPECT_FALSE(loc->setFilter("THEMA +"));
    EXPECT_FALSE(errors.empty());
}

TEST_F(WorkAreaTest, ATableWithoutAVisibleRecordIsAtItsBeginningAndItsEnd) {
    store::WorkArea* loc = makeTable({});
    EXPECT_FALSE(loc->goTop());
    EXPECT_TRUE(loc->bof());
    EXPECT_TRUE(loc->eof());
    EXPECT_FALSE(loc->goBottom());
    EXPECT_TRUE(loc->bof());
    EXPECT_TRUE(loc->eof());
    // The same when a filter hides every record, in physical and in index order.
    store::WorkArea* full = makeTable(kRows, "DFULL");
    ASSERT_TRUE(full->setFilter("THEMA = 9"));
    EXPECT_FALSE(full->goTop());
    EXPECT_TRUE(full->bof() && full->eof());
    ASSERT_TRUE(full->indexOn("FRAGENR", dir / "DFULL.CDX", "DFULL"));
    EXPECT_FALSE(full->goTop());
    EXPECT_TRUE(full->bof() && full->eof());
    // With a visible record neither holds.
    ASSERT_TRUE(full->setFilter(""));
    EXPECT_TRUE(full->goTop());
    EXPECT_FALSE(full->bof() || full->eof());
}

TEST_F(WorkAreaTest, RelationPositionsTheChildWheneverTheParentMoves) {
    store::WorkArea* child = makeTable(kRows, "DFRG");
    ASSERT_TRUE(child->indexOn("FRAGENR", dir / "DFRG.CDX", "DFRG"));
    store::WorkArea* parent = session.create(dir / "T_FRAGE.DBF",
                                             {{"NUMMER", FieldType::Numeric, 3, 0},
                                              {"FRAGENR", FieldType::Character, 12, 0}},
                                             "DFRA");
    for (const char* nr : {"1.1.02-005", "9.9.99-999", "1.2.01-003"}) {
        parent->appendBlank();
        parent->replace("FRAGENR", Value::text(nr));
    }
    ASSERT_TRUE(parent->setRelation("FRAGENR", "DFRG"));
    parent->goTop();
    EXPECT_TRUE(child->found());
    EXPECT_EQ(child->recNo(), 5u);
    parent->skip();
    EXPECT_FALSE(child->found());
    EXPECT_TRUE(child->eof());
    parent->skip();
    EXPECT_EQ(child->number("THEMA"), 2);
    // An alias->field expression reads the related record.
    store::Value v;
    ASSERT_TRUE(parent->evaluate("DFRG->THEMA * 10", v));
    EXPECT_EQ(v.asNumber(), 20);
}

TEST_F(WorkAreaTest, AFilterOnTheRelatedRecordSeesTheChildOfTheRecordItTests) {
    store::WorkArea* dfra = makeTable(kRows, "DFRA");
    ASSERT_TRUE(dfra->indexOn("FRAGENR", dir / "DFRA.CDX", "DFRA"));
    // The working copy lists the questions in another order than the catalog, and only some of them.
    store::WorkArea* dloc = makeTable({kRows[4], kRows[2], kRows[0], kRows[5]}, "DLOC");
    ASSERT_TRUE(dloc->setRelation("FRAGENR", "DFRA"));
    ASSERT_TRUE(dloc->setFilter("DFRA->ZULETZT = \"5\" .or. DFRA->ZULETZT = \"1\""));
    EXPECT_EQ(walk(*dloc), (std::vector<std::string>{"1.1.02-005", "1.1.01-001"}));
    dloc->goBottom();
    EXPECT_EQ(dloc->text("FRAGENR"), "1.1.01-001");
    EXPECT_EQ(dfra->text("FRAGENR"), "1.1.01-001");
    EXPECT_TRUE(errors.empty());
}

TEST_F(WorkAreaTest, ARelationWhoseKeyTheChildCannotFindIsRefused) {
    store::WorkArea* child = makeTable(kRows, "DFRG");
    store::WorkArea* parent = makeTable(kRows, "DLOC");
    // Without an order only a record number can position the child.
    EXPECT_FALSE(parent->setRelation("FRAGENR", "DFRG"));
    EXPECT_EQ(errors.size(), 1u);
    ASSERT_TRUE(parent->setRelation("THEMA", "DFRG"));
    parent->goTo(3);
    EXPECT_EQ(child->recNo(), 2u);
    parent->clearRelations();
    // A number does not find a text key (nor text a number key).
    ASSERT_TRUE(child->indexOn("str(THEMA)", dir / "DFRG.CDX", "THEMA"));
    EXPECT_FALSE(parent->setRelation("THEMA", "DFRG"));
    ASSERT_TRUE(child->indexOn("THEMA", dir / "DFRG.CDX", "THEMANUM"));
    EXPECT_FALSE(parent->setRelation("str(THEMA)", "DFRG"));
    EXPECT_EQ(errors.size(), 3u);
    ASSERT_TRUE(parent->setRelation("THEMA", "DFRG"));
    parent->goTo(3);
    EXPECT_EQ(child->number("THEMA"), 2);
    EXPECT_EQ(errors.size(), 3u);
}

TEST_F(WorkAreaTest, ARelationBackToItsParentIsRefused) {
    store::WorkArea* a = makeTable(kRows, "DFRG");
    store::WorkArea* b = makeTable(kRows, "DLOC");
    store::WorkArea* c = makeTable(kRows, "DFRA");
    for (store::WorkArea* w : {a, b, c})
        ASSERT_TRUE(w->indexOn("FRAGENR", dir / (w->alias() + ".CDX"), w->alias()));
    ASSERT_TRUE(a->setRelation("FRAGENR", "DLOC"));
    ASSERT_TRUE(b->setRelation("FRAGENR", "DFRA"));
    EXPECT_FALSE(c->setRelation("FRAGENR", "DFRG"));
    EXPECT_FALSE(b->setRelation("FRAGENR", "DFRG"));
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find("Kreis"), std::string::npos);
    // The chain that was allowed still works.
    a->goTo(3);
    EXPECT_EQ(b->recNo(), 3u);
    EXPECT_EQ(c->recNo(), 3u);
}

TEST_F(WorkAreaTest, ClosingAnAreaDropsTheExpressionsOfOthersThatReadIt) {
    store::WorkArea* dfrg = makeTable(kRows, "DFRG");
    store::WorkArea* dfra = makeTable(kRows, "DFRA");
    store::WorkArea* dloc = makeTable(kRows, "DLOC");
    makeTable(kRows, "DSET");
    ASSERT_TRUE(dfrg->indexOn("FRAGENR", dir / "DFRG.CDX", "DFRG"));
    ASSERT_TRUE(dloc->setFilter("DSET->THEMA = 2"));
    ASSERT_TRUE(dloc->indexOn("FRAGENR", dir / "DLOC.CDX", "DLOC", "DSET->KLASSE_B > 0"));
    ASSERT_TRUE(dfra->setRelation("DSET->FRAGENR", "DFRG"));
    ASSERT_TRUE(dfra->setRelation("FRAGENR", "DLOC"));
    session.close("DSET");
    // The filter, the tag and the one relation that read DSET are gone, each with a report; the rest works.
    EXPECT_EQ(errors.size(), 3u);
    EXPECT_EQ(dloc->controllingTag(), nullptr);
    EXPECT_EQ(walk(*dloc).size(), kRows.size());
    ASSERT_TRUE(dloc->indexOn("FRAGENR", dir / "DLOC.CDX", "BYNR"));
    dfra->goTo(3);
    EXPECT_EQ(dloc->recNo(), 3u);
    EXPECT_EQ(errors.size(), 3u);
    // The dropped tag cannot follow a change, so the change takes it out of the file.
    dloc->replace("THEMA", Value::number(7));
    EXPECT_EQ(errors.size(), 4u);
    session.closeAll();
    dloc = session.use(dir / "DLOC.DBF", "DLOC");
    ASSERT_TRUE(dloc->openIndex(dir / "DLOC.CDX"));
    EXPECT_EQ(dloc->controllingTag()->name(), "BYNR");
    EXPECT_FALSE(dloc->setOrder("DLOC"));
}

TEST_F(WorkAreaTest, TextOfAMemoIsAllItsBytes) {
    store::WorkArea* a = session.create(dir / "T_FRAGE.DBF",
                                        {{"BITMAP", FieldType::Character, 8, 0}, {"PICTURE", FieldType::Memo, 10, 0}},
                                        "DFRA");
    ASSERT_TRUE(a->appendBlank());
    const std::string picture("BM\x10\0\0\0 \0\0", 9);
    ASSERT_TRUE(a->replaceMemo("PICTURE", picture, true));
    ASSERT_TRUE(a->replace("BITMAP", Value::text("1203")));
    EXPECT_EQ(a->text("PICTURE"), picture);
    EXPECT_EQ(a->text("BITMAP"), "1203");
    EXPECT_EQ(a->text("NOFIELD"), "");
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(WorkAreaTest, PackRebuildsOpenTags) {
    store::WorkArea* loc = makeTable(kRows);
    ASSERT_TRUE(loc->indexOn("FRAGENR", dir / "LOCAL.CDX", "LOCAL"));
    ASSERT_TRUE(loc->seek("1.1.01-001"));
    loc->deleteRecord();
    ASSERT_TRUE(loc->pack());
    EXPECT_EQ(loc->recCount(), 5u);
    EXPECT_FALSE(loc->seek("1.1.01-001"));
    ASSERT_TRUE(loc->seek("2.1.01-006"));
    EXPECT_EQ(loc->recNo(), 5u);
}

} // namespace
