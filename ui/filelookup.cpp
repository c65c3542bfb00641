#include "ui/filelookup.h"

#include <QFileInfo>
#include <QStringList>

#include "platform/programdir.h"

namespace ui {

QString findFileNoCase(const QString& baseDir, const QString& name) {
    QString rel = name;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // Names can come from the settings file: they never reach outside the program folder.
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    if (rel.split(QLatin1Char('/')).contains(QStringLiteral(".."))) return {};
    const QFileInfo info(platform::ProgramDir(baseDir).resolve(rel));
    return info.isFile() ? info.absoluteFilePath() : QString();
}

} // namespace ui
