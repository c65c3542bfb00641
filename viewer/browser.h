#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/workarea.h"

namespace core {
class Context;
}

// The catalog browser's logic: the eleven areas, the working copy "Katalog" of the learner's table, the search on
// it and the read-only view of one question. Qt Core only; the dialogs are in dialogs.h.
namespace viewer {

// One area of the area choice: its radio button, the condition on the learner's record, the title of the table,
// and the class label and points column of the question view (none: the view shows "--").
struct Area {
    const char* radio;
    const char* condition;
    const char* title;
    const char* classLabel;
    const char* pointsField;
};
inline constexpr int kAreaCount = 11;
// Areas 1 to 11; any other number gives area 1.
const Area& area(int number);

// The area chosen last ([Setup] Katalog), 1 when missing or not an area; written back without leading blanks.
int readArea(core::Context& ctx);
void writeArea(core::Context& ctx, int number);

// Upper case for the letters a to z only: umlauts and every other character stay as they are.
std::string upperAZ(std::string_view ansi);
QString upperAZ(const QString& text);
// What a typed search text searches for: upper-cased (a to z), trailing blanks removed, "..." when nothing is left.
QString searchTerm(const QString& typed);

// The first line of a text wrapped at `width` characters at word boundaries (a word longer than the line is cut).
QString firstLine(const QString& text, int width = 79);

// One row of the table, as the grid shows it.
struct Row {
    QString fragenr;
    int thema = 0;
    QString text; // first line of the readable question text; empty when the question is not in the catalog
    int antworten = 0;
    int richtig = 0;
};

// What the question view shows of one question.
struct QuestionData {
    int layout = 1; // 1 multiple choice, 2 one value, 3 two values
    QString frage;
    std::array<QString, 3> antw;
    std::array<bool, 3> ok{};
    QString vor, wert, zwisch, wert2, nach;
    QString classLabel;
    QString points; // one digit, or "--" for the areas without a class
    int thema = 0;
    QString fragenr;
    int antworten = 0;
    int richtig = 0;
    QString picture;        // file to show; empty for none
    bool noPicture = false; // the question has no picture of its own: the filler picture is shown
};

// SHOWKATA's tables: the catalog FRAGEN as DFRA with its index, and the working copy "Katalog" of the area as DLOC,
// related to DFRA on FRAGENR. The rows are the copy's records in question order, narrowed by a search.
class Browser {
public:
    explicit Browser(core::Context& ctx);
    // Closes the tables and deletes LOCAL.CDX.
    ~Browser();
    Browser(const Browser&) = delete;
    Browser& operator=(const Browser&) = delete;

    // Builds the working copy of the area and opens the tables (the catalog index rebuilt under the progress dialog
    // when missing). False when a table could not be opened or built; the error was reported.
    bool open(int areaNumber);

    int areaNumber() const { return m_area; }
    // "Fragenkatalog - " and the area's title.
    QString title() const;

    int rowCount() const { return int(m_rows.size()); }
    // Row 0 .. rowCount() - 1.
    const Row& row(int index) const;

    // SUCHEN2: narrows the rows to the questions whose readable text, upper-cased, contains the search term. On no
    // hit says so, shows every row again and returns false.
    bool SUCHEN2(const QString& typed);
    bool filtered() const { return m_filtered; }
    // Every row of the copy again.
    void showAll();

    // GETDATA: the values of the row's question; the picture is written to BILD.BMP when the question has one.
    QuestionData GETDATA(int index);
    // DELDATA: for an answered row asks whether to reset it; on yes zeroes ANTWORTEN, RICHTIG and FALSCH of the
    // copy (ZULETZT stays). True when the row was reset.
    bool DELDATA(int index);
    // The maintainer's export of the row's question into FRUPDATE.DBF.
    bool exportQuestion(int index);

    store::Session& session() { return m_session; }

private:
    bool copyArea(const Area& a);
    void mapCatalog();
    // Moves the copy (and through the relation the catalog) to the row's record.
    bool moveTo(int index);

    core::Context& m_ctx;
    store::Session m_session;
    int m_area = 1;
    bool m_filtered = false;
    std::vector<std::uint32_t> m_all;      // records of the copy, in question order
    std::vector<std::uint32_t> m_rows;     // those shown
    std::vector<std::uint32_t> m_fragenOf; // catalog record of each copy record (0: not in the catalog)
    mutable std::vector<std::optional<Row>> m_cache;
};

} // namespace viewer
