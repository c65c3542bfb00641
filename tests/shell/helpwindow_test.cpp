// The program's help window as the settings dialog and the start-up use it.
#include <QDir>
#include <QFile>
#include <QHelpEngine>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTranslator>

#include "shell/setupdialog.h"
#include "shell/startup.h"
#include "shelltest.h"
#include "ui/buttons.h"
#include "ui/help/helpviewer.h"
#include "ui/services.h"

using shelltest::ShellTest;

namespace {

class HelpWindow : public ShellTest {
protected:
    void SetUp() override {
        m_oldCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(m_cache.path().string()));
        // The fixture collection as the program's own help.
        const QString texte = QString::fromStdString(path("Texte").string());
        QDir().mkpath(texte);
        ASSERT_TRUE(QFile::copy(QStringLiteral(LW_TEST_HELP_DIR "/fixture.qhc"), texte + "/TAVOLIN.qhc"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(LW_TEST_HELP_DIR "/fixture.qch"), texte + "/fixture.qch"));
        ctx.setHelp(std::make_unique<ui::HelpWindowService>([this](const QString& name) { return ctx.resolve(name); },
                                                            QStringLiteral(LW_HELP_MODULE)));
    }
    void TearDown() override {
        ui::HelpWindowService::closeWindows();
        qputenv("XDG_CACHE_HOME", m_oldCache);
    }

    // A window of the help module, whose copy of the class qobject_cast does not know: the same class from the
    // same source all the same.
    static ui::HelpViewer* shownViewer() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("ui::HelpViewer") && w->isVisible()) return static_cast<ui::HelpViewer*>(w);
        return nullptr;
    }

    lwtest::TempDir m_cache;
    QByteArray m_oldCache;
};

} // namespace

TEST_F(HelpWindow, OpenedFromTheSettingsDialogItTakesClicksInFrontOfIt) {
    QMainWindow window;
    window.show();
    bool clicked = false;
    shelltest::onNextDialog<shell::SetupDialog>([&](shell::SetupDialog* d) {
        QTest::mouseClick(d->helpButton(), Qt::LeftButton);
        ui::HelpViewer* help = nullptr;
        ASSERT_TRUE(uitest::waitFor([&] { return (help = shownViewer()) != nullptr; }));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
        EXPECT_EQ(QApplication::activeWindow(), help);
        EXPECT_TRUE(d->isVisible());
        // Its tabs follow a click although the dialog is still open and modal. The click goes to the window the
        // way the desktop delivers it, where a blocked window would drop it.
        QTabBar* bar = help->tabs()->tabBar();
        QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, bar->mapTo(help, bar->tabRect(2).center()));
        clicked = help->tabs()->currentIndex() == 2;
        d->reject();
    });
    shell::SETUP(ctx, &window);
    EXPECT_TRUE(clicked);
}

TEST_F(HelpWindow, TheSearchSpeaksGermanWithQtsOwnTranslations) {
    const int loaded = shell::setGermanRuntime();
    ui::HelpViewer viewer(ctx.path(QStringLiteral("Texte/TAVOLIN.qhc")));
    QStringList buttons;
    for (QPushButton* b : viewer.engine()->searchEngine()->queryWidget()->findChildren<QPushButton*>())
        buttons << b->text();
    // The other tests expect Qt's own English.
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    EXPECT_GE(loaded, 2);
    EXPECT_TRUE(buttons.contains(QStringLiteral("Suche"))) << buttons.join(QLatin1Char(','));
}
