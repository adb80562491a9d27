#pragma once
// The grid: a table model over controls::Grid (its shown columns, captions, widths,
// alignment and display formats) in a table view. Only editable columns take input, and
// every key goes through the grid model's own path (its events), so the screen's totals
// follow each keystroke.
#include <QAbstractTableModel>
#include <QColor>
#include <QTableView>
#include <QVariantMap>
#include <vector>

namespace qmx44::controls {
class Grid;
struct ModelChange;
} // namespace qmx44::controls

namespace qmx44::ui {

class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridTableModel(controls::Grid &grid, QObject *parent = nullptr);
    ~GridTableModel() override;
    controls::Grid &grid() const { return m_grid; }
    // False once the grid's form is gone: the model then shows nothing.
    bool hasGrid() const { return m_alive; }
    // The grid column shown at view column `viewColumn`.
    int gridColumn(int viewColumn) const;
    int viewColumn(int gridColumn) const;
    // Whether the model's rows or columns changed and the view has not been reset yet
    // (many row notifications make one reset, on the next turn of the event loop).
    bool resetPending() const { return m_resetPending; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    // The grid's current cell moved (row -1: none; column: a grid column).
    void currentCellChanged(int row, int gridColumn);
    // A column's width changed in the model (twips).
    void columnWidthChanged(int viewColumn, int twips);

private:
    void changed(const controls::ModelChange &change);
    void scheduleReset();
    void applyReset();
    void forgetGrid();
    bool cellExists(int row, int viewColumn) const;

    controls::Grid &m_grid;
    std::vector<int> m_shown;     // view column -> grid column
    std::vector<int> m_viewOf;    // grid column -> view column (-1 hidden)
    std::vector<int> m_alignment; // view column -> Qt alignment flags
    std::vector<bool> m_editable; // view column -> takes typing
    int m_rows = 0;               // the row count the view was last told
    bool m_resetPending = false;
    bool m_alive = true;
    QColor m_editableGround, m_lockedGround;
    int m_ticket = 0;
    int m_formTicket = 0;
};

class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(controls::Grid &grid, QWidget *parent = nullptr);
    ~GridView() override;
    controls::Grid &grid() const;
    GridTableModel *tableModel() const { return m_model; }
    // The widths of the columns the user sized, in twips by column name (what a host
    // keeps in the user's settings), and the same given back: each named column that
    // exists is sized as the user left it (Grid::sizeColumn).
    QVariantMap sizedColumnWidths() const;
    void restoreSizedColumnWidths(const QVariantMap &widths);

protected:
    // Every key goes down the form's keyboard path (Form::keyStroke) with the grid
    // holding the model's focus; keys the models have no code for are left to the window.
    void keyPressEvent(QKeyEvent *event) override;
    // A click goes to the clicked cell through the model (Grid::gotoCell); Shift+click
    // and a drag extend the model's selection (Grid::selectTo).
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // Tab and Shift+Tab belong to the grid's model, not to the widget focus chain.
    bool event(QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    // The model's page (PageUp/PageDown) is the rows the view shows.
    void resizeEvent(QResizeEvent *event) override;

private:
    void followCurrentCell();
    void applyColumnWidths();
    // The width a column is shown at: its design width, but never narrower than its
    // caption or the texts of the first rows, unless the clerk sized it.
    int columnPixels(int viewColumn) const;
    void widenForChangedCells(const QModelIndex &from, const QModelIndex &to);
    // The rows whose texts size the columns.
    static constexpr int SampledRows = 50;
    void userResizedColumn(int viewColumn, int oldSize, int newSize);
    void tellVisibleRows();

    GridTableModel *m_model = nullptr;
    bool m_applyingWidths = false;
};

} // namespace qmx44::ui
