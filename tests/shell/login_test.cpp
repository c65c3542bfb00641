#include <QMainWindow>
#include <QTest>

#include "catalog/runfiles.h"
#include "platform/inifile.h"
#include "shell/login.h"
#include "shell/logindialog.h"
#include "shell/settings.h"
#include "store/faultinject.h"
#include "shelltest.h"
#include "store/workarea.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/maskededit.h"

using shell::LoginDialog;
using shell::LoginVerdict;
using shelltest::ShellTest;

namespace {

using Msg = lwtest::ScriptedMessages::Kind;

// Types into a field as the user does: the first key replaces the prefilled content.
void type(QWidget* field, const QString& text) {
    field->setFocus();
    QTest::keyClicks(field, text);
}

} // namespace

TEST(LoginCheck, NamesAndPasswordsCompareInUpperCaseAndPadded) {
    shell::UserRecords u;
    u.userName1 = shell::padTo(QStringLiteral("Anna Berg"), 30);
    u.userPass1 = shell::padTo(QStringLiteral("geheim"), 10);
    u.userName2 = shell::padTo(QStringLiteral("Ben"), 30);
    u.userPass2 = shell::padTo(QString(), 10);
    EXPECT_EQ(shell::checkLogin(u, QStringLiteral("ANNA BERG"), QStringLiteral("GEHEIM"), false), LoginVerdict::User1);
    EXPECT_EQ(shell::checkLogin(u, QStringLiteral("ANNA BERG  "), QStringLiteral("geheim"), false),
              LoginVerdict::User1);
    EXPECT_EQ(shell::checkLogin(u, QStringLiteral("BEN"), QString(), false), LoginVerdict::User2);
    EXPECT_EQ(shell::checkLogin(u, QStringLiteral("ANNA BERG"), QStringLiteral("GEHEIMX"), false), LoginVerdict::Wrong);
    EXPECT_EQ(shell::checkLogin(u, QStringLiteral("ANNA"), QStringLiteral("GEHEIM"), false), LoginVerdict::Wrong);
    EXPECT_EQ(shell::checkLogin(u, QStringLiteral("  "), QString(), false), LoginVerdict::Empty);
    EXPECT_EQ(shell::checkLogin(u, QString(), QString(), true), LoginVerdict::SwitchedOff);
    // An unused slot (no name, no password) is never a way in.
    u.userName2 = shell::padTo(QString(), 30);
    EXPECT_EQ(shell::checkLogin(u, QString(), QStringLiteral("X"), false), LoginVerdict::Wrong);
}

class Login : public ShellTest {
protected:
    void SetUp() override {
        shelltest::writeCatalog(dir.path());
        writeIni("[About]\r\nRelease=Lenkwerk 9\r\n[User]\r\nTwoUser=1\r\nUserName1=Anna Berg\r\nUserPass1=geheim\r\n"
                 "UserName2=Ben Kurz\r\nUserPass2=b2\r\n");
        shell::SETPUBLICS(ctx, false);
        shell::followLoginInTitle(ctx, &window);
    }

    QString user(const char* key) const {
        return platform::readProfileString(shell::iniPath(ctx), QStringLiteral("User"), QString::fromLatin1(key),
                                           QStringLiteral("<missing>"));
    }

    // Runs LOGIN; `act` works the dialog and must close it.
    void login(std::function<void(LoginDialog*)> act) {
        shelltest::onNextDialog<LoginDialog>(std::move(act));
        shell::LOGIN(ctx, &window);
    }

    QMainWindow window;
};

TEST_F(Login, WithoutTwoUserModeNoDialogOpensAndTheItemIsGreyed) {
    writeIni("[User]\r\nTwoUser=0\r\n");
    shell::LOGIN(ctx, &window); // a dialog here would block the test
    EXPECT_EQ(window.windowTitle(), QStringLiteral(" Lenkwerk 9"));
    EXPECT_FALSE(ctx.login().twoUser);
    EXPECT_EQ(ctx.login().NS_USER, 0);
}

