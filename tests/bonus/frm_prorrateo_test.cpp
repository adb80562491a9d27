// The proration dialog shown modally over a main form, driven through a presenter as a
// user drives it: its opening state, the accept paths and their messages, Escape and F4
// from any control, Down on an option, and that it starts afresh at every opening.
#include "bonus/frm_prorrateo.h"
#include "platform/controls/keys.h"
#include "tests/bonus/bonus_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace qmx44;
using namespace qmx44::controls;
using qmx44::test::Linea;

namespace {

const QString Imp = QStringLiteral("BON_IMPORTE");

// Runs the steps given for one opening, like a user in front of the dialog.
struct Usuario : ModalPresenter {
    std::function<void(Form &)> pasos;
    int aperturas = 0;
    bool cerroSolo = false;   // the dialog hid itself during the steps
    QString focoFinal;
    void runModal(Form &dialog) override
    {
        ++aperturas;
        if (pasos)
            pasos(dialog);
        cerroSolo = !dialog.isVisible();
        focoFinal = dialog.focused() ? dialog.focused()->name() : QString();
    }
};

enum class Accion { Aceptar, F4, Cancelar, Escape };

class bonusDialogo : public ::testing::Test {
protected:
    void SetUp() override { f.form.setPresenter(&usuario); }

    bonus::DestinoProrrateo destino()
    {
        return bonus::DestinoProrrateo{f.form, f.grid, f.totales(),
                                       f.BaseSubTotal, f.BaseImpuestos, f.sistema,
                                       f.utilerias};
    }
    // One opening as the toolbar's command makes it: load, ImporteFactura, modal, unload.
    void abrir(double importeFactura, std::function<void(Form &)> pasos)
    {
        usuario.pasos = std::move(pasos);
        bonus::FrmProrrateo dialogo(destino());
        dialogo.ImporteFactura = importeFactura;
        dialogo.mostrarModal();
        dialogo.unload();
    }
    static void escribir(Form &d, const QString &importe)
    {
        auto &t = d.get<TextField>(QStringLiteral("txtImporte"));
        t.setFocus();
        t.selectAll();
        d.typeText(importe);
    }
    static void actuar(Form &d, Accion a)
    {
        switch (a) {
        case Accion::Aceptar: d.get<Button>(QStringLiteral("cmdAceptar")).click(); break;
        case Accion::F4: d.keyStroke(keys::F4); break;
        case Accion::Cancelar: d.get<Button>(QStringLiteral("cmdCancelar")).click(); break;
        case Accion::Escape: d.keyStroke(keys::Escape); break;
        }
    }
    QStringList ids() const
    {
        QStringList out;
        for (const Message &m : f.sink->messages())
            out << m.id;
        return out;
    }

    test::FormaBonos f;
    Usuario usuario;
};

} // namespace

// Guards the state of every opening: Option1 chosen, "$0.0000", focus in the amount, the
// colour scheme applied once, and the tab order that Down on an option walks.
TEST_F(bonusDialogo, OpensChosenOnTheFirstBasisWithTheFocusInTheAmount)
{
    f.agregar({});
    int esquema = -1;
    QStringList orden;
    abrir(100, [&](Form &d) {
        EXPECT_TRUE(d.get<OptionButton>(QStringLiteral("Option1")).selected());
        EXPECT_FALSE(d.get<OptionButton>(QStringLiteral("Option2")).selected());
        EXPECT_FALSE(d.get<OptionButton>(QStringLiteral("Option3")).selected());
        EXPECT_EQ(QStringLiteral("$0.0000"), d.get<TextField>(QStringLiteral("txtImporte")).text());
        EXPECT_EQ(QStringLiteral("txtImporte"), d.focused() ? d.focused()->name() : QString());
        esquema = d.get<ColorScheme>(QStringLiteral("EsquemaColor")).timesApplied();
        for (Control *c : d.tabOrder())
            orden << c->name();
    });
    EXPECT_EQ(1, esquema);
    EXPECT_EQ((QStringList{"Option1", "Option2", "Option3", "txtImporte", "cmdAceptar", "cmdCancelar"}), orden);
}

namespace {
struct Camino {
    const char *nombre;
    std::vector<Linea> lineas;
    double importeFactura;
    const char *importe;   // nullptr: nothing typed
    int opcion;            // 1..3
    Accion accion;
    QStringList ids;       // messages shown
    bool cierra;           // the dialog hid itself
    double subTotal;       // after: -1 = unchanged
    const char *foco;      // focus when it stays open
};
void PrintTo(const Camino &c, std::ostream *os) { *os << c.nombre; }
class bonusDialogoCaminos : public bonusDialogo, public ::testing::WithParamInterface<Camino> {};

Linea pieza(double base, double q = 1, const char *unidad = "PZA", double q2 = 1)
{
    return Linea{.base = base, .factor = 0, .control1 = q, .unidad1 = QString::fromLatin1(unidad), .control2 = q2};
}
} // namespace

