#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "crash_support.h"
#include "store/faultinject.h"
#include "store/table.h"
#include "support/testdir.h"
#include "table_support.h"

namespace {

using lwtest::ErrorLog;
using lwtest::field;
using store::FieldType;
using store::Table;
using store::Value;
namespace faults = store::faults;

std::unique_ptr<Table> memoTable(const lwtest::TempDir& dir) {
    auto t = Table::create(dir / "T.DBF", {field("NAME", FieldType::Character, 8), field("NOTE", FieldType::Memo)});
    EXPECT_TRUE(t && t->appendBlank() && t->replace(0, Value::text("one")) && t->replaceMemo(1, "first", false));
    return t;
}

TEST(FaultSeam, FailsOnlyTheNthMatchingOperationAndCountsThem) {
    lwtest::TempDir dir;
    auto t = memoTable(dir);
    ASSERT_TRUE(t);
    ErrorLog log;
    {
        // Writes to the table itself do not count: the plan names the memo file.
        faults::Scope seam({faults::Write, "T.FPT", 2, faults::Action::Fail, ENOSPC});
        ASSERT_TRUE(t->replace(0, Value::text("two")));
        ASSERT_TRUE(t->flush());
        EXPECT_EQ(faults::seen(), 0u);
        EXPECT_FALSE(t->replaceMemo(1, std::string(200, 'x'), false)); // memo block, then the header's next-free
        EXPECT_EQ(faults::seen(), 2u);
        ASSERT_EQ(log.count(), 1u);
        EXPECT_NE(log.last().message.find("T.FPT"), std::string::npos);
        EXPECT_NE(log.last().message.find("kein Platz mehr auf dem Datenträger"), std::string::npos);
        log.clear();
        EXPECT_TRUE(t->replaceMemo(1, "third", false)); // only the n-th one fails
        EXPECT_EQ(log.count(), 0u);
    }
    EXPECT_EQ(t->memo(1), "third");
    faults::disarm();
    EXPECT_TRUE(t->close());
}

TEST(FaultSeam, EndsAChildProcessBeforeTheOperation) {
    lwtest::TempDir dir;
    {
        auto t = memoTable(dir);
        ASSERT_TRUE(t && t->close());
    }
    const std::string before = lwtest::readFile(dir / "T.DBF");
    const int code = lwtest::runInChild({faults::Write, "T.DBF", 1, faults::Action::Exit, 0, 42}, [&] {
        auto t = Table::open(dir / "T.DBF");
        if (!t || !t->replace(0, Value::text("changed")) || !t->close()) ::_exit(3);
    });
    EXPECT_EQ(code, 42);
    EXPECT_EQ(lwtest::readFile(dir / "T.DBF"), before); // ended before its first write reached the file

    // Unarmed (a plan that only counts), the same work runs to its end.
    EXPECT_EQ(lwtest::runInChild({faults::AnyOp, "", 0},
                                 [&] {
                                     auto t = Table::open(dir / "T.DBF");
                                     if (!t || !t->replace(0, Value::text("changed")) || !t->close()) ::_exit(3);
                                 }),
              0);
    auto t = Table::open(dir / "T.DBF", Table::Mode::SharedRead);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->fieldValue(0).asText(), "changed ");
}

TEST(FaultSeam, RenameAndUnlinkFailuresLeaveTheTableAsItWas) {
    lwtest::TempDir dir;
    auto t = memoTable(dir);
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->deleteRecord());
    ErrorLog log;
    {
        faults::Scope seam({faults::Rename, "", 1});
        EXPECT_FALSE(t->pack());
    }
    EXPECT_GE(log.count(), 1u);
    EXPECT_EQ(t->recCount(), 1u);
    EXPECT_TRUE(t->isOpen());
    EXPECT_TRUE(t->pack()); // the failure left nothing in the way
    EXPECT_EQ(t->recCount(), 0u);
}

TEST(FaultSeam, AnAppendAfterARecordThatCouldNotBeWrittenFails) {
    lwtest::TempDir dir;
    auto t = memoTable(dir);
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->replace(0, Value::text("two")));
    ErrorLog log;
    {
        faults::Scope seam({faults::Write, "T.DBF", 1});
        EXPECT_FALSE(t->appendBlank());
    }
    EXPECT_GE(log.count(), 1u);
    EXPECT_EQ(t->recCount(), 1u);
}

} // namespace
