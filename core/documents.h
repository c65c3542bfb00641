#pragma once

#include <QString>

namespace core {

class Context;

// Shell "open" of a PDF document of the program folder (".\texte\Stvo.pdf"). The warning "Es wurde kein
// Acrobat-Reader gefunden!" comes only when the system has no program for PDF files at all; a missing document is
// named in a warning of its own.
void openPdf(Context& ctx, const QString& name);
// Shell "open" of any other document of the program folder; a missing one, or one the system has no program for,
// is named in the platform's warning box.
void openDocument(Context& ctx, const QString& name);
// Shell "open" of a web or "mailto:" address; when the system has no program for it, the warning box names it.
void openUrl(Context& ctx, const QString& url);

} // namespace core
