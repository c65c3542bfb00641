// Each calculator worked with the keyboard alone: Tab from field to field, the arrows in lists and choices, the
// Alt keys for the buttons, Esc to leave. No mouse, no focus set by the test.
#include <QComboBox>
#include <QRadioButton>

#include "calc/anhawegdialog.h"
#include "calc/bussrechdialog.h"
#include "calc/kfzsteudialog.h"
#include "calcuitest.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/maskededit.h"

namespace {

using calcui::CalcTest;
using uitest::press;
using uitest::tabTo;
using uitest::typeKeys;

// Replaces what the field holds, as a user does after tabbing into it.
void retype(const QString& text) {
    press(Qt::Key_A, Qt::ControlModifier);
    typeKeys(text);
}

bool tabToChoice(const ui::RadioGroup* group) {
    for (int i = 0; i < 40; ++i) {
        for (int v = 1; v <= group->count(); ++v)
            if (group->button(v)->hasFocus()) return true;
        press(Qt::Key_Tab);
    }
    return false;
}

// Arrow keys through a list or choice until `done`; false when the end is reached first.
bool arrowUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 60 && !done(); ++i)
        press(Qt::Key_Down);
    return done();
}

using KeyboardCalc = CalcTest;

TEST_F(KeyboardCalc, TheTaxOfTheExampleCar) {
    calc::kfzsteu::SteuerTable table(ctx.dir());
    calc::kfzsteu::Input input;
    calc::kfzsteu::EuroNorm norm;
    calc::TaxDialog dlg(ctx, table, input, norm);
    ASSERT_TRUE(calcui::showActive(&dlg));
    ASSERT_TRUE(tabTo(dlg.hubraumField()));
    retype(QStringLiteral("1598"));
    ASSERT_TRUE(tabTo(dlg.keyField()));
    retype(QStringLiteral("40"));
    ASSERT_TRUE(tabTo(dlg.dateField()));
    retype(QStringLiteral("01032003"));
    ASSERT_TRUE(tabToChoice(dlg.fuelChoice()));
    ASSERT_TRUE(arrowUntil([&] { return dlg.fuelChoice()->value() == 2; })) << "diesel";
    calcui::alt(&dlg, 'r');
    ASSERT_EQ(dlg.grid()->model()->rowCount(), 3);
    EXPECT_EQ(dlg.grid()->model()->index(0, 3).data().toString().simplified(), QStringLiteral("EUR 219,58"));
    press(Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(KeyboardCalc, AFineOnThreeTabs) {
    std::filesystem::copy_file(std::filesystem::path(LW_DIST_DIR) / "BUSSRECH.DBF", dir / "BUSSRECH.DBF");
    QString error;
    auto table = calc::bussrech::FineTable::open(ctx.dir(), &error);
    ASSERT_TRUE(table) << error.toStdString();
    calc::FineDialog dlg(ctx, *table);
    ASSERT_TRUE(calcui::showActive(&dlg));
    auto shown = [&](calc::FineDialog::Tab tab) {
        const auto& r = dlg.result(tab);
        return r.fine->text() + " / " + r.points->text() + " / " + r.ban->text();
    };

    ASSERT_TRUE(tabTo(dlg.excessField()));
    retype(QStringLiteral("31"));
    press(Qt::Key_Tab);
    EXPECT_EQ(shown(calc::FineDialog::Speeding), QStringLiteral("100,00 / 3 / 1"));

    calcui::alt(&dlg, 'a');
    ASSERT_EQ(dlg.tabs()->currentIndex(), int(calc::FineDialog::Distance));
    ASSERT_TRUE(tabTo(dlg.distanceList()));
    ASSERT_TRUE(arrowUntil([&] {
        return dlg.distanceList()->currentText() ==
               QString::fromUtf8("Abstand zu gering, ohne Gefährdung (bis 80 km/h)");
    }));
    ASSERT_TRUE(tabTo(dlg.speedField()));
    retype(QStringLiteral("80"));
    press(Qt::Key_Tab);
    EXPECT_EQ(shown(calc::FineDialog::Distance), QStringLiteral("25,00 / 0 / 0"));

    calcui::alt(&dlg, 'l');
    ASSERT_TRUE(tabTo(dlg.promilleField()));
    retype(QStringLiteral("0,5"));
    calcui::alt(&dlg, 'r');
    EXPECT_EQ(shown(calc::FineDialog::Alcohol), QStringLiteral("250,00 / 4 / 1"));
    press(Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(KeyboardCalc, TheStoppingDistanceOnIce) {
    calc::StoppingDialog dlg(ctx);
    ASSERT_TRUE(calcui::showActive(&dlg));
    ASSERT_TRUE(tabTo(dlg.speedField()));
    retype(QStringLiteral("100"));
    press(Qt::Key_Return);
    EXPECT_EQ(dlg.resultField(0)->text(), QStringLiteral("27,78"));
    EXPECT_EQ(dlg.resultField(1)->text(), QStringLiteral("48,23"));
    ASSERT_TRUE(tabTo(dlg.roadList()));
    press(Qt::Key_End);
    EXPECT_EQ(dlg.decelerationField()->text(), QStringLiteral("1,00"));
    EXPECT_EQ(dlg.resultField(1)->text(), QStringLiteral("385,80"));
    calcui::alt(&dlg, 'b');
    EXPECT_FALSE(dlg.isVisible());
}

} // namespace
