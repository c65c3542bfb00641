// Draws the program's icon at the sizes desktops look for: lw_mkicons <icon theme folder> <name>
// writes <folder>/<n>x<n>/apps/<name>.png.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

#include "ui/art_common.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: lw_mkicons <icon theme folder> <name>\n");
        return 2;
    }
    const QDir theme(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            ui::art::pictures::programIcon(p, image.size());
        }
        const QString file = theme.filePath(folder + QLatin1Char('/') + QString::fromLocal8Bit(argv[2]) + ".png");
        if (!theme.mkpath(folder) || !image.save(file)) {
            std::fprintf(stderr, "lw_mkicons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
