#include "shell/program.h"

#include <malloc.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QIcon>
#include <QKeyEvent>
#include <QTimer>

#include "catalog/runfiles.h"
#include "catalog/startcheck.h"
#include "catalog/updatedialogs.h"
#include "core/context.h"
#include "core/helptopics.h"
#include "diag/printerr.h"
#include "platform/inifile.h"
#include "shell/aboutbox.h"
#include "shell/artwork.h"
#include "shell/features.h"
#include "shell/login.h"
#include "shell/logindialog.h"
#include "shell/mainwindow.h"
#include "shell/programlock.h"
#include "shell/settings.h"
#include "shell/showchannel.h"
#include "shell/startup.h"
#include "shell/startupreport.h"
#include "ui/bitmaps.h"
#include "ui/fonts.h"
#include "ui/services.h"

namespace shell {

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            if (!key->isAutoRepeat()) m_ctx.help().showTopic(core::kHelpFile, m_ctx.helpTopic);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

namespace {

constexpr int kSpeechCheckDelayMs = 3000;

// The window the user should see of the running copy: the dialog open over everything, else the main window.
void bringToFront(const core::Context& ctx) {
    QWidget* main = ui::ownerWindow(ctx);
    if (main) {
        if (main->isMinimized()) main->showNormal();
        main->raise();
    }
    QWidget* window = QApplication::activeModalWidget();
    if (!window) window = main;
    if (!window) return;
    window->raise();
    window->activateWindow();
}

} // namespace

void handleOldErrorLog(core::Context& ctx, const Features& features) {
    diag::PRINTERR(ctx, features.MAILSUPPORT);
}

int runProgram(core::Context& ctx, const Features& features) {
    registerArtwork();
    // The about box is the only window for a while; closing it must not end the program.
    const bool quitOnLastWindow = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);

    deleteUpdateLeftovers(ctx);
    prepareProgramFolder(ctx);

    HelpKey helpKey(ctx);
    qApp->installEventFilter(&helpKey);
    ctx.helpTopic = core::topicKeyword(core::topic::kMain);

    SettingsProblem problem;
    SETPUBLICS(ctx, true, &problem);
    ctx.settings.maintainerMode = maintainerModeRequested(ctx);
    if (problem.any()) core::WARNBOX(ctx, settingsProblemText(problem), QStringLiteral("Problem"));

    handleOldErrorLog(ctx, features);
    const auto report = StartupReport::fromEnvironment();
    ABOUTINFO(ctx, true);
    // The about box's skin and pictures are drawn again should it be opened again; until then they would only
    // take memory.
    ui::Bitmaps::clearCache();
    if (report) report->aboutClosed();

    const QString iconName = platform::readProfileString(iniPath(ctx), QStringLiteral("Setup"), QStringLiteral("Icon"),
                                                         QStringLiteral("Tavolin"));
    const QPixmap icon = ui::Bitmaps::get(iconName);

    const bool maximised = ctx.settings.NS_WINSIZE == 1;
    MainWindow window(ctx, features, maximised);
    window.setWindowTitle(QLatin1Char(' ') + ctx.settings.CRELEASE);
    if (!icon.isNull()) {
        window.setWindowIcon(QIcon(icon));
        QApplication::setWindowIcon(QIcon(icon));
    }
    window.setFont(ui::dialogFont());
    const QRect geometry = savedMainWindowGeometry(ctx);
    window.resize(geometry.size());
    window.move(geometry.topLeft());
    ctx.setOwnerWindow(&window);
    window.setStartActions([&ctx, &window] {
        LOGIN(ctx, &window);
        if (catalog::prepareCatalog(ctx)) {
            // The learner must know when nothing of this run's progress can be kept.
            if (!ctx.exists(QStringLiteral("LOCAL1.DBF")))
                core::WARNBOX(ctx, learningStateProblemText(ctx.path(QStringLiteral("LOCAL1.DBF"))),
                              QStringLiteral("Problem"));
            catalog::ISUPDATE(ctx);
        }
        // The start's work (catalog check, settings, pictures) leaves freed memory behind that malloc keeps for
        // later; an idle program hands it back.
        malloc_trim(0);
        // Asking the speech engines takes seconds of processor time; it answers in the background once the start
        // is over, while the learner looks at the window (whatever needs the answer earlier asks at once).
        QTimer::singleShot(kSpeechCheckDelayMs, &window, [&ctx] { ctx.speech().probe(); });
    });

    QEventLoop loop;
    QObject::connect(&window, &MainWindow::closed, &loop, &QEventLoop::quit);
    if (maximised)
        window.showMaximized();
    else
        window.show();
    loop.exec();
    window.hide();
    // The help windows belong to no dialog; they go with the program.
    ui::HelpWindowService::closeWindows();

    saveSettingsBackup(ctx);
    qApp->removeEventFilter(&helpKey);
    QGuiApplication::setQuitOnLastWindowClosed(quitOnLastWindow);
    return 0;
}

int MAIN(const Features& features) {
    setGermanRuntime();
    // Everything the program reads and writes lies beside the executable.
    const QString dir = QCoreApplication::applicationDirPath();
    QDir::setCurrent(dir);
    core::Context ctx(dir);
    ui::useRealServices(ctx);
    // Before anything touches a file of the folder: a second copy shows the first one and ends.
    const ProgramLock lock(dir);
    if (lock.heldElsewhere()) {
        if (!ShowChannel::askToShow(lock.channelName(), 3000))
            core::WARNBOX(ctx, QStringLiteral("Lenkwerk läuft bereits."), QStringLiteral("Lenkwerk"));
        return 0;
    }
    // Only the holder of the folder's lock listens, so a socket left under the name is a crashed copy's.
    const ShowChannel requests(lock.channelName(), [&ctx] { bringToFront(ctx); });
    if (!requests.isListening())
        qWarning("Lenkwerk: a second start cannot reach this one: %s", qPrintable(requests.error()));
    return runProgram(ctx, features);
}

} // namespace shell
