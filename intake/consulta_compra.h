#pragma once
// The purchase's lines as the detail grid shows them: ConsultaCompra reads a purchase's
// lines grouped by product, size, colour, units and tax factor; LlenarDetalle turns that
// result into the rows of `ssDetalle` while it sums the purchase amount.
#include "platform/controls/grid.h"
#include "platform/core/progress.h"
#include "platform/db/connection.h"

#include <QString>
#include <memory>

namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::intake {

// The grouped-lines statement for `folio`, its groups in the order of their keys on
// every back-end. The folio is spliced through the quoting helper, so a quote in it
// stays inside the literal.
QString purchaseQuerySql(const QString &folio);

// Runs the statement: a result on its first group, or at its end when the purchase has
// no line. Database failures throw RuntimeError.
std::unique_ptr<db::RecordSet> ConsultaCompra(db::Conexion &connection, const QString &folio);
// The same on the screen's connection (Sistema.Conexion).
std::unique_ptr<db::RecordSet> ConsultaCompra(screen::FrmQMX44 &frm, const QString &folio);

// Empties `grid` and appends one row per group of `rs` (the cells the purchase gives,
// both bonuses 0), adding every group's bonus base to `purchaseAmount`; then closes the
// result, releases it (rs becomes null) and puts the grid on its first row. A null `rs`
// counts as an empty result. The rows filled go to `progress` when given.
void LlenarDetalle(std::unique_ptr<db::RecordSet> &rs, controls::Grid &grid, double &purchaseAmount,
                   ProgressReport *progress = nullptr);
// The same into the form's `ssDetalle` and `ImporteCompra`.
void LlenarDetalle(screen::FrmQMX44 &frm, std::unique_ptr<db::RecordSet> &rs, ProgressReport *progress = nullptr);

// The total a progress report of filling the grid with purchase `folio` counts against:
// the purchase's lines, read from the folio's index (at least as many as the grid's rows,
// which group them). 0 without a progress sink on the session: nothing is read then.
qint64 progressTotal(screen::FrmQMX44 &frm, const QString &folio);

} // namespace qmx44::intake
