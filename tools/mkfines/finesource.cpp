#include "finesource.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <optional>

#include "store/codepage.h"
#include "store/format.h"

namespace mkfines {

namespace {

using store::FieldType;
using store::Value;

constexpr int kMaxCharWidth = 254;
const char* const kSourceOnlyColumn = "QUELLE";

enum Col { TYPE, SORT, VERGEHEN, THEMA, OPTION, LIMITVON, LIMITBIS, BUSSGELD, PUNKTE, FVERBOT, INFO };

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> cells;
    for (;;) {
        std::size_t tab = line.find('\t');
        cells.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) break;
        line.remove_prefix(tab + 1);
    }
    return cells;
}

std::string quoted(std::string_view s) {
    std::string q(1, '"');
    q.append(s);
    q.push_back('"');
    return q;
}

// The first character of a UTF-8 text that cp1252 cannot hold, as "U+2265 (≥)"; empty when all fit.
std::string firstUnmappable(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t cp = n == 1 ? b : n == 2 ? b & 0x1F : n == 3 ? b & 0x0F : b & 0x07;
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        if (store::unicodeToCp1252(cp) < 0) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
            return std::string(code) + " (" + std::string(utf8.substr(i, n)) + ")";
        }
        i += n;
    }
    return {};
}

// A plain decimal as the source writes it: digits, optionally a point and more digits. No sign, no exponent.
std::optional<double> parseDecimal(std::string_view s, int* decimals) {
    std::size_t point = s.find('.');
    std::string_view whole = s.substr(0, point);
    std::string_view frac = point == std::string_view::npos ? std::string_view() : s.substr(point + 1);
    auto allDigits = [](std::string_view p) {
        return !p.empty() && std::all_of(p.begin(), p.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!allDigits(whole) || (point != std::string_view::npos && !allDigits(frac))) return std::nullopt;
    double v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    *decimals = static_cast<int>(frac.size());
    return v;
}

// Digits before the point as the value has them: leading zeros in the source do not count against the width.
int integerDigits(double v) {
    int digits = 1;
    for (double limit = 10; v >= limit; limit *= 10)
        ++digits;
    return digits;
}

class Reader {
public:
    Source run(std::string_view text);

private:
    void fault(int line, std::string message) { m_source.faults.push_back({line, std::move(message)}); }
    bool checkHeader(std::string_view line);
    void readRow(int line, std::string_view text);
    std::optional<Value> readNumber(int line, const Column& col, std::string_view cell);
    std::optional<Value> readText(int line, const Column& col, std::string_view cell);
    void checkRow(const Row& row);
    void checkWhole();

    Source m_source;
    std::map<int, std::pair<int, std::string>> m_groupTitle; // misc TYPE -> first line and its THEMA
    std::map<std::string, int> m_miscText;                   // misc VERGEHEN -> first line
};

Source Reader::run(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (!store::isValidUtf8(text)) {
        fault(0, "die Datei ist nicht in UTF-8 geschrieben");
        return std::move(m_source);
    }
    int lineNo = 0;
    bool headerSeen = false;
    while (!text.empty()) {
        std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!headerSeen) {
            headerSeen = true;
            if (!checkHeader(line)) return std::move(m_source);
            continue;
        }
        if (line.empty()) continue;
        readRow(lineNo, line);
    }
    if (!headerSeen) {
        fault(0, "die Datei ist leer");
        return std::move(m_source);
    }
    checkWhole();
    return std::move(m_source);
}

bool Reader::checkHeader(std::string_view line) {
    std::string expected;
    for (const Column& c : columns())
        expected += std::string(c.name) + "\t";
    expected += kSourceOnlyColumn;
    if (line == expected) return true;
    std::string shown = expected;
    std::replace(shown.begin(), shown.end(), '\t', ' ');
    fault(1, "die Kopfzeile muss die Spalten " + shown + " in dieser Reihenfolge nennen, durch Tabulatoren getrennt");
    return false;
}

void Reader::readRow(int line, std::string_view text) {
    std::vector<std::string_view> cells = splitTabs(text);
    const std::size_t wanted = columns().size() + 1;
    if (cells.size() != wanted) {
        fault(line, std::to_string(cells.size()) + " Spalten statt " + std::to_string(wanted));
        return;
    }
    Row row;
    row.line = line;
    bool ok = true;
    for (std::size_t i = 0; i < columns().size(); ++i) {
        const Column& col = columns()[i];
        std::optional<Value> v =
            col.type == FieldType::Numeric ? readNumber(line, col, cells[i]) : readText(line, col, cells[i]);
        ok = ok && v.has_value();
        row.values.push_back(v.value_or(Value()));
    }
    if (!ok) return; // the checks across columns need every value
    row.provenance = std::string(cells.back());
    checkRow(row);
    m_source.rows.push_back(std::move(row));
}

std::optional<Value> Reader::readNumber(int line, const Column& col, std::string_view cell) {
    const std::string name = col.name;
    if (cell.empty()) {
        fault(line, name + " ist leer");
        return std::nullopt;
    }
    int decimals = 0;
    std::optional<double> v = parseDecimal(cell, &decimals);
    if (!v) {
        fault(line, name + " " + quoted(cell) + " ist keine Zahl (erlaubt: Ziffern, Dezimalpunkt)");
        return std::nullopt;
    }
    if (decimals > col.decimals) {
        fault(line, name + " " + quoted(cell) +
                        (col.decimals == 0 ? " muss eine ganze Zahl sein"
                                           : " hat mehr als " + std::to_string(col.decimals) + " Nachkommastellen"));
        return std::nullopt;
    }
    const int room = col.length - (col.decimals > 0 ? col.decimals + 1 : 0);
    if (integerDigits(*v) > room) {
        fault(line, name + " " + quoted(cell) + " passt nicht in das Feld (" + std::to_string(col.length) + "," +
                        std::to_string(col.decimals) + ")");
        return std::nullopt;
    }
    return Value::number(*v);
}

