// The documents in Texte/: the legal guides and the fine catalogue as PDF, the checklists and forms as RTF.

#include <gtest/gtest.h>

#include <iterator>
#include <regex>
#include <set>
#include <sstream>

#include "content_support.h"
#include "support/testdir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kTexte = lwtest::distDir() / "Texte";

bool havePoppler() {
    return lwtest::runCommand("pdftotext -v >/dev/null 2>&1") == 0;
}

#define REQUIRE_POPPLER()                                                                                              \
    if (!havePoppler()) GTEST_SKIP() << "poppler-utils (pdftotext) is not installed"

std::string run(const std::string& command) {
    std::string out;
    EXPECT_EQ(lwtest::runCommand(command, &out), 0) << command;
    return out;
}

std::string pdfText(const fs::path& pdf) {
    return run(lwtest::cat("pdftotext -layout ", lwtest::quotedPath(pdf), " - 2>/dev/null"));
}

int pageCount(const fs::path& pdf) {
    std::smatch m;
    const std::string info = run(lwtest::cat("pdfinfo ", lwtest::quotedPath(pdf), " 2>/dev/null"));
    return std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))")) ? std::stoi(m[1]) : 0;
}

// Every PDF carries its title in the document information, at its head, and page numbers "Seite n von m"
// at the foot of each page, in the two faces of the house style, embedded.
void expectTypeset(const fs::path& pdf, const std::string& title) {
    SCOPED_TRACE(pdf.filename().string());
    ASSERT_TRUE(fs::exists(pdf));
    const std::string info = run(lwtest::cat("pdfinfo ", lwtest::quotedPath(pdf), " 2>/dev/null"));
    std::smatch m;
    ASSERT_TRUE(std::regex_search(info, m, std::regex("Title: +(.*)"))) << info;
    EXPECT_NE(m[1].str().find(title), std::string::npos) << m[1];
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find(title), std::string::npos);
    const int pages = pageCount(pdf);
    ASSERT_GE(pages, 1);
    for (int p = 1; p <= pages; ++p)
        EXPECT_NE(text.find(lwtest::cat("Seite ", std::to_string(p), " von ", std::to_string(pages))),
                  std::string::npos);
    const std::string fonts = run(lwtest::cat("pdffonts ", lwtest::quotedPath(pdf), " 2>/dev/null"));
    EXPECT_NE(fonts.find("LiberationSans"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("LiberationSerif"), std::string::npos) << fonts;
    // Columns from the right: object number, generation, unicode, subset, embedded.
    std::istringstream lines(fonts);
    std::string line;
    std::getline(lines, line);
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
        ASSERT_GE(w.size(), 6u) << line;
        EXPECT_EQ(w[w.size() - 5], "yes") << "not embedded: " << line;
    }
}

TEST(Documents, LegalGuidesAreTypesetWithTheirTitles) {
    REQUIRE_POPPLER();
    expectTypeset(kTexte / "Stvo.pdf", "Straßenverkehrs-Ordnung");
    expectTypeset(kTexte / "Stvg.pdf", "Straßenverkehrsgesetz");
    expectTypeset(kTexte / "Aubvo.pdf", "Fahrschüler-Ausbildungsordnung");
}

