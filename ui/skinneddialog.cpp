#include "ui/skinneddialog.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcut>

#include "ui/accessible.h"
#include "ui/bitmaps.h"
#include "ui/buttons.h"
#include "ui/cursors.h"
#include "ui/fonts.h"

namespace ui {

SkinnedDialog::SkinnedDialog(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    // Modal to its owner and the owner's owners only: the help window it opens stays usable beside it.
    setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    setFont(dialogFont());
    // The skin covers the whole dialog; no need to clear behind it first.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    nameControlsFromCaptions(this);
}

void SkinnedDialog::setSkin(const QString& name, bool drag) {
    m_skinName = name;
    m_skin = Bitmaps::get(name);
    if (!m_skin.isNull() && !m_sizeFixed) {
        const QSize s = Bitmaps::logicalSize(m_skin);
        setFixedSize(qMax(1, s.width() - 1), qMax(1, s.height() - 1));
    }
    if (drag) setDraggable(true);
    update();
}

void SkinnedDialog::setDialogSize(int width, int height) {
    m_sizeFixed = true;
    setFixedSize(width, height);
}

void SkinnedDialog::placeAt(const QPoint& topLeft) {
    m_positioned = true;
    move(topLeft);
}

CloseButton* SkinnedDialog::addCloseButton(int top, int left, int size) {
    auto* button = new CloseButton(this);
    button->setGeometry(left, top, size, size);
    connect(button, &QAbstractButton::clicked, this, &QDialog::reject);
    return button;
}

QShortcut* SkinnedDialog::addAccelerator(QChar letter, std::function<void()> action) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(letter.toUpper().unicode())), this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [action = std::move(action)] {
        if (action) action();
    });
    return shortcut;
}

QShortcut* SkinnedDialog::addAccelerator(QChar letter, QAbstractButton* button) {
    QPointer<QAbstractButton> target(button);
    // click() of a disabled button does nothing; the accelerator has its own enabled state for that case.
    return addAccelerator(letter, [target] {
        if (target) emit target->clicked(false);
    });
}

void SkinnedDialog::setEnterAction(std::function<void()> action) {
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setAutoRepeat(false);
        connect(shortcut, &QShortcut::activated, this, action);
    }
}

void SkinnedDialog::setEnterButton(QAbstractButton* button) {
    setEnterAction([button] { button->click(); });
}

void SkinnedDialog::done(int result) {
    if (!mayClose()) return;
    QDialog::done(result);
}

void SkinnedDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_skin.isNull()) {
        // Not stretched: the picture keeps its size at the top left, as the dialog was laid out for it.
        p.drawPixmap(QPoint(0, 0), m_skin);
    } else {
        p.fillRect(rect(), palette().window());
    }
}

void SkinnedDialog::setHelpTopic(core::Context& ctx, const QString& keyword) {
    m_helpScope.reset();
    m_helpContext = &ctx;
    m_helpTopic = keyword;
    if (isVisible()) m_helpScope.emplace(ctx, keyword);
}

void SkinnedDialog::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) m_helpScope.reset();
    QDialog::hideEvent(event);
}

void SkinnedDialog::showEvent(QShowEvent* event) {
    if (m_helpContext && !m_helpScope) m_helpScope.emplace(*m_helpContext, m_helpTopic);
    if (!m_positioned) {
        // Over the middle of the window that opened it, else of the screen; kept on the screen either way.
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect area = screen->availableGeometry();
            const QPoint centre = owner && owner->isVisible() ? owner->frameGeometry().center() : area.center();
            QPoint topLeft = centre - QPoint(width() / 2, height() / 2);
            topLeft.setX(qBound(area.left(), topLeft.x(), qMax(area.left(), area.right() + 1 - width())));
            topLeft.setY(qBound(area.top(), topLeft.y(), qMax(area.top(), area.bottom() + 1 - height())));
            move(topLeft);
        }
        m_positioned = true;
    }
    QDialog::showEvent(event);
}

void SkinnedDialog::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    emit moved(pos());
}

void SkinnedDialog::mousePressEvent(QMouseEvent* event) {
    if (m_draggable && event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragStartWindow = pos();
        m_dragStartMouse = event->globalPosition().toPoint();
        setCursor(ui::cursor(CursorKind::Move));
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging) {
        move(m_dragStartWindow + (event->globalPosition().toPoint() - m_dragStartMouse));
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void SkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        unsetCursor();
        event->accept();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

void DLGPUTBMP(SkinnedDialog* dialog, const QString& skinName, bool drag) {
    if (dialog) dialog->setSkin(skinName, drag);
}

void DRAGDLG(SkinnedDialog* dialog) {
    if (dialog) dialog->setDraggable(true);
}

SkinnedPage::SkinnedPage(const QString& skinName, QWidget* parent) : QWidget(parent) {
    m_skin = Bitmaps::get(skinName);
    setAutoFillBackground(false);
}

void SkinnedPage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_skin.isNull()) p.drawPixmap(QPoint(0, 0), m_skin);
}

} // namespace ui
