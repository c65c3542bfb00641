#include "platform/programdir.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace platform {
namespace {

// The entry of `dir` that is `name` without regard to case, or an empty text. Several candidates ("Texte" and
// "TEXTE") are possible on Linux: the exact spelling wins, else the first in sorted order, so the choice is stable.
QString matchEntry(const QString& dir, const QString& name) {
    if (QFileInfo::exists(dir.endsWith(u'/') ? dir + name : dir + u'/' + name)) return name;
    QStringList entries = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    entries.sort();
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
    return QString();
}

} // namespace

ProgramDir::ProgramDir(const QString& folder) {
    QString p = folder;
    p.replace(u'\\', u'/');
    p = QDir::cleanPath(p);
    if (QDir::isRelativePath(p)) p = QDir::cleanPath(QDir::current().absoluteFilePath(p));
    m_path = p;
}

ProgramDir ProgramDir::ofExecutable() {
    return ProgramDir(QCoreApplication::applicationDirPath());
}

QString ProgramDir::resolve(const QString& name) const {
    QString n = name;
    n.replace(u'\\', u'/');
    const bool absolute = n.startsWith(u'/');
    const QStringList parts = n.split(u'/', Qt::SkipEmptyParts);

    // Lexical resolution first: ".." takes back one component, never above the root.
    QStringList components = absolute ? QStringList() : m_path.split(u'/', Qt::SkipEmptyParts);
    qsizetype fixedCount = absolute ? 0 : components.size(); // the program folder is taken as given
    for (const QString& part : parts) {
        if (part == u".") continue;
        if (part == u"..") {
            if (!components.isEmpty()) components.removeLast();
            fixedCount = std::min(fixedCount, components.size());
            continue;
        }
        components << part;
    }

    QString result;
    bool onDisk = true;
    for (qsizetype i = 0; i < components.size(); ++i) {
        const QString dir = result.isEmpty() ? QStringLiteral("/") : result;
        QString component = components[i];
        if (onDisk && i >= fixedCount) {
            const QString found = matchEntry(dir, component);
            if (found.isEmpty())
                onDisk = false;
            else
                component = found;
        }
        result += u'/' + component;
    }
    return result.isEmpty() ? QStringLiteral("/") : result;
}

bool ProgramDir::exists(const QString& name) const {
    return QFileInfo::exists(resolve(name));
}

QString ProgramDir::find(const QString& name) const {
    QString rel = name;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    if (rel.split(QLatin1Char('/')).contains(QStringLiteral(".."))) return {};
    const QFileInfo info(resolve(rel));
    return info.isFile() ? info.absoluteFilePath() : QString();
}

std::filesystem::path ProgramDir::resolvePath(std::string_view utf8Name) const {
    const QByteArray utf8 =
        resolve(QString::fromUtf8(utf8Name.data(), static_cast<qsizetype>(utf8Name.size()))).toUtf8();
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.constData()), static_cast<std::size_t>(utf8.size())));
}

} // namespace platform