// Guards each path through the accept steps: which message, whether the dialog closes,
// whether the rows and totals changed, and where the focus is left.
TEST_P(bonusDialogoCaminos, FollowsTheAcceptSteps)
{
    const Camino &c = GetParam();
    for (const Linea &l : c.lineas)
        f.agregar(l);
    f.grid.setCellValue(0, f.col(Imp), 2.0);
    f.subTotal.setValue(2.0);
    abrir(c.importeFactura, [&](Form &d) {
        if (c.importe)
            escribir(d, QString::fromLatin1(c.importe));
        d.get<OptionButton>(QStringLiteral("Option%1").arg(c.opcion)).click();
        actuar(d, c.accion);
    });
    EXPECT_EQ(c.ids, ids());
    EXPECT_EQ(c.cierra, usuario.cerroSolo);
    if (c.subTotal < 0) {
        EXPECT_EQ(2.0, f.sub());
        EXPECT_EQ(2.0, f.numero(0, Imp));
    } else {
        EXPECT_DOUBLE_EQ(c.subTotal, f.sub());
    }
    if (c.foco) {
        EXPECT_EQ(QString::fromLatin1(c.foco), usuario.focoFinal);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, bonusDialogoCaminos,
    ::testing::Values(
        Camino{"zero amount", {pieza(100)}, 100, "0", 1, Accion::Aceptar,
               {"ERR-ID:7500024"}, false, -1, "txtImporte"},
        Camino{"untouched $0.0000 with F4", {pieza(100)}, 100, nullptr, 1, Accion::F4,
               {"ERR-ID:7500024"}, false, -1, "txtImporte"},
        Camino{"negative amount", {pieza(100)}, 100, "-5", 1, Accion::Aceptar,
               {"ERR-ID:7500024"}, false, -1, "txtImporte"},
        Camino{"text that is no number", {pieza(100)}, 100, "1.2.3", 1, Accion::Aceptar,
               {"ERR-ID:7500024"}, false, -1, "txtImporte"},
        Camino{"one cent above the purchase", {pieza(100), pieza(200)}, 300, "300.01", 3, Accion::Aceptar,
               {"ERR-ID:7500025"}, false, -1, "txtImporte"},
        Camino{"exactly the purchase amount", {pieza(100), pieza(200)}, 300, "300", 3, Accion::Aceptar,
               {}, true, 300, nullptr},
        Camino{"the purchase amount shown, its sum a hair below", {pieza(100.10), pieza(200.20)},
               100.10 + 200.20, "$300.30", 3, Accion::F4, {}, true, 300.3, nullptr},
        Camino{"units differ", {pieza(100, 1, "PZA"), pieza(100, 1, "KG")}, 200, "50", 1, Accion::Aceptar,
               {"ERR-ID:7500026"}, true, -1, nullptr},
        Camino{"basis without total", {pieza(100, 1, "PZA", 0), pieza(100, 1, "PZA", 0)}, 200, "50", 2,
               Accion::Aceptar, {"ERR-ID:7500027"}, false, -1, "Option2"},
        Camino{"thousands separators typed", {pieza(1000), pieza(1000)}, 2000, "1,500.5", 1, Accion::Aceptar,
               {}, true, 1500.5, nullptr},
        Camino{"cancelled", {pieza(100)}, 100, "50", 1, Accion::Cancelar, {}, true, -1, nullptr},
        Camino{"escaped", {pieza(100)}, 100, "50", 3, Accion::Escape, {}, true, -1, nullptr}));

// Guards the key preview: F4 accepts with the focus on an option button, Escape cancels
// with the focus on Aceptar.
TEST_F(bonusDialogo, EscapeAndF4WorkFromAnyControl)
{
    f.agregar(pieza(100));
    abrir(100, [&](Form &d) {
        escribir(d, QStringLiteral("40"));
        d.get<OptionButton>(QStringLiteral("Option3")).setFocus();
        d.keyStroke(keys::F4);
    });
    EXPECT_TRUE(usuario.cerroSolo);
    EXPECT_EQ(40.0, f.sub());
    abrir(100, [&](Form &d) {
        escribir(d, QStringLiteral("70"));
        d.get<Button>(QStringLiteral("cmdAceptar")).setFocus();
        d.keyStroke(keys::Escape);
    });
    EXPECT_TRUE(usuario.cerroSolo);
    EXPECT_EQ(40.0, f.sub());
}

// Guards Down on an option: the focus moves on as with Tab, the choice stays.
TEST_F(bonusDialogo, DownOnAnOptionMovesTheFocusOn)
{
    f.agregar(pieza(100));
    QStringList focos;
    abrir(100, [&](Form &d) {
        d.get<OptionButton>(QStringLiteral("Option1")).setFocus();
        for (int i = 0; i < 3; ++i) {
            d.keyStroke(keys::Down);
            focos << d.focused()->name();
        }
        EXPECT_TRUE(d.get<OptionButton>(QStringLiteral("Option1")).selected());
    });
    EXPECT_EQ((QStringList{"Option2", "Option3", "txtImporte"}), focos);
}

// Guards the keyboard-only path: Enter in the amount moves to Aceptar (tabonenter) and
// Enter there accepts.
TEST_F(bonusDialogo, EnterThenEnterAccepts)
{
    f.agregar(pieza(100));
    abrir(100, [&](Form &d) {
        escribir(d, QStringLiteral("25"));
        d.keyStroke(keys::Enter);
        EXPECT_EQ(QStringLiteral("cmdAceptar"), d.focused()->name());
        d.keyStroke(keys::Enter);
    });
    EXPECT_TRUE(usuario.cerroSolo);
    EXPECT_EQ(25.0, f.sub());
}

// Guards that nothing survives an opening: after a refused amount and another option,
// the next opening shows Option1 and "$0.0000" again.
TEST_F(bonusDialogo, EveryOpeningStartsAfresh)
{
    f.agregar(pieza(100));
    abrir(100, [&](Form &d) {
        escribir(d, QStringLiteral("900"));
        d.get<OptionButton>(QStringLiteral("Option3")).click();
        actuar(d, Accion::Aceptar);
    });
    abrir(100, [&](Form &d) {
        EXPECT_TRUE(d.get<OptionButton>(QStringLiteral("Option1")).selected());
        EXPECT_EQ(QStringLiteral("$0.0000"), d.get<TextField>(QStringLiteral("txtImporte")).text());
    });
    EXPECT_EQ(2, usuario.aperturas);
    EXPECT_EQ(&f.form, Desktop::activeForm()); // the main form is active again
}
