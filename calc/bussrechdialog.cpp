#include "calc/bussrechdialog.h"

#include <QAbstractItemView>
#include <QRadioButton>

#include "calc/dialogparts.h"
#include "calc/layouts.h"
#include "core/context.h"
#include "core/documents.h"
#include "core/helptopics.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/maskededit.h"

namespace calc {

namespace {

namespace at = layout::fine;
using bussrech::Result;

const QColor kLabels = ui::art::palette::fineAmber; // NCOLPENB
const QColor kTabs(188, 188, 187);                  // NCOLBACK
const QColor kRed(255, 0, 0);                       // NCOLPENR

QString str(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString intro(const char* what) {
    return str("Dieser Bussgeldrechner berechnet das Bussgeld für ") + str(what) +
           str(" nach dem Bussgeldkatalog vom 13. November 2001.");
}

ui::ComboBox* list(QWidget* page, const QStringList& entries) {
    auto* combo = ui::place(new ui::ComboBox(entries, page), at::list);
    ui::setColors(combo, ui::art::palette::NCOLF, ui::art::palette::NCOLB);
    combo->setMaxVisibleItems(10);
    // Long offence texts are read in the open list, which may grow beyond the field up to the dialog's width.
    int widest = 0;
    for (const QString& e : entries)
        widest = qMax(widest, combo->fontMetrics().horizontalAdvance(e));
    combo->view()->setMinimumWidth(qMin(widest + 40, at::tabs.width() - at::list.left()));
    return combo;
}

void setValue(ui::Label* label, const QString& text, bool aboveZero) {
    label->setText(text.trimmed());
    label->setColors(aboveZero ? kRed : QColor(Qt::black), kLabels);
}

} // namespace

FineDialog::FineDialog(core::Context& ctx, bussrech::FineTable& table, QWidget* parent)
    : ui::SkinnedDialog(parent), m_ctx(ctx), m_table(table) {
    setWindowTitle(QStringLiteral("Bussgeld berechnen"));
    setHelpTopic(ctx, core::topicKeyword(core::topic::kFines));
    ui::DLGPUTBMP(this, QStringLiteral("BussGeld"), true);
    setFont(ui::dialogFont());

    m_tabs = ui::place(new ui::TabWidget(this), at::tabs);
    m_tabs->setColors(Qt::black, kTabs);
    const QString titles[4] = {QStringLiteral("&Geschwindigkeit"), QStringLiteral("&Abstand"),
                               QStringLiteral("A&lkohol"), QStringLiteral("&Diverses")};
    for (const QString& title : titles)
        m_tabs->addSkinnedPage(title, QStringLiteral("Bussgel2"));

    // Speeding.
    QWidget* p = page(Speeding, intro("Geschwindigkeitsübertretungen"), at::resultRowHigh);
    parts::label(p, QStringLiteral("Fahrzeug"), at::listLabel, kLabels);
    m_vehicles = list(p, table.AFZEUG());
    parts::label(p, str("Übertretung"), at::valueLabel, kLabels);
    m_excess = parts::field(p, at::value, Qt::AlignHCenter);
    m_excess->setDigits(5);
    m_excess->setReplaceOnFirstKey(true);
    m_excess->setText(QStringLiteral("0"));
    m_excess->setStatusTip(str("Geschwindigkeitsübertretung"));
    parts::label(p, QStringLiteral("km/h"), at::unit, kLabels);
    m_place = new ui::RadioGroup(p);
    m_place->addColumn({QStringLiteral(" innerorts"), QStringLiteral(" ausserorts")}, at::place, at::placeStep);
    m_place->setColors(Qt::black, kLabels);
    m_place->setValue(bussrech::Innerorts);
    for (int i = 1; i <= m_place->count(); ++i)
        m_place->button(i)->setStatusTip(str("innerhalb oder außerhalb geschlossener Ortschaften"));
    m_results[Speeding].text = parts::label(p, QString(), at::speedingNote, kLabels, Qt::AlignLeft, true);

    // Distance.
    p = page(Distance, intro("das Nichteinhalten der Abstandsregelungen"), at::resultRowLow);
    parts::label(p, QStringLiteral("Vergehen"), at::listLabel, kLabels);
    m_distanceList = list(p, table.AABSTA());
    parts::label(p, QStringLiteral("gefahrene Geschwindigkeit"), at::distanceLabel, kLabels);
    m_speed = parts::field(p, at::distanceValue, Qt::AlignHCenter);
    m_speed->setDigits(5);
    m_speed->setReplaceOnFirstKey(true);
    m_speed->setText(QStringLiteral("0"));

    // Alcohol.
    p = page(Alcohol, intro("Alkoholvergehen"), at::resultRowHigh);
    parts::label(p, QStringLiteral("Vergehen"), at::listLabel, kLabels);
    m_alcoholList = list(p, table.AALKOH());
    parts::label(p, QStringLiteral("Blutalkohol"), at::valueLabel, kLabels);
    m_promille = parts::field(p, at::value, Qt::AlignHCenter);
    m_promille->setPicture(QStringLiteral("@E 99999.99"));
    m_promille->setReplaceOnFirstKey(true);
    m_promille->setDecimal(0);
    parts::label(p, QStringLiteral("O/oo"), at::unit, kLabels);
    m_results[Alcohol].text = parts::label(p, QString(), at::alcoholInfo, kLabels, Qt::AlignLeft, true);
    m_results[Alcohol].text->setWordWrap(true);

    // Miscellaneous.
    p = page(Miscellaneous, intro("diverse Vergehen"), at::resultRowLow);
    parts::label(p, QStringLiteral("Vergehen"), at::listLabel, kLabels);
    m_miscList = list(p, table.ADIVER());
    m_results[Miscellaneous].text = parts::label(p, QString(), at::miscInfo, kLabels, Qt::AlignLeft, true);
    m_results[Miscellaneous].text->setWordWrap(true);
    m_results[Miscellaneous].text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_calculate = parts::button(this, QStringLiteral("BZ_BEREC"), QStringLiteral("Bussgeld berechnen"), at::calculate);
    m_catalogue =
        parts::button(this, QStringLiteral("BZ_KATAL"), QStringLiteral("Bussgeldkatalog anzeigen"), at::catalogue);
    m_help = parts::button(this, QStringLiteral("BZ_HELP"), QStringLiteral("Hilfe anzeigen"), at::help);
    m_end = parts::button(this, QStringLiteral("BZ_ENDE"), str("Dialog schließen"), at::end);
    m_close = addCloseButton(at::close);
    connect(m_calculate, &QAbstractButton::clicked, this, &FineDialog::calculate);
    connect(m_catalogue, &QAbstractButton::clicked, this, &FineDialog::openCatalogue);
    connect(m_help, &QAbstractButton::clicked, this, [&ctx] { parts::showHelp(ctx); });
    connect(m_end, &QAbstractButton::clicked, this, &QDialog::reject);
    addAccelerator(QLatin1Char('R'), m_calculate);
    addAccelerator(QLatin1Char('K'), m_catalogue);
    addAccelerator(QLatin1Char('H'), m_help);
    addAccelerator(QLatin1Char('B'), m_end);
    setEnterAction([this] { calculate(); });

    // The lookups run when a value field is left, when inside/outside changes and when another miscellaneous
    // entry is chosen; another vehicle or offence alone waits for its value field.
    connect(m_excess, &QLineEdit::editingFinished, this, [this] { lookUp(Speeding); });
    connect(m_place, &ui::RadioGroup::valueChanged, this, [this] { lookUp(Speeding); });
    connect(m_speed, &QLineEdit::editingFinished, this, [this] { lookUp(Distance); });
    connect(m_promille, &QLineEdit::editingFinished, this, [this] { lookUp(Alcohol); });
    connect(m_miscList, &QComboBox::currentIndexChanged, this, [this] { lookUp(Miscellaneous); });

    // A tab chosen with its Alt key takes the focus to its list, so that the keyboard goes on from there.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int tab) {
        ui::ComboBox* lists[4] = {m_vehicles, m_distanceList, m_alcoholList, m_miscList};
        if (tab >= 0 && tab < 4) lists[tab]->setFocus(Qt::TabFocusReason);
    });

