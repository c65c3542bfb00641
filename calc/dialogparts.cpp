#include "calc/dialogparts.h"

#include <QKeySequence>

#include "core/context.h"
#include "core/helptopics.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/maskededit.h"
#include "ui/skinneddialog.h"

namespace calc::parts {

ui::Label* label(QWidget* parent, const QString& text, const QRect& rect, const QColor& back, Qt::Alignment alignment,
                 bool bold) {
    auto* l = ui::place(new ui::Label(text, parent), rect);
    l->setColors(ui::art::palette::NCOLF, back);
    l->setAlignment(alignment | Qt::AlignVCenter);
    if (bold) l->setFont(ui::dialogFont(true));
    return l;
}

ui::MaskedEdit* field(QWidget* parent, const QRect& rect, Qt::Alignment alignment) {
    auto* e = ui::place(new ui::MaskedEdit(parent), rect);
    e->setAlignment(alignment | Qt::AlignVCenter);
    ui::setColors(e, ui::art::palette::NCOLF, ui::art::palette::NCOLB);
    return e;
}

ui::BitmapButton* button(QWidget* parent, const QString& bitmap, const QString& toolTip, const QRect& rect) {
    auto* b = ui::place(new ui::BitmapButton(bitmap, toolTip, parent), rect);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

void showHelp(core::Context& ctx) {
    ctx.help().showTopic(core::kHelpFile, ctx.helpTopic);
}

void centreOver(ui::SkinnedDialog* dialog, QWidget* owner) {
    if (!owner) return;
    const QWidget* window = owner->window();
    const QRect frame = window->frameGeometry();
    dialog->placeAt(frame.center() - QPoint(dialog->width() / 2, dialog->height() / 2));
}

} // namespace calc::parts
