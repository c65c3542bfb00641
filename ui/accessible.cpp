#include "ui/accessible.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSlider>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace ui {

namespace {

bool wantsCaption(QWidget* w) {
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w) ||
           qobject_cast<QProgressBar*>(w) || qobject_cast<QAbstractItemView*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
           qobject_cast<QTextEdit*>(w) || qobject_cast<QSlider*>(w);
}

// Item views do not take their buddy's text as their name by themselves; every control gets it here alike.
QLabel* buddyLabel(QWidget* w) {
    if (!w->parentWidget()) return nullptr;
    for (QLabel* label : w->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->buddy() == w) return label;
    return nullptr;
}

// The label a reader takes as the control's caption: on its left in the same line, the nearest; else above it
// and overlapping it sideways, the nearest within a few lines.
QLabel* caption(QWidget* w) {
    if (!w->parentWidget()) return nullptr;
    const QRect c = w->geometry();
    QLabel* left = nullptr;
    QLabel* above = nullptr;
    for (QLabel* label : w->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->isHidden() || captionName(label->text()).isEmpty()) continue;
        const QRect l = label->geometry();
        const bool sameLine = l.top() < c.bottom() && l.bottom() > c.top();
        if (sameLine && l.right() <= c.left() + 4) {
            if (!left || l.right() > left->geometry().right()) left = label;
        } else if (l.bottom() <= c.top() + 4 && c.top() - l.bottom() <= 40 && l.left() < c.right() &&
                   l.right() > c.left()) {
            if (!above || l.bottom() > above->geometry().bottom()) above = label;
        }
    }
    return left ? left : above;
}

class Namer : public QObject {
public:
    explicit Namer(QWidget* window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            window->removeEventFilter(this);
            nameNow(window);
            deleteLater();
        }
        return false;
    }

public:
    static void nameNow(QWidget* window) {
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->accessibleName().isEmpty()) continue;
            if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                if (button->text().isEmpty() && !button->toolTip().isEmpty())
                    button->setAccessibleName(button->toolTip());
                continue;
            }
            if (!wantsCaption(w)) continue;
            QLabel* label = buddyLabel(w);
            if (!label) label = caption(w);
            if (label) w->setAccessibleName(captionName(label->text()));
        }
    }
};

} // namespace

QString captionName(const QString& labelText) {
    QString text =
        Qt::mightBeRichText(labelText) ? QTextDocumentFragment::fromHtml(labelText).toPlainText() : labelText;
    // "&&" is a literal ampersand; a single one marks the accelerator.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    text = text.simplified();
    while (text.endsWith(QLatin1Char(':')))
        text = text.chopped(1).trimmed();
    return text;
}

void nameControlsFromCaptions(QWidget* window) {
    if (window->isVisible())
        Namer::nameNow(window);
    else
        new Namer(window);
}

} // namespace ui
