#include <QElapsedTimer>
#include <QMainWindow>

#include <chrono>
#include <QRadioButton>
#include <QTest>
#include <thread>

#include "platform/inifile.h"
#include "shell/login.h"
#include "shell/logindialog.h"
#include "shell/settings.h"
#include "shell/setupdialog.h"
#include "shell/setupuser.h"
#include "shelltest.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/maskededit.h"
#include "ui/services.h"

using shell::SetupDialog;
using shell::SetupUserDialog;
using shelltest::ShellTest;

namespace {

// Check boxes and radio buttons react to clicks on their mark and caption, not on the empty rest of their box.
void tick(QAbstractButton* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

} // namespace

class Setup : public ShellTest {
protected:
    void SetUp() override {
        writeIni("[About]\r\nVideo=0\r\n[MailSupport]\r\nName=Anna\r\nReply=anna@example.org\r\n");
        shell::SETPUBLICS(ctx, true); // the stored settings: the defaults
    }

    QString value(const char* section, const char* key) const {
        return platform::readProfileString(shell::iniPath(ctx), QString::fromLatin1(section), QString::fromLatin1(key),
                                           QStringLiteral("<missing>"));
    }

    void setup(std::function<void(SetupDialog*)> act) {
        shelltest::onNextDialog<SetupDialog>([this, act](SetupDialog* d) {
            EXPECT_EQ(ctx.helpTopic, QStringLiteral("Voreinstellungen"));
            act(d);
        });
        shell::SETUP(ctx, &window);
        EXPECT_EQ(ctx.helpTopic, QStringLiteral("Lenkwerk"));
    }

