#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <map>

#include "catalog/crypt.h"
#include "catalog/maintenance.h"
#include "catalog/tables.h"
#include "catalog/update.h"
#include "store/workarea.h"
#include "support/testdir.h"
#include "core/context.h"
#include "update_support.h"

// Readable failure messages.
static std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << s.toStdString();
}

namespace {

using namespace updatetest;

namespace fs = std::filesystem;
using Kind = lwtest::ScriptedMessages::Kind;

TEST(UpdateImport, EveryMarkerOfTheLogbookAndTheCatalogAfterwards) {
    Program p;
    const std::string bmp = std::string("BM\x00\x01\x81\xFF\x0D\x0A", 8) + "bild";
    writeCatalog(p.dir.path(), {{"1.1.01-001", 1, "Erste?", "Eins", "Zwei", "Drei", true},
                                {"1.1.01-002", 1, "Weg damit?", "Ja", "Nein", "", true, false, false, 2},
                                {"1.1.01-003", 1, "Dritte?", "Ja", "Nein", "", true, false, false, 2},
                                {"1.1.01-004", 1, "Vierte?", "Alt eins", "Alt zwei", "Alt drei", false, true},
                                {"1.1.01-005", 1, "F\xFCnfte?", "A", "B", "C", false, false, true},
                                {"1.1.01-006", 1, "", "", "", "", false, false, false, 0}});
    ASSERT_EQ(catalog::MAKELOCAL(p.dir.path(), "LOCAL1"), catalog::MakeLocalResult::Created);
    ASSERT_EQ(catalog::MAKELOCAL(p.dir.path(), "LOCAL2"), catalog::MakeLocalResult::Created);
    writeUpdate(p.dir.path(),
                {{"2.2.02-001", 2, "Neu?", "Ja", "Nein", "", true, false, false, 2, 5, "2202-001", bmp},
                 {"1.1.01-002", 0, "", "", "", "", true, false, false, 2},
                 {"1.1.01-003", 1, "", "", "", "", true, true, false, 1},          // only OK2 changes, OK1 equal
                 {"1.1.01-004", 1, "", "Neu eins", "", "", false, true, false, 2}, // no text; 3rd answer goes quietly
                 {"1.1.01-005", 1, "", "", "", "", false, false, true, 0},         // empty 3rd answer taken and logged
                 {"1.1.01-006", 3, "Wieder da?", "X", "Y", "Z", false, true},      // catalog text was empty
                 {"9.9.99-999", 0}});
    p.ctx.settings.LS_SOUND = true;
    catalog::importUpdate(p.ctx);

    const std::string expected = kLogHead +
                                 "  1 Neu      2.2.02-001   Flag1 Bild Frage Antw1 Antw2\r\n"
                                 "  2 Gel\xF6scht 1.1.01-002  \r\n"
                                 "  3 Update 1.1.01-003   Flag2\r\n"
                                 "  4 Update 1.1.01-004   Antw1\r\n"
                                 "  5 Update 1.1.01-005   Antw3\r\n"
                                 "  6 Update 1.1.01-006   Flag2 Frage Antw1 Antw2 Antw3\r\n"
                                 "  7 Neu      9.9.99-999  \r\n"
                                 "\r\nEs wurden 7 Fragen aktualisiert.\r\n\r\n" +
                                 summary({1, 2, 2, 1, 2, 0, 3, 2, 2, 1});
    EXPECT_EQ(p.file("FRUPDATE.LOG"), expected);

    const auto cat = rows(p / "FRAGEN.DBF");
    ASSERT_EQ(cat.size(), 7u); // 1.1.01-002 packed away
    EXPECT_TRUE(byNumber(cat, "1.1.01-002").empty());
    const Row added = byNumber(cat, "2.2.02-001");
    EXPECT_EQ(added.at("THEMA"), "2");
    EXPECT_EQ(added.at("KLASSE_B"), "5");
    EXPECT_EQ(added.at("BITMAP"), "2202-001");
    EXPECT_EQ(added.at("PICTURE"), bmp);
    EXPECT_EQ(catalog::ENCRYPT(added.at("FRAGE")), "Neu?");
    EXPECT_EQ(byNumber(cat, "1.1.01-003").at("OK2"), "T");
    EXPECT_EQ(catalog::ENCRYPT(byNumber(cat, "1.1.01-003").at("ANTW1")), "Ja");
    const Row fourth = byNumber(cat, "1.1.01-004");
    EXPECT_EQ(catalog::ENCRYPT(fourth.at("FRAGE")), "Vierte?");
    EXPECT_EQ(catalog::ENCRYPT(fourth.at("ANTW1")), "Neu eins");
    EXPECT_EQ(catalog::ENCRYPT(fourth.at("ANTW2")), "Alt zwei");
    EXPECT_EQ(fourth.at("ANTW3"), "");
    EXPECT_EQ(byNumber(cat, "1.1.01-005").at("ANTW3"), "");
    EXPECT_EQ(byNumber(cat, "1.1.01-006").at("THEMA"), "3");
    EXPECT_EQ(catalog::ENCRYPT(byNumber(cat, "1.1.01-006").at("FRAGE")), "Wieder da?");
    EXPECT_EQ(byNumber(cat, "9.9.99-999").at("THEMA"), "0");

    for (const char* gone : {"FRUPDATE.DBF", "FRUPDATE.FPT", "FRAGEN.CDX", "LOCAL2.DBF"})
        EXPECT_FALSE(fs::exists(p / gone)) << gone;
    const auto local = rows(p / "LOCAL1.DBF");
    ASSERT_EQ(local.size(), 7u);
    EXPECT_EQ(byNumber(local, "2.2.02-001").at("THEMA"), "2");

    const auto& shown = p.s.messages->shown();
    ASSERT_EQ(shown.size(), 2u); // the closing question belongs to the dialogs' tests
    EXPECT_EQ(shown[0].kind, Kind::Info);
    EXPECT_EQ(shown[0].text, QStringLiteral("Es wird nun ein Update für die\rFragendatenbank importiert !"));
    EXPECT_EQ(shown[0].title, QStringLiteral("Update"));
    EXPECT_EQ(shown[1].kind, Kind::Meter);
    EXPECT_EQ(shown[1].text, QStringLiteral("FRAGEN Index aufbauen..."));
    EXPECT_EQ(p.s.sound->played(), QStringList{QStringLiteral(".\\Sounds\\Tavolin.wav")});

    // The next start finds no update and says nothing.
    p.s.messages->clear();
    catalog::importUpdate(p.ctx);
    EXPECT_TRUE(p.s.messages->shown().empty());
}

TEST(UpdateImport, LearningStateIsResetEvenWhenNothingChanges) {
    Program p;
    writeCatalog(p.dir.path(), {{"1.1.01-001", 1, "Frage?", "Ja", "Nein", "", true, false, false, 2}});
    for (int user : {1, 2}) {
        const std::string local = "LOCAL" + std::to_string(user);
        ASSERT_EQ(catalog::MAKELOCAL(p.dir.path(), local), catalog::MakeLocalResult::Created);
        store::Session s;
        store::WorkArea* l = s.use(p / (local + ".DBF"), "DLOC");
        l->replace("ANTWORTEN", Value::number(9));
    }
    p.ctx.settings.LS_SPEECH = true;
    // User 2 is logged in: their table must be there to work on after the import.
    p.ctx.setLogin(core::LoginState{0, {}, QStringLiteral("LOCAL2")});
    writeUpdate(p.dir.path(), {{"1.1.01-001", 1, "", "", "", "", true, false, false, 2}});
    ASSERT_EQ(catalog::importUpdate(p.ctx), catalog::UpdateResult::Imported);

    EXPECT_EQ(p.file("FRUPDATE.LOG"), kLogHead +
                                          "  1 Update 1.1.01-001  \r\n\r\nEs wurden 1 Fragen aktualisiert.\r\n\r\n" +
                                          summary({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    for (const char* local : {"LOCAL1.DBF", "LOCAL2.DBF"}) {
        const auto r = rows(p / local);
        ASSERT_EQ(r.size(), 1u) << local;
        EXPECT_EQ(r[0].at("ANTWORTEN"), "0") << local;
    }
    ASSERT_EQ(p.s.speech->spoken().size(), 1u); // one greeting, speech instead of the sound
    EXPECT_EQ(p.s.speech->spoken()[0], QStringList{QStringLiteral("Die Sprachausgabe ist eingeschaltet!")});
    EXPECT_TRUE(p.s.sound->played().isEmpty());

    // With user 1 active, user 2's table waits for their next login.
    writeUpdate(p.dir.path(), {{"1.1.01-001", 1, "", "", "", "", true, false, false, 2}});
    p.ctx.setLogin(core::LoginState{0, {}, QStringLiteral("LOCAL1")});
    ASSERT_EQ(catalog::importUpdate(p.ctx), catalog::UpdateResult::Imported);
    EXPECT_TRUE(fs::exists(p / "LOCAL1.DBF"));
    EXPECT_FALSE(fs::exists(p / "LOCAL2.DBF"));
}

TEST(UpdateImport, QuestionDeletedAndBroughtBackInOneUpdateSurvivesThePack) {
    Program p;
    writeCatalog(p.dir.path(), {{"1.1.01-001", 1, "Alt?", "Ja", "Nein", "", true, false, false, 2}});
    writeUpdate(p.dir.path(), {{"1.1.01-001", 0}, {"1.1.01-001", 4, "Neu?", "", "", "", true, false, false, 2}});
    ASSERT_EQ(catalog::importUpdate(p.ctx), catalog::UpdateResult::Imported);
    const std::string log = p.file("FRUPDATE.LOG");
    EXPECT_NE(log.find("  1 Gel\xF6scht 1.1.01-001  \r\n  2 Update 1.1.01-001   Frage\r\n"), std::string::npos) << log;
    const auto cat = rows(p / "FRAGEN.DBF");
    ASSERT_EQ(cat.size(), 1u);
    EXPECT_EQ(cat[0].at("THEMA"), "4");
    EXPECT_EQ(catalog::ENCRYPT(cat[0].at("FRAGE")), "Neu?");
}

TEST(UpdateImport, RunningNumbersAbove999AreStars) {
    Program p;
    writeCatalog(p.dir.path(), {});
    writeUpdate(p.dir.path(), {}, {},
                "for i in range(1, 1001):\n    t.append({'fragenr': '9.9.%05d' % i, 'thema': 0})");
    ASSERT_EQ(catalog::importUpdate(p.ctx), catalog::UpdateResult::Imported);
    const std::string log = p.file("FRUPDATE.LOG");
    EXPECT_NE(log.find("\r\n999 Neu      9.9.00999   \r\n*** Neu      9.9.01000   \r\n\r\nEs wurden 1000 Fragen"),
              std::string::npos);
    EXPECT_NE(log.find("Neue Fragen: 1000\r\n"), std::string::npos);
    EXPECT_EQ(rows(p / "FRAGEN.DBF").size(), 1000u);
}


// A broken update: the message names the file, the catalog and the learning state stay byte for byte, the update
// is set aside so that the next start goes through.
TEST(UpdateImport, UnusableUpdateLeavesEverythingAsItWasAndIsSetAside) {
    const std::vector<Q> update = {{"1.1.01-001", 2, "Lange neue Frage mit viel Text?", "Ja", "Nein", "Vielleicht"},
                                   {"1.1.01-002", 2, "Noch eine?", "A", "B", "C"},
                                   {"1.1.01-003", 2, "Und die dritte?", "A", "B", "C"}};
    const std::vector<std::pair<std::string, std::function<void(const fs::path&)>>> cases = {
        {"MC_ANZAHL", [&](const fs::path& d) { writeUpdate(d, update, "MC_ANZAHL"); }},
        {"FRUPDATE.FPT",
         [&](const fs::path& d) {
             writeUpdate(d, update);
             fs::remove(d / "FRUPDATE.FPT");
         }},
        {"abgeschnitten",
         [&](const fs::path& d) {
             writeUpdate(d, update);
             fs::resize_file(d / "FRUPDATE.DBF", fs::file_size(d / "FRUPDATE.DBF") - 60);
         }},
        {"FRUPDATE.FPT",
         [&](const fs::path& d) {
             writeUpdate(d, update);
             fs::resize_file(d / "FRUPDATE.FPT", 600);
         }},
    };
    for (const auto& [why, damage] : cases) {
        SCOPED_TRACE(why);
        Program p;
        writeCatalog(p.dir.path(), {{"1.1.01-001", 1, "Alt?", "Ja", "Nein", "", true, false, false, 2}});
        ASSERT_EQ(catalog::MAKELOCAL(p.dir.path(), "LOCAL1"), catalog::MakeLocalResult::Created);
        lwtest::writeFile(p / "LOCAL2.DBF", p.file("LOCAL1.DBF"));
        const std::string dbf = p.file("FRAGEN.DBF"), fpt = p.file("FRAGEN.FPT"), local = p.file("LOCAL1.DBF");
        damage(p.dir.path());

        catalog::importUpdate(p.ctx);
        EXPECT_EQ(p.file("FRAGEN.DBF"), dbf);
        EXPECT_EQ(p.file("FRAGEN.FPT"), fpt);
        EXPECT_EQ(p.file("LOCAL1.DBF"), local);
        EXPECT_EQ(p.file("LOCAL2.DBF"), local);
        EXPECT_FALSE(fs::exists(p / "FRUPDATE.LOG"));
        EXPECT_FALSE(fs::exists(p / "FRUPDATE.DBF"));
        EXPECT_TRUE(fs::exists(p / "FRUPDERR.DBF"));
        const auto& shown = p.s.messages->shown();
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[1].kind, Kind::Warning);
        EXPECT_TRUE(shown[1].text.contains(QStringLiteral("FRUPDATE.DBF"))) << shown[1].text;
        EXPECT_TRUE(shown[1].text.contains(QString::fromStdString(why))) << shown[1].text;
        EXPECT_TRUE(shown[1].text.contains(QStringLiteral("FRUPDERR.DBF"))) << shown[1].text;
    }
}

TEST(UpdateImport, CatalogThatCannotBeOpenedLosesNothingAndTheUpdateWaits) {
    Program p;
    writeCatalog(p.dir.path(), {{"1.1.01-001", 1, "Alt?", "Ja", "Nein", "", true, false, false, 2}});
    ASSERT_EQ(catalog::MAKELOCAL(p.dir.path(), "LOCAL1"), catalog::MakeLocalResult::Created);
    writeUpdate(p.dir.path(), {{"1.1.01-001", 0}});
    const std::string dbf = p.file("FRAGEN.DBF"), update = p.file("FRUPDATE.DBF");
    {
        auto held = store::Table::open(p / "FRAGEN.DBF"); // someone else has the catalog
        ASSERT_TRUE(held);
        EXPECT_EQ(catalog::importUpdate(p.ctx), catalog::UpdateResult::CatalogUnavailable);
    }
    EXPECT_EQ(p.file("FRAGEN.DBF"), dbf);
    EXPECT_EQ(p.file("FRUPDATE.DBF"), update);
    EXPECT_TRUE(fs::exists(p / "LOCAL1.DBF"));
    ASSERT_EQ(p.s.messages->shown().size(), 2u);
    EXPECT_TRUE(p.s.messages->shown()[1].text.contains(QStringLiteral("gesperrt"))) << p.s.messages->shown()[1].text;

    EXPECT_EQ(catalog::importUpdate(p.ctx), catalog::UpdateResult::Imported);
    EXPECT_TRUE(rows(p / "FRAGEN.DBF").empty());
}

TEST(Maintenance, ScramblingTwiceChangesNothingAndUnscramblingRoundTrips) {
    Program p;
    writeCatalog(p.dir.path(), {{"1.1.01-001", 1, "Wer hat Vorfahrt?", "Ich", "Du", "Keiner"}});
    const std::string dbf = p.file("FRAGEN.DBF"), fpt = p.file("FRAGEN.FPT");
    ASSERT_TRUE(catalog::DECRYPTALL(p.ctx));
    EXPECT_EQ(p.file("FRAGEN.DBF"), dbf);
    EXPECT_EQ(p.file("FRAGEN.FPT"), fpt);

    ASSERT_TRUE(catalog::ENCRYPTALL(p.ctx));
    EXPECT_EQ(rows(p / "FRAGEN.DBF")[0].at("FRAGE"), "Wer hat Vorfahrt?");
    EXPECT_EQ(rows(p / "FRAGEN.DBF")[0].at("ANTW3"), "Keiner");
    ASSERT_TRUE(catalog::DECRYPTALL(p.ctx));
    EXPECT_EQ(rows(p / "FRAGEN.DBF")[0].at("FRAGE"), catalog::DECRYPT("Wer hat Vorfahrt?"));
}

TEST(Maintenance, PicturesAreReadFromMaintBitmapsWithoutRegardToCase) {
    Program p;
    writeCatalog(
        p.dir.path(),
        {{"1.1.02-001"}, {"ABCDEFG"}, {"1.1.02-002", 1, "", "", "", "", false, false, false, 3, 3, "1102-002", "alt"}});
    fs::create_directories(p / "maint/BITMAPS");
    lwtest::writeFile(p / "maint/BITMAPS/1102-001.bmp", std::string("BM\0\x01\xFF", 5));
    lwtest::writeFile(p / "maint/BITMAPS/ABCD.BMP", "BMabcd");
    ASSERT_TRUE(catalog::IMPORTPICS(p.ctx));
    const auto cat = rows(p / "FRAGEN.DBF");
    EXPECT_EQ(cat[0].at("BITMAP"), "1102-001");
    EXPECT_EQ(cat[0].at("PICTURE"), std::string("BM\0\x01\xFF", 5));
    EXPECT_EQ(cat[1].at("BITMAP"), "ABCD"); // no hyphen: the first four characters
    EXPECT_EQ(cat[1].at("PICTURE"), "BMabcd");
    EXPECT_EQ(cat[2].at("BITMAP"), "KEINBILD");
    EXPECT_EQ(cat[2].at("PICTURE"), "alt");
}

TEST(Maintenance, CopyTableHasEveryRecordLiveAndTheCatalogStays) {
    Program p;
    writeCatalog(p.dir.path(), {{"1.1.01-001", 1, "Eins?", "A", "B", "C", true, false, true, 3, 4, "KEINBILD", "px"},
                                {"1.1.01-002", 2, "Zwei?"}});
    {
        store::Session s;
        s.use(p / "FRAGEN.DBF", "DFRG")->deleteRecord();
    }
    const std::string dbf = p.file("FRAGEN.DBF");
    ASSERT_TRUE(catalog::KONVTRANS(p.ctx));
    EXPECT_EQ(p.file("FRAGEN.DBF"), dbf);
    auto original = rows(p / "FRAGEN.DBF");
    const auto copy = rows(p / "FRG.DBF");
    ASSERT_EQ(copy.size(), 2u);
    EXPECT_EQ(original[0].at("*"), "1");
    original[0]["*"] = "0";
    EXPECT_EQ(copy, original);
}

TEST(Maintenance, ExportedQuestionsAppendToTheUpdateAndImportAgain) {
    Program p;
    writeCatalog(p.dir.path(), {{"1.1.01-001", 1, "Eins?"},
                                {"1.1.01-002", 2, "Zwei?", "A", "B", "", true, false, false, 2, 4, "1101-002", "pic"}});
    store::Session session;
    store::WorkArea* dfra = session.use(p / "FRAGEN.DBF", "DFRA");
    ASSERT_TRUE(dfra->indexOn("FRAGENR", p / "FRAGEN.CDX", "FRAGEN"));
    dfra->goTo(2);
    ASSERT_TRUE(catalog::MAKEUPDATE(p.ctx, session));
    ASSERT_TRUE(catalog::MAKEUPDATE(p.ctx, session));
    dfra = session.find("DFRA");
    ASSERT_NE(dfra, nullptr);
    EXPECT_EQ(dfra->recNo(), 2u);
    ASSERT_NE(dfra->controllingTag(), nullptr);
    session.closeAll();

    const auto exported = rows(p / "FRUPDATE.DBF");
    ASSERT_EQ(exported.size(), 2u);
    EXPECT_EQ(exported[0], rows(p / "FRAGEN.DBF")[1]);
    EXPECT_EQ(exported[1], exported[0]);
    ASSERT_EQ(catalog::importUpdate(p.ctx), catalog::UpdateResult::Imported);
    EXPECT_NE(p.file("FRUPDATE.LOG")
                  .find("  1 Update 1.1.01-002   Bild Frage Antw1 Antw2\r\n"
                        "  2 Update 1.1.01-002   Bild Frage Antw1 Antw2\r\n"),
              std::string::npos);
}

} // namespace
