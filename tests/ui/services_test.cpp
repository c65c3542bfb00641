#include <gtest/gtest.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <thread>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLibrary>
#include <QLineEdit>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include "core/context.h"
#include "support/testdir.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/help/helpviewer.h"
#include "ui/modules.h"
#include "ui/msgdialogs.h"
#include "ui/progressbar.h"
#include "uitest.h"

namespace {

QString str(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

} // namespace

TEST(SkinnedMessages, ShowTheRealDialogs) {
    lwtest::TempDir dir;
    core::Context ctx(str(dir.path()));
    ui::useRealServices(ctx);
    // Answer the dialog that is about to open with its "Ja" button.
    QTimer::singleShot(50, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dlg = qobject_cast<ui::MessageDialog*>(w); dlg && dlg->isVisible()) dlg->yesButton()->click();
    });
    EXPECT_TRUE(core::MSGYESNO(ctx, QStringLiteral("Programm beenden ?"), QStringLiteral("Programmende")));
    bool ran = false;
    core::MSGMETER(ctx, [&](core::Progress& progress) {
        progress.setTotal(2);
        progress.setPosition(1);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dlg = qobject_cast<ui::MeterDialog*>(w); dlg && dlg->isVisible())
                ran = dlg->bar()->position() == 1;
    });
    EXPECT_TRUE(ran);
}

TEST(Shell, DesktopShellReportsAMissingDocumentAsNotFound) {
    lwtest::TempDir dir;
    ui::DesktopShell shell;
    EXPECT_EQ(shell.openDocument(str(dir.path() / "fehlt.pdf")), core::ShellService::Result::NotFound);
    EXPECT_EQ(shell.openDocument(QString()), core::ShellService::Result::NotFound);
    EXPECT_FALSE(shell.openUrl(QStringLiteral("kein Link")));
}

