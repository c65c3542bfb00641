#include "viewer/katastat.h"

#include <vector>

#include "core/context.h"
#include "platform/ansi.h"
#include "platform/inifile.h"

namespace viewer {

const std::array<StatRow, kStatRows>& statRows() {
    static const std::array<StatRow, kStatRows> rows = {{
        {"A1", "Motorräder bis 125 ccm und max. 11 kW", "KLASSE_A1"},
        {"A", "Motorräder", "KLASSE_A"},
        {"B / BE", "PKW bis 3,5 t", "KLASSE_B"},
        {"C1", "KFZ von 3,5 - 7,5 t", "KLASSE_C1"},
        {"CE", "KFZ über 3,5 t mit Anhänger über 750 kg", "KLASSE_CE"},
        {"C", "KFZ über 3,5 t", "KLASSE_C"},
        {"D1", "Busse mit 8 - 15 Sitzplätzen", "KLASSE_D1"},
        // Class DE has no column of its own: its figures are those of the CE column.
        {"DE", "Busse ab 8 Sitzplätze mit Anhänger über 750 kg", "KLASSE_CE"},
        {"D", "Busse ab 8 Sitzplätze", "KLASSE_D"},
        {"M", "Kleinkrafträder und Fahrräder mit Hilfsmotor", "KLASSE_M"},
        {"MO", "Mofas", "KLASSE_MO"},
        {"L", "selbstfahrende Arbeitsmaschinen", "KLASSE_L"},
        {"S", "dreirädrige Kleinkrad oder vierrädrige Leicht-Kfz", "KLASSE_K"},
        {"T", "land- und forstwirtschaftliche Zugmaschinen", "KLASSE_T"},
        {"", " --> Anzahl Fragen", nullptr},
    }};
    return rows;
}

std::array<ClassCounts, kStatRows> countCatalog(store::Table& fragen) {
    std::array<ClassCounts, kStatRows> counts{};
    std::array<int, kStatRows> columns{};
    for (int i = 0; i < kStatRows; ++i)
        columns[std::size_t(i)] =
            statRows()[std::size_t(i)].field ? fragen.fieldIndex(statRows()[std::size_t(i)].field) : -1;
    const int bitmap = fragen.fieldIndex("BITMAP");
    const int wert = fragen.fieldIndex("MC_WERT");
    for (std::uint32_t r = 1; r <= fragen.recCount(); ++r) {
        fragen.goTo(r);
        const bool picture = bitmap >= 0 && fragen.fieldValue(bitmap).asText().rfind("KEINBILD", 0) != 0;
        bool value = false;
        if (wert >= 0)
            for (char c : fragen.rawField(wert))
                if (c != ' ' && c != '\0') value = true;
        for (int i = 0; i < kStatRows; ++i) {
            const int column = columns[std::size_t(i)];
            if (column < 0) continue;
            const double points = fragen.fieldValue(column).asNumber();
            if (points <= 0) continue;
            ClassCounts& c = counts[std::size_t(i)];
            ++c.fragen;
            c.punkte += static_cast<long long>(points);
            if (picture) ++c.bitmap;
            if (value) ++c.werte;
        }
    }
    counts[kStatRows - 1].fragen = fragen.recCount();
    return counts;
}

CatalogStatistics::CatalogStatistics(core::Context& ctx) : m_ctx(ctx) {
    const QString folder =
        platform::readProfileString(ctx.path(ctx.settings.CINIFILE), QStringLiteral("Path"), QStringLiteral("DBF"), {});
    m_file = ctx.filePath(platform::toAnsi(folder + QStringLiteral("T_STAT.DBF")));
}

CatalogStatistics::~CatalogStatistics() {
    m_session.closeAll();
    // Deleted where it was made, also when [Path] DBF names another folder.
    std::error_code ec;
    std::filesystem::remove(m_file, ec);
}

bool CatalogStatistics::MAKETEMP() {
    std::error_code ec;
    std::filesystem::remove(m_file, ec);
    return m_session.create(m_file,
                            {{"KLASSE", store::FieldType::Character, 10, 0},
                             {"TEXT", store::FieldType::Character, 250, 0},
                             {"FRAGEN", store::FieldType::Numeric, 5, 0},
                             {"PUNKTE", store::FieldType::Numeric, 5, 0},
                             {"BITMAP", store::FieldType::Numeric, 5, 0},
                             {"WERTE", store::FieldType::Numeric, 5, 0}},
                            "DSTA") != nullptr;
}

bool CatalogStatistics::COUNTTEMP() {
    const core::BusyScope wait(m_ctx.messages());
    store::WorkArea* dfra = m_session.use(m_ctx.filePath("FRAGEN.DBF"), "DFRA");
    if (!dfra) return false;
    const auto counts = countCatalog(dfra->table());
    m_session.close("DFRA");
    if (!MAKETEMP()) return false;
    store::WorkArea* dsta = area();
    bool ok = true;
    for (int i = 0; ok && i < kStatRows; ++i) {
        const StatRow& row = statRows()[std::size_t(i)];
        const ClassCounts& c = counts[std::size_t(i)];
        ok = dsta->appendBlank() &&
             dsta->replace("KLASSE", store::Value::text(platform::toAnsi(QString::fromUtf8(row.klasse)))) &&
             dsta->replace("TEXT", store::Value::text(platform::toAnsi(QString::fromUtf8(row.text)))) &&
             dsta->replace("FRAGEN", store::Value::number(double(c.fragen))) &&
             dsta->replace("PUNKTE", store::Value::number(double(c.punkte))) &&
             dsta->replace("BITMAP", store::Value::number(double(c.bitmap))) &&
             dsta->replace("WERTE", store::Value::number(double(c.werte)));
    }
    dsta->goTop();
    return ok;
}

} // namespace viewer
