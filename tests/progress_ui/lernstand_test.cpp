// The progress dialog after scripted exams, driven by its real buttons and keys; the review, the practice run and
// the printed report.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include <fstream>

#include "../progress/progressfixture.h"
#include "core/helptopics.h"
#include "progress/artwork.h"
#include "progress/chart.h"
#include "progress/layouts.h"
#include "progress/lernstand.h"
#include "progress/report.h"
#include "progress/reviewdialog.h"
#include "training/artwork.h"
#include "training/questiondialog.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/maskededit.h"
#include "ui/services.h"
#include "uitest.h"

namespace {

using uitest::onNextDialog;
namespace at = progress::layout::lernstand;

// Once the dialog opened over it has closed, the progress dialog takes the keys again; Alt+B ends it.
void backAndEnd(progress::LernstandDialog* dlg) {
    dlg->activateWindow();
    EXPECT_TRUE(uitest::waitFor([dlg] { return QApplication::activeWindow() == dlg; }, 3000));
    uitest::alt(dlg, 'B');
    if (dlg->isVisible()) {
        ADD_FAILURE() << "Alt+B did not end the dialog";
        dlg->reject();
    }
}

class Lernstand : public ::testing::Test, public progressfixture::Folder {
protected:
    void SetUp() override {
        ui::art::registerArtwork(training::artwork());
        progress::registerArtwork();
        auto questions = examfixture::examCatalog(4);
        // One number question in theme 2, group 1 (the exam's fifth question).
        questions.insert(questions.begin(),
                         trainingfixture::value("1.2.01-000", 2, "Wie viele Meter?", "Es sind", "50", "Meter."));
        questions.front().points = {{"KLASSE_B", 2}};
        ASSERT_TRUE(write(questions));
        ctx.scripted.clock->set(QDateTime(QDate(2026, 5, 2), QTime(10, 0)));
        // First exam: the number question (position 5, left empty) and question 6 wrong; then one without fault.
        ASSERT_EQ(takeExam(B, {4, 5}), exam::Verdict::Passed);
        ctx.scripted.clock->advanceSeconds(86400);
        ASSERT_EQ(takeExam(B, {}), exam::Verdict::Passed);
    }
    const QString B = QStringLiteral("B / BE");
};

TEST_F(Lernstand, ShowsTheClassOfTheLatestExamWithItsReadinessAndItsExamsNewestFirst) {
    bool seen = false;
    onNextDialog<progress::LernstandDialog>([&](progress::LernstandDialog* dlg) {
        seen = true;
        EXPECT_EQ(ctx.helpTopic, QString::fromUtf8(core::topic::kProgress));
        EXPECT_EQ(dlg->classCode(), B);
        EXPECT_EQ(dlg->historyGrid()->geometry(), at::history);
        EXPECT_EQ(dlg->light()->geometry(), at::light);
        EXPECT_EQ(dlg->endButton()->geometry(), at::buttons[4]);
        auto* model = dlg->historyGrid()->gridModel();
        ASSERT_EQ(model->rowCount(), 2);
        EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("2"));
        EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("03.05.2026"));
        EXPECT_EQ(model->index(1, 4).data().toString(), QStringLiteral("4 von 10"));
        const progress::Readiness& r = dlg->summary().readiness;
        EXPECT_EQ(r.exams, 2000);
        EXPECT_EQ(r.questions, 30);
        EXPECT_EQ(dlg->percentLabel()->text(), QStringLiteral("%1 %").arg(progress::percentOf(r.passRate)));
        ASSERT_TRUE(dlg->light()->lightShown().has_value());
        EXPECT_EQ(*dlg->light()->lightShown(), progress::lightOf(r.passRate));

        // Another class: no exams there; the review says so instead of opening.
        dlg->classChoice()->setCurrentIndex(int(progress::classCodes().indexOf(QStringLiteral("MO"))));
        EXPECT_EQ(dlg->historyGrid()->gridModel()->rowCount(), 0);
        EXPECT_FALSE(dlg->reviewButton()->isEnabled());
        dlg->setClassCode(QStringLiteral("B"));
        EXPECT_EQ(dlg->classCode(), B);
        // The class is chosen from the keyboard: Alt+K reaches the choice, the arrow keys change it.
        uitest::alt(dlg, 'K');
        EXPECT_EQ(QApplication::focusWidget(), dlg->classChoice());
        uitest::press(Qt::Key_Down);
        EXPECT_NE(dlg->classCode(), B);
        uitest::press(Qt::Key_Up);
        EXPECT_EQ(dlg->classCode(), B);
        EXPECT_EQ(dlg->historyGrid()->gridModel()->rowCount(), 2);
        uitest::alt(dlg, 'B');
    });
    progress::LERNSTAND(ctx, nullptr);
    EXPECT_TRUE(seen);
}

