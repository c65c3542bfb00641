// Times the learning statistics on a learner's table of many questions against a bare index build over the same
// table in the same run: the overview of one class (its conditional order and the count), and the statistics by
// theme (the theme index and the count over the whole table). Prints each median as a ratio to the reference.
//
// lw_bench_stats [questions] [runs]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "catalog/tables.h"
#include "core/context.h"
#include "stats/statistics.h"
#include "store/workarea.h"

namespace {

// Runs each meter's work at once, with nobody watching.
class SilentMessages : public core::MessageService {
public:
    bool yesNo(const QString&, const QString&) override { return false; }
    bool noYes(const QString&, const QString&) override { return false; }
    bool info(const QString&, const QString&) override { return false; }
    void warning(const QString&, const QString&) override {}
    void meter(const core::MeterAction& action, const QString&, const QString&) override {
        struct Quiet : core::Progress {
            void setTotal(int) override {}
            void setPosition(int) override {}
            void setText(const QString&) override {}
            bool cancelled() const override { return false; }
        } progress;
        if (action) action(progress);
    }
    void busy(bool) override {}
};

// A learner's table shaped like a large catalog: every question in about seven of the thirteen classes, themes
// 1 to 8, one in ten a value question, counters of a learner who has trained a while.
void writeTable(const std::filesystem::path& dbf, int n) {
    std::mt19937 rng(20071);
    store::Session session;
    store::WorkArea* a = session.create(dbf, catalog::localFields(), "DLOC");
    if (!a) std::exit(1);
    for (int i = 0; i < n; ++i) {
        char nr[16];
        std::snprintf(nr, sizeof nr, "%d.%d.%02d-%03d", 1 + i % 2, 1 + (i / 2) % 8, (i / 16) % 100, (i / 1600) % 1000);
        a->appendBlank();
        a->replace("FRAGENR", store::Value::text(nr));
        a->replace("THEMA", store::Value::number(1 + (i / 2) % 8));
        for (const std::string& field : catalog::KLASSEN_FELDER)
            if (rng() % 10 < 6) a->replace(field, store::Value::number(2 + rng() % 4));
        if (rng() % 10 == 0) a->replace("MC_WERT", store::Value::text(std::to_string(rng() % 100)));
        const int answers = rng() % 3 == 0 ? static_cast<int>(rng() % 12) : 0;
        const int right = answers ? static_cast<int>(rng() % static_cast<unsigned>(answers + 1)) : 0;
        a->replace("ANTWORTEN", store::Value::number(answers));
        a->replace("RICHTIG", store::Value::number(right));
        a->replace("FALSCH", store::Value::number(answers - right));
        if (answers) a->replace("ZULETZT", store::Value::text(std::to_string(10 + rng() % 50)));
    }
    session.closeAll();
}

double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double best(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

} // namespace

int main(int argc, char* argv[]) {
    const int questions = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
    const auto dir = std::filesystem::temp_directory_path() / ("lw_bench_stats_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    writeTable(dir / "LOCAL1.DBF", questions);

    core::Context ctx(QString::fromStdString(dir.string()));
    ctx.setMessages(std::make_unique<SilentMessages>());

    std::vector<double> bare, overview, byTheme;
    stats::Counts counts;
    stats::ThemeCounts themes;
    for (int run = 0; run < runs; ++run) {
        // The reference: open the table and build one tag over every record, as any dialog of the program does.
        bare.push_back(seconds([&] {
            store::Session session;
            store::WorkArea* a = session.use(dir / "LOCAL1.DBF", "DLOC");
            a->indexOn("str(RICHTIG)+str(ANTWORTEN)+ZULETZT", dir / "BARE.CDX", "BARE");
            session.closeAll();
        }));
        std::filesystem::remove(dir / "BARE.CDX");
        overview.push_back(seconds([&] {
            stats::Overview o(ctx);
            o.CHECKDBF(QStringLiteral("B / BE"));
            counts = o.counts();
        }));
        stats::Overview o(ctx);
        o.CHECKDBF(QStringLiteral("B / BE"));
        byTheme.push_back(seconds([&] {
            stats::ThemeStatistics t(ctx, o);
            t.CHECKDBF();
            themes = t.GETSTAT();
        }));
    }
    std::filesystem::remove_all(dir);

    // The median is the figure; the best run shows what the work costs when nothing else wants the machine.
    const double ref = median(bare);
    std::printf("learning state of %d questions, class B: %lld questions, %lld answered; %d runs\n", questions,
                counts.NFRAGEN, counts.NBEANTW, runs);
    std::printf("%-42s median %8.2f ms  best %8.2f ms\n", "bare index build (reference)", ref * 1000,
                best(bare) * 1000);
    std::printf("%-42s median %8.2f ms  best %8.2f ms  ratio %.2f (best %.2f; target <= 1.5)\n",
                "statistics of a class (order + GETSTAT)", median(overview) * 1000, best(overview) * 1000,
                median(overview) / ref, best(overview) / best(bare));
    std::printf("%-42s median %8.2f ms  best %8.2f ms  ratio %.2f (best %.2f; target <= 2)\n",
                "statistics by theme (index + count)", median(byTheme) * 1000, best(byTheme) * 1000,
                median(byTheme) / ref, best(byTheme) / best(bare));
    return themes.NFRAGENA == counts.NFRAGEN ? 0 : 1;
}
