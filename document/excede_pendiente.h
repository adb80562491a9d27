#pragma once
// ExcedePendiente: whether the current line of a credit note, tax included, grants more
// than is still pending on the same line of its purchase (the purchase line's net amount
// less the live notes already saved on it, this note's lines still queued in the document
// included), compared in whole units.
#include "intake/pending_amounts.h"
#include "platform/business/nota_credito.h"
#include "platform/db/connection.h"
#include "screen/pending_marks.h"

#include <QHash>
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

// ExcedePendiente for every line of a note from one statement: what is pending on each
// line of the purchase is read once (the grid's own statement, intake/pending_amounts.h)
// and the lines are answered from it. Read after the note's header locked the purchase, it
// sees every note committed before and none can be added meanwhile; the note's earlier
// lines count as they are granted, as the document's queue counts them for the check by
// line. The save's way for a note of many lines on a server across the network, where two
// statements for every line of a note of thousands of lines cost more than the rest of the
// save.
class PurchasePending {
public:
    // Reads purchase `purchase` (not empty) on `connection`, the statement left in `sql`.
    PurchasePending(db::Conexion &connection, QString &sql, const QString &purchase);
    // Whether the current line of `note` (of this purchase) exceeds what is pending on
    // it; a line that does not is counted as granted for the lines after it.
    bool exceeds(business::NotaCredito &note);

private:
    QHash<QString, intake::LineAmounts> m_lines;
};

// Whether a save of a note of `lines` bonused lines on `backend` checks them through
// PurchasePending rather than line by line.
bool checksLinesTogether(db::Backend backend, int lines);

} // namespace qmx44::document
