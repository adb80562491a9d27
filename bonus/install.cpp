// Connects the bonus layer to the main form: the grid's bonus editing and the toolbar's
// optional command, which opens the proration dialog.
#include "bonus/install.h"

#include "bonus/bonus_editing.h"
#include "bonus/frm_prorrateo.h"
#include "screen/frm_qmx44.h"

namespace qmx44::bonus {

namespace {

void Controles_Opcional(screen::FrmQMX44 &frm)
{
    // Nothing to prorate over an empty grid.
    if (!(frm.ssDetalle().rowCount() > 0))
        return;
    FrmProrrateo prorationDialog(frm);
    prorationDialog.ImporteFactura = frm.ImporteCompra;
    prorationDialog.showDialog();
    prorationDialog.unload();
}

} // namespace

void install(screen::FrmQMX44 &frm)
{
    frm.Controles().Opcional.connect([&frm] { Controles_Opcional(frm); });
    BonusEditing::attach(std::make_shared<BonusEditing>(frm.ssDetalle(), Totals::from(frm.form()), frm.BaseSubTotal,
                                                        frm.BaseImpuestos, frm.Utilerias()));
}

} // namespace qmx44::bonus
