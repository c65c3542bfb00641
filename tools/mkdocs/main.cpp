// mkdocs: typesets the documents the menu opens as PDF files.
//
//     mkdocs html <text.html> <out.pdf>                         a legal text written in HTML
//     mkdocs catalogue <BUSSRECH.DBF> <bussrech.tsv> <out.pdf> [intro.html]
//                                         the fine catalogue: values from the built table, the provenance
//                                         notes (which stay out of the table) from its source
//
// Needs a Qt platform for its fonts; the build runs it with QT_QPA_PLATFORM=offscreen.

#include <cstdio>

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

#include "catalogue.h"
#include "store/error.h"
#include "typeset.h"

namespace {

std::optional<QString> readUtf8(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "mkdocs: %s lässt sich nicht lesen\n", qPrintable(path));
        return std::nullopt;
    }
    return QString::fromUtf8(f.readAll());
}

// What lies between <body> and </body>, or the whole text when it has no body element.
QString bodyOf(const QString& html) {
    static const QRegularExpression open(QStringLiteral("<body[^>]*>"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression close(QStringLiteral("</body\\s*>"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch start = open.match(html);
    const qsizetype from = start.hasMatch() ? start.capturedEnd() : 0;
    const QRegularExpressionMatch end = close.match(html, from);
    return html.mid(from, end.hasMatch() ? end.capturedStart() - from : -1);
}

// The document's <title>, else its first heading, else the file's name.
QString titleOf(const QTextDocument& doc, const QString& path) {
    QString title = doc.metaInformation(QTextDocument::DocumentTitle).simplified();
    for (QTextBlock b = doc.begin(); title.isEmpty() && b.isValid(); b = b.next())
        if (b.blockFormat().headingLevel() > 0) title = b.text().simplified();
    return title.isEmpty() ? QFileInfo(path).completeBaseName() : title;
}

// Fonts the house style names; without them the PDF would silently fall back to some other face.
bool fontsPresent() {
    bool ok = true;
    for (const char* family : {"Liberation Sans", "Liberation Serif"})
        if (!QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            std::fprintf(stderr, "mkdocs: die Schrift %s fehlt (Debian: fonts-liberation2)\n", family);
            ok = false;
        }
    return ok;
}

int typesetHtml(const QString& in, const QString& out) {
    std::optional<QString> html = readUtf8(in);
    if (!html) return 1;
    QTextDocument doc;
    mkdocs::applyHouseStyle(doc);
    doc.setHtml(*html);
    const QString title = titleOf(doc, in);
    if (doc.toPlainText().trimmed().isEmpty()) {
        std::fprintf(stderr, "mkdocs: %s hat keinen Text\n", qPrintable(in));
        return 1;
    }
    return mkdocs::writePdf(doc, title, out) ? 0 : 1;
}

int typesetCatalogue(const QString& table, const QString& sourcePath, const QString& out, const QString& intro) {
    store::setErrorCallback([](const store::StoreError& e) {
        std::fprintf(stderr, "mkdocs: %s: %s\n", e.file.c_str(), e.message.c_str());
    });
    std::optional<std::vector<mkdocs::FineRecord>> rows = mkdocs::readFineTable(table);
    if (!rows) return 1;
    if (rows->empty()) {
        std::fprintf(stderr, "mkdocs: %s ist leer\n", qPrintable(table));
        return 1;
    }
    QFile sourceFile(sourcePath);
    if (!sourceFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "mkdocs: %s lässt sich nicht lesen\n", qPrintable(sourcePath));
        return 1;
    }
    QString fault;
    if (!mkdocs::attachProvenance(*rows, sourceFile.readAll().toStdString(), &fault)) {
        std::fprintf(stderr, "mkdocs: %s: %s\n", qPrintable(table), qPrintable(fault));
        return 1;
    }
    QString introBody;
    if (!intro.isEmpty()) {
        std::optional<QString> html = readUtf8(intro);
        if (!html) return 1;
        introBody = bodyOf(*html);
    }
    QTextDocument doc;
    mkdocs::applyHouseStyle(doc);
    doc.setHtml(mkdocs::catalogueHtml(*rows, introBody));
    return mkdocs::writePdf(doc, QStringLiteral("Bußgeldkatalog"), out) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    if (!(mode == QLatin1String("html") && args.size() == 4) &&
        !(mode == QLatin1String("catalogue") && (args.size() == 5 || args.size() == 6))) {
        std::fprintf(stderr, "Aufruf: mkdocs html <text.html> <out.pdf>\n"
                             "        mkdocs catalogue <BUSSRECH.DBF> <bussrech.tsv> <out.pdf> [intro.html]\n");
        return 2;
    }
    if (!fontsPresent()) return 1;
    if (mode == QLatin1String("html")) return typesetHtml(args[2], args[3]);
    return typesetCatalogue(args[2], args[3], args[4], args.value(5));
}
