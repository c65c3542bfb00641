#include <QWidget>

#include "platform/inifile.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "shelltest.h"

using shelltest::ShellTest;

namespace {

// What one start and orderly exit do to the settings files.
void startAndExit(core::Context& ctx) {
    shell::restoreSettingsBackup(ctx);
    shell::SETPUBLICS(ctx, true);
    shell::saveSettingsBackup(ctx);
}

QString iniValue(const core::Context& ctx, const char* section, const char* key) {
    return platform::readProfileString(shell::iniPath(ctx), QString::fromLatin1(section), QString::fromLatin1(key),
                                       QStringLiteral("<missing>"));
}

} // namespace

class Settings : public ShellTest {};

TEST_F(Settings, FirstStartWritesTheNormalisedSetupKeysAndShowsStart1) {
    shell::SettingsProblem problem;
    ASSERT_TRUE(shell::SETPUBLICS(ctx, true, &problem));
    EXPECT_FALSE(problem.any());
    EXPECT_EQ(ini(), "[Setup]\r\nMAXFRAGEN=30\r\nMAXDURCH=1\r\nWVORLAGE=0\r\nSAUSWERT=1\r\nFPSHOW=1\r\nSOUND=1\r\n"
                     "THEMEN=2\r\nWINSIZE=2\r\nERROR=1\r\nBackground=START1\r\n");
    EXPECT_EQ(ctx.settings.CS_BRUSH, QStringLiteral("START1"));
    EXPECT_EQ(ctx.settings.CRELEASE, QStringLiteral("QRT Lenkwerk-Trainer 2007 v2.41"));
    EXPECT_EQ(ctx.settings.CDECRYPT.size(), 52u);

    shell::Coords c;
    shell::GETCOORDS(ctx, 0, c);
    EXPECT_EQ(shell::mainWindowGeometry(c), QRect(0, 0, 800, 600));
}

TEST_F(Settings, FourStartsShowTheFourStartPicturesAndTheFifthStartsOver) {
    QStringList shown;
    for (int i = 0; i < 5; ++i) {
        startAndExit(ctx);
        shown << ctx.settings.CS_BRUSH;
    }
    EXPECT_EQ(shown, QStringList({"START1", "START2", "START3", "START4", "START1"}));
    EXPECT_EQ(shell::nextStartPicture(QStringLiteral("START3xyz")), QStringLiteral("START4"));
    EXPECT_EQ(shell::nextStartPicture(QStringLiteral("start1")), QStringLiteral("START1"));
}

TEST_F(Settings, ValuesConvertAsTheSettingsFileMeansThem) {
    writeIni("[Setup]\nWVORLAGE=00\nSAUSWERT=0\nFPSHOW=x\nSOUND=\nSPEECH=0yes\nMAXFRAGEN= 12abc\nMAXDURCH=abc\n"
             "THEMEN=7.9\nWINSIZE=0\nERROR=99999999999\n");
    shell::SETPUBLICS(ctx, false);
    const core::Settings& s = ctx.settings;
    EXPECT_FALSE(s.LS_WVORLAGE);
    EXPECT_FALSE(s.LS_SAUSWERT);
    EXPECT_TRUE(s.LS_FPSHOW);
    EXPECT_TRUE(s.LS_SOUND); // present but empty
    EXPECT_FALSE(s.LS_SPEECH);
    EXPECT_EQ(s.NS_MAXFRAGEN, 12);
    EXPECT_EQ(s.NS_MAXDURCH, 0);
    EXPECT_EQ(s.NS_THEMEN, 7);
    EXPECT_EQ(s.NS_WINSIZE, 0);
    EXPECT_EQ(s.NS_ERROR, 3); // far beyond the three ways there are
}

