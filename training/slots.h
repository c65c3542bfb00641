#pragma once

#include <QPoint>

#include <functional>

class QWidget;

namespace core {
class Context;
}
namespace ui {
class SkinnedDialog;
}

namespace training {

// A dialog whose place is kept in a position slot (1 the theme selection, 2 the solution pop-up): it opens where
// the slot says, or where `fallback` puts it when nothing is saved there (top or left not positive), and every
// move the user makes while it is shown is saved in the slot.
void keepInSlot(core::Context& ctx, ui::SkinnedDialog* dialog, int slot,
                const std::function<QPoint(const ui::SkinnedDialog*)>& fallback = {});

} // namespace training
