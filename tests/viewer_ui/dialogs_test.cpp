// The catalog viewer's dialogs opened through their entries and driven by their real buttons and keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QRadioButton>
#include <QShortcut>
#include <QTest>

#include "../viewer/viewer_support.h"
#include "core/helptopics.h"
#include "platform/inifile.h"
#include "support/accessibility.h"
#include "support/scripted.h"
#include "support/testdir.h"
#include "ui/artwork.h"
#include "ui/bitmaps.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/maskededit.h"
#include "uitest.h"
#include "viewer/artwork.h"
#include "viewer/dialogs.h"
#include "viewer/layouts.h"

namespace {

namespace fs = std::filesystem;
namespace layout = viewer::layout;
using uitest::onNextDialog;

class ViewerDialogs : public ::testing::Test {
protected:
    ViewerDialogs() : ctx(QString::fromStdString(dir.path().string())) {
        viewer::registerArtwork();
        viewertest::writeSample(dir.path());
        core::LoginState login;
        login.NS_USER = 1;
        ctx.setLogin(login);
    }

    QString cell(ui::Grid* grid, int row, int column) const {
        return grid->model()->index(row, column).data().toString();
    }

    lwtest::TempDir dir;
    lwtest::ScriptedContext ctx;
};

TEST_F(ViewerDialogs, AreaChoiceRemembersTheAreaAndCleansUpWhenClosed) {
    platform::writeProfileString(ctx.path(ctx.settings.CINIFILE), QStringLiteral("Setup"), QStringLiteral("Katalog"),
                                 QStringLiteral("4"));
    bool tableSeen = false;
    onNextDialog<viewer::ChoiceDialog>([&](viewer::ChoiceDialog* dlg) {
        EXPECT_EQ(dlg->areas()->value(), 4);
        EXPECT_EQ(dlg->size(), QSize(369, 303));
        EXPECT_EQ(dlg->text()->geometry(), layout::choice::text);
        EXPECT_EQ(dlg->areas()->button(10)->geometry(), layout::choice::radio(10));
        EXPECT_EQ(dlg->areas()->button(10)->geometry().top(), dlg->areas()->button(5)->geometry().top());
        EXPECT_EQ(dlg->showButton()->geometry(), layout::choice::show);
        EXPECT_EQ(ctx.helpTopic, core::topicKeyword(core::topic::kCatalog));
        dlg->areas()->button(7)->click();
        // Area 7 has no question: the table is empty, and asking for a question there opens nothing.
        onNextDialog<viewer::TableDialog>([&](viewer::TableDialog* table) {
            tableSeen = true;
            EXPECT_EQ(table->title()->text(), QStringLiteral("Fragenkatalog - Klasse L"));
            EXPECT_EQ(table->grid()->model()->rowCount(), 0);
            table->showButton()->click();
            EXPECT_EQ(QApplication::activeModalWidget(), table);
            EXPECT_TRUE(fs::exists(dir.path() / "KATALOG.DBF"));
            uitest::alt(table, 'B');
        });
        // Enter opens the table, as the default button does.
        QTest::keyClick(dlg, Qt::Key_Return);
        EXPECT_TRUE(tableSeen);
        dlg->helpButton()->click();
        dlg->endButton()->click();
    });
    viewer::KATALOG(ctx, nullptr);
    EXPECT_TRUE(tableSeen);
    ASSERT_EQ(ctx.scripted.help->calls().size(), 1u);
    EXPECT_EQ(ctx.scripted.help->calls()[0].argument, core::topicKeyword(core::topic::kCatalog));
    EXPECT_EQ(platform::readProfileString(ctx.path(ctx.settings.CINIFILE), QStringLiteral("Setup"),
                                          QStringLiteral("Katalog"), {}),
              QStringLiteral("7"));
    for (const char* file : {"KATALOG.DBF", "LOCAL.CDX", "BILD.BMP"})
        EXPECT_FALSE(fs::exists(dir.path() / file)) << file;
}

TEST_F(ViewerDialogs, SearchNarrowsTheTableAndShowAllWidensItAgain) {
    bool seen = false;
    onNextDialog<viewer::TableDialog>([&](viewer::TableDialog* dlg) {
        seen = true;
        ui::Grid* grid = dlg->grid();
        EXPECT_EQ(grid->geometry(), layout::table::grid);
        EXPECT_EQ(dlg->allButton()->geometry(), layout::table::all);
        ASSERT_EQ(grid->model()->rowCount(), 6);
        EXPECT_EQ(cell(grid, 0, 0), QStringLiteral(" 1.1.01-001"));
        EXPECT_EQ(cell(grid, 0, 1), QStringLiteral("   1"));
        EXPECT_EQ(cell(grid, 0, 3), QStringLiteral("   4 "));
        EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Text "));
        EXPECT_EQ(grid->model()->index(1, 2).data(Qt::BackgroundRole).value<QColor>(), QColor(243, 212, 65));

        onNextDialog<viewer::SearchDialog>([&](viewer::SearchDialog* search) {
            EXPECT_EQ(search->edit()->geometry(), layout::search::edit);
            QTest::keyClicks(search->edit(), QStringLiteral("vorfahrt"));
            EXPECT_EQ(search->edit()->text(), QStringLiteral("VORFAHRT"));
            search->startButton()->click();
        });
        dlg->searchButton()->click();
        EXPECT_EQ(grid->model()->rowCount(), 1);
        EXPECT_EQ(dlg->allButton()->bitmapName(), QStringLiteral("BZ_Alle"));

        // A search without a hit says so, stays open, and when left the filter is gone but the button as it was.
        onNextDialog<viewer::SearchDialog>([&](viewer::SearchDialog* search) {
            QTest::keyClicks(search->edit(), QStringLiteral("zebrastreifen"));
            QTest::keyClick(search, Qt::Key_Return);
            EXPECT_TRUE(search->isVisible());
            search->endButton()->click();
            EXPECT_TRUE(search->text().isEmpty());
        });
        dlg->searchButton()->click();
        EXPECT_EQ(ctx.scripted.messages->shown().back().text,
                  QStringLiteral("\rDie Suche nach 'ZEBRASTREIFEN' war erfolglos !"));
        EXPECT_EQ(grid->model()->rowCount(), 6);
        EXPECT_EQ(dlg->allButton()->bitmapName(), QStringLiteral("BZ_Alle"));

        onNextDialog<viewer::SearchDialog>([&](viewer::SearchDialog* search) {
            QTest::keyClicks(search->edit(), QStringLiteral("bedeutung"));
            uitest::alt(search, 'W');
        });
        // Back from the search, the table is the active window again before its keys reach it.
        dlg->activateWindow();
        ASSERT_TRUE(uitest::waitFor([dlg] { return QApplication::activeWindow() == dlg; }));
        uitest::alt(dlg, 'S');
        EXPECT_EQ(grid->model()->rowCount(), 1);
        EXPECT_EQ(cell(grid, 0, 0), QStringLiteral(" 2.6.01-006"));
        dlg->activateWindow();
        ASSERT_TRUE(uitest::waitFor([dlg] { return QApplication::activeWindow() == dlg; }));
        uitest::alt(dlg, 'A');
        EXPECT_EQ(grid->model()->rowCount(), 6);
        EXPECT_EQ(dlg->allButton()->bitmapName(), QStringLiteral("BZ_Alle0"));
        dlg->endButton()->click();
    });
    EXPECT_TRUE(viewer::SHOWKATA(ctx, nullptr, 10));
    EXPECT_TRUE(seen);
}

TEST_F(ViewerDialogs, ResetInTheViewShowsInTheTableButLeavesTheLearnersTable) {
    bool viewSeen = false;
    onNextDialog<viewer::TableDialog>([&](viewer::TableDialog* dlg) {
        onNextDialog<viewer::QuestionView>([&](viewer::QuestionView* view) {
            viewSeen = true;
            EXPECT_EQ(view->skinName(), QStringLiteral("Katalog1"));
            EXPECT_EQ(view->question()->text(), QStringLiteral("Wer hat an dieser Kreuzung Vorfahrt?"));
            EXPECT_EQ(view->question()->geometry(), layout::view::question);
            EXPECT_EQ(view->answer(2)->geometry(), layout::view::answer(2));
            EXPECT_FALSE(view->picture()->pixmap().isNull());
            EXPECT_EQ(view->answersLabel()->text(), QStringLiteral("4"));
            EXPECT_EQ(view->rightLabel()->text(), QStringLiteral("3"));
            EXPECT_EQ(view->pointsLabel()->text(), QStringLiteral("3"));
            EXPECT_EQ(view->answersLabel()->geometry(), layout::view::answers(0));
            // The boxes show the solution, and a click does not change it.
            EXPECT_FALSE(view->box(1)->isChecked());
            EXPECT_TRUE(view->box(2)->isChecked());
            view->box(1)->click();
            EXPECT_FALSE(view->box(1)->isChecked());
            EXPECT_EQ(view->resetButton()->bitmapName(), QStringLiteral("BZ_ZURUK"));
            ctx.scripted.messages->queueAnswer(true);
            view->resetButton()->click();
            EXPECT_EQ(view->answersLabel()->text(), QStringLiteral("0"));
            EXPECT_EQ(view->rightLabel()->text(), QStringLiteral("0"));
            EXPECT_FALSE(view->resetKey()->isEnabled());
            view->endButton()->click();
        });
        dlg->grid()->setCurrentRow(0);
        // A double-click on a row opens its question.
        emit dlg->grid()->rowActivated(0);
        EXPECT_EQ(cell(dlg->grid(), 0, 3), QStringLiteral("   0 "));
        EXPECT_EQ(cell(dlg->grid(), 0, 4), QStringLiteral("   0 "));
        dlg->endButton()->click();
    });
    viewer::SHOWKATA(ctx, nullptr, 2);
    EXPECT_TRUE(viewSeen);
    EXPECT_EQ(trainingfixture::readCounts(dir.path() / "LOCAL1.DBF").at("1.1.01-001").antworten, 4);
}

TEST_F(ViewerDialogs, TwoValuesStandOnOneLineAndTheMaintainerExportsWithTheButton) {
    ctx.settings.maintainerMode = true;
    bool viewSeen = false;
    onNextDialog<viewer::TableDialog>([&](viewer::TableDialog* dlg) {
        onNextDialog<viewer::QuestionView>([&](viewer::QuestionView* view) {
            viewSeen = true;
            EXPECT_EQ(view->skinName(), QStringLiteral("Katalog2"));
            QStringList line;
            int lastRight = 0;
            for (int i = 0; i < 5; ++i) {
                line << view->valuePart(i)->text().trimmed();
                EXPECT_EQ(view->valuePart(i)->geometry().top(), 344);
                EXPECT_GE(view->valuePart(i)->geometry().left(), lastRight) << i;
                lastRight = view->valuePart(i)->geometry().right();
            }
            EXPECT_EQ(line, (QStringList{"Zwischen", "50", "und", "70", "Metern"}));
            EXPECT_EQ(view->valuePart(3)->geometry(), layout::view::two::value2);
            EXPECT_EQ(view->answersLabel()->geometry(), layout::view::answers(2));
            // The button exports; the key still resets.
            view->resetButton()->click();
            EXPECT_EQ(view->answersLabel()->text(), QStringLiteral("2"));
            ctx.scripted.messages->queueAnswer(true);
            uitest::alt(view, 'Z');
            EXPECT_EQ(view->answersLabel()->text(), QStringLiteral("0"));
            uitest::alt(view, 'B');
        });
        dlg->grid()->setCurrentRow(2);
        dlg->showButton()->click();
        dlg->endButton()->click();
    });
    viewer::SHOWKATA(ctx, nullptr, 2);
    EXPECT_TRUE(viewSeen);
    store::Session s;
    store::WorkArea* up = s.use(dir.path() / "FRUPDATE.DBF", "DFUP");
    ASSERT_TRUE(up);
    ASSERT_EQ(up->recCount(), 1u);
    up->goTop();
    EXPECT_EQ(up->text("FRAGENR"), "1.4.01-004");
}

TEST_F(ViewerDialogs, CatalogStatisticsLeaveZeroCellsEmpty) {
    bool seen = false;
    onNextDialog<viewer::StatDialog>([&](viewer::StatDialog* dlg) {
        seen = true;
        ui::Grid* grid = dlg->grid();
        EXPECT_EQ(grid->geometry(), layout::stat::grid);
        EXPECT_EQ(dlg->size(), QSize(519, 368));
        ASSERT_EQ(grid->model()->rowCount(), 15);
        EXPECT_EQ(cell(grid, 1, 0), QStringLiteral("A"));
        EXPECT_EQ(cell(grid, 1, 2), QStringLiteral("    1 "));
        EXPECT_EQ(cell(grid, 1, 3), QStringLiteral("    4 "));
        EXPECT_EQ(cell(grid, 1, 4), QString()); // no picture
        EXPECT_EQ(cell(grid, 1, 5), QString()); // no value question
        EXPECT_EQ(cell(grid, 2, 1), QStringLiteral("PKW bis 3,5 t"));
        EXPECT_EQ(cell(grid, 14, 1), QStringLiteral(" --> Anzahl Fragen"));
        EXPECT_EQ(cell(grid, 14, 2), QStringLiteral("    6 "));
        EXPECT_EQ(cell(grid, 14, 3), QString());
        // A class without questions still shows its count of 0.
        EXPECT_EQ(cell(grid, 11, 2), QStringLiteral("    0 "));
        EXPECT_EQ(ctx.helpTopic, core::topicKeyword(core::topic::kOverview));
        dlg->helpButton()->click();
        uitest::alt(dlg, 'B');
    });
    viewer::KATASTAT(ctx, nullptr);
    EXPECT_TRUE(seen);
    ASSERT_EQ(ctx.scripted.help->calls().size(), 1u);
    EXPECT_EQ(ctx.scripted.help->calls()[0].argument, core::topicKeyword(core::topic::kOverview));
    EXPECT_FALSE(fs::exists(dir.path() / "T_STAT.DBF"));
}

TEST_F(ViewerDialogs, BackgroundsFollowTheLayoutOfTheirControls) {
    namespace pal = ui::art::palette;
    auto skin = [](const char* name) { return ui::Bitmaps::builtIn(QString::fromLatin1(name), 1.0).toImage(); };
    // The amber panel reaches the right column of radio buttons and ends above the buttons.
    const QImage choice = skin("KataAusw");
    const QRect last = layout::choice::radio(11);
    EXPECT_EQ(choice.pixelColor(last.right(), last.center().y()), pal::amber);
    EXPECT_NE(choice.pixelColor(layout::choice::show.center()), pal::amber);
    // Each solution box stands on its answer's colour.
    const QImage view1 = skin("Katalog1");
    const QColor colours[3] = {pal::viewAnswer1, pal::viewAnswer2, pal::viewAnswer3};
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(view1.pixelColor(layout::view::box(n).left() - 2, layout::view::box(n).center().y()), colours[n - 1])
            << n;
    // The value layouts have the slots of the counts two pixels further left: the same slot, moved.
    const QImage view2 = skin("Katalog2");
    EXPECT_EQ(view2.copy(layout::view::answers(2)), view1.copy(layout::view::answers(0)));
    EXPECT_NE(view2.copy(layout::view::answers(0)), view1.copy(layout::view::answers(0)));
}

} // namespace

