// Showing a saved note by its folio, on every back-end: the outcomes (no note, refused
// by branch or warehouse, live in an open or closed period, cancelled), what the form
// shows, the trap, and leaving the shown note.
#include "document/carga_nota.h"
#include "tests/document/document_fixture.h"

#include <gtest/gtest.h>

using namespace qmx44;
using test::PantallaNota;

namespace {

struct Desenlace {
    const char *caso;
    const char *usuario;
    const char *folio;
    const char *fecha;          // dpFecha before the folio is confirmed ("" = the working date)
    const char *validarPeriodo; // GEN_VALIDAR_PERIODO_OPERATIVO
    const char *id;             // the one message, or ""
    const char *compra;         // txt_Co_Folio afterwards
    bool documento, edicion;    // the print/query pair, the modify/cancel pair
    double total;               // txt_Total and the toolbar's Importe
};

class DocumentDesenlaceTest : public ::testing::TestWithParam<std::tuple<std::string, Desenlace>> {};

// Guards against a refused or missing note showing anything, a cancelled or closed note
// offering modify and cancel, and the document context not following the note.
TEST_P(DocumentDesenlaceTest, LeavesTheScreenAsItsOutcomeSays)
{
    const auto &[backend, d] = GetParam();
    PantallaNota p(backend, QString::fromLatin1(d.usuario));
    p.parametro("GEN_VALIDAR_PERIODO_OPERATIVO", QString::fromLatin1(d.validarPeriodo));
    p.abrir();
    if (*d.fecha)
        p.frm->dpFecha().setValue(QDate::fromString(QString::fromLatin1(d.fecha), Qt::ISODate));
    p.mensajes();

    p.mostrarNota(QString::fromLatin1(d.folio));

    const auto m = p.mensajes();
    if (*d.id) {
        ASSERT_EQ(1u, m.size());
        EXPECT_EQ(QString::fromLatin1(d.id), m[0].id);
        EXPECT_EQ(48, m[0].style);
        EXPECT_EQ(QStringLiteral("Atención"), m[0].title);
        EXPECT_EQ(p.frm->txtFolio().text().size(), p.frm->txtFolio().selectionLength());
    } else {
        EXPECT_TRUE(m.empty());
    }
    EXPECT_EQ(QString::fromLatin1(d.compra), p.frm->txt_Co_Folio().text());
    EXPECT_EQ(d.documento, p.toolbar().imprimirHabilitado());
    EXPECT_EQ(d.documento, p.toolbar().consultarHabilitado());
    EXPECT_EQ(d.edicion, p.toolbar().modificarHabilitado());
    EXPECT_EQ(d.edicion, p.toolbar().eliminarHabilitado());
    EXPECT_DOUBLE_EQ(d.total, p.campo("txt_Total").value().toDouble());
    EXPECT_DOUBLE_EQ(d.total, p.toolbar().Importe());
    EXPECT_EQ(d.documento ? p.frm->txtFolio().text() : QString(), p.toolbar().Folio());
    EXPECT_EQ(d.documento ? p.campo("txt_Pv_Cve_Proveedor").text() : QString(), p.toolbar().Proveedor());
    EXPECT_TRUE(p.frm->txtFolio().enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, DocumentDesenlaceTest,
    ::testing::Combine(
        ::testing::ValuesIn(test::backends()),
        ::testing::Values(
            Desenlace{"sin_nota", "ADMIN", "99", "", "1", "", "", false, false, 0},
            Desenlace{"sin_folio", "ADMIN", "", "", "1", "", "", false, false, 0},
            Desenlace{"otra_sucursal", "GDL01", "3", "", "1", "ERR-ID:7500020", "", false, false, 0},
            Desenlace{"otro_almacen", "ALM01", "1", "", "1", "ERR-ID:7500021", "", false, false, 0},
            Desenlace{"misma_sucursal_sin_almacen", "GDL01", "1", "", "1", "", "C000000002", true, true, 174},
            Desenlace{"vigente_periodo_abierto", "ADMIN", "1", "", "1", "", "C000000002", true, true, 174},
            Desenlace{"vigente_periodo_cerrado", "ADMIN", "1", "2024-05-01", "1", "", "C000000002", true, false, 174},
            Desenlace{"vigente_sin_validar_periodo", "ADMIN", "1", "2024-05-01", "0", "", "C000000002", true, true, 174},
            Desenlace{"vigente_otra_sucursal", "MTY01", "3", "", "1", "", "C000000007", true, true, 1494.08},
            Desenlace{"cancelada", "ADMIN", "2", "", "1", "", "C000000004", true, false, 116})),
    [](const auto &p) { return test::backendLabel(std::get<0>(p.param)) + "_" + std::get<1>(p.param).caso; });

class DocumentCargaNotaTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        p.abrir();
        p.mensajes();
    }
    PantallaNota p{GetParam()};
};