    parts::centreOver(this, parent);
    m_vehicles->setFocus();
}

QWidget* FineDialog::page(Tab tab, const QString& introText, int resultRow) {
    QWidget* p = m_tabs->widget(tab);
    auto* head = parts::label(p, introText, at::intro, kLabels, Qt::AlignHCenter);
    head->setWordWrap(true);
    const at::ResultLine line = at::resultLine(resultRow);
    parts::label(p, QStringLiteral("Bussgeld"), line.fineLabel, kLabels);
    parts::label(p, QStringLiteral("EUR"), line.euro, kLabels);
    parts::label(p, QStringLiteral("Punkte"), line.pointsLabel, kLabels);
    parts::label(p, QStringLiteral("Fahrverbot"), line.banLabel, kLabels);
    parts::label(p, QStringLiteral("Monate"), line.months, kLabels);
    ResultLabels& r = m_results[size_t(tab)];
    r.fine = parts::label(p, QString(), line.fine, kLabels, Qt::AlignRight, true);
    r.points = parts::label(p, QString(), line.points, kLabels, Qt::AlignRight, true);
    r.ban = parts::label(p, QString(), line.ban, kLabels, Qt::AlignRight, true);
    showResult(tab, Result{});
    return p;
}

void FineDialog::showResult(Tab tab, const Result& result, bool keepText) {
    const ResultLabels& r = m_results[size_t(tab)];
    setValue(r.fine, result.fineText(), result.NBUSSGELD > 0);
    setValue(r.points, result.pointsText(), result.NPUNKTE > 0);
    setValue(r.ban, result.banText(), result.NFVERBOT > 0);
    if (r.text && !keepText) r.text->setText(result.text);
}

void FineDialog::calculate() {
    lookUp(Tab(m_tabs->currentIndex()));
}

void FineDialog::lookUp(Tab tab) {
    switch (tab) {
    case Speeding: {
        const double excess = m_excess->text().toDouble();
        // An excess of 0 clears the values but leaves the note as it was.
        showResult(Speeding, m_table.speeding(m_vehicles->currentIndex(), m_place->value(), excess), excess == 0);
        break;
    }
    case Distance:
        showResult(Distance, m_table.distance(m_distanceList->currentIndex(), m_speed->text().toDouble()));
        break;
    case Alcohol:
        showResult(Alcohol, m_table.alcohol(m_alcoholList->currentIndex(), m_promille->decimal().value_or(0)));
        break;
    case Miscellaneous: {
        const Result r = m_table.miscellaneous(m_miscList->currentIndex());
        showResult(Miscellaneous, r);
        if (r.groupTitle) m_miscList->setFocus();
        break;
    }
    }
}

void FineDialog::openCatalogue() {
    // Opened as the menu opens the same document, with the same warnings.
    core::openPdf(m_ctx, QStringLiteral(".\\texte\\BuGeKata.pdf"));
}

void BUSSRECH(core::Context& ctx, QWidget* owner) {
    QString error;
    std::unique_ptr<bussrech::FineTable> table = bussrech::FineTable::open(ctx.dir(), &error);
    if (!table) {
        core::MSGINFO(ctx, error, QStringLiteral("Bussgeld berechnen"));
        return;
    }
    FineDialog dialog(ctx, *table, owner);
    dialog.exec();
}

} // namespace calc
