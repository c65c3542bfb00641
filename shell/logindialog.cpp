#include "shell/logindialog.h"

#include "shell/dialogparts.h"
#include "shell/layouts.h"
#include "shell/login.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "core/context.h"
#include "core/helptopics.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/maskededit.h"

namespace shell {

namespace {} // namespace

LoginDialog::LoginDialog(core::Context& ctx, LoginSession& session, QWidget* parent)
    : ui::SkinnedDialog(parent), m_ctx(ctx), m_session(session) {
    setWindowTitle(QStringLiteral("Lenkwerk - Benutzeranmeldung"));
    setDialogSize(360, 200);
    ui::DLGPUTBMP(this, QStringLiteral("Login"));

    auto* heading = ui::place(new ui::Label(QStringLiteral("Benutzeranmeldung"), this), layout::login::heading);
    heading->setFont(ui::fontPx(QStringLiteral("MS Sans Serif"), 13, true));
    heading->setColors(Qt::black);

    parts::rightLabel(this, QStringLiteral("Benutzername"), layout::login::nameLabel);
    m_name = ui::place(new ui::MaskedEdit(this), layout::login::name);
    m_name->setUpperCase(kUserNameLength);
    m_name->setReplaceOnFirstKey(true);
    m_name->setText(unpadded(session.users().lastUser).toUpper());

    parts::rightLabel(this, QStringLiteral("Passwort"), layout::login::passwordLabel);
    m_password = ui::place(new ui::MaskedEdit(this), layout::login::password);
    m_password->setUpperCase(kPasswordLength);
    m_password->setReplaceOnFirstKey(true);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setText(unpadded(session.users().lastPass).toUpper());
    for (ui::MaskedEdit* field : {m_name, m_password})
        ui::setColors(field, ui::art::palette::NCOLF, ui::art::palette::NCOLB);
    // A password belongs to its name: whoever types another name types its password too.
    connect(m_name, &QLineEdit::textEdited, m_password, &QLineEdit::clear);

    parts::rightLabel(this, QStringLiteral("Zwei-Benutzer-Modus"), layout::login::modeLabel);
    m_off = ui::place(new ui::CheckBox(QStringLiteral(" &abschalten"), this), layout::login::switchOff);
    m_off->setColors(Qt::black);

    m_confirm = ui::place(new ui::BitmapButton(QStringLiteral("BZ_WEIT"), QStringLiteral("Eingabe bestätigen"), this),
                          layout::login::confirm);
    m_help = ui::place(new ui::BitmapButton(QStringLiteral("BZ_HELP"), QStringLiteral("Hilfe anzeigen"), this),
                       layout::login::help);
    m_cancel =
        ui::place(new ui::BitmapButton(QStringLiteral("BZ_ENDE"), QStringLiteral("Zugangsprüfung abbrechen"), this),
                  layout::login::cancel);
    connect(m_confirm, &QAbstractButton::clicked, this, &LoginDialog::confirm);
    connect(m_help, &QAbstractButton::clicked, this,
            [this] { m_ctx.help().showTopic(core::kHelpFile, m_ctx.helpTopic); });
    connect(m_cancel, &QAbstractButton::clicked, this, &LoginDialog::cancel);
    addAccelerator(QLatin1Char('W'), m_confirm);
    addAccelerator(QLatin1Char('H'), m_help);
    addAccelerator(QLatin1Char('B'), m_cancel);
    // Enter in either field confirms, as the drawn default button "Weiter" promises.
    for (ui::MaskedEdit* field : {m_name, m_password})
        connect(field, &QLineEdit::returnPressed, this, &LoginDialog::confirm);
    m_name->setFocus();
}

QString LoginDialog::name() const {
    return m_name->text();
}

QString LoginDialog::password() const {
    return m_password->text();
}

bool LoginDialog::switchOff() const {
    return m_off->isChecked();
}

void LoginDialog::confirm() {
    switch (m_session.confirm(name(), password(), switchOff())) {
    case LoginVerdict::SwitchedOff:
    case LoginVerdict::User1:
    case LoginVerdict::User2:
        accept();
        break;
    case LoginVerdict::Empty:
        core::WARNBOX(m_ctx, QStringLiteral("Bitte Benutzername und Passwort eingeben !"), QStringLiteral("Problem"));
        break;
    case LoginVerdict::Wrong:
        core::WARNBOX(m_ctx, QStringLiteral("Name oder Passwort falsch !"), QStringLiteral("Problem"));
        m_name->setFocus();
        break;
    }
}

void LoginDialog::cancel() {
    core::MSGINFO(m_ctx, QStringLiteral("Zugangsprüfung abgebrochen, Benutzer 1 aktiv !"), QStringLiteral("Achtung"));
    m_session.cancel();
    reject();
}

void followLoginInTitle(core::Context& ctx, QWidget* window) {
    QObject::connect(&ctx, &core::Context::loginChanged, window,
                     [&ctx, window] { window->setWindowTitle(mainWindowTitle(ctx, ctx.login().twoUser)); });
}

void LOGIN(core::Context& ctx, QWidget* mainWindow) {
    LoginSession session(ctx);
    if (!session.users().twoUser) {
        core::LoginState login = ctx.login();
        login.twoUser = false;
        ctx.setLogin(login);
        return;
    }
    LoginDialog dialog(ctx, session, mainWindow);
    dialog.exec();
    session.finish(dialog.name(), dialog.password(), dialog.switchOff());
}

} // namespace shell
