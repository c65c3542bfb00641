// The exam's question dialog and whole exams, driven offscreen by the dialog's real buttons and keys.
#include <QLabel>

#include "exam/examfixture.h"
#include "exam/examrun.h"
#include "exam/pruefung.h"
#include "store/workarea.h"
#include "training/layouts.h"
#include "training/questiondialog.h"
#include "training/run.h"
#include "training/solutiondialog.h"
#include "training/themedialog.h"
#include "trainingui.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/maskededit.h"

namespace {

using trainingui::TrainingUiTest;
namespace layout = training::layout::question;
const QString kClass = QStringLiteral("B / BE");

class ExamDialog : public TrainingUiTest {
protected:
    // The learner's answer counter of a question while the exam holds the table.
    static int answers(exam::ExamRun& run, const std::string& nr) {
        store::WorkArea* loc = run.run().session().find("DLOC");
        for (std::uint32_t rec = 1; rec <= loc->recCount(); ++rec) {
            loc->goTo(rec);
            if (loc->text("FRAGENR") == nr) return int(loc->number("ANTWORTEN"));
        }
        return -1;
    }
    // Ticks the right answer ("A") of a multiple-choice question by clicking its box, or the wrong one.
    static void answer(training::QuestionDialog* q, bool right) {
        for (int i = 1; i <= 3; ++i) {
            const bool isRight = q->answerText(i)->text() == QStringLiteral("A");
            if (isRight == right && (right || !q->answerText(i)->text().isEmpty())) {
                QTest::mouseClick(q->answerBox(i), Qt::LeftButton);
                return;
            }
        }
        ADD_FAILURE() << "no answer box to click";
    }
    QStringList titles() const {
        QStringList all;
        for (const auto& shown : ctx.scripted.messages->shown())
            all << shown.title;
        return all;
    }
    void expectNoFilesLeft() {
        for (const char* f : {"BILD.BMP", "LOCAL.CDX", "T_FRAGE.DBF", "T_FRAGE.FPT", "T_FRAGE.CDX"})
            EXPECT_FALSE(std::filesystem::exists(dir / f)) << f;
    }
    // Runs PRUEFUNG, answering each question right unless its position (0-based) is in `wrong`, and pressing End
    // when question `closeAt` (1-based) is shown, before answering it; 0 takes the whole exam.
    int examWithEndAt(int closeAt, const std::set<int>& wrong = {}) {
        int presented = 0;
        trainingui::drive([&](QWidget* modal) {
            auto* q = qobject_cast<training::QuestionDialog*>(modal);
            if (!q) return false;
            const int at = presented;
            if (closeAt > 0 && at + 1 == closeAt) {
                QTest::mouseClick(q->endButton(), Qt::LeftButton);
                return true;
            }
            ++presented;
            answer(q, !wrong.count(at));
            QTest::mouseClick(q->nextButton(), Qt::LeftButton);
            return false;
        });
        exam::PRUEFUNG(ctx, nullptr, kClass);
        return presented;
    }
};

TEST_F(ExamDialog, LooksLikeTheTrainingsWithTheExamsHeaderSizeTooltipsAndHelp) {
    auto all = examfixture::examCatalog(2);
    // A two-value question in theme 1, group 1, which the exam takes first.
    auto two = trainingfixture::value("1.1.00-001", 1, "Profil?", "vorn", "1,6", "mm");
    two.zwisch = "hinten";
    two.wert2 = "2";
    two.points = {{"KLASSE_B", 5}};
    all.insert(all.begin(), two);
    write(all);
    ctx.settings.LS_FPSHOW = false;
    exam::ExamRun run(ctx);
    run.begin(kClass);
    ASSERT_TRUE(run.CHECKDBF(kClass));
    run.GETDATA();
    ASSERT_EQ(run.state().NDLGTYP, 3);
    {
        training::QuestionDialog dlg(ctx, run, exam::examLook(kClass));
        ASSERT_TRUE(uitest::showActive(&dlg));
        EXPECT_EQ(dlg.size(), QSize(640, 515));
        EXPECT_EQ(dlg.header()->text(), QStringLiteral("Prüfungssimulation für die Klasse 'B / BE'"));
        EXPECT_EQ(dlg.header()->geometry(), layout::header);
        // The text of two values stands where the training has it, clear of the header.
        EXPECT_EQ(dlg.questionText()->geometry(), layout::text2);
        EXPECT_FALSE(dlg.questionText()->geometry().intersects(dlg.header()->geometry()));
        EXPECT_EQ(dlg.entry(2)->geometry(), layout::entry3b);
        EXPECT_EQ(dlg.nextButton()->toolTip(), QStringLiteral("Diese Frage ist beantwortet. Nächste Frage vorlegen."));
        EXPECT_EQ(dlg.solutionButton()->toolTip(), QStringLiteral("Die richtigen Antworten zu dieser Frage anzeigen."));
        EXPECT_EQ(dlg.endButton()->toolTip(), QStringLiteral("Diese Übung sofort beenden."));
        EXPECT_EQ(ctx.helpTopic, QStringLiteral("Prüfungssimulation"));
        // The help button opens the training's page, Alt+H the exam's.
        QTest::mouseClick(dlg.helpButton(), Qt::LeftButton);
        uitest::alt(&dlg, 'H');
        const auto& calls = ctx.scripted.help->calls();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].argument, QStringLiteral("Fragentraining"));
        EXPECT_EQ(calls[1].argument, QStringLiteral("Prüfungssimulation"));
        // A wrong answer shows its points at once, whatever the settings say about the training.
        dlg.entry(1)->setFocus();
        QTest::keyClicks(dlg.entry(1), QStringLiteral("1,6"));
        QTest::keyClick(dlg.entry(1), Qt::Key_Return);
        EXPECT_EQ(run.state().NFEHLER, 5);
        EXPECT_EQ(dlg.errorPoints()->text(), QStringLiteral("  5"));
        EXPECT_EQ(run.exam().NFUENFFEH, 1);
        EXPECT_EQ(dlg.outcome(), training::QuestionDialog::Outcome::LayoutChange);
    }
    // The next question, multiple choice, in the smaller dialog too.
    training::QuestionDialog dlg(ctx, run, exam::examLook(kClass));
    EXPECT_EQ(dlg.size(), QSize(640, 515));
    EXPECT_EQ(dlg.layoutType(), 1);
    EXPECT_EQ(dlg.nextButton()->toolTip(), QStringLiteral("Diese Frage ist beantwortet. Nächste Frage vorlegen."));
}

