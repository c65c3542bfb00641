#include <QLabel>
#include <QShortcut>

#include "platform/inifile.h"
#include "store/workarea.h"
#include "trainingui.h"
#include "training/layouts.h"
#include "training/questiondialog.h"
#include "training/run.h"
#include "training/solutiondialog.h"
#include "training/themedialog.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/maskededit.h"

namespace {

using trainingfixture::Question;
using trainingui::TrainingUiTest;
namespace layout = training::layout;

std::vector<Question> classB(int count) {
    std::vector<Question> all;
    for (int i = 1; i <= count; ++i)
        all.push_back(trainingfixture::choice("1.1.01-00" + std::to_string(i), 1, "Frage " + std::to_string(i),
                                              {"Richtig " + std::to_string(i), "Falsch " + std::to_string(i)},
                                              {true, false, false}));
    return all;
}

// The learner's counters of a question while the run holds the table.
int answers(training::Run& run, const std::string& nr) {
    store::WorkArea* loc = run.session().find("DLOC");
    for (std::uint32_t rec = 1; rec <= loc->recCount(); ++rec) {
        loc->goTo(rec);
        if (loc->text("FRAGENR") == nr) return int(loc->number("ANTWORTEN"));
    }
    return -1;
}

class Dialogs : public TrainingUiTest {};

TEST_F(Dialogs, TheThemeDialogStandsWhereItsLayoutSaysAndDisablesWhatIsNotLinked) {
    training::ThemeDialog dlg(ctx, QStringLiteral("B / BE"), training::Links{});
    EXPECT_EQ(dlg.size(), QSize(656, 490));
    EXPECT_EQ(dlg.header()->geometry(), layout::themes::header);
    EXPECT_EQ(dlg.header()->text(), QStringLiteral("Themenauswahl für Klasse 'B / BE'"));
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(dlg.button(layout::themes::kLeft[row])->geometry(), layout::themes::button(0, row));
        EXPECT_EQ(dlg.button(layout::themes::kRight[row])->geometry(), layout::themes::button(1, row));
    }
    for (const char* name : {"BT_Pruef", "BT_Stati"}) {
        EXPECT_FALSE(dlg.button(name)->isEnabled()) << name;
        EXPECT_TRUE(dlg.button(name)->toolTip().contains(QStringLiteral("noch nicht verfügbar"))) << name;
    }
    EXPECT_TRUE(dlg.button("BT_Gefah")->isEnabled());
    // Every button is named for assistive tools by what it says, not by its bitmap.
    for (auto* b : dlg.findChildren<ui::BitmapButton*>()) {
        EXPECT_FALSE(b->accessibleName().isEmpty());
        EXPECT_FALSE(b->accessibleName().startsWith(QStringLiteral("BT_"))) << b->accessibleName().toStdString();
    }
    EXPECT_EQ(dlg.button("BT_Gefah")->accessibleName().left(13), QStringLiteral("Gefahrenlehre"));
}

TEST_F(Dialogs, TheThemeLoopRunsTheLinkedActivitiesComesBackWhereItWasMovedAndLeavesOnEsc) {
    write(classB(2));
    int shown = 0, statistics = 0;
    QPoint firstPlace;
    training::Links links;
    links.statClass = [&](core::Context&, QWidget*, const QString& code) {
        EXPECT_EQ(code, QStringLiteral("B / BE"));
        ++statistics;
    };
    trainingui::drive([&](QWidget* modal) {
        auto* dlg = qobject_cast<training::ThemeDialog*>(modal);
        if (!dlg) return false;
        ++shown;
        if (shown == 1) {
            dlg->move(dlg->pos() + QPoint(37, 21));
            firstPlace = dlg->pos();
            uitest::alt(dlg, 'S');
            return false;
        }
        EXPECT_EQ(dlg->pos(), firstPlace);
        if (shown == 2) {
            // Enter presses the button that has the focus, the keypad's as well.
            dlg->button("BT_Stati")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
            return false;
        }
        QTest::keyClick(dlg, Qt::Key_Escape);
        return true;
    });
    training::GETTHEMA(ctx, nullptr, QStringLiteral("B / BE"), QStringLiteral("Pkw"), links);
    EXPECT_EQ(shown, 3);
    EXPECT_EQ(statistics, 2);
    const QString ini = QString::fromStdString((dir / "TAVOLIN.INI").string());
    EXPECT_EQ(platform::readProfileNumber(ini, QStringLiteral("System"), QStringLiteral("1_Top"), 0), firstPlace.y());
    EXPECT_EQ(platform::readProfileNumber(ini, QStringLiteral("System"), QStringLiteral("1_Left"), 0), firstPlace.x());
    EXPECT_EQ(ctx.helpTopic, QStringLiteral("Lenkwerk"));
}

