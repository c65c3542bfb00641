// Each calculator's control rectangles are written once: the dialog places its controls there, its background
// bears its panels under them, and everything lies inside the dialog.
#include <QComboBox>
#include <QImage>
#include <QRadioButton>

#include "calc/anhawegdialog.h"
#include "calc/bussrechdialog.h"
#include "calc/kfzsteudialog.h"
#include "calc/layouts.h"
#include "calcuitest.h"
#include "ui/artwork.h"
#include "ui/bitmaps.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/maskededit.h"

namespace {

using calcui::CalcTest;
namespace layout = calc::layout;
namespace fs = std::filesystem;

// Every child widget lies inside its parent, none overlaps a sibling.
void expectTidy(QWidget* parent, const char* what) {
    std::vector<QWidget*> children;
    for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isWindow() && !w->isHidden()) children.push_back(w);
    for (size_t i = 0; i < children.size(); ++i) {
        EXPECT_TRUE(parent->rect().contains(children[i]->geometry()))
            << what << ": " << children[i]->metaObject()->className() << " leaves its parent";
        for (size_t j = i + 1; j < children.size(); ++j)
            EXPECT_FALSE(children[i]->geometry().intersects(children[j]->geometry()))
                << what << ": " << children[i]->metaObject()->className() << " " << children[i]->geometry().x() << ","
                << children[i]->geometry().y() << " overlaps " << children[j]->metaObject()->className() << " "
                << children[j]->geometry().x() << "," << children[j]->geometry().y();
    }
}

class Layouts : public CalcTest {};

TEST_F(Layouts, TheTaxCalculatorStandsWhereItsLayoutSays) {
    calc::kfzsteu::SteuerTable table(ctx.dir());
    calc::kfzsteu::Input input;
    calc::kfzsteu::EuroNorm norm;
    calc::TaxDialog dlg(ctx, table, input, norm);
    namespace at = layout::tax;
    EXPECT_EQ(dlg.size(), QSize(575, 427));
    EXPECT_EQ(dlg.hubraumField()->geometry(), at::hubraum);
    EXPECT_EQ(dlg.keyField()->geometry(), at::keyNr);
    EXPECT_EQ(dlg.dateField()->geometry(), at::date);
    EXPECT_EQ(dlg.consumptionChoice()->button(1)->geometry(), at::consumption);
    EXPECT_EQ(dlg.consumptionChoice()->button(3)->geometry(), at::consumption.translated(0, 2 * at::choiceStep));
    EXPECT_EQ(dlg.fuelChoice()->button(2)->geometry(), at::fuel.translated(0, at::choiceStep));
    EXPECT_EQ(dlg.catalystBox()->geometry(), at::catalyst);
    EXPECT_EQ(dlg.euroLine()->geometry(), at::euroLine);
    EXPECT_EQ(dlg.ozoneLine()->geometry(), at::ozoneLine);
    EXPECT_EQ(dlg.grid()->geometry(), at::grid);
    EXPECT_EQ(dlg.calculateButton()->geometry(), at::calculate);
    EXPECT_EQ(dlg.taxTableButton()->geometry(), at::taxTable);
    EXPECT_EQ(dlg.helpButton()->geometry(), at::help);
    EXPECT_EQ(dlg.endButton()->geometry(), at::end);
    EXPECT_EQ(dlg.closeButton()->geometry(), at::close);
    expectTidy(&dlg, "Kfz_Steu");
    // The amber surface lies under the fields' captions, not under the grid.
    const QImage skin = ui::Bitmaps::builtIn(QStringLiteral("Kfz_Steu"), 1.0).toImage();
    EXPECT_EQ(skin.pixelColor(at::hubraum.left() - 4, at::hubraumLabel.center().y()), ui::art::palette::amber);
    EXPECT_EQ(skin.pixelColor(at::euroLine.left() - 4, at::ozoneLabel.center().y()), ui::art::palette::amber);
    EXPECT_NE(skin.pixelColor(at::grid.left() - 4, at::grid.center().y()), ui::art::palette::amber);
}

