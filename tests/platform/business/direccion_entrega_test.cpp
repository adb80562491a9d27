// DireccionEntrega on the demo company: the address recorded for a document, an owner's
// default address, recording a document's address and its failures — on every back-end.
#include "platform/business/direccion_entrega.h"
#include "tests/platform/services/services_fixture.h"

#include <gtest/gtest.h>

using namespace qmx44;
using business::DireccionEntrega;

namespace {

class DireccionEntregaTest : public ::testing::TestWithParam<std::string> {
protected:
    QString recorded(const QString &folio)
    {
        return direccion.IdDocumento(QStringLiteral("NOTA_CREDITO_PROVEEDOR"), folio, QStringLiteral("Proveedor"),
                                     QStringLiteral("P0002"));
    }

    test::DemoSession demo{GetParam()};
    DireccionEntrega direccion{demo.session};
};

// Guards against Asignar adding a second row instead of replacing, keeping a row for
// "no address", reporting success when the database refused, and recording an address
// the supplier does not have (another supplier's, or a made-up identifier), which the
// printed note could then not show.
TEST_P(DireccionEntregaTest, AsignarRecordsReplacesAndRemoves)
{
    const QString tabla = QStringLiteral("NOTA_CREDITO_PROVEEDOR"), prov = QStringLiteral("Proveedor");
    const QString folio = QStringLiteral("0000000009"), clave = QStringLiteral("P0002");
    bool ok = false;
    direccion.Asignar(tabla, folio, prov, clave, QStringLiteral("0002"), ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(recorded(folio), QStringLiteral("0002"));
    direccion.Asignar(tabla, folio, prov, clave, QStringLiteral("0001"), ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(recorded(folio), QStringLiteral("0001"));
    direccion.Asignar(tabla, folio, prov, clave, QStringLiteral("0000"), ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(recorded(folio), QString());
    EXPECT_EQ(recorded(QStringLiteral("0000000001")), QStringLiteral("0002")); // others untouched

    direccion.Asignar(tabla, QString(), prov, clave, QStringLiteral("0001"), ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(direccion.MensajeError().isEmpty());

    demo.session->faults().arm(QStringLiteral("DireccionEntrega.Asignar"), QStringLiteral("sin acceso"));
    direccion.Asignar(tabla, folio, prov, clave, QStringLiteral("0001"), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(direccion.MensajeError(), QStringLiteral("sin acceso"));
    EXPECT_EQ(recorded(folio), QString());

    const QString otra = QStringLiteral("0000000010");
    direccion.Asignar(tabla, otra, prov, QStringLiteral("P0004"), QStringLiteral("0002"), ok); // P0002 has it
    EXPECT_FALSE(ok);
    EXPECT_TRUE(direccion.MensajeError().contains(QStringLiteral("no es del proveedor P0004")));
    direccion.Asignar(tabla, otra, prov, QStringLiteral("P0003"), QStringLiteral("0001"), ok); // has none
    EXPECT_FALSE(ok);
    auto rs =
        demo.db().query(QStringLiteral("SELECT COUNT(*) AS n FROM Documento_Direccion WHERE Dd_Documento = ?"), {otra});
    EXPECT_EQ(rs->field(QStringLiteral("n")).toInt(), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, DireccionEntregaTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
