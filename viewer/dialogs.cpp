#include "viewer/dialogs.h"

#include <QFile>
#include <QPixmap>
#include <QRadioButton>
#include <QShortcut>
#include <QValidator>

#include <filesystem>

#include "core/helptopics.h"
#include "platform/ansi.h"
#include "ui/artwork.h"
#include "ui/bitmaps.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/grid.h"
#include "ui/maskededit.h"
#include "viewer/layouts.h"

namespace viewer {

namespace {

const QColor kEven{240, 207, 32};
const QColor kOdd{243, 212, 65};

ui::BitmapButton* button(QWidget* parent, const char* bitmap, const QString& toolTip, const QRect& rect) {
    auto* b = ui::place(new ui::BitmapButton(QString::fromLatin1(bitmap), toolTip, parent), rect);
    b->setAccessibleName(toolTip);
    return b;
}

// The help of every catalog dialog is the page "Fragenkatalog".
void connectHelp(core::Context& ctx, ui::SkinnedDialog* dialog, ui::BitmapButton* help, const char* keyword) {
    QObject::connect(help, &QAbstractButton::clicked, dialog,
                     [&ctx, keyword] { ctx.help().showTopic(core::kHelpFile, core::topicKeyword(keyword)); });
    dialog->addAccelerator(QLatin1Char('H'), help);
}

ui::Label* makeText(QWidget* parent, const QString& s, const QRect& rect, const QColor& back, Qt::Alignment align,
                    bool bold = false) {
    auto* l = ui::place(new ui::Label(s, parent), rect);
    l->setColors(ui::art::palette::NCOLF, back);
    l->setAlignment(align);
    l->setWordWrap(true);
    l->setFont(bold ? ui::dialogFont(true) : ui::dialogFont());
    return l;
}

void removeFile(core::Context& ctx, const char* name) {
    std::error_code ec;
    std::filesystem::remove(ctx.filePath(name), ec);
}

// The typed text in upper case as the search compares it: the letters a to z only, umlauts stay as typed.
class SearchValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = upperAZ(input);
        return Acceptable;
    }
};

void styleGrid(ui::Grid* grid) {
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->setHeadingGradient(Qt::white, QColor(176, 112, 64));
    grid->setCurrentRowGradient(Qt::white, QColor(128, 128, 128));
    grid->setRowColorFunction([](int row) { return ui::RowColors{Qt::black, row % 2 == 0 ? kEven : kOdd}; });
}

} // namespace

// ---- grid sources -------------------------------------------------------------------------------------------------

class RowSource : public ui::GridSource {
public:
    explicit RowSource(const Browser& browser) : m_browser(browser) {}
    int rowCount() const override { return m_browser.rowCount(); }
    int columnCount() const override { return 5; }
    QString cell(int row, int column) const override {
        const Row& r = m_browser.row(row);
        switch (column) {
        case 0:
            return QLatin1Char(' ') + r.fragenr;
        case 1:
            return QStringLiteral("%1").arg(r.thema, 4);
        case 2:
            return r.text;
        case 3:
            return QStringLiteral("%1 ").arg(r.antworten, 4);
        default:
            return QStringLiteral("%1 ").arg(r.richtig, 4);
        }
    }

private:
    const Browser& m_browser;
};

class StatSource : public ui::GridSource {
public:
    explicit StatSource(CatalogStatistics& statistics) {
        // T_STAT as it stands, read once: the dialog shows the table, which does not change while it is open.
        store::WorkArea* dsta = statistics.area();
        if (!dsta) return;
        for (dsta->goTop(); !dsta->eof(); dsta->skip()) {
            QStringList row{platform::fromAnsi(dsta->text("KLASSE")), platform::fromAnsi(dsta->text("TEXT"))};
            for (const char* field : {"FRAGEN", "PUNKTE", "BITMAP", "WERTE"}) {
                const long long n = static_cast<long long>(dsta->number(field));
                // Every column but the count of questions stays empty for 0.
                const bool blank = n == 0 && std::string_view(field) != "FRAGEN";
                row << (blank ? QString() : QStringLiteral("%1 ").arg(n, 5));
            }
            m_rows.push_back(row);
        }
        dsta->goTop();
    }
    int rowCount() const override { return int(m_rows.size()); }
    int columnCount() const override { return 6; }
    QString cell(int row, int column) const override { return m_rows[std::size_t(row)].value(column); }

private:
    std::vector<QStringList> m_rows;
};

// ---- the area choice ------------------------------------------------------------------------------------------

