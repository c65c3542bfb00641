#include "shell/settings.h"

#include <climits>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "core/context.h"
#include "platform/inifile.h"

namespace shell {

namespace {
const QString kSystem = QStringLiteral("System");
}

QList<QRect> screenRects() {
    QList<QRect> rects;
    for (const QScreen* screen : QGuiApplication::screens())
        rects << screen->geometry();
    return rects;
}

QRect primaryScreenArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

QRect savedMainWindowGeometry(const core::Context& ctx) {
    Coords coords;
    GETCOORDS(ctx, 0, coords);
    return mainWindowGeometry(coords, screenRects(), primaryScreenArea());
}

std::optional<QPoint> savedDialogPosition(const core::Context& ctx, int slot, QSize size) {
    if (slot != 1 && slot != 2) return std::nullopt;
    Coords coords;
    GETCOORDS(ctx, slot, coords);
    return dialogPosition(QPoint(coords.left, coords.top), size, screenRects());
}

// The saved rectangle is the window's position and size: our windows are exactly right - left wide, so the
// window's last column plus one is the right edge kept in the file, and sizes read back unchanged.
Coords windowCoords(const QWidget* window) {
    const QPoint pos = window->pos();
    const QSize size = window->size();
    return Coords{pos.y(), pos.x(), pos.y() + size.height(), pos.x() + size.width()};
}

void PUTCOORDS(const core::Context& ctx, int slot, const QWidget* window) {
    if (!window) return;
    const Coords c = windowCoords(window);
    switch (slot) {
    case 0: {
        const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        const QSize screenSize = screen ? screen->geometry().size() : QSize(INT_MAX, INT_MAX);
        putMainWindowCoords(ctx, c, screenSize, window->isMaximized() || window->isFullScreen(), screenRects());
        break;
    }
    case 1:
    case 2: {
        // A dialog pushed off the screens is not remembered there.
        if (!dialogPosition(window->pos(), window->size(), screenRects())) break;
        const QString ini = iniPath(ctx);
        const QString prefix = QString::number(slot) + QLatin1Char('_');
        platform::writeProfileNumber(ini, kSystem, prefix + QStringLiteral("Top"), c.top);
        platform::writeProfileNumber(ini, kSystem, prefix + QStringLiteral("Left"), c.left);
        break;
    }
    default:
        break;
    }
}

} // namespace shell
