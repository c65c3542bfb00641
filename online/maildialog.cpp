#include "online/maildialog.h"

#include <QPushButton>

#include "core/context.h"
#include "online/layouts.h"
#include "online/mailsupport.h"
#include "online/settings.h"
#include "ui/accessible.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/maskededit.h"

namespace online {

namespace at = layout::mailSetup;

MailSetupDialog::MailSetupDialog(core::Context& ctx, const QString& subject, const QString& name, const QString& reply,
                                 QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("EMail-Einstellungen"));
    setFixedSize(at::size);
    setFont(ui::dialogFont());
    setAutoFillBackground(true);
    ui::setColors(this, Qt::black, QColor(Qt::white));

    auto* intro = ui::place(new ui::Label(ctx.settings.CRELEASE + QStringLiteral(" möchte eine Email zum Thema '") +
                                              subject + QStringLiteral("' versenden."),
                                          this),
                            at::intro);
    intro->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    intro->setWordWrap(true);
    ui::place(new ui::Label(QStringLiteral("Geben Sie nun Ihre Email-Daten ein"), this), at::prompt);
    auto* nameLabel = ui::place(new ui::Label(QStringLiteral("Name"), this), at::nameLabel);
    auto* replyLabel = ui::place(new ui::Label(QStringLiteral("Email"), this), at::replyLabel);
    for (ui::Label* l : {nameLabel, replyLabel})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_name = ui::place(new ui::MaskedEdit(this), at::name);
    m_reply = ui::place(new ui::MaskedEdit(this), at::reply);
    for (ui::MaskedEdit* field : {m_name, m_reply}) {
        field->setTextMask(kSenderFieldLength);
        ui::setColors(field, Qt::black, QColor(Qt::white));
    }
    m_name->setText(name.trimmed());
    m_reply->setText(reply.trimmed());

    m_save = ui::place(new QPushButton(QStringLiteral("&Speichern"), this), at::save);
    m_end = ui::place(new QPushButton(QStringLiteral("&Beenden"), this), at::end);
    m_save->setDefault(true);
    ui::nameControlsFromCaptions(this);
    connect(m_save, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_end, &QPushButton::clicked, this, &QDialog::reject);
    m_reply->setFocus();
}

bool MAILSETUP(core::Context& ctx, const QString& subject) {
    const OnlineSettings s = readOnlineSettings(ctx);
    if (!s.Name.trimmed().isEmpty() && !s.Reply.trimmed().isEmpty()) return true;
    QString name = s.Name;
    QString reply = s.Reply;
    for (;;) {
        MailSetupDialog dialog(ctx, subject, name, reply, qobject_cast<QWidget*>(ctx.ownerWindow()));
        if (dialog.exec() != QDialog::Accepted) return false;
        name = dialog.nameField()->text();
        reply = dialog.replyField()->text();
        const SenderCheck check = checkSender(name, reply);
        if (check == SenderCheck::Ok) return saveSender(ctx, name, reply);
        core::WARNBOX(ctx, senderCheckMessage(check), QStringLiteral("Problem"));
    }
}

void MAILSUPPORT(core::Context& ctx, const QString& subject, const QString& fileName, const QString& defaultName,
                 const QString& defaultReply) {
    online::MAILSUPPORT(ctx, subject, fileName, &MAILSETUP, defaultName, defaultReply);
}

} // namespace online
