#pragma once
// The grid's cell storage, typed by column: a number column keeps doubles, a date column
// day numbers and a text column QStrings, in blocks of rows that are allocated when
// their first non-empty cell is set, so columns the rows leave empty cost nothing and
// growing never holds more than one spare block. A cell whose content is not of its
// column's type (text typed into a number cell, a text a date column cannot read) is
// kept aside, by position.
#include "platform/controls/grid_column.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <vector>

namespace qmx44::controls {

class GridCells {
public:
    // Sets the columns' types and removes every row.
    void setTypes(const std::vector<ColumnType> &types);
    // Removes every row, keeping the columns.
    void clear();
    void addRow() { ++m_rows; }
    int rowCount() const { return m_rows; }

    // A cell's content: null when empty, else a double (number column), a QDate (date
    // column) or a QString. No range checks: the grid checks positions.
    QVariant get(int row, int column) const;
    // `value` is null, a QString, or a double in a number column, a QDate in a date
    // column (what the grid normalises a value to).
    void set(int row, int column, const QVariant &value);

private:
    static constexpr int BlockRows = 256;
    struct Column {
        ColumnType type = ColumnType::Text;
        // Numbers and dates: one 64-bit word a cell (a double's bits, a day number).
        std::vector<std::unique_ptr<std::uint64_t[]>> words;
        std::vector<std::unique_ptr<QString[]>> texts;
    };
    static std::uint64_t emptyWord(ColumnType type);
    static std::uint64_t asideWord(ColumnType type);
    static std::uint64_t key(int row, int column) { return std::uint64_t(row) << 32 | std::uint32_t(column); }

    std::vector<Column> m_columns;
    QHash<std::uint64_t, QString> m_aside; // cells whose text is not of their column's type
    int m_rows = 0;
};

} // namespace qmx44::controls
