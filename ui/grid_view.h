#pragma once
// The grid: a table model over controls::Grid (its shown columns, captions, widths,
// alignment and display formats) in a table view. Only editable columns take input, and
// every key goes through the grid model's own path (its events), so the screen's totals
// follow each keystroke.
#include <QAbstractTableModel>
#include <QTableView>
#include <vector>

namespace qmx44::controls {
class Grid;
}

namespace qmx44::ui {

class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridTableModel(controls::Grid &grid, QObject *parent = nullptr);
    ~GridTableModel() override;
    controls::Grid &grid() const { return m_grid; }
    // The grid column shown at view column `viewColumn`.
    int gridColumn(int viewColumn) const;
    int viewColumn(int gridColumn) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    controls::Grid &m_grid;
    std::vector<int> m_shown;
    int m_ticket = 0;
};

class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(controls::Grid &grid, QWidget *parent = nullptr);
    ~GridView() override;
    controls::Grid &grid() const;
    GridTableModel *tableModel() const { return m_model; }

private:
    GridTableModel *m_model = nullptr;
};

} // namespace qmx44::ui
