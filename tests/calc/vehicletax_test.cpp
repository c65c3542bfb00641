// The vehicle-tax calculation, its scratch table STEUER.DBF and its settings.

#include <gtest/gtest.h>

#include <filesystem>

#include <QString>

#include "calc/vehicletax.h"
#include "platform/inifile.h"
#include "platform/programdir.h"
#include "store/calendar.h"
#include "support/testdir.h"

namespace {

using namespace calc::kfzsteu;
using lwtest::TempDir;
namespace fs = std::filesystem;

std::int32_t day(int d, int m, int y) {
    return store::julianDay(y, m, d);
}

Input car(std::int64_t ccm, std::int64_t key, std::int32_t registered, int consumption = 1, int fuel = 1,
          bool catalyst = false) {
    Input in;
    in.NHUBRAUM = ccm;
    in.NKEYNR = key;
    in.DERSTZUL = registered;
    in.NVERBRAUCH = consumption;
    in.NANTRIEB = fuel;
    in.LKATALYS = catalyst;
    return in;
}

QString amount(double v) {
    return Row::amountText(v);
}

TEST(VehicleTax, DieselEuro3ToTheCent) {
    EuroNorm norm;
    const auto rows = calculate(car(1598, 40, day(1, 3, 2003), 1, 2), norm);
    EXPECT_EQ(norm.CEURONORM, QString::fromUtf8("Es wird die Euronorm 3 erfüllt."));
    EXPECT_EQ(norm.CFAHREN, QString::fromUtf8("Sie dürfen bei Ozonalarm fahren."));
    ASSERT_EQ(rows.size(), 3u);
    const char* dates[] = {" 01.01.2001", " 01.01.2004", " 01.01.2005"};
    const double rates[] = {13.81, 15.44, 15.44};
    const char* yearly[] = {"  EUR     219,58 ", "  EUR     245,50 ", "  EUR     245,50 "};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].captionText(), " ab");
        EXPECT_EQ(rows[i].dateText(), dates[i]);
        EXPECT_DOUBLE_EQ(rows[i].STEUSATZ, rates[i]);
        EXPECT_EQ(amount(rows[i].STEUDM), yearly[i]);
        EXPECT_EQ(amount(rows[i].FREIDM), "") << "no allowance for a car that uses a lot";
    }
    EXPECT_EQ(amount(rows[0].STEUSATZ), "  EUR      13,81 ");
}

TEST(VehicleTax, ThreeLitreCarMeetsEuro4AndGetsItsAllowanceOnce) {
    EuroNorm norm;
    const auto rows = calculate(car(1598, 40, day(1, 3, 2003), 3, 2), norm);
    EXPECT_EQ(norm.CEURONORM, QString::fromUtf8("Es wird die Euronorm 4 erfüllt."));
    EXPECT_EQ(norm.NEURONORM, 5);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_DOUBLE_EQ(rows[0].STEUDM, 219.58);
    EXPECT_DOUBLE_EQ(rows[1].FREIDM, 500);
    EXPECT_DOUBLE_EQ(rows[0].FREIDM, 0);
    EXPECT_DOUBLE_EQ(rows[2].FREIDM, 0);
    EXPECT_EQ(amount(rows[1].FREIDM), "  EUR     500,00 ");
}

TEST(VehicleTax, DisplacementIsTruncatedToWholeTensOfCcm) {
    EXPECT_DOUBLE_EQ(taxUnits(1598), 15.9);
    EXPECT_DOUBLE_EQ(taxUnits(1609), 16.0);
    EXPECT_DOUBLE_EQ(taxUnits(9), 0.0);
    EuroNorm norm;
    // 1599 ccm pays like 1590: 25.36 × 15.9 for an unclassified petrol car.
    EXPECT_DOUBLE_EQ(calculate(car(1599, 99, day(1, 1, 1990)), norm)[0].STEUDM, 403.22);
    // Below 10 ccm nothing is taxed, and a zero amount shows an empty cell.
    const auto tiny = calculate(car(9, 40, day(1, 1, 2003)), norm);
    ASSERT_EQ(tiny.size(), 3u);
    EXPECT_EQ(amount(tiny[0].STEUDM), "");
    // Large amounts take a thousands point; beyond the picture every cell is a star.
    EXPECT_EQ(amount(calculate(car(999999999, 99, day(1, 1, 1990), 1, 2), norm)[0].STEUDM), "  EUR ********** ")
        << "beyond the picture the engine shows stars";
    EXPECT_EQ(amount(calculate(car(6000, 99, day(1, 1, 1990), 1, 2), norm)[0].STEUDM), "  EUR   2.254,80 ");
}

