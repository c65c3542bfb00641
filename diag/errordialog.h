#pragma once

#include <optional>

#include <QApplication>

#include "diag/errorsys.h"
#include "diag/sysinfo.h"
#include "ui/skinneddialog.h"

class QListWidget;
class QPushButton;

namespace diag {

// The error dialog: the error text, the call stack and one to three buttons ("&Wiederholen", "&Ende",
// "&Default"). Esc and closing it mean "&Ende".
class ErrorDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    ErrorDialog(const DialogRequest& request, QWidget* parent = nullptr);
    Choice choice() const { return m_choice; }

    QPushButton* endButton() const { return m_end; }
    QPushButton* retryButton() const { return m_retry; }
    QPushButton* defaultButton() const { return m_default; }
    QListWidget* stackList() const { return m_stack; }

private:
    void choose(Choice choice);

    Choice m_choice = Choice::End;
    QPushButton* m_end = nullptr;
    QPushButton* m_retry = nullptr;
    QPushButton* m_default = nullptr;
    QListWidget* m_stack = nullptr;
};

// Shows the error dialog for every error the handler does not answer quietly, and hands the system information
// the facts of the primary screen.
void installErrorDialog();
// The primary screen's facts, nullopt without a screen.
std::optional<ScreenFacts> primaryScreenFacts();

// The program's application object: an exception escaping an event handler goes to the error handler instead of
// ending the program, and the titles of the program's windows are kept for the log.
class ErrorApplication : public QApplication {
    Q_OBJECT
public:
    ErrorApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The titles of the program's own visible top-level windows, handed to the log.
void refreshWindowTitles();

} // namespace diag
