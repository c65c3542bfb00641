#include "calc/anhawegdialog.h"

#include "calc/dialogparts.h"
#include "calc/layouts.h"
#include "core/context.h"
#include "core/helptopics.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/maskededit.h"

namespace calc {

namespace {

namespace at = layout::stopping;
using namespace anhaweg;

const QColor kLabels = ui::art::palette::stopAmber;

const char* const kCaptions[7] = {"Anfangsgeschwindigkeit",
                                  "Reakationszeit",
                                  "Bremsverzögerung",
                                  "Reaktionsweg",
                                  "Bremsweg",
                                  "Anhalteweg",
                                  "Anhaltezeit"};
const char* const kUnits[7] = {"km/h", "Sek.", "m/s²", "Meter", "Meter", "Meter", "Sek."};

} // namespace

StoppingDialog::StoppingDialog(core::Context& ctx, QWidget* parent) : ui::SkinnedDialog(parent) {
    setWindowTitle(QStringLiteral("Anhalteweg berechnen"));
    setHelpTopic(ctx, core::topicKeyword(core::topic::kStoppingDistance));
    ui::DLGPUTBMP(this, QStringLiteral("AnhaWeg"), true);
    setFont(ui::dialogFont());

    for (int i = 0; i < 7; ++i) {
        parts::label(this, QString::fromUtf8(kCaptions[i]), at::label(i), kLabels, Qt::AlignRight);
        parts::label(this, QString::fromUtf8(kUnits[i]), at::unit(i), kLabels);
        ui::MaskedEdit* e = parts::field(this, at::field(i), Qt::AlignRight);
        if (i < 3) {
            m_inputs[size_t(i)] = e;
            e->setReplaceOnFirstKey(true);
        } else {
            m_results[size_t(i - 3)] = e;
            e->setReadOnly(true);
            e->setFocusPolicy(Qt::NoFocus);
            e->setFont(ui::dialogFont(true));
            ui::setColors(e, ui::art::palette::NCOLF, ui::art::palette::NCOLBH);
        }
    }
    const Input defaults;
    speedField()->setDigits(3);
    speedField()->setText(QString::number(defaults.NSPEED));
    reactionField()->setPicture(QStringLiteral("@E 9.99"));
    reactionField()->setDecimal(defaults.NREAKTIME);
    decelerationField()->setPicture(QStringLiteral("@E 9.99"));
    decelerationField()->setDecimal(defaults.NVERZOEG);
    showResult(Result{});

    QStringList roads;
    for (const RoadCondition& c : AVERZG())
        roads << QString::fromUtf8(c.text);
    m_road = ui::place(new ui::ComboBox(roads, this), at::road);
    ui::setColors(m_road, ui::art::palette::NCOLF, ui::art::palette::NCOLB);
    m_road->setMaxVisibleItems(11);

    m_calculate =
        parts::button(this, QStringLiteral("BZ_BEREC"), QStringLiteral("Anhalteweg berechnen"), at::calculate);
    m_help = parts::button(this, QStringLiteral("BZ_HELP"), QStringLiteral("Hilfe anzeigen"), at::help);
    m_end = parts::button(this, QStringLiteral("BZ_ENDE"), QString::fromUtf8("Dialog schließen"), at::end);
    m_close = addCloseButton(at::close);
    connect(m_calculate, &QAbstractButton::clicked, this, &StoppingDialog::calculate);
    connect(m_help, &QAbstractButton::clicked, this, [&ctx] { parts::showHelp(ctx); });
    connect(m_end, &QAbstractButton::clicked, this, &QDialog::reject);
    addAccelerator(QLatin1Char('R'), m_calculate);
    addAccelerator(QLatin1Char('H'), m_help);
    addAccelerator(QLatin1Char('B'), m_end);
    setEnterAction([this] { calculate(); });

    for (ui::MaskedEdit* e : m_inputs)
        connect(e, &QLineEdit::editingFinished, this, &StoppingDialog::calculate);
    // A road condition brings its deceleration; a typed one stays until the next choice.
    connect(m_road, &QComboBox::currentIndexChanged, this, [this](int position) {
        if (const auto deceleration = decelerationOf(position)) decelerationField()->setDecimal(*deceleration);
        calculate();
    });
    speedField()->setFocus();
}

void StoppingDialog::calculate() {
    Input in;
    in.NSPEED = speedField()->text().toDouble();
    in.NREAKTIME = reactionField()->decimal().value_or(0);
    in.NVERZOEG = decelerationField()->decimal().value_or(0);
    if (const auto result = MAKEDATA(in)) showResult(*result);
}

void StoppingDialog::showResult(const Result& r) {
    const double values[4] = {r.NREAKTWEG, r.NBREMSWEG, r.NANHALWEG, r.NANHALSEK};
    for (int i = 0; i < 4; ++i)
        m_results[size_t(i)]->setText(Result::fieldText(values[i]).trimmed());
}

void ANHAWEG(core::Context& ctx, QWidget* owner) {
    // Centred on the screen, not over the window that started it.
    StoppingDialog dialog(ctx, owner);
    dialog.exec();
}

} // namespace calc
