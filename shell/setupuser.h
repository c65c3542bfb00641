#pragma once

#include "ui/skinneddialog.h"

namespace core {
class Context;
}
namespace ui {
class BitmapButton;
class CheckBox;
class MaskedEdit;
class TabWidget;
} // namespace ui

namespace shell {

// The two-user settings: the mode and two names with passwords, in mixed case and clear text.
class SetupUserDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    explicit SetupUserDialog(core::Context& ctx, QWidget* parent = nullptr);

    bool saved() const { return m_saved; }

    ui::TabWidget* tabs() const { return m_tabs; }
    ui::CheckBox* modeBox() const { return m_mode; }
    ui::MaskedEdit* nameField(int user) const { return m_names[user == 2 ? 1 : 0]; }
    ui::MaskedEdit* passwordField(int user) const { return m_passwords[user == 2 ? 1 : 0]; }
    ui::BitmapButton* saveButton() const { return m_save; }
    ui::BitmapButton* helpButton() const { return m_help; }
    ui::BitmapButton* endButton() const { return m_end; }

private:
    void updateUserTabs();

    core::Context& m_ctx;
    bool m_saved = false;
    ui::TabWidget* m_tabs = nullptr;
    ui::CheckBox* m_mode = nullptr;
    ui::MaskedEdit* m_names[2] = {};
    ui::MaskedEdit* m_passwords[2] = {};
    ui::BitmapButton* m_save = nullptr;
    ui::BitmapButton* m_help = nullptr;
    ui::BitmapButton* m_end = nullptr;
};

// SETUPUSER: shows the dialog; when it was saved, writes the two-user settings and runs LOGIN at once.
bool SETUPUSER(core::Context& ctx, QWidget* mainWindow);

} // namespace shell
