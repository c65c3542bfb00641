#pragma once

#include <QDialog>
#include <QPixmap>
#include <QPointer>

#include <functional>
#include <optional>

#include "core/context.h"

class QShortcut;
class QAbstractButton;

namespace ui {

class CloseButton;

// The pattern every dialog of the program follows: a borderless modal pop-up, as large as its skin less one
// pixel, the skin painted behind all controls, controls placed in pixels, Esc closes, optionally dragged by
// its background. Accelerators are shortcuts on the dialog, not controls.
class SkinnedDialog : public QDialog {
    Q_OBJECT
public:
    explicit SkinnedDialog(QWidget* parent = nullptr);

    // DLGPUTBMP: the skin is Styles/<name>.bmp or the built-in picture; the dialog takes its size less one
    // pixel unless a size was fixed before. A missing skin leaves the dialog without background.
    void setSkin(const QString& name, bool drag = false);
    QString skinName() const { return m_skinName; }
    const QPixmap& skin() const { return m_skin; }

    // Fixes the dialog's size in pixels (dialogs whose size is given apart from the skin).
    void setDialogSize(int width, int height);

    // DRAGDLG: the dialog moves with the mouse while the left button is held on its background.
    void setDraggable(bool on) { m_draggable = on; }
    bool isDraggable() const { return m_draggable; }

    // Centred on the window that opened it when first shown (on the screen when there is none), unless a position
    // was set with placeAt.
    void placeAt(const QPoint& topLeft);

    // The small "X" (tooltip "Schließen"), which rejects the dialog.
    CloseButton* addCloseButton(int top, int left, int size = 16);
    CloseButton* addCloseButton(const QRect& rect) { return addCloseButton(rect.top(), rect.left(), rect.width()); }

    // Alt+letter that does exactly what `action` does (usually a button's click); not a control, so it is
    // neither visible nor in the tab order.
    QShortcut* addAccelerator(QChar letter, std::function<void()> action);
    QShortcut* addAccelerator(QChar letter, QAbstractButton* button);
    // Return and Enter do `action` wherever the focus is, or press `button`, the dialog's default: a dialog presses
    // only push buttons on its own. A key held down does not repeat into the dialog that its first press opened.
    void setEnterAction(std::function<void()> action);
    void setEnterButton(QAbstractButton* button);

    // While the gate returns false the dialog refuses every close: Esc, "X", the window manager, done().
    void setCloseGate(std::function<bool()> gate) { m_closeGate = std::move(gate); }
    bool mayClose() const { return !m_closeGate || m_closeGate(); }

    void done(int result) override;

    // While the dialog is shown, the context's help topic is `keyword`; the caller's topic is back as soon as it
    // is hidden or destroyed, however it was closed.
    void setHelpTopic(core::Context& ctx, const QString& keyword);

signals:
    void moved(const QPoint& topLeft);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_skinName;
    QPixmap m_skin;
    bool m_sizeFixed = false;
    bool m_draggable = false;
    bool m_dragging = false;
    bool m_positioned = false;
    QPoint m_dragStartWindow;
    QPoint m_dragStartMouse;
    std::function<bool()> m_closeGate;
    core::Context* m_helpContext = nullptr;
    QString m_helpTopic;
    std::optional<core::HelpTopicScope> m_helpScope;
};

// The two routine names the dialogs of the program call.
void DLGPUTBMP(SkinnedDialog* dialog, const QString& skinName, bool drag = false);
void DRAGDLG(SkinnedDialog* dialog);

// A page of a tab control painted with a skin (the "Setup2" pages).
class SkinnedPage : public QWidget {
    Q_OBJECT
public:
    explicit SkinnedPage(const QString& skinName, QWidget* parent = nullptr);
    const QPixmap& skin() const { return m_skin; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_skin;
};

} // namespace ui