struct Case {
    std::int64_t key, ccm;
    std::int32_t registered;
    bool catalyst;
    int consumption;
    int taxClass, euroNorm, mayDrive;
};

TEST(VehicleTax, ClassificationTriesItsRulesInOrder) {
    const std::int32_t old = day(1, 1, 1985);
    const Case cases[] = {
        // Euro 3 or 4 depending on consumption; the ranges' edges.
        {30, 1600, old, false, 3, 5, 5, 1},
        {30, 1600, old, false, 1, 5, 4, 1},
        {33, 1600, old, false, 2, 5, 4, 1},
        {36, 1600, old, false, 1, 5, 4, 1},
        {48, 1600, old, false, 1, 5, 4, 1},
        {53, 1600, old, false, 1, 5, 4, 1},
        {70, 1600, old, false, 3, 5, 5, 1},
        // Euro 2: the keys between the Euro-3 ranges.
        {25, 1600, old, false, 3, 4, 3, 1},
        {27, 1600, old, false, 1, 4, 3, 1},
        {35, 1600, old, false, 1, 4, 3, 1},
        {49, 1600, old, false, 1, 4, 3, 1},
        {52, 1600, old, false, 1, 4, 3, 1},
        // Euro 1.
        {1, 1600, old, false, 1, 3, 2, 2},
        {14, 1600, old, false, 1, 3, 2, 2},
        {29, 1600, old, false, 1, 3, 2, 2},
        {34, 1600, old, false, 1, 3, 2, 2},
        {77, 1600, old, false, 1, 3, 2, 2},
        // Key 3 over 2000 ccm is Euro 1 whatever the catalyst box says; 3, 4, 9 with catalyst too.
        {3, 2500, old, false, 1, 3, 2, 2},
        {3, 2001, old, true, 1, 3, 2, 2},
        {4, 1800, old, true, 1, 3, 2, 2},
        {9, 1800, old, true, 1, 3, 2, 2},
        // Class 2: no norm; 10 and 15 only with catalyst.
        {17, 1600, old, false, 1, 2, 1, 2},
        {24, 1600, old, false, 1, 2, 1, 2},
        {10, 1600, old, true, 1, 2, 1, 2},
        {15, 1600, old, true, 1, 2, 1, 2},
        // Class 1: 3, 4, 9 without catalyst (3 up to 2000 ccm); 5 first registered before 01.10.1986.
        {3, 1800, old, false, 1, 1, 1, 2},
        {3, 2000, old, false, 1, 1, 1, 2},
        {9, 1800, old, false, 1, 1, 1, 2},
        {5, 1800, day(30, 9, 1986), false, 1, 1, 1, 2},
        // Class 0 with its texts.
        {5, 1800, day(1, 10, 1986), false, 1, 0, 1, 2},
        {10, 1600, old, false, 1, 0, 1, 2},
        {15, 1600, old, false, 1, 0, 1, 2},
        {88, 1600, old, false, 1, 0, 1, 2},
        {6, 1600, old, false, 1, 0, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.key << ", " << c.ccm << " ccm, catalyst " << c.catalyst
                                        << ", consumption " << c.consumption);
        EuroNorm norm;
        EXPECT_EQ(GETEURONORM(car(c.ccm, c.key, c.registered, c.consumption, 1, c.catalyst), norm), c.taxClass);
        EXPECT_EQ(norm.NEURONORM, c.euroNorm);
        EXPECT_EQ(norm.NFAHREN, c.mayDrive);
        EXPECT_EQ(norm.CFAHREN, QString::fromUtf8(c.mayDrive == 1 ? "Sie dürfen bei Ozonalarm fahren."
                                                                  : "Sie dürfen bei Ozonalarm NICHT fahren!"));
    }
    EuroNorm norm;
    GETEURONORM(car(1600, 1, old), norm);
    EXPECT_EQ(norm.CEURONORM, QString::fromUtf8("Es wird nur die Euronorm 1 erfüllt."));
    GETEURONORM(car(1600, 3, old), norm);
    EXPECT_EQ(norm.CEURONORM, QString::fromUtf8("Es wird keine Euronorm erfüllt."));
}

