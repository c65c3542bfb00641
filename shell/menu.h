#pragma once

#include "core/documents.h"

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

// The documents the menu opens, through the context's shell service with the warnings a learner needs.
using core::openDocument;
using core::openPdf;
using core::openUrl;
// A web address ("www.example.de" gets "http://"), a "mailto:" address, or else a document of the program folder.
void openAddress(core::Context& ctx, const QString& target);
// The mail item of the help menu: "mailto:" + address + "?subject=" + release, the subject encoded for a URL.
QString mailtoAddress(const QString& address, const QString& subject);

} // namespace shell
