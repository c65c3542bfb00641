// The statistics dialogs opened through their entries and driven by their real buttons and keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <memory>

#include "../stats/stats_support.h"
#include "core/helptopics.h"
#include "platform/inifile.h"
#include "stats/artwork.h"
#include "stats/dialogs.h"
#include "stats/layouts.h"
#include "stats/statist.h"
#include "support/scripted.h"
#include "support/testdir.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/progressbar.h"
#include "uitest.h"

namespace {

using statstest::answered;
namespace layout = stats::layout;

using uitest::onNextDialog;

class StatistDialogs : public ::testing::Test {
protected:
    StatistDialogs() : ctx(QString::fromStdString(dir.path().string())) {
        stats::registerArtwork();
        // Class B: four questions, three answered (6 answers), two of them right at least once; one of class A.
        statstest::writeLocal(
            dir.path(), "LOCAL1",
            {answered("1.1.01-001", 1, {"KLASSE_B"}, 1, 2), answered("1.1.01-002", 1, {"KLASSE_B"}, 0, 0),
             answered("1.2.01-001", 2, {"KLASSE_B"}, 0, 2), answered("1.3.01-001", 3, {"KLASSE_B", "KLASSE_A"}, 1, 0),
             answered("1.4.01-001", 4, {"KLASSE_A"}, 3, 0)});
        core::LoginState state;
        state.NS_USER = 1;
        ctx.setLogin(state);
    }

    bool exists(const char* name) const { return QFile::exists(ctx.path(QString::fromLatin1(name))); }

