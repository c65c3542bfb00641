#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "catalog/crypt.h"
#include "catalog/tables.h"
#include "catalogsource.h"
#include "store/codepage.h"
#include "store/workarea.h"
#include "support/testdir.h"

namespace {

const char* const kGood = R"(nr: 1.1.02-001
frage: Zwischen geparkten Autos rollt ein Ball auf die Fahrbahn. Womit müssen
  Sie rechnen?
+ Dass ein Kind hinterherläuft
- Mit nichts Besonderem
punkte: A=5 B=5 MO=4
bild: ja
)";

const char* const kNumber = R"(nr: 1.1.05-002
frage: Wie lang ist der Bremsweg bei 50 km/h nach der Faustformel?
vor: Etwa
wert: 25
nach: Meter
punkte: B=3
)";

// A source folder with the given family files: {"grund/thema1.txt", text}.
void writeCatalog(const lwtest::TempDir& dir, const std::map<std::string, std::string>& files,
                  bool withPicture = true) {
    for (const auto& [name, text] : files) {
        std::filesystem::create_directories((dir / name).parent_path());
        lwtest::writeFile(dir / name, text);
    }
    std::filesystem::create_directories(dir / "pictures");
    if (withPicture)
        lwtest::writeFile(dir / "pictures/1102-001.svg",
                          R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 318 200" width="318" height="200">)"
                          R"(<rect width="318" height="200" fill="#8c8"/><circle cx="160" cy="120" r="30" fill="red"/>)"
                          R"(</svg>)");
}

std::vector<std::string> faultsOf(const std::map<std::string, std::string>& files, bool withPicture = true) {
    lwtest::TempDir dir;
    writeCatalog(dir, files, withPicture);
    auto catalog = catalogsrc::readCatalog(dir.path());
    catalogsrc::validate(catalog, dir / "pictures");
    std::vector<std::string> out;
    for (const auto& f : catalog.faults)
        out.push_back(f.message);
    return out;
}

bool mentions(const std::vector<std::string>& faults, const std::string& text) {
    for (const auto& f : faults)
        if (f.find(text) != std::string::npos)
            return true;
    return false;
}

TEST(CatalogSource, AWellFormedCatalogHasNoFaults) {
    const auto faults = faultsOf({{"grund/thema1.txt", std::string(kGood) + "\n" + kNumber}});
    EXPECT_TRUE(faults.empty()) << (faults.empty() ? "" : faults.front());
}

TEST(CatalogSource, EveryKindOfFaultIsRejectedWithItsOwnMessage) {
    struct Case {
        const char* what;
        std::string file;
        std::string text;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"number form", "grund/thema1.txt", "nr: 1.1.2-001\nfrage: x\n+ a\n- b\npunkte: B=3\n", "Form G.T.UU-NNN"},
        {"duplicate", "grund/thema1.txt", std::string(kNumber) + "\n" + kNumber, "doppelt"},
        {"theme vs file", "grund/thema2.txt", kNumber, "passt nicht zur Datei"},
        {"group vs family", "b/thema1.txt", kNumber, "Zusatzstoff muss mit 2 beginnen"},
        {"no text", "grund/thema1.txt", "nr: 1.1.01-003\n+ a\n- b\npunkte: B=3\n", "Fragetext fehlt"},
        {"one answer", "grund/thema1.txt", "nr: 1.1.01-003\nfrage: x\n+ a\npunkte: B=3\n", "zwei oder drei"},
        {"none right", "grund/thema1.txt", "nr: 1.1.01-003\nfrage: x\n- a\n- b\npunkte: B=3\n", "keine Antwort"},
        {"points", "grund/thema1.txt", "nr: 1.1.01-003\nfrage: x\n+ a\n- b\npunkte: B=6\n", "2 bis 5"},
        {"no class", "grund/thema1.txt", "nr: 1.1.01-003\nfrage: x\n+ a\n- b\n", "keiner Klasse"},
        {"unknown column", "grund/thema1.txt", "nr: 1.1.01-003\nfrage: x\n+ a\n- b\npunkte: Q=3\n",
         "unbekannte Klassenspalte"},
        {"value form", "grund/thema1.txt", "nr: 1.1.01-003\nfrage: x\nwert: 5 m\npunkte: B=3\n", "keine Zahl"},
        {"value not shortest", "grund/thema1.txt", "nr: 1.1.01-003\nfrage: x\nwert: 0,50\npunkte: B=3\n",
         "kürzesten Form"},
        {"long framing text", "grund/thema1.txt",
         "nr: 1.1.01-003\nfrage: x\nvor: " + std::string(31, 'x') + "\nwert: 5\npunkte: B=3\n", "länger als 30"},
        {"answers on a number question", "grund/thema1.txt", "nr: 1.1.01-003\nfrage: x\nwert: 5\n+ a\npunkte: B=3\n",
         "keine Antworten"},
        {"stored sign in a text", "grund/thema1.txt", "nr: 1.1.01-003\nfrage: Preis in ¤\n+ a\n- b\npunkte: B=3\n",
         "Verschlüsselungstabelle"},
        {"unknown key", "grund/thema1.txt", "nr: 1.1.01-003\nfrage: x\nantwort: a\npunkte: B=3\n",
         "unbekannter Schlüssel"},
        {"missing picture", "grund/thema1.txt", "nr: 1.1.01-003\nfrage: x\n+ a\n- b\npunkte: B=3\nbild: ja\n",
         "Bild fehlt"},
    };
    for (const Case& c : cases) {
        const auto faults = faultsOf({{c.file, c.text}});
        EXPECT_TRUE(mentions(faults, c.expected))
            << c.what << ": " << (faults.empty() ? std::string("no fault") : faults.front());
    }
}

