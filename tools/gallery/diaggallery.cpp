// The error dialogs with the texts and call levels a real error gives them.
#include "diaggallery.h"

#include <QTemporaryDir>

#include "diag/errordialog.h"
#include "diag/printerr.h"
#include "support/scripted.h"

namespace gallery {

namespace {

struct Sample {
    const char* file;
    diag::ErrorRecord error;
    QStringList stack;
};

QStringList openStack() {
    return {QStringLiteral("Aufgerufen von store::Table::openOnce(367)"),
            QStringLiteral("Aufgerufen von store::Table::open(323)"),
            QStringLiteral("Aufgerufen von store::Session::use(877)"),
            QStringLiteral("Aufgerufen von training::Run::CHECKDBF(102)"),
            QStringLiteral("Aufgerufen von training::FRAGEN(64)"),
            QStringLiteral("Aufgerufen von training::GETTHEMA(131)"),
            QStringLiteral("Aufgerufen von shell::MainWindow::runFeature(212)"),
            QStringLiteral("Aufgerufen von main(148)")};
}

} // namespace

void renderDiagnostics(const SaveFn& save) {
    diag::ErrorRecord open;
    open.GENCODE = diag::gencode::kOpen;
    open.SUBSYSTEM = QStringLiteral("LWDBF");
    open.SUBCODE = 1021;
    open.DESCRIPTION = QStringLiteral("LOCAL1.DBF ist keine Tabelle: die Datei hat nur 10 Bytes, der Kopf allein "
                                      "braucht 32");
    open.FILENAME = QStringLiteral("/home/anna/Lenkwerk/LOCAL1.DBF");

    diag::ErrorRecord exception;
    exception.GENCODE = diag::gencode::kException;
    exception.SUBSYSTEM = QStringLiteral("C++");
    exception.SUBCODE = 0;
    exception.DESCRIPTION = QStringLiteral("Ausnahme std::out_of_range: vector::_M_range_check");

    const Sample samples[] = {
        {"error_end", exception,
         {QStringLiteral("Aufgerufen von stats::GETSTAT(88)"), QStringLiteral("Aufgerufen von stats::STATIST(40)"),
          QStringLiteral("Aufgerufen von main(148)")}},
        {"error_retry_end", open, openStack()},
        {"error_end_default", exception, {QStringLiteral("Aufgerufen von viewer::KatalogDialog::search(301)")}},
        {"error_retry_end_default", open, openStack()},
    };
    const bool retry[] = {false, true, false, true};
    const bool byDefault[] = {false, false, true, true};
    for (int i = 0; i < 4; ++i) {
        diag::ErrorRecord e = samples[i].error;
        e.CANRETRY = retry[i];
        e.CANDEFAULT = byDefault[i];
        diag::ErrorDialog dlg({e, QStringLiteral("   Fehlerbeschreibung: ") + diag::ERRORMESSAGE(e), samples[i].stack,
                               1 + int(retry[i]) + int(byDefault[i])});
        save(dlg, QString::fromLatin1(samples[i].file));
    }

    QTemporaryDir folder;
    lwtest::ScriptedContext ctx(folder.path());
    for (int preset : {diag::kDelete, diag::kMail}) {
        ctx.settings.NS_ERROR = preset;
        diag::PrintErrDialog dlg(ctx, true);
        save(dlg, QStringLiteral("PRINTERR_%1").arg(preset));
    }
    diag::PrintErrDialog withoutMail(ctx, false);
    save(withoutMail, QStringLiteral("PRINTERR_without_mail"));
}

} // namespace gallery
