#include "core/documents.h"

#include <QDir>
#include <QUrl>

#include "core/context.h"

namespace core {

namespace {

QString documentPath(const core::Context& ctx, const QString& name) {
    const QString found = ctx.resolve(name);
    return found.isEmpty() ? ctx.path(name) : found;
}

void warnMissing(core::Context& ctx, const QString& path) {
    core::WARNBOX(ctx, QStringLiteral("Die Datei\r%1\rwurde nicht gefunden.").arg(QDir::toNativeSeparators(path)),
                  QStringLiteral("Problem"));
}

void warnNoProgram(core::Context& ctx, const QString& what) {
    core::WARNBOX(ctx,
                  QStringLiteral("Für\r%1\rist auf diesem System kein Programm zum Öffnen eingerichtet.").arg(what),
                  QStringLiteral("Problem"));
}

} // namespace

void openPdf(core::Context& ctx, const QString& name) {
    const QString path = documentPath(ctx, name);
    switch (ctx.shell().openDocument(path)) {
    case core::ShellService::Result::Ok:
        break;
    case core::ShellService::Result::NotFound:
        warnMissing(ctx, path);
        break;
    case core::ShellService::Result::NoProgram:
        // No program for PDF files at all, the system's default included.
        core::WARNBOX(ctx, QStringLiteral("Es wurde kein Acrobat-Reader gefunden!"), QStringLiteral("Problem"));
        break;
    case core::ShellService::Result::Failed:
        warnNoProgram(ctx, QDir::toNativeSeparators(path));
        break;
    }
}

void openDocument(core::Context& ctx, const QString& name) {
    const QString path = documentPath(ctx, name);
    switch (ctx.shell().openDocument(path)) {
    case core::ShellService::Result::Ok:
        break;
    case core::ShellService::Result::NotFound:
        warnMissing(ctx, path);
        break;
    case core::ShellService::Result::NoProgram:
    case core::ShellService::Result::Failed:
        warnNoProgram(ctx, QDir::toNativeSeparators(path));
        break;
    }
}

void openUrl(core::Context& ctx, const QString& url) {
    if (!ctx.shell().openUrl(url)) {
        // A mail address is named without the subject the program adds.
        QString shown = url;
        if (shown.startsWith(QStringLiteral("mailto:"))) shown = QUrl(url).path();
        warnNoProgram(ctx, shown);
    }
}

} // namespace core
