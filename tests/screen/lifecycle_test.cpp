// The main form's load on the demo company: the cause lookup it sets up, on every
// back-end. The rest of the lifecycle (activations, pages, Salir) is guarded end to end by
// tests/scenarios/lifecycle*.scenario and page_keys.scenario.
#include "platform/controls/keys.h"
#include "screen_fixture.h"

#include <gtest/gtest.h>

using namespace qmx44;
namespace keys = qmx44::controls::keys;

namespace {

class LifecycleTest : public ::testing::TestWithParam<std::string> {};

// Guards against the return/rejection causes or a retired cause being accepted, and
// against a quote in a cause parameter breaking the statement.
TEST_P(LifecycleTest, CauseLookupRefusesReturnRejectionAndRetiredCauses)
{
    test::DemoScreen p(GetParam());
    p.setParameter("CXC_CAUSA_RECHAZO", QStringLiteral("R'C"));
    p.open();
    auto &causa = p.textField("txt_Cn_Cve_Causa_Nota");
    const struct {
        const char *key;
        const char *description;
    } cases[] = {{"BC", "Bonificación comercial"}, {"DV", ""}, {"AN", ""}, {"RC", "Rechazo de mercancía"}};
    for (const auto &c : cases) {
        causa.setText(QString::fromLatin1(c.key));
        EXPECT_EQ(p.textField("txt_Cn_Descripcion").text(), QString::fromUtf8(c.description)) << c.key;
    }
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards the catalogues the form registers for its searches: each runs on the back-end,
// and the retired cause AN is not offered.
TEST_P(LifecycleTest, FieldSearchesRunTheirCataloguesWithoutRetiredCauses)
{
    test::DemoScreen p(GetParam());
    p.open();
    for (const char *name : {"txtFolio", "txt_Co_Folio", "txt_Cn_Cve_Causa_Nota"})
        EXPECT_FALSE(p.textField(name).search().rows.empty()) << name;
    for (const auto &row : p.textField("txt_Cn_Cve_Causa_Nota").search().rows)
        EXPECT_NE(QStringLiteral("AN"), row.key);
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards against the date standing outside the tab control: on the page "Detalle" it
// must neither keep the focus it had nor take it.
TEST_P(LifecycleTest, DateTakesTheFocusOnlyOnTheHeaderPage)
{
    test::DemoScreen p(GetParam());
    p.open();
    ASSERT_TRUE(p.frm->Controles().click(controls::Command::Nuevo));
    ASSERT_EQ(p.focusedField(), QStringLiteral("dpFecha"));
    p.form().keyStroke(keys::Digit0 + 2, keys::AltMask);
    EXPECT_NE(p.focusedField(), QStringLiteral("dpFecha"));
    EXPECT_FALSE(p.frm->dpFecha().setFocus());
    p.form().keyStroke(keys::Digit0 + 1, keys::AltMask);
    EXPECT_TRUE(p.frm->dpFecha().setFocus());
}

INSTANTIATE_TEST_SUITE_P(Backends, LifecycleTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
