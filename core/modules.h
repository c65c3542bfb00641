#pragma once

#include <QString>

namespace core {

// The program's own modules and helpers lie beside its executable.
QString besideProgram(const QString& fileName);

// A function of one of the program's modules, loaded on first use so that the libraries behind it cost nothing
// until then. The module stays loaded (what it started may still run). Null, with a warning naming `what`, when the
// module or the function is missing.
void* moduleFunction(const QString& moduleFile, const char* symbol, const char* what);

} // namespace core