TEST_F(Settings, HandEditedValuesOutOfRangeAreBroughtIntoItAndStoredSo) {
    writeIni("[Setup]\r\nMAXFRAGEN=-5\r\nTHEMEN=99\r\nWINSIZE=7\r\nERROR=0\r\nMAXDURCH=-2\r\n");
    shell::SETPUBLICS(ctx, true);
    const core::Settings& s = ctx.settings;
    EXPECT_EQ(s.NS_MAXFRAGEN, 0);
    EXPECT_EQ(s.NS_THEMEN, 9);
    EXPECT_EQ(s.NS_WINSIZE, 2);
    EXPECT_EQ(s.NS_ERROR, 1);
    EXPECT_EQ(s.NS_MAXDURCH, -2); // nothing acts on it; kept as it is
    EXPECT_EQ(iniValue(ctx, "Setup", "MAXFRAGEN"), QStringLiteral("0"));
    EXPECT_EQ(iniValue(ctx, "Setup", "THEMEN"), QStringLiteral("9"));
    EXPECT_EQ(iniValue(ctx, "Setup", "WINSIZE"), QStringLiteral("2"));
    EXPECT_EQ(iniValue(ctx, "Setup", "ERROR"), QStringLiteral("1"));

    writeIni("[Setup]\r\nMAXFRAGEN=150\r\nTHEMEN=0\r\nWINSIZE=-1\r\nERROR=4\r\n");
    shell::SETPUBLICS(ctx, false);
    EXPECT_EQ(s.NS_MAXFRAGEN, 99);
    EXPECT_EQ(s.NS_THEMEN, 1);
    EXPECT_EQ(s.NS_WINSIZE, 0); // opens normal, as a text without digits does
    EXPECT_EQ(s.NS_ERROR, 3);
}

TEST_F(Settings, SpeechIsNotWrittenBackAndTheLoginStartsEmpty) {
    writeIni("[Setup]\r\nSPEECH=1\r\n");
    ctx.setLogin(core::LoginState{2, {}, QStringLiteral("LOCAL2")});
    shell::SETPUBLICS(ctx, true);
    EXPECT_TRUE(ctx.settings.LS_SPEECH);
    EXPECT_EQ(iniValue(ctx, "Setup", "SPEECH"), QStringLiteral("1"));
    EXPECT_EQ(ini().find("SPEECH"), ini().rfind("SPEECH")); // still the one line
    EXPECT_EQ(ctx.login().NS_USER, 0);
    EXPECT_EQ(ctx.login().CS_LOCAL, QStringLiteral("LOCAL1"));
}

TEST_F(Settings, AHandEditedIniLosesToTheBackup) {
    startAndExit(ctx);
    const std::string saved = lwtest::readFile(path("TAVOLIN.SAV"));
    writeIni("[Setup]\r\nMAXFRAGEN=5\r\n");
    EXPECT_TRUE(shell::restoreSettingsBackup(ctx));
    EXPECT_EQ(ini(), saved);
    shell::SETPUBLICS(ctx, false);
    EXPECT_EQ(ctx.settings.NS_MAXFRAGEN, 30);
}

TEST_F(Settings, AnEmptyBackupDoesNotWipeTheSettings) {
    writeIni("[Setup]\r\nMAXFRAGEN=12\r\n");
    lwtest::writeFile(path("TAVOLIN.SAV"), "");
    EXPECT_FALSE(shell::restoreSettingsBackup(ctx));
    EXPECT_EQ(ini(), "[Setup]\r\nMAXFRAGEN=12\r\n");
    // Without a settings file the exit has nothing to back up and keeps the old backup.
    std::filesystem::remove(path("TAVOLIN.INI"));
    lwtest::writeFile(path("TAVOLIN.SAV"), "[Setup]\r\n");
    EXPECT_FALSE(shell::saveSettingsBackup(ctx));
    EXPECT_EQ(lwtest::readFile(path("TAVOLIN.SAV")), "[Setup]\r\n");
}

