#pragma once

// A program folder with the exam's catalog and a fresh learner, and an exam taken through the exam's own run
// with the history recorder listening, as the menu's exam does it.
#include <set>

#include "catalog/tables.h"
#include "exam/examfixture.h"
#include "exam/examrun.h"
#include "progress/history.h"
#include "support/scripted.h"
#include "support/testdir.h"

namespace progressfixture {

class Folder {
public:
    Folder() : ctx(QString::fromStdString(dir.path().string())) {
        ctx.settings.LS_SAUSWERT = false;
        ctx.settings.LS_SOUND = false;
        ctx.settings.LS_SPEECH = false;
    }
    bool write(const std::vector<trainingfixture::Question>& questions) {
        return trainingfixture::writeCatalog(dir.path(), questions) &&
               catalog::MAKELOCAL(dir.path(), "LOCAL1") == catalog::MakeLocalResult::Created;
    }

    // Takes an exam of the class to its last question (or stops before question `stopAt`, 1-based), answering the
    // positions in `wrong` (0-based) with answer 1 flipped, the others right; the recorder is told as PRUEFUNG
    // tells it. Returns the verdict.
    exam::Verdict takeExam(const QString& classCode, const std::set<int>& wrong, int stopAt = 0) {
        exam::ExamRun run(ctx);
        progress::ExamRecorder recorder(ctx);
        run.setObserver(&recorder);
        run.begin(classCode);
        if (!run.CHECKDBF(classCode)) return exam::Verdict::None;
        run.GETDATA();
        for (int position = 0; position < 40; ++position) {
            if (stopAt > 0 && position + 1 == stopAt) break;
            training::RunState& s = run.state();
            const bool w = wrong.count(position) > 0;
            s.LISOK1 = run.run().correct(1) != w;
            s.LISOK2 = run.run().correct(2);
            s.LISOK3 = run.run().correct(3);
            run.CHKDATA();
            if (run.CHKWEITER() == training::QuestionRun::Step::Finished) break;
        }
        run.closeTables();
        const exam::Verdict verdict = exam::verdictOf(run.state(), run.exam());
        recorder.finished(run, verdict);
        run.finish();
        return verdict;
    }

    lwtest::TempDir dir;
    lwtest::ScriptedContext ctx;
};

} // namespace progressfixture
