#include "catalog/updatedialogs.h"

#include "catalog/logviewer.h"
#include "catalog/update.h"
#include "core/context.h"

namespace catalog {

void ISUPDATE(core::Context& ctx) {
    if (importUpdate(ctx) != UpdateResult::Imported) return;
    if (core::MSGYESNO(ctx, QStringLiteral("Ihre Fragendatenbank wurde aktualisiert.\rUpdate-Protokoll anzeigen ?"),
                       QStringLiteral("Fragen-Update")))
        showTextFile(ctx, ctx.filePath("FRUPDATE.LOG"), QStringLiteral("FrUpdate.log - Update-Protokoll"));
}

} // namespace catalog
