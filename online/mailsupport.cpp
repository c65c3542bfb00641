#include "online/mailsupport.h"

#include <QFile>

#include "core/context.h"
#include "online/mailer.h"
#include "online/settings.h"
#include "platform/inifile.h"

namespace online {

namespace {

const QString kProblem = QStringLiteral("Problem");

// Removes the body file when the sending ends, on every way out.
struct BodyFileGuard {
    QString path;
    ~BodyFileGuard() { QFile::remove(path); }
};

} // namespace

SenderCheck checkSender(const QString& name, const QString& reply) {
    const QString n = name.trimmed();
    const QString r = reply.trimmed();
    if (!n.contains(QLatin1Char(' ')) || !r.contains(QLatin1Char('@'))) return SenderCheck::WrongNameOrAddress;
    if (n.size() < 5 || r.size() < 5) return SenderCheck::TooShort;
    return SenderCheck::Ok;
}

QString senderCheckMessage(SenderCheck check) {
    switch (check) {
    case SenderCheck::WrongNameOrAddress:
        return QStringLiteral("Falscher Name oder falsche Email-Adresse !");
    case SenderCheck::TooShort:
        return QStringLiteral("Sie müssen einen Namen und eine Email-Adresse eingeben !");
    case SenderCheck::Ok:
        break;
    }
    return {};
}

bool saveSender(const core::Context& ctx, const QString& name, const QString& reply) {
    const QString ini = iniFile(ctx);
    const QString section = QStringLiteral("MailSupport");
    bool ok = platform::writeProfileString(ini, section, QStringLiteral("Name"), name.trimmed());
    return platform::writeProfileString(ini, section, QStringLiteral("Reply"), reply.trimmed()) && ok;
}

void MAILSUPPORT(core::Context& ctx, const QString& subject, const QString& fileName, const MailSetup& mailSetup,
                 const QString& defaultName, const QString& defaultReply) {
    BodyFileGuard guard{ctx.path(kMailBodyFile)};
    OnlineSettings s = readOnlineSettings(ctx);
    if (s.Name.trimmed().isEmpty() && s.Reply.trimmed().isEmpty() &&
        !(defaultName.trimmed().isEmpty() && defaultReply.trimmed().isEmpty())) {
        saveSender(ctx, defaultName, defaultReply);
        s = readOnlineSettings(ctx);
    }
    if (s.Name.trimmed().isEmpty() && s.Reply.trimmed().isEmpty()) {
        if (!mailSetup || !mailSetup(ctx, subject)) {
            core::WARNBOX(ctx, QStringLiteral("Es kann keine Email ohne Absender versandt werden"), kProblem);
            return;
        }
        s = readOnlineSettings(ctx);
    }
    // The sending account belongs to the installation; without one there is nothing to send through.
    if (s.Server.trimmed().isEmpty() || s.User.trimmed().isEmpty() || s.SendTo.trimmed().isEmpty()) {
        core::WARNBOX(ctx,
                      QStringLiteral("Für den Mailversand ist kein Postausgang eingerichtet.\r"
                                     "Tragen Sie in TAVOLIN.INI im Abschnitt [MailSupport] die Schlüssel Server, "
                                     "Port, User und Password ein (siehe Hilfe, \"Internet-Update und Mail\")."),
                      kProblem);
        return;
    }
    if (!core::MSGYESNO(ctx, QStringLiteral("Haben Sie eine Internet-Verbindung hergestellt ?"),
                        QStringLiteral("Palomar - Mailversand")))
        return;

    QByteArray text;
    QFile source(ctx.path(fileName));
    if (source.open(QIODevice::ReadOnly)) text = source.readAll();
    if (text.endsWith('\x1a')) text.chop(1);
    text += '\x1a';
    QFile body(guard.path);
    if (!body.open(QIODevice::WriteOnly | QIODevice::Truncate) || body.write(text) != text.size()) {
        core::WARNBOX(ctx, QStringLiteral("Die Email konnte nicht vorbereitet werden !"), kProblem);
        return;
    }
    body.close();
    QString server = s.Server.trimmed();
    if (!s.Port.trimmed().isEmpty()) server += QLatin1Char(':') + s.Port.trimmed();
    SENDMAIL(ctx, s.User.trimmed(), server, s.SendTo.trimmed(), subject, guard.path, {QString()}, s.User.trimmed(),
             s.Password, s.Reply.trimmed(), s.Name.trimmed());
}

} // namespace online
