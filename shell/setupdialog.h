#pragma once

#include "core/settings.h"
#include "ui/skinneddialog.h"

namespace core {
class Context;
}
namespace ui {
class BitmapButton;
class CheckBox;
class MaskedEdit;
class RadioGroup;
class TabWidget;
} // namespace ui

namespace shell {

// The settings dialog. Its controls edit a copy of the settings (edited()); SETUP takes it over when the dialog
// closes, and saving also writes it to the settings file.
class SetupDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    explicit SetupDialog(core::Context& ctx, QWidget* parent = nullptr);

    bool saved() const { return m_saved; }
    const core::Settings& edited() const { return m_edited; }
    // What the e-mail tab holds, and [About] Video as read at opening (written back unchanged).
    QString mailName() const;
    QString mailReply() const;
    bool video() const { return m_video; }

    ui::TabWidget* tabs() const { return m_tabs; }
    ui::RadioGroup* windowSize() const { return m_winSize; }
    ui::CheckBox* soundBox() const { return m_sound; }
    ui::CheckBox* speechBox() const { return m_speech; }
    ui::MaskedEdit* questionCount() const { return m_count; }
    ui::CheckBox* repeatWrongBox() const { return m_repeat; }
    ui::CheckBox* evaluationBox() const { return m_evaluate; }
    ui::CheckBox* errorPointsBox() const { return m_points; }
    ui::MaskedEdit* mailNameField() const { return m_mailName; }
    ui::MaskedEdit* mailReplyField() const { return m_mailReply; }
    ui::RadioGroup* errorLog() const { return m_error; }
    ui::BitmapButton* saveButton() const { return m_save; }
    ui::BitmapButton* helpButton() const { return m_help; }
    ui::BitmapButton* endButton() const { return m_end; }

private:
    core::Context& m_ctx;
    core::Settings m_edited;
    bool m_saved = false;
    bool m_video = true;
    ui::TabWidget* m_tabs = nullptr;
    ui::RadioGroup* m_winSize = nullptr;
    ui::CheckBox* m_sound = nullptr;
    ui::CheckBox* m_speech = nullptr;
    ui::MaskedEdit* m_count = nullptr;
    ui::CheckBox* m_repeat = nullptr;
    ui::CheckBox* m_evaluate = nullptr;
    ui::CheckBox* m_points = nullptr;
    ui::MaskedEdit* m_mailName = nullptr;
    ui::MaskedEdit* m_mailReply = nullptr;
    ui::RadioGroup* m_error = nullptr;
    ui::BitmapButton* m_save = nullptr;
    ui::BitmapButton* m_help = nullptr;
    ui::BitmapButton* m_end = nullptr;
};

// Writes what the settings dialog saves: [Setup] MAXFRAGEN, MAXDURCH, WVORLAGE, SAUSWERT, FPSHOW, SOUND, SPEECH,
// WINSIZE, ERROR, [MailSupport] Name and Reply, [About] Video. False when the file could not be written.
bool saveSetup(const core::Context& ctx, const QString& mailName, const QString& mailReply, bool video);

// SETUP: the dialog; after saving the notices about the window mode and the speech output.
bool SETUP(core::Context& ctx, QWidget* mainWindow);

} // namespace shell
