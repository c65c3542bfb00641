#pragma once

#include <QString>
#include <QStringList>

namespace ui {

// The program's own modules and helpers lie beside its executable.
QString besideProgram(const QString& fileName);

// A function of one of the program's modules, loaded on first use so that the libraries behind it cost nothing
// until then. The module stays loaded (what it started may still run). Null, with a warning naming `what`, when the
// module or the function is missing.
void* moduleFunction(const QString& moduleFile, const char* symbol, const char* what);

// Runs a helper program of ours and waits for it: its exit code, or -1 when it could not start, crashed or took
// longer than `timeoutMs` (then it is killed). Safe to call from any thread.
int runHelper(const QString& program, int timeoutMs);

// Starts a helper program of ours with `arguments` and does not wait for it; it is reaped by the system when it
// ends. False when it could not be started.
bool startHelper(const QString& program, const QStringList& arguments);

} // namespace ui
