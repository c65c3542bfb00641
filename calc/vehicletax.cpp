#include "calc/vehicletax.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <system_error>

#include "calc/numbers.h"
#include "platform/ansi.h"
#include "platform/inifile.h"
#include "platform/programdir.h"
#include "store/calendar.h"
#include "store/format.h"

namespace calc::kfzsteu {

namespace {

struct Span {
    std::int64_t from, to;
};

bool among(std::int64_t key, std::initializer_list<Span> spans) {
    return std::any_of(spans.begin(), spans.end(), [key](const Span& s) { return key >= s.from && key <= s.to; });
}

void setNorm(EuroNorm& norm, int level, const char* euroLine, bool mayDrive) {
    norm.NEURONORM = level;
    norm.CEURONORM = QString::fromUtf8(euroLine);
    norm.CFAHREN =
        QString::fromUtf8(mayDrive ? "Sie dürfen bei Ozonalarm fahren." : "Sie dürfen bei Ozonalarm NICHT fahren!");
    norm.NFAHREN = mayDrive ? 1 : 2;
}

std::int32_t date(int year, int month, int day) {
    return store::julianDay(year, month, day);
}

const char* const kNoNorm = "Es wird keine Euronorm erfüllt.";

// The keys' valid ranges: fields of nine digits, choices by their numbers.
constexpr std::int64_t kMaxDigits9 = 999999999;

} // namespace

int GETEURONORM(const Input& in, EuroNorm& norm) {
    const std::int64_t key = in.NKEYNR;
    const bool newest = among(key, {{30, 33}, {36, 48}, {53, 70}});
    if (newest && in.NVERBRAUCH == 3) {
        setNorm(norm, 5, "Es wird die Euronorm 4 erfüllt.", true);
        return 5;
    }
    if (newest) {
        setNorm(norm, 4, "Es wird die Euronorm 3 erfüllt.", true);
        return 5;
    }
    if (among(key, {{25, 27}, {35, 35}, {49, 52}})) {
        setNorm(norm, 3, "Es wird die Euronorm 2 erfüllt.", true);
        return 4;
    }
    if (among(key, {{1, 2}, {11, 14}, {16, 16}, {18, 18}, {21, 22}, {28, 29}, {34, 34}, {77, 77}}) ||
        (among(key, {{3, 4}, {9, 9}}) && in.LKATALYS) || (key == 3 && in.NHUBRAUM > 2000)) {
        setNorm(norm, 2, "Es wird nur die Euronorm 1 erfüllt.", false);
        return 3;
    }
    if (among(key, {{17, 17}, {19, 20}, {23, 24}}) || (among(key, {{10, 10}, {15, 15}}) && in.LKATALYS)) {
        setNorm(norm, 1, kNoNorm, false);
        return 2;
    }
    if (among(key, {{3, 4}, {9, 9}}) || (key == 5 && in.DERSTZUL < date(1986, 10, 1))) {
        setNorm(norm, 1, kNoNorm, false);
        return 1;
    }
    if (among(key, {{0, 0}, {5, 8}, {10, 10}, {15, 15}, {88, 88}})) setNorm(norm, 1, kNoNorm, false);
    return 0;
}

std::array<Rate, 3> GETSTEUSATZ(int taxClass) {
    // Petrol / diesel per validity date. Class 3 diesel stays at 23.06 in 2004: it only fell with the change
    // of 2005, never below the year before.
    struct Line {
        double b2001, d2001, b2004, d2004, b2005, d2005;
    };
    static const Line lines[6] = {
        {25.36, 37.58, 25.36, 37.58, 25.36, 37.58}, // 0
        {21.07, 33.29, 21.07, 33.29, 25.36, 37.58}, // 1
        {15.13, 27.35, 15.13, 27.35, 21.07, 33.29}, // 2
        {10.84, 23.06, 10.84, 23.06, 15.13, 27.35}, // 3
        {6.14, 14.83, 7.36, 16.06, 7.36, 16.06},    // 4
        {5.11, 13.81, 6.75, 15.44, 6.75, 15.44},    // 5
    };
    const Line& l = lines[taxClass >= 0 && taxClass <= 5 ? taxClass : 0];
    return {{{date(2001, 1, 1), "ab", l.b2001, l.d2001},
             {date(2004, 1, 1), "ab", l.b2004, l.d2004},
             {date(2005, 1, 1), "ab", l.b2005, l.d2005}}};
}

double taxUnits(std::int64_t hubraum) {
    return static_cast<double>(hubraum / 10) / 10;
}

double allowance(const Input& in, int euroNorm) {
    const bool petrol = in.NANTRIEB == 1;
    if (in.NVERBRAUCH == 1 && euroNorm == 5 && in.DERSTZUL < date(2005, 1, 1)) return petrol ? 300 : 600;
    if (in.NVERBRAUCH == 1 && euroNorm == 4 && in.DERSTZUL < date(2001, 1, 1)) return petrol ? 125 : 250;
    if (in.NVERBRAUCH == 2) return 250;
    if (in.NVERBRAUCH == 3) return 500;
    return 0;
}

QString Row::captionText() const {
    return u' ' + QString::fromStdString(DATTXT);
}

QString Row::dateText() const {
    return u' ' + QString::fromStdString(store::formatDate(DATUM));
}

QString Row::amountText(double amount) {
    if (!(amount > 0)) return {};
    return QStringLiteral("  EUR ") + QString::fromStdString(store::transformPicture(amount, "@E 999,999.99")) + u' ';
}

std::vector<Row> MAKEDATA(const Input& in, double units, int euroNorm, const std::array<Rate, 3>& rates) {
    std::vector<Row> rows;
    for (std::size_t i = 0; i < rates.size(); ++i) {
        Row row;
        row.DATTXT = rates[i].ASTEUTXT;
        row.DATUM = rates[i].ASTEUDAT;
        row.STEUSATZ = in.NANTRIEB == 1 ? rates[i].ASTEUB : rates[i].ASTEUD;
        row.STEUDM = roundCents(row.STEUSATZ * units);
        row.FREIDM = i == 1 ? allowance(in, euroNorm) : 0;
        rows.push_back(row);
    }
    return rows;
}

bool inputsComplete(const Input& in) {
    return in.NHUBRAUM > 0 && in.NKEYNR > 0 && in.DERSTZUL != 0;
}

QString CB_BERECH(const Input& in) {
    return inputsComplete(in) ? QStringLiteral("BZ_Berec") : QStringLiteral("BZ_Bere0");
}

bool catalystEnabled(const Input& in) {
    return in.DERSTZUL <= date(1995, 7, 29) && among(in.NKEYNR, {{3, 4}, {9, 10}, {15, 15}}) && in.NHUBRAUM <= 2000;
}

std::vector<Row> calculate(const Input& in, EuroNorm& norm) {
    if (!inputsComplete(in)) return {};
    const double units = taxUnits(in.NHUBRAUM);
    const int taxClass = GETEURONORM(in, norm);
    return MAKEDATA(in, units, norm.NEURONORM, GETSTEUSATZ(taxClass));
}

// --- STEUER.DBF

SteuerTable::SteuerTable(const platform::ProgramDir& dir) : m_path(dir.resolvePath("STEUER.DBF")) {
    using store::FieldType;
    m_area = m_session.create(m_path,
                              {{"DATTXT", FieldType::Character, 4, 0},
                               {"DATUM", FieldType::Date, 8, 0},
                               {"STEUSATZ", FieldType::Numeric, 9, 2},
                               {"STEUDM", FieldType::Numeric, 9, 2},
                               {"FREIDM", FieldType::Numeric, 9, 2}},
                              "DSTEU");
}

SteuerTable::~SteuerTable() {
    m_session.closeAll();
    // Only a table this object created is removed: a failed creation may have met one another program holds.
    if (m_area) {
        std::error_code ec;
        std::filesystem::remove(m_path, ec);
    }
}

bool SteuerTable::clear() {
    return m_area && m_area->zap();
}

bool SteuerTable::write(const std::vector<Row>& rows) {
    if (!clear()) return false;
    bool ok = true;
    for (const Row& row : rows) {
        ok = m_area->appendBlank() && ok;
        ok = m_area->replace("DATTXT", store::Value::text(row.DATTXT)) && ok;
        ok = m_area->replace("DATUM", store::Value::date(row.DATUM)) && ok;
        ok = m_area->replace("STEUSATZ", store::Value::number(row.STEUSATZ)) && ok;
        ok = m_area->replace("STEUDM", store::Value::number(row.STEUDM)) && ok;
        ok = m_area->replace("FREIDM", store::Value::number(row.FREIDM)) && ok;
    }
    return m_area->table().flush() && ok;
}

std::vector<Row> SteuerTable::rows() const {
    std::vector<Row> rows;
    if (!m_area) return rows;
    store::Table& t = m_area->table();
    const std::uint32_t here = t.recNo();
    for (std::uint32_t rec = 1; t.goTo(rec); ++rec) {
        Row row;
        std::string caption = t.fieldValue(t.fieldIndex("DATTXT")).asText();
        caption.erase(caption.find_last_not_of(' ') + 1);
        row.DATTXT = caption;
        row.DATUM = t.fieldValue(t.fieldIndex("DATUM")).asDate();
        row.STEUSATZ = t.fieldValue(t.fieldIndex("STEUSATZ")).asNumber();
        row.STEUDM = t.fieldValue(t.fieldIndex("STEUDM")).asNumber();
        row.FREIDM = t.fieldValue(t.fieldIndex("FREIDM")).asNumber();
        rows.push_back(row);
    }
    t.goTo(here);
    return rows;
}

std::vector<Row> ST_MAKE(const Input& in, EuroNorm& norm, SteuerTable& table) {
    table.clear();
    std::vector<Row> rows = calculate(in, norm);
    if (!rows.empty()) table.write(rows);
    return rows;
}

// --- [Steuern]

namespace {

const QString kSection = QStringLiteral("Steuern");

// A stored number where the dialog's field or choice could hold it; otherwise the key's default.
std::int64_t storedNumber(const QString& ini, const char* key, std::int64_t fallback, std::int64_t low,
                          std::int64_t high) {
    const QString text =
        platform::readProfileString(ini, kSection, QString::fromLatin1(key), QString::number(fallback));
    const double v = platform::profileNumber(text);
    if (!(v >= static_cast<double>(low) && v <= static_cast<double>(high))) return fallback;
    return static_cast<std::int64_t>(v);
}

bool putNumber(const QString& ini, const char* key, std::int64_t value) {
    return platform::writeProfileString(ini, kSection, QString::fromLatin1(key),
                                        QString::fromStdString(store::strNumber(static_cast<double>(value), 10, 0)));
}

} // namespace

void BMGETINI(const QString& ini, Input& in, EuroNorm& norm) {
    in.NHUBRAUM = storedNumber(ini, "Hubraum", 0, 0, kMaxDigits9);
    in.NKEYNR = storedNumber(ini, "KeyNr", 0, 0, kMaxDigits9);
    const QString date = platform::readProfileString(ini, kSection, QStringLiteral("ErstZul"), QString());
    in.DERSTZUL = store::parseDate(platform::toAnsi(date)).value_or(0);
    norm.NEURONORM = static_cast<int>(storedNumber(ini, "Euronorm", 1, 1, 5));
    in.NVERBRAUCH = static_cast<int>(storedNumber(ini, "Verbrauch", 1, 1, 3));
    in.NANTRIEB = static_cast<int>(storedNumber(ini, "Antrieb", 1, 1, 2));
    in.LKATALYS = false;
}

bool BMPUTINI(const QString& ini, const Input& in, const EuroNorm& norm) {
    bool ok = putNumber(ini, "Hubraum", in.NHUBRAUM);
    ok = putNumber(ini, "KeyNr", in.NKEYNR) && ok;
    ok = platform::writeProfileString(ini, kSection, QStringLiteral("ErstZul"),
                                      QString::fromStdString(store::formatDate(in.DERSTZUL))) &&
         ok;
    ok = putNumber(ini, "Euronorm", norm.NEURONORM) && ok;
    ok = putNumber(ini, "Verbrauch", in.NVERBRAUCH) && ok;
    ok = putNumber(ini, "Antrieb", in.NANTRIEB) && ok;
    return ok;
}

} // namespace calc::kfzsteu
