#include <QDir>
#include <QImage>
#include <QPainter>

#include "ui/artwork.h"

namespace ui::art {

QStringList writeBitmapFiles(const QString& dir) {
    QStringList written;
    if (!QDir().mkpath(dir)) return written;
    for (const FileEntry& f : bitmapFileTable()) {
        // At the picture's own size (one pixel per pixel): the dialogs take their size from these files.
        const QPixmap pm = draw(QString::fromLatin1(f.name), 1.0);
        if (pm.isNull()) continue;
        // A bitmap file has no transparency: what is transparent in the picture becomes the frame's ink.
        QImage img(pm.size(), QImage::Format_RGB32);
        img.fill(palette::ink);
        QPainter p(&img);
        p.drawPixmap(0, 0, pm);
        p.end();
        const QString path = QDir(dir).filePath(QString::fromLatin1(f.file));
        if (img.save(path, "BMP")) written << QString::fromLatin1(f.file);
    }
    return written;
}

} // namespace ui::art