TEST_F(Login, AnUpperCaseNameLogsInAMixedCaseUserWhoseStoredNameIsShown) {
    login([](LoginDialog* d) {
        type(d->nameField(), QStringLiteral("anna berg"));
        EXPECT_EQ(d->nameField()->text(), QStringLiteral("ANNA BERG"));
        type(d->passwordField(), QStringLiteral("geheim"));
        QTest::mouseClick(d->confirmButton(), Qt::LeftButton);
    });
    EXPECT_EQ(ctx.login().NS_USER, 1);
    EXPECT_EQ(ctx.login().CS_LOCAL, QStringLiteral("LOCAL1"));
    EXPECT_EQ(ctx.login().CS_USER.trimmed(), QStringLiteral("Anna Berg"));
    EXPECT_EQ(window.windowTitle().trimmed(), QStringLiteral("Lenkwerk 9 - Benutzer: Anna Berg"));
    EXPECT_TRUE(ctx.login().twoUser);
    EXPECT_EQ(user("LastUser"), QStringLiteral("ANNA BERG"));
    EXPECT_EQ(user("TwoUser"), QStringLiteral("1"));
    EXPECT_TRUE(scripted.messages->shown().empty());
}

TEST_F(Login, EnterInEitherFieldConfirms) {
    login([](LoginDialog* d) {
        type(d->nameField(), QStringLiteral("anna berg"));
        QTest::keyClick(d->nameField(), Qt::Key_Return); // no password: the check says so, once
        EXPECT_TRUE(d->isVisible());
        type(d->passwordField(), QStringLiteral("geheim"));
        QTest::keyClick(d->passwordField(), Qt::Key_Enter);
        if (d->isVisible()) d->reject();
    });
    ASSERT_EQ(scripted.messages->shown().size(), 1u);
    EXPECT_EQ(scripted.messages->shown()[0].text, QStringLiteral("Name oder Passwort falsch !"));
    EXPECT_EQ(ctx.login().NS_USER, 1);

    login([](LoginDialog* d) {
        type(d->nameField(), QStringLiteral("ben kurz"));
        type(d->passwordField(), QStringLiteral("b2"));
        d->nameField()->setFocus();
        QTest::keyClick(d->nameField(), Qt::Key_Return);
        if (d->isVisible()) d->reject();
    });
    EXPECT_EQ(ctx.login().NS_USER, 2);
}

