#include "training/verdict.h"

#include "core/context.h"

namespace training {

bool askVerdict(core::Context& ctx, int errors, bool offerStatistics) {
    const bool sound = ctx.settings.LS_SOUND && !ctx.settings.LS_SPEECH;
    QString message, title;
    if (errors > 0) {
        if (sound) ctx.sound().play(QStringLiteral(".\\Sounds\\pnok.wav"));
        core::SPEEKIT(ctx, QStringLiteral("Zuviele Fehler! Sie haben %1 Fehlerpunkte!").arg(errors) +
                               QString(1000, QLatin1Char(' ')) + QStringLiteral("Sie müssen noch etwas üben!"));
        message = QStringLiteral("Sie haben %1 Fehlerpunkte.\rÜben Sie lieber noch ein wenig !").arg(errors);
        title = QStringLiteral("Tja, leider ...");
    } else {
        if (sound) ctx.sound().play(QStringLiteral(".\\Sounds\\pok.wav"));
        core::SPEEKIT(ctx, QStringLiteral("Prima, Sie haben die Prüfung fehlerfrei bestanden!"));
        message = QStringLiteral("Sie haben die Prüfung fehlerfrei bestanden.");
        title = QStringLiteral("Das war prima ...");
    }
    if (!offerStatistics) {
        core::MSGINFO(ctx, message, title);
        return false;
    }
    return core::MSGYESNO(ctx, message + QStringLiteral("\rStatistik anzeigen ?"), title);
}

} // namespace training
