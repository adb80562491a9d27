// The purchase field on the demo company, on every back-end: a folio confirmed as a user
// does (New note, type, Enter) is refused or taken in; changing it clears the form.
#include "intake/compra.h"
#include "platform/controls/keys.h"
#include "platform/controls/toolbar.h"
#include "tests/screen/screen_fixture.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace qmx44;

namespace {

const QString Consulte = QStringLiteral("\r\n\r\npara mayor información consulte al administrador del sistema");

struct Intake {
    explicit Intake(const std::string &backend, const char *usuario = "ADMIN")
        : p(backend, QString::fromLatin1(usuario))
    {
        p.abrir();
        p.frm->Controles().click(controls::Command::Nuevo);
    }

    controls::TextField &folio() { return p.frm->txt_Co_Folio(); }

    // The user types the folio into the purchase field and presses Enter.
    void confirmar(const QString &tecleado)
    {
        folio().setFocus();
        folio().typeText(tecleado);
        p.sink->clear();
        folio().pressKey(controls::keys::Enter);
    }
    void enterOtraVez()
    {
        p.sink->clear();
        folio().setFocus();
        folio().pressKey(controls::keys::Enter);
    }

    QString texto(const char *campo) { return p.campo(campo).text(); }
    controls::Grid &grid() { return p.frm->ssDetalle(); }
    double celda(int row, const char *column)
    {
        return grid().cellValue(row, grid().columnIndex(QString::fromLatin1(column))).toDouble();
    }
    // The only message shown since the folio was confirmed.
    Message unico()
    {
        EXPECT_EQ(p.sink->messages().size(), 1u);
        return p.sink->messages().empty() ? Message{} : p.sink->messages().front();
    }

