#pragma once

#include <QString>

namespace ui {
class Context;
}

namespace shell {

// Runtime settings of the process itself: German for the runtime's texts and number and date formats.
void setGermanRuntime();

// Maintainer mode is on when the program folder holds the file "Maint/Pflegemodus" (any case). Ordinary
// installations never have it; the picture folder Maint/Bitmaps alone does not switch it on.
bool maintainerModeRequested(const ui::Context& ctx);

// Imports a waiting catalog update (FRUPDATE.DBF), if there is one.
void importWaitingUpdate(ui::Context& ctx);

// A menu caption from [Project], stored in the OEM code page, turned into the text to show. A settings file that
// an editor saved as Unicode holds the real characters already and is taken as it is.
QString projectText(const ui::Context& ctx, const QString& storedText);

} // namespace shell
