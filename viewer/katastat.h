#pragma once

#include <QString>

#include <array>
#include <filesystem>

#include "store/workarea.h"

namespace core {
class Context;
}

// The catalog statistics: per licence class the questions of the catalog, their error points, those with a
// picture and those asking for a value, and the size of the whole catalog.
namespace viewer {

struct StatRow {
    const char* klasse;
    const char* text;
    const char* field; // class column counted; none for the total row
};
inline constexpr int kStatRows = 15;
const std::array<StatRow, kStatRows>& statRows();

struct ClassCounts {
    long long fragen = 0;
    long long punkte = 0;
    long long bitmap = 0;
    long long werte = 0;
    friend bool operator==(const ClassCounts&, const ClassCounts&) = default;
};

// The fifteen rows counted over every record of the catalog, in the order of statRows(); the last row holds the
// number of records in `fragen` and 0 elsewhere.
std::array<ClassCounts, kStatRows> countCatalog(store::Table& fragen);

// T_STAT, filled from the catalog and open as DSTA while the dialog shows it.
class CatalogStatistics {
public:
    explicit CatalogStatistics(core::Context& ctx);
    // Closes the tables and deletes T_STAT.DBF.
    ~CatalogStatistics();
    CatalogStatistics(const CatalogStatistics&) = delete;
    CatalogStatistics& operator=(const CatalogStatistics&) = delete;

    // COUNTTEMP: counts the catalog (wait cursor) and fills T_STAT, left at its first row. False when a table
    // could not be opened or written (reported).
    bool COUNTTEMP();
    // The table's file: in the folder of [Path] DBF (the program folder when empty).
    const std::filesystem::path& file() const { return m_file; }
    store::WorkArea* area() const { return m_session.find("DSTA"); }

private:
    // MAKETEMP: creates T_STAT anew and opens it exclusively as DSTA.
    bool MAKETEMP();

    core::Context& m_ctx;
    store::Session m_session;
    std::filesystem::path m_file;
};

} // namespace viewer
