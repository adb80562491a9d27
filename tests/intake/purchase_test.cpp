// The purchase field on the demo company, on every back-end: confirming the same folio
// again, changing it, and a database failure. Taking a purchase in and the refusals
// (not found, branch, warehouse, cancelled) are guarded end to end by
// tests/scenarios/intake/*.scenario.
#include "intake/purchase.h"
#include "platform/controls/keys.h"
#include "platform/controls/toolbar.h"
#include "tests/screen/screen_fixture.h"

#include <gtest/gtest.h>

using namespace qmx44;

namespace {

struct Intake {
    explicit Intake(const std::string &backend, const char *usuario = "ADMIN")
        : p(backend, QString::fromLatin1(usuario))
    {
        p.open();
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

    QString text(const char *textField) { return p.textField(textField).text(); }
    controls::Grid &grid() { return p.frm->ssDetalle(); }
    double cell(int row, const char *column)
    {
        return grid().cellValue(row, grid().columnIndex(QString::fromLatin1(column))).toDouble();
    }
    // The only message shown since the folio was confirmed.
    Message unico()
    {
        EXPECT_EQ(p.sink->messages().size(), 1u);
        return p.sink->messages().empty() ? Message{} : p.sink->messages().front();
    }

    test::DemoScreen p;
};

class PurchaseTest : public ::testing::TestWithParam<std::string> {};

// Guards against a second Enter on the same folio keeping typed bonuses, the totals of
// those bonuses, or counting the purchase amount twice.
TEST_P(PurchaseTest, SameFolioTwiceStartsAgain)
{
    Intake t(GetParam());
    t.confirmar(QStringLiteral("C2"));
    const double importe = t.p.frm->ImporteCompra;
    t.p.frm->ssTabFichas().setActivePage(1);
    t.grid().editCell(1, t.grid().columnIndex(QStringLiteral("BON_IMPORTE")), QStringLiteral("50"));
    ASSERT_EQ(t.p.textField("txt_SubTotal").value().toDouble(), 50); // the bonus counted
    t.p.frm->ssTabFichas().setActivePage(0);

    t.enterOtraVez();
    EXPECT_EQ(t.grid().rowCount(), 4);
    for (int row = 0; row < t.grid().rowCount(); ++row) {
        EXPECT_EQ(t.cell(row, "BON_IMPORTE"), 0);
        EXPECT_EQ(t.cell(row, "BON_PORCENTAJE"), 0);
    }
    EXPECT_EQ(t.p.frm->ImporteCompra, importe);
    for (const char *total : {"txt_SubTotal", "txt_Impuestos", "txt_Total"})
        EXPECT_EQ(t.p.textField(total).value().toDouble(), 0) << total;
}

// Guards against a changed folio leaving the previous purchase's header, lines, address
// or amount on the form.
TEST_P(PurchaseTest, ChangingTheFolioClearsThePurchase)
{
    Intake t(GetParam());
    t.confirmar(QStringLiteral("C2"));
    t.p.textField("txt_Nc_Referencia").setText(QStringLiteral("REF-1"));
    t.p.textField("txt_Comentario").setText(QStringLiteral("Comentario"));

    t.folio().setFocus();
    t.folio().typeText(QStringLiteral("C"));
    EXPECT_EQ(t.grid().rowCount(), 0);
    EXPECT_EQ(t.p.frm->ImporteCompra, 0);
    EXPECT_EQ(t.p.frm->IdDireccion, QString());
    for (const char *textField : {"txt_Pv_Cve_Proveedor", "txt_Pv_Descripcion", "txt_Pv_Direccion_1",
                                  "txt_Mn_Cve_Moneda", "txt_Cm_Cve_Comprador", "txt_Nc_Referencia", "txt_Comentario"})
        EXPECT_EQ(t.text(textField), QString()) << textField;
    EXPECT_EQ(t.p.textField("txt_Nc_Tipo_Cambio").value().toDouble(), 0);
}

// Guards against a database failure ending the application or passing unreported: it
// reaches the event boundary, which reports it under the handler's name.
TEST_P(PurchaseTest, DatabaseFailureIsReportedAtTheBoundary)
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

INSTANTIATE_TEST_SUITE_P(Backends, PurchaseTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
