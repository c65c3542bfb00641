// The fine calculator's lookups in the delivered BUSSRECH.DBF, and its failures on a missing or damaged table.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include <QString>

#include "calc/fines.h"
#include "platform/programdir.h"
#include "store/table.h"
#include "support/testdir.h"

namespace {

using calc::bussrech::FineTable;
using calc::bussrech::Result;
using lwtest::TempDir;
namespace fs = std::filesystem;

const fs::path kBuilt = fs::path(LW_DIST_DIR) / "BUSSRECH.DBF";

std::string cat(std::initializer_list<std::string> parts) {
    std::string s;
    for (const std::string& p : parts)
        s += p;
    return s;
}

std::string quoted(const fs::path& p) {
    return cat({"'", p.string(), "'"});
}

platform::ProgramDir programDir(const TempDir& dir) {
    return platform::ProgramDir(QString::fromStdString(dir.path().string()));
}

// A program folder holding a copy of the delivered table: the lookups write their index beside it.
struct Folder {
    TempDir dir;
    Folder() { fs::copy_file(kBuilt, dir / "BUSSRECH.DBF"); }
    std::unique_ptr<FineTable> open() {
        QString error;
        auto table = FineTable::open(programDir(dir), &error);
        EXPECT_TRUE(table) << error.toStdString();
        return table;
    }
};

int position(const QStringList& list, const char* text) {
    return static_cast<int>(list.indexOf(QString::fromUtf8(text)));
}

const char* const kCar = "Pkw, Krafträder und andere Kfz bis 3,5 t";
const char* const kFirstAlcohol = "Alkohol am Steuer, erster Verstoß";

void expectResult(const Result& r, double fine, int points, int ban) {
    EXPECT_DOUBLE_EQ(r.NBUSSGELD, fine);
    EXPECT_EQ(r.NPUNKTE, points);
    EXPECT_EQ(r.NFVERBOT, ban);
}

TEST(FineCalculator, ListsAsTheDialogShowsThem) {
    Folder folder;
    auto t = folder.open();
    ASSERT_TRUE(t);
    // Each vehicle kind once, although every kind has twenty rows.
    ASSERT_EQ(t->AFZEUG().size(), 4);
    EXPECT_EQ(t->AFZEUG().front(), QString::fromUtf8(kCar));
    EXPECT_EQ(t->AFZEUG().removeDuplicates(), 0);
    EXPECT_EQ(t->AABSTA().removeDuplicates(), 0);
    for (int i = 1; i < t->AABSTA().size(); ++i)
        EXPECT_GT(t->AABSTA()[i - 1], t->AABSTA()[i]) << "distance offences in descending order";
    EXPECT_EQ(t->AALKOH().front(), QString::fromUtf8(kFirstAlcohol));
    // The miscellaneous list starts with a title, and every title heads at least one offence.
    const QStringList misc = t->ADIVER();
    ASSERT_FALSE(misc.isEmpty());
    EXPECT_TRUE(misc.front().startsWith("----->> "));
    for (int i = 0; i < misc.size(); ++i)
        if (misc[i].startsWith('-')) {
            EXPECT_FALSE(i + 1 == misc.size() || misc[i + 1].startsWith('-')) << i;
        }
    EXPECT_EQ(t->AFZEUG().front().back(), u't') << "shown without the field's padding";
}

TEST(FineCalculator, SpeedingBoundsCountOnBothSides) {
    Folder folder;
    auto t = folder.open();
    ASSERT_TRUE(t);
    const int carPos = position(t->AFZEUG(), kCar);
    ASSERT_GE(carPos, 0);
    expectResult(t->speeding(carPos, calc::bussrech::Innerorts, 21), 50, 1, 0);
    expectResult(t->speeding(carPos, calc::bussrech::Innerorts, 25), 50, 1, 0);
    expectResult(t->speeding(carPos, calc::bussrech::Innerorts, 26), 60, 3, 0);
    expectResult(t->speeding(carPos, calc::bussrech::Ausserorts, 25), 40, 1, 0);
    const Result fast = t->speeding(carPos, calc::bussrech::Ausserorts, 80);
    expectResult(fast, 375, 4, 3);
    EXPECT_TRUE(fast.text.isEmpty());
    EXPECT_EQ(fast.fineText(), " 375,00");
    EXPECT_EQ(fast.pointsText(), " 4");
    EXPECT_EQ(fast.banText(), " 3");
}

TEST(FineCalculator, BeyondEveryRangeTheNoteAppearsWithoutAFine) {
    Folder folder;
    auto t = folder.open();
    ASSERT_TRUE(t);
    const Result r = t->speeding(0, calc::bussrech::Innerorts, 1000);
    EXPECT_EQ(r.text, QString::fromUtf8(calc::bussrech::kFluglizenz));
    EXPECT_EQ(r.text, "Sie sollten eine Fluglizenz erwerben !");
    expectResult(r, 0, 0, 0);
    const Result none = t->speeding(0, calc::bussrech::Innerorts, 0);
    expectResult(none, 0, 0, 0);
    EXPECT_TRUE(none.text.isEmpty());
}

TEST(FineCalculator, DistanceAndAlcoholExcludeTheUpperBound) {
    Folder folder;
    auto t = folder.open();
    ASSERT_TRUE(t);
    const int threeTenths =
        position(t->AABSTA(), "Abstand zu gering bei über 80 km/h: unter 3/10 des halben Tachowerts");
    ASSERT_GE(threeTenths, 0);
    expectResult(t->distance(threeTenths, 100), 75, 3, 0);
    expectResult(t->distance(threeTenths, 130), 75, 3, 0);
    // 131 is the upper bound of the row up to 130 km/h, and 81 where the rows over 80 km/h begin.
    expectResult(t->distance(threeTenths, 131), 100, 4, 0);
    expectResult(t->distance(threeTenths, 81), 75, 3, 0);
    expectResult(t->distance(threeTenths, 80), 0, 0, 0);
    expectResult(t->distance(threeTenths, 0), 0, 0, 0);

    const int first = position(t->AALKOH(), kFirstAlcohol);
    ASSERT_GE(first, 0);
    const Result below = t->alcohol(first, 1.09);
    expectResult(below, 250, 4, 1);
    EXPECT_FALSE(below.text.isEmpty()) << "the row's INFO";
    const Result crime = t->alcohol(first, 1.10);
    EXPECT_EQ(crime.NPUNKTE, 7) << "1.10 per mille is no longer in the range that ends there";
    EXPECT_NE(crime.text, below.text);
    const Result above = t->alcohol(first, 10.0);
    expectResult(above, 0, 0, 0);
    EXPECT_TRUE(above.text.isEmpty());
    const Result zero = t->alcohol(first, 0);
    expectResult(zero, 0, 0, 0);
    EXPECT_TRUE(zero.text.isEmpty());
}

TEST(FineCalculator, MiscellaneousTitlesAndOffences) {
    Folder folder;
    auto t = folder.open();
    ASSERT_TRUE(t);
    const Result title = t->miscellaneous(0);
    EXPECT_TRUE(title.groupTitle);
    expectResult(title, 0, 0, 0);
    EXPECT_TRUE(title.text.isEmpty());

    const char* belt = "Sicherheitsgurt während der Fahrt nicht angelegt";
    const int beltPos = position(t->ADIVER(), belt);
    ASSERT_GE(beltPos, 0);
    const Result r = t->miscellaneous(beltPos);
    EXPECT_FALSE(r.groupTitle);
    expectResult(r, 30, 0, 0);
    EXPECT_EQ(r.text, QString::fromUtf8(belt));
    // Every offence of the list finds its row.
    const QStringList misc = t->ADIVER();
    for (int i = 0; i < misc.size(); ++i)
        if (!misc[i].startsWith('-')) {
            const Result offence = t->miscellaneous(i);
            EXPECT_GT(offence.NBUSSGELD + offence.NPUNKTE + offence.NFVERBOT, 0) << misc[i].toStdString();
            EXPECT_EQ(offence.text, misc[i]);
        }
}

TEST(FineCalculator, ClosingRemovesTheIndexAndLeavesTheTableAsItWas) {
    Folder folder;
    const std::string before = lwtest::readFile(folder.dir / "BUSSRECH.DBF");
    {
        auto t = folder.open();
        ASSERT_TRUE(t);
        EXPECT_TRUE(fs::exists(t->cdxPath()));
        EXPECT_EQ(t->cdxPath(), folder.dir / "BUSSRECH.CDX");
        t->speeding(0, 1, 30);
        t->alcohol(0, 0.8);
        t->miscellaneous(1);
    }
    EXPECT_FALSE(fs::exists(folder.dir / "BUSSRECH.CDX"));
    EXPECT_EQ(lwtest::readFile(folder.dir / "BUSSRECH.DBF"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.dir.path()), fs::directory_iterator()), 1);
}

