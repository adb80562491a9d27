// Bonus work against the size of the detail grid: one bonus cell edited by the user
// (events 26, 13, 28, 50 with the totals kept) must cost the same on 10 rows as on
// 10,000; one proration must grow linearly with the rows.
#include "bench/summary.h"
#include "bonus/bonus_editing.h"
#include "bonus/proration.h"
#include "intake/detail_format.h"
#include "platform/controls/controls.h"
#include "platform/services/session.h"
#include "platform/services/utilerias.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace qmx44;

namespace {

// The grid with `rows` purchase lines, the three totals and the bonus handlers.
struct BonusScreen {
    explicit BonusScreen(int rows)
    {
        intake::configureDetailGrid(grid);
        for (auto *t : {&sub, &imp, &tot})
            t->applySetting(QStringLiteral("tipodato"), 6);
        for (int i = 0; i < rows; ++i) {
            grid.addRow();
            grid.column("Pr_Cve_Producto").setValue(QStringLiteral("P%1").arg(i, 6, 10, QLatin1Char('0')));
            grid.column("Cantidad_Control_1").setValue(1.0 + i % 7);
            grid.column("Unidad_Control_1").setValue(QStringLiteral("PZA"));
            grid.column("Precio_Descontado_Importe").setValue(100.0 + i % 13);
            grid.column("Impuesto_Factor").setValue(i % 2 ? 0.16 : 0.0);
            grid.column("BON_PORCENTAJE").setValue(0);
            grid.column("BON_IMPORTE").setValue(0);
        }
        editing =
            std::make_shared<bonus::BonusEditing>(grid, bonus::Totals{sub, imp, tot}, baseSub, baseImp, utilerias);
        bonus::BonusEditing::attach(editing);
        form.show();
        // Both grids start from the totals of a large note. Showing an amount costs more
        // the more digits it has; with equal totals the comparison measures the rows.
        sub.setValue(130000.125);
        imp.setValue(10400.01);
        tot.setValue(140400.135);
    }

    std::shared_ptr<services::Session> session = std::make_shared<services::Session>();
    services::Utilerias utilerias{session};
    controls::Form form{QStringLiteral("frmQMX44")};
    controls::Grid &grid = form.add<controls::Grid>(QStringLiteral("ssDetalle"));
    controls::TextField &sub = form.add<controls::TextField>(QStringLiteral("txt_SubTotal"));
    controls::TextField &imp = form.add<controls::TextField>(QStringLiteral("txt_Impuestos"));
    controls::TextField &tot = form.add<controls::TextField>(QStringLiteral("txt_Total"));
    double baseSub = 0, baseImp = 0;
    std::shared_ptr<bonus::BonusEditing> editing;
};

// One user edit of a bonus cell: go to it, replace its text, leave it. Rows are visited
// spread over the whole grid so that a large grid is not kept in cache by luck.
void BM_EditBonusCell(benchmark::State &state)
{
    controls::Desktop::reset();
    BonusScreen p(int(state.range(0)));
    const int columns[] = {p.grid.columnIndex(QStringLiteral("BON_PORCENTAJE")),
                           p.grid.columnIndex(QStringLiteral("BON_IMPORTE"))};
    const QString texts[] = {QStringLiteral("\b12.5"), QStringLiteral("\b7")};
    const int n = p.grid.rowCount();
    long i = 0;
    for (auto _ : state) {
        const int row = int((i * 7919) % n);
        p.grid.editCell(row, columns[i % 2], texts[i % 2]);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
    controls::Desktop::reset();
}
BENCHMARK(BM_EditBonusCell)->Arg(10)->Arg(10000)->Unit(benchmark::kMicrosecond);

// One proration of an amount over every row by the first control quantity.
void BM_Prorate(benchmark::State &state)
{
    controls::Desktop::reset();
    BonusScreen p(int(state.range(0)));
    for (auto _ : state) {
        auto r = bonus::prorate(p.grid, bonus::Totals{p.sub, p.imp, p.tot}, bonus::ProrationBasis::ControlQuantity1,
                                12345.678);
        benchmark::DoNotOptimize(r);
    }
    state.SetComplexityN(state.range(0));
    controls::Desktop::reset();
}
BENCHMARK(BM_Prorate)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // Both ratios are judged on CPU time: on a machine shared with other work the wall
    // time of a run also counts the time the process waited for a core.
    bench::declare({.operation = "edit one bonus cell, totals kept",
                    .size = "10,000 rows",
                    .backend = "-",
                    .measured = "BM_EditBonusCell/10000",
                    .baseline = "BM_EditBonusCell/10",
                    .baselineLabel = "10 rows",
                    .figure = bench::Figure::CpuTime,
                    .maxRatio = 1.2});
    bench::declare({.operation = "prorate an amount by the first control quantity",
                    .size = "10,000 rows",
                    .backend = "-",
                    .measured = "BM_Prorate/10000",
                    .baseline = "BM_Prorate/1000",
                    .baselineLabel = "1,000 rows",
                    .figure = bench::Figure::CpuTime,
                    .maxRatio = 12});
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
