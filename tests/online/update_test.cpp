#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>

#include "online/settings.h"
#include "online/tipclient.h"
#include "online/update.h"
#include "platform/inifile.h"
#include "servers.h"
#include "support/scripted.h"
#include "support/testdir.h"

namespace {

class UpdateTest : public ::testing::Test {
protected:
    UpdateTest()
        : root(QString::fromStdString(dir.path().string())), ctx(root),
          server("httpserver.py", root + QStringLiteral("/requests.log")) {}

    void setDownLink(const QString& url) {
        platform::writeProfileString(ctx.path(QStringLiteral("TAVOLIN.INI")), QStringLiteral("Setup"),
                                     QStringLiteral("DownLink"), url);
    }
    // The whole check with "Ja" to the connection question and the given answers after it.
    bool check(const QString& folder, std::initializer_list<bool> more = {}) {
        setDownLink(server.base(folder));
        ctx.scripted.messages->queueAnswer(true);
        ctx.scripted.messages->queueAnswers(more);
        return online::DOWNLOADS(run);
    }
    bool exists(const QString& name) const { return QFileInfo::exists(root + QLatin1Char('/') + name); }
    QStringList requests() const {
        QFile f(root + QStringLiteral("/requests.log"));
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    const online::UpdateState& st() const { return run.state; }

    lwtest::TempDir dir;
    QString root;
    lwtest::ScriptedContext ctx;
    ScriptServer server;
    online::UpdateRun run{ctx, {}, {}, {}, 5000, QStringLiteral(LW_NET_MODULE)};
};

QByteArray installerBytes() {
    QByteArray b;
    for (int i = 0; i < 5000; ++i)
        b += char((i * 7 + 3) % 251);
    return b;
}

} // namespace

TEST(UpdateVersion, OnlyAHigherReleaseOfTheSameMajorVersionIsNewer) {
    auto desc = [](const char* v) {
        return online::offeredVersion(QStringLiteral("<x><Program_Version>%1</Program_Version>").arg(QLatin1String(v)));
    };
    EXPECT_EQ(desc("2.42"), QStringLiteral("2.42</P"));
    EXPECT_TRUE(online::isNewerVersion(desc("2.42"), QStringLiteral("2.41")));
    EXPECT_FALSE(online::isNewerVersion(desc("2.41"), QStringLiteral("2.41")));
    EXPECT_FALSE(online::isNewerVersion(desc("3.00"), QStringLiteral("2.41")));
    EXPECT_FALSE(online::isNewerVersion(desc("2.40"), QStringLiteral("2.41")));
    EXPECT_FALSE(online::isNewerVersion(QString(), QStringLiteral("2.41")));
    EXPECT_EQ(online::announcedSha256(QStringLiteral("<Program_Sha256> ABCdef </Program_Sha256>")),
              QStringLiteral("abcdef"));
    EXPECT_FALSE(online::announcedSha256(QStringLiteral("<Program_Version>2.42</Program_Version>")).has_value());
}

TEST(UpdateVersion, TheAddressIsShownUpToDeOrElseUpToItsHost) {
    EXPECT_EQ(online::urlForDisplay(QStringLiteral("http://www.lenkwerk.de/Downloads/Lenkwerk.xml")),
              QStringLiteral("http://www.lenkwerk.de"));
    EXPECT_EQ(online::urlForDisplay(QStringLiteral("http://127.0.0.1:8080/Downloads/Lenkwerk.xml")),
              QStringLiteral("http://127.0.0.1:8080"));
}

TEST_F(UpdateTest, ANewerVersionBringsTheVerifiedInstallerAndAnOlderOrOtherMajorOneDoesNot) {
    ASSERT_GT(server.port(), 0);
    EXPECT_TRUE(check(QStringLiteral("v242")));
    EXPECT_TRUE(st().LOK);
    EXPECT_FALSE(exists(QStringLiteral("Lenkwerk.xml"))) << "the description is deleted once read";
    QFile installer(root + QStringLiteral("/tvupdate.exe"));
    ASSERT_TRUE(installer.open(QIODevice::ReadOnly));
    EXPECT_EQ(installer.readAll(), installerBytes());
    EXPECT_EQ(st().CFSTAT, QStringLiteral("Software-Update wurde gefunden."));
    EXPECT_EQ(st().CDLOAD, QStringLiteral("Datei 'tvupdate.exe' erfolgreich empfangen.\rFertig: HTTP/1.0 200 X"));
    EXPECT_EQ(st().CVSTAT, QStringLiteral("<verbunden>"));
    EXPECT_EQ(ctx.scripted.messages->shown().size(), 1u) << "a verified file needs no further question";
    const QStringList req = requests();
    ASSERT_EQ(req.size(), 2);
    EXPECT_EQ(req[0], QStringLiteral("GET /v242/Lenkwerk.xml HTTP/1.0|127.0.0.1:%1").arg(server.port()));
    EXPECT_EQ(req[1], QStringLiteral("GET /v242/Lenkwerk.exe HTTP/1.0|127.0.0.1:%1").arg(server.port()));

    for (const char* folder : {"v241", "v300"}) {
        QFile::remove(root + QStringLiteral("/tvupdate.exe"));
        run.state = {};
        EXPECT_FALSE(check(QLatin1String(folder))) << folder;
        EXPECT_EQ(st().CFSTAT, QStringLiteral("Kein Lenkwerk-Update vorhanden.")) << folder;
        EXPECT_EQ(st().CDLOAD, QStringLiteral("Kein Download")) << folder;
        EXPECT_FALSE(exists(QStringLiteral("tvupdate.exe"))) << folder;
        EXPECT_FALSE(exists(QStringLiteral("Lenkwerk.xml"))) << folder;
    }
}

TEST_F(UpdateTest, ChunkedAndLengthlessRepliesCarryTheFilesToo) {
    for (const char* folder : {"chunked", "nolength"}) {
        run.state = {};
        EXPECT_TRUE(check(QLatin1String(folder))) << folder;
        QFile installer(root + QStringLiteral("/tvupdate.exe"));
        ASSERT_TRUE(installer.open(QIODevice::ReadOnly)) << folder;
        EXPECT_EQ(installer.readAll(), installerBytes()) << folder;
    }
}

TEST_F(UpdateTest, ASmallFileIsNotFoundAndAnErrorPageIsExaminedLikeAFile) {
    EXPECT_FALSE(check(QStringLiteral("small")));
    EXPECT_EQ(st().CFSTAT, QStringLiteral("Software-Update NICHT gefunden !"));
    EXPECT_EQ(st().CDLOAD, QStringLiteral("Kein Download !"));
    EXPECT_FALSE(exists(QStringLiteral("Lenkwerk.xml")));

    run.state = {};
    EXPECT_FALSE(check(QStringLiteral("errorpage")));
    EXPECT_EQ(st().CFSTAT, QStringLiteral("Kein Lenkwerk-Update vorhanden.")) << "saved and read, no version in it";
    EXPECT_EQ(requests().size(), 2);
}

TEST_F(UpdateTest, AWrongHashDeletesTheInstallerAndAMissingOneAsksFirst) {
    EXPECT_FALSE(check(QStringLiteral("badsha")));
    EXPECT_FALSE(exists(QStringLiteral("tvupdate.exe")));
    EXPECT_FALSE(st().LOK);
    ASSERT_EQ(ctx.scripted.messages->shown().size(), 2u);
    EXPECT_TRUE(ctx.scripted.messages->shown()[1].text.contains(QStringLiteral("Prüfsumme")));

    ctx.scripted.messages->clear();
    run.state = {};
    EXPECT_FALSE(check(QStringLiteral("nosha"), {false}));
    EXPECT_FALSE(exists(QStringLiteral("tvupdate.exe"))) << "declined: the unverified file is removed";
    ASSERT_EQ(ctx.scripted.messages->shown().size(), 2u);
    EXPECT_EQ(ctx.scripted.messages->shown()[1].kind, lwtest::ScriptedMessages::Kind::NoYes);

    run.state = {};
    EXPECT_TRUE(check(QStringLiteral("nosha"), {true}));
    EXPECT_TRUE(exists(QStringLiteral("tvupdate.exe")));
}

TEST_F(UpdateTest, NoToTheConnectionQuestionFetchesNothing) {
    setDownLink(server.base(QStringLiteral("v242")));
    ctx.scripted.messages->queueAnswer(false);
    EXPECT_FALSE(online::DOWNLOADS(run));
    EXPECT_TRUE(requests().isEmpty());
}

TEST_F(UpdateTest, HostileServersEndTheTransferAndLeaveNoPartialFile) {
    struct Case {
        const char* folder;
        const char* why;
    };
    for (const Case& c :
         {Case{"early", "closed before the announced length"}, Case{"longheader", "a 100 KB header line"},
          Case{"huge", "announces 50 MB"}, Case{"hugenolength", "sends 50 MB without a length"},
          Case{"lie", "announces 600 bytes and sends more"}}) {
        run.state = {};
        ctx.scripted.messages->clear();
        setDownLink(server.base(QLatin1String(c.folder)));
        ctx.scripted.messages->queueAnswer(true);
        run.state.CFILE = QStringLiteral("tvupdate.exe");
        QElapsedTimer t;
        t.start();
        EXPECT_FALSE(online::MAINOPEN(run, server.base(QLatin1String(c.folder)) + QStringLiteral("Lenkwerk.exe"), true,
                                      online::kInstallerCeiling))
            << c.why;
        EXPECT_LT(t.elapsed(), 20000) << c.why;
        EXPECT_FALSE(exists(QStringLiteral("tvupdate.exe"))) << c.why;
        EXPECT_EQ(st().CDLOAD, QStringLiteral("Kein Download !")) << c.why;
    }
}

TEST_F(UpdateTest, AStallingServerIsLeftAfterTheTimeOut) {
    run.state.CFILE = QStringLiteral("Lenkwerk.xml");
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(online::MAINOPEN(run, server.base(QStringLiteral("stall")) + QStringLiteral("Lenkwerk.xml"), false,
                                  online::kDescriptionCeiling));
    EXPECT_GE(t.elapsed(), 4500);
    EXPECT_LT(t.elapsed(), 9000);
    EXPECT_TRUE(st().CFSTAT.contains(QStringLiteral("Zeitüberschreitung")));
    EXPECT_FALSE(exists(QStringLiteral("Lenkwerk.xml")));

    // A head that trickles in never gets longer than one time-out either.
    run.timeoutMs = 2000;
    t.restart();
    EXPECT_FALSE(online::MAINOPEN(run, server.base(QStringLiteral("trickle")) + QStringLiteral("Lenkwerk.xml"), false,
                                  online::kDescriptionCeiling));
    EXPECT_LT(t.elapsed(), 4000);
}

TEST_F(UpdateTest, AServerThatIsDownOrAnUnknownSchemeGivesTheDialogsTexts) {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    setDownLink(QStringLiteral("http://127.0.0.1:%1/Downloads/").arg(port));
    ctx.scripted.messages->queueAnswer(true);
    EXPECT_FALSE(online::DOWNLOADS(run));
    EXPECT_EQ(st().CVSTAT, QStringLiteral("URL wurde nicht gefunden !"));
    EXPECT_EQ(st().CDLOAD, QStringLiteral("Kein Download"));
    EXPECT_EQ(st().CVURL, QStringLiteral("http://127.0.0.1:%1").arg(port));

    run.state = {};
    EXPECT_FALSE(online::MAINOPEN(run, QStringLiteral("gopher://127.0.0.1/x"), false, 1000));
    EXPECT_EQ(st().CFSTAT, QStringLiteral("Es wurde kein Update gefunden !"));

    run.state = {};
    EXPECT_FALSE(online::MAINOPEN(run, QString(), false, 1000));
    ASSERT_FALSE(ctx.scripted.messages->shown().empty());
    EXPECT_EQ(ctx.scripted.messages->shown().back().text, QStringLiteral("Es wurde keine URL gefunden !"));
}

TEST_F(UpdateTest, TheCounterShowsTheLastSizeAndTheInstallerStartsWithItsSwitches) {
    platform::writeProfileString(ctx.path(QStringLiteral("TAVOLIN.INI")), QStringLiteral("Setup"),
                                 QStringLiteral("LastUpSize"), QStringLiteral("4900"));
    std::vector<QString> shown;
    run.changed = [&] { shown.push_back(run.state.CDLOAD); };
    EXPECT_TRUE(check(QStringLiteral("v242")));
    EXPECT_NE(std::find(shown.begin(), shown.end(), QStringLiteral("5000 von ca. 4900")), shown.end());

    // The program file is copied into Backup/, the size noted, the installer started with an argument list.
    const QString program = root + QStringLiteral("/lenkwerk");
    lwtest::writeFile(dir / "lenkwerk", "programm");
    ASSERT_TRUE(online::startInstaller(ctx, program));
    QFile backup(root + QStringLiteral("/Backup/lenkwerk"));
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), QByteArray("programm"));
    EXPECT_EQ(online::readOnlineSettings(ctx).LastUpSize, QStringLiteral("5000"));
    ASSERT_EQ(ctx.scripted.shell->calls().size(), 1u);
    const auto& call = ctx.scripted.shell->calls()[0];
    EXPECT_EQ(call.what, QStringLiteral("process"));
    EXPECT_EQ(call.target, ctx.path(QStringLiteral("tvupdate.exe")));
    EXPECT_EQ(call.arguments,
              QStringList({QStringLiteral("/SILENT"), QStringLiteral("/DIR=") + QDir::toNativeSeparators(root)}));
    EXPECT_TRUE(QFileInfo(ctx.path(QStringLiteral("tvupdate.exe"))).isExecutable());
}

