// The fine table the build delivers (BUSSRECH.DBF), and the compiler that writes it from its source.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "content_support.h"
#include "store/codepage.h"
#include "store/table.h"
#include "support/testdir.h"

namespace {

using lwtest::FineRow;
using lwtest::TempDir;
namespace fs = std::filesystem;

const fs::path kTable = lwtest::distDir() / "BUSSRECH.DBF";

const std::vector<FineRow>& builtRows() {
    static const std::vector<FineRow> rows = lwtest::readFineRows(kTable);
    return rows;
}

bool isMisc(int type) {
    return type == 2 || (type >= 4 && type <= 11) || type == 13 || type == 14;
}

std::vector<std::vector<std::string>> sourceLines() {
    std::ifstream in(LW_FINES_SOURCE);
    std::vector<std::vector<std::string>> lines;
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::vector<std::string> cells;
        std::istringstream cellsIn(line);
        for (std::string cell; std::getline(cellsIn, cell, '\t');)
            cells.push_back(cell);
        if (line.back() == '\t') cells.push_back("");
        lines.push_back(cells);
    }
    return lines;
}

// The lookups of the fine calculator: speeding ranges include both bounds, distance and alcohol
// ranges exclude the upper one. They return every matching row, so the tests see overlaps too.
std::vector<FineRow> speeding(const std::string& vehicle, int option, double excess) {
    std::vector<FineRow> hits;
    for (const FineRow& r : builtRows())
        if (r.type == 1 && r.offence == vehicle && r.option == option && r.from <= excess && r.to >= excess)
            hits.push_back(r);
    return hits;
}

std::vector<FineRow> upperExclusive(int type, const std::string& offence, double value) {
    std::vector<FineRow> hits;
    for (const FineRow& r : builtRows())
        if (r.type == type && r.offence == offence && r.from <= value && value < r.to) hits.push_back(r);
    return hits;
}

std::vector<FineRow> misc(const std::string& offence) {
    std::vector<FineRow> hits;
    for (const FineRow& r : builtRows())
        if (isMisc(r.type) && r.offence == offence) hits.push_back(r);
    return hits;
}

struct Result {
    double fine;
    int points;
    int ban;
};

void expectOne(const std::vector<FineRow>& hits, Result want, const std::string& what) {
    ASSERT_EQ(hits.size(), 1u) << what;
    EXPECT_DOUBLE_EQ(hits[0].fine, want.fine) << what;
    EXPECT_EQ(hits[0].points, want.points) << what;
    EXPECT_EQ(hits[0].ban, want.ban) << what;
}

const std::string kCar = "Pkw, Krafträder und andere Kfz bis 3,5 t";
const std::string kTruck = "Lkw über 3,5 t und Busse ohne Fahrgäste";

TEST(FineTable, HasTheFieldsTheCalculatorReads) {
    auto t = store::Table::open(kTable, store::Table::Mode::SharedRead);
    ASSERT_TRUE(t) << kTable;
    struct Want {
        const char* name;
        store::FieldType type;
        int decimals;
    };
    const Want fields[] = {{"TYPE", store::FieldType::Numeric, 0},       {"SORT", store::FieldType::Numeric, 0},
                           {"VERGEHEN", store::FieldType::Character, 0}, {"THEMA", store::FieldType::Character, 0},
                           {"OPTION", store::FieldType::Numeric, 0},     {"LIMITVON", store::FieldType::Numeric, 2},
                           {"LIMITBIS", store::FieldType::Numeric, 2},   {"BUSSGELD", store::FieldType::Numeric, 2},
                           {"PUNKTE", store::FieldType::Numeric, 0},     {"FVERBOT", store::FieldType::Numeric, 0},
                           {"INFO", store::FieldType::Character, 0}};
    ASSERT_EQ(t->fieldCount(), 11);
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(fields[i].name);
        EXPECT_EQ(t->fieldDef(i).name, fields[i].name);
        EXPECT_EQ(t->fieldDef(i).type, fields[i].type);
        EXPECT_EQ(t->fieldDef(i).decimals, fields[i].decimals);
    }
    EXPECT_TRUE(t->memoPath().empty()) << "every text fits a character field; a memo file is not delivered";
    // The header marks the table as Windows ANSI, as the program reads it.
    EXPECT_EQ(static_cast<unsigned char>(lwtest::readFile(kTable).at(29)), 0x03);
    EXPECT_EQ(t->recCount(), sourceLines().size());
}

