#pragma once

#include <memory>

#include <QObject>

class QWidget;

namespace shell {

// For measuring the start (bench/startup_bench) and for smoke tests of an installed copy: with the environment
// variable LENKWERK_STARTUP_REPORT set to a number of milliseconds, the program writes to stderr one line per
// instant, "lenkwerk-startup <instant> <steady clock in ns>":
//   about-painted  the about box's first frame is on the screen (the box then closes at once)
//   about-closed   the about box has gone
//   idle           the main window's start picture is on the screen and nothing is pending
// and closes its main window, as the user would, that many milliseconds after "idle". Unset, nothing changes.
class StartupReport : public QObject {
    Q_OBJECT
public:
    // Null unless the variable asks for the report.
    static std::unique_ptr<StartupReport> fromEnvironment();

    // The about box of the start has closed.
    void aboutClosed();

    // The line for `instant`, written at once.
    static void write(const char* instant);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit StartupReport(int stayMs);
    void afterFirstPaint(QWidget* widget);

    enum class Stage { About, MainWindow, Done };
    Stage m_stage = Stage::About;
    int m_stayMs;
};

} // namespace shell
