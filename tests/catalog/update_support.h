#pragma once
// Catalogs and updates written by independent tools, and a program folder with scripted services, for the tests
// of the update import and of its dialogs.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <map>

#include "catalog/crypt.h"
#include "catalog/tables.h"
#include "core/context.h"
#include "store/workarea.h"
#include "support/scripted.h"
#include "support/testdir.h"

namespace updatetest {

namespace fs = std::filesystem;
using store::Value;

inline const char* const kPython = "/usr/bin/python3";

// One question; texts are readable here and stored scrambled by both writers.
struct Q {
    std::string nr{};
    int thema = 1;
    std::string frage{}, antw1{}, antw2{}, antw3{};
    bool ok1 = false, ok2 = false, ok3 = false;
    int anzahl = 3;
    int klasseB = 3;
    std::string bitmap{}, picture{};
};

inline void writeCatalog(const fs::path& dir, const std::vector<Q>& questions) {
    store::Session s;
    store::WorkArea* a = s.create(dir / "FRAGEN.DBF", catalog::fragenFields(), "DFRG");
    ASSERT_NE(a, nullptr);
    for (const Q& q : questions) {
        a->appendBlank();
        a->replace("FRAGENR", Value::text(q.nr));
        a->replace("THEMA", Value::number(q.thema));
        a->replaceMemo("FRAGE", catalog::DECRYPT(q.frage), false);
        a->replaceMemo("ANTW1", catalog::DECRYPT(q.antw1), false);
        a->replaceMemo("ANTW2", catalog::DECRYPT(q.antw2), false);
        a->replaceMemo("ANTW3", catalog::DECRYPT(q.antw3), false);
        a->replace("OK1", Value::logical(q.ok1));
        a->replace("OK2", Value::logical(q.ok2));
        a->replace("OK3", Value::logical(q.ok3));
        a->replace("MC_ANZAHL", Value::number(q.anzahl));
        a->replace("KLASSE_B", Value::number(q.klasseB));
        a->replace("BITMAP", Value::text(q.bitmap));
        a->replaceMemo("PICTURE", q.picture, true);
    }
}

inline std::string pyBytes(const std::string& s) {
    std::string out = "b'";
    for (unsigned char c : s) {
        char hex[5];
        std::snprintf(hex, sizeof hex, "\\x%02x", c);
        out += hex;
    }
    return out + "'";
}

inline std::string pyText(const std::string& cp1252) {
    return pyBytes(cp1252) + ".decode('cp1252')";
}

// FRUPDATE.DBF/.FPT written by python-dbf as a FoxPro table with the fields of FRAGEN (less `omit`); `extra` is
// Python run before the table is closed, with the table as `t`.
inline void writeUpdate(const fs::path& dir, const std::vector<Q>& records, const std::string& omit = {},
                        const std::string& extra = {}) {
    std::string fieldList;
    for (const store::FieldDef& f : catalog::fragenFields()) {
        if (f.name == omit) continue;
        fieldList += (fieldList.empty() ? "" : "; ") + f.name + " ";
        switch (f.type) {
        case store::FieldType::Memo:
            fieldList += f.name == "PICTURE" ? "M binary" : "M";
            break;
        case store::FieldType::Logical:
            fieldList += "L";
            break;
        case store::FieldType::Numeric:
            fieldList += "N(" + std::to_string(f.length) + ",0)";
            break;
        default:
            fieldList += "C(" + std::to_string(f.length) + ")";
        }
    }
    std::string script = "import dbf\nt = dbf.Table('" + (dir / "FRUPDATE.DBF").string() + "', '" + fieldList +
                         "', dbf_type='fp', codepage='cp1252')\nt.open(dbf.READ_WRITE)\n";
    for (const Q& q : records) {
        std::map<std::string, std::string> v = {{"FRAGENR", pyText(q.nr)},
                                                {"THEMA", std::to_string(q.thema)},
                                                {"FRAGE", pyText(catalog::DECRYPT(q.frage))},
                                                {"ANTW1", pyText(catalog::DECRYPT(q.antw1))},
                                                {"ANTW2", pyText(catalog::DECRYPT(q.antw2))},
                                                {"ANTW3", pyText(catalog::DECRYPT(q.antw3))},
                                                {"OK1", q.ok1 ? "True" : "False"},
                                                {"OK2", q.ok2 ? "True" : "False"},
                                                {"OK3", q.ok3 ? "True" : "False"},
                                                {"MC_ANZAHL", std::to_string(q.anzahl)},
                                                {"KLASSE_B", std::to_string(q.klasseB)},
                                                {"BITMAP", pyText(q.bitmap)},
                                                {"PICTURE", pyBytes(q.picture)}};
        script += "t.append({";
        for (const auto& [name, literal] : v)
            if (name != omit)
                script.append("'")
                    .append(QString::fromStdString(name).toLower().toStdString())
                    .append("': ")
                    .append(literal)
                    .append(", ");
        script += "})\n";
    }
    script += extra + "\nt.close()\n";
    lwtest::writeFile(dir / "make_update.py", script);
    std::string out;
    ASSERT_EQ(lwtest::runCommand(std::string(kPython) + " " + (dir / "make_update.py").string() + " 2>&1", &out), 0)
        << out;
    fs::remove(dir / "make_update.py");
}

// Every record of a table as field name -> text (memos as their bytes, C trimmed, N and L as the engine reads
// them); deleted records carry "*" = "1".
using Row = std::map<std::string, std::string>;
inline std::vector<Row> rows(const fs::path& dbf) {
    std::vector<Row> out;
    auto t = store::Table::open(dbf, store::Table::Mode::SharedRead);
    if (!t) return out;
    for (std::uint32_t r = 1; r <= t->recCount(); ++r) {
        t->goTo(r);
        Row row{{"*", t->isDeleted() ? "1" : "0"}};
        for (int i = 0; i < t->fieldCount(); ++i) {
            const Value v = t->fieldValue(i);
            std::string s = v.isText()      ? v.asText()
                            : v.isLogical() ? (v.asLogical() ? "T" : "F")
                                            : std::to_string(int(v.asNumber()));
            if (t->fieldDef(i).type == store::FieldType::Character) s.erase(s.find_last_not_of(' ') + 1);
            row[t->fieldDef(i).name] = s;
        }
        out.push_back(row);
    }
    return out;
}

inline Row byNumber(const std::vector<Row>& rs, const std::string& nr) {
    for (const Row& r : rs)
        if (r.at("FRAGENR") == nr) return r;
    return {};
}

struct Program {
    lwtest::TempDir dir;
    core::Context ctx{QString::fromStdString(dir.path().string())};
    lwtest::Scripted s = lwtest::useScriptedServices(ctx);
    fs::path operator/(const std::string& name) const { return dir / name; }
    std::string file(const std::string& name) const { return lwtest::readFile(dir / name); }
};

inline const std::string kLogHead = "Logbuch des Fragenupdate vom: 01.01.2007\r\n\r\n"
                                    "Folgende Fragenummern wurden aktualisiert:\r\n\r\n";

inline std::string summary(std::array<int, 10> counts) {
    static const char* labels[] = {
        "   Gel\xF6scht: ", "Neue Fragen: ", " Fragetexte: ", "     Flag 1: ", "     Flag 2: ",
        "     Flag 3: ",    "  Antwort 1: ", "  Antwort 2: ", "  Antwort 3: ", "     Bilder: "};
    std::string s;
    for (std::size_t i = 0; i < counts.size(); ++i)
        s += labels[i] + std::to_string(counts[i]) + "\r\n";
    return s;
}

} // namespace updatetest
