#pragma once

#include <QString>
#include <QStringList>

#include "core/modules.h"

namespace ui {

// Module loading lives in core, so that logic without widgets (the update's network client) loads modules too.
using core::besideProgram;
using core::moduleFunction;

// Runs a helper program of ours with `arguments` and waits for it: its exit code, or -1 when it could not start,
// crashed or took longer than `timeoutMs` (then it is killed). Safe to call from any thread.
int runHelper(const QString& program, int timeoutMs, const QStringList& arguments = {});

// Starts a helper program of ours with `arguments` and does not wait for it; it is reaped when it ends. False when
// it could not be started, or not watched (then it is ended at once).
bool startHelper(const QString& program, const QStringList& arguments);

} // namespace ui
