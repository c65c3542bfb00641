#pragma once

#include <QString>

namespace core {
class Context;
}

namespace shell {

constexpr int kUserNameLength = 30;
constexpr int kPasswordLength = 10;

// A text cut or blank-padded to n characters, as the user slots and the login fields hold it.
QString padTo(const QString& text, int n);
// The text without the blanks that pad it on the right; fields show it so, and the settings file keeps it so
// (a padded value reads back the same).
QString unpadded(QString text);

// Section [User] of the settings file, with names and passwords padded as the dialogs show them.
struct UserRecords {
    bool twoUser = false;
    QString lastUser;
    QString lastPass;
    QString userName1;
    QString userPass1;
    QString userName2;
    QString userPass2;
    QString dbfPrefix; // [Path] DBF
};
UserRecords readUsers(const core::Context& ctx);

// What confirming the login dialog means.
enum class LoginVerdict {
    SwitchedOff, // " abschalten" ticked: close without any check
    Empty,       // both fields empty: "Bitte Benutzername und Passwort eingeben !"
    User1,
    User2,
    Wrong, // "Name oder Passwort falsch !"
};

// Names and passwords compare in upper case, both sides padded (30 and 10 characters). An empty user slot never
// matches, since both fields empty is answered before.
LoginVerdict checkLogin(const UserRecords& users, const QString& name, const QString& password, bool switchOff);

// One run of the login dialog: the state the dialog's actions change and what happens after it closes, however
// it was closed. The dialog itself is LoginDialog (logindialog.h); this is testable without it.
class LoginSession {
public:
    explicit LoginSession(core::Context& ctx);

    const UserRecords& users() const { return m_users; }

    // The confirm button: the verdict; for User1/User2 the login state is set already.
    LoginVerdict confirm(const QString& name, const QString& password, bool switchOff);
    // The cancel button after its notice: nobody logged in, user 1's table.
    void cancel();
    // After the dialog: writes TwoUser, LastUser and LastPass, creates user 2's table at the first login and
    // announces the new login state (the main window's title and the login menu item follow it).
    void finish(const QString& name, const QString& password, bool switchOff);

private:
    core::Context& m_ctx;
    UserRecords m_users;
    bool m_user2LoggedIn = false;
};

// The main window's title: " " + release, and " - Benutzer: " + the user's name when one is logged in and two-user
// mode stays on.
QString mainWindowTitle(const core::Context& ctx, bool twoUserOn);

// MAKELOCAL as the shell calls it (the start, user 2's first login): when the learning-state table cannot be
// created, the learner is told which file and that the progress of this run is not saved. False then.
bool makeLearningState(core::Context& ctx, const QString& name);
// That message, for the table file at `path`.
QString learningStateProblemText(const QString& path);

// Writes the two-user settings as SETUPUSER saves them.
bool writeTwoUserSettings(const core::Context& ctx, bool twoUser, const QString& name1, const QString& pass1,
                          const QString& name2, const QString& pass2);

} // namespace shell
