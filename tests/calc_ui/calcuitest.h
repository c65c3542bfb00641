#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QString>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "support/scripted.h"
#include "support/testdir.h"

// Shared by the calculators' dialog tests; qtapp.cpp gives every test an application object with the artwork.
namespace calcui {

// A program folder of its own and a context with scripted services for every test.
class CalcTest : public ::testing::Test {
protected:
    CalcTest() : ctx(QString::fromStdString(dir.path().string())) {}

    std::filesystem::path path(const std::string& name) const { return dir / name; }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir / name); }
    lwtest::ScriptedMessages& messages() { return *ctx.scripted.messages; }

    lwtest::TempDir dir;
    lwtest::ScriptedContext ctx;
};

// Shows the window and makes it the active one, so that its Alt shortcuts and Enter respond.
bool showActive(QWidget* window);

// Alt+letter as the user types it.
void alt(QWidget* window, char letter);

// Types into a field as the user does: focus, the keys, then Tab leaves it.
void typeInto(QWidget* field, const QString& text, bool leave = true);

// Acts on the next modal dialog of type T as soon as it is shown (the code under test is blocked in its exec()).
// A dialog still open after ten seconds is rejected, so that a test that forgot to close it fails instead of
// hanging.
template <typename T> void onNextDialog(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    auto ticks = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, ticks, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dlg = qobject_cast<T*>(modal); dlg && dlg->isVisible()) {
            timer->stop();
            timer->deleteLater();
            dlg->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(dlg, 2000));
            act(dlg);
            return;
        }
        if (++*ticks > 1000) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "the expected dialog did not appear or was left open";
            if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
        }
    });
    timer->start();
}

} // namespace calcui

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
