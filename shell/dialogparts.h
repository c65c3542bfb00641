#pragma once

#include <QRect>
#include <QString>

class QWidget;

namespace core {
class Context;
}
namespace ui {
class BitmapButton;
class Label;
class SkinnedDialog;
class TabWidget;
} // namespace ui

// Pieces the shell's dialogs share.
namespace shell::parts {

// A label with black text, right-aligned as the settings dialogs set their captions.
ui::Label* rightLabel(QWidget* parent, const QString& text, const QRect& rect);
ui::Label* leftLabel(QWidget* parent, const QString& text, const QRect& rect);

// The tab control of the settings dialogs at 36, 6, 416 x 206, its pages painted with the "Setup2" skin.
ui::TabWidget* settingsTabs(ui::SkinnedDialog* dialog, const QStringList& titles);

// The button row of the settings dialogs at top 256: save (sets `saved` and closes), help (the program's help at
// the current topic), end without saving; with Alt+S, Alt+H, Alt+B.
struct SettingsButtons {
    ui::BitmapButton* save;
    ui::BitmapButton* help;
    ui::BitmapButton* end;
};
SettingsButtons settingsButtons(ui::SkinnedDialog* dialog, core::Context& ctx, bool& saved);

} // namespace shell::parts