TEST_F(Layouts, TheFineCalculatorStandsWhereItsLayoutSays) {
    fs::copy_file(fs::path(LW_DIST_DIR) / "BUSSRECH.DBF", dir / "BUSSRECH.DBF");
    QString error;
    auto table = calc::bussrech::FineTable::open(ctx.dir(), &error);
    ASSERT_TRUE(table) << error.toStdString();
    calc::FineDialog dlg(ctx, *table);
    namespace at = layout::fine;
    EXPECT_EQ(dlg.size(), QSize(525, 439));
    EXPECT_EQ(dlg.tabs()->geometry(), at::tabs);
    EXPECT_EQ(dlg.calculateButton()->geometry(), at::calculate);
    EXPECT_EQ(dlg.catalogueButton()->geometry(), at::catalogue);
    EXPECT_EQ(dlg.helpButton()->geometry(), at::help);
    EXPECT_EQ(dlg.endButton()->geometry(), at::end);
    EXPECT_EQ(dlg.closeButton()->geometry(), at::close);
    EXPECT_EQ(dlg.vehicleList()->geometry(), at::list);
    EXPECT_EQ(dlg.excessField()->geometry(), at::value);
    EXPECT_EQ(dlg.placeChoice()->button(2)->geometry(), at::place.translated(0, at::placeStep));
    EXPECT_EQ(dlg.speedField()->geometry(), at::distanceValue);
    EXPECT_EQ(dlg.promilleField()->geometry(), at::value);
    EXPECT_EQ(dlg.miscList()->geometry(), at::list);
    EXPECT_EQ(dlg.result(calc::FineDialog::Speeding).fine->geometry(), at::resultLine(at::resultRowHigh).fine);
    EXPECT_EQ(dlg.result(calc::FineDialog::Distance).ban->geometry(), at::resultLine(at::resultRowLow).ban);
    EXPECT_EQ(dlg.result(calc::FineDialog::Miscellaneous).text->geometry(), at::miscInfo);
    expectTidy(&dlg, "BussGeld");
    dlg.show();
    for (int tab = 0; tab < dlg.tabs()->count(); ++tab) {
        dlg.tabs()->setCurrentIndex(tab);
        QApplication::processEvents();
        expectTidy(dlg.tabs()->widget(tab), "Bussgel2");
    }
}

TEST_F(Layouts, TheStoppingCalculatorStandsWhereItsLayoutSays) {
    calc::StoppingDialog dlg(ctx);
    namespace at = layout::stopping;
    EXPECT_EQ(dlg.size(), QSize(499, 353));
    EXPECT_EQ(dlg.speedField()->geometry(), at::field(0));
    EXPECT_EQ(dlg.reactionField()->geometry(), at::field(1));
    EXPECT_EQ(dlg.decelerationField()->geometry(), at::field(2));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(dlg.resultField(i)->geometry(), at::field(3 + i));
    EXPECT_EQ(dlg.roadList()->geometry(), at::road);
    EXPECT_EQ(dlg.calculateButton()->geometry(), at::calculate);
    EXPECT_EQ(dlg.helpButton()->geometry(), at::help);
    EXPECT_EQ(dlg.endButton()->geometry(), at::end);
    EXPECT_EQ(dlg.closeButton()->geometry(), at::close);
    expectTidy(&dlg, "AnhaWeg");
    // The inputs and the results each stand on a surface; between them is the body.
    const QImage skin = ui::Bitmaps::builtIn(QStringLiteral("AnhaWeg"), 1.0).toImage();
    EXPECT_EQ(skin.pixelColor(at::label(0).left() - 4, at::field(0).center().y()), ui::art::palette::stopAmber);
    EXPECT_EQ(skin.pixelColor(at::label(6).left() - 4, at::field(6).center().y()), ui::art::palette::stopAmber);
    EXPECT_NE(skin.pixelColor(at::label(0).left() - 4, (at::field(2).bottom() + at::field(3).top()) / 2),
              ui::art::palette::stopAmber);
}

} // namespace
