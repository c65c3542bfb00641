#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "calc/artwork.h"
#include "calcuitest.h"

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "lw_test_calc_ui";
        static char* argv[] = {name, nullptr};
        m_app = new QApplication(argc, argv);
        calc::registerArtwork();
    }
    void TearDown() override {
        delete m_app;
        m_app = nullptr;
    }

private:
    QApplication* m_app = nullptr;
};

[[maybe_unused]] auto* const g_env = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

namespace calcui {

bool showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window, 3000);
}

void alt(QWidget* window, char letter) {
    QTest::keyClick(window, Qt::Key(Qt::Key_A + (QChar::fromLatin1(letter).toUpper().unicode() - 'A')),
                    Qt::AltModifier);
}

void typeInto(QWidget* field, const QString& text, bool leave) {
    // A field that has the focus already is selected first, as the user would, so the keys replace it.
    const bool had = field->hasFocus();
    field->setFocus(Qt::TabFocusReason);
    if (had) QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
    if (leave) QTest::keyClick(field, Qt::Key_Tab);
}

} // namespace calcui
