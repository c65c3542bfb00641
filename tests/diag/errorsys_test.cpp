#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>

#include <cstdlib>
#include <functional>
#include <stdexcept>

#include "diag/errorsys.h"
#include "diag/logpages.h"
#include "diag/sysinfo.h"
#include "store/table.h"
#include "store/workarea.h"
#include "support/testdir.h"

namespace {

// Runs `body` in a child process and returns its exit code (128 + signal when a signal ended it).
int inChild(const std::function<void()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        body();
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string logOf(const lwtest::TempDir& dir) {
    return lwtest::readFile(dir / "Error.log");
}

void prepareChild(const lwtest::TempDir& dir) {
    diag::setLogFolder(QString::fromStdString(dir.path().string()));
    diag::setRelease(QStringLiteral("QRT Lenkwerk-Trainer 2007 v2.41"));
    diag::ERRORSYS();
}

// The functions the faults happen in; kept out of line so that the call stack has them.
[[gnu::noinline]] void readThroughNullPointer() {
    int* volatile nothing = nullptr; // read at run time, so the compiler cannot see the null
    std::printf("%d\n", *nothing);
}

[[gnu::noinline]] void stopWithAbort() {
    std::abort();
}

class Thrower : public QObject {
public:
    [[gnu::noinline]] void failInSlot() { throw std::runtime_error("Zustand unbekannt"); }
};

// An application whose event delivery is guarded the way the program's is.
class GuardedApp : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        bool handled = false;
        diag::guardedDelivery([&] { return handled = QCoreApplication::notify(receiver, event); });
        return handled;
    }
};

void expectCompleteLog(const std::string& log, const std::string& function) {
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), '\x1A');
    EXPECT_EQ(log.rfind("\r\n", log.size() - 1), log.size() - 3) << "the last line ends in CR LF";
    std::size_t at = 0;
    for (const char* heading : {"QRT Lenkwerk-Trainer 2007 v2.41\r\n===============================\r\n",
                                "\r\nStack Aufrufe\r\n", "\r\nSystem-Informationen\r\n",
                                "\r\nBenutzte Variablen\r\n", "\r\nLinked RDDs\r\n===========\r\n   LWDBF\r\n",
                                "\r\nBenutzte DataBanken\r\n", "\r\nSpeicher-Analyse\r\n"}) {
        const std::size_t found = log.find(heading, at);
        EXPECT_NE(found, std::string::npos) << "missing or out of order: " << heading;
        if (found != std::string::npos) at = found;
    }
    const std::size_t stack = log.find("Stack Aufrufe");
    const std::size_t system = log.find("System-Informationen");
    const std::string calls = log.substr(stack, system - stack);
    EXPECT_NE(calls.find("   Aufgerufen von " + function + "("), std::string::npos) << calls;
    // Lines are CR LF throughout: no bare line feed.
    for (std::size_t i = 0; i < log.size(); ++i)
        if (log[i] == '\n') {
            ASSERT_EQ(log[i - 1], '\r') << "at byte " << i;
        }
}

} // namespace

TEST(ErrorHandler, DivisionByZeroGivesZeroAndWritesNoLog) {
    lwtest::TempDir dir;
    diag::setLogFolder(QString::fromStdString(dir.path().string()));
    int asked = 0;
    diag::setErrorDialog([&](const diag::DialogRequest&) {
        ++asked;
        return diag::Choice::End;
    });
    EXPECT_EQ(diag::divide(7, 0), 0.0);
    EXPECT_EQ(diag::divide(-3.5, 0), 0.0);
    EXPECT_EQ(diag::divide(9, 4), 2.25);
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "Error.log"));
    diag::setErrorDialog({});
}

