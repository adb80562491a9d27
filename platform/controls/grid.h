#pragma once
// The unbound data grid model: columns declared as data, rows appended by code, a
// current row and cell, cell text and value, and the user's editing path with its
// events. Rows are stored compactly (grid_cells.h): typed columns in blocks of rows;
// empty cells cost nothing beyond their block, short texts are shared between cells.
//
// Events and their order, for a user edit of a cell (editCell or the keyboard):
//  1. going to the cell: if the current cell moves, event 26 (previous row, previous
//     column) with the grid already on the new cell;
//  2. every typed character: event 13 (character code by reference; 0 discards it);
//     then, if kept and the column is editable, the cell text changes and event 28 fires.
//     Backspace (8) deletes. The first accepted key after entering the cell replaces its
//     whole content (the cell is selected on entry);
//  3. leaving the edit (editCell's end, Tab/Enter moving on, endEdit()): event 50, while
//     the edited cell is still current; then a number cell's typed text is read as its
//     value (what does not read as a number stays as text and has no value).
// Locked columns: event 13 is still raised, but the cell does not change.
// Escape while typing abandons the edit: the cell gets back the value it had before its
// first typed key, and event 28 tells the change (the screen's totals follow); no 50.
//
// Keys that move (each ends an open edit first, then 26 as a click does): the arrows;
// PageUp/PageDown a page of rows (the rows the view shows, visibleRows()); Home/End the
// first/last shown column of the row; Ctrl+Home/Ctrl+End the first/last cell of the grid.
// With Shift they extend the selection (a rectangle from the anchor to the current cell)
// instead of collapsing it. Ctrl+C copies the selection (paste() and copy() below).
//
// Cell value vs text: number cells keep a double and show it through the column's
// format; value() of a number cell is that double, or null when the cell is empty or its
// text does not read as a number. Text cells: value() is the text. Date cells: a QDate,
// shown as YYYY-MM-DD.
#include "platform/controls/control.h"
#include "platform/controls/event.h"
#include "platform/controls/grid_cells.h"
#include "platform/controls/grid_column.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

namespace qmx44::controls {

class Grid;

// A column seen from the current row: the object that `grid.column("Bon_Importe")` gives.
class GridColumn {
public:
    GridColumn(Grid &grid, int index) : m_grid(&grid), m_index(index) {}
    int index() const { return m_index; }
    const ColumnDef &def() const;
    QString name() const { return def().name; }
    // The current row's cell.
    QString text() const;
    void setText(const QString &text);
    QVariant value() const;
    void setValue(const QVariant &value);

private:
    Grid *m_grid;
    int m_index;
};

class Grid : public Control {
public:
    Grid(Form &form, const QString &name);

    // ---- events --------------------------------------------------------------------------
    Event<int &> KeyPress;     // 13: character typed in a cell (may change or zero it)
    Event<int, int> CellMoved; // 26: current cell moved (previous row, previous column)
    Event<> CellChange;        // 28: content of the current cell changed
    Event<int> CellDone;       // 50: the user is done with the current cell (its column)

    // ---- design ------------------------------------------------------------------------------
    QString caption() const { return m_caption; }
    void setCaption(const QString &c)
    {
        m_caption = c;
        notify(Aspect::Caption);
    }
    // Replaces the columns (and removes all rows).
    void setColumns(std::vector<ColumnDef> columns);
    int columnCount() const { return int(m_columns.size()); }
    const ColumnDef &columnDef(int index) const;
    // A column's display width in twips (rows are kept). Refuses a negative width.
    void setColumnWidth(int index, int width);
    // The user sized the column (dragged its edge, or the host restores what they left):
    // as setColumnWidth, and the column is marked `userSized`, so fitting the columns to
    // the grid's width keeps it.
    void sizeColumn(int index, int width);
    // Column position by name ignoring case, -1 when none. O(1).
    int columnIndex(const QString &name) const;
    // The column by position or name; RuntimeError when there is none.
    GridColumn column(int index);
    GridColumn column(const QString &name);
    // Shown columns' positions, left to right.
    std::vector<int> shownColumns() const;

    // ---- rows and current cell -------------------------------------------------------------------
    int rowCount() const { return m_cells.rowCount(); }
    int currentRow() const { return m_row; }    // -1 when there are no rows
    int currentColumn() const { return m_col; } // negative when there is no current cell
    void removeAll();
    // Appends an empty row and makes it the current row.
    void addRow();
    // Tells the views to redraw every cell; no effect on the data.
    void refresh();
    void moveFirst();
    // To the next row; stays on the last row.
    void moveNext();
    // Current row by code; raises no event. False when out of range.
    bool setCurrentRow(int row);
    // Current column by code; raises no event. -1 clears it. False when out of range.
    bool setCurrentColumn(int column);

