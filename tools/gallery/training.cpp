// The training's and the exam's real dialogs over a program folder with a few questions as the catalog words them.
#include "pages.h"

#include <QTemporaryDir>

#include "catalog/tables.h"
#include "exam/examrun.h"
#include "exam/pruefung.h"
#include "support/scripted.h"
#include "training/catalogfixture.h"
#include "training/questiondialog.h"
#include "training/run.h"
#include "training/solutiondialog.h"
#include "training/themedialog.h"
#include "ui/artwork.h"

namespace gallery {

namespace {

// Three questions of theme 1: two of group 1, one of group 2, so that an exam takes all three.
void writeSamples(const QTemporaryDir& folder) {
    const std::filesystem::path dir = folder.path().toStdString();
    ui::art::writeBitmapFiles(folder.filePath(QStringLiteral("Bitmaps")));
    using trainingfixture::choice;
    auto puddle = choice("1.1.07-104", 1,
                         "Womit müssen Sie rechnen, wenn Sie bei starkem Regen mit hoher Geschwindigkeit durch "
                         "eine tiefe Pfütze fahren?",
                         {"Die Reifen können aufschwimmen, so dass sich das Fahrzeug kaum noch lenken lässt",
                          "Fußgänger am Fahrbahnrand können nass gespritzt werden",
                          "Der Bremsweg wird kürzer, weil das Wasser die Räder kühlt"},
                         {true, true, false});
    puddle.bitmap = "KEINBILD";
    puddle.points = {{"KLASSE_B", 4}};
    auto reaction = trainingfixture::value("1.1.02-105", 1,
                                           "Sie fahren mit 50 km/h. Wie lang ist Ihr Reaktionsweg nach der "
                                           "Faustformel, wenn Sie eine Sekunde Reaktionszeit annehmen?",
                                           "Der Reaktionsweg beträgt etwa", "15", "Meter");
    reaction.bitmap = "KEINBILD";
    auto tread = trainingfixture::value("2.1.02-106", 1,
                                        "Ihr Fahrzeug ist liegen geblieben. In welcher Entfernung stellen Sie das "
                                        "Warndreieck innerorts und auf der Autobahn etwa auf?",
                                        "innerorts etwa", "50", "m (Autobahn)");
    tread.zwisch = "m und";
    tread.wert2 = "200";
    tread.bitmap = "KEINBILD";
    trainingfixture::writeCatalog(dir, {puddle, reaction, tread});
    catalog::MAKELOCAL(dir, "LOCAL1");
}

} // namespace

void renderTraining(const SaveFn& save) {
    QTemporaryDir folder;
    writeSamples(folder);

    lwtest::ScriptedContext ctx(folder.path());
    ctx.settings.NS_MAXFRAGEN = 30;
    {
        training::ThemeDialog dlg(ctx, QStringLiteral("B / BE"), training::Links{});
        save(dlg, QStringLiteral("training_themes"));
    }
    training::Run run(ctx);
    run.begin(QStringLiteral("B / BE"), 1, QStringLiteral("'Gefahrenlehre'"));
    run.CHECKDBF(QStringLiteral("B / BE"), 1);
    run.state().NFEHLER = 4;
    const char* const layouts[3] = {"training_question1", "training_question2", "training_question3"};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) run.CHKWEITER();
        else run.GETDATA();
        training::QuestionDialog dlg(ctx, run);
        save(dlg, QString::fromLatin1(layouts[i]));
        if (i == 0) {
            // The solution shown in place, and in its pop-up.
            dlg.solution();
            save(dlg, QStringLiteral("training_question1_solution"));
            training::SolutionDialog popUp(ctx, run.solutionText());
            save(popUp, QStringLiteral("training_solution1"));
        }
        if (i == 2) {
            training::SolutionDialog popUp(ctx, run.solutionText());
            save(popUp, QStringLiteral("training_solution3"));
        }
    }
}

void renderExam(const SaveFn& save) {
    QTemporaryDir folder;
    writeSamples(folder);
    lwtest::ScriptedContext ctx(folder.path());
    const QString code = QStringLiteral("B / BE");
    exam::ExamRun run(ctx);
    run.begin(code);
    run.CHECKDBF(code);
    run.GETDATA();
    {
        training::QuestionDialog dlg(ctx, run, exam::examLook(code));
        save(dlg, QStringLiteral("exam_question1"));
    }
    run.state().NFEHLER = 9;
    run.CHKWEITER();
    run.CHKWEITER();
    training::QuestionDialog dlg(ctx, run, exam::examLook(code));
    save(dlg, QStringLiteral("exam_question3"));
}

} // namespace gallery
