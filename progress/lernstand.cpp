#include "progress/lernstand.h"

#include <QPainter>

#include "core/context.h"
#include "core/helptopics.h"
#include "exam/composition.h"
#include "progress/chart.h"
#include "progress/layouts.h"
#include "progress/report.h"
#include "progress/reviewdialog.h"
#include "store/workarea.h"
#include "training/questiondialog.h"
#include "training/run.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/grid.h"

namespace progress {

namespace {

namespace at = layout::lernstand;
using ui::art::palette::NCOLF;

const QColor kRed(0xd2, 0x3c, 0x32);
const QColor kYellow(0xf2, 0xc0, 0x1e);
const QColor kGreen(0x3c, 0xa0, 0x4a);

QString percentText(double rate) {
    return QStringLiteral("%1 %").arg(percentOf(rate));
}

} // namespace

const QStringList& classCodes() {
    static const QStringList codes = {"A", "A1", "B / BE", "C", "C1", "CE", "D", "D1", "DE", "M", "MO", "L", "S", "T"};
    return codes;
}

void paintTrafficLight(QPainter& p, const QRectF& r, std::optional<Light> light) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal d = std::min(r.width() - 4, (r.height() - 8) / 3);
    const Light order[3] = {Light::Red, Light::Yellow, Light::Green};
    const QColor on[3] = {kRed, kYellow, kGreen};
    for (int i = 0; i < 3; ++i) {
        const QRectF lamp(r.center().x() - d / 2, r.top() + 2 + i * (d + 2), d, d);
        const bool lit = light && *light == order[i];
        p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
        p.setBrush(lit ? on[i] : on[i].darker(330));
        p.drawEllipse(lamp);
        if (lit) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 110));
            p.drawEllipse(lamp.adjusted(d * 0.2, d * 0.12, -d * 0.45, -d * 0.5));
        }
    }
    p.restore();
}

void TrafficLight::setLight(std::optional<Light> light) {
    m_light = light;
    static const char* const names[3] = {"rot", "gelb", "grün"};
    setAccessibleName(light ? QStringLiteral("Ampel: ") + QString::fromUtf8(names[int(*light)])
                            : QStringLiteral("Ampel aus"));
    update();
}

void TrafficLight::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintTrafficLight(p, QRectF(rect()), m_light);
}