TEST(FineTable, HoldsEveryKindWithTitledGroups) {
    std::map<int, std::vector<FineRow>> byType;
    for (const FineRow& r : builtRows())
        byType[r.type].push_back(r);
    EXPECT_TRUE(byType.count(1)) << "speeding";
    EXPECT_TRUE(byType.count(3)) << "distance";
    EXPECT_TRUE(byType.count(12)) << "alcohol";
    int groups = 0;
    for (const auto& [type, rows] : byType) {
        ASSERT_TRUE(type == 1 || type == 3 || type == 12 || isMisc(type)) << "unknown TYPE " << type;
        if (!isMisc(type)) continue;
        ++groups;
        for (const FineRow& r : rows) {
            EXPECT_FALSE(r.theme.empty()) << "TYPE " << type << ": " << r.offence;
            EXPECT_EQ(r.theme, rows.front().theme) << "one title per group, TYPE " << type;
            EXPECT_NE(r.offence.front(), '-') << r.offence;
        }
    }
    EXPECT_GE(groups, 1);
}

TEST(FineTable, MatchesItsSourceRowForRow) {
    const auto source = sourceLines();
    const auto rows = builtRows();
    ASSERT_EQ(rows.size(), source.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& s = source[i];
        const FineRow& r = rows[i];
        SCOPED_TRACE(lwtest::cat("source line ", std::to_string(i + 2)));
        ASSERT_EQ(s.size(), 12u);
        EXPECT_EQ(r.type, std::stoi(s[0]));
        EXPECT_EQ(r.sort, std::stoi(s[1]));
        EXPECT_EQ(r.offence, s[2]);
        EXPECT_EQ(r.theme, s[3]);
        EXPECT_EQ(r.option, std::stoi(s[4]));
        EXPECT_DOUBLE_EQ(r.from, std::stod(s[5]));
        EXPECT_DOUBLE_EQ(r.to, std::stod(s[6]));
        EXPECT_DOUBLE_EQ(r.fine, std::stod(s[7]));
        EXPECT_EQ(r.points, std::stoi(s[8]));
        EXPECT_EQ(r.ban, std::stoi(s[9]));
        EXPECT_EQ(r.info, s[10]);
    }
}

// Values of the catalogue of 1 January 2002 as the project's collected facts give them.
TEST(FineTable, KnownOffencesCarryThe2002Values) {
    expectOne(speeding(kCar, 1, 23), {50, 1, 0}, "car 21-25 km/h inside built-up areas");
    expectOne(speeding(kCar, 2, 23), {40, 1, 0}, "car 21-25 km/h outside");
    expectOne(speeding(kCar, 1, 8), {15, 0, 0}, "car up to 10 km/h inside");
    expectOne(speeding(kCar, 1, 35), {100, 3, 1}, "car 31-40 km/h inside");
    expectOne(speeding(kCar, 2, 45), {100, 3, 1}, "car 41-50 km/h outside");
    expectOne(speeding(kCar, 2, 80), {375, 4, 3}, "car more than 70 km/h outside");
    // The court case the facts use as a counter-check: a lorry 54 km/h too fast outside built-up areas.
    expectOne(speeding(kTruck, 2, 54), {275, 4, 2}, "lorry 51-60 km/h outside");

    const std::string threeTenths = "Abstand zu gering bei über 80 km/h: unter 3/10 des halben Tachowerts";
    expectOne(upperExclusive(3, threeTenths, 100), {75, 3, 0}, "distance under 3/10 at 100 km/h");
    expectOne(upperExclusive(3, threeTenths, 140), {100, 4, 0}, "distance under 3/10 above 130 km/h");
    expectOne(upperExclusive(3, "Abstand zu gering bei über 80 km/h: unter 5/10 des halben Tachowerts", 100),
              {40, 1, 0}, "distance under 5/10 at 100 km/h");

    expectOne(upperExclusive(12, "Alkohol am Steuer, erster Verstoß", 0.8), {250, 4, 1}, "0.8 per mille, first");

    expectOne(misc("Sicherheitsgurt während der Fahrt nicht angelegt"), {30, 0, 0}, "seat belt");
    expectOne(misc("Als Autofahrer das Mobiltelefon ohne Freisprecheinrichtung benutzt (Stand 2002; seit 1. April "
                   "2004: 40 Euro und 1 Punkt)"),
              {30, 0, 0}, "mobile phone, 2002");
}

TEST(FineTable, BoundsBehaveAsTheCalculatorReadsThem) {
    // Speeding includes the upper bound: 25 km/h is still the 21-25 row, 26 the next.
    expectOne(speeding(kCar, 1, 25), {50, 1, 0}, "exactly 25 km/h");
    expectOne(speeding(kCar, 1, 26), {60, 3, 0}, "exactly 26 km/h");
    // Alcohol excludes it: 1.10 per mille is no longer the administrative offence but a crime.
    auto crime = upperExclusive(12, "Alkohol am Steuer, erster Verstoß", 1.10);
    ASSERT_EQ(crime.size(), 1u);
    EXPECT_EQ(crime[0].points, 7);
    EXPECT_DOUBLE_EQ(crime[0].fine, 0);
    EXPECT_TRUE(upperExclusive(12, "Alkohol am Steuer, erster Verstoß", 10.0).empty());
}

