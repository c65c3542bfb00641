#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>

#include "support/testdir.h"
#include "core/context.h"
#include "shell/artwork.h"
#include "support/scripted.h"
#include "uitest.h"

namespace shelltest {

// A program folder of its own and a context with scripted services for every test.
class ShellTest : public ::testing::Test {
protected:
    ShellTest() : ctx(QString::fromStdString(dir.path().string())), scripted(lwtest::useScriptedServices(ctx)) {
        shell::registerArtwork();
    }

    std::filesystem::path path(const std::string& name) const { return dir / name; }
    void writeIni(const std::string& bytes) const { lwtest::writeFile(dir / "TAVOLIN.INI", bytes); }
    std::string ini() const { return lwtest::readFile(dir / "TAVOLIN.INI"); }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir / name); }

    lwtest::TempDir dir;
    core::Context ctx;
    lwtest::Scripted scripted;
};

// Acts on the next modal dialog of type T as soon as it is shown (the code under test is blocked in its exec()).
// A dialog that is still open after ten seconds is rejected, so a test that forgot to close it fails instead of
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
            // Active, so that its Alt shortcuts and focus behave as for the user.
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

// A catalog of `count` questions in the folder, written through the table engine.
void writeCatalog(const std::filesystem::path& dir, int count = 3);

} // namespace shelltest

inline std::ostream& operator<<(std::ostream& os, const std::vector<std::string>& v) {
    for (const auto& s : v)
        os << '[' << s << ']';
    return os;
}