TEST_F(Lernstand, TheReviewShowsTheLearnersAnswerBesideTheRightOneAndChangesNothing) {
    const std::string before = lwtest::readFile(dir / "LOCAL1.DBF");
    bool reviewed = false;
    onNextDialog<progress::LernstandDialog>([&](progress::LernstandDialog* dlg) {
        // The older exam, the second row.
        dlg->historyGrid()->setCurrentRow(1);
        onNextDialog<progress::ReviewDialog>([&](progress::ReviewDialog* review) {
            reviewed = true;
            EXPECT_EQ(review->count(), 30);
            EXPECT_TRUE(review->header()->text().startsWith(QStringLiteral("Prüfung 1 vom 02.05.2026")));
            // Question 1 was right: the first (right) answer ticked and marked, nothing in red.
            EXPECT_TRUE(review->answerBox(1)->isChecked());
            EXPECT_FALSE(review->answerBox(2)->isChecked());
            EXPECT_TRUE(review->answerText(1)->text().contains(QStringLiteral("richtig")));
            EXPECT_FALSE(review->answerText(2)->text().contains(QStringLiteral("richtig")));
            EXPECT_EQ(review->verdict()->text(), QStringLiteral("richtig"));
            EXPECT_FALSE(review->backButton()->isEnabled());
            // Four times Next reaches the number question, answered with nothing.
            for (int i = 0; i < 4; ++i)
                uitest::alt(review, 'N');
            EXPECT_EQ(review->current(), 4);
            ASSERT_NE(review->entry(1), nullptr);
            EXPECT_TRUE(review->entry(1)->isReadOnly());
            EXPECT_TRUE(review->after()->text().contains(QStringLiteral("richtig: 50")));
            EXPECT_EQ(review->verdict()->text(), QStringLiteral("falsch"));
            // Question 6: a wrong tick; the box can't be changed by a click.
            QTest::keyClick(review, Qt::Key_PageDown);
            EXPECT_EQ(review->verdict()->text(), QStringLiteral("falsch"));
            const bool ticked = review->answerBox(1)->isChecked();
            QTest::mouseClick(review->answerBox(1), Qt::LeftButton);
            EXPECT_EQ(review->answerBox(1)->isChecked(), ticked);
            // Nor by the keys that tick an answer in the question dialog.
            const bool ticked2 = review->answerBox(2)->isChecked();
            for (char c : {'1', '2', '3'}) {
                uitest::press(Qt::Key(c));
                uitest::alt(review, c);
            }
            EXPECT_EQ(review->answerBox(1)->isChecked(), ticked);
            EXPECT_EQ(review->answerBox(2)->isChecked(), ticked2);
            EXPECT_EQ(review->current(), 5);
            QTest::keyClick(review, Qt::Key_PageUp);
            EXPECT_EQ(review->current(), 4);
            uitest::alt(review, 'B');
        });
        uitest::alt(dlg, 'A');
        backAndEnd(dlg);
    });
    progress::LERNSTAND(ctx, nullptr);
    EXPECT_TRUE(reviewed);
    EXPECT_EQ(lwtest::readFile(dir / "LOCAL1.DBF"), before);
}

TEST_F(Lernstand, PractiseMyMistakesRunsTheTrainingsDialogOverThem) {
    bool ran = false;
    onNextDialog<progress::LernstandDialog>([&](progress::LernstandDialog* dlg) {
        onNextDialog<training::QuestionDialog>([&](training::QuestionDialog* q) {
            ran = true;
            EXPECT_TRUE(q->header()->text().contains(QStringLiteral("'Meine Fehler'")));
            EXPECT_TRUE(q->header()->text().contains(B));
            // The number question comes first: answered wrongly in the exam and never right.
            EXPECT_EQ(q->layoutType(), 2);
            q->endButton()->click();
        });
        uitest::alt(dlg, 'F');
        backAndEnd(dlg);
    });
    progress::LERNSTAND(ctx, nullptr);
    EXPECT_TRUE(ran);
    // Ended before an answer: no verdict, and the run's files are gone.
    EXPECT_FALSE(std::filesystem::exists(dir / "T_FRAGE.DBF"));
    EXPECT_FALSE(std::filesystem::exists(dir / "LOCAL.CDX"));
}

TEST_F(Lernstand, NothingToPractiseIsSaid) {
    // Class A has no questions in this catalog.
    progress::practiseMistakes(ctx, nullptr, QStringLiteral("A"));
    const auto& shown = ctx.scripted.messages->shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_TRUE(shown.back().text.contains(QStringLiteral("keine Fehler zu üben")));
}