// A place saved on a monitor that has been unplugged must not put the dialog out of reach.
TEST_F(Dialogs, ASavedPlaceOffEveryScreenIsNotUsed) {
    write(classB(2));
    const QString ini = QString::fromStdString((dir / "TAVOLIN.INI").string());
    platform::writeProfileNumber(ini, QStringLiteral("System"), QStringLiteral("1_Top"), 100);
    platform::writeProfileNumber(ini, QStringLiteral("System"), QStringLiteral("1_Left"), 99999);
    bool onScreen = false;
    trainingui::drive([&](QWidget* modal) {
        auto* dlg = qobject_cast<training::ThemeDialog*>(modal);
        if (!dlg) return false;
        onScreen = QGuiApplication::primaryScreen()->geometry().contains(dlg->frameGeometry());
        QTest::keyClick(dlg, Qt::Key_Escape);
        return true;
    });
    training::GETTHEMA(ctx, nullptr, QStringLiteral("B / BE"), QStringLiteral("Pkw"), training::Links{});
    EXPECT_TRUE(onScreen);
}

TEST_F(Dialogs, TheQuestionDialogsPlaceTheirControlsFromTheLayout) {
    auto all = classB(1);
    all.push_back(trainingfixture::value("1.1.02-001", 1, "Wie weit?", "etwa", "50", "Meter"));
    auto two = trainingfixture::value("1.1.02-002", 1, "Profil?", "vorn", "1,6", "mm");
    two.zwisch = "hinten";
    two.wert2 = "2";
    all.push_back(two);
    write(all);
    training::Run run(ctx);
    run.begin(QStringLiteral("B / BE"), 1, QStringLiteral("'Gefahrenlehre'"));
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
    run.GETDATA();
    {
        training::QuestionDialog dlg(ctx, run);
        EXPECT_EQ(dlg.size(), QSize(641, 516));
        EXPECT_EQ(dlg.header()->text(), QStringLiteral("Fragen zum Thema: 'Gefahrenlehre'  Klasse: 'B / BE'"));
        EXPECT_EQ(dlg.picture()->geometry(), layout::question::picture);
        EXPECT_EQ(dlg.questionText()->geometry(), layout::question::text1);
        for (int i = 1; i <= 3; ++i) {
            EXPECT_EQ(dlg.answerBox(i)->geometry(), layout::question::box[i - 1]);
            EXPECT_EQ(dlg.answerText(i)->geometry(), layout::question::answer[i - 1]);
        }
        EXPECT_EQ(dlg.nextButton()->geometry(), layout::question::next);
        EXPECT_EQ(dlg.endButton()->geometry(), layout::question::end);
        EXPECT_EQ(dlg.errorPoints()->geometry(), layout::question::errors);
        EXPECT_EQ(dlg.autoEvaluateBox()->geometry(), layout::question::autoEvaluate);
        EXPECT_EQ(dlg.nextButton()->toolTip(), QStringLiteral("Nächste Frage vorlegen."));
        EXPECT_EQ(dlg.autoEvaluateBox()->accessibleName(), QStringLiteral("Jede Antwort sofort auswerten."));
    }
    run.CHKWEITER();
    {
        training::QuestionDialog dlg(ctx, run);
        EXPECT_EQ(dlg.layoutType(), 2);
        EXPECT_EQ(dlg.questionText()->geometry(), layout::question::text2);
        EXPECT_EQ(dlg.entry(1)->geometry(), layout::question::entry2);
        EXPECT_EQ(dlg.entry(2), nullptr);
    }
    run.CHKWEITER();
    training::QuestionDialog dlg(ctx, run);
    EXPECT_EQ(dlg.layoutType(), 3);
    EXPECT_EQ(dlg.entry(1)->geometry(), layout::question::entry3a);
    EXPECT_EQ(dlg.entry(2)->geometry(), layout::question::entry3b);
    EXPECT_EQ(dlg.nextButton()->toolTip(), QStringLiteral("Die nächste Frage vorlegen."));
}

TEST_F(Dialogs, SolutionThenNextEvaluatesOnceAndEachFurtherSolutionAgain) {
    write(classB(3));
    training::Run run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
    run.GETDATA();
    training::QuestionDialog dlg(ctx, run);
    ASSERT_TRUE(uitest::showActive(&dlg));
    uitest::alt(&dlg, 'L');
    // The right answer is ticked in place.
    const int right = dlg.answerText(1)->text().startsWith(QStringLiteral("Richtig")) ? 1 : 2;
    EXPECT_TRUE(dlg.answerBox(right)->isChecked());
    uitest::alt(&dlg, 'N');
    EXPECT_EQ(answers(run, "1.1.01-001"), 1);
    EXPECT_EQ(run.state().NFRAGENR, 2);
    uitest::alt(&dlg, 'L');
    uitest::alt(&dlg, 'L');
    EXPECT_EQ(answers(run, "1.1.01-002"), 2);
    EXPECT_EQ(run.state().NFRAGEN, 3);
    dlg.reject();
}

