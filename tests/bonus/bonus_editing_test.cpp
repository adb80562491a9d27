// Bonus editing in the detail grid, driven as a user edits (the grid's own event order
// 26, 13, 28, 50): the key filter, percent and amount kept consistent, the totals kept
// equal to the sums over the rows, and the texts that are not numbers.
#include "bonus/bonus_editing.h"
#include "platform/controls/keys.h"
#include "tests/bonus/bonus_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace qmx44;
using namespace qmx44::controls;

namespace {

const QString Pct = QStringLiteral("BON_PORCENTAJE");
const QString Imp = QStringLiteral("BON_IMPORTE");

class bonusEdicion : public ::testing::Test {
protected:
    void SetUp() override
    {
        edicion = std::make_shared<bonus::EdicionBonos>(f.grid, f.totales(), f.BaseSubTotal,
                                                        f.BaseImpuestos, f.utilerias);
        bonus::EdicionBonos::conectar(edicion);
    }
    // The user edits the cell: goes to it, replaces its content by `texto`, leaves it.
    void editar(int row, const QString &column, const QString &texto)
    {
        f.grid.editCell(row, f.col(column), QStringLiteral("\b") + texto);
    }
    // The key filter alone, on the cell (row 0, column).
    int tecla(const QString &column, int code)
    {
        f.grid.gotoCell(0, f.col(column));
        edicion->ssDetalle_KeyPress(code);
        return code;
    }

    test::FormaBonos f;
    std::shared_ptr<bonus::EdicionBonos> edicion;
};

} // namespace

namespace {
// One value typed into a fresh row (bonuses and totals 0) and what it must give.
struct Cuenta {
    const char *nombre;
    double base, factor;
    const char *columna;
    const char *texto;
    double pct, importe, sub, tot;
};
void PrintTo(const Cuenta &c, std::ostream *os) { *os << c.nombre; }
class bonusEdicionCuentas : public bonusEdicion, public ::testing::WithParamInterface<Cuenta> {};
} // namespace

// Guards the arithmetic of one edit: the other column derived at full precision (not cut
// to the display format), the tax by the row's factor, and a row without base.
TEST_P(bonusEdicionCuentas, DerivesTheOtherColumnAndTheTotals)
{
    const Cuenta &c = GetParam();
    f.agregar({.base = c.base, .factor = c.factor});
    editar(0, QString::fromLatin1(c.columna), QString::fromLatin1(c.texto));
    EXPECT_EQ(c.pct, f.numero(0, Pct));
    EXPECT_EQ(c.importe, f.numero(0, Imp));
    EXPECT_DOUBLE_EQ(c.sub, f.sub());
    EXPECT_DOUBLE_EQ(c.tot - c.sub, f.imp());
    EXPECT_DOUBLE_EQ(c.tot, f.tot());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, bonusEdicionCuentas,
    ::testing::Values(
        Cuenta{"10 % of 250 at 16 % tax", 250, 0.16, "BON_PORCENTAJE", "10", 10, 25, 25, 29},
        Cuenta{"25 of 250 is 10 %", 250, 0.16, "BON_IMPORTE", "25", 10, 25, 25, 29},
        Cuenta{"1 % of 3 is 0.03", 3, 0, "BON_PORCENTAJE", "1", 1, 0.03, 0.03, 0.03},
        Cuenta{"1 of 3 is (1 / 3) x 100 as a double", 3, 0, "BON_IMPORTE", "1", 33.333333333333329, 1, 1, 1},
        Cuenta{"an amount on a row without base: percent 0", 0, 0.16, "BON_IMPORTE", "5", 0, 5, 5, 5.8},
        Cuenta{"a percent on a row without base: amount 0", 0, 0.16, "BON_PORCENTAJE", "50", 50, 0, 0, 0},
        Cuenta{"a percent whose amount overflows counts as 0", 1e300, 0, "BON_PORCENTAJE",
               "100000000000000000000", 1e20, 0, 0, 0}));

// Guards the constant-time totals: the row's old bonus is taken out on entering the
// cell, so changing 25 to 40 raises the subtotal by 15, not 40.
TEST_F(bonusEdicion, ReplacingABonusAddsOnlyTheDifference)
{
    f.agregar({.base = 250, .factor = 0.16});
    f.agregar({.base = 100, .factor = 0});
    editar(0, Imp, QStringLiteral("25"));
    editar(1, Imp, QStringLiteral("10"));
    EXPECT_EQ(35.0, f.sub());
    editar(0, Imp, QStringLiteral("40"));
    EXPECT_EQ(50.0, f.sub());
    EXPECT_DOUBLE_EQ(6.4, f.imp());
    EXPECT_DOUBLE_EQ(56.4, f.tot());
}