// One multiple-choice question of class B with the given pattern ("+-" or "-++" ...).
std::string choiceQuestion(const std::string& nr, const std::string& pattern, const std::string& text = "",
                           const std::string& punkte = "B=3", bool picture = false) {
    std::string q = "nr: " + nr + "\nfrage: " + (text.empty() ? "Frage " + nr : text) + "\n";
    for (size_t i = 0; i < pattern.size(); ++i)
        q += std::string(1, pattern[i]) + " Antwort " + std::to_string(i + 1) + "\n";
    return q + "punkte: " + punkte + "\n" + (picture ? "bild: ja\n" : "") + "\n";
}

TEST(CatalogSource, RightAnswerPatternsAreCountedAndOneOverTheLimitIsRefused) {
    lwtest::TempDir dir;
    writeCatalog(dir, {{"grund/thema1.txt", choiceQuestion("1.1.01-001", "+--") + choiceQuestion("1.1.01-002", "+--") +
                                                choiceQuestion("1.1.01-003", "-+-") +
                                                choiceQuestion("1.1.01-004", "+++") + kNumber}});
    auto catalog = catalogsrc::readCatalog(dir.path());
    const auto d = catalogsrc::answerPatterns(catalog);
    EXPECT_EQ(d.multipleChoice, 4); // the number question has no pattern
    ASSERT_EQ(d.patterns.size(), 3u);
    EXPECT_EQ(d.patterns[0].pattern, "+ - -");
    EXPECT_EQ(d.patterns[0].count, 2);
    EXPECT_EQ(d.patterns[1].pattern, "+ + +");
    EXPECT_EQ(d.patterns[2].pattern, "- + -");

    catalogsrc::checkAnswerPatterns(catalog, 50); // exactly half is not over half
    EXPECT_TRUE(catalog.faults.empty());
    catalogsrc::checkAnswerPatterns(catalog, 40);
    ASSERT_EQ(catalog.faults.size(), 1u);
    EXPECT_NE(catalog.faults[0].message.find("„+ - -“ bei 2 von 4"), std::string::npos) << catalog.faults[0].message;
}

