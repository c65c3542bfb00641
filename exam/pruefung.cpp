#include "exam/pruefung.h"

#include "core/context.h"
#include "core/helptopics.h"
#include "exam/examrun.h"

namespace exam {

training::QuestionLook examLook(const QString& classCode) {
    training::QuestionLook look;
    look.windowTitle = QStringLiteral("Prüfungssimulation");
    look.header = QStringLiteral("Prüfungssimulation für die Klasse '") + classCode + QLatin1Char('\'');
    look.skinMargin = 2;
    look.nextTip = look.nextTip3 = QStringLiteral("Diese Frage ist beantwortet. Nächste Frage vorlegen.");
    look.solutionTip = QStringLiteral("Die richtigen Antworten zu dieser Frage anzeigen.");
    look.topic = core::topic::kExam;
    look.helpButtonTopic = core::topic::kTraining;
    look.helpKeyTopic = core::topic::kExam;
    look.errorsAlways = true;
    return look;
}

void PRUEFUNG(core::Context& ctx, QWidget* owner, const QString& classCode) {
    PRUEFUNG(ctx, owner, classCode, nullptr);
}

void PRUEFUNG(core::Context& ctx, QWidget* owner, const QString& classCode, ExamObserver* observer) {
    // The exam's help from the composition to the verdict; the caller's topic comes back when the exam is over.
    core::HelpTopicScope topic(ctx, core::topicKeyword(core::topic::kExam));
    ExamRun run(ctx);
    run.setObserver(observer);
    run.begin(classCode);
    if (!run.CHECKDBF(classCode)) return;
    // An exam without questions would end at once and count as passed.
    if (run.state().NVON == 0) {
        core::MSGINFO(ctx, emptyExamNotice(classCode), QStringLiteral("Achtung"));
        return;
    }
    run.GETDATA();
    training::presentQuestions(ctx, run, examLook(classCode), owner);
    run.closeTables();
    const Verdict verdict = verdictOf(run.state(), run.exam());
    announceVerdict(ctx, verdict, run.state().NFEHLER);
    if (observer) observer->finished(run, verdict);
    run.finish();
}

} // namespace exam
