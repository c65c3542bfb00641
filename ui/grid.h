#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <QTableView>

#include <functional>
#include <vector>

namespace ui {

struct RowColors {
    QColor text;       // invalid: the grid's default
    QColor background; // invalid: the grid's default
};

// What a grid shows: rows and columns of text. A table of the engine is adapted to this by the dialog that shows it.
class GridSource {
public:
    virtual ~GridSource() = default;
    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    virtual QString cell(int row, int column) const = 0;
    virtual RowColors rowColors(int /*row*/) const { return {}; }
};

// A source over rows held in memory, for small lists and tests.
class ListGridSource : public GridSource {
public:
    ListGridSource(int columns, std::vector<QStringList> rows) : m_columns(columns), m_rows(std::move(rows)) {}
    int rowCount() const override { return int(m_rows.size()); }
    int columnCount() const override { return m_columns; }
    QString cell(int row, int column) const override { return m_rows[size_t(row)].value(column); }
    std::vector<QStringList>& rows() { return m_rows; }

private:
    int m_columns;
    std::vector<QStringList> m_rows;
};

struct GridColumn {
    QString heading;
    int width;
    Qt::Alignment alignment = Qt::AlignLeft;
};

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GridModel(const GridSource* source, std::vector<GridColumn> columns, QObject* parent = nullptr);

    // Overrides the source's row colours (colours by position, as some tables alternate them).
    void setRowColorFunction(std::function<RowColors(int row)> colors) { m_colors = std::move(colors); }
    // The source changed (filter set, record edited): read it again.
    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    const std::vector<GridColumn>& columns() const { return m_columns; }

private:
    const GridSource* m_source;
    std::vector<GridColumn> m_columns;
    std::function<RowColors(int)> m_colors;
};

// A grid with headed columns of set width and alignment, per-row colours, a gradient heading and a gradient
// over the current row; no grid lines, no horizontal scroll bar. Double-click or Enter gives activated(row).
class Grid : public QTableView {
    Q_OBJECT
public:
    explicit Grid(QWidget* parent = nullptr);

    void setSource(const GridSource* source, std::vector<GridColumn> columns);
    GridModel* gridModel() const { return m_model; }
    void setRowColorFunction(std::function<RowColors(int row)> colors);
    void reload();

    void setHeadingGradient(const QColor& top, const QColor& bottom);
    void setCurrentRowGradient(const QColor& top, const QColor& bottom);
    // Extra pixels over the font's default height, for the heading and for every row.
    void setExtraHeights(int heading, int row);

    int currentRow() const;
    void setCurrentRow(int row);

signals:
    void rowActivated(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyColumns();

    GridModel* m_model = nullptr;
    QColor m_headTop{255, 255, 255};
    QColor m_headBottom{176, 112, 64};
    QColor m_currentTop{255, 255, 255};
    QColor m_currentBottom{128, 128, 128};
    int m_extraHeading = 0;
    int m_extraRow = 0;

    friend class GridHeader;
    friend class GridDelegate;
};

} // namespace ui
