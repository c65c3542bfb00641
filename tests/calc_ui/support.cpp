#include <gtest/gtest.h>

#include <QTest>

#include "calc/artwork.h"
#include "calcuitest.h"

namespace {

// The calculators' pictures are drawn by the toolkit once registered, as the program does at start-up.
class CalcArtwork : public ::testing::Environment {
public:
    void SetUp() override { calc::registerArtwork(); }
};

[[maybe_unused]] auto* const g_env = ::testing::AddGlobalTestEnvironment(new CalcArtwork);

} // namespace

namespace calcui {

void typeInto(QWidget* field, const QString& text, bool leave) {
    // A field that has the focus already is selected first, as the user would, so the keys replace it.
    const bool had = field->hasFocus();
    field->setFocus(Qt::TabFocusReason);
    if (had) QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
    if (leave) QTest::keyClick(field, Qt::Key_Tab);
}

} // namespace calcui
