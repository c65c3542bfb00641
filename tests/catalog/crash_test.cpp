// The update import and the first creation of LOCAL1 ended by a crash (or failed) at every file operation in turn:
// the next start always finds exactly the old catalog with the update waiting, or exactly the new one with the
// update gone, the learning state consistent with it, and no temporary file left.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "catalog/startcheck.h"
#include "catalog/tables.h"
#include "catalog/update.h"
#include "store/crash_support.h"
#include "store/filecommit.h"
#include "update_support.h"

namespace {

using namespace updatetest;
namespace faults = store::faults;

// Every record with its deletion mark, its fields and its memos, as a reader sees them.
std::string digest(const fs::path& dbf) {
    if (!fs::exists(dbf)) return "<missing>";
    store::ErrorCallback previous = store::setErrorCallback([](const store::StoreError&) {});
    std::string out;
    if (auto t = store::Table::open(dbf, store::Table::Mode::SharedRead)) {
        for (std::uint32_t r = 1; r <= t->recCount(); ++r) {
            t->goTo(r);
            out.append(t->isDeleted() ? "\n*" : "\n ");
            for (int f = 0; f < t->fieldCount(); ++f)
                out.append("|").append(t->fieldDef(f).type == store::FieldType::Memo ? t->memo(f)
                                                                                     : std::string(t->rawField(f)));
        }
    } else {
        out = "<unreadable>";
    }
    store::setErrorCallback(std::move(previous));
    return out;
}

std::vector<std::string> names(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir))
        out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

void copyFolder(const fs::path& from, const fs::path& to) {
    for (const auto& e : fs::directory_iterator(to))
        fs::remove_all(e.path());
    for (const auto& e : fs::directory_iterator(from))
        fs::copy_file(e.path(), to / e.path().filename());
}

// What a start sees of the catalog and the learning state.
struct State {
    std::string catalog, local1, local2, log;
    bool update = false;
    bool operator==(const State&) const = default;
};

State stateOf(const fs::path& dir) {
    State s{digest(dir / "FRAGEN.DBF"), digest(dir / "LOCAL1.DBF"), digest(dir / "LOCAL2.DBF"), "<missing>",
            fs::exists(dir / "FRUPDATE.DBF") && fs::exists(dir / "FRUPDATE.FPT")};
    if (fs::exists(dir / "FRUPDATE.LOG")) s.log = lwtest::readFile(dir / "FRUPDATE.LOG");
    return s;
}

// The steps of a program start that touch the catalog: the sweep (which finishes interrupted commits), the learning
// state, the import.
void nextStart(Program& p) {
    store::sweepLeftovers(p.dir.path());
    catalog::prepareCatalog(p.ctx);
    catalog::importUpdate(p.ctx);
}

struct Tally {
    unsigned points = 0, oldState = 0, newState = 0;
};

// A catalog with texts and pictures, both learners' tables with counters, and an update that adds, changes and
// deletes (so the import packs).
void buildPristine(const fs::path& dir) {
    const std::string bmp = std::string("BM\x00\x01\x81\xFF", 6) + std::string(3000, '\x42');
    std::vector<Q> questions;
    for (int i = 1; i <= 12; ++i) {
        char nr[16];
        std::snprintf(nr, sizeof nr, "1.1.01-%03d", i);
        questions.push_back({nr, 1 + i % 8, "Frage Nummer " + std::to_string(i) + "?", "Ja", "Nein",
                             i % 2 ? "Vielleicht" : "", i % 3 == 0, true, false, i % 2 ? 3 : 2, i % 5,
                             i % 4 ? "" : "1101-0" + std::to_string(i), i % 4 ? "" : bmp + std::to_string(i)});
    }
    writeCatalog(dir, questions);
    for (const char* local : {"LOCAL1", "LOCAL2"}) {
        ASSERT_EQ(catalog::MAKELOCAL(dir, local), catalog::MakeLocalResult::Created);
        store::Session s;
        store::WorkArea* l = s.use(dir / (std::string(local) + ".DBF"), "DLOC");
        for (std::uint32_t r = 1; r <= l->recCount(); r += 2) {
            l->goTo(r);
            l->replace("ANTWORTEN", Value::number(r));
        }
    }
    writeUpdate(dir, {{"2.2.02-001", 2, "Ganz neu?", "Ja", "Nein", "", true, false, false, 2, 5, "2202-001", bmp},
                      {"1.1.01-003", 0},
                      {"1.1.01-004", 3, "Anders gefragt?", "", "", "", false, true, true, 0},
                      {"1.1.01-009", 0},
                      {"1.1.01-010", 1, "", "Neue Antwort", "", "", true, true, false, 2}});
}

