// The detail grid's row format: what the user sees and may edit, and the cost of a
// large purchase in memory.
#include "intake/detail_format.h"
#include "platform/controls/form.h"

#include <gtest/gtest.h>

#include <malloc.h>

using namespace qmx44;
using namespace qmx44::controls;

namespace {

class intakeDetailFormat : public ::testing::Test {
protected:
    void SetUp() override { intake::configureDetailGrid(grid); }
    Form form{QStringLiteral("frmQMX44")};
    Grid &grid = form.add<Grid>("ssDetalle");
};

} // namespace

// Guards the visible layout: exactly these twelve captions, left to right.
TEST_F(intakeDetailFormat, ShowsTheTwelveColumnsInOrder)
{
    QStringList captions;
    for (int i : grid.shownColumns())
        captions << grid.columnDef(i).caption;
    EXPECT_EQ((QStringList{"Clave", "Descripción", "Talla", "Color", "Cantidad-1", "Um",
                           "Cantidad-2", "Um", "Importe S/Imp", "Importe venta",
                           "Bonificar (%)", "Bonificar ($)"}),
              captions);
}

// Guards that only the two bonus cells accept typing after a fill, and that the
// screen's mixed-case names find them at their fixed positions.
TEST_F(intakeDetailFormat, OnlyTheBonusColumnsAcceptTyping)
{
    grid.addRow();
    grid.column("Precio_Descontado_Importe").setValue(250.0);
    grid.column("Bon_Porcentaje").setValue(0);
    grid.column("Bon_Importe").setValue(0);
    EXPECT_EQ(45, grid.columnIndex("Bon_Porcentaje"));
    EXPECT_EQ(46, grid.columnIndex("Bon_Importe"));
    QStringList accepting;
    for (int i : grid.shownColumns()) {
        grid.editCell(0, i, "5");
        if (grid.cellText(0, i).startsWith(u'5') || grid.cellText(0, i).startsWith(u"$5"))
            accepting << grid.columnDef(i).name;
    }
    EXPECT_EQ((QStringList{"BON_PORCENTAJE", "BON_IMPORTE"}), accepting);
    EXPECT_EQ(QString("$250.0000"), grid.cellText(0, 20));
    EXPECT_EQ(QString("$5.00"), grid.cellText(0, 46));
}

// Guards the compact row store: a 10,000-line purchase, filled the way the purchase
// intake fills it, costs under 2 KiB of heap per row.
TEST_F(intakeDetailFormat, TenThousandFilledRowsStayUnderTwoKiBEach)
{
    // Heap in use, small chunks and memory-mapped large blocks alike.
    auto inUse = [] {
        const struct mallinfo2 m = mallinfo2();
        return m.uordblks + m.hblkhd;
    };
    const std::size_t before = inUse();
    for (int r = 0; r < 10000; ++r) {
        grid.addRow();
        grid.column("Pr_Cve_Producto").setValue(QStringLiteral("P%1").arg(r, 6, 10, QChar(u'0')));
        grid.column("Pr_Descripcion").setValue(QStringLiteral("Producto de prueba número %1 con descripción").arg(r));
        grid.column("Tl_Cve_Talla").setValue(QStringLiteral("%1").arg(r % 12));
        grid.column("Cl_Cve_Color").setValue(QStringLiteral("C%1").arg(r % 7));
        for (const char *n : {"Cantidad_1", "Cantidad_Control_1", "Cantidad_Control_2",
                              "Precio_Lista_Importe", "Precio_Descontado_Importe", "Impuesto_Factor",
                              "Impuesto_Importe", "Precio_Neto_Importe", "BON_PORCENTAJE", "BON_IMPORTE"})
            grid.column(n).setValue(r * 1.25);
        for (const char *n : {"Unidad_1", "Unidad_Control_1", "Unidad_Control_2"})
            grid.column(n).setValue(QStringLiteral("PZA"));
    }
    const std::size_t after = inUse();
    EXPECT_LT((after - before) / 10000, 2048u);
}
