// The catalog and the learning-state tables as the start finds them: a catalog that cannot be read is named with
// its reason and nothing is made from it; a damaged learning-state table is set aside, never deleted, and made anew.
#include <gtest/gtest.h>

#include <functional>

#include "catalog/maintenance.h"
#include "catalog/startcheck.h"
#include "catalog/tables.h"
#include "update_support.h"

static std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << s.toStdString();
}

namespace {

using namespace updatetest;
using Kind = lwtest::ScriptedMessages::Kind;

void twoQuestions(const fs::path& dir) {
    writeCatalog(dir, {{"1.1.01-001", 1, "Eins?", "Ja", "Nein"}, {"1.1.01-002", 2, "Zwei?", "Ja", "Nein"}});
}

TEST(StartCheck, AnUnreadableCatalogIsNamedWithItsReasonAndNothingIsMadeFromIt) {
    const std::vector<std::tuple<std::string, std::string, std::function<void(const fs::path&)>>> cases = {
        {"FRAGEN.DBF", "fehlt", [](const fs::path& d) { fs::remove(d / "FRAGEN.DBF"); }},
        {"FRAGEN.DBF", "abgeschnitten",
         [](const fs::path& d) { fs::resize_file(d / "FRAGEN.DBF", fs::file_size(d / "FRAGEN.DBF") - 20); }},
        {"FRAGEN.DBF", "Kennbyte",
         [](const fs::path& d) {
             std::string bytes = lwtest::readFile(d / "FRAGEN.DBF");
             bytes[0] = '\x77';
             lwtest::writeFile(d / "FRAGEN.DBF", bytes);
         }},
        {"FRAGEN.DBF", "Kopflänge",
         [](const fs::path& d) {
             std::string bytes = lwtest::readFile(d / "FRAGEN.DBF");
             bytes[8] = '\x10'; // header length shorter than the field list
             bytes[9] = '\x01';
             lwtest::writeFile(d / "FRAGEN.DBF", bytes);
         }},
        {"FRAGEN.FPT", "fehlt", [](const fs::path& d) { fs::remove(d / "FRAGEN.FPT"); }},
    };
    for (const auto& [file, reason, damage] : cases) {
        SCOPED_TRACE(file + " " + reason);
        Program p;
        twoQuestions(p.dir.path());
        damage(p.dir.path());
        EXPECT_FALSE(catalog::prepareCatalog(p.ctx));
        const auto& shown = p.s.messages->shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].kind, Kind::Warning);
        EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("Die Fragendatenbank kann nicht gelesen werden:")));
        EXPECT_TRUE(shown[0].text.contains(QString::fromStdString(file))) << shown[0].text;
        EXPECT_TRUE(shown[0].text.contains(QString::fromStdString(reason))) << shown[0].text;
        EXPECT_TRUE(shown[0].text.contains(QStringLiteral("Training und Prüfung sind nicht verfügbar")));
        EXPECT_TRUE(p.ctx.catalogProblem.contains(QString::fromStdString(file))) << p.ctx.catalogProblem;
        EXPECT_FALSE(fs::exists(p / "LOCAL1.DBF"));
    }

    // A readable catalog clears the reason again.
    Program p;
    twoQuestions(p.dir.path());
    p.ctx.catalogProblem = QStringLiteral("FRAGEN.DBF fehlt");
    EXPECT_TRUE(catalog::prepareCatalog(p.ctx));
    EXPECT_TRUE(p.ctx.catalogProblem.isEmpty());
    EXPECT_TRUE(p.s.messages->shown().empty());
    EXPECT_EQ(rows(p / "LOCAL1.DBF").size(), 2u);
}

