#include "stats/dialogs.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QKeySequence>
#include <QShortcut>

#include "core/helptopics.h"
#include "stats/layouts.h"
#include "stats/statist.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/progressbar.h"

namespace stats {

namespace {

QColor colour(const Rgb& c) {
    return QColor(c.red, c.green, c.blue);
}

ui::BitmapButton* button(QWidget* parent, const char* bitmap, const QString& toolTip, const QRect& rect) {
    auto* b = ui::place(new ui::BitmapButton(QString::fromLatin1(bitmap), toolTip, parent), rect);
    b->setAccessibleName(toolTip);
    return b;
}

// The theme captions are part of the pictures; a screen reader gets them as the bars' names.
QString themeCaption(int n) {
    return n <= 8 ? QString::fromUtf8(layout::kThemeCaptions[n - 1]) : QStringLiteral("Alle Themen");
}

ui::ProgressBar* makeBar(QWidget* parent, const QRect& rect, long long value, long long total, const QColor& back,
                         const QColor& text, const QString& name) {
    auto* b = ui::place(new ui::ProgressBar(parent), rect);
    b->setAccessibleName(name);
    b->setTotal(static_cast<int>(total));
    b->setPosition(static_cast<int>(value));
    b->setBackgroundColor(back);
    b->setTextColor(text);
    return b;
}

// The dialog font's size, or smaller down to 8 pixels where a caption would not fit its 140 pixels.
QFont rowFont(const QString& text, int width, bool bold) {
    QFont font = ui::fontPt(QStringLiteral("MS Sans Serif"), 8, bold);
    for (int px = QFontInfo(font).pixelSize(); px > 8 && QFontMetrics(font).horizontalAdvance(text) > width - 4; --px)
        font = ui::fontPx(QStringLiteral("MS Sans Serif"), px - 1, bold);
    return font;
}

ui::Label* rowLabel(QWidget* parent, const QString& text, const QRect& rect, const QColor& back, bool bold) {
    auto* label = ui::place(new ui::Label(text, parent), rect);
    label->setFont(rowFont(text, rect.width(), bold));
    label->setColors(Qt::black, back);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

// ---- overview ----------------------------------------------------------------------------------------------------

OverviewDialog::OverviewDialog(core::Context& ctx, Overview& overview, bool flag, QWidget* parent)
    : ui::SkinnedDialog(parent), m_ctx(ctx), m_overview(overview), m_flag(flag) {
    setHelpTopic(ctx, core::topicKeyword(core::topic::kStatistics));
    ui::DLGPUTBMP(this, QStringLiteral("Statist1"));
    if (skin().isNull()) setDialogSize(475, 269);
    build(false);
    m_title->setText(QStringLiteral("Allgemeine Statistik für die Klasse '") + overview.classCode() +
                     QLatin1Char('\''));
    setWindowTitle(m_title->text());
}

OverviewDialog::OverviewDialog(core::Context& ctx, Overview& overview, const QString& caption, QWidget* parent)
    : ui::SkinnedDialog(parent), m_ctx(ctx), m_overview(overview) {
    ui::DLGPUTBMP(this, QStringLiteral("StatistT"));
    if (skin().isNull()) setDialogSize(475, 269);
    build(true);
    m_title->setText(QStringLiteral("Klasse '") + overview.classCode() + QStringLiteral("' - ") + caption);
    setWindowTitle(m_title->text());
}

void OverviewDialog::build(bool theme) {
    namespace at = layout::overview;
    m_title = ui::place(new ui::Label(this), theme ? at::themeTitle : at::title);
    m_title->setFont(ui::fontPx(QStringLiteral("Arial"), 14));
    m_title->setColors(Qt::black, ui::art::palette::titleTab);
    m_title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const QColor row1 = ui::art::palette::statRow1, row2 = ui::art::palette::statRow2;
    rowLabel(this, QStringLiteral("Anzahl der Fragen insgesamt"), at::questionsLabel, row1, false);
    rowLabel(this, QStringLiteral("beantwortet wurden bisher"), at::answeredLabel, row1, false);
    rowLabel(this, QStringLiteral("Anzahl der Fragen bisher"), at::askedLabel, row2, false);
    rowLabel(this, QStringLiteral("davon richtige Antworten"), at::rightLabel, row2, false);
    const QRect places[4] = {at::questions, at::answered, at::asked, at::right};
    for (int i = 0; i < 4; ++i)
        m_figures[static_cast<std::size_t>(i)] = rowLabel(this, {}, places[i], i < 2 ? row1 : row2, true);

    m_bar1 =
        makeBar(this, at::bar1, 0, 0, QColor(185, 180, 173), Qt::black, QStringLiteral("Beantwortet von allen Fragen"));
    m_bar2 = makeBar(this, at::bar2, 0, 0, QColor(209, 98, 98), Qt::black,
                     QStringLiteral("Richtig von den gestellten Fragen"));
    showCounts();

    if (theme) {
        m_end = button(this, "BK_ENDE", QStringLiteral("Dialog schließen"), at::themeEnd);
        connect(m_end, &QAbstractButton::clicked, this, &QDialog::accept);
        addAccelerator(QLatin1Char('B'), m_end);
    } else {
        m_end = button(this, "BK_ENDE", QStringLiteral("Dialog schließen"), at::end);
        m_themes = button(this, "BK_THST", QStringLiteral("Themenstatistik"), at::themes);
        // Only a logged-in learner with a second learner's table beside has someone to compare with; the button
        // still answers a click with the comparison's own notice.
        const bool second = m_ctx.login().NS_USER > 0 && m_ctx.exists(QStringLiteral("LOCAL2.DBF"));
        m_compare = button(this, second ? "BK_BVER" : "BK_BVER0", QStringLiteral("Benutzerstatistik"), at::compare);
        m_reset = button(this, "BK_ZURUK", QStringLiteral("Statistikdaten löschen"), at::reset);
        connect(m_end, &QAbstractButton::clicked, this, &QDialog::accept);
        connect(m_themes, &QAbstractButton::clicked, this, [this] { STATIST1(m_ctx, this, m_overview, m_flag); });
        connect(m_compare, &QAbstractButton::clicked, this,
                [this] { STATIST2(m_ctx, this, &m_overview, m_overview.classCode(), m_flag); });
        connect(m_reset, &QAbstractButton::clicked, this, [this] {
            if (m_overview.STAT_DEL()) accept();
        });
        addAccelerator(QLatin1Char('B'), m_end);
        addAccelerator(QLatin1Char('T'), m_themes);
        m_compareKey = addAccelerator(QLatin1Char('V'), m_compare);
        m_compareKey->setEnabled(second);
        addAccelerator(QLatin1Char('Z'), m_reset);
        setEnterButton(m_end);
    }
    m_close = addCloseButton(at::close);
}

bool OverviewDialog::compareKeyEnabled() const {
    return m_compareKey && m_compareKey->isEnabled();
}

void OverviewDialog::showCounts() {
    const Counts& c = m_overview.counts();
    const long long values[4] = {c.NFRAGEN, c.NBEANTW, c.NGEFRAGT, c.NRICHTIG};
    for (int i = 0; i < 4; ++i)
        m_figures[static_cast<std::size_t>(i)]->setText(QString::number(values[i]));
    m_bar1->setTotal(static_cast<int>(c.NFRAGEN));
    m_bar1->setPosition(static_cast<int>(c.NBEANTW));
    m_bar1->setBarColor(colour(answeredColor(c)));
    m_bar2->setTotal(static_cast<int>(c.NGEFRAGT));
    m_bar2->setPosition(static_cast<int>(c.NRICHTIG));
    if (const auto right = rightColor(c)) m_bar2->setBarColor(colour(*right));
}

// ---- pages by theme ----------------------------------------------------------------------------------------------

ThemePage::ThemePage(int page, const ThemeCounts& c, QWidget* parent) : ui::SkinnedDialog(parent), m_page(page) {
    static const char* const skins[3] = {"StatThem", "StatRic1", "StatRic2"};
    ui::DLGPUTBMP(this, QString::fromLatin1(skins[page - 1]));
    if (skin().isNull()) setDialogSize(545, page == 1 ? 329 : 499);
    setWindowTitle(QStringLiteral("Statistik nach Themen"));
    const QColor yellow = ui::art::palette::barBack;

    if (page == 1) {
        for (int n = 1; n <= 8; ++n) {
            const auto i = static_cast<std::size_t>(n - 1);
            m_upper[i] = makeBar(this, layout::themePage1::bar(n), c.NRICHTG[i], c.NFRAGEN[i], yellow, Qt::black,
                                 themeCaption(n) + QStringLiteral(": richtig von allen Fragen"));
            m_upper[i]->setBarColor(colour(shareColor(c.NRICHTG[i], c.NFRAGEN[i])));
        }
        m_nextButton = button(this, "BK_WEIT", QStringLiteral("Nächste Statistik anzeigen"), layout::themePage1::next);
        m_end = button(this, "BK_ENDE", QStringLiteral("Fenster schliessen"), layout::themePage1::end);
        m_close = addCloseButton(layout::themePage1::close);
    } else {
        namespace at = layout::themePage2;
        for (int n = 1; n <= 9; ++n) {
            const auto i = static_cast<std::size_t>(n - 1);
            const bool total = n == 9;
            const long long questions = total ? c.NFRAGENA : c.NFRAGEN[i];
            const long long answered = total ? c.NGEFRAGA : c.NGEFRAG[i];
            const long long right = total ? c.NRICHTGA : c.NRICHTG[i];
            m_upper[i] = makeBar(this, total ? at::totalUpper : at::upper(n), answered, questions, yellow, yellow,
                                 themeCaption(n) + QStringLiteral(": beantwortet von allen Fragen"));
            m_upper[i]->setBarColor(ui::art::palette::barMagenta);
            // Page 2: right of those answered; page 3: right of all questions.
            m_lower[i] = makeBar(this, total ? at::totalLower : at::lower(n), right, page == 2 ? answered : questions,
                                 yellow, Qt::white,
                                 themeCaption(n) + (page == 2 ? QStringLiteral(": richtig von den beantworteten")
                                                              : QStringLiteral(": richtig von allen Fragen")));
        }
        if (page == 2) m_nextButton = button(this, "BK_WEIT", QStringLiteral("Nächste Statistik anzeigen"), at::next);
        m_end = button(this, "BK_ENDE",
                       page == 2 ? QStringLiteral("Fenster schliessen") : QStringLiteral("Fenster schließen"), at::end);
        m_close = addCloseButton(at::close);
    }
    connect(m_end, &QAbstractButton::clicked, this, &QDialog::reject);
    addAccelerator(QLatin1Char('B'), m_end);
    if (m_nextButton) {
        connect(m_nextButton, &QAbstractButton::clicked, this, [this] {
            m_next = true;
            accept();
        });
        addAccelerator(QLatin1Char('W'), m_nextButton);
        setEnterButton(m_nextButton);
    }
}

// ---- comparison --------------------------------------------------------------------------------------------------

CompareDialog::CompareDialog(const LearnerCounts& l1, const LearnerCounts& l2, const QString& name1,
                             const QString& name2, QWidget* parent)
    : ui::SkinnedDialog(parent) {
    namespace at = layout::compare;
    ui::DLGPUTBMP(this, QStringLiteral("StatVerg"));
    if (skin().isNull()) setDialogSize(545, 500);
    setWindowTitle(QStringLiteral("Benutzervergleich"));
    const QColor yellow = ui::art::palette::barBack;
    for (int n = 1; n <= 9; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        const bool total = n == 9;
        m_bars1[i] = makeBar(this, total ? at::total1 : at::learner1(n), total ? l1.NRICHTGA : l1.NRICHTG[i],
                             total ? l1.NFRAGENA : l1.NFRAGEN[i], yellow, Qt::black,
                             themeCaption(n) + QStringLiteral(": richtig, ") + name1);
        m_bars1[i]->setBarColor(ui::art::palette::barMagenta);
        m_bars2[i] = makeBar(this, total ? at::total2 : at::learner2(n), total ? l2.NRICHTGA : l2.NRICHTG[i],
                             total ? l2.NFRAGENA : l2.NFRAGEN[i], yellow, Qt::white,
                             themeCaption(n) + QStringLiteral(": richtig, ") + name2);
    }
    auto name = [&](const QString& text, const QRect& rect) {
        auto* label = ui::place(new ui::Label(text, this), rect);
        label->setFont(ui::dialogFont());
        label->setColors(Qt::black, yellow);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return label;
    };
    m_name1 = name(name1, at::name1);
    m_name2 = name(name2, at::name2);
    m_end = button(this, "BK_ENDE", QStringLiteral("Fenster schliessen"), at::end);
    connect(m_end, &QAbstractButton::clicked, this, &QDialog::accept);
    addAccelerator(QLatin1Char('B'), m_end);
    m_close = addCloseButton(at::close);
}

ui::ProgressBar* CompareDialog::bar(int learner, int theme) const {
    const auto i = static_cast<std::size_t>(theme - 1);
    return learner == 1 ? m_bars1[i] : m_bars2[i];
}

} // namespace stats
