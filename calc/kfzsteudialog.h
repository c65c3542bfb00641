#pragma once

#include "calc/vehicletax.h"
#include "ui/grid.h"
#include "ui/skinneddialog.h"

class QShortcut;

namespace core {
class Context;
}
namespace ui {
class BitmapButton;
class CheckBox;
class CloseButton;
class Label;
class MaskedEdit;
class RadioGroup;
} // namespace ui

namespace calc {

// The result rows as the tax grid shows them.
class TaxRows : public ui::GridSource {
public:
    int rowCount() const override { return int(rows.size()); }
    int columnCount() const override { return 5; }
    QString cell(int row, int column) const override;
    std::vector<kfzsteu::Row> rows;
};

// The vehicle-tax calculator. It works on the entries and the classification it is given and shows the rows of
// the scratch table; the caller loads and saves the entries and owns the table.
class TaxDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    TaxDialog(core::Context& ctx, kfzsteu::SteuerTable& table, kfzsteu::Input& input, kfzsteu::EuroNorm& norm,
              QWidget* parent = nullptr);

    // ST_MAKE: the calculate button, Alt+R and Enter; nothing while an entry is missing.
    void calculate();

    ui::MaskedEdit* hubraumField() const { return m_hubraum; }
    ui::MaskedEdit* keyField() const { return m_key; }
    ui::MaskedEdit* dateField() const { return m_date; }
    ui::RadioGroup* consumptionChoice() const { return m_consumption; }
    ui::RadioGroup* fuelChoice() const { return m_fuel; }
    ui::CheckBox* catalystBox() const { return m_catalyst; }
    ui::Label* euroLine() const { return m_euroLine; }
    ui::Label* ozoneLine() const { return m_ozoneLine; }
    ui::Grid* grid() const { return m_grid; }
    ui::BitmapButton* calculateButton() const { return m_calculate; }
    ui::BitmapButton* taxTableButton() const { return m_taxTable; }
    ui::BitmapButton* helpButton() const { return m_help; }
    ui::BitmapButton* endButton() const { return m_end; }
    ui::CloseButton* closeButton() const { return m_close; }

private:
    // Any change of an entry: the result shown no longer belongs to the entries.
    void entriesChanged();
    // BM_REFRESH: the catalyst box and the calculate button follow the entries.
    void refresh();
    void showRows(std::vector<kfzsteu::Row> rows);

    core::Context& m_ctx;
    kfzsteu::SteuerTable& m_table;
    kfzsteu::Input& m_input;
    kfzsteu::EuroNorm& m_norm;
    TaxRows m_rows;

    ui::MaskedEdit* m_hubraum = nullptr;
    ui::MaskedEdit* m_key = nullptr;
    ui::MaskedEdit* m_date = nullptr;
    ui::RadioGroup* m_consumption = nullptr;
    ui::RadioGroup* m_fuel = nullptr;
    ui::CheckBox* m_catalyst = nullptr;
    ui::Label* m_euroLine = nullptr;
    ui::Label* m_ozoneLine = nullptr;
    ui::Grid* m_grid = nullptr;
    ui::BitmapButton* m_calculate = nullptr;
    ui::BitmapButton* m_taxTable = nullptr;
    ui::BitmapButton* m_help = nullptr;
    ui::BitmapButton* m_end = nullptr;
    ui::CloseButton* m_close = nullptr;
    QShortcut* m_calculateKey = nullptr;
};

// KFZ_STEUER: creates STEUER.DBF, loads the entries from [Steuern], shows the calculator and, when it closes,
// deletes the table and writes the entries back.
void KFZ_STEUER(core::Context& ctx, QWidget* owner);

} // namespace calc
