#pragma once

#include <QRect>

class QWidget;

namespace ui {

// Dialog positions are given as top, left, width, height: in pixels of the background picture, or in layout
// units of two pixels each.
constexpr int kPixelsPerUnit = 2;

constexpr int units(int layoutUnits) {
    return layoutUnits * kPixelsPerUnit;
}

inline QRect pxRect(int top, int left, int width, int height) {
    return QRect(left, top, width, height);
}

inline QRect luRect(int top, int left, int width, int height) {
    return QRect(units(left), units(top), units(width), units(height));
}

// Dialog units of a dialog resource laid out in "MS Sans Serif" 8: 1.5 pixels across, 1.625 down.
inline QRect duRect(int top, int left, int width, int height) {
    return QRect(qRound(left * 1.5), qRound(top * 1.625), qRound(width * 1.5), qRound(height * 1.625));
}

// Places a control; returns it so that creation and placement read as one line.
template <typename W> W* place(W* widget, const QRect& rect) {
    widget->setGeometry(rect);
    return widget;
}

} // namespace ui
