#pragma once

#include <QString>

class QMainWindow;
class QMenuBar;

namespace core {
class Context;
}

namespace shell {

struct Features;

// MAKEMENU: the main window's menu bar. "&Benutzeranmeldung" follows the login state; the "&Pflege"
// submenu exists only in maintainer mode; items whose function is missing from `features` are disabled.
QMenuBar* MAKEMENU(core::Context& ctx, QMainWindow* window, const Features& features);

// Shell "open" of a PDF document of the program folder (".\texte\Stvo.pdf"). The warning "Es wurde kein
// Acrobat-Reader gefunden!" comes only when the system has no program for PDF files at all; a missing document is
// named in a warning of its own.
void openPdf(core::Context& ctx, const QString& name);
// Shell "open" of any other document of the program folder; a missing one, or one the system has no program for,
// is named in the platform's warning box.
void openDocument(core::Context& ctx, const QString& name);
// Shell "open" of a web or "mailto:" address; when the system has no program for it, the warning box names it.
void openUrl(core::Context& ctx, const QString& url);
// A web address ("www.example.de" gets "http://"), a "mailto:" address, or else a document of the program folder.
void openAddress(core::Context& ctx, const QString& target);
// The mail item of the help menu: "mailto:" + address + "?subject=" + release, the subject encoded for a URL.
QString mailtoAddress(const QString& address, const QString& subject);

} // namespace shell
