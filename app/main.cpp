#include <QApplication>

#include "calc/anhawegdialog.h"
#include "calc/artwork.h"
#include "calc/bussrechdialog.h"
#include "calc/kfzsteudialog.h"
#include "catalog/maintenance.h"
#include "shell/features.h"
#include "shell/program.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The functions the menu starts from other modules; an item stays disabled until its module is linked here.
    shell::Features features;
    features.KFZ_STEUER = calc::KFZ_STEUER;
    features.BUSSRECH = calc::BUSSRECH;
    features.ANHAWEG = calc::ANHAWEG;
    features.KONVTRANS = [](core::Context& ctx) { catalog::KONVTRANS(ctx); };
    features.DECRYPTALL = [](core::Context& ctx) { catalog::DECRYPTALL(ctx); };
    features.ENCRYPTALL = [](core::Context& ctx) { catalog::ENCRYPTALL(ctx); };
    features.IMPORTPICS = [](core::Context& ctx) { catalog::IMPORTPICS(ctx); };
    calc::registerArtwork();
    return shell::MAIN(features);
}
