// A learner's table LOCAL1.DBF made of the input, as the program reads it: the start-up check, a training run's
// selection with its answers counted, and the statistics' counts. Input: class, theme and answer bits, then the
// table's bytes.
#include <array>
#include <vector>

#include "catalog/startcheck.h"
#include "core/context.h"
#include "program_folder.h"
#include "stats/statistics.h"
#include "store/filecommit.h"
#include "store/table.h"
#include "support/scripted.h"
#include "training/run.h"

namespace fs = std::filesystem;

namespace {

const char* const kClasses[] = {"A1", "A", "B / BE", "C1", "CE", "C", "D1", "DE", "D", "MO", "M", "S", "L", "T"};

struct Counters {
    double antworten, richtig, falsch;
    bool operator==(const Counters&) const = default;
};

// The counters of every record as a reader sees them; empty when the table does not open.
std::vector<Counters> countersOf(const fs::path& dbf) {
    std::vector<Counters> out;
    auto t = store::Table::open(dbf, store::Table::Mode::SharedRead);
    if (!t) return out;
    const int a = t->fieldIndex("ANTWORTEN"), r = t->fieldIndex("RICHTIG"), f = t->fieldIndex("FALSCH");
    if (a < 0 || r < 0 || f < 0) return out;
    for (std::uint32_t n = 1; n <= t->recCount(); ++n) {
        t->goTo(n);
        out.push_back({t->fieldValue(a).asNumber(), t->fieldValue(r).asNumber(), t->fieldValue(f).asNumber()});
    }
    return out;
}

void train(core::Context& ctx, const QString& code, int theme, std::uint8_t answers) {
    training::Run run(ctx);
    run.begin(code, theme, QStringLiteral("\"Thema\""));
    if (!run.CHECKDBF(code, theme)) return;
    run.GETDATA();
    fuzz::require(run.state().NVON <= ctx.settings.NS_MAXFRAGEN, "more questions than asked for");
    for (int step = 0; step < 3 * ctx.settings.NS_MAXFRAGEN; ++step) {
        training::RunState& s = run.state();
        s.LISOK1 = answers & 1;
        s.LISOK2 = answers & 2;
        s.LISOK3 = answers & 4;
        s.CMC_WERT = (answers & 8) ? run.expected(1) : QStringLiteral("7");
        s.CMC_WERT2 = run.expected(2);
        answers = std::uint8_t(answers * 5 + 1);
        run.CHKDATA();
        if (run.CHKWEITER() == training::Run::Step::Finished) break;
    }
}

void countStatistics(core::Context& ctx, const QString& code, int theme, std::uint32_t records) {
    stats::Overview overview(ctx);
    if (overview.CHECKDBF(code)) {
        const stats::Counts& c = overview.counts();
        fuzz::require(c.NFRAGEN <= records && c.NBEANTW <= c.NFRAGEN && c.NRICHTIG <= c.NFRAGEN,
                      "overview counts more than there is");
        stats::ThemeStatistics byTheme(ctx, overview);
        if (byTheme.CHECKDBF()) {
            const stats::ThemeCounts& t = byTheme.GETSTAT();
            long long sum = 0;
            for (std::size_t i = 0; i < 8; ++i) {
                fuzz::require(t.NGEFRAG[i] <= t.NFRAGEN[i] && t.NRICHTG[i] <= t.NFRAGEN[i], "theme counts too high");
                sum += t.NFRAGEN[i];
            }
            fuzz::require(sum <= t.NFRAGENA && t.NFRAGENA == c.NFRAGEN, "class counts disagree");
        }
    }
    // The two learners side by side: the other learner's counts do not depend on this table.
    stats::Comparison comparison(ctx, nullptr, code);
    if (comparison.CHECKDBF()) {
        comparison.GETSTAT1();
        comparison.GETSTAT2();
        fuzz::require(comparison.learner1().NFRAGENA <= records, "comparison counts more than there is");
        fuzz::require(comparison.learner2().NRICHTGA == 0, "the other learner's counts changed");
    }
    stats::Overview ofTheme(ctx);
    if (ofTheme.CHECKDBF2(code, theme))
        fuzz::require(ofTheme.counts().NFRAGEN <= records, "theme overview counts more than there is");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::string_view table(reinterpret_cast<const char*>(data) + 3, size - 3);
    const fs::path dir = fuzz::freshFolder({"FRAGEN.DBF", "FRAGEN.FPT", "LOCAL2.DBF"});
    const fs::path local = dir / "LOCAL1.DBF";
    fuzz::writeString(local, table);
    const QString code = QString::fromLatin1(kClasses[data[0] % std::size(kClasses)]);
    const int theme = 1 + data[1] % 9;

    core::Context ctx(QString::fromStdString(dir.string()));
    lwtest::useScriptedServices(ctx);
    ctx.settings.NS_MAXFRAGEN = 30;
    ctx.settings.LS_WVORLAGE = data[2] & 0x80;
    std::uint32_t catalogRecords = 0;
    if (auto t = store::Table::open(dir / "FRAGEN.DBF", store::Table::Mode::SharedRead)) catalogRecords = t->recCount();

    // Only a table the start-up check lets through reaches the training; the others must not crash it either.
    const bool passes = catalog::learningTableFault(local, catalogRecords).empty();
    const std::vector<Counters> before = countersOf(local);
    train(ctx, code, theme, data[2]);
    if (passes) {
        // Every record the run changed holds counters that add up and fit their fields.
        const std::vector<Counters> after = countersOf(local);
        fuzz::require(after.size() == before.size(), "records lost by a run");
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (after[i] == before[i]) continue;
            const Counters& c = after[i];
            fuzz::require(c.antworten == c.richtig + c.falsch && c.antworten <= 9999, "counters do not add up");
        }
    }
    fuzz::require(fs::exists(local), "learner's table gone after the run");

    std::uint32_t records = 0;
    if (auto t = store::Table::open(local, store::Table::Mode::SharedRead)) records = t->recCount();
    countStatistics(ctx, code, theme, records);
    fuzz::require(fs::exists(local), "learner's table gone after the statistics");

    // The start-up check sets a damaged table aside under a new name, never deletes it.
    const std::string lastBytes = fuzz::readAll(local);
    catalog::prepareCatalog(ctx);
    bool kept = fuzz::readAll(local) == lastBytes;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename().string().starts_with("LOCAL1_defekt"))
            kept = kept || fuzz::readAll(e.path()) == lastBytes;
    fuzz::require(kept, "learner's table lost by the start-up check");
    fuzz::require(fuzz::readAll(dir / "LOCAL2.DBF") == fuzz::fixedFiles().at("LOCAL2.DBF"), "other learner changed");
    for (const char* gone :
         {"LOCAL.CDX", "T_FRAGE.DBF", "T_FRAGE.FPT", "T_FRAGE.CDX", "LOCAL1.CDX", "LOCAL2.CDX", "BILD.BMP"})
        fuzz::require(!fs::exists(dir / gone), "temporary file left behind");
    return 0;
}