TEST(ImportCrash, EveryCrashAndFailureLeavesTheOldOrTheNewCatalogAndTheNextStartFinishes) {
    lwtest::TempDir pristine;
    buildPristine(pristine.path());
    Program p;

    copyFolder(pristine.path(), p.dir.path());
    store::sweepLeftovers(p.dir.path());
    const State before = stateOf(p.dir.path());
    ASSERT_TRUE(before.update);

    unsigned total = 0;
    {
        faults::Scope counting({faults::AnyOp, "", 0});
        ASSERT_EQ(catalog::importUpdate(p.ctx), catalog::UpdateResult::Imported);
        total = faults::seen();
    }
    const State after = stateOf(p.dir.path());
    const auto afterNames = names(p.dir.path());
    ASSERT_NE(before.catalog, after.catalog);
    ASSERT_FALSE(after.update);
    ASSERT_EQ(after.local2, "<missing>");
    const auto local = rows(p / "LOCAL1.DBF");
    ASSERT_EQ(local.size(), 11u);
    for (const Row& r : local)
        ASSERT_EQ(r.at("ANTWORTEN"), "0"); // new, without the old counters
    ASSERT_GT(total, 10u);

    Tally tally;
    for (unsigned n = 1; n <= total; ++n) {
        for (auto action : {faults::Action::Exit, faults::Action::Fail}) {
            const bool crash = action == faults::Action::Exit;
            SCOPED_TRACE(std::string(crash ? "crash" : "failure").append(" at operation ").append(std::to_string(n)));
            copyFolder(pristine.path(), p.dir.path());
            const faults::Plan plan{faults::AnyOp, "", n, action};
            if (crash) {
                ASSERT_EQ(lwtest::runInChild(plan, [&] { catalog::importUpdate(p.ctx); }), plan.exitCode);
            } else {
                store::ErrorCallback quiet = store::setErrorCallback([](const store::StoreError&) {});
                {
                    faults::Scope seam(plan);
                    catalog::importUpdate(p.ctx);
                }
                store::setErrorCallback(std::move(quiet));
            }

            // What the next start finds once the sweep has run: one of the two states, never a mix.
            store::sweepLeftovers(p.dir.path());
            State found = stateOf(p.dir.path());
            ++tally.points;
            if (found == before) {
                ++tally.oldState;
            } else {
                // The commit went through; the learner's table follows with the start (it may already be there).
                const bool localOk = found.local1 == "<missing>" || found.local1 == after.local1;
                const std::string local1 = found.local1;
                found.local1 = after.local1;
                if (found == after && localOk)
                    ++tally.newState;
                else
                    ADD_FAILURE() << "a mix of old and new: catalog "
                                  << (found.catalog == before.catalog  ? "old"
                                      : found.catalog == after.catalog ? "new"
                                                                       : "neither")
                                  << ", update " << (found.update ? "waiting" : "gone") << ", LOCAL2 "
                                  << (found.local2 == before.local2 ? "old" : found.local2) << ", LOCAL1 "
                                  << (localOk ? "fine" : local1.substr(0, 60)) << ", logbook "
                                  << (found.log == after.log ? "new" : found.log.substr(0, 60));
            }

            // The rest of the start: the update is imported exactly once, and nothing temporary is left.
            nextStart(p);
            EXPECT_EQ(stateOf(p.dir.path()), after);
            EXPECT_EQ(names(p.dir.path()), afterNames);
        }
    }
    EXPECT_EQ(tally.oldState + tally.newState, tally.points);
    EXPECT_GT(tally.oldState, 0u);
    EXPECT_GT(tally.newState, 0u);
    std::printf("    update import: %u operations, %u injected crash/failure points: %u old catalog with the update "
                "waiting, %u new catalog\n",
                total, tally.points, tally.oldState, tally.newState);
}

