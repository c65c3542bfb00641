#include "training/slots.h"

#include "core/context.h"
#include "platform/inifile.h"
#include "shell/settings.h"
#include "ui/skinneddialog.h"

namespace training {

void keepInSlot(core::Context& ctx, ui::SkinnedDialog* dialog, int slot,
                const std::function<QPoint(const ui::SkinnedDialog*)>& fallback) {
    shell::Coords c;
    shell::GETCOORDS(ctx, slot, c);
    if (c.top > 0 && c.left > 0)
        dialog->placeAt(QPoint(c.left, c.top));
    else if (fallback)
        dialog->placeAt(fallback(dialog));
    // Only the user's moves count: the placement before the dialog is shown is not one.
    QObject::connect(dialog, &ui::SkinnedDialog::moved, dialog, [&ctx, dialog, slot](const QPoint& topLeft) {
        if (!dialog->isVisible()) return;
        const QString ini = shell::iniPath(ctx);
        const QString prefix = QString::number(slot) + QLatin1Char('_');
        platform::writeProfileNumber(ini, QStringLiteral("System"), prefix + QStringLiteral("Top"), topLeft.y());
        platform::writeProfileNumber(ini, QStringLiteral("System"), prefix + QStringLiteral("Left"), topLeft.x());
    });
}

} // namespace training
