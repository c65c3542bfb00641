#pragma once

#include <array>

#include "calc/stopping.h"
#include "ui/skinneddialog.h"

namespace core {
class Context;
}
namespace ui {
class BitmapButton;
class CloseButton;
class ComboBox;
class MaskedEdit;
} // namespace ui

namespace calc {

// The stopping-distance calculator; every opening starts from the same entries.
class StoppingDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    explicit StoppingDialog(core::Context& ctx, QWidget* parent = nullptr);

    // MAKEDATA with what the fields hold; a zero anywhere leaves the results shown as they are.
    void calculate();

    ui::MaskedEdit* speedField() const { return m_inputs[0]; }
    ui::MaskedEdit* reactionField() const { return m_inputs[1]; }
    ui::MaskedEdit* decelerationField() const { return m_inputs[2]; }
    // Reaction distance, braking distance, stopping distance, stopping time.
    ui::MaskedEdit* resultField(int i) const { return m_results[size_t(i)]; }
    ui::ComboBox* roadList() const { return m_road; }
    ui::BitmapButton* calculateButton() const { return m_calculate; }
    ui::BitmapButton* helpButton() const { return m_help; }
    ui::BitmapButton* endButton() const { return m_end; }
    ui::CloseButton* closeButton() const { return m_close; }

private:
    void showResult(const anhaweg::Result& result);

    std::array<ui::MaskedEdit*, 3> m_inputs{};
    std::array<ui::MaskedEdit*, 4> m_results{};
    ui::ComboBox* m_road = nullptr;
    ui::BitmapButton* m_calculate = nullptr;
    ui::BitmapButton* m_help = nullptr;
    ui::BitmapButton* m_end = nullptr;
    ui::CloseButton* m_close = nullptr;
};

// ANHAWEG: shows the calculator, centred on the screen.
void ANHAWEG(core::Context& ctx, QWidget* owner);

} // namespace calc
