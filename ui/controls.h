#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>

#include <functional>
#include <optional>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace ui {

class SkinnedPage;

// Message texts use "\r" (or "\r\n") for a line break; Qt wants "\n".
QString displayText(const QString& text);

// Text colour and, unless transparent, the background behind it.
void setColors(QWidget* widget, const QColor& text, std::optional<QColor> background = std::nullopt);

// A label whose text may come from a callback, re-read by refresh() (counters, totals, run state).
class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget* parent = nullptr);
    Label(const QString& text, QWidget* parent);
    Label(std::function<QString()> source, QWidget* parent);

    void setTextSource(std::function<QString()> source);
    void refresh();
    // Transparent labels are drawn over the skin; others fill their background.
    void setTransparent(bool transparent);
    void setColors(const QColor& text, std::optional<QColor> background = std::nullopt);
    void setDisplayText(const QString& text) { setText(displayText(text)); }

private:
    std::function<QString()> m_source;
};

class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    CheckBox(const QString& text, QWidget* parent);
    void setColors(const QColor& text, std::optional<QColor> background = std::nullopt);

protected:
    // A box's accelerator toggles it at once: Qt's animated click flips it 100 ms later, so a quick Alt+1, Enter
    // would be evaluated without the tick.
    bool event(QEvent* event) override;
};

// A group of radio buttons with the value 1..n of the chosen one (0: none). The buttons are children of the
// dialog and placed freely, since some dialogs spread one group over two columns.
class RadioGroup : public QObject {
    Q_OBJECT
public:
    explicit RadioGroup(QWidget* parent);

    QRadioButton* addItem(const QString& text, const QRect& rect);
    // Items one below the other, `step` pixels apart.
    void addColumn(const QStringList& items, int top, int left, int width, int height, int step);
    // The same with the first button's rectangle from a dialog's layout.
    void addColumn(const QStringList& items, const QRect& first, int step) {
        addColumn(items, first.top(), first.left(), first.width(), first.height(), step);
    }

    int value() const;
    void setValue(int value);
    QRadioButton* button(int value) const;
    int count() const { return int(m_buttons.size()); }
    void setColors(const QColor& text, std::optional<QColor> background = std::nullopt);

signals:
    void valueChanged(int value);

private:
    QWidget* m_parent;
    QButtonGroup* m_group;
    std::vector<QRadioButton*> m_buttons;
};

// A drop-down list with the value 1..n of the chosen entry (0: none).
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    ComboBox(const QStringList& items, QWidget* parent);
    int value() const { return currentIndex() + 1; }
    void setValue(int value) { setCurrentIndex(value - 1); }
};

// A tab control whose pages are painted with a skin.
class TabWidget : public QTabWidget {
    Q_OBJECT
public:
    explicit TabWidget(QWidget* parent);
    SkinnedPage* addSkinnedPage(const QString& title, const QString& skinName);
    void setColors(const QColor& text, const QColor& background);
};

} // namespace ui
