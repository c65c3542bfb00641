#pragma once

#include "ui/skinneddialog.h"

class QAbstractButton;

namespace core {
class Context;
}
namespace ui {
class CloseButton;
class RadioGroup;
} // namespace ui

namespace printout {

// The class choice and the theme choice: one background and layout, a text, a radio group with the remembered
// choice preselected and the buttons Weiter, Hilfe and Beenden.
class ChoiceDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    enum class Kind { Class, Theme };
    // `classNo` is the class the theme choice prints (1..14); the class choice ignores it.
    ChoiceDialog(core::Context& ctx, Kind kind, int classNo = 0, QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    int value() const;
    ui::RadioGroup* choices() const { return m_choices; }
    QAbstractButton* nextButton() const { return m_next; }
    QAbstractButton* helpButton() const { return m_help; }
    QAbstractButton* endButton() const { return m_end; }
    ui::CloseButton* closeButton() const { return m_close; }

private:
    // The class choice opens the theme choice; the theme choice prints and stays open for the next printout.
    void next();

    core::Context& m_ctx;
    Kind m_kind;
    int m_class;
    ui::RadioGroup* m_choices = nullptr;
    QAbstractButton* m_next = nullptr;
    QAbstractButton* m_help = nullptr;
    QAbstractButton* m_end = nullptr;
    ui::CloseButton* m_close = nullptr;
};

// KATADRUCK: the class choice at 50, 50 on the screen; [Setup] KataDruck keeps the choice when it closes.
bool KATADRUCK(core::Context& ctx, QWidget* owner);
// KATATHEMA: the theme choice at 150, 150 over the class choice; [Setup] KataThema keeps the choice when it
// closes, and every file a printout may have left is deleted.
bool KATATHEMA(core::Context& ctx, QWidget* owner, int classNo);
// KATAPRINT: selects, copies and shuffles, and prints the job "Fragebogen" on the printer the user chooses. A
// cancelled printer choice prints nothing; the printout's files are deleted either way.
bool KATAPRINT(core::Context& ctx, int classNo, int themeNo);

} // namespace printout