TEST(ImportCrash, AnImportInterruptedAfterItsCommitIsFinishedBeforeTheUpdateIsLookedFor) {
    lwtest::TempDir pristine;
    buildPristine(pristine.path());
    Program p;
    copyFolder(pristine.path(), p.dir.path());
    // Crash at the removal of the update, after the catalog was put in place.
    ASSERT_EQ(lwtest::runInChild({faults::Unlink, "FRUPDATE.DBF", 1, faults::Action::Exit},
                                 [&] { catalog::importUpdate(p.ctx); }),
              86);
    ASSERT_TRUE(fs::exists(p / "FRUPDATE.DBF"));
    ASSERT_TRUE(fs::exists(store::journalPath(p / "FRAGEN.DBF")));
    // Without the sweep: the import itself finishes the commit and finds nothing to import.
    EXPECT_EQ(catalog::importUpdate(p.ctx), catalog::UpdateResult::NoUpdate);
    EXPECT_FALSE(fs::exists(p / "FRUPDATE.DBF"));
    EXPECT_FALSE(fs::exists(p / "LOCAL2.DBF"));
    const auto cat = rows(p / "FRAGEN.DBF");
    EXPECT_EQ(cat.size(), 11u); // two deleted, one added: applied once
    EXPECT_TRUE(byNumber(cat, "1.1.01-003").empty());
    EXPECT_FALSE(byNumber(cat, "2.2.02-001").empty());
}

TEST(LocalCrash, TheFirstStartsLearningStateIsWholeOrMissingAtEveryCrash) {
    lwtest::TempDir pristine;
    buildPristine(pristine.path());
    for (const char* name : {"LOCAL1.DBF", "LOCAL2.DBF", "FRUPDATE.DBF", "FRUPDATE.FPT"})
        fs::remove(pristine / name);
    Program p;
    copyFolder(pristine.path(), p.dir.path());
    unsigned total = 0;
    {
        faults::Scope counting({faults::AnyOp, "", 0});
        ASSERT_TRUE(catalog::prepareCatalog(p.ctx));
        total = faults::seen();
    }
    const std::string complete = digest(p / "LOCAL1.DBF");
    const auto afterNames = names(p.dir.path());
    ASSERT_GT(total, 1u);

    Tally tally;
    for (unsigned n = 1; n <= total; ++n) {
        SCOPED_TRACE(std::string("crash at operation ").append(std::to_string(n)));
        copyFolder(pristine.path(), p.dir.path());
        ASSERT_EQ(
            lwtest::runInChild({faults::AnyOp, "", n, faults::Action::Exit}, [&] { catalog::prepareCatalog(p.ctx); }),
            86);
        store::sweepLeftovers(p.dir.path());
        const std::string found = digest(p / "LOCAL1.DBF");
        ++tally.points;
        if (found == "<missing>")
            ++tally.oldState;
        else if (found == complete)
            ++tally.newState;
        else
            ADD_FAILURE() << "a half-made LOCAL1";
        catalog::prepareCatalog(p.ctx);
        EXPECT_EQ(digest(p / "LOCAL1.DBF"), complete);
        EXPECT_EQ(names(p.dir.path()), afterNames);
    }
    EXPECT_EQ(tally.oldState + tally.newState, tally.points);
    std::printf("    LOCAL1 creation: %u injected crash points: %u without LOCAL1, %u with the whole table\n",
                tally.points, tally.oldState, tally.newState);
}

} // namespace
