#include "platform/business/ajuste_grid.h"

#include "platform/controls/grid.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace qmx44::business {

namespace {

QStringList nombresDeColumnas(const controls::Grid &grid)
{
    QStringList nombres;
    for (int i = 0; i < grid.columnCount(); ++i)
        nombres << grid.columnDef(i).name;
    return nombres;
}

void ponerAncho(controls::Grid &grid, int columna, int ancho)
{
    grid.setColumnWidth(columna, ancho);
}

} // namespace

std::vector<int> AjusteGrid::anchosProporcionales(const std::vector<int> &disenos, int disponible)
{
    const double total = std::accumulate(disenos.begin(), disenos.end(), 0.0,
                                         [](double a, int b) { return a + std::max(b, 0); });
    if (disenos.empty() || total <= 0 || disponible <= 0)
        return {};
    std::vector<int> anchos(disenos.size());
    std::vector<std::pair<double, std::size_t>> restos;
    long long usado = 0;
    for (std::size_t i = 0; i < disenos.size(); ++i) {
        const double exacto = std::max(disenos[i], 0) * double(disponible) / total;
        anchos[i] = int(std::floor(exacto));
        usado += anchos[i];
        restos.emplace_back(exacto - anchos[i], i);
    }
    std::stable_sort(restos.begin(), restos.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    for (std::size_t k = 0; usado < disponible && k < restos.size(); ++k, ++usado)
        ++anchos[restos[k].second];
    return anchos;
}

void AjusteGrid::Ajustar(controls::Grid &grid, const QString &modo)
{
    if (modo != QLatin1String("1"))
        return;
    const QStringList columnas = nombresDeColumnas(grid);
    Diseno &diseno = m_disenos[&grid];
    if (diseno.columnas != columnas) {   // first fit, or the grid got other columns
        diseno.columnas = columnas;
        diseno.anchos.clear();
        for (int i = 0; i < grid.columnCount(); ++i)
            diseno.anchos.push_back(grid.columnDef(i).width);
    }

    const std::vector<int> mostradas = grid.shownColumns();
    std::vector<int> disenos;
    for (int c : mostradas)
        disenos.push_back(diseno.anchos[std::size_t(c)]);
    const double disponible = std::floor(double(grid.width())) - kMargen;
    if (!(disponible > 0) || disponible > 1e9)
        return;
    const std::vector<int> anchos = anchosProporcionales(disenos, int(disponible));
    if (anchos.empty())
        return;
    for (std::size_t k = 0; k < mostradas.size(); ++k)
        ponerAncho(grid, mostradas[k], anchos[k]);
    grid.refresh();
}

} // namespace qmx44::business