TEST(VehicleTax, UnlistedKeyIsTaxedAsClassZeroAndKeepsTheLines) {
    EuroNorm fresh;
    auto rows = calculate(car(2000, 99, day(1, 1, 2000), 1, 1), fresh);
    ASSERT_EQ(rows.size(), 3u);
    for (const Row& r : rows)
        EXPECT_DOUBLE_EQ(r.STEUSATZ, 25.36);
    EXPECT_TRUE(fresh.CEURONORM.isEmpty());
    EXPECT_TRUE(fresh.CFAHREN.isEmpty());
    EXPECT_EQ(fresh.NFAHREN, 0);

    // After a three-litre car, an unlisted key keeps Euro 4: the allowance of that level applies to the petrol car.
    EuroNorm norm;
    calculate(car(1598, 40, day(1, 3, 2003), 3, 1), norm);
    rows = calculate(car(1598, 99, day(1, 3, 2003), 1, 1), norm);
    EXPECT_EQ(norm.NEURONORM, 5);
    EXPECT_EQ(norm.CEURONORM, QString::fromUtf8("Es wird die Euronorm 4 erfüllt."));
    EXPECT_DOUBLE_EQ(rows[0].STEUSATZ, 25.36);
    EXPECT_DOUBLE_EQ(rows[1].FREIDM, 300);
}

TEST(VehicleTax, RatesByClassDateAndFuel) {
    struct Want {
        int taxClass;
        double petrol[3], diesel[3];
    };
    const Want wants[] = {
        {5, {5.11, 6.75, 6.75}, {13.81, 15.44, 15.44}},    {4, {6.14, 7.36, 7.36}, {14.83, 16.06, 16.06}},
        {3, {10.84, 10.84, 15.13}, {23.06, 23.06, 27.35}}, {2, {15.13, 15.13, 21.07}, {27.35, 27.35, 33.29}},
        {1, {21.07, 21.07, 25.36}, {33.29, 33.29, 37.58}}, {0, {25.36, 25.36, 25.36}, {37.58, 37.58, 37.58}},
    };
    for (const Want& w : wants) {
        const auto rates = GETSTEUSATZ(w.taxClass);
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(testing::Message() << "class " << w.taxClass << ", date " << i);
            EXPECT_DOUBLE_EQ(rates[i].ASTEUB, w.petrol[i]);
            EXPECT_DOUBLE_EQ(rates[i].ASTEUD, w.diesel[i]);
        }
    }
    // An Euro-1 diesel pays 23.06 per 100 ccm in 2004, as in 2001: 1990 ccm give 458.89.
    EuroNorm norm;
    const auto rows = calculate(car(1990, 1, day(1, 1, 1994), 1, 2), norm);
    EXPECT_EQ(amount(rows[1].STEUDM), "  EUR     458,89 ");
}

