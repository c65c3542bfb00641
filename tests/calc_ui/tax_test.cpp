// The vehicle-tax calculator as the user meets it: typed entries, the calculate button, the grid over STEUER.DBF,
// the entries kept in [Steuern].
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>

#include "calc/kfzsteudialog.h"
#include "calcuitest.h"
#include "platform/inifile.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/maskededit.h"

namespace {

using calc::TaxDialog;
using calcui::CalcTest;
using calcui::typeInto;
namespace kfz = calc::kfzsteu;

QString str(const char* s) {
    return QString::fromUtf8(s);
}

QString cell(const ui::Grid* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString();
}

// A dialog over its own scratch table, as KFZ_STEUER builds it.
class TaxCalc : public CalcTest {
protected:
    TaxCalc() : table(ctx.dir()) {}
    std::unique_ptr<TaxDialog> open() {
        auto dlg = std::make_unique<TaxDialog>(ctx, table, input, norm);
        EXPECT_TRUE(calcui::showActive(dlg.get()));
        return dlg;
    }
    // The example car of the tax office's leaflet: 1598 ccm, key 40, first registered 01.03.2003, diesel.
    void enterExampleCar(TaxDialog& dlg) {
        typeInto(dlg.hubraumField(), QStringLiteral("1598"));
        typeInto(dlg.keyField(), QStringLiteral("40"));
        typeInto(dlg.dateField(), QStringLiteral("01032003"));
        QTest::mouseClick(dlg.fuelChoice()->button(2), Qt::LeftButton);
    }
    kfz::SteuerTable table;
    kfz::Input input;
    kfz::EuroNorm norm;
};

TEST_F(TaxCalc, TheExampleCarShowsItsNormAndThreeYearlyAmounts) {
    auto dlg = open();
    enterExampleCar(*dlg);
    EXPECT_EQ(dlg->calculateButton()->bitmapName(), QStringLiteral("BZ_Berec"));
    QTest::mouseClick(dlg->calculateButton(), Qt::LeftButton);

    EXPECT_EQ(dlg->euroLine()->text(), str("Es wird die Euronorm 3 erfüllt."));
    EXPECT_EQ(dlg->ozoneLine()->text(), str("Sie dürfen bei Ozonalarm fahren."));
    const ui::Grid* grid = dlg->grid();
    ASSERT_EQ(grid->model()->rowCount(), 3);
    const char* dates[3] = {" 01.01.2001", " 01.01.2004", " 01.01.2005"};
    const char* rates[3] = {"13,81", "15,44", "15,44"};
    const char* yearly[3] = {"219,58", "245,50", "245,50"};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(cell(grid, row, 0), QStringLiteral(" ab"));
        EXPECT_EQ(cell(grid, row, 1), str(dates[row]));
        EXPECT_EQ(cell(grid, row, 2).simplified(), QStringLiteral("EUR ") + str(rates[row]));
        EXPECT_EQ(cell(grid, row, 3).simplified(), QStringLiteral("EUR ") + str(yearly[row]));
        EXPECT_EQ(cell(grid, row, 4), QString()) << "no allowance";
    }
    // What the grid shows is what STEUER.DBF holds.
    ASSERT_EQ(table.rows().size(), 3u);
    EXPECT_DOUBLE_EQ(table.rows()[0].STEUDM, 219.58);
}

TEST_F(TaxCalc, EnterAndAltRCalculateOnlyWhenTheEntriesAreComplete) {
    auto dlg = open();
    enterExampleCar(*dlg);
    // The allowance of a three-litre car, on the 2004 row only.
    QTest::mouseClick(dlg->consumptionChoice()->button(3), Qt::LeftButton);
    QTest::keyClick(dlg->keyField(), Qt::Key_Return);
    EXPECT_EQ(dlg->euroLine()->text(), str("Es wird die Euronorm 4 erfüllt."));
    ASSERT_EQ(dlg->grid()->model()->rowCount(), 3);
    EXPECT_EQ(cell(dlg->grid(), 1, 4).simplified(), QStringLiteral("EUR 500,00"));
    EXPECT_EQ(cell(dlg->grid(), 0, 4), QString());
    EXPECT_EQ(cell(dlg->grid(), 2, 4), QString());

    // Typing empties the grid and the table at once; the two lines stay until the next calculation.
    dlg->hubraumField()->selectAll();
    QTest::keyClick(dlg->hubraumField(), Qt::Key_Delete);
    EXPECT_EQ(dlg->grid()->model()->rowCount(), 0);
    EXPECT_TRUE(table.rows().empty());
    EXPECT_EQ(dlg->euroLine()->text(), str("Es wird die Euronorm 4 erfüllt."));
    EXPECT_EQ(dlg->calculateButton()->bitmapName(), QStringLiteral("BZ_Bere0"));
    calcui::alt(dlg.get(), 'r');
    QTest::keyClick(dlg->keyField(), Qt::Key_Return);
    QTest::mouseClick(dlg->calculateButton(), Qt::LeftButton);
    EXPECT_EQ(dlg->grid()->model()->rowCount(), 0);

    typeInto(dlg->hubraumField(), QStringLiteral("2000"));
    calcui::alt(dlg.get(), 'r');
    ASSERT_EQ(dlg->grid()->model()->rowCount(), 3);
    EXPECT_EQ(cell(dlg->grid(), 0, 3).simplified(), QStringLiteral("EUR 276,20")); // 20 units at 13,81
}

