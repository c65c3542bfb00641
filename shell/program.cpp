#include "shell/program.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QIcon>
#include <QKeyEvent>

#include "catalog/startcheck.h"
#include "platform/inifile.h"
#include "shell/aboutbox.h"
#include "shell/features.h"
#include "shell/login.h"
#include "shell/logindialog.h"
#include "shell/artwork.h"
#include "shell/mainwindow.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "ui/fonts.h"
#include "ui/bitmaps.h"
#include "ui/services.h"
#include "catalog/updatedialogs.h"
#include "core/context.h"
#include "core/helptopics.h"

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

void handleOldErrorLog(core::Context& ctx) {
    Q_UNUSED(ctx);
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

    handleOldErrorLog(ctx);
    ABOUTINFO(ctx, true);

    const QString iconName = platform::readProfileString(iniPath(ctx), QStringLiteral("Setup"), QStringLiteral("Icon"),
                                                         QStringLiteral("Tavolin"));
    const QPixmap icon = ui::Bitmaps::get(iconName);
    Coords coords;
    GETCOORDS(ctx, 0, coords);

    const bool maximised = ctx.settings.NS_WINSIZE == 1;
    MainWindow window(ctx, features, maximised);
    window.setWindowTitle(QLatin1Char(' ') + ctx.settings.CRELEASE);
    if (!icon.isNull()) {
        window.setWindowIcon(QIcon(icon));
        QApplication::setWindowIcon(QIcon(icon));
    }
    window.setFont(ui::dialogFont());
    const QRect geometry = mainWindowGeometry(coords);
    window.resize(geometry.size());
    window.move(geometry.topLeft());
    ctx.setOwnerWindow(&window);
    window.setStartActions([&ctx, &window] {
        LOGIN(ctx, &window);
        if (catalog::prepareCatalog(ctx)) catalog::ISUPDATE(ctx);
    });

    QEventLoop loop;
    QObject::connect(&window, &MainWindow::closed, &loop, &QEventLoop::quit);
    if (maximised)
        window.showMaximized();
    else
        window.show();
    loop.exec();
    window.hide();

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
    return runProgram(ctx, features);
}

} // namespace shell
