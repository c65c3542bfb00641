#pragma once

#include <QCursor>

class QWidget;

namespace ui {

enum class CursorKind { Arrow, Hand, Wait, Move };

QCursor cursor(CursorKind kind);
void setCursor(QWidget* widget, CursorKind kind);

// Shows the wait cursor over the whole program for its lifetime (the dialogs' "wait cursor ... arrow cursor").
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Lets pending window messages be handled from inside a long action, so dialogs repaint and react.
void processEvents();

} // namespace ui
