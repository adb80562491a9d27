// The toolbar commands of the main form and the modes they leave: Nuevo, Modificar,
// Imprimir, Consultar, Cancelar, Salir and the optional command — on every back-end.
#include "screen_fixture.h"

#include "platform/host/padre.h"

#include <gtest/gtest.h>

using namespace qmx44;
using controls::Command;

namespace {

class ToolbarTest : public ::testing::TestWithParam<std::string> {};

// Counts the modal dialogs shown and closes each at once, as a user pressing Cancelar.
struct CountingPresenter : controls::ModalPresenter {
    int shown = 0;
    void runModal(controls::Form &dialog) override
    {
        ++shown;
        dialog.hide();
    }
};

// Guards against Nuevo leaving the old folio or data, not enabling the note's fields or
// the purchase folio, and the date not taking the focus for a user who may change it.
TEST_P(ToolbarTest, NuevoStartsANewNote)
{
    test::PantallaDemo p(GetParam());
    p.abrir();
    p.campo("txtFolio").setText(QStringLiteral("0000000001"));
    p.campo("txt_Comentario").setText(QStringLiteral("viejo"));
    p.frm->ssTabFichas().setActivePage(1);
    for (int vez = 0; vez < 2; ++vez) {   // twice gives the same screen as once
        p.frm->Controles().OperacionTerminada();
        ASSERT_TRUE(p.frm->Controles().click(Command::Nuevo));
        EXPECT_EQ(p.campo("txtFolio").text(), QString());
        EXPECT_FALSE(p.campo("txtFolio").enabled());
        EXPECT_EQ(p.campo("txt_Comentario").text(), QString());
        EXPECT_TRUE(p.campo("txt_Co_Folio").enabled());
        EXPECT_TRUE(p.campo("txt_Cn_Cve_Causa_Nota").enabled());
        EXPECT_FALSE(p.campo("txt_Cn_Cve_Causa_Nota").locked());
        EXPECT_TRUE(p.frm->dpFecha().enabled());
        EXPECT_EQ(p.foco(), QStringLiteral("dpFecha"));
        EXPECT_EQ(p.frm->ssTabFichas().activePage(), 0);
        EXPECT_EQ(p.frm->Controles().captionOpcional(), QStringLiteral("Prorratear"));
    }
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards against the focus being given to the disabled date (lost focus) for a user
// without the right to change the date: it goes to the purchase folio instead.
TEST_P(ToolbarTest, NuevoWithoutDateRightFocusesThePurchaseFolio)
{
    test::PantallaDemo p(GetParam(), QStringLiteral("CXP01"));
    p.abrir();
    ASSERT_TRUE(p.frm->Controles().click(Command::Nuevo));
    EXPECT_FALSE(p.frm->dpFecha().enabled());
    EXPECT_EQ(p.foco(), QStringLiteral("txt_Co_Folio"));
}

struct RateCase {
    const char *user;
    const char *currency;
    bool rateEnabled;
    bool dateEnabled;
};

class ModificarTest : public ::testing::TestWithParam<std::tuple<std::string, RateCase>> {};

// Guards against the exchange rate being typable in the local currency or for a user
// whose rate is fixed (CHTC01), the toolbar keeping the left note's context, the
// shown data being emptied, and the focus going to a disabled date.
TEST_P(ModificarTest, MakesTheShownNoteEditable)
{
    const auto &[backend, c] = GetParam();
    test::PantallaDemo p(backend, QString::fromLatin1(c.user));
    p.abrir();
    p.campo("txtFolio").setText(QStringLiteral("0000000001"));
    p.campo("txt_Mn_Cve_Moneda").setText(QString::fromLatin1(c.currency));
    p.campo("txt_Comentario").setText(QStringLiteral("se queda"));
    auto &tb = p.frm->Controles();
    tb.setModificarHabilitado(true);
    tb.setFolio(QStringLiteral("0000000001"));
    tb.setProveedor(QStringLiteral("P0002"));
    tb.setImporte(174);
    ASSERT_TRUE(tb.click(Command::Modificar));
    EXPECT_EQ(tb.Folio(), QString());
    EXPECT_EQ(tb.Proveedor(), QString());
    EXPECT_EQ(tb.Importe(), 0.0);
    EXPECT_FALSE(p.campo("txtFolio").enabled());
    EXPECT_EQ(p.campo("txtFolio").text(), QStringLiteral("0000000001"));
    EXPECT_EQ(p.campo("txt_Comentario").text(), QStringLiteral("se queda"));
    EXPECT_TRUE(p.campo("txt_Comentario").enabled());
    EXPECT_EQ(p.campo("txt_Nc_Tipo_Cambio").enabled(), c.rateEnabled);
    EXPECT_EQ(p.frm->dpFecha().enabled(), c.dateEnabled);
    EXPECT_EQ(p.foco(), c.dateEnabled ? QStringLiteral("dpFecha") : QStringLiteral("txt_Sc_Cve_Sucursal"));
    EXPECT_EQ(tb.captionOpcional(), QStringLiteral("Prorratear"));
}

INSTANTIATE_TEST_SUITE_P(
    Rates, ModificarTest,
    ::testing::Combine(::testing::ValuesIn(test::backends()),
                       ::testing::Values(RateCase{"ADMIN", "MN", false, true},
                                         RateCase{"ADMIN", "USD", true, true},
                                         RateCase{"CXP01", "USD", false, false},
                                         RateCase{"CXP01", "MN", false, false})),
    [](const auto &p) {
        const RateCase &c = std::get<1>(p.param);
        return test::backendLabel(std::get<0>(p.param)) + "_" + c.user + "_" + c.currency;
    });

// Guards against Cancelar leaving a folio, the focus elsewhere, the purchase folio
// enabled, a document command offered or the optional command captioned.
TEST_P(ToolbarTest, CancelarEmptiesTheScreen)
{
    test::PantallaDemo p(GetParam(), QStringLiteral("GDL01"));
    p.abrir();
    auto &tb = p.frm->Controles();
    ASSERT_TRUE(tb.click(Command::Nuevo));
    p.campo("txt_Co_Folio").setText(QStringLiteral("C000000001"));
    p.campo("txt_Comentario").setText(QStringLiteral("algo"));
    tb.setImprimirHabilitado(true);
    tb.setModificarHabilitado(true);
    ASSERT_TRUE(tb.click(Command::Cancelar));
    EXPECT_EQ(p.campo("txtFolio").text(), QString());
    EXPECT_TRUE(p.campo("txtFolio").enabled());
    EXPECT_EQ(p.foco(), QStringLiteral("txtFolio"));
    EXPECT_EQ(p.campo("txt_Co_Folio").text(), QString());
    EXPECT_FALSE(p.campo("txt_Co_Folio").enabled());
    EXPECT_EQ(p.campo("txt_Comentario").text(), QString());
    EXPECT_EQ(p.campo("txt_Sc_Cve_Sucursal").text(), QStringLiteral("001"));  // preset, tag "0"
    EXPECT_FALSE(tb.imprimirHabilitado() || tb.consultarHabilitado() || tb.modificarHabilitado()
                 || tb.eliminarHabilitado());
    EXPECT_TRUE(tb.nuevoHabilitado());
    EXPECT_EQ(tb.captionOpcional(), QString());
    EXPECT_EQ(p.frm->ssTabFichas().activePage(), 0);
}

// Guards against printing or querying another folio than the one shown, or the format
// not coming from FTO_IMP_NOTA_CREDITO_PROVEEDOR.
TEST_P(ToolbarTest, ImprimirAndConsultarPassTheShownFolio)
{
    test::PantallaDemo p(GetParam());
    p.abrir();
    p.campo("txtFolio").setText(QStringLiteral("0000000003"));
    auto &tb = p.frm->Controles();
    tb.setImprimirHabilitado(true);
    tb.setConsultarHabilitado(true);
    ASSERT_TRUE(tb.click(Command::Imprimir));
    ASSERT_TRUE(tb.click(Command::Consultar));
    const auto &impresos = p.contexto->bitacora->impresos();
    ASSERT_EQ(impresos.size(), 1u);
    EXPECT_EQ(impresos[0].formato, QStringLiteral("NCP_BONIFICACION"));
    EXPECT_EQ(impresos[0].folio, QStringLiteral("0000000003"));
    const auto &consultas = p.contexto->bitacora->consultados();
    ASSERT_EQ(consultas.size(), 1u);
    EXPECT_EQ(consultas[0].tabla, QStringLiteral("NOTA_CREDITO_PROVEEDOR"));
    EXPECT_EQ(consultas[0].columna, QStringLiteral("Nc_Folio"));
    EXPECT_EQ(consultas[0].valor, QStringLiteral("0000000003"));
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards against a failing print ending the application instead of being reported.
TEST_P(ToolbarTest, AFailingPrintIsReportedAndTheScreenStays)
{
    test::PantallaDemo p(GetParam());
    p.abrir();
    p.frm->Controles().setImprimirHabilitado(true);
    p.contexto->sesion->faults().arm(QStringLiteral("Impresion.Imprimir"), QStringLiteral("Sin impresora"));
    EXPECT_TRUE(p.frm->Controles().click(Command::Imprimir));
    ASSERT_EQ(p.sink->messages().size(), 1u);
    EXPECT_EQ(p.sink->messages()[0].text, QStringLiteral("Sin impresora"));
    EXPECT_EQ(p.sink->messages()[0].style, 16);
    EXPECT_TRUE(p.contexto->bitacora->impresos().empty());
}

// Guards against Salir leaving the screen open with its parent closed, and against a
// missing parent crashing instead of being reported.
TEST_P(ToolbarTest, SalirClosesTheParentAndTheScreen)
{
    test::PantallaDemo p(GetParam());
    p.abrir();
    ASSERT_TRUE(p.frm->Controles().click(Command::Salir));
    EXPECT_EQ(p.sink->messages().size(), 1u);   // no Padre yet
    EXPECT_FALSE(p.frm->isUnloaded());

    auto padre = std::make_shared<host::Padre>();
    p.frm->setPadre(padre);
    ASSERT_TRUE(p.frm->Controles().click(Command::Salir));
    EXPECT_TRUE(padre->isClosed());
    EXPECT_TRUE(p.frm->isUnloaded());
    EXPECT_FALSE(p.frm->AjusteGrid);
}

// Guards against the proration dialog opening over an empty grid.
TEST_P(ToolbarTest, OpcionalOpensTheDialogOnlyWithRows)
{
    test::PantallaDemo p(GetParam());
    auto presenter = std::make_shared<CountingPresenter>();
    p.contexto->presenter = presenter;
    p.abrir();
    ASSERT_TRUE(p.frm->Controles().click(Command::Nuevo));
    ASSERT_TRUE(p.frm->Controles().click(Command::Opcional));
    EXPECT_EQ(presenter->shown, 0);
    p.frm->ssDetalle().addRow();
    ASSERT_TRUE(p.frm->Controles().click(Command::Opcional));
    EXPECT_EQ(presenter->shown, 1);
    EXPECT_TRUE(p.frm->form().isVisible());
}

INSTANTIATE_TEST_SUITE_P(Backends, ToolbarTest, ::testing::ValuesIn(test::backends()),
                         test::backendName);

} // namespace
