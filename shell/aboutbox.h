#pragma once

#include "ui/skinneddialog.h"

class QLabel;
class QTimer;

namespace core {
class Context;
}
namespace ui {
class Label;
} // namespace ui

namespace shell {

// How long the about box stays: three seconds at start-up, ten from the menu. Tests shorten them.
struct AboutTimes {
    int startupMs = 3000;
    int menuMs = 10000;
};
void setAboutTimes(const AboutTimes& times);
AboutTimes aboutTimes();

// The about box: the publisher's picture and contact lines on the "ABOUT" skin. A click anywhere closes it, and
// so does a timer started when it is first painted.
class AboutDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    AboutDialog(core::Context& ctx, bool startup, QWidget* parent = nullptr);

    int waitMs() const { return m_waitMs; }
    QLabel* picture() const { return m_picture; }
    ui::Label* firmLines() const { return m_firm; }
    ui::Label* contactLines() const { return m_contact; }
    ui::Label* rightsLine() const { return m_rights; }
    QTimer* closeTimer() const { return m_timer; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int m_waitMs;
    QLabel* m_picture = nullptr;
    ui::Label* m_firm = nullptr;
    ui::Label* m_contact = nullptr;
    ui::Label* m_rights = nullptr;
    QTimer* m_timer = nullptr;
};

// ABOUTINFO: reads the release and the about lines again, then shows the box modally until it closes.
bool ABOUTINFO(core::Context& ctx, bool startup, QWidget* parent = nullptr);

// ABOUTWAIT: a timer on the dialog that closes it after `milliseconds`; it dies with the dialog.
QTimer* ABOUTWAIT(QDialog* dialog, int milliseconds);

} // namespace shell