TEST(ErrorHandler, FaultsInAChildWriteACompleteLogNamingTheFunctionAndExitWithOne) {
    {
        lwtest::TempDir dir;
        EXPECT_EQ(inChild([&] {
                      prepareChild(dir);
                      readThroughNullPointer();
                  }),
                  1);
        const std::string log = logOf(dir);
        expectCompleteLog(log, "(anonymous namespace)::readThroughNullPointer");
        EXPECT_NE(log.find("Fehlerbeschreibung: Fehler SIGNAL/11  Speicherschutzverletzung (SIGSEGV): "
                           "(anonymous namespace)::readThroughNullPointer\r\n"),
                  std::string::npos);
    }
    {
        lwtest::TempDir dir;
        EXPECT_EQ(inChild([&] {
                      prepareChild(dir);
                      stopWithAbort();
                  }),
                  1);
        expectCompleteLog(logOf(dir), "(anonymous namespace)::stopWithAbort");
        EXPECT_NE(logOf(dir).find("(SIGABRT)"), std::string::npos);
    }
    {
        lwtest::TempDir dir;
        EXPECT_EQ(inChild([&] {
                      prepareChild(dir);
                      int argc = 1;
                      char name[] = "diagtest";
                      char* argv[] = {name, nullptr};
                      GuardedApp app(argc, argv);
                      Thrower thrower;
                      QTimer::singleShot(0, &thrower, &Thrower::failInSlot);
                      app.exec();
                  }),
                  1);
        const std::string log = logOf(dir);
        expectCompleteLog(log, "(anonymous namespace)::Thrower::failInSlot");
        EXPECT_NE(log.find("Ausnahme std::runtime_error: Zustand unbekannt"), std::string::npos);
    }
}

