#pragma once

#include <QDialog>

namespace core {
class Context;
}
namespace ui {
class MaskedEdit;
}
class QPushButton;

namespace online {

// "EMail-Einstellungen": the user's name and address for the support mail.
class MailSetupDialog : public QDialog {
    Q_OBJECT
public:
    MailSetupDialog(core::Context& ctx, const QString& subject, const QString& name, const QString& reply,
                    QWidget* parent = nullptr);

    ui::MaskedEdit* nameField() const { return m_name; }
    ui::MaskedEdit* replyField() const { return m_reply; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* endButton() const { return m_end; }

private:
    ui::MaskedEdit* m_name = nullptr;
    ui::MaskedEdit* m_reply = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_end = nullptr;
};

// MAILSETUP: with a stored name and address nothing to ask; otherwise the dialog, again after every rejected
// entry, until a valid sender is saved (true) or the user leaves it (false).
bool MAILSETUP(core::Context& ctx, const QString& subject);

// MAILSUPPORT with the real sender dialog.
void MAILSUPPORT(core::Context& ctx, const QString& subject, const QString& fileName, const QString& defaultName = {},
                 const QString& defaultReply = {});

} // namespace online