TEST_F(ExamDialog, SolutionThenNextCountsTheAnswerOnceWithItsErrorPoints) {
    write(examfixture::examCatalog(3));
    exam::ExamRun run(ctx);
    run.begin(kClass);
    ASSERT_TRUE(run.CHECKDBF(kClass));
    run.GETDATA();
    training::QuestionDialog dlg(ctx, run, exam::examLook(kClass));
    ASSERT_TRUE(uitest::showActive(&dlg));
    const std::string first = run.state().CFRGNR.toStdString();
    // Nothing ticked, then the solution: wrong, counted once even though the learner has seen the solution.
    uitest::alt(&dlg, 'L');
    uitest::alt(&dlg, 'N');
    EXPECT_EQ(answers(run, first), 1);
    EXPECT_EQ(run.state().NFEHLER, 5);
    EXPECT_EQ(run.exam().NFUENFFEH, 1);
    EXPECT_EQ(run.state().NFRAGENR, 2);
    dlg.reject();
}

TEST_F(ExamDialog, AWholeExamByItsButtonsFromTheThemeDialogEndsWithTheVerdictAndLeavesNoFiles) {
    write(examfixture::examCatalog(3));
    training::Links links;
    links.exam = [](core::Context& c, QWidget* o, const QString& code) { exam::PRUEFUNG(c, o, code); };
    int themeDialogs = 0, presented = 0;
    std::set<QString> numbers;
    trainingui::drive([&](QWidget* modal) {
        if (auto* t = qobject_cast<training::ThemeDialog*>(modal)) {
            if (++themeDialogs == 1) {
                EXPECT_TRUE(t->button("BT_Pruef")->isEnabled());
                QTest::mouseClick(t->button("BT_Pruef"), Qt::LeftButton);
                return false;
            }
            QTest::mouseClick(t->button("BT_Beend"), Qt::LeftButton);
            return true;
        }
        auto* q = qobject_cast<training::QuestionDialog*>(modal);
        if (!q) return false;
        EXPECT_EQ(q->header()->text(), QStringLiteral("Prüfungssimulation für die Klasse 'B / BE'"));
        numbers.insert(q->questionText()->text());
        // Two 2-point questions (positions 4 and 5) wrong.
        answer(q, presented != 4 && presented != 5);
        ++presented;
        QTest::mouseClick(q->nextButton(), Qt::LeftButton);
        return false;
    });
    training::GETTHEMA(ctx, nullptr, kClass, QStringLiteral("Pkw"), links);
    EXPECT_EQ(themeDialogs, 2);
    EXPECT_EQ(presented, 30);
    EXPECT_EQ(numbers.size(), 30u);
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("Achtung"), QStringLiteral("Glückwunsch")}));
    EXPECT_EQ(ctx.scripted.messages->shown().back().text,
              QStringLiteral("Sie haben die Prüfung mit 4\rFehlerpunkten bestanden !"));
    expectNoFilesLeft();
    EXPECT_EQ(examfixture::answeredAndWrong(dir / "LOCAL1.DBF"), std::make_pair(30, 2));
}

