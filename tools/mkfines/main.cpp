// mkfines: compiles the fine table source (data/fines/bussrech.tsv) into BUSSRECH.DBF.
// The table is written by the program's own engine, so the calculator reads exactly what it writes.
//
//     mkfines <bussrech.tsv> <BUSSRECH.DBF>
//
// Any fault in the source is reported with its line, and nothing is written: the build stops.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "finesource.h"
#include "store/error.h"
#include "store/table.h"

namespace {

namespace fs = std::filesystem;

bool g_engineFailed = false;

std::string rtrim(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

bool writeTable(const fs::path& path, const mkfines::Source& source) {
    auto table = store::Table::create(path, source.fields);
    if (!table) return false;
    for (const mkfines::Row& row : source.rows) {
        if (!table->appendBlank()) return false;
        for (std::size_t i = 0; i < row.values.size(); ++i)
            if (!table->replace(static_cast<int>(i), row.values[i])) {
                std::fprintf(stderr, "mkfines: Zeile %d: %s passt nicht in das Feld\n", row.line,
                             source.fields[i].name.c_str());
                return false;
            }
    }
    return table->close() && !g_engineFailed;
}

// Reads the written table back through the engine; a difference means the engine or the field layout lost data.
bool verifyTable(const fs::path& path, const mkfines::Source& source) {
    auto table = store::Table::open(path, store::Table::Mode::SharedRead);
    if (!table) return false;
    if (table->recCount() != source.rows.size()) {
        std::fprintf(stderr, "mkfines: %s hat %u statt %zu Zeilen\n", path.c_str(), table->recCount(),
                     source.rows.size());
        return false;
    }
    for (std::uint32_t rec = 1; rec <= table->recCount(); ++rec) {
        table->goTo(rec);
        const mkfines::Row& row = source.rows[rec - 1];
        for (std::size_t i = 0; i < row.values.size(); ++i) {
            store::Value got = table->fieldValue(static_cast<int>(i));
            const store::Value& want = row.values[i];
            bool same = want.isNumber() ? std::fabs(got.asNumber() - want.asNumber()) < 1e-9
                                        : rtrim(got.asText()) == rtrim(want.asText());
            if (!same) {
                std::fprintf(stderr, "mkfines: Satz %u, Feld %s liest sich anders zurück, als es geschrieben wurde\n",
                             rec, source.fields[i].name.c_str());
                return false;
            }
        }
    }
    return table->close();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Aufruf: mkfines <bussrech.tsv> <BUSSRECH.DBF>\n");
        return 2;
    }
    const fs::path sourcePath = argv[1];
    const fs::path outPath = argv[2];
    store::setErrorCallback([](const store::StoreError& e) {
        g_engineFailed = true;
        std::fprintf(stderr, "mkfines: %s: %s\n", e.file.c_str(), e.message.c_str());
    });

    std::ifstream in(sourcePath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "mkfines: %s lässt sich nicht lesen\n", sourcePath.c_str());
        return 1;
    }
    const std::string text(std::istreambuf_iterator<char>(in), {});

    mkfines::Source source = mkfines::readSource(text);
    if (!source.faults.empty()) {
        for (const mkfines::Fault& f : source.faults) {
            if (f.line > 0)
                std::fprintf(stderr, "%s:%d: %s\n", sourcePath.c_str(), f.line, f.message.c_str());
            else
                std::fprintf(stderr, "%s: %s\n", sourcePath.c_str(), f.message.c_str());
        }
        std::fprintf(stderr, "mkfines: %zu Fehler in %s; %s wurde nicht geschrieben\n", source.faults.size(),
                     sourcePath.filename().c_str(), outPath.filename().c_str());
        return 1;
    }

    // Written beside the target and moved over it only when complete and read back unchanged.
    const fs::path part = outPath.parent_path() / (outPath.stem().string() + ".part" + outPath.extension().string());
    std::error_code ec;
    if (!outPath.parent_path().empty()) fs::create_directories(outPath.parent_path(), ec);
    if (!writeTable(part, source) || !verifyTable(part, source)) {
        fs::remove(part, ec);
        std::fprintf(stderr, "mkfines: %s wurde nicht geschrieben\n", outPath.c_str());
        return 1;
    }
    fs::rename(part, outPath, ec);
    if (ec) {
        std::fprintf(stderr, "mkfines: %s: %s\n", outPath.c_str(), ec.message().c_str());
        fs::remove(part, ec);
        return 1;
    }
    std::printf("mkfines: %s mit %zu Zeilen geschrieben\n", outPath.filename().c_str(), source.rows.size());
    return 0;
}
