// The stopping-distance calculator as the user meets it: typed entries, road conditions, Enter and the buttons.
#include <QComboBox>

#include "calc/anhawegdialog.h"
#include "calcuitest.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/maskededit.h"

namespace {

using calc::StoppingDialog;
using calcui::CalcTest;
using calcui::typeInto;

QStringList results(const StoppingDialog& dlg) {
    QStringList r;
    for (int i = 0; i < 4; ++i)
        r << dlg.resultField(i)->text();
    return r;
}

class StoppingCalc : public CalcTest {
protected:
    std::unique_ptr<StoppingDialog> open() {
        auto dlg = std::make_unique<StoppingDialog>(ctx);
        EXPECT_TRUE(calcui::showActive(dlg.get()));
        return dlg;
    }
};

TEST_F(StoppingCalc, TheDefaultsGiveTheTextbookCaseOnEnter) {
    auto dlg = open();
    EXPECT_EQ(ctx.helpTopic, QStringLiteral("Anhalteweg"));
    EXPECT_EQ(dlg->speedField()->text(), QStringLiteral("50"));
    EXPECT_EQ(dlg->reactionField()->text(), QStringLiteral("1,00"));
    EXPECT_EQ(dlg->decelerationField()->text(), QStringLiteral("8,00"));
    EXPECT_EQ(dlg->roadList()->currentText(), QStringLiteral("Strassenzustand - ideal"));
    EXPECT_EQ(results(*dlg), QStringList({"0,00", "0,00", "0,00", "0,00"})) << "nothing runs before a trigger";
    EXPECT_TRUE(dlg->speedField()->hasFocus());
    QTest::keyClick(dlg->speedField(), Qt::Key_Return);
    EXPECT_EQ(results(*dlg), QStringList({"13,89", "12,06", "25,95", "2,74"}));
}

TEST_F(StoppingCalc, LeavingAFieldCalculatesAndAZeroKeepsTheResults) {
    auto dlg = open();
    typeInto(dlg->speedField(), QStringLiteral("100"));
    EXPECT_EQ(results(*dlg), QStringList({"27,78", "48,23", "76,01", "4,47"}));
    typeInto(dlg->reactionField(), QStringLiteral("2,00"));
    typeInto(dlg->decelerationField(), QStringLiteral("4,00"));
    EXPECT_EQ(results(*dlg), QStringList({"55,56", "96,45", "152,01", "8,94"}));
    typeInto(dlg->speedField(), QStringLiteral("0"));
    EXPECT_EQ(results(*dlg), QStringList({"55,56", "96,45", "152,01", "8,94"}));
}

TEST_F(StoppingCalc, ARoadConditionBringsItsDecelerationAndCalculatesAtOnce) {
    auto dlg = open();
    QComboBox* road = dlg->roadList();
    const int ice = road->findText(QStringLiteral("Glatteis"));
    ASSERT_EQ(ice, road->count() - 1);
    road->setFocus();
    QTest::keyClick(road, Qt::Key_End);
    ASSERT_EQ(road->currentIndex(), ice);
    EXPECT_EQ(dlg->decelerationField()->text(), QStringLiteral("1,00"));
    // 50 km/h on ice: 13,89 m reaction and 96,45 m braking distance.
    EXPECT_EQ(results(*dlg), QStringList({"13,89", "96,45", "110,34", "14,89"}));
    // A typed deceleration counts until the next choice.
    typeInto(dlg->decelerationField(), QStringLiteral("5,00"));
    EXPECT_EQ(results(*dlg)[1], QStringLiteral("19,29"));
}

TEST_F(StoppingCalc, TheButtonsAndKeysDoWhatTheySay) {
    auto dlg = open();
    typeInto(dlg->speedField(), QStringLiteral("30"), false);
    QTest::mouseClick(dlg->calculateButton(), Qt::LeftButton);
    EXPECT_EQ(results(*dlg)[0], QStringLiteral("8,33"));
    typeInto(dlg->speedField(), QStringLiteral("60"), false);
    calcui::alt(dlg.get(), 'r');
    EXPECT_EQ(results(*dlg)[0], QStringLiteral("16,67"));
    calcui::alt(dlg.get(), 'h');
    ASSERT_EQ(ctx.scripted.help->calls().size(), 1u);
    EXPECT_EQ(ctx.scripted.help->calls()[0].argument, QStringLiteral("Anhalteweg"));
    calcui::alt(dlg.get(), 'b');
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(ctx.helpTopic, QStringLiteral("Lenkwerk"));
    ASSERT_TRUE(calcui::showActive(dlg.get()));
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    ASSERT_TRUE(calcui::showActive(dlg.get()));
    QTest::mouseClick(dlg->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
}

} // namespace
