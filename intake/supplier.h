#pragma once
// The supplier intake: the supplier's record shown in the header, and the delivery
// address under which the note will be recorded (the purchase's own, else the
// supplier's default).
#include <QString>

namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::intake {

// The statement that reads supplier `key` (spliced through the quoting helper).
QString supplierSql(const QString &key);

// The Enter handler of txt_Pv_Cve_Proveedor, also run by the purchase header fill. It traps
// its own failures: they are shown (style 16, title "txt_Pv_Cve_Proveedor_Enter()",
// "ERR-ID:7500015") and what was already written stays.
void txt_Pv_Cve_Proveedor_Enter(screen::FrmQMX44 &frm);

// Connects the handler to the field's Enter event.
void installSupplier(screen::FrmQMX44 &frm);

} // namespace qmx44::intake
