#include "shell/startupreport.h"

#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include "shell/aboutbox.h"
#include "shell/mainwindow.h"

namespace shell {

std::unique_ptr<StartupReport> StartupReport::fromEnvironment() {
    bool ok = false;
    const int stayMs = qEnvironmentVariableIntValue("LENKWERK_STARTUP_REPORT", &ok);
    if (!ok || stayMs < 0) return nullptr;
    std::unique_ptr<StartupReport> report(new StartupReport(stayMs));
    qApp->installEventFilter(report.get());
    return report;
}

StartupReport::StartupReport(int stayMs) : m_stayMs(stayMs) {}

void StartupReport::write(const char* instant) {
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    std::fprintf(stderr, "lenkwerk-startup %s %lld\n", instant, static_cast<long long>(ns));
    std::fflush(stderr);
}

void StartupReport::aboutClosed() {
    write("about-closed");
    m_stage = Stage::MainWindow;
}

bool StartupReport::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Paint || m_stage == Stage::Done) return false;
    const bool wanted = m_stage == Stage::About ? qobject_cast<AboutDialog*>(watched) != nullptr
                                                : qobject_cast<Background*>(watched) != nullptr;
    if (wanted) afterFirstPaint(static_cast<QWidget*>(watched));
    return false;
}

void StartupReport::afterFirstPaint(QWidget* widget) {
    const Stage stage = m_stage;
    // The paint runs after this filter, and the frame reaches the screen after the paint; a zero timer fires once
    // both are done and the event queue has nothing more.
    m_stage = Stage::Done;
    QPointer<QWidget> target(widget);
    QTimer::singleShot(0, this, [this, stage, target] {
        if (stage == Stage::About) {
            write("about-painted");
            if (auto* about = qobject_cast<QDialog*>(target.data())) about->accept();
            return;
        }
        write("idle");
        if (!target) return;
        QPointer<QWidget> window(target->window());
        QTimer::singleShot(m_stayMs, this, [window] {
            if (window) window->close();
        });
    });
}

} // namespace shell
