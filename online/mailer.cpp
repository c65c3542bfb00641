#include "online/mailer.h"

#include <QDateTime>
#include <QFile>
#include <QLibrary>

#include <curl/curl.h>

#include <cstring>
#include <type_traits>

#include "core/context.h"
#include "platform/ansi.h"

namespace online {

namespace {

// libcurl is loaded when the mailer is opened, not with the program: it brings some twenty libraries (TLS,
// Kerberos, LDAP, SSH) whose loading every start would pay for a mail that is rarely sent.
struct Curl {
    QLibrary library{QStringLiteral("curl"), 4};
    decltype(&curl_global_init) globalInit = nullptr;
    decltype(&curl_global_cleanup) globalCleanup = nullptr;
    decltype(&curl_easy_init) easyInit = nullptr;
    CURLcode (*easySetopt)(CURL*, CURLoption, ...) = nullptr;
    decltype(&curl_easy_perform) easyPerform = nullptr;
    decltype(&curl_easy_cleanup) easyCleanup = nullptr;
    decltype(&curl_slist_append) slistAppend = nullptr;
    decltype(&curl_slist_free_all) slistFreeAll = nullptr;

    bool load() {
        if (!library.load()) return false;
        auto get = [this](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
            return function != nullptr;
        };
        return get(globalInit, "curl_global_init") && get(globalCleanup, "curl_global_cleanup") &&
               get(easyInit, "curl_easy_init") && get(easySetopt, "curl_easy_setopt") &&
               get(easyPerform, "curl_easy_perform") && get(easyCleanup, "curl_easy_cleanup") &&
               get(slistAppend, "curl_slist_append") && get(slistFreeAll, "curl_slist_free_all");
    }
};

Curl g_curl;
bool g_open = false;

QString quoted(QString value) {
    value.replace(QLatin1Char('"'), QLatin1Char('\''));
    if (value.isEmpty() || value.contains(QLatin1Char(' ')) || value.contains(QLatin1Char('\t')))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

// Header values never carry a line end: a name or subject with one would start a header of its own.
QByteArray headerSafe(const QString& value) {
    QString v = value;
    v.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return v.trimmed().toUtf8();
}

// RFC 2047 for text with anything beyond ASCII.
QByteArray encodedWord(const QString& value) {
    const QByteArray utf8 = headerSafe(value);
    bool ascii = true;
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    if (ascii) return utf8;
    return "=?UTF-8?B?" + utf8.toBase64() + "?=";
}

// "Name <address>" into its two halves.
void splitDisplay(const QString& display, QString& name, QString& address) {
    const int lt = display.lastIndexOf(QLatin1Char('<'));
    const int gt = display.lastIndexOf(QLatin1Char('>'));
    if (lt >= 0 && gt > lt) {
        name = display.left(lt).trimmed();
        address = display.mid(lt + 1, gt - lt - 1).trimmed();
    } else {
        name.clear();
        address = display.trimmed();
    }
}

struct Upload {
    QByteArray data;
    qsizetype pos = 0;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* user) {
    auto* up = static_cast<Upload*>(user);
    const qsizetype n = std::min<qsizetype>(qsizetype(size * count), up->data.size() - up->pos);
    if (n <= 0) return 0;
    std::memcpy(buffer, up->data.constData() + up->pos, size_t(n));
    up->pos += n;
    return size_t(n);
}

} // namespace

QString buildCommandLine(const MailCommand& c) {
    QString line = QStringLiteral("SndMail -f ") + quoted(c.from);
    line += QStringLiteral(" -X ") + quoted(c.server);
    line += QStringLiteral(" -r ") + quoted(c.to);
    line +=
        QStringLiteral(" -s \"") + QString(c.subject).replace(QLatin1Char('"'), QLatin1Char('\'')) + QLatin1Char('"');
    line += QStringLiteral(" -b ") + quoted(c.bodyFile);
    line += QStringLiteral(" -u ") + quoted(c.user);
    line += QStringLiteral(" -p ") + quoted(c.password);
    line += QStringLiteral(" -h ") + (c.auth.isEmpty() ? QStringLiteral("LOGIN") : c.auth);
    line += QStringLiteral(" -R ") + quoted(c.replyTo);
    line +=
        QStringLiteral(" -F \"") + QString(c.display).replace(QLatin1Char('"'), QLatin1Char('\'')) + QLatin1Char('"');
    for (const QString& a : c.attachments)
        line += QStringLiteral(" -a ") + (a.isEmpty() ? QString() : quoted(a));
    return line;
}

std::optional<MailCommand> parseCommandLine(const QString& line) {
    // Words separated by blanks; a double-quoted run is one word, quotes removed.
    QStringList words;
    QList<bool> wasQuoted;
    QString word;
    bool inQuotes = false, any = false, quotedWord = false;
    for (QChar ch : line) {
        if (ch == QLatin1Char('"')) {
            inQuotes = !inQuotes;
            any = quotedWord = true;
        } else if (!inQuotes && (ch == QLatin1Char(' ') || ch == QLatin1Char('\t'))) {
            if (any) {
                words << word;
                wasQuoted << quotedWord;
            }
            word.clear();
            any = quotedWord = false;
        } else {
            word += ch;
            any = true;
        }
    }
    if (any) {
        words << word;
        wasQuoted << quotedWord;
    }
    if (words.isEmpty() || words.first().compare(QLatin1String("SndMail"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    MailCommand c;
    for (int i = 1; i < words.size(); ++i) {
        const QString& opt = words[i];
        if (wasQuoted[i] || opt.size() != 2 || opt[0] != QLatin1Char('-')) continue;
        // An option without a value is followed directly by the next option or the end.
        QString value;
        if (i + 1 < words.size() && (wasQuoted[i + 1] || !(words[i + 1].size() == 2 && words[i + 1][0] == '-')))
            value = words[++i];
        switch (opt[1].toLatin1()) {
        case 'f':
            c.from = value;
            break;
        case 'X':
            c.server = value;
            break;
        case 'r':
            c.to = value;
            break;
        case 's':
            c.subject = value;
            break;
        case 'b':
            c.bodyFile = value;
            break;
        case 'u':
            c.user = value;
            break;
        case 'p':
            c.password = value;
            break;
        case 'h':
            c.auth = value;
            break;
        case 'R':
            c.replyTo = value;
            break;
        case 'F':
            c.display = value;
            break;
        case 'a':
            c.attachments << value;
            break;
        default:
            break;
        }
    }
    if (c.to.isEmpty() || c.server.isEmpty()) return std::nullopt;
    return c;
}

QByteArray composeMessage(const MailCommand& c, const QByteArray& body) {
    QString name, address;
    splitDisplay(c.display, name, address);
    if (address.isEmpty()) address = c.from;
    QByteArray m;
    m += "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    m += "From: ";
    if (!name.isEmpty()) m += "\"" + encodedWord(name).replace('"', '\'') + "\" ";
    m += "<" + headerSafe(address) + ">\r\n";
    m += "To: <" + headerSafe(c.to) + ">\r\n";
    if (!c.replyTo.trimmed().isEmpty()) m += "Reply-To: <" + headerSafe(c.replyTo) + ">\r\n";
    m += "Subject: " + encodedWord(c.subject) + "\r\n";
    m += "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: 8bit\r\n\r\n";
    // The body file is ANSI text that may end in an end-of-file byte; lines go out with CR LF.
    QByteArray raw = body;
    while (raw.endsWith('\x1a'))
        raw.chop(1);
    QString text = platform::fromAnsi(raw.toStdString());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!text.endsWith(QLatin1Char('\n'))) text += QLatin1Char('\n');
    m += text.toUtf8().replace("\n", "\r\n");
    return m;
}

void SMTPLIBOPEN() {
    // The library stays loaded once it was: unloading it under its TLS back end's exit handlers is not safe.
    if (!g_open) g_open = (g_curl.globalInit || g_curl.load()) && g_curl.globalInit(CURL_GLOBAL_DEFAULT) == CURLE_OK;
}

void SMTPLIBCLOSE() {
    if (g_open) g_curl.globalCleanup();
    g_open = false;
}

int SMTPSENDMAIL(const QString& commandLine) {
    if (!g_open) return kMailNotOpened;
    const auto command = parseCommandLine(commandLine);
    if (!command) return kMailBadCommandLine;
    QFile bodyFile(command->bodyFile);
    if (!bodyFile.open(QIODevice::ReadOnly)) return kMailNoBody;
    Upload upload{composeMessage(*command, bodyFile.readAll()), 0};

    QString host = command->server;
    int port = 587;
    if (const int colon = host.lastIndexOf(QLatin1Char(':')); colon > 0) {
        port = host.mid(colon + 1).toInt();
        host = host.left(colon);
    }
    const QByteArray url = (port == 465 ? "smtps://" : "smtp://") + host.toUtf8() + ':' + QByteArray::number(port);
    const QByteArray from = '<' + command->from.toUtf8() + '>';
    const QByteArray to = '<' + command->to.toUtf8() + '>';
    const QByteArray user = command->user.toUtf8();
    const QByteArray password = command->password.toUtf8();
    const QByteArray auth = "AUTH=" + (command->auth.isEmpty() ? QByteArray("LOGIN") : command->auth.toUtf8());

    const Curl& api = g_curl;
    CURL* curl = api.easyInit();
    if (!curl) return CURLE_FAILED_INIT;
    curl_slist* recipients = api.slistAppend(nullptr, to.constData());
    api.easySetopt(curl, CURLOPT_URL, url.constData());
    api.easySetopt(curl, CURLOPT_MAIL_FROM, from.constData());
    api.easySetopt(curl, CURLOPT_MAIL_RCPT, recipients);
    if (!user.isEmpty()) {
        api.easySetopt(curl, CURLOPT_USERNAME, user.constData());
        api.easySetopt(curl, CURLOPT_PASSWORD, password.constData());
        api.easySetopt(curl, CURLOPT_LOGIN_OPTIONS, auth.constData());
    }
    // STARTTLS whenever the server offers it; port 465 speaks TLS from the start.
    api.easySetopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
    api.easySetopt(curl, CURLOPT_CONNECTTIMEOUT, 10L);
    api.easySetopt(curl, CURLOPT_TIMEOUT, 60L);
    api.easySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    api.easySetopt(curl, CURLOPT_READFUNCTION, readUpload);
    api.easySetopt(curl, CURLOPT_READDATA, &upload);
    api.easySetopt(curl, CURLOPT_UPLOAD, 1L);
    const CURLcode result = api.easyPerform(curl);
    api.slistFreeAll(recipients);
    api.easyCleanup(curl);
    return int(result);
}

bool SENDMAIL(core::Context& ctx, const QString& from, const QString& server, const QString& to, const QString& subject,
              const QString& bodyFile, const QStringList& attachments, const QString& user, const QString& password,
              const QString& replyTo, const QString& name) {
    MailCommand c;
    c.from = from;
    c.server = server;
    c.to = to;
    c.subject = subject;
    c.bodyFile = bodyFile;
    c.attachments = attachments;
    c.user = user;
    c.password = password;
    c.auth = QStringLiteral("LOGIN");
    c.replyTo = replyTo;
    c.display = name + QStringLiteral(" <") + from + QLatin1Char('>');
    SMTPLIBOPEN();
    const int result = SMTPSENDMAIL(buildCommandLine(c));
    SMTPLIBCLOSE();
    if (result != 0)
        core::WARNBOX(
            ctx, QStringLiteral("Die Email konnte nicht versandt werden !\rFehlercode: ") + QString::number(result),
            QStringLiteral("Problem"));
    return result == 0;
}

} // namespace online
