#include "ui/msgdialogs.h"

#include <QMessageBox>
#include <QTimer>

#include "ui/bitmaps.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/cursors.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/progressbar.h"

namespace ui {

namespace {

constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 34;

// The buttons stand at 2·H − 220 from the top (H: the skin's height), which puts them at 128 on the supplied
// skin. A replacement skin of another height would push them outside the dialog, where no one could click
// them, so the value is held inside the dialog.
int buttonTop(const SkinnedDialog& dlg) {
    const int skinHeight = dlg.height() + 1;
    return qBound(0, 2 * skinHeight - 220, qMax(0, dlg.height() - kButtonHeight));
}

Label* makeTitle(SkinnedDialog* dlg, const QString& title) {
    auto* label = place(new Label(title, dlg), pxRect(8, 12, 200, 16));
    label->setFont(fontPx(QStringLiteral("Arial"), 14));
    label->setColors(Qt::black);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

} // namespace

MessageDialog::MessageDialog(Kind kind, const QString& message, const QString& title, QWidget* parent)
    : SkinnedDialog(parent) {
    setWindowTitle(title);
    setSkin(kind == Kind::Info ? QStringLiteral("MsgInfo") : QStringLiteral("MsgYesNo"));
    if (skin().isNull()) setDialogSize(kind == Kind::Info ? 381 : 385, kind == Kind::Info ? 172 : 173);

    m_title = makeTitle(this, title);
    m_message = place(new Label(message, this), pxRect(50, 64, 292, 60));
    m_message->setFont(fontPx(QStringLiteral("MS Sans Serif"), kind == Kind::Info ? 14 : 13));
    m_message->setColors(Qt::black);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);

    const int top = buttonTop(*this);
    const int skinWidth = width() + 1;
    if (kind == Kind::Info) {
        m_ok = place(new BitmapButton(QStringLiteral("Ok"), QString(), this),
                     pxRect(top, qMin(142, qMax(0, width() - kButtonWidth)), kButtonWidth, kButtonHeight));
        connect(m_ok, &QAbstractButton::clicked, this, [this] { done(Accepted); });
        m_close = addCloseButton(8, qMin(355, width() - 20));
        addAccelerator(QLatin1Char('O'), m_ok);
        // Enter confirms a notice as it does any other; the bitmap button itself only takes Space.
        setEnterButton(m_ok);
        m_ok->setFocus();
    } else {
        const QRect left = pxRect(top, qMax(0, (skinWidth - 1) / 2 - 106), kButtonWidth, kButtonHeight);
        const QRect right = pxRect(top, (skinWidth - 1) / 2 + 8, kButtonWidth, kButtonHeight);
        auto makeYes = [&](const QRect& r) {
            m_yes = place(new BitmapButton(QStringLiteral("Ja"), QStringLiteral("Antwort ist JA"), this), r);
            connect(m_yes, &QAbstractButton::clicked, this, [this] {
                m_answer = true;
                done(Accepted);
            });
        };
        auto makeNo = [&](const QRect& r) {
            m_no = place(new BitmapButton(QStringLiteral("Nein"), QStringLiteral("Antwort ist NEIN"), this), r);
            connect(m_no, &QAbstractButton::clicked, this, [this] {
                m_answer = false;
                done(Rejected);
            });
        };
        // Created in screen order, which is also the tab order.
        if (kind == Kind::YesNo) {
            makeYes(left);
            makeNo(right);
        } else {
            makeNo(left);
            makeYes(right);
        }
        m_close = addCloseButton(8, qMin(358, width() - 20));
        addAccelerator(QLatin1Char('J'), m_yes);
        addAccelerator(QLatin1Char('N'), m_no);
        (kind == Kind::YesNo ? m_yes : m_no)->setFocus();
    }
}

bool MessageDialog::ask() {
    m_answer = false;
    exec();
    return m_answer;
}

MeterDialog::MeterDialog(core::MeterAction action, const QString& text, const QString& title, QWidget* parent)
    : SkinnedDialog(parent), m_action(std::move(action)) {
    setWindowTitle(title);
    setSkin(QStringLiteral("MsgBlank"));
    if (skin().isNull()) setDialogSize(383, 133);
    // Every way of closing goes through done(); it is refused until the action has returned.
    setCloseGate([this] { return m_done; });

    m_title = makeTitle(this, title);
    m_title->setColors(Qt::black, QColor(74, 188, 252));

    m_text = place(new Label(text, this), pxRect(50, 20, 340, 20));
    m_text->setFont(fontPt(QStringLiteral("MS Sans Serif"), 8));
    m_text->setColors(Qt::black);
    m_text->setAlignment(Qt::AlignCenter);

    m_bar = place(new ProgressBar(this), pxRect(80, 20, 340, 20));
    m_bar->setTotal(10);
    m_bar->setPosition(0);

    m_close = addCloseButton(8, qMin(358, width() - 20));
}

void MeterDialog::showEvent(QShowEvent* event) {
    SkinnedDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        // After the show has been processed, so the dialog is on screen while the action works.
        QTimer::singleShot(0, this, [this] { runAction(); });
    }
}

namespace {

// The meter as the action sees it: the bar, the text line, and the events the dialog needs between steps.
class MeterProgress : public core::Progress {
public:
    MeterProgress(ProgressBar& bar, Label& text) : m_bar(bar), m_text(text) {}
    void setTotal(int total) override { m_bar.setTotal(total); }
    void setPosition(int position) override {
        m_bar.setPosition(position);
        processEvents();
    }
    void setText(const QString& text) override {
        m_text.setText(text);
        processEvents();
    }
    // The meter has no stop button: its work always runs to the end.
    bool cancelled() const override { return false; }
    void setBarColor(int red, int green, int blue) override { m_bar.setBarColor(QColor(red, green, blue)); }

private:
    ProgressBar& m_bar;
    Label& m_text;
};

} // namespace

void MeterDialog::runAction() {
    MeterProgress progress(*m_bar, *m_text);
    if (m_action) m_action(progress);
    m_done = true;
    accept();
}

void MeterDialog::run() {
    exec();
}

void showWarningBox(QWidget* parent, const QString& message, const QString& title) {
    QMessageBox::warning(parent, title, displayText(message));
}

} // namespace ui
