#include "ui/bitmaps.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>

#include "ui/artwork.h"
#include "platform/programdir.h"

namespace ui {

namespace {

QString& programDirRef() {
    static QString dir;
    return dir;
}

QHash<QString, QPixmap>& cache() {
    static QHash<QString, QPixmap> c;
    return c;
}

qreal effectiveDpr(qreal dpr) {
    if (dpr > 0) return dpr;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return qGuiApp->devicePixelRatio();
    return 1.0;
}

} // namespace

void Bitmaps::setProgramDir(const QString& dir) {
    programDirRef() = dir;
}

QString Bitmaps::programDir() {
    if (programDirRef().isEmpty() && QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return programDirRef();
}

QString Bitmaps::styleFile(const QString& name) {
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) return {};
    return platform::ProgramDir(programDir()).find(QStringLiteral("Styles/") + name + QStringLiteral(".bmp"));
}

QPixmap Bitmaps::file(const QString& relativePath) {
    const QString path = platform::ProgramDir(programDir()).find(relativePath);
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

QPixmap Bitmaps::get(const QString& name, qreal dpr) {
    // Looked up on every call: a skin file dropped into Styles/ takes effect without a restart.
    const QString path = styleFile(name);
    if (!path.isEmpty()) {
        QPixmap pm(path);
        if (!pm.isNull()) return pm;
    }
    return builtIn(name, dpr);
}

bool Bitmaps::hasBuiltIn(const QString& name) {
    return art::findSkin(name) || art::findButton(name) || art::findPicture(name);
}

QPixmap Bitmaps::builtIn(const QString& name, qreal dpr) {
    dpr = effectiveDpr(dpr);
    const QString key = name.toLower() + QLatin1Char('@') + QString::number(dpr);
    auto it = cache().constFind(key);
    if (it != cache().constEnd()) return *it;

    const QPixmap pm = art::draw(name, dpr);
    if (pm.isNull()) return {};
    cache().insert(key, pm);
    return pm;
}

QStringList Bitmaps::builtInSkins() {
    QStringList names;
    for (const auto& e : art::skinTable())
        names << QString::fromLatin1(e.name);
    return names;
}

QStringList Bitmaps::builtInButtons() {
    QStringList names;
    for (const auto& e : art::buttonTable())
        names << QString::fromLatin1(e.name);
    return names;
}

QStringList Bitmaps::builtInPictures() {
    QStringList names;
    for (const auto& e : art::pictureTable())
        names << QString::fromLatin1(e.name);
    return names;
}

QIcon Bitmaps::icon(const QString& name) {
    // A Styles picture replaces the icon as it replaces any bitmap; the built-in one is drawn at every size.
    const QString path = styleFile(name);
    if (!path.isEmpty()) {
        QPixmap pm(path);
        if (!pm.isNull()) return QIcon(pm);
    }
    return art::icon(name);
}

QSize Bitmaps::logicalSize(const QPixmap& pixmap) {
    return pixmap.deviceIndependentSize().toSize();
}

void Bitmaps::clearCache() {
    cache().clear();
}

} // namespace ui
