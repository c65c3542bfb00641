#include <QApplication>

#include "catalog/maintenance.h"
#include "shell/features.h"
#include "shell/program.h"
#include "stats/artwork.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The functions the menu starts from other modules; an item stays disabled until its module is linked here.
    shell::Features features;
    features.KONVTRANS = [](core::Context& ctx) { catalog::KONVTRANS(ctx); };
    features.DECRYPTALL = [](core::Context& ctx) { catalog::DECRYPTALL(ctx); };
    features.ENCRYPTALL = [](core::Context& ctx) { catalog::ENCRYPTALL(ctx); };
    features.IMPORTPICS = [](core::Context& ctx) { catalog::IMPORTPICS(ctx); };
    stats::registerArtwork();
    return shell::MAIN(features);
}