TEST(FineTable, EveryExcessFindsExactlyOneSpeedingRow) {
    std::set<std::pair<std::string, int>> kinds;
    for (const FineRow& r : builtRows())
        if (r.type == 1) kinds.insert({r.offence, r.option});
    ASSERT_FALSE(kinds.empty());
    for (const auto& [vehicle, option] : kinds) {
        for (int excess = 1; excess <= 999; ++excess)
            ASSERT_EQ(speeding(vehicle, option, excess).size(), 1u)
                << vehicle << ", option " << option << ", " << excess << " km/h";
        EXPECT_TRUE(speeding(vehicle, option, 1000).empty()) << "above every range the calculator shows its note";
    }
}

TEST(FineTable, EveryBloodAlcoholValueFindsExactlyOneRow) {
    std::set<std::string> offences;
    for (const FineRow& r : builtRows())
        if (r.type == 12) offences.insert(r.offence);
    ASSERT_FALSE(offences.empty());
    for (const std::string& offence : offences)
        for (int hundredths = 1; hundredths < 1000; ++hundredths)
            ASSERT_EQ(upperExclusive(12, offence, hundredths / 100.0).size(), 1u)
                << offence << " at " << hundredths / 100.0;
}

TEST(FineTable, DistanceRowsOfOneOffenceNeverOverlap) {
    std::set<std::string> offences;
    for (const FineRow& r : builtRows())
        if (r.type == 3) offences.insert(r.offence);
    for (const std::string& offence : offences)
        for (int speed = 0; speed <= 1000; ++speed)
            ASSERT_LE(upperExclusive(3, offence, speed).size(), 1u) << offence << " at " << speed << " km/h";
}

TEST(FineTable, DbfreadReadsTheSameRows) {
    if (lwtest::runCommand("/usr/bin/python3 -c 'import dbfread' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3 lacks dbfread";
    TempDir dir;
    lwtest::writeFile(dir / "dump.py", R"(
import sys, dbfread
for r in dbfread.DBF(sys.argv[1], encoding='cp1252'):
    print('\t'.join(str(r[f]) for f in ('TYPE','SORT','VERGEHEN','THEMA','OPTION','LIMITVON','LIMITBIS','BUSSGELD','PUNKTE','FVERBOT','INFO')))
)");
    std::string out;
    ASSERT_EQ(lwtest::runCommand(lwtest::cat("/usr/bin/python3 ", lwtest::quotedPath(dir / "dump.py"), " ",
                                             lwtest::quotedPath(kTable), " 2>&1"),
                                 &out),
              0)
        << out;
    std::istringstream in(out);
    std::size_t i = 0;
    for (std::string line; std::getline(in, line); ++i) {
        ASSERT_LT(i, builtRows().size()) << "dbfread sees more rows than the engine";
        const FineRow& r = builtRows()[i];
        std::vector<std::string> c;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');)
            c.push_back(cell);
        if (!line.empty() && line.back() == '\t') c.push_back("");
        ASSERT_EQ(c.size(), 11u) << line;
        SCOPED_TRACE(lwtest::cat("record ", std::to_string(i + 1)));
        EXPECT_EQ(std::stoi(c[0]), r.type);
        EXPECT_EQ(std::stoi(c[1]), r.sort);
        EXPECT_EQ(c[2], r.offence);
        EXPECT_EQ(c[3], r.theme);
        EXPECT_EQ(std::stoi(c[4]), r.option);
        EXPECT_DOUBLE_EQ(std::stod(c[5]), r.from);
        EXPECT_DOUBLE_EQ(std::stod(c[6]), r.to);
        EXPECT_DOUBLE_EQ(std::stod(c[7]), r.fine);
        EXPECT_EQ(std::stoi(c[8]), r.points);
        EXPECT_EQ(std::stoi(c[9]), r.ban);
        EXPECT_EQ(c[10], r.info);
    }
    EXPECT_EQ(i, builtRows().size());
}

// The compiler itself, on small sources under tests/data/fines.

const fs::path kFixtures = fs::path(LW_TEST_DATA_DIR) / "fines";

int mkfines(const fs::path& source, const fs::path& out, std::string* output) {
    return lwtest::runCommand(
        lwtest::cat(LW_MKFINES, " ", lwtest::quotedPath(source), " ", lwtest::quotedPath(out), " 2>&1"), output);
}

TEST(MkFines, WritesAValidSourceInTheWindowsCodePage) {
    TempDir dir;
    std::string out;
    ASSERT_EQ(mkfines(kFixtures / "valid.tsv", dir / "BUSSRECH.DBF", &out), 0) << out;
    const auto rows = lwtest::readFineRows(dir / "BUSSRECH.DBF");
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[5].offence, "Rote Ampel missachtet und dabei andere gefährdet");
    EXPECT_DOUBLE_EQ(rows[3].from, 0.5);
    EXPECT_DOUBLE_EQ(rows[3].to, 1.1);
    EXPECT_NE(lwtest::readFile(dir / "BUSSRECH.DBF").find("gef\xE4hrdet"), std::string::npos) << "ä as cp1252 byte";
    EXPECT_FALSE(fs::exists(dir / "BUSSRECH.part.DBF"));
}

TEST(MkFines, WidensATextFieldForALongerText) {
    TempDir dir;
    std::string text = lwtest::readFile(kFixtures / "valid.tsv");
    const std::string longer = lwtest::cat("Rote Ampel missachtet, ", std::string(177, 'x')); // 200 characters
    text.replace(text.find("Rote Ampel missachtet\t"), 21, longer);
    lwtest::writeFile(dir / "long.tsv", text);
    std::string out;
    ASSERT_EQ(mkfines(dir / "long.tsv", dir / "BUSSRECH.DBF", &out), 0) << out;
    auto t = store::Table::open(dir / "BUSSRECH.DBF", store::Table::Mode::SharedRead);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->fieldDef(t->fieldIndex("VERGEHEN")).length, 200);
    EXPECT_EQ(lwtest::readFineRows(dir / "BUSSRECH.DBF")[4].offence, longer);
}

