#include "shell/login.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "catalog/runfiles.h"
#include "catalog/tables.h"
#include "platform/inifile.h"
#include "platform/programdir.h"
#include "shell/settings.h"
#include "core/context.h"

namespace shell {

namespace {

const QString kUser = QStringLiteral("User");

QString readUser(const QString& ini, const QString& key, int length) {
    return padTo(platform::readProfileString(ini, kUser, key, {}), length);
}

bool writeUser(const QString& ini, const QString& key, const QString& value) {
    return platform::writeProfileString(ini, kUser, key, unpadded(value));
}

// Upper case first, then the padding: a sharp s becomes "SS" and would otherwise leave one side a blank longer.
bool same(const QString& typed, const QString& stored, int length) {
    return padTo(typed.toUpper(), length) == padTo(stored.toUpper(), length);
}

} // namespace

QString padTo(const QString& text, int n) {
    return text.left(n).leftJustified(n, QLatin1Char(' '));
}

QString unpadded(QString text) {
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

UserRecords readUsers(const core::Context& ctx) {
    const QString ini = iniPath(ctx);
    const platform::ProfileReadBatch batch;
    UserRecords u;
    u.twoUser = platform::readProfileFlag(ini, kUser, QStringLiteral("TwoUser"), false);
    u.lastUser = readUser(ini, QStringLiteral("LastUser"), kUserNameLength);
    u.lastPass = readUser(ini, QStringLiteral("LastPass"), kPasswordLength);
    u.userName1 = readUser(ini, QStringLiteral("UserName1"), kUserNameLength);
    u.userName2 = readUser(ini, QStringLiteral("UserName2"), kUserNameLength);
    u.userPass1 = readUser(ini, QStringLiteral("UserPass1"), kPasswordLength);
    u.userPass2 = readUser(ini, QStringLiteral("UserPass2"), kPasswordLength);
    u.dbfPrefix = platform::readProfileString(ini, QStringLiteral("Path"), QStringLiteral("DBF"), {});
    return u;
}

LoginVerdict checkLogin(const UserRecords& users, const QString& name, const QString& password, bool switchOff) {
    if (switchOff) return LoginVerdict::SwitchedOff;
    if (name.trimmed().isEmpty() && password.trimmed().isEmpty()) return LoginVerdict::Empty;
    if (same(name, users.userName1, kUserNameLength) && same(password, users.userPass1, kPasswordLength))
        return LoginVerdict::User1;
    if (same(name, users.userName2, kUserNameLength) && same(password, users.userPass2, kPasswordLength))
        return LoginVerdict::User2;
    return LoginVerdict::Wrong;
}

LoginSession::LoginSession(core::Context& ctx) : m_ctx(ctx), m_users(readUsers(ctx)) {}

LoginVerdict LoginSession::confirm(const QString& name, const QString& password, bool switchOff) {
    const LoginVerdict v = checkLogin(m_users, name, password, switchOff);
    core::LoginState login = m_ctx.login();
    login.twoUser = true; // the dialog runs in two-user mode only
    if (v == LoginVerdict::User1) {
        login.NS_USER = 1;
        login.CS_USER = m_users.userName1;
        login.CS_LOCAL = QStringLiteral("LOCAL1");
        m_ctx.setLogin(login);
    } else if (v == LoginVerdict::User2) {
        login.NS_USER = 2;
        login.CS_USER = m_users.userName2;
        login.CS_LOCAL = QStringLiteral("LOCAL2");
        m_ctx.setLogin(login);
        m_user2LoggedIn = true;
    }
    return v;
}

void LoginSession::cancel() {
    core::LoginState nobody;
    nobody.twoUser = m_ctx.login().twoUser;
    m_ctx.setLogin(nobody);
}

void LoginSession::finish(const QString& name, const QString& password, bool switchOff) {
    const QString ini = iniPath(m_ctx);
    platform::writeProfileFlag(ini, kUser, QStringLiteral("TwoUser"), !switchOff);
    writeUser(ini, QStringLiteral("LastUser"), padTo(name, kUserNameLength));
    writeUser(ini, QStringLiteral("LastPass"), padTo(password, kPasswordLength));
    core::LoginState login = m_ctx.login();
    if (switchOff) login.NS_USER = 0;
    if (m_user2LoggedIn) {
        // The check honours the [Path] DBF prefix; the table itself is made in the program folder.
        const QString local = m_users.dbfPrefix + login.CS_LOCAL + QStringLiteral(".DBF");
        if (!m_ctx.exists(local)) makeLearningState(m_ctx, login.CS_LOCAL);
    }
    login.twoUser = !switchOff;
    m_ctx.setLogin(login); // the window title and the login item follow
}

QString learningStateProblemText(const QString& path) {
    return QStringLiteral("Die Lerndatei\r%1\rkann nicht angelegt werden.\rIhr Lernfortschritt wird in diesem "
                          "Programmlauf nicht gespeichert.")
        .arg(QDir::toNativeSeparators(path));
}

bool makeLearningState(core::Context& ctx, const QString& name) {
    if (catalog::MAKELOCAL(ctx, name.toStdString())) return true;
    core::WARNBOX(ctx, learningStateProblemText(ctx.path(name + QStringLiteral(".DBF"))), QStringLiteral("Problem"));
    return false;
}

QString mainWindowTitle(const core::Context& ctx, bool twoUserOn) {
    QString title = QLatin1Char(' ') + ctx.settings.CRELEASE;
    if (twoUserOn && !ctx.login().CS_USER.isEmpty()) title += QStringLiteral(" - Benutzer: ") + ctx.login().CS_USER;
    return title;
}

bool writeTwoUserSettings(const core::Context& ctx, bool twoUser, const QString& name1, const QString& pass1,
                          const QString& name2, const QString& pass2) {
    const QString ini = iniPath(ctx);
    bool ok = platform::writeProfileFlag(ini, kUser, QStringLiteral("TwoUser"), twoUser);
    ok = writeUser(ini, QStringLiteral("UserName1"), name1) && ok;
    ok = writeUser(ini, QStringLiteral("UserPass1"), pass1) && ok;
    ok = writeUser(ini, QStringLiteral("UserName2"), name2) && ok;
    ok = writeUser(ini, QStringLiteral("UserPass2"), pass2) && ok;
    return ok;
}

} // namespace shell
