// The program folder as a start finds it after interrupted runs: leftovers swept, the settings backup restored only
// when it is one, and a catalog that cannot be read switching training and exams off.
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <cstdio>

#include "shell/features.h"
#include "shell/menu.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "shelltest.h"
#include "store/crash_support.h"
#include "store/filecommit.h"

using shelltest::ShellTest;
namespace fs = std::filesystem;
namespace faults = store::faults;
using Kind = lwtest::ScriptedMessages::Kind;

namespace {

std::vector<std::string> names(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir))
        out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

class Startup : public ShellTest {};

TEST_F(Startup, AGarbageBackupDoesNotReplaceTheSettingsAndAWarningSaysSo) {
    const std::string good = "[Setup]\r\nMAXFRAGEN=12\r\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {std::string("[Setup]\r\nMAX\0FRAGEN=1\r\n", 22), "Null-Bytes"},
        {"\x01\x02\x03 binary \x7f [x]", "keine Textdatei"},
        {"MAXFRAGEN=5\r\nSOUND=0\r\n", "keinen Abschnitt"},
        {"", "leer"},
    };
    for (const auto& [sav, why] : cases) {
        SCOPED_TRACE(why);
        scripted.messages->clear();
        writeIni(good);
        lwtest::writeFile(path("TAVOLIN.SAV"), sav);
        shell::prepareProgramFolder(ctx);
        EXPECT_EQ(ini(), good);
        const auto& shown = scripted.messages->shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].kind, Kind::Warning);
        EXPECT_TRUE(shown[0].text.contains(QStringLiteral("TAVOLIN.SAV"))) << shown[0].text.toStdString();
        EXPECT_TRUE(shown[0].text.contains(QString::fromStdString(why))) << shown[0].text.toStdString();
        EXPECT_TRUE(shown[0].text.contains(QStringLiteral("TAVOLIN.INI bleiben erhalten")));
    }

    // A real backup, also one an editor saved as UTF-16, is restored without a word.
    for (const std::string& sav :
         {std::string("; Lenkwerk\r\n[Setup]\r\nMAXFRAGEN=7\r\n"), std::string("\xFF\xFE[\0S\0]\0\r\0\n\0", 12)}) {
        scripted.messages->clear();
        writeIni(good);
        lwtest::writeFile(path("TAVOLIN.SAV"), sav);
        shell::prepareProgramFolder(ctx);
        EXPECT_EQ(ini(), sav);
        EXPECT_TRUE(scripted.messages->shown().empty());
    }
}

TEST_F(Startup, TheSweepRemovesOnlyTheProgramsOwnLeftovers) {
    const std::vector<std::string> ours = {".FRAGEN.FPT.123456.tmp", ".FRAGEN.4711.tmp.DBF", ".FRAGEN.4711.tmp.FPT",
                                           ".LOCAL1.88.tmp.DBF",     "TAVOLIN.INI.aB3xY9",   "Tavolin.ini.Q1w2E3",
                                           "TAVOLIN.SAV.zzzzzz",     ".TAVOLIN.SAV.42.tmp"};
    const std::vector<std::string> theirs = {"TAVOLIN.INI",        "TAVOLIN.SAV",        "TAVOLIN.INI.bak",
                                             "TAVOLIN.INI.abc-12", "FRAGEN.DBF.tmp",     "notes.tmp",
                                             "LOCAL1_defekt1.DBF", "TAVOLIN.INI.1234567"};
    for (const auto& name : ours)
        lwtest::writeFile(path(name), "left over");
    for (const auto& name : theirs)
        lwtest::writeFile(path(name), "[Setup]\r\n");
    shell::prepareProgramFolder(ctx);
    auto expected = theirs;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names(dir.path()), expected);
    EXPECT_TRUE(scripted.messages->shown().empty());
}