// The whole browser without a mouse: each dialog is reached and left through keys typed where the focus is.
TEST_F(ViewerDialogs, TheBrowserIsUsableFromTheKeyboardAlone) {
    // Keys reach a dialog only once it is the active window again after the dialog over it closed.
    const auto backTo = [](QWidget* dlg) {
        dlg->activateWindow();
        return uitest::waitFor([dlg] { return QApplication::activeWindow() == dlg; });
    };
    QStringList viewed;
    const auto viewAndLeave = [&viewed] {
        onNextDialog<viewer::QuestionView>([&viewed](viewer::QuestionView* view) {
            viewed << view->numberLabel()->text();
            EXPECT_EQ(lwtest::accessibilityProblems(view), QStringList());
            uitest::alt(view, 'B');
        });
    };
    int tableRows = -1;
    onNextDialog<viewer::ChoiceDialog>([&](viewer::ChoiceDialog* choice) {
        // The radio button's own mnemonic picks "alle Fragen"; Enter opens its table.
        EXPECT_EQ(lwtest::accessibilityProblems(choice), QStringList());
        uitest::press(Qt::Key_F, Qt::AltModifier);
        // A mnemonic presses its button the way a click looks: a moment later.
        EXPECT_TRUE(uitest::waitFor([choice] { return choice->areas()->value() == 10; }));
        onNextDialog<viewer::TableDialog>([&](viewer::TableDialog* table) {
            tableRows = table->grid()->model()->rowCount();
            EXPECT_EQ(lwtest::accessibilityProblems(table), QStringList());
            EXPECT_EQ(QApplication::focusWidget(), table->grid());
            // Down to the second row, Enter shows its question.
            uitest::press(Qt::Key_Down);
            viewAndLeave();
            uitest::press(Qt::Key_Return);
            ASSERT_TRUE(backTo(table));
            EXPECT_EQ(QApplication::focusWidget(), table->grid());

            onNextDialog<viewer::SearchDialog>([](viewer::SearchDialog* search) {
                EXPECT_EQ(QApplication::focusWidget(), search->edit());
                EXPECT_EQ(lwtest::accessibilityProblems(search), QStringList());
                uitest::typeKeys(QStringLiteral("vorfahrt"));
                uitest::press(Qt::Key_Return);
            });
            uitest::alt(table, 'S');
            ASSERT_TRUE(backTo(table));
            EXPECT_EQ(table->grid()->model()->rowCount(), 1);
            viewAndLeave();
            uitest::alt(table, 'Z');
            ASSERT_TRUE(backTo(table));

            uitest::alt(table, 'A');
            EXPECT_EQ(table->grid()->model()->rowCount(), tableRows);
            uitest::alt(table, 'B');
        });
        uitest::press(Qt::Key_Return);
        ASSERT_TRUE(backTo(choice));
        uitest::alt(choice, 'B');
    });
    viewer::KATALOG(ctx, nullptr);
    EXPECT_EQ(tableRows, 6);
    EXPECT_EQ(viewed, QStringList({QStringLiteral("1.2.01-002"), QStringLiteral("1.1.01-001")}));
    EXPECT_EQ(viewer::readArea(ctx), 10);
    EXPECT_FALSE(fs::exists(dir.path() / "KATALOG.DBF"));
}
