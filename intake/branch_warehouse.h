#pragma once
// The branch and warehouse fields: confirming a branch binds the warehouse field's
// search list and validation statement to that branch; changing the branch text
// removes them until a branch is confirmed again. And the access rule of a user
// restricted to one branch or warehouse, shared by the purchase intake and the note load.
#include "platform/db/connection.h"

#include <QString>
#include <memory>

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

// The refusal identifiers of a document's access check.
struct AccessRefusalIds {
    QString branch;
    QString warehouse;
};

// Whether the signed-in user may take the document of record `rs`: a user restricted to
// a branch (warehouse) only takes documents of the branch (warehouse) shown in
// txt_Sc_Cve_Sucursal (txt_Al_Cve_Almacen). On a refusal the warning is shown under its
// identifier, the record set released and txtFolio's text selected.
bool accessAllowed(screen::FrmQMX44 &frm, std::unique_ptr<db::RecordSet> &rs, const AccessRefusalIds &ids);

// Connects Enter, event 1 and Change of txt_Sc_Cve_Sucursal.
void installBranchWarehouse(screen::FrmQMX44 &frm);

} // namespace qmx44::intake
