#include "ui/grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace ui {

GridModel::GridModel(const GridSource* source, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_source(source), m_columns(std::move(columns)) {}

void GridModel::reload() {
    beginResetModel();
    endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_source ? 0 : m_source->rowCount();
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_source) return {};
    const int row = index.row();
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return col < m_source->columnCount() ? m_source->cell(row, col) : QString();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_columns[size_t(col)].alignment | Qt::AlignVCenter);
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
        const RowColors c = m_colors ? m_colors(row) : m_source->rowColors(row);
        const QColor& colour = role == Qt::ForegroundRole ? c.text : c.background;
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= int(m_columns.size())) return {};
    if (role == Qt::DisplayRole) return m_columns[size_t(section)].heading;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[size_t(section)].alignment | Qt::AlignVCenter);
    return {};
}

class GridHeader : public QHeaderView {
public:
    explicit GridHeader(Grid* grid) : QHeaderView(Qt::Horizontal, grid), m_grid(grid) {}

protected:
    void paintSection(QPainter* p, const QRect& rect, int section) const override {
        QLinearGradient g(rect.topLeft(), rect.bottomLeft());
        g.setColorAt(0, m_grid->m_headTop);
        g.setColorAt(1, m_grid->m_headBottom);
        p->fillRect(rect, g);
        p->setPen(m_grid->m_headBottom.darker(130));
        p->drawLine(rect.topRight(), rect.bottomRight());
        p->setPen(Qt::black);
        p->setFont(font());
        const auto align = model()->headerData(section, Qt::Horizontal, Qt::TextAlignmentRole);
        p->drawText(rect.adjusted(3, 0, -3, 0), int(align.value<Qt::Alignment>()),
                    model()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString());
    }

private:
    Grid* m_grid;
};

class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(Grid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool current = index.row() == m_grid->currentRow();
        const QRect r = option.rect;
        if (current) {
            // The same highlight with or without focus, so the current row is never lost from sight.
            QLinearGradient g(r.topLeft(), r.bottomLeft());
            g.setColorAt(0, m_grid->m_currentTop);
            g.setColorAt(1, m_grid->m_currentBottom);
            p->fillRect(r, g);
        } else {
            const QVariant bg = index.data(Qt::BackgroundRole);
            p->fillRect(r, bg.isValid() ? bg.value<QColor>() : option.palette.color(QPalette::Base));
        }
        const QVariant fg = index.data(Qt::ForegroundRole);
        p->setPen(current ? QColor(Qt::black)
                          : (fg.isValid() ? fg.value<QColor>() : option.palette.color(QPalette::Text)));
        p->setFont(option.font);
        const auto align = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        const QString text =
            option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, r.width() - 6);
        p->drawText(r.adjusted(3, 0, -3, 0), int(align), text);
    }

private:
    Grid* m_grid;
};

Grid::Grid(QWidget* parent) : QTableView(parent) {
    setHorizontalHeader(new GridHeader(this));
    setItemDelegate(new GridDelegate(this));
    setShowGrid(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit rowActivated(index.row());
    });
}

void Grid::setSource(const GridSource* source, std::vector<GridColumn> columns) {
    auto* old = m_model;
    m_model = new GridModel(source, std::move(columns), this);
    setModel(m_model);
    delete old;
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, viewport(), qOverload<>(&QWidget::update));
    applyColumns();
    if (m_model->rowCount() > 0) setCurrentRow(0);
}

void Grid::setRowColorFunction(std::function<RowColors(int)> colors) {
    if (m_model) m_model->setRowColorFunction(std::move(colors));
    viewport()->update();
}

void Grid::reload() {
    if (!m_model) return;
    const int row = currentRow();
    m_model->reload();
    applyColumns();
    if (m_model->rowCount() > 0) setCurrentRow(qBound(0, row, m_model->rowCount() - 1));
}

void Grid::setHeadingGradient(const QColor& top, const QColor& bottom) {
    m_headTop = top;
    m_headBottom = bottom;
    horizontalHeader()->viewport()->update();
}

void Grid::setCurrentRowGradient(const QColor& top, const QColor& bottom) {
    m_currentTop = top;
    m_currentBottom = bottom;
    viewport()->update();
}

void Grid::setExtraHeights(int heading, int row) {
    m_extraHeading = heading;
    m_extraRow = row;
    applyColumns();
}

int Grid::currentRow() const {
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void Grid::setCurrentRow(int row) {
    if (!m_model || row < 0 || row >= m_model->rowCount()) return;
    setCurrentIndex(m_model->index(row, 0));
}

void Grid::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        // Enter is left to the dialog's default button, as in the dialogs that have one.
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
}

void Grid::applyColumns() {
    if (!m_model) return;
    const int base = fontMetrics().height() + 2;
    horizontalHeader()->setFixedHeight(base + m_extraHeading);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(base + m_extraRow);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int i = 0; i < int(m_model->columns().size()); ++i) {
        horizontalHeader()->setSectionResizeMode(i, QHeaderView::Fixed);
        setColumnWidth(i, m_model->columns()[size_t(i)].width);
    }
}

} // namespace ui
