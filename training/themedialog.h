#pragma once

#include <QString>

#include <array>

#include "training/links.h"
#include "ui/skinneddialog.h"

namespace ui {
class BitmapButton;
class Label;
} // namespace ui

namespace training {

// The theme selection of one class: nine themes, the exam, the statistics and the way out. A button closes the
// dialog; the caller runs what was chosen and shows the dialog again.
class ThemeDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    // What the learner chose: a theme 1..9, or one of these.
    static constexpr int kLeave = 0;
    static constexpr int kExam = 10;
    static constexpr int kStatistics = 11;

    ThemeDialog(core::Context& ctx, const QString& classCode, const Links& links, QWidget* parent = nullptr);

    int choice() const { return m_choice; }
    // The button of a bitmap ("BT_Gefah").
    ui::BitmapButton* button(const char* bitmap) const;
    ui::Label* header() const { return m_header; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void choose(int choice);

    core::Context& m_ctx;
    int m_choice = kLeave;
    ui::Label* m_header = nullptr;
    std::array<ui::BitmapButton*, 12> m_buttons{};
};

// GETTHEMA: the theme selection of a class, shown again after each activity until the learner leaves it.
void GETTHEMA(core::Context& ctx, QWidget* owner, const QString& classCode, const QString& description,
              const Links& links);

} // namespace training
