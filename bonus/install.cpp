#include "bonus/install.h"

#include "bonus/frm_prorrateo.h"
#include "screen/frm_qmx44.h"

namespace qmx44::bonus {

namespace {

void Controles_Opcional(screen::FrmQMX44 &frm)
{
    // Nothing to prorate over an empty grid.
    if (!(frm.ssDetalle().rowCount() > 0))
        return;
    FrmProrrateo dialogo(frm);
    dialogo.ImporteFactura = frm.ImporteCompra;
    dialogo.mostrarModal();
}

} // namespace

void install(screen::FrmQMX44 &frm)
{
    frm.Controles().Opcional.connect([&frm] { Controles_Opcional(frm); });
}

} // namespace qmx44::bonus
