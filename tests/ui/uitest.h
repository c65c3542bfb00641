#pragma once

#include <functional>
#include <QString>
#include <QWidget>

// Shared by the toolkit's tests: a QApplication exists for every test (qtapp.cpp).
namespace uitest {

// Shows the window and makes it the active one, so that its Alt shortcuts respond.
bool showActive(QWidget* window);

// Alt+letter as the user types it.
void alt(QWidget* window, char letter);

// Runs the event loop until the predicate holds or the time is up.
bool waitFor(const std::function<bool()>& predicate, int milliseconds = 5000);

} // namespace uitest

// Readable failure messages for the Qt types the tests compare.
#include <ostream>
#include <QColor>
#include <QRect>
#include <QStringList>

inline std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << s.toStdString();
}
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '[' << l.join(QStringLiteral(", ")) << ']';
}
inline void PrintTo(const QColor& c, std::ostream* os) {
    *os << "rgb(" << c.red() << ',' << c.green() << ',' << c.blue() << ')';
}
inline void PrintTo(const QSize& s, std::ostream* os) {
    *os << s.width() << 'x' << s.height();
}
inline void PrintTo(const QPoint& p, std::ostream* os) {
    *os << '(' << p.x() << ',' << p.y() << ')';
}
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.width() << 'x' << r.height() << " at (" << r.x() << ',' << r.y() << ')';
}
