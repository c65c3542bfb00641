#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QApplication>
#include <QDialog>
#include <QString>
#include <QTimer>
#include <QWidget>

// Shared by the toolkit's tests: a QApplication exists for every test (qtapp.cpp).
namespace uitest {

// Shows the window and makes it the active one, so that its Alt shortcuts respond.
bool showActive(QWidget* window);

// Alt+letter as the user types it.
void alt(QWidget* window, char letter);

// Keys as a user types them: to the widget that has the focus now, or to the active window when none has.
void typeKeys(const QString& text);
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Presses Tab until the focus is on `target` (or inside it); false when forty presses never get there.
bool tabTo(QWidget* target);

// Runs the event loop until the predicate holds or the time is up.
bool waitFor(const std::function<bool()>& predicate, int milliseconds = 5000);

// Acts on the next modal dialog of type T as soon as it is shown (the code under test is blocked in its exec()).
// A dialog still open after ten seconds is rejected, so that a test that forgot to close it fails instead of
// hanging.
template <typename T> void onNextDialog(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    auto ticks = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, ticks, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dlg = qobject_cast<T*>(modal); dlg && dlg->isVisible()) {
            timer->stop();
            timer->deleteLater();
            // A dialog over another counts as active with it before it is the active window itself; its keys
            // reach it only then.
            dlg->activateWindow();
            EXPECT_TRUE(waitFor([dlg] { return QApplication::activeWindow() == dlg; }, 2000));
            act(dlg);
            return;
        }
        if (++*ticks > 1000) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "the expected dialog did not appear or was left open";
            if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
        }
    });
    timer->start();
}

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
