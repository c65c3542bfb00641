#pragma once

#include <array>

#include "calc/fines.h"
#include "ui/skinneddialog.h"

namespace core {
class Context;
}
namespace ui {
class BitmapButton;
class CloseButton;
class ComboBox;
class Label;
class MaskedEdit;
class RadioGroup;
class TabWidget;
} // namespace ui

namespace calc {

// The fine calculator: four tabs over the open fine table; each tab shows the result of its own last lookup.
class FineDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    enum Tab { Speeding, Distance, Alcohol, Miscellaneous };

    FineDialog(core::Context& ctx, bussrech::FineTable& table, QWidget* parent = nullptr);

    // The calculate button and Alt+R: the lookup of the tab in view.
    void calculate();
    // MAKEDATA of one tab with what its controls hold.
    void lookUp(Tab tab);

    // What a tab shows of its result.
    struct ResultLabels {
        ui::Label* fine = nullptr;
        ui::Label* points = nullptr;
        ui::Label* ban = nullptr;
        ui::Label* text = nullptr; // the note or info text; none on the distance tab
    };
    const ResultLabels& result(Tab tab) const { return m_results[size_t(tab)]; }

    ui::TabWidget* tabs() const { return m_tabs; }
    ui::ComboBox* vehicleList() const { return m_vehicles; }
    ui::MaskedEdit* excessField() const { return m_excess; }
    ui::RadioGroup* placeChoice() const { return m_place; }
    ui::ComboBox* distanceList() const { return m_distanceList; }
    ui::MaskedEdit* speedField() const { return m_speed; }
    ui::ComboBox* alcoholList() const { return m_alcoholList; }
    ui::MaskedEdit* promilleField() const { return m_promille; }
    ui::ComboBox* miscList() const { return m_miscList; }
    ui::BitmapButton* calculateButton() const { return m_calculate; }
    ui::BitmapButton* catalogueButton() const { return m_catalogue; }
    ui::BitmapButton* helpButton() const { return m_help; }
    ui::BitmapButton* endButton() const { return m_end; }
    ui::CloseButton* closeButton() const { return m_close; }

private:
    QWidget* page(Tab tab, const QString& intro, int resultRow);
    void showResult(Tab tab, const bussrech::Result& result, bool keepText = false);
    void openCatalogue();

    core::Context& m_ctx;
    bussrech::FineTable& m_table;
    std::array<ResultLabels, 4> m_results;

    ui::TabWidget* m_tabs = nullptr;
    ui::ComboBox* m_vehicles = nullptr;
    ui::MaskedEdit* m_excess = nullptr;
    ui::RadioGroup* m_place = nullptr;
    ui::ComboBox* m_distanceList = nullptr;
    ui::MaskedEdit* m_speed = nullptr;
    ui::ComboBox* m_alcoholList = nullptr;
    ui::MaskedEdit* m_promille = nullptr;
    ui::ComboBox* m_miscList = nullptr;
    ui::BitmapButton* m_calculate = nullptr;
    ui::BitmapButton* m_catalogue = nullptr;
    ui::BitmapButton* m_help = nullptr;
    ui::BitmapButton* m_end = nullptr;
    ui::CloseButton* m_close = nullptr;
};

// BUSSRECH: opens the fine table and shows the calculator; a missing or damaged table is explained in a notice
// and the calculator does not open. Closing removes the temporary index.
void BUSSRECH(core::Context& ctx, QWidget* owner);

} // namespace calc
