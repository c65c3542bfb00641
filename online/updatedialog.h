#pragma once

#include <QDialog>

#include <memory>
#include <optional>

#include "core/context.h"
#include "online/update.h"

class QPushButton;

namespace ui {
class Label;
}

namespace online {

// The update dialog: four lines that follow the check, "&Start" for the one attempt an opening allows and
// "&Ende". It closes by itself once an installer was received.
class UpdateDialog : public QDialog {
    Q_OBJECT
public:
    UpdateDialog(core::Context& ctx, QWidget* parent = nullptr);

    UpdateRun& run() { return m_run; }
    bool received() const { return m_run.state.LOK; }
    bool running() const { return m_running; }

    QPushButton* startButton() const { return m_start; }
    QPushButton* endButton() const { return m_end; }
    // "Verbinden mit", "Status", "Dateistatus", "Download".
    ui::Label* value(int line) const { return m_values[line]; }

    void start();
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showState();

    core::Context& m_ctx;
    UpdateRun m_run;
    core::HelpTopicScope m_topic;
    QPushButton* m_start = nullptr;
    QPushButton* m_end = nullptr;
    ui::Label* m_values[4] = {};
    bool m_running = false;
};

// DOWNLOADIT: the dialog; with a received installer the program file is backed up, the installer started and
// the main window closed, which ends the program.
void DOWNLOADIT(core::Context& ctx, QWidget* mainWindow, const QString& programFile = {});

} // namespace online
