// The progress dialog and the review of a past exam, real ones, after a learner's three exams.
#include "pages.h"

#include "progress/lernstand.h"
#include "progress/progressfixture.h"
#include "progress/reviewdialog.h"
#include "ui/artwork.h"

namespace gallery {

void renderProgress(const SaveFn& save) {
    progressfixture::Folder folder;
    ui::art::writeBitmapFiles(QString::fromStdString((folder.dir / "Bitmaps").string()));
    auto questions = examfixture::examCatalog(6);
    for (auto& q : questions) {
        q.text = "Womit müssen Sie rechnen, wenn Sie an einer Haltestelle an einem Linienbus vorbeifahren, "
                 "der mit eingeschaltetem Warnblinklicht hält?";
        q.answers = {"Fahrgäste können unachtsam die Fahrbahn überqueren",
                     "Der Bus fährt gleich mit hoher Geschwindigkeit an", "Mit nichts Besonderem"};
    }
    if (!folder.write(questions)) return;
    auto& clock = *folder.ctx.scripted.clock;
    const QString classB = QStringLiteral("B / BE");
    clock.set(QDateTime(QDate(2026, 4, 20), QTime(18, 5)));
    folder.takeExam(classB, {0, 1, 5, 12});
    clock.advanceSeconds(2 * 86400 + 3600);
    folder.takeExam(classB, {4, 9, 17});
    clock.advanceSeconds(86400 + 1800);
    folder.takeExam(classB, {2, 20});
    {
        progress::LernstandDialog dlg(folder.ctx);
        save(dlg, QStringLiteral("progress_lernstand"));
    }
    const progress::History history = progress::readHistory(folder.ctx);
    if (history.exams.empty()) return;
    progress::ReviewDialog review(folder.ctx, history.exams.front());
    save(review, QStringLiteral("progress_review"));
}

} // namespace gallery