TEST(StartCheck, ADamagedLearningStateTableIsSetAsideAndMadeAnew) {
    const std::vector<std::tuple<std::string, std::function<void(const fs::path&)>>> cases = {
        {"0 Bytes", [](const fs::path& d) { lwtest::writeFile(d / "LOCAL1.DBF", ""); }},
        {"keine Fragen",
         [](const fs::path& d) {
             fs::remove(d / "LOCAL1.DBF");
             ASSERT_TRUE(store::Table::create(d / "LOCAL1.DBF", catalog::localFields()));
         }},
        {"passt nicht zum Kopf",
         [](const fs::path& d) {
             lwtest::writeFile(d / "LOCAL1.DBF", lwtest::readFile(d / "LOCAL1.DBF") + std::string(300, 'x'));
         }},
        {"abgeschnitten",
         [](const fs::path& d) { fs::resize_file(d / "LOCAL1.DBF", fs::file_size(d / "LOCAL1.DBF") - 30); }},
        {"FRAGENR", // not a learning-state table at all
         [](const fs::path& d) {
             fs::remove(d / "LOCAL1.DBF");
             ASSERT_TRUE(store::Table::create(d / "LOCAL1.DBF", {{"NAME", store::FieldType::Character, 8, 0}}));
         }},
    };
    for (const auto& [reason, damage] : cases) {
        SCOPED_TRACE(reason);
        Program p;
        twoQuestions(p.dir.path());
        ASSERT_EQ(catalog::MAKELOCAL(p.dir.path(), "LOCAL1"), catalog::MakeLocalResult::Created);
        damage(p.dir.path());
        const std::string damaged = p.file("LOCAL1.DBF");

        EXPECT_TRUE(catalog::prepareCatalog(p.ctx));
        EXPECT_EQ(p.file("LOCAL1_defekt1.DBF"), damaged); // kept byte for byte
        const auto fresh = rows(p / "LOCAL1.DBF");
        ASSERT_EQ(fresh.size(), 2u);
        EXPECT_EQ(fresh[1].at("FRAGENR"), "1.1.01-002");
        const auto& shown = p.s.messages->shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].kind, Kind::Warning);
        for (const char* part : {"LOCAL1.DBF", "LOCAL1_defekt1.DBF", "neu angelegt"})
            EXPECT_TRUE(shown[0].text.contains(QString::fromUtf8(part))) << shown[0].text;
        EXPECT_TRUE(shown[0].text.contains(QString::fromStdString(reason))) << shown[0].text;
    }
}

TEST(StartCheck, SoundTablesStayAndEarlierSetAsideOnesAreNeverOverwritten) {
    Program p;
    twoQuestions(p.dir.path());
    for (const char* local : {"LOCAL1", "LOCAL2"}) {
        ASSERT_EQ(catalog::MAKELOCAL(p.dir.path(), local), catalog::MakeLocalResult::Created);
        store::Session s;
        s.use(p / (std::string(local) + ".DBF"), "DLOC")->replace("ANTWORTEN", Value::number(7));
    }
    const std::string local1 = p.file("LOCAL1.DBF");
    EXPECT_TRUE(catalog::prepareCatalog(p.ctx));
    EXPECT_EQ(p.file("LOCAL1.DBF"), local1);
    EXPECT_TRUE(p.s.messages->shown().empty());

    // User 2 is logged in and their table is damaged, with an older set-aside copy there already.
    p.ctx.setLogin(core::LoginState{2, QStringLiteral("Zwei"), QStringLiteral("LOCAL2")});
    lwtest::writeFile(p / "LOCAL2_defekt1.DBF", "older");
    lwtest::writeFile(p / "LOCAL2.DBF", "");
    EXPECT_TRUE(catalog::prepareCatalog(p.ctx));
    EXPECT_EQ(p.file("LOCAL2_defekt1.DBF"), "older");
    EXPECT_EQ(p.file("LOCAL2_defekt2.DBF"), "");
    EXPECT_EQ(rows(p / "LOCAL2.DBF").size(), 2u); // the active learner has a table again
    EXPECT_EQ(p.file("LOCAL1.DBF"), local1);
    ASSERT_EQ(p.s.messages->shown().size(), 1u);
    EXPECT_TRUE(p.s.messages->shown()[0].text.contains(QStringLiteral("LOCAL2_defekt2.DBF")));
}

TEST(Maintenance, AFailedCommandSaysWhy) {
    Program p;
    twoQuestions(p.dir.path());
    fs::remove(p / "FRAGEN.FPT");
    EXPECT_FALSE(catalog::KONVTRANS(p.ctx));
    EXPECT_FALSE(catalog::DECRYPTALL(p.ctx));
    const auto& shown = p.s.messages->shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].kind, Kind::Warning);
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("Konvertieren DBT -> DBV ist fehlgeschlagen:")))
        << shown[0].text;
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("FRAGEN.FPT"))) << shown[0].text;
    EXPECT_TRUE(shown[1].text.startsWith(QStringLiteral("Verschlüsseln ist fehlgeschlagen:"))) << shown[1].text;
    EXPECT_EQ(p.s.messages->busyDepth(), 0);
    EXPECT_FALSE(fs::exists(p / "FRG.DBF"));

    // A command that works says nothing.
    Program q;
    twoQuestions(q.dir.path());
    EXPECT_TRUE(catalog::KONVTRANS(q.ctx));
    EXPECT_TRUE(q.s.messages->shown().empty());
}

} // namespace
