#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "crash_support.h"
#include "store/filecommit.h"
#include "store/table.h"
#include "support/testdir.h"
#include "table_support.h"

namespace {

namespace fs = std::filesystem;
using lwtest::field;
using store::FieldType;
using store::Table;
using store::Value;

bool has(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(Sweep, EngineTempNamesAreRecognisedExactly) {
    for (const char* name :
         {".FRAGEN.DBF.123456.tmp", ".FRAGEN.FPT.7.tmp", ".LOCAL1.TMP.DBF.42.tmp", ".x.0.tmp",
          "..FRAGEN.DBF.journal.99.tmp", ".FRAGEN.815.tmp.DBF", ".FRAGEN.815.tmp.fpt", ".FRAGEN.815.tmp.CDX"})
        EXPECT_TRUE(store::isEngineTempName(name)) << name;
    for (const char* name :
         {"FRAGEN.DBF", "FRAGEN.DBF.123.tmp", ".FRAGEN.DBF.tmp", ".FRAGEN.DBF.1234567.tmp", ".FRAGEN.DBF.12a.tmp",
          ".12.tmp", ".FRAGEN.DBF.12.TMP", "LOCAL1.TMP.DBF", "TAVOLIN.INI.x1", ".FRAGEN.DBF.journal", ".tmp", "",
          ".FRAGEN.815.tmp.DBFX", ".FRAGEN.815.tmp.", "FRAGEN.815.tmp.DBF", ".FRAGEN.tmp.DBF"})
        EXPECT_FALSE(store::isEngineTempName(name)) << name;
}

TEST(Sweep, RemovesOnlyTheEnginesOwnUnusedTemporaryFiles) {
    lwtest::TempDir dir;
    const std::vector<std::string> ours{".FRAGEN.DBF.123456.tmp", ".FRAGEN.FPT.77.tmp", ".LOCAL1.TMP.DBF.5.tmp"};
    const std::vector<std::string> foreign{
        "FRAGEN.DBF",         ".hidden",        "notes.tmp",        ".FRAGEN.DBF.tmp", ".FRAGEN.DBF.1234567.tmp",
        "FRAGEN.DBF.123.tmp", "LOCAL1.TMP.DBF", "TAVOLIN.INI.abc12"};
    for (const auto& name : ours)
        lwtest::writeFile(dir / name, "left over");
    for (const auto& name : foreign)
        lwtest::writeFile(dir / name, "keep me");
    lwtest::writeFile(dir / ".inuse.DBF.9.tmp", "a running commit prepares this");
    fs::create_directory(dir / ".folder.1.tmp");
    fs::create_symlink(dir / "FRAGEN.DBF", dir / ".link.DBF.3.tmp");
    int held = ::open((dir / ".inuse.DBF.9.tmp").c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    const store::SweepReport report = store::sweepLeftovers(dir.path());
    ::close(held);
    EXPECT_EQ(report.removed.size(), ours.size());
    for (const auto& name : ours) {
        EXPECT_FALSE(fs::exists(dir / name)) << name;
        EXPECT_TRUE(has(report.removed, name)) << name;
    }
    for (const auto& name : foreign)
        EXPECT_EQ(lwtest::readFile(dir / name), "keep me") << name;
    EXPECT_TRUE(fs::exists(dir / ".inuse.DBF.9.tmp"));
    EXPECT_TRUE(fs::is_directory(dir / ".folder.1.tmp"));
    EXPECT_TRUE(fs::is_symlink(dir / ".link.DBF.3.tmp"));
    EXPECT_TRUE(report.finished.empty());
    EXPECT_TRUE(report.failed.empty());
}

// The way the update import builds a new catalog: a staged table with its memo file, put in place by one commit
// that also removes files that belong to the old state. Staged files left by a crash go with the next sweep, but
// not while their table is open.
TEST(Sweep, StagedTablesAreCommittedOrSweptButNeverWhileOpen) {
    lwtest::TempDir dir;
    {
        auto t = Table::create(dir / "T.DBF", {field("NAME", FieldType::Character, 8), field("NOTE", FieldType::Memo)});
        ASSERT_TRUE(t && t->appendBlank() && t->replaceMemo(1, "old", false) && t->close());
        lwtest::writeFile(dir / "UPDATE.DBF", "consumed by the change");
    }
    const fs::path staged = store::stagingPath(dir / "T.DBF");
    EXPECT_TRUE(store::isEngineTempName(staged.filename().string())) << staged;
    auto t = Table::create(staged, {field("NAME", FieldType::Character, 8), field("NOTE", FieldType::Memo)});
    ASSERT_TRUE(t && t->appendBlank() && t->replaceMemo(1, "new", false) && t->flush());
    const fs::path stagedMemo = t->memoPath();
    EXPECT_TRUE(store::isEngineTempName(stagedMemo.filename().string())) << stagedMemo;

    // Open: the sweep of a second program start leaves the staged pair alone.
    store::SweepReport report = store::sweepLeftovers(dir.path());
    EXPECT_TRUE(report.removed.empty());
    EXPECT_TRUE(fs::exists(staged) && fs::exists(stagedMemo));

    ASSERT_TRUE(t->close());
    store::FileCommit commit(dir / "T.DBF");
    commit.replace(stagedMemo, dir / "T.FPT");
    commit.replace(staged, dir / "T.DBF");
    commit.remove(dir / "UPDATE.DBF");
    ASSERT_EQ(commit.run(), store::FileCommit::Result::Done);
    EXPECT_FALSE(fs::exists(dir / "UPDATE.DBF"));
    t = Table::open(dir / "T.DBF", Table::Mode::SharedRead);
    ASSERT_TRUE(t && t->goTo(1));
    EXPECT_EQ(t->memo(1), "new");
    t.reset();

    // A staged pair a crash left behind goes with the next sweep.
    const fs::path left = store::stagingPath(dir / "T.DBF");
    ASSERT_TRUE(Table::create(left, {field("NOTE", FieldType::Memo)}));
    report = store::sweepLeftovers(dir.path());
    EXPECT_EQ(report.removed.size(), 2u);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"T.DBF", "T.FPT"}));
}

