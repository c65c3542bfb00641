#include "stats/statistics.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "catalog/runfiles.h"
#include "catalog/tables.h"
#include "core/context.h"
#include "platform/inifile.h"

namespace stats {

namespace {

const QString kMeterText = QStringLiteral("Statistik-Daten ermitteln ...");
constexpr const char* kSelectionKey = "str(RICHTIG)+str(ANTWORTEN)+ZULETZT";
constexpr const char* kThemeKey = "str(THEMA)";
// A condition no record meets, for a class code that names no class.
constexpr const char* kNoRecord = "THEMA < -9999";

std::string upperAscii(const QString& s) {
    return s.toUpper().toStdString();
}

// The fields the counting reads, looked up once per scan.
struct CountFields {
    explicit CountFields(const store::WorkArea& area, std::string_view classField = {})
        : klasse(classField.empty() ? -1 : area.fieldIndex(classField)), thema(area.fieldIndex("THEMA")),
          antworten(area.fieldIndex("ANTWORTEN")), richtig(area.fieldIndex("RICHTIG")) {}
    int klasse;
    int thema;
    int antworten;
    int richtig;
};

double number(store::WorkArea& area, int field) {
    return field < 0 ? 0.0 : area.table().fieldValue(field).asNumber();
}

// Progress reports every hundredth of the table: each one lets the dialog repaint, which costs more than a record.
long long reportStep(long long total) {
    return std::max<long long>(1, total / 100);
}

void report(core::Progress* progress, long long step, long long total) {
    if (!progress) return;
    progress->setPosition(static_cast<int>(step));
    const Rgb c = meterColor(step, total);
    progress->setBarColor(c.red, c.green, c.blue);
}

std::filesystem::path programFile(core::Context& ctx, const char* name) {
    return ctx.filePath(name);
}

void removeFile(core::Context& ctx, const char* name) {
    std::error_code ec;
    std::filesystem::remove(programFile(ctx, name), ec);
}

std::string localName(core::Context& ctx) {
    return upperAscii(ctx.login().CS_LOCAL);
}

QString iniName(core::Context& ctx, const char* key) {
    const QString value = platform::readProfileString(ctx.path(QStringLiteral("TAVOLIN.INI")), QStringLiteral("User"),
                                                      QString::fromLatin1(key), {});
    return value.left(30).leftJustified(30, QLatin1Char(' '));
}

} // namespace

// ---- numbers ---------------------------------------------------------------------------------------------------

long long quotient(long long a, long long b) {
    return b == 0 ? 0 : a / b;
}

// Red is 255 - (255 / whole) * part and blue (255 / whole) * part, each truncated. Worked out in whole numbers,
// so that a full bar is 255 and not 254.99 cut down to 254: red is one less than 255 - blue when blue was cut.
Rgb shareColor(long long part, long long whole) {
    const long long blue = quotient(255 * part, whole);
    const bool cut = whole != 0 && (255 * part) % whole != 0;
    return Rgb{static_cast<int>(255 - blue - (cut ? 1 : 0)), 0, static_cast<int>(blue)};
}

Rgb meterColor(long long step, long long recordCount) {
    return Rgb{static_cast<int>(quotient(255 * step, recordCount)), 0, 0};
}

// ---- selections ------------------------------------------------------------------------------------------------

std::optional<std::string> classField(const QString& classCode) {
    const auto columns = catalog::classColumns(classCode.toStdString());
    if (!columns) return std::nullopt;
    return columns->select;
}

std::string classCondition(const QString& classCode) {
    const auto field = classField(classCode);
    return field ? *field + " > 0" : std::string(kNoRecord);
}

std::string themeCondition(int theme) {
    return theme == 9 ? ".not. empty(MC_WERT)" : "THEMA = nI_THEMA";
}

// ---- the overview ----------------------------------------------------------------------------------------------

Rgb answeredColor(const Counts& c) {
    return shareColor(c.NBEANTW, c.NFRAGEN);
}

std::optional<Rgb> rightColor(const Counts& c) {
    if (c.NBEANTW <= 0) return std::nullopt;
    // 100 / NBEANTW * NRICHTIG < 50, compared in whole numbers so that exactly half is not lost to rounding.
    return 2 * c.NRICHTIG < c.NBEANTW ? Rgb{255, 0, 0} : Rgb{0, 0, 255};
}

Counts GETSTAT(store::WorkArea& area, core::Progress* progress) {
    const long long total = area.recCount();
    if (progress) progress->setTotal(static_cast<int>(total));
    const CountFields f(area);
    const long long every = reportStep(total);
    Counts c;
    long long step = 0;
    for (area.goTop(); !area.eof(); area.skip()) {
        ++c.NFRAGEN;
        const double answers = number(area, f.antworten);
        if (answers > 0) {
            ++c.NBEANTW;
            c.NGEFRAGT += static_cast<long long>(answers);
        }
        if (number(area, f.richtig) > 0) ++c.NRICHTIG;
        if (++step % every == 0) report(progress, step, total);
    }
    report(progress, step, total);
    return c;
}

Overview::Overview(core::Context& ctx) : m_ctx(ctx) {}

Overview::~Overview() {
    m_session.closeAll();
    if (m_removeIndexes)
        for (const char* name : {"Local1.cdx", "Local2.cdx", "Local.cdx"})
            removeFile(m_ctx, name);
}

store::WorkArea* Overview::area() const {
    return m_session.find("DLOC");
}

bool Overview::CHECKDBF(const QString& classCode) {
    return open(classCode, classCondition(classCode), true);
}

bool Overview::CHECKDBF2(const QString& classCode, int theme) {
    m_session.setVariable("nI_THEMA", store::Value::number(theme));
    return open(classCode, classCondition(classCode) + " .and. " + themeCondition(theme), false);
}

bool Overview::open(const QString& classCode, std::string condition, bool removeIndexes) {
    m_class = classCode;
    m_removeIndexes = removeIndexes;
    m_counts = {};
    store::WorkArea* area = m_session.use(m_ctx.filePath(localName(m_ctx) + ".DBF"), "DLOC");
    // A table without its counters is named with the field it lacks, not by the index expression that needs it.
    if (!area || !catalog::checkStructure(area->table(), catalog::localFields())) return false;
    bool built = false;
    core::MSGMETER(
        m_ctx,
        [&](core::Progress& progress) {
            // The order is built while the dialog already shows, so the wait has a face from its start.
            const long long total = area->recCount();
            progress.setTotal(static_cast<int>(total));
            bool stop = false;
            built = catalog::BUILDINDEX(
                *area, kSelectionKey, programFile(m_ctx, "LOCAL.CDX"),
                [&](std::uint32_t recno, std::uint32_t) { progress.setPosition(static_cast<int>(recno)); }, stop,
                condition);
            if (built) m_counts = GETSTAT(*area, &progress);
        },
        kMeterText);
    return built;
}

bool Overview::STAT_DEL() {
    if (!core::MSGYESNO(m_ctx, QStringLiteral("Alle Statistik-Daten löschen ?"), QStringLiteral("Frage"))) return false;
    store::WorkArea* dloc = area();
    if (!dloc) return false;
    core::BusyScope busy(m_ctx.messages());
    // Zeroing the counters moves each record within the order being walked (its key is made of them), so the
    // records of the class are collected first and changed afterwards.
    std::vector<std::uint32_t> records;
    for (dloc->goTop(); !dloc->eof(); dloc->skip())
        records.push_back(dloc->recNo());
    for (std::uint32_t recno : records) {
        dloc->goTo(recno);
        dloc->replace("ANTWORTEN", store::Value::number(0));
        dloc->replace("RICHTIG", store::Value::number(0));
        dloc->replace("FALSCH", store::Value::number(0));
        dloc->replace("ZULETZT", store::Value::text("  "));
    }
    dloc->table().flush();
    dloc->goTop();
    return true;
}

void Overview::closeTables() {
    if (store::WorkArea* dloc = area()) m_recno = dloc->recNo();
    m_session.closeAll();
}

bool Overview::reopen() {
    store::WorkArea* dloc = m_session.use(m_ctx.filePath(localName(m_ctx) + ".DBF"), "DLOC");
    if (!dloc) return false;
    if (!dloc->openIndex(programFile(m_ctx, "LOCAL.CDX"))) return false;
    dloc->goTo(m_recno);
    return true;
}

// ---- by theme ----------------------------------------------------------------------------------------------------

ThemeCounts countByTheme(store::WorkArea& area, std::string_view classField) {
    const CountFields f(area, classField);
    ThemeCounts c;
    if (f.klasse < 0) return c;
    for (area.goTop(); !area.eof(); area.skip()) {
        if (!(number(area, f.klasse) > 0)) continue;
        ++c.NFRAGENA;
        const double theme = number(area, f.thema);
        if (theme < 1 || theme > 8 || theme != std::floor(theme)) continue;
        const auto n = static_cast<std::size_t>(theme) - 1;
        ++c.NFRAGEN[n];
        if (number(area, f.richtig) > 0) {
            ++c.NRICHTG[n];
            ++c.NRICHTGA;
        }
        if (number(area, f.antworten) > 0) {
            ++c.NGEFRAG[n];
            ++c.NGEFRAGA;
        }
    }
    return c;
}

ThemeStatistics::ThemeStatistics(core::Context& ctx, Overview& overview) : m_ctx(ctx), m_overview(overview) {
    if (store::WorkArea* dloc = m_overview.area()) m_recno = dloc->recNo();
}

ThemeStatistics::~ThemeStatistics() {
    // The overview's order never left the area: choosing it again spares reading its file anew. The theme index
    // stays open with the area, unseen, until the overview closes its tables; its file goes now (should a change
    // of a record write it again on closing, the overview deletes it then).
    if (store::WorkArea* dloc = m_overview.area()) {
        dloc->setOrder("LOCAL");
        dloc->goTo(m_recno);
    }
    removeFile(m_ctx, "LOCAL1.CDX");
    removeFile(m_ctx, "LOCAL2.CDX");
}

bool ThemeStatistics::CHECKDBF() {
    store::WorkArea* dloc = m_overview.area();
    if (!dloc) return false;
    const std::string name = localName(m_ctx) + ".CDX";
    // Always built anew: an index file left from an earlier run may no longer match the table.
    removeFile(m_ctx, name.c_str());
    return catalog::buildIndexUnderMeter(m_ctx, *dloc, kThemeKey, programFile(m_ctx, name.c_str()),
                                         QString::fromStdString(name) + QStringLiteral(" Index aufbauen..."));
}

const ThemeCounts& ThemeStatistics::GETSTAT() {
    core::BusyScope busy(m_ctx.messages());
    m_counts = {};
    const auto field = classField(m_overview.classCode());
    if (store::WorkArea* dloc = m_overview.area(); dloc && field) {
        // Every record counts whatever the order; read front to back the table is not visited at random.
        dloc->setOrder("");
        m_counts = countByTheme(*dloc, *field);
    }
    return m_counts;
}

// ---- the two learners ------------------------------------------------------------------------------------------

LearnerCounts countLearner(store::WorkArea& area, std::string_view classField, core::Progress* progress) {
    const long long total = area.recCount();
    if (progress) progress->setTotal(static_cast<int>(total));
    const CountFields f(area, classField);
    const long long every = reportStep(total);
    LearnerCounts c;
    long long step = 0;
    if (f.klasse >= 0) {
        for (area.goTop(); !area.eof(); area.skip()) {
            if (!(number(area, f.klasse) > 0)) continue;
            ++c.NFRAGENA;
            const double theme = number(area, f.thema);
            if (theme >= 1 && theme <= 8 && theme == std::floor(theme)) {
                const auto n = static_cast<std::size_t>(theme) - 1;
                ++c.NFRAGEN[n];
                if (number(area, f.richtig) > 0) {
                    ++c.NRICHTG[n];
                    ++c.NRICHTGA;
                }
            }
            if (++step % every == 0) report(progress, step, total);
        }
    }
    report(progress, step, total);
    return c;
}

Comparison::Comparison(core::Context& ctx, Overview* overview, const QString& classCode)
    : m_ctx(ctx), m_overview(overview), m_class(classCode) {}

Comparison::~Comparison() {
    m_session.closeAll();
    removeFile(m_ctx, "LOCAL1.CDX");
    removeFile(m_ctx, "LOCAL2.CDX");
    if (m_closedOverview && m_overview) m_overview->reopen();
}

bool Comparison::secondLearnerExists() const {
    return m_ctx.exists(QStringLiteral("LOCAL2.DBF"));
}

bool Comparison::CHECKDBF() {
    m_names[0] = iniName(m_ctx, "UserName1");
    m_names[1] = iniName(m_ctx, "UserName2");
    // Both tables are opened exclusively, one of them is the overview's own.
    if (m_overview) {
        m_overview->closeTables();
        m_closedOverview = true;
    }
    for (int learner = 1; learner <= 2; ++learner) {
        const std::string table = "LOCAL" + std::to_string(learner);
        const std::string cdx = table + ".CDX";
        store::WorkArea* area = m_session.use(m_ctx.filePath(table + ".DBF"), "DLOC" + std::to_string(learner));
        if (!area || !catalog::checkStructure(area->table(), catalog::localFields())) return false;
        // Built anew each time, as by the statistics by theme: a file left from an earlier run may be stale.
        removeFile(m_ctx, cdx.c_str());
        if (!catalog::buildIndexUnderMeter(m_ctx, *area, kThemeKey, programFile(m_ctx, cdx.c_str()),
                                           QString::fromStdString(cdx) + QStringLiteral(" Index aufbauen...")))
            return false;
    }
    return true;
}

void Comparison::count(int learner) {
    m_counts[static_cast<std::size_t>(learner - 1)] = {};
    store::WorkArea* area = m_session.select("DLOC" + std::to_string(learner));
    const auto field = classField(m_class);
    if (!area || !field) return;
    core::MSGMETER(
        m_ctx,
        [&](core::Progress& progress) {
            m_counts[static_cast<std::size_t>(learner - 1)] = countLearner(*area, *field, &progress);
        },
        kMeterText);
}

void Comparison::GETSTAT1() {
    count(1);
}

void Comparison::GETSTAT2() {
    count(2);
}

} // namespace stats
