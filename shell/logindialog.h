#pragma once

#include "ui/skinneddialog.h"

namespace core {
class Context;
}
namespace ui {
class BitmapButton;
class CheckBox;
class MaskedEdit;
} // namespace ui

namespace shell {

class LoginSession;

// The login dialog: name and password in upper case, prefilled with the last ones typed, and the check box that
// switches two-user mode off. Its buttons act on the session; closing it, however, is finished by LOGIN.
class LoginDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    LoginDialog(core::Context& ctx, LoginSession& session, QWidget* parent = nullptr);

    QString name() const;
    QString password() const;
    bool switchOff() const;

    ui::MaskedEdit* nameField() const { return m_name; }
    ui::MaskedEdit* passwordField() const { return m_password; }
    ui::CheckBox* switchOffBox() const { return m_off; }
    ui::BitmapButton* confirmButton() const { return m_confirm; }
    ui::BitmapButton* helpButton() const { return m_help; }
    ui::BitmapButton* cancelButton() const { return m_cancel; }

private:
    void confirm();
    void cancel();

    core::Context& m_ctx;
    LoginSession& m_session;
    ui::MaskedEdit* m_name = nullptr;
    ui::MaskedEdit* m_password = nullptr;
    ui::CheckBox* m_off = nullptr;
    ui::BitmapButton* m_confirm = nullptr;
    ui::BitmapButton* m_help = nullptr;
    ui::BitmapButton* m_cancel = nullptr;
};

// LOGIN: without two-user mode only the title and the disabled menu item; else the dialog, then the settings,
// user 2's table, the title and the menu item as the dialog left them.
// The window's title follows the login state from now on: the release, and the user's name in two-user mode.
void followLoginInTitle(core::Context& ctx, QWidget* window);

void LOGIN(core::Context& ctx, QWidget* mainWindow);

} // namespace shell
