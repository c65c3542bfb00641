#pragma once

#include <QString>

class QTextDocument;

namespace mkdocs {

// The house style of the printed documents: sans-serif headings, serif text, framed tables.
// Call it before setHtml(): the style sheet is applied while the HTML is read.
void applyHouseStyle(QTextDocument& doc);

// Lays the document out on A4 pages and writes it as PDF: the title runs at the head of every page and the
// page number ("Seite 2 von 7") at its foot; a heading never stays alone at the bottom of a page.
// Returns false (after a message on stderr) when the file cannot be written.
bool writePdf(QTextDocument& doc, const QString& title, const QString& path);

} // namespace mkdocs
