// ConsultaCompra and LlenarDetalle on every back-end: how purchase lines group, what
// each grid cell receives, the purchase amount, and folios that carry quotes.
#include "intake/consulta_compra.h"
#include "intake/detail_format.h"
#include "platform/controls/form.h"
#include "tests/support/test_db.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qmx44;

namespace {

// One purchase line; the defaults make lines of one group.
struct BonusLine {
    QString producto = QStringLiteral("PR-1");
    QString talla = QStringLiteral("M");
    QString color = QStringLiteral("NEG");
    QString unidad1 = QStringLiteral("PZA");
    QString control1 = QStringLiteral("PZA");
    QString control2 = QStringLiteral("KG");
    double factor = 0.16;
    QString estado = QStringLiteral("AC");
    double cantidad = 2;
    double descontado = 100;
    double global = 0;
};

class ConsultaCompraTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        grid = &form.add<controls::Grid>(QStringLiteral("ssDetalle"));
        intake::configureDetailGrid(*grid);
        for (const char *p : {"PR-1", "PR-2"})
            db->run(QStringLiteral("INSERT INTO Producto (Pr_Cve_Producto, Pr_Descripcion, Pr_Tipo_Producto, "
                                   "Pr_Unidad_Costo) VALUES (?, ?, 'PT', 'PZA')"),
                    {QString::fromLatin1(p), QString::fromLatin1(p)});
    }

    void compra(const QString &folio, const std::vector<BonusLine> &lineas)
    {
        int n = 0;
        for (const BonusLine &l : lineas) {
            // Control quantities deliberately differ from quantity 1.
            db->run(
                QStringLiteral(
                    "INSERT INTO COMPRA (Co_Folio, Co_Linea, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, "
                    "Cm_Cve_Comprador, Mn_Cve_Moneda, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, "
                    "Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, Co_Unidad_Control_1, Co_Cantidad_Control_2, "
                    "Co_Unidad_Control_2, Co_Impuesto_Factor, Co_Precio_Lista_Importe, Co_Precio_Descontado_Importe, "
                    "Co_Descuento_Global_Importe, Co_Impuesto_Importe, Co_Precio_Neto_Importe) "
                    "VALUES (?, ?, '001', 'A01', 'P1', 'CM1', 'MN', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {folio, ++n, l.estado, l.producto, l.talla, l.color, l.cantidad, l.unidad1, l.cantidad * 7, l.control1,
                 l.cantidad * 0.5, l.control2, l.factor, l.descontado * 1.25, l.descontado, l.global,
                 (l.descontado - l.global) * l.factor, (l.descontado - l.global) * (1 + l.factor)});
        }
    }

    // Fills the grid from `folio`; returns the amount added to the purchase amount.
    double llenar(const QString &folio)
    {
        double importe = 0;
        auto rs = intake::ConsultaCompra(*db, folio);
        intake::LlenarDetalle(rs, *grid, importe);
        EXPECT_EQ(rs, nullptr);
        return importe;
    }

    double number(int row, const char *column) const
    {
        return grid->cellValue(row, grid->columnIndex(QString::fromLatin1(column))).toDouble();
    }
    QString text(int row, const char *column) const
    {
        return grid->cellValue(row, grid->columnIndex(QString::fromLatin1(column))).toString();
    }

    std::unique_ptr<db::Conexion> db = test::freshDatabase(GetParam());
    controls::Form form{QStringLiteral("frmTest")};
    controls::Grid *grid = nullptr;
};

// Guards against grouping on too few or too many keys: every key of the group splits
// rows (product, size and tax factor: see the order test); nothing else does.
TEST_P(ConsultaCompraTest, GroupsLinesByTheirKeys)
{
    compra(QStringLiteral("G1"),
           {BonusLine{}, BonusLine{.cantidad = 5}, BonusLine{.unidad1 = "CJA"}, BonusLine{.control1 = "MT"},
            BonusLine{.control2 = "LT"}, BonusLine{.color = "AZU"}, BonusLine{.estado = "CA"}});
    llenar(QStringLiteral("G1"));
    EXPECT_EQ(grid->rowCount(), 6);
}

// Guards against a group showing one line's figures instead of the sums, the global
// discount ignored or subtracted once per group instead of per line, and the control
// quantities read from the control-quantity columns.
TEST_P(ConsultaCompraTest, SumsTheLinesOfAGroup)
{
    compra(QStringLiteral("S1"),
           {BonusLine{.cantidad = 600, .descontado = 1000, .global = 50},
            BonusLine{.cantidad = 400, .descontado = 500.25, .global = 25.125}});

    const double importe = llenar(QStringLiteral("S1"));
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(number(0, "Cantidad_1"), 1000);
    // The control quantities are quantity 1, not the control-quantity columns.
    EXPECT_EQ(number(0, "Cantidad_Control_1"), 1000);
    EXPECT_EQ(number(0, "Cantidad_Control_2"), 1000);
    const double base = (1000 - 50) + (500.25 - 25.125);
    EXPECT_DOUBLE_EQ(number(0, "Precio_Descontado_Importe"), base);
    EXPECT_DOUBLE_EQ(number(0, "Precio_Neto_Importe"), base * 1.16);
    EXPECT_DOUBLE_EQ(importe, base);
}

// Guards against the groups coming in whatever order the back-end produces them (a
// hashing back-end changes it from run to run): they come in the order of their keys.
TEST_P(ConsultaCompraTest, GroupsComeInTheOrderOfTheirKeys)
{
    compra(QStringLiteral("O1"),
           {BonusLine{.producto = "PR-2"}, BonusLine{}, BonusLine{.talla = "G"}, BonusLine{.factor = 0}});
    llenar(QStringLiteral("O1"));
    QStringList order;
    for (int r = 0; r < grid->rowCount(); ++r)
        order << text(r, "Pr_Cve_Producto") + u' ' + text(r, "Tl_Cve_Talla") + u' '
                + QString::number(number(r, "Impuesto_Factor"));
    EXPECT_EQ(order, (QStringList{"PR-1 G 0.16", "PR-1 M 0", "PR-1 M 0.16", "PR-2 M 0.16"}));
}

// Guards against a purchase without lines keeping the previous purchase's rows, or the
// purchase amount being reset instead of added to.
TEST_P(ConsultaCompraTest, EmptyPurchaseEmptiesTheGridAndAddsNothing)
{
    compra(QStringLiteral("E1"), {BonusLine{}});
    llenar(QStringLiteral("E1"));
    ASSERT_EQ(grid->rowCount(), 1);

    double importe = 250.5;
    auto rs = intake::ConsultaCompra(*db, QStringLiteral("NO-EXISTE"));
    intake::LlenarDetalle(rs, *grid, importe);
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_EQ(importe, 250.5);
}

// Guards against a quote in the folio ending the literal: such a folio finds exactly
// its own lines, and text that would widen the condition finds nothing.
TEST_P(ConsultaCompraTest, FolioWithQuotesFindsExactlyItsOwnLines)
{
    compra(QStringLiteral("O'1"), {BonusLine{}});
    compra(QStringLiteral("X1"), {BonusLine{}, BonusLine{}});
    BonusLine otro;
    otro.producto = QStringLiteral("PR-2");
    compra(QStringLiteral("X2"), {otro});

    EXPECT_EQ(llenar(QStringLiteral("O'1")), 100);
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(llenar(QStringLiteral("X1' OR '1'='1")), 0);
    EXPECT_EQ(grid->rowCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, ConsultaCompraTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