    // ---- cells by position (views, tests) -------------------------------------------------
    QString cellText(int row, int column) const;
    QVariant cellValue(int row, int column) const;
    void setCellValue(int row, int column, const QVariant &value);
    void setCellText(int row, int column, const QString &text);

    // ---- row marks ------------------------------------------------------------------------
    // A flag per row that the screen sets for the views to show (a row to look at); it
    // has no effect on the data or the events. Rows start unmarked; removeAll forgets the
    // marks. A change is told as Aspect::Cell with the row and column -1 (the whole row).
    // RuntimeError for a row out of range.
    void setRowMarked(int row, bool marked);
    bool rowMarked(int row) const;

    // ---- the user's path ---------------------------------------------------------------------------
    // Goes to a cell as a click does: ends an open edit (event 50), moves, raises 26 when
    // the cell changed. False when out of range.
    bool gotoCell(int row, int column);
    // One typed character into the current cell: event 13, then the change and 28.
    // Backspace is code 8. Returns whether the cell changed.
    bool typeChar(int charCode);
    // gotoCell, every character of `text` typed ("\b" is Backspace), then endEdit().
    void editCell(int row, int column, const QString &text);
    // Ends an open edit: event 50, then the typed text becomes the cell's value.
    void endEdit();
    bool editing() const { return m_editing; }
    // Escape's work: an open edit is abandoned, the cell restored (and 28 raised).
    void cancelEdit();

    // ---- paging and selection ----------------------------------------------------------------
    // The rows one page holds: what the view shows (it tells the grid on every resize);
    // DefaultVisibleRows without a view. At least 1.
    static constexpr int DefaultVisibleRows = 15;
    int visibleRows() const { return m_visibleRows; }
    void setVisibleRows(int rows) { m_visibleRows = qMax(1, rows); }
    // The user's Shift+click or drag: as gotoCell, keeping the selection's anchor.
    bool selectTo(int row, int column);
    // The selected rectangle: rows top..bottom and the shown columns between the anchor's
    // and the current cell's, left to right. Without a current cell: none (top -1).
    struct Selection {
        int top = -1, bottom = -1;
        std::vector<int> columns;
    };
    Selection selection() const;
    // The selected cells' text as shown, tab-separated, rows by line breaks, on the
    // Clipboard (Ctrl+C). Nothing happens without a current cell.
    void copy();
    // Ctrl+V: the Clipboard's lines, one value a line, into the current column from the
    // current row down, each value typed as the user types it (13, 28) and its edit ended
    // (50), a move to each row raising 26; the grid stays on the last pasted cell with
    // the pasted cells selected. A number column takes numbers only (a leading "$" and
    // thousands commas are dropped; no sign). The whole paste is refused, nothing
    // changed, with a warning through the form's message sink, when one value is not
    // such a number or there are more values than rows; a locked column refuses any paste
    // silently, as it refuses keys. True when the paste was made.
    bool paste();

    // Control
    bool focusable() const override { return true; }
    void keyDown(int &keyCode, int &shift) override;
    void keyPress(int &charCode) override;
    // Tab moves to the next shown column (passing over those without a tab stop), then to
    // the first of the next row; from the last cell it lets the focus leave the grid.
    bool handleTab(bool backwards) override;
    void focusOut() override;
    bool applySetting(const QString &name, const QVariant &value) override;

private:
    friend class GridColumn;
    // A cell's stored content (see GridCells::get); RuntimeError out of range.
    QVariant cell(int row, int column) const;
    void store(int row, int column, const QVariant &normalised);
    void requireCurrentRow() const;
    void requireColumn(int column) const;
    QVariant normalise(int column, const QVariant &value) const;
    void finishTypedText(int row, int column);
    // Moves the current cell by code and tells the views (no event); the selection
    // collapses onto it unless `extend`.
    void moveTo(int row, int column, bool extend = false);
    bool goTo(int row, int column, bool extend);
    void refusePaste(const QString &text);

    QString m_caption;
    std::vector<ColumnDef> m_columns;
    QHash<QString, int> m_byName; // lower-case name -> position
    QSet<QString> m_pool;         // short texts shared between cells (units, sizes)
    GridCells m_cells;
    int m_row = -1;
    int m_col = -1;
    bool m_editing = false;                 // a cell was typed into and not yet left
    bool m_freshCell = true;                // next accepted key replaces the content
    QVariant m_beforeEdit;                  // the edited cell's content before its first typed key
    int m_anchorRow = -1, m_anchorCol = -1; // the selection's fixed corner
    int m_visibleRows = DefaultVisibleRows;
    // One bit per row, grown only when a row is first marked.
    std::vector<bool> m_marks;
};

} // namespace qmx44::controls
