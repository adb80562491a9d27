// The note's effect panel on the screen, on every back-end: typing bonuses reads nothing,
// a shown note's own application is given back, and the conversion into the supplier's
// currency. Its figures as a clerk types are guarded end to end by
// tests/scenarios/preview/note_effect.scenario.
#include "preview/install.h"
#include "preview/note_effect.h"
#include "tests/document/document_fixture.h"

#include <gtest/gtest.h>

using namespace qmx44;
using test::NoteScreen;

namespace {

class NoteEffectTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        preview::install(*p.frm);
        p.open();
        p.messages();
    }
    // Row `r` of the panel as shown.
    QStringList row(int r)
    {
        QStringList out;
        for (int c = 0; c < screen::fields::EffectColumns; ++c)
            out << p.frm->form().get<controls::Label>(screen::fields::effectLabel(r, c)).caption();
        return out;
    }
    NoteScreen p{GetParam()};
};

// Guards against the panel reading the database while the clerk types a bonus.
TEST_P(NoteEffectTest, TypingBonusesRunsNoStatement)
{
    p.newNote(QStringLiteral("C000000002"));
    p.frm->ssTabFichas().setActivePage(1); // the lines page, where the grid takes keys
    p.faults.resetCount();
    p.grid().editCell(0, p.column("BON_PORCENTAJE"), QStringLiteral("10"));
    p.grid().editCell(1, p.column("BON_IMPORTE"), QStringLiteral("62"));
    EXPECT_EQ(0, p.faults.statements()) << p.faults.last().toStdString();
    EXPECT_EQ(row(1), (QStringList{"Saldo del proveedor (MN)", "92,136.00", "-187.92", "91,948.08"}));
    EXPECT_EQ(row(2), (QStringList{"Pendiente partida 2", "1,438.40", "-71.92", "1,366.48"}));
}

// Guards against a shown note counted against the balance twice: saving it again
// gives back what its application took first.
TEST_P(NoteEffectTest, AShownNoteGivesBackItsApplication)
{
    p.showNote(QStringLiteral("1"));
    EXPECT_EQ(row(1), (QStringList{"Saldo del proveedor (MN)", "92,136.00", "0.00", "92,136.00"}));
}

INSTANTIATE_TEST_SUITE_P(Backends, NoteEffectTest, ::testing::ValuesIn(test::backends()), test::backendName);

// Guards against a conversion other than the application's: the typed rate for a foreign
// note, the day's rate for a local one, and none without a rate.
TEST(NoteEffectConversionTest, ConvertsAsTheApplicationDoes)
{
    preview::Conversion c{QStringLiteral("USD"), QStringLiteral("MN"), QStringLiteral("MN"), 20, 18, 1};
    EXPECT_DOUBLE_EQ(2000, *preview::inSupplierCurrency(100, c));
    c.typedRate = 0;
    EXPECT_DOUBLE_EQ(1800, *preview::inSupplierCurrency(100, c));
    c = {QStringLiteral("MN"), QStringLiteral("USD"), QStringLiteral("MN"), 20, 1, 16};
    EXPECT_DOUBLE_EQ(6.25, *preview::inSupplierCurrency(100, c));
    c.supplierRate = 0;
    EXPECT_FALSE(preview::inSupplierCurrency(100, c));
    c.supplierCurrency = QStringLiteral("MN");
    EXPECT_DOUBLE_EQ(100, *preview::inSupplierCurrency(100, c));
}

} // namespace