void KATALOG(core::Context& ctx, QWidget* owner) {
    ChoiceDialog dlg(ctx, owner);
    // Not centred: 70 dialog units right of and 36 below the owner's top left corner.
    if (owner) dlg.placeAt(owner->window()->geometry().topLeft() + ui::duRect(36, 70, 0, 0).topLeft());
    dlg.exec();
}

ChoiceDialog::ChoiceDialog(core::Context& ctx, QWidget* parent) : ui::SkinnedDialog(parent), m_ctx(ctx) {
    namespace at = layout::choice;
    setHelpTopic(ctx, core::topicKeyword(core::topic::kCatalog));
    ui::DLGPUTBMP(this, QStringLiteral("KataAusw"));
    if (skin().isNull()) setDialogSize(369, 303);
    setWindowTitle(QStringLiteral("Fragenkatalog - Auswahl"));
    const QColor amber = ui::art::palette::amber;
    m_text =
        makeText(this,
                 QStringLiteral("Wählen Sie die Führerscheinklasse oder den Bereich aus dem Fragenkatalog, den Sie "
                                "anzeigen möchten."),
                 at::text, amber, Qt::AlignCenter);
    m_areas = new ui::RadioGroup(this);
    for (int n = 1; n <= kAreaCount; ++n)
        m_areas->addItem(QString::fromUtf8(area(n).radio), at::radio(n));
    m_areas->setColors(ui::art::palette::NCOLF, amber);
    for (int n = 1; n <= kAreaCount; ++n)
        m_areas->button(n)->setFont(ui::dialogFont());
    m_areas->setValue(readArea(ctx));

    m_show = button(this, "BZ_WEIT", QStringLiteral("Fragenkatalog anzeigen"), at::show);
    m_help = button(this, "BZ_HELP", QStringLiteral("Hilfe anzeigen"), at::help);
    m_end = button(this, "BZ_ENDE", QStringLiteral("Dialog beenden"), at::end);
    connect(m_show, &QAbstractButton::clicked, this, [this] {
        SHOWKATA(m_ctx, this, m_areas->value());
        activateWindow();
    });
    connect(m_end, &QAbstractButton::clicked, this, &QDialog::accept);
    connectHelp(ctx, this, m_help, core::topic::kCatalog);
    addAccelerator(QLatin1Char('W'), m_show);
    addAccelerator(QLatin1Char('B'), m_end);
    setEnterButton(m_show);
    addCloseButton(at::close);
}

void ChoiceDialog::done(int result) {
    if (!m_finished && mayClose()) {
        m_finished = true;
        writeArea(m_ctx, m_areas->value() > 0 ? m_areas->value() : 1);
        removeFile(m_ctx, "BILD.BMP");
        removeFile(m_ctx, "LOCAL.CDX");
        removeFile(m_ctx, "KATALOG.DBF");
    }
    ui::SkinnedDialog::done(result);
}

// ---- the table ------------------------------------------------------------------------------------------------

bool SHOWKATA(core::Context& ctx, QWidget* owner, int area) {
    Browser browser(ctx);
    if (!browser.open(area)) return false;
    TableDialog dlg(ctx, browser, owner);
    dlg.exec();
    return true;
}