TEST(ErrorHandler, LogCarriesHeaderArgumentsAndSystemFactsInTheAnsiCodePage) {
    lwtest::TempDir dir;
    diag::setLogFolder(QString::fromStdString(dir.path().string()));
    diag::setRelease(QStringLiteral("Lenkwerk Prüfversion"));
    std::vector<diag::DialogRequest> seen;
    QStringList stacks;
    diag::setErrorDialog([&](const diag::DialogRequest& r) {
        EXPECT_EQ(r.buttons, 2);
        stacks = r.stack;
        return diag::Choice::Default;
    });
    diag::ErrorRecord error;
    error.GENCODE = 1;
    error.SUBSYSTEM = QStringLiteral("BASE");
    error.SUBCODE = 1081;
    error.DESCRIPTION = QStringLiteral("Argumentfehler");
    error.OPERATION = QStringLiteral("+");
    error.ARGS = QVariantList{QStringLiteral("Text"), 42, QDate(2007, 3, 9)};
    error.CANDEFAULT = true;
    EXPECT_FALSE(diag::ERRORDIALOG(error));
    diag::setErrorDialog({});

    const std::string log = logOf(dir);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.rfind("Lenkwerk Pr\xFC" "fversion\r\n====================\r\n", 0), 0u);
    EXPECT_NE(log.find("   Fehlerbeschreibung: Fehler BASE/1081  Argumentfehler: +\r\n   Args:\r\n"
                       "     [   1] = C   Text\r\n     [   2] = N   42\r\n     [   3] = D   09.03.2007\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("   Groesse: "), std::string::npos);
    EXPECT_NE(log.find("Verf\xFCgbar Physical: "), std::string::npos);
    EXPECT_NE(log.find("\r\nCPU Name: "), std::string::npos);
    EXPECT_NE(log.find("Total Physical: "), std::string::npos);
    EXPECT_EQ(log.find("Total Physical: 0 MB"), std::string::npos) << "the machine has memory";
    EXPECT_EQ(log.back(), '\x1A');
    ASSERT_FALSE(stacks.isEmpty());
    EXPECT_TRUE(stacks.join(QLatin1Char('\n')).contains(QStringLiteral("LogCarriesHeaderArguments")))
        << stacks.join(QLatin1Char('\n')).toStdString();
}

namespace {

// A learner's table with an index and a relation into the catalog, as a run holds them; LOSE.DBF is held outside
// any work area.
struct OpenRun {
    explicit OpenRun(const lwtest::TempDir& dir) {
        for (const char* name : {"LOCAL1.DBF", "FRAGEN.DBF"}) {
            auto t = store::Table::create(dir / name, {{"FRAGENR", store::FieldType::Character, 6, 0}});
            for (const char* nr : {"1.1.01", "1.1.02", "1.1.03"}) {
                t->appendBlank();
                t->replace(0, store::Value::text(nr));
            }
        }
        loose = store::Table::create(dir / "LOSE.DBF", {{"NR", store::FieldType::Numeric, 4, 0}});
        loose->appendBlank();
        loose->flush();
        store::WorkArea* frg = session.use(dir / "FRAGEN.DBF", "DFRG");
        frg->indexOn("FRAGENR", dir / "FRAGEN.CDX", "FRAGEN");
        store::WorkArea* loc = session.use(dir / "LOCAL1.DBF", "DLOC");
        loc->indexOn("FRAGENR", dir / "LOCAL.CDX", "NR");
        loc->setRelation("FRAGENR", "DFRG");
        loc->goTop();
        loc->skip();
    }
    store::Session session;
    std::unique_ptr<store::Table> loose;
};

void expectOpenRun(const std::string& log) {
    const std::size_t tables = log.find("Benutzte DataBanken");
    ASSERT_NE(tables, std::string::npos);
    const std::string section = log.substr(tables);
    const std::string local = "  2: => DLOC                               RddName: LWDBF\r\n"
                              "     ==============================\r\n"
                              "     Satznr.  RecCount    BOF   EOF\r\n"
                              "        2          3      .f.   .f.\r\n"
                              "\r\n"
                              "     Benutzte Indexe                        TagName\r\n"
                              "        => FRAGENR                            NR\r\n"
                              "\r\n"
                              "     Benutzte Relationen\r\n"
                              "                 1: TO FRAGENR INTO DFRG\r\n";
    EXPECT_NE(section.find(local), std::string::npos) << section;
    EXPECT_NE(section.find("  1:    DFRG                               RddName: LWDBF\r\n"), std::string::npos);
    // The table outside the work areas: its name and the count of its header, nothing invented beyond.
    EXPECT_NE(section.find("  3:    LOSE                               RddName: LWDBF\r\n"), std::string::npos);
    EXPECT_NE(section.find("\r\n                   1      \r\n"), std::string::npos) << section;
    EXPECT_EQ(section.find("LOCAL1 "), std::string::npos) << "a table in a work area is listed once";
}

} // namespace

TEST(ErrorHandler, OpenTablesOfTheProgramAreListedFromItsWorkAreas) {
    lwtest::TempDir dir;
    {
        OpenRun run(dir);
        diag::setLogFolder(QString::fromStdString(dir.path().string()));
        diag::setErrorDialog([](const diag::DialogRequest&) { return diag::Choice::Default; });
        diag::ErrorRecord error;
        error.DESCRIPTION = QStringLiteral("Probe");
        error.CANDEFAULT = true;
        diag::ERRORDIALOG(error);
        diag::setErrorDialog({});
    }
    expectOpenRun(logOf(dir));
    // A fault while the tables are open lists them the same way.
    lwtest::TempDir crashDir;
    EXPECT_EQ(inChild([&] {
                  OpenRun run(crashDir);
                  prepareChild(crashDir);
                  readThroughNullPointer();
              }),
              1);
    expectOpenRun(logOf(crashDir));
}

TEST(ErrorHandler, LockedAndReadOnlyOpensStayQuietAndSetTheFlag) {
    lwtest::TempDir dir;
    diag::setLogFolder(QString::fromStdString(dir.path().string()));
    int asked = 0;
    diag::setErrorDialog([&](const diag::DialogRequest&) {
        ++asked;
        return diag::Choice::Default;
    });
    for (int os : {diag::kOsSharingViolation, diag::kOsAccessDenied}) {
        diag::setNetErr(false);
        diag::ErrorRecord error;
        error.GENCODE = diag::gencode::kOpen;
        error.OSCODE = os;
        error.CANDEFAULT = true;
        EXPECT_FALSE(diag::ERRORDIALOG(error));
        EXPECT_TRUE(diag::NETERR());
    }
    diag::setNetErr(false);
    diag::ErrorRecord lock;
    lock.GENCODE = diag::gencode::kAppendLock;
    lock.CANDEFAULT = true;
    diag::ERRORDIALOG(lock);
    EXPECT_TRUE(diag::NETERR());
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "Error.log"));
    diag::setErrorDialog({});
}

