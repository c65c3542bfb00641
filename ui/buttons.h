#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace ui {

// A button that shows a named bitmap (Bitmaps::get) with a tooltip, which is also its accessible name; clicked()
// is its action.
class BitmapButton : public QAbstractButton {
    Q_OBJECT
public:
    BitmapButton(const QString& bitmapName, const QString& toolTip, QWidget* parent = nullptr);

    // Some dialogs swap the picture while open ("BZ_Alle0" / "BZ_Alle").
    void setBitmap(const QString& bitmapName);
    QString bitmapName() const { return m_name; }
    const QPixmap& bitmap() const { return m_pixmap; }

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void followName();

    QString m_name;
    QString m_derivedName;
    QPixmap m_pixmap;
    bool m_hover = false;
};

// The small "X" of a skinned dialog, tooltip "Schließen"; outside the tab order like the accelerators.
class CloseButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CloseButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_hover = false;
};

} // namespace ui
