#pragma once
// The branch and warehouse fields: confirming a branch binds the warehouse field's
// search list and validation statement to that branch; changing the branch text
// removes them until a branch is confirmed again.
#include <QString>

namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::intake {

// The warehouse field's search list for `branch`: live warehouses only (CLAVE,
// DESCRIPCION).
QString warehouseListStatement(const QString &branch);
// The warehouse field's validation statement for `branch`, with its '?' for the typed
// warehouse; a retired warehouse of the branch is still found.
QString warehouseLookupStatement(const QString &branch);

// Connects Enter, event 1 and Change of txt_Sc_Cve_Sucursal.
void installBranchWarehouse(screen::FrmQMX44 &frm);

} // namespace qmx44::intake
