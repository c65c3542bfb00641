#include "shell/startup.h"

#include <algorithm>
#include <cctype>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "core/context.h"
#include "platform/ansi.h"
#include "shell/settings.h"
#include "store/codepage.h"
#include "store/filecommit.h"

namespace shell {

int setGermanRuntime() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* app = QCoreApplication::instance();
    if (!app) return 0;
    // Qt's own texts in German: buttons of the warning box, edit-field menus, print and file dialogs (qtbase) and
    // the help window's search (qt_help). Debian ships them in qt6-translations-l10n.
    int loaded = 0;
    for (const char* catalog : {"qtbase", "qt_help"}) {
        auto* translator = new QTranslator(app);
        if (translator->load(QLocale(QLocale::German), QString::fromLatin1(catalog), QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
            QCoreApplication::installTranslator(translator)) {
            ++loaded;
        } else {
            delete translator;
        }
    }
    return loaded;
}

bool isSettingsTempName(const QString& fileName) {
    // "TAVOLIN.INI." or "TAVOLIN.SAV." and six letters or digits (the temporary files of a settings write).
    if (fileName.size() != 18) return false;
    const QString stem = fileName.left(12).toUpper();
    if (stem != QLatin1String("TAVOLIN.INI.") && stem != QLatin1String("TAVOLIN.SAV.")) return false;
    return std::all_of(fileName.begin() + 12, fileName.end(), [](QChar c) {
        return c.unicode() < 128 && std::isalnum(static_cast<unsigned char>(c.unicode()));
    });
}

void prepareProgramFolder(core::Context& ctx) {
    store::SweepReport report = store::sweepLeftovers(ctx.folder());
    const QDir dir(ctx.programDir);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!isSettingsTempName(name)) continue;
        if (QFile::remove(dir.filePath(name)))
            report.removed.push_back(name.toStdString());
        else
            report.failed.push_back(name.toStdString());
    }
    if (!report.failed.empty()) {
        QStringList names;
        for (const std::string& name : report.failed)
            names << QString::fromStdString(name);
        core::WARNBOX(ctx,
                      QStringLiteral("Reste eines unterbrochenen Programmlaufs lassen sich nicht aufräumen:\r%1")
                          .arg(names.join(QStringLiteral(", "))),
                      QStringLiteral("Problem"));
    }

    QString warning;
    restoreSettingsBackup(ctx, &warning);
    if (!warning.isEmpty()) core::WARNBOX(ctx, warning, QStringLiteral("Problem"));
}

bool maintainerModeRequested(const core::Context& ctx) {
    return ctx.exists(QStringLiteral("Maint/Pflegemodus"));
}

QString projectText(const core::Context& ctx, const QString& storedText) {
    QFile f(iniPath(ctx));
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = f.readAll();
        const bool bom =
            bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
        bool nonAscii = false;
        for (char c : bytes)
            nonAscii = nonAscii || static_cast<unsigned char>(c) >= 0x80;
        if (bom || (nonAscii && store::isValidUtf8(std::string_view(bytes.constData(), std::size_t(bytes.size())))))
            return storedText;
    }
    // The settings file is read as ANSI; its bytes are the OEM text.
    return platform::fromOem(platform::toAnsi(storedText));
}

} // namespace shell
