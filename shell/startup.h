#pragma once

#include <QString>

namespace core {
class Context;
}

namespace shell {

// Runtime settings of the process itself: German for the runtime's texts and number and date formats, and Qt's
// German translations where they are installed. Returns how many of Qt's translation catalogs were loaded.
int setGermanRuntime();

// Maintainer mode is on when the program folder holds the file "Maint/Pflegemodus" (any case). Ordinary
// installations never have it; the picture folder Maint/Bitmaps alone does not switch it on.
bool maintainerModeRequested(const core::Context& ctx);


// A menu caption from [Project], stored in the OEM code page, turned into the text to show. A settings file that
// an editor saved as Unicode holds the real characters already and is taken as it is.
QString projectText(const core::Context& ctx, const QString& storedText);

} // namespace shell
