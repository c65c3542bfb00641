#include "online/settings.h"

#include "core/context.h"

namespace online {

namespace {

constexpr core::SettingField<OnlineSettings> kFields[] = {
    {"Setup", "DownLink", &OnlineSettings::DownLink, kDefaultDownLink},
    {"Setup", "LastUpSize", &OnlineSettings::LastUpSize, ""},
    {"MailSupport", "Name", &OnlineSettings::Name, ""},
    {"MailSupport", "Reply", &OnlineSettings::Reply, ""},
    {"MailSupport", "SendTo", &OnlineSettings::SendTo, kDefaultSendTo},
    {"MailSupport", "Server", &OnlineSettings::Server, ""},
    {"MailSupport", "Port", &OnlineSettings::Port, ""},
    {"MailSupport", "User", &OnlineSettings::User, ""},
    {"MailSupport", "Password", &OnlineSettings::Password, ""},
};

} // namespace

OnlineSettings::OnlineSettings() {
    core::applyDefaults<OnlineSettings>(*this, onlineSettingsTable());
}

std::span<const core::SettingField<OnlineSettings>> onlineSettingsTable() {
    return kFields;
}

QString iniFile(const core::Context& ctx) {
    return ctx.path(QStringLiteral("TAVOLIN.INI"));
}

OnlineSettings readOnlineSettings(const core::Context& ctx) {
    OnlineSettings s;
    core::readSettings<OnlineSettings>(s, onlineSettingsTable(), iniFile(ctx));
    return s;
}

} // namespace online
