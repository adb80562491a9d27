// The purchase field on the demo company, on every back-end: changing the folio, and a
// database failure. Taking a purchase in, confirming it again and the refusals (not
// found, branch, warehouse, cancelled) are guarded end to end by
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

    QString text(const char *textField) { return p.textField(textField).text(); }
    controls::Grid &grid() { return p.frm->ssDetalle(); }

    test::DemoScreen p;
};

class PurchaseTest : public ::testing::TestWithParam<std::string> {};

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
    ASSERT_EQ(t.p.sink->messages().size(), 1u);
    EXPECT_EQ(t.p.sink->messages()[0].title, QStringLiteral("txt_Co_Folio_Enter()"));
    EXPECT_EQ(t.grid().rowCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, PurchaseTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