TEST(Sweep, FinishesAnInterruptedCommitBeforeRemovingAnything) {
    lwtest::TempDir dir;
    {
        auto t = Table::create(dir / "T.DBF", {field("NAME", FieldType::Character, 8), field("NOTE", FieldType::Memo)});
        ASSERT_TRUE(t);
        for (const char* name : {"keep", "drop", "keep2"}) {
            ASSERT_TRUE(t->appendBlank());
            ASSERT_TRUE(t->replace(0, Value::text(name)));
            ASSERT_TRUE(t->replaceMemo(1, std::string(100, name[0]), false));
        }
        ASSERT_TRUE(t->goTo(2) && t->deleteRecord() && t->close());
    }
    // Crash between the journal and the first of the renames: the new pair waits under temporary names.
    ASSERT_EQ(lwtest::runInChild({store::faults::Rename, "T.FPT", 1, store::faults::Action::Exit},
                                 [&] { Table::open(dir / "T.DBF")->pack(); }),
              86);
    ASSERT_TRUE(fs::exists(store::journalPath(dir / "T.DBF")));
    lwtest::writeFile(dir / ".OTHER.DBF.12.tmp", "left over");

    const store::SweepReport report = store::sweepLeftovers(dir.path());
    EXPECT_EQ(report.finished, std::vector<std::string>{"T.DBF"});
    EXPECT_EQ(report.removed, std::vector<std::string>{".OTHER.DBF.12.tmp"});
    EXPECT_FALSE(fs::exists(store::journalPath(dir / "T.DBF")));
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"T.DBF", "T.FPT"}));
    auto t = Table::open(dir / "T.DBF", Table::Mode::SharedRead);
    ASSERT_TRUE(t);
    ASSERT_EQ(t->recCount(), 2u);
    ASSERT_TRUE(t->goTo(2));
    EXPECT_EQ(t->memo(1), std::string(100, 'k'));
}

} // namespace
