#include "shell/setupuser.h"

#include "shell/dialogparts.h"
#include "shell/layouts.h"
#include "shell/login.h"
#include "shell/logindialog.h"
#include "ui/fonts.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "core/context.h"
#include "core/helptopics.h"
#include "ui/controls.h"
#include "ui/geometry.h"
#include "ui/maskededit.h"

namespace shell {

namespace {

const QString kTopic = core::topicKeyword(core::topic::kTwoUser);

} // namespace

SetupUserDialog::SetupUserDialog(core::Context& ctx, QWidget* parent) : ui::SkinnedDialog(parent), m_ctx(ctx) {
    const UserRecords users = readUsers(ctx);
    setWindowTitle(QStringLiteral("Lenkwerk - Zwei-Benutzer-Modus"));
    ui::DLGPUTBMP(this, QStringLiteral("SetupZ"), true);
    if (skin().isNull()) setDialogSize(455, 303);
    setFont(ui::dialogFont());

    m_tabs = parts::settingsTabs(
        this, {QStringLiteral("&Modus"), QStringLiteral("Benutzer &1"), QStringLiteral("Benutzer &2")});
    QWidget* mode = m_tabs->widget(0);
    parts::rightLabel(mode, QStringLiteral("Zwei-Benutzer-Modus"), layout::setupUser::modeLabel);
    m_mode = ui::place(new ui::CheckBox(QStringLiteral(" einschalten"), mode), layout::setupUser::mode);
    m_mode->setColors(Qt::black);
    m_mode->setChecked(users.twoUser);
    connect(m_mode, &QCheckBox::toggled, this, &SetupUserDialog::updateUserTabs);

    const QString names[2] = {users.userName1, users.userName2};
    const QString passwords[2] = {users.userPass1, users.userPass2};
    for (int i = 0; i < 2; ++i) {
        QWidget* page = m_tabs->widget(i + 1);
        parts::leftLabel(page, QStringLiteral("Name"), layout::setupUser::nameLabel);
        m_names[i] = ui::place(new ui::MaskedEdit(page), layout::setupUser::name);
        m_names[i]->setTextMask(kUserNameLength);
        m_names[i]->setText(unpadded(names[i]));
        parts::leftLabel(page, QStringLiteral("Passwort"), layout::setupUser::passwordLabel);
        m_passwords[i] = ui::place(new ui::MaskedEdit(page), layout::setupUser::password);
        m_passwords[i]->setTextMask(kPasswordLength);
        m_passwords[i]->setText(unpadded(passwords[i]));
        for (ui::MaskedEdit* field : {m_names[i], m_passwords[i]})
            ui::setColors(field, ui::art::palette::NCOLF, ui::art::palette::NCOLB);
    }
    updateUserTabs();

    const parts::SettingsButtons buttons = parts::settingsButtons(this, m_ctx, m_saved);
    m_save = buttons.save;
    m_help = buttons.help;
    m_end = buttons.end;
    addCloseButton(layout::setupUser::close);
}

void SetupUserDialog::updateUserTabs() {
    m_tabs->setTabEnabled(1, m_mode->isChecked());
    m_tabs->setTabEnabled(2, m_mode->isChecked());
}

bool SETUPUSER(core::Context& ctx, QWidget* mainWindow) {
    // The login that follows a save belongs to this dialog's topic too.
    const core::HelpTopicScope topic(ctx, kTopic);
    SetupUserDialog dialog(ctx, mainWindow);
    dialog.exec();
    if (dialog.saved()) {
        writeTwoUserSettings(ctx, dialog.modeBox()->isChecked(), dialog.nameField(1)->text(),
                             dialog.passwordField(1)->text(), dialog.nameField(2)->text(),
                             dialog.passwordField(2)->text());
        LOGIN(ctx, mainWindow);
    }
    return true;
}

} // namespace shell
