// Times the set-up of a training run (choosing 30 questions and filling the working set) on a catalog and learner's
// table of 20,000 questions, as a ratio to a bare index build over the same learner's table in the same run, and
// the step to the next question in the question dialog (median of 100). lw_bench_training [questions] [runs]
#include <QApplication>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "catalog/runfiles.h"
#include "catalog/tables.h"
#include "store/workarea.h"
#include "support/scripted.h"
#include "support/testdir.h"
#include "timing.h"
#include "training/artwork.h"
#include "training/catalogfixture.h"
#include "training/questiondialog.h"
#include "training/run.h"

namespace {

using benchtiming::Clock;
using benchtiming::median;
using benchtiming::ms;
using benchtiming::cpuMs;

// A catalog shaped like the delivered one: eight themes, a third of the questions with a picture, one in eight
// asking for a number, most of them in class B; the learner has answered about half of them.
void makeProgramFolder(const std::filesystem::path& dir, int count) {
    std::mt19937 dice(20070101);
    const std::string picture = trainingfixture::bitmapBytes(318, 200, 90, 140, 200);
    std::vector<trainingfixture::Question> all;
    all.reserve(count);
    for (int i = 0; i < count; ++i) {
        char nr[16];
        const int theme = 1 + i % 8;
        std::snprintf(nr, sizeof nr, "1.%d.%02d-%03d", theme, (i / 8) / 1000, (i / 8) % 1000);
        trainingfixture::Question q;
        if (i % 8 == 3) {
            q = trainingfixture::value(nr, theme, "Wie groß ist der Wert in dieser Frage?", "etwa", "50", "Meter");
        } else {
            q = trainingfixture::choice(nr, theme, "Womit müssen Sie rechnen, wenn Sie an dieser Stelle weiterfahren?",
                                        {"Mit Gegenverkehr auf meinem Fahrstreifen", "Mit spielenden Kindern",
                                         i % 2 ? "Mit nichts Besonderem" : ""},
                                        {true, true, false});
        }
        q.points = {{"KLASSE_B", 1 + i % 5}, {"KLASSE_A", i % 3 ? 2 : 0}, {"KLASSE_C", i % 4 ? 3 : 0}};
        if (i % 3 == 0) {
            q.bitmap = "PIC";
            q.picture = picture;
        }
        all.push_back(std::move(q));
    }
    trainingfixture::writeCatalog(dir, all);
    catalog::MAKELOCAL(dir, "LOCAL1");
    std::map<std::string, trainingfixture::Counts> counts;
    for (const auto& q : all)
        if (dice() % 2) {
            const int r = int(dice() % 4), f = int(dice() % 3);
            counts[q.nr] = {r + f, r, f, std::to_string(10 + dice() % 50)};
        }
    trainingfixture::setCounts(dir / "LOCAL1.DBF", counts);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    lwtest::TempDir dir;
    makeProgramFolder(dir.path(), count);
    training::registerArtwork();
    lwtest::ScriptedContext ctx(QString::fromStdString(dir.path().string()));
    ctx.settings.NS_MAXFRAGEN = 30;
    ctx.settings.LS_SAUSWERT = false;
    ctx.settings.LS_WVORLAGE = false;

    std::vector<double> bare, setup, bareCpu, setupCpu;
    for (int i = 0; i < runs; ++i) {
        {
            const double c0 = cpuMs();
            const auto t0 = Clock::now();
            store::Session s;
            store::WorkArea* loc = s.use(dir / "LOCAL1.DBF", "DLOC");
            const bool never = false;
            catalog::BUILDINDEX(*loc, "str(RICHTIG)+str(ANTWORTEN)+ZULETZT", dir / "BARE.CDX", {}, never);
            s.closeAll();
            bare.push_back(ms(t0, Clock::now()));
            bareCpu.push_back(cpuMs() - c0);
            std::filesystem::remove(dir / "BARE.CDX");
        }
        {
            const double c0 = cpuMs();
            const auto t0 = Clock::now();
            training::Run run(ctx);
            run.begin(QStringLiteral("B / BE"), 3, QStringLiteral("'Vorfahrt, Vorrang'"));
            if (!run.CHECKDBF(QStringLiteral("B / BE"), 3) || run.state().NVON != 30) {
                std::fprintf(stderr, "set-up failed\n");
                return 1;
            }
            run.finish();
            setup.push_back(ms(t0, Clock::now()));
            setupCpu.push_back(cpuMs() - c0);
        }
    }

    // Where the set-up's time goes: opening the catalog with its index, and the working set.
    std::vector<double> catalogOpen, workingSet, filtered;
    for (int i = 0; i < runs; ++i) {
        store::Session s;
        auto t0 = Clock::now();
        s.setVariable("NI_THEMA", store::Value::number(3));
        store::WorkArea* loc = s.use(dir / "LOCAL1.DBF", "DLOC");
        const bool never = false;
        catalog::BUILDINDEX(*loc, "str(RICHTIG)+str(ANTWORTEN)+ZULETZT", dir / "LOCAL.CDX", {}, never,
                            "KLASSE_B > 0 .and. THEMA = nI_THEMA");
        filtered.push_back(ms(t0, Clock::now()));
        t0 = Clock::now();
        store::WorkArea* frg = s.use(dir / "FRAGEN.DBF", "DFRG");
        frg->openIndex(dir / "FRAGEN.CDX");
        catalogOpen.push_back(ms(t0, Clock::now()));
        t0 = Clock::now();
        store::WorkArea* fra =
            s.create(dir / "T_FRAGE.DBF", catalog::tFrageFields(), "DFRA", store::Table::Durability::Scratch);
        fra->indexOn("str(NUMMER)", dir / "T_FRAGE.CDX", "T_FRAGE");
        s.closeAll();
        workingSet.push_back(ms(t0, Clock::now()));
        catalog::removeRunFiles(dir.path());
    }

    // The next question: evaluation, the learner's record written, the working set moved on, picture and texts.
    std::vector<double> next;
    for (int theme = 1; next.size() < 100 && theme <= 8; ++theme) {
        training::Run run(ctx);
        run.begin(QStringLiteral("B / BE"), theme, QStringLiteral("'Thema'"));
        if (!run.CHECKDBF(QStringLiteral("B / BE"), theme)) return 1;
        run.GETDATA();
        for (;;) {
            training::QuestionDialog dlg(ctx, run);
            dlg.show();
            QApplication::processEvents();
            bool layoutChange = false;
            while (next.size() < 100 && run.state().NFRAGENR < run.state().NVON) {
                const auto t0 = Clock::now();
                dlg.next();
                if (dlg.outcome() == training::QuestionDialog::Outcome::LayoutChange && !dlg.isVisible()) {
                    layoutChange = true;
                    break;
                }
                dlg.repaint();
                next.push_back(ms(t0, Clock::now()));
            }
            if (!layoutChange) break;
            // The layout change itself: a new dialog opens with the question.
            const auto t0 = Clock::now();
            training::QuestionDialog other(ctx, run);
            other.show();
            other.repaint();
            next.push_back(ms(t0, Clock::now()));
            other.hide();
        }
    }

    const double b = median(bare), s = median(setup);
    std::printf("questions %d, runs %d\n", count, runs);
    std::printf("bare index build over the learner's table  median %8.2f ms\n", b);
    std::printf("training set-up (CHECKDBF, 30 questions)   median %8.2f ms   ratio %.2f (target <= 1.5)\n", s,
                b > 0 ? s / b : 0);
    const double bc = median(bareCpu), sc = median(setupCpu);
    std::printf("  processor time: bare %.2f ms, set-up %.2f ms, ratio %.2f\n", bc, sc, bc > 0 ? sc / bc : 0);
    std::printf("  of which the filtered selection index %.2f ms, opening the catalog and its index %.2f ms, an empty "
                "working set %.2f ms\n",
                median(filtered), median(catalogOpen), median(workingSet));
    std::printf("next question in the dialog (%zu steps)     median %8.2f ms   max %.2f ms (target < 30)\n",
                next.size(), median(next), next.empty() ? 0 : *std::max_element(next.begin(), next.end()));
    return 0;
}
