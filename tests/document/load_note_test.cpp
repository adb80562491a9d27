// Showing a saved note by its folio, on every back-end: what the form shows, lines that
// no longer match, and leaving the shown note. The outcomes (no note, refused by branch
// or warehouse, the period, cancelled) and the trap are guarded end to end by
// tests/scenarios/document/load_*.scenario.
#include "document/load_note.h"
#include "platform/db/open.h"
#include "tests/document/document_fixture.h"

#include <gtest/gtest.h>

using namespace qmx44;
using namespace Qt::StringLiterals;
using test::NoteScreen;

namespace {

class LoadNoteTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        p.open();
        p.messages();
    }
    NoteScreen p{GetParam()};
};

// Guards against the purchase amount counted twice when the same note is confirmed
// again without the purchase folio changing.
TEST_P(LoadNoteTest, ConfirmingTheSameNoteTwiceCountsThePurchaseOnce)
{
    p.showNote(QStringLiteral("1"));
    p.frm->txtFolio().pressKey(controls::keys::Enter);
    EXPECT_DOUBLE_EQ(4940.0, p.frm->ImporteCompra);
    EXPECT_DOUBLE_EQ(174.0, p.textField("txt_Total").value().toDouble());
    EXPECT_EQ(4, p.grid().rowCount());
}

// Guards against a saved line shown on a purchase line whose unit changed since, and
// against notes without a purchase folio being found at all.
TEST_P(LoadNoteTest, LinesThatNoLongerMatchAreNotShown)
{
    p.db().run(
        QStringLiteral("UPDATE COMPRA SET Co_Unidad_1 = 'CAJ' WHERE Co_Folio = 'C000000002' AND Co_Linea IN (1, 2)"));
    p.showNote(QStringLiteral("1"));
    EXPECT_EQ(0.0, p.textField("txt_SubTotal").value().toDouble());
    EXPECT_TRUE(p.toolbar().printEnabled());

    p.db().run(QStringLiteral("INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Co_Folio, Pr_Cve_Producto) "
                              "VALUES ('0000000077', 1, '', 'BT-001')"));
    p.toolbar().click(controls::Command::Cancelar);
    p.showNote(QStringLiteral("77"));
    EXPECT_TRUE(test::noMessages(p.messages()));
    EXPECT_FALSE(p.toolbar().printEnabled());
    EXPECT_EQ(0, p.grid().rowCount());
}

// Guards against a quote in the folio breaking the statement or finding another note.
TEST_P(LoadNoteTest, AQuoteInTheFolioFindsNothing)
{
    p.showNote(QStringLiteral("1' OR '1'='1"));
    EXPECT_TRUE(test::noMessages(p.messages()));
    EXPECT_FALSE(p.toolbar().printEnabled());
}

// Guards against a session taking the server's standard_conforming_strings = off, where a
// backslash before a doubled quote ends the literal and the rest of the folio is read as
// SQL (finding a note by "OR"). The screen's session is replaced, as after a restart.
TEST_P(LoadNoteTest, ABackslashAndQuoteStayInTheLiteralWhateverTheServerDefault)
{
    if (GetParam() != "postgres")
        GTEST_SKIP() << "SQLite has no backslash escapes";
    auto admin = db::open(p.fresh.connectionString(), db::OpenMode::Existing);
    admin->execute(QStringLiteral("ALTER DATABASE \"%1\" SET standard_conforming_strings = off")
                       .arg(admin->query(QStringLiteral("SELECT current_database() AS d"))->field(u"d"_s).toString()));
    admin->query(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
    p.frm->txtFolio().setText(QStringLiteral("1\\' OR Nc_Folio <> '' --"));
    p.frm->txtFolio().pressKey(controls::keys::Enter);
    EXPECT_TRUE(test::noMessages(p.messages()));
    EXPECT_FALSE(p.toolbar().printEnabled());
    EXPECT_EQ(0, p.grid().rowCount());
}

// Guards against leaving the shown note clearing a note being edited, or not clearing
// the toolbar's document context in every case.
TEST_P(LoadNoteTest, ChangingTheFolioLeavesTheShownNote)
{
    p.showNote(QStringLiteral("1"));
    p.frm->txtFolio().setText(QStringLiteral("0000000002"));
    EXPECT_EQ(QString(), p.toolbar().Folio());
    EXPECT_FALSE(p.toolbar().modifyEnabled());
    EXPECT_EQ(QString(), p.frm->txt_Co_Folio().text());

    p.frm->dpFecha().setValue(QDate(2024, 7, 15));
    p.showNote(QStringLiteral("1"));
    ASSERT_TRUE(p.toolbar().click(controls::Command::Modificar));
    p.toolbar().setFolio(QStringLiteral("0000000001"));
    p.frm->txtFolio().setText(QStringLiteral("X"));
    EXPECT_EQ(QString(), p.toolbar().Folio());
    EXPECT_EQ(QStringLiteral("C000000002"), p.frm->txt_Co_Folio().text());
    // Enter while editing does nothing either.
    p.frm->txtFolio().pressKey(controls::keys::Enter);
    EXPECT_EQ(QStringLiteral("C000000002"), p.frm->txt_Co_Folio().text());
}

INSTANTIATE_TEST_SUITE_P(Backends, LoadNoteTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
