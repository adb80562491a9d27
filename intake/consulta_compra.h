#pragma once
// The purchase's lines as the detail grid shows them: ConsultaCompra reads a purchase's
// lines grouped by product, size, colour, units and tax factor; LlenarDetalle turns that
// result into the rows of `ssDetalle` while it sums the purchase amount.
#include "platform/controls/grid.h"
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
// counts as an empty result.
void LlenarDetalle(std::unique_ptr<db::RecordSet> &rs, controls::Grid &grid, double &purchaseAmount);
// The same into the form's `ssDetalle` and `ImporteCompra`.
void LlenarDetalle(screen::FrmQMX44 &frm, std::unique_ptr<db::RecordSet> &rs);

} // namespace qmx44::intake
