#include <gtest/gtest.h>

#include <QHeaderView>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/maskededit.h"
#include "ui/progressbar.h"
#include "uitest.h"

namespace {

// A field in a shown window with the focus, as the user meets it.
struct Field {
    QWidget window;
    ui::MaskedEdit* edit;
    Field() : edit(new ui::MaskedEdit(&window)) {
        window.resize(200, 40);
        edit->setGeometry(0, 0, 180, 24);
        uitest::showActive(&window);
        edit->setFocus();
    }
    QString type(const QString& keys) {
        QTest::keyClicks(edit, keys);
        return edit->text();
    }
};

} // namespace

TEST(MaskedEdit, UpperCaseTurnsLettersAsTheyAreTyped) {
    Field f;
    f.edit->setUpperCase(10);
    EXPECT_EQ(f.type(QStringLiteral("meier 1a")), QStringLiteral("MEIER 1A"));
    f.edit->insert(QStringLiteral("ü")); // umlauts, which the key simulation cannot type
    EXPECT_EQ(f.type(QStringLiteral("xyz")), QStringLiteral("MEIER 1AÜX")); // ten characters at most
    f.edit->clear();
    // Text pasted or set by the program is held to the same rule.
    f.edit->insert(QStringLiteral("vorfahrt"));
    EXPECT_EQ(f.edit->text(), QStringLiteral("VORFAHRT"));
    // A sharp s in the middle keeps the letters after it in their place.
    f.edit->clear();
    f.edit->insert(QStringLiteral("gro\u00df"));
    EXPECT_EQ(f.type(QStringLiteral("mann")), QStringLiteral("GRO\u00dfMANN"));
}

TEST(MaskedEdit, AltWithACharacterIsAnAcceleratorAndNeverTyped) {
    Field f;
    EXPECT_EQ(f.type(QStringLiteral("29")), QStringLiteral("29"));
    QTest::keyClick(f.edit, Qt::Key_1, Qt::AltModifier, 0);
    QTest::keyClick(f.edit, Qt::Key_B, Qt::AltModifier, 0);
    EXPECT_EQ(f.edit->text(), QStringLiteral("29"));
}

TEST(MaskedEdit, DigitsOnlyRefusesEverythingElse) {
    Field f;
    f.edit->setDigits(2);
    EXPECT_EQ(f.type(QStringLiteral("a3-,.x")), QStringLiteral("3"));
    EXPECT_EQ(f.type(QStringLiteral("07")), QStringLiteral("30"));
    f.edit->clear();
    EXPECT_EQ(f.type(QStringLiteral("0")), QStringLiteral("0"));
}

TEST(MaskedEdit, DateAcceptsDigitsInItsPlacesAndKnowsRealDates) {
    Field f;
    f.edit->setDateMask();
    f.edit->home(false);
    f.type(QStringLiteral("29022008"));
    EXPECT_EQ(f.edit->text(), QStringLiteral("29.02.2008"));
    ASSERT_TRUE(f.edit->date().has_value());
    EXPECT_EQ(*f.edit->date(), QDate(2008, 2, 29));

    f.edit->setText(QString());
    f.edit->home(false);
    f.type(QStringLiteral("ab29o2x2007"));
    EXPECT_EQ(f.edit->text(), QStringLiteral("29.22.007")); // letters are refused, nothing shifts into their place
    EXPECT_FALSE(f.edit->date().has_value());

    f.edit->setDate(QDate(2007, 2, 29)); // no such day
    EXPECT_FALSE(f.edit->date().has_value());
    f.edit->setText(QStringLiteral("31.04.2007"));
    EXPECT_FALSE(f.edit->date().has_value());
    f.edit->setDate(QDate(2007, 3, 1));
    EXPECT_EQ(f.edit->text(), QStringLiteral("01.03.2007"));
}

