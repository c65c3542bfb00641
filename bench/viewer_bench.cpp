// Times the catalog browser on a catalog and learner's table of 20,000 questions: opening it (the working copy of
// all questions, the index, the table dialog with its first screen painted) and a search over every question
// text (median of 20), the search as a ratio to a plain scan of the catalog's memo file in the same run.
// lw_bench_viewer [questions] [runs]
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "support/scripted.h"
#include "support/testdir.h"
#include "timing.h"
#include "training/catalogfixture.h"
#include "viewer/artwork.h"
#include "viewer/browser.h"
#include "viewer/dialogs.h"

namespace {

using benchtiming::Clock;
using benchtiming::median;
using benchtiming::ms;

// Question texts of a usual length from a few openings and endings, so that a word is found in some of them only;
// most are in class B, about half were answered. No pictures: neither the opening nor the search reads them, and
// in the memo file they would make the reference scan a measure of the disk.
void makeProgramFolder(const std::filesystem::path& dir, int count) {
    const char* const openings[] = {
        "Sie fahren auf einer Landstraße und sehen vor sich", "Womit müssen Sie rechnen, wenn an einer Einmündung",
        "Welches Verhalten ist richtig, wenn im Kreisverkehr", "Was ist zu beachten, wenn bei Nässe und Dunkelheit"};
    const char* const endings[] = {
        " ein Fahrzeug mit Vorfahrt von rechts kommt?", " ein Radfahrer die Fahrbahn überquert?",
        " ein Bus mit eingeschaltetem Warnblinklicht hält?", " die Sicht durch Nebel stark eingeschränkt ist?",
        " ein Tier am Straßenrand steht?"};
    std::vector<trainingfixture::Question> all;
    all.reserve(std::size_t(count));
    std::map<std::string, trainingfixture::Counts> counts;
    for (int i = 0; i < count; ++i) {
        char nr[16];
        const int theme = 1 + i % 8;
        std::snprintf(nr, sizeof nr, "%d.%d.%02d-%03d", 1 + i % 2, theme, (i / 16) / 1000, (i / 16) % 1000);
        const std::string text = std::string(openings[i % 4]) + endings[(i / 4) % 5];
        auto q = trainingfixture::choice(nr, theme, text,
                                         {"Ich halte an und warte", "Ich fahre mit gleicher Geschwindigkeit weiter",
                                          i % 3 ? "Ich gebe ein Warnzeichen" : ""},
                                         {true, false, i % 2 == 0});
        q.points = {{"KLASSE_B", 1 + i % 5}, {"KLASSE_A", i % 3 ? 2 : 0}};
        q.bitmap = "KEINBILD";
        if (i % 2) counts[q.nr] = {1 + i % 4, i % 3, 1 + i % 4 - i % 3, "20"};
        all.push_back(std::move(q));
    }
    trainingfixture::writeCatalog(dir, all);
    catalog::MAKELOCAL(dir, "LOCAL1");
    trainingfixture::setCounts(dir / "LOCAL1.DBF", counts);
}

// The reference: the whole memo file read and searched for the bytes, without regard to records.
std::size_t plainScan(const std::filesystem::path& fpt, const std::string& needle) {
    std::ifstream in(fpt, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    std::size_t hits = 0;
    for (auto it = std::search(bytes.begin(), bytes.end(), searcher); it != bytes.end();
         it = std::search(it + 1, bytes.end(), searcher))
        ++hits;
    return hits;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 20;
    lwtest::TempDir dir;
    makeProgramFolder(dir.path(), count);
    viewer::registerArtwork();
    lwtest::ScriptedContext ctx(QString::fromStdString(dir.path().string()));
    core::LoginState login;
    login.NS_USER = 1;
    ctx.setLogin(login);

    // Opening: "alle Fragen", every question in the copy, and the table shown with its first rows painted.
    std::vector<double> opening;
    for (int i = 0; i < 5; ++i) {
        const auto t0 = Clock::now();
        viewer::Browser browser(ctx);
        if (!browser.open(10) || browser.rowCount() != count) {
            std::fprintf(stderr, "opening failed\n");
            return 1;
        }
        viewer::TableDialog dlg(ctx, browser);
        dlg.show();
        dlg.repaint();
        QApplication::processEvents();
        opening.push_back(ms(t0, Clock::now()));
    }

    // The stored form of the word is what a plain scan of the memo file looks for.
    const std::string stored = catalog::DECRYPT("Radfahrer");
    std::vector<double> search, scan;
    viewer::Browser browser(ctx);
    browser.open(10);
    int hits = 0;
    std::size_t scanHits = 0;
    for (int i = 0; i < runs; ++i) {
        auto t0 = Clock::now();
        if (!browser.SUCHEN2(QStringLiteral("radfahrer"))) {
            std::fprintf(stderr, "search found nothing\n");
            return 1;
        }
        search.push_back(ms(t0, Clock::now()));
        hits = browser.rowCount();
        browser.showAll();
        t0 = Clock::now();
        scanHits = plainScan(dir.path() / "FRAGEN.FPT", stored);
        scan.push_back(ms(t0, Clock::now()));
    }

    const double o = median(opening), s = median(search), p = median(scan);
    std::printf("questions %d, search runs %d\n", count, runs);
    std::printf("opening the browser (copy, index, first screen)  median %8.2f ms   max %.2f ms (target <= 1000)\n", o,
                *std::max_element(opening.begin(), opening.end()));
    std::printf("search over every question text (%d hits)     median %8.2f ms   (target <= 200)\n", hits, s);
    std::printf("plain scan of the memo file (%zu hits)         median %8.2f ms   ratio %.2f\n", scanHits, p,
                p > 0 ? s / p : 0);
    return 0;
}
