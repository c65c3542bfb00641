#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <QString>

#include "store/workarea.h"

namespace platform {
class ProgramDir;
}

// The vehicle-tax calculator: emission class from the key number, rates per 100 ccm for three validity dates,
// yearly tax and allowance; the scratch table STEUER.DBF; the entries kept in [Steuern].
namespace calc::kfzsteu {

// The user's entries (the dialog's NHUBRAUM, NKEYNR, DERSTZUL, NVERBRAUCH, NANTRIEB, LKATALYS).
struct Input {
    std::int64_t NHUBRAUM = 0; // ccm
    std::int64_t NKEYNR = 0;   // key number "zu 1", digits 5 and 6
    std::int32_t DERSTZUL = 0; // first registration, Julian day; 0 is the blank date
    int NVERBRAUCH = 1;        // 1 " enorm", 2 " unter 5 Liter", 3 " unter 3 Liter"
    int NANTRIEB = 1;          // 1 " Otto", 2 " Diesel"
    bool LKATALYS = false;     // catalytic converter fitted
};

// What the last classification found. A key number in none of the lists leaves all of it as it was, so it lives
// as long as the dialog, like the inputs.
struct EuroNorm {
    int NEURONORM = 1; // 5 Euro 4, 4 Euro 3, 3 Euro 2, 2 Euro 1, 1 none
    QString CEURONORM; // the Euro-norm line
    QString CFAHREN;   // the ozone-alarm line
    int NFAHREN = 0;   // 1 may drive during an ozone alarm, 2 may not, 0 not classified yet
};

// Classification of the key number: returns the tax class 0..5 and updates `norm` (unless no rule matches).
int GETEURONORM(const Input& input, EuroNorm& norm);

// One validity date of the rate lists (ASTEUDAT, ASTEUTXT, ASTEUB, ASTEUD).
struct Rate {
    std::int32_t ASTEUDAT = 0; // Julian day
    const char* ASTEUTXT = "ab";
    double ASTEUB = 0; // EUR per 100 ccm, petrol
    double ASTEUD = 0; // EUR per 100 ccm, diesel
};

// The rates of a tax class (0..5; anything else is taxed like class 0) from 01.01.2001, 01.01.2004, 01.01.2005.
std::array<Rate, 3> GETSTEUSATZ(int taxClass);

// The displacement in units of 100 ccm, truncated to whole tens of ccm first (1598 ccm gives 15.9).
double taxUnits(std::int64_t hubraum);

// The yearly allowance of the row valid from 01.01.2004, by the classification's NEURONORM.
double allowance(const Input& input, int euroNorm);

// One row of the result (a record of STEUER.DBF).
struct Row {
    std::string DATTXT = "ab";
    std::int32_t DATUM = 0; // Julian day
    double STEUSATZ = 0;    // EUR per 100 ccm
    double STEUDM = 0;      // EUR per year, rounded to cents as stored
    double FREIDM = 0;      // allowance per year

    // The grid's cells: " ab", " 01.01.2001", and "  EUR    219,58 " for an amount above 0, else "".
    QString captionText() const;
    QString dateText() const;
    static QString amountText(double amount);
};

// The three result rows for the inputs, the units and the rates.
std::vector<Row> MAKEDATA(const Input& input, double units, int euroNorm, const std::array<Rate, 3>& rates);

// Displacement, key number and date are all filled: the calculation can run.
bool inputsComplete(const Input& input);
// CB_BERECH: the calculate button's bitmap.
QString CB_BERECH(const Input& input);
// Whether the catalyst box can be ticked (an old car with one of the key numbers that depend on it).
bool catalystEnabled(const Input& input);

// The whole calculation without the table: classification, rates and rows; no rows when an input is missing
// (the classification then does not run).
std::vector<Row> calculate(const Input& input, EuroNorm& norm);

// The scratch table STEUER.DBF in the program folder, open under DSTEU while the calculator is open: created
// empty (replacing an old one) by the constructor, closed and deleted by the destructor.
class SteuerTable {
public:
    // BMOPENDBF. A failure goes to the engine's error report; the table is then not open and the calculator
    // still works, its rows coming from ST_MAKE alone.
    explicit SteuerTable(const platform::ProgramDir& dir);
    ~SteuerTable();
    SteuerTable(const SteuerTable&) = delete;
    SteuerTable& operator=(const SteuerTable&) = delete;

    bool isOpen() const { return m_area != nullptr; }
    const std::filesystem::path& path() const { return m_path; }

    // Empties the table (every change of an input does).
    bool clear();
    // Replaces the content with these rows.
    bool write(const std::vector<Row>& rows);
    // The records as they are stored.
    std::vector<Row> rows() const;

private:
    store::Session m_session;
    std::filesystem::path m_path;
    store::WorkArea* m_area = nullptr;
};

// The calculate action: empties the table, calculates when the inputs are complete, stores and returns the rows.
std::vector<Row> ST_MAKE(const Input& input, EuroNorm& norm, SteuerTable& table);

// [Steuern] of the settings file `iniFile` (already resolved): the five entries and NEURONORM. BMGETINI clears
// LKATALYS, which is never kept; values out of their range take the key's default.
void BMGETINI(const QString& iniFile, Input& input, EuroNorm& norm);
// Numbers right-aligned in 10 characters, the date as "dd.mm.yyyy" ("  .  .    " when blank). False when the
// file could not be written.
bool BMPUTINI(const QString& iniFile, const Input& input, const EuroNorm& norm);

} // namespace calc::kfzsteu
