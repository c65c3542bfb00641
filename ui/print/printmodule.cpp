// Printing as a module of its own, loaded by ui::SystemPrinter with the first print job: Qt Print Support and the
// printing system's client libraries then cost nothing at the program's start.
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "core/services.h"

extern "C" Q_DECL_EXPORT bool lenkwerk_print(const QString& jobName, const core::PrinterService::PageWriter& writer,
                                             QWidget* owner) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(jobName);
    // The printouts are laid out for A4; the user may still choose another paper in the dialog.
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialog(&printer, owner);
    if (dialog.exec() != QDialog::Accepted) return false;
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const bool ok = writer(painter, printer);
    return painter.end() && ok;
}