TEST_F(Settings, AnUnreadableSettingsFileGivesDefaultsAndIsReportedNotReplaced) {
    std::filesystem::create_directory(path("TAVOLIN.INI"));
    shell::SettingsProblem problem;
    shell::SETPUBLICS(ctx, true, &problem);
    EXPECT_TRUE(problem.unreadable);
    EXPECT_TRUE(problem.notWritten);
    EXPECT_FALSE(shell::settingsProblemText(problem).isEmpty());
    EXPECT_EQ(ctx.settings.NS_MAXFRAGEN, 30);
    EXPECT_TRUE(std::filesystem::is_directory(path("TAVOLIN.INI")));
    EXPECT_FALSE(shell::saveSettingsBackup(ctx));
    EXPECT_FALSE(exists("TAVOLIN.SAV"));
}

TEST_F(Settings, BrokenLinesDuplicatesAndAnotherEncodingKeepEverythingElse) {
    // Saved by an editor as UTF-8, with a stray line, a duplicate key and a section of its own.
    const std::string before = "; Lenkwerk\n[setup]\nMAXFRAGEN=12\nkein Eintrag hier\nMAXFRAGEN=99\n"
                               "[Project]\nInternet_Menue=Über uns\n[Eigenes]\nSchlüssel=Wert\n";
    writeIni(before);
    shell::SettingsProblem problem;
    shell::SETPUBLICS(ctx, true, &problem);
    EXPECT_FALSE(problem.any());
    EXPECT_EQ(ctx.settings.NS_MAXFRAGEN, 12); // the first of two wins
    EXPECT_EQ(ctx.settings.CS_WWW_M, QStringLiteral("Über uns"));
    EXPECT_EQ(shell::projectText(ctx, ctx.settings.CS_WWW_M), QStringLiteral("Über uns"));
    const std::string after = ini();
    for (const char* kept : {"; Lenkwerk\n", "kein Eintrag hier\nMAXFRAGEN=99\n", "Internet_Menue=Über uns\n",
                             "[Eigenes]\nSchlüssel=Wert\n", "Background=START1\n"})
        EXPECT_NE(after.find(kept), std::string::npos) << kept;
}

TEST_F(Settings, ProjectCaptionsStoredInTheOemCodePageAreConverted) {
    writeIni("[Project]\r\nEmail_Menue=\x9A"
             "ber E-Mail \x84ndern\r\n"); // cp850: Ü, ä
    shell::SETPUBLICS(ctx, false);
    EXPECT_EQ(shell::projectText(ctx, ctx.settings.CS_EMAIL_M), QStringLiteral("Über E-Mail ändern"));
}

TEST_F(Settings, UpdateLeftoversAreDeletedWhateverTheirCase) {
    lwtest::writeFile(path("TVUPDATE.EXE"), "x");
    lwtest::writeFile(path("video.sem"), "x");
    lwtest::writeFile(path("tvupdate.txt"), "x");
    shell::deleteUpdateLeftovers(ctx);
    shell::deleteUpdateLeftovers(ctx); // nothing left to delete is no error
    EXPECT_FALSE(exists("TVUPDATE.EXE"));
    EXPECT_FALSE(exists("video.sem"));
    EXPECT_TRUE(exists("tvupdate.txt"));
}

class Coords : public ShellTest {};

TEST_F(Coords, GetCoordsFillsTheSlotsAsTheyAreKept) {
    writeIni("[System]\r\n0_Top=10\r\n0_Right=1034\r\n1_Top=40\r\n1_Left=50\r\n2_Top=60\r\n2_Left=70\r\n");
    int t = -1, l = -1, b = -1, r = -1;
    shell::GETCOORDS(ctx, 0, t, l, b, r);
    EXPECT_EQ(std::vector<int>({t, l, b, r}), std::vector<int>({10, 0, 600, 1034}));
    shell::GETCOORDS(ctx, 1, t, l, b, r);
    EXPECT_EQ(std::vector<int>({t, l, b, r}), std::vector<int>({40, 50, 0, 0}));
    b = 7, r = 8;
    shell::GETCOORDS(ctx, 2, t, l, b, r);
    EXPECT_EQ(std::vector<int>({t, l, b, r}), std::vector<int>({60, 70, 7, 8}));
    shell::GETCOORDS(ctx, 3, t, l, b, r);
    EXPECT_EQ(std::vector<int>({t, l, b, r}), std::vector<int>({60, 70, 7, 8}));
}

