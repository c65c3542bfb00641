#include "catalog/tables.h"

#include <array>

#include "store/error.h"
#include "store/filecommit.h"
#include "store/workarea.h"

namespace catalog {

using store::FieldDef;
using store::FieldType;

const std::vector<std::string> KLASSEN_FELDER = {"KLASSE_A",  "KLASSE_A1", "KLASSE_M",  "KLASSE_MO", "KLASSE_K",
                                                 "KLASSE_B",  "KLASSE_C",  "KLASSE_C1", "KLASSE_D",  "KLASSE_D1",
                                                 "KLASSE_CE", "KLASSE_L",  "KLASSE_T"};

const std::vector<ExamStep> EXAM_STEPS = {{1, '1', 2}, {1, '2', 2}, {2, '1', 2}, {2, '2', 2}, {3, '1', 3},
                                         {4, '1', 2}, {4, '2', 2}, {5, '1', 2}, {5, '2', 2}, {6, '2', 3},
                                         {7, '1', 2}, {7, '2', 2}, {8, '1', 2}, {8, '2', 2}};

namespace {

// Counts the engine's reports while it lives and hands them on: some writes (a record written when the cursor moves
// on) report a failure without failing the call that caused it.
class ReportCount {
public:
    ReportCount() {
        m_previous = store::setErrorCallback([this](const store::StoreError& e) {
            ++m_count;
            if (m_previous) m_previous(e);
        });
    }
    ~ReportCount() { store::setErrorCallback(std::move(m_previous)); }
    ReportCount(const ReportCount&) = delete;
    ReportCount& operator=(const ReportCount&) = delete;
    bool any() const { return m_count > 0; }

private:
    store::ErrorCallback m_previous;
    int m_count = 0;
};

void addClassColumns(std::vector<FieldDef>& fields) {
    for (const auto& name : KLASSEN_FELDER)
        fields.push_back({name, FieldType::Numeric, 1, 0});
}

} // namespace

std::vector<FieldDef> fragenFields() {
    std::vector<FieldDef> f = {
        {"FRAGENR", FieldType::Character, 12, 0}, {"THEMA", FieldType::Numeric, 4, 0},
        {"FRAGE", FieldType::Memo, 10, 0},        {"ANTW1", FieldType::Memo, 10, 0},
        {"ANTW2", FieldType::Memo, 10, 0},        {"ANTW3", FieldType::Memo, 10, 0},
        {"OK1", FieldType::Logical, 1, 0},        {"OK2", FieldType::Logical, 1, 0},
        {"OK3", FieldType::Logical, 1, 0},        {"MCHOICE", FieldType::Logical, 1, 0},
        {"MC_VOR", FieldType::Character, 30, 0},  {"MC_WERT", FieldType::Character, 10, 0},
        {"MC_ZWISCH", FieldType::Character, 30, 0}, {"MC_WERT2", FieldType::Character, 10, 0},
        {"MC_NACH", FieldType::Character, 30, 0}, {"MC_ANZAHL", FieldType::Numeric, 2, 0},
    };
    addClassColumns(f);
    f.push_back({"BITMAP", FieldType::Character, 8, 0});
    f.push_back({"PICTURE", FieldType::Memo, 10, 0});
    return f;
}

std::vector<FieldDef> localFields() {
    std::vector<FieldDef> f = {{"FRAGENR", FieldType::Character, 12, 0}, {"THEMA", FieldType::Numeric, 4, 0}};
    addClassColumns(f);
    f.push_back({"MC_WERT", FieldType::Character, 10, 0});
    f.push_back({"MC_WERT2", FieldType::Character, 10, 0});
    f.push_back({"ANTWORTEN", FieldType::Numeric, 4, 0});
    f.push_back({"RICHTIG", FieldType::Numeric, 4, 0});
    f.push_back({"FALSCH", FieldType::Numeric, 4, 0});
    f.push_back({"ZULETZT", FieldType::Character, 2, 0});
    f.push_back({"BITMAP", FieldType::Character, 8, 0});
    return f;
}

std::vector<FieldDef> tFrageFields() {
    return {
        {"NUMMER", FieldType::Numeric, 3, 0},     {"FRAGENR", FieldType::Character, 12, 0},
        {"THEMA", FieldType::Numeric, 4, 0},      {"FRAGE", FieldType::Memo, 10, 0},
        {"ANTW1", FieldType::Memo, 10, 0},        {"ANTW2", FieldType::Memo, 10, 0},
        {"ANTW3", FieldType::Memo, 10, 0},        {"OK1", FieldType::Logical, 1, 0},
        {"OK2", FieldType::Logical, 1, 0},        {"OK3", FieldType::Logical, 1, 0},
        {"MCHOICE", FieldType::Logical, 1, 0},    {"MC_VOR", FieldType::Character, 30, 0},
        {"MC_WERT", FieldType::Character, 10, 0}, {"MC_ZWISCH", FieldType::Character, 30, 0},
        {"MC_WERT2", FieldType::Character, 10, 0}, {"MC_NACH", FieldType::Character, 30, 0},
        {"MC_ANZAHL", FieldType::Numeric, 2, 0},  {"PUNKTE", FieldType::Numeric, 2, 0},
        {"BITMAP", FieldType::Character, 8, 0},   {"PICTURE", FieldType::Memo, 10, 0},
        {"ACTIVE", FieldType::Logical, 1, 0},     {"FEHLER", FieldType::Logical, 1, 0},
    };
}

std::string structureFault(const store::Table& table, const std::vector<FieldDef>& wanted, const std::string& name) {
    for (const FieldDef& want : wanted) {
        const int i = table.fieldIndex(want.name);
        if (i < 0) return name + ": das Feld " + want.name + " fehlt";
        const FieldDef& have = table.fieldDef(i);
        if (have.type != want.type)
            return name + ": das Feld " + want.name + " hat den Typ " + static_cast<char>(have.type) + " statt " +
                   static_cast<char>(want.type);
        if (want.type != FieldType::Memo && (have.length != want.length || have.decimals != want.decimals))
            return name + ": das Feld " + want.name + " hat die Breite " + std::to_string(have.length) + "," +
                   std::to_string(have.decimals) + " statt " + std::to_string(want.length) + "," +
                   std::to_string(want.decimals);
    }
    return {};
}

bool checkStructure(const store::Table& table, const std::vector<FieldDef>& wanted) {
    const std::string fault = structureFault(table, wanted, table.path().filename().string());
    if (!fault.empty()) store::reportError(table.path().string(), fault);
    return fault.empty();
}

std::optional<ClassColumns> classColumns(std::string_view classCode) {
    struct Row {
        std::string_view prefix;
        const char* select;
        const char* points;
    };
    // Longer codes first: the code is compared by prefix, so "A1" must be tried before "A".
    static constexpr std::array<Row, 14> rows = {{
        {"A1", "KLASSE_A1", "KLASSE_A1"},
        {"A", "KLASSE_A", "KLASSE_A"},
        {"B", "KLASSE_B", "KLASSE_B"},
        {"C1", "KLASSE_C1", "KLASSE_C1"},
        {"CE", "KLASSE_CE", "KLASSE_CE"},
        {"C", "KLASSE_C", "KLASSE_C"},
        {"D1", "KLASSE_D1", "KLASSE_D1"},
        {"DE", "KLASSE_D", "KLASSE_CE"},
        {"D", "KLASSE_D", "KLASSE_D"},
        {"MO", "KLASSE_MO", "KLASSE_MO"},
        {"M", "KLASSE_M", "KLASSE_M"},
        {"S", "KLASSE_K", "KLASSE_K"},
        {"L", "KLASSE_L", "KLASSE_L"},
        {"T", "KLASSE_T", "KLASSE_T"},
    }};
    for (const Row& row : rows)
        if (classCode.substr(0, row.prefix.size()) == row.prefix)
            return ClassColumns{row.select, row.points};
    return std::nullopt;
}

std::string pictureName(std::string_view fragenr) {
    auto rtrim = [](std::string s) {
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return s;
    };
    const size_t hyphen = fragenr.find('-');
    if (hyphen == std::string_view::npos)
        return rtrim(std::string(fragenr.substr(0, 4)));
    const std::string_view prefix = fragenr.substr(0, hyphen);
    std::string name;
    for (size_t pos : {0u, 2u, 4u, 5u})
        if (pos < prefix.size())
            name += prefix[pos];
    name = rtrim(name);
    return name + rtrim(std::string(fragenr.substr(hyphen, 4)));
}

QuestionKind questionKind(std::string_view mcWert, std::string_view mcWert2) {
    auto blank = [](std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; };
    if (blank(mcWert))
        return QuestionKind::MultipleChoice;
    return blank(mcWert2) ? QuestionKind::OneValue : QuestionKind::TwoValues;
}

MakeLocalResult MAKELOCAL(const std::filesystem::path& dir, std::string_view name) {
    const auto path = dir / (std::string(name) + ".DBF");
    std::error_code ec;
    if (std::filesystem::exists(path, ec))
        return MakeLocalResult::Existed;
    store::Session session;
    store::WorkArea* catalog = session.use(dir / "FRAGEN.DBF", "DFRG", store::Table::Mode::SharedRead);
    if (!catalog)
        return MakeLocalResult::Failed;
    // Built under a staging name and put in place at the end in one step, so that a failure or a crash never leaves a
    // half-filled table that the next start would take for a complete one; the start-up sweep removes what a crash
    // left behind.
    const auto staged = store::stagingPath(path);
    const ReportCount reports;
    store::WorkArea* local = session.create(staged, localFields(), "DLOC");
    if (!local)
        return MakeLocalResult::Failed;
    bool ok = local->table().appendFrom(catalog->table());
    ok = local->table().close() && ok && !reports.any();
    session.closeAll();
    if (ok) {
        store::FileCommit commit(path);
        commit.replace(staged, path);
        ok = commit.run() == store::FileCommit::Result::Done;
    }
    if (!ok)
        std::filesystem::remove(staged, ec);
    return ok ? MakeLocalResult::Created : MakeLocalResult::Failed;
}

bool BUILDINDEX(store::WorkArea& area, std::string_view keyExpression, const std::filesystem::path& cdxPath,
                const BuildProgress& progress, const bool& done, std::string_view forCondition) {
    const std::uint32_t total = area.recCount();
    const std::uint32_t step = total / 100;
    return area.indexOn(keyExpression, cdxPath, cdxPath.stem().string(), forCondition,
                        [&](std::uint32_t recno, std::uint32_t count) {
                            if (progress)
                                progress(recno, count);
                            return !done;
                        },
                        step);
}

} // namespace catalog
