#pragma once
// frmProrrateo, the proration dialog opened by the toolbar's optional command: the user
// types one amount and picks the basis (first or second control quantity, or amount),
// and the dialog distributes it over every row of the opener's detail grid.
#include "bonus/bonus_columns.h"
#include "bonus/proration.h"
#include "platform/controls/controls.h"

namespace qmx44::services {
class Sistema;
class Utilerias;
} // namespace qmx44::services
namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::bonus {

// What the dialog works on: the opener's form, grid and totals, the running shares of
// the bonus editing, and the services.
struct ProrationTarget {
    controls::Form &owner; // the modal owner: the main form
    controls::Grid &grid;  // ssDetalle
    Totals totals;
    double &baseSubTotal;  // the opener's BaseSubTotal
    double &baseImpuestos; // the opener's BaseImpuestos
    services::Sistema &sistema;
    services::Utilerias &utilerias;
};

class FrmProrrateo {
public:
    // The identifier of the notice that the chosen basis adds up to nothing over the
    // rows (the coded messages of the screen use 7500001 to 7500026 and 7500034).
    static constexpr auto BasisWithoutTotalId = u"ERR-ID:7500027";

    // Creates (loads) the dialog over the main form `opener`: its grid ssDetalle and its
    // fields txt_SubTotal, txt_Impuestos and txt_Total.
    explicit FrmProrrateo(screen::FrmQMX44 &opener);
    explicit FrmProrrateo(const ProrationTarget &target);
    FrmProrrateo(const FrmProrrateo &) = delete;
    FrmProrrateo &operator=(const FrmProrrateo &) = delete;

    // The amount that may be prorated at most: the opener's purchase amount.
    double ImporteFactura = 0;

    controls::Form &form() { return m_form; }
    // Shows the dialog modally over its opener; returns when it has hidden itself.
    void showDialog();
    // Unloads the dialog (the opener does it after the modal display).
    void unload();

    // The chosen basis: the first selected of Option1, Option2, Option3.
    ProrationBasis chosenBasis() const;
    // Distributes the amount of txtImporte over the rows by the chosen basis; a refusal
    // is told to the user and changes no bonus or total. Either way the grid is left on
    // the row where the walk stopped, and that row's share is taken out of the totals into
    // BaseSubTotal and BaseImpuestos, as entering its cell would.
    ProrationResult Prorratear();

private:
    void Form_Load();
    void Form_Activate();
    void Form_KeyUp(int &keyCode, int &shift);
    void Option_KeyDown(int &keyCode, int &shift);
    void cmdAceptar_Click();
    void cmdCancelar_Click();
    void focusAmount();

    ProrationTarget m_target;
    controls::Form m_form{QStringLiteral("frmProrrateo")};
    controls::TextField *m_amount = nullptr;
    controls::OptionButton *m_options[3] = {};
};

} // namespace qmx44::bonus
