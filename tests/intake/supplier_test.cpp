// The supplier intake and the delivery address on the demo company, on every back-end:
// a recorded address that is missing or null, quotes in the keys, and the two error
// traps. The header fields and the choice of the address are guarded end to end by
// tests/scenarios/intake/addresses.scenario.
#include "intake/supplier.h"
#include "tests/screen/screen_fixture.h"

#include <gtest/gtest.h>

using namespace qmx44;

namespace {

class SupplierTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { p.open(); }

    // What the purchase intake does: the purchase folio and the supplier key are in
    // their fields, then the supplier field's Enter runs.
    void tomar(const QString &compra, const QString &proveedor)
    {
        p.frm->txt_Co_Folio().setText(compra);
        p.textField("txt_Pv_Cve_Proveedor").setText(proveedor);
        p.sink->clear();
        p.textField("txt_Pv_Cve_Proveedor").Enter.raise();
    }
    QString domicilio() { return p.textField("txt_Pv_Direccion_1").text(); }

    test::DemoScreen p{GetParam()};
};

// Guards against "0000" being taken as an address, and against a recorded identifier
// without its address row (or with a row of another owner) leaving the supplier's own
// address in place of an empty one.
TEST_P(SupplierTest, RecordedIdentifierWithoutAddressEmptiesDomicilio)
{
    p.db().run(
        QStringLiteral("INSERT INTO Documento_Direccion (Dd_Tabla, Dd_Documento, Dd_Entidad, Dd_Cve_Entidad, De_ID) "
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
TEST_P(SupplierTest, NullAddressReadsAsEmptyText)
{
    p.db().run(QStringLiteral(
        "UPDATE Direccion_Entrega SET De_Direccion_1 = NULL WHERE De_Documento = 'P0001' AND De_ID = '0001'"));
    p.db().run(QStringLiteral(
        "UPDATE Direccion_Entrega SET De_Cruzamiento_2 = NULL WHERE De_Documento = 'P0002' AND De_ID = '0001'"));
    for (const char *prov : {"P0001", "P0002"}) {
        SCOPED_TRACE(prov);
        tomar(QStringLiteral("C000000009"), QString::fromLatin1(prov));
        EXPECT_EQ(p.frm->IdDireccion, QStringLiteral("0001"));
        EXPECT_EQ(domicilio(), QString());
    }
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards against quotes in the supplier key or the identifier breaking the statements
// or finding another supplier's rows, and an unknown supplier changing the header.
TEST_P(SupplierTest, QuotesInKeysFindExactlyTheirOwnRows)
{
    p.db().run(QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor, Pv_Descripcion, Pv_Direccion_1) "
                              "VALUES ('P''9', 'Proveedor con comilla', 'Su domicilio')"));
    p.db().run(
        QStringLiteral("INSERT INTO Direccion_Entrega (De_Tabla, De_Documento, De_ID, De_Direccion_1, De_Omision) "
                       "VALUES ('PROVEEDOR', 'P''9', 'A''1', 'Entrega con comilla', 1)"));
    tomar(QStringLiteral("C000000001"), QStringLiteral("P'9"));
    EXPECT_EQ(p.textField("txt_Pv_Descripcion").text(), QStringLiteral("Proveedor con comilla"));
    EXPECT_EQ(p.frm->IdDireccion, QStringLiteral("A'1"));
    EXPECT_EQ(domicilio(), QStringLiteral("Entrega con comilla"));

    // A key that widens the condition finds no supplier: nothing changes, nothing is said.
    tomar(QStringLiteral("C000000001"), QStringLiteral("X' OR '1'='1"));
    EXPECT_EQ(domicilio(), QStringLiteral("Entrega con comilla"));
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards against failures escaping the traps, being reported with the wrong title or
// identifier, or undoing what was already written.
TEST_P(SupplierTest, FailuresAreReportedByTheirOwnTrap)
{
    // The address table is gone: the address routine reports, the intake goes on and
    // shows no address.
    p.db().run(QStringLiteral("DROP TABLE Direccion_Entrega"));
    tomar(QStringLiteral("C000000002"), QStringLiteral("P0002"));
    ASSERT_EQ(p.sink->messages().size(), 1u);
    Message m = p.sink->messages()[0];
    EXPECT_EQ(m.id, QStringLiteral("ERR-ID:7500023"));
    EXPECT_EQ(p.textField("txt_Pv_Descripcion").text(), QStringLiteral("Calzado Industrial León"));
    EXPECT_EQ(p.frm->IdDireccion, QStringLiteral("0002"));
    EXPECT_EQ(domicilio(), QString());

    // The business object fails: the intake's own trap reports; what was written stays.
    p.context->session->faults().arm(QStringLiteral("DireccionEntrega.IdDocumento"),
                                     QStringLiteral("Sin acceso a direcciones"));
    tomar(QStringLiteral("C000000001"), QStringLiteral("P0001"));
    ASSERT_EQ(p.sink->messages().size(), 1u);
    m = p.sink->messages()[0];
    EXPECT_EQ(m.id, QStringLiteral("ERR-ID:7500015"));
    EXPECT_EQ(p.textField("txt_Pv_Descripcion").text(), QStringLiteral("Hilados de Jalisco"));
}

INSTANTIATE_TEST_SUITE_P(Backends, SupplierTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