TEST_F(Login, WrongAndEmptyInputKeepTheDialogOpenAndCancelFallsBackToUser1) {
    ctx.setLogin(core::LoginState{2, QStringLiteral("Ben Kurz"), QStringLiteral("LOCAL2")});
    login([this](LoginDialog* d) {
        d->nameField()->clear();
        d->passwordField()->clear();
        QTest::mouseClick(d->confirmButton(), Qt::LeftButton);
        EXPECT_TRUE(d->isVisible());
        type(d->nameField(), QStringLiteral("ANNA BERG"));
        type(d->passwordField(), QStringLiteral("FALSCH"));
        QTest::mouseClick(d->confirmButton(), Qt::LeftButton);
        EXPECT_TRUE(d->isVisible());
        EXPECT_TRUE(d->nameField()->hasFocus());
        EXPECT_EQ(ctx.login().NS_USER, 2); // nothing changes until a login succeeds
        QTest::mouseClick(d->cancelButton(), Qt::LeftButton);
    });
    const auto& shown = scripted.messages->shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Bitte Benutzername und Passwort eingeben !"));
    EXPECT_EQ(shown[1].kind, Msg::Warning);
    EXPECT_EQ(shown[1].text, QStringLiteral("Name oder Passwort falsch !"));
    EXPECT_EQ(shown[1].title, QStringLiteral("Problem"));
    EXPECT_EQ(shown[2].kind, Msg::Info);
    EXPECT_EQ(shown[2].text, QStringLiteral("Zugangsprüfung abgebrochen, Benutzer 1 aktiv !"));
    EXPECT_EQ(ctx.login().NS_USER, 0);
    EXPECT_EQ(ctx.login().CS_LOCAL, QStringLiteral("LOCAL1"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral(" Lenkwerk 9"));
    // What was typed prefills the next login, failed or not.
    EXPECT_EQ(user("LastUser"), QStringLiteral("ANNA BERG"));
    EXPECT_EQ(user("LastPass"), QStringLiteral("FALSCH"));
    login([](LoginDialog* d) {
        EXPECT_EQ(d->nameField()->text(), QStringLiteral("ANNA BERG"));
        EXPECT_EQ(d->passwordField()->text(), QStringLiteral("FALSCH"));
        // Another name needs its own password.
        d->nameField()->setFocus();
        QTest::keyClick(d->nameField(), Qt::Key_End);
        QTest::keyClick(d->nameField(), Qt::Key_Backspace);
        EXPECT_TRUE(d->passwordField()->text().isEmpty());
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_EQ(ctx.login().NS_USER, 0);
    EXPECT_EQ(user("LastUser"), QStringLiteral("ANNA BER"));
}

TEST_F(Login, SwitchingTwoUserModeOffSkipsTheCheckAndGreysTheItem) {
    ctx.setLogin(core::LoginState{1, QStringLiteral("Anna Berg"), QStringLiteral("LOCAL1")});
    login([](LoginDialog* d) {
        d->nameField()->clear();
        QTest::mouseClick(d->switchOffBox(), Qt::LeftButton, {}, QPoint(8, 10));
        uitest::alt(d, 'W');
    });
    EXPECT_TRUE(scripted.messages->shown().empty());
    EXPECT_EQ(user("TwoUser"), QStringLiteral("0"));
    EXPECT_EQ(ctx.login().NS_USER, 0);
    EXPECT_EQ(ctx.login().CS_LOCAL, QStringLiteral("LOCAL1"));
    EXPECT_FALSE(ctx.login().twoUser);
    EXPECT_EQ(window.windowTitle(), QStringLiteral(" Lenkwerk 9"));
}

TEST_F(Login, User2sFirstLoginCreatesTheirTableOnceWithTheGreeting) {
    ASSERT_FALSE(exists("LOCAL2.DBF"));
    auto asBen = [](LoginDialog* d) {
        type(d->nameField(), QStringLiteral("BEN KURZ"));
        type(d->passwordField(), QStringLiteral("B2"));
        QTest::mouseClick(d->confirmButton(), Qt::LeftButton);
    };
    login(asBen);
    EXPECT_EQ(ctx.login().NS_USER, 2);
    EXPECT_EQ(ctx.login().CS_LOCAL, QStringLiteral("LOCAL2"));
    ASSERT_TRUE(exists("LOCAL2.DBF"));
    EXPECT_EQ(scripted.sound->played(), QStringList({QStringLiteral(".\\Sounds\\Tavolin.wav")}));
    {
        store::Session s;
        store::WorkArea* l = s.use(path("LOCAL2.DBF"), "DLOC");
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->recCount(), 3u);
        l->goTo(1);
        l->replace("ANTWORTEN", store::Value::number(4));
    }
    login(asBen);
    EXPECT_EQ(scripted.sound->played().size(), 1); // no second creation, no second greeting
    store::Session s;
    store::WorkArea* l = s.use(path("LOCAL2.DBF"), "DLOC");
    ASSERT_NE(l, nullptr);
    l->goTo(1);
    EXPECT_EQ(l->number("ANTWORTEN"), 4);
}

TEST_F(Login, TheGreetingIsSpeechWhenOnElseTheSound) {
    struct Case {
        bool speech, sound, engine;
        int spoken, played;
    };
    for (const Case c : {Case{true, true, true, 1, 0}, Case{true, true, false, 0, 0}, Case{false, true, true, 0, 1},
                         Case{false, false, true, 0, 0}}) {
        scripted = lwtest::useScriptedServices(ctx);
        scripted.speech->setAvailable(c.engine);
        ctx.settings.LS_SPEECH = c.speech;
        ctx.settings.LS_SOUND = c.sound;
        EXPECT_TRUE(catalog::MAKELOCAL(ctx, "LOCAL1"));
        EXPECT_EQ(int(scripted.speech->spoken().size()), c.spoken) << c.speech << c.sound << c.engine;
        EXPECT_EQ(int(scripted.sound->played().size()), c.played) << c.speech << c.sound << c.engine;
    }
    EXPECT_TRUE(exists("LOCAL1.DBF"));
    std::filesystem::remove(path("FRAGEN.DBF"));
    EXPECT_FALSE(catalog::MAKELOCAL(ctx, "LOCAL2")); // no catalog, no table, and it says so
    EXPECT_FALSE(exists("LOCAL2.DBF"));
}

TEST_F(Login, ALearningStateThatCannotBeCreatedIsNamedAndSaidToBeLost) {
    // The table cannot be put in place, as in a folder that cannot be written.
    {
        const store::faults::Scope failing({store::faults::Rename, "LOCAL1", 1});
        EXPECT_FALSE(shell::makeLearningState(ctx, QStringLiteral("LOCAL1")));
    }
    const auto& shown = scripted.messages->shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, lwtest::ScriptedMessages::Kind::Warning);
    EXPECT_TRUE(shown[0].text.contains(QString::fromStdString(path("LOCAL1.DBF").string()))) << shown[0].text;
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("nicht gespeichert"))) << shown[0].text;
    // A table that is there is no trouble.
    EXPECT_TRUE(shell::makeLearningState(ctx, QStringLiteral("LOCAL1")));
    EXPECT_TRUE(shell::makeLearningState(ctx, QStringLiteral("LOCAL1")));
    EXPECT_EQ(shown.size(), 1u);
}

