// The one table of settings: defaults, reading and the two occasions of writing back, on real INI files.
#include <gtest/gtest.h>

#include "core/settings.h"
#include "support/testdir.h"

namespace {

QString str(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

TEST(SettingsTable, ANewObjectHoldsTheDefaultsAndAMissingFileGivesThemToo) {
    const core::Settings s;
    EXPECT_EQ(s.NS_MAXFRAGEN, 30);
    EXPECT_EQ(s.NS_MAXDURCH, 1);
    EXPECT_FALSE(s.LS_WVORLAGE);
    EXPECT_TRUE(s.LS_SAUSWERT);
    EXPECT_TRUE(s.LS_FPSHOW);
    EXPECT_TRUE(s.LS_SOUND);
    EXPECT_FALSE(s.LS_SPEECH);
    EXPECT_EQ(s.NS_THEMEN, 2);
    EXPECT_EQ(s.NS_WINSIZE, 2);
    EXPECT_EQ(s.NS_ERROR, 1);
    EXPECT_EQ(s.CS_BRUSH, QStringLiteral("MAIN640"));
    EXPECT_EQ(s.CRELEASE, QStringLiteral("QRT Lenkwerk-Trainer 2007 v2.41"));

    lwtest::TempDir dir;
    core::Settings read;
    read.NS_MAXFRAGEN = 7;
    read.CS_WWW = QStringLiteral("alt");
    core::readSettings<core::Settings>(read, core::settingsTable(), str(dir / "TAVOLIN.INI"));
    EXPECT_EQ(read.NS_MAXFRAGEN, 30);
    EXPECT_TRUE(read.CS_WWW.isEmpty());
}

TEST(SettingsTable, ValuesAreReadAsTheProgramKeepsThem) {
    lwtest::TempDir dir;
    lwtest::writeFile(dir / "TAVOLIN.INI",
                      "[setup]\r\nmaxfragen=12.9abc\r\nSOUND=0\r\nSPEECH=1\r\nBackground=START3\r\n"
                      "[Project]\r\nInternet_URL=http://example.org\r\n");
    core::Settings s;
    core::readSettings<core::Settings>(s, core::settingsTable(), str(dir / "TAVOLIN.INI"));
    EXPECT_EQ(s.NS_MAXFRAGEN, 12); // leading digits, the fraction cut off
    EXPECT_FALSE(s.LS_SOUND);
    EXPECT_TRUE(s.LS_SPEECH);
    EXPECT_EQ(s.CS_BRUSH, QStringLiteral("START3"));
    EXPECT_EQ(s.CS_WWW, QStringLiteral("http://example.org"));
    EXPECT_EQ(s.NS_ERROR, 1); // missing: the default
}

// The start-up stores THEMEN and the picture but never SPEECH; the settings dialog the other way round.
TEST(SettingsTable, EachOccasionWritesItsOwnKeysOnly) {
    lwtest::TempDir dir;
    core::Settings s;
    s.LS_SPEECH = true;
    s.NS_MAXFRAGEN = 40;
    ASSERT_TRUE(
        core::writeSettings<core::Settings>(s, core::settingsTable(), str(dir / "A.INI"), core::WrittenAtStart));
    const std::string atStart = lwtest::readFile(dir / "A.INI");
    EXPECT_NE(atStart.find("MAXFRAGEN=40"), std::string::npos);
    EXPECT_NE(atStart.find("THEMEN=2"), std::string::npos);
    EXPECT_NE(atStart.find("Background=MAIN640"), std::string::npos);
    EXPECT_EQ(atStart.find("SPEECH"), std::string::npos);
    EXPECT_EQ(atStart.find("Release"), std::string::npos);

    ASSERT_TRUE(
        core::writeSettings<core::Settings>(s, core::settingsTable(), str(dir / "B.INI"), core::WrittenBySetup));
    const std::string bySetup = lwtest::readFile(dir / "B.INI");
    EXPECT_NE(bySetup.find("SPEECH=1"), std::string::npos);
    EXPECT_EQ(bySetup.find("THEMEN"), std::string::npos);
    EXPECT_EQ(bySetup.find("Background"), std::string::npos);
    // In table order, so a new file reads like the ones the program always wrote.
    EXPECT_LT(bySetup.find("MAXFRAGEN"), bySetup.find("ERROR"));

    // What is written reads back the same.
    core::Settings back;
    core::readSettings<core::Settings>(back, core::settingsTable(), str(dir / "B.INI"));
    EXPECT_EQ(back.NS_MAXFRAGEN, 40);
    EXPECT_TRUE(back.LS_SPEECH);
}

TEST(SettingsTable, AFileThatCannotBeWrittenIsReported) {
    lwtest::TempDir dir;
    core::Settings s;
    EXPECT_FALSE(core::writeSettings<core::Settings>(s, core::settingsTable(), str(dir / "fehlt" / "TAVOLIN.INI"),
                                                     core::WrittenAtStart));
}

} // namespace
