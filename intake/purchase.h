#pragma once
// The purchase field txt_Co_Folio: confirming a folio takes the purchase in (access
// rules, cancelled test, header, supplier, exchange rate, lines); changing the folio
// clears what the previous purchase put on the form.
#include "platform/db/connection.h"

#include <QString>

namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::intake {

// The header fields that a purchase and a note on it share, from the current row of
// `rs`: branch, warehouse, supplier (with its intake), buyer and currency, in this order.
void fillPurchaseHeader(screen::FrmQMX44 &frm, db::RecordSet &rs);

// Enter of txt_Co_Folio. No trap of its own: a database failure ends it at that step
// and reaches the event boundary.
void txt_Co_Folio_Enter(screen::FrmQMX44 &frm);
// Change of txt_Co_Folio.
void txt_Co_Folio_Change(screen::FrmQMX44 &frm);

// Connects both handlers.
void installPurchase(screen::FrmQMX44 &frm);

} // namespace qmx44::intake
