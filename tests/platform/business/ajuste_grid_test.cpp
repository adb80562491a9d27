// AjusteGrid: the shown columns of a grid fitted to its width in proportion to their
// design widths.
#include "platform/business/ajuste_grid.h"
#include "platform/controls/form.h"
#include "platform/controls/grid.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace qmx44;
using business::AjusteGrid;

namespace {

struct ProportionCase {
    std::vector<int> disenos;
    int disponible;
    std::vector<int> esperado;
};

class AjusteGridProportionTest : public ::testing::TestWithParam<ProportionCase> {};

// Guards against widths that do not add up to the room (a gap or a scroll bar appears)
// or that lose the design's proportions.
TEST_P(AjusteGridProportionTest, ScalesToExactlyTheRoom)
{
    const ProportionCase &c = GetParam();
    EXPECT_EQ(AjusteGrid::proportionalWidths(c.disenos, c.disponible), c.esperado);
}

INSTANTIATE_TEST_SUITE_P(Cases, AjusteGridProportionTest,
                         ::testing::Values(ProportionCase{{1000, 2000, 1000}, 8000, {2000, 4000, 2000}},
                                           ProportionCase{{1, 1, 1}, 10, {4, 3, 3}}, // leftover twips, leftmost first
                                           ProportionCase{{100, 300}, 9, {2, 7}},    // largest remainder gets it
                                           ProportionCase{{0, 1000}, 500, {0, 500}},
                                           ProportionCase{{1000, 1000}, 0, {}}, // no room: nothing
                                           ProportionCase{{0, 0}, 1000, {}}));  // nothing to scale

class AjusteGridTest : public ::testing::Test {
protected:
    AjusteGridTest()
    {
        std::vector<controls::ColumnDef> columnas(4);
        const char *nombres[] = {"Producto", "Descripcion", "Oculta", "Importe"};
        const int anchos[] = {1000, 3000, 700, 2000};
        for (int i = 0; i < 4; ++i) {
            columnas[i].name = QString::fromLatin1(nombres[i]);
            columnas[i].width = anchos[i];
        }
        columnas[2].shown = false;
        grid.setColumns(columnas);
        grid.addRow();
        grid.setCellValue(0, 0, QStringLiteral("BT-001"));
    }
    int ancho(int c) const { return grid.columnDef(c).width; }
    int suma() const { return ancho(0) + ancho(1) + ancho(3); }
    std::vector<int> anchos() const { return {ancho(0), ancho(1), ancho(2), ancho(3)}; }

    controls::Form form{QStringLiteral("frm")};
    controls::Grid &grid = form.add<controls::Grid>(QStringLiteral("ssDetalle"));
    AjusteGrid ajuste;
};

// Guards against hidden columns taking room, rows being lost, and proportions drifting
// after the grid was made small and large again.
TEST_F(AjusteGridTest, FitsShownColumnsAndNeverDrifts)
{
    ASSERT_TRUE(grid.setWidth(12000 + AjusteGrid::kMargin));
    ajuste.Ajustar(grid, QStringLiteral("1"));
    const std::vector<int> ajustados{2000, 6000, 700, 4000}; // the hidden one as designed
    EXPECT_EQ(anchos(), ajustados);
    EXPECT_EQ(grid.cellText(0, 0), QStringLiteral("BT-001"));

    ASSERT_TRUE(grid.setWidth(AjusteGrid::kMargin + 7));
    ajuste.Ajustar(grid, QStringLiteral("1"));
    EXPECT_EQ(suma(), 7);
    ASSERT_TRUE(grid.setWidth(12000 + AjusteGrid::kMargin));
    ajuste.Ajustar(grid, QStringLiteral("1"));
    EXPECT_EQ(anchos(), ajustados);
}

// Guards against a minimised window (no room) or another mode collapsing the columns.
TEST_F(AjusteGridTest, NoRoomOrOtherModeLeavesWidths)
{
    ASSERT_TRUE(grid.setWidth(AjusteGrid::kMargin));
    ajuste.Ajustar(grid, QStringLiteral("1"));
    EXPECT_EQ(suma(), 6000);
    ASSERT_TRUE(grid.setWidth(20000));
    ajuste.Ajustar(grid, QStringLiteral("2"));
    EXPECT_EQ(suma(), 6000);
}

} // namespace
