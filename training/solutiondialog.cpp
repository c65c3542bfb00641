#include "training/solutiondialog.h"

#include <QGuiApplication>
#include <QScreen>

#include "core/context.h"
#include "training/layouts.h"
#include "training/questionrun.h"
#include "training/slots.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"

namespace training {

SolutionDialog::SolutionDialog(core::Context& ctx, const QString& solution, QWidget* parent)
    : ui::SkinnedDialog(parent) {
    namespace at = layout::solution;
    setWindowTitle(QStringLiteral("Die richtige Lösung"));
    ui::DLGPUTBMP(this, QStringLiteral("Auswert"), true);
    const QColor back = ui::art::palette::solutionOrange;
    m_title = ui::place(new ui::Label(QStringLiteral("Die richtige Lösung lautet:"), this), at::title);
    m_title->setFont(ui::fontPx(QStringLiteral("MS Sans Serif"), 13, true));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setColors(Qt::black, back);
    // The text reaches up into the title: transparent, so that it does not cover the title's lower half.
    m_text = ui::place(new ui::Label(this), at::text);
    m_text->setDisplayText(solution);
    m_text->setFont(ui::dialogFont(true));
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setWordWrap(true);
    m_text->setColors(Qt::black);
    m_text->setTransparent(true);
    m_next = ui::place(new ui::BitmapButton(QStringLiteral("BZ_WEIT"), QStringLiteral("Meldung schließen"), this),
                       at::next);
    m_next->setAccessibleName(QStringLiteral("Meldung schließen"));
    connect(m_next, &QAbstractButton::clicked, this, &QDialog::accept);
    addAccelerator(QLatin1Char('W'), m_next);
    m_next->setFocus();
    keepInSlot(ctx, this, 2, [](const ui::SkinnedDialog* d) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QSize s = screen ? screen->geometry().size() : QSize(1024, 768);
        return QPoint(s.width() / 2 - d->width() + 40, s.height() / 2 + 50);
    });
}

void FRGAUSWERT(core::Context& ctx, const QuestionRun& run, QWidget* owner) {
    core::SPEEKIT(ctx, QStringLiteral("Die Frage wurde falsch beantwortet, hier ist die Lösung!"));
    SolutionDialog dialog(ctx, run.solutionText(), owner);
    dialog.exec();
}

} // namespace training
