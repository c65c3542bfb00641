#include "calc/kfzsteudialog.h"

#include <QDate>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>

#include "calc/dialogparts.h"
#include "calc/layouts.h"
#include "core/context.h"
#include "core/helptopics.h"
#include "store/calendar.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/maskededit.h"

namespace calc {

namespace {

namespace at = layout::tax;
using namespace kfzsteu;

const QColor kBack = ui::art::palette::amber; // NCOLOR

QString str(const char* utf8) {
    return QString::fromUtf8(utf8);
}

std::int32_t julian(const std::optional<QDate>& date) {
    return date ? store::julianDay(date->year(), date->month(), date->day()) : 0;
}

QDate fromJulian(std::int32_t day) {
    if (day == 0) return {};
    const store::CivilDate d = store::civilFromJulian(day);
    return QDate(d.year, d.month, d.day);
}

} // namespace

QString TaxRows::cell(int row, int column) const {
    const Row& r = rows[size_t(row)];
    switch (column) {
    case 0:
        return r.captionText();
    case 1:
        return r.dateText();
    case 2:
        return Row::amountText(r.STEUSATZ);
    case 3:
        return Row::amountText(r.STEUDM);
    default:
        return Row::amountText(r.FREIDM);
    }
}

TaxDialog::TaxDialog(core::Context& ctx, SteuerTable& table, Input& input, EuroNorm& norm, QWidget* parent)
    : ui::SkinnedDialog(parent), m_ctx(ctx), m_table(table), m_input(input), m_norm(norm) {
    setWindowTitle(QStringLiteral("Kfz-Steuern berechnen"));
    setHelpTopic(ctx, core::topicKeyword(core::topic::kVehicleTax));
    ui::DLGPUTBMP(this, QStringLiteral("Kfz_Steu"), true);
    setFont(ui::dialogFont());

    const Qt::Alignment right = Qt::AlignRight;
    parts::label(this, QStringLiteral("Hubraum"), at::hubraumLabel, kBack, right);
    parts::label(this, str("Schlüssel-Nr."), at::keyLabel, kBack, right);
    parts::label(this, QStringLiteral("Erstzulassung"), at::dateLabel, kBack, right);
    parts::label(this, QStringLiteral("Euronorm"), at::euroLabel, kBack, right);
    parts::label(this, QStringLiteral("Ozonalarm"), at::ozoneLabel, kBack, right);
    parts::label(this, QStringLiteral("ccm"), at::ccmLabel, kBack);
    parts::label(this, str("Schlüssel-Nr. zu 1 - Stelle 5/6 im Kfz-Schein"), at::keyHint, kBack);
    parts::label(this, QStringLiteral("Datum"), at::dateHint, kBack);
    parts::label(this, QStringLiteral("Verbrauch"), at::consumptionLabel, kBack, right);
    parts::label(this, QStringLiteral("Antriebsart"), at::fuelLabel, kBack, right);

    m_hubraum = parts::field(this, at::hubraum, Qt::AlignRight);
    m_hubraum->setDigits(9);
    m_hubraum->setStatusTip(QStringLiteral("Hubraum nach Steuerformel"));
    m_key = parts::field(this, at::keyNr, Qt::AlignRight);
    m_key->setDigits(9);
    m_key->setStatusTip(str("Schlüssel-Nr. laut KFZ-Schein (Stelle 5 und 6)"));
    m_date = parts::field(this, at::date, Qt::AlignHCenter);
    m_date->setDateMask();
    m_date->setStatusTip(QStringLiteral("Datum der Erstzulassung"));
    // The numbers show 0 until something is typed; the first key typed replaces it.
    for (ui::MaskedEdit* e : {m_hubraum, m_key})
        e->setReplaceOnFirstKey(true);
    m_hubraum->setText(QString::number(input.NHUBRAUM));
    m_key->setText(QString::number(input.NKEYNR));
    m_date->setDate(fromJulian(input.DERSTZUL));

    m_consumption = new ui::RadioGroup(this);
    m_consumption->addColumn(
        {QStringLiteral(" enorm"), QStringLiteral(" unter 5 Liter"), QStringLiteral(" unter 3 Liter")}, at::consumption,
        at::choiceStep);
    m_consumption->setColors(ui::art::palette::NCOLF, kBack);
    m_consumption->setValue(input.NVERBRAUCH);
    m_fuel = new ui::RadioGroup(this);
    m_fuel->addColumn({QStringLiteral(" Otto"), QStringLiteral(" Diesel")}, at::fuel, at::choiceStep);
    m_fuel->setColors(ui::art::palette::NCOLF, kBack);
    m_fuel->setValue(input.NANTRIEB);
    for (int i = 1; i <= m_consumption->count(); ++i)
        m_consumption->button(i)->setStatusTip(QStringLiteral("Durchschnittsverbrauch"));
    for (int i = 1; i <= m_fuel->count(); ++i)
        m_fuel->button(i)->setStatusTip(QStringLiteral("Antriebsart"));

    m_catalyst = ui::place(new ui::CheckBox(QStringLiteral(" Katalysator"), this), at::catalyst);
    m_catalyst->setColors(ui::art::palette::NCOLF, kBack);
    m_catalyst->setStatusTip(QStringLiteral("Katalysator eingebaut"));
    m_catalyst->setChecked(input.LKATALYS);

    m_euroLine = parts::label(this, norm.CEURONORM, at::euroLine, kBack, Qt::AlignLeft, true);
    m_ozoneLine = parts::label(this, norm.CFAHREN, at::ozoneLine, kBack, Qt::AlignLeft, true);

    m_grid = ui::place(new ui::Grid(this), at::grid);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setFocusPolicy(Qt::NoFocus);
    // The three amounts share what the first two columns leave of the grid's inside, so nothing is cut.
    const int amount = (at::grid.width() - 2 * m_grid->frameWidth() - at::captionColumn - at::dateColumn) / 3;
    m_grid->setSource(&m_rows, {{QString(), at::captionColumn, Qt::AlignLeft},
                                {QStringLiteral("Datum"), at::dateColumn, Qt::AlignHCenter},
                                {QStringLiteral("Steuersatz pro 100 ccm "), amount, Qt::AlignRight},
                                {QStringLiteral("Steuersatz pro Jahr "), amount, Qt::AlignRight},
                                {QStringLiteral("Freibetrag pro Jahr "), amount, Qt::AlignRight}});
    m_grid->setRowColorFunction([](int) { return ui::RowColors{ui::art::palette::NCOLF, ui::art::palette::NCOLBH}; });
    m_grid->setCurrentRowGradient(ui::art::palette::NCOLBH, ui::art::palette::NCOLBH);
    m_grid->setHeadingGradient(Qt::white, QColor(176, 112, 64));
    m_grid->setExtraHeights(7, 2);

    m_calculate = parts::button(this, CB_BERECH(input), QStringLiteral("Kfz-Steuern berechnen"), at::calculate);
    m_taxTable = parts::button(this, QStringLiteral("BZ_Steue"), QStringLiteral("Kfz-Steuer-Tabelle"), at::taxTable);
    m_help = parts::button(this, QStringLiteral("BZ_HELP"), QStringLiteral("Hilfe anzeigen"), at::help);
    m_end = parts::button(this, QStringLiteral("BZ_ENDE"), str("Dialog schließen"), at::end);
    m_close = addCloseButton(at::close);

    connect(m_calculate, &QAbstractButton::clicked, this, &TaxDialog::calculate);
    connect(m_taxTable, &QAbstractButton::clicked, this,
            [&ctx] { ctx.help().showContents(QStringLiteral(".\\TEXTE\\KFZSTEUR.HLP")); });
    connect(m_help, &QAbstractButton::clicked, this, [&ctx] { parts::showHelp(ctx); });
    connect(m_end, &QAbstractButton::clicked, this, &QDialog::reject);
    m_calculateKey = addAccelerator(QLatin1Char('R'), [this] { calculate(); });
    addAccelerator(QLatin1Char('S'), m_taxTable);
    addAccelerator(QLatin1Char('H'), m_help);
    addAccelerator(QLatin1Char('B'), m_end);
    setEnterAction([this] {
        if (inputsComplete(m_input)) calculate();
    });

    connect(m_hubraum, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_input.NHUBRAUM = text.toLongLong();
        entriesChanged();
    });
    connect(m_key, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_input.NKEYNR = text.toLongLong();
        entriesChanged();
    });
    connect(m_date, &QLineEdit::textEdited, this, [this] {
        m_input.DERSTZUL = julian(m_date->date());
        entriesChanged();
    });
    connect(m_consumption, &ui::RadioGroup::valueChanged, this, [this](int v) {
        m_input.NVERBRAUCH = v;
        entriesChanged();
    });
    connect(m_fuel, &ui::RadioGroup::valueChanged, this, [this](int v) {
        m_input.NANTRIEB = v;
        entriesChanged();
    });
    connect(m_catalyst, &QCheckBox::toggled, this, [this](bool on) {
        m_input.LKATALYS = on;
        entriesChanged();
    });

    refresh();
    parts::centreOver(this, parent);
    m_hubraum->setFocus();
}