std::optional<Value> Reader::readText(int line, const Column& col, std::string_view cell) {
    if (std::string bad = firstUnmappable(cell); !bad.empty()) {
        fault(line, std::string(col.name) + " enthält " + bad + ", das es im Windows-Zeichensatz cp1252 nicht gibt");
        return std::nullopt;
    }
    std::string bytes = store::utf8ToCp1252(cell);
    if (bytes.size() > static_cast<std::size_t>(kMaxCharWidth)) {
        fault(line, std::string(col.name) + " ist " + std::to_string(bytes.size()) + " Zeichen lang, höchstens " +
                        std::to_string(kMaxCharWidth) + " sind möglich");
        return std::nullopt;
    }
    return Value::text(std::move(bytes));
}

void Reader::checkRow(const Row& row) {
    const int line = row.line;
    auto num = [&](Col c) { return row.values[c].asNumber(); };
    const auto& vergehen = row.values[VERGEHEN].asText();
    const auto& thema = row.values[THEMA].asText();
    const int type = static_cast<int>(num(TYPE));

    if (type < 1 || type > 14) {
        fault(line, "TYPE " + std::to_string(type) +
                        " ist unbekannt (1 Geschwindigkeit, 3 Abstand, 12 Alkohol, 2, 4-11, 13, 14 Diverses)");
        return;
    }
    if (vergehen.empty()) fault(line, "VERGEHEN ist leer");
    if (num(LIMITVON) > num(LIMITBIS))
        fault(line, "LIMITVON " + store::plainNumber(num(LIMITVON)) + " ist größer als LIMITBIS " +
                        store::plainNumber(num(LIMITBIS)));
    if (type == 1 && num(OPTION) != 1 && num(OPTION) != 2)
        fault(line, "OPTION muss bei Geschwindigkeit 1 (innerorts) oder 2 (außerorts) sein");

    if (!isMiscellaneousType(type)) return;
    if (thema.empty()) {
        fault(line, "THEMA ist leer; jede Zeile unter Diverses (TYPE " + std::to_string(type) +
                        ") braucht den Titel ihrer Gruppe");
    } else if (auto [it, fresh] = m_groupTitle.try_emplace(type, line, thema); !fresh && it->second.second != thema) {
        fault(line, "THEMA " + quoted(store::cp1252ToUtf8(thema)) + " weicht vom Titel der Gruppe TYPE " +
                        std::to_string(type) + " in Zeile " + std::to_string(it->second.first) + " ab (" +
                        quoted(store::cp1252ToUtf8(it->second.second)) + ")");
    }
    if (!vergehen.empty() && vergehen.front() == '-')
        fault(line, "VERGEHEN beginnt mit \"-\"; der Rechner hielte den Eintrag für einen Gruppentitel");
    if (auto [it, fresh] = m_miscText.try_emplace(vergehen, line); !fresh && !vergehen.empty())
        fault(line, "VERGEHEN steht unter Diverses schon in Zeile " + std::to_string(it->second) +
                        "; der Rechner fände immer nur die erste Zeile");
}

void Reader::checkWhole() {
    auto has = [&](auto pred) {
        return std::any_of(m_source.rows.begin(), m_source.rows.end(),
                           [&](const Row& r) { return pred(static_cast<int>(r.values[TYPE].asNumber())); });
    };
    // A row dropped for a fault would otherwise show up again here as a missing kind.
    const bool rowsComplete = m_source.faults.empty();
    if (rowsComplete && !has([](int t) { return t == 1; })) fault(0, "keine Zeile für Geschwindigkeit (TYPE 1)");
    if (rowsComplete && !has([](int t) { return t == 3; })) fault(0, "keine Zeile für Abstand (TYPE 3)");
    if (rowsComplete && !has([](int t) { return t == 12; })) fault(0, "keine Zeile für Alkohol (TYPE 12)");
    if (rowsComplete && !has(isMiscellaneousType)) fault(0, "keine Zeile für Diverses (TYPE 2, 4-11, 13, 14)");

    for (const Column& c : columns()) {
        store::FieldDef f{c.name, c.type, c.length, c.decimals};
        if (c.type == FieldType::Character) {
            const auto col = static_cast<std::size_t>(&c - columns().data());
            for (const Row& r : m_source.rows)
                f.length = std::max(f.length, static_cast<int>(r.values[col].asText().size()));
        }
        m_source.fields.push_back(f);
    }
}

} // namespace

const std::vector<Column>& columns() {
    static const std::vector<Column> list = {
        {"TYPE", FieldType::Numeric, 2, 0},         {"SORT", FieldType::Numeric, 3, 0},
        {"VERGEHEN", FieldType::Character, 150, 0}, {"THEMA", FieldType::Character, 50, 0},
        {"OPTION", FieldType::Numeric, 1, 0},       {"LIMITVON", FieldType::Numeric, 7, 2},
        {"LIMITBIS", FieldType::Numeric, 7, 2},     {"BUSSGELD", FieldType::Numeric, 7, 2},
        {"PUNKTE", FieldType::Numeric, 2, 0},       {"FVERBOT", FieldType::Numeric, 2, 0},
        {"INFO", FieldType::Character, 220, 0},
    };
    return list;
}

bool isMiscellaneousType(int type) {
    return type == 2 || (type >= 4 && type <= 11) || type == 13 || type == 14;
}

Source readSource(std::string_view text) {
    return Reader().run(text);
}

} // namespace mkfines
