// Typed column blocks of the grid's cells.
#include "platform/controls/grid_cells.h"

#include <QDate>
#include <bit>
#include <limits>

namespace qmx44::controls {

namespace {
// Two signalling NaNs, which no arithmetic yields and the grid never stores as a number
// (its numbers are finite): an empty number cell and one whose text is kept aside.
constexpr std::uint64_t EmptyNumber = 0x7ff0000000000001ull;
constexpr std::uint64_t AsideNumber = 0x7ff0000000000002ull;
// A null QDate's day number, and the one after it, far outside the dates QDate takes.
constexpr std::uint64_t EmptyDate = std::uint64_t(std::numeric_limits<qint64>::min());
constexpr std::uint64_t AsideDate = EmptyDate + 1;
} // namespace

std::uint64_t GridCells::emptyWord(ColumnType type)
{
    return type == ColumnType::Number ? EmptyNumber : EmptyDate;
}

std::uint64_t GridCells::asideWord(ColumnType type)
{
    return type == ColumnType::Number ? AsideNumber : AsideDate;
}

void GridCells::setTypes(const std::vector<ColumnType> &types)
{
    m_columns.clear();
    m_columns.resize(types.size());
    for (std::size_t i = 0; i < types.size(); ++i)
        m_columns[i].type = types[i];
    clear();
}

void GridCells::clear()
{
    for (Column &c : m_columns) {
        c.words.clear();
        c.texts.clear();
    }
    m_aside.clear();
    m_rows = 0;
}

QVariant GridCells::get(int row, int column) const
{
    const Column &c = m_columns[std::size_t(column)];
    const auto block = std::size_t(row / BlockRows), at = std::size_t(row % BlockRows);
    if (c.type == ColumnType::Text)
        return block < c.texts.size() && !c.texts[block][at].isNull() ? QVariant(c.texts[block][at]) : QVariant();
    if (block >= c.words.size())
        return QVariant();
    const std::uint64_t w = c.words[block][at];
    if (w == emptyWord(c.type))
        return QVariant();
    if (w == asideWord(c.type))
        return m_aside.value(key(row, column));
    if (c.type == ColumnType::Number)
        return std::bit_cast<double>(w);
    return QDate::fromJulianDay(qint64(w));
}

void GridCells::set(int row, int column, const QVariant &value)
{
    Column &c = m_columns[std::size_t(column)];
    const auto block = std::size_t(row / BlockRows), at = std::size_t(row % BlockRows);
    const bool empty = !value.isValid();
    if (c.type == ColumnType::Text) {
        if (block >= c.texts.size()) {
            if (empty)
                return;
            while (c.texts.size() <= block)
                c.texts.push_back(std::make_unique<QString[]>(BlockRows));
        }
        c.texts[block][at] = empty ? QString() : value.toString();
        return;
    }
    if (block >= c.words.size()) {
        if (empty)
            return;
        while (c.words.size() <= block) {
            c.words.push_back(std::make_unique_for_overwrite<std::uint64_t[]>(BlockRows));
            std::fill_n(c.words.back().get(), BlockRows, emptyWord(c.type));
        }
    }
    std::uint64_t &w = c.words[block][at];
    if (w == asideWord(c.type))
        m_aside.remove(key(row, column));
    if (empty)
        w = emptyWord(c.type);
    else if (value.typeId() == QMetaType::QString) {
        w = asideWord(c.type);
        m_aside.insert(key(row, column), value.toString());
    } else if (c.type == ColumnType::Number)
        w = std::bit_cast<std::uint64_t>(value.toDouble());
    else
        w = std::uint64_t(value.toDate().toJulianDay());
}

} // namespace qmx44::controls
