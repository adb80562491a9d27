#pragma once
// ExcedePendiente: whether the current line of a credit note, tax included, grants more
// than is still pending on the same line of its purchase (the purchase line's net amount
// less the live notes already saved on it, this note's lines still queued in the document
// included), compared in whole units.
#include "platform/business/nota_credito.h"
#include "platform/db/connection.h"
#include "screen/pending_marks.h"

#include <QString>

namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::document {

// The purchase line a note line is checked against.
struct PendingLine {
    QString purchase; // Co_Folio
    QString product;  // Pr_Cve_Producto
    QString size;     // Tl_Cve_Talla
    QString color;    // Cl_Cve_Color
    QString unit;     // Nc_Unidad_1 in the notes, Co_Unidad_1 in the purchase
};

// What the live notes already granted on the line (statement A) and what the purchase
// line is worth (statement B). Every value goes through the quoting helper.
QString pendingNotesSql(const PendingLine &line);
QString pendingPurchaseSql(const PendingLine &line);

// The comparison in whole units, shared with the grid's pending marks.
using screen::exceedsInWholeUnits;

// Reads the header and the current line back from `note` and runs both statements on
// `connection` (inside the caller's transaction), building each in `sql`, the caller's
// statement text. An empty purchase folio answers false without a statement. Database
// failures throw RuntimeError.
bool ExcedePendiente(db::Conexion &connection, QString &sql, business::NotaCredito &note);
// The same on the screen's connection and its shared statement text.
bool ExcedePendiente(screen::FrmQMX44 &frm, business::NotaCredito &note);

} // namespace qmx44::document