// Upper case turns a sharp s into two letters, which must not push a name or password past its padding.
TEST_F(Login, ANameOrPasswordWithSharpSLogsIn) {
    writeIni("[About]\r\nRelease=Lenkwerk 9\r\n[User]\r\nTwoUser=1\r\nUserName1=Jana Weiß\r\nUserPass1=Gruß\r\n"
             "UserName2=Ben Kurz\r\nUserPass2=b2\r\n");
    shell::UserRecords u = shell::readUsers(ctx);
    EXPECT_EQ(shell::checkLogin(u, QStringLiteral("JANA WEISS"), QStringLiteral("GRUSS"), false), LoginVerdict::User1);
    EXPECT_EQ(shell::checkLogin(u, QStringLiteral("JANA WEIß"), QStringLiteral("GRUß"), false), LoginVerdict::User1);
    EXPECT_EQ(shell::checkLogin(u, QStringLiteral("JANA WEISS"), QStringLiteral("GRUS"), false), LoginVerdict::Wrong);

    login([](LoginDialog* d) {
        type(d->nameField(), QStringLiteral("jana weiß"));
        type(d->passwordField(), QStringLiteral("gruß"));
        QTest::mouseClick(d->confirmButton(), Qt::LeftButton);
        if (d->isVisible()) QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_TRUE(scripted.messages->shown().empty());
    EXPECT_EQ(ctx.login().NS_USER, 1);
    EXPECT_EQ(window.windowTitle().trimmed(), QStringLiteral("Lenkwerk 9 - Benutzer: Jana Weiß"));
}

TEST_F(Login, TheKeyboardAloneLogsInFromTheFirstKeyToTheConfirmButton) {
    login([](LoginDialog* d) {
        // The dialog opens in the name field; Tab leads on to the password and to the buttons, Space presses one.
        EXPECT_TRUE(d->nameField()->hasFocus());
        uitest::typeKeys(QStringLiteral("ben kurz"));
        uitest::press(Qt::Key_Tab);
        EXPECT_TRUE(d->passwordField()->hasFocus());
        uitest::typeKeys(QStringLiteral("b2"));
        EXPECT_TRUE(uitest::tabTo(d->confirmButton()));
        uitest::press(Qt::Key_Space);
        if (d->isVisible()) d->reject();
    });
    EXPECT_TRUE(scripted.messages->shown().empty());
    EXPECT_EQ(ctx.login().NS_USER, 2);
}