TEST(Shell, DesktopShellSaysWhenTheSystemHasNoProgram) {
    lwtest::TempDir dir;
    lwtest::TempDir bin;
    // A desktop that names no default program for anything.
    lwtest::writeFile(bin / "xdg-mime", "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(bin / "xdg-mime", std::filesystem::perms::owner_all);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.path().string()));
    lwtest::writeFile(dir / "KV.rtf", "{\\rtf1 Vertrag}");
    ui::DesktopShell shell;
    const auto result = shell.openDocument(str(dir.path() / "KV.rtf"));
    const bool mail = shell.openUrl(QStringLiteral("mailto:info@example.org?subject=Frage"));
    qputenv("PATH", oldPath);
    EXPECT_EQ(result, core::ShellService::Result::NoProgram);
    EXPECT_FALSE(mail);
}

TEST(Printer, ThePrintModuleLoadsAndAMissingOneRunsNoWriter) {
    // The program finds the printing function by this name; without it no print job would ever start.
    QLibrary module(QStringLiteral(LW_PRINT_MODULE));
    EXPECT_NE(module.resolve("lenkwerk_print"), nullptr) << module.errorString().toStdString();

    lwtest::TempDir dir;
    ui::SystemPrinter printer({}, str(dir.path() / "lenkwerk-print.so"));
    int writes = 0;
    const auto writer = [&](QPainter&, QPagedPaintDevice&) { return ++writes > 0; };
    EXPECT_FALSE(printer.print(QStringLiteral("Fragebogen"), writer)); // a failure, never a print that did not happen
    EXPECT_FALSE(printer.print(QStringLiteral("Fragebogen"), writer));
    EXPECT_EQ(writes, 0);
}

TEST(Helper, ExitCodesTimeOutsAndMissingPrograms) {
    lwtest::TempDir dir;
    const auto script = [&](const char* name, const std::string& body) {
        const auto path = dir.path() / name;
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return str(path);
    };
    EXPECT_EQ(ui::runHelper(script("yes", "exit 0"), 5000), 0);
    EXPECT_EQ(ui::runHelper(script("no", "exit 1"), 5000), 1);
    EXPECT_EQ(ui::runHelper(script("crash", "kill -SEGV $$"), 5000), -1);
    EXPECT_EQ(ui::runHelper(str(dir.path() / "missing"), 5000), -1);
    // One that hangs is ended at the limit, not waited for.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ui::runHelper(script("hang", "exec sleep 30"), 300), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(Helper, AStartWithoutAThreadToSpareNeitherEndsTheProgramNorLeavesAZombie) {
    // A child with hardly any address space left: a process still starts, a thread's stack no longer fits.
    const pid_t child = fork();
    if (child == 0) {
        std::size_t used = 0;
        std::ifstream("/proc/self/statm") >> used;
        const rlim_t limit = used * std::size_t(sysconf(_SC_PAGESIZE)) + (2u << 20);
        const rlimit tight{limit, limit};
        setrlimit(RLIMIT_AS, &tight);
        try {
            ui::startHelper(QStringLiteral("/bin/true"), {});
        } catch (...) {
            _exit(4);
        }
        // Whatever it answered, no child of it is left over.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        _exit(waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_NE(WEXITSTATUS(status), 4) << "the start threw, which ends the program";
    EXPECT_NE(WEXITSTATUS(status), 3) << "a helper was left unreaped";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(Speech, TheVoiceModuleLoadsAndWithoutItNothingIsSpokenNorOffered) {
    // The program finds the voice by these names; one missing would leave the reading aloud without a voice.
    QLibrary module(QStringLiteral(LW_SPEECH_MODULE));
    for (const char* name : {"lenkwerk_speech_open", "lenkwerk_speech_say", "lenkwerk_speech_stop"})
        EXPECT_NE(module.resolve(name), nullptr) << name << ' ' << module.errorString().toStdString();

    lwtest::TempDir dir;
    ui::TextToSpeech speech([] { return true; }, str(dir.path() / "lenkwerk-speech.so"));
    EXPECT_FALSE(speech.available()); // the engine says yes, but there is no voice to speak with
    speech.speak({QStringLiteral("Frage eins")});
    EXPECT_FALSE(speech.available());
}

TEST(Speech, TheCheckHelperAnswersYesOrNo) {
    // 0 or 1; -1 would mean it could not even start or crashed, and speech would silently never be offered.
    // Asked as the program asks, naming itself.
    const int answer =
        ui::runHelper(QStringLiteral(LW_SPEECH_CHECK), 30000, {QString::number(QCoreApplication::applicationPid())});
    EXPECT_TRUE(answer == 0 || answer == 1) << answer;
    // Where it finds a German voice, the module must give one to speak with.
    if (answer == 0) {
        ui::TextToSpeech speech([] { return true; }, QStringLiteral(LW_SPEECH_MODULE));
        EXPECT_TRUE(speech.available());
    }
}

TEST(Speech, TheCheckHelperEndsWithTheProgramThatAskedIt) {
    // A shell stands in for the program: it starts the check and ends at once, as a program closed quickly does.
    QProcess asker;
    asker.start(QStringLiteral("sh"),
                {QStringLiteral("-c"), QStringLiteral("\"$0\" & echo $!; sleep 0.3"), QStringLiteral(LW_SPEECH_CHECK)});
    ASSERT_TRUE(asker.waitForFinished(10000));
    const QByteArray pid = asker.readAllStandardOutput().trimmed();
    ASSERT_FALSE(pid.isEmpty());
    // Gone, or a zombie nobody reaps (the machine's first process may not): either way it no longer runs.
    const auto running = [&] {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(pid)));
        if (!stat.open(QIODevice::ReadOnly)) return false;
        const QByteArray fields = stat.readAll();
        const qsizetype close = fields.lastIndexOf(')');
        return close > 0 && fields.mid(close + 2, 1) != "Z";
    };
    QElapsedTimer clock;
    clock.start();
    while (running() && clock.elapsed() < 400)
        QThread::msleep(20);
    // On its own the check takes a second or more; ended with its program, it is gone within milliseconds.
    EXPECT_FALSE(running()) << "the speech check still runs " << clock.elapsed() << " ms after its program ended";
}

TEST(Speech, TheCheckHelperEndsWhenItsProgramEndedBeforeItCouldWatchIt) {
    // On a desktop an orphan goes to the session's service manager, not to the first process; this test stands in
    // for that manager. The shell names itself as the program does and ends before the helper has even loaded its
    // libraries.
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    QProcess asker;
    asker.start(QStringLiteral("sh"),
                {QStringLiteral("-c"), QStringLiteral("\"$0\" $$ & echo $!"), QStringLiteral(LW_SPEECH_CHECK)});
    const bool finished = asker.waitForFinished(10000);
    const pid_t pid = asker.readAllStandardOutput().trimmed().toInt();
    prctl(PR_SET_CHILD_SUBREAPER, 0);
    ASSERT_TRUE(finished);
    ASSERT_GT(pid, 0);
    // The orphan is this process's child now: its end is seen here.
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(pid, &status, WNOHANG)) == 0 && clock.elapsed() < 600)
        QThread::msleep(20);
    if (ended == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    EXPECT_EQ(ended, pid) << "the speech check still runs " << clock.elapsed() << " ms after its program ended";
}