TEST(MaskedEdit, DecimalPicturesTakeACommaAndTheirNumberOfDigits) {
    Field f;
    ASSERT_TRUE(f.edit->setPicture(QStringLiteral("@E 9.99")));
    EXPECT_EQ(f.edit->integerDigits(), 1);
    EXPECT_EQ(f.edit->fractionDigits(), 2);
    EXPECT_EQ(f.type(QStringLiteral("12.345")), QStringLiteral("1,34")); // one digit before, two after
    ASSERT_TRUE(f.edit->decimal().has_value());
    EXPECT_DOUBLE_EQ(*f.edit->decimal(), 1.34);
    f.edit->clear();
    EXPECT_EQ(f.type(QStringLiteral("x,5")), QStringLiteral(",5"));
    EXPECT_DOUBLE_EQ(*f.edit->decimal(), 0.5);
    f.edit->clear();
    EXPECT_FALSE(f.edit->decimal().has_value());

    ASSERT_TRUE(f.edit->setPicture(QStringLiteral("@E 99999.99")));
    EXPECT_EQ(f.type(QStringLiteral("1234567,891")), QStringLiteral("12345,89"));
    f.edit->setDecimal(7.5);
    EXPECT_EQ(f.edit->text(), QStringLiteral("7,50"));
    f.edit->clear();
    EXPECT_EQ(f.type(QStringLiteral("1,2,3")), QStringLiteral("1,23")); // one comma only

    EXPECT_FALSE(f.edit->setPicture(QStringLiteral("@X 9.99")));
    EXPECT_EQ(f.edit->mask(), ui::MaskedEdit::Mask::Decimal); // unchanged by the refused picture
}

TEST(MaskedEdit, FirstKeyReplacesTheWholeContent) {
    QWidget window;
    auto* name = new ui::MaskedEdit(&window);
    auto* other = new ui::MaskedEdit(&window);
    name->setGeometry(0, 0, 100, 20);
    other->setGeometry(0, 30, 100, 20);
    name->setUpperCase(30);
    name->setReplaceOnFirstKey(true);
    name->setText(QStringLiteral("MEIER"));
    ASSERT_TRUE(uitest::showActive(&window));
    name->setFocus();
    name->end(false);

    // Shift alone is not the first key; the capital it makes is.
    QTest::keyClick(name, Qt::Key_Shift);
    QTest::keyClicks(name, QStringLiteral("Sc"));
    EXPECT_EQ(name->text(), QStringLiteral("SC"));
    QTest::keyClicks(name, QStringLiteral("hulz"));
    EXPECT_EQ(name->text(), QStringLiteral("SCHULZ"));

    // Back into the field: a cursor key first means editing, so the content stays.
    other->setFocus();
    name->setFocus();
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClicks(name, QStringLiteral("e"));
    EXPECT_EQ(name->text(), QStringLiteral("SCHULZE"));

    // Without the option typing appends as usual.
    other->setText(QStringLiteral("12"));
    other->setFocus();
    other->end(false);
    QTest::keyClicks(other, QStringLiteral("3"));
    EXPECT_EQ(other->text(), QStringLiteral("123"));
}

TEST(ProgressBar, PercentTextIsThreeCharactersAndASign) {
    EXPECT_EQ(ui::ProgressBar::percentText(45, 100), QStringLiteral(" 45%"));
    EXPECT_EQ(ui::ProgressBar::percentText(1, 3), QStringLiteral(" 33%")); // truncated, not rounded
    EXPECT_EQ(ui::ProgressBar::percentText(2, 3), QStringLiteral(" 66%"));
    EXPECT_EQ(ui::ProgressBar::percentText(5, 5), QStringLiteral("100%"));
    EXPECT_EQ(ui::ProgressBar::percentText(0, 7), QStringLiteral("  0%"));
    EXPECT_EQ(ui::ProgressBar::percentText(0, 0), QStringLiteral("  0%"));             // a total of 0 counts as 1
    EXPECT_EQ(ui::ProgressBar::percentText(3000000, 6000000), QStringLiteral(" 50%")); // no overflow
}

