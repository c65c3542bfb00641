#include "statsgallery.h"

#include <QTemporaryDir>

#include <random>

#include "catalog/tables.h"
#include "platform/inifile.h"
#include "stats/dialogs.h"
#include "stats/statistics.h"
#include "store/workarea.h"
#include "support/scripted.h"

namespace gallery {

namespace {

// About the size of the class-B catalog: 1,100 questions over the eight themes, a few more of class A only.
// `diligence` says per theme how many of its questions the learner has answered and how often right.
void writeLearner(const QTemporaryDir& folder, const char* table, const double diligence[8], unsigned seed) {
    const int perTheme[8] = {190, 260, 90, 200, 40, 150, 110, 60};
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> dice(0, 1);
    store::Session session;
    store::WorkArea* a =
        session.create(std::filesystem::path(folder.path().toStdString()) / table, catalog::localFields(), "DLOC");
    if (!a) return;
    int number = 0;
    for (int theme = 1; theme <= 8; ++theme) {
        for (int i = 0; i < perTheme[theme - 1] + 12; ++i) {
            char nr[40];
            std::snprintf(nr, sizeof nr, "%d.%d.%02d-%03d", 1 + i % 2, theme, i / 100, ++number % 1000);
            a->appendBlank();
            a->replace("FRAGENR", store::Value::text(nr));
            a->replace("THEMA", store::Value::number(theme));
            a->replace(i < perTheme[theme - 1] ? "KLASSE_B" : "KLASSE_A", store::Value::number(2 + i % 4));
            if (i % 9 == 0) a->replace("MC_WERT", store::Value::text(std::to_string(10 + i % 90)));
            if (dice(rng) < diligence[theme - 1]) {
                const int answers = 1 + static_cast<int>(rng() % 5);
                // The more a theme was trained, the more of its questions were right at least once.
                const int right = dice(rng) < 0.35 + 0.6 * diligence[theme - 1] ? 1 + int(rng() % answers) : 0;
                a->replace("ANTWORTEN", store::Value::number(answers));
                a->replace("RICHTIG", store::Value::number(std::min(right, answers)));
                a->replace("FALSCH", store::Value::number(answers - std::min(right, answers)));
                a->replace("ZULETZT", store::Value::text(std::to_string(10 + rng() % 50)));
            }
        }
    }
    session.closeAll();
}

} // namespace

void renderStatistics(const SaveFn& save) {
    QTemporaryDir folder;
    // Anna trained themes 1 and 2 thoroughly and looked into a few others; Ben has just begun.
    const double anna[8] = {0.92, 0.81, 0.3, 0.22, 0.0, 0.12, 0.05, 0.4};
    const double ben[8] = {0.45, 0.2, 0.6, 0.1, 0.8, 0.0, 0.3, 0.1};
    writeLearner(folder, "LOCAL1.DBF", anna, 11);
    writeLearner(folder, "LOCAL2.DBF", ben, 23);
    const QString ini = folder.filePath(QStringLiteral("TAVOLIN.INI"));
    platform::writeProfileString(ini, QStringLiteral("User"), QStringLiteral("UserName1"), QStringLiteral("Anna Berg"));
    platform::writeProfileString(ini, QStringLiteral("User"), QStringLiteral("UserName2"), QStringLiteral("Ben Kurz"));
    lwtest::ScriptedContext ctx(folder.path());
    core::LoginState login;
    login.NS_USER = 1;
    login.CS_USER = QStringLiteral("ANNA BERG");
    ctx.setLogin(login);

    const QString classB = QStringLiteral("B / BE");
    // Each dialog opens the learner's table exclusively: the theme statistic first, then the overview.
    {
        stats::Overview theme(ctx);
        if (theme.CHECKDBF2(classB, 1)) {
            stats::OverviewDialog dlg(ctx, theme, QStringLiteral("'Gefahrenlehre'"));
            save(dlg, QStringLiteral("StatistT"));
        }
    }
    stats::Overview overview(ctx);
    if (!overview.CHECKDBF(classB)) return;
    {
        stats::OverviewDialog dlg(ctx, overview, false);
        save(dlg, QStringLiteral("Statist1"));
    }
    {
        stats::ThemeStatistics byTheme(ctx, overview);
        if (byTheme.CHECKDBF()) {
            const stats::ThemeCounts& counts = byTheme.GETSTAT();
            const char* const names[3] = {"StatThem", "StatRic1", "StatRic2"};
            for (int page = 1; page <= 3; ++page) {
                stats::ThemePage dlg(page, counts);
                save(dlg, QString::fromLatin1(names[page - 1]));
            }
        }
    }
    {
        stats::Comparison comparison(ctx, &overview, classB);
        if (comparison.CHECKDBF()) {
            comparison.GETSTAT1();
            comparison.GETSTAT2();
            stats::CompareDialog dlg(comparison.learner1(), comparison.learner2(), comparison.name1(),
                                     comparison.name2());
            save(dlg, QStringLiteral("StatVerg"));
        }
    }
}

} // namespace gallery