TEST_F(Coords, SizesSnapToTheCommonScreenSizes) {
    const std::vector<std::pair<int, int>> heights = {{479, 479}, {480, 480}, {489, 480},   {490, 490},  {600, 600},
                                                      {601, 600}, {605, 600}, {609, 600},   {610, 610},  {769, 768},
                                                      {774, 768}, {775, 775}, {1025, 1024}, {1029, 1024}};
    for (auto [in, out] : heights)
        EXPECT_EQ(shell::snapHeight(in), out) << in;
    const std::vector<std::pair<int, int>> widths = {{639, 639},   {640, 640},   {649, 640},   {650, 650},
                                                     {801, 800},   {805, 800},   {809, 800},   {810, 810},
                                                     {1025, 1024}, {1029, 1024}, {1281, 1280}, {1289, 1280}};
    for (auto [in, out] : widths)
        EXPECT_EQ(shell::snapWidth(in), out) << in;
}

TEST_F(Coords, TheMainWindowIsSavedClampedAndSnapped) {
    shell::putMainWindowCoords(ctx, {-5, -3, -5 + 610, -3 + 808}, QSize(1280, 1024), false);
    EXPECT_EQ(ini(), "[System]\r\n0_Top=0\r\n0_Left=0\r\n0_Bottom=600\r\n0_Right=800\r\n0_Width=800\r\n"
                     "0_Hight=600\r\n");
    shell::putMainWindowCoords(ctx, {100, 50, 705, 855}, QSize(1280, 1024), false);
    EXPECT_EQ(iniValue(ctx, "System", "0_Bottom"), QStringLiteral("700"));
    EXPECT_EQ(iniValue(ctx, "System", "0_Right"), QStringLiteral("850"));
    EXPECT_EQ(iniValue(ctx, "System", "0_Hight"), QStringLiteral("600"));
    EXPECT_EQ(iniValue(ctx, "System", "0_Width"), QStringLiteral("800"));
    shell::putMainWindowCoords(ctx, {10, 10, 500, 650}, QSize(1280, 1024), false);
    EXPECT_EQ(iniValue(ctx, "System", "0_Hight"), QStringLiteral("490"));
}

TEST_F(Coords, AWindowAsLargeAsTheScreenSwitchesTheNextStartToMaximised) {
    writeIni("[Setup]\r\nWINSIZE=2\r\n");
    shell::putMainWindowCoords(ctx, {0, 0, 600, 1024}, QSize(1024, 768), false); // as wide as the screen
    EXPECT_EQ(iniValue(ctx, "Setup", "WINSIZE"), QStringLiteral("1"));
    EXPECT_EQ(iniValue(ctx, "System", "0_Top"), QStringLiteral("<missing>"));
    writeIni("[Setup]\r\nWINSIZE=2\r\n");
    shell::putMainWindowCoords(ctx, {0, 0, 700, 1000}, QSize(1024, 768), true); // maximised, whatever its size
    EXPECT_EQ(iniValue(ctx, "Setup", "WINSIZE"), QStringLiteral("1"));
}

TEST_F(Coords, DialogSlotsKeepTopAndLeftOnly) {
    QWidget w;
    w.setGeometry(120, 80, 300, 200);
    w.show();
    ASSERT_TRUE(uitest::waitFor([&] { return w.isVisible(); }));
    shell::PUTCOORDS(ctx, 1, &w);
    shell::PUTCOORDS(ctx, 7, &w);
    const QPoint at = w.pos();
    EXPECT_EQ(iniValue(ctx, "System", "1_Top"), QString::number(at.y()));
    EXPECT_EQ(iniValue(ctx, "System", "1_Left"), QString::number(at.x()));
    EXPECT_EQ(ini().find("Bottom"), std::string::npos);
    EXPECT_EQ(ini().find("7_"), std::string::npos);
    int t = 0, l = 0, b = 5, r = 5;
    shell::GETCOORDS(ctx, 1, t, l, b, r);
    EXPECT_EQ(QPoint(l, t), at);
}