TEST_F(Lernstand, MistakesTheCatalogNoLongerHoldsOpenNoEmptyTraining) {
    // The learner's table keeps a question answered wrongly that a newer catalog dropped; nothing else is wrong.
    std::map<std::string, trainingfixture::Counts> counts;
    for (const auto& [nr, c] : trainingfixture::readCounts(dir / "LOCAL1.DBF"))
        counts[nr] = {c.antworten + 3, c.richtig + 3, 0, c.zuletzt};
    counts["1.2.01-000"] = {3, 0, 3, "17"};
    ASSERT_TRUE(trainingfixture::setCounts(dir / "LOCAL1.DBF", counts));
    ASSERT_TRUE(trainingfixture::writeCatalog(dir.path(), examfixture::examCatalog(4)));
    std::filesystem::remove(dir / "FRAGEN.CDX");
    std::filesystem::remove(dir / "PHIS1.DBF");

    int opened = 0;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* q = qobject_cast<training::QuestionDialog*>(QApplication::activeModalWidget())) {
            ++opened;
            q->reject();
        }
    });
    watch.start();
    progress::practiseMistakes(ctx, nullptr, B);
    watch.stop();
    EXPECT_EQ(opened, 0) << "a training over no question was opened";
    const auto& shown = ctx.scripted.messages->shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_TRUE(shown.back().text.contains(QStringLiteral("keine Fehler zu üben"))) << shown.back().text.toStdString();
    EXPECT_FALSE(std::filesystem::exists(dir / "T_FRAGE.DBF"));
}

TEST_F(Lernstand, AMistakeTheCatalogDroppedLeavesItsPlaceToTheNextOne) {
    // Two mistakes and room for one: the weakest is gone from the catalog, so the other is practised.
    std::map<std::string, trainingfixture::Counts> counts;
    for (const auto& [nr, c] : trainingfixture::readCounts(dir / "LOCAL1.DBF"))
        counts[nr] = {c.antworten + 3, c.richtig + 3, 0, c.zuletzt};
    counts["1.2.01-000"] = {6, 0, 6, "17"};
    const std::string kept = examfixture::nr('1', 3, 2);
    counts[kept] = {2, 0, 2, "17"};
    ASSERT_TRUE(trainingfixture::setCounts(dir / "LOCAL1.DBF", counts));
    ASSERT_TRUE(trainingfixture::writeCatalog(dir.path(), examfixture::examCatalog(4)));
    std::filesystem::remove(dir / "FRAGEN.CDX");
    std::filesystem::remove(dir / "PHIS1.DBF");
    ctx.settings.NS_MAXFRAGEN = 1;

    QString shownNr;
    onNextDialog<training::QuestionDialog>([&](training::QuestionDialog* q) {
        shownNr = q->questionText()->text();
        q->endButton()->click();
    });
    progress::practiseMistakes(ctx, nullptr, B);
    EXPECT_EQ(shownNr.toStdString(), "Frage " + kept);
}

TEST_F(Lernstand, TheReportHasOnePagePerClassAndReadsBackFromThePdf) {
    if (lwtest::runCommand("command -v pdftotext >/dev/null") != 0) GTEST_SKIP() << "pdftotext is not installed";
    const QString pdf = QString::fromStdString((dir / "bericht.pdf").string());
    ctx.setPrinter(std::make_unique<ui::PdfPrinter>(pdf));
    // Class B has the exams; the catalog's questions count in MO as well, and no other class has any.
    ASSERT_TRUE(progress::readHistory(ctx).exams.size() == 2);
    const QStringList classes = progress::reportClasses(ctx, progress::readHistory(ctx), QStringLiteral("MO"));
    EXPECT_EQ(classes, (QStringList{B, QStringLiteral("MO")}));
    ASSERT_TRUE(progress::printReport(ctx, classes));
    std::string text;
    ASSERT_EQ(lwtest::runCommand("pdftotext -layout '" + pdf.toStdString() + "' -", &text), 0);
    // Two pages, one per class, each with its parts.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 2) << text;
    EXPECT_NE(text.find("Klasse B / BE"), std::string::npos) << text;
    EXPECT_NE(text.find("Klasse MO"), std::string::npos);
    EXPECT_NE(text.find("Prüfungsreife:"), std::string::npos);
    EXPECT_NE(text.find("Statistik je Thema"), std::string::npos);
    EXPECT_NE(text.find("Gefahrenlehre"), std::string::npos);
    EXPECT_NE(text.find("Prüfungssimulationen (2)"), std::string::npos);
    EXPECT_NE(text.find("Prüfungssimulationen (0)"), std::string::npos);
    EXPECT_NE(text.find("Die 20 unsichersten Fragen"), std::string::npos);
    // The number question, the weakest of class B, is listed by its number.
    EXPECT_NE(text.find("1.2.01-000"), std::string::npos);
}

TEST_F(Lernstand, ADamagedHistoryIsReportedOnceWhenTheDialogOpens) {
    {
        std::ofstream out(dir / "PHIS1.DBF", std::ios::binary);
        out << "kaputt";
    }
    bool seen = false;
    onNextDialog<progress::LernstandDialog>([&](progress::LernstandDialog* dlg) {
        seen = true;
        EXPECT_EQ(dlg->historyGrid()->gridModel()->rowCount(), 0);
        dlg->refresh();
        uitest::alt(dlg, 'B');
    });
    progress::LERNSTAND(ctx, nullptr);
    EXPECT_TRUE(seen);
    int warnings = 0;
    for (const auto& s : ctx.scripted.messages->shown())
        if (s.kind == lwtest::ScriptedMessages::Kind::Warning && s.text.contains(QStringLiteral("beschädigt")))
            ++warnings;
    EXPECT_EQ(warnings, 1);
}

} // namespace