TEST(VehicleTax, AllowanceRules) {
    struct Rule {
        int consumption, euroNorm, fuel;
        std::int32_t registered;
        double want;
    };
    const Rule rules[] = {
        {1, 5, 1, day(31, 12, 2004), 300}, {1, 5, 2, day(31, 12, 2004), 600}, {1, 5, 1, day(1, 1, 2005), 0},
        {1, 4, 1, day(31, 12, 2000), 125}, {1, 4, 2, day(31, 12, 2000), 250}, {1, 4, 2, day(1, 1, 2001), 0},
        {1, 3, 2, day(1, 1, 1995), 0},     {2, 1, 1, day(1, 1, 2010), 250},   {2, 5, 2, day(1, 1, 1999), 250},
        {3, 5, 2, day(1, 1, 2010), 500},   {3, 1, 1, day(1, 1, 1980), 500},
    };
    for (const Rule& r : rules) {
        SCOPED_TRACE(testing::Message() << "consumption " << r.consumption << ", level " << r.euroNorm << ", fuel "
                                        << r.fuel);
        EXPECT_DOUBLE_EQ(allowance(car(1600, 40, r.registered, r.consumption, r.fuel), r.euroNorm), r.want);
    }
    // An Euro-3 car registered in 2000 that uses a lot: 250 for diesel on the 2004 row.
    EuroNorm norm;
    const auto rows = calculate(car(1900, 40, day(15, 6, 2000), 1, 2), norm);
    EXPECT_DOUBLE_EQ(rows[1].FREIDM, 250);
}

TEST(VehicleTax, CatalystBoxAndTheFlagItLeaves) {
    EXPECT_TRUE(catalystEnabled(car(1800, 4, day(1, 3, 1994))));
    EXPECT_TRUE(catalystEnabled(car(1800, 4, day(29, 7, 1995))));
    EXPECT_FALSE(catalystEnabled(car(1800, 4, day(30, 7, 1995))));
    EXPECT_FALSE(catalystEnabled(car(2001, 4, day(1, 3, 1994))));
    EXPECT_TRUE(catalystEnabled(car(2000, 15, 0))) << "an empty date counts as old";
    EXPECT_FALSE(catalystEnabled(car(1800, 5, day(1, 3, 1994))));
    // Disabling the box does not clear the flag: the car stays Euro 1.
    EuroNorm norm;
    EXPECT_EQ(GETEURONORM(car(1800, 4, day(1, 3, 1996), 1, 1, true), norm), 3);
}

TEST(VehicleTax, MissingInputsCalculateNothing) {
    EuroNorm norm;
    norm.CEURONORM = "before";
    EXPECT_TRUE(calculate(car(0, 40, day(1, 1, 2003)), norm).empty());
    EXPECT_TRUE(calculate(car(1600, 0, day(1, 1, 2003)), norm).empty());
    EXPECT_TRUE(calculate(car(1600, 40, 0), norm).empty());
    EXPECT_EQ(norm.CEURONORM, "before") << "no classification without a calculation";
    EXPECT_EQ(CB_BERECH(car(0, 40, day(1, 1, 2003))), "BZ_Bere0");
    EXPECT_EQ(CB_BERECH(car(1600, 40, 0)), "BZ_Bere0");
    EXPECT_EQ(CB_BERECH(car(1600, 40, day(1, 1, 2003))), "BZ_Berec");
}

TEST(SteuerTable, LivesInTheProgramFolderWhileTheCalculatorIsOpen) {
    TempDir dir;
    // An old scratch table of another spelling is replaced, not joined by a second one.
    lwtest::writeFile(dir / "steuer.dbf", "left over by a crash");
    const platform::ProgramDir programDir(QString::fromStdString(dir.path().string()));
    {
        SteuerTable table(programDir);
        ASSERT_TRUE(table.isOpen());
        EXPECT_EQ(table.path(), dir / "steuer.dbf");
        EXPECT_TRUE(table.rows().empty());

        EuroNorm norm;
        const auto rows = ST_MAKE(car(1598, 40, day(1, 3, 2003), 3, 2), norm, table);
        const auto stored = table.rows();
        ASSERT_EQ(stored.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(stored[i].DATTXT, "ab");
            EXPECT_EQ(stored[i].DATUM, rows[i].DATUM);
            EXPECT_DOUBLE_EQ(stored[i].STEUSATZ, rows[i].STEUSATZ);
            EXPECT_DOUBLE_EQ(stored[i].STEUDM, rows[i].STEUDM);
            EXPECT_DOUBLE_EQ(stored[i].FREIDM, rows[i].FREIDM);
        }
        EXPECT_DOUBLE_EQ(stored[1].FREIDM, 500);

        // A calculation with an input missing leaves the table empty; so does every change of an input.
        EXPECT_TRUE(ST_MAKE(car(1598, 40, 0), norm, table).empty());
        EXPECT_TRUE(table.rows().empty());
        ST_MAKE(car(1598, 40, day(1, 3, 2003)), norm, table);
        EXPECT_TRUE(table.clear());
        EXPECT_TRUE(table.rows().empty());
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 0)
        << "the scratch table is gone";
}

