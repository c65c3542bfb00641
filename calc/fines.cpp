#include "calc/fines.h"

#include <system_error>
#include <utility>

#include "platform/ansi.h"
#include "platform/programdir.h"
#include "store/error.h"
#include "store/format.h"

namespace calc::bussrech {

const char* const kFluglizenz = "Sie sollten eine Fluglizenz erwerben !";

namespace {

using store::FieldType;
using store::Value;

const char* const kTableName = "BUSSRECH.DBF";
const char* const kIndexName = "BUSSRECH.CDX";
const char* const kTag = "BUSSRECH";

QString tr8(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// While the table is opened, the engine's reports are collected: the calculator tells the user once, in its own
// words, why it cannot open.
class Reports {
public:
    Reports() {
        m_previous = store::setErrorCallback([this](const store::StoreError& e) {
            if (m_first.empty()) m_first = e.message;
        });
    }
    ~Reports() { store::setErrorCallback(std::move(m_previous)); }
    Reports(const Reports&) = delete;
    Reports& operator=(const Reports&) = delete;

    QString first() const { return QString::fromStdString(m_first); }

private:
    store::ErrorCallback m_previous;
    std::string m_first;
};

QString cannotOpen(const QString& why) {
    return why + tr8("\nDer Bußgeldrechner kann nicht geöffnet werden.");
}

QString withDetail(const char* sentence, const QString& detail) {
    QString text = tr8(sentence);
    if (!detail.isEmpty()) text += QStringLiteral(" (") + detail + u')';
    return cannotOpen(text + u'.');
}

struct Needed {
    const char* name;
    FieldType type;
};

const Needed kFields[] = {
    {"TYPE", FieldType::Numeric},     {"SORT", FieldType::Numeric},     {"VERGEHEN", FieldType::Character},
    {"THEMA", FieldType::Character},  {"OPTION", FieldType::Numeric},   {"LIMITVON", FieldType::Numeric},
    {"LIMITBIS", FieldType::Numeric}, {"BUSSGELD", FieldType::Numeric}, {"PUNKTE", FieldType::Numeric},
    {"FVERBOT", FieldType::Numeric},  {"INFO", FieldType::Character}};

std::string trimmed(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

} // namespace

QString Result::fineText() const {
    return QString::fromStdString(store::transformPicture(NBUSSGELD, "@E 9999.99"));
}

QString Result::pointsText() const {
    return QString::fromStdString(store::strNumber(NPUNKTE, 2));
}

QString Result::banText() const {
    return QString::fromStdString(store::strNumber(NFVERBOT, 2));
}

std::unique_ptr<FineTable> FineTable::open(const platform::ProgramDir& dir, QString* error) {
    QString message;
    std::unique_ptr<FineTable> table(new FineTable);
    {
        Reports reports;
        const std::filesystem::path path = dir.resolvePath(kTableName);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) {
            message = cannotOpen(tr8("Die Bußgeldtabelle BUSSRECH.DBF fehlt im Programmordner."));
        } else if (!(table->m_area = table->m_session.use(path, "DBUR", store::Table::Mode::Exclusive))) {
            message = withDetail("Die Bußgeldtabelle BUSSRECH.DBF kann nicht gelesen werden", reports.first());
        } else {
            for (const Needed& f : kFields) {
                const int i = table->m_area->fieldIndex(f.name);
                if (i < 0 || table->m_area->table().fieldDef(i).type != f.type) {
                    message = cannotOpen(tr8("Die Bußgeldtabelle BUSSRECH.DBF ist beschädigt: das Feld ") +
                                         QString::fromLatin1(f.name) + tr8(" fehlt oder hat den falschen Typ."));
                    break;
                }
            }
        }
        if (message.isEmpty()) {
            // A leftover of an earlier run is not read: it may hold tags of another table's making.
            table->m_cdxPath = dir.resolvePath(kIndexName);
            std::filesystem::remove(table->m_cdxPath, ec);
            if (!table->fillLists())
                message = withDetail("Der Suchindex BUSSRECH.CDX kann im Programmordner nicht angelegt werden",
                                     reports.first());
        }
        if (message.isEmpty()) {
            const std::pair<const std::vector<std::string>*, const char*> kinds[] = {
                {&table->m_vehicles, "Geschwindigkeit"},
                {&table->m_distance, "Abstand"},
                {&table->m_alcohol, "Alkohol"},
                {&table->m_misc, "Diverses"}};
            for (const auto& [list, kind] : kinds) {
                if (list->empty()) {
                    message = cannotOpen(tr8("Die Bußgeldtabelle BUSSRECH.DBF ist beschädigt: sie enthält keine "
                                             "Zeile für ") +
                                         tr8(kind) + u'.');
                    break;
                }
            }
        }
    }
    if (message.isEmpty()) return table;
    if (error) *error = message;
    return nullptr; // the destructor closes the table and removes what the index build left
}

FineTable::~FineTable() {
    m_session.closeAll();
    if (!m_cdxPath.empty()) {
        std::error_code ec;
        std::filesystem::remove(m_cdxPath, ec);
    }
}

QStringList FineTable::shown(const std::vector<std::string>& list) {
    QStringList out;
    for (const std::string& entry : list)
        out << platform::fromAnsi(trimmed(entry));
    return out;
}

bool FineTable::select(std::string_view key, std::string_view condition) {
    if (!m_area->indexOn(key, m_cdxPath, kTag, condition)) return false;
    m_area->goTop();
    return true;
}

bool FineTable::fillLists() {
    // Speeding and alcohol: each (SORT, VERGEHEN) once, in that order.
    const auto uniqueBySortAndText = [this](std::vector<std::string>& list) {
        double lastSort = 0;
        for (bool on = !m_area->eof(); on; on = m_area->skip()) {
            const double sort = m_area->number("SORT");
            std::string text = m_area->value("VERGEHEN").asText();
            if (list.empty() || sort != lastSort || text != list.back()) list.push_back(std::move(text));
            lastSort = sort;
        }
    };
    if (!select("STR(SORT,3)+VERGEHEN", "TYPE = 1")) return false;
    uniqueBySortAndText(m_vehicles);

    // Distance: each text once, from the last in the order to the first.
    if (!select("VERGEHEN", "TYPE = 3")) return false;
    for (bool on = m_area->goBottom(); on; on = m_area->skip(-1)) {
        std::string text = m_area->value("VERGEHEN").asText();
        if (m_distance.empty() || text != m_distance.back()) m_distance.push_back(std::move(text));
    }

    if (!select("STR(SORT,3)+VERGEHEN", "TYPE = 12")) return false;
    uniqueBySortAndText(m_alcohol);

    // Miscellaneous: every row by group and SORT, each group headed by its title.
    if (!select("STR(TYPE,2)+STR(SORT,3)", "TYPE = 2 .OR. (TYPE >= 4 .AND. TYPE <= 11) .OR. TYPE = 13 .OR. TYPE = 14"))
        return false;
    double lastType = 0;
    for (bool on = !m_area->eof(); on; on = m_area->skip()) {
        const double type = m_area->number("TYPE");
        if (m_misc.empty() || type != lastType) m_misc.push_back("----->> " + m_area->value("THEMA").asText());
        m_misc.push_back(m_area->value("VERGEHEN").asText());
        lastType = type;
    }
    return true;
}

Result FineTable::fromRow() {
    Result r;
    r.NBUSSGELD = m_area->number("BUSSGELD");
    r.NPUNKTE = static_cast<int>(m_area->number("PUNKTE"));
    r.NFVERBOT = static_cast<int>(m_area->number("FVERBOT"));
    return r;
}

namespace {

// The entry at a position of a list; nothing outside it.
const std::string* entryAt(const std::vector<std::string>& list, int position) {
    if (position < 0 || position >= static_cast<int>(list.size())) return nullptr;
    return &list[static_cast<std::size_t>(position)];
}

} // namespace

Result FineTable::speeding(int vehicle, int NINNAUS, double NUEBERGE) {
    Result r;
    const std::string* entry = entryAt(m_vehicles, vehicle);
    if (!entry || !(NUEBERGE > 0)) return r;
    m_session.setVariable("CFZEUG", Value::text(*entry));
    m_session.setVariable("NINNAUS", Value::number(NINNAUS));
    m_session.setVariable("NUEBERGE", Value::number(NUEBERGE));
    if (!select("VERGEHEN", "VERGEHEN == M->CFZEUG .AND. OPTION = M->NINNAUS .AND. LIMITVON <= M->NUEBERGE .AND. "
                            "LIMITBIS >= M->NUEBERGE"))
        return r; // the engine has reported why; no note for a lookup that did not run
    if (!m_area->eof()) return fromRow();
    // Faster than any row reaches: no fine of a lower range stays on screen beside the note.
    r.text = tr8(kFluglizenz);
    return r;
}

Result FineTable::distance(int offence, double NUEBERAB) {
    const std::string* entry = entryAt(m_distance, offence);
    if (!entry) return {};
    m_session.setVariable("CABSTA", Value::text(*entry));
    m_session.setVariable("NUEBERAB", Value::number(NUEBERAB));
    if (select("VERGEHEN", "VERGEHEN == M->CABSTA .AND. LIMITVON <= M->NUEBERAB .AND. LIMITBIS > M->NUEBERAB") &&
        !m_area->eof())
        return fromRow();
    return {};
}

Result FineTable::alcohol(int offence, double NPROMILL) {
    const std::string* entry = entryAt(m_alcohol, offence);
    if (!entry || !(NPROMILL > 0)) return {};
    m_session.setVariable("CALKOH", Value::text(*entry));
    m_session.setVariable("NPROMILL", Value::number(NPROMILL));
    if (select("VERGEHEN", "VERGEHEN == M->CALKOH .AND. LIMITVON <= M->NPROMILL .AND. LIMITBIS > M->NPROMILL") &&
        !m_area->eof()) {
        Result r = fromRow();
        r.text = platform::fromAnsi(trimmed(m_area->value("INFO").asText()));
        return r;
    }
    return {};
}

Result FineTable::miscellaneous(int entryPosition) {
    Result r;
    const std::string* entry = entryAt(m_misc, entryPosition);
    if (!entry) return r;
    if (entry->starts_with('-')) {
        r.groupTitle = true;
        return r;
    }
    m_session.setVariable("CDIVER", Value::text(*entry));
    if (select("VERGEHEN", "VERGEHEN == M->CDIVER") && !m_area->eof()) r = fromRow();
    r.text = platform::fromAnsi(trimmed(*entry));
    return r;
}

} // namespace calc::bussrech