TEST(FineCalculator, LeftoverIndexOfAnEarlierRunIsNotRead) {
    Folder folder;
    lwtest::writeFile(folder.dir / "bussrech.cdx", std::string(1024, '\xff'));
    auto t = folder.open();
    ASSERT_TRUE(t);
    expectResult(t->speeding(0, 1, 23), 50, 1, 0);
}

// Python's dbfread reads the delivered table on its own and answers every speeding excess from 1 to 120 km/h
// for each vehicle kind and place; the calculator must find exactly that row, and there must be exactly one.
TEST(FineCalculator, EverySpeedingExcessFindsTheOneRowDbfreadFinds) {
    if (lwtest::runCommand("/usr/bin/python3 -c 'import dbfread' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-dbfread is not installed (apt-get install python3-dbfread)";
    TempDir scratch;
    lwtest::writeFile(scratch / "speeding.py", R"(
import sys, dbfread
rows = [r for r in dbfread.DBF(sys.argv[1], encoding='cp1252') if r['TYPE'] == 1]
kinds = []
for r in sorted(rows, key=lambda r: r['SORT']):
    if r['VERGEHEN'] not in kinds:
        kinds.append(r['VERGEHEN'])
for kind in kinds:
    for place in (1, 2):
        for excess in range(1, 121):
            hits = [r for r in rows if r['VERGEHEN'] == kind and r['OPTION'] == place
                    and r['LIMITVON'] <= excess <= r['LIMITBIS']]
            first = hits[0] if hits else {'BUSSGELD': 0, 'PUNKTE': 0, 'FVERBOT': 0}
            print('\t'.join(str(v) for v in (kind, place, excess, len(hits), first['BUSSGELD'], first['PUNKTE'],
                                             first['FVERBOT'])))
)");
    std::string out;
    ASSERT_EQ(lwtest::runCommand(
                  cat({"/usr/bin/python3 ", quoted(scratch / "speeding.py"), " ", quoted(kBuilt), " 2>&1"}), &out),
              0)
        << out;

    Folder folder;
    auto t = folder.open();
    ASSERT_TRUE(t);
    std::istringstream in(out);
    std::map<std::string, int> linesPerKind;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> c;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');)
            c.push_back(cell);
        ASSERT_EQ(c.size(), 7u) << line;
        SCOPED_TRACE(line);
        const int vehicle = position(t->AFZEUG(), c[0].c_str());
        ASSERT_GE(vehicle, 0) << "every kind dbfread sees is offered";
        EXPECT_EQ(c[3], "1") << "exactly one row";
        const Result r = t->speeding(vehicle, std::stoi(c[1]), std::stoi(c[2]));
        EXPECT_DOUBLE_EQ(r.NBUSSGELD, std::stod(c[4]));
        EXPECT_EQ(r.NPUNKTE, std::stoi(c[5]));
        EXPECT_EQ(r.NFVERBOT, std::stoi(c[6]));
        EXPECT_TRUE(r.text.isEmpty());
        ++linesPerKind[c[0]];
    }
    EXPECT_EQ(static_cast<int>(linesPerKind.size()), t->AFZEUG().size()) << "and every kind offered is in the table";
    for (const auto& [kind, lines] : linesPerKind)
        EXPECT_EQ(lines, 240) << kind;
}

// --- A table the calculator cannot work with: the user is told why, and nothing is left behind.

std::string openError(const TempDir& dir) {
    QString error;
    auto table = FineTable::open(programDir(dir), &error);
    EXPECT_FALSE(table);
    EXPECT_FALSE(fs::exists(dir / "BUSSRECH.CDX"));
    return error.toStdString();
}

TEST(FineCalculator, MissingTableIsNamed) {
    TempDir dir;
    const std::string error = openError(dir);
    EXPECT_NE(error.find("BUSSRECH.DBF fehlt im Programmordner"), std::string::npos) << error;
    EXPECT_NE(error.find("Bußgeldrechner kann nicht geöffnet werden"), std::string::npos) << error;
}

TEST(FineCalculator, DamagedTablesAreNamedWithWhatIsWrong) {
    {
        TempDir dir;
        lwtest::writeFile(dir / "BUSSRECH.DBF", "not a table at all");
        const std::string error = openError(dir);
        EXPECT_NE(error.find("BUSSRECH.DBF kann nicht gelesen werden"), std::string::npos) << error;
    }
    {
        // Cut off in the middle of its records.
        TempDir dir;
        const std::string bytes = lwtest::readFile(kBuilt);
        lwtest::writeFile(dir / "BUSSRECH.DBF", bytes.substr(0, bytes.size() / 2));
        const std::string error = openError(dir);
        EXPECT_NE(error.find("BUSSRECH.DBF kann nicht gelesen werden"), std::string::npos) << error;
    }
    {
        TempDir dir;
        auto t = store::Table::create(dir / "BUSSRECH.DBF", {{"TYPE", store::FieldType::Numeric, 2, 0},
                                                             {"VERGEHEN", store::FieldType::Character, 50, 0}});
        ASSERT_TRUE(t);
        t->close();
        const std::string error = openError(dir);
        EXPECT_NE(error.find("ist beschädigt: das Feld SORT fehlt"), std::string::npos) << error;
    }
    {
        // Every field, but only speeding rows.
        TempDir dir;
        {
            auto built = store::Table::open(kBuilt, store::Table::Mode::SharedRead);
            ASSERT_TRUE(built);
            ASSERT_TRUE(built->copyStructure(dir / "BUSSRECH.DBF"));
            auto t = store::Table::open(dir / "BUSSRECH.DBF");
            ASSERT_TRUE(t);
            ASSERT_TRUE(t->appendBlank());
            t->replace(t->fieldIndex("TYPE"), store::Value::number(1));
            t->replace(t->fieldIndex("VERGEHEN"), store::Value::text("Pkw"));
        }
        const std::string error = openError(dir);
        EXPECT_NE(error.find("enthält keine Zeile für Abstand"), std::string::npos) << error;
    }
}

} // namespace
