#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include "uitest.h"

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "lw_test_ui";
        static char* argv[] = {name, nullptr};
        m_app = new QApplication(argc, argv);
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

namespace uitest {

bool showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window, 3000);
}

void alt(QWidget* window, char letter) {
    QTest::keyClick(window, Qt::Key(Qt::Key_A + (QChar::fromLatin1(letter).toUpper().unicode() - 'A')),
                    Qt::AltModifier);
}

namespace {
QWidget* keyReceiver() {
    if (QWidget* w = QApplication::focusWidget()) return w;
    if (QWidget* w = QApplication::activeWindow()) return w;
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    ADD_FAILURE() << "no window takes keys";
    return nullptr;
}
} // namespace

void typeKeys(const QString& text) {
    if (QWidget* w = keyReceiver()) QTest::keyClicks(w, text);
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    if (QWidget* w = keyReceiver()) QTest::keyClick(w, key, modifiers);
}

bool tabTo(QWidget* target) {
    for (int i = 0; i < 40; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (focus && (focus == target || target->isAncestorOf(focus))) return true;
        press(Qt::Key_Tab);
    }
    return false;
}

bool waitFor(const std::function<bool()>& predicate, int milliseconds) {
    QElapsedTimer t;
    t.start();
    while (!predicate()) {
        if (t.elapsed() > milliseconds) return false;
        QTest::qWait(10);
    }
    return true;
}

} // namespace uitest
