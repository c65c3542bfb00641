// Times the readiness estimate of each licence class (reading the learner's table, the exam's composition for the
// shape, 2,000 simulated exams) on a catalog and learner's table shaped like the delivered one, against the
// exam's composition alone over the same table in the same run. Prints the median per class in milliseconds
// and as a ratio to the reference. lw_bench_progress [questions] [runs]
#include <QCoreApplication>
#include <QTime>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "exam/composition.h"
#include "timing.h"
#include "progress/lernstand.h"
#include "progress/readiness.h"
#include "support/scripted.h"
#include "support/testdir.h"
#include "training/catalogfixture.h"
#include "training/run.h"

namespace {

using benchtiming::Clock;
using benchtiming::median;
using benchtiming::ms;

// Eight themes in both groups, most questions in several classes with 2 to 5 points; the learner has answered
// about two thirds of them.
void makeProgramFolder(const std::filesystem::path& dir, int count) {
    std::mt19937 dice(20070101);
    static const char* const columns[] = {"KLASSE_A", "KLASSE_A1", "KLASSE_M", "KLASSE_MO", "KLASSE_K",
                                          "KLASSE_B", "KLASSE_C",  "KLASSE_C1", "KLASSE_D", "KLASSE_D1",
                                          "KLASSE_CE", "KLASSE_L", "KLASSE_T"};
    std::vector<trainingfixture::Question> all;
    all.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        char nr[16];
        const int theme = 1 + i % 8;
        const char group = (i / 8) % 3 == 0 ? '2' : '1';
        std::snprintf(nr, sizeof nr, "%c.%d.%02d-%03d", group, theme, (i / 8) / 1000, (i / 8) % 1000);
        auto q = trainingfixture::choice(nr, theme, "Womit müssen Sie rechnen?", {"Mit Gegenverkehr", "Mit Kindern", ""},
                                         {true, true, false});
        q.points.clear();
        for (const char* c : columns)
            if (dice() % 3 != 0) q.points[c] = 2 + int(dice() % 4);
        q.points["KLASSE_B"] = 2 + i % 4;
        all.push_back(std::move(q));
    }
    trainingfixture::writeCatalog(dir, all);
    catalog::MAKELOCAL(dir, "LOCAL1");
    std::map<std::string, trainingfixture::Counts> counts;
    for (const auto& q : all)
        if (dice() % 3) {
            const int r = int(dice() % 6), f = int(dice() % 3);
            counts[q.nr] = {r + f, r, f, std::to_string(10 + dice() % 50)};
        }
    trainingfixture::setCounts(dir / "LOCAL1.DBF", counts);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int questions = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    lwtest::TempDir dir;
    makeProgramFolder(dir.path(), questions);
    lwtest::ScriptedContext ctx(QString::fromStdString(dir.path().string()));
    const progress::History none;

    std::printf("readiness estimate, %d questions, median of %d runs\n", questions, runs);
    std::printf("%-8s %10s %12s %8s %8s\n", "class", "estimate", "composition", "ratio", "rate");
    double worst = 0;
    for (const QString& code : progress::classCodes()) {
        std::vector<double> estimate, reference;
        progress::Readiness last;
        for (int r = 0; r < runs; ++r) {
            auto t0 = Clock::now();
            last = progress::estimateReadiness(ctx, code, none);
            auto t1 = Clock::now();
            training::Random random([] { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; });
            const auto picks = exam::composeExam(ctx, code, random);
            auto t2 = Clock::now();
            estimate.push_back(ms(t0, t1));
            reference.push_back(ms(t1, t2));
        }
        const double e = median(estimate), c = median(reference);
        worst = std::max(worst, e);
        std::printf("%-8s %8.1f ms %9.1f ms %8.2f %7.1f%%\n", code.toUtf8().constData(), e, c, c > 0 ? e / c : 0,
                    last.passRate * 100);
    }
    std::printf("slowest class: %.1f ms (limit 300 ms)\n", worst);
    return worst < 300 ? 0 : 1;
}
