#include <gtest/gtest.h>

#include <QApplication>
#include <QAudioDevice>
#include <QDir>
#include <QMediaDevices>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTimer>

#include "support/testdir.h"
#include "ui/buttons.h"
#include "ui/context.h"
#include "ui/controls.h"
#include "ui/helpviewer.h"
#include "ui/msgdialogs.h"
#include "ui/progressbar.h"
#include "uitest.h"

namespace {

QString str(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

} // namespace

TEST(ScriptedMessages, AnswersFromTheQueueAndRecordsWhatWasShown) {
    lwtest::TempDir dir;
    ui::Context ctx(str(dir.path()));
    auto s = ctx.useScriptedServices();
    s.messages->queueAnswers({false, false, true});

    EXPECT_FALSE(ui::MSGYESNO(ctx, QStringLiteral("Erste ?"), QStringLiteral("F1")));
    EXPECT_FALSE(ui::MSGINFO(ctx, QStringLiteral("Hinweis"), QStringLiteral("Achtung"))); // takes no answer
    EXPECT_FALSE(ui::MSGNOYES(ctx, QStringLiteral("Zweite ?"), QStringLiteral("F2")));
    EXPECT_TRUE(ui::MSGYESNO(ctx, QStringLiteral("Dritte ?"), QStringLiteral("F3")));
    EXPECT_FALSE(ui::MSGYESNO(ctx, QStringLiteral("Vierte ?"), QStringLiteral("F4"))); // queue empty: No
    ui::WARNBOX(ctx, QStringLiteral("Name oder Passwort falsch !"), QStringLiteral("Problem"));

    using K = ui::ScriptedMessages::Kind;
    const auto& shown = s.messages->shown();
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_EQ(shown[0].kind, K::YesNo);
    EXPECT_EQ(shown[1].kind, K::Info);
    EXPECT_EQ(shown[1].title, QStringLiteral("Achtung"));
    EXPECT_EQ(shown[2].kind, K::NoYes);
    EXPECT_EQ(shown[3].text, QStringLiteral("Dritte ?"));
    EXPECT_TRUE(shown[3].answer);
    EXPECT_FALSE(shown[4].answer);
    EXPECT_EQ(shown[5].kind, K::Warning);
    EXPECT_EQ(shown[5].text, QStringLiteral("Name oder Passwort falsch !"));
    EXPECT_EQ(s.messages->pendingAnswers(), 0u);
}

TEST(ScriptedMessages, MeterRunsTheActionWithItsControls) {
    lwtest::TempDir dir;
    ui::Context ctx(str(dir.path()));
    auto s = ctx.useScriptedServices();
    int steps = 0;
    ui::MSGMETER(
        ctx,
        [&](ui::ProgressBar& bar, ui::Label& text, ui::SkinnedDialog&, bool& done) {
            EXPECT_FALSE(done);
            bar.setTotal(3);
            for (int i = 1; i <= 3; ++i)
                bar.setPosition(++steps);
            text.setText(QStringLiteral("fertig"));
        },
        QStringLiteral("FRAGEN Index aufbauen..."));
    EXPECT_EQ(steps, 3);
    ASSERT_EQ(s.messages->shown().size(), 1u);
    EXPECT_EQ(s.messages->shown()[0].kind, ui::ScriptedMessages::Kind::Meter);
    EXPECT_EQ(s.messages->shown()[0].text, QStringLiteral("FRAGEN Index aufbauen..."));
    EXPECT_EQ(s.messages->shown()[0].title, QStringLiteral("Bitte warten"));
}

TEST(SkinnedMessages, ShowTheRealDialogs) {
    lwtest::TempDir dir;
    ui::Context ctx(str(dir.path()));
    ctx.useRealServices();
    // Answer the dialog that is about to open with its "Ja" button.
    QTimer::singleShot(50, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dlg = qobject_cast<ui::MessageDialog*>(w); dlg && dlg->isVisible()) dlg->yesButton()->click();
    });
    EXPECT_TRUE(ui::MSGYESNO(ctx, QStringLiteral("Programm beenden ?"), QStringLiteral("Programmende")));
    bool ran = false;
    ui::MSGMETER(ctx, [&](ui::ProgressBar&, ui::Label&, ui::SkinnedDialog& dlg, bool&) { ran = dlg.isVisible(); });
    EXPECT_TRUE(ran);
}

