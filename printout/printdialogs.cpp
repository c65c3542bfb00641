#include "printout/printdialogs.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QRadioButton>
#include <QShortcut>

#include "core/context.h"
#include "core/helptopics.h"
#include "printout/layouts.h"
#include "printout/printcanvas.h"
#include "printout/selection.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"

namespace printout {

namespace at = layout::choice;

namespace {

QAbstractButton* button(QWidget* parent, const char* bitmap, const QString& toolTip, const QRect& rect) {
    auto* b = ui::place(new ui::BitmapButton(QString::fromLatin1(bitmap), toolTip, parent), rect);
    b->setAccessibleName(toolTip);
    return b;
}

} // namespace

ChoiceDialog::ChoiceDialog(core::Context& ctx, Kind kind, int classNo, QWidget* parent)
    : ui::SkinnedDialog(parent), m_ctx(ctx), m_kind(kind), m_class(classNo) {
    const QString topic = core::topicKeyword(core::topic::kCatalogPrint);
    setHelpTopic(ctx, topic);
    ui::DLGPUTBMP(this, QStringLiteral("KataDruck"));
    if (skin().isNull()) setDialogSize(at::kWidth - 1, at::kHeight - 1);
    setWindowTitle(topic);

    auto* title = ui::place(new ui::Label(topic, this), at::title);
    title->setFont(ui::fontPx(QStringLiteral("Arial"), 14));
    title->setColors(Qt::black, ui::art::palette::titleTab);
    title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const bool classes = kind == Kind::Class;
    auto* text = ui::place(
        new ui::Label(classes ? QStringLiteral("Wählen Sie zuerst die Führerscheinklasse aus dem Fragenkatalog, die "
                                               "Sie drucken möchten.")
                              : QStringLiteral("Wählen Sie nun das Thema zur gewählten Führerschein-Klasse aus dem "
                                               "Fragenkatalog, das Sie drucken möchten."),
                      this),
        at::text);
    text->setColors(ui::art::palette::NCOLF, ui::art::palette::amber);
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);

    m_choices = new ui::RadioGroup(this);
    const PrintSettings remembered = readPrintSettings(ctx);
    if (classes) {
        for (std::size_t i = 0; i < PRINT_CLASSES.size(); ++i) {
            QString caption = QString::fromUtf8(PRINT_CLASSES[i].caption);
            // These two stand with ten blanks in the list they come from.
            if (caption == QLatin1String("Klasse B / BE") || caption == QLatin1String("Klasse CE"))
                caption += QString(10, QLatin1Char(' '));
            m_choices->addItem(caption, at::classItem(int(i)));
        }
    } else {
        for (std::size_t i = 0; i < PRINT_THEMES.size(); ++i)
            m_choices->addItem(QString::fromUtf8(PRINT_THEMES[i].caption), at::themeItem(int(i)));
    }
    m_choices->setColors(Qt::black, ui::art::palette::amber);
    m_choices->setValue(classes ? remembered.KataDruck : remembered.KataThema);

    m_next = button(this, "BZ_WEIT", QStringLiteral("Fragenkatalog drucken"), at::next);
    m_help = button(this, "BZ_HELP", QStringLiteral("Hilfe anzeigen"), at::help);
    m_end = button(this, "BZ_ENDE", QStringLiteral("Dialog beenden"), at::end);
    m_close = addCloseButton(at::close);
    connect(m_next, &QAbstractButton::clicked, this, [this] { next(); });
    connect(m_help, &QAbstractButton::clicked, this, [&ctx, topic] { ctx.help().showIndex(core::kHelpFile, topic); });
    connect(m_end, &QAbstractButton::clicked, this, &QDialog::reject);
    // A key held down must not go on into the dialog that its first press opened: the repeated Alt+W would print
    // at once in the theme choice.
    addAccelerator(QLatin1Char('W'), m_next)->setAutoRepeat(false);
    addAccelerator(QLatin1Char('H'), m_help)->setAutoRepeat(false);
    addAccelerator(QLatin1Char('B'), m_end)->setAutoRepeat(false);
    setEnterButton(m_next);
    if (QAbstractButton* chosen = m_choices->button(m_choices->value())) chosen->setFocus();
}

int ChoiceDialog::value() const {
    const int v = m_choices->value();
    return v > 0 ? v : 1;
}

void ChoiceDialog::next() {
    if (m_kind == Kind::Class)
        KATATHEMA(m_ctx, this, value());
    else
        KATAPRINT(m_ctx, m_class, value());
}

bool KATADRUCK(core::Context& ctx, QWidget* owner) {
    ChoiceDialog dialog(ctx, ChoiceDialog::Kind::Class, 0, owner);
    dialog.placeAt(QPoint(50, 50));
    dialog.exec();
    writePrintSetting(ctx, "KataDruck", dialog.value());
    return true;
}

bool KATATHEMA(core::Context& ctx, QWidget* owner, int classNo) {
    ChoiceDialog dialog(ctx, ChoiceDialog::Kind::Theme, classNo, owner);
    dialog.placeAt(QPoint(150, 150));
    dialog.exec();
    writePrintSetting(ctx, "KataThema", dialog.value());
    removePrintFiles(ctx);
    return true;
}

bool KATAPRINT(core::Context& ctx, int classNo, int themeNo) {
    Selection selection(ctx);
    if (!selection.select(classNo, themeNo)) return true;
    ctx.printer().print(QStringLiteral("Fragebogen"), [&selection](QPainter& painter, QPagedPaintDevice& device) {
        PainterCanvas canvas(painter, device);
        return PRINTFRAGEN(canvas, selection);
    });
    selection.finish();
    return true;
}

} // namespace printout