// The backup written at the exit and restored at the next start, ended by a crash at each of its file operations:
// the next start always has a whole settings file, the old or the new one, and no temporary file.
TEST_F(Startup, TheSettingsSaveIsOldOrNewAtEveryCrash) {
    const std::string oldSav = "[Setup]\r\nMAXFRAGEN=11\r\n", newIni = "[Setup]\r\nMAXFRAGEN=22\r\nSOUND=0\r\n";
    auto restore = [&] {
        for (const auto& e : fs::directory_iterator(dir.path()))
            fs::remove(e.path());
        writeIni(newIni);
        lwtest::writeFile(path("TAVOLIN.SAV"), oldSav);
    };
    restore();
    unsigned total = 0;
    {
        faults::Scope counting({faults::AnyOp, "", 0});
        ASSERT_TRUE(shell::saveSettingsBackup(ctx));
        total = faults::seen();
    }
    ASSERT_GE(total, 2u); // the write and the rename
    unsigned oldOnes = 0, newOnes = 0;
    for (unsigned n = 1; n <= total; ++n) {
        SCOPED_TRACE(n);
        restore();
        ASSERT_EQ(
            lwtest::runInChild({faults::AnyOp, "", n, faults::Action::Exit}, [&] { shell::saveSettingsBackup(ctx); }),
            86);
        shell::prepareProgramFolder(ctx);
        const std::string sav = lwtest::readFile(path("TAVOLIN.SAV"));
        EXPECT_TRUE(sav == oldSav || sav == newIni) << sav;
        (sav == oldSav ? oldOnes : newOnes)++;
        EXPECT_EQ(ini(), sav); // the start restored the backup it found
        EXPECT_EQ(names(dir.path()), (std::vector<std::string>{"TAVOLIN.INI", "TAVOLIN.SAV"}));
    }
    EXPECT_GT(oldOnes, 0u);
    // A crash while the start restores the backup leaves the old settings file or the restored one.
    unsigned restorePoints = 0;
    for (unsigned n = 1;; ++n) {
        restore();
        const int code = lwtest::runInChild({faults::AnyOp, "", n, faults::Action::Exit},
                                            [&] { shell::restoreSettingsBackup(ctx); });
        if (code == 0) break;
        ASSERT_EQ(code, 86);
        ++restorePoints;
        shell::prepareProgramFolder(ctx);
        EXPECT_EQ(ini(), oldSav);
        EXPECT_EQ(names(dir.path()), (std::vector<std::string>{"TAVOLIN.INI", "TAVOLIN.SAV"}));
    }
    EXPECT_GE(restorePoints, 2u);
    std::printf("    settings: %u crash points in the save (%u old, %u new backup), %u in the restore\n", total,
                oldOnes, newOnes, restorePoints);
}

TEST_F(Startup, WithoutAReadableCatalogTheTrainingItemsAreOffAndSayWhy) {
    QMainWindow window;
    shell::Features features;
    features.GETTHEMA = [](core::Context&, QWidget*, const QString&, const QString&) {};
    features.LERNSTAND = [](core::Context&, QWidget*) {};
    QMenuBar* bar = shell::MAKEMENU(ctx, &window, features);
    QMenu* training = nullptr;
    for (QAction* a : bar->actions())
        if (a->text() == QStringLiteral("&Training")) training = a->menu();
    ASSERT_NE(training, nullptr);
    auto items = [&] {
        QList<QAction*> out;
        for (QAction* a : training->actions())
            if (!a->isSeparator()) out << a;
        return out;
    };
    // The fourteen classes and the learning state.
    ASSERT_EQ(items().size(), 15);

    ctx.catalogProblem = QStringLiteral("Die Memodatei FRAGEN.FPT zu FRAGEN.DBF fehlt");
    emit training->aboutToShow();
    for (QAction* a : items()) {
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
        EXPECT_TRUE(a->toolTip().contains(QStringLiteral("FRAGEN.FPT zu FRAGEN.DBF fehlt")))
            << a->toolTip().toStdString();
    }
    EXPECT_TRUE(training->toolTipsVisible());

    ctx.catalogProblem.clear();
    emit training->aboutToShow();
    for (QAction* a : items())
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
}
