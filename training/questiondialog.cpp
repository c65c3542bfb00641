#include "training/questiondialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>

#include "core/context.h"
#include "core/helptopics.h"
#include "training/layouts.h"
#include "training/run.h"
#include "training/solutiondialog.h"
#include "training/verdict.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/cursors.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/maskededit.h"

namespace training {

namespace {

namespace at = layout::question;
using ui::art::palette::NCOLF;

ui::Label* textLabel(QWidget* parent, const QRect& rect, bool bold, std::optional<QColor> back,
                     Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = ui::place(new ui::Label(parent), rect);
    label->setFont(ui::dialogFont(bold));
    label->setColors(NCOLF, back);
    label->setAlignment(align);
    return label;
}

ui::BitmapButton* bitmapButton(QWidget* parent, const char* bitmap, const QString& tip, const QRect& rect) {
    auto* button = ui::place(new ui::BitmapButton(QString::fromLatin1(bitmap), tip, parent), rect);
    button->setAccessibleName(tip);
    return button;
}

} // namespace

QuestionLook trainingLook(const RunState& state) {
    QString theme = state.CDLGTHEMA;
    while (theme.endsWith(QLatin1Char(' ')))
        theme.chop(1);
    QuestionLook look;
    look.windowTitle = QStringLiteral("Fragentraining");
    look.header = QStringLiteral("Fragen zum Thema: ") + theme + QStringLiteral("  Klasse: '") + state.CDLGKLASSE +
                  QLatin1Char('\'');
    look.nextTip = QStringLiteral("Nächste Frage vorlegen.");
    look.nextTip3 = QStringLiteral("Die nächste Frage vorlegen.");
    look.solutionTip = QStringLiteral("Die richtigen Antworten anzeigen.");
    return look;
}

QuestionDialog::QuestionDialog(core::Context& ctx, QuestionRun& run, QWidget* parent)
    : QuestionDialog(ctx, run, trainingLook(run.state()), parent) {}

QuestionDialog::QuestionDialog(core::Context& ctx, QuestionRun& run, QuestionLook look, QWidget* parent)
    : ui::SkinnedDialog(parent), m_ctx(ctx), m_run(run), m_look(std::move(look)) {
    RunState& s = run.state();
    m_layout = s.NDLGTYP;
    s.NDLGOPEN = m_layout;
    setWindowTitle(m_look.windowTitle);
    ui::DLGPUTBMP(this, m_layout == 1 ? QStringLiteral("Fragen1") : QStringLiteral("Fragen2"), true);
    if (m_look.skinMargin != 1 && !skin().isNull())
        setDialogSize(skin().width() - m_look.skinMargin, skin().height() - m_look.skinMargin);
    setHelpTopic(ctx, core::topicKeyword(m_look.topic));

    m_header = ui::place(new ui::Label(m_look.header, this), at::header);
    m_header->setFont(ui::fontPx(QStringLiteral("Arial"), 14));
    m_header->setColors(NCOLF);
    m_header->setTransparent(true);

    m_picture = ui::place(new QLabel(this), at::picture);
    m_picture->setScaledContents(true);

    const QColor cyan = ui::art::palette::questionCyan;
    m_question = textLabel(this, m_layout == 1 ? at::text1 : at::text2, true,
                           m_layout == 1 ? cyan : ui::art::palette::answer3, Qt::AlignLeft | Qt::AlignTop);
    m_question->setWordWrap(true);
    m_question->setContentsMargins(4, 4, 4, 4);

    if (m_layout == 1) {
        const QColor backs[3] = {ui::art::palette::answer1, ui::art::palette::answer2, ui::art::palette::answer3};
        for (int i = 0; i < 3; ++i) {
            m_boxes[i] = ui::place(new ui::CheckBox(QStringLiteral("&%1").arg(i + 1), this), at::box[i]);
            m_boxes[i]->setColors(NCOLF, backs[i]);
            m_answers[i] = textLabel(this, at::answer[i], false, backs[i]);
            m_answers[i]->setWordWrap(true);
            m_answers[i]->setContentsMargins(2, 0, 4, 0);
            // A click on the text ticks its box too.
            m_answers[i]->setBuddy(m_boxes[i]);
        }
    } else {
        const bool two = m_layout == 3;
        m_before = textLabel(this, two ? at::before3 : at::before2, true, cyan, Qt::AlignRight | Qt::AlignVCenter);
        m_after = textLabel(this, two ? at::after3 : at::after2, two ? false : true, std::nullopt);
        m_after->setTransparent(true);
        m_entries[0] = ui::place(new ui::MaskedEdit(this), two ? at::entry3a : at::entry2);
        if (two) {
            m_between = textLabel(this, at::between3, true, cyan, Qt::AlignCenter);
            m_entries[1] = ui::place(new ui::MaskedEdit(this), at::entry3b);
        }
        for (int i = 0; i < (two ? 2 : 1); ++i) {
            m_entries[i]->setTextMask(10);
            m_entries[i]->setAlignment(Qt::AlignCenter);
            ui::setColors(m_entries[i], NCOLF, Qt::white);
            m_entries[i]->setAccessibleName(QStringLiteral("Wert %1").arg(i + 1));
        }
    }

    m_number = textLabel(this, at::number, false, std::nullopt);
    m_running = textLabel(this, at::running, false, std::nullopt, Qt::AlignCenter);
    m_total = textLabel(this, at::total, false, std::nullopt, Qt::AlignCenter);
    m_points = textLabel(this, at::points, false, std::nullopt, Qt::AlignCenter);
    for (ui::Label* l : {m_number, m_running, m_total, m_points})
        l->setTransparent(true);
    m_errors = textLabel(this, at::errors, true, QColor(255, 0, 0), Qt::AlignCenter);
    m_errors->setColors(QColor(255, 255, 0), QColor(255, 0, 0));
    m_errors->setFrameShape(QFrame::Box);
    // Three bold digits must fit the narrow box.
    m_errors->setFont(ui::fontPx(QStringLiteral("MS Sans Serif"), 11, true));
    m_errors->setContentsMargins(0, 0, 0, 0);
    m_errors->setAccessibleName(QStringLiteral("Fehlerpunkte"));

    m_next = bitmapButton(this, "B_NEXT", m_layout == 3 ? m_look.nextTip3 : m_look.nextTip, at::next);
    m_solution = bitmapButton(this, "B_LOES", m_look.solutionTip, at::solution);
    m_help = bitmapButton(this, "B_HELP", QStringLiteral("Hilfe anzeigen."), at::help);
    m_end = bitmapButton(this, "B_ENDE", QStringLiteral("Diese Übung sofort beenden."), at::end);
    connect(m_next, &QAbstractButton::clicked, this, &QuestionDialog::next);
    connect(m_solution, &QAbstractButton::clicked, this, &QuestionDialog::solution);
    connect(m_help, &QAbstractButton::clicked, this,
            [this] { m_ctx.help().showTopic(core::kHelpFile, core::topicKeyword(m_look.helpButtonTopic)); });
    connect(m_end, &QAbstractButton::clicked, this, &QDialog::reject);
    addAccelerator(QLatin1Char('N'), m_next);
    addAccelerator(QLatin1Char('L'), m_solution);
    addAccelerator(QLatin1Char('H'),
                   [this] { m_ctx.help().showTopic(core::kHelpFile, core::topicKeyword(m_look.helpKeyTopic)); });
    addAccelerator(QLatin1Char('B'), m_end);

    m_auto = ui::place(new ui::CheckBox(QString(), this), at::autoEvaluate);
    m_auto->setColors(NCOLF);
    m_auto->setToolTip(QStringLiteral("Jede Antwort sofort auswerten."));
    m_auto->setAccessibleName(QStringLiteral("Jede Antwort sofort auswerten."));
    m_auto->setChecked(s.LAUSWERT);
    connect(m_auto, &QCheckBox::toggled, this, [this](bool on) { m_run.state().LAUSWERT = on; });

    addCloseButton(at::close);
    // The error points as they stand when the dialog opens, whether or not they follow each answer.
    refreshErrors();
    showQuestion();
}

QuestionDialog::~QuestionDialog() {
    m_run.state().NDLGOPEN = 0;
}

void QuestionDialog::showEvent(QShowEvent* event) {
    ui::SkinnedDialog::showEvent(event);
    if (!m_spoken) {
        m_spoken = true;
        m_run.speakQuestion();
    }
    focusFirst();
}

void QuestionDialog::keyPressEvent(QKeyEvent* event) {
    // Next is the default button: Enter means Next, unless the focus is on another button, which it then presses.
    // The keypad's Enter, which learners press after typing a value there, comes with the keypad modifier.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
        auto* focused = qobject_cast<ui::BitmapButton*>(focusWidget());
        if (focused && focused != m_next)
            focused->click();
        else
            next();
        return;
    }
    ui::SkinnedDialog::keyPressEvent(event);
}