TEST(Speech, SPEEKITSpeaksOnlyWhenSwitchedOnAndAnEngineIsThere) {
    lwtest::TempDir dir;
    ui::Context ctx(str(dir.path()));
    auto s = ctx.useScriptedServices();
    const QString text = QStringLiteral("Womit müssen Sie rechnen?") + QString(1000, QLatin1Char(' ')) +
                         QStringLiteral("Mit Gegenverkehr");

    ctx.settings.LS_SPEECH = false;
    ui::SPEEKIT(ctx, text);
    EXPECT_TRUE(s.speech->spoken().empty());

    ctx.settings.LS_SPEECH = true;
    s.speech->setAvailable(false);
    ui::SPEEKIT(ctx, text);
    EXPECT_TRUE(s.speech->spoken().empty());

    s.speech->setAvailable(true);
    ui::SPEEKIT(ctx, text);
    ASSERT_EQ(s.speech->spoken().size(), 1u);
    EXPECT_EQ(s.speech->spoken()[0],
              QStringList({QStringLiteral("Womit müssen Sie rechnen?"), QStringLiteral("Mit Gegenverkehr")}));
}

TEST(Speech, RunsOfAThousandBlanksBecomePauses) {
    const QString pause(1000, QLatin1Char(' '));
    EXPECT_EQ(ui::speechParts(QStringLiteral("Zuviele Fehler!") + pause + QStringLiteral("Sie müssen noch üben!")),
              QStringList({QStringLiteral("Zuviele Fehler!"), QStringLiteral("Sie müssen noch üben!")}));
    // Shorter runs of blanks are ordinary spaces; runs past a thousand are one pause; empty parts vanish.
    EXPECT_EQ(ui::speechParts(QStringLiteral("Frage  mit   Leerzeichen") + pause + QString(500, ' ') + pause +
                              QStringLiteral("Antwort") + pause),
              QStringList({QStringLiteral("Frage mit Leerzeichen"), QStringLiteral("Antwort")}));
    EXPECT_TRUE(ui::speechParts(pause).isEmpty());
    EXPECT_EQ(ui::speechParts(QString(999, ' ') + QStringLiteral("x")), QStringList{QStringLiteral("x")});
}

TEST(Context, ResolvesNamesOfTheProgramFolderWithoutRegardToCase) {
    lwtest::TempDir dir;
    std::filesystem::create_directories(dir.path() / "Texte");
    lwtest::writeFile(dir.path() / "Texte" / "Stvo.pdf", "%PDF");
    ui::Context ctx(str(dir.path()));
    EXPECT_EQ(ctx.resolve(QStringLiteral(".\\texte\\STVO.PDF")), str(dir.path() / "Texte" / "Stvo.pdf"));
    EXPECT_TRUE(ctx.resolve(QStringLiteral(".\\texte\\Stvg.pdf")).isEmpty());
    EXPECT_TRUE(ctx.resolve(QStringLiteral("..\\etc\\passwd")).isEmpty());
    EXPECT_EQ(ctx.login.CS_LOCAL, QStringLiteral("LOCAL1"));
    EXPECT_EQ(ctx.login.NS_USER, 0);
    EXPECT_EQ(ctx.helpTopic, QStringLiteral("Lenkwerk"));

    ctx.setResolver([](const QString& base, const QString& name) { return base + QStringLiteral("|") + name; });
    EXPECT_EQ(ctx.resolve(QStringLiteral("a")), str(dir.path()) + QStringLiteral("|a"));
}

