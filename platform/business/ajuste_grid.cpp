#include "platform/business/ajuste_grid.h"

#include "platform/controls/grid.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace qmx44::business {

namespace {

QStringList columnNames(const controls::Grid &grid)
{
    QStringList names;
    for (int i = 0; i < grid.columnCount(); ++i)
        names << grid.columnDef(i).name;
    return names;
}

void setShownWidth(controls::Grid &grid, int column, int columnWidth)
{
    grid.setColumnWidth(column, columnWidth);
}

} // namespace

std::vector<int> AjusteGrid::proportionalWidths(const std::vector<int> &designWidths, int available)
{
    const double total = std::accumulate(designWidths.begin(), designWidths.end(), 0.0,
                                         [](double a, int b) { return a + std::max(b, 0); });
    if (designWidths.empty() || total <= 0 || available <= 0)
        return {};
    std::vector<int> widths(designWidths.size());
    std::vector<std::pair<double, std::size_t>> remainders;
    long long used = 0;
    for (std::size_t i = 0; i < designWidths.size(); ++i) {
        const double exact = std::max(designWidths[i], 0) * double(available) / total;
        widths[i] = int(std::floor(exact));
        used += widths[i];
        remainders.emplace_back(exact - widths[i], i);
    }
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    for (std::size_t k = 0; used < available && k < remainders.size(); ++k, ++used)
        ++widths[remainders[k].second];
    return widths;
}

void AjusteGrid::Ajustar(controls::Grid &grid, const QString &mode)
{
    if (mode != QLatin1String("1"))
        return;
    const QStringList columns = columnNames(grid);
    DesignedWidths &design = m_designed[&grid];
    if (design.columns != columns) { // first fit, or the grid got other columns
        design.columns = columns;
        design.widths.clear();
        for (int i = 0; i < grid.columnCount(); ++i)
            design.widths.push_back(grid.columnDef(i).width);
    }

    // The columns the user sized keep their widths; the others share what is left.
    std::vector<int> visibleColumns;
    std::vector<int> designWidths;
    double sized = 0;
    for (int c : grid.shownColumns()) {
        if (grid.columnDef(c).userSized) {
            sized += grid.columnDef(c).width;
        } else {
            visibleColumns.push_back(c);
            designWidths.push_back(design.widths[std::size_t(c)]);
        }
    }
    const double available = std::floor(double(grid.width())) - kMargin - sized;
    if (!(available > 0) || available > 1e9)
        return;
    const std::vector<int> widths = proportionalWidths(designWidths, int(available));
    if (widths.empty())
        return;
    for (std::size_t k = 0; k < visibleColumns.size(); ++k)
        setShownWidth(grid, visibleColumns[k], widths[k]);
    grid.refresh();
}

} // namespace qmx44::business
