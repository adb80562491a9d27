// Placeholder until the views land.
#include "ui/grid_view.h"

#include "platform/controls/grid.h"

namespace qmx44::ui {
GridTableModel::GridTableModel(controls::Grid &grid, QObject *parent) : QAbstractTableModel(parent), m_grid(grid) {}
GridTableModel::~GridTableModel() = default;
int GridTableModel::gridColumn(int viewColumn) const
{
    return viewColumn;
}
int GridTableModel::viewColumn(int gridColumn) const
{
    return gridColumn;
}
int GridTableModel::rowCount(const QModelIndex &) const
{
    return 0;
}
int GridTableModel::columnCount(const QModelIndex &) const
{
    return 0;
}
QVariant GridTableModel::data(const QModelIndex &, int) const
{
    return {};
}
QVariant GridTableModel::headerData(int, Qt::Orientation, int) const
{
    return {};
}
Qt::ItemFlags GridTableModel::flags(const QModelIndex &) const
{
    return {};
}
GridView::GridView(controls::Grid &grid, QWidget *parent) : QTableView(parent), m_model(new GridTableModel(grid, this))
{
}
GridView::~GridView() = default;
controls::Grid &GridView::grid() const
{
    return m_model->grid();
}
} // namespace qmx44::ui