TableDialog::TableDialog(core::Context& ctx, Browser& browser, QWidget* parent)
    : ui::SkinnedDialog(parent), m_ctx(ctx), m_browser(browser), m_source(std::make_unique<RowSource>(browser)) {
    namespace at = layout::table;
    setHelpTopic(ctx, core::topicKeyword(core::topic::kOverview));
    ui::DLGPUTBMP(this, QStringLiteral("KataTab"));
    if (skin().isNull()) setDialogSize(631, 453);
    setWindowTitle(browser.title());

    m_title = ui::place(new ui::Label(browser.title(), this), at::title);
    m_title->setFont(ui::fontPx(QStringLiteral("Arial"), 14));
    m_title->setColors(Qt::black, ui::art::palette::titleTab);
    m_title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_grid = ui::place(new ui::Grid(this), at::grid);
    m_grid->setFont(ui::dialogFont());
    m_grid->setSource(m_source.get(), {{QStringLiteral("Nummer"), 70, Qt::AlignLeft},
                                       {QStringLiteral("Thema"), 45, Qt::AlignHCenter},
                                       {QStringLiteral("Text "), 415, Qt::AlignLeft},
                                       {QStringLiteral("Anz. "), 30, Qt::AlignRight},
                                       {QStringLiteral("Ok "), 30, Qt::AlignRight}});
    styleGrid(m_grid);
    m_grid->setExtraHeights(7, 2);
    m_grid->setCurrentRow(0);
    connect(m_grid, &ui::Grid::rowActivated, this, [this] { showQuestion(); });

    m_show = button(this, "BZ_Zeig", QStringLiteral("Fragebogen anzeigen"), at::show);
    m_search = button(this, "BZ_Such", QStringLiteral("Fragen filtern"), at::search);
    m_all = button(this, browser.filtered() ? "BZ_Alle" : "BZ_Alle0", QStringLiteral("Alle Fragen anzeigen"), at::all);
    m_help = button(this, "BZ_HELP", QStringLiteral("Hilfe anzeigen"), at::help);
    m_end = button(this, "BZ_ENDE", QStringLiteral("Tabelle beenden"), at::end);
    connect(m_show, &QAbstractButton::clicked, this, &TableDialog::showQuestion);
    connect(m_search, &QAbstractButton::clicked, this, &TableDialog::search);
    connect(m_all, &QAbstractButton::clicked, this, &TableDialog::showAll);
    connect(m_end, &QAbstractButton::clicked, this, &QDialog::accept);
    connectHelp(ctx, this, m_help, core::topic::kCatalog);
    addAccelerator(QLatin1Char('Z'), m_show);
    addAccelerator(QLatin1Char('S'), m_search);
    addAccelerator(QLatin1Char('A'), m_all);
    addAccelerator(QLatin1Char('B'), m_end);
    // The grid leaves Enter to the default button, the question view.
    setEnterButton(m_show);
    addCloseButton(at::close);
    m_grid->setFocus();
}

TableDialog::~TableDialog() = default;

void TableDialog::refresh(int row) {
    m_grid->reload();
    m_grid->setCurrentRow(row);
    // Back from a dialog over it, the table takes the keys again, also where no window manager hands them back.
    activateWindow();
    m_grid->setFocus();
}

void TableDialog::showQuestion() {
    const int row = m_grid->currentRow();
    if (m_browser.rowCount() == 0 || row < 0) return;
    QuestionView view(m_ctx, m_browser, row, this);
    view.exec();
    // A reset shows in the table at once.
    refresh(row);
}

void TableDialog::search() {
    SearchDialog dlg(m_ctx, m_browser, this);
    dlg.exec();
    if (dlg.result() == QDialog::Accepted) {
        m_all->setBitmap(QStringLiteral("BZ_Alle"));
        refresh(0);
    } else {
        // A failed try removed the filter.
        refresh(std::min(m_grid->currentRow(), m_browser.rowCount() - 1));
    }
}

void TableDialog::showAll() {
    m_browser.showAll();
    m_all->setBitmap(QStringLiteral("BZ_Alle0"));
    refresh(0);
}

// ---- the question view ----------------------------------------------------------------------------------------

