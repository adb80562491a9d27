// The main form's lifecycle on the demo company: load (the cause statement, the date,
// the page), the first and later activations, the page shortcuts, the page change, the
// tab strip's Enter and unload — on every back-end.
#include "screen/cause_lookup.h"
#include "screen_fixture.h"

#include "platform/controls/keys.h"

#include <gtest/gtest.h>

using namespace qmx44;
namespace keys = qmx44::controls::keys;

namespace {

// ---- the cause statement (text only) -------------------------------------------------------------------

struct CauseCase {
    const char *devolucion;
    const char *rechazo;
    const char *notIn;   // what must stand between "NOT IN(" and ")"
};

void PrintTo(const CauseCase &c, std::ostream *os) { *os << c.devolucion << "/" << c.rechazo; }

class CauseStatementTest : public ::testing::TestWithParam<CauseCase> {};

// Guards against a changed statement text, a lost comma-blank between the keys, and a
// quote in a parameter ending its literal (the keys go through the quoting helper).
TEST_P(CauseStatementTest, ListsBothCausesInTheNotInListThenTheStateTest)
{
    const CauseCase &c = GetParam();
    const QString expected =
        QStringLiteral("SELECT Cn_Descripcion FROM Causa_Nota_Credito_Proveedor "
                       "WHERE Cn_Cve_Causa_Nota_Credito_Proveedor = '?' AND "
                       "      Cn_Cve_Causa_Nota_Credito_Proveedor NOT IN(")
        + QString::fromUtf8(c.notIn) + QStringLiteral(") AND       Es_Cve_Estado <> 'BA'");
    EXPECT_EQ(screen::causeLookupStatement(QString::fromUtf8(c.devolucion), QString::fromUtf8(c.rechazo)),
              expected);
}

INSTANTIATE_TEST_SUITE_P(Causes, CauseStatementTest,
                         ::testing::Values(CauseCase{"DV", "RC", "'DV', 'RC'"},
                                           CauseCase{"", "", "'', ''"},
                                           CauseCase{"D'V", "R''C", "'D''V', 'R''''C'"},
                                           CauseCase{"') OR 1=1 --", "RC", "''') OR 1=1 --', 'RC'"}));

// ---- the form ----------------------------------------------------------------------------------------

class LifecycleTest : public ::testing::TestWithParam<std::string> {};

// Guards against the load leaving the cause statement of design time, a wrong date,
// the design page 1, or the members unread.
TEST_P(LifecycleTest, LoadSetsMembersCauseStatementDateAndPage)
{
    test::PantallaDemo p(GetParam());
    p.abrir();
    EXPECT_EQ(p.frm->MonedaLocal, QStringLiteral("MN"));
    EXPECT_EQ(p.frm->CausaDevolucion, QStringLiteral("DV"));
    EXPECT_EQ(p.frm->CausaRechazo, QStringLiteral("RC"));
    EXPECT_TRUE(p.frm->AplicarNotaCredito);
    EXPECT_TRUE(p.frm->PuedeCambiarFecha);     // ADMIN holds CHFECHA
    EXPECT_FALSE(p.frm->DerechoTipoCambio);    // ... and not CHTC01
    EXPECT_TRUE(p.frm->AjusteGrid && p.frm->DireccionEntrega);
    EXPECT_EQ(p.campo("txt_Cn_Cve_Causa_Nota").sql(), screen::causeLookupStatement("DV", "RC"));
    EXPECT_EQ(p.campo("txt_Cn_Cve_Causa_Nota").sqlControlResultado(), QStringLiteral("txt_Cn_Descripcion"));
    EXPECT_EQ(p.campo("txt_Sc_Cve_Sucursal").format().toString(), QStringLiteral("000"));
    EXPECT_EQ(p.frm->dpFecha().value(), QDate(2024, 7, 15));
    EXPECT_EQ(p.frm->ssTabFichas().activePage(), 0);
    EXPECT_TRUE(p.frm->fr0().enabled());
    EXPECT_FALSE(p.frm->fr1().enabled());
    EXPECT_TRUE(p.frm->Controles().nuevoHabilitado());
    EXPECT_EQ(p.frm->loadCount(), 1);
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards against the return/rejection causes or a retired cause being accepted, and
// against a quote in a cause parameter breaking the statement.
TEST_P(LifecycleTest, CauseLookupRefusesReturnRejectionAndRetiredCauses)
{
    test::PantallaDemo p(GetParam());
    p.parametro("CXC_CAUSA_RECHAZO", QStringLiteral("R'C"));
    p.abrir();
    auto &causa = p.campo("txt_Cn_Cve_Causa_Nota");
    const struct { const char *key; const char *description; } cases[] = {
        {"BC", "Bonificación comercial"}, {"DV", ""}, {"AN", ""}, {"RC", "Rechazo de mercancía"}};
    for (const auto &c : cases) {
        causa.setText(QString::fromLatin1(c.key));
        EXPECT_EQ(p.campo("txt_Cn_Descripcion").text(), QString::fromUtf8(c.description)) << c.key;
    }
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards the catalogues the form registers for its searches: each runs on the back-end,
// and the retired cause AN is not offered.
TEST_P(LifecycleTest, FieldSearchesRunTheirCataloguesWithoutRetiredCauses)
{
    test::PantallaDemo p(GetParam());
    p.abrir();
    for (const char *name : {"txtFolio", "txt_Co_Folio", "txt_Cn_Cve_Causa_Nota"})
        EXPECT_FALSE(p.campo(name).search().empty()) << name;
    for (const auto &row : p.campo("txt_Cn_Cve_Causa_Nota").search())
        EXPECT_NE(QStringLiteral("AN"), row.clave);
    EXPECT_TRUE(p.sink->messages().empty());
}

struct UserCase {
    const char *user;
    const char *branch, *branchTag, *branchDescription;
    const char *warehouse, *warehouseTag, *warehouseDescription;
};

class FirstActivationTest : public ::testing::TestWithParam<std::tuple<std::string, UserCase>> {};

// Guards against a preset key not tagged "0" (it would be cleared by the next Nuevo), a
// tag set for an unrestricted user, a preset warehouse without its description, and
// the focus not starting in txtFolio.
TEST_P(FirstActivationTest, PresetsTheUsersBranchAndWarehouse)
{
    const auto &[backend, c] = GetParam();
    test::PantallaDemo p(backend, QString::fromLatin1(c.user));
    p.abrir();
    EXPECT_FALSE(p.frm->PrimeraActivacion);
    EXPECT_EQ(p.campo("txt_Sc_Cve_Sucursal").text(), QString::fromUtf8(c.branch));
    EXPECT_EQ(p.campo("txt_Sc_Cve_Sucursal").tag(), QString::fromUtf8(c.branchTag));
    EXPECT_EQ(p.campo("txt_Sc_Descripcion").text(), QString::fromUtf8(c.branchDescription));
    EXPECT_EQ(p.campo("txt_Al_Cve_Almacen").text(), QString::fromUtf8(c.warehouse));
    EXPECT_EQ(p.campo("txt_Al_Cve_Almacen").tag(), QString::fromUtf8(c.warehouseTag));
    EXPECT_EQ(p.campo("txt_Al_Descripcion").text(), QString::fromUtf8(c.warehouseDescription));
    EXPECT_EQ(p.foco(), QStringLiteral("txtFolio"));
    EXPECT_TRUE(p.sink->messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Users, FirstActivationTest,
    ::testing::Combine(::testing::ValuesIn(test::backends()),
                       ::testing::Values(UserCase{"ADMIN", "", "", "", "", "", ""},
                                         UserCase{"GDL01", "001", "0", "Matriz Guadalajara", "", "", ""},
                                         UserCase{"ALM01", "001", "0", "Matriz Guadalajara", "A01", "0",
                                                  "Almacén general Guadalajara"})),
    [](const auto &info) {
        return test::backendLabel(std::get<0>(info.param)) + "_" + std::get<1>(info.param).user;
    });

// Guards against a later activation presetting again or taking the focus back.
TEST_P(LifecycleTest, LaterActivationsChangeNothing)
{
    test::PantallaDemo p(GetParam(), QStringLiteral("GDL01"));
    p.abrir();
    p.campo("txt_Sc_Cve_Sucursal").setText(QStringLiteral("002"));
    p.frm->dpFecha().setEnabled(true);
    p.frm->dpFecha().setFocus();
    p.frm->activate();
    EXPECT_EQ(p.campo("txt_Sc_Cve_Sucursal").text(), QStringLiteral("002"));
    EXPECT_EQ(p.foco(), QStringLiteral("dpFecha"));
}

struct KeyCase {
    int key;
    int shift;
    bool switches;
};

class PageShortcutTest : public ::testing::TestWithParam<KeyCase> {};

// Guards against Alt+1/Alt+2 not switching from any field, and against other
// combinations (Ctrl+Alt, Shift+Alt, no Alt, another digit) switching pages.
TEST_P(PageShortcutTest, OnlyAltWithOneOrTwoSwitchesPages)
{
    const KeyCase &c = GetParam();
    test::PantallaDemo p("sqlite");
    p.abrir();
    // Start on the page the key would leave, with the focus in a field.
    const int start = c.key == keys::Digit0 + 1 ? 1 : 0;
    p.frm->ssTabFichas().setActivePage(start);
    ASSERT_TRUE(p.frm->txtFolio().setFocus());
    p.form().keyStroke(c.key, c.shift);
    const int expected = c.switches ? (c.key == keys::Digit0 + 1 ? 0 : 1) : start;
    EXPECT_EQ(p.frm->ssTabFichas().activePage(), expected);
    EXPECT_EQ(p.frm->fr0().enabled(), expected == 0);
    EXPECT_EQ(p.frm->fr1().enabled(), expected == 1);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, PageShortcutTest,
    ::testing::Values(KeyCase{keys::Digit0 + 1, keys::AltMask, true},
                      KeyCase{keys::Digit0 + 2, keys::AltMask, true},
                      KeyCase{keys::Digit0 + 1, keys::AltMask | keys::CtrlMask, false},
                      KeyCase{keys::Digit0 + 2, keys::AltMask | keys::ShiftMask, false},
                      KeyCase{keys::Digit0 + 1, 0, false},
                      KeyCase{keys::Digit0 + 3, keys::AltMask, false}));

// Guards against a page number beyond the two pages leaving a frame enabled.
TEST_P(LifecycleTest, PageChangeEnablesOnlyTheVisibleFrame)
{
    test::PantallaDemo p(GetParam());
    p.abrir();
    p.frm->ssTabFichas().setActivePage(1);
    EXPECT_FALSE(p.frm->fr0().enabled());
    EXPECT_TRUE(p.frm->fr1().enabled());
    p.frm->ssTabFichas().setActivePage(2);
    EXPECT_FALSE(p.frm->fr0().enabled());
    EXPECT_FALSE(p.frm->fr1().enabled());
}

// Guards against Enter on the tab strip doing nothing (it moves on like Tab).
TEST_P(LifecycleTest, EnterOnTheTabStripMovesTheFocusOn)
{
    test::PantallaDemo p(GetParam());
    p.abrir();
    ASSERT_TRUE(p.frm->ssTabFichas().setFocus());
    p.form().keyStroke(keys::Enter);
    EXPECT_EQ(p.foco(), QStringLiteral("txt_Sc_Cve_Sucursal"));  // the purchase folio is disabled
    EXPECT_EQ(p.frm->ssTabFichas().activePage(), 0);
}

// Guards against the unload keeping its two objects alive.
TEST_P(LifecycleTest, UnloadReleasesItsObjects)
{
    test::PantallaDemo p(GetParam());
    p.abrir();
    p.frm->unload();
    EXPECT_TRUE(p.frm->isUnloaded());
    EXPECT_FALSE(p.frm->AjusteGrid);
    EXPECT_FALSE(p.frm->DireccionEntrega);
}

// Guards against a member the host reads by name (the runner's dump) being missing or
// answering another member's value.
TEST_P(LifecycleTest, MembersAreReadableByName)
{
    test::PantallaDemo p(GetParam());
    p.abrir();
    p.frm->ImporteCompra = 1.5;
    p.frm->IdDireccion = QStringLiteral("0002");
    p.frm->BaseSubTotal = 2.5;
    p.frm->BaseImpuestos = 3.5;
    p.frm->TotalNota = 4.5;
    EXPECT_EQ(p.frm->property("ImporteCompra").toDouble(), 1.5);
    EXPECT_EQ(p.frm->property("IdDireccion").toString(), QStringLiteral("0002"));
    EXPECT_EQ(p.frm->property("BaseSubTotal").toDouble(), 2.5);
    EXPECT_EQ(p.frm->property("BaseImpuestos").toDouble(), 3.5);
    EXPECT_EQ(p.frm->property("TotalNota").toDouble(), 4.5);
    EXPECT_EQ(p.frm->property("MonedaLocal").toString(), QStringLiteral("MN"));
    EXPECT_FALSE(p.frm->setProperty("TotalNota", 9.0));   // read-only
}

INSTANTIATE_TEST_SUITE_P(Backends, LifecycleTest, ::testing::ValuesIn(test::backends()),
                         test::backendName);

} // namespace
