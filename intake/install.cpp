#include "intake/install.h"

#include "intake/branch_warehouse.h"
#include "intake/detail_format.h"
#include "intake/purchase.h"
#include "intake/supplier.h"
#include "screen/frm_qmx44.h"

namespace qmx44::intake {

void install(screen::FrmQMX44 &frm)
{
    configureDetailGrid(frm.ssDetalle());
    installBranchWarehouse(frm);
    installSupplier(frm);
    installPurchase(frm);
}

} // namespace qmx44::intake
