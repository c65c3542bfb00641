#include "stats/statist.h"

#include "stats/dialogs.h"
#include "stats/statistics.h"
#include "ui/services.h"

namespace stats {

namespace {

QWidget* ownerOr(core::Context& ctx, QWidget* owner) {
    return owner ? owner : ui::ownerWindow(ctx);
}

} // namespace

void STATIST(core::Context& ctx, QWidget* owner, const QString& classCode, int theme, bool flag) {
    (void)theme; // the overview always counts the whole class
    Overview overview(ctx);
    if (!overview.CHECKDBF(classCode)) return;
    OverviewDialog dialog(ctx, overview, flag, ownerOr(ctx, owner));
    dialog.exec();
}

void STATTHEMA(core::Context& ctx, QWidget* owner, const QString& classCode, int theme, const QString& caption) {
    Overview overview(ctx);
    if (!overview.CHECKDBF2(classCode, theme)) return;
    OverviewDialog dialog(ctx, overview, caption, ownerOr(ctx, owner));
    dialog.exec();
}

void STATIST1(core::Context& ctx, QWidget* owner, Overview& overview, bool flag) {
    (void)flag;
    ThemeStatistics statistics(ctx, overview);
    if (!statistics.CHECKDBF()) return;
    const ThemeCounts& counts = statistics.GETSTAT();
    for (int page = 1; page <= 3; ++page) {
        ThemePage dialog(page, counts, ownerOr(ctx, owner));
        dialog.exec();
        if (!dialog.wantsNext()) break;
    }
}

void STATIST2(core::Context& ctx, QWidget* owner, Overview* overview, const QString& classCode, bool flag) {
    (void)flag;
    Comparison comparison(ctx, overview, classCode);
    if (!comparison.secondLearnerExists()) {
        core::MSGINFO(ctx, QStringLiteral("Der zweite Benutzer hat noch keine Fragen beantwortet !"),
                      QStringLiteral("Statistik"));
        return;
    }
    if (!comparison.CHECKDBF()) return;
    comparison.GETSTAT1();
    comparison.GETSTAT2();
    CompareDialog dialog(comparison.learner1(), comparison.learner2(), comparison.name1(), comparison.name2(),
                         ownerOr(ctx, owner));
    dialog.exec();
}

} // namespace stats
