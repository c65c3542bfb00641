#include "servicegallery.h"

#include <QTemporaryDir>

#include "catalog/logviewer.h"
#include "online/maildialog.h"
#include "online/updatedialog.h"
#include "support/scripted.h"

namespace gallery {

void renderServices(const SaveFn& save) {
    QTemporaryDir folder;
    lwtest::ScriptedContext ctx(folder.path());
    {
        online::UpdateDialog dlg(ctx);
        save(dlg, QStringLiteral("online_update"));
    }
    {
        online::MailSetupDialog dlg(ctx, QStringLiteral("Fehlerprotokoll"), QStringLiteral("Anna Berg"),
                                    QStringLiteral("anna.berg@example.org"));
        save(dlg, QStringLiteral("online_mailsetup"));
    }
    {
        catalog::LogViewer dlg(QStringLiteral("FRUPDATE.LOG"),
                               QStringLiteral("Katalog-Update vom 01.04.2007\n"
                                              "1.1.01-001   geändert\n1.2.03-104   neu\n2.7.01-003   gelöscht\n"),
                               nullptr);
        save(dlg, QStringLiteral("catalog_logbook"));
    }
}

} // namespace gallery
