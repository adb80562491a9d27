// The proration dialog shown modally over a main form, driven through a presenter as a
// user drives it: that it starts afresh at every opening. The accept paths, F4 and Escape
// from an option button, and their messages are guarded end to end by
// tests/scenarios/bonus/prorate_*.scenario.
#include "bonus/frm_prorrateo.h"
#include "tests/bonus/bonus_fixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace qmx44;
using namespace qmx44::controls;
using qmx44::test::BonusLine;

namespace {

// Runs the steps given for one opening, like a user in front of the dialog.
struct Usuario : ModalPresenter {
    std::function<void(Form &)> pasos;
    int aperturas = 0;
    void runModal(Form &dialog) override
    {
        ++aperturas;
        if (pasos)
            pasos(dialog);
    }
};

class FrmProrrateoTest : public ::testing::Test {
protected:
    void SetUp() override { f.form.setPresenter(&usuario); }

    // One opening as the toolbar's command makes it: load, ImporteFactura, modal, unload.
    void open(double importeFactura, std::function<void(Form &)> pasos)
    {
        usuario.pasos = std::move(pasos);
        bonus::FrmProrrateo prorationDialog(
            {f.form, f.grid, f.totals(), f.BaseSubTotal, f.BaseImpuestos, f.sistema, f.utilerias});
        prorationDialog.ImporteFactura = importeFactura;
        prorationDialog.showDialog();
        prorationDialog.unload();
    }
    test::BonusForm f;
    Usuario usuario;
};

BonusLine piece(double base)
{
    return BonusLine{.base = base, .factor = 0};
}

} // namespace

// Guards the state of every opening, whatever the last one left: Option1 chosen,
// "$0.0000", the focus in the amount (after a refused amount and another option).
TEST_F(FrmProrrateoTest, EveryOpeningStartsOnTheFirstBasisWithTheFocusInTheAmount)
{
    f.addLine(piece(100));
    open(100, [&](Form &d) {
        auto &importe = d.get<TextField>(QStringLiteral("txtImporte"));
        importe.setFocus();
        importe.selectAll();
        d.typeText(QStringLiteral("900")); // refused: above the purchase
        d.get<OptionButton>(QStringLiteral("Option3")).click();
        d.get<Button>(QStringLiteral("cmdAceptar")).click();
    });
    open(100, [&](Form &d) {
        EXPECT_TRUE(d.get<OptionButton>(QStringLiteral("Option1")).selected());
        EXPECT_EQ(QStringLiteral("$0.0000"), d.get<TextField>(QStringLiteral("txtImporte")).text());
        EXPECT_EQ(QStringLiteral("txtImporte"), d.focused() ? d.focused()->name() : QString());
    });
    EXPECT_EQ(2, usuario.aperturas);
    EXPECT_EQ(&f.form, Desktop::activeForm()); // the main form is active again
}