TEST(ErrorHandler, ErrorTextAndValueTexts) {
    diag::ErrorRecord e;
    EXPECT_EQ(diag::ERRORMESSAGE(e), QStringLiteral("Fehler ?\?\?/?\?\?"));
    e.SEVERITY = 1;
    e.SUBSYSTEM = QStringLiteral("LWDBF");
    e.SUBCODE = 1021;
    e.DESCRIPTION = QStringLiteral("Öffnungsfehler");
    e.OPERATION = QStringLiteral("USE");
    EXPECT_EQ(diag::ERRORMESSAGE(e), QStringLiteral("Warnung LWDBF/1021  Öffnungsfehler: USE"));
    e.OSCODE = 2;
    e.FILENAME = QStringLiteral("FRAGEN.DBF");
    EXPECT_EQ(diag::ERRORMESSAGE(e), QStringLiteral("(DOS-Fehler 2) LWDBF/1021  Öffnungsfehler: FRAGEN.DBF"));

    QObject object;
    EXPECT_EQ(diag::CGETINFO(QStringLiteral("abc")), QStringLiteral("\"abc\""));
    EXPECT_EQ(diag::CGETINFO(QVariant::fromValue(&object)), QStringLiteral("Class: QObject"));
    EXPECT_EQ(diag::CGETINFO(QVariantList{1, 2, 3}), QStringLiteral("Len:    3"));
    EXPECT_EQ(diag::CGETINFO(30), QStringLiteral("30"));
    EXPECT_EQ(diag::CGETINFO(2.5), QStringLiteral("2.5"));
    EXPECT_EQ(diag::CGETINFO(QDate(2007, 1, 2)), QStringLiteral("02.01.2007"));
    EXPECT_EQ(diag::CGETINFO(true), QStringLiteral(".t."));
    EXPECT_EQ(diag::CGETINFO(QVariant::fromValue(diag::CodeBlock{})), QStringLiteral("{|| ... }"));
    EXPECT_EQ(diag::CGETINFO(QVariant()), QString());
    EXPECT_EQ(diag::plainText(QVariantList{1}), QStringLiteral("{ ... }"));
    EXPECT_EQ(diag::plainText(QVariant::fromValue(&object)), QStringLiteral("Object"));
}

// The screen facts come from whoever shows windows; without a screen they are 0 and empty.
TEST(SystemInformation, ScreenFactsComeFromTheSourceAndAreEmptyWithoutAScreen) {
    const diag::TSystemInfo info;
    diag::setScreenSource({});
    EXPECT_EQ(info.GetColors(), 0);
    EXPECT_EQ(info.ScreenWidth(), 0);
    EXPECT_TRUE(info.MonitorName().isEmpty());
    std::optional<diag::ScreenFacts> facts = diag::ScreenFacts{1920, 1080, 24, 96.0, 95.6, QStringLiteral("ACME L24")};
    diag::setScreenSource([&] { return facts; });
    EXPECT_EQ(info.GetColors(), 16777216);
    EXPECT_EQ(info.ScreenWidth(), 1920);
    EXPECT_EQ(info.ScreenHeight(), 1080);
    EXPECT_EQ(info.ScreenDpi(), 96);
    EXPECT_EQ(info.MonitorName(), QStringLiteral("ACME L24"));
    facts->depth = 32; // asked anew each time: the screen may have changed
    EXPECT_EQ(info.GetColors(), std::int64_t(1) << 32);
    facts.reset(); // the screen went away
    EXPECT_EQ(info.GetColors(), 0);
    EXPECT_EQ(info.ScreenDpi(), 0);
    diag::setScreenSource({});
}

TEST(ErrorLogPrint, LinesAreCutAtSeventyCharactersFiftyToAPage) {
    std::string bytes;
    bytes += std::string(150, 'x') + "\r\n"; // 70 + 70 + 10
    bytes += "\r\n";                         // an empty line is printed as one
    for (int i = 0; i < 60; ++i)
        bytes += "Zeile " + std::to_string(i) + "\r\n";
    bytes += '\x1A';
    const auto pages = diag::logPages(bytes);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0].size(), 50);
    EXPECT_EQ(pages[1].size(), 64 - 50);
    EXPECT_EQ(pages[0][0].size(), 70);
    EXPECT_EQ(pages[0][1].size(), 70);
    EXPECT_EQ(pages[0][2], QString(10, QLatin1Char('x')));
    EXPECT_EQ(pages[0][3], QString());
    EXPECT_EQ(pages[1].last(), QStringLiteral("Zeile 59"));
}
