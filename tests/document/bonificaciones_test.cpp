// Saved bonuses put back on the grid: the keyed index must give exactly what comparing
// every stored line with every grid row gives, cell by cell and sum by sum.
#include "document/bonificaciones.h"
#include "intake/detail_format.h"
#include "platform/controls/form.h"
#include "tests/document/fake_record_set.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qmx44;

namespace {

struct Fila {
    const char *producto, *talla, *color, *unidad1, *control1, *control2;
    double base, factor;
};

struct Guardada {
    QVariant producto, talla, color, unidad1, control1, control2;
    double importe;
};

QVariantHash comoFila(const Guardada &g)
{
    return {{QStringLiteral("Pr_Cve_Producto"), g.producto},   {QStringLiteral("Tl_Cve_Talla"), g.talla},
            {QStringLiteral("Cl_Cve_Color"), g.color},         {QStringLiteral("Nc_Unidad_1"), g.unidad1},
            {QStringLiteral("Nc_Unidad_Control_1"), g.control1}, {QStringLiteral("Nc_Unidad_Control_2"), g.control2},
            {QStringLiteral("Nc_Precio_Descontado_Importe"), g.importe}};
}

class Rejilla {
public:
    explicit Rejilla(const std::vector<Fila> &filas) : grid(form.add<controls::Grid>(QStringLiteral("ssDetalle")))
    {
        intake::configureDetailGrid(grid);
        for (const Fila &f : filas) {
            grid.addRow();
            const int r = grid.currentRow();
            set(r, "Pr_Cve_Producto", QString::fromUtf8(f.producto));
            set(r, "Tl_Cve_Talla", QString::fromUtf8(f.talla));
            set(r, "Cl_Cve_Color", QString::fromUtf8(f.color));
            set(r, "Unidad_1", QString::fromUtf8(f.unidad1));
            set(r, "Unidad_Control_1", QString::fromUtf8(f.control1));
            set(r, "Unidad_Control_2", QString::fromUtf8(f.control2));
            set(r, "Precio_Descontado_Importe", f.base);
            set(r, "Impuesto_Factor", f.factor);
            set(r, "BON_PORCENTAJE", 0);
            set(r, "BON_IMPORTE", 0);
        }
    }
    void set(int r, const char *col, const QVariant &v) { grid.setCellValue(r, grid.columnIndex(QString::fromLatin1(col)), v); }
    QVariant get(int r, const char *col) const { return grid.cellValue(r, grid.columnIndex(QString::fromLatin1(col))); }

    controls::Form form{QStringLiteral("prueba")};
    controls::Grid &grid;
};

// The scan as first written: every stored line against every grid row.
document::TotalesBonificacion escaneoAnidado(const std::vector<Guardada> &guardadas, Rejilla &r)
{
    document::TotalesBonificacion t;
    const char *cols[] = {"Pr_Cve_Producto", "Tl_Cve_Talla", "Cl_Cve_Color", "Unidad_1", "Unidad_Control_1", "Unidad_Control_2"};
    for (const Guardada &g : guardadas) {
        const QVariant claves[] = {g.producto, g.talla, g.color, g.unidad1, g.control1, g.control2};
        for (int row = 0; row < r.grid.rowCount(); ++row) {
            bool iguales = true;
            for (int k = 0; k < 6; ++k)
                iguales = iguales && !claves[k].isNull()
                          && r.grid.cellText(row, r.grid.columnIndex(QString::fromLatin1(cols[k]))) == claves[k].toString();
            if (!iguales)
                continue;
            const double base = r.get(row, "Precio_Descontado_Importe").toDouble();
            r.set(row, "BON_PORCENTAJE", base == 0 ? 0.0 : g.importe / base * 100);
            r.set(row, "BON_IMPORTE", g.importe);
            const double bon = r.get(row, "BON_IMPORTE").toDouble();
            t.subTotal = t.subTotal + bon;
            t.impuestos = t.impuestos + bon * r.get(row, "Impuesto_Factor").toDouble();
        }
    }
    return t;
}

bool mismosBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

const std::vector<Fila> kFilas = {
    {"BT-001", "27", "NEG", "PAR", "PAR", "KG", 1000, 0.16},
    {"BT-001", "27", "NEG", "PAR", "PAR", "KG", 333.33, 0.16},   // same keys: both rows take the line
    {"BT-001", "27", "NEG", "PAR", "PAR", "KG", 0, 0.16},        // zero base: percent 0
    {"BT-001", "28", "NEG", "PAR", "PAR", "KG", 1240, 0.16},
    {"bt-001", "28", "NEG", "PAR", "PAR", "KG", 1240, 0.16},      // letter case counts
    {"CJ-001", "", "", "PZA", "PZA", "KG", 675, 0.16},
    {"LB-001", "", "", "PZA", "PZA", "KG", 1750, 0},
    {"AB", "C", "", "PZA", "PZA", "KG", 10, 0},                    // keys that join alike
    {"A", "BC", "", "PZA", "PZA", "KG", 10, 0},
};

} // namespace

