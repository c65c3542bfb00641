// The fine calculator as the user meets it: its four tabs over the delivered BUSSRECH.DBF, the lookups that run
// when a field is left, the calculate and catalogue buttons, and a missing or damaged table.
#include <QComboBox>
#include <QRadioButton>

#include "calc/bussrechdialog.h"
#include "calcuitest.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/maskededit.h"

namespace {

using calc::FineDialog;
using calcui::CalcTest;
using calcui::typeInto;
namespace fs = std::filesystem;

const fs::path kBuilt = fs::path(LW_DIST_DIR) / "BUSSRECH.DBF";

QString str(const char* s) {
    return QString::fromUtf8(s);
}

// What a tab's result line shows: "fine / points / months", and its note or info text.
QString shown(const FineDialog& dlg, FineDialog::Tab tab) {
    const FineDialog::ResultLabels& r = dlg.result(tab);
    return r.fine->text() + " / " + r.points->text() + " / " + r.ban->text();
}

class FineCalc : public CalcTest {
protected:
    FineCalc() { fs::copy_file(kBuilt, dir / "BUSSRECH.DBF"); }
    std::unique_ptr<FineDialog> open() {
        QString error;
        table = calc::bussrech::FineTable::open(ctx.dir(), &error);
        EXPECT_TRUE(table) << error.toStdString();
        if (!table) return nullptr;
        auto dlg = std::make_unique<FineDialog>(ctx, *table);
        EXPECT_TRUE(calcui::showActive(dlg.get()));
        return dlg;
    }
    std::unique_ptr<calc::bussrech::FineTable> table;
};

TEST_F(FineCalc, SpeedingIsLookedUpWhenTheFieldIsLeftAndWhenThePlaceChanges) {
    auto dlg = open();
    ASSERT_TRUE(dlg);
    EXPECT_EQ(ctx.helpTopic, QStringLiteral("Bussgeldrechner"));
    EXPECT_EQ(shown(*dlg, FineDialog::Speeding), QStringLiteral("0,00 / 0 / 0"));
    EXPECT_EQ(dlg->vehicleList()->currentText(), str("Pkw, Krafträder und andere Kfz bis 3,5 t"));

    typeInto(dlg->excessField(), QStringLiteral("25"));
    EXPECT_EQ(shown(*dlg, FineDialog::Speeding), QStringLiteral("50,00 / 1 / 0"));
    EXPECT_EQ(dlg->result(FineDialog::Speeding).fine->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(dlg->result(FineDialog::Speeding).ban->palette().color(QPalette::WindowText), QColor(Qt::black));

    // Outside built-up areas at once; another vehicle alone waits for the field.
    QTest::mouseClick(dlg->placeChoice()->button(2), Qt::LeftButton, {}, QPoint(8, 10));
    EXPECT_EQ(shown(*dlg, FineDialog::Speeding), QStringLiteral("40,00 / 1 / 0"));
    dlg->vehicleList()->setCurrentIndex(1);
    EXPECT_EQ(shown(*dlg, FineDialog::Speeding), QStringLiteral("40,00 / 1 / 0"));

    // Faster than any row reaches: the note, and no fine of a lower range beside it.
    dlg->vehicleList()->setCurrentIndex(0);
    typeInto(dlg->excessField(), QStringLiteral("1000"));
    EXPECT_EQ(dlg->result(FineDialog::Speeding).text->text(), str("Sie sollten eine Fluglizenz erwerben !"));
    EXPECT_EQ(shown(*dlg, FineDialog::Speeding), QStringLiteral("0,00 / 0 / 0"));
}

TEST_F(FineCalc, TheCalculateButtonLooksUpTheTabInViewOnly) {
    auto dlg = open();
    ASSERT_TRUE(dlg);
    typeInto(dlg->excessField(), QStringLiteral("31"));
    ASSERT_EQ(shown(*dlg, FineDialog::Speeding), QStringLiteral("100,00 / 3 / 1"));

    calcui::alt(dlg.get(), 'l'); // the alcohol tab
    ASSERT_EQ(dlg->tabs()->currentIndex(), int(FineDialog::Alcohol));
    EXPECT_TRUE(dlg->alcoholList()->hasFocus()) << "the keyboard goes on in the tab chosen";
    EXPECT_EQ(shown(*dlg, FineDialog::Alcohol), QStringLiteral("0,00 / 0 / 0")) << "switching recalculates nothing";
    typeInto(dlg->promilleField(), QStringLiteral("0,5"), false);
    QTest::mouseClick(dlg->calculateButton(), Qt::LeftButton);
    EXPECT_EQ(shown(*dlg, FineDialog::Alcohol), QStringLiteral("250,00 / 4 / 1"));
    EXPECT_FALSE(dlg->result(FineDialog::Alcohol).text->text().isEmpty());
    // The speeding tab keeps what it showed.
    EXPECT_EQ(shown(*dlg, FineDialog::Speeding), QStringLiteral("100,00 / 3 / 1"));

    // A value above every range: zeros and no text.
    typeInto(dlg->promilleField(), QStringLiteral("99999"), false);
    calcui::alt(dlg.get(), 'r');
    EXPECT_EQ(shown(*dlg, FineDialog::Alcohol), QStringLiteral("0,00 / 0 / 0"));
    EXPECT_TRUE(dlg->result(FineDialog::Alcohol).text->text().isEmpty());

    // Distance: a row's upper bound belongs to the next range (81 km/h is not "up to 80").
    calcui::alt(dlg.get(), 'a');
    ASSERT_EQ(dlg->tabs()->currentIndex(), int(FineDialog::Distance));
    const int below80 = dlg->distanceList()->findText(str("Abstand zu gering, ohne Gefährdung (bis 80 km/h)"));
    ASSERT_GE(below80, 0);
    dlg->distanceList()->setCurrentIndex(below80);
    typeInto(dlg->speedField(), QStringLiteral("80"));
    EXPECT_EQ(shown(*dlg, FineDialog::Distance), QStringLiteral("25,00 / 0 / 0"));
    typeInto(dlg->speedField(), QStringLiteral("81"));
    EXPECT_EQ(shown(*dlg, FineDialog::Distance), QStringLiteral("0,00 / 0 / 0"));
}

TEST_F(FineCalc, MiscellaneousTitlesGiveZerosAndKeepTheFocusInTheList) {
    auto dlg = open();
    ASSERT_TRUE(dlg);
    calcui::alt(dlg.get(), 'd');
    QComboBox* list = dlg->miscList();
    ASSERT_TRUE(list->currentText().startsWith(QStringLiteral("----->> ")));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentIndex(), 1);
    EXPECT_NE(shown(*dlg, FineDialog::Miscellaneous), QStringLiteral("0,00 / 0 / 0"));
    EXPECT_EQ(dlg->result(FineDialog::Miscellaneous).text->text(), list->currentText());

    int title = -1;
    for (int i = 2; i < list->count() && title < 0; ++i)
        if (list->itemText(i).startsWith(QLatin1Char('-'))) title = i;
    ASSERT_GT(title, 0);
    list->setCurrentIndex(title);
    EXPECT_EQ(shown(*dlg, FineDialog::Miscellaneous), QStringLiteral("0,00 / 0 / 0"));
    EXPECT_TRUE(dlg->result(FineDialog::Miscellaneous).text->text().isEmpty());
    EXPECT_TRUE(list->hasFocus());
}

TEST_F(FineCalc, TheCatalogueButtonOpensTheFineCatalogueAsTheMenuDoes) {
    auto dlg = open();
    ASSERT_TRUE(dlg);
    // Not there: nothing can open it, and the user is told as by the menu.
    calcui::alt(dlg.get(), 'k');
    ASSERT_EQ(ctx.scripted.shell->calls().size(), 1u);
    EXPECT_EQ(messages().shown().size(), 1u);

    fs::create_directories(dir / "Texte");
    lwtest::writeFile(dir / "Texte" / "BuGeKata.pdf", "%PDF-1.4\n");
    QTest::mouseClick(dlg->catalogueButton(), Qt::LeftButton);
    const auto& calls = ctx.scripted.shell->calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].what, QStringLiteral("document"));
    EXPECT_EQ(fs::path(calls[1].target.toStdString()), dir / "Texte" / "BuGeKata.pdf");
    EXPECT_EQ(messages().shown().size(), 1u) << "an existing catalogue opens without a warning";

    QTest::mouseClick(dlg->helpButton(), Qt::LeftButton);
    ASSERT_EQ(ctx.scripted.help->calls().size(), 1u);
    EXPECT_EQ(ctx.scripted.help->calls()[0].argument, QStringLiteral("Bussgeldrechner"));
}