TEST_F(TaxCalc, TheCatalystBoxFollowsAgeKeyAndDisplacementButKeepsItsTick) {
    auto dlg = open();
    typeInto(dlg->hubraumField(), QStringLiteral("1800"));
    typeInto(dlg->keyField(), QStringLiteral("4"));
    typeInto(dlg->dateField(), QStringLiteral("01031994"));
    ASSERT_TRUE(dlg->catalystBox()->isEnabled());
    QTest::mouseClick(dlg->catalystBox(), Qt::LeftButton);
    ASSERT_TRUE(dlg->catalystBox()->isChecked());
    dlg->dateField()->selectAll();
    typeInto(dlg->dateField(), QStringLiteral("01031996"));
    EXPECT_FALSE(dlg->catalystBox()->isEnabled());
    EXPECT_TRUE(dlg->catalystBox()->isChecked());
    calcui::alt(dlg.get(), 'r');
    EXPECT_EQ(dlg->euroLine()->text(), str("Es wird nur die Euronorm 1 erfüllt."));
    EXPECT_EQ(dlg->ozoneLine()->text(), str("Sie dürfen bei Ozonalarm NICHT fahren!"));
}

TEST_F(TaxCalc, TheGridShowsEveryColumnWhole) {
    auto dlg = open();
    enterExampleCar(*dlg);
    typeInto(dlg->hubraumField(), QStringLiteral("99990"));
    QTest::mouseClick(dlg->consumptionChoice()->button(3), Qt::LeftButton);
    calcui::alt(dlg.get(), 'r');
    ui::Grid* grid = dlg->grid();
    ASSERT_EQ(grid->model()->rowCount(), 3);
    QApplication::processEvents();
    EXPECT_FALSE(grid->verticalScrollBar()->isVisible());
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    int total = 0;
    for (int c = 0; c < 5; ++c)
        total += grid->columnWidth(c);
    EXPECT_LE(total, grid->viewport()->width());
    // All rows lie inside the grid.
    EXPECT_LE(grid->rowViewportPosition(2) + grid->rowHeight(2), grid->viewport()->height());
    // The widest texts fit their columns: headings and the largest amount the fields can produce.
    const QFontMetrics fm(grid->font());
    const QFontMetrics head(grid->horizontalHeader()->font());
    for (int c = 2; c < 5; ++c) {
        const QString heading = grid->model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_LE(head.horizontalAdvance(heading) + 6, grid->columnWidth(c)) << heading.toStdString();
        for (int row = 0; row < 3; ++row)
            EXPECT_LE(fm.horizontalAdvance(cell(grid, row, c)) + 6, grid->columnWidth(c)) << row << "," << c;
    }
}

TEST_F(TaxCalc, TheButtonsOpenTheTaxTableAndTheHelpAndEscAndXClose) {
    auto dlg = open();
    EXPECT_EQ(ctx.helpTopic, QStringLiteral("Kfz-Steuern"));
    calcui::alt(dlg.get(), 's');
    QTest::mouseClick(dlg->helpButton(), Qt::LeftButton);
    const auto& calls = ctx.scripted.help->calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].what, QStringLiteral("contents"));
    EXPECT_EQ(calls[0].helpFile, QStringLiteral(".\\TEXTE\\KFZSTEUR.HLP"));
    EXPECT_EQ(calls[1].what, QStringLiteral("topic"));
    EXPECT_EQ(calls[1].argument, QStringLiteral("Kfz-Steuern"));

    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(ctx.helpTopic, QStringLiteral("Lenkwerk"));
    ASSERT_TRUE(calcui::showActive(dlg.get()));
    QTest::mouseClick(dlg->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
}

// The whole calculator as the menu starts it: the table is created and deleted, the entries kept.
TEST_F(CalcTest, OpeningTheTaxCalculatorAndClosingKeepsTheEntriesAndRemovesTheScratchTable) {
    const std::string ini = (dir / "TAVOLIN.INI").string();
    lwtest::writeFile(dir / "TAVOLIN.INI", "[Steuern]\r\nHubraum=1598\r\nKeyNr=40\r\nErstZul=01.03.2003\r\n"
                                           "Verbrauch=1\r\nAntrieb=2\r\n");
    bool sawTable = false;
    calcui::onNextDialog<TaxDialog>([&](TaxDialog* dlg) {
        sawTable = exists("STEUER.DBF");
        EXPECT_EQ(dlg->hubraumField()->text(), QStringLiteral("1598"));
        EXPECT_EQ(dlg->dateField()->text(), QStringLiteral("01.03.2003"));
        EXPECT_TRUE(dlg->fuelChoice()->button(2)->isChecked());
        EXPECT_FALSE(dlg->catalystBox()->isChecked());
        EXPECT_TRUE(dlg->hubraumField()->hasFocus());
        calcui::alt(dlg, 'r');
        EXPECT_EQ(dlg->grid()->model()->rowCount(), 3);
        typeInto(dlg->keyField(), QStringLiteral("31"));
        calcui::alt(dlg, 'b');
    });
    calc::KFZ_STEUER(ctx, nullptr);
    EXPECT_TRUE(sawTable);
    EXPECT_FALSE(exists("STEUER.DBF"));
    // Read back as the settings file is read: the numbers right-aligned in ten characters.
    const std::pair<const char*, const char*> kept[] = {{"Hubraum", "      1598"},   {"KeyNr", "        31"},
                                                        {"ErstZul", "01.03.2003"},   {"Euronorm", "         4"},
                                                        {"Verbrauch", "         1"}, {"Antrieb", "         2"}};
    for (const auto& [key, value] : kept)
        EXPECT_EQ(platform::readProfileString(QString::fromStdString(ini), QStringLiteral("Steuern"), key, "?"),
                  QString::fromLatin1(value))
            << key;
}

} // namespace
