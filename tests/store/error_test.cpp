#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/cdx.h"
#include "store/error.h"
#include "store/table.h"
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

} // namespace