// Guards against a header field left out or taken from the wrong column, the saved bonus
// on the wrong row or with the wrong percent, and totals that do not add up.
TEST_P(DocumentCargaNotaTest, FillsTheHeaderTheGridAndTheTotals)
{
    p.mostrarNota(QStringLiteral("1"));
    EXPECT_TRUE(test::sinMensajes(p.mensajes()));
    EXPECT_EQ(QStringLiteral("0000000001"), p.frm->txtFolio().text());
    EXPECT_EQ(QDate(2024, 2, 10), p.frm->dpFecha().value());
    EXPECT_EQ(QStringLiteral("DP"), p.campo("txt_Cn_Cve_Causa_Nota").text());
    EXPECT_FALSE(p.campo("txt_Cn_Descripcion").text().isEmpty());
    EXPECT_EQ(QStringLiteral("NCP-4471"), p.campo("txt_Nc_Referencia").text());
    EXPECT_EQ(QStringLiteral("001"), p.campo("txt_Sc_Cve_Sucursal").text());
    EXPECT_EQ(QStringLiteral("A03"), p.campo("txt_Al_Cve_Almacen").text());
    EXPECT_EQ(QStringLiteral("P0002"), p.campo("txt_Pv_Cve_Proveedor").text());
    EXPECT_FALSE(p.campo("txt_Pv_Razon_Social").text().isEmpty());
    EXPECT_EQ(QStringLiteral("0002"), p.frm->IdDireccion);
    EXPECT_EQ(QStringLiteral("CM02"), p.campo("txt_Cm_Cve_Comprador").text());
    EXPECT_EQ(QStringLiteral("Diferencia de precio en la segunda entrega"), p.campo("txt_Comentario").text());
    EXPECT_EQ(QStringLiteral("MN"), p.campo("txt_Mn_Cve_Moneda").text());
    EXPECT_EQ(1.0, p.campo("txt_Nc_Tipo_Cambio").value().toDouble());
    EXPECT_EQ(QStringLiteral("NCP-4471"), p.toolbar().campoAdicional(QStringLiteral("NC_FOLIO_PROVEEDOR")));

    ASSERT_EQ(4, p.grid().rowCount());
    const int botas = p.fila("BT-001", "27", "NEG");
    EXPECT_EQ(150.0, p.celda(botas, "BON_IMPORTE").toDouble());
    EXPECT_EQ(15.0, p.celda(botas, "BON_PORCENTAJE").toDouble());
    for (int r = 0; r < 4; ++r) {
        if (r != botas) {
            EXPECT_EQ(0.0, p.celda(r, "BON_IMPORTE").toDouble()) << r;
        }
    }
    EXPECT_EQ(150.0, p.campo("txt_SubTotal").value().toDouble());
    EXPECT_DOUBLE_EQ(24.0, p.campo("txt_Impuestos").value().toDouble());
    EXPECT_DOUBLE_EQ(174.0, p.campo("txt_Total").value().toDouble());
    EXPECT_DOUBLE_EQ(4940.0, p.frm->ImporteCompra);
    EXPECT_EQ(0, p.grid().currentRow());
}

// Guards against the purchase amount counted twice when the same note is confirmed
// again without the purchase folio changing.
TEST_P(DocumentCargaNotaTest, ConfirmingTheSameNoteTwiceCountsThePurchaseOnce)
{
    p.mostrarNota(QStringLiteral("1"));
    p.frm->txtFolio().pressKey(controls::keys::Enter);
    EXPECT_DOUBLE_EQ(4940.0, p.frm->ImporteCompra);
    EXPECT_DOUBLE_EQ(174.0, p.campo("txt_Total").value().toDouble());
    EXPECT_EQ(4, p.grid().rowCount());
}

// Guards against a saved line shown on a purchase line whose unit changed since, and
// against notes without a purchase folio being found at all.
TEST_P(DocumentCargaNotaTest, LinesThatNoLongerMatchAreNotShown)
{
    p.db().run(QStringLiteral("UPDATE COMPRA SET Co_Unidad_1 = 'CAJ' WHERE Co_Folio = 'C000000002' AND Co_Linea IN (1, 2)"));
    p.mostrarNota(QStringLiteral("1"));
    EXPECT_EQ(0.0, p.campo("txt_SubTotal").value().toDouble());
    EXPECT_TRUE(p.toolbar().imprimirHabilitado());

    p.db().run(QStringLiteral("INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Co_Folio, Pr_Cve_Producto) "
                              "VALUES ('0000000077', 1, '', 'BT-001')"));
    p.toolbar().click(controls::Command::Cancelar);
    p.mostrarNota(QStringLiteral("77"));
    EXPECT_TRUE(test::sinMensajes(p.mensajes()));
    EXPECT_FALSE(p.toolbar().imprimirHabilitado());
    EXPECT_EQ(0, p.grid().rowCount());
}

