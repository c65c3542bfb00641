#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <set>

#include "core/context.h"
#include "support/scripted.h"
#include "support/testdir.h"
#include "training/artwork.h"
#include "training/catalogfixture.h"
#include "uitest.h"

namespace trainingui {

// A program folder with a catalog and a learner's table, and a context with scripted services.
class TrainingUiTest : public ::testing::Test {
protected:
    TrainingUiTest() : ctx(QString::fromStdString(dir.path().string())) {
        training::registerArtwork();
        ctx.settings.NS_MAXFRAGEN = 30;
        ctx.settings.LS_WVORLAGE = false;
        ctx.settings.LS_SAUSWERT = false;
        ctx.settings.LS_FPSHOW = true;
        ctx.settings.LS_SOUND = false;
        ctx.settings.LS_SPEECH = false;
    }
    void write(const std::vector<trainingfixture::Question>& questions) {
        ASSERT_TRUE(trainingfixture::writeCatalog(dir.path(), questions));
        ASSERT_EQ(catalog::MAKELOCAL(dir.path(), "LOCAL1"), catalog::MakeLocalResult::Created);
    }

    lwtest::TempDir dir;
    lwtest::ScriptedContext ctx;
};

// Calls `act` with the active modal dialog every few milliseconds while the code under test runs its exec();
// `act` returns true when it has done everything. Each action runs from the event loop, not from the polling
// timer, so that a dialog it opens is polled in turn. A script still unfinished after 20 seconds fails the test
// and rejects what is open, so that nothing hangs.
inline void drive(std::function<bool(QWidget* modal)> act) {
    auto* timer = new QTimer;
    auto ticks = std::make_shared<int>(0);
    auto acting = std::make_shared<std::set<QWidget*>>();
    timer->setInterval(15);
    QObject::connect(timer, &QTimer::timeout, [timer, ticks, acting, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (++*ticks > 1300) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "the script did not finish";
            if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
            return;
        }
        if (!modal || !modal->isVisible() || acting->count(modal)) return;
        if (!modal->isActiveWindow()) {
            modal->activateWindow();
            return;
        }
        acting->insert(modal);
        QTimer::singleShot(0, modal, [timer, acting, act, modal] {
            const bool done = act(modal);
            acting->erase(modal);
            if (done) {
                timer->stop();
                timer->deleteLater();
            }
        });
    });
    timer->start();
}

} // namespace trainingui
