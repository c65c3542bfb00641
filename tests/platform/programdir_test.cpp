#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <QString>

#include "qtprint.h"

#include "platform/programdir.h"
#include "support/testdir.h"

namespace {

namespace fs = std::filesystem;

class ProgramDirTest : public ::testing::Test {
protected:
    lwtest::TempDir dir;
    QString root = QString::fromStdString(dir.path().string());
    platform::ProgramDir programDir{root};

    void SetUp() override {
        for (const char* folder : {"Texte", "Bitmaps", "Maint"})
            fs::create_directory(dir / folder);
        for (const char* file : {"Texte/TAVOLIN.HLP", "Texte/StVO.pdf", "Bitmaps/START1.bmp", "FRAGEN.DBF"})
            lwtest::writeFile(dir / file, "x");
    }
    QString under(const char* rest) const { return root + '/' + rest; }
};

TEST_F(ProgramDirTest, NamesAsTheProgramWritesThemFindTheExistingFile) {
    EXPECT_EQ(programDir.resolve(".\\Texte\\TAVOLIN.HLP"), under("Texte/TAVOLIN.HLP"));
    EXPECT_EQ(programDir.resolve(".\\TEXTE\\tavolin.hlp"), under("Texte/TAVOLIN.HLP"));
    EXPECT_EQ(programDir.resolve("texte\\Stvo.pdf"), under("Texte/StVO.pdf"));
    EXPECT_EQ(programDir.resolve("Bitmaps/START1.bmp"), under("Bitmaps/START1.bmp"));
    EXPECT_EQ(programDir.resolve("bitmaps//start1.BMP"), under("Bitmaps/START1.bmp"));
    EXPECT_EQ(programDir.resolve("fragen.dbf"), under("FRAGEN.DBF"));
    EXPECT_EQ(programDir.resolve("TEXTE\\"), under("Texte"));
    EXPECT_EQ(programDir.resolve(""), root);
    EXPECT_EQ(programDir.resolve("."), root);
    EXPECT_TRUE(programDir.exists(".\\TEXTE\\TAVOLIN.HLP"));
    EXPECT_TRUE(programDir.exists("Fragen.Dbf"));
    EXPECT_FALSE(programDir.exists("Texte\\TAVOLIN.CNT"));
}

TEST_F(ProgramDirTest, NewNamesGetOneSpellingUnderTheExistingFolders) {
    EXPECT_EQ(programDir.resolve(".\\TEXTE\\Neu.txt"), under("Texte/Neu.txt"));
    EXPECT_EQ(programDir.resolve("texte\\Neu.txt"), under("Texte/Neu.txt"));
    EXPECT_EQ(programDir.resolve("MAINT\\Bitmaps\\B1.bmp"), under("Maint/Bitmaps/B1.bmp"));
    EXPECT_EQ(programDir.resolve("Sounds\\Tavolin.wav"), under("Sounds/Tavolin.wav"));
    // Below a missing folder nothing is matched, not even a same-named folder elsewhere.
    EXPECT_EQ(programDir.resolve("Neu\\texte\\x"), under("Neu/texte/x"));
    // A file is no folder.
    EXPECT_EQ(programDir.resolve("FRAGEN.DBF\\x"), under("FRAGEN.DBF/x"));
}

TEST_F(ProgramDirTest, DotDotIsTakenLexicallyAndStopsAtTheRoot) {
    EXPECT_EQ(programDir.resolve("Texte\\..\\fragen.dbf"), under("FRAGEN.DBF"));
    EXPECT_EQ(programDir.resolve(".\\Bitmaps\\..\\TEXTE\\.\\stvo.PDF"), under("Texte/StVO.pdf"));
    const QString parent = QString::fromStdString(dir.path().parent_path().string());
    EXPECT_EQ(programDir.resolve(".."), parent);
    EXPECT_EQ(programDir.resolve(QString("..\\") + dir.path().filename().c_str() + "\\TEXTE"), under("Texte"));
    QString tooFar;
    for (int i = 0; i < 40; ++i)
        tooFar += "..\\";
    EXPECT_EQ(programDir.resolve(tooFar), "/");
    EXPECT_EQ(programDir.resolve(tooFar + "tmp"), "/tmp");
}

TEST_F(ProgramDirTest, AbsoluteNamesAreResolvedFromTheRoot) {
    EXPECT_EQ(programDir.resolve(root + "\\TEXTE\\tavolin.HLP"), under("Texte/TAVOLIN.HLP"));
    EXPECT_EQ(programDir.resolve(root + "/texte/neu.txt"), under("Texte/neu.txt"));
    const platform::ProgramDir other(root + "/Maint");
    EXPECT_EQ(other.resolve(root + "/bitmaps/START1.BMP"), under("Bitmaps/START1.bmp"));
    EXPECT_EQ(other.resolve("..\\FRAGEN.dbf"), under("FRAGEN.DBF"));
}

TEST_F(ProgramDirTest, ExactSpellingWinsWhenSeveralCasesExist) {
    fs::create_directory(dir / "TEXTE");
    lwtest::writeFile(dir / "TEXTE" / "nur_hier.txt", "y");
    EXPECT_EQ(programDir.resolve("Texte\\TAVOLIN.HLP"), under("Texte/TAVOLIN.HLP"));
    EXPECT_EQ(programDir.resolve("TEXTE\\nur_hier.txt"), under("TEXTE/nur_hier.txt"));
    // Neither spelling given: the choice is the same every time.
    EXPECT_EQ(programDir.resolve("texte\\x"), programDir.resolve("tExTe\\x"));
}

TEST_F(ProgramDirTest, NonAsciiNamesAndTheStdPathOverload) {
    lwtest::writeFile(dir / "Texte" / "Prüfung.rtf", "z");
    EXPECT_EQ(programDir.resolve(QString::fromUtf8("TEXTE\\PRÜFUNG.RTF")),
              under("Texte/") + QString::fromUtf8("Prüfung.rtf"));
    EXPECT_EQ(programDir.resolvePath("texte\\prüfung.rtf"), dir.path() / "Texte" / "Prüfung.rtf");
    EXPECT_EQ(programDir.resolvePath("FRAGEN.dbf"), dir.path() / "FRAGEN.DBF");
}

TEST(ProgramDir, TheFolderItselfIsNormalised) {
    EXPECT_EQ(platform::ProgramDir("/opt//Lenkwerk/").path(), "/opt/Lenkwerk");
    EXPECT_EQ(platform::ProgramDir("\\opt\\Lenkwerk\\bin\\..").path(), "/opt/Lenkwerk");
}

} // namespace