TEST(Printer, PdfPrinterWritesThePages) {
    lwtest::TempDir dir;
    const QString pdf = str(dir.path() / "druck.pdf");
    ui::PdfPrinter printer(pdf);
    const bool ok = printer.print(QStringLiteral("Fragebogen"), [](QPainter& p, QPagedPaintDevice& device) {
        p.drawText(100, 100, QStringLiteral("Seite eins"));
        device.newPage();
        p.drawText(100, 100, QStringLiteral("Seite zwei"));
        return true;
    });
    EXPECT_TRUE(ok);
    const std::string bytes = lwtest::readFile(dir.path() / "druck.pdf");
    ASSERT_GT(bytes.size(), 200u);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    std::string text;
    if (lwtest::runCommand("command -v pdftotext >/dev/null") == 0) {
        ASSERT_EQ(lwtest::runCommand("pdftotext '" + pdf.toStdString() + "' -", &text), 0);
        EXPECT_NE(text.find("Seite eins"), std::string::npos);
        EXPECT_NE(text.find("Seite zwei"), std::string::npos);
    }
    EXPECT_EQ(printer.jobs(), QStringList{QStringLiteral("Fragebogen")});
    // A writer that fails makes the print fail.
    EXPECT_FALSE(printer.print(QStringLiteral("x"), [](QPainter&, QPagedPaintDevice&) { return false; }));
}

namespace {

// Whether a library of that file is mapped into this process.
bool mapped(const QString& file) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(file.toLocal8Bit());
}

QWidget* shownHelpWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("ui::HelpViewer") && w->isVisible()) return w;
    return nullptr;
}

QStringList warnings;
void keepWarning(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg) warnings << text;
}

// The fixture collection as the program's own help, and a cache folder of the test's own for its working copy.
class HelpModule : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(m_cache.path().string()));
        std::filesystem::create_directories(m_dir.path() / "Texte");
        for (const char* f : {"fixture.qhc", "fixture.qch"}) {
            const std::string to = f == std::string("fixture.qhc") ? "TAVOLIN.qhc" : f;
            ASSERT_TRUE(
                QFile::copy(QStringLiteral(LW_TEST_HELP_DIR "/") + QLatin1String(f), str(m_dir / "Texte" / to)));
        }
    }
    void TearDown() override {
        ui::HelpWindowService::closeWindows();
        qputenv("XDG_CACHE_HOME", m_oldCache);
    }
    ui::HelpWindowService service(const QString& module) {
        return ui::HelpWindowService([this](const QString& name) { return ctx.resolve(name); }, module);
    }

    lwtest::TempDir m_dir;
    lwtest::TempDir m_cache;
    QByteArray m_oldCache;
    core::Context ctx{str(m_dir.path())};
};

} // namespace

TEST_F(HelpModule, LoadsWithTheFirstRequestAndClosingLoadsNothing) {
    // The program finds the help window by these names; one missing would leave F1 without a window.
    QLibrary module(QStringLiteral(LW_HELP_MODULE));
    for (const char* name :
         {"lenkwerk_help_topic", "lenkwerk_help_contents", "lenkwerk_help_index", "lenkwerk_help_close_all"})
        EXPECT_NE(module.resolve(name), nullptr) << name << ' ' << module.errorString().toStdString();

    // A copy of its own, so that what other tests loaded does not count.
    lwtest::TempDir bin;
    const QString copy = str(bin / "lenkwerk-help.so");
    ASSERT_TRUE(QFile::copy(QStringLiteral(LW_HELP_MODULE), copy));
    ui::HelpWindowService help = service(copy);
    ui::HelpWindowService::closeWindows();
    EXPECT_FALSE(mapped(copy));

    help.showTopic(QString(), QStringLiteral("Anhalteweg"));
    EXPECT_TRUE(mapped(copy));
    QWidget* window = shownHelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Prüfhilfe"));
    // The same class as the module's, built from the same source; qobject_cast cannot tell the copies apart.
    auto* viewer = static_cast<ui::HelpViewer*>(window);
    EXPECT_TRUE(viewer->currentUrl().path().endsWith(QStringLiteral("anhalteweg.html")));
    help.showIndex(QString(), QStringLiteral("Vor"));
    EXPECT_EQ(shownHelpWindow(), window); // one window per collection, also through the module
    EXPECT_EQ(viewer->indexFilter()->text(), QStringLiteral("Vor"));

    QPointer<QWidget> gone(window);
    ui::HelpWindowService::closeWindows();
    EXPECT_TRUE(gone.isNull());
}

TEST_F(HelpModule, AMissingModuleWarnsOnceAndOpensNothing) {
    lwtest::TempDir bin;
    ui::HelpWindowService help = service(str(bin / "lenkwerk-help.so"));
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepWarning);
    help.showTopic(QString(), QStringLiteral("Anhalteweg"));
    help.showContents(QString());
    help.showIndex(QString(), QStringLiteral("B"));
    ui::HelpWindowService::closeWindows();
    qInstallMessageHandler(previous);
    EXPECT_EQ(shownHelpWindow(), nullptr);
    ASSERT_EQ(warnings.size(), 1) << warnings.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("help window"))) << warnings[0].toStdString();
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("lenkwerk-help.so"))) << warnings[0].toStdString();
}
