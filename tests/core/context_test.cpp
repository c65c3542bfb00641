// The context every routine receives, without an application object: the program folder, the login state, the
// help topic, and the scripted services the tests of every feature rely on.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <set>

#include "core/context.h"
#include "core/helptopics.h"
#include "support/scripted.h"
#include "support/testdir.h"

namespace {

QString str(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

} // namespace

TEST(ScriptedMessages, AnswersFromTheQueueAndRecordsWhatWasShown) {
    lwtest::TempDir dir;
    core::Context ctx(str(dir.path()));
    auto s = lwtest::useScriptedServices(ctx);
    s.messages->queueAnswers({false, false, true});

    EXPECT_FALSE(core::MSGYESNO(ctx, QStringLiteral("Erste ?"), QStringLiteral("F1")));
    EXPECT_FALSE(core::MSGINFO(ctx, QStringLiteral("Hinweis"), QStringLiteral("Achtung"))); // takes no answer
    EXPECT_FALSE(core::MSGNOYES(ctx, QStringLiteral("Zweite ?"), QStringLiteral("F2")));
    EXPECT_TRUE(core::MSGYESNO(ctx, QStringLiteral("Dritte ?"), QStringLiteral("F3")));
    EXPECT_FALSE(core::MSGYESNO(ctx, QStringLiteral("Vierte ?"), QStringLiteral("F4"))); // queue empty: No
    core::WARNBOX(ctx, QStringLiteral("Name oder Passwort falsch !"), QStringLiteral("Problem"));

    using K = lwtest::ScriptedMessages::Kind;
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
    core::Context ctx(str(dir.path()));
    auto s = lwtest::useScriptedServices(ctx);
    int steps = 0;
    core::MSGMETER(
        ctx,
        [&](core::Progress& progress) {
            EXPECT_FALSE(progress.cancelled());
            progress.setTotal(3);
            for (int i = 1; i <= 3; ++i)
                progress.setPosition(++steps);
            progress.setText(QStringLiteral("fertig"));
        },
        QStringLiteral("FRAGEN Index aufbauen..."));
    EXPECT_EQ(steps, 3);
    ASSERT_EQ(s.messages->shown().size(), 1u);
    EXPECT_EQ(s.messages->shown()[0].kind, lwtest::ScriptedMessages::Kind::Meter);
    EXPECT_EQ(s.messages->shown()[0].text, QStringLiteral("FRAGEN Index aufbauen..."));
    EXPECT_EQ(s.messages->shown()[0].title, QStringLiteral("Bitte warten"));
    ASSERT_EQ(s.messages->meterRuns().size(), 1u);
    EXPECT_EQ(s.messages->meterRuns()[0].total, 3);
    EXPECT_EQ(s.messages->meterRuns()[0].positions, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(s.messages->meterRuns()[0].texts.last(), QStringLiteral("fertig"));
}

TEST(Speech, SPEEKITSpeaksOnlyWhenSwitchedOnAndAnEngineIsThere) {
    lwtest::TempDir dir;
    core::Context ctx(str(dir.path()));
    auto s = lwtest::useScriptedServices(ctx);
    const QString text = QStringLiteral("Womit müssen Sie rechnen?") + QString(1000, QLatin1Char(' ')) +
                         QStringLiteral("Mit Gegenverkehr");

    ctx.settings.LS_SPEECH = false;
    core::SPEEKIT(ctx, text);
    EXPECT_TRUE(s.speech->spoken().empty());

    ctx.settings.LS_SPEECH = true;
    s.speech->setAvailable(false);
    core::SPEEKIT(ctx, text);
    EXPECT_TRUE(s.speech->spoken().empty());

    s.speech->setAvailable(true);
    core::SPEEKIT(ctx, text);
    ASSERT_EQ(s.speech->spoken().size(), 1u);
    EXPECT_EQ(s.speech->spoken()[0],
              QStringList({QStringLiteral("Womit müssen Sie rechnen?"), QStringLiteral("Mit Gegenverkehr")}));
}

TEST(Speech, RunsOfAThousandBlanksBecomePauses) {
    const QString pause(1000, QLatin1Char(' '));
    EXPECT_EQ(core::speechParts(QStringLiteral("Zuviele Fehler!") + pause + QStringLiteral("Sie müssen noch üben!")),
              QStringList({QStringLiteral("Zuviele Fehler!"), QStringLiteral("Sie müssen noch üben!")}));
    // Shorter runs of blanks are ordinary spaces; runs past a thousand are one pause; empty parts vanish.
    EXPECT_EQ(core::speechParts(QStringLiteral("Frage  mit   Leerzeichen") + pause + QString(500, ' ') + pause +
                                QStringLiteral("Antwort") + pause),
              QStringList({QStringLiteral("Frage mit Leerzeichen"), QStringLiteral("Antwort")}));
    EXPECT_TRUE(core::speechParts(pause).isEmpty());
    EXPECT_EQ(core::speechParts(QString(999, ' ') + QStringLiteral("x")), QStringList{QStringLiteral("x")});
}

TEST(Context, ResolvesNamesOfTheProgramFolderWithoutRegardToCase) {
    lwtest::TempDir dir;
    std::filesystem::create_directories(dir.path() / "Texte");
    lwtest::writeFile(dir.path() / "Texte" / "Stvo.pdf", "%PDF");
    core::Context ctx(str(dir.path()));
    EXPECT_EQ(ctx.resolve(QStringLiteral(".\\texte\\STVO.PDF")), str(dir.path() / "Texte" / "Stvo.pdf"));
    EXPECT_TRUE(ctx.resolve(QStringLiteral(".\\texte\\Stvg.pdf")).isEmpty());
    EXPECT_TRUE(ctx.resolve(QStringLiteral("..\\etc\\passwd")).isEmpty());
    EXPECT_EQ(ctx.login().CS_LOCAL, QStringLiteral("LOCAL1"));
    EXPECT_EQ(ctx.login().NS_USER, 0);
    EXPECT_EQ(ctx.helpTopic, QStringLiteral("Lenkwerk"));
    // A name not there yet keeps its spelling below the existing folders, for files about to be created.
    EXPECT_EQ(ctx.path(QStringLiteral(".\\TEXTE\\Neu.TXT")), str(dir.path() / "Texte" / "Neu.TXT"));
    EXPECT_EQ(ctx.filePath("texte/stvo.pdf"), dir.path() / "Texte" / "Stvo.pdf");
    EXPECT_TRUE(ctx.exists(QStringLiteral("TEXTE")));
    EXPECT_FALSE(ctx.exists(QStringLiteral("Bitmaps")));
}

TEST(Shell, ScriptedShellRecordsAndReportsMissingDocuments) {
    lwtest::TempDir dir;
    lwtest::writeFile(dir.path() / "KV.rtf", "{\\rtf1}");
    core::Context ctx(str(dir.path()));
    auto s = lwtest::useScriptedServices(ctx);
    EXPECT_EQ(ctx.shell().openDocument(str(dir.path() / "KV.rtf")), core::ShellService::Result::Ok);
    EXPECT_EQ(ctx.shell().openDocument(str(dir.path() / "BuGeKata.pdf")), core::ShellService::Result::NotFound);
    s.shell->setUrlResult(false);
    EXPECT_FALSE(ctx.shell().openUrl(QStringLiteral("mailto:info@example.org")));
    EXPECT_TRUE(ctx.shell().startProcess(QStringLiteral("tvupdate"), {QStringLiteral("/S")}, str(dir.path())));
    ASSERT_EQ(s.shell->calls().size(), 4u);
    EXPECT_EQ(s.shell->calls()[2].what, QStringLiteral("url"));
    EXPECT_EQ(s.shell->calls()[3].arguments, QStringList{QStringLiteral("/S")});
}

TEST(Clock, ScriptedClockMovesOnlyWhenTold) {
    lwtest::TempDir dir;
    core::Context ctx(str(dir.path()));
    auto s = lwtest::useScriptedServices(ctx);
    const QDateTime t0 = ctx.clock().now();
    s.clock->advanceSeconds(75);
    EXPECT_EQ(ctx.clock().now(), t0.addSecs(75));
}

TEST(Context, LoginChangesAreAnnouncedAndNothingElseIs) {
    lwtest::TempDir dir;
    core::Context ctx(str(dir.path()));
    int announced = 0;
    QObject::connect(&ctx, &core::Context::loginChanged, [&] { ++announced; });
    ctx.settings.LS_SOUND = false;
    ctx.helpTopic = QStringLiteral("Statistik");
    EXPECT_EQ(announced, 0);
    ctx.setLogin(core::LoginState{2, QStringLiteral("Ben Kurz"), QStringLiteral("LOCAL2"), true});
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(ctx.login().CS_LOCAL, QStringLiteral("LOCAL2"));
    EXPECT_TRUE(ctx.login().twoUser);
}

TEST(Context, HelpTopicScopesNestAndRestoreTheCallersTopic) {
    lwtest::TempDir dir;
    core::Context ctx(str(dir.path()));
    {
        const core::HelpTopicScope outer(ctx, QStringLiteral("Zweibenutzermodus"));
        {
            const core::HelpTopicScope inner(ctx, QStringLiteral("Voreinstellungen"));
            EXPECT_EQ(ctx.helpTopic, QStringLiteral("Voreinstellungen"));
        }
        EXPECT_EQ(ctx.helpTopic, QStringLiteral("Zweibenutzermodus"));
    }
    EXPECT_EQ(ctx.helpTopic, QStringLiteral("Lenkwerk"));
}

TEST(Context, EveryHelpTopicKeywordIsDistinct) {
    std::set<std::string> seen;
    for (const char* keyword : core::kHelpTopics)
        EXPECT_TRUE(seen.insert(keyword).second) << keyword;
    EXPECT_EQ(core::topicKeyword(core::topic::kMain), QStringLiteral("Lenkwerk"));
}
