#include "ui/controls.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QRadioButton>

#include "ui/skinneddialog.h"

namespace ui {

QString displayText(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

void setColors(QWidget* widget, const QColor& text, std::optional<QColor> background) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::ButtonText, text);
    if (background) {
        pal.setColor(QPalette::Window, *background);
        pal.setColor(QPalette::Base, *background);
        pal.setColor(QPalette::Button, *background);
        widget->setAutoFillBackground(true);
    } else {
        widget->setAutoFillBackground(false);
    }
    widget->setPalette(pal);
}

Label::Label(QWidget* parent) : QLabel(parent) {
    setTransparent(true);
}

Label::Label(const QString& text, QWidget* parent) : QLabel(displayText(text), parent) {
    setTransparent(true);
}

Label::Label(std::function<QString()> source, QWidget* parent) : QLabel(parent) {
    setTransparent(true);
    setTextSource(std::move(source));
}

void Label::setTextSource(std::function<QString()> source) {
    m_source = std::move(source);
    refresh();
}

void Label::refresh() {
    if (m_source) setText(displayText(m_source()));
}

void Label::setTransparent(bool transparent) {
    setAutoFillBackground(!transparent);
}

void Label::setColors(const QColor& text, std::optional<QColor> background) {
    ui::setColors(this, text, background);
}

CheckBox::CheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

bool CheckBox::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut && isEnabled() && !static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
        setFocus(Qt::ShortcutFocusReason);
        click();
        return true;
    }
    return QCheckBox::event(event);
}

void CheckBox::setColors(const QColor& text, std::optional<QColor> background) {
    ui::setColors(this, text, background);
}

RadioGroup::RadioGroup(QWidget* parent) : QObject(parent), m_parent(parent), m_group(new QButtonGroup(this)) {
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) emit valueChanged(id);
    });
}

QRadioButton* RadioGroup::addItem(const QString& text, const QRect& rect) {
    auto* button = new QRadioButton(text, m_parent);
    button->setGeometry(rect);
    m_buttons.push_back(button);
    m_group->addButton(button, int(m_buttons.size()));
    return button;
}

void RadioGroup::addColumn(const QStringList& items, int top, int left, int width, int height, int step) {
    for (int i = 0; i < items.size(); ++i)
        addItem(items[i], QRect(left, top + i * step, width, height));
}

int RadioGroup::value() const {
    return qMax(0, m_group->checkedId());
}

void RadioGroup::setValue(int value) {
    if (QRadioButton* b = button(value)) {
        b->setChecked(true);
    } else if (QAbstractButton* checked = m_group->checkedButton()) {
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
}

QRadioButton* RadioGroup::button(int value) const {
    return value >= 1 && value <= int(m_buttons.size()) ? m_buttons[size_t(value - 1)] : nullptr;
}

void RadioGroup::setColors(const QColor& text, std::optional<QColor> background) {
    for (QRadioButton* b : m_buttons)
        ui::setColors(b, text, background);
}

ComboBox::ComboBox(const QStringList& items, QWidget* parent) : QComboBox(parent) {
    addItems(items);
}

TabWidget::TabWidget(QWidget* parent) : QTabWidget(parent) {
    setDocumentMode(false);
}

SkinnedPage* TabWidget::addSkinnedPage(const QString& title, const QString& skinName) {
    auto* page = new SkinnedPage(skinName, this);
    addTab(page, title);
    return page;
}

void TabWidget::setColors(const QColor& text, const QColor& background) {
    // The tab strip carries the dialog's colours; pages paint their own skins. The style sheet sits on the tab bar
    // alone: on the whole widget it would give every control on the pages the desktop's font.
    tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { color: %1; background: %2; padding: 3px 10px; "
                                 "border: 1px solid %3; border-bottom: none; margin-right: 2px; "
                                 "border-top-left-radius: 4px; border-top-right-radius: 4px; }"
                                 "QTabBar::tab:selected { background: %4; }"
                                 "QTabBar::tab:disabled { color: %5; }")
                      .arg(text.name(), background.name(), background.darker(140).name(),
                           background.lighter(115).name(), background.darker(160).name()));
}

} // namespace ui
