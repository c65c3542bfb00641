#pragma once

#include <QString>

namespace ui {

// Finds a file named the way the dialogs name it (".\Styles\MsgInfo.bmp", "texte/stvo.pdf") below baseDir
// without regard to case, through the program-folder resolver; returns its absolute path, or an empty string when
// there is no such file or the name leads outside baseDir.
QString findFileNoCase(const QString& baseDir, const QString& name);

} // namespace ui