// Guards against a failure escaping the handler instead of its own report, and against
// a quote in the folio breaking the statement.
TEST_P(DocumentCargaNotaTest, FailuresGoToTheTrap)
{
    p.falla("Utilerias.FormatearFolio", QStringLiteral("Servicio de folios caído"));
    p.mostrarNota(QStringLiteral("1"));
    auto m = p.mensajes();
    ASSERT_EQ(1u, m.size());
    EXPECT_EQ(QStringLiteral("ERR-ID:7500022"), m[0].id);
    EXPECT_EQ(QStringLiteral("Servicio de folios caído"), m[0].text);
    EXPECT_EQ(16, m[0].style);
    EXPECT_EQ(QStringLiteral("txtFolio_Enter()"), m[0].title);
    EXPECT_FALSE(p.toolbar().imprimirHabilitado());

    p.falla("Utilerias.ValidarPeriodo", QStringLiteral("Periodos no disponibles"));
    p.frm->txtFolio().pressKey(controls::keys::Enter);
    m = p.mensajes();
    ASSERT_EQ(1u, m.size());
    EXPECT_EQ(QStringLiteral("Periodos no disponibles"), m[0].text);

    p.frm->txtFolio().setText(QStringLiteral("1' OR '1'='1"));
    p.frm->txtFolio().pressKey(controls::keys::Enter);
    EXPECT_TRUE(test::sinMensajes(p.mensajes()));
    EXPECT_FALSE(p.toolbar().imprimirHabilitado());
}

// Guards against leaving the shown note clearing a note being edited, or not clearing
// the toolbar's document context in every case.
TEST_P(DocumentCargaNotaTest, ChangingTheFolioLeavesTheShownNote)
{
    p.mostrarNota(QStringLiteral("1"));
    p.frm->txtFolio().setText(QStringLiteral("0000000002"));
    EXPECT_EQ(QString(), p.toolbar().Folio());
    EXPECT_EQ(0.0, p.toolbar().Importe());
    EXPECT_FALSE(p.toolbar().imprimirHabilitado());
    EXPECT_FALSE(p.toolbar().modificarHabilitado());
    EXPECT_EQ(QString(), p.frm->txt_Co_Folio().text());
    EXPECT_EQ(QString(), p.campo("txt_Nc_Referencia").text());
    EXPECT_EQ(QString(), p.frm->IdDireccion);

    p.frm->dpFecha().setValue(QDate(2024, 7, 15));
    p.mostrarNota(QStringLiteral("1"));
    ASSERT_TRUE(p.toolbar().click(controls::Command::Modificar));
    p.toolbar().setFolio(QStringLiteral("0000000001"));
    p.frm->txtFolio().setText(QStringLiteral("X"));
    EXPECT_EQ(QString(), p.toolbar().Folio());
    EXPECT_EQ(QStringLiteral("C000000002"), p.frm->txt_Co_Folio().text());
    EXPECT_EQ(QStringLiteral("0002"), p.frm->IdDireccion);
    EXPECT_TRUE(p.toolbar().modificarHabilitado());
    // Enter while editing does nothing either.
    p.frm->txtFolio().pressKey(controls::keys::Enter);
    EXPECT_EQ(QStringLiteral("C000000002"), p.frm->txt_Co_Folio().text());
}

INSTANTIATE_TEST_SUITE_P(Backends, DocumentCargaNotaTest, ::testing::ValuesIn(test::backends()), test::backendName);

// Guards against a statement that reads notes without a purchase, or lets a quote out.
TEST(DocumentNotaSql, ReadsTheNoteWithItsProducts)
{
    EXPECT_EQ(QStringLiteral("SELECT Nota_Credito_Proveedor.*,    Pr_Descripcion,    Pr_Tipo_Producto,    Pr_Unidad_Costo "
                             "FROM Nota_Credito_Proveedor "
                             "   INNER JOIN Producto ON Nota_Credito_Proveedor.Pr_Cve_Producto = Producto.Pr_Cve_Producto "
                             "WHERE Nc_Folio = 'A''B' AND    Co_Folio <> '' "),
              document::notaSql(QStringLiteral("A'B")));
}

} // namespace
