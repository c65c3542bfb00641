#pragma once

#include "ui/services.h"
#include "ui/skinneddialog.h"

namespace ui {

class BitmapButton;
class CloseButton;
class Label;
class ProgressBar;

// The yes/no question and the notice in the program's own style.
class MessageDialog : public SkinnedDialog {
    Q_OBJECT
public:
    enum class Kind {
        YesNo, // "Ja" left, "Nein" right
        NoYes, // "Nein" left and first in the tab order, "Ja" right
        Info,  // one "Ok"
    };

    MessageDialog(Kind kind, const QString& message, const QString& title, QWidget* parent = nullptr);

    // True only when the user chose "Ja"; every other way out answers No, and a notice always answers false.
    bool answer() const { return m_answer; }
    // Shows the dialog modally and returns answer().
    bool ask();

    BitmapButton* yesButton() const { return m_yes; }
    BitmapButton* noButton() const { return m_no; }
    BitmapButton* okButton() const { return m_ok; }
    CloseButton* closeButton() const { return m_close; }
    Label* titleLabel() const { return m_title; }
    Label* messageLabel() const { return m_message; }

private:
    bool m_answer = false;
    BitmapButton* m_yes = nullptr;
    BitmapButton* m_no = nullptr;
    BitmapButton* m_ok = nullptr;
    CloseButton* m_close = nullptr;
    Label* m_title = nullptr;
    Label* m_message = nullptr;
};

// The progress dialog: runs its action once it is shown and refuses to close until the action has returned.
class MeterDialog : public SkinnedDialog {
    Q_OBJECT
public:
    MeterDialog(core::MeterAction action, const QString& text, const QString& title, QWidget* parent = nullptr);

    // Shows the dialog, runs the action, and returns when the dialog has closed.
    void run();

    bool done() const { return m_done; }
    ProgressBar* bar() const { return m_bar; }
    Label* textLabel() const { return m_text; }
    Label* titleLabel() const { return m_title; }
    CloseButton* closeButton() const { return m_close; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void runAction();

    core::MeterAction m_action;
    bool m_done = false;
    bool m_started = false;
    ProgressBar* m_bar = nullptr;
    Label* m_text = nullptr;
    Label* m_title = nullptr;
    CloseButton* m_close = nullptr;
};

// The platform's own warning box ("Problem" messages of a few callers).
void showWarningBox(QWidget* parent, const QString& message, const QString& title);

} // namespace ui
