// Cancelling the shown note, on every back-end: the rows marked cancelled, what is
// pending growing back, the screen cleared; refusals and run-time errors change nothing.
#include "document/excede_pendiente.h"
#include "tests/document/document_fixture.h"

#include <gtest/gtest.h>

using namespace qmx44;
using test::PantallaNota;

namespace {

class DocumentEliminarTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        p.abrir();
        p.mostrarNota(QStringLiteral("1"));
        ASSERT_TRUE(p.toolbar().eliminarHabilitado());
        p.mensajes();
    }
    // Whether a bonus with tax of `neto` on BT-001 27 NEG of C000000002 exceeds what is
    // pending (1,160 purchased, 174 granted by note 0000000001 while it lives).
    bool excede(double neto)
    {
        business::NotaCredito nota(p.contexto->sesion, p.db());
        business::EncabezadoNota e{};
        e.compra = QStringLiteral("C000000002");
        nota.Encabezado(e);
        business::DetalleNota d{};
        d.producto = QStringLiteral("BT-001");
        d.talla = QStringLiteral("27");
        d.color = QStringLiteral("NEG");
        d.unidad1 = QStringLiteral("PAR");
        d.precioNetoImporte = neto;
        nota.Detalle(d);
        QString sql;
        return document::ExcedePendiente(p.db(), sql, nota);
    }
    void eliminar() { p.toolbar().click(controls::Command::Eliminar); }

    PantallaNota p{GetParam()};
};

// Guards against rows left live, the pending amount not growing back, or the screen not
// cleared after the cancellation.
TEST_P(DocumentEliminarTest, CancelsTheNoteAndPendingGrowsBack)
{
    EXPECT_TRUE(excede(1160));
    eliminar();
    EXPECT_TRUE(test::sinMensajes(p.mensajes()));
    EXPECT_EQ(0, p.valor(QStringLiteral("SELECT COUNT(*) FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = '0000000001' "
                                        "AND Es_Cve_Estado <> 'CA'"))
                     .toInt());
    EXPECT_FALSE(excede(1160.99));
    EXPECT_TRUE(excede(1161));
    EXPECT_FALSE(p.db().inTransaction());
    EXPECT_EQ(QString(), p.frm->txtFolio().text());
    EXPECT_TRUE(p.frm->txtFolio().enabled());
    EXPECT_EQ(QString(), p.frm->txt_Co_Folio().text());
    EXPECT_EQ(0, p.grid().rowCount());
    EXPECT_FALSE(p.toolbar().eliminarHabilitado());
    EXPECT_FALSE(p.toolbar().imprimirHabilitado());
}

// Guards against a refusal being swallowed when the document gives no reason, or a
// refused cancellation changing anything.
TEST_P(DocumentEliminarTest, RefusalIsShownEvenWithoutAReason)
{
    for (const QString &razon : {QStringLiteral("La nota ya fue cancelada"), QString()}) {
        const QString antes = p.estado();
        p.falla("NotaCredito.Cancelar", razon);
        eliminar();
        const auto m = p.mensajes();
        ASSERT_EQ(1u, m.size());
        EXPECT_EQ(QStringLiteral("ERR-ID:7500013"), m[0].id);
        EXPECT_EQ(razon, m[0].text);
        EXPECT_EQ(16, m[0].style);
        EXPECT_EQ(QStringLiteral("Operación cancelada"), m[0].title);
        EXPECT_FALSE(p.sink->abiertas.back());
        EXPECT_EQ(antes, p.estado());
        EXPECT_EQ(QStringLiteral("0000000001"), p.frm->txtFolio().text());
        EXPECT_EQ(QStringLiteral("C000000002"), p.frm->txt_Co_Folio().text());
    }
}

// Guards against a run-time error escaping the handler or leaving a transaction open.
TEST_P(DocumentEliminarTest, RunTimeErrorIsReportedUnderItsOwnTitle)
{
    const QString antes = p.estado();
    p.falla("Sistema.Conexion", QStringLiteral("Servidor no disponible"));
    eliminar();
    const auto m = p.mensajes();
    ASSERT_EQ(1u, m.size());
    EXPECT_EQ(QStringLiteral("ERR-ID:7500014"), m[0].id);
    EXPECT_EQ(QStringLiteral("Servidor no disponible"), m[0].text);
    EXPECT_EQ(QStringLiteral("Controles_Eliminar()"), m[0].title);
    EXPECT_EQ(16, m[0].style);
    EXPECT_FALSE(p.db().inTransaction());
    EXPECT_EQ(antes, p.estado());
}

INSTANTIATE_TEST_SUITE_P(Backends, DocumentEliminarTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
