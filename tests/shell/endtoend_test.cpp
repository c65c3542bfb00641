// Starts the real program on a virtual X display in a program folder of its own and ends it with Alt+F4, as a
// user would on the first start.
#include <gtest/gtest.h>

#include <fstream>

#include "support/testdir.h"

namespace fs = std::filesystem;

namespace {

bool haveTool(const std::string& name) {
    return lwtest::runCommand("command -v " + name + " >/dev/null 2>&1") == 0;
}

} // namespace

TEST(EndToEnd, FirstStartEndedWithAltF4LeavesTheSettingsAndTheirBackup) {
    if (!haveTool("xvfb-run") || !haveTool("xdotool"))
        GTEST_SKIP() << "xvfb-run and xdotool are needed (scripts/deps --test installs them)";
    lwtest::TempDir dir;
    fs::copy_file(LW_LENKWERK_BIN, dir / "lenkwerk");
    for (const char* name : {"FRAGEN.DBF", "FRAGEN.FPT", "FRAGEN.CDX"})
        ASSERT_TRUE(fs::exists(fs::path(LW_DIST_DIR) / name)) << name << " missing: build the program folder first";
    for (const char* name : {"FRAGEN.DBF", "FRAGEN.FPT", "FRAGEN.CDX"})
        fs::copy_file(fs::path(LW_DIST_DIR) / name, dir / name);

    // The about box comes first; the main window (title " " + release) after it. Alt+F4 goes to the window that
    // has the keyboard focus, and without a window manager that is the one xdotool gives it to.
    const std::string script = R"(
cd "$1" || exit 90
export QT_QPA_PLATFORM=xcb  # the test program itself runs offscreen
./lenkwerk >lenkwerk.log 2>&1 &
pid=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^ QRT Lenkwerk-Trainer 2007 v2\.41$' | head -n 1)
[ -n "$wid" ] || { kill $pid; exit 91; }
sleep 1
xdotool windowfocus --sync "$wid"
xdotool key --clearmodifiers alt+F4
for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then kill $pid; exit 92; fi
wait $pid
)";
    const fs::path scriptFile = dir / "run.sh";
    std::ofstream(scriptFile) << script;
    const std::string command =
        "xvfb-run -a -s '-screen 0 1280x1024x24' sh '" + scriptFile.string() + "' '" + dir.path().string() + "' 2>&1";
    std::string output;
    const int rc = lwtest::runCommand(command, &output);
    ASSERT_EQ(rc, 0) << output << lwtest::readFile(dir / "lenkwerk.log");

    const std::string ini = lwtest::readFile(dir / "TAVOLIN.INI");
    const std::string setup = "[Setup]\r\nMAXFRAGEN=30\r\nMAXDURCH=1\r\nWVORLAGE=0\r\nSAUSWERT=1\r\nFPSHOW=1\r\n"
                              "SOUND=1\r\nTHEMEN=2\r\nWINSIZE=2\r\nERROR=1\r\nBackground=START1\r\n";
    EXPECT_EQ(ini.substr(0, setup.size()), setup);
    // The window opened at the top left, 800 x 600, and kept that place.
    EXPECT_NE(ini.find("[System]\r\n0_Top=0\r\n0_Left=0\r\n0_Bottom=600\r\n0_Right=800\r\n0_Width=800\r\n"
                       "0_Hight=600\r\n"),
              std::string::npos)
        << ini;
    EXPECT_EQ(lwtest::readFile(dir / "TAVOLIN.SAV"), ini);
    EXPECT_TRUE(fs::exists(dir / "LOCAL1.DBF"));
}
