#pragma once

// Shared by the content tests: where the build put the program folder, and the fine table as rows.

#include <filesystem>
#include <string>
#include <vector>

#include "store/codepage.h"
#include "store/table.h"

namespace lwtest {

inline std::filesystem::path distDir() {
    return LW_DIST_DIR;
}

// Joins texts. Spelled out because "literal" + std::string&& trips a false -Wrestrict warning of GCC 12.
template <typename... Parts> std::string cat(const Parts&... parts) {
    std::string s;
    (s.append(parts), ...);
    return s;
}

inline std::string quotedPath(const std::filesystem::path& p) {
    return cat("'", p.string(), "'");
}

struct FineRow {
    int type = 0, sort = 0, option = 0, points = 0, ban = 0;
    std::string offence, theme, info; // UTF-8, without the field's padding
    double from = 0, to = 0, fine = 0;
};

inline std::string untilPadding(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return store::cp1252ToUtf8(s);
}

// Every record of a fine table, read through the engine; empty when it cannot be opened.
inline std::vector<FineRow> readFineRows(const std::filesystem::path& path) {
    std::vector<FineRow> rows;
    auto t = store::Table::open(path, store::Table::Mode::SharedRead);
    if (!t) return rows;
    auto num = [&](const char* f) { return t->fieldValue(t->fieldIndex(f)).asNumber(); };
    auto text = [&](const char* f) { return untilPadding(t->fieldValue(t->fieldIndex(f)).asText()); };
    for (std::uint32_t rec = 1; t->goTo(rec); ++rec) {
        FineRow r;
        r.type = static_cast<int>(num("TYPE"));
        r.sort = static_cast<int>(num("SORT"));
        r.offence = text("VERGEHEN");
        r.theme = text("THEMA");
        r.option = static_cast<int>(num("OPTION"));
        r.from = num("LIMITVON");
        r.to = num("LIMITBIS");
        r.fine = num("BUSSGELD");
        r.points = static_cast<int>(num("PUNKTE"));
        r.ban = static_cast<int>(num("FVERBOT"));
        r.info = text("INFO");
        rows.push_back(r);
    }
    return rows;
}

} // namespace lwtest