TEST(Documents, CatalogueShowsTheBuiltFineTable) {
    REQUIRE_POPPLER();
    const fs::path pdf = kTexte / "BuGeKata.pdf";
    expectTypeset(pdf, "Bußgeldkatalog");
    const std::string text = pdfText(pdf);
    const std::vector<lwtest::FineRow> rows = lwtest::readFineRows(lwtest::distDir() / "BUSSRECH.DBF");
    ASSERT_FALSE(rows.empty());

    // Car, 21-25 km/h: 50 € and 1 point inside, 40 € and 1 point outside built-up areas, on one line.
    EXPECT_TRUE(std::regex_search(text, std::regex("21–25 +50,00 € +1 +– +40,00 € +1 +–"))) << text.substr(0, 3000);
    EXPECT_TRUE(std::regex_search(text, std::regex("Sicherheitsgurt während der Fahrt nicht angelegt +30,00 €")));
    EXPECT_TRUE(std::regex_search(text, std::regex("0,50 bis unter +250,00 € +4 +1 Monat")));

    // Every heading the table gives: vehicle kinds, alcohol offences and group titles.
    std::set<std::string> headings;
    for (const lwtest::FineRow& r : rows) {
        if (r.type == 1 || r.type == 12) headings.insert(r.offence);
        if (r.type != 1 && r.type != 3 && r.type != 12) headings.insert(r.theme);
    }
    for (const std::string& h : headings)
        EXPECT_NE(text.find(h), std::string::npos) << "missing heading: " << h;

    // Every fine of the table, written the German way.
    std::set<std::string> amounts;
    for (const lwtest::FineRow& r : rows)
        if (r.fine > 0) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.2f", r.fine);
            std::string s = buf;
            s[s.find('.')] = ',';
            amounts.insert(lwtest::cat(s, " €"));
        }
    for (const std::string& a : amounts)
        EXPECT_NE(text.find(a), std::string::npos) << a;

    EXPECT_NE(text.find("Quellen der Werte"), std::string::npos) << "the list the Quelle column points to";
    // The intro from the data folder opens the catalogue.
    const std::string intro = lwtest::readFile(fs::path(LW_SOURCE_DIR) / "data/gesetze/BuGeKata.intro.html");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(intro, m, std::regex(R"(<p>\s*(\S+ \S+ \S+))")));
    EXPECT_NE(text.find(m[1].str()), std::string::npos) << m[1];
}

TEST(Documents, CatalogueRefusesATableNotBuiltFromItsSource) {
    lwtest::TempDir dir;
    std::string out;
    ASSERT_EQ(lwtest::runCommand(lwtest::cat(LW_MKFINES, " ",
                                             lwtest::quotedPath(fs::path(LW_TEST_DATA_DIR) / "fines/valid.tsv"), " ",
                                             lwtest::quotedPath(dir / "BUSSRECH.DBF"), " 2>&1"),
                                 &out),
              0)
        << out;
    const int rc = lwtest::runCommand(
        lwtest::cat("QT_QPA_PLATFORM=offscreen ", LW_MKDOCS, " catalogue ", lwtest::quotedPath(dir / "BUSSRECH.DBF"),
                    " ", lwtest::quotedPath(LW_FINES_SOURCE), " ", lwtest::quotedPath(dir / "BuGeKata.pdf"), " 2>&1"),
        &out);
    EXPECT_EQ(rc, 1);
    EXPECT_NE(out.find("fehlt in der Quelle"), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(dir / "BuGeKata.pdf"));
}

const char* const kChecklists[] = {"Kauftipp.rtf", "Checkliste.rtf", "Winter.rtf", "Falschparken.rtf", "KV.rtf"};

TEST(Documents, ChecklistsAndFormsAreDeliveredUnchanged) {
    for (const char* name : kChecklists) {
        SCOPED_TRACE(name);
        const std::string delivered = lwtest::readFile(kTexte / name);
        EXPECT_EQ(delivered.rfind("{\\rtf1", 0), 0u);
        EXPECT_EQ(delivered, lwtest::readFile(fs::path(LW_SOURCE_DIR) / "data/texte" / name));
    }
}

TEST(Documents, ChecklistsOpenInAWordProcessor) {
    if (lwtest::runCommand("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "LibreOffice is not installed; the conversion check is optional";
    lwtest::TempDir dir;
    for (const char* name : kChecklists) {
        SCOPED_TRACE(name);
        std::string out;
        ASSERT_EQ(lwtest::runCommand(lwtest::cat("soffice --headless --convert-to txt:Text --outdir ",
                                                 lwtest::quotedPath(dir.path()), " ", lwtest::quotedPath(kTexte / name),
                                                 " 2>&1"),
                                     &out),
                  0)
            << out;
        const std::string text = lwtest::readFile(dir / fs::path(name).replace_extension(".txt"));
        EXPECT_GT(text.size(), 200u) << "LibreOffice read next to nothing";
    }
}

} // namespace