    lwtest::TempDir dir;
    lwtest::ScriptedContext ctx;
};

TEST_F(StatistDialogs, OverviewShowsTheCountsBarsAndTitleOfItsClass) {
    bool seen = false;
    onNextDialog<stats::OverviewDialog>([&](stats::OverviewDialog* dlg) {
        seen = true;
        EXPECT_EQ(dlg->titleLabel()->text(), QStringLiteral("Allgemeine Statistik für die Klasse 'B / BE'"));
        const QStringList figures = {dlg->figure(0)->text(), dlg->figure(1)->text(), dlg->figure(2)->text(),
                                     dlg->figure(3)->text()};
        EXPECT_EQ(figures, (QStringList{"4", "3", "6", "2"}));
        EXPECT_EQ(dlg->answeredBar()->text(), QStringLiteral(" 75%"));
        EXPECT_EQ(dlg->answeredBar()->barColor(), QColor(63, 0, 191));
        // Two of three answered questions right: more than half, blue; 2 of 6 answers fill the bar.
        EXPECT_EQ(dlg->rightBar()->text(), QStringLiteral(" 33%"));
        EXPECT_EQ(dlg->rightBar()->barColor(), QColor(0, 0, 255));
        EXPECT_EQ(ctx.helpTopic, core::topicKeyword(core::topic::kStatistics));
        // Everything stands where the layout puts it.
        EXPECT_EQ(dlg->size(), QSize(475, 269));
        EXPECT_EQ(dlg->answeredBar()->geometry(), layout::overview::bar1);
        EXPECT_EQ(dlg->rightBar()->geometry(), layout::overview::bar2);
        EXPECT_EQ(dlg->figure(3)->geometry(), layout::overview::right);
        EXPECT_EQ(dlg->endButton()->geometry(), layout::overview::end);
        EXPECT_EQ(dlg->themesButton()->geometry(), layout::overview::themes);
        EXPECT_EQ(dlg->compareButton()->geometry(), layout::overview::compare);
        EXPECT_EQ(dlg->resetButton()->geometry(), layout::overview::reset);
        EXPECT_EQ(dlg->resetButton()->accessibleName(), QStringLiteral("Statistikdaten löschen"));
        // Enter closes, as the end button does.
        QTest::keyClick(dlg, Qt::Key_Return);
    });
    ctx.helpTopic = core::topicKeyword(core::topic::kThemeSelection);
    stats::STATIST(ctx, nullptr, QStringLiteral("B / BE"));
    EXPECT_TRUE(seen);
    EXPECT_EQ(ctx.helpTopic, core::topicKeyword(core::topic::kThemeSelection));
    EXPECT_FALSE(exists("LOCAL.CDX"));
    EXPECT_EQ(ctx.scripted.messages->shown().at(0).text, QStringLiteral("Statistik-Daten ermitteln ..."));
}

TEST_F(StatistDialogs, ThemeStatisticHasItsCaptionAndOneButton) {
    bool seen = false;
    onNextDialog<stats::OverviewDialog>([&](stats::OverviewDialog* dlg) {
        seen = true;
        EXPECT_EQ(dlg->titleLabel()->text(), QStringLiteral("Klasse 'B / BE' - 'Vorfahrt, Vorrang'"));
        EXPECT_EQ(dlg->figure(0)->text(), QStringLiteral("1"));
        EXPECT_EQ(dlg->figure(3)->text(), QStringLiteral("1"));
        EXPECT_EQ(dlg->themesButton(), nullptr);
        EXPECT_EQ(dlg->endButton()->geometry(), layout::overview::themeEnd);
        EXPECT_EQ(dlg->titleLabel()->geometry(), layout::overview::themeTitle);
        uitest::alt(dlg, 'B');
    });
    stats::STATTHEMA(ctx, nullptr, QStringLiteral("B / BE"), 3, QStringLiteral("'Vorfahrt, Vorrang'"));
    EXPECT_TRUE(seen);
}

TEST_F(StatistDialogs, ResetAskedAndDeclinedKeepsTheOverviewThenDoneClosesIt) {
    ctx.scripted.messages->queueAnswers({false, true});
    bool seen = false;
    onNextDialog<stats::OverviewDialog>([&](stats::OverviewDialog* dlg) {
        seen = true;
        dlg->resetButton()->click();
        EXPECT_TRUE(dlg->isVisible());
        uitest::alt(dlg, 'Z');
        EXPECT_TRUE(uitest::waitFor([&] { return !dlg->isVisible(); }, 2000));
    });
    stats::STATIST(ctx, nullptr, QStringLiteral("B / BE"));
    ASSERT_TRUE(seen);
    const auto counters = statstest::counters(dir / "LOCAL1.DBF");
    EXPECT_EQ(counters[0], "0/0/0/[]");
    EXPECT_EQ(counters[3], "0/0/0/[]");
    EXPECT_EQ(counters[4], "3/3/0/[31]"); // class A only
}

TEST_F(StatistDialogs, ThemePagesFollowOneAnotherAndTheOverviewKeepsItsClass) {
    std::vector<int> pages;
    onNextDialog<stats::OverviewDialog>([&](stats::OverviewDialog* dlg) {
        onNextDialog<stats::ThemePage>([&](stats::ThemePage* page1) {
            pages.push_back(page1->page());
            ASSERT_EQ(page1->page(), 1);
            EXPECT_EQ(page1->bar(1)->text(), QStringLiteral(" 50%")); // theme 1: one of two right
            EXPECT_EQ(page1->bar(1)->barColor(), QColor(127, 0, 127));
            EXPECT_EQ(page1->bar(4)->text(), QStringLiteral("  0%")); // no question of B in theme 4
            EXPECT_EQ(page1->bar(4)->barColor(), QColor(255, 0, 0));
            EXPECT_EQ(page1->bar(8)->geometry(), layout::themePage1::bar(8));
            onNextDialog<stats::ThemePage>([&](stats::ThemePage* page2) {
                pages.push_back(page2->page());
                ASSERT_EQ(page2->page(), 2);
                EXPECT_EQ(page2->bar(1)->text(), QStringLiteral(" 50%"));      // answered of theme 1
                EXPECT_EQ(page2->lowerBar(1)->text(), QStringLiteral("100%")); // right of those answered
                EXPECT_EQ(page2->bar(9)->text(), QStringLiteral(" 75%"));
                EXPECT_EQ(page2->lowerBar(9)->text(), QStringLiteral(" 66%"));
                EXPECT_EQ(page2->lowerBar(9)->geometry(), layout::themePage2::totalLower);
                onNextDialog<stats::ThemePage>([&](stats::ThemePage* page3) {
                    pages.push_back(page3->page());
                    ASSERT_EQ(page3->page(), 3);
                    EXPECT_EQ(page3->nextButton(), nullptr);
                    EXPECT_EQ(page3->lowerBar(1)->text(), QStringLiteral(" 50%")); // right of all of theme 1
                    EXPECT_EQ(page3->lowerBar(9)->text(), QStringLiteral(" 50%"));
                    page3->endButton()->click();
                });
                page2->nextButton()->click();
            });
            QTest::keyClick(page1, Qt::Key_Return);
        });
        dlg->themesButton()->click();
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_FALSE(exists("LOCAL1.CDX"));
        // Back on the overview, the reset still means its own class.
        ctx.scripted.messages->queueAnswer(true);
        dlg->resetButton()->click();
    });
    stats::STATIST(ctx, nullptr, QStringLiteral("B / BE"));
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(statstest::counters(dir / "LOCAL1.DBF")[4], "3/3/0/[31]");
    EXPECT_EQ(statstest::counters(dir / "LOCAL1.DBF")[2], "0/0/0/[]");
}

TEST_F(StatistDialogs, ComparisonWithoutSecondLearnerIsANoticeAndItsKeyIsOff) {
    bool seen = false;
    onNextDialog<stats::OverviewDialog>([&](stats::OverviewDialog* dlg) {
        seen = true;
        EXPECT_EQ(dlg->compareButton()->bitmapName(), QStringLiteral("BK_BVER0"));
        EXPECT_FALSE(dlg->compareKeyEnabled());
        uitest::alt(dlg, 'V');
        EXPECT_TRUE(ctx.scripted.messages->shown().size() == 1u);
        // The button still answers, with the comparison's notice.
        dlg->compareButton()->click();
        EXPECT_TRUE(dlg->isVisible());
        dlg->closeButton()->click();
    });
    stats::STATIST(ctx, nullptr, QStringLiteral("B / BE"));
    ASSERT_TRUE(seen);
    const auto& shown = ctx.scripted.messages->shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, QStringLiteral("Der zweite Benutzer hat noch keine Fragen beantwortet !"));
    EXPECT_EQ(shown[1].title, QStringLiteral("Statistik"));
}