TEST(ProgressBar, StartsAtTenAndFollowsTotalPositionAndColour) {
    ui::ProgressBar bar;
    bar.resize(340, 20);
    EXPECT_EQ(bar.total(), 10);
    EXPECT_EQ(bar.text(), QStringLiteral("  0%"));
    bar.setTotal(8);
    bar.setPosition(2);
    EXPECT_EQ(bar.text(), QStringLiteral(" 25%"));
    bar.setPosition(99); // past the end: held at the end
    EXPECT_EQ(bar.position(), 8);
    bar.setTotal(0);
    EXPECT_EQ(bar.text(), QStringLiteral("  0%"));

    bar.setTotal(4);
    bar.setPosition(2);
    bar.setBarColor(QColor(255, 0, 0));
    bar.setBackgroundColor(QColor(185, 180, 173));
    bar.setTextVisible(false);
    const QImage img = bar.grab().toImage();
    const qreal dpr = img.devicePixelRatio();
    EXPECT_EQ(img.pixelColor(int(60 * dpr), int(10 * dpr)), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(int(280 * dpr), int(10 * dpr)), QColor(185, 180, 173));
}

TEST(Label, TextComesFromItsCallbackOnRefresh) {
    int counter = 3;
    ui::Label label([&] { return QStringLiteral("%1").arg(counter, 5); }, nullptr);
    EXPECT_EQ(label.text(), QStringLiteral("    3"));
    counter = 12;
    EXPECT_EQ(label.text(), QStringLiteral("    3"));
    label.refresh();
    EXPECT_EQ(label.text(), QStringLiteral("   12"));
    EXPECT_FALSE(label.autoFillBackground()); // transparent over the skin by default
    label.setColors(Qt::black, QColor(249, 224, 109));
    EXPECT_TRUE(label.autoFillBackground());
}

TEST(CheckBox, AcceleratorTicksAtOnceSoAnImmediateEnterSeesIt) {
    QWidget window;
    window.resize(200, 60);
    auto* box = new ui::CheckBox(QStringLiteral("&1"), &window);
    box->setGeometry(0, 0, 80, 20);
    auto* other = new ui::CheckBox(QStringLiteral("&2"), &window);
    other->setGeometry(0, 30, 80, 20);
    uitest::showActive(&window);
    QTest::keyClick(&window, Qt::Key_1, Qt::AltModifier);
    EXPECT_TRUE(box->isChecked()); // no event loop turn in between, as with Enter typed right after
    EXPECT_TRUE(box->hasFocus());
    QTest::keyClick(&window, Qt::Key_1, Qt::AltModifier);
    EXPECT_FALSE(box->isChecked());
    other->setEnabled(false);
    QTest::keyClick(&window, Qt::Key_2, Qt::AltModifier);
    EXPECT_FALSE(other->isChecked());
}

TEST(RadioGroup, ValueIsTheNumberOfTheChosenItem) {
    QWidget parent;
    ui::RadioGroup group(&parent);
    group.addColumn({QStringLiteral(" Maximal"), QStringLiteral(" Normal (800 * 600)")}, 24, 120, 180, 20, 20);
    group.addItem(QStringLiteral("&nur Bilderfragen"), QRect(256, 132, 180, 20));
    EXPECT_EQ(group.value(), 0);
    EXPECT_EQ(group.button(2)->geometry(), QRect(120, 44, 180, 20));
    QSignalSpy spy(&group, &ui::RadioGroup::valueChanged);
    group.setValue(2);
    EXPECT_EQ(group.value(), 2);
    QTest::mouseClick(group.button(3), Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_EQ(group.value(), 3);
    EXPECT_FALSE(group.button(2)->isChecked());
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(1).at(0).toInt(), 3);
    group.setValue(9); // out of range: nothing chosen
    EXPECT_EQ(group.value(), 0);
}