TEST_F(Dialogs, ErrorPointsFollowEachAnswerOnlyWhenSetToAndTheNextLayoutShowsTheSum) {
    auto all = classB(1);
    all.push_back(trainingfixture::value("1.1.02-001", 1, "Wie weit?", "etwa", "50", "Meter"));
    write(all);
    ctx.settings.LS_FPSHOW = false;
    training::Run run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
    run.GETDATA();
    training::QuestionDialog dlg(ctx, run);
    ASSERT_TRUE(uitest::showActive(&dlg));
    EXPECT_EQ(dlg.errorPoints()->text(), QStringLiteral("  0"));
    // Nothing ticked: wrong.
    QTest::keyClick(&dlg, Qt::Key_Return);
    EXPECT_EQ(run.state().NFEHLER, 3);
    EXPECT_EQ(dlg.errorPoints()->text(), QStringLiteral("  0"));
    EXPECT_EQ(dlg.outcome(), training::QuestionDialog::Outcome::LayoutChange);
    training::QuestionDialog values(ctx, run);
    EXPECT_EQ(values.errorPoints()->text(), QStringLiteral("  3"));
}

TEST_F(Dialogs, TheSolutionPopUpShowsTheSolutionOverItsTitleAndKeepsItsPlace) {
    const QString ini = QString::fromStdString((dir / "TAVOLIN.INI").string());
    platform::writeProfileNumber(ini, QStringLiteral("System"), QStringLiteral("2_Top"), 120);
    platform::writeProfileNumber(ini, QStringLiteral("System"), QStringLiteral("2_Left"), 140);
    training::SolutionDialog dlg(ctx, QStringLiteral("\rAntwort 1 = Richtig\rAntwort 2 = Falsch"));
    ASSERT_TRUE(uitest::showActive(&dlg));
    EXPECT_EQ(dlg.pos(), QPoint(140, 120));
    EXPECT_EQ(dlg.title()->geometry(), layout::solution::title);
    EXPECT_EQ(dlg.text()->geometry(), layout::solution::text);
    EXPECT_TRUE(dlg.text()->geometry().intersects(dlg.title()->geometry()));
    EXPECT_FALSE(dlg.text()->autoFillBackground());
    EXPECT_EQ(dlg.text()->text(), QStringLiteral("\nAntwort 1 = Richtig\nAntwort 2 = Falsch"));
    dlg.move(200, 210);
    EXPECT_EQ(platform::readProfileNumber(ini, QStringLiteral("System"), QStringLiteral("2_Top"), 0), 210);
    uitest::alt(&dlg, 'W');
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(Dialogs, ARunEndedBeforeAnyAnswerHasNoVerdictAndLeavesNoFiles) {
    write(classB(3));
    trainingui::drive([&](QWidget* modal) {
        auto* dlg = qobject_cast<training::QuestionDialog*>(modal);
        if (!dlg) return false;
        uitest::alt(dlg, 'B');
        return true;
    });
    training::FRAGEN(ctx, nullptr, QStringLiteral("'Gefahrenlehre'"), QStringLiteral("B / BE"), 1, {});
    EXPECT_TRUE(ctx.scripted.messages->shown().empty());
    for (const char* f : {"BILD.BMP", "LOCAL.CDX", "T_FRAGE.DBF", "T_FRAGE.FPT", "T_FRAGE.CDX"})
        EXPECT_FALSE(std::filesystem::exists(dir / f)) << f;
}

TEST_F(Dialogs, AnEmptySelectionGetsANoticeInsteadOfAnEmptyDialog) {
    write(classB(3));
    bool dialog = false;
    // Should a question dialog open, it is noted and closed.
    QTimer::singleShot(200, [&dialog] {
        if (auto* d = qobject_cast<training::QuestionDialog*>(QApplication::activeModalWidget())) {
            dialog = true;
            d->reject();
        }
    });
    training::FRAGEN(ctx, nullptr, QStringLiteral("'Umweltschutz'"), QStringLiteral("B / BE"), 5, {});
    QTest::qWait(300);
    EXPECT_FALSE(dialog);
    ASSERT_EQ(ctx.scripted.messages->shown().size(), 1u);
    EXPECT_EQ(ctx.scripted.messages->shown()[0].kind, lwtest::ScriptedMessages::Kind::Info);
    EXPECT_FALSE(std::filesystem::exists(dir / "T_FRAGE.DBF"));
}

} // namespace