TEST(TipClient, TheRequestNamesPathQueryAndHostAndOnlyWebSchemesGetAClient) {
    auto client = online::TipClient::create(QUrl(QStringLiteral("http://www.example.invalid/Downloads/L.xml?a=1")));
    ASSERT_TRUE(client);
    EXPECT_EQ(client->request(), QByteArray("GET /Downloads/L.xml?a=1 HTTP/1.0\r\nHost: www.example.invalid\r\n"
                                            "Connection: close\r\n\r\n"));
    EXPECT_TRUE(online::TipClient::create(QUrl(QStringLiteral("https://h.invalid/"))));
    EXPECT_FALSE(online::TipClient::create(QUrl(QStringLiteral("ftp://h.invalid/x"))));
    EXPECT_FALSE(online::TipClient::create(QUrl(QStringLiteral("http:///x"))));
}

TEST_F(UpdateTest, WithoutTheNetworkModuleNothingIsFetchedAndTheDialogSaysWhy) {
    lwtest::writeFile(dir / "broken.so", "no library at all");
    for (const QString& module : {root + QStringLiteral("/lenkwerk-net.so"), root + QStringLiteral("/broken.so")}) {
        run.state = {};
        run.netModule = module;
        run.state.CFILE = QStringLiteral("Lenkwerk.xml");
        EXPECT_FALSE(online::MAINOPEN(run, server.base(QStringLiteral("v242")) + QStringLiteral("Lenkwerk.xml"), false,
                                      online::kDescriptionCeiling))
            << module.toStdString();
        EXPECT_EQ(st().CVSTAT, QStringLiteral("URL wurde nicht gefunden !")) << module.toStdString();
        EXPECT_EQ(st().CFSTAT, QStringLiteral("Netzwerkmodul %1 fehlt").arg(QFileInfo(module).fileName()));
        EXPECT_EQ(st().CDLOAD, QStringLiteral("Kein Download")) << module.toStdString();
        EXPECT_FALSE(exists(QStringLiteral("Lenkwerk.xml"))) << module.toStdString();
    }
    EXPECT_TRUE(requests().isEmpty());

    auto client =
        online::TipClient::create(QUrl(server.base(QStringLiteral("v242"))), root + QStringLiteral("/none.so"));
    ASSERT_TRUE(client);
    EXPECT_FALSE(client->open());
    EXPECT_FALSE(client->receive([](const char*, std::size_t) { return true; }, {}));
    EXPECT_EQ(client->error(), QStringLiteral("Keine Verbindung"));
}
