// Writes the pictures the program reads from its Bitmaps folder (start pictures, no-picture pictures and
// the skins whose size the dialogs take from the file): lw_mkbitmaps <Bitmaps dir>. Runs without a screen.
#include <QGuiApplication>

#include <cstdio>

#include "app/artwork.h"
#include "ui/artwork.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: lw_mkbitmaps <output dir>\n");
        return 2;
    }
    app::registerArtwork();
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QStringList written = ui::art::writeBitmapFiles(dir);
    if (written.size() != int(ui::art::bitmapFileTable().size())) {
        std::fprintf(stderr, "lw_mkbitmaps: wrote %d of %d pictures into %s\n", int(written.size()),
                     int(ui::art::bitmapFileTable().size()), argv[1]);
        return 1;
    }
    return 0;
}
