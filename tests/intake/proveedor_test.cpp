// The supplier intake and the delivery address on the demo company, on every back-end:
// the header fields, the choice of the address (the purchase's own, the default, none),
// how an address reads, and the two error traps.
#include "intake/direccion_entrega.h"
#include "intake/proveedor.h"
#include "tests/screen/screen_fixture.h"

#include <gtest/gtest.h>

using namespace qmx44;

namespace {

class ProveedorTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { p.abrir(); }

    // What the purchase intake does: the purchase folio and the supplier key are in
    // their fields, then the supplier field's Enter runs.
    void tomar(const QString &compra, const QString &proveedor)
    {
        p.frm->txt_Co_Folio().setText(compra);
        p.campo("txt_Pv_Cve_Proveedor").setText(proveedor);
        p.sink->clear();
        p.campo("txt_Pv_Cve_Proveedor").Enter.raise();
    }
    QString domicilio() { return p.campo("txt_Pv_Direccion_1").text(); }

    test::PantallaDemo p{GetParam()};
};

// Guards against a header field filled from the wrong column, or the balance being
// shown reduced by the purchase.
TEST_P(ProveedorTest, ShowsTheSuppliersRecord)
{
    tomar(QStringLiteral("C000000001"), QStringLiteral("P0003"));
    EXPECT_EQ(p.campo("txt_Pv_Descripcion").text(), QStringLiteral("Textiles O'Farrill"));
    EXPECT_EQ(p.campo("txt_Pv_Razon_Social").text(), QStringLiteral("Textiles O'Farrill Hermanos, S. de R.L. de C.V."));
    EXPECT_EQ(p.campo("txt_Pv_R_F_C").text(), QStringLiteral("TOH110921JK7"));
    EXPECT_EQ(p.campo("txt_Pv_Dias_Credito").text(), QStringLiteral("15"));
    EXPECT_EQ(p.campo("txt_Credito_Disponible").text(), QStringLiteral("17852.4"));
    // No delivery address at all: the supplier's own address stays.
    EXPECT_EQ(p.frm->IdDireccion, QString());
    EXPECT_EQ(domicilio(), QStringLiteral("Calz. Independencia Nte. 455, Col. Centro, Guadalajara, Jal."));
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards against the wrong address being chosen: the purchase's own address first, the
// supplier's default next, the supplier's own address when neither exists.
TEST_P(ProveedorTest, ChoosesTheDeliveryAddress)
{
    struct Caso {
        const char *compra, *proveedor, *id, *domicilio;
    };
    const Caso casos[] = {
        // Its own address, stored in parts with an empty interior number.
        {"C000000002", "P0002", "0002", "Calle Nardo  112 entre Jazmín y Azucena"},
        // Another purchase of the same supplier: the default, all five parts.
        {"C000000009", "P0002", "0001",
         "Blvd. Hilario Medina Int. 4 3305 entre Av. Insurgentes y Calle Pradera"},
        // The default as a ready line.
        {"C000000001", "P0001", "0001",
         "Bodega Periférico Sur 7980, Santa María Tequepexpan, Tlaquepaque, Jal."},
        // One address that is not the default: none is chosen.
        {"C000000006", "P0005", "", "1200 Commerce St., Laredo, TX 78040, USA"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.compra);
        tomar(QString::fromUtf8(c.compra), QString::fromUtf8(c.proveedor));
        EXPECT_EQ(p.frm->IdDireccion, QString::fromUtf8(c.id));
        EXPECT_EQ(domicilio(), QString::fromUtf8(c.domicilio));
    }
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards against "0000" being taken as an address, and against a recorded identifier
// without its address row (or with a row of another owner) leaving the supplier's own
// address in place of an empty one.
TEST_P(ProveedorTest, RecordedIdentifierWithoutAddressEmptiesDomicilio)
{
    p.db().run(QStringLiteral("INSERT INTO Documento_Direccion (Dd_Tabla, Dd_Documento, Dd_Entidad, Dd_Cve_Entidad, De_ID) "
                              "VALUES ('Compra', 'C000000003', 'Proveedor', 'P0003', '0009')"));
    p.db().run(QStringLiteral("INSERT INTO Direccion_Entrega (De_Tabla, De_Documento, De_ID, De_Direccion_1) "
                              "VALUES ('CLIENTE', 'P0003', '0009', 'Dirección de un cliente')"));
    tomar(QStringLiteral("C000000003"), QStringLiteral("P0003"));
    EXPECT_EQ(p.frm->IdDireccion, QStringLiteral("0009"));
    EXPECT_EQ(domicilio(), QString());

    p.db().run(QStringLiteral("UPDATE Documento_Direccion SET De_ID = '0000' WHERE Dd_Documento = 'C000000003'"));
    tomar(QStringLiteral("C000000003"), QStringLiteral("P0003"));
    EXPECT_EQ(p.frm->IdDireccion, QString());
    EXPECT_EQ(domicilio(), QStringLiteral("Calz. Independencia Nte. 455, Col. Centro, Guadalajara, Jal."));
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards against a null address line or part being shown as text, failing, or leaving
// the supplier's own address: it reads as the empty text.
TEST_P(ProveedorTest, NullAddressReadsAsEmptyText)
{
    p.db().run(QStringLiteral("UPDATE Direccion_Entrega SET De_Direccion_1 = NULL WHERE De_Documento = 'P0001' AND De_ID = '0001'"));
    p.db().run(QStringLiteral("UPDATE Direccion_Entrega SET De_Cruzamiento_2 = NULL WHERE De_Documento = 'P0002' AND De_ID = '0001'"));
    for (const char *prov : {"P0001", "P0002"}) {
        SCOPED_TRACE(prov);
        tomar(QStringLiteral("C000000009"), QString::fromLatin1(prov));
        EXPECT_EQ(p.frm->IdDireccion, QStringLiteral("0001"));
        EXPECT_EQ(domicilio(), QString());
    }
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards against quotes in the supplier key or the identifier breaking the statements
// or finding another supplier's rows.
TEST_P(ProveedorTest, QuotesInKeysFindExactlyTheirOwnRows)
{
    p.db().run(QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor, Pv_Descripcion, Pv_Direccion_1) "
                              "VALUES ('P''9', 'Proveedor con comilla', 'Su domicilio')"));
    p.db().run(QStringLiteral("INSERT INTO Direccion_Entrega (De_Tabla, De_Documento, De_ID, De_Direccion_1, De_Omision) "
                              "VALUES ('PROVEEDOR', 'P''9', 'A''1', 'Entrega con comilla', 1)"));
    tomar(QStringLiteral("C000000001"), QStringLiteral("P'9"));
    EXPECT_EQ(p.campo("txt_Pv_Descripcion").text(), QStringLiteral("Proveedor con comilla"));
    EXPECT_EQ(p.frm->IdDireccion, QStringLiteral("A'1"));
    EXPECT_EQ(domicilio(), QStringLiteral("Entrega con comilla"));

    db::Conexion &c = p.db();
    EXPECT_EQ(intake::consultarDireccionEntrega(c, QStringLiteral("0001' OR '1'='1"), QStringLiteral("P0001")), QString());
    EXPECT_EQ(intake::consultarDireccionEntrega(c, QStringLiteral("0001"), QStringLiteral("P0001' OR De_Documento <> '")),
              QString());

    // A key that widens the condition finds no supplier: nothing changes.
    tomar(QStringLiteral("C000000001"), QStringLiteral("X' OR '1'='1"));
    EXPECT_EQ(p.frm->IdDireccion, QStringLiteral("A'1"));
    EXPECT_EQ(domicilio(), QStringLiteral("Entrega con comilla"));
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards against an unknown supplier clearing or changing the header, or being reported.
TEST_P(ProveedorTest, UnknownSupplierChangesNothing)
{
    tomar(QStringLiteral("C000000002"), QStringLiteral("P0002"));
    tomar(QStringLiteral("C000000002"), QStringLiteral("P9999"));
    EXPECT_EQ(p.campo("txt_Pv_Razon_Social").text(), QStringLiteral("Calzado Industrial de León, S.A. de C.V."));
    EXPECT_EQ(p.frm->IdDireccion, QStringLiteral("0002"));
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards against failures escaping the traps, being reported with the wrong title or
// identifier, or undoing what was already written.
TEST_P(ProveedorTest, FailuresAreReportedByTheirOwnTrap)
{
    // The address table is gone: the address routine reports, the intake goes on and
    // shows no address.
    p.db().run(QStringLiteral("DROP TABLE Direccion_Entrega"));
    tomar(QStringLiteral("C000000002"), QStringLiteral("P0002"));
    ASSERT_EQ(p.sink->messages().size(), 1u);
    Message m = p.sink->messages()[0];
    EXPECT_EQ(m.style, 16);
    EXPECT_EQ(m.title, QStringLiteral("Direccion_Entrega()"));
    EXPECT_EQ(m.id, QStringLiteral("ERR-ID:7500023"));
    EXPECT_EQ(m.module, QStringLiteral("QMX44"));
    EXPECT_EQ(m.owner, p.form().handle());
    EXPECT_FALSE(m.text.isEmpty());
    EXPECT_EQ(p.campo("txt_Pv_Descripcion").text(), QStringLiteral("Calzado Industrial León"));
    EXPECT_EQ(p.frm->IdDireccion, QStringLiteral("0002"));
    EXPECT_EQ(domicilio(), QString());

    // The business object fails: the intake's own trap reports; what was written stays.
    p.contexto->sesion->faults().arm(QStringLiteral("DireccionEntrega.IdDocumento"), QStringLiteral("Sin acceso a direcciones"));
    tomar(QStringLiteral("C000000001"), QStringLiteral("P0001"));
    ASSERT_EQ(p.sink->messages().size(), 1u);
    m = p.sink->messages()[0];
    EXPECT_EQ(m.text, QStringLiteral("Sin acceso a direcciones"));
    EXPECT_EQ(m.style, 16);
    EXPECT_EQ(m.title, QStringLiteral("txt_Pv_Cve_Proveedor_Enter()"));
    EXPECT_EQ(m.id, QStringLiteral("ERR-ID:7500015"));
    EXPECT_EQ(m.module, QStringLiteral("QMX44"));
    EXPECT_EQ(m.owner, p.form().handle());
    EXPECT_EQ(p.campo("txt_Pv_Descripcion").text(), QStringLiteral("Hilados de Jalisco"));
    EXPECT_EQ(p.campo("txt_Credito_Disponible").text(), QStringLiteral("185400.5"));
}

INSTANTIATE_TEST_SUITE_P(Backends, ProveedorTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
