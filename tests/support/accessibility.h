#pragma once

// What a screen reader finds in a window: every control must tell it what it is (its role) and what it is for
// (its name).
#include <QStringList>

class QWidget;

namespace lwtest {

// Walks the accessibility tree of a shown window and returns one line for every visible control without a name or
// with only the generic role of a plain widget; empty when every control can be told apart by name and role.
// Static texts and pictures are not controls; the insides of tables, lists and drop-down lists are their own.
QStringList accessibilityProblems(QWidget* window);

} // namespace lwtest
