#include "exam/examrun.h"

#include "catalog/tables.h"
#include "core/context.h"
#include "store/error.h"
#include "store/workarea.h"

namespace exam {

ExamRun::ExamRun(core::Context& ctx) : m_ctx(ctx), m_run(ctx) {}

void ExamRun::begin(const QString& classCode) {
    m_run.begin(classCode, 0, QString());
    m_exam = ExamState{};
}

bool ExamRun::CHECKDBF(const QString& classCode) {
    core::BusyScope busy(m_ctx.messages());
    const auto limits = passLimits(classCode);
    if (!limits) {
        store::reportError(classCode.toStdString(), "Unbekannte Klasse");
        return false;
    }
    m_exam.NMAXFEH = limits->NMAXFEH;
    m_exam.NMAXFUENF = limits->NMAXFUENF;
    if (!m_run.openLearningState(kExamOrder, classCondition(classCode))) return false;
    if (!m_run.openCatalog()) return false;
    if (!m_run.MAKETEMP()) return false;
    bool first = true;
    for (const catalog::ExamStep& step : catalog::EXAM_STEPS) {
        PRUFTEMP(classCode, step.theme, step.group, step.count, first);
        first = false;
    }
    m_run.selectionDone();
    m_exam.NMAXFRAGEN = m_run.state().NVON;
    return true;
}

int ExamRun::PRUFTEMP(const QString& classCode, int theme, char group, int count, bool emptyFirst) {
    const int rotation = m_run.random().NRANDOM(100);
    if (emptyFirst) m_run.emptyWorkingSet();
    store::WorkArea* loc = m_run.session().find("DLOC");
    store::WorkArea* fra = m_run.session().find("DFRA");
    if (!loc || !fra) return 0;
    int appended = 0;
    // The step's questions are chosen first: copying one moves the learner's table.
    for (const ExamPick& pick : pickStep(*loc, theme, group, count)) {
        loc->goTo(pick.record);
        if (m_run.copyQuestion(int(fra->recCount()) + 1, classCode, rotation)) ++appended;
    }
    return appended;
}

bool ExamRun::CHKDATA() {
    training::RunState& s = m_run.state();
    const bool right = m_run.judge();
    if (!right) {
        if (m_ctx.settings.LS_SOUND) m_ctx.sound().play(QStringLiteral(".\\Sounds\\fehler.wav"));
        s.NFEHLER += s.NPUNKTE;
        if (s.NPUNKTE == 5) ++m_exam.NFUENFFEH;
    }
    if (m_observer) m_observer->answered(*this, right);
    return right;
}

Verdict verdictOf(const training::RunState& run, const ExamState& exam) {
    if (exam.NMAXFRAGEN <= 0) return Verdict::None;
    if (run.NFRAGENR == exam.NMAXFRAGEN) {
        const bool tooMany = run.NFEHLER > exam.NMAXFEH;
        const bool fivePoints = exam.NMAXFUENF > 0 && exam.NFUENFFEH >= exam.NMAXFUENF;
        return tooMany || fivePoints ? Verdict::Failed : Verdict::Passed;
    }
    if (run.NFRAGENR > 1 && run.NFRAGENR < exam.NMAXFRAGEN) return Verdict::Aborted;
    return Verdict::None;
}

void announceVerdict(core::Context& ctx, Verdict verdict, int errors) {
    if (verdict == Verdict::None) return;
    const bool sound = ctx.settings.LS_SOUND && !ctx.settings.LS_SPEECH;
    const QString n = QString::number(errors);
    if (sound)
        ctx.sound().play(verdict == Verdict::Passed ? QStringLiteral(".\\Sounds\\pok.wav")
                                                    : QStringLiteral(".\\Sounds\\pnok.wav"));
    switch (verdict) {
    case Verdict::Failed:
        core::SPEEKIT(ctx, QStringLiteral("Zuviele Fehler! Sie haben ") + n + QStringLiteral(" Fehlerpunkte!") +
                               QString(1000, QLatin1Char(' ')) + QStringLiteral("Sie müssen noch etwas üben!"));
        core::MSGINFO(ctx,
                      QStringLiteral("Sie haben ") + n +
                          QStringLiteral(" Fehlerpunkte und damit\rdie Prüfung nicht bestanden !"),
                      QStringLiteral("Pech gehabt ..."));
        break;
    case Verdict::Passed:
        if (errors > 0) {
            core::SPEEKIT(ctx, QStringLiteral("Glückwunsch. Sie haben die Prüfung mit ") + n +
                                   QStringLiteral(" Fehlerpunkten bestanden !"));
            core::MSGINFO(
                ctx, QStringLiteral("Sie haben die Prüfung mit ") + n + QStringLiteral("\rFehlerpunkten bestanden !"),
                QStringLiteral("Glückwunsch"));
        } else {
            core::SPEEKIT(ctx, QStringLiteral("Glückwunsch. Sie haben die Prüfung ohne Fehlerpunkte bestanden !"));
            core::MSGINFO(ctx, QStringLiteral("Sie haben die Prüfung ohne\rFehlerpunkte bestanden !"),
                          QStringLiteral("Glückwunsch"));
        }
        break;
    case Verdict::Aborted:
        core::SPEEKIT(ctx, QStringLiteral("Sie haben die Prüfung abgebrochen und darum nicht bestanden !"));
        core::MSGINFO(ctx, QStringLiteral("Sie haben die Prüfung abgebrochen\rund darum nicht bestanden !"),
                      QStringLiteral("Pech gehabt ..."));
        break;
    case Verdict::None:
        break;
    }
}

QString emptyExamNotice(const QString& classCode) {
    return QStringLiteral("Für die Klasse '%1' enthält der\rFragenkatalog keine Prüfungsfragen.").arg(classCode);
}

} // namespace exam
