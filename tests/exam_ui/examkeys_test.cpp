// A whole exam by keyboard alone: the theme dialog's exam button by its accelerator, ticks by Alt+1..3, values
// typed, Enter for Next, Alt+W for the solution pop-up, up to the verdict.
#include "exam/examfixture.h"
#include "exam/examrun.h"
#include "exam/pruefung.h"
#include "training/questiondialog.h"
#include "training/solutiondialog.h"
#include "training/themedialog.h"
#include "trainingui.h"
#include "ui/controls.h"
#include "ui/maskededit.h"

namespace {

const QString kClass = QStringLiteral("B / BE");

class ExamByKeys : public trainingui::TrainingUiTest {
protected:
    ExamByKeys() {
        // Multiple choice everywhere, a one-value question first in theme 2 and a two-value one first in theme
        // 8's group 2: the exam shows them as its 5th and its 29th question.
        auto all = examfixture::examCatalog(3);
        auto one = trainingfixture::value(examfixture::nr('1', 2, 90), 2, "Wie weit?", "etwa", "0,5", "Meter");
        one.points = {{"KLASSE_B", examfixture::pointsOf(2)}};
        auto two = trainingfixture::value(examfixture::nr('2', 8, 91), 8, "Wie schwer?", "zwischen", "7", "Tonnen");
        two.zwisch = "und";
        two.wert2 = "12";
        two.points = {{"KLASSE_B", examfixture::pointsOf(8)}};
        all.insert(all.begin(), {one, two});
        write(all);
    }

    // Answers the question at hand by keys, right unless `right` is false.
    void answerByKeys(training::QuestionDialog* q, bool right) {
        switch (q->layoutType()) {
        case 1:
            for (int i = 1; i <= 3; ++i) {
                if ((q->answerText(i)->text() == QStringLiteral("A")) != right) continue;
                uitest::press(Qt::Key(Qt::Key_1 + i - 1), Qt::AltModifier);
                EXPECT_TRUE(q->answerBox(i)->isChecked()) << "Alt+" << i << " did not tick its box";
                return;
            }
            ADD_FAILURE() << "no box to tick";
            return;
        case 2:
            EXPECT_EQ(QApplication::focusWidget(), q->entry(1));
            uitest::typeKeys(right ? QStringLiteral("0.5") : QStringLiteral("5"));
            return;
        default:
            EXPECT_EQ(QApplication::focusWidget(), q->entry(1));
            uitest::typeKeys(QStringLiteral("7"));
            uitest::press(Qt::Key_Tab);
            uitest::typeKeys(right ? QStringLiteral("12") : QStringLiteral("13"));
            EXPECT_EQ(q->entry(2)->text().trimmed(), right ? QStringLiteral("12") : QStringLiteral("13"));
            return;
        }
    }

    // Takes an exam from the theme dialog by keys, answering wrongly the questions at the positions (0-based) in
    // `wrong`; returns the layouts of the questions in the order shown.
    std::vector<int> takeExam(const std::set<int>& wrong) {
        training::Links links;
        links.exam = [](core::Context& c, QWidget* o, const QString& code) { exam::PRUEFUNG(c, o, code); };
        int themeDialogs = 0, popups = 0;
        std::vector<int> layouts;
        trainingui::drive([&](QWidget* modal) {
            if (qobject_cast<training::ThemeDialog*>(modal)) {
                uitest::press(++themeDialogs == 1 ? Qt::Key_P : Qt::Key_B, Qt::AltModifier);
                return themeDialogs > 1;
            }
            if (qobject_cast<training::SolutionDialog*>(modal)) {
                ++popups;
                uitest::press(Qt::Key_W, Qt::AltModifier);
                return false;
            }
            auto* q = qobject_cast<training::QuestionDialog*>(modal);
            if (!q) return false;
            const int at = int(layouts.size());
            layouts.push_back(q->layoutType());
            answerByKeys(q, !wrong.count(at));
            uitest::press(Qt::Key_Return);
            return false;
        });
        training::GETTHEMA(ctx, nullptr, kClass, QStringLiteral("Pkw"), links);
        EXPECT_EQ(themeDialogs, 2);
        EXPECT_EQ(popups, ctx.settings.LS_SAUSWERT ? int(wrong.size()) : 0);
        return layouts;
    }

    QString verdict() const {
        const auto& shown = ctx.scripted.messages->shown();
        return shown.empty() ? QString() : shown.back().title + QLatin1Char('|') + shown.back().text;
    }
};

TEST_F(ExamByKeys, PassedWithOneFivePointFaultAndAWrongValue) {
    const auto layouts = takeExam({0, 4});
    ASSERT_EQ(layouts.size(), 30u);
    EXPECT_EQ(layouts[4], 2);
    EXPECT_EQ(layouts[28], 3);
    EXPECT_EQ(verdict(), QStringLiteral("Glückwunsch|Sie haben die Prüfung mit 7\rFehlerpunkten bestanden !"));
    EXPECT_EQ(examfixture::answeredAndWrong(dir.path() / "LOCAL1.DBF"), std::make_pair(30, 2));
}

TEST_F(ExamByKeys, FailedByTwoFivePointFaultsWithTheSolutionPopUpClosedByItsKey) {
    ctx.settings.LS_SAUSWERT = true;
    // 10 error points would pass; the second 5-point fault fails the exam.
    const auto layouts = takeExam({0, 1});
    ASSERT_EQ(layouts.size(), 30u);
    EXPECT_EQ(verdict(), QStringLiteral("Pech gehabt ...|Sie haben 10 Fehlerpunkte und damit\r"
                                        "die Prüfung nicht bestanden !"));
}

TEST_F(ExamByKeys, TheKeypadsEnterMeansNextAsTheMainEnterDoes) {
    exam::ExamRun run(ctx);
    run.begin(kClass);
    ASSERT_TRUE(run.CHECKDBF(kClass));
    // Straight to the one-value question, typed on the keypad as a learner entering numbers would.
    for (int i = 1; i < 5; ++i)
        run.CHKWEITER();
    ASSERT_EQ(run.state().NDLGTYP, 2);
    training::QuestionDialog dlg(ctx, run, exam::examLook(kClass));
    ASSERT_TRUE(uitest::showActive(&dlg));
    ASSERT_EQ(QApplication::focusWidget(), dlg.entry(1));
    QTest::keyClick(dlg.entry(1), Qt::Key_0, Qt::KeypadModifier);
    QTest::keyClick(dlg.entry(1), Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(dlg.entry(1), Qt::Key_5, Qt::KeypadModifier);
    QTest::keyClick(dlg.entry(1), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(run.state().NFRAGENR, 6);
    EXPECT_EQ(run.state().NFEHLER, 0);
    EXPECT_EQ(dlg.outcome(), training::QuestionDialog::Outcome::LayoutChange);
    // In a multiple-choice dialog, with the focus on a box.
    training::QuestionDialog choice(ctx, run, exam::examLook(kClass));
    ASSERT_TRUE(uitest::showActive(&choice));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(run.state().NFRAGENR, 7);
    choice.reject();
}

} // namespace
