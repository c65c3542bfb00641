#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/value.h"

namespace mkfines {

// One column of the fine table: its name in the source header and its field in BUSSRECH.DBF.
struct Column {
    const char* name;
    store::FieldType type;
    int length;   // proposed width; character fields grow to their longest text (up to 254)
    int decimals; // numeric only
};

// The table's fields in source order. The source has one more column, QUELLE, that documents where a
// value comes from and stays out of the table.
const std::vector<Column>& columns();

struct Fault {
    int line = 0; // 0: the file as a whole
    std::string message;
};

struct Row {
    int line = 0;
    std::vector<store::Value> values; // one per column(); texts already in cp1252
    std::string provenance;           // QUELLE, UTF-8: where the values come from
};

struct Source {
    std::vector<Row> rows;
    std::vector<store::FieldDef> fields; // with the character widths the rows need
    std::vector<Fault> faults;           // empty when the source is usable
};

// Reads and checks the tab-separated source. Every fault found is listed; the rows are only
// meant for writing when there is none.
Source readSource(std::string_view text);

// True for the kinds the calculator lists under "Diverses".
bool isMiscellaneousType(int type);

} // namespace mkfines