void QuestionDialog::showQuestion() {
    const RunState& s = m_run.state();
    m_question->setText(s.CFRAGE);
    m_number->setText(s.CFRGNR);
    m_running->setText(QStringLiteral("%1").arg(s.NFRAGENR, 2));
    m_total->setText(QStringLiteral("%1").arg(s.NVON, 2));
    m_points->setText(QString::number(s.NPUNKTE));
    if (s.CBITMAP.isEmpty()) {
        m_picture->clear();
    } else {
        // A filler picture that cannot be read leaves what was shown before.
        const QPixmap pm(s.CBITMAP);
        if (!pm.isNull()) m_picture->setPixmap(pm);
    }
    if (m_layout == 1) {
        const QString texts[3] = {s.CANTW1, s.CANTW2, s.CANTW3};
        for (int i = 0; i < 3; ++i) {
            m_answers[i]->setText(texts[i]);
            m_boxes[i]->setChecked(false);
            const bool has = !texts[i].trimmed().isEmpty();
            ui::setCursor(m_boxes[i], has ? ui::CursorKind::Hand : ui::CursorKind::Arrow);
            m_boxes[i]->setAccessibleName(has ? QStringLiteral("Antwort %1: ").arg(i + 1) + texts[i]
                                              : QStringLiteral("Antwort %1 (leer)").arg(i + 1));
        }
    } else {
        m_before->setText(s.CMC_VOR);
        m_after->setText(s.CMC_NACH);
        if (m_between) m_between->setText(s.CMC_ZWISCH);
        m_entries[0]->setText(s.CMC_WERT.trimmed());
        if (m_entries[1]) m_entries[1]->setText(s.CMC_WERT2.trimmed());
    }
}

