#pragma once

#include <QString>

#include <span>

#include "core/settingstable.h"

namespace core {
class Context;
}

namespace online {

// The documented placeholder of the download folder: the project has no download server yet, and a reserved
// name can never reach a stranger's. Installations set [Setup] DownLink to their own folder.
inline constexpr const char* kDefaultDownLink = "http://downloads.lenkwerk.example.invalid/Downloads/";
inline constexpr const char* kDefaultSendTo = "support@lenkwerk.example.invalid";

// What the online services keep in TAVOLIN.INI. The mail account is configuration of the installation; it is
// empty until someone enters it, and then mails are refused with a message.
struct OnlineSettings {
    OnlineSettings();

    QString DownLink;   // [Setup] base URL of the download folder
    QString LastUpSize; // [Setup] bytes of the installer downloaded last
    QString Name;       // [MailSupport] the user's name
    QString Reply;      // [MailSupport] the user's address
    QString SendTo;     // [MailSupport] the support mailbox
    QString Server;     // [MailSupport] SMTP server host
    QString Port;       // [MailSupport] its port; empty for the mailer's default (587, 465 with TLS from the start)
    QString User;       // [MailSupport] login and sender address of the sending account
    QString Password;   // [MailSupport] its password
};

std::span<const core::SettingField<OnlineSettings>> onlineSettingsTable();

// The settings file of the program folder and the online settings read from it.
QString iniFile(const core::Context& ctx);
OnlineSettings readOnlineSettings(const core::Context& ctx);

} // namespace online