    QMainWindow window;
};

TEST_F(Setup, ControlsChangeTheSettingsAtOnceButOnlySavingStoresThem) {
    setup([this](SetupDialog* d) {
        EXPECT_TRUE(d->soundBox()->isChecked());
        EXPECT_EQ(d->questionCount()->text(), QStringLiteral("30"));
        EXPECT_EQ(d->windowSize()->value(), 2);
        tick(d->soundBox());
        EXPECT_FALSE(d->edited().LS_SOUND);
        QTest::mouseClick(d->endButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(ctx.settings.LS_SOUND); // for the rest of the run, though not saved
    EXPECT_EQ(value("Setup", "SOUND"), QStringLiteral("1")); // the next start has sound again
    EXPECT_TRUE(scripted.messages->shown().empty());
}

TEST_F(Setup, SavingWritesEveryKeyIncludingEmptyMailFields) {
    ctx.settings.NS_MAXDURCH = 4;
    setup([](SetupDialog* d) {
        d->tabs()->setCurrentIndex(1);
        d->questionCount()->setFocus();
        QTest::keyClicks(d->questionCount(), QStringLiteral("0"));
        tick(d->repeatWrongBox());
        tick(d->errorPointsBox());
        d->tabs()->setCurrentIndex(2);
        d->mailNameField()->clear();
        d->mailReplyField()->clear();
        d->tabs()->setCurrentIndex(3);
        tick(d->errorLog()->button(3));
        uitest::alt(d, 'S');
    });
    EXPECT_EQ(ctx.settings.NS_MAXFRAGEN, 0);
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"MAXFRAGEN", "0"}, {"MAXDURCH", "4"}, {"WVORLAGE", "1"}, {"SAUSWERT", "1"}, {"FPSHOW", "0"},
        {"SOUND", "1"},     {"SPEECH", "0"},   {"WINSIZE", "2"},  {"ERROR", "3"}};
    for (auto [key, v] : expected)
        EXPECT_EQ(value("Setup", key), QString::fromLatin1(v)) << key;
    EXPECT_EQ(value("MailSupport", "Name"), QString());
    EXPECT_EQ(value("MailSupport", "Reply"), QString());
    EXPECT_EQ(value("About", "Video"), QStringLiteral("0")); // written back as it was read
    EXPECT_TRUE(scripted.messages->shown().empty());
}

TEST_F(Setup, ANewWindowModeIsAnnouncedForTheNextStartUnlessSwitchedBack) {
    setup([](SetupDialog* d) {
        tick(d->windowSize()->button(1));
        tick(d->windowSize()->button(2));
        QTest::mouseClick(d->saveButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(scripted.messages->shown().empty());
    setup([](SetupDialog* d) {
        tick(d->windowSize()->button(1));
        QTest::mouseClick(d->saveButton(), Qt::LeftButton);
    });
    ASSERT_EQ(scripted.messages->shown().size(), 1u);
    EXPECT_EQ(scripted.messages->shown()[0].text,
              QStringLiteral("Die Einstellungen werden erst nach\rdem nächsten Start aktiviert !"));
    EXPECT_EQ(scripted.messages->shown()[0].title, QStringLiteral("Setup"));
    EXPECT_EQ(value("Setup", "WINSIZE"), QStringLiteral("1"));
}

TEST_F(Setup, TheQuestionCountTakesTwoDigitsOnly) {
    setup([](SetupDialog* d) {
        d->questionCount()->setFocus();
        QTest::keyClicks(d->questionCount(), QStringLiteral("-7x123"));
        EXPECT_EQ(d->questionCount()->text(), QStringLiteral("71"));
        EXPECT_EQ(d->edited().NS_MAXFRAGEN, 71);
        d->reject();
    });
}

TEST_F(Setup, ASlowSpeechEngineDoesNotHoldUpTheDialog) {
    // An engine that takes three seconds to say whether it has a German voice, asked at start-up.
    auto speech = std::make_unique<ui::TextToSpeech>([] {
        std::this_thread::sleep_for(std::chrono::seconds(3));
        return true;
    });
    ui::TextToSpeech* engine = speech.get();
    ctx.setSpeech(std::move(speech));
    engine->probe();
    for (int opening = 0; opening < 2; ++opening) {
        QElapsedTimer t;
        t.start();
        SetupDialog d(ctx, &window);
        d.show();
        EXPECT_LT(t.elapsed(), 100) << "opening " << opening;
        EXPECT_FALSE(d.speechBox()->isEnabled()); // not known yet
    }
    // Once it has answered, the switch is offered.
    ASSERT_TRUE(uitest::waitFor([&] { return engine->availableNow(); }, 6000));
    SetupDialog d(ctx, &window);
    EXPECT_TRUE(d.speechBox()->isEnabled());
}

TEST_F(Setup, SpeechCanBeSwitchedOnOnlyWithAVoiceAndSaysSoOnce) {
    scripted.speech->setAvailable(false);
    setup([](SetupDialog* d) {
        EXPECT_FALSE(d->speechBox()->isEnabled());
        QTest::keyClick(d, Qt::Key_Escape);
    });
    scripted.speech->setAvailable(true);
    setup([this](SetupDialog* d) {
        ASSERT_TRUE(d->speechBox()->isEnabled());
        tick(d->speechBox());
        QTest::mouseClick(d->helpButton(), Qt::LeftButton);
        EXPECT_EQ(scripted.help->calls().back().argument, QStringLiteral("Voreinstellungen"));
        QTest::mouseClick(d->saveButton(), Qt::LeftButton);
    });
    ASSERT_EQ(scripted.speech->spoken().size(), 1u);
    EXPECT_EQ(scripted.speech->spoken()[0], QStringList({QStringLiteral("Die Sprachausgabe ist nun eingeschaltet!")}));
    EXPECT_EQ(value("Setup", "SPEECH"), QStringLiteral("1"));
}

TEST_F(Setup, AFailedSaveIsReported) {
    std::filesystem::remove(path("TAVOLIN.INI"));
    std::filesystem::create_directory(path("TAVOLIN.INI"));
    setup([](SetupDialog* d) { QTest::mouseClick(d->saveButton(), Qt::LeftButton); });
    ASSERT_EQ(scripted.messages->shown().size(), 1u);
    EXPECT_EQ(scripted.messages->shown()[0].kind, lwtest::ScriptedMessages::Kind::Warning);
}

class SetupUser : public Setup {};

TEST_F(SetupUser, TheUserTabsFollowTheModeAndEndingWithoutSavingWritesNothing) {
    const std::string before = ini();
    shelltest::onNextDialog<SetupUserDialog>([this](SetupUserDialog* d) {
        EXPECT_EQ(ctx.helpTopic, QStringLiteral("Zweibenutzermodus"));
        EXPECT_FALSE(d->tabs()->isTabEnabled(1));
        EXPECT_FALSE(d->tabs()->isTabEnabled(2));
        tick(d->modeBox());
        EXPECT_TRUE(d->tabs()->isTabEnabled(1));
        EXPECT_TRUE(d->tabs()->isTabEnabled(2));
        d->nameField(1)->setText(QStringLiteral("Anna"));
        QTest::mouseClick(d->endButton(), Qt::LeftButton);
    });
    shell::SETUPUSER(ctx, &window);
    EXPECT_EQ(ini(), before);
    EXPECT_EQ(ctx.helpTopic, QStringLiteral("Lenkwerk"));
}

TEST_F(SetupUser, SavingWithTheModeOnAsksForALoginAtOnce) {
    bool loginShown = false;
    shelltest::onNextDialog<SetupUserDialog>([&](SetupUserDialog* d) {
        tick(d->modeBox());
        d->tabs()->setCurrentIndex(1);
        d->nameField(1)->setFocus();
        QTest::keyClicks(d->nameField(1), QStringLiteral("Anna Berg"));
        QTest::keyClicks(d->passwordField(1), QStringLiteral("geHeim"));
        d->nameField(2)->setText(QStringLiteral("Ben"));
        shelltest::onNextDialog<shell::LoginDialog>([&](shell::LoginDialog* login) {
            loginShown = true;
            login->nameField()->setFocus();
            QTest::keyClicks(login->nameField(), QStringLiteral("anna berg"));
            QTest::keyClicks(login->passwordField(), QStringLiteral("geheim"));
            QTest::mouseClick(login->confirmButton(), Qt::LeftButton);
        });
        QTest::mouseClick(d->saveButton(), Qt::LeftButton);
    });
    shell::SETUPUSER(ctx, &window);
    EXPECT_TRUE(loginShown);
    EXPECT_EQ(value("User", "TwoUser"), QStringLiteral("1"));
    EXPECT_TRUE(ctx.login().twoUser);
    EXPECT_EQ(value("User", "UserName1"), QStringLiteral("Anna Berg")); // mixed case kept
    EXPECT_EQ(value("User", "UserPass1"), QStringLiteral("geHeim"));
    EXPECT_EQ(value("User", "UserName2"), QStringLiteral("Ben"));
    EXPECT_EQ(value("User", "UserPass2"), QString());
    EXPECT_EQ(ctx.login().NS_USER, 1);
    EXPECT_EQ(shell::mainWindowTitle(ctx, ctx.login().twoUser).trimmed(),
              QStringLiteral("QRT Lenkwerk-Trainer 2007 v2.41 - Benutzer: Anna Berg"));
}

TEST_F(Setup, ThePagesUseTheDialogFontWhateverTheDesktopFont) {
    const QFont desktop = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 14));
    {
        SetupDialog setupDialog(ctx);
        SetupUserDialog userDialog(ctx);
        for (QWidget* dialog : {static_cast<QWidget*>(&setupDialog), static_cast<QWidget*>(&userDialog)}) {
            for (QWidget* w : dialog->findChildren<ui::Label*>())
                EXPECT_EQ(w->font().pointSizeF(), ui::dialogFont().pointSizeF()) << w->objectName();
        }
    }
    QApplication::setFont(desktop);
}
