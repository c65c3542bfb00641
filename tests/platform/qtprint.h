#pragma once

#include <ostream>

#include <QString>

// Lets failing expectations show a QString as text rather than as bytes.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