TEST_F(StatistDialogs, ComparisonShowsBothLearnersAndGivesTheOverviewItsTableBack) {
    statstest::writeLocal(dir.path(), "LOCAL2",
                          {answered("1.1.01-001", 1, {"KLASSE_B"}, 1, 0), answered("1.1.01-002", 1, {"KLASSE_B"}, 1, 0),
                           answered("1.2.01-001", 2, {"KLASSE_B"}, 0, 0)});
    platform::writeProfileString(ctx.path(QStringLiteral("TAVOLIN.INI")), QStringLiteral("User"),
                                 QStringLiteral("UserName2"), QStringLiteral("Ben Kurz"));
    bool seen = false;
    onNextDialog<stats::OverviewDialog>([&](stats::OverviewDialog* dlg) {
        EXPECT_EQ(dlg->compareButton()->bitmapName(), QStringLiteral("BK_BVER"));
        EXPECT_TRUE(dlg->compareKeyEnabled());
        onNextDialog<stats::CompareDialog>([&](stats::CompareDialog* cmp) {
            seen = true;
            EXPECT_EQ(cmp->bar(1, 1)->text(), QStringLiteral(" 50%"));
            EXPECT_EQ(cmp->bar(2, 1)->text(), QStringLiteral("100%"));
            EXPECT_EQ(cmp->bar(1, 9)->text(), QStringLiteral(" 50%"));
            EXPECT_EQ(cmp->bar(2, 9)->text(), QStringLiteral(" 66%"));
            EXPECT_EQ(cmp->bar(1, 1)->barColor(), QColor(255, 0, 255));
            EXPECT_EQ(cmp->bar(1, 8)->geometry(), layout::compare::learner1(8));
            EXPECT_EQ(cmp->bar(2, 8)->geometry(), ui::pxRect(368, 214, 312, 10));
            EXPECT_EQ(cmp->nameLabel(1)->text().trimmed(), QString());
            EXPECT_EQ(cmp->nameLabel(2)->text().trimmed(), QStringLiteral("Ben Kurz"));
            uitest::alt(cmp, 'B');
        });
        uitest::alt(dlg, 'V');
        // The overview works on its table again: its reset clears class B of the logged-in learner.
        ctx.scripted.messages->queueAnswer(true);
        dlg->resetButton()->click();
    });
    stats::STATIST(ctx, nullptr, QStringLiteral("B / BE"));
    EXPECT_TRUE(seen);
    EXPECT_EQ(statstest::counters(dir / "LOCAL1.DBF")[0], "0/0/0/[]");
    EXPECT_EQ(statstest::counters(dir / "LOCAL1.DBF")[4], "3/3/0/[31]");
    EXPECT_EQ(statstest::counters(dir / "LOCAL2.DBF")[0], "1/1/0/[17]");
}

} // namespace

namespace {

TEST_F(StatistDialogs, TheKeyboardAloneWalksTheOverviewAndTheThemePages) {
    std::vector<int> pages;
    onNextDialog<stats::OverviewDialog>([&](stats::OverviewDialog* dlg) {
        onNextDialog<stats::ThemePage>([&](stats::ThemePage* page1) {
            pages.push_back(page1->page());
            onNextDialog<stats::ThemePage>([&](stats::ThemePage* page2) {
                pages.push_back(page2->page());
                onNextDialog<stats::ThemePage>([&](stats::ThemePage* page3) {
                    pages.push_back(page3->page());
                    uitest::press(Qt::Key_Escape);
                });
                uitest::alt(page2, 'W');
            });
            uitest::press(Qt::Key_Return);
        });
        // Tab reaches the theme button, Space presses it.
        ASSERT_TRUE(uitest::tabTo(dlg->themesButton()));
        uitest::press(Qt::Key_Space);
        EXPECT_TRUE(dlg->isVisible());
        uitest::press(Qt::Key_Escape);
    });
    stats::STATIST(ctx, nullptr, QStringLiteral("B / BE"));
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
