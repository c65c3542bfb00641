#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace core {
class Context;
}

namespace online {

// The parts of a mailer command line ("SndMail -f ... -X ... -r ... -s "..." ...").
struct MailCommand {
    QString from;            // -f envelope sender
    QString server;          // -X host, or host:port
    QString to;              // -r
    QString subject;         // -s
    QString bodyFile;        // -b
    QString user;            // -u
    QString password;        // -p
    QString auth;            // -h LOGIN or PLAIN
    QString replyTo;         // -R
    QString display;         // -F "Name <address>"
    QStringList attachments; // -a, one per entry; empty entries attach nothing
};

// SENDMAIL's command line. Values with blanks or quotes are enclosed in double quotes; a double quote inside a
// value becomes a single one, since the line has no escape.
QString buildCommandLine(const MailCommand& command);
// The mailer's reading of such a line; nothing when it does not start with "SndMail" or names no recipient.
std::optional<MailCommand> parseCommandLine(const QString& line);

// Error codes of the mailer besides libcurl's own (which it returns as they are).
enum MailerCode : int {
    kMailSent = 0,
    kMailBadCommandLine = 900,
    kMailNoBody = 901,
    kMailNotOpened = 902,
};

// The mailer's three entry points: open once, send by command line, close. Sending returns 0 for a mail the
// server accepted and an error code otherwise.
void SMTPLIBOPEN();
int SMTPSENDMAIL(const QString& commandLine);
void SMTPLIBCLOSE();

// The message the mailer sends for a command, headers and body, lines ended by CR LF (for the tests).
QByteArray composeMessage(const MailCommand& command, const QByteArray& body);

// SENDMAIL: builds the command line and sends through the mailer; any code but 0 is shown with its number.
bool SENDMAIL(core::Context& ctx, const QString& from, const QString& server, const QString& to, const QString& subject,
              const QString& bodyFile, const QStringList& attachments, const QString& user, const QString& password,
              const QString& replyTo, const QString& name);

} // namespace online