TEST(CatalogSource, AQuestionTextRepeatedWithinAClassIsRefused) {
    struct Case {
        const char* what;
        std::map<std::string, std::string> files;
        bool refused;
    };
    const std::string text = "Was müssen Sie beim Abbiegen beachten?";
    const std::string variant = "  was MÜSSEN sie beim   abbiegen beachten?";
    const std::vector<Case> cases = {
        {"blanks and case",
         {{"grund/thema1.txt",
           choiceQuestion("1.1.01-001", "+-", text, "A=3 B=3") + choiceQuestion("1.1.01-002", "-+", variant, "B=3")}},
         true},
        {"basic material against the class's own",
         {{"grund/thema1.txt", choiceQuestion("1.1.01-001", "+-", text, "A=3 B=3 C=3")},
          {"b/thema1.txt", choiceQuestion("2.1.01-201", "-+", variant)}},
         true},
        {"a bus question scored for CE against a lorry question",
         {{"c/thema1.txt", choiceQuestion("2.1.01-301", "+-", text, "C=3 CE=3")},
          {"d/thema1.txt", choiceQuestion("2.1.01-401", "-+", text, "D=3 CE=3")}},
         true},
        {"different classes",
         {{"b/thema1.txt", choiceQuestion("2.1.01-201", "+-", text)},
          {"c/thema1.txt", choiceQuestion("2.1.01-301", "-+", text, "C=3")}},
         false},
        {"basic material not tested with that class",
         {{"grund/thema1.txt", choiceQuestion("1.1.01-001", "+-", text, "C=3 D=3")},
          {"b/thema1.txt", choiceQuestion("2.1.01-201", "-+", text)}},
         false},
        {"a picture each",
         {{"grund/thema1.txt", choiceQuestion("1.1.01-001", "+-", text, "B=3", true) +
                                   choiceQuestion("1.1.02-001", "-+", text, "B=3", true)}},
         false},
        {"a picture on one only",
         {{"grund/thema1.txt",
           choiceQuestion("1.1.01-001", "+-", text, "B=3", true) + choiceQuestion("1.1.02-001", "-+", text, "B=3")}},
         true},
    };
    for (const Case& c : cases) {
        lwtest::TempDir dir;
        writeCatalog(dir, c.files);
        lwtest::writeFile(dir / "pictures/1101-001.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
        auto catalog = catalogsrc::readCatalog(dir.path());
        catalogsrc::validate(catalog, dir / "pictures");
        int repeats = 0;
        for (const auto& f : catalog.faults)
            repeats += f.message.find("wiederholt") != std::string::npos;
        EXPECT_EQ(repeats, c.refused ? 1 : 0) << c.what;
    }
}

TEST(CatalogSource, AReviewRowWithoutABasisIsRefused) {
    lwtest::TempDir dir;
    lwtest::writeFile(dir / "REVIEW.md", "| Nummer | Urteil | Änderung |\n"
                                         "|---|---|---|\n"
                                         "| 1.5.01-714 | richtig | Geprüft. |\n"
                                         "| 1.1.10-023 | richtig | geprüft: Gefahrenlehre (Ermüdung) |\n"
                                         "| 1.7.01-721 | richtig | Quelle: |\n"
                                         "| 1.1.05-013 | korrigiert | Antwort ersetzt; § 3 Abs. 1 StVO |\n"
                                         "| 2.6.04-351 | richtig | geprüft: Art. 8 Abs. 6 VO (EG) 561/2006 |\n"
                                         "| 1.4.01-086 | richtig | geprüft: Zeichen 101, Anlage 1 |\n"
                                         "| 2.5.01-152 | richtig | geprüft: Rücknahme nach der Altölverordnung |\n"
                                         "| 1.7.01-722 | richtig | Quelle: Faustformel für den Bremsweg |\n"
                                         "Fließtext mit | 1.1.01-001 | Geprüft. | ist keine Zeile\n");
    catalogsrc::Catalog catalog;
    catalogsrc::checkReview(catalog, dir / "REVIEW.md");
    std::vector<std::string> where;
    for (const auto& f : catalog.faults)
        where.push_back(f.where + " " + f.message.substr(0, 10));
    EXPECT_EQ(where,
              (std::vector<std::string>{"REVIEW.md:3 1.5.01-714", "REVIEW.md:4 1.1.10-023", "REVIEW.md:5 1.7.01-721"}));
}

TEST(CatalogSource, TheDeliveredCatalogIsCleanAndComposesEveryClassExamThreeTimesOver) {
    const std::filesystem::path source = std::filesystem::path(LW_SOURCE_DIR) / "data/catalog";
    auto catalog = catalogsrc::readCatalog(source);
    catalogsrc::validate(catalog, source / "pictures");
    catalogsrc::checkCoverage(catalog, 3);
    catalogsrc::checkAnswerPatterns(catalog, 40);
    catalogsrc::checkReview(catalog, source / "REVIEW.md");
    for (const auto& f : catalog.faults)
        ADD_FAILURE() << f.where << ": " << f.message;
    EXPECT_GE(catalog.questions.size(), 400u);
    int numbers = 0, pictures = 0, allRight = 0;
    for (const auto& q : catalog.questions) {
        numbers += q.isNumberQuestion();
        pictures += q.bild;
        allRight += !q.answers.empty() && std::all_of(q.answers.begin(), q.answers.end(),
                                                      [](const catalogsrc::Answer& a) { return a.right; });
    }
    EXPECT_GE(allRight * 100, 9 * (static_cast<int>(catalog.questions.size()) - numbers)); // about one in ten
    EXPECT_GE(numbers, 40);
    EXPECT_GE(pictures, 80);
}

TEST(CatalogCompiler, WritesTheCatalogTableThatTheProgramAndDbfreadRead) {
    lwtest::TempDir src;
    writeCatalog(src, {{"grund/thema1.txt", std::string(kGood) + "\n" + kNumber}});
    lwtest::TempDir out;
    std::string log;
    ASSERT_EQ(lwtest::runCommand(std::string("QT_QPA_PLATFORM=offscreen '") + LW_MKCATALOG +
                                     "' --coverage 0 --pattern-limit 100 '" + src.path().string() + "' '" +
                                     out.path().string() + "' 2>&1",
                                 &log),
              0)
        << log;
    EXPECT_NE(log.find("+ -        1  100.0 %"), std::string::npos) << log;

    store::Session s;
    store::WorkArea* f = s.use(out / "FRAGEN.DBF", "DFRG", store::Table::Mode::SharedRead);
    ASSERT_NE(f, nullptr);
    const auto expected = catalog::fragenFields();
    ASSERT_EQ(f->table().fieldCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < f->table().fieldCount(); ++i) {
        EXPECT_EQ(f->table().fieldDef(i).name, expected[static_cast<size_t>(i)].name);
        EXPECT_EQ(f->table().fieldDef(i).length, expected[static_cast<size_t>(i)].length);
    }
    ASSERT_TRUE(f->openIndex(out / "FRAGEN.CDX"));
    ASSERT_TRUE(f->seek("1.1.02-001"));
    EXPECT_EQ(catalog::ENCRYPT(f->text("FRAGE")),
              store::utf8ToCp1252("Zwischen geparkten Autos rollt ein Ball auf die Fahrbahn. Womit müssen Sie rechnen?"));
    EXPECT_NE(f->text("FRAGE"), catalog::ENCRYPT(f->text("FRAGE"))); // stored scrambled
    EXPECT_EQ(catalog::ENCRYPT(f->text("ANTW1")), store::utf8ToCp1252("Dass ein Kind hinterherläuft"));
    EXPECT_TRUE(f->logical("OK1"));
    EXPECT_FALSE(f->logical("OK2"));
    EXPECT_EQ(f->number("KLASSE_A"), 5);
    EXPECT_EQ(f->number("KLASSE_MO"), 4);
    EXPECT_EQ(f->number("KLASSE_C"), 0);
    EXPECT_EQ(f->text("BITMAP"), "1102-001");
    const std::string bmp = f->value("PICTURE").asText();
    ASSERT_GT(bmp.size(), 54u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    auto le32 = [&](size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at]) |
                                          static_cast<unsigned char>(bmp[at + 1]) << 8 |
                                          static_cast<unsigned char>(bmp[at + 2]) << 16 |
                                          static_cast<unsigned char>(bmp[at + 3]) << 24);
    };
    EXPECT_EQ(le32(2), bmp.size());
    EXPECT_EQ(le32(18), 318u);
    EXPECT_EQ(le32(22), 200u);

    ASSERT_TRUE(f->seek("1.1.05-002"));
    EXPECT_EQ(f->text("MC_WERT"), "25");
    EXPECT_EQ(f->text("MC_VOR"), "Etwa");
    EXPECT_EQ(f->text("BITMAP"), "KEINBILD");
    s.closeAll();

    // An independent reader sees the same table.
    std::string dump;
    ASSERT_EQ(lwtest::runCommand("/usr/bin/python3 -c \"import dbfread,sys; t=dbfread.DBF(sys.argv[1], "
                                 "encoding='cp1252'); print([f.name+':'+f.type+str(f.length) for f in t.fields]); "
                                 "[print(r['FRAGENR'], r['MC_WERT'], r['KLASSE_B'], len(r['PICTURE'] or b'')) for r in t]\" '" +
                                     (out / "FRAGEN.DBF").string() + "'",
                                 &dump),
              0)
        << dump;
    EXPECT_NE(dump.find("'FRAGENR:C12', 'THEMA:N4', 'FRAGE:M10'"), std::string::npos) << dump;
    EXPECT_NE(dump.find("1.1.05-002 25 3 0"), std::string::npos) << dump;
    EXPECT_NE(dump.find("1.1.02-001  5 " + std::to_string(bmp.size())), std::string::npos) << dump;
}