TEST(MkFines, RejectsEachKindOfFaultWithItsLine) {
    struct Case {
        const char* fixture;
        int line; // 0: a fault of the whole file
        const char* says;
    };
    const Case cases[] = {
        {"bad_header.tsv", 1, "Kopfzeile"},
        {"column_count.tsv", 4, "11 Spalten statt 12"},
        {"not_a_number.tsv", 6, "BUSSGELD \"50,00\" ist keine Zahl"},
        {"integer_with_decimals.tsv", 6, "PUNKTE \"3.5\" muss eine ganze Zahl sein"},
        {"too_many_decimals.tsv", 5, "LIMITVON \"0.505\" hat mehr als 2 Nachkommastellen"},
        {"number_too_wide.tsv", 7, "BUSSGELD \"12000\" passt nicht"},
        {"unknown_type.tsv", 6, "TYPE 15 ist unbekannt"},
        {"limits_reversed.tsv", 4, "LIMITVON 90 ist größer als LIMITBIS 81"},
        {"speeding_without_option.tsv", 3, "OPTION muss bei Geschwindigkeit"},
        {"missing_thema.tsv", 7, "THEMA ist leer"},
        {"thema_differs.tsv", 7, "weicht vom Titel der Gruppe TYPE 4 in Zeile 6 ab"},
        {"title_like_entry.tsv", 6, "beginnt mit \"-\""},
        {"duplicate_entry.tsv", 7, "schon in Zeile 6"},
        {"not_cp1252.tsv", 6, "U+2265"},
        {"text_too_long.tsv", 6, "262 Zeichen"},
        {"empty_offence.tsv", 5, "VERGEHEN ist leer"},
        {"missing_kind.tsv", 0, "keine Zeile für Alkohol (TYPE 12)"},
        {"latin1.tsv", 0, "nicht in UTF-8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        TempDir dir;
        std::string out;
        EXPECT_EQ(mkfines(kFixtures / c.fixture, dir / "BUSSRECH.DBF", &out), 1) << out;
        const std::string where =
            lwtest::cat(c.fixture, c.line > 0 ? lwtest::cat(":", std::to_string(c.line), ": ") : ": ");
        EXPECT_NE(out.find(where), std::string::npos) << out;
        EXPECT_NE(out.find(c.says), std::string::npos) << out;
        EXPECT_NE(out.find("1 Fehler"), std::string::npos) << "one fault, no follow-up faults: " << out;
        EXPECT_FALSE(fs::exists(dir / "BUSSRECH.DBF"));
    }
}

TEST(MkFines, ReportsEveryFaultAndKeepsThePreviousTable) {
    TempDir dir;
    std::string out;
    ASSERT_EQ(mkfines(kFixtures / "valid.tsv", dir / "BUSSRECH.DBF", &out), 0) << out;
    const std::string before = lwtest::readFile(dir / "BUSSRECH.DBF");

    EXPECT_EQ(mkfines(kFixtures / "two_faults.tsv", dir / "BUSSRECH.DBF", &out), 1);
    EXPECT_NE(out.find("two_faults.tsv:4: LIMITVON"), std::string::npos) << out;
    EXPECT_NE(out.find("two_faults.tsv:6: TYPE 15"), std::string::npos) << out;
    EXPECT_NE(out.find("2 Fehler"), std::string::npos) << out;
    EXPECT_EQ(lwtest::readFile(dir / "BUSSRECH.DBF"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
        << "no half-written file beside the table";
}

} // namespace