    test::PantallaDemo p;
};

class CompraTest : public ::testing::TestWithParam<std::string> {};

// Guards against a wrong header, supplier, rate, amount or grid on the usual path, and
// against the focus staying on the purchase field.
TEST_P(CompraTest, TakesThePurchaseIn)
{
    Intake t(GetParam());
    t.confirmar(QStringLiteral("c2"));
    EXPECT_TRUE(t.p.sink->messages().empty());
    EXPECT_EQ(t.folio().text(), QStringLiteral("C000000002"));   // normalised and kept
    EXPECT_EQ(t.texto("txt_Sc_Cve_Sucursal"), QStringLiteral("001"));
    EXPECT_EQ(t.texto("txt_Al_Cve_Almacen"), QStringLiteral("A03"));
    EXPECT_EQ(t.texto("txt_Pv_Cve_Proveedor"), QStringLiteral("P0002"));
    EXPECT_EQ(t.texto("txt_Pv_Descripcion"), QStringLiteral("Calzado Industrial León"));
    EXPECT_EQ(t.texto("txt_Pv_Direccion_1"), QStringLiteral("Calle Nardo  112 entre Jazmín y Azucena"));
    EXPECT_EQ(t.texto("txt_Cm_Cve_Comprador"), QStringLiteral("CM02"));
    EXPECT_EQ(t.texto("txt_Mn_Cve_Moneda"), QStringLiteral("MN"));
    EXPECT_EQ(t.p.frm->IdDireccion, QStringLiteral("0002"));
    EXPECT_EQ(t.p.campo("txt_Nc_Tipo_Cambio").value().toDouble(), 1.0);
    EXPECT_FALSE(t.p.campo("txt_Nc_Tipo_Cambio").enabled());   // local currency
    EXPECT_EQ(t.grid().rowCount(), 4);
    EXPECT_EQ(t.grid().currentRow(), 0);
    EXPECT_DOUBLE_EQ(t.p.frm->ImporteCompra, 600 + 400 + 1240 + 1215 + 810 + 450 + 225);
    EXPECT_NE(t.p.foco(), QStringLiteral("txt_Co_Folio"));
}

// Guards against a wrong text, style, title or identifier of the not-found notice, and
// against it writing anything or moving the focus; an empty folio asks nothing.
TEST_P(CompraTest, UnknownOrEmptyFolio)
{
    Intake t(GetParam());
    t.enterOtraVez();
    EXPECT_TRUE(t.p.sink->messages().empty());

    t.confirmar(QStringLiteral("C999"));
    const Message m = t.unico();
    EXPECT_EQ(m.text, QStringLiteral("No existe la compra proporcionada"));
    EXPECT_EQ(m.style, 64);
    EXPECT_EQ(m.title, QStringLiteral("Orvalis"));
    EXPECT_EQ(m.id, QStringLiteral("ERR-ID:7500016"));
    EXPECT_EQ(m.module, QStringLiteral("QMX44"));
    EXPECT_EQ(m.owner, t.p.form().handle());
    EXPECT_EQ(t.folio().text(), QStringLiteral("C000000999"));
    EXPECT_EQ(t.p.foco(), QStringLiteral("txt_Co_Folio"));
    EXPECT_EQ(t.grid().rowCount(), 0);
    EXPECT_EQ(t.texto("txt_Pv_Cve_Proveedor"), QString());
}

// user, folio, identifier of the refusal ("" = taken in), the refusal's text.
using Acceso = std::tuple<std::string, const char *, const char *, const char *, QString>;
class AccesoTest : public ::testing::TestWithParam<Acceso> {};

// Guards against the branch and warehouse rules being applied to unrestricted users,
// comparing the wrong columns, giving the warehouse (or cancelled) message when the
// branch already refuses, or writing anything on a refusal.
TEST_P(AccesoTest, RestrictedUsers)
{
    const auto &[backend, usuario, compra, id, texto] = GetParam();
    Intake t(backend, usuario);
    const QString sucursal = t.texto("txt_Sc_Cve_Sucursal");
    t.confirmar(QString::fromLatin1(compra));
    if (QString::fromLatin1(id).isEmpty()) {
        EXPECT_TRUE(t.p.sink->messages().empty());
        EXPECT_GT(t.grid().rowCount(), 0);
        return;
    }
    const Message m = t.unico();
    EXPECT_EQ(m.text, texto);
    EXPECT_EQ(m.style, 48);
    EXPECT_EQ(m.title, QStringLiteral("Atención"));
    EXPECT_EQ(m.id, QString::fromLatin1(id));
    EXPECT_EQ(m.owner, t.p.form().handle());
    EXPECT_EQ(t.grid().rowCount(), 0);
    EXPECT_EQ(t.texto("txt_Pv_Cve_Proveedor"), QString());
    EXPECT_EQ(t.texto("txt_Sc_Cve_Sucursal"), sucursal);
    EXPECT_EQ(t.p.foco(), QStringLiteral("txt_Co_Folio"));
}

const QString Sucursal = QStringLiteral("Imposible accesar este documento, su acceso se ha restringido a la sucursal: ");
const QString Almacen = QStringLiteral("Imposible accesar este documento, su acceso se ha restringido al almacén: ");

std::vector<Acceso> accesos()
{
    std::vector<Acceso> out;
    for (const std::string &b : test::backends()) {
        out.emplace_back(b, "GDL01", "C7", "ERR-ID:7500017", Sucursal + QStringLiteral("001") + Consulte);
        out.emplace_back(b, "MTY01", "C1", "ERR-ID:7500017", Sucursal + QStringLiteral("002") + Consulte);
        // Another branch and cancelled: only the branch message.
        out.emplace_back(b, "GDL01", "C9", "ERR-ID:7500017", Sucursal + QStringLiteral("001") + Consulte);
        // Another branch and another warehouse: only the branch message.
        out.emplace_back(b, "ALM01", "C7", "ERR-ID:7500017", Sucursal + QStringLiteral("001") + Consulte);
        out.emplace_back(b, "ALM01", "C2", "ERR-ID:7500018", Almacen + QStringLiteral("A01") + Consulte);
        // Restricted to the branch only: any warehouse of it.
        out.emplace_back(b, "GDL01", "C2", "", QString());
        out.emplace_back(b, "ALM01", "C1", "", QString());
        out.emplace_back(b, "ADMIN", "C7", "", QString());
        out.emplace_back(b, "ADMIN", "C5", "ERR-ID:7500019", QStringLiteral("La compra se encuentra cancelada"));
    }
    return out;
}

std::string accesoName(const ::testing::TestParamInfo<Acceso> &info)
{
    return test::backendLabel(std::get<0>(info.param)) + "_" + std::get<1>(info.param) + "_"
        + std::get<2>(info.param);
}

// Guards against the rate being read from the purchase or for another date, and against
// the rate field's enabled state ignoring the currency or right CHTC01.
TEST_P(CompraTest, ExchangeRateOfTheNotesDate)
{
    Intake admin(GetParam(), "ADMIN");
    admin.confirmar(QStringLiteral("C6"));
    EXPECT_EQ(admin.texto("txt_Mn_Cve_Moneda"), QStringLiteral("USD"));
    EXPECT_EQ(admin.p.campo("txt_Nc_Tipo_Cambio").value().toDouble(), 18.2545);   // valid from 2024-07-01
    EXPECT_TRUE(admin.p.campo("txt_Nc_Tipo_Cambio").enabled());

    admin.p.frm->dpFecha().setValue(QDate(2024, 2, 15));
    admin.enterOtraVez();
    EXPECT_EQ(admin.p.campo("txt_Nc_Tipo_Cambio").value().toDouble(), 17.148);

    Intake cxp(GetParam(), "CXP01");   // CHTC01: the rate stays locked
    cxp.confirmar(QStringLiteral("C6"));
    EXPECT_EQ(cxp.p.campo("txt_Nc_Tipo_Cambio").value().toDouble(), 18.2545);
    EXPECT_FALSE(cxp.p.campo("txt_Nc_Tipo_Cambio").enabled());
}

// Guards against a second Enter on the same folio keeping typed bonuses, the totals of
// those bonuses, or counting the purchase amount twice.
TEST_P(CompraTest, SameFolioTwiceStartsAgain)
{
    Intake t(GetParam());
    t.confirmar(QStringLiteral("C2"));
    const double importe = t.p.frm->ImporteCompra;
    t.p.frm->ssTabFichas().setActivePage(1);
    t.grid().editCell(1, t.grid().columnIndex(QStringLiteral("BON_IMPORTE")), QStringLiteral("50"));
    ASSERT_EQ(t.p.campo("txt_SubTotal").value().toDouble(), 50);   // the bonus counted
    t.p.frm->ssTabFichas().setActivePage(0);

    t.enterOtraVez();
    EXPECT_EQ(t.grid().rowCount(), 4);
    for (int row = 0; row < t.grid().rowCount(); ++row) {
        EXPECT_EQ(t.celda(row, "BON_IMPORTE"), 0);
        EXPECT_EQ(t.celda(row, "BON_PORCENTAJE"), 0);
    }
    EXPECT_EQ(t.p.frm->ImporteCompra, importe);
    for (const char *total : {"txt_SubTotal", "txt_Impuestos", "txt_Total"})
        EXPECT_EQ(t.p.campo(total).value().toDouble(), 0) << total;
}

// Guards against a changed folio leaving the previous purchase's header, lines, address
// or amount on the form.
TEST_P(CompraTest, ChangingTheFolioClearsThePurchase)
{
    Intake t(GetParam());
    t.confirmar(QStringLiteral("C2"));
    t.p.campo("txt_Nc_Referencia").setText(QStringLiteral("REF-1"));
    t.p.campo("txt_Comentario").setText(QStringLiteral("Comentario"));

    t.folio().setFocus();
    t.folio().typeText(QStringLiteral("C"));
    EXPECT_EQ(t.grid().rowCount(), 0);
    EXPECT_EQ(t.p.frm->ImporteCompra, 0);
    EXPECT_EQ(t.p.frm->IdDireccion, QString());
    for (const char *campo : {"txt_Pv_Cve_Proveedor", "txt_Pv_Descripcion", "txt_Pv_Direccion_1", "txt_Mn_Cve_Moneda",
                              "txt_Cm_Cve_Comprador", "txt_Nc_Referencia", "txt_Comentario"})
        EXPECT_EQ(t.texto(campo), QString()) << campo;
    EXPECT_EQ(t.p.campo("txt_Nc_Tipo_Cambio").value().toDouble(), 0);
}

// Guards against a quote in the folio breaking the statement or finding other
// purchases' lines.
TEST_P(CompraTest, FolioWithAQuote)
{
    Intake t(GetParam());
    t.p.db().run(QStringLiteral(
        "INSERT INTO COMPRA (Co_Folio, Co_Linea, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Cm_Cve_Comprador, "
        "Mn_Cve_Moneda, Pr_Cve_Producto, Co_Cantidad_1, Co_Unidad_1, Co_Precio_Descontado_Importe) "
        "VALUES ('C''1', 1, '001', 'A01', 'P0001', 'CM01', 'MN', 'PL-001', 3, 'PZA', 30)"));
    t.confirmar(QStringLiteral("C'1"));
    EXPECT_TRUE(t.p.sink->messages().empty());
    EXPECT_EQ(t.folio().text(), QStringLiteral("C'1"));
    EXPECT_EQ(t.grid().rowCount(), 1);
    EXPECT_EQ(t.p.frm->ImporteCompra, 30);

    t.confirmar(QStringLiteral("C' OR '1"));
    EXPECT_EQ(t.unico().id, QStringLiteral("ERR-ID:7500016"));
    EXPECT_EQ(t.grid().rowCount(), 0);
}

// Guards against a database failure ending the application or passing unreported: it
// reaches the event boundary, which reports it under the handler's name.
TEST_P(CompraTest, DatabaseFailureIsReportedAtTheBoundary)
{
    Intake t(GetParam());
    t.p.db().run(QStringLiteral("DROP TABLE COMPRA"));
    t.confirmar(QStringLiteral("C2"));
    const Message m = t.unico();
    EXPECT_EQ(m.style, 16);
    EXPECT_EQ(m.title, QStringLiteral("txt_Co_Folio_Enter()"));
    EXPECT_FALSE(m.text.isEmpty());
    EXPECT_EQ(t.grid().rowCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, CompraTest, ::testing::ValuesIn(test::backends()), test::backendName);
INSTANTIATE_TEST_SUITE_P(Usuarios, AccesoTest, ::testing::ValuesIn(accesos()), accesoName);

} // namespace
