#include "ui/filelookup.h"

#include <QDir>
#include <QFileInfo>

namespace ui {

QString findFileNoCase(const QString& baseDir, const QString& name) {
    QString rel = name;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QStringList parts = rel.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    if (parts.isEmpty() || parts.contains(QStringLiteral(".."))) return {};

    QDir dir(baseDir);
    for (int i = 0; i < parts.size(); ++i) {
        const bool last = i == parts.size() - 1;
        QString found;
        if (QFileInfo::exists(dir.filePath(parts[i]))) {
            found = parts[i];
        } else {
            const auto filter = last ? (QDir::Files | QDir::Hidden) : (QDir::Dirs | QDir::Hidden);
            const QStringList entries = dir.entryList(filter | QDir::NoDotAndDotDot);
            for (const QString& e : entries) {
                if (e.compare(parts[i], Qt::CaseInsensitive) == 0) {
                    found = e;
                    break;
                }
            }
        }
        if (found.isEmpty()) return {};
        const QFileInfo info(dir.filePath(found));
        if (last) return info.isFile() ? info.absoluteFilePath() : QString();
        if (!info.isDir()) return {};
        dir.setPath(info.absoluteFilePath());
    }
    return {};
}

} // namespace ui
