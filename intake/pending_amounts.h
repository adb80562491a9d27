#pragma once
// What is still pending on each row of the detail grid, shown before saving: for every
// purchase line (product, size, colour, unit) its net amount, tax included, less the live
// notes already saved on it — the rule the save checks line by line — read for all the
// lines in one statement and written into the grid's pending column, with the rows
// whose bonus exceeds it marked.
#include "platform/controls/grid.h"
#include "platform/db/connection.h"

#include <QHash>
#include <QString>

namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::intake {

// The statement, with bound values: the purchase folio twice, then (when
// `withoutReplacedNote`) the folio of the note whose lines do not count. One row per
// line: its keys, what the purchase is worth (Comprado) and what live notes granted
// (Bonificado).
QString pendingAmountsSql(bool withoutReplacedNote);

// What the purchase line is worth (Comprado) and what live notes granted on it (Bonificado).
struct LineAmounts {
    double purchased = 0;
    double noted = 0;
};

// The key of a purchase line in readPending's table: its product, size, colour and unit.
QString pendingLineKey(const QString &product, const QString &size, const QString &color, const QString &unit);

// Every line of purchase `purchase`, by pendingLineKey, from the statement above on
// `connection`, the lines of `replacedNote` (when not empty) left out. Lines with a NULL
// key are left out too: the save's check by equality never finds them.
QHash<QString, LineAmounts> readPending(db::Conexion &connection, const QString &purchase, const QString &replacedNote);

// Writes the pending amount of every row of `grid` (the detail grid of purchase
// `purchase`) from one statement on `connection`, then marks the rows whose bonus
// exceeds it. The lines of note `replacedNote` (when not empty) do not count: saving
// cancels the note it replaces before checking. A row whose line has neither purchase
// nor notes gets 0. Nothing runs for an empty folio or grid. Database failures throw
// RuntimeError.
void fillPending(db::Conexion &connection, controls::Grid &grid, const QString &purchase, const QString &replacedNote);
// The same for the form: the purchase in txt_Co_Folio, and the note in txtFolio (empty
// for a new note, the shown or modified note's folio otherwise); then the form's
// pendingRead() is emitted.
void fillPending(screen::FrmQMX44 &frm);

} // namespace qmx44::intake