void TaxDialog::calculate() {
    // Alt+R and Enter do nothing while the button is the inactive one; a click then only empties the grid.
    std::vector<Row> rows = ST_MAKE(m_input, m_norm, m_table);
    if (!rows.empty()) {
        m_euroLine->setText(m_norm.CEURONORM);
        m_ozoneLine->setText(m_norm.CFAHREN);
        // The grid shows the table; where it could not be created, the calculation's rows stand in for it.
        if (m_table.isOpen()) rows = m_table.rows();
    }
    showRows(std::move(rows));
}

void TaxDialog::entriesChanged() {
    m_table.clear();
    showRows({});
    refresh();
}

void TaxDialog::refresh() {
    m_catalyst->setEnabled(catalystEnabled(m_input));
    m_calculate->setBitmap(CB_BERECH(m_input));
    m_calculateKey->setEnabled(inputsComplete(m_input));
}

void TaxDialog::showRows(std::vector<Row> rows) {
    m_rows.rows = std::move(rows);
    m_grid->reload();
    m_grid->setCurrentRow(0);
}

void KFZ_STEUER(core::Context& ctx, QWidget* owner) {
    const QString ini = ctx.path(ctx.settings.CINIFILE);
    Input input;
    EuroNorm norm;
    {
        SteuerTable table(ctx.dir());
        BMGETINI(ini, input, norm);
        TaxDialog dialog(ctx, table, input, norm, owner);
        dialog.exec();
    }
    BMPUTINI(ini, input, norm);
}

} // namespace calc
