#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "store/cdx.h"
#include "store/error.h"
#include "store/table.h"
#include "store/workarea.h"
#include "support/testdir.h"

namespace {

TEST(ErrorCallback, ReportsReachTheInstalledCallbackAndTheOldOneIsReturned) {
    std::vector<store::StoreError> seen;
    auto previous = store::setErrorCallback([&](const store::StoreError& e) { seen.push_back(e); });
    store::reportError("FRAGEN.DBF", "Datei ist gesperrt");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].file, "FRAGEN.DBF");
    EXPECT_EQ(seen[0].message, "Datei ist gesperrt");
    auto mine = store::setErrorCallback(previous);
    EXPECT_TRUE(static_cast<bool>(mine));
}

// The texts users see are German, the system's reasons included; the file is named in each.
TEST(ErrorTexts, OpenFailuresOfTablesAndIndexesAreGerman) {
    lwtest::TempDir dir;
    std::vector<store::StoreError> seen;
    auto previous = store::setErrorCallback([&](const store::StoreError& e) { seen.push_back(e); });
    EXPECT_FALSE(store::Table::open(dir / "FEHLT.DBF"));
    EXPECT_FALSE(store::CdxFile::open((dir / "FEHLT.CDX").string(),
                                      [](const std::string&) { return store::KeyType::Character; }));
    lwtest::writeFile(dir / "KURZ.CDX", std::string(600, '\0'));
    EXPECT_FALSE(store::CdxFile::open((dir / "KURZ.CDX").string(),
                                      [](const std::string&) { return store::KeyType::Character; }));
    store::setErrorCallback(previous);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].message, "FEHLT.DBF lässt sich nicht öffnen: Datei oder Ordner nicht gefunden");
    EXPECT_EQ(seen[1].message, "Der Index FEHLT.CDX lässt sich nicht lesen: Datei oder Ordner nicht gefunden");
    EXPECT_EQ(seen[2].message, "Der Index KURZ.CDX ist beschädigt: die Datei ist zu kurz");
}

// An open that failed is tried again when the callback asks for it, as often as it asks; other failures and
// callbacks that answer nothing go on with the failure.
TEST(ErrorCallback, AnOpenIsRetriedUntilTheCallbackLetsItFail) {
    lwtest::TempDir dir;
    const auto path = dir / "LOCAL1.DBF";
    lwtest::writeFile(path, std::string(10, '\x03')); // too short for a header
    std::vector<store::StoreError> seen;
    auto previous = store::setErrorCallback([&](const store::StoreError& e) {
        seen.push_back(e);
        if (seen.size() == 2) {
            // The user repairs the file, then asks for a retry.
            auto good = store::Table::create(dir / "GOOD.DBF", {{"NR", store::FieldType::Numeric, 4, 0}});
            good->appendBlank();
            good.reset();
            std::filesystem::rename(dir / "GOOD.DBF", path);
        }
        return store::ErrorAction::Retry;
    });
    store::Session session;
    store::WorkArea* area = session.use(path, "DLOC");
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->recCount(), 1u);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].open && seen[0].canRetry);
    EXPECT_EQ(seen[0].systemCode, 0) << "the file itself is at fault";

    // A table another holder has locked: the system's reason comes along, and Default lets the open fail.
    seen.clear();
    store::setErrorCallback([&](const store::StoreError& e) {
        seen.push_back(e);
        return store::ErrorAction::Default;
    });
    EXPECT_EQ(store::Table::open(path), nullptr);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].systemCode, EWOULDBLOCK);

    // Retry is no answer to a failure that cannot be repeated, and a callback without an answer means Default.
    store::setErrorCallback([](const store::StoreError&) { return store::ErrorAction::Retry; });
    EXPECT_EQ(store::reportError("X.DBF", "kaputt"), store::ErrorAction::Default);
    store::setErrorCallback([](const store::StoreError&) {});
    EXPECT_EQ(store::reportOpenError("X.DBF", "kaputt", 0), store::ErrorAction::Default);
    store::setErrorCallback(previous);
}

// A run's working set is created without waiting for the disk and emptied at every run: emptying an empty table
// leaves its files as they are, a table whose memo file still holds blocks is rewritten.
TEST(ScratchTable, EmptyingAnEmptyTableKeepsItsFiles) {
    lwtest::TempDir dir;
    const auto path = dir / "T_FRAGE.DBF";
    auto t =
        store::Table::create(path, {{"NR", store::FieldType::Numeric, 4, 0}, {"TEXT", store::FieldType::Memo, 10, 0}},
                             store::Table::Durability::Scratch);
    ASSERT_TRUE(t);
    auto inode = [](const std::filesystem::path& p) {
        struct stat st {};
        ::stat(p.c_str(), &st);
        return st.st_ino;
    };
    const auto before = inode(path);
    EXPECT_TRUE(t->zap());
    EXPECT_EQ(inode(path), before);

    ASSERT_TRUE(t->appendBlank());
    ASSERT_TRUE(t->replaceMemo(t->fieldIndex("TEXT"), std::string(2000, 'x'), false));
    ASSERT_TRUE(t->zap());
    EXPECT_EQ(t->recCount(), 0u);
    EXPECT_NE(inode(path), before);
    const auto memoSize = std::filesystem::file_size(dir / "T_FRAGE.FPT");
    EXPECT_LT(memoSize, 2000u) << "the memo blocks went with the records";
    t.reset();
    EXPECT_TRUE(store::Table::open(path)) << "a scratch table is an ordinary table for its readers";
}

} // namespace