QuestionView::QuestionView(core::Context& ctx, Browser& browser, int row, QWidget* parent)
    : ui::SkinnedDialog(parent), m_ctx(ctx), m_browser(browser), m_row(row), m_data(browser.GETDATA(row)) {
    namespace at = layout::view;
    namespace pal = ui::art::palette;
    const bool choice = m_data.layout == 1;
    ui::DLGPUTBMP(this, choice ? QStringLiteral("Katalog1") : QStringLiteral("Katalog2"));
    if (skin().isNull()) setDialogSize(641, 516);
    setWindowTitle(QStringLiteral("Fragenkatalog"));

    m_picture = ui::place(new QLabel(this), at::picture);
    m_picture->setScaledContents(true);
    QPixmap pm(m_data.picture);
    // Without the filler picture file in Bitmaps/ the built-in one of the same name stands in.
    if (pm.isNull() && m_data.noPicture) pm = ui::Bitmaps::builtIn(QStringLiteral("KEINBKAT"));
    if (!pm.isNull()) m_picture->setPixmap(pm);

    m_question = makeText(this, m_data.frage, choice ? at::question : at::valueQuestion, pal::viewQuestion,
                          Qt::AlignLeft | Qt::AlignTop, true);
    if (choice) {
        const QColor colours[3] = {pal::viewAnswer1, pal::viewAnswer2, pal::viewAnswer3};
        for (int n = 1; n <= 3; ++n) {
            const auto i = std::size_t(n - 1);
            m_answers[i] = makeText(this, m_data.antw[i], at::answer(n), colours[i], Qt::AlignLeft | Qt::AlignTop);
            m_boxes[i] = ui::place(new ui::CheckBox(QStringLiteral("&%1").arg(n), this), at::box(n));
            m_boxes[i]->setColors(pal::NCOLF, colours[i]);
            m_boxes[i]->setChecked(m_data.ok[i]);
            // The boxes show the solution; a click does not change it.
            const bool stored = m_data.ok[i];
            connect(m_boxes[i], &QAbstractButton::toggled, this, [box = m_boxes[i], stored](bool on) {
                if (on != stored) box->setChecked(stored);
            });
        }
    } else {
        const QColor yellow = pal::viewAnswer3;
        const bool two = m_data.layout == 3;
        const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter, left = Qt::AlignLeft | Qt::AlignVCenter;
        m_values[0] = makeText(this, m_data.vor, two ? at::two::before : at::one::before, yellow, right, !two);
        m_values[1] = makeText(this, m_data.wert, two ? at::two::value : at::one::value, yellow, right, true);
        if (two) {
            m_values[2] = makeText(this, m_data.zwisch, at::two::between, yellow, left);
            m_values[3] = makeText(this, m_data.wert2, at::two::value2, yellow, right, true);
        }
        m_values[4] = makeText(this, m_data.nach, two ? at::two::after : at::one::after, yellow, left, !two);
        for (ui::Label* l : m_values)
            if (l) l->setWordWrap(false);
        if (two) {
            // A text between the values longer than its place pushes the second value and the text after it to
            // the right, so that the line stays whole.
            const int wanted = m_values[2]->fontMetrics().horizontalAdvance(m_data.zwisch) + 6;
            const int extra = std::max(0, wanted - at::two::between.width());
            m_values[2]->resize(at::two::between.width() + extra, at::two::between.height());
            m_values[3]->move(at::two::value2.topLeft() + QPoint(extra, 0));
            m_values[4]->move(at::two::after.topLeft() + QPoint(extra, 0));
            m_values[4]->resize(std::max(40, at::two::after.width() - extra), at::two::after.height());
        }
    }

    const int shift = choice ? 0 : 2;
    const QRect bar[6] = {at::classLabel, at::theme, at::number, at::points, at::answers(shift), at::right(shift)};
    const QString values[4] = {m_data.classLabel, QString::number(m_data.thema), m_data.fragenr, m_data.points};
    for (int i = 0; i < 6; ++i) {
        auto* l = ui::place(new ui::Label(i < 4 ? values[i] : QString(), this), bar[i]);
        l->setFont(ui::dialogFont(true));
        l->setColors(Qt::white, pal::viewBar);
        l->setAlignment(Qt::AlignCenter);
        m_bar[std::size_t(i)] = l;
    }

    m_end = button(this, "BZ_ENDE", QStringLiteral("Dialog beenden"), at::end);
    m_help = button(this, "BZ_HELP", QStringLiteral("Hilfe anzeigen"), at::help);
    const bool answered = m_data.antworten > 0;
    m_reset = button(this, answered ? "BZ_ZURUK" : "BZ_ZURU0", QStringLiteral("Antworten zurücksetzen"), at::reset);
    connect(m_end, &QAbstractButton::clicked, this, &QDialog::accept);
    connectHelp(ctx, this, m_help, core::topic::kCatalog);
    if (ctx.settings.maintainerMode) {
        // The maintainer exports the question with the button; the key still resets.
        connect(m_reset, &QAbstractButton::clicked, this, [this] { m_browser.exportQuestion(m_row); });
    } else {
        connect(m_reset, &QAbstractButton::clicked, this, &QuestionView::reset);
    }
    m_resetKey = addAccelerator(QLatin1Char('Z'), [this] { reset(); });
    m_resetKey->setEnabled(answered);
    addAccelerator(QLatin1Char('B'), m_end);
    addCloseButton(at::close);
    showCounts();
}

void QuestionView::showCounts() {
    m_bar[4]->setText(QString::number(m_data.antworten));
    m_bar[5]->setText(QString::number(m_data.richtig));
}

void QuestionView::reset() {
    if (!m_browser.DELDATA(m_row)) return;
    m_data.antworten = 0;
    m_data.richtig = 0;
    showCounts();
    m_resetKey->setEnabled(false);
}

// ---- the search -----------------------------------------------------------------------------------------------

