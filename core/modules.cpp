#include "core/modules.h"

#include <QCoreApplication>
#include <QLibrary>

namespace core {

QString besideProgram(const QString& fileName) {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + fileName;
}

void* moduleFunction(const QString& moduleFile, const char* symbol, const char* what) {
    QLibrary module(moduleFile);
    void* function = reinterpret_cast<void*>(module.resolve(symbol));
    if (!function) qWarning("Lenkwerk: no %s: %s", what, qPrintable(module.errorString()));
    return function;
}

} // namespace core
