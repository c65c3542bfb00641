#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QString>

namespace mkdocs {

// One row of BUSSRECH.DBF, texts in Unicode.
struct FineRecord {
    int type = 0;
    int sort = 0;
    QString offence; // VERGEHEN
    QString theme;   // THEMA
    int option = 0;
    double from = 0; // LIMITVON
    double to = 0;   // LIMITBIS
    double fine = 0; // BUSSGELD
    int points = 0;
    int banMonths = 0;
    QString info;
    QString provenance; // where the values come from; kept in the source beside the table, not in it
};

// Reads the fine table through the table engine, in record order; nothing when it cannot be read
// or lacks a field (the engine has reported why).
std::optional<std::vector<FineRecord>> readFineTable(const QString& path);

// Gives every row the provenance note of its source row, matched on kind, order, text, option and range.
// False with a message when a row has no source row: the table was built from another source.
bool attachProvenance(std::vector<FineRecord>& rows, const std::string& sourceText, QString* fault);

// The catalogue as HTML: the intro (the body of an HTML file, may be empty), then one section per kind of
// row in the order of TYPE: speeding tables per vehicle kind, distance, alcohol, and each group of
// miscellaneous offences under its title. Each table row points by number to its provenance note; the notes
// are listed at the end.
QString catalogueHtml(const std::vector<FineRecord>& rows, const QString& introBody);

// "35,00 €"
QString euro(double amount);

} // namespace mkdocs