TEST(SteuernSettings, WrittenRightAlignedAndReadBack) {
    TempDir dir;
    const QString ini = QString::fromStdString((dir / "TAVOLIN.INI").string());
    Input in = car(1598, 40, day(1, 3, 2003), 3, 2, true);
    EuroNorm norm;
    norm.NEURONORM = 5;
    ASSERT_TRUE(BMPUTINI(ini, in, norm));
    const char* keys[] = {"Hubraum", "KeyNr", "Euronorm", "Verbrauch", "Antrieb"};
    const char* values[] = {"      1598", "        40", "         5", "         3", "         2"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(platform::readProfileString(ini, "Steuern", keys[i], "?"), values[i]) << keys[i];
    EXPECT_EQ(platform::readProfileString(ini, "Steuern", "ErstZul", "?"), "01.03.2003");

    Input back;
    EuroNorm backNorm;
    back.LKATALYS = true;
    BMGETINI(ini, back, backNorm);
    EXPECT_EQ(back.NHUBRAUM, 1598);
    EXPECT_EQ(back.NKEYNR, 40);
    EXPECT_EQ(back.DERSTZUL, day(1, 3, 2003));
    EXPECT_EQ(back.NVERBRAUCH, 3);
    EXPECT_EQ(back.NANTRIEB, 2);
    EXPECT_EQ(backNorm.NEURONORM, 5);
    EXPECT_FALSE(back.LKATALYS) << "the catalyst box is clear on every opening";

    // A blank date is written as the empty date field and read back blank.
    in.DERSTZUL = 0;
    ASSERT_TRUE(BMPUTINI(ini, in, norm));
    EXPECT_EQ(platform::readProfileString(ini, "Steuern", "ErstZul", "?"), "  .  .    ");
    BMGETINI(ini, back, backNorm);
    EXPECT_EQ(back.DERSTZUL, 0);
}

TEST(SteuernSettings, MissingOrUnusableValuesTakeTheDefaults) {
    TempDir dir;
    const QString ini = QString::fromStdString((dir / "TAVOLIN.INI").string());
    Input in = car(1, 2, 3, 3, 2, true);
    EuroNorm norm;
    norm.NEURONORM = 4;
    BMGETINI(ini, in, norm);
    EXPECT_EQ(in.NHUBRAUM, 0);
    EXPECT_EQ(in.NKEYNR, 0);
    EXPECT_EQ(in.DERSTZUL, 0);
    EXPECT_EQ(in.NVERBRAUCH, 1);
    EXPECT_EQ(in.NANTRIEB, 1);
    EXPECT_EQ(norm.NEURONORM, 1);

    lwtest::writeFile(dir / "TAVOLIN.INI", "[Steuern]\r\nHubraum=-5\r\nKeyNr=abc\r\nErstZul=31.02.2003\r\n"
                                           "Euronorm=6\r\nVerbrauch=0\r\nAntrieb=3\r\n");
    BMGETINI(ini, in, norm);
    EXPECT_EQ(in.NHUBRAUM, 0);
    EXPECT_EQ(in.NKEYNR, 0);
    EXPECT_EQ(in.DERSTZUL, 0);
    EXPECT_EQ(norm.NEURONORM, 1);
    EXPECT_EQ(in.NVERBRAUCH, 1);
    EXPECT_EQ(in.NANTRIEB, 1);
}

} // namespace
