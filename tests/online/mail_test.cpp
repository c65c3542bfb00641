#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "online/mailer.h"
#include "online/mailsupport.h"
#include "platform/inifile.h"
#include "servers.h"
#include "support/scripted.h"
#include "support/testdir.h"

namespace {

using Kind = lwtest::ScriptedMessages::Kind;

class MailTest : public ::testing::Test {
protected:
    MailTest() : root(QString::fromStdString(dir.path().string())), ctx(root) {
        lwtest::writeFile(dir / "Error.log",
                          "Fehler in Zeile 1\r\nGroesse: 1.234 Bytes \xe4\xf6\xfc\r\n.\r\nEnde\r\n\x1a");
    }
    void set(const char* section, const char* key, const QString& value) {
        platform::writeProfileString(ctx.path(QStringLiteral("TAVOLIN.INI")), QString::fromLatin1(section),
                                     QString::fromLatin1(key), value);
    }
    void account(int port, const QString& password = QStringLiteral("geheim")) {
        set("MailSupport", "Server", QStringLiteral("127.0.0.1"));
        set("MailSupport", "Port", QString::number(port));
        set("MailSupport", "User", QStringLiteral("konto@lenkwerk.example"));
        set("MailSupport", "Password", password);
        set("MailSupport", "SendTo", QStringLiteral("hilfe@lenkwerk.example"));
    }
    void sender() {
        set("MailSupport", "Name", QStringLiteral("Erika Mustermann"));
        set("MailSupport", "Reply", QStringLiteral("erika@example.org"));
    }
    bool bodyFileLeft() const { return QFileInfo::exists(root + QStringLiteral("/SendMail.txt")); }
    QByteArray received() const {
        QFile f(root + QStringLiteral("/received.eml"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    const std::vector<lwtest::ScriptedMessages::Shown>& shown() const { return ctx.scripted.messages->shown(); }

    lwtest::TempDir dir;
    QString root;
    lwtest::ScriptedContext ctx;
    int setupCalls = 0;
    online::MailSetup noSetup = [this](core::Context&, const QString&) {
        ++setupCalls;
        return false;
    };
};

} // namespace

TEST(Mailer, TheCommandLineReadsBackAsItWasBuilt) {
    online::MailCommand c;
    c.from = QStringLiteral("konto@example.org");
    c.server = QStringLiteral("smtp.example.org:587");
    c.to = QStringLiteral("hilfe@example.org");
    c.subject = QStringLiteral("Programmfehler in QRT \"Lenkwerk\" v2.41");
    c.bodyFile = QStringLiteral("/tmp/mit Blank/SendMail.txt");
    c.user = c.from;
    c.password = QStringLiteral("abcdefgh");
    c.auth = QStringLiteral("LOGIN");
    c.replyTo = QStringLiteral("erika@example.org");
    c.display = QStringLiteral("Erika Mustermann <konto@example.org>");
    c.attachments = {QString()};
    const QString line = online::buildCommandLine(c);
    EXPECT_TRUE(line.startsWith(QStringLiteral("SndMail -f konto@example.org -X smtp.example.org:587 -r ")));
    EXPECT_TRUE(line.endsWith(QStringLiteral(" -h LOGIN -R erika@example.org -F \"Erika Mustermann "
                                             "<konto@example.org>\" -a ")))
        << line.toStdString();
    const auto back = online::parseCommandLine(line);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->subject, QStringLiteral("Programmfehler in QRT 'Lenkwerk' v2.41"));
    EXPECT_EQ(back->bodyFile, c.bodyFile);
    EXPECT_EQ(back->display, c.display);
    EXPECT_EQ(back->password, c.password);
    EXPECT_EQ(back->replyTo, c.replyTo);
    EXPECT_EQ(back->attachments, QStringList{QString()});
    // An empty reply address stays empty instead of swallowing the next option.
    c.replyTo.clear();
    EXPECT_EQ(online::parseCommandLine(online::buildCommandLine(c))->display, c.display);
    EXPECT_FALSE(online::parseCommandLine(QStringLiteral("rm -rf /")));
}

TEST(Mailer, HeadersCannotBeSmuggledInThroughNameOrSubject) {
    online::MailCommand c;
    c.from = QStringLiteral("konto@example.org");
    c.to = QStringLiteral("hilfe@example.org");
    c.subject = QStringLiteral("Hallo\r\nBcc: opfer@example.org");
    c.display = QStringLiteral("Jörg\nBcc: x@example.org <konto@example.org>");
    const QByteArray m = online::composeMessage(c, "Text\x1a");
    EXPECT_FALSE(m.contains("\nBcc:"));
    EXPECT_TRUE(m.contains("From: \"=?UTF-8?B?"));
    EXPECT_TRUE(m.endsWith("\r\n\r\nText\r\n"));
}

TEST(SenderCheck, NameNeedsABlankAddressAnAtAndBothFiveCharacters) {
    using online::SenderCheck;
    EXPECT_EQ(online::checkSender(QStringLiteral("Erika"), QStringLiteral("e@example.org")),
              SenderCheck::WrongNameOrAddress);
    EXPECT_EQ(online::checkSender(QStringLiteral("Erika M"), QStringLiteral("example.org")),
              SenderCheck::WrongNameOrAddress);
    EXPECT_EQ(online::checkSender(QStringLiteral("E M"), QStringLiteral("e@example.org")), SenderCheck::TooShort);
    EXPECT_EQ(online::checkSender(QStringLiteral("Erika M"), QStringLiteral("e@x")), SenderCheck::TooShort);
    EXPECT_EQ(online::checkSender(QStringLiteral("Erika M   "), QStringLiteral("e@x.de")), SenderCheck::Ok);
}

TEST_F(MailTest, TheSupportMailReachesTheServerWithSubjectBodyReplyAndName) {
    ScriptServer smtp("smtpserver.py", root + QStringLiteral("/received.eml"));
    ASSERT_GT(smtp.port(), 0);
    account(smtp.port());
    sender();
    ctx.scripted.messages->queueAnswer(true);
    online::MAILSUPPORT(ctx, QStringLiteral("Programmfehler in QRT Lenkwerk-Trainer 2007 v2.41"),
                        QStringLiteral("Error.log"), noSetup);
    EXPECT_EQ(setupCalls, 0) << "a stored sender is not asked for";
    ASSERT_EQ(shown().size(), 1u) << "only the connection question";
    EXPECT_EQ(shown()[0].kind, Kind::YesNo);
    EXPECT_EQ(shown()[0].title, QStringLiteral("Palomar - Mailversand"));
    EXPECT_FALSE(bodyFileLeft());
    const QByteArray mail = received();
    EXPECT_TRUE(mail.startsWith("FROM konto@lenkwerk.example\nTO hilfe@lenkwerk.example\nAUTH yes\n"))
        << mail.left(200).data();
    EXPECT_TRUE(mail.contains("Subject: Programmfehler in QRT Lenkwerk-Trainer 2007 v2.41\r\n"));
    EXPECT_TRUE(mail.contains("Reply-To: <erika@example.org>\r\n"));
    EXPECT_TRUE(mail.contains("From: \"Erika Mustermann\" <konto@lenkwerk.example>\r\n"));
    EXPECT_TRUE(mail.contains("Groesse: 1.234 Bytes \xc3\xa4\xc3\xb6\xc3\xbc\r\n.\r\nEnde\r\n")) << mail.data();
    EXPECT_FALSE(mail.contains('\x1a'));
}

TEST_F(MailTest, ARefusedLoginShowsTheErrorCode) {
    ScriptServer smtp("smtpserver.py", root + QStringLiteral("/received.eml"));
    account(smtp.port(), QStringLiteral("falsch"));
    sender();
    ctx.scripted.messages->queueAnswer(true);
    online::MAILSUPPORT(ctx, QStringLiteral("Test"), QStringLiteral("Error.log"), noSetup);
    ASSERT_EQ(shown().size(), 2u);
    EXPECT_EQ(shown()[1].kind, Kind::Warning);
    EXPECT_EQ(shown()[1].text, QStringLiteral("Die Email konnte nicht versandt werden !\rFehlercode: 67"));
    EXPECT_EQ(shown()[1].title, QStringLiteral("Problem"));
    EXPECT_TRUE(received().isEmpty());
    EXPECT_FALSE(bodyFileLeft());
}

TEST_F(MailTest, WithoutSenderAccountOrConsentNothingIsSentAndNoBodyFileStays) {
    // No sender and the dialog left: the alert, nothing else.
    lwtest::writeFile(dir / "SendMail.txt", "alt");
    online::MAILSUPPORT(ctx, QStringLiteral("Test"), QStringLiteral("Error.log"), noSetup);
    EXPECT_EQ(setupCalls, 1);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text, QStringLiteral("Es kann keine Email ohne Absender versandt werden"));
    EXPECT_FALSE(bodyFileLeft());

    // A sender given by the caller is stored, but without an account there is nothing to send through.
    ctx.scripted.messages->clear();
    online::MAILSUPPORT(ctx, QStringLiteral("Test"), QStringLiteral("Error.log"), noSetup, QStringLiteral("Max Muster"),
                        QStringLiteral("max@example.org"));
    EXPECT_EQ(setupCalls, 1);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_TRUE(shown()[0].text.startsWith(QStringLiteral("Für den Mailversand ist kein Postausgang eingerichtet.")));
    EXPECT_EQ(platform::readProfileString(ctx.path(QStringLiteral("TAVOLIN.INI")), QStringLiteral("MailSupport"),
                                          QStringLiteral("Reply"), {}),
              QStringLiteral("max@example.org"));

    // "Nein" to the connection question ends silently.
    ctx.scripted.messages->clear();
    account(1);
    ctx.scripted.messages->queueAnswer(false);
    online::MAILSUPPORT(ctx, QStringLiteral("Test"), QStringLiteral("Error.log"), noSetup);
    EXPECT_EQ(shown().size(), 1u);
    EXPECT_FALSE(bodyFileLeft());
}
