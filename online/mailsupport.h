#pragma once

#include <QString>

#include <functional>

namespace core {
class Context;
}

namespace online {

inline const QString kMailBodyFile = QStringLiteral("SendMail.txt");
constexpr int kSenderFieldLength = 100;

// MAILSETUP's check of an entry: a name of first name and surname and an address with "@", each at least five
// characters long.
enum class SenderCheck { Ok, WrongNameOrAddress, TooShort };
SenderCheck checkSender(const QString& name, const QString& reply);
QString senderCheckMessage(SenderCheck check);
// Stores name and address in [MailSupport].
bool saveSender(const core::Context& ctx, const QString& name, const QString& reply);

// The sender dialog as MAILSUPPORT needs it: true when a valid sender was saved.
using MailSetup = std::function<bool(core::Context& ctx, const QString& subject)>;

// MAILSUPPORT: sends the text of `fileName` (a file of the program folder) to the support mailbox; asks for the
// sender through `mailSetup` when none is stored. SendMail.txt is gone afterwards, whatever happened.
void MAILSUPPORT(core::Context& ctx, const QString& subject, const QString& fileName, const MailSetup& mailSetup,
                 const QString& defaultName = {}, const QString& defaultReply = {});

} // namespace online
