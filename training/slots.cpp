#include "training/slots.h"

#include <optional>

#include <QGuiApplication>
#include <QScreen>

#include "core/context.h"
#include "platform/inifile.h"
#include "shell/settings.h"
#include "ui/skinneddialog.h"

namespace training {

namespace {

QList<QRect> screens() {
    QList<QRect> rects;
    for (const QScreen* screen : QGuiApplication::screens())
        rects << screen->geometry();
    return rects;
}

} // namespace

void keepInSlot(core::Context& ctx, ui::SkinnedDialog* dialog, int slot,
                const std::function<QPoint(const ui::SkinnedDialog*)>& fallback) {
    shell::Coords c;
    shell::GETCOORDS(ctx, slot, c);
    // A place saved on a monitor that is gone, or pushed off the screens, is not used.
    const std::optional<QPoint> saved = c.top > 0 && c.left > 0
                                            ? shell::dialogPosition(QPoint(c.left, c.top), dialog->size(), screens())
                                            : std::nullopt;
    if (saved)
        dialog->placeAt(*saved);
    else if (fallback)
        dialog->placeAt(fallback(dialog));
    // Only the user's moves count: the placement before the dialog is shown is not one.
    QObject::connect(dialog, &ui::SkinnedDialog::moved, dialog, [&ctx, dialog, slot](const QPoint& topLeft) {
        if (!dialog->isVisible()) return;
        if (!shell::dialogPosition(topLeft, dialog->size(), screens())) return;
        const QString ini = shell::iniPath(ctx);
        const QString prefix = QString::number(slot) + QLatin1Char('_');
        platform::writeProfileNumber(ini, QStringLiteral("System"), prefix + QStringLiteral("Top"), topLeft.y());
        platform::writeProfileNumber(ini, QStringLiteral("System"), prefix + QStringLiteral("Left"), topLeft.x());
    });
}

} // namespace training
