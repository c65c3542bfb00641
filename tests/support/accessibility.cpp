#include "support/accessibility.h"

#include <QAccessible>
#include <QWidget>

namespace lwtest {

namespace {

bool isControl(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::PageTab:
    case QAccessible::Table:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::ProgressBar:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::MenuItem:
    case QAccessible::Link:
        return true;
    default:
        return false;
    }
}

// The children of these belong to the control (cells, list entries, scroll bars).
bool hasOwnInsides(QAccessible::Role role) {
    return role == QAccessible::Table || role == QAccessible::List || role == QAccessible::Tree ||
           role == QAccessible::ComboBox || role == QAccessible::ScrollBar || role == QAccessible::MenuItem;
}

QString describe(QAccessibleInterface* iface) {
    QString what;
    if (QObject* o = iface->object()) {
        what = QString::fromLatin1(o->metaObject()->className());
        if (!o->objectName().isEmpty()) what += QLatin1Char('#') + o->objectName();
        if (auto* w = qobject_cast<QWidget*>(o)) {
            const QRect r = w->geometry();
            what += QStringLiteral(" at %1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
            if (!w->toolTip().isEmpty()) what += QStringLiteral(" tooltip \"%1\"").arg(w->toolTip());
        }
    }
    return what;
}

void walk(QAccessibleInterface* iface, const QString& path, QStringList& problems) {
    if (!iface || !iface->isValid()) return;
    const QAccessible::State state = iface->state();
    if (state.invisible) return;
    const QAccessible::Role role = iface->role();
    auto* widget = qobject_cast<QWidget*>(iface->object());
    const QString name = iface->text(QAccessible::Name).trimmed();
    // A container whose focus goes to a part of it (a tab widget to its tab bar) is not a control itself.
    const bool focusable =
        widget && widget->focusPolicy() != Qt::NoFocus && widget->isEnabled() && !widget->focusProxy();
    if (isControl(role) && name.isEmpty()) problems << path + QStringLiteral(": no name: ") + describe(iface);
    if (focusable && (role == QAccessible::Client || role == QAccessible::NoRole))
        problems << path + QStringLiteral(": no role: ") + describe(iface);
    if (hasOwnInsides(role)) return;
    const QString here = path + QStringLiteral(" > ") + (name.isEmpty() ? describe(iface) : name);
    for (int i = 0; i < iface->childCount(); ++i)
        walk(iface->child(i), here, problems);
}

} // namespace

QStringList accessibilityProblems(QWidget* window) {
    QStringList problems;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    if (!root) return {QStringLiteral("no accessibility interface for the window")};
    const QString title = root->text(QAccessible::Name).trimmed();
    if (title.isEmpty()) problems << QStringLiteral("window without a name: ") + describe(root);
    for (int i = 0; i < root->childCount(); ++i)
        walk(root->child(i), title.isEmpty() ? describe(root) : title, problems);
    return problems;
}

} // namespace lwtest