namespace {
struct TeclaCaso {
    const char *columna;
    int code;
    int esperado;
};
void PrintTo(const TeclaCaso &c, std::ostream *os) { *os << c.columna << " key " << c.code; }
class bonusEdicionTeclas : public bonusEdicion, public ::testing::WithParamInterface<TeclaCaso> {};
} // namespace

// Guards the key filter: only digits, the point and Backspace reach a bonus cell; a
// locked column lets every key through to the grid.
TEST_P(bonusEdicionTeclas, FiltersKeys)
{
    f.agregar({});
    const TeclaCaso &c = GetParam();
    EXPECT_EQ(c.esperado, tecla(QString::fromLatin1(c.columna), c.code));
}

INSTANTIATE_TEST_SUITE_P(
    Casos, bonusEdicionTeclas,
    ::testing::Values(TeclaCaso{"BON_PORCENTAJE", '0', '0'}, TeclaCaso{"BON_PORCENTAJE", '9', '9'},
                      TeclaCaso{"BON_IMPORTE", '.', '.'}, TeclaCaso{"BON_IMPORTE", 8, 8},
                      TeclaCaso{"BON_IMPORTE", 'a', 0}, TeclaCaso{"BON_PORCENTAJE", '-', 0},
                      TeclaCaso{"BON_PORCENTAJE", ' ', 0}, TeclaCaso{"BON_IMPORTE", ',', 0},
                      TeclaCaso{"BON_IMPORTE", '+', 0}, TeclaCaso{"BON_IMPORTE", 0x00BD, 0},
                      TeclaCaso{"BON_IMPORTE", 27, 0},
                      TeclaCaso{"Precio_Descontado_Importe", 'a', 'a'},
                      TeclaCaso{"Pr_Cve_Producto", '-', '-'}));

// Guards Enter: it types nothing and moves to the next cell, in a bonus column and in a
// locked one alike.
TEST_F(bonusEdicion, EnterMovesOnAndTypesNothing)
{
    f.agregar({.base = 250});
    f.agregar({.base = 100});
    f.grid.gotoCell(0, f.col(Pct));
    f.grid.typeChar('5');
    f.grid.typeChar(keys::Enter);
    EXPECT_EQ(f.col(Imp), f.grid.currentColumn());
    EXPECT_EQ(5.0, f.numero(0, Pct)); // the edit was finished, without a character added
    EXPECT_EQ(12.5, f.sub());
    f.grid.gotoCell(0, f.col(QStringLiteral("Pr_Cve_Producto")));
    int code = keys::Enter;
    edicion->ssDetalle_KeyPress(code);
    EXPECT_EQ(0, code);
    EXPECT_EQ(f.col(QStringLiteral("Pr_Descripcion")), f.grid.currentColumn());
}

// Guards that a bonus typed with the keyboard path (the form routing keys to the
// focused grid) is filtered the same way: "1a2" gives 12.
TEST_F(bonusEdicion, KeyboardPathFiltersTheSameKeys)
{
    f.agregar({.base = 200, .factor = 0});
    f.grid.gotoCell(0, f.col(Pct));
    f.form.typeText(QStringLiteral("1a-2"));
    f.form.keyStroke(keys::Tab);
    EXPECT_EQ(12.0, f.numero(0, Pct));
    EXPECT_EQ(24.0, f.sub());
}

namespace {
// Texts that are not (yet) numbers, typed into a cell whose row has base 200.
struct TextoCaso {
    const char *columna;
    const char *texto;
    double pct;
    double importe;
};
void PrintTo(const TextoCaso &c, std::ostream *os) { *os << c.columna << " '" << c.texto << "'"; }
class bonusEdicionTextos : public bonusEdicion, public ::testing::WithParamInterface<TextoCaso> {};
} // namespace

