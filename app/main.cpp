#include "app/artwork.h"
#include "calc/anhawegdialog.h"
#include "calc/bussrechdialog.h"
#include "calc/kfzsteudialog.h"
#include "catalog/maintenance.h"
#include "diag/errordialog.h"
#include "diag/errorsys.h"
#include "exam/pruefung.h"
#include "online/maildialog.h"
#include "online/updatedialog.h"
#include "printout/printdialogs.h"
#include "progress/history.h"
#include "progress/lernstand.h"
#include "shell/features.h"
#include "shell/program.h"
#include "training/themedialog.h"
#include "stats/statist.h"
#include "viewer/dialogs.h"

int main(int argc, char* argv[]) {
    // The error handler is in place before anything else runs, and stays to the end.
    diag::ERRORSYS();
    diag::ErrorApplication app(argc, argv);
    app::registerArtwork();
    // The functions the menu starts from other modules; an item stays disabled until its module is linked here.
    shell::Features features;
    features.GETTHEMA = [](core::Context& ctx, QWidget* owner, const QString& code, const QString& description) {
        training::Links links;
        links.statClass = [](core::Context& c, QWidget* o, const QString& classCode) { stats::STATIST(c, o, classCode); };
        links.statTheme = stats::STATTHEMA;
        // Every finished exam goes into the learner's history as well.
        links.exam = [](core::Context& c, QWidget* o, const QString& classCode) {
            progress::ExamRecorder recorder(c);
            exam::PRUEFUNG(c, o, classCode, &recorder);
        };
        training::GETTHEMA(ctx, owner, code, description, links);
    };
    features.LERNSTAND = progress::LERNSTAND;
    features.DOWNLOADIT = [](core::Context& ctx, QWidget* owner) { online::DOWNLOADIT(ctx, owner); };
    // An old error log can be mailed to support.
    features.MAILSUPPORT = [](core::Context& ctx, const QString& subject, const QString& file) {
        online::MAILSUPPORT(ctx, subject, file);
    };
    features.KATALOG = viewer::KATALOG;
    features.KATASTAT = viewer::KATASTAT;
    features.KFZ_STEUER = calc::KFZ_STEUER;
    features.BUSSRECH = calc::BUSSRECH;
    features.ANHAWEG = calc::ANHAWEG;
    features.KATADRUCK = [](core::Context& ctx, QWidget* owner) { printout::KATADRUCK(ctx, owner); };
    features.KONVTRANS = [](core::Context& ctx) { catalog::KONVTRANS(ctx); };
    features.DECRYPTALL = [](core::Context& ctx) { catalog::DECRYPTALL(ctx); };
    features.ENCRYPTALL = [](core::Context& ctx) { catalog::ENCRYPTALL(ctx); };
    features.IMPORTPICS = [](core::Context& ctx) { catalog::IMPORTPICS(ctx); };
    return shell::MAIN(features);
}
