#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <QString>

#include "qtprint.h"

#include "platform/ansi.h"
#include "platform/inifile.h"
#include "support/testdir.h"

namespace {

using platform::readProfileString;
using platform::writeProfileString;
namespace fs = std::filesystem;

QString q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

class IniFile : public ::testing::Test {
protected:
    lwtest::TempDir dir;
    fs::path path = dir / "TAVOLIN.INI";
    QString ini = q(path);

    void setContent(const std::string& bytes) { lwtest::writeFile(path, bytes); }
    std::string content() const { return lwtest::readFile(path); }
    QString read(const char* section, const char* key, const char* def = "<default>") const {
        return readProfileString(ini, section, key, def);
    }
};

// ---- reading ----

TEST_F(IniFile, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(read("Setup", "MAXFRAGEN", "30"), "30");
    setContent("[Setup]\r\nMAXFRAGEN=25\r\n");
    EXPECT_EQ(read("User", "MAXFRAGEN"), "<default>");
    EXPECT_EQ(read("Setup", "MAXDURCH"), "<default>");
    EXPECT_EQ(read("Setup", "MAXFRAGEN"), "25");
}

TEST_F(IniFile, EmptyValueIsEmptyTextNotTheDefault) {
    setContent("[Project]\r\nEmail_Menue=\r\nInternet_Menue=   \r\n");
    EXPECT_EQ(read("Project", "Email_Menue"), "");
    EXPECT_EQ(read("Project", "Internet_Menue"), "");
}

TEST_F(IniFile, NamesComparedWithoutCaseAndBlanksTrimmed) {
    setContent("  [ setup ]  \r\n  maxFragen  =  25  \r\nBackground=\tSTART2\t\r\n");
    EXPECT_EQ(read("SETUP", "MAXFRAGEN"), "25");
    EXPECT_EQ(read("Setup", "background"), "START2");
    EXPECT_EQ(read(" Setup ", " MaxFragen "), "25");
}

TEST_F(IniFile, OnePairOfSurroundingQuotesIsDropped) {
    setContent("[About]\r\nA=\"  QRT \"\r\nB='x'\r\nC=\"\"x\"\"\r\nD=\"open\r\nE=\"x'\r\nF=\"\"\r\n");
    EXPECT_EQ(read("About", "A"), "  QRT ");
    EXPECT_EQ(read("About", "B"), "x");
    EXPECT_EQ(read("About", "C"), "\"x\"");
    EXPECT_EQ(read("About", "D"), "\"open");
    EXPECT_EQ(read("About", "E"), "\"x'");
    EXPECT_EQ(read("About", "F"), "");
}

TEST_F(IniFile, LinesThatAreNoEntriesAreIgnoredAndTheFirstDuplicateWins) {
    setContent("MAXFRAGEN=1\r\n" // before any section
               "[Setup]\r\n"
               "MAXFRAGEN 12\r\n"  // no '='
               ";MAXFRAGEN=13\r\n" // comment
               "MAXFRAGEN=14\r\n"
               "maxfragen=15\r\n"
               "[User]\r\nLastUser=Anna\r\n"
               "[SETUP]\r\nMAXFRAGEN=16\r\nTHEMEN=3\r\n");
    EXPECT_EQ(read("Setup", "MAXFRAGEN"), "14");
    EXPECT_EQ(read("Setup", "THEMEN"), "3"); // a repeated section continues the first
    EXPECT_EQ(read("User", "LastUser"), "Anna");
}

TEST_F(IniFile, LineEndingsOfAnyStyleAndAMissingLastEnding) {
    setContent("[Setup]\nA=1\rB=2\r\nC=3");
    EXPECT_EQ(read("Setup", "A"), "1");
    EXPECT_EQ(read("Setup", "B"), "2");
    EXPECT_EQ(read("Setup", "C"), "3");
}

TEST_F(IniFile, EncodingIsCp1252UnlessTheFileIsRecognisablyUtf8) {
    setContent("[User]\r\nLastUser=J\xFCrgen\r\n");
    EXPECT_EQ(read("User", "LastUser"), QString::fromUtf8("Jürgen"));
    setContent("\xEF\xBB\xBF[User]\r\nLastUser=J\xC3\xBCrgen\r\n");
    EXPECT_EQ(read("User", "LastUser"), QString::fromUtf8("Jürgen"));
    setContent("[User]\r\nLastUser=J\xC3\xBCrgen\r\n");
    EXPECT_EQ(read("User", "LastUser"), QString::fromUtf8("Jürgen"));
    // One byte that is not UTF-8 makes the whole file cp1252.
    setContent("[User]\r\nLastUser=J\xC3\xBCrgen\r\nUserName2=M\xFCller\r\n");
    EXPECT_EQ(read("User", "LastUser"), QString::fromUtf8("JÃ¼rgen"));
    EXPECT_EQ(read("User", "UserName2"), QString::fromUtf8("Müller"));
    setContent(std::string("\xFF\xFE[\0U\0]\0\r\0\n\0A\0=\0\xFC\0", 18));
    EXPECT_EQ(read("U", "A"), QString::fromUtf8("ü"));
}

TEST_F(IniFile, OemCaptionsComeBackAsTheirBytes) {
    // [Project] captions are stored in cp850: the cp1252 reading gives back the bytes for the OEM conversion.
    setContent("[Project]\r\nEmail_Menue=&Mail an den Fahrlehrer \x81"
               "ber alles\r\n");
    const QString raw = read("Project", "Email_Menue");
    EXPECT_EQ(platform::fromOem(platform::toAnsi(raw)), QString::fromUtf8("&Mail an den Fahrlehrer über alles"));
}

// ---- typed values ----

TEST(ProfileValue, NumbersFromLeadingDigits) {
    EXPECT_EQ(platform::profileNumber("30"), 30);
    EXPECT_EQ(platform::profileNumber(" 12abc"), 12);
    EXPECT_EQ(platform::profileNumber("abc"), 0);
    EXPECT_EQ(platform::profileNumber(""), 0);
    EXPECT_EQ(platform::profileNumber("-5"), -5);
    EXPECT_EQ(platform::profileNumber("+7"), 7);
    EXPECT_EQ(platform::profileNumber("2.5x"), 2.5);
    EXPECT_EQ(platform::profileNumber("-"), 0);
    EXPECT_EQ(platform::profileNumber("1 2"), 1);
    EXPECT_EQ(platform::profileNumber("0x10"), 0);
}

TEST(ProfileValue, FlagsAreFalseOnlyWhenStartingWithZero) {
    for (const char* text : {"0", "00", "0abc", "0 "})
        EXPECT_FALSE(platform::profileFlag(text)) << text;
    for (const char* text : {"1", "x", "", "yes", "no", " 0", "10"})
        EXPECT_TRUE(platform::profileFlag(text)) << text;
}

TEST_F(IniFile, TypedReadsUseTheDefaultOnlyForMissingKeys) {
    setContent("[Setup]\r\nMAXFRAGEN=abc\r\nWINSIZE= 1 \r\nSPEECH=\r\nSOUND=00\r\n");
    EXPECT_EQ(platform::readProfileNumber(ini, "Setup", "MAXFRAGEN", 30), 0);
    EXPECT_EQ(platform::readProfileNumber(ini, "Setup", "WINSIZE", 2), 1);
    EXPECT_EQ(platform::readProfileNumber(ini, "Setup", "THEMEN", 2), 2);
    EXPECT_TRUE(platform::readProfileFlag(ini, "Setup", "SPEECH", false)); // empty means true
    EXPECT_FALSE(platform::readProfileFlag(ini, "Setup", "SOUND", true));
    EXPECT_FALSE(platform::readProfileFlag(ini, "Setup", "WVORLAGE", false));
    EXPECT_TRUE(platform::readProfileFlag(ini, "Setup", "FPSHOW", true));
}

// ---- writing ----

TEST_F(IniFile, FirstWritesCreateFileSectionsAndKeysWithCrLf) {
    ASSERT_TRUE(platform::writeProfileNumber(ini, "Setup", "MAXFRAGEN", 30));
    EXPECT_EQ(content(), "[Setup]\r\nMAXFRAGEN=30\r\n");
    ASSERT_TRUE(platform::writeProfileFlag(ini, "Setup", "WVORLAGE", false));
    ASSERT_TRUE(platform::writeProfileFlag(ini, "Setup", "SAUSWERT", true));
    ASSERT_TRUE(platform::writeProfileNumber(ini, "Setup", "MAXDURCH", 2.5));
    ASSERT_TRUE(writeProfileString(ini, "User", "LastUser", "Anna"));
    ASSERT_TRUE(writeProfileString(ini, "Setup", "Background", "START1"));
    EXPECT_EQ(content(), "[Setup]\r\nMAXFRAGEN=30\r\nWVORLAGE=0\r\nSAUSWERT=1\r\nMAXDURCH=2.5\r\nBackground=START1\r\n"
                         "\r\n[User]\r\nLastUser=Anna\r\n");
    EXPECT_EQ(platform::readProfileNumber(ini, "setup", "maxfragen", 0), 30);
}

TEST_F(IniFile, ChangingOneValueKeepsEveryOtherByte) {
    const std::string before = "; Einstellungen\r\n"
                               "[Setup]\r\n"
                               "  MaxFragen = 25   ; alt\r\n"
                               "Sound=1\n"
                               "kein Eintrag\r\n"
                               "\r\n"
                               "[System]\r\n"
                               "0_Top=10\r\n"
                               "0_Left=\r\n"
                               "0_Top=99\r\n"
                               "[User]\r\n"
                               "LastUser=J\xFCrgen";
    setContent(before);
    ASSERT_TRUE(writeProfileString(ini, "SETUP", "maxfragen", "30"));
    ASSERT_TRUE(writeProfileString(ini, "System", "0_TOP", "0"));
    ASSERT_TRUE(writeProfileString(ini, "System", "0_Left", "7"));
    EXPECT_EQ(content(), "; Einstellungen\r\n"
                         "[Setup]\r\n"
                         "  MaxFragen = 30\r\n"
                         "Sound=1\n"
                         "kein Eintrag\r\n"
                         "\r\n"
                         "[System]\r\n"
                         "0_Top=0\r\n"
                         "0_Left=7\r\n"
                         "0_Top=99\r\n"
                         "[User]\r\n"
                         "LastUser=J\xFCrgen");
    EXPECT_EQ(read("System", "0_Top"), "0");
}

TEST_F(IniFile, NewKeysGoAfterTheLastLineOfTheirSection) {
    setContent("[Setup]\r\nSOUND=1\r\n\r\n[User]\r\nTwoUser=0\r\n");
    ASSERT_TRUE(writeProfileString(ini, "setup", "Background", "START2"));
    ASSERT_TRUE(writeProfileString(ini, "User", "LastUser", "Max"));
    EXPECT_EQ(content(), "[Setup]\r\nSOUND=1\r\nBackground=START2\r\n\r\n[User]\r\nTwoUser=0\r\nLastUser=Max\r\n");
}

TEST_F(IniFile, AddedLinesFollowTheFilesOwnLineEnding) {
    setContent("[Setup]\nSOUND=1");
    ASSERT_TRUE(writeProfileString(ini, "Setup", "SPEECH", "0"));
    ASSERT_TRUE(writeProfileString(ini, "KeinBild", "LastBild", "2"));
    EXPECT_EQ(content(), "[Setup]\nSOUND=1\nSPEECH=0\n\n[KeinBild]\nLastBild=2\n");
}

TEST_F(IniFile, TextsKeepTheFilesEncoding) {
    setContent("[User]\r\nTwoUser=0\r\n");
    ASSERT_TRUE(writeProfileString(ini, "User", "UserName1", QString::fromUtf8("Jürgen Groß €")));
    EXPECT_EQ(content(), "[User]\r\nTwoUser=0\r\nUserName1=J\xFCrgen Gro\xDF \x80\r\n");
    ASSERT_TRUE(writeProfileString(ini, "User", "UserName2", QString::fromUtf8("Łukasz")));
    EXPECT_EQ(read("User", "UserName2"), "?ukasz"); // cp1252 has no Ł

    setContent("\xEF\xBB\xBF[User]\r\nUserName1=Ärger\r\n");
    ASSERT_TRUE(writeProfileString(ini, "User", "UserName2", QString::fromUtf8("Łukasz")));
    EXPECT_EQ(content(), "\xEF\xBB\xBF[User]\r\nUserName1=Ärger\r\nUserName2=Łukasz\r\n");
}

TEST_F(IniFile, ValuesWithBlanksOrQuotesAtTheirEndsReadBackAsWritten) {
    for (const char* value : {" Max ", "\"zitiert\"", "'a'", "\"", "a=b", ";x", "[y]"}) {
        ASSERT_TRUE(writeProfileString(ini, "User", "LastUser", value)) << value;
        EXPECT_EQ(read("User", "LastUser"), value);
    }
}

TEST_F(IniFile, WritesThatCouldNotBeReadBackAreRefused) {
    const std::string before = "[User]\r\nLastUser=Anna\r\n";
    setContent(before);
    EXPECT_FALSE(writeProfileString(ini, "User", "LastUser", "zwei\r\nZeilen"));
    EXPECT_FALSE(writeProfileString(ini, "User", "Last=User", "x"));
    EXPECT_FALSE(writeProfileString(ini, "User", " ", "x"));
    EXPECT_FALSE(writeProfileString(ini, "", "LastUser", "x"));
    EXPECT_FALSE(writeProfileString(ini, "Us]er", "LastUser", "x"));
    EXPECT_FALSE(writeProfileString(ini, "User", ";LastUser", "x"));
    EXPECT_EQ(content(), before);
}

TEST_F(IniFile, AWriteThatWouldChangeHowTheWholeFileIsReadIsRefused) {
    // cp1252 text that happens to start like a UTF-16 byte-order mark ("þÿ"): read as cp1252 while its length is
    // odd; a write that made it even would have every later read take it for UTF-16.
    const std::string before = "\xFE\xFF[Kopf]\r\nSOUND=1\r\n[About]\r\nRelease=x\r\n";
    ASSERT_EQ(before.size() % 2, 1u);
    setContent(before);
    EXPECT_EQ(read("About", "Release"), "x");
    EXPECT_FALSE(writeProfileString(ini, "Setup", "SOUND", "12")); // "\r\n[Setup]\r\nSOUND=12\r\n": 21 bytes more
    EXPECT_EQ(content(), before);
    EXPECT_EQ(read("About", "Release"), "x");
    // A write that keeps the length odd keeps the reading, and goes through.
    EXPECT_TRUE(writeProfileString(ini, "About", "Release", "xyz"));
    EXPECT_EQ(read("About", "Release"), "xyz");
}

TEST_F(IniFile, FailedWriteLeavesTheFileAsItWas) {
    EXPECT_FALSE(writeProfileString(q(dir / "fehlt" / "TAVOLIN.INI"), "Setup", "SOUND", "1"));
    EXPECT_FALSE(fs::exists(dir / "fehlt"));

    const std::string before = "[Setup]\r\nSOUND=1\r\n";
    setContent(before);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(writeProfileString(ini, "Setup", "SOUND", "0"));
    EXPECT_FALSE(writeProfileString(ini, "Setup", "SPEECH", "0"));
    EXPECT_EQ(content(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1); // no temp file left
}

TEST_F(IniFile, WriteIntoAReadOnlyFolderFails) {
    const fs::path folder = dir / "nurlesen";
    fs::create_directory(folder);
    lwtest::writeFile(folder / "TAVOLIN.INI", "[Setup]\r\nSOUND=1\r\n");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const bool canStillCreate = [&] {
        const fs::path probe = folder / "probe";
        lwtest::writeFile(probe, "x");
        const bool created = fs::exists(probe);
        fs::remove(probe);
        return created;
    }();
    if (canStillCreate) {
        fs::permissions(folder, fs::perms::owner_all);
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    }
    EXPECT_FALSE(writeProfileString(q(folder / "TAVOLIN.INI"), "Setup", "SOUND", "0"));
    EXPECT_EQ(lwtest::readFile(folder / "TAVOLIN.INI"), "[Setup]\r\nSOUND=1\r\n");
    fs::permissions(folder, fs::perms::owner_all);
}

TEST_F(IniFile, WritingTheFirstOfDuplicatesIsWhatReadsSee) {
    setContent("[Setup]\r\nSOUND=1\r\n[setup]\r\nSOUND=0\r\nSPEECH=1\r\n");
    ASSERT_TRUE(writeProfileString(ini, "Setup", "SOUND", "0"));
    ASSERT_TRUE(writeProfileString(ini, "Setup", "SPEECH", "0"));
    EXPECT_EQ(content(), "[Setup]\r\nSOUND=0\r\n[setup]\r\nSOUND=0\r\nSPEECH=0\r\n");
}

// ---- sections ----

TEST_F(IniFile, SectionEntriesInFileOrderWithoutDuplicates) {
    setContent("[KeinBild]\r\nBildLink=x\r\nMaxBilder=2\r\n; Bilder\r\nBild1=Bild1\r\nnichts\r\nbildlink=y\r\n"
               "[Other]\r\nA=1\r\n[keinbild]\r\nBild2= Bild2 \r\n");
    const auto entries = platform::readProfileSection(ini, "KEINBILD");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], std::make_pair(QString("BildLink"), QString("x")));
    EXPECT_EQ(entries[1], std::make_pair(QString("MaxBilder"), QString("2")));
    EXPECT_EQ(entries[2], std::make_pair(QString("Bild1"), QString("Bild1")));
    EXPECT_EQ(entries[3], std::make_pair(QString("Bild2"), QString("Bild2")));
    EXPECT_EQ(platform::readProfileSectionKeys(ini, "KeinBild"),
              QStringList({"BildLink", "MaxBilder", "Bild1", "Bild2"}));
    EXPECT_TRUE(platform::readProfileSection(ini, "Fehlt").empty());
    EXPECT_TRUE(platform::readProfileSectionKeys(q(dir / "nichts.ini"), "KeinBild").isEmpty());
}

} // namespace

