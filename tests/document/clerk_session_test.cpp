// The screen's whole work done by a clerk's own login on PostgreSQL, under the clerks'
// group's grants and the server's guard (schema step 5).
#include "tests/document/document_fixture.h"

#include <gtest/gtest.h>

using namespace qmx44;
using test::NoteScreen;

namespace {

class ClerkSessionTest : public ::testing::TestWithParam<std::string> {};

// Guards against a grant the screen needs missing from the clerks' group (a save, a
// replacement, an application, a print, a load, a record query or a cancellation
// refused by the server), and against the guard rewriting what the screen wrote right.
TEST_P(ClerkSessionTest, SavesReplacesPrintsShowsQueriesAndCancelsAsTheClerk)
{
    NoteScreen p(GetParam(), QStringLiteral("GDL01"), test::ServerLogin::Clerk);
    p.setParameter("CXP_APLICAR_NOTA_CREDITO", QStringLiteral("1"));
    p.open();
    p.newNote(QStringLiteral("C000000002"));
    p.grantBonus(p.rowOf("BT-001", "27", "NEG"), 100);
    p.accept();
    ASSERT_TRUE(test::noMessages(p.messages()));

    p.showNote(QStringLiteral("4"));
    p.toolbar().click(controls::Command::Modificar);
    p.grantBonus(p.rowOf("CJ-001", "", ""), 50);
    p.accept();
    ASSERT_TRUE(test::noMessages(p.messages()));

    p.showNote(QStringLiteral("5"));
    p.toolbar().click(controls::Command::Consultar);
    p.toolbar().click(controls::Command::Imprimir);
    p.toolbar().click(controls::Command::Eliminar);
    EXPECT_TRUE(test::noMessages(p.messages()));

    EXPECT_EQ(QStringLiteral("0000000004 CA GDL01 GDL01; 0000000005 CA GDL01 GDL01"),
              p.scalar(QStringLiteral("SELECT string_agg(DISTINCT k, '; ' ORDER BY k) FROM (SELECT Nc_Folio || ' ' || "
                                      "Es_Cve_Estado || ' ' || Nc_Usuario || ' ' || Nc_Usuario_Cancela AS k "
                                      "FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio > '0000000003') n")));
}

// Without a server there is nothing to run, and that is no failure.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ClerkSessionTest);
INSTANTIATE_TEST_SUITE_P(Backends, ClerkSessionTest, ::testing::ValuesIn(test::serverBackends()), test::backendName);

} // namespace
