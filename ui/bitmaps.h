#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace ui {

// Named bitmaps: the file Styles/<name>.bmp in the program folder when present (case-insensitive), else the
// built-in picture of that name drawn by code. Built-in pictures carry the device pixel ratio, so they stay
// crisp on scaled screens; their logical size is the size the dialogs were laid out for.
class Bitmaps {
public:
    static void setProgramDir(const QString& dir);
    static QString programDir();

    // A null pixmap when the name is neither a Styles file nor built in. dpr 0 means the screen's ratio.
    static QPixmap get(const QString& name, qreal dpr = 0);
    static QPixmap builtIn(const QString& name, qreal dpr = 0);
    static bool hasBuiltIn(const QString& name);
    static QStringList builtInSkins();
    static QStringList builtInButtons();
    // Start pictures, filler pictures, logos and icons.
    static QStringList builtInPictures();

    // A window icon ("Tavolin", "Update") with every size drawn for itself; null when unknown.
    static QIcon icon(const QString& name);

    // The Styles file that replaces the named skin, or an empty string.
    static QString styleFile(const QString& name);

    // A picture read from a file of the program folder ("Bitmaps\START1.bmp"); null when missing.
    static QPixmap file(const QString& relativePath);

    // Size in layout pixels, whatever the device pixel ratio.
    static QSize logicalSize(const QPixmap& pixmap);

    static void clearCache();
};

} // namespace ui
