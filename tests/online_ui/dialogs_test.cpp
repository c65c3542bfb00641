#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "core/helptopics.h"
#include "online/artwork.h"
#include "online/layouts.h"
#include "online/maildialog.h"
#include "online/settings.h"
#include "online/updatedialog.h"
#include "platform/inifile.h"
#include "servers.h"
#include "support/scripted.h"
#include "support/testdir.h"
#include "ui/controls.h"
#include "ui/maskededit.h"
#include "uitest.h"

namespace {

using uitest::onNextDialog;

class OnlineDialogs : public ::testing::Test {
protected:
    OnlineDialogs() : root(QString::fromStdString(dir.path().string())), ctx(root) { online::registerArtwork(); }
    void set(const char* section, const char* key, const QString& value) {
        platform::writeProfileString(ctx.path(QStringLiteral("TAVOLIN.INI")), QString::fromLatin1(section),
                                     QString::fromLatin1(key), value);
    }
    lwtest::TempDir dir;
    QString root;
    lwtest::ScriptedContext ctx;
};

} // namespace

TEST_F(OnlineDialogs, TheUpdateDialogStandsWhereItsLayoutSaysAndStartsEmpty) {
    namespace at = online::layout::update;
    online::UpdateDialog dialog(ctx);
    EXPECT_EQ(dialog.size(), at::size);
    EXPECT_EQ(dialog.windowTitle(), ctx.settings.CRELEASE + QStringLiteral(" Internet-Update"));
    EXPECT_FALSE(dialog.windowIcon().isNull());
    EXPECT_EQ(dialog.startButton()->geometry(), at::start);
    EXPECT_EQ(dialog.endButton()->geometry(), at::end);
    const QRect values[4] = {at::url, at::status, at::file, at::download};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dialog.value(i)->geometry(), values[i]) << i;
        EXPECT_TRUE(dialog.value(i)->text().isEmpty()) << i;
    }
    EXPECT_EQ(ctx.helpTopic, core::topicKeyword(core::topic::kOnline));
}

TEST_F(OnlineDialogs, StartFetchesTheNewVersionClosesByItselfStartsTheInstallerAndEndsTheProgram) {
    ScriptServer server("httpserver.py", root + QStringLiteral("/requests.log"));
    set("Setup", "DownLink", server.base(QStringLiteral("v242")));
    lwtest::writeFile(dir / "lenkwerk", "programm");
    ctx.scripted.messages->queueAnswer(true);
    QWidget mainWindow;
    mainWindow.show();
    bool closedItself = false;
    onNextDialog<online::UpdateDialog>([&](online::UpdateDialog* d) {
        QTest::mouseClick(d->startButton(), Qt::LeftButton);
        closedItself = !d->isVisible();
        if (!closedItself) d->reject();
    });
    online::DOWNLOADIT(ctx, &mainWindow, root + QStringLiteral("/lenkwerk"));
    EXPECT_TRUE(closedItself);
    EXPECT_FALSE(mainWindow.isVisible()) << "the program ends for the installer";
    ASSERT_EQ(ctx.scripted.shell->calls().size(), 1u);
    EXPECT_EQ(ctx.scripted.shell->calls()[0].target, ctx.path(QStringLiteral("tvupdate.exe")));
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/Backup/lenkwerk")));
    EXPECT_EQ(ctx.helpTopic, QStringLiteral("Lenkwerk")) << "the caller's topic is back";
}

TEST_F(OnlineDialogs, WithoutNewVersionOnlyEndIsLeftAndTheProgramGoesOn) {
    ScriptServer server("httpserver.py", root + QStringLiteral("/requests.log"));
    set("Setup", "DownLink", server.base(QStringLiteral("v241")));
    ctx.scripted.messages->queueAnswer(true);
    QWidget mainWindow;
    mainWindow.show();
    onNextDialog<online::UpdateDialog>([&](online::UpdateDialog* d) {
        QTest::mouseClick(d->startButton(), Qt::LeftButton);
        EXPECT_TRUE(d->isVisible());
        EXPECT_FALSE(d->startButton()->isEnabled()) << "one attempt per opening";
        EXPECT_TRUE(d->endButton()->isEnabled());
        EXPECT_EQ(d->value(2)->text(), QStringLiteral("Kein Lenkwerk-Update vorhanden."));
        EXPECT_EQ(d->value(3)->text(), QStringLiteral("Kein Download"));
        QTest::mouseClick(d->endButton(), Qt::LeftButton);
    });
    online::DOWNLOADIT(ctx, &mainWindow, root + QStringLiteral("/lenkwerk"));
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_TRUE(ctx.scripted.shell->calls().empty());
}

TEST_F(OnlineDialogs, TheSenderDialogRejectsAOneWordNameAndComesBackUntilSaved) {
    namespace at = online::layout::mailSetup;
    int shown = 0;
    std::function<void(online::MailSetupDialog*)> second = [&](online::MailSetupDialog* d) {
        ++shown;
        EXPECT_EQ(d->nameField()->text(), QStringLiteral("Erika")) << "the entry is offered again";
        d->nameField()->setText(QStringLiteral("Erika Mustermann"));
        QTest::mouseClick(d->saveButton(), Qt::LeftButton);
    };
    onNextDialog<online::MailSetupDialog>([&](online::MailSetupDialog* d) {
        ++shown;
        EXPECT_EQ(d->size(), at::size);
        EXPECT_EQ(d->nameField()->geometry(), at::name);
        EXPECT_EQ(d->replyField()->geometry(), at::reply);
        EXPECT_EQ(d->saveButton()->geometry(), at::save);
        EXPECT_EQ(d->focusWidget(), d->replyField()) << "the focus starts in the address field";
        QTest::keyClicks(d->replyField(), QStringLiteral("erika@example.org"));
        QTest::keyClicks(d->nameField(), QStringLiteral("Erika"));
        onNextDialog<online::MailSetupDialog>(second);
        QTest::mouseClick(d->saveButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(online::MAILSETUP(ctx, QStringLiteral("Programmfehler")));
    EXPECT_EQ(shown, 2);
    ASSERT_EQ(ctx.scripted.messages->shown().size(), 1u);
    EXPECT_EQ(ctx.scripted.messages->shown()[0].text, QStringLiteral("Falscher Name oder falsche Email-Adresse !"));
    const online::OnlineSettings s = online::readOnlineSettings(ctx);
    EXPECT_EQ(s.Name, QStringLiteral("Erika Mustermann"));
    EXPECT_EQ(s.Reply, QStringLiteral("erika@example.org"));
}

TEST_F(OnlineDialogs, LeavingTheSenderDialogSendsNothing) {
    lwtest::writeFile(dir / "Error.log", "Fehler\r\n");
    onNextDialog<online::MailSetupDialog>(
        [](online::MailSetupDialog* d) { QTest::mouseClick(d->endButton(), Qt::LeftButton); });
    online::MAILSUPPORT(ctx, QStringLiteral("Programmfehler"), QStringLiteral("Error.log"));
    ASSERT_EQ(ctx.scripted.messages->shown().size(), 1u);
    EXPECT_EQ(ctx.scripted.messages->shown()[0].text,
              QStringLiteral("Es kann keine Email ohne Absender versandt werden"));
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/SendMail.txt")));
}