TEST_F(FineCalc, ClosingRemovesTheIndexAndLeavesTheTableAsItWas) {
    const std::string before = lwtest::readFile(dir / "BUSSRECH.DBF");
    bool sawIndex = false;
    calcui::onNextDialog<FineDialog>([&](FineDialog* dlg) {
        sawIndex = exists("BUSSRECH.CDX");
        typeInto(dlg->excessField(), QStringLiteral("40"));
        EXPECT_EQ(shown(*dlg, FineDialog::Speeding), QStringLiteral("100,00 / 3 / 1"));
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    calc::BUSSRECH(ctx, nullptr);
    EXPECT_TRUE(sawIndex);
    EXPECT_FALSE(exists("BUSSRECH.CDX"));
    EXPECT_EQ(lwtest::readFile(dir / "BUSSRECH.DBF"), before);
    EXPECT_TRUE(messages().shown().empty());

    calcui::onNextDialog<FineDialog>([](FineDialog* dlg) { QTest::mouseClick(dlg->closeButton(), Qt::LeftButton); });
    calc::BUSSRECH(ctx, nullptr);
    EXPECT_FALSE(exists("BUSSRECH.CDX"));
}

TEST_F(FineCalc, AMissingOrDamagedTableIsExplainedAndTheCalculatorStaysClosed) {
    const std::string bytes = lwtest::readFile(dir / "BUSSRECH.DBF");
    // Half a table, and then none: the notice each time, no dialog.
    lwtest::writeFile(dir / "BUSSRECH.DBF", bytes.substr(0, bytes.size() / 2));
    calc::BUSSRECH(ctx, nullptr);
    fs::remove(dir / "BUSSRECH.DBF");
    calc::BUSSRECH(ctx, nullptr);
    const auto& shownMessages = messages().shown();
    ASSERT_EQ(shownMessages.size(), 2u);
    for (const auto& m : shownMessages) {
        EXPECT_EQ(m.kind, lwtest::ScriptedMessages::Kind::Info);
        EXPECT_TRUE(m.text.contains(QStringLiteral("BUSSRECH.DBF"))) << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(str("kann nicht geöffnet werden"))) << m.text.toStdString();
    }
    EXPECT_TRUE(shownMessages[1].text.contains(QStringLiteral("fehlt")));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(exists("BUSSRECH.CDX"));
}

} // namespace
