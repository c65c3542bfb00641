// The progress dialog and the review of a past exam, real ones, after a learner's three exams.
#include "mocks.h"

#include <QTemporaryDir>

#include <set>

#include "catalog/tables.h"
#include "exam/examfixture.h"
#include "exam/examrun.h"
#include "progress/history.h"
#include "progress/lernstand.h"
#include "progress/reviewdialog.h"
#include "support/scripted.h"
#include "ui/artwork.h"

namespace gallery {

namespace {

// An exam taken through the exam's own run, answering the positions in `wrong` with the first box flipped.
void takeExam(lwtest::ScriptedContext& ctx, const std::set<int>& wrong) {
    exam::ExamRun run(ctx);
    progress::ExamRecorder recorder(ctx);
    run.setObserver(&recorder);
    const QString classB = QStringLiteral("B / BE");
    run.begin(classB);
    if (!run.CHECKDBF(classB)) return;
    run.GETDATA();
    for (int position = 0; position < 40; ++position) {
        training::RunState& s = run.state();
        s.LISOK1 = run.run().correct(1) != (wrong.count(position) > 0);
        s.LISOK2 = run.run().correct(2);
        s.LISOK3 = run.run().correct(3);
        run.CHKDATA();
        if (run.CHKWEITER() == training::QuestionRun::Step::Finished) break;
    }
    run.closeTables();
    recorder.finished(run, exam::verdictOf(run.state(), run.exam()));
    run.finish();
}

} // namespace

void renderProgress(const SaveFn& save) {
    QTemporaryDir folder;
    const std::filesystem::path dir = folder.path().toStdString();
    ui::art::writeBitmapFiles(folder.filePath(QStringLiteral("Bitmaps")));
    auto questions = examfixture::examCatalog(6);
    for (auto& q : questions) {
        q.text = "Womit müssen Sie rechnen, wenn Sie an einer Haltestelle an einem Linienbus vorbeifahren, "
                 "der mit eingeschaltetem Warnblinklicht hält?";
        q.answers = {"Fahrgäste können unachtsam die Fahrbahn überqueren",
                     "Der Bus fährt gleich mit hoher Geschwindigkeit an", "Mit nichts Besonderem"};
    }
    trainingfixture::writeCatalog(dir, questions);
    catalog::MAKELOCAL(dir, "LOCAL1");
    lwtest::ScriptedContext ctx(folder.path());
    ctx.settings.LS_SOUND = false;
    ctx.scripted.clock->set(QDateTime(QDate(2026, 4, 20), QTime(18, 5)));
    takeExam(ctx, {0, 1, 5, 12});
    ctx.scripted.clock->advanceSeconds(2 * 86400 + 3600);
    takeExam(ctx, {4, 9, 17});
    ctx.scripted.clock->advanceSeconds(86400 + 1800);
    takeExam(ctx, {2, 20});
    {
        progress::LernstandDialog dlg(ctx);
        save(dlg, QStringLiteral("progress_lernstand"));
    }
    const progress::History history = progress::readHistory(ctx);
    if (history.exams.empty()) return;
    progress::ReviewDialog review(ctx, history.exams.front());
    save(review, QStringLiteral("progress_review"));
}

} // namespace gallery