LernstandDialog::LernstandDialog(core::Context& ctx, QWidget* parent) : ui::SkinnedDialog(parent), m_ctx(ctx) {
    setWindowTitle(QStringLiteral("Lernstand und Prüfungsreife"));
    ui::DLGPUTBMP(this, QStringLiteral("Lernstd"), true);
    setHelpTopic(ctx, core::topicKeyword(core::topic::kProgress));

    auto* classLabel = ui::place(new ui::Label(QStringLiteral("&Klasse:"), this), at::classLabel);
    classLabel->setFont(ui::dialogFont(true));
    classLabel->setColors(NCOLF);
    classLabel->setTransparent(true);
    m_class = ui::place(new ui::ComboBox(classCodes(), this), at::classChoice);
    m_class->setAccessibleName(QStringLiteral("Klasse"));
    classLabel->setBuddy(m_class);

    m_light = ui::place(new TrafficLight(this), at::light);
    m_percent = ui::place(new ui::Label(this), at::percent);
    m_percent->setFont(ui::fontPx(QStringLiteral("Arial"), 34, true));
    m_percent->setColors(NCOLF);
    m_percent->setTransparent(true);
    m_percent->setAccessibleName(QStringLiteral("Prüfungsreife"));
    m_verdict = ui::place(new ui::Label(this), at::verdict);
    m_verdict->setFont(ui::dialogFont(false));
    m_verdict->setColors(ui::art::palette::muted);
    m_verdict->setTransparent(true);
    m_verdict->setWordWrap(true);
    auto* themesLabel =
        ui::place(new ui::Label(QStringLiteral("Die meisten Fehlerpunkte kosten:"), this), at::themesLabel);
    themesLabel->setFont(ui::dialogFont(true));
    themesLabel->setColors(NCOLF);
    themesLabel->setTransparent(true);
    m_themes = ui::place(new ui::Label(this), at::themes);
    m_themes->setFont(ui::dialogFont(false));
    m_themes->setColors(NCOLF);
    m_themes->setTransparent(true);
    m_themes->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_chart = ui::place(new HistoryChart(this), at::chart);

    m_rows = std::make_unique<ui::ListGridSource>(6, std::vector<QStringList>{});
    m_grid = ui::place(new ui::Grid(this), at::history);
    m_grid->setSource(m_rows.get(), {{QStringLiteral("Nr."), 44, Qt::AlignRight},
                                     {QStringLiteral("Datum"), 92, Qt::AlignLeft},
                                     {QStringLiteral("Uhrzeit"), 70, Qt::AlignLeft},
                                     {QStringLiteral("Klasse"), 70, Qt::AlignLeft},
                                     {QStringLiteral("Fehlerpunkte"), 100, Qt::AlignRight},
                                     {QStringLiteral("Ergebnis"), 190, Qt::AlignLeft}});
    m_grid->setAccessibleName(QStringLiteral("Ihre Prüfungen, die neueste zuerst"));
    connect(m_grid, &ui::Grid::rowActivated, this, [this](int) { review(); });

    const auto button = [this](const char* bitmap, const QString& tip, const QRect& r) {
        auto* b = ui::place(new ui::BitmapButton(QString::fromLatin1(bitmap), tip, this), r);
        b->setAccessibleName(tip);
        return b;
    };
    m_show = button("BL_ZEIG", QStringLiteral("Die gewählte Prüfung Frage für Frage ansehen"), at::buttons[0]);
    m_practise = button("BL_UEBEN", QStringLiteral("Die zuletzt falsch beantworteten Fragen üben"), at::buttons[1]);
    m_print = button("BL_DRUCK", QStringLiteral("Den Lernstand drucken"), at::buttons[2]);
    m_help = button("BZ_HELP", QStringLiteral("Hilfe anzeigen"), at::buttons[3]);
    m_end = button("BK_ENDE", QStringLiteral("Dialog schließen"), at::buttons[4]);
    connect(m_show, &QAbstractButton::clicked, this, &LernstandDialog::review);
    connect(m_practise, &QAbstractButton::clicked, this, &LernstandDialog::practise);
    connect(m_print, &QAbstractButton::clicked, this, &LernstandDialog::print);
    connect(m_help, &QAbstractButton::clicked, this,
            [this] { m_ctx.help().showTopic(core::kHelpFile, core::topicKeyword(core::topic::kProgress)); });
    connect(m_end, &QAbstractButton::clicked, this, &QDialog::reject);
    addAccelerator(QLatin1Char('A'), m_show);
    addAccelerator(QLatin1Char('F'), m_practise);
    addAccelerator(QLatin1Char('D'), m_print);
    addAccelerator(QLatin1Char('H'), m_help);
    addAccelerator(QLatin1Char('B'), m_end);
    addCloseButton(at::close);
    setTabOrder(m_class, m_grid);

    // The class of the latest exam, else the car.
    m_history = readHistory(ctx);
    QString start = QStringLiteral("B / BE");
    if (!m_history.exams.empty()) start = m_history.exams.back().classCode;
    setClassCode(start);
    connect(m_class, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    refresh();
    m_grid->setFocus();
}

LernstandDialog::~LernstandDialog() = default;

QString LernstandDialog::classCode() const {
    return m_class->currentText();
}

void LernstandDialog::setClassCode(const QString& code) {
    for (int i = 0; i < classCodes().size(); ++i)
        if (sameClass(classCodes()[i], code)) {
            m_class->setCurrentIndex(i);
            return;
        }
}

void LernstandDialog::refresh() {
    core::BusyScope busy(m_ctx.messages());
    m_history = readHistory(m_ctx);
    if (m_history.damaged && !m_damageReported) {
        m_damageReported = true;
        core::WARNBOX(m_ctx,
                      QStringLiteral("Die Prüfungsgeschichte %1.DBF ist beschädigt (%2).\rSie wird bei der nächsten "
                                     "Prüfung beiseite gelegt und neu angelegt.")
                          .arg(historyName(m_ctx.login().CS_LOCAL), QString::fromStdString(m_history.fault)),
                      QStringLiteral("Prüfungsgeschichte"));
    }
    m_summary = summarize(m_ctx, classCode(), m_history);

    const Readiness& r = m_summary.readiness;
    if (r.exams > 0 && r.questions > 0) {
        const Light light = lightOf(r.passRate);
        m_light->setLight(light);
        m_percent->setText(percentText(r.passRate));
        const QString words[3] = {QStringLiteral("Noch nicht prüfungsreif:\nweiter üben!"),
                                  QStringLiteral("Auf gutem Weg,\naber noch unsicher."),
                                  QStringLiteral("Prüfungsreif:\ngute Aussichten.")};
        m_verdict->setText(words[int(light)]);
        QStringList lines;
        for (const ThemeCost& c : r.costliest)
            lines << QStringLiteral("%1 (%2 Punkte je Prüfung)")
                         .arg(themeName(c.theme),
                              QString::number(c.points, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')));
        m_themes->setText(lines.isEmpty() ? QStringLiteral("kein Thema – alles sitzt") : lines.join(QLatin1Char('\n')));
    } else {
        m_light->setLight(std::nullopt);
        m_percent->setText(QStringLiteral("– %"));
        m_verdict->setText(QStringLiteral("Für diese Klasse gibt es\nkeine Prüfungsfragen."));
        m_themes->clear();
    }
    m_percent->setAccessibleDescription(m_verdict->text());

    std::vector<QStringList> rows;
    for (auto e = m_summary.exams.rbegin(); e != m_summary.exams.rend(); ++e)
        rows.push_back({QString::number(e->number), e->when.toString(QStringLiteral("dd.MM.yyyy")),
                        e->when.toString(QStringLiteral("hh:mm")), e->classCode,
                        QStringLiteral("%1 von %2").arg(e->errors).arg(e->limit),
                        e->passed ? QStringLiteral("bestanden") : QStringLiteral("nicht bestanden")});
    m_rows->rows() = std::move(rows);
    m_grid->reload();
    if (!m_rows->rows().empty()) m_grid->setCurrentRow(0);
    m_chart->setExams(m_summary.exams, m_summary.limit);
    m_show->setEnabled(!m_summary.exams.empty());
}

void LernstandDialog::review() {
    const int row = m_grid->currentRow();
    if (row < 0 || row >= int(m_summary.exams.size())) {
        core::MSGINFO(m_ctx, QStringLiteral("In dieser Klasse gibt es noch keine\rabgeschlossene Prüfung."),
                      QStringLiteral("Achtung"));
        return;
    }
    // The list shows the newest first.
    ReviewDialog dialog(m_ctx, m_summary.exams[m_summary.exams.size() - 1 - std::size_t(row)], this);
    dialog.exec();
}

void LernstandDialog::practise() {
    practiseMistakes(m_ctx, this, classCode());
    refresh();
}

void LernstandDialog::print() {
    printReport(m_ctx, reportClasses(m_ctx, m_history, classCode()));
}

void practiseMistakes(core::Context& ctx, QWidget* owner, const QString& classCode) {
    const History history = readHistory(ctx);
    // All of them: one the catalog has dropped must not take the place of one it still holds.
    const int cap = std::max(0, ctx.settings.NS_MAXFRAGEN);
    const std::vector<QuestionState> chosen =
        cap > 0 ? mistakes(classQuestions(ctx, classCode, history), SIZE_MAX) : std::vector<QuestionState>{};
    const auto nothing = [&] {
        core::MSGINFO(ctx,
                      ctx.settings.NS_MAXFRAGEN <= 0
                          ? QStringLiteral("In den Voreinstellungen ist die Anzahl\rder Fragen je Übung auf 0 gesetzt.")
                          : QStringLiteral("In der Klasse '%1' gibt es zur Zeit\rkeine Fehler zu üben.").arg(classCode),
                      QStringLiteral("Achtung"));
    };
    if (chosen.empty()) return nothing();
    // The training's own run and dialog; only the choice of the questions is ours.
    training::Run run(ctx);
    const QString title = QStringLiteral("'Meine Fehler'");
    run.begin(classCode, 0, title);
    store::WorkArea* loc = run.openLearningState("FRAGENR", exam::classCondition(classCode));
    if (!loc || !run.openCatalog() || !run.MAKETEMP()) return;
    int n = 0;
    for (const QuestionState& q : chosen)
        if (n < cap && loc->goTo(q.record) && run.copyQuestion(n + 1, classCode)) ++n;
    run.selectionDone();
    // The catalog may have dropped every chosen question since they were answered: no training over nothing.
    if (n == 0) return nothing();
    run.GETDATA();
    training::presentQuestions(ctx, run, training::trainingLook(run.state()), owner);
    run.closeTables();
    if (run.state().NFRAGEN > 0)
        training::CHECKALL(ctx, owner, classCode, 0, run.state().NFEHLER, title, training::Links{});
    run.finish();
}

void LERNSTAND(core::Context& ctx, QWidget* owner) {
    LernstandDialog dialog(ctx, owner);
    dialog.exec();
}

} // namespace progress