// Guards against the keyed lookup giving other cells or other sums than the full scan:
// repeated rows, a line stored twice, null keys, case, blank keys and zero bases.
TEST(DocumentAplicarBonificaciones, SameResultAsComparingEveryLineWithEveryRow)
{
    const QVariant nulo;
    const std::vector<Guardada> guardadas = {
        {"BT-001", "27", "NEG", "PAR", "PAR", "KG", 150},
        {"BT-001", "28", "NEG", "PAR", "PAR", "KG", 0.1},
        {"CJ-001", "", "", "PZA", "PZA", "KG", 12.345678901},
        {"CJ-001", "", "", "PZA", "PZA", "KG", 7},                     // the later line wins the cells, both add
        {"LB-001", nulo, "", "PZA", "PZA", "KG", 99},                   // a null key matches nothing
        {"LB-001", "", "", "PZA", "PZA", "KG ", 99},                    // a trailing blank is another key
        {"RV-001", "", "", "PZA", "PZA", "KG", 55},                     // no such row
        {"AB", "C", "", "PZA", "PZA", "KG", 3},
    };
    std::vector<QVariantHash> filas;
    for (const auto &g : guardadas)
        filas.push_back(comoFila(g));

    Rejilla indexada(kFilas), anidada(kFilas);
    test::FakeRecordSet rs(filas);
    document::TotalesBonificacion t;
    document::aplicarBonificaciones(rs, indexada.grid, t);
    const document::TotalesBonificacion esperado = escaneoAnidado(guardadas, anidada);

    EXPECT_TRUE(rs.eof());
    EXPECT_TRUE(mismosBits(esperado.subTotal, t.subTotal)) << esperado.subTotal << " vs " << t.subTotal;
    EXPECT_TRUE(mismosBits(esperado.impuestos, t.impuestos)) << esperado.impuestos << " vs " << t.impuestos;
    for (int row = 0; row < indexada.grid.rowCount(); ++row)
        for (const char *col : {"BON_PORCENTAJE", "BON_IMPORTE"})
            EXPECT_EQ(anidada.get(row, col), indexada.get(row, col)) << "row " << row << ' ' << col;

    // The figures a user sees for the first line: 150 on a base of 1,000 is 15 %.
    EXPECT_EQ(15.0, indexada.get(0, "BON_PORCENTAJE").toDouble());
    EXPECT_EQ(150.0, indexada.get(1, "BON_IMPORTE").toDouble());
    EXPECT_EQ(0.0, indexada.get(2, "BON_PORCENTAJE").toDouble());
    EXPECT_EQ(150.0, indexada.get(2, "BON_IMPORTE").toDouble());
    EXPECT_EQ(0.0, indexada.get(4, "BON_IMPORTE").toDouble());
    EXPECT_EQ(7.0, indexada.get(5, "BON_IMPORTE").toDouble());
    EXPECT_EQ(0.0, indexada.get(6, "BON_IMPORTE").toDouble());
    EXPECT_EQ(3.0, indexada.get(7, "BON_IMPORTE").toDouble());
    EXPECT_EQ(0.0, indexada.get(8, "BON_IMPORTE").toDouble());
}