TEST_F(Coords, ARectangleOffTheScreensOrTooSmallGivesTheDefaultWindowCentred) {
    const QList<QRect> one = {QRect(0, 0, 1280, 1024)};
    const QRect fallback(240, 212, 800, 600);
    auto placed = [&](const std::string& system, const QList<QRect>& screens) {
        writeIni("[System]\r\n" + system);
        shell::Coords c;
        shell::GETCOORDS(ctx, 0, c);
        return shell::mainWindowGeometry(c, screens, screens.first());
    };
    EXPECT_EQ(placed("0_Left=99999\r\n", one), fallback);                                  // negative width
    EXPECT_EQ(placed("0_Left=1500\r\n0_Right=2300\r\n", one), fallback);                   // monitor unplugged
    EXPECT_EQ(placed("0_Left=1200\r\n0_Right=2000\r\n", one), fallback);                   // 80 px showing
    EXPECT_EQ(placed("0_Top=100\r\n0_Bottom=99\r\n", one), fallback);                      // negative height
    EXPECT_EQ(placed("0_Left=10\r\n0_Right=400\r\n0_Bottom=300\r\n", one), fallback);      // below the minimum
    EXPECT_EQ(placed("0_Top=-5000\r\n0_Left=-5000\r\n0_Bottom=-4400\r\n", one), fallback); // far above and left
    // What a user left on the screen stays, also on a second screen and partly over the edge.
    EXPECT_EQ(placed("0_Top=20\r\n0_Left=100\r\n0_Bottom=620\r\n0_Right=900\r\n", one), QRect(100, 20, 800, 600));
    EXPECT_EQ(placed("0_Left=700\r\n0_Right=1500\r\n", one), QRect(700, 0, 800, 600));
    const QList<QRect> two = {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
    EXPECT_EQ(placed("0_Left=1500\r\n0_Right=2300\r\n", two), QRect(1500, 0, 800, 600));
    // The first start keeps the top left corner.
    writeIni("");
    shell::Coords c;
    shell::GETCOORDS(ctx, 0, c);
    EXPECT_EQ(shell::mainWindowGeometry(c, one, one.first()), QRect(0, 0, 800, 600));
}

TEST_F(Coords, ANegativeOrTooSmallOrLostWindowIsNeverSaved) {
    const QList<QRect> one = {QRect(0, 0, 1280, 1024)};
    shell::putMainWindowCoords(ctx, {0, 99999, 600, 100000}, QSize(1280, 1024), false, one);
    shell::putMainWindowCoords(ctx, {0, 500, 600, 499}, QSize(1280, 1024), false, one);
    shell::putMainWindowCoords(ctx, {0, 0, 300, 400}, QSize(1280, 1024), false, one);
    shell::putMainWindowCoords(ctx, {0, 1500, 600, 2300}, QSize(1280, 1024), false, one);
    EXPECT_EQ(ini(), "");
    shell::putMainWindowCoords(ctx, {0, 700, 600, 1500}, QSize(1280, 1024), false, one); // more than half shows
    EXPECT_EQ(iniValue(ctx, "System", "0_Width"), QStringLiteral("800"));

    // The dialog slots the same way: a place off the screens is neither taken nor kept.
    EXPECT_EQ(shell::dialogPosition(QPoint(99999, 0), QSize(300, 200), one), std::nullopt);
    EXPECT_EQ(shell::dialogPosition(QPoint(1200, 900), QSize(300, 200), one), std::nullopt);
    EXPECT_EQ(shell::dialogPosition(QPoint(-100, 40), QSize(300, 200), one), QPoint(-100, 40));
}