namespace {

class Rows : public ui::GridSource {
public:
    int rowCount() const override { return 3; }
    int columnCount() const override { return 2; }
    QString cell(int row, int column) const override { return QStringLiteral("r%1c%2").arg(row).arg(column); }
    ui::RowColors rowColors(int row) const override {
        return row == 1 ? ui::RowColors{Qt::white, QColor(200, 0, 0)} : ui::RowColors{};
    }
};

QColor pixelInCell(ui::Grid& grid, int row, int column) {
    const QRect r = grid.visualRect(grid.model()->index(row, column));
    const QImage img = grid.viewport()->grab().toImage();
    const qreal dpr = img.devicePixelRatio();
    return img.pixelColor(int((r.right() - 2) * dpr), int((r.top() + 2) * dpr));
}

} // namespace

TEST(Grid, ShowsRowsWithHeadingsWidthsAndRowColours) {
    Rows rows;
    ui::Grid grid;
    grid.resize(300, 200);
    grid.setSource(&rows, {{QStringLiteral("Nummer"), 70, Qt::AlignLeft}, {QStringLiteral("Ok "), 30, Qt::AlignRight}});
    grid.show();
    EXPECT_EQ(grid.model()->rowCount(), 3);
    EXPECT_EQ(grid.model()->index(2, 1).data().toString(), QStringLiteral("r2c1"));
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nummer"));
    EXPECT_EQ(grid.columnWidth(0), 70);
    EXPECT_EQ(grid.columnWidth(1), 30);
    EXPECT_EQ(grid.model()->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_FALSE(grid.showGrid());
    EXPECT_EQ(grid.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // The source's colour for row 1 is painted; row 0 is current and shows the highlight gradient instead.
    EXPECT_EQ(grid.currentRow(), 0);
    EXPECT_EQ(pixelInCell(grid, 1, 0), QColor(200, 0, 0));
    grid.setCurrentRow(1);
    EXPECT_NE(pixelInCell(grid, 1, 0), QColor(200, 0, 0));

    // Colours by position override the source's.
    grid.setRowColorFunction([](int row) {
        return ui::RowColors{Qt::black, row % 2 == 0 ? QColor(240, 207, 32) : QColor(243, 212, 65)};
    });
    EXPECT_EQ(pixelInCell(grid, 2, 0), QColor(240, 207, 32));
    EXPECT_EQ(pixelInCell(grid, 0, 1), QColor(240, 207, 32));
    grid.setCurrentRow(0);
    EXPECT_EQ(pixelInCell(grid, 1, 0), QColor(243, 212, 65));
}

TEST(Grid, ExtraHeightsAndActivationByDoubleClick) {
    ui::ListGridSource rows(1, {{QStringLiteral("a")}, {QStringLiteral("b")}});
    ui::Grid grid;
    grid.resize(200, 200);
    grid.setSource(&rows, {{QStringLiteral("Text"), 100, Qt::AlignLeft}});
    const int rowHeight = grid.rowHeight(0);
    const int headHeight = grid.horizontalHeader()->height();
    grid.setExtraHeights(7, 2);
    EXPECT_EQ(grid.rowHeight(0), rowHeight + 2);
    EXPECT_EQ(grid.horizontalHeader()->height(), headHeight + 7);

    ASSERT_TRUE(uitest::showActive(&grid));
    QSignalSpy spy(&grid, &ui::Grid::rowActivated);
    const QRect r = grid.visualRect(grid.model()->index(1, 0));
    // A real double-click begins with a press on the same row.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1);

    // A source that grew is shown after reload, and the current row stays where it was.
    rows.rows().push_back({QStringLiteral("c")});
    grid.setCurrentRow(1);
    grid.reload();
    EXPECT_EQ(grid.model()->rowCount(), 3);
    EXPECT_EQ(grid.currentRow(), 1);
    // An empty table: nothing to activate.
    ui::ListGridSource empty(1, {});
    grid.setSource(&empty, {{QStringLiteral("Text"), 100, Qt::AlignLeft}});
    EXPECT_EQ(grid.currentRow(), -1);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(spy.count(), 1);
}
