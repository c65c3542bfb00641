// Every skinned dialog of the program as its Part lays it out, with sample contents: labels in the colours
// the dialogs give them, bitmap buttons, bars, fields. The real dialogs live in their modules; these
// stand-ins only show how the artwork carries the controls.
#include "mocks.h"

#include <QLabel>
#include <QRadioButton>

#include "ui/artwork.h"
#include "ui/bitmaps.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/grid.h"
#include "ui/maskededit.h"
#include "ui/skinneddialog.h"

namespace gallery {

namespace {

ui::Label* label(QWidget* parent, const QRect& r, const QString& text, std::optional<QColor> back = std::nullopt,
                 Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter, const QFont& font = ui::dialogFont()) {
    auto* l = ui::place(new ui::Label(text, parent), r);
    l->setColors(Qt::black, back);
    l->setAlignment(align);
    l->setFont(font);
    l->setWordWrap(r.height() > 24);
    return l;
}

void button(QWidget* parent, const char* name, const QRect& r) {
    ui::place(new ui::BitmapButton(QString::fromLatin1(name), QString(), parent), r);
}

void catalogPrint(const SaveFn& save) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("KataDruck"));
    label(&dlg, ui::pxRect(8, 12, 160, 16), QStringLiteral("Fragenkatalog drucken"), QColor(249, 224, 109),
          Qt::AlignLeft | Qt::AlignVCenter, ui::fontPx(QStringLiteral("Arial"), 14));
    label(&dlg, ui::pxRect(60, 40, 290, 40),
          QStringLiteral("Wählen Sie zuerst die Führerscheinklasse aus dem Fragenkatalog, die Sie drucken möchten."),
          QColor(246, 205, 42), Qt::AlignCenter);
    auto* radios = new ui::RadioGroup(&dlg);
    const char* classes[] = {"Klasse A",    "Klasse A1", "Klasse B / BE", "Klasse C",  "Klasse C1",
                             "Klasse CE",   "Klasse D",  "Klasse D1",     "Klasse DE", "Klasse M",
                             "Klasse Mofa", "Klasse L",  "Klasse S",      "Klasse T"};
    for (int i = 0; i < 14; ++i)
        radios->addItem(QString::fromUtf8(classes[i]), ui::pxRect(120 + 18 * (i % 7), 40 + 150 * (i / 7), 140, 18));
    radios->setValue(3);
    button(&dlg, "BZ_WEIT", ui::pxRect(268, 54, 100, 34));
    button(&dlg, "BZ_HELP", ui::pxRect(268, 158, 100, 34));
    button(&dlg, "BZ_ENDE", ui::pxRect(268, 262, 100, 34));
    dlg.addCloseButton(12, 342);
    save(dlg, QStringLiteral("KataDruck"));
}

} // namespace

void renderMocks(const SaveFn& save) {
    catalogPrint(save);
}

} // namespace gallery
