#include "ui/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace ui {

namespace {

QString firstInstalled(std::initializer_list<const char*> candidates) {
    const QStringList families = QFontDatabase::families();
    for (const char* c : candidates) {
        const QString name = QString::fromLatin1(c);
        if (families.contains(name, Qt::CaseInsensitive)) return name;
    }
    return QString::fromLatin1(*candidates.begin());
}

} // namespace

QString mapFontFamily(const QString& family) {
    const QString f = family.trimmed().toLower();
    if (f.startsWith(QLatin1String("times"))) return firstInstalled({"Liberation Serif", "DejaVu Serif"});
    if (f == QLatin1String("courier") || f == QLatin1String("courier new"))
        return firstInstalled({"Liberation Mono", "DejaVu Sans Mono"});
    // "MS Sans Serif", "Arial" and anything unknown: the sans-serif face.
    return firstInstalled({"Liberation Sans", "DejaVu Sans"});
}

QFont fontPt(const QString& family, qreal pointSize, bool bold) {
    QFont font(mapFontFamily(family));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QFont fontPx(const QString& family, int pixelHeight, bool bold) {
    QFont font(mapFontFamily(family));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QFont dialogFont(bool bold) {
    return fontPt(QStringLiteral("MS Sans Serif"), 8, bold);
}

QFont helpPageFont() {
    return fontPt(QStringLiteral("Arial"), 10);
}

} // namespace ui