// ---- runs of reads ----

TEST_F(IniFile, ABatchOfReadsSeesEveryChangeOfTheFile) {
    setContent("[Setup]\r\nMAXFRAGEN=25\r\n");
    {
        const platform::ProfileReadBatch batch;
        EXPECT_EQ(read("Setup", "MAXFRAGEN"), "25");
        ASSERT_TRUE(writeProfileString(ini, "Setup", "MAXFRAGEN", "26")); // same size: only the write tells
        EXPECT_EQ(read("Setup", "MAXFRAGEN"), "26");
        // Replaced from outside, as the settings backup is restored: another file under the same name.
        lwtest::writeFile(dir / "neu.ini", "[Setup]\r\nMAXFRAGEN=27\r\n");
        fs::rename(dir / "neu.ini", path);
        EXPECT_EQ(read("Setup", "MAXFRAGEN"), "27");
        setContent("[Setup]\r\nMAXFRAGEN=1000\r\n"); // rewritten in place
        EXPECT_EQ(read("Setup", "MAXFRAGEN"), "1000");
        {
            const platform::ProfileReadBatch inner; // nested: the outer one still holds the reading
        }
        fs::remove(path);
        EXPECT_EQ(read("Setup", "MAXFRAGEN"), "<default>");
    }
    // Outside a batch every read reads the file, so even an in-place change of the same size at once is seen.
    setContent("[Setup]\r\nMAXFRAGEN=25\r\n");
    EXPECT_EQ(read("Setup", "MAXFRAGEN"), "25");
    setContent("[Setup]\r\nMAXFRAGEN=24\r\n");
    EXPECT_EQ(read("Setup", "MAXFRAGEN"), "24");
}
