#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include <functional>

class QWidget;

namespace core {
class Context;
}
namespace ui {
class BitmapButton;
class Label;
class MaskedEdit;
class SkinnedDialog;
} // namespace ui

// Pieces the three calculators share.
namespace calc::parts {

// A label filled with the colour of the surface it stands on.
ui::Label* label(QWidget* parent, const QString& text, const QRect& rect, const QColor& back,
                 Qt::Alignment alignment = Qt::AlignLeft, bool bold = false);

// An input field in the calculators' field colours, its text aligned as given.
ui::MaskedEdit* field(QWidget* parent, const QRect& rect, Qt::Alignment alignment);

// A bitmap button outside the tab order, as every button of the calculators is.
ui::BitmapButton* button(QWidget* parent, const QString& bitmap, const QString& toolTip, const QRect& rect);

// The program's help at the topic the dialog set.
void showHelp(core::Context& ctx);

// Centred over the owner's window rather than the screen.
void centreOver(ui::SkinnedDialog* dialog, QWidget* owner);

} // namespace calc::parts
