#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <string>
#include <thread>

#include "shell/programlock.h"
#include "shell/showchannel.h"
#include "store/table.h"
#include "support/testdir.h"
#include "ui/modules.h"

// A helper that held the folder's lock or the second-start socket would keep the folder locked, or let a second
// start "reach" a program that has ended, for as long as a sound plays; one holding a table would keep it open.
TEST(Helpers, InheritNoneOfTheProgramsLockChannelOrTables) {
    lwtest::TempDir dir;
    const shell::ProgramLock lock(QString::fromStdString(dir.path().string()));
    ASSERT_FALSE(lock.heldElsewhere());
    const shell::ShowChannel channel(QString::fromStdString((dir / "show").string()), [] {});
    ASSERT_TRUE(channel.isListening()) << channel.error().toStdString();
    const auto table = store::Table::create(dir / "LOCAL1.DBF", {store::FieldDef{"NR", store::FieldType::Numeric, 4}});
    ASSERT_TRUE(table);

    const auto seen = dir / "seen.txt";
    const auto helper = dir / "helper.sh";
    lwtest::writeFile(helper, "#!/bin/sh\nfor f in /proc/$$/fd/*; do readlink \"$f\"; done > '" + seen.string() +
                                  ".part'\nmv '" + seen.string() + ".part' '" + seen.string() + "'\n");
    ::chmod(helper.c_str(), 0755);
    ASSERT_TRUE(ui::startHelper(QString::fromStdString(helper.string()), {}));
    for (int i = 0; i < 200 && !std::filesystem::exists(seen); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::string fds = lwtest::readFile(seen);
    ASSERT_FALSE(fds.empty());
    EXPECT_EQ(fds.find("Lenkwerk.lck"), std::string::npos) << fds;
    EXPECT_EQ(fds.find("LOCAL1.DBF"), std::string::npos) << fds;
    EXPECT_EQ(fds.find("socket:"), std::string::npos) << fds;
}