// Guards the texts with no number: they count as 0 while typed (nothing becomes NaN),
// and the cell shows 0 once left, so what is shown is what is counted.
TEST_P(bonusEdicionTextos, TextWithoutANumberCountsAsZero)
{
    const TextoCaso &c = GetParam();
    f.agregar({.base = 200, .factor = 0.16});
    editar(0, Imp, QStringLiteral("30")); // a previous bonus, replaced below
    editar(0, QString::fromLatin1(c.columna), QString::fromLatin1(c.texto));
    EXPECT_EQ(c.pct, f.numero(0, Pct));
    EXPECT_EQ(c.importe, f.numero(0, Imp));
    EXPECT_TRUE(f.valor(0, Pct).isValid());
    EXPECT_TRUE(f.valor(0, Imp).isValid());
    EXPECT_DOUBLE_EQ(c.importe, f.sub());
    EXPECT_DOUBLE_EQ(c.importe * 1.16, f.tot());
    EXPECT_TRUE(f.sink->messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, bonusEdicionTextos,
    ::testing::Values(TextoCaso{"BON_PORCENTAJE", "", 0, 0}, TextoCaso{"BON_IMPORTE", "", 0, 0},
                      TextoCaso{"BON_PORCENTAJE", ".", 0, 0}, TextoCaso{"BON_IMPORTE", ".", 0, 0},
                      TextoCaso{"BON_PORCENTAJE", "1.2.", 0, 0}, TextoCaso{"BON_IMPORTE", "..5", 0, 0},
                      TextoCaso{"BON_PORCENTAJE", ".5", 0.5, 1}, TextoCaso{"BON_IMPORTE", "5.", 2.5, 5}));

// Guards the emptied cell: Backspace alone, then leaving, stores the number 0.
TEST_F(bonusEdicion, EmptiedCellBecomesZeroWhenLeft)
{
    f.agregar({.base = 200});
    editar(0, Pct, QStringLiteral("10"));
    f.grid.gotoCell(0, f.col(Pct));
    f.grid.typeChar(keys::Backspace);
    EXPECT_EQ(QString(), f.grid.cellText(0, f.col(Pct)));
    EXPECT_EQ(0.0, f.sub()); // already counted as 0 while empty
    f.grid.endEdit();
    EXPECT_EQ(QVariant(0.0), f.valor(0, Pct));
}

// Guards the invariant over any sequence of user edits (random, seeded): whenever a cell
// is entered the totals equal the sums over the rows, and every row's percent and amount
// agree; nothing becomes infinite or NaN.
TEST_F(bonusEdicion, TotalsStayTheSumsOverTheRows)
{
    std::mt19937 gen(4401);
    const int filas = 12;
    for (int i = 0; i < filas; ++i)
        f.agregar({.base = double(i % 4 == 3 ? 0 : 50 * (i + 1)) + 0.37, .factor = (i % 3) * 0.08});
    f.grid.setCellValue(5, f.col(QStringLiteral("Precio_Descontado_Importe")), 0.0);
    const QStringList textos = {"", ".", "1..", "0", "7", "12.5", "0.125", "99", "3.3333", "100", "250.75", "1.2.3"};
    const QString columnas[] = {Pct, Imp, QStringLiteral("Precio_Descontado_Importe")};
    std::uniform_int_distribution<int> fila(0, filas - 1), columna(0, 2), texto(0, int(textos.size()) - 1),
        accion(0, 9);
    for (int paso = 0; paso < 400; ++paso) {
        const int r = fila(gen);
        const QString &c = columnas[columna(gen)];
        switch (accion(gen)) {
        case 0: // Enter in the middle of a cell
            f.grid.gotoCell(r, f.col(c));
            f.grid.typeChar('4');
            f.grid.typeChar(keys::Enter);
            break;
        case 1: // move only
            f.grid.gotoCell(r, f.col(c));
            break;
        default:
            editar(r, c, textos[texto(gen)]);
        }
        // Entering a cell is when the invariant must hold: check after leaving the edit.
        f.grid.endEdit();
        double sub = 0, imp = 0;
        for (int i = 0; i < filas; ++i) {
            const double a = f.numero(i, Imp), p = f.numero(i, Pct);
            const double base = f.numero(i, QStringLiteral("Precio_Descontado_Importe"));
            ASSERT_TRUE(std::isfinite(a) && std::isfinite(p));
            sub += a;
            imp += a * f.numero(i, QStringLiteral("Impuesto_Factor"));
            if (base != 0) {
                ASSERT_NEAR(a, base * p / 100, 1e-9 * std::fmax(1.0, std::fabs(a))) << "row " << i;
            }
        }
        ASSERT_NEAR(sub, f.sub(), 1e-9) << "step " << paso;
        ASSERT_NEAR(imp, f.imp(), 1e-9) << "step " << paso;
        ASSERT_NEAR(f.sub() + f.imp(), f.tot(), 1e-9) << "step " << paso;
    }
    EXPECT_TRUE(f.sink->messages().empty());
}
