#pragma once

#include <QString>

namespace ui {

// Finds a file named the way the dialogs name it (".\Styles\MsgInfo.bmp", "texte/stvo.pdf") below baseDir
// without regard to case; returns its absolute path, or an empty string when there is no such file.
// The program-folder resolver replaces this once it is hooked into the context.
QString findFileNoCase(const QString& baseDir, const QString& name);

} // namespace ui
