#include "ui/cursors.h"

#include <QApplication>
#include <QWidget>

namespace ui {

QCursor cursor(CursorKind kind) {
    switch (kind) {
    case CursorKind::Hand:
        return QCursor(Qt::PointingHandCursor);
    case CursorKind::Wait:
        return QCursor(Qt::WaitCursor);
    case CursorKind::Move:
        return QCursor(Qt::SizeAllCursor);
    case CursorKind::Arrow:
        break;
    }
    return QCursor(Qt::ArrowCursor);
}

void setCursor(QWidget* widget, CursorKind kind) {
    widget->setCursor(cursor(kind));
}

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(cursor(CursorKind::Wait));
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

void processEvents() {
    // Bounded so that a steady stream of events cannot starve the action that called us.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

} // namespace ui