void QuestionDialog::showAnswer() {
    const RunState& s = m_run.state();
    if (m_layout == 1) {
        const bool ticks[3] = {s.LISOK1, s.LISOK2, s.LISOK3};
        for (int i = 0; i < 3; ++i)
            if (!m_answers[i]->text().trimmed().isEmpty()) m_boxes[i]->setChecked(ticks[i]);
    } else {
        m_entries[0]->setText(s.CMC_WERT.trimmed());
        if (m_entries[1]) m_entries[1]->setText(s.CMC_WERT2.trimmed());
    }
}

void QuestionDialog::collect() {
    RunState& s = m_run.state();
    if (m_layout == 1) {
        s.LISOK1 = m_boxes[0]->isChecked();
        s.LISOK2 = m_boxes[1]->isChecked();
        s.LISOK3 = m_boxes[2]->isChecked();
    } else {
        s.CMC_WERT = m_entries[0]->text();
        if (m_entries[1]) s.CMC_WERT2 = m_entries[1]->text();
    }
}

void QuestionDialog::refreshErrors() {
    m_errors->setText(QStringLiteral("%1").arg(m_run.state().NFEHLER, 3));
}

void QuestionDialog::evaluate(bool popup) {
    collect();
    if (m_run.CHKDATA()) return;
    if (m_look.errorsAlways || m_ctx.settings.LS_FPSHOW) refreshErrors();
    if (popup) {
        FRGAUSWERT(m_ctx, m_run, this);
    } else {
        m_run.GETERGEBNIS();
        showAnswer();
    }
}

void QuestionDialog::solution() {
    evaluate(false);
    m_run.state().LLOESUNG = true;
}

void QuestionDialog::next() {
    RunState& s = m_run.state();
    if (!s.LLOESUNG)
        evaluate(s.LAUSWERT);
    else
        s.LLOESUNG = false;
    const QuestionRun::Step step = m_run.CHKWEITER();
    if (step == QuestionRun::Step::Finished) {
        m_outcome = Outcome::Closed;
        accept();
        return;
    }
    if (s.NDLGTYP != m_layout) {
        // The dialog of the other layout takes over; it shows and speaks the question when it opens.
        m_outcome = Outcome::LayoutChange;
        accept();
        return;
    }
    showQuestion();
    if (step == QuestionRun::Step::Next) m_run.speakQuestion();
    focusFirst();
}

void QuestionDialog::focusFirst() {
    if (m_layout == 1)
        m_boxes[0]->setFocus();
    else
        m_entries[0]->setFocus();
}

void presentQuestions(core::Context& ctx, QuestionRun& run, const QuestionLook& look, QWidget* owner) {
    for (;;) {
        QuestionDialog dialog(ctx, run, look, owner);
        dialog.exec();
        if (dialog.outcome() != QuestionDialog::Outcome::LayoutChange) break;
    }
}

void FRAGEN(core::Context& ctx, QWidget* owner, const QString& title, const QString& classCode, int theme,
            const Links& links) {
    Run run(ctx);
    run.begin(classCode, theme, title);
    if (!run.CHECKDBF(classCode, theme)) return;
    if (run.state().NVON == 0) {
        core::MSGINFO(ctx, run.emptySelectionNotice(), QStringLiteral("Achtung"));
        return;
    }
    run.GETDATA();
    presentQuestions(ctx, run, trainingLook(run.state()), owner);
    // The theme statistic opens the learner's table itself.
    run.closeTables();
    if (run.state().NFRAGEN > 0)
        CHECKALL(ctx, owner, classCode, theme, run.state().NFEHLER, title, links);
    run.finish();
}

bool CHECKALL(core::Context& ctx, QWidget* owner, const QString& classCode, int theme, int errors,
              const QString& title, const Links& links) {
    if (askVerdict(ctx, errors, bool(links.statTheme))) links.statTheme(ctx, owner, classCode, theme, title);
    return true;
}

} // namespace training