SearchDialog::SearchDialog(core::Context& ctx, Browser& browser, QWidget* parent)
    : ui::SkinnedDialog(parent), m_ctx(ctx), m_browser(browser) {
    namespace at = layout::search;
    const QColor amber = ui::art::palette::amber;
    ui::DLGPUTBMP(this, QStringLiteral("Suchen"));
    if (skin().isNull()) setDialogSize(369, 302);
    setWindowTitle(QStringLiteral("Fragenkatalog - Suchen"));
    auto* icon = ui::place(new QLabel(this), at::icon);
    icon->setPixmap(ui::Bitmaps::get(QStringLiteral("SEEK_WIN")));
    icon->setScaledContents(true);
    makeText(
        this,
        QStringLiteral("Die Suche erfolgt als Volltextsuche in der gesamten Datenbank aller Prüfungsfragen. Wenn die "
                       "Suche erfolgreich ist, werden im Fragenkatalog alle Treffer zum ausgewählten Themengebiet "
                       "aufgelistet."),
        at::text, amber, Qt::AlignCenter);
    makeText(this, QStringLiteral("Geben Sie nun Ihren Suchbegriff ein !"), at::prompt, amber, Qt::AlignCenter);
    makeText(this, QStringLiteral("Suchbegriff:"), at::label, amber, Qt::AlignLeft | Qt::AlignVCenter);
    m_edit = ui::place(new ui::MaskedEdit(this), at::edit);
    m_edit->setTextMask(30);
    m_edit->setValidator(new SearchValidator(m_edit));
    m_edit->setReplaceOnFirstKey(true);
    ui::setColors(m_edit, ui::art::palette::NCOLF, ui::art::palette::NCOLB);

    m_start = button(this, "BZ_WEIT", QStringLiteral("Suche starten"), at::start);
    m_help = button(this, "BZ_HELP", QStringLiteral("Hilfe anzeigen"), at::help);
    m_end = button(this, "BZ_ENDE", QStringLiteral("Dialog beenden"), at::end);
    connect(m_start, &QAbstractButton::clicked, this, &SearchDialog::start);
    connect(m_end, &QAbstractButton::clicked, this, [this] {
        m_edit->clear();
        reject();
    });
    connectHelp(ctx, this, m_help, core::topic::kCatalog);
    addAccelerator(QLatin1Char('W'), m_start);
    addAccelerator(QLatin1Char('B'), m_end);
    setEnterButton(m_start);
    addCloseButton(at::close);
    m_edit->setFocus();
}

QString SearchDialog::text() const {
    return m_edit->text();
}

void SearchDialog::start() {
    if (m_browser.SUCHEN2(m_edit->text())) {
        accept();
        return;
    }
    // Another try: the keys go to the field again, and the first one replaces the text.
    activateWindow();
    m_edit->setFocus();
}

// ---- the catalog statistics -----------------------------------------------------------------------------------

void KATASTAT(core::Context& ctx, QWidget* owner) {
    CatalogStatistics statistics(ctx);
    if (!statistics.COUNTTEMP()) return;
    StatDialog dlg(ctx, statistics, owner);
    dlg.exec();
}

StatDialog::StatDialog(core::Context& ctx, CatalogStatistics& statistics, QWidget* parent)
    : ui::SkinnedDialog(parent), m_ctx(ctx), m_source(std::make_unique<StatSource>(statistics)) {
    namespace at = layout::stat;
    setHelpTopic(ctx, core::topicKeyword(core::topic::kOverview));
    ui::DLGPUTBMP(this, QStringLiteral("KataStat"));
    if (skin().isNull()) setDialogSize(519, 368);
    setWindowTitle(QStringLiteral("Katalog-Statistik"));
    m_grid = ui::place(new ui::Grid(this), at::grid);
    m_grid->setFont(ui::dialogFont());
    m_grid->setSource(m_source.get(), {{QStringLiteral("Klasse"), 50, Qt::AlignLeft},
                                       {QStringLiteral("Text"), 243, Qt::AlignLeft},
                                       {QStringLiteral("Fragen "), 50, Qt::AlignRight},
                                       {QStringLiteral("Punkte "), 50, Qt::AlignRight},
                                       {QStringLiteral("Bilder "), 50, Qt::AlignRight},
                                       {QStringLiteral("Werte "), 50, Qt::AlignRight}});
    styleGrid(m_grid);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setExtraHeights(4, 1);
    m_grid->setCurrentRow(0);
    m_grid->setAccessibleName(QStringLiteral("Fragen je Klasse"));
    m_help = button(this, "BZ_HELP", QStringLiteral("Hilfe anzeigen"), at::help);
    m_end = button(this, "BZ_ENDE", QStringLiteral("Dialog beenden"), at::end);
    connect(m_end, &QAbstractButton::clicked, this, &QDialog::accept);
    connectHelp(ctx, this, m_help, core::topic::kOverview);
    addAccelerator(QLatin1Char('B'), m_end);
    addCloseButton(at::close);
}

StatDialog::~StatDialog() = default;

} // namespace viewer
