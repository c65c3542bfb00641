// A table and its memo file change as one unit: a crash at any file operation of a rewrite, or a failure of it,
// leaves exactly the old pair or exactly the new one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include <fcntl.h>
#include <sys/file.h>

#include "crash_support.h"
#include "store/filecommit.h"
#include "store/table.h"
#include "support/testdir.h"
#include "table_support.h"

namespace {

namespace fs = std::filesystem;
namespace faults = store::faults;
using lwtest::field;
using store::FieldType;
using store::Table;
using store::Value;

// Every record with its deletion mark, its plain fields and the contents of its memos; what a reader sees.
std::string digest(const fs::path& dbf) {
    store::ErrorCallback quiet = store::setErrorCallback([](const store::StoreError&) {});
    std::string out;
    if (auto t = Table::open(dbf, Table::Mode::SharedRead)) {
        out = "fields";
        for (int f = 0; f < t->fieldCount(); ++f)
            out.append(":").append(t->fieldDef(f).name);
        for (std::uint32_t r = 1; r <= t->recCount(); ++r) {
            t->goTo(r);
            out.append(t->isDeleted() ? "\n*" : "\n ");
            for (int f = 0; f < t->fieldCount(); ++f) {
                out.append("|");
                if (t->fieldDef(f).type == FieldType::Memo)
                    out.append("m").append(t->memo(f));
                else
                    out.append(t->rawField(f));
            }
        }
    } else {
        out = "<unreadable>";
    }
    store::setErrorCallback(quiet);
    return out;
}

std::vector<std::string> folderNames(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The old pair: twelve records with memos of several sizes, every third deleted.
void buildOld(const fs::path& dbf) {
    auto t = Table::create(
        dbf, {field("NAME", FieldType::Character, 10), field("NOTE", FieldType::Memo), field("PIC", FieldType::Memo)});
    ASSERT_TRUE(t);
    for (int i = 1; i <= 12; ++i) {
        ASSERT_TRUE(t->appendBlank());
        ASSERT_TRUE(t->replace(0, Value::text(std::string("rec").append(std::to_string(i)))));
        ASSERT_TRUE(t->replaceMemo(1, std::string(static_cast<std::size_t>(i * 37), char('a' + i)), false));
        if (i % 2 == 0) {
            ASSERT_TRUE(t->replaceMemo(2, lwtest::bitmapLikeBytes(static_cast<std::size_t>(i * 90)), true));
        }
        if (i % 3 == 0) {
            ASSERT_TRUE(t->deleteRecord());
        }
    }
    ASSERT_TRUE(t->close());
}

// The bytes of the table, and of its memo file when it has one, as any other program finds them, knowing nothing
// of the journal.
std::string pairBytes(const fs::path& dbf) {
    std::string bytes = lwtest::readFile(dbf);
    if (bytes.empty() || static_cast<unsigned char>(bytes[0]) != 0xF5) return bytes;
    fs::path fpt = dbf;
    fpt.replace_extension(".FPT");
    return bytes + '\0' + lwtest::readFile(fpt);
}

struct Outcomes {
    unsigned points = 0, oldPair = 0, newPair = 0;
};

// Runs `change` on a fresh copy of the old pair, once ended by the seam before each of its file operations in turn
// and once failed at each; after every run the table must read exactly as before or exactly as after the change.
Outcomes crashEverywhere(const std::function<void(const fs::path&)>& change) {
    lwtest::TempDir pristine, work;
    const fs::path dbf = work / "T.DBF";
    buildOld(pristine / "T.DBF");
    auto restore = [&] {
        for (const auto& e : fs::directory_iterator(work.path()))
            fs::remove(e.path());
        for (const auto& e : fs::directory_iterator(pristine.path()))
            fs::copy_file(e.path(), work / e.path().filename().string());
    };
    restore();
    const std::string oldDigest = digest(dbf);
    const std::string oldBytes = pairBytes(dbf);
    const auto oldNames = folderNames(work.path());

    unsigned total = 0;
    {
        faults::Scope counting({faults::AnyOp, "", 0});
        change(dbf);
        total = faults::seen();
    }
    const std::string newDigest = digest(dbf);
    const std::string newBytes = pairBytes(dbf);
    const auto newNames = folderNames(work.path());
    EXPECT_NE(oldDigest, newDigest);
    EXPECT_GT(total, 2u);

    Outcomes result;
    for (unsigned n = 1; n <= total; ++n) {
        for (auto action : {faults::Action::Exit, faults::Action::Fail}) {
            SCOPED_TRACE(std::string("operation ")
                             .append(std::to_string(n))
                             .append(action == faults::Action::Exit ? " crash" : " failure"));
            restore();
            const faults::Plan plan{faults::AnyOp, "", n, action};
            if (action == faults::Action::Exit) {
                EXPECT_EQ(lwtest::runInChild(plan, [&] { change(dbf); }), plan.exitCode);
            } else {
                store::ErrorCallback quiet = store::setErrorCallback([](const store::StoreError&) {});
                {
                    faults::Scope seam(plan);
                    change(dbf);
                }
                store::setErrorCallback(quiet);
            }
            // Until the commit is finished the table is either the old or the new pair, or not there at all.
            if (action == faults::Action::Exit && fs::exists(dbf)) {
                const std::string raw = pairBytes(dbf);
                EXPECT_TRUE(raw == oldBytes || raw == newBytes) << "a table beside a memo file of the other state";
            }
            const std::string after = digest(dbf); // opening finishes an interrupted commit
            ++result.points;
            if (after == oldDigest)
                ++result.oldPair;
            else if (after == newDigest)
                ++result.newPair;
            else
                ADD_FAILURE() << "neither the old nor the new table:\n" << after;
            // After the start-up sweep nothing of the commit is left: the files are those of one of the two states.
            store::sweepLeftovers(work.path());
            const auto names = folderNames(work.path());
            EXPECT_TRUE(names == (after == newDigest ? newNames : oldNames)) << names.size() << " files";
        }
    }
    return result;
}

void expectBothOutcomes(const Outcomes& o) {
    EXPECT_EQ(o.oldPair + o.newPair, o.points);
    EXPECT_GT(o.oldPair, 0u);
    EXPECT_GT(o.newPair, 0u); // crashes past the point of no return are finished on the next open
    std::printf("    %u injected crash/failure points: %u old pair, %u new pair\n", o.points, o.oldPair, o.newPair);
}

TEST(TableCommit, PackIsOldOrNewAtEveryCrashAndFailure) {
    expectBothOutcomes(crashEverywhere([](const fs::path& dbf) {
        auto t = Table::open(dbf);
        if (t) t->pack();
    }));
}

TEST(TableCommit, ZapIsOldOrNewAtEveryCrashAndFailure) {
    expectBothOutcomes(crashEverywhere([](const fs::path& dbf) {
        auto t = Table::open(dbf);
        if (t) t->zap();
    }));
}

TEST(TableCommit, ReplacingCreateIsOldOrNewAtEveryCrashAndFailure) {
    expectBothOutcomes(crashEverywhere([](const fs::path& dbf) {
        auto t = Table::create(dbf, {field("OTHER", FieldType::Numeric, 4), field("TEXT", FieldType::Memo)});
        if (t) t->close();
    }));
}

TEST(TableCommit, CreateWithoutMemoDropsTheOldMemoFileInTheSameCommit) {
    expectBothOutcomes(crashEverywhere([](const fs::path& dbf) {
        auto t = Table::create(dbf, {field("OTHER", FieldType::Numeric, 4)});
        if (t) t->close();
    }));
}

// Shaped like the update import: a new version of the table is built under a staging name, then one commit puts it
// in place and removes the update and a derived table. After a crash anywhere and the start-up sweep, the folder is
// exactly the old one (update still waiting) or exactly the new one.
TEST(TableCommit, StagedReplacementWithRemovalsIsAllOrNothing) {
    lwtest::TempDir pristine, work;
    buildOld(pristine / "T.DBF");
    lwtest::writeFile(pristine / "UPDATE.DBF", "the update");
    lwtest::writeFile(pristine / "UPDATE.FPT", "its memos");
    lwtest::writeFile(pristine / "LOCAL1.DBF", "derived from T");
    auto restore = [&] {
        for (const auto& e : fs::directory_iterator(work.path()))
            fs::remove(e.path());
        for (const auto& e : fs::directory_iterator(pristine.path()))
            fs::copy_file(e.path(), work / e.path().filename().string());
    };
    auto state = [&] {
        store::sweepLeftovers(work.path()); // what the program's start does first
        std::string out = digest(work / "T.DBF");
        for (const auto& name : folderNames(work.path()))
            out.append("\n").append(name);
        return out;
    };
    auto change = [&] {
        const fs::path staged = store::stagingPath(work / "T.DBF");
        auto old = Table::open(work / "T.DBF", Table::Mode::SharedRead);
        auto next = old ? Table::create(staged, {field("NAME", FieldType::Character, 10),
                                                 field("NOTE", FieldType::Memo), field("PIC", FieldType::Memo)})
                        : nullptr;
        if (!next || !next->appendFrom(*old) || !next->goTo(1) || !next->replaceMemo(1, "updated", false)) return;
        const fs::path stagedMemo = next->memoPath();
        next->close();
        store::FileCommit commit(work / "T.DBF");
        commit.replace(stagedMemo, work / "T.FPT");
        commit.replace(staged, work / "T.DBF");
        for (const char* name : {"UPDATE.DBF", "UPDATE.FPT", "LOCAL1.DBF"})
            commit.remove(work / name);
        commit.run();
    };

    restore();
    const std::string oldState = state();
    unsigned total = 0;
    {
        faults::Scope counting({faults::AnyOp, "", 0});
        change();
        total = faults::seen();
    }
    const std::string newState = state();
    ASSERT_NE(oldState, newState);
    EXPECT_EQ(newState.find("UPDATE"), std::string::npos);

    Outcomes o;
    for (unsigned n = 1; n <= total; ++n) {
        SCOPED_TRACE(std::string("operation ").append(std::to_string(n)));
        restore();
        EXPECT_EQ(lwtest::runInChild({faults::AnyOp, "", n, faults::Action::Exit}, change), 86);
        const std::string after = state();
        ++o.points;
        if (after == oldState)
            ++o.oldPair;
        else if (after == newState)
            ++o.newPair;
        else
            ADD_FAILURE() << "a mix of old and new:\n" << after;
    }
    expectBothOutcomes(o);
}

TEST(TableCommit, AChangeAfterAFailedPackStillReachesTheFile) {
    lwtest::TempDir dir;
    buildOld(dir / "T.DBF");
    auto t = Table::open(dir / "T.DBF");
    ASSERT_TRUE(t);
    lwtest::ErrorLog log;
    {
        faults::Scope seam({faults::Rename, "T.FPT", 1}); // after the point of no return
        EXPECT_FALSE(t->pack());
    }
    EXPECT_FALSE(t->isOpen()); // neither pair is whole on disk: no write may go to the old files now
    EXPECT_FALSE(t->appendBlank());
    EXPECT_GE(log.count(), 1u);
    t.reset();
    ASSERT_TRUE(fs::exists(store::journalPath(dir / "T.DBF")));
    t = Table::open(dir / "T.DBF");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->recCount(), 8u); // the pack is finished by the open
    EXPECT_FALSE(fs::exists(store::journalPath(dir / "T.DBF")));
    t->goTo(8);
    EXPECT_EQ(t->memo(1), std::string(11 * 37, char('a' + 11)));
}

TEST(TableCommit, AJournalInUseMakesTheTableBusy) {
    lwtest::TempDir dir;
    buildOld(dir / "T.DBF");
    // A commit that another process is running holds its journal locked.
    const auto journal = store::journalPath(dir / "T.DBF");
    lwtest::writeFile(journal, "LWJOURNAL 1\nEND 0\n");
    int fd = ::open(journal.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    pid_t pid = ::fork();
    if (pid == 0) {
        store::setErrorCallback([](const store::StoreError&) {});
        ::_exit(Table::open(dir / "T.DBF", Table::Mode::SharedRead) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ::close(fd);
    EXPECT_TRUE(Table::open(dir / "T.DBF", Table::Mode::SharedRead));
    EXPECT_FALSE(fs::exists(journal));
}

TEST(TableCommit, ADamagedJournalIsReportedAndDropped) {
    lwtest::TempDir dir;
    buildOld(dir / "T.DBF");
    const std::string before = digest(dir / "T.DBF");
    lwtest::writeFile(store::journalPath(dir / "T.DBF"), "LWJOURNAL 1\nR\t.T.FPT.12.tmp\tT.FPT\n"); // no END
    lwtest::ErrorLog log;
    EXPECT_TRUE(Table::open(dir / "T.DBF"));
    ASSERT_EQ(log.count(), 1u);
    EXPECT_NE(log.last().message.find("beschädigt"), std::string::npos);
    EXPECT_EQ(digest(dir / "T.DBF"), before);
}

} // namespace