TEST(CatalogCompiler, RefusesAFaultyCatalogAndWritesNothing) {
    lwtest::TempDir src;
    writeCatalog(src, {{"grund/thema1.txt", "nr: 1.1.01-001\nfrage: x\n- a\n- b\npunkte: B=3\n"}});
    lwtest::TempDir out;
    std::string log;
    EXPECT_NE(lwtest::runCommand(std::string("QT_QPA_PLATFORM=offscreen '") + LW_MKCATALOG + "' --coverage 0 '" +
                                     src.path().string() + "' '" + out.path().string() + "' 2>&1",
                                 &log),
              0);
    EXPECT_NE(log.find("keine Antwort"), std::string::npos) << log;
    EXPECT_FALSE(std::filesystem::exists(out / "FRAGEN.DBF"));
}

TEST(CatalogCompiler, RefusesOnePatternOverFortyPerCentAndAReviewRowWithoutBasis) {
    lwtest::TempDir src;
    writeCatalog(src,
                 {{"grund/thema1.txt", choiceQuestion("1.1.01-001", "+-") + choiceQuestion("1.1.01-002", "-+") +
                                           choiceQuestion("1.1.01-003", "+--") + choiceQuestion("1.1.01-004", "-+-") +
                                           choiceQuestion("1.1.01-005", "+-")}});
    auto run = [&](std::string* log) {
        lwtest::TempDir out;
        return lwtest::runCommand(std::string("QT_QPA_PLATFORM=offscreen '") + LW_MKCATALOG + "' --coverage 0 '" +
                                      src.path().string() + "' '" + out.path().string() + "' 2>&1",
                                  log);
    };
    std::string log;
    EXPECT_EQ(run(&log), 0) << log; // "+ -" has 2 of 5: exactly 40 %
    lwtest::writeFile(src / "grund/thema1.txt",
                      choiceQuestion("1.1.01-001", "+-") + choiceQuestion("1.1.01-002", "+-") +
                          choiceQuestion("1.1.01-003", "+--") + choiceQuestion("1.1.01-004", "-+-") +
                          choiceQuestion("1.1.01-005", "+-"));
    EXPECT_NE(run(&log), 0);
    EXPECT_NE(log.find("„+ -“ bei 3 von 5"), std::string::npos) << log;
    EXPECT_NE(log.find("+ -        3   60.0 %"), std::string::npos) << log;

    lwtest::writeFile(src / "grund/thema1.txt", choiceQuestion("1.1.01-001", "+-") +
                                                    choiceQuestion("1.1.01-002", "-+") +
                                                    choiceQuestion("1.1.01-003", "+--"));
    lwtest::writeFile(src / "REVIEW.md", "| 1.1.01-001 | richtig | geprüft: § 1 Abs. 2 StVO |\n"
                                         "| 1.1.01-002 | richtig | Geprüft. |\n");
    EXPECT_NE(run(&log), 0);
    EXPECT_NE(log.find("REVIEW.md:2: 1.1.01-002"), std::string::npos) << log;
}

} // namespace
