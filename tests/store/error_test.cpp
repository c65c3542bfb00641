#include <gtest/gtest.h>

#include <vector>

#include "store/error.h"

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

} // namespace
