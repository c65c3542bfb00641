// The stopping-distance calculation.

#include <gtest/gtest.h>

#include "calc/stopping.h"

namespace {

using calc::anhaweg::Input;
using calc::anhaweg::MAKEDATA;
using calc::anhaweg::Result;

struct Shown {
    const char *reaction, *braking, *stopping, *time;
};

void expectShown(const Input& in, Shown want) {
    SCOPED_TRACE(testing::Message() << in.NSPEED << " km/h, " << in.NREAKTIME << " s, " << in.NVERZOEG << " m/s²");
    const auto r = MAKEDATA(in);
    ASSERT_TRUE(r);
    EXPECT_EQ(Result::fieldText(r->NREAKTWEG).trimmed(), want.reaction);
    EXPECT_EQ(Result::fieldText(r->NBREMSWEG).trimmed(), want.braking);
    EXPECT_EQ(Result::fieldText(r->NANHALWEG).trimmed(), want.stopping);
    EXPECT_EQ(Result::fieldText(r->NANHALSEK).trimmed(), want.time);
}

TEST(Stopping, DistancesAndTimeToTheCentimetre) {
    expectShown({50, 1.0, 8}, {"13,89", "12,06", "25,95", "2,74"});
    expectShown({100, 1.0, 8}, {"27,78", "48,23", "76,01", "4,47"});
    expectShown({100, 2.0, 4}, {"55,56", "96,45", "152,01", "8,94"});
    expectShown({200, 1.5, 7}, {"83,33", "220,46", "303,79", "9,44"});
    // Beyond the field's four places every cell shows a star rather than a cut number: 999 km/h on ice.
    const auto wide = MAKEDATA({999, 9.99, 1});
    ASSERT_TRUE(wide);
    EXPECT_EQ(Result::fieldText(wide->NBREMSWEG), "*******");
}

TEST(Stopping, ReactionDistanceIsRoundedBeforeItIsAdded) {
    // 50 km/h for 1 s is 13.888… m; the stopping distance adds the 13.89 shown, not the exact value.
    const auto r = MAKEDATA({50, 1.0, 8});
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->NREAKTWEG, 13.89);
    EXPECT_DOUBLE_EQ(r->NANHALWEG, 13.89 + r->NBREMSWEG);
    // The braking distance does not depend on the reaction time.
    EXPECT_DOUBLE_EQ(MAKEDATA({100, 2.0, 4})->NBREMSWEG, MAKEDATA({100, 0.5, 4})->NBREMSWEG);
}

TEST(Stopping, AZeroInputLeavesTheResultsAsTheyWere) {
    EXPECT_FALSE(MAKEDATA({0, 1.0, 8}));
    EXPECT_FALSE(MAKEDATA({50, 0, 8}));
    EXPECT_FALSE(MAKEDATA({50, 1.0, 0}));
}

TEST(Stopping, RoadConditionsGiveTheirDeceleration) {
    const auto& list = calc::anhaweg::AVERZG();
    EXPECT_STREQ(list.front().text, "Strassenzustand - ideal");
    EXPECT_EQ(calc::anhaweg::decelerationOf(0), Input{}.NVERZOEG) << "a fresh dialog shows the first condition";
    EXPECT_STREQ(list.back().text, "Glatteis");
    EXPECT_EQ(calc::anhaweg::decelerationOf(10), 1.0);
    EXPECT_EQ(calc::anhaweg::decelerationOf(3), 4.0) << "Beton, nass und sauber";
    EXPECT_FALSE(calc::anhaweg::decelerationOf(11));
    EXPECT_FALSE(calc::anhaweg::decelerationOf(-1));
}

} // namespace
