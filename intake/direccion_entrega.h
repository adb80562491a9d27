#pragma once
// Direccion_Entrega: a supplier's delivery address, by its identifier, as the one line
// of text that the header shows under "Domicilio:".
#include "platform/db/connection.h"

#include <QString>

namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::intake {

// The statement that reads address `addressId` of supplier `supplier` as the column
// Domicilio: its ready line, or, when that is empty, its five parts joined by single
// spaces. Both values are spliced through the quoting helper.
QString deliveryAddressSql(const QString &addressId, const QString &supplier);

// The address line, or the empty text when the supplier has no such address or the
// address has no value (a null line or part). Database failures throw RuntimeError.
QString lookUpDeliveryAddress(db::Conexion &connection, const QString &addressId, const QString &supplier);

// The same under the screen's error trap: a failure is shown (style 16, title
// "Direccion_Entrega()", "ERR-ID:7500023") and the empty text is returned.
QString Direccion_Entrega(screen::FrmQMX44 &frm, const QString &addressId, const QString &supplier);

} // namespace qmx44::intake
