#include "shell/dialogparts.h"

#include <QStringList>

#include "shell/layouts.h"
#include "ui/buttons.h"
#include "core/context.h"
#include "core/helptopics.h"
#include "ui/controls.h"
#include "ui/geometry.h"
#include "ui/skinneddialog.h"

namespace shell::parts {

namespace {

ui::Label* label(QWidget* parent, const QString& text, const QRect& rect, Qt::Alignment alignment) {
    auto* l = ui::place(new ui::Label(text, parent), rect);
    l->setColors(Qt::black);
    l->setAlignment(alignment | Qt::AlignVCenter);
    return l;
}

} // namespace

ui::Label* rightLabel(QWidget* parent, const QString& text, const QRect& rect) {
    return label(parent, text, rect, Qt::AlignRight);
}

ui::Label* leftLabel(QWidget* parent, const QString& text, const QRect& rect) {
    return label(parent, text, rect, Qt::AlignLeft);
}

ui::TabWidget* settingsTabs(ui::SkinnedDialog* dialog, const QStringList& titles) {
    auto* tabs = ui::place(new ui::TabWidget(dialog), layout::settings::tabs);
    tabs->setColors(Qt::black, QColor(158, 176, 152));
    for (const QString& title : titles)
        tabs->addSkinnedPage(title, QStringLiteral("Setup2"));
    return tabs;
}

SettingsButtons settingsButtons(ui::SkinnedDialog* dialog, core::Context& ctx, bool& saved) {
    SettingsButtons b{};
    b.save =
        ui::place(new ui::BitmapButton(QStringLiteral("BS_SPEIC"), QStringLiteral("Einstellungen speichern"), dialog),
                  layout::settings::save);
    b.help = ui::place(new ui::BitmapButton(QStringLiteral("BS_HELP"), QStringLiteral("Hilfe anzeigen"), dialog),
                       layout::settings::help);
    b.end = ui::place(new ui::BitmapButton(QStringLiteral("BS_ENDE"), QStringLiteral("Beenden ohne Speichern"), dialog),
                      layout::settings::end);
    dialog->addAccelerator(QLatin1Char('S'), b.save);
    dialog->addAccelerator(QLatin1Char('H'), b.help);
    dialog->addAccelerator(QLatin1Char('B'), b.end);
    QObject::connect(b.save, &QAbstractButton::clicked, dialog, [dialog, &saved] {
        saved = true;
        dialog->accept();
    });
    QObject::connect(b.help, &QAbstractButton::clicked, dialog,
                     [&ctx] { ctx.help().showTopic(core::kHelpFile, ctx.helpTopic); });
    QObject::connect(b.end, &QAbstractButton::clicked, dialog, &QDialog::reject);
    return b;
}

} // namespace shell::parts
