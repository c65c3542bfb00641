#include "progress/reviewdialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>

#include <algorithm>

#include "core/context.h"
#include "core/helptopics.h"
#include "progress/layouts.h"
#include "training/layouts.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/maskededit.h"

namespace progress {

namespace {

namespace at = training::layout::question;
using ui::art::palette::NCOLF;
const QColor kWrongInk(0xc0, 0x10, 0x10);

} // namespace

ReviewDialog::ReviewDialog(core::Context& ctx, const RecordedExam& exam, QWidget* parent)
    : ui::SkinnedDialog(parent), m_ctx(ctx), m_exam(exam), m_items(reviewItems(ctx, exam)) {
    setWindowTitle(QStringLiteral("Prüfung ansehen"));
    setHelpTopic(ctx, core::topicKeyword(core::topic::kProgress));
    addAccelerator(QLatin1Char('N'), [this] { showItem(m_current + 1); });
    addAccelerator(QLatin1Char('Z'), [this] { showItem(m_current - 1); });
    addAccelerator(QLatin1Char('H'), [this] {
        m_ctx.help().showTopic(core::kHelpFile, core::topicKeyword(core::topic::kProgress));
    });
    addAccelerator(QLatin1Char('B'), [this] { reject(); });
    showItem(0);
}

void ReviewDialog::clearControls() {
    for (QWidget* w : m_controls)
        delete w;
    m_controls.clear();
    m_boxes = {};
    m_answers = {};
    m_entries = {};
    m_before = m_between = m_after = nullptr;
}

void ReviewDialog::build(int layout) {
    clearControls();
    m_layout = layout;
    ui::DLGPUTBMP(this, layout == 1 ? QStringLiteral("Fragen1") : QStringLiteral("Fragen2"), true);
    const auto keep = [this](auto* w) {
        m_controls.push_back(w);
        w->show();
        return w;
    };
    const auto label = [&](const QRect& r, bool bold, std::optional<QColor> back,
                           Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
        auto* l = keep(ui::place(new ui::Label(this), r));
        l->setFont(ui::dialogFont(bold));
        l->setColors(NCOLF, back);
        l->setAlignment(align);
        if (!back) l->setTransparent(true);
        return l;
    };
    m_header = label(at::header, false, std::nullopt);
    m_header->setFont(ui::fontPx(QStringLiteral("Arial"), 14));
    m_picture = keep(ui::place(new QLabel(this), at::picture));
    m_picture->setScaledContents(true);
    const QColor cyan = ui::art::palette::questionCyan;
    m_question = label(layout == 1 ? at::text1 : at::text2, true, layout == 1 ? cyan : ui::art::palette::answer3,
                       Qt::AlignLeft | Qt::AlignTop);
    m_question->setWordWrap(true);
    m_question->setContentsMargins(4, 4, 4, 4);
    if (layout == 1) {
        const QColor backs[3] = {ui::art::palette::answer1, ui::art::palette::answer2, ui::art::palette::answer3};
        for (int i = 0; i < 3; ++i) {
            m_boxes[i] = keep(ui::place(new ui::CheckBox(QStringLiteral("%1").arg(i + 1), this), at::box[i]));
            m_boxes[i]->setColors(NCOLF, backs[i]);
            // Read-only: the learner's tick is shown, not taken.
            m_boxes[i]->installEventFilter(this);
            m_boxes[i]->setFocusPolicy(Qt::NoFocus);
            m_answers[i] = label(at::answer[i], false, backs[i]);
            m_answers[i]->setWordWrap(true);
            m_answers[i]->setContentsMargins(2, 0, 4, 0);
        }
    } else {
        const bool two = layout == 3;
        m_before = label(two ? at::before3 : at::before2, true, cyan, Qt::AlignRight | Qt::AlignVCenter);
        m_after = label(two ? at::after3 : at::after2, !two, std::nullopt);
        m_entries[0] = keep(ui::place(new ui::MaskedEdit(this), two ? at::entry3a : at::entry2));
        if (two) {
            m_between = label(at::between3, true, cyan, Qt::AlignCenter);
            m_entries[1] = keep(ui::place(new ui::MaskedEdit(this), at::entry3b));
        }
        for (ui::MaskedEdit* e : m_entries)
            if (e) {
                e->setReadOnly(true);
                e->setAlignment(Qt::AlignCenter);
                ui::setColors(e, NCOLF, Qt::white);
            }
    }
    m_number = label(at::number, false, std::nullopt);
    m_running = label(at::running, false, std::nullopt, Qt::AlignCenter);
    m_total = label(at::total, false, std::nullopt, Qt::AlignCenter);
    m_points = label(at::points, false, std::nullopt, Qt::AlignCenter);
    m_errors = label(at::errors, true, QColor(255, 0, 0), Qt::AlignCenter);
    m_errors->setColors(QColor(255, 255, 0), QColor(255, 0, 0));
    m_errors->setFrameShape(QFrame::Box);
    m_errors->setFont(ui::fontPx(QStringLiteral("MS Sans Serif"), 11, true));
    m_errors->setToolTip(QStringLiteral("Fehlerpunkte der ganzen Prüfung"));
    m_verdict = label(layout::review::verdict, true, std::nullopt);

    const auto button = [&](const char* bitmap, const QString& tip, const QRect& r) {
        auto* b = keep(ui::place(new ui::BitmapButton(QString::fromLatin1(bitmap), tip, this), r));
        b->setAccessibleName(tip);
        return b;
    };
    m_next = button("B_NEXT", QStringLiteral("Die nächste Frage dieser Prüfung zeigen."), at::next);
    m_back = button("B_ZURUK", QStringLiteral("Die vorige Frage dieser Prüfung zeigen."), at::solution);
    m_help = button("B_HELP", QStringLiteral("Hilfe anzeigen."), at::help);
    m_end = button("B_ENDE", QStringLiteral("Die Ansicht schließen."), at::end);
    connect(m_next, &QAbstractButton::clicked, this, [this] { showItem(m_current + 1); });
    connect(m_back, &QAbstractButton::clicked, this, [this] { showItem(m_current - 1); });
    connect(m_help, &QAbstractButton::clicked, this,
            [this] { m_ctx.help().showTopic(core::kHelpFile, core::topicKeyword(core::topic::kProgress)); });
    connect(m_end, &QAbstractButton::clicked, this, &QDialog::reject);
    if (m_controls.size() && !findChild<ui::CloseButton*>()) addCloseButton(at::close);
}

void ReviewDialog::showItem(int index) {
    if (m_items.empty()) {
        if (m_layout == 0) build(1);
        m_header->setText(QStringLiteral("Diese Prüfung enthält keine Fragen."));
        return;
    }
    index = std::clamp(index, 0, int(m_items.size()) - 1);
    const ReviewItem& item = m_items[std::size_t(index)];
    const bool rebuilt = item.layout != m_layout;
    if (rebuilt) build(item.layout);
    m_current = index;

    m_header->setText(QStringLiteral("Prüfung %1 vom %2, Klasse '%3'")
                          .arg(m_exam.number)
                          .arg(m_exam.when.toString(QStringLiteral("dd.MM.yyyy hh:mm")), m_exam.classCode));
    QPixmap pm;
    if (!item.picture.isEmpty() && pm.loadFromData(item.picture))
        m_picture->setPixmap(pm);
    else
        m_picture->clear();
    m_question->setText(item.question);
    if (item.layout == 1) {
        for (int i = 0; i < 3; ++i) {
            const bool has = !item.answers[i].trimmed().isEmpty();
            m_boxes[i]->setChecked(item.ticked[i]);
            m_boxes[i]->setVisible(has);
            // The right answers are marked; a tick that differs from the right one is red.
            QString text = item.answers[i];
            if (has && item.right[i]) text = QStringLiteral("\u2714 richtig: ") + text;
            m_answers[i]->setText(has ? text : QString());
            const bool differs = has && item.ticked[i] != item.right[i];
            m_answers[i]->setColors(differs ? kWrongInk : NCOLF,
                                    std::array{ui::art::palette::answer1, ui::art::palette::answer2,
                                               ui::art::palette::answer3}[std::size_t(i)]);
            m_answers[i]->setAccessibleName(QStringLiteral("Antwort %1%2%3: ")
                                                .arg(i + 1)
                                                .arg(item.right[i] ? QStringLiteral(" (richtig)") : QString())
                                                .arg(item.ticked[i] ? QStringLiteral(", angekreuzt") : QString()) +
                                            item.answers[i]);
        }
    } else {
        m_before->setText(item.vor);
        if (m_between) m_between->setText(item.zwisch);
        m_entries[0]->setText(item.given1);
        if (m_entries[1]) m_entries[1]->setText(item.given2);
        QString right = item.expected1;
        if (item.layout == 3) right += QStringLiteral(" / ") + item.expected2;
        m_after->setText(item.nach + QStringLiteral("   (richtig: ") + right + QLatin1Char(')'));
        m_after->setColors(item.wrong ? kWrongInk : NCOLF);
    }
    m_number->setText(QString::fromStdString(item.FRAGENR));
    m_running->setText(QStringLiteral("%1").arg(index + 1, 2));
    m_total->setText(QStringLiteral("%1").arg(int(m_items.size()), 2));
    m_points->setText(QString::number(item.points));
    m_errors->setText(QStringLiteral("%1").arg(m_exam.errors, 3));
    m_verdict->setText(item.wrong ? QStringLiteral("falsch") : QStringLiteral("richtig"));
    m_verdict->setColors(item.wrong ? kWrongInk : QColor(0x1a, 0x7a, 0x2a));
    m_back->setEnabled(index > 0);
    m_next->setEnabled(index + 1 < int(m_items.size()));
    if (rebuilt) m_next->setFocus();
}

bool ReviewDialog::eventFilter(QObject* watched, QEvent* event) {
    // The boxes show the learner's ticks; neither a click nor a key may change them.
    if (std::find(m_boxes.begin(), m_boxes.end(), watched) == m_boxes.end())
        return ui::SkinnedDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return true;
    default: return ui::SkinnedDialog::eventFilter(watched, event);
    }
}

void ReviewDialog::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_PageDown:
        case Qt::Key_Right: showItem(m_current + 1); return;
        case Qt::Key_PageUp:
        case Qt::Key_Left: showItem(m_current - 1); return;
        default: break;
        }
    }
    ui::SkinnedDialog::keyPressEvent(event);
}

} // namespace progress
