#pragma once

#include <QFont>
#include <QString>

namespace ui {

// The dialogs name the fonts of their original platform; these map them to fonts Debian has:
// "MS Sans Serif" and "Arial" to Liberation Sans (DejaVu Sans when missing), "Times Roman" to Liberation Serif.
QString mapFontFamily(const QString& family);

// A font of the given family at a point size ("MS Sans Serif 8").
QFont fontPt(const QString& family, qreal pointSize, bool bold = false);

// A font of the given family whose characters are the given number of pixels high ("Arial 14 pixels").
QFont fontPx(const QString& family, int pixelHeight, bool bold = false);

// The default dialog font (OFONT) and its bold variant (OFONTB).
QFont dialogFont(bool bold = false);

// The pages of the help window.
QFont helpPageFont();

} // namespace ui
