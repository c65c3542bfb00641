#include "printgallery.h"

#include <QTemporaryDir>

#include "printout/printdialogs.h"
#include "printout/selection.h"
#include "support/scripted.h"

namespace gallery {

void renderPrintout(const SaveFn& save) {
    QTemporaryDir folder;
    lwtest::ScriptedContext ctx(folder.path());
    // Class B / BE and the theme "Vorfahrt und Vorrang" were printed last.
    printout::writePrintSetting(ctx, "KataDruck", 3);
    printout::writePrintSetting(ctx, "KataThema", 2);
    {
        printout::ChoiceDialog dlg(ctx, printout::ChoiceDialog::Kind::Class);
        save(dlg, QStringLiteral("KataDruck"));
    }
    {
        printout::ChoiceDialog dlg(ctx, printout::ChoiceDialog::Kind::Theme, 3);
        save(dlg, QStringLiteral("KataThema"));
    }
}

} // namespace gallery