TEST(Shell, ScriptedShellRecordsAndReportsMissingDocuments) {
    lwtest::TempDir dir;
    lwtest::writeFile(dir.path() / "KV.rtf", "{\\rtf1}");
    ui::Context ctx(str(dir.path()));
    auto s = ctx.useScriptedServices();
    EXPECT_EQ(ctx.shell().openDocument(str(dir.path() / "KV.rtf")), ui::ShellService::Result::Ok);
    EXPECT_EQ(ctx.shell().openDocument(str(dir.path() / "BuGeKata.pdf")), ui::ShellService::Result::NotFound);
    s.shell->setUrlResult(false);
    EXPECT_FALSE(ctx.shell().openUrl(QStringLiteral("mailto:info@example.org")));
    EXPECT_TRUE(ctx.shell().startProcess(QStringLiteral("tvupdate"), {QStringLiteral("/S")}, str(dir.path())));
    ASSERT_EQ(s.shell->calls().size(), 4u);
    EXPECT_EQ(s.shell->calls()[2].what, QStringLiteral("url"));
    EXPECT_EQ(s.shell->calls()[3].arguments, QStringList{QStringLiteral("/S")});
}

TEST(Shell, DesktopShellReportsAMissingDocumentAsNotFound) {
    lwtest::TempDir dir;
    ui::DesktopShell shell;
    EXPECT_EQ(shell.openDocument(str(dir.path() / "fehlt.pdf")), ui::ShellService::Result::NotFound);
    EXPECT_EQ(shell.openDocument(QString()), ui::ShellService::Result::NotFound);
    EXPECT_FALSE(shell.openUrl(QStringLiteral("kein Link")));
}

namespace {

// A short silent WAV file (8 kHz, 8 bit, mono).
void writeWav(const std::filesystem::path& path) {
    const std::uint32_t samples = 800;
    std::string d = "RIFF";
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            d.push_back(char((v >> (8 * i)) & 0xff));
    };
    auto u16 = [&](std::uint16_t v) {
        for (int i = 0; i < 2; ++i)
            d.push_back(char((v >> (8 * i)) & 0xff));
    };
    u32(36 + samples);
    d += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(8000);
    u16(1);
    u16(8);
    d += "data";
    u32(samples);
    d.append(samples, char(0x80));
    lwtest::writeFile(path, d);
}

int soundEffects() {
    int effects = 0;
    for (QObject* o : QCoreApplication::instance()->children())
        effects += o->inherits("QSoundEffect");
    return effects;
}

} // namespace

TEST(Sound, MissingFilesAndMissingDevicesAreSilent) {
    lwtest::TempDir dir;
    std::filesystem::create_directories(dir.path() / "Sounds");
    writeWav(dir.path() / "Sounds" / "pok.wav");
    ui::Context ctx(str(dir.path()));
    ui::EffectSound sound([&](const QString& name) { return ctx.resolve(name); });
    sound.play(QStringLiteral(".\\Sounds\\fehler.wav")); // no such file: nothing happens
    EXPECT_EQ(soundEffects(), 0);
    sound.play(QStringLiteral(".\\SOUNDS\\POK.WAV")); // returns at once, whether or not it can be heard
    if (QMediaDevices::audioOutputs().isEmpty()) {
        EXPECT_EQ(soundEffects(), 0); // nothing left behind that could never finish
    } else {
        EXPECT_EQ(soundEffects(), 1);
    }
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

TEST(Clock, ScriptedClockMovesOnlyWhenTold) {
    lwtest::TempDir dir;
    ui::Context ctx(str(dir.path()));
    auto s = ctx.useScriptedServices();
    const QDateTime t0 = ctx.clock().now();
    s.clock->advanceSeconds(75);
    EXPECT_EQ(ctx.clock().now(), t0.addSecs(75));
}
