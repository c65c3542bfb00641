#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "store/workarea.h"

namespace platform {
class ProgramDir;
}

// The fine calculator: fine, points and driving ban of an offence, looked up in the delivered table BUSSRECH.DBF.
namespace calc::bussrech {

// The note under the speeding result when no row of the table covers the excess.
extern const char* const kFluglizenz;

// One lookup's result (the dialog's NBUSSGELD, NPUNKTE, NFVERBOT with its note or info text).
struct Result {
    double NBUSSGELD = 0; // EUR
    int NPUNKTE = 0;
    int NFVERBOT = 0; // months
    // Speeding: CUEBERTXT. Alcohol: the row's INFO. Miscellaneous: the chosen offence in full. Else empty.
    QString text;
    // Miscellaneous: a group title was chosen; the dialog puts the focus back on the list.
    bool groupTitle = false;

    // The result line's values: fine "@E 9999.99", points and months in two digits.
    QString fineText() const;
    QString pointsText() const;
    QString banText() const;
};

// NINNAUS of the speeding tab.
enum Place { Innerorts = 1, Ausserorts = 2 };

// BUSSRECH.DBF open under DBUR with the four lists. Every lookup builds a temporary index with its condition
// into BUSSRECH.CDX beside the table; the destructor closes the table and deletes that file. The table's records
// are never changed.
class FineTable {
public:
    // BMOPENDBF. Nothing, with a German message for the user in *error, when the table is missing, damaged (it
    // cannot be read, lacks a field the lookups need, or has no row of one of the four kinds) or the temporary
    // index cannot be written.
    static std::unique_ptr<FineTable> open(const platform::ProgramDir& dir, QString* error);
    ~FineTable();
    FineTable(const FineTable&) = delete;
    FineTable& operator=(const FineTable&) = delete;

    // The lists as shown (AFZEUG, AABSTA, AALKOH, ADIVER), without the fields' padding. ADIVER holds the group
    // titles ("----->> " and the title) before the offences of each group.
    QStringList AFZEUG() const { return shown(m_vehicles); }
    QStringList AABSTA() const { return shown(m_distance); }
    QStringList AALKOH() const { return shown(m_alcohol); }
    QStringList ADIVER() const { return shown(m_misc); }

    // MAKEDATA 1: the vehicle by its position in AFZEUG, inside or outside built-up areas, km/h over the limit.
    // Both bounds of a row's range count. An excess of 0 gives zeros; one that no row covers gives zeros and
    // the note kFluglizenz.
    Result speeding(int vehicle, int NINNAUS, double NUEBERGE);
    // MAKEDATA 2: the offence by its position in AABSTA and the speed driven; the upper bound of a row's range
    // does not count. No row gives zeros.
    Result distance(int offence, double NUEBERAB);
    // MAKEDATA 12: the offence by its position in AALKOH and the blood alcohol in per mille (upper bound excluded).
    // A value of 0, or one no row covers, gives zeros and no text.
    Result alcohol(int offence, double NPROMILL);
    // MAKEDATA 3: the entry by its position in ADIVER; a group title gives zeros and groupTitle.
    Result miscellaneous(int entry);

    const std::filesystem::path& cdxPath() const { return m_cdxPath; }

private:
    FineTable() = default;
    static QStringList shown(const std::vector<std::string>& list);
    bool fillLists();
    // Builds the temporary index over the rows the condition admits and goes to its first entry.
    bool select(std::string_view key, std::string_view condition);
    Result fromRow();

    store::Session m_session;
    store::WorkArea* m_area = nullptr;
    std::filesystem::path m_cdxPath;
    // The entries as stored, trailing blanks included: the lookups compare them with the field byte for byte.
    std::vector<std::string> m_vehicles, m_distance, m_alcohol, m_misc;
};

} // namespace calc::bussrech
