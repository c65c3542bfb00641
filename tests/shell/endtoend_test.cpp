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

// A program folder with the built program and its catalog.
void prepareFolder(const lwtest::TempDir& dir) {
    fs::copy_file(LW_LENKWERK_BIN, dir / "lenkwerk");
    for (const char* name : {"FRAGEN.DBF", "FRAGEN.FPT", "FRAGEN.CDX"}) {
        ASSERT_TRUE(fs::exists(fs::path(LW_DIST_DIR) / name)) << name << " missing: build the program folder first";
        fs::copy_file(fs::path(LW_DIST_DIR) / name, dir / name);
    }
}

// Runs a shell script on a virtual X display with the program folder as $1 and a folder for logs as $2.
int runOnDisplay(const lwtest::TempDir& dir, const lwtest::TempDir& logs, const std::string& script,
                 std::string* output) {
    const fs::path scriptFile = logs / "run.sh";
    std::ofstream(scriptFile) << "export QT_QPA_PLATFORM=xcb\n" << script;
    const std::string command = "xvfb-run -a -s '-screen 0 1280x1024x24' sh '" + scriptFile.string() + "' '" +
                                dir.path().string() + "' '" + logs.path().string() + "' 2>&1";
    return lwtest::runCommand(command, output);
}

// Starts the program in the background as $pid and waits until its main window is shown as $wid.
const char* kStartFirst = R"(
cd "$1" || exit 90
./lenkwerk >"$2/first.log" 2>&1 &
pid=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^ QRT Lenkwerk-Trainer 2007 v2\.41$' | head -n 1)
[ -n "$wid" ] || { kill $pid; exit 91; }
sleep 1
)";

// Ends the program of $pid and $wid with Alt+F4 and waits for it.
const char* kEndFirst = R"(
xdotool windowfocus --sync "$wid"
xdotool key --clearmodifiers alt+F4
for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then kill $pid; exit 92; fi
wait $pid
)";

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

TEST(EndToEnd, ASecondStartOnTheSameFolderEndsWithoutChangingAFile) {
    if (!haveTool("xvfb-run") || !haveTool("xdotool") || !haveTool("md5sum"))
        GTEST_SKIP() << "xvfb-run, xdotool and md5sum are needed (scripts/deps --test installs them)";
    lwtest::TempDir dir;
    lwtest::TempDir logs;
    prepareFolder(dir);
    // The second copy must end by itself, having shown the first; a warning box left open would hang it.
    const std::string script = std::string(kStartFirst) + R"(
find . -type f | LC_ALL=C sort | xargs md5sum >"$2/before.txt"
timeout 20 ./lenkwerk >"$2/second.log" 2>&1
second=$?
find . -type f | LC_ALL=C sort | xargs md5sum >"$2/after.txt"
kill -0 $pid 2>/dev/null || exit 93
[ $second -eq 0 ] || { kill $pid; exit 94; }
)" + kEndFirst;
    std::string output;
    const int rc = runOnDisplay(dir, logs, script, &output);
    ASSERT_EQ(rc, 0) << output << lwtest::readFile(logs / "first.log") << lwtest::readFile(logs / "second.log");
    const std::string before = lwtest::readFile(logs / "before.txt");
    EXPECT_NE(before.find("TAVOLIN.INI"), std::string::npos) << before;
    EXPECT_EQ(lwtest::readFile(logs / "after.txt"), before);
    EXPECT_FALSE(fs::exists(dir / "Lenkwerk.lck")); // the orderly exit gave the folder free
}

TEST(EndToEnd, ACopyThatCrashedDoesNotKeepTheFolderLocked) {
    if (!haveTool("xvfb-run") || !haveTool("xdotool"))
        GTEST_SKIP() << "xvfb-run and xdotool are needed (scripts/deps --test installs them)";
    lwtest::TempDir dir;
    lwtest::TempDir logs;
    prepareFolder(dir);
    const std::string script = std::string(kStartFirst) + R"(
[ -f Lenkwerk.lck ] || { kill $pid; exit 95; }
kill -9 $pid
wait $pid 2>/dev/null
sleep 1
)" + kStartFirst + kEndFirst;
    std::string output;
    const int rc = runOnDisplay(dir, logs, script, &output);
    ASSERT_EQ(rc, 0) << output << lwtest::readFile(logs / "first.log");
}