TEST_F(ExamDialog, ClosingOnTheFirstQuestionGivesNoVerdictOnALaterOneAbortedOnTheLastTheVerdict) {
    write(examfixture::examCatalog(3));
    // On the first question, even after an answer was evaluated by the solution.
    trainingui::drive([&](QWidget* modal) {
        auto* q = qobject_cast<training::QuestionDialog*>(modal);
        if (!q) return false;
        QTest::mouseClick(q->solutionButton(), Qt::LeftButton);
        QTest::mouseClick(q->endButton(), Qt::LeftButton);
        return true;
    });
    exam::PRUEFUNG(ctx, nullptr, kClass);
    EXPECT_TRUE(ctx.scripted.messages->shown().empty());
    expectNoFilesLeft();

    for (int at : {2, 29}) {
        ctx.scripted.messages->clear();
        EXPECT_EQ(examWithEndAt(at), at - 1);
        EXPECT_EQ(titles(), QStringList{QStringLiteral("Pech gehabt ...")}) << at;
        EXPECT_EQ(ctx.scripted.messages->shown().back().text,
                  QStringLiteral("Sie haben die Prüfung abgebrochen\rund darum nicht bestanden !"));
    }
    // The last question left unanswered: the verdict on the answers given, here three 4-point faults.
    ctx.scripted.messages->clear();
    EXPECT_EQ(examWithEndAt(30, {11, 12, 13}), 29);
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Pech gehabt ...")});
    EXPECT_EQ(ctx.scripted.messages->shown().back().text,
              QStringLiteral("Sie haben 12 Fehlerpunkte und damit\rdie Prüfung nicht bestanden !"));
    ctx.scripted.messages->clear();
    EXPECT_EQ(examWithEndAt(30, {11}), 29);
    EXPECT_EQ(ctx.scripted.messages->shown().back().text,
              QStringLiteral("Sie haben die Prüfung mit 4\rFehlerpunkten bestanden !"));
    expectNoFilesLeft();
}

TEST_F(ExamDialog, WithAutoEvaluationEveryWrongAnswerOpensTheSolutionPopUp) {
    write(examfixture::examCatalog(3));
    ctx.settings.LS_SAUSWERT = true;
    int solutions = 0, presented = 0;
    trainingui::drive([&](QWidget* modal) {
        if (auto* s = qobject_cast<training::SolutionDialog*>(modal)) {
            ++solutions;
            EXPECT_TRUE(s->text()->text().contains(QStringLiteral("Antwort")));
            QTest::mouseClick(s->nextButton(), Qt::LeftButton);
            return false;
        }
        auto* q = qobject_cast<training::QuestionDialog*>(modal);
        if (!q) return false;
        EXPECT_TRUE(q->autoEvaluateBox()->isChecked());
        if (presented == 3) {
            QTest::mouseClick(q->endButton(), Qt::LeftButton);
            return true;
        }
        answer(q, presented == 1);
        ++presented;
        QTest::mouseClick(q->nextButton(), Qt::LeftButton);
        return false;
    });
    exam::PRUEFUNG(ctx, nullptr, kClass);
    EXPECT_EQ(solutions, 2);
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Pech gehabt ...")});
}

// Notes the help topic in force whenever a notice is shown.
class TopicMessages : public lwtest::ScriptedMessages {
public:
    explicit TopicMessages(core::Context& ctx) : m_ctx(ctx) {}
    bool info(const QString& message, const QString& title) override {
        topics << m_ctx.helpTopic;
        return lwtest::ScriptedMessages::info(message, title);
    }
    QStringList topics;

private:
    core::Context& m_ctx;
};

TEST_F(ExamDialog, TheExamsHelpTopicHoldsUpToTheVerdictAndTheThemeSelectionsReturnsAfter) {
    write(examfixture::examCatalog(3));
    auto owned = std::make_unique<TopicMessages>(ctx);
    TopicMessages* messages = owned.get();
    ctx.setMessages(std::move(owned));
    const QString themes = core::topicKeyword(core::topic::kThemeSelection);
    const QString examTopic = QStringLiteral("Prüfungssimulation");
    ctx.helpTopic = themes;
    // A whole exam: "Dies war die letzte Frage." and the verdict; then one aborted on question 5.
    examWithEndAt(0);
    ASSERT_EQ(messages->topics.size(), 2);
    EXPECT_EQ(messages->topics, (QStringList{examTopic, examTopic}));
    EXPECT_EQ(ctx.helpTopic, themes);
    examWithEndAt(5);
    ASSERT_EQ(messages->topics.size(), 3);
    EXPECT_EQ(messages->topics.back(), examTopic);
    EXPECT_EQ(ctx.helpTopic, themes);
}

TEST_F(ExamDialog, AClassWithoutQuestionsGetsANoticeInsteadOfAVerdict) {
    write(examfixture::examCatalog(3));
    bool dialog = false;
    QTimer::singleShot(200, [&dialog] {
        if (auto* d = qobject_cast<training::QuestionDialog*>(QApplication::activeModalWidget())) {
            dialog = true;
            d->reject();
        }
    });
    exam::PRUEFUNG(ctx, nullptr, QStringLiteral("T"));
    QTest::qWait(300);
    EXPECT_FALSE(dialog);
    ASSERT_EQ(ctx.scripted.messages->shown().size(), 1u);
    EXPECT_EQ(ctx.scripted.messages->shown()[0].title, QStringLiteral("Achtung"));
    EXPECT_TRUE(ctx.scripted.messages->shown()[0].text.contains(QStringLiteral("'T'")));
    expectNoFilesLeft();
}

} // namespace
